#pragma once

// The overall window as it stands after a start-up, for the tests of its picture.

#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>

class QWidget;

namespace quendral {
class Tquendralauswfrm;
}

namespace quendral::test {

inline const QSize kOverallOuterSize(808, 619);

// The outer rectangle as the window system reports it, frame and caption included.
QRect outerOf(const QWidget& window);

// Shows the window as after a start-up with the given answer file and picture answer,
// without the start-up dialogs, and waits until it is active at its designed outer size;
// with `framed`, also until a window manager has put a frame around it.
bool bringUpOverallWindow(
    Tquendralauswfrm& window, const QString& answerPath, std::uint8_t savePicture, bool framed);

}  // namespace quendral::test
