#pragma once

// What every window of the program shares: the design's colours and fonts, outer sizes
// in whole pixels, centring on the screen, and the program's message boxes.

#include <QColor>
#include <QFont>
#include <QSize>
#include <QString>

class QWidget;

namespace quendral {

inline const QString kApplicationTitle = QStringLiteral("Quendral Tarvik");

namespace colours {
inline const QColor clRed{255, 0, 0};
inline const QColor clBlack{0, 0, 0};
inline const QColor clNavy{0, 0, 128};
inline const QColor clTeal{0, 128, 128};
inline const QColor clCream{255, 251, 240};
inline const QColor clWhite{255, 255, 255};
}  // namespace colours

// Fonts by family and character height in pixels, as the design gives them.
QFont designFont(const QString& family, int pixelHeight, bool bold = false);
QFont msSansSerif(int pixelHeight, bool bold = false);
QFont arial(int pixelHeight, bool bold = false);

// Sizes a top-level window so that its frame, caption included, comes out at `outer`, and
// centres the frame on the primary screen whenever the window is shown. The frame is
// measured once the window system reports it.
void setOuterSize(QWidget* window, QSize outer);

// A plain message box: the application title as caption, no icon, one button "OK".
void showMessage(QWidget* parent, const QString& text);

}  // namespace quendral
