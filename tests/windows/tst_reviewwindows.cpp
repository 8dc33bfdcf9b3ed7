// The six review windows on the offscreen platform: each is created as the block menu
// creates it, shown with the report open, and judged by its boxes and the bytes it wrote.

#include "BlockCounts.h"
#include "ModalDriver.h"
#include "TestRecords.h"

#include "AnswerKey.h"
#include "Application.h"
#include "BitBtn.h"
#include "BlockScore.h"
#include "Blocks.h"
#include "Catalogue.h"
#include "Quendral1ausw.h"
#include "Quendral2ausw.h"
#include "Quendral3ausw.h"
#include "Quendral4ausw.h"
#include "Quendral5ausw.h"
#include "Quendral6ausw.h"
#include "QuendralGLOBAL.h"
#include "ReviewWindow.h"
#include "ReviewWindows.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStringEncoder>
#include <QTest>

#include <algorithm>
#include <memory>
#include <optional>
#include <random>

using namespace quendral;
using namespace quendral::test;

namespace {

const QColor kRed(255, 0, 0);
const QColor kBlack(0, 0, 0);

// Section headings as the report holds them, in Windows-1252.
const QByteArray kHeadings[6] = {"Fragen zu Kapitel 1: \xDC"
                                 "ber- und Einblick",
    "Fragen zu Kapitel 2: Projektstart", "Fragen zu Kapitel 3: Projektplanung",
    "Fragen zu Kapitel 4: Projektsteuerung", "Fragen zu Kapitel 5: Projektabschluss",
    "Fragen zu Kapitel 6: PM-Software-Werkzeuge"};

QByteArray windows1252(const QString& text)
{
    QStringEncoder encoder("windows-1252");
    return encoder.encode(text);
}

QString boxName(int n)
{
    return QStringLiteral("CheckBox%1").arg(n);
}
int questionOf(int box)
{
    return (box + 3) / 4;
}
char letterOf(int box)
{
    return static_cast<char>('a' + (box - 1) % 4);
}
std::size_t byteOf(int block, int box)
{
    return blockInfo(block).firstByte + std::size_t(box - 1);
}

ReviewWindow* instanceOf(int block)
{
    switch (block) {
    case 1:
        return quendral1auswfrm;
    case 2:
        return quendral2auswfrm;
    case 3:
        return quendral3auswfrm;
    case 4:
        return quendral4auswfrm;
    case 5:
        return quendral5auswfrm;
    default:
        return quendral6auswfrm;
    }
}

// Every option byte of the block ticked, with the values 1, 2 and 255 in turn.
void tickAll(AnswerRecord& record, int block)
{
    static constexpr std::uint8_t kTicks[3] = {1, 2, 255};
    for (int n = 1; n <= blockInfo(block).options(); ++n)
        record.bytes[byteOf(block, n)] = kTicks[(n - 1) % 3];
}

struct BoxState {
    bool ticked;
    QColor colour;
    bool operator==(const BoxState&) const = default;
};

// One showing of a review window, as the block menu does it: the record loaded, the report
// open, the window up and active. The report stays open until report() reads it back.
class ShownReview {
public:
    enum class Wait { UntilActive, No };

    ShownReview(int block, const AnswerRecord& record, const QString& reportPath,
        Wait wait = Wait::UntilActive)
        : block_(block), path_(reportPath)
    {
        answerRecord = record;
        created_ = ReportFile.create(reportPath.toStdString()) == 0;
        window_.reset(createReviewWindow(block, nullptr));
        window_->show();
        window_->activateWindow();
        if (wait == Wait::UntilActive)
            active_ = QTest::qWaitForWindowActive(window_.get());
    }
    ~ShownReview()
    {
        ReportFile.close();
        window_.reset();
        forgetReviewWindow(block_);
    }

    bool ok() const { return created_ && active_; }
    bool reportCreated() const { return created_; }
    ReviewWindow& window() const { return *window_; }

    QList<BoxState> boxes() const
    {
        QList<BoxState> states;
        for (int n = 1; n <= window_->catalogue().optionCount(); ++n) {
            const QCheckBox* box = window_->optionBox(n);
            states.append({box->isChecked(), box->palette().color(QPalette::WindowText)});
        }
        return states;
    }

    QByteArray report() const
    {
        ReportFile.close();
        QFile file(path_);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    int block_;
    QString path_;
    std::unique_ptr<ReviewWindow> window_;
    bool created_ = false;
    bool active_ = false;
};

// What one showing leaves behind.
struct Outcome {
    bool shown = false;
    QList<BoxState> boxes;
    QStringList labels;  // question captions as the window shows them
    QStringList boxCaptions;
    QByteArray report;
};

Outcome review(int block, const AnswerRecord& record, const QString& reportPath)
{
    const ShownReview shown(block, record, reportPath);
    Outcome outcome;
    outcome.shown = shown.ok();
    outcome.boxes = shown.boxes();
    const ReviewWindow& window = shown.window();
    for (int q = 1; q <= window.catalogue().questionCount(); ++q)
        outcome.labels.append(window.questionLabel(q)->text());
    for (int n = 1; n <= window.catalogue().optionCount(); ++n)
        outcome.boxCaptions.append(window.optionBox(n)->text());
    outcome.report = shown.report();
    return outcome;
}

// The report's lines; nothing when a line is not ended by CR LF.
std::optional<QList<QByteArray>> reportLines(const QByteArray& bytes)
{
    if (!bytes.isEmpty() && !bytes.endsWith("\r\n"))
        return std::nullopt;
    QList<QByteArray> lines = bytes.split('\n');
    lines.removeLast();
    for (QByteArray& line : lines) {
        if (!line.endsWith('\r'))
            return std::nullopt;
        line.chop(1);
        if (line.contains('\r'))
            return std::nullopt;
    }
    return lines;
}

struct Question {
    QByteArray caption;
    QByteArray letters;  // of the "Antwort" lines, in order
    bool operator==(const Question&) const = default;
};

struct Section {
    QByteArray heading;
    QList<Question> questions;
};

// Reads a section back: the heading, then per question its caption line, its "Antwort"
// lines and an empty line. Nothing when the lines do not have that shape.
std::optional<Section> parseSection(const QList<QByteArray>& lines)
{
    if (lines.isEmpty())
        return std::nullopt;
    Section section{lines.first(), {}};
    qsizetype i = 1;
    while (i < lines.size()) {
        Question question{lines[i++], {}};
        if (question.caption.isEmpty() || question.caption.startsWith("Antwort "))
            return std::nullopt;
        while (i < lines.size() && lines[i].size() == 9 && lines[i].startsWith("Antwort ")
            && lines[i][8] >= 'a' && lines[i][8] <= 'd')
            question.letters += lines[i++][8];
        if (i == lines.size() || !lines[i++].isEmpty())
            return std::nullopt;
        section.questions.append(question);
    }
    return section;
}

std::optional<Section> parseReport(const QByteArray& bytes)
{
    const auto lines = reportLines(bytes);
    return lines ? parseSection(*lines) : std::nullopt;
}

// A block's window after a complete showing: every box ticked exactly when its byte is
// not 0 and black exactly when its option earns a point; the section holds the heading,
// every question's caption with single blanks, and an "Antwort" line for each red box.
void verifyShowing(int block, const AnswerRecord& record, const Outcome& outcome)
{
    QVERIFY(outcome.shown);
    const BlockInfo& info = blockInfo(block);
    QCOMPARE(outcome.boxes.size(), info.options());
    for (int n = 1; n <= info.options(); ++n) {
        const BoxState& box = outcome.boxes[n - 1];
        const std::size_t byte = byteOf(block, n);
        QVERIFY2(box.ticked == record.isTicked(byte), qPrintable(boxName(n)));
        const QColor expected = agreesWithKey(record, byte) ? kBlack : kRed;
        QVERIFY2(box.colour == expected, qPrintable(boxName(n)));
    }
    const auto section = parseReport(outcome.report);
    QVERIFY(section);
    QCOMPARE(section->heading, kHeadings[block - 1]);
    QCOMPARE(section->questions.size(), info.questions);
    static const QRegularExpression blankRun(QStringLiteral(" {2,}"));
    for (int q = 1; q <= info.questions; ++q) {
        const Question& question = section->questions[q - 1];
        const QString shown = outcome.labels[q - 1];
        QCOMPARE(question.caption, windows1252(QString(shown).replace(blankRun, " ")));
        QByteArray red;
        for (int n = 4 * q - 3; n <= 4 * q; ++n)
            if (outcome.boxes[n - 1].colour == kRed)
                red += letterOf(n);
        QCOMPARE(question.letters, red);
    }
}

int blackBoxes(const QList<BoxState>& boxes)
{
    return int(std::count_if(
        boxes.begin(), boxes.end(), [](const BoxState& b) { return b.colour == kBlack; }));
}

QRect inViewport(QWidget* widget, QScrollArea* area)
{
    return QRect(widget->mapTo(area->viewport(), QPoint(0, 0)), widget->size());
}

// One row per block, for the checks that every window must pass alike.
void addBlockRows()
{
    QTest::addColumn<int>("block");
    for (int block = 1; block <= kBlockCount; ++block)
        QTest::addRow("block%d", block) << block;
}

// Pixel rows two rectangles share where they also share columns.
int sharedRows(const QRect& a, const QRect& b)
{
    const QRect common = a.intersected(b);
    return common.isEmpty() ? 0 : common.height();
}

}  // namespace

class ReviewWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { resetProgramState(); }
    void cleanup() { ReportFile.close(); }

    void sectionCounts_data();
    void sectionCounts();
    void randomRecordsAgreeWithTheScore_data();
    void randomRecordsAgreeWithTheScore();
    void wholeSection_data();
    void wholeSection();
    void captionLinesAreCollapsed_data();
    void captionLinesAreCollapsed();
    void bytesOutsideTheBlockChangeNothing_data();
    void bytesOutsideTheBlockChangeNothing();
    void oneByteChangesOneOption_data();
    void oneByteChangesOneOption();
    void windowDesign_data();
    void windowDesign();
    void controlsKeepApart_data();
    void controlsKeepApart();
    void tabOrder_data();
    void tabOrder();
    void userTicksChangeNothing_data();
    void userTicksChangeNothing();
    void laterActivationWritesNothing_data();
    void laterActivationWritesNothing();
    void writeFailureKeepsWindowOpen_data();
    void writeFailureKeepsWindowOpen();
    void closing_data();
    void closing();

private:
    QString reportPath() const { return dir_.filePath(QStringLiteral("Quendral-Detail.txt")); }
    QTemporaryDir dir_;
};

void ReviewWindowsTest::sectionCounts_data()
{
    QTest::addColumn<int>("block");
    QTest::addColumn<int>("fill");  // Fill
    QTest::addColumn<int>("black");
    QTest::addColumn<int>("answerLines");
    QTest::addColumn<int>("lines");
    for (const BlockCounts& c : kBlockCounts) {
        const auto row = [&](const char* name, Fill fill, const SectionTally& n) {
            QTest::addRow("block%d-%s", c.block, name)
                << c.block << int(fill) << n.agreeing << n.answerLines << n.lines;
        };
        row("nothing", Fill::Nothing, c.nothingTicked);
        row("everything", Fill::Everything, c.everythingTicked);
        row("key", Fill::Key, c.keyMatched);
    }
}

void ReviewWindowsTest::sectionCounts()
{
    QFETCH(int, block);
    QFETCH(int, fill);
    QFETCH(int, black);
    QFETCH(int, answerLines);
    QFETCH(int, lines);
    AnswerRecord record;
    fillBlock(record, block, Fill(fill));
    if (Fill(fill) == Fill::Everything)
        tickAll(record, block);
    const Outcome outcome = review(block, record, reportPath());
    verifyShowing(block, record, outcome);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(blackBoxes(outcome.boxes), black);
    const auto section = parseReport(outcome.report);
    int answers = 0;
    for (const Question& q : section->questions)
        answers += int(q.letters.size());
    QCOMPARE(answers, answerLines);
    QCOMPARE(reportLines(outcome.report)->size(), lines);
}

void ReviewWindowsTest::randomRecordsAgreeWithTheScore_data()
{
    addBlockRows();
}

void ReviewWindowsTest::randomRecordsAgreeWithTheScore()
{
    QFETCH(int, block);
    std::mt19937 rng(20240611u + unsigned(block));
    for (int i = 0; i < 3; ++i) {
        const AnswerRecord record = randomRecord(rng);
        const Outcome outcome = review(block, record, reportPath());
        verifyShowing(block, record, outcome);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(blackBoxes(outcome.boxes), int(countAgreeing(record, block)));
    }
}

void ReviewWindowsTest::wholeSection_data()
{
    QTest::addColumn<int>("block");
    QTest::addColumn<int>("fill");
    QTest::addColumn<QList<int>>("black");
    QTest::addColumn<QByteArrayList>("lines");

    const QByteArray a = "Antwort a", b = "Antwort b", c = "Antwort c", d = "Antwort d";
    const QByteArray q1 = "1. Was geschieht bei der Abnahme im Projekt?";
    const QByteArray q2 = "2. Was sollte ein Projektabschluss-Bericht beinhalten?";
    const QByteArray q3 = "3. Was soll im Rahmen des Projektabschlusses erledigt werden?";
    const QByteArray q4 = "4. Was geschieht auf einem Erfahrungsworkshop am Ende eines Projektes?";
    const QByteArray q5 = "5. Weshalb werden in der Praxis Projekte so zaghaft abgeschlossen?";
    QTest::newRow("block5-nothing")
        << 5 << int(Fill::Nothing) << QList<int>{4, 5, 6, 10, 13, 16, 20}
        << QByteArrayList{kHeadings[4], q1, a, b, c, "", q2, c, d, "", q3, a, c, d, "", q4, b, c,
               "", q5, a, b, c, ""};
    QTest::newRow("block5-everything")
        << 5 << int(Fill::Everything) << QList<int>{1, 2, 3, 7, 8, 9, 11, 12, 14, 15, 17, 18, 19}
        << QByteArrayList{
               kHeadings[4], q1, d, "", q2, a, b, "", q3, b, "", q4, a, d, "", q5, d, ""};

    const QByteArray p1 = "1. Beschreiben Sie einen modernen DV-Arbeitsplatz einer Projektleitung";
    const QByteArray p2 = "2. Wie sollte die Ablage des Projektes gegliedert sein?";
    QTest::newRow("block6-nothing")
        << 6 << int(Fill::Nothing) << QList<int>{8}
        << QByteArrayList{kHeadings[5], p1, a, b, c, d, "", p2, a, b, c, ""};
    QTest::newRow("block6-everything")
        << 6 << int(Fill::Everything) << QList<int>{1, 2, 3, 4, 5, 6, 7}
        << QByteArrayList{kHeadings[5], p1, "", p2, d, ""};
}

void ReviewWindowsTest::wholeSection()
{
    QFETCH(int, block);
    QFETCH(int, fill);
    QFETCH(QList<int>, black);
    QFETCH(QByteArrayList, lines);
    AnswerRecord record;
    fillBlock(record, block, Fill(fill));
    const Outcome outcome = review(block, record, reportPath());
    QVERIFY(outcome.shown);
    QList<int> blackBoxes;
    for (int n = 1; n <= outcome.boxes.size(); ++n)
        if (outcome.boxes[n - 1].colour == kBlack)
            blackBoxes.append(n);
    QCOMPARE(blackBoxes, black);
    const auto written = reportLines(outcome.report);
    QVERIFY(written);
    QCOMPARE(*written, lines);
}

void ReviewWindowsTest::captionLinesAreCollapsed_data()
{
    QTest::addColumn<int>("block");
    QTest::addColumn<int>("question");
    QTest::addColumn<QString>("shown");  // the label's caption in the window
    QTest::addColumn<QByteArray>("line");  // its line in the report
    // The caption's parts, with the number of blanks that stand between two parts.
    const auto caption
        = [](std::initializer_list<const char*> parts, std::initializer_list<int> blanks) {
              QString text;
              auto run = blanks.begin();
              for (const char* part : parts) {
                  if (!text.isEmpty())
                      text += QString(*run++, u' ');
                  text += QString::fromUtf8(part);
              }
              return text;
          };
    QTest::newRow("block2-q12-42-blanks")
        << 2 << 12
        << caption({"12. Was verstehen wir unter", "Auftraggeber-Auftragnehmer-Verhältnis?"}, {42})
        << QByteArray("12. Was verstehen wir unter Auftraggeber-Auftragnehmer-Verh\xE4ltnis?");
    QTest::newRow("block2-q29-hyphen")
        << 2 << 29 << caption({"29. Was beinhaltet eine Projektergebnis-", "struktur?"}, {8})
        << QByteArray("29. Was beinhaltet eine Projektergebnis- struktur?");
    QTest::newRow("block2-q36-two-runs")
        << 2 << 36
        << caption({"36. Wie zeigen Sie den Zusammenhang", "zwischen Pflichtenheft und Projekt-",
                       "ergebnisstruktur auf?"},
               {20, 22})
        << QByteArray("36. Wie zeigen Sie den Zusammenhang zwischen Pflichtenheft und Projekt- "
                      "ergebnisstruktur auf?");
    QTest::newRow("block2-q37-hyphen")
        << 2 << 37
        << caption(
               {"37. Welche Fehler bei der Ziel- bzw. Ergebnis-", "klärung sollten Sie vermeiden?"},
               {7})
        << QByteArray("37. Welche Fehler bei der Ziel- bzw. Ergebnis- kl\xE4rung sollten Sie "
                      "vermeiden?");
    QTest::newRow("block4-q12-two-runs")
        << 4 << 12
        << caption({"12. Welche Steuerungsmöglichkeiten", "haben", "Sie bei Ergebnisabweichungen?"},
               {2, 9})
        << QByteArray("12. Welche Steuerungsm\xF6glichkeiten haben Sie bei Ergebnisabweichungen?");
}

void ReviewWindowsTest::captionLinesAreCollapsed()
{
    QFETCH(int, block);
    QFETCH(int, question);
    QFETCH(QString, shown);
    QFETCH(QByteArray, line);
    const Outcome outcome = review(block, AnswerRecord{}, reportPath());
    QVERIFY(outcome.shown);
    QCOMPARE(outcome.labels[question - 1], shown);
    const auto section = parseReport(outcome.report);
    QVERIFY(section);
    QCOMPARE(section->questions[question - 1].caption, line);
}

void ReviewWindowsTest::bytesOutsideTheBlockChangeNothing_data()
{
    addBlockRows();
}

void ReviewWindowsTest::bytesOutsideTheBlockChangeNothing()
{
    QFETCH(int, block);
    const BlockInfo& info = blockInfo(block);
    std::mt19937 rng(7u * unsigned(block));
    const AnswerRecord noise = randomRecord(rng);
    AnswerRecord quiet;
    AnswerRecord noisy;
    for (std::size_t i = 0; i < kRecordSize; ++i) {
        const bool inBlock
            = i >= info.firstByte && i < info.firstByte + std::size_t(info.options());
        quiet.bytes[i] = inBlock ? noise.bytes[i] : 0;
        noisy.bytes[i] = inBlock ? noise.bytes[i] : std::uint8_t(0x80 | i);
    }
    const Outcome expected = review(block, quiet, reportPath());
    const Outcome outcome = review(block, noisy, reportPath());
    QVERIFY(expected.shown && outcome.shown);
    QCOMPARE(outcome.boxes, expected.boxes);
    QCOMPARE(outcome.report, expected.report);
    QVERIFY(!outcome.report.isEmpty());
}

void ReviewWindowsTest::oneByteChangesOneOption_data()
{
    QTest::addColumn<int>("block");
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("caption");  // of the option the byte belongs to
    const struct {
        const char* tag;
        int block, byte, value;
        const char16_t* caption;
    } rows[] = {
        {"block1-first", 1, 41, 1, u"Interdisziplinäres Arbeiten"},
        {"block1-q8a-tab-swapped", 1, 69, 2, u"Klare Projektsteuerung"},
        {"block1-last", 1, 80, 255, u"Emotionaltät"},
        {"block2-q1a-shared", 2, 81, 1, u"Anforderungssammlung"},
        {"block2-q2a-shared", 2, 85, 1, u"Anforderungssammlung"},
        {"block2-q5a-shared", 2, 97, 1, u"Frustrationsmodell"},
        {"block2-q6a-shared", 2, 101, 2, u"Frustrationsmodell"},
        {"block2-q7a-shared", 2, 105, 255, u"Frustrationsmodell"},
        {"block2-q8a-shared", 2, 109, 1, u"Frustrationsmodell"},
        {"block2-q10b-shared", 2, 118, 1, u"Projektziele"},
        {"block2-q29a-shared", 2, 193, 1, u"Projektziele"},
        {"block2-q32a-shared", 2, 205, 1, u"Projektziele"},
        {"block2-q25d-shared", 2, 180, 1, u"Kartentechnik"},
        {"block2-q28a-shared", 2, 189, 1, u"Kartentechnik"},
        {"block2-last", 2, 228, 255, u"Möglichst schnell arbeiten"},
        {"block3-first", 3, 229, 2, u"Überblick schaffen"},
        {"block3-quoted", 3, 250, 1, u"\"Pi mal Daumen\""},
        {"block3-last", 3, 280, 1, u"Aufstellen der Projektstruktur"},
        {"block4-first", 4, 281, 1, u"Eine Zielmodifikation"},
        {"block4-q13b", 4, 330, 1, u"Alternative Maßnahmen und"},
        {"block4-q13c", 4, 331, 255, u"deren Auswirkungen ansehen"},
        {"block4-last", 4, 360, 2, u"Meilensteinstatus"},
        {"block5-q2d-repeated", 5, 368, 1, u"Verbesserungspotentiale"},
        {"block5-q4b-repeated", 5, 374, 1, u"Verbesserungspotentiale"},
        {"block6-first", 6, 381, 255, u"Büro-Software"},
        {"block6-last", 6, 388, 1, u"Nach Anfall der Arbeit"},
    };
    for (const auto& r : rows)
        QTest::newRow(r.tag) << r.block << r.byte << r.value << QString::fromUtf16(r.caption);
}

// From a record with nothing ticked, one byte set: its box alone becomes ticked and
// changes colour, and only its own question gains or loses its own "Antwort" line.
void ReviewWindowsTest::oneByteChangesOneOption()
{
    QFETCH(int, block);
    QFETCH(int, byte);
    QFETCH(int, value);
    QFETCH(QString, caption);
    const int n = byte - int(blockInfo(block).firstByte) + 1;
    AnswerRecord changed;
    changed.bytes[std::size_t(byte)] = std::uint8_t(value);
    const Outcome base = review(block, AnswerRecord{}, reportPath());
    const Outcome outcome = review(block, changed, reportPath());
    QVERIFY(base.shown && outcome.shown);
    QCOMPARE(outcome.boxCaptions[n - 1], caption);

    for (int i = 1; i <= outcome.boxes.size(); ++i) {
        const BoxState& before = base.boxes[i - 1];
        const BoxState& after = outcome.boxes[i - 1];
        if (i == n) {
            QVERIFY(!before.ticked && after.ticked);
            QVERIFY(before.colour != after.colour);
        } else {
            QVERIFY2(after == before, qPrintable(boxName(i)));
        }
    }
    const auto sectionBefore = parseReport(base.report);
    const auto sectionAfter = parseReport(outcome.report);
    QVERIFY(sectionBefore && sectionAfter);
    QCOMPARE(sectionAfter->heading, sectionBefore->heading);
    QCOMPARE(sectionAfter->questions.size(), sectionBefore->questions.size());
    for (int q = 1; q <= sectionAfter->questions.size(); ++q) {
        const Question& before = sectionBefore->questions[q - 1];
        const Question& after = sectionAfter->questions[q - 1];
        if (q != questionOf(n)) {
            QVERIFY2(after == before, qPrintable(QStringLiteral("question %1").arg(q)));
            continue;
        }
        QCOMPARE(after.caption, before.caption);
        const char letter = letterOf(n);
        QCOMPARE(after.letters.contains(letter), !before.letters.contains(letter));
        QCOMPARE(QByteArray(after.letters).replace(letter, ""),
            QByteArray(before.letters).replace(letter, ""));
    }
}

void ReviewWindowsTest::windowDesign_data()
{
    QTest::addColumn<int>("block");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QSize>("outer");
    QTest::addColumn<QString>("footer");
    QTest::addColumn<bool>("scrolls");
    const struct {
        int block;
        const char* title;
        QSize outer;
        const char* footer;
        bool scrolls;
    } windows[] = {
        // clang-format off
        {1, "Wiederholungsfragen zu Kapitel 1: Über- und Einblick", {778, 680}, "Label11", false},
        {2, "Wiederholungsfragen zu Kapitel 2: Projektstart", {793, 830}, "Label38", true},
        {3, "Wiederholungsfragen zu Kapitel 3: Projektplanung", {768, 830}, "Label14", false},
        {4, "Wiederholungsfragen zu Kapitel 4: Projektsteuerung", {808, 840}, "Label21", true},
        {5, "Wiederholungsfragen zu Kapitel 5: Projektabschluss", {685, 526}, "Label6", false},
        {6, "Wiederholungsfragen zu Kapitel 6: PM-Software-Werkzeuge", {686, 330}, "Label3",
            false},
        // clang-format on
    };
    for (const auto& w : windows)
        QTest::addRow("block%d", w.block) << w.block << QString::fromUtf8(w.title) << w.outer
                                          << QString::fromLatin1(w.footer) << w.scrolls;
}

void ReviewWindowsTest::windowDesign()
{
    QFETCH(int, block);
    QFETCH(QString, title);
    QFETCH(QSize, outer);
    QFETCH(QString, footer);
    QFETCH(bool, scrolls);
    const ReviewCatalogue& catalogue = reviewCatalogue(block);
    const int questions = blockInfo(block).questions;
    std::unique_ptr<ReviewWindow> window(createReviewWindow(block, nullptr));
    QCOMPARE(instanceOf(block), window.get());
    QCOMPARE(QByteArray(window->metaObject()->className()),
        QByteArray("quendral::Tquendral") + QByteArray::number(block) + "auswfrm");
    QCOMPARE(window->windowTitle(), title);
    QCOMPARE(window->palette().color(QPalette::Window), QColor(255, 255, 255));

    // As designed, before the window comes up: every box clear, enabled and red.
    for (const CatalogueRow& row : catalogue.rows) {
        const QString name = QString::fromLatin1(row.control);
        const QRect rect(row.rect.left, row.rect.top, row.rect.width, row.rect.height);
        QWidget* control = nullptr;
        if (row.isLabel()) {
            auto* label = window->findChild<QLabel*>(name);
            QVERIFY2(label, qPrintable(name));
            QCOMPARE(label->text(), QString::fromUtf8(row.caption));
            QCOMPARE(label->pos(), rect.topLeft());
            if (row.sizing != Sizing::Auto)
                QCOMPARE(label->geometry(), rect);
            QVERIFY(label->font().bold());
            QCOMPARE(label->palette().color(QPalette::WindowText), kBlack);
            control = label;
        } else {
            auto* box = window->findChild<QCheckBox*>(name);
            QVERIFY2(box, qPrintable(name));
            QCOMPARE(box->text(), QString::fromUtf8(row.caption));
            QCOMPARE(box->geometry(), rect);
            QVERIFY(!box->font().bold());
            QVERIFY(!box->isChecked() && box->isEnabled());
            QCOMPARE(box->palette().color(QPalette::WindowText), kRed);
            control = box;
        }
        QCOMPARE(control->font().family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(control->font().pixelSize(), 13);
    }
    // Nothing else: the labels, the footer and the logo; the boxes; the close button.
    QCOMPARE(window->findChildren<QLabel*>().size(), questions + 2);
    QCOMPARE(window->findChildren<QCheckBox*>().size(), 4 * questions);
    QCOMPARE(window->findChildren<QPushButton*>().size(), 1);

    auto* footerLabel = window->findChild<QLabel*>(footer);
    QVERIFY(footerLabel);
    QVERIFY(!footerLabel->text().isEmpty());
    QCOMPARE(footerLabel->geometry(),
        QRect(catalogue.footer.left, catalogue.footer.top, catalogue.footer.width,
            catalogue.footer.height));
    QCOMPARE(footerLabel->font().family(), QStringLiteral("Arial"));
    QCOMPARE(footerLabel->font().pixelSize(), 12);
    QVERIFY(!footerLabel->font().bold());

    auto* logo = window->findChild<QLabel*>(QStringLiteral("Image1"));
    QVERIFY(logo);
    QCOMPARE(logo->geometry(), QRect(catalogue.logo.left, catalogue.logo.top, 129, 129));
    QVERIFY(!logo->pixmap().isNull());
    QVERIFY(logo->pixmap().width() <= 129 && logo->pixmap().height() <= 129);

    auto* close = window->findChild<QPushButton*>(QStringLiteral("BitBtn1"));
    QVERIFY(close);
    QCOMPARE(close->text(), QStringLiteral("S&chließen"));
    QCOMPARE(close->geometry(),
        QRect(catalogue.closeButton.left, catalogue.closeButton.top, catalogue.closeButton.width,
            catalogue.closeButton.height));
    QVERIFY(close->isDefault());
    QVERIFY(!close->icon().isNull());

    // Once up: the design's outer size, centred, the focus on the first box and in view.
    QCOMPARE(ReportFile.create(reportPath().toStdString()), 0);
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QCOMPARE(window->frameGeometry().size(), outer);
    // Centred on the screen, but a window taller than the screen keeps its caption on it.
    const QRect screen = window->screen()->availableGeometry();
    const QRect frame = window->frameGeometry();
    const QPoint centred(screen.left() + (screen.width() - frame.width()) / 2,
        screen.top() + (screen.height() - frame.height()) / 2);
    QCOMPARE(frame.topLeft(),
        QPoint(std::max(screen.left(), centred.x()), std::max(screen.top(), centred.y())));
    QCOMPARE(QApplication::focusWidget(), window->optionBox(1));
    QCOMPARE(window->optionBox(1)->objectName(), QStringLiteral("CheckBox1"));
    auto* area = window->findChild<QScrollArea*>();
    QVERIFY(area);
    QCOMPARE(area->verticalScrollBar()->maximum() > 0, scrolls);
    QCOMPARE(area->horizontalScrollBar()->maximum(), 0);
    QVERIFY(area->viewport()->rect().contains(inViewport(window->optionBox(1), area)));

    window.reset();
    forgetReviewWindow(block);
    QCOMPARE(instanceOf(block), nullptr);
}

void ReviewWindowsTest::controlsKeepApart_data()
{
    addBlockRows();
}

// In the real widgets, with the fonts the platform has: no control runs into another
// further than the design's own rectangles do, every caption fits its control, and every
// box stands under its own question's label, above the next label of its column.
void ReviewWindowsTest::controlsKeepApart()
{
    QFETCH(int, block);
    const ShownReview shown(block, AnswerRecord{}, reportPath());
    QVERIFY(shown.ok());
    const ReviewWindow& window = shown.window();
    const ReviewCatalogue& catalogue = window.catalogue();

    struct Placed {
        QWidget* widget;
        QRect design;
    };
    const auto toRect = [](const Rect& r) { return QRect(r.left, r.top, r.width, r.height); };
    QList<Placed> placed;
    for (const CatalogueRow& row : catalogue.rows)
        placed.append(
            {window.findChild<QWidget*>(QString::fromLatin1(row.control)), toRect(row.rect)});
    placed.append({window.findChild<QWidget*>(QStringLiteral("Image1")), toRect(catalogue.logo)});
    placed.append({window.findChild<QWidget*>(QString::fromLatin1(catalogue.footerControl)),
        toRect(catalogue.footer)});
    placed.append({window.closeButton(), toRect(catalogue.closeButton)});

    QStringList overlaps;
    for (qsizetype i = 0; i < placed.size(); ++i)
        for (qsizetype j = i + 1; j < placed.size(); ++j) {
            const QRect a = placed[i].widget->geometry();
            const QRect b = placed[j].widget->geometry();
            if (sharedRows(a, b) > sharedRows(placed[i].design, placed[j].design))
                overlaps << placed[i].widget->objectName() + u'/' + placed[j].widget->objectName();
        }
    QCOMPARE(overlaps, QStringList());

    static const QRegularExpression blankRun(QStringLiteral(" {2,}"));
    for (const Placed& p : placed) {
        const QString name = p.widget->objectName();
        if (auto* label = qobject_cast<QLabel*>(p.widget); label && label->pixmap().isNull()) {
            if (label->text().contains(blankRun))
                QVERIFY2(label->wordWrap(), qPrintable(name));
            if (label->wordWrap()) {
                const int needed = label->heightForWidth(label->width());
                QVERIFY2(needed <= label->height(), qPrintable(name));
            } else {
                QVERIFY2(label->sizeHint().width() <= label->width(), qPrintable(name));
                QVERIFY2(label->sizeHint().height() <= label->height(), qPrintable(name));
            }
        } else if (qobject_cast<QAbstractButton*>(p.widget)) {
            QVERIFY2(p.widget->sizeHint().width() <= p.widget->width(), qPrintable(name));
        }
    }

    for (int n = 1; n <= catalogue.optionCount(); ++n) {
        const QRect box = window.optionBox(n)->geometry();
        const QLabel* own = window.questionLabel(questionOf(n));
        const QRect label = own->geometry();
        QVERIFY2(box.top() >= label.top() + own->fontMetrics().height(), qPrintable(boxName(n)));
        QVERIFY2(box.left() > label.left() && box.left() <= label.right(), qPrintable(boxName(n)));
        for (int q = 1; q <= catalogue.questionCount(); ++q) {
            const QRect other = window.questionLabel(q)->geometry();
            const bool sameColumn = other.left() <= box.right() && box.left() <= other.right();
            if (q != questionOf(n) && sameColumn && other.top() > label.top())
                QVERIFY2(box.top() < other.top(), qPrintable(boxName(n)));
        }
    }
}

void ReviewWindowsTest::tabOrder_data()
{
    QTest::addColumn<int>("block");
    QTest::addColumn<int>("swapped");  // this box is visited after the next one
    QTest::newRow("block1") << 1 << 29;
    QTest::newRow("block2") << 2 << 0;
    QTest::newRow("block3") << 3 << 29;
    QTest::newRow("block4") << 4 << 0;
    QTest::newRow("block5") << 5 << 0;
    QTest::newRow("block6") << 6 << 0;
}

// Tab visits the boxes in record order, the close button last, then starts again; the
// box that has the focus is scrolled into view.
void ReviewWindowsTest::tabOrder()
{
    QFETCH(int, block);
    QFETCH(int, swapped);
    const ShownReview shown(block, AnswerRecord{}, reportPath());
    QVERIFY(shown.ok());
    QStringList expected;
    for (int n = 1; n <= blockInfo(block).options(); ++n)
        expected << boxName(n);
    if (swapped)
        expected.swapItemsAt(swapped - 1, swapped);
    expected << QStringLiteral("BitBtn1") << boxName(1);

    auto* area = shown.window().scrollArea();
    QStringList visited{QApplication::focusWidget()->objectName()};
    while (visited.size() < expected.size()) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        visited << focus->objectName();
        QVERIFY2(area->viewport()->rect().intersects(inViewport(focus, area)),
            qPrintable(focus->objectName()));
    }
    QCOMPARE(visited, expected);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("BitBtn1"));
}

void ReviewWindowsTest::userTicksChangeNothing_data()
{
    addBlockRows();
}

// Once the window is up, ticking and clearing boxes is the user's own business: the
// colours stay and the report gets no further line.
void ReviewWindowsTest::userTicksChangeNothing()
{
    QFETCH(int, block);
    AnswerRecord record;
    fillBlock(record, block, Fill::Key);
    const ShownReview shown(block, record, reportPath());
    QVERIFY(shown.ok());
    const QList<BoxState> before = shown.boxes();
    QFile report(reportPath());
    QVERIFY(report.open(QIODevice::ReadOnly));
    const QByteArray written = report.readAll();
    QVERIFY(!written.isEmpty());

    ReviewWindow& window = shown.window();
    const int last = window.catalogue().optionCount();
    QCheckBox* first = window.optionBox(1);
    QTest::mouseClick(first, Qt::LeftButton, {}, QPoint(6, first->height() / 2));
    window.optionBox(last)->setFocus();
    QTest::keyClick(window.optionBox(last), Qt::Key_Space);

    QList<BoxState> after = shown.boxes();
    QCOMPARE(after[0].ticked, !before[0].ticked);
    QCOMPARE(after[last - 1].ticked, !before[last - 1].ticked);
    for (int n = 1; n <= last; ++n)
        QVERIFY2(after[n - 1].colour == before[n - 1].colour, qPrintable(boxName(n)));
    QCOMPARE(shown.report(), written);
}

void ReviewWindowsTest::laterActivationWritesNothing_data()
{
    QTest::addColumn<bool>("minimize");
    QTest::newRow("other-window") << false;
    QTest::newRow("minimized-and-restored") << true;
}

// The section is written once per showing: coming back from another window, or from
// being minimized, appends nothing and leaves the view where the user scrolled it.
void ReviewWindowsTest::laterActivationWritesNothing()
{
    QFETCH(bool, minimize);
    const ShownReview shown(2, AnswerRecord{}, reportPath());
    QVERIFY(shown.ok());
    ReviewWindow& window = shown.window();
    QFile report(reportPath());
    QVERIFY(report.open(QIODevice::ReadOnly));
    const QByteArray written = report.readAll();
    QScrollBar* scrollBar = window.scrollArea()->verticalScrollBar();
    scrollBar->setValue(scrollBar->maximum());

    if (minimize)
        window.setWindowState(Qt::WindowMinimized);
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    if (minimize)
        window.setWindowState(Qt::WindowNoState);
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    QCOMPARE(shown.report(), written);
    QCOMPARE(scrollBar->value(), scrollBar->maximum());
}

void ReviewWindowsTest::writeFailureKeepsWindowOpen_data()
{
    addBlockRows();
}

// A report on a full device: the first line fails, the error box names the error, and the
// window stays up with every box ticked from the record and no box turned black.
void ReviewWindowsTest::writeFailureKeepsWindowOpen()
{
    QFETCH(int, block);
    if (!QFile::exists(QStringLiteral("/dev/full")))
        QSKIP("no /dev/full on this system");
    const QString full = dir_.filePath(QStringLiteral("full-Detail.txt"));
    QFile::remove(full);
    QVERIFY(QFile::link(QStringLiteral("/dev/full"), full));
    std::mt19937 rng(99u + unsigned(block));
    const AnswerRecord record = randomRecord(rng);

    ModalDriver driver;
    QString caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    driver.then([&](QWidget* modal) {
        QMessageBox* box = asMessageBox(modal);
        QVERIFY(box);
        caption = box->windowTitle();
        icon = box->icon();
        for (QAbstractButton* button : box->buttons())
            buttons << button->text();
        pressButton(QStringLiteral("OK"))(modal);
    });
    const ShownReview shown(block, record, full, ShownReview::Wait::No);
    QVERIFY(shown.reportCreated());
    QVERIFY(driver.waitUntil(
        [&] { return driver.allStepsRun() && !QApplication::activeModalWidget(); }));
    QTest::qWait(20);  // a second box would come up now

    QCOMPARE(driver.seen(), QStringList{QStringLiteral("QMessageBox:E/A-Fehler 28")});
    QCOMPARE(caption, QStringLiteral("Quendral Tarvik"));
    QCOMPARE(icon, QMessageBox::Critical);
    QCOMPARE(buttons, QStringList{QStringLiteral("OK")});
    QVERIFY(shown.window().isVisible());
    const QList<BoxState> boxes = shown.boxes();
    for (int n = 1; n <= boxes.size(); ++n) {
        QVERIFY2(boxes[n - 1].ticked == record.isTicked(byteOf(block, n)), qPrintable(boxName(n)));
        QVERIFY2(boxes[n - 1].colour == kRed, qPrintable(boxName(n)));
    }
}

void ReviewWindowsTest::closing_data()
{
    QTest::addColumn<int>("block");
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("closes");
    QTest::newRow("block2-return") << 2 << QStringLiteral("return") << true;
    QTest::newRow("block2-keypad-enter") << 2 << QStringLiteral("enter") << true;
    QTest::newRow("block2-alt-c") << 2 << QStringLiteral("alt-c") << true;
    QTest::newRow("block2-escape") << 2 << QStringLiteral("escape") << false;
    QTest::newRow("block6-return") << 6 << QStringLiteral("return") << true;
    QTest::newRow("block6-escape") << 6 << QStringLiteral("escape") << false;
    QTest::newRow("block6-alt-c") << 6 << QStringLiteral("alt-c") << true;
    QTest::newRow("block1-click") << 1 << QStringLiteral("click") << true;
    QTest::newRow("block3-frame") << 3 << QStringLiteral("frame") << true;
}

// Shown modally as the block menu shows it: Enter, Alt+C, a click on the close button and
// the frame's close box end the window; Esc does nothing.
void ReviewWindowsTest::closing()
{
    QFETCH(int, block);
    QFETCH(QString, action);
    QFETCH(bool, closes);
    QCOMPARE(ReportFile.create(reportPath().toStdString()), 0);
    std::unique_ptr<ReviewWindow> window(createReviewWindow(block, nullptr));

    ModalDriver driver;
    QString focus;
    bool stillOpen = false;
    driver.then([&](QWidget* modal) {
        if (!QTest::qWaitFor([&] { return modal->isActiveWindow(); }))
            return;
        QWidget* target = QApplication::focusWidget();
        auto* closeButton = modal->findChild<QPushButton*>(QStringLiteral("BitBtn1"));
        focus = target ? target->objectName() : QString();
        if (action == u"return")
            QTest::keyClick(target, Qt::Key_Return);
        else if (action == u"enter")
            QTest::keyClick(target, Qt::Key_Enter, Qt::KeypadModifier);
        else if (action == u"alt-c")
            QTest::keyClick(target, Qt::Key_C, Qt::AltModifier);
        else if (action == u"escape")
            QTest::keyClick(target, Qt::Key_Escape);
        else if (action == u"click")
            QTest::mouseClick(closeButton, Qt::LeftButton);
        else
            closeByFrame()(modal);
        // A shortcut presses the button with a short animation, so give it time.
        stillOpen = !QTest::qWaitFor([&] { return !modal->isVisible(); }, 300);
        if (stillOpen)
            closeButton->click();
    });
    window->exec();
    forgetReviewWindow(block);
    QVERIFY(driver.allStepsRun());
    QCOMPARE(focus, QStringLiteral("CheckBox1"));
    QCOMPARE(stillOpen, !closes);
    ReportFile.close();
    QFile report(reportPath());
    QVERIFY(report.open(QIODevice::ReadOnly));
    const auto section = parseReport(report.readAll());
    QVERIFY(section);
    QCOMPARE(section->questions.size(), blockInfo(block).questions);
}

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    prepareApplication(application);
    ReviewWindowsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_reviewwindows.moc"
