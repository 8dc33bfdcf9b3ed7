// The detailed evaluation on the offscreen platform: "&Einzelauswertung" of the overall
// window, the report beside the answer file, the block menu and the review windows it
// opens. Message boxes, the menu and the review windows are the real ones, answered by
// the test; the report is a real file in a temporary folder.

#include "FileSizeLimit.h"
#include "ModalDriver.h"
#include "TestRecords.h"

#include "Application.h"
#include "BitBtn.h"
#include "QuendralAusw.h"
#include "QuendralGLOBAL.h"
#include "Quendralauswmenu.h"
#include "ReviewWindow.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QTest>

#include <cerrno>
#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quendral;
using namespace quendral::test;

class DetailEvaluationTest : public QObject {
    Q_OBJECT

private slots:
    void init() { resetProgramState(); }

    void reportNameAndMessage_data();
    void reportNameAndMessage();
    void reportCannotBeCreated_data();
    void reportCannotBeCreated();
    void headerWriteFailureShowsError();
    void noBlockWorked();
    void secondUseReplacesReport();
    void menuDesign();
    void focusAfterReview_data();
    void focusAfterReview();
    void escapeKey_data();
    void escapeKey();
    void closingTheMenu_data();
    void closingTheMenu();
    void blockReviewedTwice();
    void sampleParticipant();
    void oneSectionPerShowing_data();
    void oneSectionPerShowing();
    void sectionWriteFailureShownOnce();
};

namespace {

const QString kReportMessage = QStringLiteral(
    "Detaillierte Hinweise zu nochmals zu bedenkende Fragen finden Sie in der Datei ");

const QByteArray kHeader = "Folgende Fragen sind bitte nochmals zu bedenken.\r\n"
                           "Gehen Sie bitte den Quendral anhand dieser Auflistung\r\n"
                           "nochmal durch.\r\n"
                           "\r\n";

QByteArray crlfLines(std::initializer_list<const char*> lines)
{
    QByteArray bytes;
    for (const char* line : lines)
        bytes += QByteArray(line) + "\r\n";
    return bytes;
}

// Block 1's section when none of its options is ticked, in Windows-1252.
const QByteArray kBlock1NothingTicked = crlfLines({
    "Fragen zu Kapitel 1: \xDC"
    "ber- und Einblick",
    "1. Was haben Projekte gemeinsam?",
    "Antwort a",
    "Antwort c",
    "Antwort d",
    "",
    "2. Was ist Projektmanagement?",
    "Antwort b",
    "Antwort c",
    "",
    "3. Was kostet PM?",
    "Antwort c",
    "",
    "4. Wie k\xF6nnen Sie PM-Kosten sparen?",
    "Antwort b",
    "Antwort c",
    "Antwort d",
    "",
    "5. Was sind die Erfolgsfaktoren f\xFCr Projektarbeit aus der Praxis?",
    "Antwort a",
    "Antwort b",
    "Antwort c",
    "Antwort d",
    "",
    "6. Welche Prozesse im Projekt kennen Sie?",
    "Antwort a",
    "Antwort b",
    "Antwort c",
    "Antwort d",
    "",
    "7. Welche Arten von Projekten haben wir Ihnen vorgestellt?",
    "Antwort a",
    "Antwort c",
    "Antwort d",
    "",
    "8. Welche Nutzenpotentiale gibt es durch Projektarbeit?",
    "Antwort a",
    "Antwort b",
    "Antwort c",
    "Antwort d",
    "",
    "9. Was sind hard facts aus der Projektarbeit?",
    "Antwort b",
    "Antwort c",
    "",
    "10. Was sind soft facts aus der Projektarbeit?",
    "Antwort a",
    "Antwort b",
    "Antwort c",
    "Antwort d",
    "",
});

const QByteArray kBlock6NothingTicked = crlfLines({
    "Fragen zu Kapitel 6: PM-Software-Werkzeuge",
    "1. Beschreiben Sie einen modernen DV-Arbeitsplatz einer Projektleitung",
    "Antwort a",
    "Antwort b",
    "Antwort c",
    "Antwort d",
    "",
    "2. Wie sollte die Ablage des Projektes gegliedert sein?",
    "Antwort a",
    "Antwort b",
    "Antwort c",
    "",
});

const QStringList kBlockNames{"Über- und Einblick", "Projektstart", "Projektplanung",
    "Projektsteuerung", "Projektabschluss", "PM-SW-Werkzeuge"};

const QString kReview1 = QStringLiteral("quendral::Tquendral1auswfrm");
const QString kMenu = QStringLiteral("quendral::Tquendralauswmenufrm");

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

AnswerRecord workedBlocks(const QList<int>& blocks)
{
    AnswerRecord record;
    for (int block : blocks)
        record.bytes[kDoneFlagBase + static_cast<std::size_t>(block)] = 1;
    return record;
}

// A user's click: the button takes the focus, then reacts on release.
void userClick(QWidget* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

// Runs `step` on the block menu, then closes it with "S&chließen" unless the step did.
ModalDriver::Step onMenu(std::function<void(Tquendralauswmenufrm&)> step)
{
    return [step](QWidget* modal) {
        auto* menu = qobject_cast<Tquendralauswmenufrm*>(modal);
        if (!menu) {
            qWarning("expected the block menu, got %s", modal->metaObject()->className());
            modal->close();
            return;
        }
        step(*menu);
        if (menu->isVisible())
            userClick(menu->BitBtn1);
    };
}

struct BoxLook {
    QString caption;
    QMessageBox::Icon icon = QMessageBox::Question;  // not used by the program's boxes
};

// Notes the caption and icon of a message box and confirms it; anything else is closed.
ModalDriver::Step answerMessage(BoxLook& look)
{
    return [&look](QWidget* modal) {
        if (QMessageBox* box = asMessageBox(modal)) {
            look = {box->windowTitle(), box->icon()};
            pressButton(QStringLiteral("OK"))(modal);
        } else {
            modal->close();
        }
    };
}

// Closes a review window once it is up, that is activated and its section written.
ModalDriver::Step closeReview()
{
    return [](QWidget* modal) {
        auto* review = qobject_cast<ReviewWindow*>(modal);
        if (!review) {
            qWarning("expected a review window, got %s", modal->metaObject()->className());
            modal->close();
            return;
        }
        if (!QTest::qWaitFor([review] { return review->isActiveWindow(); }))
            qWarning("the review window was never activated");
        userClick(review->closeButton());
    };
}

// Counts the activations of review windows while it exists.
class ReviewActivations : public QObject {
public:
    ReviewActivations() { QApplication::instance()->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::WindowActivate && qobject_cast<ReviewWindow*>(watched))
            ++count;
        return false;
    }
    int count = 0;
};

// The overall window after a successful start-up: the answer file chosen and loaded,
// the start-up dialogs done, the user about to press "&Einzelauswertung".
class Session {
public:
    // The answer file `answerName` (folders included) is written into `folder`.
    Session(const QTemporaryDir& folder, const AnswerRecord& record,
        const QString& answerName = QStringLiteral("Quendral.dat"))
        : dir(folder)
    {
        QDir(dir.path()).mkpath(QFileInfo(dir.filePath(answerName)).path());
        answerPath = writeRecordFile(dir, answerName, record);
        answerRecord = record;
        AnswerFile = QFile::encodeName(answerPath).toStdString();
        FirstActivation = 0;  // the window's constructor set it; start-up has run
        window.show();
        window.activateWindow();
        active = QTest::qWaitForWindowActive(&window);
        window.detail->setFocus();
    }

    // "&Einzelauswertung": the report message is confirmed, then `steps` answer what
    // comes up next (the menu, review windows, further messages).
    bool useDetail(ModalDriver& driver, QList<ModalDriver::Step> steps)
    {
        driver.then(pressButton(QStringLiteral("OK")));
        for (ModalDriver::Step& step : steps)
            driver.then(std::move(step));
        window.detailClick();
        return active && driver.allStepsRun() && !QApplication::activeModalWidget();
    }

    bool focusOnClose() const { return window.focusWidget() == window.button_ende; }
    QString path(const QString& name) const { return dir.filePath(name); }
    QByteArray report(const QString& name = QStringLiteral("Quendral-Detail.txt")) const
    {
        return readFile(path(name));
    }

    const QTemporaryDir& dir;
    QString answerPath;
    Tquendralauswfrm window;
    bool active = false;
};

}  // namespace

void DetailEvaluationTest::reportNameAndMessage_data()
{
    QTest::addColumn<QString>("answerName");  // relative to the temporary folder
    QTest::addColumn<QString>("reportName");
    QTest::newRow("plain") << "Quendral.dat"
                           << "Quendral-Detail.txt";
    QTest::newRow("dat-in-folder") << "kurs.dat2026/Quendral.dat"
                                   << "kurs.dat2026/Quendral-Detail.txt";
    QTest::newRow("upper-case") << "Quendral.DAT"
                                << "Quendral.DAT-Detail.txt";
    QTest::newRow("no-extension") << "Quendral"
                                  << "Quendral-Detail.txt";
    QTest::newRow("dat-inside-name") << "a.dat.bak"
                                     << "a-Detail.txt";
    QTest::newRow("umlaut-folder") << "Übung/Quendral.dat"
                                   << "Übung/Quendral-Detail.txt";
}

void DetailEvaluationTest::reportNameAndMessage()
{
    QFETCH(QString, answerName);
    QFETCH(QString, reportName);
    QTemporaryDir dir;
    Session session(dir, AnswerRecord{}, answerName);
    ModalDriver driver;
    QVERIFY(session.useDetail(driver, {onMenu([](Tquendralauswmenufrm&) {})}));
    QCOMPARE(driver.seen(),
        (QStringList{"QMessageBox:" + kReportMessage + session.path(reportName), kMenu}));
    QCOMPARE(session.report(reportName), kHeader);
    QCOMPARE(QDir(QFileInfo(session.answerPath).path()).entryList(QDir::Files).size(), 2);
}

enum class ReportObstacle {
    ReportNameIsFolder,
    FolderGone,
    LinkToAnswerFile,  // the report's name is a symbolic link to the answer file
    SecondNameOfAnswerFile,  // ... or a hard link, another name of the same file
    PipeNobodyReads,  // a named pipe: opening it must not wait for a reader
};
Q_DECLARE_METATYPE(ReportObstacle)

void DetailEvaluationTest::reportCannotBeCreated_data()
{
    QTest::addColumn<QString>("answerName");
    QTest::addColumn<QString>("reportName");
    QTest::addColumn<ReportObstacle>("obstacle");
    QTest::addColumn<int>("error");
    QTest::newRow("report-name-is-folder")
        << "Quendral.dat"
        << "Quendral-Detail.txt" << ReportObstacle::ReportNameIsFolder << EISDIR;
    QTest::newRow("folder-gone") << "weg/Quendral.dat"
                                 << "weg/Quendral-Detail.txt" << ReportObstacle::FolderGone
                                 << ENOENT;
    QTest::newRow("link-to-answer-file")
        << "Quendral.dat"
        << "Quendral-Detail.txt" << ReportObstacle::LinkToAnswerFile << EPERM;
    QTest::newRow("second-name-of-answer-file")
        << "Quendral.dat"
        << "Quendral-Detail.txt" << ReportObstacle::SecondNameOfAnswerFile << EPERM;
    QTest::newRow("pipe-nobody-reads")
        << "Quendral.dat"
        << "Quendral-Detail.txt" << ReportObstacle::PipeNobodyReads << ENXIO;
}

// The message names the error number; no menu comes up, the answer file keeps its bytes and
// nothing is left in the folder that was not there before.
void DetailEvaluationTest::reportCannotBeCreated()
{
    QFETCH(QString, answerName);
    QFETCH(QString, reportName);
    QFETCH(ReportObstacle, obstacle);
    QFETCH(int, error);
    QTemporaryDir dir;
    AnswerRecord record = workedBlocks({1, 2, 3, 4, 5, 6});
    record.bytes.fill(0x5A);
    Session session(dir, record, answerName);
    const QByteArray answers = readFile(session.answerPath);
    const QString report = session.path(reportName);
    switch (obstacle) {
    case ReportObstacle::ReportNameIsFolder:
        QVERIFY(QDir(dir.path()).mkdir(reportName));
        break;
    case ReportObstacle::FolderGone:
        QVERIFY(QFileInfo(session.answerPath).dir().removeRecursively());
        break;
    case ReportObstacle::LinkToAnswerFile:
        QVERIFY(QFile::link(QFileInfo(session.answerPath).fileName(), report));
        break;
    case ReportObstacle::SecondNameOfAnswerFile:
        QCOMPARE(::link(QFile::encodeName(session.answerPath), QFile::encodeName(report)), 0);
        break;
    case ReportObstacle::PipeNobodyReads:
        QCOMPARE(::mkfifo(QFile::encodeName(report), 0600), 0);
        break;
    }
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::System);
    ModalDriver driver;
    BoxLook look;
    QVERIFY(session.useDetail(driver, {answerMessage(look)}));
    QCOMPARE(driver.seen(),
        (QStringList{"QMessageBox:" + kReportMessage + report,
            "QMessageBox:Auswertdatei lässt sich nicht öffnen " + QString::number(error)}));
    QCOMPARE(look.caption, QStringLiteral("Quendral Tarvik"));
    QCOMPARE(look.icon, QMessageBox::NoIcon);
    QVERIFY(!ReportFile.isOpen());
    QVERIFY(session.focusOnClose());
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::System), before);
    if (obstacle != ReportObstacle::FolderGone)
        QCOMPARE(readFile(session.answerPath), answers);
}

void DetailEvaluationTest::headerWriteFailureShowsError()
{
    // The report opens, but every write to it fails as on a full disk.
    QTemporaryDir dir;
    Session session(dir, workedBlocks({1, 2, 3, 4, 5, 6}));
    QVERIFY(QFile::link(QStringLiteral("/dev/full"), session.path("Quendral-Detail.txt")));
    ModalDriver driver;
    BoxLook look;
    QVERIFY(session.useDetail(driver, {answerMessage(look)}));
    QCOMPARE(driver.seen(),
        (QStringList{"QMessageBox:" + kReportMessage + session.path("Quendral-Detail.txt"),
            "QMessageBox:E/A-Fehler 28"}));
    QCOMPARE(look.caption, QStringLiteral("Quendral Tarvik"));
    QCOMPARE(look.icon, QMessageBox::Critical);
    QVERIFY(!ReportFile.isOpen());
    QVERIFY(session.focusOnClose());
}

void DetailEvaluationTest::noBlockWorked()
{
    QTemporaryDir dir;
    Session session(dir, AnswerRecord{});
    ModalDriver driver;
    QList<bool> enabled;
    QVERIFY(session.useDetail(driver, {onMenu([&](Tquendralauswmenufrm& menu) {
        for (int block = 1; block <= 6; ++block)
            enabled << menu.blockButton(block)->isEnabled();
    })}));
    QCOMPARE(enabled, QList<bool>(6, false));
    QCOMPARE(session.report(), kHeader);
}

void DetailEvaluationTest::secondUseReplacesReport()
{
    QTemporaryDir dir;
    Session session(dir, workedBlocks({1}));
    ModalDriver driver;
    QVERIFY(session.useDetail(driver,
        {onMenu([](Tquendralauswmenufrm& menu) { userClick(menu.blockButton(1)); }),
            closeReview()}));
    QCOMPARE(session.report(), kHeader + kBlock1NothingTicked);

    BitBtn::Kind kind = BitBtn::Kind::OK;
    bool glyph = true;
    QVERIFY(session.useDetail(driver, {onMenu([&](Tquendralauswmenufrm& menu) {
        kind = menu.blockButton(1)->kind();
        glyph = !menu.blockButton(1)->icon().isNull();
    })}));
    QCOMPARE(kind, BitBtn::Kind::Custom);  // the new menu shows no tick
    QVERIFY(!glyph);
    QCOMPARE(session.report(), kHeader);
}

void DetailEvaluationTest::menuDesign()
{
    struct Button {
        QString text;
        QRect geometry;
        QString hint;
        bool cancel = false;
        bool isDefault = false;
        int modalResult = 0;
        bool operator==(const Button&) const = default;
    };
    const QString hint
        = QStringLiteral("Bearbeitete Frageblöcke sind durch ein Häkchen gekennzeichnet");
    const QList<Button> expected{
        {QStringLiteral("Über- und Einblick"), {40, 24, 129, 33}, hint, true, false, 7},
        {QStringLiteral("Projektstart"), {40, 72, 129, 33}, hint, false, true, 6},
        {QStringLiteral("Projektplanung"), {40, 120, 129, 33}, hint, false, true, 6},
        {QStringLiteral("Projektsteuerung"), {40, 168, 129, 33}, hint, false, true, 6},
        {QStringLiteral("Projektabschluss"), {40, 216, 129, 33}, hint, false, true, 6},
        {QStringLiteral("PM-SW-Werkzeuge"), {40, 264, 129, 33}, hint, false, true, 6},
    };

    QTemporaryDir dir;
    Session session(dir, workedBlocks({1, 2, 3, 4, 5, 6}));
    ModalDriver driver;
    QString title;
    QSize outer;
    QWidget* parent = nullptr;
    QList<Button> buttons;
    QList<bool> plain;  // enabled, no glyph yet
    QString closeText;
    QRect closeGeometry;
    bool closeFocused = false;
    bool closeGlyph = false;
    QStringList tabOrder;
    QRect logoBox;
    QSize logoSize;
    QVERIFY(session.useDetail(driver, {onMenu([&](Tquendralauswmenufrm& menu) {
        title = menu.windowTitle();
        outer = menu.frameGeometry().size();
        parent = menu.parentWidget();
        for (int block = 1; block <= 6; ++block) {
            const BitBtn* b = menu.blockButton(block);
            buttons.append({b->text(), b->geometry(), b->toolTip(), b->isCancel(),
                b->isDefaultFlag(), b->modalResult()});
            plain << (b->isEnabled() && b->icon().isNull() && b->kind() == BitBtn::Kind::Custom);
        }
        closeText = menu.BitBtn1->text();
        closeGeometry = menu.BitBtn1->geometry();
        closeFocused = QApplication::focusWidget() == menu.BitBtn1;
        closeGlyph = !menu.BitBtn1->icon().isNull();
        for (QWidget* w = menu.BitBtn1; tabOrder.size() < 7; w = w->nextInFocusChain()) {
            if (w->focusPolicy() & Qt::TabFocus)
                tabOrder << w->objectName();
        }
        logoBox = menu.Image1->geometry();
        logoSize = menu.Image1->pixmap().size();
    })}));

    QCOMPARE(title, QStringLiteral("Quendral Einzelauswertung Tarvik"));
    QCOMPARE(outer, QSize(474, 347));  // no frame on this platform
    QCOMPARE(parent, &session.window);
    QCOMPARE(buttons, expected);
    QCOMPARE(plain, QList<bool>(6, true));
    QCOMPARE(closeText, QStringLiteral("S&chließen"));
    QCOMPARE(closeGeometry, QRect(280, 256, 129, 33));
    QVERIFY(closeFocused);
    QVERIFY(closeGlyph);
    QCOMPARE(tabOrder,
        (QStringList{"BitBtn1", "button1", "button2", "button3", "button4", "button5", "button6"}));
    QCOMPARE(logoBox, QRect(288, 24, 129, 129));
    QVERIFY(!logoSize.isEmpty());
    QVERIFY(logoSize.width() <= 129 && logoSize.height() <= 129);
}

void DetailEvaluationTest::focusAfterReview_data()
{
    QTest::addColumn<QList<int>>("worked");
    QTest::addColumn<int>("block");
    QTest::addColumn<QString>("focus");
    QTest::newRow("1-next-greyed") << QList<int>{1, 3} << 1 << "button1";
    QTest::newRow("1-next-worked") << QList<int>{1, 2} << 1 << "button2";
    QTest::newRow("3-next-greyed") << QList<int>{1, 3} << 3 << "button3";
    QTest::newRow("3-next-worked") << QList<int>{1, 3, 4} << 3 << "button4";
    QTest::newRow("5-next-worked") << QList<int>{5, 6} << 5 << "button6";
    QTest::newRow("6-last") << QList<int>{6} << 6 << "BitBtn1";
}

void DetailEvaluationTest::focusAfterReview()
{
    QFETCH(QList<int>, worked);
    QFETCH(int, block);
    QFETCH(QString, focus);
    QTemporaryDir dir;
    Session session(dir, workedBlocks(worked));
    ModalDriver driver;
    struct Ticked {
        QString text;
        BitBtn::Kind kind = BitBtn::Kind::Custom;
        bool glyph = false;
        int modalResult = 0;
        bool isDefault = false;
        bool cancel = false;
        bool operator==(const Ticked&) const = default;
    } after;
    QString focused;
    bool stillOpen = false;
    QVERIFY(session.useDetail(driver,
        {onMenu([&](Tquendralauswmenufrm& menu) {
             BitBtn* button = menu.blockButton(block);
             userClick(button);
             stillOpen = menu.isVisible() && QApplication::activeModalWidget() == &menu;
             focused = menu.focusWidget() ? menu.focusWidget()->objectName() : QString();
             after = {button->text(), button->kind(), !button->icon().isNull(),
                 button->modalResult(), button->isDefaultFlag(), button->isCancel()};
         }),
            closeReview()}));
    QCOMPARE(driver.seen().at(2), QStringLiteral("quendral::Tquendral%1auswfrm").arg(block));
    QVERIFY(stillOpen);
    QCOMPARE(focused, focus);
    QVERIFY(after == (Ticked{kBlockNames.at(block - 1), BitBtn::Kind::OK, true, 1, true, false}));
}

void DetailEvaluationTest::escapeKey_data()
{
    QTest::addColumn<QList<int>>("worked");
    QTest::addColumn<bool>("reviewFirst");  // block 1 reviewed before Esc
    QTest::addColumn<bool>("opensReview");
    QTest::newRow("cancel-button-enabled") << QList<int>{1, 2} << false << true;
    QTest::newRow("after-block-1-review") << QList<int>{1, 2} << true << false;
    QTest::newRow("block-1-greyed") << QList<int>{2} << false << false;
}

void DetailEvaluationTest::escapeKey()
{
    QFETCH(QList<int>, worked);
    QFETCH(bool, reviewFirst);
    QFETCH(bool, opensReview);
    QTemporaryDir dir;
    Session session(dir, workedBlocks(worked));
    ModalDriver driver;
    bool stillOpen = false;
    QList<ModalDriver::Step> steps{onMenu([&](Tquendralauswmenufrm& menu) {
        if (reviewFirst)
            userClick(menu.blockButton(1));
        QTest::keyClick(menu.focusWidget(), Qt::Key_Escape);
        stillOpen = menu.isVisible();
    })};
    if (reviewFirst || opensReview)
        steps << closeReview();
    QVERIFY(session.useDetail(driver, steps));
    QVERIFY(stillOpen);
    const int reviews = int(reviewFirst) + int(opensReview);
    QCOMPARE(driver.seen().count(kReview1), reviews);
    QCOMPARE(session.report(), kHeader + kBlock1NothingTicked.repeated(reviews));
}

void DetailEvaluationTest::closingTheMenu_data()
{
    QTest::addColumn<int>("how");  // 0 = click "S&chließen", 1 = frame, 2 = Enter
    QTest::newRow("schliessen") << 0;
    QTest::newRow("frame") << 1;
    QTest::newRow("enter-on-schliessen") << 2;
}

void DetailEvaluationTest::closingTheMenu()
{
    QFETCH(int, how);
    QTemporaryDir dir;
    Session session(dir, workedBlocks({6}));
    ModalDriver driver;
    QVERIFY(session.useDetail(driver,
        {onMenu([how](Tquendralauswmenufrm& menu) {
             userClick(menu.blockButton(6));  // the focus moves on to "S&chließen"
             switch (how) {
             case 0:
                 userClick(menu.BitBtn1);
                 break;
             case 1:
                 menu.close();
                 break;
             default:
                 QTest::keyClick(menu.focusWidget(), Qt::Key_Return);
                 break;
             }
         }),
            closeReview()}));
    QCOMPARE(driver.seen().size(), 3);
    QVERIFY(!ReportFile.isOpen());
    QCOMPARE(quendralauswmenufrm, nullptr);
    QCOMPARE(session.report(), kHeader + kBlock6NothingTicked);
    QVERIFY(session.focusOnClose());
}

void DetailEvaluationTest::blockReviewedTwice()
{
    QTemporaryDir dir;
    Session session(dir, workedBlocks({1}));
    ModalDriver driver;
    QVERIFY(session.useDetail(driver,
        {onMenu([](Tquendralauswmenufrm& menu) {
             userClick(menu.blockButton(1));
             userClick(menu.blockButton(1));
         }),
            closeReview(), closeReview()}));
    QCOMPARE(session.report(), kHeader + kBlock1NothingTicked + kBlock1NothingTicked);
}

void DetailEvaluationTest::sampleParticipant()
{
    // Blocks 1, 2 and 4 worked; block 1 with nothing ticked.
    AnswerRecord record;
    fillBlock(record, 2, Fill::Everything);
    fillBlock(record, 4, Fill::Key);
    setDone(record, {1, 2, 4});
    QTemporaryDir dir;
    Session session(dir, record);
    ModalDriver driver;
    QList<bool> enabled;
    QString focused;
    QByteArray whileShown;
    QVERIFY(session.useDetail(driver,
        {onMenu([&](Tquendralauswmenufrm& menu) {
             for (int block = 1; block <= 6; ++block)
                 enabled << menu.blockButton(block)->isEnabled();
             userClick(menu.blockButton(1));
             focused = menu.focusWidget()->objectName();
         }),
            [&](QWidget* modal) {
                whileShown = session.report();
                closeReview()(modal);
            }}));
    QCOMPARE(enabled, (QList<bool>{true, true, false, true, false, false}));
    QCOMPARE(whileShown, kHeader + kBlock1NothingTicked);
    QCOMPARE(focused, QStringLiteral("button2"));
    QCOMPARE(session.report(), kHeader + kBlock1NothingTicked);
    QVERIFY(session.focusOnClose());
}

void DetailEvaluationTest::oneSectionPerShowing_data()
{
    QTest::addColumn<bool>("minimize");  // the review window is minimized while away
    QTest::newRow("other-window") << false;
    QTest::newRow("minimized-and-restored") << true;
}

void DetailEvaluationTest::oneSectionPerShowing()
{
    QFETCH(bool, minimize);
    QTemporaryDir dir;
    Session session(dir, workedBlocks({1}));
    ModalDriver driver;
    ReviewActivations activations;
    bool switched = false;
    QVERIFY(session.useDetail(driver,
        {onMenu([](Tquendralauswmenufrm& menu) { userClick(menu.blockButton(1)); }),
            [&](QWidget* modal) {
                QWidget other;
                other.setWindowTitle(QStringLiteral("Anderes Fenster"));
                other.show();
                if (minimize)
                    modal->showMinimized();
                other.activateWindow();
                const bool away
                    = QTest::qWaitFor([&] { return QApplication::activeWindow() == &other; });
                if (minimize)
                    modal->showNormal();
                modal->activateWindow();
                switched = away
                    && QTest::qWaitFor([&] { return QApplication::activeWindow() == modal; });
                closeReview()(modal);
            }}));
    QVERIFY(switched);
    QCOMPARE(activations.count, 2);
    QCOMPARE(session.report(), kHeader + kBlock1NothingTicked);
}

void DetailEvaluationTest::sectionWriteFailureShownOnce()
{
    QTemporaryDir dir;
    Session session(dir, workedBlocks({1}));
    const QByteArray heading = kBlock1NothingTicked.left(kBlock1NothingTicked.indexOf('\n') + 1);
    // The disk fills up after the section heading.
    FileSizeLimit limit(kHeader.size() + heading.size());
    ModalDriver driver;
    ReviewActivations activations;
    QStringList errors;
    bool reactivated = false;
    // The review window's error box comes up from inside its activation, so the driver may
    // meet the window before the box or after it: one step serves both.
    const ModalDriver::Step reviewOrItsError = [&](QWidget* modal) {
        if (QMessageBox* box = asMessageBox(modal)) {
            errors << box->text();
            pressButton(QStringLiteral("OK"))(modal);
            return;
        }
        const bool boxGone = QTest::qWaitFor(
            [&] { return !errors.isEmpty() && QApplication::activeModalWidget() == modal; });
        // As a window manager would, the activation goes back to the window under the box.
        modal->activateWindow();
        reactivated
            = boxGone && QTest::qWaitFor([&] { return QApplication::activeWindow() == modal; });
        userClick(qobject_cast<ReviewWindow*>(modal)->closeButton());
    };
    QVERIFY(session.useDetail(driver,
        {onMenu([](Tquendralauswmenufrm& menu) { userClick(menu.blockButton(1)); }),
            reviewOrItsError, reviewOrItsError}));
    QVERIFY(reactivated);
    QCOMPARE(activations.count, 2);  // when shown, and again after the error box
    QCOMPARE(errors, QStringList{"E/A-Fehler 27"});  // EFBIG
    QCOMPARE(session.report(), kHeader + heading);
}

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    prepareApplication(application);
    DetailEvaluationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_detailevaluation.moc"
