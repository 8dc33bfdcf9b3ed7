#include "FrameExtents.h"

#include <QGuiApplication>
#include <QWidget>

#if defined(QUENDRAL_HAVE_XCB)
#include <QDeadlineTimer>
#include <QThread>

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#endif

namespace quendral {

#if defined(QUENDRAL_HAVE_XCB)

namespace {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <class T> using Reply = std::unique_ptr<T, FreeReply>;

xcb_atom_t atom(xcb_connection_t* connection, const char* name)
{
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection,
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

Reply<xcb_get_property_reply_t> property(
    xcb_connection_t* connection, xcb_window_t window, xcb_atom_t name, xcb_atom_t type)
{
    return Reply<xcb_get_property_reply_t>(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, name, type, 0, 1024), nullptr));
}

// What the running window manager offers, looked up once per process.
struct WindowManager {
    bool running = false;
    bool answersFrameRequests = false;
    xcb_atom_t requestFrameExtents = XCB_ATOM_NONE;
    xcb_atom_t frameExtents = XCB_ATOM_NONE;
};

WindowManager lookUpWindowManager(xcb_connection_t* connection, xcb_window_t root)
{
    WindowManager wm;
    const auto check
        = property(connection, root, atom(connection, "_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW);
    wm.running = check && xcb_get_property_value_length(check.get()) >= 4;
    if (!wm.running)
        return wm;
    wm.requestFrameExtents = atom(connection, "_NET_REQUEST_FRAME_EXTENTS");
    wm.frameExtents = atom(connection, "_NET_FRAME_EXTENTS");
    const auto supported
        = property(connection, root, atom(connection, "_NET_SUPPORTED"), XCB_ATOM_ATOM);
    if (!supported)
        return wm;
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(supported.get()));
    const int count = xcb_get_property_value_length(supported.get()) / 4;
    for (int i = 0; i < count; ++i)
        wm.answersFrameRequests = wm.answersFrameRequests || atoms[i] == wm.requestFrameExtents;
    return wm;
}

// _NET_FRAME_EXTENTS holds left, right, top, bottom.
std::optional<QMargins> frameExtents(
    xcb_connection_t* connection, xcb_window_t window, xcb_atom_t name)
{
    const auto reply = property(connection, window, name, XCB_ATOM_CARDINAL);
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) != 16)
        return std::nullopt;
    const auto* v = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    return QMargins(int(v[0]), int(v[2]), int(v[1]), int(v[3]));
}

}  // namespace

std::optional<QMargins> frameBeforeMapping(QWidget* window)
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return std::nullopt;
    xcb_connection_t* connection = x11->connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    static const WindowManager wm = lookUpWindowManager(connection, root);
    if (!wm.running)
        return QMargins();  // nothing frames the window
    if (!wm.answersFrameRequests)
        return std::nullopt;

    const auto id = static_cast<xcb_window_t>(window->winId());
    if (auto known = frameExtents(connection, id, wm.frameExtents))
        return known;
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = id;
    request.type = wm.requestFrameExtents;
    xcb_send_event(connection, 0, root,
        XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
        reinterpret_cast<const char*>(&request));
    xcb_flush(connection);
    // The window manager answers by setting the property, usually within a millisecond; a
    // busy one gets a little longer before the window is mapped on a guess.
    const QDeadlineTimer deadline(200);
    do {
        if (auto answer = frameExtents(connection, id, wm.frameExtents))
            return answer;
        QThread::usleep(250);
    } while (!deadline.hasExpired());
    return std::nullopt;
}

#else

std::optional<QMargins> frameBeforeMapping(QWidget*)
{
    return std::nullopt;
}

#endif

}  // namespace quendral
