#include "ModalDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTest>

namespace quendral::test {

ModalDriver::ModalDriver(int pollMs)
{
    clock_.start();
    timer_.setInterval(pollMs);
    connect(&timer_, &QTimer::timeout, this, &ModalDriver::poll);
    timer_.start();
}

ModalDriver::~ModalDriver() = default;

ModalDriver& ModalDriver::then(Step step, Ready ready)
{
    steps_.append({std::move(step), std::move(ready)});
    return *this;
}

bool ModalDriver::waitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs) {
        if (condition())
            return true;
        QTest::qWait(5);
    }
    return condition();
}

void ModalDriver::poll()
{
    // A popup menu is on top of any modal window and takes the input while it is open.
    QWidget* modal = QApplication::activePopupWidget();
    if (!modal)
        modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
        return;
    // A modal window nobody answers would hold the test inside its event loop for ever.
    if (clock_.elapsed() > kGiveUpMs) {
        seen_.append(
            QStringLiteral("gave up on ") + QString::fromLatin1(modal->metaObject()->className()));
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
        return;
    }
    for (const QPointer<QWidget>& done : handled_) {
        if (done == modal)
            return;
    }
    if (!steps_.isEmpty() && steps_.first().ready && !steps_.first().ready(modal))
        return;
    handled_.append(modal);
    if (auto* box = qobject_cast<QMessageBox*>(modal))
        seen_.append(QStringLiteral("QMessageBox:") + box->text());
    else if (qobject_cast<QFileDialog*>(modal))
        seen_.append(QStringLiteral("QFileDialog"));
    else
        seen_.append(QString::fromLatin1(modal->metaObject()->className()));
    if (steps_.isEmpty())
        return;
    const Step step = steps_.takeFirst().step;
    // The step may open further modal windows; it must not run inside this timer slot.
    QTimer::singleShot(0, modal, [step, modal] { step(modal); });
}

QMessageBox* asMessageBox(QWidget* modal)
{
    return qobject_cast<QMessageBox*>(modal);
}

ModalDriver::Step pressButton(const QString& text)
{
    return [text](QWidget* modal) {
        if (QMessageBox* box = asMessageBox(modal)) {
            for (QAbstractButton* button : box->buttons()) {
                if (button->text() == text) {
                    button->click();
                    return;
                }
            }
        }
        qWarning("no button %s", qPrintable(text));
    };
}

ModalDriver::Step acceptFile(const QString& path)
{
    return [path](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog) {
            qWarning("expected the open dialog");
            return;
        }
        // As a user would: the full path typed into the file name field, then Enter.
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!name) {
            qWarning("the open dialog has no file name field");
            return;
        }
        name->setText(path);
        QMetaObject::invokeMethod(dialog, "accept");
    };
}

ModalDriver::Step rejectDialog()
{
    return [](QWidget* modal) {
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
    };
}

ModalDriver::Step pressEscape()
{
    return [](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); };
}

ModalDriver::Step chooseMenuEntry(const QString& text)
{
    return [text](QWidget* modal) {
        if (auto* menu = qobject_cast<QMenu*>(modal)) {
            for (QAction* action : menu->actions()) {
                if (action->text() == text) {
                    menu->setActiveAction(action);
                    QTest::keyClick(menu, Qt::Key_Return);
                    return;
                }
            }
        }
        qWarning("no menu entry %s", qPrintable(text));
    };
}

ModalDriver::Step closeByFrame()
{
    return [](QWidget* modal) { modal->close(); };
}

}  // namespace quendral::test
