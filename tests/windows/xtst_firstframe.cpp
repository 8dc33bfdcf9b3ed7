// Every window's first frame is its final one under a real window manager: a window is
// mapped at its designed outer size, so that nothing is resized, and drawn again, after it
// has first been exposed, and a review window is painted only with its boxes ticked and
// coloured.

#include "AnswerRecords.h"
#include "OverallWindowSetup.h"

#include "Application.h"
#include "Catalogue.h"
#include "QuendralAusw.h"
#include "QuendralGLOBAL.h"
#include "Quendralauswmenu.h"
#include "ReviewWindow.h"
#include "ReviewWindows.h"

#include <QApplication>
#include <QCheckBox>
#include <QExposeEvent>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <algorithm>
#include <functional>
#include <memory>

using namespace quendral;
using namespace quendral::test;

namespace {

// Counts the resizes of a window that come after its first exposure.
class FrameWatch : public QObject {
public:
    explicit FrameWatch(QWidget* window) : window_(window)
    {
        QApplication::instance()->installEventFilter(this);
    }
    ~FrameWatch() override { QApplication::instance()->removeEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Expose && watched == window_->windowHandle()
            && static_cast<QWindow*>(watched)->isExposed() && !exposed) {
            exposed = true;
            sizeWhenExposed = window_->size();
        } else if (event->type() == QEvent::Resize && watched == window_ && exposed) {
            ++resizesAfterExposure;
        }
        return false;
    }

    bool exposed = false;
    QSize sizeWhenExposed;
    int resizesAfterExposure = 0;

private:
    QWidget* window_;
};

// The report's size each time an option box is painted.
class BoxPaints : public QObject {
public:
    explicit BoxPaints(QString reportPath) : path_(std::move(reportPath))
    {
        QApplication::instance()->installEventFilter(this);
    }
    ~BoxPaints() override { QApplication::instance()->removeEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && qobject_cast<QCheckBox*>(watched))
            reportSizes.append(QFileInfo(path_).size());
        return false;
    }

    QList<qint64> reportSizes;

private:
    QString path_;
};

using MakeWindow = std::function<std::unique_ptr<QWidget>()>;

}  // namespace

Q_DECLARE_METATYPE(MakeWindow)

class FirstFrameXTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void notResizedAfterFirstExposure_data();
    void notResizedAfterFirstExposure();
    void boxesFinalBeforeFirstPaint_data();
    void boxesFinalBeforeFirstPaint();

private:
    QTemporaryDir dir_;
};

void FirstFrameXTest::initTestCase()
{
    QVERIFY(dir_.isValid());
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
}

void FirstFrameXTest::cleanup()
{
    ReportFile.close();
}

void FirstFrameXTest::notResizedAfterFirstExposure_data()
{
    QTest::addColumn<MakeWindow>("make");
    QTest::addColumn<QSize>("outer");
    QTest::newRow("overall") << MakeWindow([] {
        auto window = std::make_unique<Tquendralauswfrm>();
        FirstActivation = 0;  // the start-up dialogs are not part of this
        return std::unique_ptr<QWidget>(std::move(window));
    }) << kOverallOuterSize;
    QTest::newRow("menu") << MakeWindow([] {
        return std::unique_ptr<QWidget>(std::make_unique<Tquendralauswmenufrm>(nullptr));
    }) << QSize(474, 347);
    for (int block = 1; block <= 6; ++block) {
        const ReviewCatalogue& catalogue = reviewCatalogue(block);
        QTest::addRow("review%d", block) << MakeWindow([block] {
            return std::unique_ptr<QWidget>(createReviewWindow(block, nullptr));
        }) << QSize(catalogue.outerWidth, catalogue.outerHeight);
    }
}

void FirstFrameXTest::notResizedAfterFirstExposure()
{
    QFETCH(MakeWindow, make);
    QFETCH(QSize, outer);
    QVERIFY(ReportFile.create(dir_.filePath(QStringLiteral("x-Detail.txt")).toStdString()) == 0);
    const std::unique_ptr<QWidget> window = make();
    FrameWatch watch(window.get());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QVERIFY(QTest::qWaitFor([&] { return outerOf(*window) != window->geometry(); }));
    // Late answers of the window manager would come now.
    QTest::qWait(500);
    QCOMPARE(outerOf(*window).size(), outer);
    QCOMPARE(watch.sizeWhenExposed, window->size());
    QCOMPARE(watch.resizesAfterExposure, 0);
}

void FirstFrameXTest::boxesFinalBeforeFirstPaint_data()
{
    QTest::addColumn<int>("block");
    for (int block = 1; block <= 6; ++block)
        QTest::addRow("block%d", block) << block;
}

// No box is painted before the section is in the report: the window comes up with its
// boxes ticked and coloured, and the user never sees a red box turn black.
void FirstFrameXTest::boxesFinalBeforeFirstPaint()
{
    QFETCH(int, block);
    std::mt19937 rng(4711u + unsigned(block));
    answerRecord = randomRecord(rng);
    const QString report = dir_.filePath(QStringLiteral("paint-Detail.txt"));
    QVERIFY(ReportFile.create(report.toStdString()) == 0);
    BoxPaints paints(report);
    const std::unique_ptr<ReviewWindow> window(createReviewWindow(block, nullptr));
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QTest::qWait(200);
    forgetReviewWindow(block);
    const qint64 section = QFileInfo(report).size();
    QVERIFY(section > 0);
    QVERIFY(!paints.reportSizes.isEmpty());
    const qsizetype early = std::count_if(paints.reportSizes.begin(), paints.reportSizes.end(),
        [&](qint64 size) { return size < section; });
    QCOMPARE(early, qsizetype(0));
}

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    prepareApplication(application);
    FirstFrameXTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "xtst_firstframe.moc"
