// The course statistics of the evaluation core on records made in memory: German numbers,
// a course drawn from an ability model with one option keyed the wrong way round, the box
// plot's quartiles and whiskers, and the figures that must stay empty.

#include "BatchFixtures.h"

#include "CourseStatistics.h"
#include "GermanNumbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

using namespace quendral;
using namespace quendral::batch::test;

namespace {

// ---------------------------------------------------------------- German numbers

struct NumberCase {
    const char* name;
    double value;
    int decimals;
    std::string written;
};

void PrintTo(const NumberCase& c, std::ostream* os)
{
    *os << c.name;
}

class GermanNumber : public ::testing::TestWithParam<NumberCase> { };

TEST_P(GermanNumber, HasADecimalCommaAndRoundsHalvesAwayFromZero)
{
    EXPECT_EQ(germanDecimal(GetParam().value, GetParam().decimals), GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(Values, GermanNumber,
    ::testing::Values(NumberCase{"Zero", 0, 2, "0,00"}, NumberCase{"Whole", 87, 1, "87,0"},
        NumberCase{"Hundred", 100, 1, "100,0"}, NumberCase{"NoDecimals", 41.5, 0, "42"},
        NumberCase{"Half", 0.125, 2, "0,13"}, NumberCase{"NegativeHalf", -0.125, 2, "-0,13"},
        NumberCase{"HalfStoredBelowItself", 0.075, 2, "0,08"},  // 0.07499999999999999722
        NumberCase{"NegativeHalfStoredBelow", -0.075, 2, "-0,08"},
        NumberCase{"JustBelowHalf", 0.12499, 2, "0,12"},
        NumberCase{"NegativeNearZero", -0.001, 2, "-0,00"},
        NumberCase{"NegativeZero", -0.0, 2, "0,00"}, NumberCase{"MinusOne", -1, 2, "-1,00"},
        NumberCase{"Carry", 9.996, 2, "10,00"}, NumberCase{"Large", 14800.04, 1, "14800,0"},
        NumberCase{"NotANumber", std::nan(""), 2, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GermanNumberOfNothing, IsAnEmptyCell)
{
    EXPECT_EQ(germanPercent(std::nullopt), "");
    EXPECT_EQ(germanCoefficient(std::nullopt), "");
    EXPECT_EQ(germanPercent(66.666), "66,7");
    EXPECT_EQ(germanCoefficient(0.4673), "0,47");
}

// ---------------------------------------------------------------- an ability model

// Two options, one in block 2 and one in block 4, are keyed the wrong way round: agreeing
// with the key gets less likely as the ability rises.
TEST(AbilityModel, OnlyTheOptionsKeyedTheWrongWayRoundNeedTheKeyChecked)
{
    constexpr std::size_t kReversed[] = {81 + 4 * 13 + 2, 281 + 4 * 6 + 1};  // 2.14c, 4.7b
    const std::vector<AnswerRecord> records
        = abilityCourse(300, {2, 4}, {kReversed[0], kReversed[1]}, 1234);

    const CourseStatistics statistics = computeCourseStatistics(records);
    std::vector<std::size_t> flagged;
    for (std::size_t offset = kFirstOptionByte; offset < kFirstOptionByte + kOptionCount;
         ++offset) {
        if (statistics.option(offset).notes & kNoteCheckKey)
            flagged.push_back(offset);
    }
    EXPECT_EQ(flagged, std::vector<std::size_t>(std::begin(kReversed), std::end(kReversed)));
    for (const std::size_t offset : kReversed) {
        const OptionStatistics& option = statistics.option(offset);
        ASSERT_TRUE(option.discrimination);
        EXPECT_LT(*option.discrimination, -0.2);
        EXPECT_LT(*option.upperLowerIndex, -0.3);
        EXPECT_GE(*option.facility, 30);  // flagged for its correlation, not for its facility
    }
    for (int block : {2, 4}) {
        const BlockStatistics& b = statistics.block(block);
        EXPECT_EQ(b.participants, 300u);
        ASSERT_TRUE(b.alpha);
        EXPECT_GT(*b.alpha, 0.8) << "block " << block;
        EXPECT_LT(*b.alpha, 1);
        ASSERT_TRUE(b.measurementError);
        EXPECT_GT(*b.measurementError, 0);
    }
    EXPECT_EQ(statistics.block(1).participants, 0u);
    EXPECT_FALSE(statistics.block(1).alpha);
}

// ---------------------------------------------------------------- box plot

// Records on block 6 only, one per agreement pattern (1a .. 2d, 1 = agrees).
std::vector<AnswerRecord> block6(const std::vector<std::string>& patterns)
{
    std::vector<AnswerRecord> records(patterns.size());
    for (std::size_t i = 0; i < patterns.size(); ++i)
        setAgreement(records[i], 6, patterns[i]);
    return records;
}

// The same with the given numbers of agreeing options (0 to 8), the first ones agreeing.
std::vector<AnswerRecord> block6Totals(const std::vector<int>& totals)
{
    std::vector<std::string> patterns;
    for (const int total : totals)
        patterns.push_back(std::string(static_cast<std::size_t>(total), '1')
            + std::string(static_cast<std::size_t>(8 - total), '0'));
    return block6(patterns);
}

struct BoxCase {
    const char* name;
    std::vector<AnswerRecord> records;
    BoxPlot box;
};

void PrintTo(const BoxCase& c, std::ostream* os)
{
    *os << c.name;
}

class BoxPlotOfBlock : public ::testing::TestWithParam<BoxCase> { };

TEST_P(BoxPlotOfBlock, HasSpreadsheetQuartilesAndTukeyWhiskers)
{
    const CourseStatistics statistics = computeCourseStatistics(GetParam().records);
    const std::optional<BoxPlot>& box = statistics.block(6).boxPlot;
    ASSERT_TRUE(box);
    const BoxPlot& want = GetParam().box;
    EXPECT_DOUBLE_EQ(box->lowerWhisker, want.lowerWhisker);
    EXPECT_DOUBLE_EQ(box->lowerQuartile, want.lowerQuartile);
    EXPECT_DOUBLE_EQ(box->median, want.median);
    EXPECT_DOUBLE_EQ(box->upperQuartile, want.upperQuartile);
    EXPECT_DOUBLE_EQ(box->upperWhisker, want.upperWhisker);
    EXPECT_EQ(box->outliers, want.outliers);
    EXPECT_DOUBLE_EQ(*statistics.block(6).median, want.median);
}

// Block 6 percentages by total: 0 -> 0, 1 -> 12, 2 -> 25, 4 -> 50, 6 -> 75, 7 -> 87, 8 -> 100.
INSTANTIATE_TEST_SUITE_P(Courses, BoxPlotOfBlock,
    ::testing::Values(
        // QUARTILE.INKL of 12, 25, 50, 100: h = 0.75, 1.5, 2.25.
        BoxCase{"Interpolated", block6Totals({8, 1, 4, 2}), {12, 21.75, 37.5, 62.5, 100, {}}},
        // 0 75 75 75 75 75 87 87 87 87 100: fences 57 and 105; 0 lies beyond.
        BoxCase{"LowOutlier", block6Totals({8, 7, 7, 7, 7, 6, 6, 6, 6, 6, 0}),
            {75, 75, 75, 87, 100, {0}}},
        // 0 0 12, ten times 50, 100: quartiles and fences all 50; twice 0 % is one outlier.
        BoxCase{"OutliersBothSides", block6Totals({4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 0, 0, 1, 8}),
            {50, 50, 50, 50, 50, {0, 12, 100}}},
        BoxCase{"OneParticipant", block6Totals({6}), {75, 75, 75, 75, 75, {}}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- empty figures

TEST(SmallCourse, LeavesUndefinedFiguresEmpty)
{
    // n = 1: no standard deviation, no 27 % group, no correlation, no alpha.
    const CourseStatistics one = computeCourseStatistics(block6Totals({5}));
    EXPECT_EQ(*one.block(6).mean, 62);
    EXPECT_FALSE(one.block(6).standardDeviation);
    EXPECT_FALSE(one.block(6).alpha);
    EXPECT_FALSE(one.block(6).measurementError);
    EXPECT_FALSE(one.option(381).upperLowerIndex);
    EXPECT_FALSE(one.option(381).discrimination);

    // n = 2: one in each 27 % group, still no correlation and no alpha.
    const CourseStatistics two = computeCourseStatistics(block6Totals({5, 2}));
    EXPECT_TRUE(two.block(6).standardDeviation);
    EXPECT_DOUBLE_EQ(*two.option(381 + 3).upperLowerIndex, 1);  // 1d: 5 agree, 2 do not
    EXPECT_DOUBLE_EQ(*two.option(381).upperLowerIndex, 0);  // 1a: both agree
    EXPECT_FALSE(two.option(381 + 3).discrimination);
    EXPECT_FALSE(two.block(6).alpha);

    // Totals all equal: no variance of T, so no alpha; an option that splits them is the
    // exact opposite of its rest (r = -1).
    const CourseStatistics level
        = computeCourseStatistics(block6({"11110000", "11101000", "11100100"}));
    EXPECT_FALSE(level.block(6).alpha);
    EXPECT_FALSE(level.block(6).measurementError);
    EXPECT_DOUBLE_EQ(*level.block(6).standardDeviation, 0);
    EXPECT_FALSE(level.option(381).discrimination);  // everybody agrees: no variance of x
    EXPECT_DOUBLE_EQ(*level.option(381 + 3).discrimination, -1);
    EXPECT_DOUBLE_EQ(*level.option(381 + 4).discrimination, -1);
}

TEST(Notes, NeedTenParticipantsOfTheBlock)
{
    // Nobody agrees with option 2d, whose correlation is therefore undefined: below 30 %.
    auto course = [](std::size_t participants) {
        std::vector<std::string> patterns;
        for (std::size_t i = 0; i < participants; ++i)
            patterns.emplace_back(i % 2 ? "11111110" : "10101010");
        return computeCourseStatistics(block6(patterns));
    };
    EXPECT_EQ(course(9).option(388).notes, 0u);
    EXPECT_EQ(course(10).option(388).notes, unsigned(kNoteCheckKey));
    EXPECT_FALSE(course(10).option(388).discrimination);
    EXPECT_EQ(course(10).option(381).notes, unsigned(kNoteVeryEasy));
    EXPECT_EQ(noteText(kNoteCheckKey | kNoteWeak | kNoteVeryEasy),
        "Schlüssel prüfen, trennt schwach, sehr leicht");
    EXPECT_EQ(noteText(0), "");
}

}  // namespace
