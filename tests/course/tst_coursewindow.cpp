// The course window on the offscreen platform with a real course folder: its three tables
// against the real quendral-batch on the same folder, live changes through the folder
// watch, a participant's review window, the notes, the item map, and loads cancelled
// half-way.

#include "CourseTestSupport.h"
#include "ModalDriver.h"

#include "AbilityCourse.h"
#include "AnswerRecords.h"
#include "Application.h"
#include "BlockScore.h"
#include "CourseCharts.h"
#include "CourseLoader.h"
#include "CourseTableModel.h"
#include "CourseWindow.h"
#include "ItemAnalysis.h"
#include "ItemMapView.h"
#include "ReviewWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QScatterSeries>
#include <QSemaphore>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QThreadPool>
#include <QToolTip>
#include <QUrl>

#include <memory>
#include <utility>

using namespace quendral;
using namespace quendral::course;
using namespace quendral::test;
using quendral::model::abilityCourse;

namespace {

// The option whose agreement falls with the participants' ability: 6.1c.
constexpr std::size_t kReversed = 381 + 2;
constexpr int kParticipants = 14;
constexpr int kPointsColumn = 7;  // "Punkte"
constexpr int kWithinASecond = 1000;

const QColor kRed(255, 0, 0);
const QColor kBlack(0, 0, 0);

// Fourteen participants of the ability model on blocks 1, 2, 4 and 6, one who worked no
// block, a file too short to be a record, and a file that is no answer file.
void writeFixtureCourse(const TestCourse& course)
{
    course.writeCourse(abilityCourse(kParticipants, {1, 2, 4, 6}, {kReversed}, 11));
    course.write(QStringLiteral("leer.dat"), AnswerRecord{});
    course.write(QStringLiteral("kurz.dat"), sampleParticipant(), 200);
    QFile notes(course.file(QStringLiteral("notizen.txt")));
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.write("Kurs vom Montag\n");
}

template <class T> T* child(const QWidget& window, const char* name)
{
    T* widget = window.findChild<T*>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no %s", name);
    return widget;
}

QTableView* participantsView(const CourseWindow& window)
{
    return child<QTableView>(window, "participants");
}

QString pathOfRow(const QTableView* view, int row)
{
    return view->model()->index(row, 0).data().toString();
}

int rowOfPath(const QTableView* view, const QString& path)
{
    for (int row = 0; row < view->model()->rowCount(); ++row) {
        if (pathOfRow(view, row) == path)
            return row;
    }
    return -1;
}

QStringList unreadableLines(const CourseWindow& window)
{
    QStringList lines;
    const auto* list = child<QListWidget>(window, "unreadable");
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

// The batch tool's three tables of the folder as it is now, in the window's three views.
struct BatchTables {
    QList<QStringList> participants;
    QList<QStringList> blocks;
    QList<QStringList> items;
};

BatchTables batchTables(const QString& folder)
{
    const QTemporaryDir out;
    const BatchRun run = runBatch({QStringLiteral("-o"), out.filePath(QStringLiteral("e.csv")),
        QStringLiteral("--items"), out.filePath(QStringLiteral("i.csv")),
        QStringLiteral("--blocks"), out.filePath(QStringLiteral("b.csv")), folder});
    auto read = [&](const char* name) {
        QFile file(out.filePath(QString::fromLatin1(name)));
        return file.open(QIODevice::ReadOnly) ? csvRows(file.readAll()) : QList<QStringList>{};
    };
    return {read("e.csv"), read("b.csv"), read("i.csv")};
}

template <class List> List sortedCopy(List list)
{
    std::sort(list.begin(), list.end());
    return list;
}

// The window shows what the batch tool makes of the folder: the same rows, in whatever
// order the user sorted them.
bool showsTables(const CourseWindow& window, const BatchTables& expected)
{
    return sortedCopy(shownRows(participantsView(window))) == sortedCopy(expected.participants)
        && shownRows(child<QTableView>(window, "blocks")) == expected.blocks
        && sortedCopy(shownRows(child<QTableView>(window, "items"))) == sortedCopy(expected.items);
}

// Answers the block choice and the review window, and notes what the review window showed.
struct ReviewSeen {
    QStringList entries;
    QString caption;
    int boxes = 0;
    int mismatches = 0;  // boxes whose tick or colour is not the participant's
};

class CourseWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void tablesEqualTheBatchTools_data();
    void tablesEqualTheBatchTools();
    void captionSummaryAndUnreadableFiles();
    void liveChangeKeepsSortAndSelection_data();
    void liveChangeKeepsSortAndSelection();
    void halfWrittenFileLoadsWhenComplete();
    void reviewWindowShowsTheParticipantAndWritesNothing();
    void participantWithoutWorkedBlocks();
    void notesAreMarkedByColourAndText();
    void itemMapPointShowsAndSelectsItsOption();
    void cancelledLoadLeavesTheWindowConsistent_data();
    void cancelledLoadLeavesTheWindowConsistent();
    void droppedFolderIsOpened();
    void pathThatIsNoFolderIsRefused();

private:
    void openFixture();

    std::unique_ptr<TestCourse> course_;
    std::unique_ptr<CourseWindow> window_;
};

void CourseWindowTest::init()
{
    course_ = std::make_unique<TestCourse>();
    writeFixtureCourse(*course_);
    window_ = std::make_unique<CourseWindow>();
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
}

void CourseWindowTest::cleanup()
{
    window_.reset();
    course_.reset();
}

void CourseWindowTest::openFixture()
{
    window_->openFolder(course_->path());
    QVERIFY(waitForCourse(*window_, course_->path(), kParticipants + 1));
}

void CourseWindowTest::tablesEqualTheBatchTools_data()
{
    QTest::addColumn<QString>("view");
    QTest::addColumn<QString>("option");
    QTest::newRow("Teilnehmer") << "participants"
                                << "-o";
    QTest::newRow("Bloecke") << "blocks"
                             << "--blocks";
    QTest::newRow("Fragen") << "items"
                            << "--items";
}

void CourseWindowTest::tablesEqualTheBatchTools()
{
    QFETCH(QString, view);
    QFETCH(QString, option);
    openFixture();
    const QTemporaryDir out;
    const QString table = out.filePath(QStringLiteral("table.csv"));
    QStringList arguments{option, table, course_->path()};
    if (option != QLatin1String("-o"))
        arguments.prepend(QStringLiteral("/dev/null")), arguments.prepend(QStringLiteral("-o"));
    const BatchRun run = runBatch(arguments);
    QCOMPARE(run.exitCode, 1);  // kurz.dat does not load
    QFile file(table);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QStringList> expected = csvRows(file.readAll());
    QVERIFY(expected.size() > 1);
    // The window's own order at first is the table's order.
    QCOMPARE(shownRows(window_->findChild<QTableView*>(view)), expected);
}

void CourseWindowTest::captionSummaryAndUnreadableFiles()
{
    QCOMPARE(window_->windowTitle(), QStringLiteral("Quendral Kursauswertung"));
    openFixture();
    QCOMPARE(window_->windowTitle(), QStringLiteral("Quendral Kursauswertung – kurs"));
    QCOMPARE(unreadableLines(*window_),
        QStringList{
            course_->file(QStringLiteral("kurz.dat")) + QStringLiteral(" (kürzer als 395 Bytes)")});
    QCOMPARE(child<QLabel>(*window_, "summary")->text(),
        QStringLiteral("15 Teilnehmer · 1 nicht lesbar"));
    const auto* tabs = child<QTabWidget>(*window_, "tabs");
    QStringList titles;
    for (int i = 0; i < tabs->count(); ++i)
        titles << tabs->tabText(i).remove(QLatin1Char('&'));
    QCOMPARE(titles, (QStringList{"Teilnehmer", "Blöcke", "Fragen", "Itemkarte"}));
}

void CourseWindowTest::liveChangeKeepsSortAndSelection_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("participants");
    for (const char* change : {"added", "replaced-by-rename", "replaced-in-place", "removed"})
        QTest::newRow(change) << change
                              << kParticipants + 1 + (QByteArray(change) == "added")
                - (QByteArray(change) == "removed");
}

void CourseWindowTest::liveChangeKeepsSortAndSelection()
{
    QFETCH(QString, change);
    QFETCH(int, participants);
    openFixture();
    QTableView* view = participantsView(*window_);
    view->sortByColumn(kPointsColumn, Qt::DescendingOrder);
    const QString selected = course_->file(QStringLiteral("participant05.dat"));
    view->selectRow(rowOfPath(view, selected));
    QCOMPARE(view->selectionModel()->selectedRows().size(), 1);

    AnswerRecord everythingRight;
    for (int block : {1, 2, 4, 6})
        fillBlock(everythingRight, block, Fill::Key);
    setDone(everythingRight, {1, 2, 4, 6});
    const QString changed = QStringLiteral("participant03.dat");
    QElapsedTimer clock;
    clock.start();
    if (change == QLatin1String("added"))
        course_->write(QStringLiteral("participant99.dat"), everythingRight);
    else if (change == QLatin1String("replaced-by-rename"))
        course_->replace(changed, everythingRight);
    else if (change == QLatin1String("replaced-in-place"))
        course_->write(changed, everythingRight);
    else
        QVERIFY(QFile::remove(course_->file(changed)));

    const BatchTables expected = batchTables(course_->path());
    QCOMPARE(expected.participants.size(), participants + 1);
    QVERIFY2(QTest::qWaitFor([&] { return showsTables(*window_, expected); },
                 int(std::max<qint64>(kWithinASecond - clock.elapsed(), 0))),
        "the tabs are not updated within a second");
    qInfo("updated after %lld ms", static_cast<long long>(clock.elapsed()));

    QCOMPARE(view->horizontalHeader()->sortIndicatorSection(), kPointsColumn);
    QCOMPARE(view->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
    for (int row = 1; row < view->model()->rowCount(); ++row)
        QVERIFY(view->model()->index(row - 1, kPointsColumn).data().toInt()
            >= view->model()->index(row, kPointsColumn).data().toInt());
    const QModelIndexList rows = view->selectionModel()->selectedRows();
    QCOMPARE(rows.size(), 1);
    QCOMPARE(pathOfRow(view, rows.first().row()), selected);
    QCOMPARE(pathOfRow(view, view->currentIndex().row()), selected);
}

void CourseWindowTest::halfWrittenFileLoadsWhenComplete()
{
    openFixture();
    const AnswerRecord late = sampleParticipant();
    const QString path = course_->write(QStringLiteral("spaet.dat"), late, 150);
    const QString note = path + QStringLiteral(" (kürzer als 395 Bytes)");
    QTRY_VERIFY_WITH_TIMEOUT(unreadableLines(*window_).contains(note), kWithinASecond);
    QVERIFY(waitForCourse(*window_, course_->path(), kParticipants + 1));

    // The rest is written into the same file, as the questionnaire program goes on writing.
    QFile file(path);
    QVERIFY(file.open(QIODevice::Append));
    file.write(reinterpret_cast<const char*>(late.bytes.data()) + 150, 395 - 150);
    file.close();
    QTRY_VERIFY_WITH_TIMEOUT(!unreadableLines(*window_).contains(note), kWithinASecond);
    QVERIFY(waitForCourse(*window_, course_->path(), kParticipants + 2));
    const QTableView* view = participantsView(*window_);
    const int row = rowOfPath(view, path);
    QVERIFY(row >= 0);
    QCOMPARE(view->model()->index(row, kPointsColumn).data().toString(), QStringLiteral("211"));
}

void CourseWindowTest::reviewWindowShowsTheParticipantAndWritesNothing()
{
    openFixture();
    QTableView* view = participantsView(*window_);
    const QString path = course_->file(QStringLiteral("participant07.dat"));
    const std::size_t courseRow = std::size_t(
        std::find(window_->view()->course.paths.begin(), window_->view()->course.paths.end(),
            QFile::encodeName(path).toStdString())
        - window_->view()->course.paths.begin());
    const AnswerRecord record = window_->view()->course.records.at(courseRow);
    const QStringList before = course_->snapshot();

    ReviewSeen seen;
    ModalDriver driver;
    driver
        .then([&](QWidget* modal) {
            for (const QAction* action : static_cast<QMenu*>(modal)->actions())
                seen.entries << action->text();
            chooseMenuEntry(QStringLiteral("&2 Projektstart"))(modal);
        })
        .then([&](QWidget* modal) {
            auto* review = qobject_cast<ReviewWindow*>(modal);
            QVERIFY(review);
            seen.caption = review->windowTitle();
            const ReviewCatalogue& catalogue = review->catalogue();
            for (int n = 1; n <= catalogue.optionCount(); ++n, ++seen.boxes) {
                const auto byte = std::size_t(catalogue.box(n).byte);
                const QCheckBox* box = review->optionBox(n);
                const QColor colour = agreesWithKey(record, byte) ? kBlack : kRed;
                if (box->isChecked() != record.isTicked(byte)
                    || box->palette().color(QPalette::WindowText) != colour)
                    ++seen.mismatches;
            }
            QTest::keyClick(review, Qt::Key_Return);  // "S&chließen" is the default button
        });
    view->setFocus();
    view->setCurrentIndex(view->model()->index(rowOfPath(view, path), 0));
    QTest::keyClick(view, Qt::Key_Return);
    QVERIFY(driver.waitUntil(
        [&] { return driver.allStepsRun() && !QApplication::activeModalWidget(); }));

    QCOMPARE(driver.seen(), (QStringList{"QMenu", "quendral::ReviewWindow"}));
    QCOMPARE(seen.entries,
        (QStringList{QStringLiteral("participant07.dat"), "&1 Über- und Einblick",
            "&2 Projektstart", "&4 Projektsteuerung", "&6 PM-SW-Werkzeuge"}));
    QCOMPARE(seen.caption, QStringLiteral("Wiederholungsfragen zu Kapitel 2: Projektstart"));
    QCOMPARE(seen.boxes, 148);
    QCOMPARE(seen.mismatches, 0);
    QCOMPARE(course_->snapshot(), before);
    QVERIFY(window_->isVisible());
}

void CourseWindowTest::participantWithoutWorkedBlocks()
{
    openFixture();
    QTableView* view = participantsView(*window_);
    const QString path = course_->file(QStringLiteral("leer.dat"));
    ModalDriver driver;
    driver.then(pressButton(QStringLiteral("OK")));
    view->setFocus();
    view->setCurrentIndex(view->model()->index(rowOfPath(view, path), 0));
    QTest::keyClick(view, Qt::Key_Return);
    QVERIFY(driver.waitUntil(
        [&] { return driver.allStepsRun() && !QApplication::activeModalWidget(); }));
    QCOMPARE(driver.seen(),
        QStringList{QStringLiteral("QMessageBox:„%1“ hat keinen Block bearbeitet.").arg(path)});
}

void CourseWindowTest::notesAreMarkedByColourAndText()
{
    openFixture();
    using C = batch::ItemAnalysis::ColumnIndex;
    const BatchTables expected = batchTables(course_->path());
    QList<QStringList> withNotes{expected.items.first()};
    for (const QStringList& row : expected.items.mid(1)) {
        if (!row[C::kNotes].isEmpty())
            withNotes << row;
    }
    QVERIFY(withNotes.size() > 1);

    auto* only = child<QCheckBox>(*window_, "notesOnly");
    QCOMPARE(only->text(), QStringLiteral("nur &Hinweise"));
    // By keyboard: the tab, then the switch.
    QTest::keyClick(window_.get(), Qt::Key_F, Qt::AltModifier);
    QCOMPARE(child<QTabWidget>(*window_, "tabs")->currentIndex(), 2);
    QTest::keyClick(window_.get(), Qt::Key_H, Qt::AltModifier);
    QTRY_VERIFY(only->isChecked());  // a mnemonic clicks the button a moment later
    const QTableView* items = child<QTableView>(*window_, "items");
    QCOMPARE(shownRows(items), withNotes);

    // Every note stands as text in its row, and its row has a colour as well.
    bool checkKeySeen = false;
    for (int row = 0; row < items->model()->rowCount(); ++row) {
        const QModelIndex notes = items->model()->index(row, C::kNotes);
        const QColor background = notes.data(Qt::BackgroundRole).value<QColor>();
        QVERIFY(background.isValid());
        const bool checkKey = notes.data().toString().contains(QStringLiteral("Schlüssel prüfen"));
        QCOMPARE(background == QColor(255, 214, 214), checkKey);
        if (checkKey && items->model()->index(row, C::kBlock).data() == 6
            && items->model()->index(row, C::kQuestion).data() == 1
            && items->model()->index(row, C::kOption).data() == QStringLiteral("c"))
            checkKeySeen = true;
    }
    QVERIFY2(checkKeySeen, "the reversed option 6.1c has no note to check the key");

    QTest::keyClick(window_.get(), Qt::Key_H, Qt::AltModifier);
    QTRY_COMPARE(items->model()->rowCount(), 348);
}

void CourseWindowTest::itemMapPointShowsAndSelectsItsOption()
{
    openFixture();
    auto* tabs = child<QTabWidget>(*window_, "tabs");
    QTest::keyClick(window_.get(), Qt::Key_I, Qt::AltModifier);
    QCOMPARE(tabs->currentIndex(), 3);
    auto* map = child<ItemMapView>(*window_, "itemMap");
    QVERIFY(map->itemMap());
    QTRY_VERIFY(!map->itemMap()->plotArea().isEmpty());
    const QScatterSeries* checkKey = map->itemMap()->checkKey();
    QVERIFY(checkKey->count() > 0);
    int index = -1;
    for (int i = 0; i < checkKey->count(); ++i) {
        if (map->itemMap()->optionAt(checkKey, i) == kReversed)
            index = i;
    }
    QVERIFY2(index >= 0, "6.1c is not among the options marked to check the key");
    const QPointF scene = map->itemMap()->mapToScene(
        map->itemMap()->mapToPosition(checkKey->at(index), const_cast<QScatterSeries*>(checkKey)));
    const QPoint at = map->mapFromScene(scene);

    // What the mouse over the point shows (the offscreen platform sends no hover).
    const QString tip = map->describe(map->optionsAt(checkKey, checkKey->at(index)));
    QVERIFY2(tip.startsWith(QStringLiteral("6.1c: 1. Beschreiben Sie einen modernen "
                                           "DV-Arbeitsplatz einer Projektleitung – ")),
        qPrintable(tip));

    QTest::mouseClick(map->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(tabs->currentIndex(), 2);
    const QTableView* items = child<QTableView>(*window_, "items");
    const QModelIndex current = items->currentIndex();
    QCOMPARE(items->model()->index(current.row(), 0).data().toInt(), 6);
    QCOMPARE(items->model()->index(current.row(), 1).data().toInt(), 1);
    QCOMPARE(items->model()->index(current.row(), 2).data().toString(), QStringLiteral("c"));
    QCOMPARE(items->selectionModel()->selectedRows().size(), 1);
}

void CourseWindowTest::cancelledLoadLeavesTheWindowConsistent_data()
{
    QTest::addColumn<bool>("courseShown");
    QTest::newRow("another-course-shown") << true;
    QTest::newRow("first-folder") << false;
}

void CourseWindowTest::cancelledLoadLeavesTheWindowConsistent()
{
    QFETCH(bool, courseShown);
    if (courseShown)
        openFixture();
    const QString captionBefore = window_->windowTitle();
    const QList<QStringList> rowsBefore = shownRows(participantsView(*window_));
    const TestCourse other;
    other.writeCourse(abilityCourse(3, {1}, {}, 5));

    // The load waits behind a task that holds the loader's thread, as behind a slow disk.
    struct HeldPool {
        QThreadPool* pool;
        QSemaphore gate;
        bool held = true;
        explicit HeldPool(QThreadPool* threads) : pool(threads)
        {
            pool->start([this] { gate.acquire(); });
        }
        // Also when the test fails half-way: the window's end waits for its load.
        ~HeldPool() { release(); }
        void release()
        {
            if (!std::exchange(held, false))
                return;
            gate.release();
        }
    } pool(window_->loader()->threads());
    QElapsedTimer clock;
    clock.start();
    window_->openFolder(other.path());

    auto* progress = child<QProgressBar>(*window_, "progress");
    auto* cancel = child<QPushButton>(*window_, "cancelLoad");
    QVERIFY(!progress->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(cancel->isVisible(), 5000);
    QVERIFY(clock.elapsed() >= CourseWindow::kProgressDelayMs);
    QVERIFY(progress->isVisible());
    QTest::mouseClick(cancel, Qt::LeftButton);
    pool.release();
    QTRY_VERIFY_WITH_TIMEOUT(!window_->loader()->busy(), kLoadTimeoutMs);

    QCOMPARE(window_->windowTitle(), captionBefore);
    QCOMPARE(shownRows(participantsView(*window_)), rowsBefore);
    QVERIFY(!progress->isVisible());
    QVERIFY(!cancel->isVisible());
    QCOMPARE(window_->statusBar()->currentMessage(),
        QStringLiteral("Laden von „%1“ abgebrochen").arg(other.path()));
    if (!courseShown) {
        QVERIFY(!window_->view());
        QCOMPARE(
            child<QLabel>(*window_, "summary")->text(), QStringLiteral("Kein Ordner geöffnet"));
        return;
    }
    QCOMPARE(window_->view()->folder, course_->path());
    QCOMPARE(child<QLabel>(*window_, "summary")->text(),
        QStringLiteral("15 Teilnehmer · 1 nicht lesbar"));
    // The course shown is still live.
    course_->write(QStringLiteral("neu.dat"), sampleParticipant());
    QVERIFY(waitForCourse(*window_, course_->path(), kParticipants + 2));
}

void CourseWindowTest::droppedFolderIsOpened()
{
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(course_->file(QStringLiteral("participant01.dat")))});
    QDragEnterEvent fileEnter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(window_.get(), &fileEnter);
    QVERIFY(!fileEnter.isAccepted());

    data.setUrls({QUrl::fromLocalFile(course_->path())});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(window_.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(window_.get(), &drop);
    QVERIFY(waitForCourse(*window_, course_->path(), kParticipants + 1));
}

void CourseWindowTest::pathThatIsNoFolderIsRefused()
{
    const QString file = course_->file(QStringLiteral("participant01.dat"));
    ModalDriver driver;
    driver.then(pressButton(QStringLiteral("OK")));
    window_->openFolder(file);
    QCOMPARE(
        driver.seen(), QStringList{QStringLiteral("QMessageBox:„%1“ ist kein Ordner.").arg(file)});
    QVERIFY(!window_->loader()->busy());
    QVERIFY(!window_->view());
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    prepareApplication(application);
    CourseWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_coursewindow.moc"
