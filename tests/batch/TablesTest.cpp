// The tables' cells: CSV quoting, the shares of the item analysis, the rows of the
// results table, and an item analysis of a course in which nobody worked anything.

#include "BatchFixtures.h"

#include "Course.h"
#include "Table.h"

#include "CourseStatistics.h"
#include "CsvWriter.h"
#include "GermanNumbers.h"
#include "ItemAnalysis.h"
#include "ResultsTable.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

using namespace quendral;
using namespace quendral::batch;
using namespace quendral::batch::test;

namespace {

// ---------------------------------------------------------------- CSV cells

struct CellCase {
    const char* name;
    std::string text;
    std::string written;
};

void PrintTo(const CellCase& c, std::ostream* os)
{
    *os << c.name;
}

class CsvCell : public ::testing::TestWithParam<CellCase> { };

TEST_P(CsvCell, IsQuotedOnlyWhereASpreadsheetWouldSplitIt)
{
    std::string out;
    CsvWriter csv(out);
    csv.text("vor");
    csv.text(GetParam().text);
    csv.text("nach");
    csv.endRow();
    EXPECT_EQ(out, "vor;" + GetParam().written + ";nach\r\n");
}

INSTANTIATE_TEST_SUITE_P(Texts, CsvCell,
    ::testing::Values(CellCase{"Plain", "kurs/anna.dat", "kurs/anna.dat"},
        CellCase{"Empty", "", ""}, CellCase{"Umlauts", "Über- und Einblick", "Über- und Einblick"},
        CellCase{"Blanks", " a  b ", " a  b "}, CellCase{"Comma", "66,7", "66,7"},
        CellCase{"Semicolon", "a;b", "\"a;b\""},
        CellCase{"Quote", "\"Pi mal Daumen\"", "\"\"\"Pi mal Daumen\"\"\""},
        CellCase{"QuoteInside", "a\"b", "\"a\"\"b\""}, CellCase{"LineFeed", "a\nb", "\"a\nb\""},
        CellCase{"CarriageReturn", "a\rb", "\"a\rb\""},
        CellCase{"Everything", "x;\"y\"\r\n", "\"x;\"\"y\"\"\r\n\""},
        // Cells a spreadsheet would run as a formula are made plain text.
        CellCase{"Formula", "=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\""},
        CellCase{"Plus", "+1.dat", "'+1.dat"}, CellCase{"Minus", "-x.dat", "'-x.dat"},
        CellCase{"At", "@SUM(A1).dat", "'@SUM(A1).dat"}, CellCase{"Tab", "\tx", "'\tx"},
        CellCase{"LeadingCarriageReturn", "\rx", "\"'\rx\""},
        CellCase{"SignInside", "a=b-c", "a=b-c"},
        // Bytes that are no UTF-8 are shown as U+FFFD; valid UTF-8 stays as it is.
        CellCase{"Latin1Name", "M\xFCller.dat", "M\xEF\xBF\xBDller.dat"},
        CellCase{"CutSequence", "a\xC3", "a\xEF\xBF\xBD"},
        CellCase{"FourBytes", "\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CsvRow, NumbersAndEmptyCellsAreSeparatedLikeText)
{
    std::string out;
    CsvWriter csv(out);
    csv.empty();
    csv.number(0);
    csv.empty();
    csv.number(18446744073709551615ull);
    csv.empty();
    csv.endRow();
    csv.number(7);
    csv.endRow();
    EXPECT_EQ(out, ";0;;18446744073709551615;\r\n7\r\n");
}

// ---------------------------------------------------------------- shares

struct ShareCase {
    const char* name;
    std::uint64_t count;
    std::uint64_t total;
    std::string written;
};

void PrintTo(const ShareCase& c, std::ostream* os)
{
    *os << c.name;
}

class Share : public ::testing::TestWithParam<ShareCase> { };

TEST_P(Share, IsAGermanPercentageWithOneDecimal)
{
    EXPECT_EQ(germanShare(GetParam().count, GetParam().total), GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(Counts, Share,
    ::testing::Values(ShareCase{"NobodyWorkedTheBlock", 0, 0, ""}, ShareCase{"None", 0, 3, "0,0"},
        ShareCase{"OneThird", 1, 3, "33,3"}, ShareCase{"TwoThirds", 2, 3, "66,7"},
        ShareCase{"All", 3, 3, "100,0"}, ShareCase{"Half", 1, 2, "50,0"},
        ShareCase{"OneEighth", 1, 8, "12,5"}, ShareCase{"HalfTenthRoundsUp", 1, 16, "6,3"},
        ShareCase{"JustBelowHalfTenth", 1, 2001, "0,0"},
        ShareCase{"ExactlyHalfTenth", 1, 2000, "0,1"},
        ShareCase{"JustBelowAll", 9999, 10000, "100,0"},
        ShareCase{"LargeCourse", 6667, 10000, "66,7"},
        // Halves that binary fractions cannot hold exactly still round up.
        ShareCase{"ThreeIn2000", 3, 2000, "0,2"}, ShareCase{"QuarterPercent", 1, 400, "0,3"},
        ShareCase{"HalfTenthOfMany", 245, 10000, "2,5"},
        ShareCase{"JustBelowHalfTenthOfMany", 244999, 10000000, "2,4"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- results rows

struct RowCase {
    const char* name;
    std::function<AnswerRecord()> record;
    std::string row;
};

void PrintTo(const RowCase& c, std::ostream* os)
{
    *os << c.name;
}

class ResultsRow : public ::testing::TestWithParam<RowCase> { };

TEST_P(ResultsRow, HoldsPercentagesOfWorkedBlocksAndTheirTotals)
{
    Course course;
    course.paths = {"k/t.dat"};
    course.records = {GetParam().record()};
    course.statistics = computeCourseStatistics(course.records);
    const std::vector<std::string> lines = crlfLines(csvBytes(ResultsTable(course)));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "k/t.dat;" + GetParam().row);
}

AnswerRecord everyBlock(Fill fill, std::uint8_t tick = 1)
{
    AnswerRecord record;
    for (int block = 1; block <= 6; ++block)
        fillBlock(record, block, fill, tick);
    setDone(record, {1, 2, 3, 4, 5, 6});
    return record;
}

INSTANTIATE_TEST_SUITE_P(Records, ResultsRow,
    ::testing::Values(RowCase{"NothingWorked", [] { return AnswerRecord{}; }, ";;;;;;0;0"},
        RowCase{"KeyButNothingWorked",
            [] {
                AnswerRecord r;
                for (int block = 1; block <= 6; ++block)
                    fillBlock(r, block, Fill::Key);
                return r;
            },
            ";;;;;;0;0"},
        RowCase{"AllMatchTheKey", [] { return everyBlock(Fill::Key); },
            "100;100;100;100;100;100;348;348"},
        RowCase{
            "NothingTicked", [] { return everyBlock(Fill::Nothing); }, "25;53;42;42;35;12;153;348"},
        RowCase{"EverythingTickedAs255", [] { return everyBlock(Fill::Everything, 255); },
            "75;46;57;57;65;87;195;348"},
        RowCase{"Blocks124",
            [] {
                AnswerRecord r;
                fillBlock(r, 1, Fill::Key);
                fillBlock(r, 2, Fill::Nothing);
                fillBlock(r, 3, Fill::Key);
                fillBlock(r, 4, Fill::Everything);
                setDone(r, {1, 2, 4}, 255);
                return r;
            },
            "100;53;;57;;;165;268"},
        RowCase{"OnlyBlock6OneWrong",
            [] {
                AnswerRecord r;
                fillBlock(r, 6, Fill::Key);
                r.bytes[388] = 1;  // option d of question 2 is expected clear
                setDone(r, {6});
                return r;
            },
            ";;;;;87;7;8"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ResultsHeader, NamesTheBlocksAsTheChartDoes)
{
    EXPECT_EQ(csvBytes(ResultsTable(Course{})),
        std::string(CsvWriter::kByteOrderMark)
            + "Datei;Über- und Einblick;Start;Planung;Steuerung;Abschluss;PM-SW-Werkzeuge;"
              "Punkte;Optionen\r\n");
}

// ---------------------------------------------------------------- item analysis

TEST(ItemAnalysisOfEmptyCourse, CountsNobodyAndLeavesTheFiguresEmpty)
{
    const CourseStatistics statistics = computeCourseStatistics({});
    const std::vector<std::string> lines = crlfLines(csvBytes(ItemAnalysis(statistics)));
    ASSERT_EQ(lines.size(), 1u + kOptionCount);
    for (std::size_t i = 1; i < lines.size(); ++i)
        EXPECT_TRUE(lines[i].ends_with(";0;;;;;")) << lines[i];
}

TEST(CourseStatisticsOfUnworkedBlock, IgnoresItsTicks)
{
    AnswerRecord record;
    fillBlock(record, 3, Fill::Everything);
    setDone(record, {1});
    const CourseStatistics statistics = computeCourseStatistics(std::span(&record, 1));
    EXPECT_EQ(statistics.participants, 1u);
    EXPECT_EQ(statistics.block(1).participants, 1u);
    EXPECT_EQ(statistics.block(3).participants, 0u);
    EXPECT_EQ(statistics.option(229).ticked, 0u);
    EXPECT_EQ(statistics.option(229).agreeing, 0u);
    EXPECT_FALSE(statistics.option(229).facility);
    EXPECT_EQ(statistics.option(42).agreeing, 1u);  // block 1, 1b is expected clear and is clear
    EXPECT_EQ(statistics.option(41).agreeing, 0u);  // 1a is expected ticked
}

}  // namespace
