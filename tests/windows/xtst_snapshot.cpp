// The window picture on a real X server with a window manager: the frame and caption the
// window manager draws, and a window that stays on top, are in the picture exactly as the
// screen shows them.

#include "JpegHeader.h"
#include "ModalDriver.h"
#include "OverallWindowSetup.h"
#include "TestRecords.h"

#include "Application.h"
#include "BitBtn.h"
#include "QuendralAusw.h"
#include "QuendralGLOBAL.h"
#include "ResultChart.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include <memory>

#include <cstdio>  // jpeglib.h uses FILE and size_t without including their headers

#include <jpeglib.h>  // J_COLOR_SPACE

using namespace quendral;
using namespace quendral::test;

namespace {

enum class Place { Centred, HangingOffLeft };

}  // namespace

Q_DECLARE_METATYPE(Place)

class SnapshotXTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void pictureShowsTheScreen_data();
    void pictureShowsTheScreen();
    void startUpWithJaSavesPicture();

private:
    std::unique_ptr<QTemporaryDir> dir_;
};

namespace {

const QSize kOuterSize = kOverallOuterSize;
const QColor kGreen(0, 255, 0);
const QColor kCream(255, 251, 240);
// Empty chart panel between its top edge and the title, in chart coordinates.
const QRect kPanelStrip(16, 14, 728, 30);
// Where the covering window lies over the chart, in chart coordinates.
const QRect kCoverOnChart(300, 150, 160, 120);

bool near(const QColor& a, const QColor& b, int tolerance)
{
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance
        && qAbs(a.blue() - b.blue()) <= tolerance;
}

QString describe(const QPoint& p, const QColor& c)
{
    return QStringLiteral("(%1,%2) %3").arg(p.x()).arg(p.y()).arg(c.name());
}

QColor screenColour(QScreen* screen, const QPoint& global)
{
    const QPoint local = global - screen->geometry().topLeft();
    return screen->grabWindow(0, local.x(), local.y(), 1, 1).toImage().pixelColor(0, 0);
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Mean difference per colour channel between `picture` and `screen` over `area` (picture
// coordinates), with the screen shifted by `shift`.
double meanDifference(const QImage& picture, const QImage& screen, const QRect& area, QPoint shift)
{
    double sum = 0;
    qint64 count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor a = picture.pixelColor(x, y);
            const QColor b = screen.pixelColor(x + shift.x(), y + shift.y());
            sum += qAbs(a.red() - b.red()) + qAbs(a.green() - b.green())
                + qAbs(a.blue() - b.blue());
            count += 3;
        }
    }
    return count ? sum / double(count) : 0.0;
}

bool bringUp(Tquendralauswfrm& window, const QString& answerPath)
{
    return bringUpOverallWindow(window, answerPath, 1, true);
}

}  // namespace

void SnapshotXTest::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
}

void SnapshotXTest::init()
{
    resetProgramState();
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
}

void SnapshotXTest::cleanup()
{
    dir_.reset();
}

void SnapshotXTest::pictureShowsTheScreen_data()
{
    QTest::addColumn<QSize>("outer");
    QTest::addColumn<Place>("place");
    QTest::newRow("designedSize") << kOuterSize << Place::Centred;
    QTest::newRow("enlarged") << QSize(958, 719) << Place::Centred;
    QTest::newRow("hangingOffLeft") << kOuterSize << Place::HangingOffLeft;
}

void SnapshotXTest::pictureShowsTheScreen()
{
    QFETCH(QSize, outer);
    QFETCH(Place, place);
    const QString answerPath
        = writeRecordFile(*dir_, QStringLiteral("Quendral.dat"), AnswerRecord{});
    Tquendralauswfrm window;
    QVERIFY(bringUp(window, answerPath));
    QScreen* screen = window.screen();
    const QRect screenArea = screen->geometry();

    if (outer != kOuterSize) {
        window.resize(window.size() + outer - kOuterSize);
        QTRY_COMPARE(outerOf(window).size(), outer);
    }
    if (place == Place::HangingOffLeft) {
        window.move(screenArea.left() - 150, outerOf(window).top());
        QTRY_VERIFY(outerOf(window).left() <= screenArea.left() - 140);
    }

    // A window that stays on top covers part of the chart; it never takes the focus.
    QWidget cover(nullptr,
        Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
            | Qt::WindowDoesNotAcceptFocus);
    cover.setAttribute(Qt::WA_ShowWithoutActivating);
    QPalette palette = cover.palette();
    palette.setColor(QPalette::Window, kGreen);
    cover.setPalette(palette);
    cover.setAutoFillBackground(true);
    const QRect coverArea(
        window.Chart1->mapToGlobal(kCoverOnChart.topLeft()), kCoverOnChart.size());
    cover.setGeometry(coverArea);
    cover.show();
    QVERIFY(QTest::qWaitForWindowExposed(&cover));
    QTRY_COMPARE(cover.geometry(), coverArea);

    // At the click the overall window is the foreground window, under the cover.
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(QApplication::activeWindow(), &window);
    const QPoint panelPoint = window.Chart1->mapToGlobal(kPanelStrip.center());
    QTRY_VERIFY(near(screenColour(screen, coverArea.center()), kGreen, 0));
    QTRY_VERIFY(near(screenColour(screen, panelPoint), kCream, 0));

    const QRect frame = outerOf(window);
    QCOMPARE(frame.size(), outer);
    const QRect area(frame.topLeft(), QSize(outer.width(), outer.height() - 100));
    const QRect onScreen = area.intersected(screenArea);
    const QImage reference
        = screen
              ->grabWindow(0, onScreen.x() - screenArea.x(), onScreen.y() - screenArea.y(),
                  onScreen.width(), onScreen.height())
              .toImage();
    QCOMPARE(reference.size(), onScreen.size());

    window.button_ende->click();

    QVERIFY(!window.isVisible());
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
        (QStringList{"Quendral.dat", "Quendral.jpg"}));
    const QByteArray stream = readAll(dir_->filePath(QStringLiteral("Quendral.jpg")));
    const QImage picture = decodeJpegPicture(stream);
    QVERIFY(!picture.isNull());
    QCOMPARE(picture.size(), area.size());

    // Baseline, full colour, quality 90: the first luminance step is 16 * 20 % = 3.
    QCOMPARE(firstFrameMarker(stream), 0xC0);
    const JpegHeader header = readJpegHeader(stream);
    QVERIFY(!header.progressive);
    QCOMPARE(header.components, 3);
    QCOMPARE(int(header.colourSpace), int(JCS_YCbCr));
    QCOMPARE(header.luminance[0], 3u);

    // The cover is in the picture where it is on the screen, to the pixel: green inside,
    // something else just outside. JPEG blurs a few pixels across an edge.
    const QRect cover0 = coverArea.translated(-frame.topLeft());
    const QRect inside = cover0.adjusted(4, 4, -4, -4);
    for (int y = inside.top(); y <= inside.bottom(); y += 3) {
        for (int x = inside.left(); x <= inside.right(); x += 3) {
            const QColor c = picture.pixelColor(x, y);
            QVERIFY2(near(c, kGreen, 12), qPrintable(describe({x, y}, c)));
        }
    }
    const QRect outside = cover0.adjusted(-4, -4, 4, 4);
    for (int x = outside.left(); x <= outside.right(); x += 3) {
        for (int y : {outside.top(), outside.bottom()}) {
            const QColor c = picture.pixelColor(x, y);
            QVERIFY2(!near(c, kGreen, 60), qPrintable(describe({x, y}, c)));
        }
    }
    for (int y = outside.top(); y <= outside.bottom(); y += 3) {
        for (int x : {outside.left(), outside.right()}) {
            const QColor c = picture.pixelColor(x, y);
            QVERIFY2(!near(c, kGreen, 60), qPrintable(describe({x, y}, c)));
        }
    }
    // The window's own colours elsewhere.
    const QPoint panelAt = panelPoint - frame.topLeft();
    QVERIFY2(near(picture.pixelColor(panelAt), kCream, 6),
        qPrintable(describe(panelAt, picture.pixelColor(panelAt))));

    // Frame, caption and all: the picture is the screen one to one. It matches the screen
    // closely, and better than the screen shifted by a pixel in any direction.
    const QRect shown = onScreen.translated(-frame.topLeft());
    const QRect compared = shown.adjusted(1, 1, -1, -1);
    QImage screenInPicture(picture.size(), QImage::Format_RGB32);
    screenInPicture.fill(Qt::black);
    for (int y = 0; y < reference.height(); ++y) {
        for (int x = 0; x < reference.width(); ++x)
            screenInPicture.setPixel(shown.left() + x, shown.top() + y, reference.pixel(x, y));
    }
    const double aligned = meanDifference(picture, screenInPicture, compared, {0, 0});
    QVERIFY2(aligned < 1.2, qPrintable(QString::number(aligned)));
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if (dx == 0 && dy == 0)
                continue;
            const double shifted = meanDifference(picture, screenInPicture, compared, {dx, dy});
            QVERIFY2(aligned < shifted,
                qPrintable(QStringLiteral("%1 at (%2,%3) vs %4")
                               .arg(shifted)
                               .arg(dx)
                               .arg(dy)
                               .arg(aligned)));
        }
    }

    // Parts of the window that no screen shows are black.
    if (place == Place::HangingOffLeft) {
        const int hidden = screenArea.left() - frame.left();
        QCOMPARE(shown.left(), hidden);
        for (int y = 0; y < picture.height(); y += 7) {
            for (int x = 0; x < hidden - 8; x += 7) {
                const QColor c = picture.pixelColor(x, y);
                QVERIFY2(near(c, Qt::black, 8), qPrintable(describe({x, y}, c)));
            }
        }
    }
}

// The whole road under a window manager: the real start-up dialogs, "&Ja", then
// "S&chließen" writes the picture of the framed window.
void SnapshotXTest::startUpWithJaSavesPicture()
{
    const QString answerPath
        = writeRecordFile(*dir_, QStringLiteral("Quendral.dat"), AnswerRecord{});
    Tquendralauswfrm window;
    ModalDriver driver;
    driver.then(acceptFile(answerPath)).then(pressButton(QStringLiteral("&Ja")));
    window.show();
    window.activateWindow();
    QVERIFY(driver.waitUntil([&] {
        return driver.allStepsRun() && window.Chart1->barCount() == 6
            && !QApplication::activeModalWidget();
    }));
    QCOMPARE(int(SavePicture), 1);
    // The user's click on the window makes it the foreground window.
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTRY_COMPARE(outerOf(window).size(), kOuterSize);
    QVERIFY(outerOf(window) != window.geometry());

    window.button_ende->click();

    QVERIFY(!window.isVisible());
    QCOMPARE(driver.seen(),
        (QStringList{"QFileDialog", "QMessageBox:Soll die Grafik abgespeichert werden?"}));
    const QImage picture
        = decodeJpegPicture(readAll(dir_->filePath(QStringLiteral("Quendral.jpg"))));
    QCOMPARE(picture.size(), QSize(808, 519));
}

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    prepareApplication(application);
    SnapshotXTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "xtst_snapshot.moc"
