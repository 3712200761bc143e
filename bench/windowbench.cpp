// Benchmarks of the main window (not tests), on the offscreen platform with
// the speech transcript at zero speaking time:
//
//   windowbench startup [--dict DIR] [--runs N]
//       start-up to the first idle event loop, in fresh processes: the time
//       from main() and the time from the process start as the parent saw it
//   windowbench enter [--dict DIR] [--words N]
//       Enter in the input box to the first Speak of the entry, for N words
//       sampled from the dictionary (fixed seed)
//   windowbench memory [--dict DIR] [--lookups N]
//       resident memory before and after N lookups
//
// DIR defaults to the program's folder (where wordlamp-dict puts the EDICT
// dictionary). Each run uses a throwaway settings folder.

#include "codepage/codepage.h"
#include "form/mainform.h"
#include "form/messagebox.h"
#include "form/richtextbox.h"
#include "mainwindow/lifecycle.h"
#include "mainwindow/mainwindow.h"
#include "orrin/transcript.h"
#include "settings/settingsstore.h"
#include "speech/speech.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

QElapsedTimer sinceMain;

struct Args {
    QString mode;
    QString dict;
    int count = 0;
};

Args parse(const QStringList &a)
{
    Args args;
    args.mode = a.value(1);
    for (int i = 2; i + 1 < a.size(); i += 2) {
        if (a[i] == u"--dict")
            args.dict = a[i + 1];
        else if (a[i] == u"--runs" || a[i] == u"--words" || a[i] == u"--lookups")
            args.count = a[i + 1].toInt();
    }
    if (args.dict.isEmpty())
        args.dict = QCoreApplication::applicationDirPath();
    return args;
}

double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const std::size_t i = std::min(v.size() - 1, std::size_t(p * double(v.size() - 1) + 0.5));
    return v[i];
}

// The environment of one run: settings, runtime folder and transcript in a
// temporary folder, so nothing of the user's is touched.
void privateEnvironment(const QTemporaryDir &dir)
{
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath("config")));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.filePath("runtime")));
    qputenv("WORDLAMP_SPEECH", "transcript:" + QFile::encodeName(dir.filePath("transcript.txt")) + "@0");
    qputenv("QT_QPA_PLATFORM", "offscreen");
}

struct Window {
    MainForm form;
    MainWindow window{form};
    explicit Window(const QString &dict)
    {
        settings::writeText(settings::Key::Wordmere, dict);
        form.setSpeech(std::make_unique<Speech>(form));
    }
    bool load()
    {
        if (!window.lifecycle().Form_Load(QStringList{QStringLiteral("Wordlamp")}))
            return false;
        form.show();
        return true;
    }
};

// Headwords from the dictionary's files, sampled with a fixed seed.
QStringList sampleWords(const QString &dict, int count)
{
    const QStringList files =
        QDir(dict).entryList({"ei*.txt", "wordmere.dic", "waei*.txt", "waei.dic"}, QDir::Files, QDir::Name);
    QStringList words;
    QRandomGenerator random(20261208);
    for (const QString &name : files) {
        QFile f(QDir(dict).filePath(name));
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const qint64 size = f.size();
        for (int i = 0; i < count / files.size() + 1 && size > 0; ++i) {
            f.seek(qint64(random.bounded(quint64(size))));
            f.readLine();
            const QString line = codepage::decode(f.readLine());
            QString key = line.section(QStringLiteral(" : "), 0, 0).mid(1);
            key = key.section(u'；', 0, 0).section(QStringLiteral(" {"), 0, 0).trimmed();
            if (!key.isEmpty() && !key.endsWith(u'*') && !key.endsWith(u'＊'))
                words << key;
        }
    }
    words = words.mid(0, count);
    return words;
}

qint64 residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

int startupChild(const Args &args)
{
    Window w(args.dict);
    if (!w.load())
        return 2;
    QTimer::singleShot(0, [&] {
        std::printf("idle %.2f\n", double(sinceMain.nsecsElapsed()) / 1e6);
        std::fflush(stdout);
        w.window.lifecycle().Form_Unload();
        QCoreApplication::exit(0);
    });
    return QApplication::exec();
}

int startup(const Args &args)
{
    const int runs = args.count > 0 ? args.count : 21;
    std::vector<double> inProcess, wall;
    for (int i = 0; i < runs; ++i) {
        QTemporaryDir dir;
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
        env.insert("XDG_RUNTIME_DIR", dir.filePath("runtime"));
        env.insert("WORDLAMP_SPEECH", "transcript:" + dir.filePath("transcript.txt") + "@0");
        env.insert("QT_QPA_PLATFORM", "offscreen");
        child.setProcessEnvironment(env);
        QElapsedTimer clock;
        clock.start();
        child.start(QCoreApplication::applicationFilePath(), {"startup-child", "--dict", args.dict});
        if (!child.waitForReadyRead(30000))
            return 1;
        const double seen = double(clock.nsecsElapsed()) / 1e6;
        const QByteArray line = child.readLine().trimmed();
        child.waitForFinished(30000);
        if (!line.startsWith("idle "))
            return 1;
        inProcess.push_back(line.mid(5).toDouble());
        wall.push_back(seen);
    }
    std::printf("start-up to the first idle event loop, %d runs, dictionary %s\n", runs, qPrintable(args.dict));
    std::printf("  from main():          median %.1f ms, max %.1f ms\n", percentile(inProcess, 0.5),
                percentile(inProcess, 1.0));
    std::printf("  from process start:   median %.1f ms, max %.1f ms\n", percentile(wall, 0.5), percentile(wall, 1.0));
    return 0;
}

int enter(const Args &args)
{
    QTemporaryDir dir;
    privateEnvironment(dir);
    const QStringList words = sampleWords(args.dict, args.count > 0 ? args.count : 200);
    Window w(args.dict);
    if (!w.load() || !QTest::qWaitForWindowExposed(&w.form))
        return 1;
    QElapsedTimer clock;
    double firstSpeak = -1;
    Transcript::setObserver([&](const QString &operation, const QStringList &) {
        // The entry's first words, from either voice.
        if ((operation == u"Speak" || operation == u"SapiSpeak") && firstSpeak < 0 && clock.isValid())
            firstSpeak = double(clock.nsecsElapsed()) / 1e6;
    });
    std::vector<double> times;
    int found = 0;
    for (const QString &word : words) {
        w.form.Text1->setFocus();
        w.form.Text1->setPlainText(word);
        QCoreApplication::processEvents();
        firstSpeak = -1;
        clock.start();
        QTest::keyClick(w.form.Text1, Qt::Key_Return);
        clock.invalidate();
        if (w.form.Lookup.record.HitCount() > 0 && firstSpeak >= 0) {
            ++found;
            times.push_back(firstSpeak);
        }
    }
    Transcript::setObserver({});
    std::printf("Enter to the first Speak of the entry, %d words found of %d, dictionary %s\n", found,
                int(words.size()), qPrintable(args.dict));
    std::printf("  median %.2f ms, 90th %.2f ms, 99th %.2f ms, max %.2f ms\n", percentile(times, 0.5),
                percentile(times, 0.9), percentile(times, 0.99), percentile(times, 1.0));
    w.window.lifecycle().Form_Unload();
    return 0;
}

int memory(const Args &args)
{
    QTemporaryDir dir;
    privateEnvironment(dir);
    const int lookups = args.count > 0 ? args.count : 100;
    const QStringList words = sampleWords(args.dict, lookups + 10);
    Window w(args.dict);
    if (!w.load() || !QTest::qWaitForWindowExposed(&w.form))
        return 1;
    const auto lookUp = [&](const QString &word) {
        w.form.Text1->setFocus();
        w.form.Text1->setPlainText(word);
        QTest::keyClick(w.form.Text1, Qt::Key_Return);
    };
    for (int i = 0; i < 10 && i < words.size(); ++i)
        lookUp(words[i]);
    QCoreApplication::processEvents();
    const qint64 before = residentKiB();
    for (int i = 0; i < lookups; ++i)
        lookUp(words.value(10 + i % qMax(1, int(words.size()) - 10)));
    QCoreApplication::processEvents();
    const qint64 after = residentKiB();
    std::printf("resident memory, %d lookups after 10 to warm up, dictionary %s\n", lookups, qPrintable(args.dict));
    std::printf("  before %lld KiB, after %lld KiB, growth %lld KiB\n", before, after, after - before);
    w.window.lifecycle().Form_Unload();
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    sinceMain.start();
    const bool child = argc > 1 && QByteArray(argv[1]) == "startup-child";
    if (!child && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // A message box would wait for an answer nobody gives: print it instead.
    setMessageHandler([](const MessageRecord &m) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(m.title), qPrintable(m.text));
        return QMessageBox::Ok;
    });
    const Args args = parse(QApplication::arguments());
    if (args.mode == u"startup-child")
        return startupChild(args);
    if (args.mode == u"startup")
        return startup(args);
    if (args.mode == u"enter")
        return enter(args);
    if (args.mode == u"memory")
        return memory(args);
    std::fprintf(stderr, "usage: windowbench startup|enter|memory [--dict DIR] [--runs|--words|--lookups N]\n");
    return 2;
}
