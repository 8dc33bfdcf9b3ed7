#include "WindowCapture.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

namespace quendral {

namespace {

// Copies what the screens show of `area` (screen coordinates) into `bitmap`, whose top
// left stands for the top left of `area`. False when no screen could be read.
bool copyScreenPixels(QImage& bitmap, const QRect& area)
{
    bool readAny = false;
    QPainter painter(&bitmap);
    for (QScreen* screen : QGuiApplication::screens()) {
        const QRect screenArea = screen->geometry();
        const QRect part = area.intersected(screenArea);
        if (part.isEmpty())
            continue;
        const QPixmap pixels = screen->grabWindow(0, part.x() - screenArea.x(),
            part.y() - screenArea.y(), part.width(), part.height());
        if (pixels.isNull())
            continue;
        painter.drawPixmap(part.topLeft() - area.topLeft(), pixels);
        readAny = true;
    }
    return readAny;
}

// The window draws its client area into the picture, at its place inside the frame.
void renderWindow(QImage& bitmap, QWidget* window, const QRect& outer)
{
    QPainter painter(&bitmap);
    const QPoint clientOffset = window->geometry().topLeft() - outer.topLeft();
    window->render(&painter, clientOffset);
}

}  // namespace

void CaptureForegroundWindow(QImage& bitmap, std::uint16_t reduction)
{
    bitmap = QImage();
    QWidget* window = QApplication::activeWindow();
    if (!window)
        return;
    const QRect outer = window->frameGeometry();
    const int height = outer.height() - reduction;
    if (outer.width() <= 0 || height <= 0)
        return;

    bitmap = QImage(outer.width(), height, QImage::Format_RGB32);
    bitmap.fill(Qt::black);
    // The bottom `reduction` rows lie outside the picture and are not read at all.
    const QRect area(outer.topLeft(), bitmap.size());
    if (!copyScreenPixels(bitmap, area))
        renderWindow(bitmap, window, outer);
}

}  // namespace quendral
