// Draws the README's pictures of the main window (not a benchmark): the
// entry of a word at magnification 3, in normal and in reversed colours,
// saved as PNG files. Run it on a real display server, e.g. under Xvfb:
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" windowshots OUTDIR [--dict DIR] [--word WORD]

#include "form/mainform.h"
#include "form/messagebox.h"
#include "form/richtextbox.h"
#include "mainwindow/displaymodes.h"
#include "mainwindow/lifecycle.h"
#include "mainwindow/mainwindow.h"
#include "settings/settingsstore.h"
#include "speech/speech.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

int main(int argc, char *argv[])
{
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath("config")));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.filePath("runtime")));
    qputenv("WORDLAMP_SPEECH", "transcript:" + QFile::encodeName(dir.filePath("transcript.txt")) + "@0");
    QApplication app(argc, argv);
    setMessageHandler([](const MessageRecord &m) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(m.title), qPrintable(m.text));
        return QMessageBox::Ok;
    });
    const QStringList args = QApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: windowshots OUTDIR [--dict DIR] [--word WORD]\n");
        return 2;
    }
    const QString out = args[1];
    QString dict = QCoreApplication::applicationDirPath();
    QString word = QStringLiteral("apple");
    for (int i = 2; i + 1 < args.size(); i += 2) {
        if (args[i] == u"--dict")
            dict = args[i + 1];
        else if (args[i] == u"--word")
            word = args[i + 1];
    }
    settings::writeText(settings::Key::Wordmere, dict);
    settings::writeBool(settings::Key::BigMode, true);
    settings::writeInt(settings::Key::FontSize, 3);
    settings::writeBool(settings::Key::Reverse, false);

    MainForm form;
    MainWindow window(form);
    form.setSpeech(std::make_unique<Speech>(form));
    if (!window.lifecycle().Form_Load({QStringLiteral("Wordlamp")}))
        return 1;
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return 1;
    form.Text1->setFocus();
    QTest::keyClicks(form.Text1, word);
    QTest::keyClick(form.Text1, Qt::Key_Return);
    QTest::qWait(500);
    // The reading left the caret at the end: show the head of the entry.
    QTest::keyClick(form.Text2, Qt::Key_Home, Qt::ControlModifier);
    QDir().mkpath(out);
    const auto shoot = [&](const QString &name) {
        QTest::qWait(300); // the layout after the change
        const QString path = QDir(out).filePath(name);
        if (!form.grab().save(path))
            return false;
        std::printf("%s\n", qPrintable(path));
        return true;
    };
    if (!shoot(QStringLiteral("window-normal.png")))
        return 1;
    form.action(QStringLiteral("mnu_view_font_hanten"))->trigger();
    if (!shoot(QStringLiteral("window-reversed.png")))
        return 1;
    window.lifecycle().Form_Unload();
    return 0;
}
