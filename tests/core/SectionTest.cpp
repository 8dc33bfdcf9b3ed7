// A block's report section: collapsing runs of blanks, and writeSection over every block's
// catalogue, with hooks that record each written line and each agreeing box in order.

#include "AnswerRecords.h"
#include "BlockCounts.h"

#include "AnswerKey.h"
#include "AnswerRecord.h"
#include "BlockScore.h"
#include "Blocks.h"
#include "Catalogue.h"
#include "Section.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using namespace quendral;
using namespace quendral::test;

namespace quendral::test {
void PrintTo(const BlockCounts& c, std::ostream* os)
{
    *os << "block " << c.block;
}
}  // namespace quendral::test

namespace {

// ---------------------------------------------------------------- CollapseDoubleSpaces

struct CollapseCase {
    const char* name;
    std::string text;
    std::string expected;
};

void PrintTo(const CollapseCase& c, std::ostream* os)
{
    *os << c.name;
}

class Collapse : public ::testing::TestWithParam<CollapseCase> { };

TEST_P(Collapse, EveryRunOfBlanksBecomesOneBlank)
{
    EXPECT_EQ(CollapseDoubleSpaces(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, Collapse,
    ::testing::Values(CollapseCase{"Empty", "", ""},
        CollapseCase{"NoBlank", "Projektstart", "Projektstart"},
        CollapseCase{"SingleBlanksUntouched", " 3. Was kostet PM? ", " 3. Was kostet PM? "},
        CollapseCase{"RunOfTwo", "a  b", "a b"},
        CollapseCase{"RunOf42",
            "12. Was verstehen wir unter" + std::string(42, ' ') + "Auftraggeber",
            "12. Was verstehen wir unter Auftraggeber"},
        CollapseCase{"TwoRuns", "a  b" + std::string(9, ' ') + "c d", "a b c d"},
        CollapseCase{"LeadingAndTrailingRuns", "   a   ", " a "},
        CollapseCase{"OnlyBlanks", "     ", " "},
        CollapseCase{"TabsUntouched", "a\t\tb \t  c", "a\t\tb \t c"},
        CollapseCase{"LineBreaksUntouched", "a\r\n\r\nb  \n  c", "a\r\n\r\nb \n c"},
        CollapseCase{"NoBreakSpaceUntouched",
            "a\xC2\xA0\xC2\xA0"
            "b",
            "a\xC2\xA0\xC2\xA0"
            "b"},
        CollapseCase{"HyphenKeepsOneBlank", "Projektergebnis-        struktur?",
            "Projektergebnis- struktur?"},
        CollapseCase{"MultiByteNeighbours",
            "Verh\xC3\xA4ltnis   \xC3\x9C"
            "ber",
            "Verh\xC3\xA4ltnis \xC3\x9C"
            "ber"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- recording hooks

struct Event {
    bool isLine;  // a written line, else an agreeing box
    std::string line;  // isLine
    int box = 0;  // !isLine

    static Event written(std::string text) { return {true, std::move(text), 0}; }
    static Event agrees(int box) { return {false, {}, box}; }
    bool operator==(const Event&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Event& e)
{
    return e.isLine ? os << "line \"" << e.line << '"' : os << "agrees " << e.box;
}

constexpr int kNoFailure = 0;
constexpr int kFullDisk = 28;  // ENOSPC

// Runs writeSection with hooks that record every event; the `failAt`-th write (from 1)
// records its line, then fails with kFullDisk.
struct SectionRun {
    int result = -1;
    std::vector<Event> events;

    SectionRun(
        const ReviewCatalogue& catalogue, const AnswerRecord& record, int failAt = kNoFailure)
    {
        int writes = 0;
        SectionHooks hooks;
        hooks.questionCaption = [&](int q) { return std::string(catalogue.label(q).caption); };
        hooks.optionAgrees = [&](int box) { events.push_back(Event::agrees(box)); };
        hooks.writeLine = [&](std::string_view line) {
            events.push_back(Event::written(std::string(line)));
            return ++writes == failAt ? kFullDisk : 0;
        };
        result = writeSection(catalogue, catalogue.heading, record, hooks);
    }

    std::vector<std::string> lines() const
    {
        std::vector<std::string> out;
        for (const Event& e : events)
            if (e.isLine)
                out.push_back(e.line);
        return out;
    }
    std::vector<int> agreeingBoxes() const
    {
        std::vector<int> out;
        for (const Event& e : events)
            if (!e.isLine)
                out.push_back(e.box);
        return out;
    }
    int answerLines() const
    {
        const auto l = lines();
        return static_cast<int>(std::count_if(
            l.begin(), l.end(), [](const std::string& s) { return s.rfind("Antwort ", 0) == 0; }));
    }
};

// What a reader of the report expects, built from the record layout and the key alone
// (not from the catalogue's byte column): heading; per question its collapsed caption, then
// per option either the agreement or its "Antwort" line, then an empty line.
std::vector<Event> expectedEvents(const ReviewCatalogue& catalogue, const AnswerRecord& record)
{
    const BlockInfo& info = blockInfo(catalogue.block);
    std::vector<Event> events{Event::written(catalogue.heading)};
    for (int q = 1; q <= info.questions; ++q) {
        events.push_back(Event::written(CollapseDoubleSpaces(catalogue.label(q).caption)));
        for (int k = 0; k < 4; ++k) {
            const std::size_t offset = info.firstByte + static_cast<std::size_t>(4 * (q - 1) + k);
            const bool ticked = record.bytes[offset] != 0;
            if (ticked == (expectedState(catalogue.block, q, k) == Expected::Ticked))
                events.push_back(Event::agrees(4 * (q - 1) + k + 1));
            else
                events.push_back(
                    Event::written(std::string("Antwort ") + static_cast<char>('a' + k)));
        }
        events.push_back(Event::written(""));
    }
    return events;
}

// The same records on every run.
std::vector<AnswerRecord> randomRecords(int count)
{
    std::mt19937 rng(20240611u);
    std::vector<AnswerRecord> records;
    for (int i = 0; i < count; ++i)
        records.push_back(randomRecord(rng));
    return records;
}

// ---------------------------------------------------------------- counts per block

class SectionCounts : public ::testing::TestWithParam<BlockCounts> {
protected:
    void expectCounts(const AnswerRecord& record, const SectionTally& expected) const
    {
        const ReviewCatalogue& catalogue = reviewCatalogue(GetParam().block);
        const SectionRun run(catalogue, record);
        EXPECT_EQ(run.result, 0);
        EXPECT_EQ(static_cast<int>(run.agreeingBoxes().size()), expected.agreeing);
        EXPECT_EQ(run.answerLines(), expected.answerLines);
        EXPECT_EQ(static_cast<int>(run.lines().size()), expected.lines);
        EXPECT_EQ(run.events, expectedEvents(catalogue, record));
    }
};

TEST_P(SectionCounts, NothingTicked)
{
    expectCounts(AnswerRecord{}, GetParam().nothingTicked);
}

TEST_P(SectionCounts, EverythingTicked)
{
    for (const std::uint8_t tick : {1, 2, 255}) {
        SCOPED_TRACE("tick byte " + std::to_string(tick));
        AnswerRecord r;
        fillBlock(r, GetParam().block, Fill::Everything, tick);
        expectCounts(r, GetParam().everythingTicked);
    }
}

TEST_P(SectionCounts, KeyMatched)
{
    AnswerRecord r;
    fillBlock(r, GetParam().block, Fill::Key);
    expectCounts(r, GetParam().keyMatched);
}

TEST_P(SectionCounts, BytesOutsideTheBlockChangeNothing)
{
    const int block = GetParam().block;
    const BlockInfo& info = blockInfo(block);
    AnswerRecord zero;
    AnswerRecord matched;
    fillBlock(matched, block, Fill::Key);
    for (const AnswerRecord& base : {zero, matched}) {
        AnswerRecord noisy = base;
        for (std::size_t i = 0; i < kRecordSize; ++i)
            if (i < info.firstByte
                || i >= info.firstByte + static_cast<std::size_t>(info.options()))
                noisy.bytes[i] = static_cast<std::uint8_t>(0x80 | i);
        EXPECT_EQ(SectionRun(reviewCatalogue(block), noisy).events,
            SectionRun(reviewCatalogue(block), base).events);
    }
}

TEST_P(SectionCounts, RandomRecordsAgreeWithTheBlockScore)
{
    const int block = GetParam().block;
    const ReviewCatalogue& catalogue = reviewCatalogue(block);
    for (const AnswerRecord& r : randomRecords(25)) {
        const SectionRun run(catalogue, r);
        ASSERT_EQ(run.result, 0);
        EXPECT_EQ(run.agreeingBoxes().size(), countAgreeing(r, block));
        EXPECT_EQ(run.answerLines() + static_cast<int>(run.agreeingBoxes().size()),
            blockInfo(block).options());
        EXPECT_EQ(run.events, expectedEvents(catalogue, r));
    }
}

// A failing write ends the section at once: nothing after it, neither a line nor a
// colouring, and its error number comes back.
TEST_P(SectionCounts, FailingWriteStopsAtOnce)
{
    const int block = GetParam().block;
    const ReviewCatalogue& catalogue = reviewCatalogue(block);
    const AnswerRecord record = randomRecords(1).front();
    const SectionRun full(catalogue, record);
    const int writes = static_cast<int>(full.lines().size());
    for (int k = 1; k <= writes; ++k) {
        const SectionRun failing(catalogue, record, k);
        EXPECT_EQ(failing.result, kFullDisk) << "failing write " << k;
        int seen = 0;
        const auto end = std::find_if(full.events.begin(), full.events.end(),
            [&](const Event& e) { return e.isLine && ++seen == k; });
        ASSERT_NE(end, full.events.end());
        EXPECT_EQ(failing.events, std::vector<Event>(full.events.begin(), end + 1))
            << "failing write " << k;
    }
}

INSTANTIATE_TEST_SUITE_P(Blocks, SectionCounts, ::testing::ValuesIn(kBlockCounts),
    [](const auto& info) { return "Block" + std::to_string(info.param.block); });

// ---------------------------------------------------------------- whole sections

struct FullSectionCase {
    int block;
    std::vector<int> agreeingBoxes;  // with nothing ticked
    std::vector<std::string> lines;  // empty: not compared line by line
};

std::vector<std::string> answers(const std::string& question, const std::string& letters)
{
    std::vector<std::string> out{question};
    for (const char letter : letters)
        out.push_back(std::string("Antwort ") + letter);
    out.push_back("");
    return out;
}

std::vector<std::string> section(
    const std::string& heading, const std::vector<std::vector<std::string>>& questions)
{
    std::vector<std::string> out{heading};
    for (const auto& q : questions)
        out.insert(out.end(), q.begin(), q.end());
    return out;
}

const FullSectionCase kFullSections[] = {
    {1, {2, 5, 8, 9, 10, 12, 13, 26, 33, 36},
        section("Fragen zu Kapitel 1: Über- und Einblick",
            {answers("1. Was haben Projekte gemeinsam?", "acd"),
                answers("2. Was ist Projektmanagement?", "bc"), answers("3. Was kostet PM?", "c"),
                answers("4. Wie können Sie PM-Kosten sparen?", "bcd"),
                answers(
                    "5. Was sind die Erfolgsfaktoren für Projektarbeit aus der Praxis?", "abcd"),
                answers("6. Welche Prozesse im Projekt kennen Sie?", "abcd"),
                answers("7. Welche Arten von Projekten haben wir Ihnen vorgestellt?", "acd"),
                answers("8. Welche Nutzenpotentiale gibt es durch Projektarbeit?", "abcd"),
                answers("9. Was sind hard facts aus der Projektarbeit?", "bc"),
                answers("10. Was sind soft facts aus der Projektarbeit?", "abcd")})},
    {3, {2, 4, 7, 8, 10, 11, 13, 15, 16, 22, 26, 27, 28, 31, 32, 33, 34, 37, 38, 40, 49, 51}, {}},
    {5, {4, 5, 6, 10, 13, 16, 20},
        section("Fragen zu Kapitel 5: Projektabschluss",
            {answers("1. Was geschieht bei der Abnahme im Projekt?", "abc"),
                answers("2. Was sollte ein Projektabschluss-Bericht beinhalten?", "cd"),
                answers("3. Was soll im Rahmen des Projektabschlusses erledigt werden?", "acd"),
                answers(
                    "4. Was geschieht auf einem Erfahrungsworkshop am Ende eines Projektes?", "bc"),
                answers(
                    "5. Weshalb werden in der Praxis Projekte so zaghaft abgeschlossen?", "abc")})},
    {6, {8},
        section("Fragen zu Kapitel 6: PM-Software-Werkzeuge",
            {answers(
                 "1. Beschreiben Sie einen modernen DV-Arbeitsplatz einer Projektleitung", "abcd"),
                answers("2. Wie sollte die Ablage des Projektes gegliedert sein?", "abc")})},
};

void PrintTo(const FullSectionCase& c, std::ostream* os)
{
    *os << "block " << c.block;
}

class FullSection : public ::testing::TestWithParam<FullSectionCase> { };

TEST_P(FullSection, NothingTickedLineByLine)
{
    const FullSectionCase& c = GetParam();
    const SectionRun run(reviewCatalogue(c.block), AnswerRecord{});
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(run.agreeingBoxes(), c.agreeingBoxes);
    if (!c.lines.empty()) {
        EXPECT_EQ(run.lines(), c.lines);
    }
}

INSTANTIATE_TEST_SUITE_P(Blocks, FullSection, ::testing::ValuesIn(kFullSections),
    [](const auto& info) { return "Block" + std::to_string(info.param.block); });

// ---------------------------------------------------------------- single lines and options

struct CaptionLineCase {
    int block;
    int question;
    const char* line;
};

void PrintTo(const CaptionLineCase& c, std::ostream* os)
{
    *os << "block " << c.block << " question " << c.question;
}

class CaptionLine : public ::testing::TestWithParam<CaptionLineCase> { };

TEST_P(CaptionLine, IsWrittenWithSingleBlanks)
{
    const CaptionLineCase& c = GetParam();
    const SectionRun run(reviewCatalogue(c.block), AnswerRecord{});
    const auto lines = run.lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), c.line), lines.end()) << c.line;
}

INSTANTIATE_TEST_SUITE_P(Captions, CaptionLine,
    ::testing::Values(CaptionLineCase{2, 12,
                          "12. Was verstehen wir unter Auftraggeber-Auftragnehmer-Verhältnis?"},
        CaptionLineCase{2, 29, "29. Was beinhaltet eine Projektergebnis- struktur?"},
        CaptionLineCase{2, 36,
            "36. Wie zeigen Sie den Zusammenhang zwischen Pflichtenheft und Projekt- "
            "ergebnisstruktur auf?"},
        CaptionLineCase{
            2, 37, "37. Welche Fehler bei der Ziel- bzw. Ergebnis- klärung sollten Sie vermeiden?"},
        CaptionLineCase{3, 8,
            "8. Stellen Sie den Zusammenhang zwischen Kapazität und Durchlaufzeit eines "
            "Arbeitspaketes dar."},
        CaptionLineCase{3, 12,
            "12. Was sollten Sie bei der Übergabe des APs an den Arbeitspaketverantwortlichen "
            "berücksichtigen?"},
        CaptionLineCase{
            4, 12, "12. Welche Steuerungsmöglichkeiten haben Sie bei Ergebnisabweichungen?"},
        CaptionLineCase{4, 15, "15. Was kommt bei der Projektverfolgung z.B. pro Monat heraus?"}));

// "Verbesserungspotentiale" is option d of question 2 (byte 368) and option b of question 4
// (byte 374) of block 5; each is judged on its own byte only.
struct RepeatedCaptionCase {
    std::size_t tickedByte;
    int agreeingBox;
    std::vector<std::string> question2;
    std::vector<std::string> question4;
};

void PrintTo(const RepeatedCaptionCase& c, std::ostream* os)
{
    *os << "byte " << c.tickedByte;
}

class RepeatedCaption : public ::testing::TestWithParam<RepeatedCaptionCase> { };

TEST_P(RepeatedCaption, IsJudgedOnItsOwnByte)
{
    const RepeatedCaptionCase& c = GetParam();
    AnswerRecord r;
    r.bytes[c.tickedByte] = 1;
    const SectionRun run(reviewCatalogue(5), r);
    std::vector<int> boxes{4, 5, 6, 10, 13, 16, 20, c.agreeingBox};
    std::sort(boxes.begin(), boxes.end());
    EXPECT_EQ(run.agreeingBoxes(), boxes);
    const auto lines = run.lines();
    const auto q2 = std::find(
        lines.begin(), lines.end(), "2. Was sollte ein Projektabschluss-Bericht beinhalten?");
    const auto q3 = std::find(lines.begin(), lines.end(),
        "3. Was soll im Rahmen des Projektabschlusses erledigt werden?");
    const auto q4 = std::find(lines.begin(), lines.end(),
        "4. Was geschieht auf einem Erfahrungsworkshop am Ende eines Projektes?");
    const auto q5 = std::find(lines.begin(), lines.end(),
        "5. Weshalb werden in der Praxis Projekte so zaghaft abgeschlossen?");
    ASSERT_TRUE(q2 < q3 && q3 < q4 && q4 < q5 && q5 != lines.end());
    EXPECT_EQ(std::vector<std::string>(q2 + 1, q3), c.question2);
    EXPECT_EQ(std::vector<std::string>(q4 + 1, q5), c.question4);
}

INSTANTIATE_TEST_SUITE_P(Block5, RepeatedCaption,
    ::testing::Values(
        RepeatedCaptionCase{368, 8, {"Antwort c", ""}, {"Antwort b", "Antwort c", ""}},
        RepeatedCaptionCase{374, 14, {"Antwort c", "Antwort d", ""}, {"Antwort c", ""}}));

}  // namespace
