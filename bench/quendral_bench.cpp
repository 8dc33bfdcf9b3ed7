// Benchmark of the evaluation tool on the offscreen platform.
//
// Every figure is one event a user waits for, timed with the wall clock around exactly that
// work: loading and scoring, a review window coming up, the whole detailed evaluation, the
// snapshot, the start-up. Each sample is one event (one iteration per repetition), so the
// medians Google Benchmark prints and the table at the end are medians of single events.
// Next to each figure runs its floor, what bare Qt or bare libjpeg need for the same work
// on the same machine, so the table can give ratios. The run checks that the timed work
// really happened (report bytes, picture size) and stops a figure that did not do it.
//
//   quendral_bench [--samples=N] [Google Benchmark flags, e.g. --benchmark_filter=review/2]

#include "BenchRecord.h"
#include "RawJpeg.h"
#include "ModalDriver.h"
#include "SampleTable.h"
#include "StartupClock.h"
#include "WindowWatch.h"

#include "Application.h"
#include "BitBtn.h"
#include "Catalogue.h"
#include "Jpeg.h"
#include "QuendralAusw.h"
#include "QuendralGLOBAL.h"
#include "Quendralauswmenu.h"
#include "ResultChart.h"
#include "ReviewWindow.h"
#include "ReviewWindows.h"
#include "WindowCapture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>

using namespace quendral;
using namespace quendral::bench;

namespace {

using Clock = std::chrono::steady_clock;

int sampleOverride = 0;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void record(benchmark::State& state, const std::string& key, const Sample& sample)
{
    state.SetIterationTime(sample.wall);
    SampleTable::instance().add(key, sample);
}

// Runs the event loop until `done` holds; false when it did not within the time.
bool processUntil(const std::function<bool()>& done, int timeoutMs = 10000)
{
    const auto start = Clock::now();
    while (!done()) {
        if (secondsSince(start) * 1000 > timeoutMs)
            return false;
        QCoreApplication::processEvents();
    }
    return true;
}

// --- The overall window after its real start-up, up for figures 1 to 3 -----------------

class OverallSession {
public:
    // The window up with the bench participant loaded and its six bars, or null.
    static Tquendralauswfrm* window();
    static void end() { instance().reset(); }

private:
    static std::unique_ptr<Tquendralauswfrm>& instance()
    {
        static std::unique_ptr<Tquendralauswfrm> window;
        return window;
    }
};

Tquendralauswfrm* OverallSession::window()
{
    std::unique_ptr<Tquendralauswfrm>& window = instance();
    if (window)
        return window.get();
    const BenchFiles& files = benchFiles();
    if (files.answerFile.empty())
        return nullptr;

    window = std::make_unique<Tquendralauswfrm>();
    quendralauswfrm = window.get();
    WindowWatch watch;
    const auto painted = [&watch](QWidget* modal) { return watch.painted(modal); };
    test::ModalDriver driver(0);
    driver.then(
        test::acceptFile(QFile::decodeName(QByteArray::fromStdString(files.answerFile))), painted);
    driver.then(test::pressButton(QStringLiteral("&Ja")), painted);
    window->show();
    window->activateWindow();
    const bool up = processUntil(
        [&] {
            return driver.allStepsRun() && FirstActivation == 0
                && !QApplication::activeModalWidget() && window->Chart1->barCount() == 6;
        },
        60000);
    if (!up) {
        std::fprintf(stderr, "the overall window did not start up: %s\n",
            qPrintable(driver.seen().join(u',')));
        quendralauswfrm = nullptr;
        window.reset();
        return nullptr;
    }
    return window.get();
}

// --- 1. A review window up: created, shown, activated, section written, first frame -----

// Each timed region is a function of its own, kept out of line, so that a profiler can be
// told to count exactly that (valgrind --tool=callgrind --toggle-collect='*bringUp*').

// Shown as exec() shows it, without entering its event loop; up once the section is in the
// report file and the window has painted its first frame.
[[gnu::noinline]] bool bringUpReviewWindow(int block, const WindowWatch& watch,
    const std::string& reportFile, long long sectionSize, ReviewWindow*& window)
{
    window = createReviewWindow(block, nullptr);
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
    window->activateWindow();
    return processUntil(
        [&] { return watch.painted(window) && fileSize(reportFile) >= sectionSize; });
}

// The floor: a bare QDialog of the same size with the block's plain check boxes and labels
// (same captions and places; no fonts, palettes, scroll area, logo or button), shown the
// same way and up at its first activation and first frame.
[[gnu::noinline]] bool bringUpBareDialog(
    const ReviewCatalogue& catalogue, const WindowWatch& watch, QDialog*& dialog)
{
    dialog = new QDialog;
    for (const CatalogueRow& row : catalogue.rows) {
        const QString caption = QString::fromUtf8(row.caption);
        QWidget* control = row.isLabel() ? static_cast<QWidget*>(new QLabel(caption, dialog))
                                         : new QCheckBox(caption, dialog);
        control->setGeometry(row.rect.left, row.rect.top, row.rect.width, row.rect.height);
    }
    dialog->resize(catalogue.outerWidth, catalogue.outerHeight);
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->show();
    dialog->activateWindow();
    return processUntil([&] { return watch.activated(dialog) && watch.painted(dialog); });
}

// Runs the steps once each, starting with step `turn % steps.size()`, so that from one
// sample to the next neither a figure nor its floor always goes first (finding the caches
// warm) and a burst of other load on the machine falls on both alike. False as soon as a
// step fails.
bool runInTurn(std::size_t turn, const std::vector<std::function<bool()>>& steps)
{
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (!steps[(turn + i) % steps.size()]())
            return false;
    }
    return true;
}

// Each sample brings up the block's review window and its floor, in alternating order.
void reviewWindowUp(benchmark::State& state, int block)
{
    const BenchFiles& files = benchFiles();
    if (files.answerFile.empty()) {
        state.SkipWithError("the sample answer file could not be prepared");
        return;
    }
    // As in the program, the overall window is up before any review window opens, and with
    // it the font database and the fonts of the overall window.
    if (!OverallSession::window()) {
        state.SkipWithError("the overall window did not start up");
        return;
    }
    answerRecord = files.record;
    const ReviewCatalogue& catalogue = reviewCatalogue(block);
    const std::string expected = expectedSection(block, files.record);
    const std::string n = std::to_string(block);
    WindowWatch watch;
    Sample product;
    Sample bare;

    const auto productStep = [&] {
        if (ReportFile.create(files.reportFile) != 0)
            return false;
        const Stopwatch stopwatch;
        ReviewWindow* window = nullptr;
        const bool up = bringUpReviewWindow(
            block, watch, files.reportFile, static_cast<long long>(expected.size()), window);
        product = stopwatch.elapsed();

        forgetReviewWindow(block);
        delete window;
        QCoreApplication::processEvents();
        ReportFile.close();
        return up && fileContents(files.reportFile) == expected;
    };
    const auto floorStep = [&] {
        const Stopwatch stopwatch;
        QDialog* dialog = nullptr;
        const bool up = bringUpBareDialog(catalogue, watch, dialog);
        bare = stopwatch.elapsed();

        delete dialog;
        QCoreApplication::processEvents();
        return up;
    };

    std::size_t turn = 0;
    for (auto _ : state) {
        if (!runInTurn(turn++, {floorStep, productStep})) {
            state.SkipWithError(
                "the review window did not write its section, or its floor did not come up");
            break;
        }
        record(state, "review/" + n, product);
        SampleTable::instance().add("review_floor/" + n, bare);
    }
}

// --- 2. The whole detailed evaluation ---------------------------------------------------

// "&Einzelauswertung" as the user goes through it: the report message answered, each of
// the six block buttons pressed in order, each review window closed once its section is
// written and its first frame painted, then the menu closed. The figure is the handler's
// whole run: report created, header, menu, six review windows, report closed.
void detailedEvaluation(benchmark::State& state)
{
    Tquendralauswfrm* window = OverallSession::window();
    if (!window) {
        state.SkipWithError("the overall window did not start up");
        return;
    }
    const BenchFiles& files = benchFiles();
    const std::string expected = expectedReport(files.record);
    long long sizeAfter[7] = {};
    for (int block = 1; block <= 6; ++block)
        sizeAfter[block] = static_cast<long long>(expectedReport(files.record, block).size());
    const std::string reportFile = files.reportFile;

    for (auto _ : state) {
        WindowWatch watch;
        const auto painted = [&watch](QWidget* modal) { return watch.painted(modal); };
        test::ModalDriver driver(0);
        driver.then(test::pressButton(QStringLiteral("OK")), painted);
        // The menu's step presses the six block buttons in turn; each opens its review
        // window, which the following steps close once it has painted its first frame.
        driver.then(
            [](QWidget* modal) {
                auto* menu = static_cast<Tquendralauswmenufrm*>(modal);
                for (int block = 1; block <= 6; ++block)
                    menu->blockButton(block)->click();
                menu->BitBtn1->click();
            },
            painted);
        for (int block = 1; block <= 6; ++block) {
            driver.then(
                [](QWidget* modal) { static_cast<ReviewWindow*>(modal)->closeButton()->click(); },
                [&, block](QWidget* modal) {
                    auto* review = qobject_cast<ReviewWindow*>(modal);
                    return review && review->catalogue().block == block && watch.painted(modal)
                        && fileSize(reportFile) >= sizeAfter[block];
                });
        }

        const Stopwatch stopwatch;
        window->detailClick();
        const Sample sample = stopwatch.elapsed();

        if (!driver.allStepsRun() || ReportFile.isOpen() || fileContents(reportFile) != expected) {
            std::fprintf(stderr, "detailed evaluation: %s\n", qPrintable(driver.seen().join(u',')));
            state.SkipWithError("the detailed evaluation did not run through");
            break;
        }
        record(state, "detailed", sample);
    }
}

// --- 3. The snapshot ----------------------------------------------------------------------

bool bringToFront(QWidget* window)
{
    if (QApplication::activeWindow() != window)
        window->activateWindow();
    return processUntil([window] { return QApplication::activeWindow() == window; });
}

bool isSnapshot(const QImage& picture, const QByteArray& jpeg)
{
    return picture.width() == 808 && picture.height() == 519 && jpeg.startsWith("\xFF\xD8");
}

QImage capturedPicture(Tquendralauswfrm* window)
{
    QImage picture;
    if (window && bringToFront(window))
        CaptureForegroundWindow(picture, 100);
    return picture;
}

// Each sample takes the snapshot as "S&chließen" takes it (the foreground window less its
// bottom 100 rows, as JPEG) and, as the floor, runs libjpeg alone on the same pixels, in
// rotating order.
void snapshot(benchmark::State& state)
{
    Tquendralauswfrm* window = OverallSession::window();
    const QImage picture = capturedPicture(window);
    if (picture.format() != QImage::Format_RGB32 || picture.size() != QSize(808, 519)) {
        state.SkipWithError("the overall window gave no 808 x 519 picture");
        return;
    }
    Sample captureEncode;
    Sample bare;
    const std::vector<std::function<bool()>> steps{
        [&] {
            const Stopwatch stopwatch;
            CaptureForegroundWindow(window->Image1Bitmap, 100);
            const QByteArray jpeg = encodeJpeg(window->Image1Bitmap, 90);
            captureEncode = stopwatch.elapsed();
            return isSnapshot(window->Image1Bitmap, jpeg);
        },
        [&] {
            const Stopwatch stopwatch;
            const QByteArray jpeg = encodeWithLibjpeg(picture);
            bare = stopwatch.elapsed();
            return !jpeg.isEmpty();
        },
    };
    std::size_t turn = 0;
    for (auto _ : state) {
        if (QApplication::activeWindow() != window && !bringToFront(window)) {
            state.SkipWithError("the overall window is no longer in front");
            break;
        }
        if (!runInTurn(turn++, steps)) {
            state.SkipWithError("the snapshot is not an 808 x 519 JPEG picture");
            break;
        }
        record(state, "snapshot", captureEncode);
        SampleTable::instance().add("snapshot_floor", bare);
    }
}

// --- 4. Start-up in a fresh process -------------------------------------------------------

// Each sample starts the program's probe and the bare Qt floor, each in a fresh process,
// in turn.
void startup(benchmark::State& state)
{
    const auto beside = [](const char* name) {
        const QString path = QCoreApplication::applicationDirPath() + u'/' + QLatin1String(name);
        return QFile::encodeName(path).toStdString();
    };
    const std::string probe = beside("quendral_startup_probe");
    const std::string floor = beside("qt_startup_floor");
    if (::access(probe.c_str(), X_OK) != 0 || ::access(floor.c_str(), X_OK) != 0) {
        state.SkipWithError("the start-up probes are not beside the benchmark");
        return;
    }
    std::optional<StartupTimes> product;
    const auto child = [&](const std::string& path, const std::string& key) {
        return [&, path, key] {
            const std::optional<StartupTimes> times = timeStartup(path);
            if (!times)
                return false;
            if (key == "startup")
                product = times;
            else
                SampleTable::instance().add(key, times->toActivation);
            SampleTable::instance().add(key + "@paint", times->toPaint);
            SampleTable::instance().addPeakMemory(key, times->peakKilobytes);
            return true;
        };
    };
    const std::vector<std::function<bool()>> steps{
        child(probe, "startup"), child(floor, "startup_floor")};
    std::size_t turn = 0;
    for (auto _ : state) {
        if (!runInTurn(turn++, steps)) {
            state.SkipWithError("a start-up probe did not report");
            break;
        }
        record(state, "startup", product->toActivation);
    }
}

// --- Registration, table ------------------------------------------------------------------

void addFigure(const std::string& name, std::function<void(benchmark::State&)> run, int samples)
{
    benchmark::RegisterBenchmark(name.c_str(), std::move(run))
        ->Iterations(1)
        ->Repetitions(sampleOverride > 0 ? sampleOverride : samples)
        ->ReportAggregatesOnly(true)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
}

std::vector<TableRow> registerFigures()
{
    std::vector<TableRow> rows;
    for (int block = 1; block <= 6; ++block) {
        const ReviewCatalogue& catalogue = reviewCatalogue(block);
        const std::string n = std::to_string(block);
        addFigure(
            "review/" + n, [block](benchmark::State& s) { reviewWindowUp(s, block); }, 41);
        rows.push_back({"review window " + n + " up (" + std::to_string(catalogue.optionCount())
                + " boxes, " + std::to_string(catalogue.questionCount()) + " labels)",
            "review/" + n, "review_floor/" + n, 1.5, 0.016});
    }

    addFigure("detailed_evaluation", detailedEvaluation, 15);
    rows.push_back({"detailed evaluation, blocks 1-6", "detailed", "", 0, 0});

    addFigure("snapshot", snapshot, 51);
    rows.push_back({"snapshot: capture + JPEG 808x519", "snapshot", "snapshot_floor", 1.2, 0});

    addFigure("startup", startup, 21);
    rows.push_back({"start-up to first activation", "startup", "startup_floor", 1.3, 0});
    rows.push_back(
        {"start-up to first frame painted", "startup@paint", "startup_floor@paint", 0, 0});
    return rows;
}

// The default offscreen screen (800 x 800) is smaller than the overall window and the tall
// review windows, which would then lie partly off the screen, unlike on any screen the
// tool is used on. A 1280 x 1024 screen at 96 dpi, as the X11 tests use, holds them all.
// Start-up children inherit the setting.
std::string useLargeOffscreenScreen()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && platform != "offscreen")
        return {};
    char path[] = "/tmp/quendral-bench-screen-XXXXXX.json";
    const int fd = ::mkstemps(path, 5);
    if (fd < 0)
        return {};
    const char config[] = R"({"screens": [{"name": "OffscreenScreen", "x": 0, "y": 0,)"
                          R"( "width": 1280, "height": 1024, "logicalDpi": 96,)"
                          R"( "logicalBaseDpi": 96, "dpr": 1}]})";
    const bool written = ::write(fd, config, sizeof config - 1) == ssize_t(sizeof config - 1);
    ::close(fd);
    if (!written) {
        std::remove(path);
        return {};
    }
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + path);
    return path;
}

QtMessageHandler standardMessages = nullptr;

// The offscreen platform warns for every window it cannot give size hints to.
void dropSizeHintWarnings(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (!text.contains(QLatin1String("propagateSizeHints")))
        standardMessages(type, context, text);
}

}  // namespace

int main(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--samples=", 10) == 0) {
            sampleOverride = std::atoi(argv[i] + 10);
            for (int j = i; j < argc; ++j)
                argv[j] = argv[j + 1];
            --argc;
            --i;
        }
    }
    const std::string screenConfig = useLargeOffscreenScreen();
    standardMessages = qInstallMessageHandler(dropSizeHintWarnings);

    // The application as the program's start-up prepares it.
    QApplication application(argc, argv);
    prepareApplication(application);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    const std::vector<TableRow> rows = registerFigures();
    benchmark::RunSpecifiedBenchmarks();

    std::cout
        << "\nOn the offscreen platform, a quick check (bench/run.sh also prints the real-screen\n"
           "table, which is what the user waits for):";
    SampleTable::instance().print(std::cout, rows);
    std::cout
        << "median, floor: medians of n single events (wall clock); ratio = median / floor;\n"
           "cpu, cpu floor, cpu r: the same for the CPU time of the whole process (its\n"
           "worker threads included), which other load on the machine does not inflate;\n"
           "first: the run's first sample (cold: fonts, styles, logo, icons not loaded yet).\n"
           "Review windows: constructor to section written and first frame painted.\n"
           "Start-up: from just before the process is created, so process creation, library\n"
           "loading and the platform plugin are included; its floor is bare Qt showing one\n"
           "window of the same size with one line of text.\n"
           "Figures and their floors alternate within each sample; Google Benchmark's lines\n"
           "above time the figure, but their CPU column counts the whole sample.\n";
    std::cout.flush();

    OverallSession::end();
    quendralauswfrm = nullptr;
    benchmark::Shutdown();
    if (!screenConfig.empty())
        std::remove(screenConfig.c_str());
    return 0;
}
