#include "accessibletext.h"

#include "core/caretline.h"

#include <atspi/atspi.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <thread>

namespace wlhook::x11 {
namespace {

// Milliseconds an application has to answer one call.
constexpr int CallTimeout = 300;
// A search for the focused object looks at no more than this many objects.
constexpr int SearchLimit = 2000;
constexpr int DepthLimit = 64;
// Characters read from a selection or from the caret onward.
constexpr int TextLimit = static_cast<int>(CaretLineCharacters);
// How long a capture waits for an application that has no focused object
// to report one (GTK takes the focus back after the hot key's release).
constexpr auto FocusReturnWait = std::chrono::milliseconds(300);
constexpr auto FocusPollInterval = std::chrono::milliseconds(5);

template <typename T> struct Unref {
    void operator()(T *p) const
    {
        if (p)
            g_object_unref(p);
    }
};
template <typename T> using Ref = std::unique_ptr<T, Unref<T>>;

struct Error {
    GError *error = nullptr;
    ~Error() { g_clear_error(&error); }
    GError **operator&() { return &error; }
    explicit operator bool() const { return error != nullptr; }
};

bool passed(Clock::time_point deadline)
{
    return Clock::now() >= deadline;
}

// Whether a D-Bus session bus is there to find the accessibility bus on:
// its address in the environment, or the user's bus socket in the runtime
// folder. Without one the client library would start a session bus and the
// accessibility services itself (D-Bus autolaunch), and they would outlive
// the program.
bool sessionBusAvailable()
{
    const char *address = g_getenv("DBUS_SESSION_BUS_ADDRESS");
    if (address && *address)
        return true;
    const char *runtime = g_getenv("XDG_RUNTIME_DIR");
    if (!runtime || !*runtime)
        return false;
    gchar *socket = g_build_filename(runtime, "bus", nullptr);
    struct stat info {};
    const bool found = stat(socket, &info) == 0 && S_ISSOCK(info.st_mode);
    g_free(socket);
    return found;
}

void replace(AtspiAccessible *&slot, AtspiAccessible *object)
{
    if (object)
        g_object_ref(object);
    if (slot)
        g_object_unref(slot);
    slot = object;
}

// The object's states, or nothing when it did not answer.
std::optional<std::pair<bool, bool>> focusedAndShowing(AtspiAccessible *object)
{
    Ref<AtspiStateSet> states(atspi_accessible_get_state_set(object));
    if (!states)
        return std::nullopt;
    if (atspi_state_set_contains(states.get(), ATSPI_STATE_DEFUNCT))
        return std::nullopt;
    return std::make_pair(atspi_state_set_contains(states.get(), ATSPI_STATE_FOCUSED) != FALSE,
                          atspi_state_set_contains(states.get(), ATSPI_STATE_SHOWING) != FALSE);
}

// Depth-first search for the focused object below `node`, over showing objects only.
AtspiAccessible *findFocused(AtspiAccessible *node, int depth, int &budget, Clock::time_point deadline, bool &failed)
{
    if (failed || --budget < 0 || depth > DepthLimit || passed(deadline))
        return nullptr;
    if (depth > 0) {
        const auto states = focusedAndShowing(node);
        if (!states) {
            failed = true;
            return nullptr;
        }
        if (states->first)
            return static_cast<AtspiAccessible *>(g_object_ref(node));
        if (!states->second)
            return nullptr;
    }
    Error error;
    const int children = atspi_accessible_get_child_count(node, &error);
    if (error) {
        failed = true;
        return nullptr;
    }
    for (int i = 0; i < children && !failed; ++i) {
        Error childError;
        Ref<AtspiAccessible> child(atspi_accessible_get_child_at_index(node, i, &childError));
        if (!child)
            continue;
        if (AtspiAccessible *found = findFocused(child.get(), depth + 1, budget, deadline, failed))
            return found;
    }
    return nullptr;
}

std::uint32_t processOf(AtspiAccessible *object)
{
    Error error;
    const guint pid = atspi_accessible_get_process_id(object, &error);
    return error ? 0 : pid;
}

std::optional<WlhookPoint> caretPoint(AtspiAccessible *object, AtspiText *text, int caret, int count)
{
    // The character at the caret; at the very end of the text (no character
    // there) the right edge of the one before it; else the control itself.
    for (int offset : {caret, caret - 1}) {
        if (offset < 0 || offset >= count)
            continue;
        Error error;
        AtspiRect *r = atspi_text_get_character_extents(text, offset, ATSPI_COORD_TYPE_SCREEN, &error);
        if (!r)
            continue;
        const bool empty = r->width <= 0 && r->height <= 0;
        const WlhookPoint p{offset == caret ? r->x : r->x + r->width, r->y};
        g_free(r);
        if (!empty)
            return p;
    }
    Ref<AtspiComponent> component(atspi_accessible_get_component_iface(object));
    if (!component)
        return std::nullopt;
    Error error;
    AtspiRect *r = atspi_component_get_extents(component.get(), ATSPI_COORD_TYPE_SCREEN, &error);
    if (!r)
        return std::nullopt;
    const WlhookPoint p{r->x, r->y};
    g_free(r);
    return p;
}

std::optional<std::string> textBetween(AtspiText *text, int start, int end)
{
    Error error;
    gchar *part = atspi_text_get_text(text, start, end, &error);
    if (error || !part) {
        g_free(part);
        return std::nullopt;
    }
    std::string result(part);
    g_free(part);
    return result;
}

} // namespace

AccessibleText::~AccessibleText()
{
    stop();
}

bool AccessibleText::start(GMainContext *context)
{
    // The connection to the bus is made once and kept for the life of the
    // process; each worker moves it to its own main context. Without a
    // session bus the capture uses the clipboard only.
    static std::mutex initMutex;
    static bool tried = false;
    static bool connected = false;
    {
        const std::lock_guard lock(initMutex);
        if (!tried && sessionBusAvailable()) {
            tried = true;
            connected = atspi_init() != 2;
        }
        if (!connected)
            return false;
    }
    context_ = context;
    atspi_set_main_context(context);
    atspi_set_timeout(CallTimeout, 0);

    listener_ =
        atspi_event_listener_new(reinterpret_cast<AtspiEventListenerCB>(&AccessibleText::onFocus), this, nullptr);
    Error error;
    atspi_event_listener_register(listener_, "object:state-changed:focused", &error);
    started_ = true;
    return true;
}

void AccessibleText::stop()
{
    if (listener_) {
        Error error;
        atspi_event_listener_deregister(listener_, "object:state-changed:focused", &error);
        g_object_unref(listener_);
        listener_ = nullptr;
    }
    replace(lastFocused_, nullptr);
    replace(pressFocused_, nullptr);
    context_ = nullptr;
    started_ = false;
}

void AccessibleText::onFocus(void *eventData, void *data)
{
    auto *event = static_cast<AtspiEvent *>(eventData);
    auto *self = static_cast<AccessibleText *>(data);
    if (event->source) {
        if (event->detail1) {
            replace(self->lastFocused_, event->source);
            self->lastLostFocus_ = false;
            ++self->focusGains_;
        } else if (event->source == self->lastFocused_) {
            self->lastLostFocus_ = true;
        }
    }
    g_boxed_free(ATSPI_TYPE_EVENT, event);
}

void AccessibleText::notePress()
{
    // GTK reports losing the focus only after the press (the grab takes it),
    // so what the events said until now is the focus the user saw.
    replace(pressFocused_, lastLostFocus_ ? nullptr : lastFocused_);
}

AtspiAccessible *AccessibleText::focusedObject(std::uint32_t pid, Clock::time_point deadline)
{
    // The object that last reported the focus, when it belongs to the
    // focused window's process and either still has the focus or had it at
    // the press.
    if (lastFocused_ && processOf(lastFocused_) == pid) {
        const auto states = focusedAndShowing(lastFocused_);
        if (!states)
            return nullptr; // the application does not answer
        if (states->first || (lastFocused_ == pressFocused_ && states->second))
            return static_cast<AtspiAccessible *>(g_object_ref(lastFocused_));
    }
    // Otherwise search that application's objects; an application that is
    // there but has nothing focused may be taking the focus back.
    bool known = false;
    if (AtspiAccessible *found = searchFocused(pid, deadline, known))
        return found;
    return known ? waitForFocus(pid, std::min(deadline, Clock::now() + FocusReturnWait)) : nullptr;
}

AtspiAccessible *AccessibleText::searchFocused(std::uint32_t pid, Clock::time_point deadline, bool &known)
{
    known = false;
    Ref<AtspiAccessible> desktop(atspi_get_desktop(0));
    if (!desktop)
        return nullptr;
    Error error;
    const int apps = atspi_accessible_get_child_count(desktop.get(), &error);
    for (int i = 0; i < apps && !passed(deadline); ++i) {
        Error appError;
        Ref<AtspiAccessible> app(atspi_accessible_get_child_at_index(desktop.get(), i, &appError));
        if (!app || processOf(app.get()) != pid)
            continue;
        int budget = SearchLimit;
        bool failed = false;
        if (AtspiAccessible *found = findFocused(app.get(), 0, budget, deadline, failed))
            return found;
        if (failed)
            return nullptr;
        known = true;
    }
    return nullptr;
}

AtspiAccessible *AccessibleText::waitForFocus(std::uint32_t pid, Clock::time_point until)
{
    // The focus events arrive on this thread's main context; the event
    // source that runs the capture is not dispatched again meanwhile.
    const unsigned gainsBefore = focusGains_;
    while (!passed(until)) {
        while (g_main_context_iteration(context_, FALSE)) {
        }
        if (focusGains_ != gainsBefore && !lastLostFocus_ && processOf(lastFocused_) == pid)
            return static_cast<AtspiAccessible *>(g_object_ref(lastFocused_));
        std::this_thread::sleep_for(FocusPollInterval);
    }
    return nullptr;
}

std::optional<AccessibleCapture> AccessibleText::capture(std::uint32_t pid, Clock::time_point deadline)
{
    if (!started_ || pid == 0)
        return std::nullopt;
    Ref<AtspiAccessible> object(focusedObject(pid, deadline));
    if (!object || passed(deadline))
        return std::nullopt;
    Ref<AtspiText> text(atspi_accessible_get_text_iface(object.get()));
    if (!text)
        return std::nullopt;
    Ref<AtspiStateSet> states(atspi_accessible_get_state_set(object.get()));
    const bool multiLine = states && atspi_state_set_contains(states.get(), ATSPI_STATE_MULTI_LINE);

    Error countError;
    const int count = atspi_text_get_character_count(text.get(), &countError);
    if (countError)
        return std::nullopt;
    Error caretError;
    const int caret = std::clamp(atspi_text_get_caret_offset(text.get(), &caretError), 0, std::max(count, 0));
    if (caretError || passed(deadline))
        return std::nullopt;

    AccessibleCapture captured;
    Error selectionsError;
    const int selections = atspi_text_get_n_selections(text.get(), &selectionsError);
    if (selectionsError)
        return std::nullopt;
    if (selections > 0) {
        Error rangeError;
        AtspiRange *range = atspi_text_get_selection(text.get(), 0, &rangeError);
        if (range) {
            const int start = std::clamp(std::min(range->start_offset, range->end_offset), 0, count);
            const int end = std::clamp(std::max(range->start_offset, range->end_offset), 0, count);
            g_free(range);
            if (start < end) {
                const auto selected = textBetween(text.get(), start, std::min(end, start + TextLimit));
                if (!selected)
                    return std::nullopt;
                // Only the first line of a multi-line control's selection.
                captured.result = CaptureSelection;
                captured.text = multiLine ? selected->substr(0, lineLengthFromCaret(*selected)) : *selected;
            }
        }
    }
    if (captured.result == CaptureNone) {
        std::string onward;
        if (caret < count) {
            const auto read = textBetween(text.get(), caret, std::min(count, caret + TextLimit));
            if (!read)
                return std::nullopt;
            onward = *read;
        }
        captured.result = CaptureFromCaret;
        captured.text = onward.substr(0, lineLengthFromCaret(onward));
    }
    if (!passed(deadline))
        captured.caret = caretPoint(object.get(), text.get(), caret, count);
    return captured;
}

} // namespace wlhook::x11
