#pragma once

// The benchmark's eyes and hands on a real X server: every drawing request that reaches
// the screen (XDamage on the root window, raw rectangles, time-stamped as they arrive on a
// thread of their own), the top-level windows the window manager manages, and the mouse
// and keyboard (XTest), as a user would use them.

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

struct xcb_connection_t;

namespace quendral::bench {

std::int64_t monotonicNs();

// Starts `command` (its program by path) in `folder` as a desktop starts a program, its output
// into folder/output.txt; the process's id.
int startInFolder(std::vector<std::string> command, const std::string& folder);

struct Point {
    int x = 0;
    int y = 0;
};

// What reached the screen from a moment on, up to a quiet period.
struct Settled {
    bool drew = false;
    std::int64_t lastDrawing = 0;  // monotonic ns of the last drawing request
    double pixels = 0;  // the area of all drawing requests, overlaps counted again
};

class ScreenWatch {
public:
    ScreenWatch();  // on $DISPLAY
    ~ScreenWatch();
    ScreenWatch(const ScreenWatch&) = delete;
    ScreenWatch& operator=(const ScreenWatch&) = delete;

    bool ok() const { return ok_; }

    // Waits until nothing has been drawn for `quietMs`, at most `timeoutMs`; what was drawn
    // from `since` on.
    Settled waitUntilQuiet(std::int64_t since, int quietMs, int timeoutMs = 10000);

    using Window = std::uint32_t;
    // A managed top-level window of process `pid` whose title passes `wanted`, once there
    // is one; empty after `timeoutMs`.
    std::optional<Window> waitForWindow(
        int pid, const std::function<bool(const std::string& title)>& wanted, int timeoutMs);
    bool waitUntilGone(Window window, int timeoutMs);
    Point clientOrigin(Window window);
    // Makes `window` the active one, as a task bar would, and waits until it is.
    bool activate(Window window, int timeoutMs = 5000);

    void click(Point at);
    void pressKey(std::uint32_t keysym);

    // The frame the window manager puts around a new top-level window: left, top, right,
    // bottom; zeros when it does not say.
    std::vector<int> frameExtents();

private:
    std::vector<Window> clients();
    std::string property(Window window, std::uint32_t name, std::uint32_t type);
    std::string title(Window window);
    int pidOf(Window window);
    std::uint32_t atom(const char* name);
    void readDamage();

    xcb_connection_t* requests_ = nullptr;
    xcb_connection_t* events_ = nullptr;
    std::uint32_t root_ = 0;
    bool ok_ = false;
    std::thread reader_;
    std::mutex mutex_;
    std::vector<std::pair<std::int64_t, double>> drawings_;  // time, pixels
};

}  // namespace quendral::bench
