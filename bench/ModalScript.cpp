#include "ModalScript.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QWidget>

namespace quendral::bench {

ModalScript::ModalScript(const WindowWatch& watch, int giveUpMs)
    : watch_(watch), giveUpMs_(giveUpMs)
{
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, &ModalScript::look);
}

ModalScript& ModalScript::then(QString what, Test ready, Action act)
{
    steps_.push_back({std::move(what), std::move(ready), std::move(act)});
    return *this;
}

void ModalScript::start()
{
    clock_.start();
    timer_.start();
}

void ModalScript::look()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!failure_.isEmpty()) {
        // Given up: close whatever is still up, so that every event loop returns.
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else if (!modal)
            timer_.stop();
        return;
    }
    if (steps_.empty()) {
        timer_.stop();
        return;
    }
    if (clock_.elapsed() > giveUpMs_) {
        // A window nobody answers would hold the run in its event loop for ever.
        failure_ = QStringLiteral("gave up waiting for ") + steps_.front().what;
        steps_.clear();
        return;
    }
    if (!modal || !modal->isVisible() || !watch_.painted(modal) || !steps_.front().ready(modal))
        return;
    Action act = std::move(steps_.front().act);
    steps_.pop_front();
    // The action may open a modal window with its own event loop; it must not run inside
    // this timer's slot, which Qt would not enter again while that loop runs.
    QPointer<QWidget> target(modal);
    QMetaObject::invokeMethod(
        modal,
        [act = std::move(act), target] {
            if (target)
                act(target);
        },
        Qt::QueuedConnection);
}

}  // namespace quendral::bench
