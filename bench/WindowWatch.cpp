#include "WindowWatch.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace quendral::bench {

// On the application object, because a window covered by opaque children (a review
// window by its scroll area) gets no paint event of its own.
WindowWatch::WindowWatch()
{
    QCoreApplication::instance()->installEventFilter(this);
}

WindowWatch::~WindowWatch()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

bool WindowWatch::activated(const QWidget* window) const
{
    return activated_.count(window) != 0;
}

bool WindowWatch::painted(const QWidget* window) const
{
    return painted_.count(window) != 0;
}

bool WindowWatch::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if ((type != QEvent::Show && type != QEvent::WindowActivate && type != QEvent::Paint)
        || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    switch (type) {
    case QEvent::Show:
        // A new window may have the address of one deleted before.
        if (widget->isWindow()) {
            activated_.erase(widget);
            painted_.erase(widget);
        }
        break;
    case QEvent::WindowActivate:
        if (widget->isWindow())
            activated_.insert(widget);
        break;
    default:
        painted_.insert(widget->window());
        break;
    }
    return false;
}

}  // namespace quendral::bench
