#include "worker.h"

#include "accessibletext.h"
#include "autorepeat.h"
#include "clipboardtext.h"
#include "cp932.h"
#include "hotkey.h"
#include "xevents.h"
#include "xwindows.h"

#include <glib-unix.h>
#include <glib.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <future>

namespace wlhook::x11 {
namespace {

// How long a capture may take: the accessibility bus first, then the clipboard.
constexpr auto AccessibleBudget = std::chrono::milliseconds(1000);
constexpr auto ClipboardBudget = std::chrono::milliseconds(500);
// How long start() waits for the thread's X set-up.
constexpr auto StartTimeout = std::chrono::seconds(10);

} // namespace

// What the thread owns while it runs.
struct Worker::Loop {
    Loop(const HookSettings &settings, const Publish &publish, xcb_connection_t *c, xcb_window_t root,
         GMainContext *context)
        : settings(settings), publish(publish), c(c), root(root), context(context), events(c),
          clipboard(c, events, root)
    {
        notifyAtom = internAtom(c, NotifyAtomName);
    }

    void handle(const xcb_generic_event_t *event);
    void onPress(const xcb_key_press_event_t *key);
    void onRelease(const xcb_key_release_event_t *key);
    void capture();
    void notify();

    const HookSettings &settings;
    const Publish &publish;
    xcb_connection_t *c;
    xcb_window_t root;
    GMainContext *context;
    GMainLoop *mainLoop = nullptr;
    XEvents events;
    ClipboardText clipboard;
    xcb_atom_t notifyAtom = XCB_ATOM_NONE;
    HotKeyGrab grab;
    AccessibleText accessible;
    bool armed = false; // the hot key went down outside the program's process
};

void Worker::Loop::handle(const xcb_generic_event_t *event)
{
    switch (event->response_type & 0x7F) {
    case XCB_KEY_PRESS: onPress(reinterpret_cast<const xcb_key_press_event_t *>(event)); break;
    case XCB_KEY_RELEASE: onRelease(reinterpret_cast<const xcb_key_release_event_t *>(event)); break;
    default: // errors of requests about windows that are gone, and the like
        break;
    }
}

void Worker::Loop::onPress(const xcb_key_press_event_t *key)
{
    // Other keys pressed while the hot key is held come here too; they
    // change nothing.
    if (!grab.isHotKey(key->detail))
        return;
    // The keyboard is frozen until we decide: in the program's own window
    // the key goes on to it as if there were no grab; elsewhere it is ours.
    const std::uint32_t pid = windowProcessId(c, root, focusedWindow(c, root));
    const bool own = settings.ownerPid != 0 && pid == settings.ownerPid;
    xcb_allow_events(c, own ? XCB_ALLOW_REPLAY_KEYBOARD : XCB_ALLOW_ASYNC_KEYBOARD, key->time);
    xcb_flush(c);
    armed = !own;
    if (armed)
        accessible.notePress();
}

void Worker::Loop::onRelease(const xcb_key_release_event_t *key)
{
    if (!armed || !grab.isHotKey(key->detail))
        return;
    armed = false;
    const std::uint16_t both = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_SHIFT;
    if ((key->state & both) == both)
        capture();
}

void Worker::Loop::capture()
{
    const auto start = Clock::now();
    const xcb_window_t focus = focusedWindow(c, root);
    const std::uint32_t pid = windowProcessId(c, root, focus);
    if (settings.ownerPid != 0 && pid == settings.ownerPid)
        return;

    // Let focus changes that are already on their way arrive first.
    for (int i = 0; i < 100 && g_main_context_iteration(context, FALSE); ++i) {
    }

    Capture captured;
    if (const auto text = accessible.capture(pid, start + AccessibleBudget)) {
        captured.result = text->result;
        captured.text = utf8ToCp932(text->text);
        captured.caret = text->caret.value_or(windowOrigin(c, root, focus));
    } else {
        captured.result = CaptureClipboard;
        captured.text = utf8ToCp932(clipboard.read(Clock::now() + ClipboardBudget));
        captured.caret = windowOrigin(c, root, focus);
    }
    publish(captured);
    notify();
}

void Worker::Loop::notify()
{
    if (!windowExists(c, settings.target))
        return;
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = settings.target;
    message.type = notifyAtom;
    message.data.data32[0] = settings.message;
    xcb_send_event(c, 0, settings.target, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char *>(&message));
    xcb_flush(c);
}

Worker::Worker(HookSettings settings, Publish publish) : settings_(settings), publish_(std::move(publish))
{
}

Worker::~Worker()
{
    if (thread_.joinable()) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = write(wake_[1], &byte, 1);
        thread_.join();
    }
    for (int fd : wake_)
        if (fd >= 0)
            close(fd);
}

bool Worker::start()
{
    if (pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    std::promise<bool> ready;
    std::future<bool> grabbed = ready.get_future();
    thread_ = std::thread([this, &ready] { run(ready); });
    if (grabbed.wait_for(StartTimeout) != std::future_status::ready || !grabbed.get()) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = write(wake_[1], &byte, 1);
        thread_.join();
        return false;
    }
    return true;
}

void Worker::run(std::promise<bool> &ready)
{
    GMainContext *context = g_main_context_new();
    g_main_context_push_thread_default(context);
    int screenNumber = 0;
    xcb_connection_t *c = xcb_connect(nullptr, &screenNumber);
    std::unique_ptr<Loop> loop;
    if (!xcb_connection_has_error(c)) {
        xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(c));
        for (int i = 0; i < screenNumber && screens.rem; ++i)
            xcb_screen_next(&screens);
        if (screens.rem) {
            loop = std::make_unique<Loop>(settings_, publish_, c, screens.data->root, context);
            detectableAutoRepeat(c);
            if (!loop->grab.grab(c, loop->root, settings_.hotKey))
                loop.reset();
        }
    }
    if (!loop) {
        xcb_disconnect(c);
        g_main_context_pop_thread_default(context);
        g_main_context_unref(context);
        ready.set_value(false);
        return;
    }
    xcb_flush(c);
    ready.set_value(true); // after this the promise is gone

    loop->accessible.start(context);
    loop->mainLoop = g_main_loop_new(context, FALSE);

    GSource *x =
        g_unix_fd_source_new(xcb_get_file_descriptor(c), static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR));
    g_source_set_callback(x, G_SOURCE_FUNC(+[](int, GIOCondition, gpointer data) -> gboolean {
                              auto *l = static_cast<Loop *>(data);
                              while (xcb_generic_event_t *event = l->events.next()) {
                                  l->handle(event);
                                  std::free(event);
                              }
                              if (xcb_connection_has_error(l->c)) {
                                  g_main_loop_quit(l->mainLoop);
                                  return G_SOURCE_REMOVE;
                              }
                              return G_SOURCE_CONTINUE;
                          }),
                          loop.get(), nullptr);
    g_source_attach(x, context);

    GSource *wake = g_unix_fd_source_new(wake_[0], G_IO_IN);
    g_source_set_callback(wake, G_SOURCE_FUNC(+[](int, GIOCondition, gpointer data) -> gboolean {
                              g_main_loop_quit(static_cast<GMainLoop *>(data));
                              return G_SOURCE_REMOVE;
                          }),
                          loop->mainLoop, nullptr);
    g_source_attach(wake, context);

    // Events that arrived during the set-up are handled first.
    while (xcb_generic_event_t *event = loop->events.next()) {
        loop->handle(event);
        std::free(event);
    }
    g_main_loop_run(loop->mainLoop);

    g_source_destroy(wake);
    g_source_unref(wake);
    g_source_destroy(x);
    g_source_unref(x);
    loop->accessible.stop();
    loop->grab.ungrab(c, loop->root);
    g_main_loop_unref(loop->mainLoop);
    loop.reset();
    xcb_disconnect(c);
    g_main_context_pop_thread_default(context);
    g_main_context_unref(context);
}

} // namespace wlhook::x11
