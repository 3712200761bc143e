// The Help menu: the manuals listed from their folder and opened, the
// version dialog, and what is heard around the menus.

#include "codepage/codepage.h"
#include "form/mainform.h"
#include "form/richtextbox.h"
#include "mainwindow/helpmenu.h"
#include "mainwindow/lifecycle.h"
#include "mainwindow/mainwindow.h"
#include "orrin/orrnusr.h"
#include "windowharness.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

void makeFiles(const QString &folder, const QStringList &names)
{
    for (const QString &name : names) {
        QFile f(QDir(folder).filePath(name));
        QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable(name));
    }
}

// The captions of the manual items shown, in order.
QStringList shownManuals(MainForm &f)
{
    QStringList captions;
    for (QAction *a : f.menu(QStringLiteral("mnu_help_doc"))->actions())
        if (a->isVisible())
            captions << a->text();
    return captions;
}

void setManualFolder(const QString &folder)
{
    QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("QLM"), QStringLiteral("Wordlamp"))
        .setValue(QStringLiteral("Directories/Manual"), folder);
}

} // namespace

class TestHelpMenu : public QObject {
    Q_OBJECT
private slots:
    void manualsListed_data();
    void manualsListed();
    void ownManuals();
    void manualOpens_data();
    void manualOpens();
    void versionDialog();
    void menusDoNotMoveTheFocus();
};

void TestHelpMenu::manualsListed_data()
{
    QTest::addColumn<QStringList>("files"); // "-" for a folder that does not exist
    QTest::addColumn<QStringList>("captions");
    QTest::newRow("no folder") << QStringList{"-"} << QStringList{};
    QTest::newRow("empty folder") << QStringList{} << QStringList{};
    QStringList many;
    for (int i = 0; i < 200; ++i)
        many << QStringLiteral("m%1.txt").arg(i, 3, 10, QChar(u'0'));
    QStringList firstTen;
    for (int i = 0; i < 10; ++i)
        firstTen << QStringLiteral("m%1").arg(i, 3, 10, QChar(u'0'));
    QTest::newRow("200 files, the first ten") << many << firstTen;
    QTest::newRow("names") << QStringList{"a.txt",      "abcde.txt",  "b.TXT",   "note.doc",
                                          "한국어.txt", "𠮷野家.txt", "x&y.txt", ".hidden.txt"}
                           << QStringList{"a.txt", "abcde", "b.TXT", "x&&y", "한국어", "𠮷野家"};
}

void TestHelpMenu::manualsListed()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, captions);
    QTemporaryDir dir;
    const QString folder = files == QStringList{"-"} ? dir.filePath(QStringLiteral("none")) : dir.path();
    if (files != QStringList{"-"})
        makeFiles(folder, files);
#ifdef Q_OS_UNIX
    if (QTest::currentDataTag() == QByteArray("names")) {
        // A name that is not UTF-8 cannot be given back to open the file.
        const QByteArray bad = QFile::encodeName(folder) + "/bad\xff\xfe.txt";
        const int fd = ::open(bad.constData(), O_CREAT | O_WRONLY, 0600);
        QVERIFY(fd >= 0);
        ::close(fd);
    }
#endif
    WindowHarness h;
    setManualFolder(folder);
    QVERIFY(h.load());
    MainForm &f = h.form();
    QCOMPARE(h.window().helpMenu().manualFolder(), folder);
    QStringList shown = shownManuals(f);
    // Characters in other scripts sort after Latin ones; the order among them is the system's.
    QCOMPARE(QSet<QString>(shown.begin(), shown.end()), QSet<QString>(captions.begin(), captions.end()));
    QCOMPARE(shown.size(), captions.size());
    QCOMPARE(f.action(QStringLiteral("mnu_help_doc"))->isEnabled(), !captions.isEmpty());
}

void TestHelpMenu::ownManuals()
{
    WindowHarness h;
    setManualFolder(QStringLiteral(WORDLAMP_PROGRAM_DIR "/manual"));
    QVERIFY(h.load());
    const QStringList shown = shownManuals(h.form());
    QCOMPARE(shown.size(), 5);
    QCOMPARE(shown.first(), QStringLiteral("1 はじめに"));
    // Plain UTF-8 text for a listener: short lines, no tables.
    const QDir folder(h.window().helpMenu().manualFolder());
    for (const QString &name : folder.entryList({QStringLiteral("*.txt")})) {
        QFile f(folder.filePath(name));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QVERIFY2(QString::fromUtf8(bytes).toUtf8() == bytes, qPrintable(name));
        for (const QString &line : QString::fromUtf8(bytes).split(u'\n')) {
            QVERIFY2(line.size() <= 60, qPrintable(line));
            QVERIFY2(!line.contains(u'|') && !line.contains(u'\t'), qPrintable(line));
        }
    }
}

void TestHelpMenu::manualOpens_data()
{
    QTest::addColumn<bool>("editorInstalled");
    QTest::addColumn<bool>("editorStarts");
    QTest::addColumn<bool>("viewed");  // opened in the desktop's viewer
    QTest::addColumn<bool>("message"); // "ノルベルが起動できません"
    QTest::newRow("no editor") << false << false << true << false;
    QTest::newRow("editor") << true << true << false << false;
    QTest::newRow("editor fails") << true << false << true << true;
}

void TestHelpMenu::manualOpens()
{
    QFETCH(bool, editorInstalled);
    QFETCH(bool, editorStarts);
    QFETCH(bool, viewed);
    QFETCH(bool, message);
    QTemporaryDir dir;
    makeFiles(dir.path(), {QStringLiteral("guide one.txt"), QStringLiteral("two.txt")});
    WindowHarness h;
    setManualFolder(dir.path());
    if (editorInstalled)
        QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("QLM"), QStringLiteral("Norvel"))
            .setValue(QStringLiteral("Directories/ProductDir"), dir.filePath(QStringLiteral("norvel")));
    HelpMenu &help = h.window().helpMenu();
    QStringList started;
    QList<QUrl> views;
    help.setStarter([&](const QString &program, const QStringList &arguments) {
        started << program << arguments;
        return editorStarts;
    });
    help.setViewer([&](const QUrl &url) {
        views << url;
        return true;
    });
    QVERIFY(h.load());
    h.form().action(QStringLiteral("Manuals0"))->trigger();
    const QString file = QDir(dir.path()).filePath(QStringLiteral("guide one.txt"));
    if (editorInstalled) {
        QStringList expected{QDir(dir.filePath(QStringLiteral("norvel"))).filePath(QStringLiteral("norvel.exe")),
                             QStringLiteral("/ro")};
        if (OrvLoaded())
            expected << QStringLiteral("/ar");
        expected << QDir::toNativeSeparators(file);
        QCOMPARE(started, expected);
    } else {
        QVERIFY(started.isEmpty());
    }
    QCOMPARE(views, viewed ? QList<QUrl>{QUrl::fromLocalFile(file)} : QList<QUrl>{});
    QCOMPARE(h.messages.size(), message ? 1 : 0);
    if (message) {
        QCOMPARE(h.messages.first().title, QStringLiteral("マニュアルを開く"));
        QCOMPARE(h.messages.first().text, QStringLiteral("ノルベルが起動できません"));
        QCOMPARE(h.messages.first().icon, QMessageBox::Critical);
    }
}

void TestHelpMenu::versionDialog()
{
    WindowHarness h;
    QVERIFY(h.load());
    MainForm &f = h.form();
    QVERIFY(f.action(QStringLiteral("mnu_help_version"))->isEnabled());
    for (bool english : {false, true}) {
        f.EnglishMode = english;
        h.markTranscript();
        bool wasOpen = false;
        QTimer::singleShot(0, [&] {
            QTRY_VERIFY(qobject_cast<QDialog *>(QApplication::activeModalWidget()));
            wasOpen = h.window().helpMenu().VerInfoEnable;
            QVERIFY(h.waitSpoken(QStringLiteral("ランプの英和") + QChar(codepage::SpeechEndMarker) +
                                 QStringLiteral("和英辞典　バージョン 1.12")));
            QTest::keyClick(QApplication::activeModalWidget(), english ? Qt::Key_Return : Qt::Key_Escape);
        });
        f.action(QStringLiteral("mnu_help_version"))->trigger();
        QVERIFY(wasOpen);
        QVERIFY(!h.window().helpMenu().VerInfoEnable);
        QCOMPARE(h.spoken().contains(QStringLiteral(" + English")), english);
    }
}

void TestHelpMenu::menusDoNotMoveTheFocus()
{
    // A menu opened and closed over a pane leaves the pane where it was:
    // nothing is said again, also not before the farewell.
    WindowHarness h;
    QVERIFY(h.load());
    MainForm &f = h.form();
    for (QWidget *pane : {static_cast<QWidget *>(f.Text2), static_cast<QWidget *>(f.Text1)}) {
        f.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        pane->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), pane);
        h.markTranscript();
        for (const char *name : {"mnu_view", "mnu_help", "mnu_file"}) {
            QMenu *menu = f.menu(QString::fromLatin1(name));
            menu->popup(f.mapToGlobal(QPoint(10, 10)));
            QTRY_VERIFY(menu->isVisible());
            QTest::keyClick(menu, Qt::Key_Escape);
            QTRY_VERIFY(!menu->isVisible());
            QTRY_COMPARE(QApplication::focusWidget(), pane);
        }
        QTest::qWait(50);
        QVERIFY2(!h.spoken().contains(QStringLiteral("検索結果")), qPrintable(h.spoken().join(u'|')));
        QVERIFY2(!h.spoken().contains(QStringLiteral("読みかたの入力") + QChar(codepage::SpeechEndMarker)),
                 qPrintable(h.spoken().join(u'|')));
    }
    // Exit from the File menu: the farewell is the only thing said.
    f.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    f.Text2->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), f.Text2);
    h.markTranscript();
    QMenu *file = f.menu(QStringLiteral("mnu_file"));
    file->popup(f.mapToGlobal(QPoint(10, 10)));
    QTRY_VERIFY(file->isVisible());
    file->setActiveAction(f.action(QStringLiteral("mnu_file_exit")));
    QTest::keyClick(file, Qt::Key_Return);
    QTRY_VERIFY(h.window().lifecycle().isUnloaded());
    QCOMPARE(h.spoken().filter(QStringLiteral("検索結果")), QStringList());
    QVERIFY(h.spoken().contains(QStringLiteral("ランプの英和 和英辞典 おわり")));
}

QTEST_MAIN(TestHelpMenu)
#include "test_helpmenu.moc"
