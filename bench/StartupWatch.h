#pragma once

// Shared by the two start-up probes: watches the one window of a freshly started process
// and, once it has been activated and has painted its first frame, reports both moments
// and ends the process at once, before anything else (a start-up dialog) can happen.
//
// Each moment is a CLOCK_MONOTONIC reading and the process's CPU time, in nanoseconds; then
// follows the process's peak resident memory in kB. They are written as one line
// "activation paint activationCpu paintCpu peakKb" to the file descriptor given as
// --report-fd=N. The parent read the same monotonic clock just before it started the
// process, so the differences include process creation, loading and relocating the shared
// libraries, static initialisation and the platform plugin. Started by hand, without
// --report-fd, a probe prints both moments relative to its main().

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>
#include <unistd.h>

namespace quendral::bench {

inline std::int64_t clockNs(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return std::int64_t(now.tv_sec) * 1000000000 + now.tv_nsec;
}

inline std::int64_t monotonicNs()
{
    return clockNs(CLOCK_MONOTONIC);
}

inline std::int64_t processCpuNs()
{
    return clockNs(CLOCK_PROCESS_CPUTIME_ID);
}

// The peak resident set of this process since its last exec (VmHWM), in kB; 0 if unknown.
inline long peakResidentKb()
{
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (!status)
        return 0;
    char line[256];
    long kb = 0;
    while (std::fgets(line, sizeof line, status)) {
        if (std::strncmp(line, "VmHWM:", 6) == 0) {
            kb = std::atol(line + 6);
            break;
        }
    }
    std::fclose(status);
    return kb;
}

class StartupWatch : public QObject {
public:
    // `onFirstActivation` runs inside the filter, before the window sees the event.
    StartupWatch(int argc, char** argv, std::function<void()> onFirstActivation = {})
        : mainEntered_(monotonicNs()), onFirstActivation_(std::move(onFirstActivation))
    {
        for (int i = 1; i < argc; ++i) {
            if (std::strncmp(argv[i], "--report-fd=", 12) == 0)
                reportFd_ = std::atoi(argv[i] + 12);
        }
    }

    void watch(QWidget* window)
    {
        window_ = window;
        // On the application object: the paint events of the window's children count too.
        QCoreApplication::instance()->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::WindowActivate && watched == window_ && activated_ == 0) {
            activated_ = monotonicNs();
            activatedCpu_ = processCpuNs();
            if (onFirstActivation_)
                onFirstActivation_();
            finishIfDone();
        } else if (event->type() == QEvent::Paint && !paintSeen_ && watched->isWidgetType()
            && static_cast<QWidget*>(watched)->window() == window_) {
            paintSeen_ = true;
            // The whole window paints in one pass, which has ended when a zero timer fires.
            QTimer::singleShot(0, this, [this] {
                painted_ = monotonicNs();
                paintedCpu_ = processCpuNs();
                finishIfDone();
            });
        }
        return false;
    }

private:
    void finishIfDone()
    {
        if (activated_ == 0 || painted_ == 0)
            return;
        if (reportFd_ >= 0) {
            const std::string line = std::to_string(activated_) + ' ' + std::to_string(painted_)
                + ' ' + std::to_string(activatedCpu_) + ' ' + std::to_string(paintedCpu_) + ' '
                + std::to_string(peakResidentKb()) + '\n';
            [[maybe_unused]] const ssize_t written = ::write(reportFd_, line.data(), line.size());
        } else {
            std::printf("first activation %.3f ms, first paint %.3f ms after main(); "
                        "peak resident %ld kB\n",
                double(activated_ - mainEntered_) / 1e6, double(painted_ - mainEntered_) / 1e6,
                peakResidentKb());
            std::fflush(stdout);
        }
        // Nothing after this moment belongs to the start-up.
        ::_exit(0);
    }

    std::int64_t mainEntered_;
    std::function<void()> onFirstActivation_;
    int reportFd_ = -1;
    QWidget* window_ = nullptr;
    std::int64_t activated_ = 0;
    std::int64_t painted_ = 0;
    std::int64_t activatedCpu_ = 0;
    std::int64_t paintedCpu_ = 0;
    bool paintSeen_ = false;
};

}  // namespace quendral::bench
