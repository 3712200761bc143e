// Wlhook on X11, end to end: this test is the program's side (a window that
// binds libWlhook by name and installs the hook with Ctrl+Shift+F12); a
// separate Qt (wlhook_qttarget) or GTK (gtktarget.py) application has the
// focus and receives the keys from xdotool. Runs on a private X server and D-Bus session with the
// accessibility bus (see desktop-session). Every wait is bounded.

#include "testsupport.h"
#include "wlhook.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLibrary>
#include <QLineEdit>
#include <QProcess>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <xcb/xcb.h>

#include <csignal>
#include <memory>
#include <optional>

namespace {

constexpr int F12 = 123;
constexpr int Timeout = 15000;

struct Notification {
    qint32 result = -1;
    QByteArray text;
    qint32 length = -1;
    WlhookPoint caret{0, 0};
};

struct Api {
    HookKeyHandlerFunction hook = nullptr;
    UnHookKeyHandlerFunction unhook = nullptr;
    GetStringFunction getString = nullptr;
    GetStrLengthFunction getStrLength = nullptr;
    GetScreenCaretFunction getScreenCaret = nullptr;
};

// The program's window: collects the notifications and the F12 keys of its edit.
class HostWindow : public QWidget {
public:
    explicit HostWindow(const Api &api) : api_(api)
    {
        setWindowTitle(QStringLiteral("Wlhook test host"));
        edit = new QLineEdit(QStringLiteral("host text"), this);
        (new QVBoxLayout(this))->addWidget(edit);
        edit->installEventFilter(this);
        resize(300, 80);
        move(700, 100);
    }

    QLineEdit *edit;
    QList<Notification> notifications;
    QStringList hostKeys;

protected:
    bool nativeEvent(const QByteArray &type, void *message, qintptr *result) override
    {
        if (type == "xcb_generic_event_t") {
            auto *event = static_cast<xcb_generic_event_t *>(message);
            if ((event->response_type & 0x7F) == XCB_CLIENT_MESSAGE) {
                auto *client = reinterpret_cast<xcb_client_message_event_t *>(event);
                if (client->format == 32 && client->data.data32[0] == wlhook::NotifyMessage) {
                    Notification n;
                    QByteArray buffer(wlhook::CaptureBufferSize, '\0');
                    n.result = api_.getString(buffer.data(), qint32(buffer.size()));
                    n.text = QByteArray(buffer.constData()); // up to the first NUL
                    n.length = api_.getStrLength();
                    api_.getScreenCaret(&n.caret);
                    notifications.append(n);
                    return true;
                }
            }
        }
        return QWidget::nativeEvent(type, message, result);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == edit && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) &&
            static_cast<QKeyEvent *>(event)->key() == Qt::Key_F12)
            hostKeys << (event->type() == QEvent::KeyPress ? QStringLiteral("press") : QStringLiteral("release"));
        return QWidget::eventFilter(watched, event);
    }

private:
    const Api &api_;
};

// One run of wlhook_qttarget, or of gtktarget.py for the kinds "entry",
// "textview" and "button".
class Target {
public:
    Target(const QStringList &arguments)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("GDK_BACKEND"), QStringLiteral("x11"));
        env.insert(QStringLiteral("GSETTINGS_BACKEND"), QStringLiteral("memory"));
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QObject::connect(&process, &QProcess::readyReadStandardOutput, [this] {
            while (process.canReadLine())
                lines << QString::fromUtf8(process.readLine()).trimmed();
        });
        const bool gtk = QStringList{"entry", "textview", "button"}.contains(arguments.value(0));
        process.start(gtk ? QStringLiteral(WORDLAMP_SOURCE_DIR "/tests/hook/gtktarget.py")
                          : QStringLiteral(WORDLAMP_TEST_PROGRAMS "/wlhook_qttarget"),
                      arguments);
    }
    ~Target()
    {
        if (process.state() != QProcess::NotRunning) {
            ::kill(pid_t(process.processId()), SIGCONT);
            process.write("quit\n");
            if (!process.waitForFinished(5000)) {
                process.kill();
                process.waitForFinished(5000);
            }
        }
    }

    // Waits for the window and for its focused widget on the accessibility bus.
    bool waitReady()
    {
        if (!process.waitForStarted(Timeout))
            return false;
        QElapsedTimer timer;
        timer.start();
        while (!lastReady() && timer.elapsed() < Timeout && process.state() == QProcess::Running)
            QTest::qWait(20);
        if (!lastReady())
            return false;
        QProcess probe;
        probe.start(QStringLiteral(WORDLAMP_TEST_PROGRAMS "/wlhook_atspiready"),
                    {QString::number(process.processId()), QString::number(Timeout)});
        return probe.waitForFinished(Timeout + 5000) && probe.exitCode() == 0;
    }

    QRect widgetRect() const
    {
        const QStringList w = lastReady()->split(QLatin1Char(' '));
        return QRect(w.value(1).toInt(), w.value(2).toInt(), w.value(3).toInt(), w.value(4).toInt());
    }

    // Sends a command and waits for the line that starts with answer.
    bool command(const QByteArray &line, const QString &answer)
    {
        const qsizetype before = lines.size();
        process.write(line + '\n');
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < Timeout) {
            for (qsizetype i = before; i < lines.size(); ++i)
                if (lines.at(i).startsWith(answer))
                    return true;
            QTest::qWait(10);
        }
        return false;
    }

    int f12Events() const { return int(lines.filter(QStringLiteral("F12")).size()); }

    QProcess process;
    QStringList lines;

private:
    std::optional<QString> lastReady() const
    {
        for (qsizetype i = lines.size() - 1; i >= 0; --i)
            if (lines.at(i).startsWith(QLatin1String("ready ")))
                return lines.at(i);
        return std::nullopt;
    }
};

bool runXdotool(const QStringList &arguments)
{
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

// Ctrl and Shift held down while F12 goes down and, as a person's finger
// would, up again a little later.
bool sendHotKey()
{
    return runXdotool({"keydown", "ctrl", "keydown", "shift", "keydown", "F12", "sleep", "0.06", "keyup", "F12",
                       "keyup", "shift", "keyup", "ctrl"});
}

} // namespace

class TestWlhookX11 : public QObject {
    Q_OBJECT

private:
    Api api;
    QLibrary library;
    std::unique_ptr<HostWindow> host;

    WlhookWindow hostId() const { return WlhookWindow(host->winId()); }

    // Sends the hot key and returns the one notification that follows.
    std::optional<Notification> capture()
    {
        const qsizetype before = host->notifications.size();
        if (!sendHotKey())
            return std::nullopt;
        QElapsedTimer timer;
        timer.start();
        while (host->notifications.size() <= before && timer.elapsed() < Timeout)
            QTest::qWait(10);
        return host->notifications.size() > before ? std::optional(host->notifications.at(before)) : std::nullopt;
    }

    void hookHost() { QCOMPARE(api.hook(hostId(), wlhook::NotifyMessage, F12), 1); }

private slots:
    void initTestCase()
    {
        library.setFileName(QStringLiteral(WORDLAMP_PROGRAM_DIR "/") + QLatin1String(wlhook::LibraryName));
        QVERIFY2(library.load(), qPrintable(library.errorString()));
        api.hook = reinterpret_cast<HookKeyHandlerFunction>(library.resolve("HookKeyHandler"));
        api.unhook = reinterpret_cast<UnHookKeyHandlerFunction>(library.resolve("UnHookKeyHandler"));
        api.getString = reinterpret_cast<GetStringFunction>(library.resolve("GetString"));
        api.getStrLength = reinterpret_cast<GetStrLengthFunction>(library.resolve("GetStrLength"));
        api.getScreenCaret = reinterpret_cast<GetScreenCaretFunction>(library.resolve("GetScreenCaret"));
        QVERIFY(api.hook && api.unhook && api.getString && api.getStrLength && api.getScreenCaret);

        host = std::make_unique<HostWindow>(api);
        host->show();
        QVERIFY(QTest::qWaitForWindowExposed(host.get()));
        QCOMPARE(api.hook(hostId(), wlhook::NotifyMessage, 0), 0); // no key for virtual-key code 0
        hookHost();
    }

    void cleanupTestCase()
    {
        api.unhook();
        host.reset();
    }

    void capturesFromAnotherApplication_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("presses");
        QTest::addColumn<bool>("rehook"); // before each press: the hook has seen no focus change
        QTest::newRow("line edit selection")
            << QStringList{"lineedit", "hello world", "6", "11"} << 2 << "world" << 1 << false;
        QTest::newRow("Japanese selection") << QStringList{"lineedit", QStringLiteral("日本語の辞書です"), "4", "6"}
                                            << 2 << QStringLiteral("辞書") << 1 << false;
        QTest::newRow("text edit caret to the line end")
            << QStringList{"textedit", "first line\nsecond line", "6", "6"} << 1 << "line" << 1 << false;
        QTest::newRow("text edit selection")
            << QStringList{"textedit", "first line\nsecond line", "11", "17"} << 2 << "second" << 1 << false;
        QTest::newRow("text edit selection over two lines: the first")
            << QStringList{"textedit", "first line\nsecond line", "6", "17"} << 2 << "line" << 1 << false;
        QTest::newRow("caret at the very end") << QStringList{"lineedit", "hello", "5", "5"} << 1 << "" << 1 << false;
        QTest::newRow("no text control: the clipboard")
            << QStringList{"list", "one|two", "--clipboard", "clipboard words"} << 3 << "clipboard words" << 1 << false;
        // GTK drops the focus while the hot key is grabbed: every press counts.
        QTest::newRow("GTK text view selection")
            << QStringList{"textview", "alpha beta gamma", "6", "10", "--clipboard", "other"} << 2 << "beta" << 30
            << false;
        QTest::newRow("GTK entry selection")
            << QStringList{"entry", "alpha beta gamma", "6", "10", "--clipboard", "other"} << 2 << "beta" << 30
            << false;
        QTest::newRow("GTK entry selection, hooked after the focus went there")
            << QStringList{"entry", "alpha beta gamma", "6", "10", "--clipboard", "other"} << 2 << "beta" << 10 << true;
        QTest::newRow("GTK text view over two lines: the first")
            << QStringList{"textview", QStringLiteral("辞書 one\ntwo"), "0", "10"} << 2 << QStringLiteral("辞書 one")
            << 3 << false;
        QTest::newRow("GTK text view caret to the line end")
            << QStringList{"textview", "one two\nthree", "4", "4"} << 1 << "two" << 3 << false;
    }
    void capturesFromAnotherApplication()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, result);
        QFETCH(QString, expected);
        QFETCH(int, presses);
        QFETCH(bool, rehook);
        Target target(arguments);
        QVERIFY(target.waitReady());
        const QByteArray text = testsupport::sjis(expected);
        int right = 0;
        std::optional<Notification> wrong;
        for (int i = 0; i < presses; ++i) {
            if (rehook)
                hookHost();
            const auto n = capture();
            QVERIFY(n);
            if (n->result == result && n->text == text && n->length == int(text.size()))
                ++right;
            else if (!wrong)
                wrong = n;
            // The caret lies on the target's control (its text or, in the list, its window).
            const QRect area = target.widgetRect().adjusted(-20, -20, 20, 20);
            QVERIFY2(area.contains(QPoint(n->caret.x, n->caret.y)) || result == wlhook::CaptureClipboard,
                     qPrintable(QStringLiteral("caret %1,%2").arg(n->caret.x).arg(n->caret.y)));
        }
        QVERIFY2(right == presses, qPrintable(QStringLiteral("%1 of %2 right; one wrong: %3 \"%4\"")
                                                  .arg(right)
                                                  .arg(presses)
                                                  .arg(wrong ? wrong->result : 0)
                                                  .arg(wrong ? QString::fromLatin1(wrong->text.left(40)) : "")));
        // The keys were consumed: the target saw no F12.
        QCOMPARE(target.f12Events(), 0);
    }

    void clipboardIsTheCurrentOneEveryTime()
    {
        // GTK sends large texts in pieces (an incremental transfer); the
        // capture takes the start of each, however the one before ended.
        Target target({"button", "no text here"});
        QVERIFY(target.waitReady());
        const QList<int> sizes{600000, 20, 900000, 700000, 30, 300000};
        for (int i = 0; i < sizes.size(); ++i) {
            const QString prefix = QStringLiteral("clipboard %1 ").arg(i);
            const QChar fill(u'a' + i);
            const QString text = prefix.leftJustified(sizes.at(i), fill);
            QVERIFY(target.command(QStringLiteral("clipboard %1 %2 %3").arg(sizes.at(i)).arg(fill).arg(prefix).toUtf8(),
                                   "clipboard set"));
            QElapsedTimer timer;
            timer.start();
            const auto n = capture();
            QVERIFY(n);
            QCOMPARE(n->result, int(wlhook::CaptureClipboard));
            QCOMPARE(n->text, text.left(wlhook::CaptureBufferSize - 1).toLatin1());
            QVERIFY2(timer.elapsed() < 3000, qPrintable(QStringLiteral("%1 ms").arg(timer.elapsed())));
        }
    }

    void longSelectionIsCutAt1023Bytes()
    {
        Target target({"lineedit", QString(1500, QLatin1Char('x')) + QStringLiteral("辞"), "0", "1501"});
        QVERIFY(target.waitReady());
        const auto n = capture();
        QVERIFY(n);
        QCOMPARE(n->result, int(wlhook::CaptureSelection));
        QCOMPARE(n->length, 1023);
        char small[256];
        QCOMPARE(api.getString(small, sizeof small), int(wlhook::CaptureSelection));
        QCOMPARE(QByteArray(small, sizeof small), QByteArray(256, 'x')); // no terminator
    }

    void otherModifiersDoNotPreventCapture_data()
    {
        QTest::addColumn<QStringList>("modifiers"); // xdotool's key names
        QTest::newRow("Alt") << QStringList{"alt"};
        QTest::newRow("Super") << QStringList{"super"};
        QTest::newRow("AltGr") << QStringList{"ISO_Level3_Shift"};
        QTest::newRow("Alt and Super") << QStringList{"alt", "super"};
    }
    void otherModifiersDoNotPreventCapture()
    {
        QFETCH(QStringList, modifiers);
        Target target({"lineedit", "modified word", "9", "13"});
        QVERIFY(target.waitReady());
        const qsizetype before = host->notifications.size();
        QStringList keys;
        for (const QString &m : modifiers)
            keys << "keydown" << m;
        keys << "keydown"
             << "ctrl"
             << "keydown"
             << "shift"
             << "key"
             << "F12"
             << "keyup"
             << "shift"
             << "keyup"
             << "ctrl";
        for (const QString &m : modifiers)
            keys << "keyup" << m;
        QVERIFY(runXdotool(keys));
        QTRY_VERIFY_WITH_TIMEOUT(host->notifications.size() > before, Timeout);
        QCOMPARE(host->notifications.at(before).text, QByteArray("word"));
        QCOMPARE(target.f12Events(), 0);
    }

    void hotKeyReleasedAfterCtrlCapturesNothing()
    {
        Target target({"lineedit", "first second", "0", "5"});
        QVERIFY(target.waitReady());
        const qsizetype before = host->notifications.size();
        QVERIFY(runXdotool({"keydown", "ctrl", "keydown", "shift", "keydown", "F12", "keyup", "ctrl", "keyup", "F12",
                            "keyup", "shift"}));
        // A capture after it must be the first notification.
        QVERIFY(target.command("select 6 12", "selected"));
        QVERIFY(sendHotKey());
        QTRY_VERIFY_WITH_TIMEOUT(host->notifications.size() > before, Timeout);
        QCOMPARE(host->notifications.at(before).text, QByteArray("second"));
    }

    void keysInTheProgramsOwnWindowPassOn()
    {
        Target target({"lineedit", "first second", "0", "5"});
        QVERIFY(target.waitReady());
        // Without a window manager the focus is set directly, at the current time.
        host->edit->setFocus();
        QVERIFY(runXdotool({"windowfocus", QString::number(host->winId())}));
        QTRY_VERIFY_WITH_TIMEOUT(host->isActiveWindow() && host->edit->hasFocus(), Timeout);
        host->hostKeys.clear();
        const qsizetype before = host->notifications.size();
        QVERIFY(sendHotKey());
        QTRY_COMPARE_WITH_TIMEOUT(host->hostKeys, QStringList({"press", "release"}), Timeout);

        QVERIFY(target.command("select 6 12", "selected"));
        QVERIFY(target.command("activate", "ready"));
        QVERIFY(sendHotKey());
        QTRY_VERIFY_WITH_TIMEOUT(host->notifications.size() > before, Timeout);
        QCOMPARE(host->notifications.at(before).text, QByteArray("second"));
    }

    void applicationThatDoesNotAnswer()
    {
        QGuiApplication::clipboard()->setText(QStringLiteral("host clipboard"));
        Target target({"lineedit", "frozen text", "0", "6"});
        QVERIFY(target.waitReady());
        QCOMPARE(::kill(pid_t(target.process.processId()), SIGSTOP), 0);
        QElapsedTimer timer;
        timer.start();
        const auto n = capture();
        const qint64 spent = timer.elapsed();
        ::kill(pid_t(target.process.processId()), SIGCONT);
        QVERIFY(n);
        // The accessibility calls time out; the clipboard (the host's) answers.
        QCOMPARE(n->result, int(wlhook::CaptureClipboard));
        QCOMPARE(n->text, QByteArray("host clipboard"));
        QVERIFY2(spent < 5000, qPrintable(QStringLiteral("%1 ms").arg(spent)));
    }

    void windowThatNoLongerExists()
    {
        WlhookWindow gone = 0;
        {
            QWidget window;
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            gone = WlhookWindow(window.winId());
        }
        QCOMPARE(api.hook(gone, wlhook::NotifyMessage, F12), 1);
        Target target({"lineedit", "stored anyway", "0", "6"});
        QVERIFY(target.waitReady());
        const qsizetype before = host->notifications.size();
        QVERIFY(sendHotKey());
        char text[16] = {};
        QTRY_VERIFY_WITH_TIMEOUT(
            api.getString(text, sizeof text) == wlhook::CaptureSelection && QByteArray(text) == "stored", Timeout);
        QCOMPARE(host->notifications.size(), before);
        QCOMPARE(target.f12Events(), 0); // still consumed

        // Hooking again clears the capture.
        hookHost();
        char again[8] = "xxxxxxx";
        QCOMPARE(api.getString(again, sizeof again), int(wlhook::CaptureNone));
        QCOMPARE(QByteArray(again, sizeof again), QByteArray(8, '\0'));
        QCOMPARE(api.getStrLength(), 0);
    }

    void hotKeyTakenByAnotherClient()
    {
        // Another client holds Ctrl+Shift+F11: the hook cannot be installed.
        xcb_connection_t *other = xcb_connect(nullptr, nullptr);
        QVERIFY(!xcb_connection_has_error(other));
        const xcb_setup_t *setup = xcb_get_setup(other);
        const xcb_window_t root = xcb_setup_roots_iterator(setup).data->root;
        const auto count = quint8(setup->max_keycode - setup->min_keycode + 1);
        xcb_get_keyboard_mapping_reply_t *map =
            xcb_get_keyboard_mapping_reply(other, xcb_get_keyboard_mapping(other, setup->min_keycode, count), nullptr);
        QVERIFY(map);
        const xcb_keysym_t *syms = xcb_get_keyboard_mapping_keysyms(map);
        xcb_keycode_t f11 = 0;
        for (int i = 0; i < xcb_get_keyboard_mapping_keysyms_length(map); i += map->keysyms_per_keycode)
            if (syms[i] == 0xFFC8 && f11 == 0)
                f11 = xcb_keycode_t(setup->min_keycode + i / map->keysyms_per_keycode);
        free(map);
        QVERIFY(f11 != 0);
        xcb_generic_error_t *error =
            xcb_request_check(other, xcb_grab_key_checked(other, 0, root, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_SHIFT,
                                                          f11, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        QVERIFY(!error);
        QCOMPARE(api.hook(hostId(), wlhook::NotifyMessage, 122), 0);
        QCOMPARE(api.unhook(), 0);
        xcb_disconnect(other);
        hookHost();
    }

    void noHookUnderWayland_data()
    {
        QTest::addColumn<QByteArray>("variable");
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("Wayland display") << QByteArray("WAYLAND_DISPLAY") << QByteArray("wayland-0");
        QTest::newRow("Wayland session") << QByteArray("XDG_SESSION_TYPE") << QByteArray("wayland");
    }
    void noHookUnderWayland()
    {
        QFETCH(QByteArray, variable);
        QFETCH(QByteArray, value);
        const std::optional<QByteArray> before = qEnvironmentVariableIsSet(variable.constData())
                                                     ? std::optional(qgetenv(variable.constData()))
                                                     : std::nullopt;
        qputenv(variable.constData(), value);
        const int hooked = api.hook(hostId(), wlhook::NotifyMessage, F12);
        const int unhooked = api.unhook();
        if (before)
            qputenv(variable.constData(), *before);
        else
            qunsetenv(variable.constData());
        QCOMPARE(hooked, 0);
        QCOMPARE(unhooked, 0);
        hookHost();
    }

    void unhookReleasesTheKey()
    {
        Target target({"lineedit", "after unhook", "0", "5"});
        QVERIFY(target.waitReady());
        QCOMPARE(api.unhook(), 1);
        const qsizetype before = host->notifications.size();
        QVERIFY(sendHotKey());
        QTRY_COMPARE_WITH_TIMEOUT(target.f12Events(), 2, Timeout); // press and release reach the target
        QCOMPARE(host->notifications.size(), before);
        QCOMPARE(api.unhook(), 0);
        hookHost();
    }
};

QTEST_MAIN(TestWlhookX11)
#include "test_wlhook_x11.moc"
