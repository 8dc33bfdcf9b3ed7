#pragma once

// A picture of the foreground window as it is on the screen: its outer rectangle, frame
// and caption included, less `reduction` rows at the bottom.

#include <QImage>
#include <QRect>

#include <cstdint>

namespace quendral {

// The foreground window's outer rectangle in screen coordinates, frame and caption
// included; null when no window of the program is in the foreground.
QRect foregroundWindowRect();

// Fills `bitmap` with the screen pixels of the foreground window's outer rectangle, one to
// one, less its bottom `reduction` rows; whatever covers the window is in the picture, and
// parts outside every screen are black. Where the screen cannot be read the window renders
// itself instead. Leaves `bitmap` null when there is no foreground window or no row
// remains.
void CaptureForegroundWindow(QImage& bitmap, std::uint16_t reduction);

}  // namespace quendral
