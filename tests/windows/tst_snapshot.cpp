// The window picture on the offscreen platform: what "S&chließen" writes beside the answer
// file, and what it leaves alone when it cannot or must not write.

#include "FileSizeLimit.h"
#include "JpegHeader.h"
#include "ModalDriver.h"
#include "OverallWindowSetup.h"
#include "TestRecords.h"

#include "Application.h"
#include "BitBtn.h"
#include "Jpeg.h"
#include "QuendralAusw.h"
#include "QuendralGLOBAL.h"
#include "ResultChart.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>
#include <memory>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quendral;
using namespace quendral::test;

namespace {

enum class Place { Centred, HangingOffLeft, OutsideEveryScreen };
enum class Obstacle { MissingFolder, FolderInPlace, WriteProtectedFolder };

}  // namespace

Q_DECLARE_METATYPE(Place)
Q_DECLARE_METATYPE(Obstacle)

class SnapshotTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void savesPictureOfTheWindow_data();
    void savesPictureOfTheWindow();
    void heightLimit_data();
    void heightLimit();
    void noForegroundWindowSavesNothing();
    void endAfterStartUp_data();
    void endAfterStartUp();
    void answerFileNamedLikePictureStaysIntact();
    void pictureCannotBeCreated_data();
    void pictureCannotBeCreated();
    void shortWriteKeepsEarlierPicture();
    void pictureNameLeadsElsewhere_data();
    void pictureNameLeadsElsewhere();
    void longestPath();

private:
    QString answerFile(const QString& name = QStringLiteral("Quendral.dat")) const;
    QStringList entries(const QString& folder = {}) const;

    std::unique_ptr<QTemporaryDir> dir_;
};

namespace {

const QSize kOuterSize = kOverallOuterSize;
// Empty chart panel between its top edge and the title, in chart coordinates.
const QRect kPanelStrip(16, 14, 728, 30);
const QColor kCream(255, 251, 240);

bool near(const QColor& a, const QColor& b, int tolerance)
{
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance
        && qAbs(a.blue() - b.blue()) <= tolerance;
}

bool bringUp(Tquendralauswfrm& window, const QString& answerPath, std::uint8_t savePicture = 1)
{
    return bringUpOverallWindow(window, answerPath, savePicture, false);
}

bool resizeOuter(Tquendralauswfrm& window, QSize outer)
{
    const QSize frame = outerOf(window).size() - window.size();
    window.resize(outer - frame);
    return QTest::qWaitFor([&] { return outerOf(window).size() == outer; });
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QImage readPicture(const QString& path)
{
    return decodeJpegPicture(readAll(path));
}

QByteArray pattern(int size, int seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char(i * 7 + seed);
    return bytes;
}

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// What the error box showed, and its answer.
struct ErrorBox {
    int shown = 0;
    QString text;
    QString caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    qsizetype modalsSeen = 0;  // every modal window that came up, this box included
};

ModalDriver::Step recordAndConfirm(ErrorBox& seen, std::function<void()> first = {})
{
    return [&seen, first](QWidget* modal) {
        if (first)
            first();
        QMessageBox* box = asMessageBox(modal);
        if (!box)
            return;
        ++seen.shown;
        seen.text = box->text();
        seen.caption = box->windowTitle();
        seen.icon = box->icon();
        for (QAbstractButton* b : box->buttons())
            seen.buttons << b->text();
        box->buttons().constFirst()->click();
    };
}

// "S&chließen" when a message box is to come up: notes it and confirms it.
ErrorBox pressSchliessenAnsweringBox(Tquendralauswfrm& window)
{
    ErrorBox box;
    ModalDriver driver;
    driver.then(recordAndConfirm(box));
    window.button_ende->click();
    box.modalsSeen = driver.seen().size();
    return box;
}

// The user comes back to the window and presses "S&chließen" again: the program ends, with
// no message in between.
bool pressSchliessenAgainEnds(Tquendralauswfrm& window)
{
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window))
        return false;
    ModalDriver driver;
    window.button_ende->click();
    return driver.seen().isEmpty() && !window.isVisible();
}

}  // namespace

void SnapshotTest::init()
{
    resetProgramState();
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
}

void SnapshotTest::cleanup()
{
    QFile::setPermissions(dir_->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    dir_.reset();
}

QString SnapshotTest::answerFile(const QString& name) const
{
    return writeRecordFile(*dir_, name, AnswerRecord{});
}

QStringList SnapshotTest::entries(const QString& folder) const
{
    return QDir(dir_->filePath(folder))
        .entryList(
            QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

void SnapshotTest::savesPictureOfTheWindow_data()
{
    QTest::addColumn<QSize>("outer");
    QTest::addColumn<Place>("place");
    QTest::newRow("designedSize") << kOuterSize << Place::Centred;
    QTest::newRow("enlarged") << QSize(958, 719) << Place::Centred;
    QTest::newRow("hangingOffLeft") << kOuterSize << Place::HangingOffLeft;
    // No screen shows any of it: the window draws its client area into the picture.
    QTest::newRow("outsideEveryScreen") << kOuterSize << Place::OutsideEveryScreen;
}

void SnapshotTest::savesPictureOfTheWindow()
{
    QFETCH(QSize, outer);
    QFETCH(Place, place);
    Tquendralauswfrm window;
    QVERIFY(bringUp(window, answerFile()));
    QVERIFY(resizeOuter(window, outer));
    const QRect screen = window.screen()->geometry();
    if (place == Place::HangingOffLeft)
        window.move(screen.left() - 200, outerOf(window).top());
    else if (place == Place::OutsideEveryScreen)
        window.move(screen.right() + 100, outerOf(window).top());
    QTRY_COMPARE(outerOf(window).size(), outer);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const QRect frame = outerOf(window);

    ModalDriver driver;
    window.button_ende->click();

    QVERIFY(driver.seen().isEmpty());
    QVERIFY(!window.isVisible());
    QCOMPARE(entries(), (QStringList{"Quendral.dat", "Quendral.jpg"}));
    const QImage picture = readPicture(dir_->filePath(QStringLiteral("Quendral.jpg")));
    QVERIFY(!picture.isNull());
    QCOMPARE(picture.size(), QSize(outer.width(), outer.height() - 100));

    // Where a screen shows the window, the picture shows the chart panel; where no screen
    // is, it is black. Points close to an edge are left out: JPEG blurs across edges.
    const QRect panel(window.Chart1->mapToGlobal(kPanelStrip.topLeft()), kPanelStrip.size());
    const QRect shown = screen.adjusted(8, 8, -8, -8);
    const QRect hidden = screen.adjusted(-8, -8, 8, 8);
    int creamSeen = 0;
    int blackSeen = 0;
    for (int y = 0; y < picture.height(); y += 5) {
        for (int x = 0; x < picture.width(); x += 13) {
            const QPoint global = frame.topLeft() + QPoint(x, y);
            const QColor colour = picture.pixelColor(x, y);
            if (place != Place::OutsideEveryScreen && !hidden.contains(global)) {
                QVERIFY2(near(colour, Qt::black, 8),
                    qPrintable(QStringLiteral("(%1,%2) %3").arg(x).arg(y).arg(colour.name())));
                ++blackSeen;
            } else if (panel.contains(global)
                && (place == Place::OutsideEveryScreen || shown.contains(global))) {
                QVERIFY2(near(colour, kCream, 6),
                    qPrintable(QStringLiteral("(%1,%2) %3").arg(x).arg(y).arg(colour.name())));
                ++creamSeen;
            }
        }
    }
    QVERIFY(creamSeen > 50);
    if (place == Place::HangingOffLeft)
        QVERIFY(blackSeen > 100);
}

void SnapshotTest::heightLimit_data()
{
    QTest::addColumn<int>("outerHeight");
    QTest::addColumn<int>("rows");  // 0: no picture
    QTest::newRow("oneRowLeft") << 101 << 1;
    QTest::newRow("noRowLeft") << 100 << 0;
    QTest::newRow("lowerThanTheRowsLeftOut") << 60 << 0;
}

// A window with rows left after the bottom 100 gives their picture; one without says so,
// stays open and tries again on the next click, once the user has enlarged it.
void SnapshotTest::heightLimit()
{
    QFETCH(int, outerHeight);
    QFETCH(int, rows);
    Tquendralauswfrm window;
    QVERIFY(bringUp(window, answerFile()));
    QVERIFY(resizeOuter(window, QSize(kOuterSize.width(), outerHeight)));

    if (rows > 0) {
        ModalDriver driver;
        window.button_ende->click();
        QVERIFY(driver.seen().isEmpty());
        QVERIFY(!window.isVisible());
        QCOMPARE(entries(), (QStringList{"Quendral.dat", "Quendral.jpg"}));
        QCOMPARE(readPicture(dir_->filePath(QStringLiteral("Quendral.jpg"))).size(),
            QSize(kOuterSize.width(), rows));
        return;
    }

    const ErrorBox box = pressSchliessenAnsweringBox(window);
    QCOMPARE(box.modalsSeen, 1);
    QCOMPARE(box.shown, 1);
    QCOMPARE(box.text,
        QStringLiteral("Das Bild lässt sich nicht speichern, weil das Fenster zu klein ist. "
                       "Bitte vergrößern Sie das Fenster."));
    QCOMPARE(box.caption, QStringLiteral("Quendral Tarvik"));
    QCOMPARE(box.icon, QMessageBox::NoIcon);
    QCOMPARE(box.buttons, QStringList{"OK"});
    QVERIFY(window.isVisible());
    QCOMPARE(int(SavePicture), 1);
    QCOMPARE(entries(), QStringList{"Quendral.dat"});

    QVERIFY(resizeOuter(window, kOuterSize));
    QVERIFY(pressSchliessenAgainEnds(window));
    QCOMPARE(readPicture(dir_->filePath(QStringLiteral("Quendral.jpg"))).size(), QSize(808, 519));
}

void SnapshotTest::noForegroundWindowSavesNothing()
{
    Tquendralauswfrm window;
    QVERIFY(bringUp(window, answerFile()));
    // The active window goes away and nothing takes its place.
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    other.hide();
    QTRY_VERIFY(!QApplication::activeWindow());
    QVERIFY(window.isVisible());

    ModalDriver driver;
    window.button_ende->click();

    QVERIFY(driver.seen().isEmpty());
    QVERIFY(!window.isVisible());
    QCOMPARE(entries(), QStringList{"Quendral.dat"});
}

void SnapshotTest::endAfterStartUp_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("byFrame");
    QTest::addColumn<bool>("picture");
    QTest::newRow("jaThenSchliessen") << QStringLiteral("&Ja") << false << true;
    QTest::newRow("jaThenFrame") << QStringLiteral("&Ja") << true << false;
    QTest::newRow("neinThenSchliessen") << QStringLiteral("&Nein") << false << false;
}

// The whole road: the real start-up dialogs, then the window is left one way or the other.
void SnapshotTest::endAfterStartUp()
{
    QFETCH(QString, answer);
    QFETCH(bool, byFrame);
    QFETCH(bool, picture);
    const QString path = answerFile();
    Tquendralauswfrm window;
    ModalDriver driver;
    driver.then(acceptFile(path)).then(pressButton(answer));
    window.show();
    window.activateWindow();
    QVERIFY(driver.waitUntil([&] {
        return driver.allStepsRun() && window.Chart1->barCount() == 6
            && !QApplication::activeModalWidget();
    }));
    QCOMPARE(int(SavePicture), answer == QStringLiteral("&Ja") ? 1 : 0);
    // The user's click on the window makes it the active window again.
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTRY_COMPARE(outerOf(window).size(), kOuterSize);

    if (byFrame)
        window.windowHandle()->close();
    else
        window.button_ende->click();

    QVERIFY(!window.isVisible());
    QCOMPARE(driver.seen().size(), 2);
    if (picture) {
        QCOMPARE(entries(), (QStringList{"Quendral.dat", "Quendral.jpg"}));
        QCOMPARE(
            readPicture(dir_->filePath(QStringLiteral("Quendral.jpg"))).size(), QSize(808, 519));
    } else {
        QCOMPARE(entries(), QStringList{"Quendral.dat"});
    }
}

void SnapshotTest::answerFileNamedLikePictureStaysIntact()
{
    const QString path = dir_->filePath(QStringLiteral("Quendral.jpg"));
    const QByteArray answers = pattern(395, 11);
    QVERIFY(writeBytes(path, answers));
    Tquendralauswfrm window;
    QVERIFY(bringUp(window, path));

    ModalDriver driver;
    window.button_ende->click();

    QVERIFY(driver.seen().isEmpty());
    QVERIFY(!window.isVisible());
    QCOMPARE(readAll(path), answers);
    QCOMPARE(entries(), (QStringList{"Quendral.jpg", "Quendral.jpg.jpg"}));
    QCOMPARE(readPicture(path + QStringLiteral(".jpg")).size(), QSize(808, 519));
}

void SnapshotTest::pictureCannotBeCreated_data()
{
    QTest::addColumn<Obstacle>("obstacle");
    QTest::newRow("missingFolder") << Obstacle::MissingFolder;
    QTest::newRow("folderInThePicturesPlace") << Obstacle::FolderInPlace;
    QTest::newRow("writeProtectedFolder") << Obstacle::WriteProtectedFolder;
}

// The message names the whole file; the window stays open and tries again on the next
// click, which succeeds once the obstacle is gone.
void SnapshotTest::pictureCannotBeCreated()
{
    QFETCH(Obstacle, obstacle);
    if (obstacle == Obstacle::WriteProtectedFolder && ::geteuid() == 0)
        QSKIP("root writes into write-protected folders");

    const QString folder = QStringLiteral("Auswertung Übung");
    const QString folderPath = dir_->filePath(folder);
    const QString answerPath = folderPath + QStringLiteral("/Quendral.dat");
    const QString picturePath = folderPath + QStringLiteral("/Quendral.jpg");
    if (obstacle != Obstacle::MissingFolder) {
        QVERIFY(QDir(dir_->path()).mkdir(folder));
        QVERIFY(writeBytes(answerPath, pattern(395, 5)));
    }
    if (obstacle == Obstacle::FolderInPlace) {
        QVERIFY(QDir(folderPath).mkdir(QStringLiteral("Quendral.jpg")));
        QVERIFY(writeBytes(picturePath + QStringLiteral("/Notiz.txt"), pattern(50, 9)));
    }
    if (obstacle == Obstacle::WriteProtectedFolder)
        QVERIFY(QFile::setPermissions(folderPath, QFile::ReadOwner | QFile::ExeOwner));
    const QStringList before = entries(folder);

    Tquendralauswfrm window;
    QVERIFY(bringUp(window, answerPath));
    const ErrorBox box = pressSchliessenAnsweringBox(window);
    QCOMPARE(box.modalsSeen, 1);
    QCOMPARE(box.shown, 1);
    QCOMPARE(box.text, QStringLiteral("Datei %1 kann nicht erstellt werden.").arg(picturePath));
    QCOMPARE(box.caption, QStringLiteral("Quendral Tarvik"));
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(box.buttons, QStringList{"OK"});
    QVERIFY(window.isVisible());
    QCOMPARE(int(SavePicture), 1);
    QCOMPARE(entries(folder), before);
    if (obstacle == Obstacle::FolderInPlace)
        QCOMPARE(entries(folder + QStringLiteral("/Quendral.jpg")), QStringList{"Notiz.txt"});

    switch (obstacle) {
    case Obstacle::MissingFolder:
        QVERIFY(QDir(dir_->path()).mkdir(folder));
        break;
    case Obstacle::FolderInPlace:
        QVERIFY(QDir(picturePath).removeRecursively());
        break;
    case Obstacle::WriteProtectedFolder:
        QVERIFY(QFile::setPermissions(
            folderPath, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        break;
    }
    QVERIFY(pressSchliessenAgainEnds(window));
    QStringList after = before;
    after.removeAll(QStringLiteral("Quendral.jpg"));
    after << QStringLiteral("Quendral.jpg");
    after.sort();
    QCOMPARE(entries(folder), after);
    QCOMPARE(readPicture(picturePath).size(), QSize(808, 519));
}

// A write cut short (here by the file size limit, as by a full disk) leaves the earlier
// picture of that name as it was and no temporary file.
void SnapshotTest::shortWriteKeepsEarlierPicture()
{
    const QString picturePath = dir_->filePath(QStringLiteral("Quendral.jpg"));
    const QByteArray earlier = pattern(3000, 21);
    QVERIFY(writeBytes(picturePath, earlier));
    Tquendralauswfrm window;
    QVERIFY(bringUp(window, answerFile()));
    const QStringList before = entries();

    ErrorBox box;
    {
        FileSizeLimit limit(1024);
        QVERIFY(limit.active());
        ModalDriver driver;
        driver.then(recordAndConfirm(box, [&limit] { limit.lift(); }));
        window.button_ende->click();
    }
    QCOMPARE(box.shown, 1);
    QCOMPARE(box.text, QStringLiteral("E/A-Fehler %1").arg(EFBIG));
    QCOMPARE(box.icon, QMessageBox::Critical);
    QVERIFY(window.isVisible());
    QCOMPARE(int(SavePicture), 1);
    QCOMPARE(readAll(picturePath), earlier);
    QCOMPARE(entries(), before);

    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.button_ende->click();
    QVERIFY(!window.isVisible());
    QCOMPARE(entries(), before);
    QCOMPARE(readPicture(picturePath).size(), QSize(808, 519));
}

enum class PictureName {
    LinkToAnswerFile,
    SecondNameOfAnswerFile,
    PipeNobodyReads,
    LinkToDevice,
    LinkToFileElsewhere,
};
Q_DECLARE_METATYPE(PictureName)

void SnapshotTest::pictureNameLeadsElsewhere_data()
{
    QTest::addColumn<PictureName>("name");
    QTest::addColumn<bool>("saved");
    QTest::newRow("link-to-answer-file") << PictureName::LinkToAnswerFile << false;
    QTest::newRow("second-name-of-answer-file") << PictureName::SecondNameOfAnswerFile << false;
    QTest::newRow("pipe-nobody-reads") << PictureName::PipeNobodyReads << false;
    QTest::newRow("link-to-device") << PictureName::LinkToDevice << true;
    QTest::newRow("link-to-file-elsewhere") << PictureName::LinkToFileElsewhere << true;
}

// The picture's name leads somewhere else than to a plain file of its own. The answer file
// is never written under another name; a pipe nobody reads is refused at once; a device
// takes the picture in place, and a link stays a link to the file that gets the picture.
void SnapshotTest::pictureNameLeadsElsewhere()
{
    QFETCH(PictureName, name);
    QFETCH(bool, saved);
    const QString answerPath = dir_->filePath(QStringLiteral("Quendral.dat"));
    const QByteArray answers = pattern(395, 17);
    QVERIFY(writeBytes(answerPath, answers));
    const QString picturePath = dir_->filePath(QStringLiteral("Quendral.jpg"));
    const QString elsewhere = dir_->filePath(QStringLiteral("Bilder/letztes.jpg"));
    switch (name) {
    case PictureName::LinkToAnswerFile:
        QVERIFY(QFile::link(QStringLiteral("Quendral.dat"), picturePath));
        break;
    case PictureName::SecondNameOfAnswerFile:
        QCOMPARE(::link(QFile::encodeName(answerPath), QFile::encodeName(picturePath)), 0);
        break;
    case PictureName::PipeNobodyReads:
        QCOMPARE(::mkfifo(QFile::encodeName(picturePath), 0600), 0);
        break;
    case PictureName::LinkToDevice:
        QVERIFY(QFile::link(QStringLiteral("/dev/null"), picturePath));
        break;
    case PictureName::LinkToFileElsewhere:
        QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("Bilder")));
        QVERIFY(writeBytes(elsewhere, pattern(100, 3)));
        QVERIFY(QFile::link(QStringLiteral("Bilder/letztes.jpg"), picturePath));
        break;
    }
    const QStringList before = entries();
    Tquendralauswfrm window;
    QVERIFY(bringUp(window, answerPath));

    ErrorBox box;
    if (saved) {
        ModalDriver driver;
        window.button_ende->click();
        QVERIFY(driver.seen().isEmpty());
    } else {
        box = pressSchliessenAnsweringBox(window);
        QCOMPARE(box.modalsSeen, 1);
    }
    QCOMPARE(readAll(answerPath), answers);
    QCOMPARE(entries(), before);
    QCOMPARE(window.isVisible(), !saved);
    if (!saved) {
        QCOMPARE(box.text, QStringLiteral("Datei %1 kann nicht erstellt werden.").arg(picturePath));
        QCOMPARE(box.icon, QMessageBox::Critical);
    }
    if (name == PictureName::LinkToDevice) {
        struct stat info { };
        QCOMPARE(::stat("/dev/null", &info), 0);
        QVERIFY(S_ISCHR(info.st_mode));
        QVERIFY(QFileInfo(picturePath).isSymLink());
    }
    if (name == PictureName::LinkToFileElsewhere) {
        QVERIFY(QFileInfo(picturePath).isSymLink());
        QCOMPARE(readPicture(elsewhere).size(), QSize(808, 519));
        QCOMPARE(entries(QStringLiteral("Bilder")), QStringList{"letztes.jpg"});
    }
}

// An answer file whose path is as long as a path may be but for a few bytes: the picture's
// name fits, and so must the temporary file it is written to first.
void SnapshotTest::longestPath()
{
    QString folder = dir_->path();
    const QString piece(200, QLatin1Char('o'));
    const int target = 4090 - int(std::strlen("/Quendral.dat"));
    while (QFile::encodeName(folder).size() + 1 + piece.size() <= target)
        folder += QLatin1Char('/') + piece;
    folder += QLatin1Char('/')
        + QString(target - QFile::encodeName(folder).size() - 1, QLatin1Char('p'));
    QVERIFY(QDir().mkpath(folder));
    const QString answerPath = folder + QStringLiteral("/Quendral.dat");
    QCOMPARE(QFile::encodeName(answerPath).size(), 4090);
    QVERIFY(writeBytes(answerPath, pattern(395, 1)));

    Tquendralauswfrm window;
    QVERIFY(bringUp(window, answerPath));
    ModalDriver driver;
    window.button_ende->click();
    QVERIFY(driver.seen().isEmpty());
    QVERIFY(!window.isVisible());
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden),
        (QStringList{"Quendral.dat", "Quendral.jpg"}));
    QCOMPARE(readPicture(folder + QStringLiteral("/Quendral.jpg")).size(), QSize(808, 519));
}

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    prepareApplication(application);
    SnapshotTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_snapshot.moc"
