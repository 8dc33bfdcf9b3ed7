#include "FormSupport.h"

#include "FrameExtents.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <optional>

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

// The frame the window manager put around the windows shown before, once one was framed.
std::optional<QMargins>& earlierFrame()
{
    static std::optional<QMargins> frame;
    return frame;
}

// Asked of the platform window: QWidget's own copy of the frame may lag behind the window
// manager's framing for seconds under X11.
QMargins reportedFrame(QWidget* window)
{
    if (const QWindow* handle = window->windowHandle())
        return handle->frameMargins();
    return {};
}

void centreOnScreen(QWidget* window, const QMargins& frame)
{
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize outer = window->size().grownBy(frame);
    // A window taller or wider than the screen keeps its caption bar on the screen.
    const QPoint topLeft(std::max(area.left(), area.left() + (area.width() - outer.width()) / 2),
        std::max(area.top(), area.top() + (area.height() - outer.height()) / 2));
    // The frame goes where it is asked to, whatever the platform window knows of it yet.
    if (QWindow* handle = window->windowHandle())
        handle->setFramePosition(topLeft);
    else
        window->move(topLeft);
}

// Keeps a window at its outer size and centred each time it is shown. The frame is asked
// for before the window is mapped, so that its first frame on the screen is its final one.
class OuterSizeKeeper : public QObject {
public:
    OuterSizeKeeper(QWidget* window, QSize outer) : QObject(window), window_(window), outer_(outer)
    {
        window->installEventFilter(this);
        apply(assumedFrame());
        framePoll_.setInterval(50);
        connect(&framePoll_, &QTimer::timeout, this, [this] {
            adjustToFrame();
            const bool framed = !frame_.isNull() && frame_ == reportedFrame(window_);
            if (framed || shownFor_.elapsed() > kFramePollMs || !window_->isVisible())
                framePoll_.stop();
        });
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != window_)
            return false;
        if (event->type() == QEvent::Show && !event->spontaneous()) {
            // Sent before the window is mapped.
            std::optional<QMargins> frame = frameBeforeMapping(window_);
            confirmed_ = frame.has_value();
            if (!frame)
                frame = earlierFrame();
            if (frame)
                apply(*frame);
            centreOnScreen(window_, frame.value_or(reportedFrame(window_)));
            if (!confirmed_) {
                // Not the window manager's word: the real frame is known once it has framed
                // the window, and no event tells when Qt has learnt it, so look for a while.
                shownFor_.start();
                framePoll_.start();
            }
        } else if (event->type() == QEvent::WindowActivate || event->type() == QEvent::Move
            || event->type() == QEvent::Resize) {
            // The window manager frames the window some time after it is shown; Qt learns
            // the frame with one of these events.
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
        const QMargins frame = reportedFrame(window_);
        // While the window is being reparented into its frame, Qt may report a frame
        // smaller than the window, or none: no frame to size by.
        const bool plausible
            = frame.left() >= 0 && frame.top() >= 0 && frame.right() >= 0 && frame.bottom() >= 0;
        if (!plausible || (confirmed_ && frame.isNull()))
            return;
        if (!frame.isNull() && !assumedFrame().isNull())
            earlierFrame() = frame;
        // A maximised window may lose its borders; its size is then the window manager's.
        const Qt::WindowStates managed
            = Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized;
        if (frame == frame_ || !window_->isVisible() || (window_->windowState() & managed))
            return;
        apply(frame);
        centreOnScreen(window_, frame);
    }

    static constexpr int kFramePollMs = 3000;

    QWidget* window_;
    QSize outer_;
    QMargins frame_;
    bool confirmed_ = false;  // frame_ is the window manager's answer
    QTimer framePoll_;
    QElapsedTimer shownFor_;
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
