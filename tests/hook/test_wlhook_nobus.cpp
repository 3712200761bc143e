// Wlhook on X11 without a D-Bus session bus (a bare X server, as under some
// window managers started by hand): the capture gives the clipboard, and
// nothing that the library starts (no bus, no accessibility service) is
// left running. Runs on its own X server (virtual-display); this process
// collects every orphaned descendant (child subreaper), so whatever the
// library started and left behind is found among them.

#include "wlhook.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QLibrary>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <xcb/xcb.h>

#include <csignal>
#include <cstdlib>
#include <memory>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int F12 = 123;
constexpr int Timeout = 15000;
const QByteArray ClipboardText = "no bus, clipboard only";

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(qstrlen(name)), name), nullptr), std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

xcb_window_t createWindow(xcb_connection_t *c, bool map)
{
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const xcb_window_t window = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, root, 10, 10, 200, 100, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      XCB_COPY_FROM_PARENT, 0, nullptr);
    if (map)
        xcb_map_window(c, window);
    return window;
}

// The pids of this process's descendants (by the parent field of /proc/*/stat).
QList<pid_t> descendants()
{
    QHash<pid_t, pid_t> parents;
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool number = false;
        const pid_t pid = entry.toInt(&number);
        if (!number)
            continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        // "pid (name) state ppid ...": the name may hold spaces and brackets.
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields.at(0) != "Z")
            parents.insert(pid, pid_t(fields.at(1).toInt()));
    }
    QList<pid_t> found;
    for (auto it = parents.cbegin(); it != parents.cend(); ++it)
        for (pid_t p = it.value(); p > 1; p = parents.value(p, 0))
            if (p == getpid()) {
                found << it.key();
                break;
            }
    return found;
}

QString commandOf(pid_t pid)
{
    QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
    return cmdline.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(cmdline.readAll()).replace(QChar(0), ' ')
                                             : QString();
}

} // namespace

class TestWlhookNoBus : public QObject {
    Q_OBJECT

private:
    QTemporaryDir runtime;
    xcb_connection_t *c = nullptr;
    xcb_window_t host = XCB_NONE;
    pid_t focused = 0; // the other application: a window with the focus

    // Answers requests for the clipboard, owned by host, until notified.
    bool serveClipboardUntilNotified()
    {
        const xcb_atom_t utf8 = atom(c, "UTF8_STRING");
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < Timeout) {
            std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> event(xcb_poll_for_event(c), std::free);
            if (!event) {
                QTest::qSleep(5);
                continue;
            }
            const int type = event->response_type & 0x7F;
            if (type == XCB_CLIENT_MESSAGE)
                return reinterpret_cast<xcb_client_message_event_t *>(event.get())->data.data32[0] ==
                       wlhook::NotifyMessage;
            if (type != XCB_SELECTION_REQUEST)
                continue;
            const auto *request = reinterpret_cast<xcb_selection_request_event_t *>(event.get());
            xcb_selection_notify_event_t answer{};
            answer.response_type = XCB_SELECTION_NOTIFY;
            answer.time = request->time;
            answer.requestor = request->requestor;
            answer.selection = request->selection;
            answer.target = request->target;
            answer.property = XCB_ATOM_NONE;
            if (request->target == utf8) {
                xcb_change_property(c, XCB_PROP_MODE_REPLACE, request->requestor, request->property, utf8, 8,
                                    uint32_t(ClipboardText.size()), ClipboardText.constData());
                answer.property = request->property;
            }
            xcb_send_event(c, 0, request->requestor, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char *>(&answer));
            xcb_flush(c);
        }
        return false;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(runtime.isValid());
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        qunsetenv("AT_SPI_BUS_ADDRESS");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path())); // holds no bus
        QCOMPARE(prctl(PR_SET_CHILD_SUBREAPER, 1), 0);

        // The other application: a child process whose window has the focus.
        int ready[2];
        QCOMPARE(pipe(ready), 0);
        focused = fork();
        QVERIFY(focused >= 0);
        if (focused == 0) {
            ::close(ready[0]);
            xcb_connection_t *own = xcb_connect(nullptr, nullptr);
            const xcb_window_t window = createWindow(own, true);
            xcb_set_input_focus(own, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
            free(xcb_get_input_focus_reply(own, xcb_get_input_focus(own), nullptr));
            [[maybe_unused]] const ssize_t written = write(ready[1], "r", 1);
            pause();
            _exit(0);
        }
        ::close(ready[1]);
        char byte = 0;
        QCOMPARE(read(ready[0], &byte, 1), ssize_t(1));
        ::close(ready[0]);

        c = xcb_connect(nullptr, nullptr);
        QVERIFY(!xcb_connection_has_error(c));
        host = createWindow(c, false);
        xcb_set_selection_owner(c, host, atom(c, "CLIPBOARD"), XCB_CURRENT_TIME);
        xcb_flush(c);
    }

    void cleanupTestCase()
    {
        if (c)
            xcb_disconnect(c);
        // Ends whatever is still running below this process.
        for (pid_t pid : descendants())
            ::kill(pid, SIGTERM);
        while (waitpid(-1, nullptr, 0) > 0) {
        }
    }

    void capturesTheClipboardAndLeavesNothingBehind()
    {
        QLibrary library(QStringLiteral(WORDLAMP_PROGRAM_DIR "/") + QLatin1String(wlhook::LibraryName));
        QVERIFY2(library.load(), qPrintable(library.errorString()));
        auto hook = reinterpret_cast<HookKeyHandlerFunction>(library.resolve("HookKeyHandler"));
        auto unhook = reinterpret_cast<UnHookKeyHandlerFunction>(library.resolve("UnHookKeyHandler"));
        auto getString = reinterpret_cast<GetStringFunction>(library.resolve("GetString"));
        QVERIFY(hook && unhook && getString);

        QCOMPARE(hook(host, wlhook::NotifyMessage, F12), 1);
        QProcess keys;
        keys.start(QStringLiteral("xdotool"),
                   {"keydown", "ctrl", "keydown", "shift", "key", "F12", "keyup", "shift", "keyup", "ctrl"});
        const bool notified = serveClipboardUntilNotified();
        QVERIFY(keys.waitForFinished(Timeout));
        QVERIFY(notified);
        char text[64] = {};
        QCOMPARE(getString(text, sizeof text), int(wlhook::CaptureClipboard));
        QCOMPARE(QByteArray(text), ClipboardText);
        QCOMPARE(unhook(), 1);

        // Nothing runs below this process but the other application.
        QStringList left;
        for (pid_t pid : descendants())
            if (pid != focused)
                left << QStringLiteral("%1 %2").arg(pid).arg(commandOf(pid));
        QVERIFY2(left.isEmpty(), qPrintable(left.join(QStringLiteral("; "))));
    }
};

QTEST_APPLESS_MAIN(TestWlhookNoBus)
#include "test_wlhook_nobus.moc"
