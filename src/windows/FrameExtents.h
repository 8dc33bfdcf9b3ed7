#pragma once

// The frame the window manager will put around a window, asked for before the window is
// mapped, so that the window can be sized and placed once, at its final outer size.

#include <QMargins>

#include <optional>

class QWidget;

namespace quendral {

// What the window system says of the frame `window` is to get: the window manager's answer
// to _NET_REQUEST_FRAME_EXTENTS on X11, or no frame at all where no window manager runs.
// Empty where it cannot tell (another platform, or a window manager that does not answer).
std::optional<QMargins> frameBeforeMapping(QWidget* window);

}  // namespace quendral
