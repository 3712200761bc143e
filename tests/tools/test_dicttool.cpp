// wordlamp-dict as a process: what it accepts as EDICT, and that it never
// leaves a bad dictionary, a mixed pair or a temporary file behind, nor
// touches what is not its own.

#include "testsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

const QString Tool = QStringLiteral(WORDLAMP_PROGRAM_DIR "/wordlamp-dict");
const QByteArray OldWaei = testsupport::sjis(QStringLiteral("■古い : old\r\n"));
const QByteArray OldWordmere = testsupport::sjis(QStringLiteral("■old : 古い\r\n"));

QString edictText(int entries)
{
    QString text =
        QStringLiteral("　？？？ /EDICT, Japanese-English Electronic Dictionary Files/Created: 2021-02-03/\n");
    for (int i = 0; i < entries; ++i)
        text += QStringLiteral("語%1 [ご] /(n) word number %1/(P)/\n").arg(i);
    return text;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

QStringList entries(const QString &dir)
{
    QStringList list = QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden);
    list.sort();
    return list;
}

} // namespace

class TestDictTool : public QObject {
    Q_OBJECT
private slots:
    void inputs_data();
    void inputs();
    void placesTakenOrFull_data();
    void placesTakenOrFull();
    void endedAtAnyMomentLeavesOnePair();
};

void TestDictTool::inputs_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    const QString text = edictText(3);
    const QByteArray euc = testsupport::iconvBytes(text, "EUC-JP");
    QByteArray noise(300 * 1024, '\0');
    QRandomGenerator rng(7);
    for (char &c : noise)
        c = char(rng.bounded(256));
    QTest::newRow("EUC-JP") << euc << 0 << QStringLiteral("read 3 EDICT entries from");
    QTest::newRow("UTF-8, byte order mark, CR LF, CR inside a line")
        << QByteArray("\xEF\xBB\xBF" + text.toUtf8().replace("\n", "\r\n").replace("number 1", "num\rber 1")) << 0
        << QStringLiteral("(UTF-8)");
    QTest::newRow("one line") << testsupport::iconvBytes(QStringLiteral("犬 [いぬ] /(n) dog/"), "EUC-JP") << 0
                              << QStringLiteral("read 1 EDICT entries");
    QTest::newRow("empty") << QByteArray() << 1 << QStringLiteral("holds no entries; nothing written");
    QTest::newRow("header only") << euc.left(euc.indexOf('\n') + 1) << 1 << QStringLiteral("holds no entries");
    QTest::newRow("random bytes") << noise << 1 << QStringLiteral("is no EDICT file");
    QTest::newRow("one endless line") << QByteArray(100 * 1024, 'a') << 1 << QStringLiteral("longer than 64 KiB");
    QTest::newRow("entries without a word the code page holds")
        << QByteArray("\x8F\xB0\xA1 [\x8F\xB0\xA1] /(n) x/\n") << 1 << QStringLiteral("gives no dictionary lines");
}

// Whatever the input, the folder holds the new pair or the old one, and
// nothing else.
void TestDictTool::inputs()
{
    QFETCH(QByteArray, input);
    QFETCH(int, status);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out"));
    QVERIFY(QDir().mkpath(out));
    writeFile(out + QStringLiteral("/waei.dic"), OldWaei);
    writeFile(out + QStringLiteral("/wordmere.dic"), OldWordmere);
    writeFile(dir.filePath(QStringLiteral("edict")), input);
    QProcess p;
    p.start(Tool, {QStringLiteral("--edict"), dir.filePath(QStringLiteral("edict")), QStringLiteral("--out"), out});
    QVERIFY(p.waitForFinished(60000));
    const QString err = QString::fromUtf8(p.readAllStandardError());
    QVERIFY2(err.contains(message), qPrintable(err));
    QCOMPARE(p.exitCode(), status);
    if (status != 0) {
        QCOMPARE(entries(out), (QStringList{QStringLiteral("waei.dic"), QStringLiteral("wordmere.dic")}));
        QCOMPARE(readFile(out + QStringLiteral("/waei.dic")), OldWaei);
        QCOMPARE(readFile(out + QStringLiteral("/wordmere.dic")), OldWordmere);
        return;
    }
    QCOMPARE(entries(out), (QStringList{QStringLiteral("EDICT-COPYRIGHT.txt"), QStringLiteral("waei.dic"),
                                        QStringLiteral("wordmere.dic")}));
    for (const QString &name : {QStringLiteral("waei.dic"), QStringLiteral("wordmere.dic")}) {
        const QByteArray bytes = readFile(out + u'/' + name);
        QVERIFY(bytes.startsWith(testsupport::sjis(QStringLiteral("■"))));
        QCOMPARE(bytes.count('\r'), bytes.count('\n')); // no CR but the line ends'
    }
    QVERIFY(readFile(out + QStringLiteral("/waei.dic")).contains(testsupport::sjis(QStringLiteral("■犬 {いぬ}"))) ||
            readFile(out + QStringLiteral("/waei.dic")).contains(testsupport::sjis(QStringLiteral("■語1 {ご}"))));
}

void TestDictTool::placesTakenOrFull_data()
{
    QTest::addColumn<QString>("taken"); // what stands in a place of the tool's files
    QTest::addColumn<QString>("message");
    QTest::newRow("FIFO") << QStringLiteral("fifo")
                          << QStringLiteral("waei.dic is not a file that wordlamp-dict wrote");
    QTest::newRow("folder") << QStringLiteral("folder")
                            << QStringLiteral("wordmere.dic is not a file that wordlamp-dict wrote");
    QTest::newRow("link") << QStringLiteral("link")
                          << QStringLiteral("waei.dic is not a file that wordlamp-dict wrote");
    QTest::newRow("someone else's file") << QStringLiteral("other")
                                         << QStringLiteral(
                                                "EDICT-COPYRIGHT.txt is not a file that wordlamp-dict wrote");
    QTest::newRow("the input itself") << QStringLiteral("input") << QStringLiteral("is the input file");
    QTest::newRow("file size limit reached") << QStringLiteral("limit") << QStringLiteral("File too large");
}

void TestDictTool::placesTakenOrFull()
{
    QFETCH(QString, taken);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString out = dir.path();
    QString edict = dir.filePath(QStringLiteral("edict"));
    writeFile(out + QStringLiteral("/waei.dic"), OldWaei);
    writeFile(out + QStringLiteral("/wordmere.dic"), OldWordmere);
    if (taken == u"fifo") {
        QFile::remove(out + QStringLiteral("/waei.dic"));
        QCOMPARE(::mkfifo(QFile::encodeName(out + QStringLiteral("/waei.dic")).constData(), 0600), 0);
    } else if (taken == u"folder") {
        QFile::remove(out + QStringLiteral("/wordmere.dic"));
        QVERIFY(QDir(out).mkdir(QStringLiteral("wordmere.dic")));
    } else if (taken == u"link") {
        QFile::rename(out + QStringLiteral("/waei.dic"), out + QStringLiteral("/target"));
        QVERIFY(QFile::link(out + QStringLiteral("/target"), out + QStringLiteral("/waei.dic")));
    } else if (taken == u"other") {
        writeFile(out + QStringLiteral("/EDICT-COPYRIGHT.txt"), "my notes");
    } else if (taken == u"input") {
        edict = out + QStringLiteral("/waei.dic");
    }
    writeFile(edict, testsupport::iconvBytes(edictText(2000), "EUC-JP"));
    const QStringList before = entries(out);
    QProcess p;
    if (taken == u"limit") {
        p.setChildProcessModifier([] {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{64 * 1024, 64 * 1024};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        });
    }
    p.start(Tool, {QStringLiteral("--edict"), edict, QStringLiteral("--out"), out});
    QVERIFY(p.waitForFinished(60000));
    const QString err = QString::fromUtf8(p.readAllStandardError());
    QVERIFY2(err.contains(message), qPrintable(err));
    QCOMPARE(p.exitCode(), 1);
    QCOMPARE(entries(out), before);
    QFileInfo waei(out + QStringLiteral("/waei.dic"));
    if (taken == u"fifo")
        QVERIFY(!waei.isFile() && waei.exists());
    else if (taken != u"input")
        QCOMPARE(readFile(waei.filePath()), OldWaei);
    if (taken != u"folder")
        QCOMPARE(readFile(out + QStringLiteral("/wordmere.dic")), OldWordmere);
}

// Ended by a signal at any moment, the tool leaves the old pair or the new
// one, and no temporary file.
void TestDictTool::endedAtAnyMomentLeavesOnePair()
{
    QTemporaryDir dir;
    const QString edict = dir.filePath(QStringLiteral("edict"));
    writeFile(edict, testsupport::iconvBytes(edictText(20000), "EUC-JP"));
    const QString fresh = dir.filePath(QStringLiteral("fresh"));
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(QProcess::execute(Tool, {QStringLiteral("--edict"), edict, QStringLiteral("--out"), fresh}), 0);
    const qint64 full = clock.elapsed();
    const QByteArray newWaei = readFile(fresh + QStringLiteral("/waei.dic"));
    const QByteArray newWordmere = readFile(fresh + QStringLiteral("/wordmere.dic"));
    const QString out = dir.filePath(QStringLiteral("out"));
    QVERIFY(QDir().mkpath(out));
    for (int step = 0; step < 10; ++step) {
        writeFile(out + QStringLiteral("/waei.dic"), OldWaei);
        writeFile(out + QStringLiteral("/wordmere.dic"), OldWordmere);
        QProcess p;
        p.start(Tool, {QStringLiteral("--edict"), edict, QStringLiteral("--out"), out});
        QVERIFY(p.waitForStarted());
        QTest::qWait(int(full * (5 + step) / 14));
        const qint64 pid = p.processId(); // 0 once it has ended: never signal that
        if (pid > 0 && p.state() == QProcess::Running)
            ::kill(pid_t(pid), step % 2 ? SIGTERM : SIGINT);
        QVERIFY(p.state() == QProcess::NotRunning || p.waitForFinished(60000));
        const QStringList left = entries(out);
        QVERIFY2(left.size() <= 3 && left.contains(QStringLiteral("waei.dic")) &&
                     left.contains(QStringLiteral("wordmere.dic")),
                 qPrintable(left.join(u' ')));
        const QByteArray waei = readFile(out + QStringLiteral("/waei.dic"));
        const QByteArray wordmere = readFile(out + QStringLiteral("/wordmere.dic"));
        QVERIFY((waei == OldWaei && wordmere == OldWordmere) || (waei == newWaei && wordmere == newWordmere));
    }
}

QTEST_GUILESS_MAIN(TestDictTool)
#include "test_dicttool.moc"
