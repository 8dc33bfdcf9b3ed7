#pragma once

// Answers the program's modal windows from inside a test: each step runs on the next modal
// window that comes up (the real dialog, message box or review window), so the window code
// under test runs unchanged.

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

    ModalDriver();
    ~ModalDriver() override;

    // Queues a step for the next modal window that is not yet handled.
    ModalDriver& then(Step step);
    // Runs the event loop until every step has run, the condition holds, or time is up.
    bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 10000);
    bool allStepsRun() const { return steps_.isEmpty(); }

    // What came up, in order: "QMessageBox:<text>", "QFileDialog", or the class name.
    const QStringList& seen() const { return seen_; }

private:
    void poll();

    static constexpr int kGiveUpMs = 20000;
    QElapsedTimer clock_;
    QTimer timer_;
    QList<Step> steps_;
    QList<QPointer<QWidget>> handled_;
    QStringList seen_;
};

// Common answers.
ModalDriver::Step pressButton(const QString& text);  // a message box button by its text
ModalDriver::Step acceptFile(const QString& path);  // the open dialog, with a file chosen
ModalDriver::Step rejectDialog();  // cancel whatever is up
ModalDriver::Step pressEscape();  // Esc to the modal window
ModalDriver::Step closeByFrame();  // the window's close box

QMessageBox* asMessageBox(QWidget* modal);

}  // namespace quendral::test
