// The main window's life: the start-up steps and their failures, the
// notification area, activation, shutdown and its order, the session ending,
// and the hand-over to a running copy.

#include "codepage/codepage.h"
#include "form/mainform.h"
#include "form/richtextbox.h"
#include "mainwindow/hookbinding.h"
#include "mainwindow/lifecycle.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/singleinstance.h"
#include "mainwindow/trayresidence.h"
#include "mainwindow/twips.h"
#include "orrin/orrinevents.h"
#include "orrin/orrinsupport.h"
#include "speech/speech.h"
#include "speech/speechlayer.h"
#include "windowharness.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QMenu>
#include <QProcess>
#include <QSignalSpy>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <memory>
#include <vector>

#include <csignal>
#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

namespace {
const QString farewell = QStringLiteral("ランプの英和 和英辞典 おわり");

// Speech whose English-voice check fails, as on a system without the voice.
class NoEnglishVoice : public Speech {
public:
    using Speech::Speech;
    bool checkEnglishVoice() override { return false; }
};
} // namespace

class TestLifecycle : public QObject {
    Q_OBJECT
private slots:
    void firstStart();
    void residentStart_data();
    void residentStart();
    void setResidentTwiceAddsOneIcon();
    void missingScreenReader();
    void missingHookLibrary();
    void hookLibraryFromTheProgramFolder();
    void englishVoiceCheckFails();
    void shutdownOrder();
    void closingMaximisedSavesNoGeometry();
    void geometryComesBack();
    void storedValuesAreMadeSafe_data();
    void storedValuesAreMadeSafe();
    void activationEmptiesALoneSpace();
    void deactivationEndsACapture();
    void terminationSignalRunsShutdown();
    void commandsEnabledByState();
    void secondStartHandsOver();
    void staleSocketIsReplaced();
    void handOverOutlivesBadClients();
};

void TestLifecycle::firstStart()
{
    WindowHarness h;
    QVERIFY(h.load());
    MainForm &f = h.form();
    QVERIFY(f.isVisible());
    QCOMPARE(h.setting("Settings", "Version"), QStringLiteral("1.100"));
    QVERIFY(h.transcript().contains(QStringLiteral("Setup\t97")));
    // The input box has the keys, and says so.
    QCOMPARE(QApplication::focusWidget(), f.Text1);
    QVERIFY(h.spoken().contains(QStringLiteral("読みかたの入力") + QChar(codepage::SpeechEndMarker)));
    QCOMPARE(WindowHarness::hookCalls(), QStringList{"HookKeyHandler 1 1024 123"});
    // A clean account: 11385 x 8775 twips, centred; normal size, reversed
    // colours, status bar shown, history empty.
    QCOMPARE(f.size(), QSize(759, 585));
    QVERIFY(!f.modeBigFont);
    QVERIFY(f.modeReverse);
    QCOMPARE(f.TextColor, QColor(Qt::white));
    QVERIFY(f.StatusBar1->isVisible());
    QVERIFY(f.action("mnu_view_status")->isChecked());
    QVERIFY(f.action("mnu_view_tujo")->isChecked());
    QVERIFY(f.action("mnu_view_font_hanten")->isChecked());
    QCOMPARE(f.ZenpoMax, 50);
    QCOMPARE(f.KeyFunc, 12);
    QCOMPARE(f.RirekiIndex, 0);
    QVERIFY(!f.action("mnu_file_oldback")->isEnabled());
    QVERIFY(!f.action("mnu_file_oldnext")->isEnabled());
    QVERIFY(!f.action("mnu_file_nextpage")->isEnabled());
    QVERIFY(!f.toolButton("めくる")->isEnabled());
    QVERIFY(f.toolButton("戻る")->menu()->isEmpty());
    QVERIFY(f.AllReadIdle);
    QVERIFY(f.Text2Change);
    QCOMPARE(f.CaretScale, 1.75f);
    QVERIFY(f.chkOrrin.isActive());
    // The spaces that keep the panes' formatting are gone once the window is active.
    QCOMPARE(f.Text1->toPlainText(), QString());
    QCOMPARE(f.Text2->toPlainText(), QString());
}

void TestLifecycle::residentStart_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("resident");
    QTest::newRow("/tsr") << QStringList{"/tsr"} << true;
    QTest::newRow("/TSR") << QStringList{"/TSR"} << true;
    QTest::newRow("anywhere") << QStringList{"x", "a/TSRb"} << true;
    QTest::newRow("/Tsr") << QStringList{"/Tsr"} << false;
    QTest::newRow("none") << QStringList{} << false;
}

void TestLifecycle::residentStart()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, resident);
    WindowHarness h;
    QVERIFY(h.load(arguments));
    QCOMPARE(h.form().TrayResident, resident);
    QCOMPARE(h.form().isVisible(), !resident);
    QSystemTrayIcon *icon = h.window().tray().icon();
    QCOMPARE(icon != nullptr, resident);
    if (!resident)
        return;
    QCOMPARE(icon->toolTip(), QStringLiteral("ランプの英和・和英辞典"));
    // The capture hook is installed in the notification area too.
    QCOMPARE(WindowHarness::hookCalls().size(), 1);
    // A left click on the icon brings the window back and removes the icon.
    emit icon->activated(QSystemTrayIcon::Trigger);
    QVERIFY(!h.form().TrayResident);
    QVERIFY(h.form().isVisible());
    QVERIFY(!h.window().tray().icon());
}

void TestLifecycle::setResidentTwiceAddsOneIcon()
{
    WindowHarness h;
    QVERIFY(h.load());
    TrayResidence &tray = h.window().tray();
    tray.SetResident(false); // not resident: nothing
    QVERIFY(h.form().isVisible());
    tray.SetResident(true);
    QSystemTrayIcon *icon = tray.icon();
    tray.SetResident(true);
    QCOMPARE(tray.icon(), icon);
    QCOMPARE(h.form().findChildren<QSystemTrayIcon *>().size() + tray.findChildren<QSystemTrayIcon *>().size(), 1);
    QVERIFY(!h.form().isVisible());
    // A right click does not bring it back.
    emit icon->activated(QSystemTrayIcon::Context);
    QVERIFY(h.form().TrayResident);
    tray.SetResident(false);
    QVERIFY(h.form().isVisible());
    QVERIFY(!tray.icon());
}

void TestLifecycle::missingScreenReader()
{
    const QByteArray speech = qgetenv("WORDLAMP_SPEECH");
    qputenv("WORDLAMP_SPEECH", "nonsense:");
    WindowHarness h;
    const bool loaded = h.load({"/tsr"});
    qputenv("WORDLAMP_SPEECH", speech);
    QVERIFY(!loaded);
    QCOMPARE(h.window().lifecycle().exitCode(), 1);
    QCOMPARE(h.messages.size(), 1);
    QCOMPARE(h.messages[0].title, QStringLiteral("起動エラー"));
    QCOMPARE(h.messages[0].text, QStringLiteral("Orrinがインストールされていません"));
    QCOMPARE(h.messages[0].icon, QMessageBox::Warning);
    QVERIFY(!h.form().isVisible());
    QVERIFY(!h.window().tray().icon()); // the icon of /tsr is gone again
    QVERIFY(WindowHarness::hookCalls().isEmpty());
    QVERIFY(!h.window().singleInstance().isListening());
}

void TestLifecycle::missingHookLibrary()
{
    QTemporaryDir empty;
    WindowHarness::Options o;
    o.fakeHook = false;
    o.hookFolder = empty.path();
    WindowHarness h(o);
    QVERIFY(!h.load());
    QCOMPARE(h.window().lifecycle().exitCode(), 1);
    QCOMPARE(h.messages.size(), 1);
    QCOMPARE(h.messages[0].title, QStringLiteral("起動エラー"));
    QVERIFY2(h.messages[0].text.startsWith(QStringLiteral("Wlhookが読み込めません\n")), qPrintable(h.messages[0].text));
    QVERIFY(h.messages[0].text.size() > 20); // the reason follows
    QCOMPARE(h.messages[0].icon, QMessageBox::Warning);
    QVERIFY(!h.form().isVisible());
    // What start-up had acquired is given back; nothing of shutdown runs.
    QVERIFY(!BrixLoaded());
    QVERIFY(h.form().OrvBack->isShutDown());
    QVERIFY(!h.spoken().contains(farewell));
    h.unload();
    QVERIFY(!h.spoken().contains(farewell));
    QCOMPARE(h.setting("History", "Word10"), QString());
}

void TestLifecycle::hookLibraryFromTheProgramFolder()
{
    WindowHarness::Options o;
    o.fakeHook = false;
    o.hookFolder = QStringLiteral(WORDLAMP_PROGRAM_DIR);
    WindowHarness h(o);
    QVERIFY(h.load());
    QVERIFY(h.window().hook().isBound());
    QVERIFY(h.messages.isEmpty());
    h.unload();
}

void TestLifecycle::englishVoiceCheckFails()
{
    WindowHarness::Options o;
    o.installSpeech = false;
    WindowHarness h(o);
    auto speech = std::make_unique<NoEnglishVoice>(h.form());
    speech->layer().setProgramFolder(QStringLiteral(WORDLAMP_PROGRAM_DIR));
    h.form().setSpeech(std::move(speech));
    QVERIFY(!h.load());
    QCOMPARE(WindowHarness::hookCalls(), (QStringList{"HookKeyHandler 1 1024 123", "UnHookKeyHandler"}));
    QVERIFY(!h.form().isVisible());
}

void TestLifecycle::shutdownOrder()
{
    WindowHarness::Options o;
    o.history = QStringList{"Word9=apple", "Word10=pen"};
    WindowHarness h(o);
    QVERIFY(h.load());
    const QPoint moved = h.form().pos() + QPoint(10, 20);
    h.form().move(moved);
    h.form().resize(700, 500);
    QTRY_COMPARE(h.form().size(), QSize(700, 500));
    QTRY_COMPARE(h.form().pos(), moved);
    h.markTranscript();
    h.unload();
    QCOMPARE(h.setting("Settings", "Width"), QStringLiteral("10500"));
    QCOMPARE(h.setting("Settings", "Height"), QStringLiteral("7500"));
    QVERIFY(!h.setting("Settings", "Left").isEmpty());
    QVERIFY(!h.setting("Settings", "Top").isEmpty());
    QCOMPARE(h.setting("History", "Word8"), QStringLiteral("apple"));
    QCOMPARE(h.setting("History", "Word9"), QStringLiteral("pen"));
    QCOMPARE(h.setting("History", "Word10"), QStringLiteral("-"));
    QCOMPARE(WindowHarness::hookCalls().last(), QStringLiteral("UnHookKeyHandler"));
    QVERIFY(h.form().OrvBack->isShutDown());
    QVERIFY(!BrixLoaded());
    // Speech stops first; the farewell is the last thing said, then Settle.
    const QStringList t = h.transcript();
    QCOMPARE(t.first(), QStringLiteral("StopSpeech"));
    QCOMPARE(t.size() >= 2 ? t[t.size() - 2].section(u'\t', 0, 1) : QString(), QStringLiteral("Speak\t") + farewell);
    QCOMPARE(t.last(), QStringLiteral("Settle"));
    // Once only; and a key still queued is not taken any more.
    h.unload();
    QCOMPARE(h.spoken().count(farewell), 1);
    h.markTranscript();
    QTest::keyClick(h.form().Text2, Qt::Key_G, Qt::ControlModifier);
    QTest::keyClick(h.form().Text1, Qt::Key_F6);
    // Nor does a lookup that was still running start reading its entry.
    h.form().Text2->setPlainText(QStringLiteral("apple"));
    h.form().speech().AllRead();
    QCOMPARE(h.transcript(), QStringList());
}

void TestLifecycle::closingMaximisedSavesNoGeometry()
{
    WindowHarness h;
    QVERIFY(h.load());
    h.form().showMaximized();
    QTRY_VERIFY(h.form().isMaximized());
    h.lookUp(QString()); // nothing to look up; the history stays empty
    h.unload();
    QCOMPARE(h.setting("Settings", "Width"), QString());
    QCOMPARE(h.setting("Settings", "Left"), QString());
    QCOMPARE(h.setting("History", "Word10"), QStringLiteral("-"));
    QVERIFY(h.spoken().contains(farewell));
}

void TestLifecycle::geometryComesBack()
{
    WindowHarness::Options o;
    o.settings = QStringList{"Width=9000", "Height=7500", "Left=150", "Top=300"};
    WindowHarness h(o);
    QVERIFY(h.load());
    QCOMPARE(h.form().size(), QSize(600, 500));
    QCOMPARE(h.form().pos(), QPoint(10, 20));
}

void TestLifecycle::storedValuesAreMadeSafe_data()
{
    // Stored values that would break the window, and what becomes of them.
    // An empty size stands for the screen's; 5000 twips are 333 pixels.
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("centred");
    QTest::addColumn<int>("fontSize");
    QTest::addColumn<int>("keyFunc");
    QTest::newRow("huge") << QStringList{"Width=1e9", "Height=1e9"} << QSize() << true << 1 << 12;
    QTest::newRow("huge at a position") << QStringList{"Width=1e9", "Height=900000", "Left=150", "Top=300"} << QSize()
                                        << false << 1 << 12;
    QTest::newRow("tiny") << QStringList{"Width=3000", "Height=3000"} << QSize(333, 333) << true << 1 << 12;
    QTest::newRow("narrow") << QStringList{"Width=3000"} << QSize(333, 585) << true << 1 << 12;
    QTest::newRow("off to the right") << QStringList{"Left=1000000", "Top=300"} << QSize(759, 585) << true << 1 << 12;
    QTest::newRow("off above") << QStringList{"Left=150", "Top=-20000"} << QSize(759, 585) << true << 1 << 12;
    QTest::newRow("off, centred across") << QStringList{"Top=90000"} << QSize(759, 585) << true << 1 << 12;
    QTest::newRow("level 0") << QStringList{"BigMode=True", "FontSize=0"} << QSize(759, 585) << true << 1 << 12;
    QTest::newRow("level 8") << QStringList{"BigMode=True", "FontSize=8"} << QSize(759, 585) << true << 1 << 12;
    QTest::newRow("level 7") << QStringList{"FontSize=7"} << QSize(759, 585) << true << 7 << 12;
    QTest::newRow("F0") << QStringList{"KeyFunc=0"} << QSize(759, 585) << true << 1 << 12;
    QTest::newRow("F13") << QStringList{"KeyFunc=13"} << QSize(759, 585) << true << 1 << 12;
    QTest::newRow("F1") << QStringList{"KeyFunc=1"} << QSize(759, 585) << true << 1 << 1;
}

void TestLifecycle::storedValuesAreMadeSafe()
{
    QFETCH(QStringList, stored);
    QFETCH(QSize, size);
    QFETCH(bool, centred);
    QFETCH(int, fontSize);
    QFETCH(int, keyFunc);
    WindowHarness::Options o;
    o.settings = stored;
    WindowHarness h(o);
    QVERIFY(h.load());
    MainForm &f = h.form();
    const QRect screen = f.screen()->availableGeometry();
    if (size.isEmpty())
        size = screen.size();
    QCOMPARE(f.size(), size);
    if (centred) {
        QVERIFY(qAbs(f.x() - (screen.width() - size.width()) / 2) <= 1);
        QVERIFY(qAbs(f.y() - (screen.height() - size.height()) / 2) <= 1);
    }
    QVERIFY(screen.intersects(f.geometry()));
    // The layout has run for the size the window has.
    QTRY_COMPARE(f.Text2->geometry().right(), f.centralWidget()->width() - twips::toPixels(100, &f) - 3);
    QCOMPARE(f.modeFontSize, fontSize);
    QCOMPARE(f.KeyFunc, keyFunc);
    QCOMPARE(WindowHarness::hookCalls(), QStringList{QStringLiteral("HookKeyHandler 1 1024 %1").arg(keyFunc + 111)});
}

void TestLifecycle::activationEmptiesALoneSpace()
{
    WindowHarness h;
    QVERIFY(h.load());
    h.form().Text2->setPlainText(QStringLiteral(" "));
    h.form().Text1->setPlainText(QStringLiteral("  "));
    h.window().lifecycle().Form_Activate();
    QCOMPARE(h.form().Text2->toPlainText(), QString());
    QCOMPARE(h.form().Text1->toPlainText(), QStringLiteral("  "));
}

void TestLifecycle::deactivationEndsACapture()
{
    WindowHarness h;
    QVERIFY(h.load());
    h.form().CaptureActive = true;
    h.window().lifecycle().Form_Deactivate();
    QVERIFY(!h.form().CaptureActive);
}

void TestLifecycle::terminationSignalRunsShutdown()
{
    WindowHarness h;
    QVERIFY(h.load());
    h.form().RirekiList = QStringList{"kept"};
    h.form().RirekiIndex = h.form().RirekiMax = 1;
    std::raise(SIGTERM);
    QTRY_VERIFY(h.window().lifecycle().isUnloaded());
    QCOMPARE(h.setting("History", "Word10"), QStringLiteral("kept"));
    QVERIFY(h.spoken().contains(farewell));
}

void TestLifecycle::commandsEnabledByState()
{
    WindowHarness h;
    QVERIFY(h.load());
    for (const char *name : {"mnu_edit_cut", "mnu_edit_copy", "mnu_edit_paste"})
        QVERIFY2(!h.form().action(QString::fromLatin1(name))->isEnabled(), name);
    // Focus moves enable the edit commands that exist.
    h.form().Text1->setFocus();
    QTRY_COMPARE(h.focused(), h.form().Text1);
    QVERIFY(h.form().action("mnu_edit_clear")->isEnabled());
    for (const char *name :
         {"mnu_file_exit", "mnu_view_switch", "mnu_view_status", "mnu_file_yudo1", "mnu_help_version"})
        QVERIFY2(h.form().action(QString::fromLatin1(name))->isEnabled(), name);
}

void TestLifecycle::secondStartHandsOver()
{
    WindowHarness h;
    QVERIFY(h.load({"/tsr"}));
    QVERIFY(h.form().TrayResident);
    h.markTranscript();
    QProcess second;
    second.start(QStringLiteral(WORDLAMP_PROGRAM_DIR "/Wordlamp"), {});
    QVERIFY(second.waitForStarted());
    // The running copy keeps answering while the second one hands over.
    QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 20000);
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QTRY_VERIFY(!h.form().TrayResident);
    QVERIFY(h.form().isVisible());
    // The second start made no screen reader and hooked nothing.
    QVERIFY(!h.transcript().contains(QStringLiteral("Setup\t97")));
    QCOMPARE(WindowHarness::hookCalls().size(), 1);
}

void TestLifecycle::staleSocketIsReplaced()
{
#ifdef Q_OS_UNIX
    // A copy that crashed leaves its socket behind, with nobody listening.
    const QString name = SingleInstance().serverName();
    QVERIFY(name.startsWith(u'/'));
    QFile::remove(name);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(name);
    memcpy(address.sun_path, path.constData(), size_t(path.size()));
    QCOMPARE(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    ::close(fd);
    QVERIFY(QFile::exists(name));
    WindowHarness h;
    QVERIFY(h.load());
    QVERIFY(h.window().singleInstance().isListening());
#else
    QSKIP("local sockets are files only on POSIX systems");
#endif
}

void TestLifecycle::handOverOutlivesBadClients()
{
#ifdef Q_OS_UNIX
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("instance"));
    SingleInstance running;
    running.setServerName(name);
    QVERIFY(!running.DuplicateLoad());
    QSignalSpy shown(&running, &SingleInstance::messageReceived);
    const auto handOver = [&] {
        SingleInstance second;
        second.setServerName(name);
        const int before = int(shown.size());
        QVERIFY(second.DuplicateLoad());
        QTRY_COMPARE_WITH_TIMEOUT(shown.size(), before + 1, 15000);
    };

    // A message without a line end is not kept: the connection is closed.
    QLocalSocket endless;
    endless.connectToServer(name);
    QVERIFY(endless.waitForConnected());
    endless.write(QByteArray(100000, 'x'));
    QTRY_COMPARE(endless.state(), QLocalSocket::UnconnectedState);
    // Connections that never speak hold up a request, but do not lose it.
    std::vector<std::unique_ptr<QLocalSocket>> silent;
    for (int i = 0; i < 10; ++i) {
        silent.push_back(std::make_unique<QLocalSocket>());
        silent.back()->connectToServer(name);
        QVERIFY(silent.back()->waitForConnected());
    }
    handOver();
    QTRY_VERIFY_WITH_TIMEOUT(std::all_of(silent.begin(), silent.end(),
                                         [](const auto &s) { return s->state() == QLocalSocket::UnconnectedState; }),
                             15000);

    // A flood that leaves no file descriptor to take a connection with stops
    // the server; it listens again once descriptors are free.
    rlimit limit{};
    QCOMPARE(::getrlimit(RLIMIT_NOFILE, &limit), 0);
    const rlimit saved = limit;
    limit.rlim_cur = QDir(QStringLiteral("/proc/self/fd")).count() + 8;
    QCOMPARE(::setrlimit(RLIMIT_NOFILE, &limit), 0);
    std::vector<int> flood;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(name);
    memcpy(address.sun_path, path.constData(), size_t(path.size()));
    for (int fd; (fd = ::socket(AF_UNIX, SOCK_STREAM, 0)) >= 0;) {
        flood.push_back(fd);
        ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address);
    }
    QTest::qWait(200); // the server fails to take them
    for (int fd : flood)
        ::close(fd);
    QCOMPARE(::setrlimit(RLIMIT_NOFILE, &saved), 0);
    QTRY_VERIFY(running.isListening());
    handOver();
#else
    QSKIP("local sockets are files only on POSIX systems");
#endif
}

QTEST_MAIN(TestLifecycle)
#include "test_lifecycle.moc"
