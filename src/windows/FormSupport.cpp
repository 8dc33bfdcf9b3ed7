#include "FormSupport.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace quendral {

namespace {

// Before the window system has framed a window its frame is unknown; until then a
// common frame (thin border, one caption bar) stands in, except on platforms without
// any frame at all.
QMargins assumedFrame()
{
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
        return {};
    return {4, 23, 4, 4};
}

QMargins knownFrame(QWidget* window)
{
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    return {client.left() - frame.left(), client.top() - frame.top(),
        frame.right() - client.right(), frame.bottom() - client.bottom()};
}

void centreOnScreen(QWidget* window)
{
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize frame = window->frameGeometry().size();
    window->move(area.left() + (area.width() - frame.width()) / 2,
        area.top() + (area.height() - frame.height()) / 2);
}

// Keeps a window at its outer size and centred each time it is shown.
class OuterSizeKeeper : public QObject {
public:
    OuterSizeKeeper(QWidget* window, QSize outer) : QObject(window), window_(window), outer_(outer)
    {
        window->installEventFilter(this);
        apply(assumedFrame());
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != window_)
            return false;
        if (event->type() == QEvent::Show) {
            centreOnScreen(window_);
            // The real frame is known only once the window manager has framed the window.
            QTimer::singleShot(0, this, [this] { adjustToFrame(); });
        } else if (event->type() == QEvent::WindowActivate) {
            adjustToFrame();
        }
        return false;
    }

private:
    void apply(const QMargins& frame)
    {
        frame_ = frame;
        window_->resize(outer_.width() - frame.left() - frame.right(),
            outer_.height() - frame.top() - frame.bottom());
    }

    void adjustToFrame()
    {
        const QMargins frame = knownFrame(window_);
        if (frame == frame_ || !window_->isVisible())
            return;
        apply(frame);
        centreOnScreen(window_);
    }

    QWidget* window_;
    QSize outer_;
    QMargins frame_;
};

}  // namespace

QFont designFont(const QString& family, int pixelHeight, bool bold)
{
    QFont font(family);
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

QFont msSansSerif(int pixelHeight, bool bold)
{
    return designFont(QStringLiteral("MS Sans Serif"), pixelHeight, bold);
}

QFont arial(int pixelHeight, bool bold)
{
    return designFont(QStringLiteral("Arial"), pixelHeight, bold);
}

void setOuterSize(QWidget* window, QSize outer)
{
    new OuterSizeKeeper(window, outer);
}

void showMessage(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, kApplicationTitle, text, QMessageBox::Ok, parent);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box.exec();
}

}  // namespace quendral
