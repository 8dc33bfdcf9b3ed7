#include "WindowCapture.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace quendral {

namespace {

// The usual case: one screen holds all of `area` (screen coordinates), and its pixels are
// the picture as they come, without a second copy. Null when no single screen holds the
// area, when the screen could not be read, or when it delivers scaled pixels.
QImage grabFromOneScreen(const QRect& area)
{
    for (QScreen* screen : QGuiApplication::screens()) {
        const QRect screenArea = screen->geometry();
        if (!screenArea.contains(area))
            continue;
        QImage pixels = screen
                            ->grabWindow(0, area.x() - screenArea.x(), area.y() - screenArea.y(),
                                area.width(), area.height())
                            .toImage();
        if (pixels.size() != area.size())
            return {};
        if (pixels.hasAlphaChannel())
            pixels.convertTo(QImage::Format_RGB32);
        return pixels;
    }
    return {};
}

// Copies what the screens show of `area` into `bitmap`, whose top left stands for the top
// left of `area`; the rest keeps its colour. False when no screen could be read.
bool copyScreenPixels(QImage& bitmap, const QRect& area)
{
    bool readAny = false;
    QPainter painter(&bitmap);
    for (QScreen* screen : QGuiApplication::screens()) {
        const QRect screenArea = screen->geometry();
        const QRect part = area.intersected(screenArea);
        if (part.isEmpty())
            continue;
        const QPixmap pixels = screen->grabWindow(
            0, part.x() - screenArea.x(), part.y() - screenArea.y(), part.width(), part.height());
        if (pixels.isNull())
            continue;
        painter.drawPixmap(QRect(part.topLeft() - area.topLeft(), part.size()), pixels);
        readAny = true;
    }
    return readAny;
}

// The outer and the client rectangle as the window system has them. QWidget keeps its own
// copy of the frame, which under X11 may lag behind the window manager's framing for
// seconds; the platform window asks the window system.
struct Rectangles {
    QRect outer;
    QRect client;
};

Rectangles rectanglesOf(QWidget* window)
{
    if (const QWindow* handle = window->windowHandle())
        return {handle->frameGeometry(), handle->geometry()};
    return {window->frameGeometry(), window->geometry()};
}

// The window draws its client area into the picture, at its place inside the frame.
void renderWindow(QImage& bitmap, QWidget* window, const Rectangles& rectangles)
{
    QPainter painter(&bitmap);
    window->render(&painter, rectangles.client.topLeft() - rectangles.outer.topLeft());
}

}  // namespace

QRect foregroundWindowRect()
{
    QWidget* window = QApplication::activeWindow();
    return window ? rectanglesOf(window).outer : QRect();
}

void CaptureForegroundWindow(QImage& bitmap, std::uint16_t reduction)
{
    bitmap = QImage();
    QWidget* window = QApplication::activeWindow();
    if (!window)
        return;
    const Rectangles rectangles = rectanglesOf(window);
    const QRect outer = rectangles.outer;
    const int height = outer.height() - reduction;
    if (outer.width() <= 0 || height <= 0)
        return;

    // The bottom `reduction` rows lie outside the picture and are not read at all.
    const QRect area(outer.topLeft(), QSize(outer.width(), height));
    bitmap = grabFromOneScreen(area);
    if (!bitmap.isNull())
        return;

    bitmap = QImage(area.size(), QImage::Format_RGB32);
    bitmap.fill(Qt::black);
    if (!copyScreenPixels(bitmap, area))
        renderWindow(bitmap, window, rectangles);
}

}  // namespace quendral
