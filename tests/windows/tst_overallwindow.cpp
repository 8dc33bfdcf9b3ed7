// The overall window on the offscreen platform, with its real dialogs answered by the test.

#include "ModalDriver.h"
#include "TestRecords.h"

#include "Application.h"
#include "BitBtn.h"
#include "QuendralAusw.h"
#include "QuendralGLOBAL.h"
#include "ResultChart.h"

#include <QBarSeries>
#include <QBarSet>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QValueAxis>

#include <sys/stat.h>

using namespace quendral;
using namespace quendral::test;

class OverallWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() { resetProgramState(); }

    void cancelEndsWithoutQuestion();
    void loadFailureShowsOnlyMessage_data();
    void loadFailureShowsOnlyMessage();
    void successShowsSixNavyBars();
    void laterActivationAsksNothing();
    void answerSetsSavePicture_data();
    void answerSetsSavePicture();
    void enterPressesFocusedButton_data();
    void enterPressesFocusedButton();
    void windowDesign();

private:
    QTemporaryDir dir_;
};

namespace {

// Shows the window and waits until the start-up questions are answered.
bool runStartUp(Tquendralauswfrm& window, ModalDriver& driver)
{
    window.show();
    window.activateWindow();
    return driver.waitUntil([&] {
        return driver.allStepsRun() && FirstActivation == 0 && !QApplication::activeModalWidget();
    });
}

AnswerRecord sampleRecord()
{
    AnswerRecord record;
    fillBlock(record, 1, Fill::Key);
    fillBlock(record, 2, Fill::Nothing);
    fillBlock(record, 3, Fill::Key);  // not worked: must score 0
    fillBlock(record, 4, Fill::Everything);
    fillBlock(record, 6, Fill::Everything);
    setDone(record, {1, 2, 4, 6});
    record.bytes[kDoneFlagBase + 6] = 255;
    return record;
}

}  // namespace

void OverallWindowTest::cancelEndsWithoutQuestion()
{
    Tquendralauswfrm window;
    ModalDriver driver;
    driver.then(rejectDialog());
    QVERIFY(runStartUp(window, driver));
    QVERIFY(!window.isVisible());
    QCOMPARE(driver.seen(), QStringList{"QFileDialog"});
    QCOMPARE(window.Chart1->barCount(), 0);
}

void OverallWindowTest::loadFailureShowsOnlyMessage_data()
{
    QTest::addColumn<qsizetype>("size");
    QTest::addColumn<bool>("namedPipe");  // a pipe nobody writes to: reading must not wait
    QTest::newRow("empty") << qsizetype(0) << false;
    QTest::newRow("394-bytes") << qsizetype(394) << false;
    QTest::newRow("named-pipe") << qsizetype(0) << true;
}

void OverallWindowTest::loadFailureShowsOnlyMessage()
{
    QFETCH(qsizetype, size);
    QFETCH(bool, namedPipe);
    QString path = dir_.filePath(QStringLiteral("leitung.dat"));
    if (namedPipe)
        QVERIFY(QFile::exists(path) || ::mkfifo(QFile::encodeName(path), 0600) == 0);
    else
        path = writeRecordFile(dir_, QStringLiteral("kurz.dat"), sampleRecord(), size);
    Tquendralauswfrm window;
    ModalDriver driver;
    QString caption;
    QMessageBox::Icon icon = QMessageBox::Question;
    QStringList buttons;
    driver.then(acceptFile(path));
    driver.then([&](QWidget* modal) {
        QMessageBox* box = asMessageBox(modal);
        caption = box->windowTitle();
        icon = box->icon();
        for (QAbstractButton* b : box->buttons())
            buttons << b->text();
        box->buttons().constFirst()->click();
    });
    QVERIFY(runStartUp(window, driver));
    QCOMPARE(
        driver.seen(), (QStringList{"QFileDialog", "QMessageBox:Datei lässt sich nicht öffnen"}));
    QCOMPARE(caption, QStringLiteral("Quendral Tarvik"));
    QCOMPARE(icon, QMessageBox::NoIcon);
    QCOMPARE(buttons, QStringList{"OK"});
    QVERIFY(!window.isVisible());
    QCOMPARE(window.Chart1->barCount(), 0);
}

void OverallWindowTest::successShowsSixNavyBars()
{
    const QString path = writeRecordFile(dir_, QStringLiteral("Quendral.dat"), sampleRecord());
    Tquendralauswfrm window;
    ModalDriver driver;
    driver.then(acceptFile(path)).then(pressButton(QStringLiteral("&Ja")));
    QVERIFY(runStartUp(window, driver));
    QVERIFY(window.isVisible());
    QCOMPARE(driver.seen(),
        (QStringList{"QFileDialog", "QMessageBox:Soll die Grafik abgespeichert werden?"}));

    // Block 1 matches the key, block 2 has nothing ticked, block 3 is not worked, block 4
    // and block 6 have everything ticked, block 5 is not worked.
    const QList<double> values{100, 53, 0, 57, 0, 87};
    const QStringList labels{
        "Über- und Einblick", "Start", "Planung", "Steuerung", "Abschluss", "PM-SW-Werkzeuge"};
    ResultChart* chart = window.Chart1;
    QCOMPARE(chart->barCount(), 6);
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(chart->barValue(i), values[i]);
        QCOMPARE(chart->barLabel(i), labels[i]);
        QCOMPARE(chart->barColour(i), QColor(0, 0, 128));
        QCOMPARE(chart->calloutText(i), labels[i]);
        // The arrow ends on the top centre of its bar.
        const QPointF barTop
            = chart->chart()->mapToPosition(QPointF(i, values[i]), chart->series());
        QCOMPARE(chart->calloutTip(i), barTop);
        QCOMPARE(chart->calloutArrowLength(i), 20.0);
    }
    QCOMPARE(chart->valueAxis()->min(), 0.0);
    QCOMPARE(chart->valueAxis()->max(), 100.0);
    QCOMPARE(QString::asprintf(qPrintable(chart->valueAxis()->labelFormat()), 40.0),
        QStringLiteral("40 %"));
    QVERIFY(!chart->chart()->legend()->isVisible());
    QCOMPARE(chart->chart()->title(), QStringLiteral("Quendral-Auswertung"));
    QCOMPARE(chart->chart()->backgroundBrush().color(), QColor(255, 251, 240));
    QCOMPARE(chart->series()->objectName(), QStringLiteral("Series1"));
    QVERIFY(!chart->footText().isEmpty());
    QCOMPARE(BlockScore[0], 40);
    QCOMPARE(BlockScore[2], 0);
    QCOMPARE(QString::fromStdString(AnswerFile), path);
}

void OverallWindowTest::laterActivationAsksNothing()
{
    const QString path = writeRecordFile(dir_, QStringLiteral("Quendral.dat"), sampleRecord());
    Tquendralauswfrm window;
    ModalDriver driver;
    driver.then(acceptFile(path)).then(pressButton(QStringLiteral("&Nein")));
    QVERIFY(runStartUp(window, driver));

    QWidget other;
    other.show();
    other.activateWindow();
    QTest::qWait(20);
    window.activateWindow();
    QTest::qWait(50);
    QCOMPARE(driver.seen().size(), 2);
    QCOMPARE(window.Chart1->barCount(), 6);
}

void OverallWindowTest::answerSetsSavePicture_data()
{
    QTest::addColumn<int>("answer");  // 0 = Ja, 1 = Nein, 2 = Esc, 3 = frame
    QTest::addColumn<int>("expected");
    QTest::newRow("ja") << 0 << 1;
    QTest::newRow("nein") << 1 << 0;
    QTest::newRow("escape") << 2 << 0;
    QTest::newRow("frame") << 3 << 0;
}

void OverallWindowTest::answerSetsSavePicture()
{
    QFETCH(int, answer);
    QFETCH(int, expected);
    const QString path = writeRecordFile(dir_, QStringLiteral("Quendral.dat"), sampleRecord());
    Tquendralauswfrm window;
    ModalDriver driver;
    driver.then(acceptFile(path));
    driver.then([answer](QWidget* modal) {
        QMessageBox* box = asMessageBox(modal);
        QCOMPARE(box->windowTitle(), QStringLiteral("Bestätigung"));
        QCOMPARE(box->icon(), QMessageBox::Question);
        QCOMPARE(box->defaultButton()->text(), QStringLiteral("&Ja"));
        QCOMPARE(box->escapeButton()->text(), QStringLiteral("&Nein"));
        switch (answer) {
        case 0:
            pressButton(QStringLiteral("&Ja"))(modal);
            break;
        case 1:
            pressButton(QStringLiteral("&Nein"))(modal);
            break;
        case 2:
            pressEscape()(modal);
            break;
        default:
            closeByFrame()(modal);
            break;
        }
    });
    QVERIFY(runStartUp(window, driver));
    QCOMPARE(int(SavePicture), expected);
    QCOMPARE(window.Chart1->barCount(), 6);
}

void OverallWindowTest::enterPressesFocusedButton_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("key");
    QTest::newRow("return-on-schliessen") << "button_ende" << int(Qt::Key_Return);
    QTest::newRow("keypad-enter-on-schliessen") << "button_ende" << int(Qt::Key_Enter);
    QTest::newRow("return-on-einzelauswertung") << "detail" << int(Qt::Key_Return);
}

// Enter presses the focused button, as Space does: "S&chließen" ends the program,
// "&Einzelauswertung" starts the detailed evaluation with its message.
void OverallWindowTest::enterPressesFocusedButton()
{
    QFETCH(QString, button);
    QFETCH(int, key);
    answerRecord = sampleRecord();
    AnswerFile
        = QFile::encodeName(writeRecordFile(dir_, QStringLiteral("Quendral.dat"), answerRecord))
              .toStdString();
    Tquendralauswfrm window;
    FirstActivation = 0;  // as after the start-up questions
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto* target = window.findChild<BitBtn*>(button);
    QVERIFY(target);
    target->setFocus();
    QCOMPARE(window.focusWidget(), target);

    ModalDriver driver;
    if (target == window.detail)
        driver.then(pressButton(QStringLiteral("OK"))).then(closeByFrame());
    const Qt::KeyboardModifiers modifiers
        = key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
    QTest::keyClick(target, Qt::Key(key), modifiers);
    QVERIFY(driver.waitUntil([&] { return driver.allStepsRun(); }));

    if (target == window.button_ende) {
        QVERIFY(!window.isVisible());
        QVERIFY(driver.seen().isEmpty());
    } else {
        QVERIFY(window.isVisible());
        QCOMPARE(driver.seen().size(), 2);
        QVERIFY(driver.seen().constFirst().startsWith(QStringLiteral("QMessageBox:Detaillierte")));
        QCOMPARE(window.focusWidget(), window.button_ende);
    }
}

void OverallWindowTest::windowDesign()
{
    Tquendralauswfrm window;
    QCOMPARE(window.windowTitle(), QStringLiteral("Quendral Tarvik: Auswertung"));
    QCOMPARE(window.button_ende->text(), QStringLiteral("S&chließen"));
    QCOMPARE(window.detail->text(), QStringLiteral("&Einzelauswertung"));
    QCOMPARE(window.button_ende->geometry(), QRect(480, 520, 113, 33));
    QCOMPARE(window.detail->geometry(), QRect(320, 520, 113, 33));
    QCOMPARE(window.Chart1->geometry(), QRect(8, 8, 761, 497));
    QVERIFY(!window.button_ende->icon().isNull());
    QVERIFY(!window.Image1->isVisibleTo(&window));
    QCOMPARE(window.findChild<QWidget*>(QStringLiteral("Chart1")), window.Chart1);
    QCOMPARE(FirstActivation, 1);
    // On a platform without frames the outer size is the client size.
    QCOMPARE(window.frameGeometry().size(), QSize(808, 619));
}

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    prepareApplication(application);
    OverallWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_overallwindow.moc"
