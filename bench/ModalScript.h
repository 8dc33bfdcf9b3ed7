#pragma once

// Plays the user through the program's modal windows: each step waits until the next modal
// window is up (shown and painted) and ready by its own test, then acts on it, as a person
// would press a button. The windows run their real code and their real event loops.
//
// A zero-interval timer looks while the event loops are idle, so a step follows the moment
// its window is ready; its cost (one look per idle pass) stays inside the timed figures.

#include "WindowWatch.h"

#include <QElapsedTimer>
#include <QString>
#include <QTimer>

#include <deque>
#include <functional>

class QWidget;

namespace quendral::bench {

class ModalScript : public QObject {
public:
    using Test = std::function<bool(QWidget* modal)>;
    using Action = std::function<void(QWidget* modal)>;

    explicit ModalScript(const WindowWatch& watch, int giveUpMs = 30000);

    ModalScript& then(QString what, Test ready, Action act);
    void start();
    bool finished() const { return steps_.empty(); }
    bool failed() const { return !failure_.isEmpty(); }
    const QString& failure() const { return failure_; }

private:
    struct Step {
        QString what;
        Test ready;
        Action act;
    };

    void look();

    const WindowWatch& watch_;
    int giveUpMs_;
    QTimer timer_;
    QElapsedTimer clock_;
    std::deque<Step> steps_;
    QString failure_;
};

}  // namespace quendral::bench
