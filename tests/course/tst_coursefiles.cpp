// What the course window writes, on the offscreen platform with a real course folder: the
// course report (Ctrl+P) and the three tables, against the real quendral-batch on the same
// folder; never over an answer file, and a failed write leaves the earlier file as it was.

#include "CourseTestSupport.h"
#include "FileSizeLimit.h"
#include "ModalDriver.h"

#include "AbilityCourse.h"
#include "Application.h"
#include "CourseWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTest>

#include <memory>

using namespace quendral;
using namespace quendral::course;
using namespace quendral::test;
using quendral::model::abilityCourse;

namespace {

constexpr int kParticipants = 12;
const QStringList kTableNames{"bloecke.csv", "ergebnis.csv", "fragen.csv"};

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<fehlt>");
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// The answer of a message box's button by its role (the file dialog's overwrite question).
ModalDriver::Step pressStandardButton(QMessageBox::StandardButton which)
{
    return [which](QWidget* modal) {
        if (QMessageBox* box = asMessageBox(modal); box && box->button(which))
            box->button(which)->click();
        else
            qWarning("no such button");
    };
}

bool noModalLeft(const ModalDriver& driver)
{
    return driver.allStepsRun() && !QApplication::activeModalWidget();
}

class CourseFilesTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void pdfIsTheBatchToolsReport();
    void pdfNeverReplacesAnAnswerFile_data();
    void pdfNeverReplacesAnAnswerFile();
    void failedPdfLeavesTheEarlierFile();
    void tablesAreTheBatchToolsFiles();

private:
    void press(Qt::Key key);

    std::unique_ptr<TestCourse> course_;
    std::unique_ptr<QTemporaryDir> out_;
    std::unique_ptr<CourseWindow> window_;
};

void CourseFilesTest::init()
{
    course_ = std::make_unique<TestCourse>();
    course_->writeCourse(abilityCourse(kParticipants, {2, 5, 6}, {361 + 3}, 3));
    course_->write(QStringLiteral("kurz.dat"), sampleParticipant(), 394);
    out_ = std::make_unique<QTemporaryDir>();
    window_ = std::make_unique<CourseWindow>();
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    window_->openFolder(course_->path());
    QVERIFY(waitForCourse(*window_, course_->path(), kParticipants));
}

void CourseFilesTest::cleanup()
{
    window_.reset();
    out_.reset();
    course_.reset();
}

// As the user does it: the menu's shortcut, Ctrl+P or Ctrl+S, in the active window (the
// offscreen platform does not give the activation back when a dialog closes).
void CourseFilesTest::press(Qt::Key key)
{
    window_->activateWindow();
    if (!QTest::qWaitForWindowActive(window_.get()))
        qWarning("the course window is not active");
    QTest::keyClick(window_.get(), key, Qt::ControlModifier);
}

void CourseFilesTest::pdfIsTheBatchToolsReport()
{
    const QString pdf = out_->filePath(QStringLiteral("Kursbericht.pdf"));
    ModalDriver driver;
    driver.then(acceptFile(pdf));
    press(Qt::Key_P);
    QVERIFY(driver.waitUntil([&] { return noModalLeft(driver); }));
    QCOMPARE(driver.seen(), QStringList{"QFileDialog"});
    QVERIFY(readAll(pdf).startsWith("%PDF-"));

    const QString batchPdf = out_->filePath(QStringLiteral("batch.pdf"));
    const BatchRun run = runBatch({QStringLiteral("-o"), QStringLiteral("/dev/null"),
        QStringLiteral("--pdf"), batchPdf, course_->path()});
    QCOMPARE(run.exitCode, 1);  // kurz.dat does not load
    const QByteArray text = pdfText(pdf);
    QVERIFY(text.contains("Nicht lesbar: 1"));
    QCOMPARE(text, pdfText(batchPdf));
}

void CourseFilesTest::pdfNeverReplacesAnAnswerFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("link");
    QTest::newRow("answer-file") << "participant01.dat" << false;
    QTest::newRow("link-to-an-answer-file") << "bericht.pdf" << true;
}

void CourseFilesTest::pdfNeverReplacesAnAnswerFile()
{
    QFETCH(QString, name);
    QFETCH(bool, link);
    const QString target = course_->file(name);
    if (link)
        QVERIFY(QFile::link(course_->file(QStringLiteral("participant01.dat")), target));
    const QStringList before = course_->snapshot();

    ModalDriver driver;
    driver.then(acceptFile(target))
        .then(pressStandardButton(QMessageBox::Yes))  // the dialog's "replace it?"
        .then(pressButton(QStringLiteral("OK")));
    press(Qt::Key_P);
    QVERIFY(driver.waitUntil([&] { return noModalLeft(driver); }));
    QCOMPARE(driver.seen().size(), 3);
    QCOMPARE(driver.seen().last(),
        QStringLiteral("QMessageBox:Der Kursbericht wird nicht gespeichert: „%1“ ist eine "
                       "Antwortdatei des Kurses.")
            .arg(target));
    QCOMPARE(course_->snapshot(), before);
}

void CourseFilesTest::failedPdfLeavesTheEarlierFile()
{
    const QString pdf = out_->filePath(QStringLiteral("Kursbericht.pdf"));
    writeBytes(pdf, "der vorige Bericht");
    const QStringList before
        = QDir(out_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    ModalDriver driver;
    driver.then(acceptFile(pdf))
        .then(pressStandardButton(QMessageBox::Yes))
        .then(pressButton(QStringLiteral("OK")));
    {
        // The report is some hundred kilobytes; the limit lets it grow to 4 only.
        const FileSizeLimit limit(4096);
        QVERIFY(limit.active());
        press(Qt::Key_P);
        QVERIFY(driver.waitUntil([&] { return noModalLeft(driver); }));
    }
    QCOMPARE(driver.seen().last(),
        QStringLiteral("QMessageBox:Der Kursbericht lässt sich nicht speichern: %1 (Datei zu groß)")
            .arg(pdf));
    QCOMPARE(readAll(pdf), QByteArray("der vorige Bericht"));
    QCOMPARE(QDir(out_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
}

void CourseFilesTest::tablesAreTheBatchToolsFiles()
{
    const QString folder = out_->filePath(QStringLiteral("tabellen"));
    QVERIFY(QDir().mkpath(folder));
    auto saveTables = [&](QList<ModalDriver::Step> answers) {
        ModalDriver driver;
        driver.then(acceptFile(folder));
        for (ModalDriver::Step& step : answers)
            driver.then(std::move(step));
        press(Qt::Key_S);
        return driver.waitUntil([&] { return noModalLeft(driver); })
            ? driver.seen()
            : QStringList(driver.seen()) << QStringLiteral("a window left open");
    };
    const QStringList first = saveTables({});
    QCOMPARE(first, QStringList{"QFileDialog"});
    QCOMPARE(QDir(folder).entryList(QDir::Files), kTableNames);

    const QString batch = out_->filePath(QStringLiteral("batch"));
    QVERIFY(QDir().mkpath(batch));
    const BatchRun run = runBatch({QStringLiteral("-o"), batch + QStringLiteral("/e.csv"),
        QStringLiteral("--items"), batch + QStringLiteral("/i.csv"), QStringLiteral("--blocks"),
        batch + QStringLiteral("/b.csv"), course_->path()});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(readAll(folder + QStringLiteral("/ergebnis.csv")),
        readAll(batch + QStringLiteral("/e.csv")));
    QCOMPARE(
        readAll(folder + QStringLiteral("/fragen.csv")), readAll(batch + QStringLiteral("/i.csv")));
    QCOMPARE(readAll(folder + QStringLiteral("/bloecke.csv")),
        readAll(batch + QStringLiteral("/b.csv")));

    // Tables there already are replaced only when the user says so.
    const QString results = folder + QStringLiteral("/ergebnis.csv");
    writeBytes(results, "die vorige Tabelle");
    const QStringList kept = saveTables({pressButton(QStringLiteral("&Nicht ersetzen"))});
    QCOMPARE(kept.join(QStringLiteral(" / ")),
        QStringLiteral("QFileDialog / QMessageBox:Im Ordner „%1“ gibt es schon ergebnis.csv, "
                       "fragen.csv und bloecke.csv. Ersetzen?")
            .arg(folder));
    QCOMPARE(readAll(results), QByteArray("die vorige Tabelle"));
    saveTables({pressButton(QStringLiteral("&Ersetzen"))});
    QCOMPARE(readAll(results), readAll(batch + QStringLiteral("/e.csv")));
    QCOMPARE(QDir(folder).entryList(QDir::Files), kTableNames);
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    prepareApplication(application);
    CourseFilesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_coursefiles.moc"
