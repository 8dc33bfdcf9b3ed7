#pragma once

// A Qt application object for drawing the course report without any screen. Qt Charts draws
// through the widgets' graphics scene, which needs a QApplication; a tool that has none
// gets one on the offscreen platform (whatever display there may be: the report must not
// depend on it), with the design's fonts. While it lives, Qt's own diagnostics (an unset
// XDG_RUNTIME_DIR and the like) stay off the tool's German standard error.

#include <QtGlobal>

#include <memory>

class QApplication;

namespace quendral::batch {

class HeadlessApplication {
public:
    HeadlessApplication();
    ~HeadlessApplication();
    HeadlessApplication(const HeadlessApplication&) = delete;
    HeadlessApplication& operator=(const HeadlessApplication&) = delete;

    // False when the process already has an application object that cannot draw widgets.
    bool ready() const { return ready_; }

private:
    // The application keeps references to its command line, which it may shorten.
    int argc_ = 3;
    char name_[16] = "quendral-batch";
    char platformOption_[10] = "-platform";
    char platform_[10] = "offscreen";
    char* argv_[4] = {name_, platformOption_, platform_, nullptr};
    std::unique_ptr<QApplication> application_;
    QtMessageHandler previousHandler_ = nullptr;
    bool ready_ = false;
};

}  // namespace quendral::batch
