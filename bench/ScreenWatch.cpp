#include "ScreenWatch.h"

#include <xcb/damage.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>

namespace quendral::bench {

namespace {

struct FreeReply {
    void operator()(void* p) const { std::free(p); }
};
template <class T> using Reply = std::unique_ptr<T, FreeReply>;

void pause(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Looks every millisecond until `done` holds; false when it did not within `timeoutMs`.
template <class Done> bool lookUntil(Done done, int timeoutMs)
{
    const std::int64_t deadline = monotonicNs() + std::int64_t(timeoutMs) * 1000000;
    do {
        if (done())
            return true;
        pause(1);
    } while (monotonicNs() < deadline);
    return false;
}

}  // namespace

std::int64_t monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t(now.tv_sec) * 1000000000 + now.tv_nsec;
}

int startInFolder(std::vector<std::string> command, const std::string& folder)
{
    std::vector<char*> argv;
    for (std::string& part : command)
        argv.push_back(part.data());
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int log = ::open((folder + "/output.txt").c_str(), O_WRONLY | O_CREAT, 0644);
        ::dup2(log, 1);
        ::dup2(log, 2);
        if (::chdir(folder.c_str()) == 0)
            ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    return pid;
}

ScreenWatch::ScreenWatch()
{
    requests_ = xcb_connect(nullptr, nullptr);
    events_ = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(requests_) || xcb_connection_has_error(events_))
        return;
    root_ = xcb_setup_roots_iterator(xcb_get_setup(requests_)).data->root;
    const Reply<xcb_damage_query_version_reply_t> damage(
        xcb_damage_query_version_reply(events_, xcb_damage_query_version(events_, 1, 1), nullptr));
    const Reply<xcb_test_get_version_reply_t> test(
        xcb_test_get_version_reply(requests_, xcb_test_get_version(requests_, 2, 2), nullptr));
    if (!damage || !test)
        return;
    const xcb_damage_damage_t id = xcb_generate_id(events_);
    xcb_damage_create(events_, id, root_, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
    xcb_flush(events_);
    ok_ = true;
    reader_ = std::thread([this] { readDamage(); });
}

ScreenWatch::~ScreenWatch()
{
    if (reader_.joinable()) {
        // Ends the reader's wait for events.
        ::shutdown(xcb_get_file_descriptor(events_), 2);
        reader_.join();
    }
    xcb_disconnect(events_);
    xcb_disconnect(requests_);
}

void ScreenWatch::readDamage()
{
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(events_, &xcb_damage_id);
    const std::uint8_t notify = extension->first_event + XCB_DAMAGE_NOTIFY;
    while (xcb_generic_event_t* event = xcb_wait_for_event(events_)) {
        const std::int64_t at = monotonicNs();
        if ((event->response_type & 0x7F) == notify) {
            const auto* damage = reinterpret_cast<xcb_damage_notify_event_t*>(event);
            const double pixels = double(damage->area.width) * double(damage->area.height);
            const std::lock_guard lock(mutex_);
            drawings_.emplace_back(at, pixels);
        }
        std::free(event);
    }
}

Settled ScreenWatch::waitUntilQuiet(std::int64_t since, int quietMs, int timeoutMs)
{
    const std::int64_t quiet = std::int64_t(quietMs) * 1000000;
    const std::int64_t deadline = monotonicNs() + std::int64_t(timeoutMs) * 1000000;
    for (;;) {
        Settled settled;
        {
            const std::lock_guard lock(mutex_);
            for (auto it = drawings_.rbegin(); it != drawings_.rend() && it->first >= since; ++it) {
                settled.lastDrawing = std::max(settled.lastDrawing, it->first);
                settled.pixels += it->second;
                settled.drew = true;
            }
        }
        const std::int64_t now = monotonicNs();
        if (now - std::max(settled.lastDrawing, since) >= quiet || now > deadline)
            return settled;
        pause(2);
    }
}

std::uint32_t ScreenWatch::atom(const char* name)
{
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        requests_, xcb_intern_atom(requests_, 0, std::uint16_t(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : 0;
}

// The property's value as bytes; empty when the window has none of that type.
std::string ScreenWatch::property(Window window, std::uint32_t name, std::uint32_t type)
{
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        requests_, xcb_get_property(requests_, 0, window, name, type, 0, 1024), nullptr));
    if (!reply)
        return {};
    const char* value = static_cast<const char*>(xcb_get_property_value(reply.get()));
    return {value, value + xcb_get_property_value_length(reply.get())};
}

std::vector<ScreenWatch::Window> ScreenWatch::clients()
{
    static const std::uint32_t list = atom("_NET_CLIENT_LIST");
    const std::string value = property(root_, list, XCB_ATOM_WINDOW);
    std::vector<Window> windows(value.size() / 4);
    std::memcpy(windows.data(), value.data(), windows.size() * 4);
    return windows;
}

std::string ScreenWatch::title(Window window)
{
    static const std::uint32_t name = atom("_NET_WM_NAME");
    static const std::uint32_t utf8 = atom("UTF8_STRING");
    return property(window, name, utf8);
}

int ScreenWatch::pidOf(Window window)
{
    static const std::uint32_t pid = atom("_NET_WM_PID");
    const std::string value = property(window, pid, XCB_ATOM_CARDINAL);
    std::uint32_t number = 0;
    if (value.size() == 4)
        std::memcpy(&number, value.data(), 4);
    return int(number);
}

std::optional<ScreenWatch::Window> ScreenWatch::waitForWindow(
    int pid, const std::function<bool(const std::string& title)>& wanted, int timeoutMs)
{
    std::optional<Window> found;
    lookUntil(
        [&] {
            for (const Window window : clients()) {
                if (pidOf(window) == pid && wanted(title(window)))
                    found = window;
            }
            return found.has_value();
        },
        timeoutMs);
    return found;
}

bool ScreenWatch::waitUntilGone(Window window, int timeoutMs)
{
    return lookUntil(
        [&] {
            const std::vector<Window> now = clients();
            return std::find(now.begin(), now.end(), window) == now.end();
        },
        timeoutMs);
}

Point ScreenWatch::clientOrigin(Window window)
{
    const Reply<xcb_translate_coordinates_reply_t> reply(xcb_translate_coordinates_reply(
        requests_, xcb_translate_coordinates(requests_, window, root_, 0, 0), nullptr));
    return reply ? Point{reply->dst_x, reply->dst_y} : Point{};
}

bool ScreenWatch::activate(Window window, int timeoutMs)
{
    static const std::uint32_t active = atom("_NET_ACTIVE_WINDOW");
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = active;
    message.data.data32[0] = 2;  // from a pager or task bar
    xcb_send_event(requests_, 0, root_,
        XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
        reinterpret_cast<const char*>(&message));
    xcb_flush(requests_);
    return lookUntil(
        [&] {
            const std::string value = property(root_, active, XCB_ATOM_WINDOW);
            Window now = 0;
            if (value.size() == 4)
                std::memcpy(&now, value.data(), 4);
            return now == window;
        },
        timeoutMs);
}

void ScreenWatch::click(Point at)
{
    xcb_test_fake_input(requests_, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, root_,
        std::int16_t(at.x), std::int16_t(at.y), 0);
    xcb_test_fake_input(requests_, XCB_BUTTON_PRESS, 1, XCB_CURRENT_TIME, root_, 0, 0, 0);
    xcb_test_fake_input(requests_, XCB_BUTTON_RELEASE, 1, XCB_CURRENT_TIME, root_, 0, 0, 0);
    xcb_flush(requests_);
}

void ScreenWatch::pressKey(std::uint32_t keysym)
{
    const xcb_setup_t* setup = xcb_get_setup(requests_);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    const Reply<xcb_get_keyboard_mapping_reply_t> map(xcb_get_keyboard_mapping_reply(requests_,
        xcb_get_keyboard_mapping(requests_, setup->min_keycode, std::uint8_t(count)), nullptr));
    if (!map)
        return;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map.get());
    for (int i = 0; i < count * map->keysyms_per_keycode; ++i) {
        if (syms[i] != keysym)
            continue;
        const auto code = std::uint8_t(setup->min_keycode + i / map->keysyms_per_keycode);
        xcb_test_fake_input(requests_, XCB_KEY_PRESS, code, XCB_CURRENT_TIME, root_, 0, 0, 0);
        xcb_test_fake_input(requests_, XCB_KEY_RELEASE, code, XCB_CURRENT_TIME, root_, 0, 0, 0);
        xcb_flush(requests_);
        return;
    }
}

std::vector<int> ScreenWatch::frameExtents()
{
    const xcb_window_t probe = xcb_generate_id(requests_);
    xcb_create_window(requests_, XCB_COPY_FROM_PARENT, probe, root_, 0, 0, 100, 100, 0,
        XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = probe;
    request.type = atom("_NET_REQUEST_FRAME_EXTENTS");
    xcb_send_event(requests_, 0, root_,
        XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
        reinterpret_cast<const char*>(&request));
    xcb_flush(requests_);
    std::vector<int> extents(4, 0);
    const std::uint32_t name = atom("_NET_FRAME_EXTENTS");
    lookUntil(
        [&] {
            const std::string value = property(probe, name, XCB_ATOM_CARDINAL);
            if (value.size() != 16)
                return false;
            std::uint32_t v[4];
            std::memcpy(v, value.data(), 16);
            extents = {int(v[0]), int(v[2]), int(v[1]), int(v[3])};  // stored l, r, t, b
            return true;
        },
        500);
    xcb_destroy_window(requests_, probe);
    xcb_flush(requests_);
    return extents;
}

}  // namespace quendral::bench
