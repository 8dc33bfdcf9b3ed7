#include "Logo.h"

#include <QLabel>

namespace quendral {

namespace {

// Decoded once, by Qt's JPEG plugin: every menu and review window shows the same picture.
const QPixmap& logoPicture()
{
    static const QPixmap picture(QStringLiteral(":/logo.jpg"));
    return picture;
}

}  // namespace

QLabel* createLogo(QWidget* parent, const QRect& box)
{
    auto* image = new QLabel(parent);
    image->setObjectName(QStringLiteral("Image1"));
    image->setGeometry(box);
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const QPixmap& picture = logoPicture();
    if (picture.width() > box.width() || picture.height() > box.height())
        image->setPixmap(picture.scaled(box.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    else
        image->setPixmap(picture);
    return image;
}

}  // namespace quendral
