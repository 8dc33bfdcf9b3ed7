#pragma once

// Answers the program's modal windows from inside a test or the benchmark: each step runs
// on the next modal window or popup menu that comes up (the real dialog, message box, review
// window or menu), so the window code under test runs unchanged.

#include <QElapsedTimer>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>

class QMessageBox;

namespace quendral::test {

class ModalDriver : public QObject {
public:
    using Step = std::function<void(QWidget* modal)>;
    using Ready = std::function<bool(QWidget* modal)>;

    // Looks for the next modal window every `pollMs` (0: whenever the event loop is idle).
    explicit ModalDriver(int pollMs = 5);
    ~ModalDriver() override;

    // Queues a step for the next modal window that is not yet handled, to run once the
    // window is `ready` (at once when no test is given).
    ModalDriver& then(Step step, Ready ready = {});
    // Runs the event loop until every step has run, the condition holds, or time is up.
    bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 10000);
    bool allStepsRun() const { return steps_.isEmpty(); }

    // What came up, in order: "QMessageBox:<text>", "QFileDialog", or the class name
    // ("QMenu" for a popup menu).
    const QStringList& seen() const { return seen_; }

private:
    void poll();

    static constexpr int kGiveUpMs = 20000;
    QElapsedTimer clock_;
    QTimer timer_;
    struct Entry {
        Step step;
        Ready ready;
    };
    QList<Entry> steps_;
    QList<QPointer<QWidget>> handled_;
    QStringList seen_;
};

// Common answers.
ModalDriver::Step pressButton(const QString& text);  // a message box button by its text
ModalDriver::Step acceptFile(const QString& path);  // the open dialog, with a file chosen
ModalDriver::Step rejectDialog();  // cancel whatever is up
ModalDriver::Step pressEscape();  // Esc to the modal window
ModalDriver::Step chooseMenuEntry(const QString& text);  // a popup menu's entry, by Enter
ModalDriver::Step closeByFrame();  // the window's close box

QMessageBox* asMessageBox(QWidget* modal);

}  // namespace quendral::test
