#include "desktop/desktop.h"

// X11: a connection of our own (Qt's stays untouched), EWMH requests to the
// root window where a window manager runs, the input focus where none does.

#include <QByteArray>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>

namespace desktop {

namespace {

// EWMH: the request comes from a pager or a similar tool acting for the user.
constexpr quint32 SourceIndicationUser = 2;
constexpr quint32 StateRemove = 0, StateAdd = 1;

template <typename T> struct Reply {
    T *p = nullptr;
    explicit Reply(T *reply) : p(reply) {}
    ~Reply() { std::free(p); }
    Reply(const Reply &) = delete;
    Reply &operator=(const Reply &) = delete;
    T *operator->() const { return p; }
    explicit operator bool() const { return p != nullptr; }
};

class Connection {
public:
    Connection()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            return;
        int screenNumber = 0;
        c_ = xcb_connect(nullptr, &screenNumber);
        if (xcb_connection_has_error(c_)) {
            xcb_disconnect(c_);
            c_ = nullptr;
            return;
        }
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c_));
        for (int i = 0; i < screenNumber && it.rem; ++i)
            xcb_screen_next(&it);
        root_ = it.data ? it.data->root : 0;
    }
    ~Connection()
    {
        if (c_)
            xcb_disconnect(c_);
    }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    bool ok() const { return c_ && root_ && !xcb_connection_has_error(c_); }
    xcb_connection_t *get() const { return c_; }
    xcb_window_t root() const { return root_; }

    xcb_atom_t atom(const char *name) const
    {
        Reply<xcb_intern_atom_reply_t> r(
            xcb_intern_atom_reply(c_, xcb_intern_atom(c_, 0, uint16_t(qstrlen(name)), name), nullptr));
        return r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
    }

    // A property of `window` as bytes; empty when it is missing.
    QByteArray property(xcb_window_t window, xcb_atom_t property, xcb_atom_t type) const
    {
        Reply<xcb_get_property_reply_t> r(
            xcb_get_property_reply(c_, xcb_get_property(c_, 0, window, property, type, 0, 4096), nullptr));
        if (!r || r->type == XCB_ATOM_NONE)
            return {};
        return QByteArray(static_cast<const char *>(xcb_get_property_value(r.p)), xcb_get_property_value_length(r.p));
    }

    xcb_window_t windowProperty(xcb_window_t window, const char *name) const
    {
        const QByteArray value = property(window, atom(name), XCB_ATOM_WINDOW);
        return value.size() >= 4 ? *reinterpret_cast<const quint32 *>(value.constData()) : 0;
    }

    bool exists(xcb_window_t window) const
    {
        if (window == 0)
            return false;
        Reply<xcb_get_window_attributes_reply_t> r(
            xcb_get_window_attributes_reply(c_, xcb_get_window_attributes(c_, window), nullptr));
        return bool(r);
    }

    // A window manager that follows EWMH manages the screen.
    bool managed() const
    {
        const xcb_window_t check = windowProperty(root_, "_NET_SUPPORTING_WM_CHECK");
        return check != 0 && exists(check);
    }

    // The window just below the root that holds `window`.
    xcb_window_t topLevel(xcb_window_t window) const
    {
        for (int depth = 0; window != 0 && window != root_ && depth < 64; ++depth) {
            Reply<xcb_query_tree_reply_t> r(xcb_query_tree_reply(c_, xcb_query_tree(c_, window), nullptr));
            if (!r)
                return 0;
            if (r->parent == root_ || r->parent == 0)
                return window;
            window = r->parent;
        }
        return 0;
    }

    void sendToRoot(xcb_window_t window, xcb_atom_t type, quint32 d0, quint32 d1, quint32 d2)
    {
        xcb_client_message_event_t m{};
        m.response_type = XCB_CLIENT_MESSAGE;
        m.format = 32;
        m.window = window;
        m.type = type;
        m.data.data32[0] = d0;
        m.data.data32[1] = d1;
        m.data.data32[2] = d2;
        xcb_send_event(c_, 0, root_, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char *>(&m));
        xcb_flush(c_);
    }

private:
    xcb_connection_t *c_ = nullptr;
    xcb_window_t root_ = 0;
};

class X11Windows final : public Windows {
public:
    WindowId activeWindow() override
    {
        if (!x_.ok())
            return 0;
        if (x_.managed())
            return x_.windowProperty(x_.root(), "_NET_ACTIVE_WINDOW");
        Reply<xcb_get_input_focus_reply_t> r(
            xcb_get_input_focus_reply(x_.get(), xcb_get_input_focus(x_.get()), nullptr));
        if (!r || r->focus == XCB_NONE || r->focus == XCB_INPUT_FOCUS_POINTER_ROOT)
            return 0;
        return x_.topLevel(r->focus);
    }

    bool activate(WindowId window) override
    {
        if (!x_.ok() || !x_.exists(xcb_window_t(window)))
            return false;
        const auto w = xcb_window_t(window);
        if (x_.managed()) {
            x_.sendToRoot(w, x_.atom("_NET_ACTIVE_WINDOW"), SourceIndicationUser, XCB_CURRENT_TIME, 0);
            return true;
        }
        const quint32 above = XCB_STACK_MODE_ABOVE;
        xcb_configure_window(x_.get(), w, XCB_CONFIG_WINDOW_STACK_MODE, &above);
        xcb_set_input_focus(x_.get(), XCB_INPUT_FOCUS_PARENT, w, XCB_CURRENT_TIME);
        xcb_flush(x_.get());
        return true;
    }

    void setAbove(WindowId window, bool above) override
    {
        if (!x_.ok() || !x_.managed() || !x_.exists(xcb_window_t(window)))
            return;
        x_.sendToRoot(xcb_window_t(window), x_.atom("_NET_WM_STATE"), above ? StateAdd : StateRemove,
                      x_.atom("_NET_WM_STATE_ABOVE"), SourceIndicationUser);
    }

    QString title(WindowId window) override
    {
        if (!x_.ok() || !x_.exists(xcb_window_t(window)))
            return {};
        const QByteArray name = x_.property(xcb_window_t(window), x_.atom("_NET_WM_NAME"), x_.atom("UTF8_STRING"));
        if (!name.isEmpty())
            return QString::fromUtf8(name);
        return QString::fromLatin1(x_.property(xcb_window_t(window), XCB_ATOM_WM_NAME, XCB_ATOM_STRING));
    }

    QRect frame(WindowId window) override
    {
        if (!x_.ok() || window == 0)
            return {};
        const auto w = xcb_window_t(window);
        Reply<xcb_get_geometry_reply_t> g(xcb_get_geometry_reply(x_.get(), xcb_get_geometry(x_.get(), w), nullptr));
        if (!g)
            return {};
        Reply<xcb_translate_coordinates_reply_t> t(xcb_translate_coordinates_reply(
            x_.get(), xcb_translate_coordinates(x_.get(), w, x_.root(), 0, 0), nullptr));
        if (!t)
            return {};
        return QRect(t->dst_x, t->dst_y, g->width, g->height);
    }

private:
    Connection x_;
};

} // namespace

std::unique_ptr<Windows> createWindows()
{
    return std::make_unique<X11Windows>();
}

struct HookNotifyFilter::Private {
    std::function<WindowId()> target;
    quint32 message = 0;
    std::function<void()> notified;
    xcb_atom_t type = XCB_ATOM_NONE;
};

HookNotifyFilter::HookNotifyFilter(std::function<WindowId()> target, const char *typeName, quint32 message,
                                   std::function<void()> notified)
    : d(std::make_unique<Private>())
{
    d->target = std::move(target);
    d->message = message;
    d->notified = std::move(notified);
    Connection x;
    if (x.ok())
        d->type = x.atom(typeName);
}

HookNotifyFilter::~HookNotifyFilter() = default;

bool HookNotifyFilter::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result)
{
    (void)result;
    if (eventType != "xcb_generic_event_t" || d->type == XCB_ATOM_NONE)
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7F) != XCB_CLIENT_MESSAGE)
        return false;
    const auto *client = reinterpret_cast<const xcb_client_message_event_t *>(event);
    if (client->type != d->type || client->format != 32 || client->data.data32[0] != d->message ||
        client->window != d->target())
        return false;
    d->notified();
    return true;
}

} // namespace desktop
