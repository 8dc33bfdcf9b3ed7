#pragma once

#include <QPixmap>

class QLabel;
class QWidget;

namespace quendral {

// The publisher's logo in a picture box `Image1`: scaled down only, keeping its aspect
// ratio, drawn from the box's top-left corner.
QLabel* createLogo(QWidget* parent, const QRect& box);

}  // namespace quendral
