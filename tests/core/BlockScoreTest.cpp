// Block scoring against the answer key: one table row per block.

#include "BlockCounts.h"

#include "AnswerKey.h"
#include "AnswerRecord.h"
#include "BlockScore.h"
#include "Blocks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <string>

using namespace quendral;
using quendral::test::kBlockCounts;

namespace {

struct BlockCase {
    int block;
    const char* menuName;
    const char* chartLabel;
    std::size_t firstByte;
    int options;
    unsigned percentNothingTicked;
    unsigned percentEverythingTicked;
    unsigned percentOneWrong;
    const char* key;  // per question a..d: x = expected ticked, - = expected clear
};

// The key's clear entries are what nothing ticked scores, its ticked ones what everything
// ticked scores.
int clearEntries(const BlockCase& c)
{
    return kBlockCounts[c.block - 1].nothingTicked.agreeing;
}
int tickedEntries(const BlockCase& c)
{
    return kBlockCounts[c.block - 1].everythingTicked.agreeing;
}

void PrintTo(const BlockCase& c, std::ostream* os)
{
    *os << "block " << c.block;
}

constexpr BlockCase kCases[] = {
    {1, "Über- und Einblick", "Über- und Einblick", 41, 40, 25, 75, 97,
        "x-xx -xx- --x- -xxx xxxx xxxx x-xx xxxx -xx- xxxx"},
    {2, "Projektstart", "Start", 81, 148, 53, 46, 99,
        "x-x- -x-- -xxx -xxx -x-- --x- x--- ---x -x-- xx-x x-x- x--- -xx- -xxx x--- -x-- ---x x--- "
        "x--- xxxx "
        "-xx- xx-- xxxx xx-x xx-- x--- --x- --x- -x-- -x-- x-x- xxxx xxx- --x- x--x x--- xxxx"},
    {3, "Projektplanung", "Planung", 229, 52, 42, 57, 98,
        "x-x- xx-- x--x -x-- xxxx x-xx x--- xx-- --xx --x- xxxx xxxx -x-x"},
    {4, "Projektsteuerung", "Steuerung", 281, 80, 42, 57, 98,
        "--x- x--- xxxx -x-- x--- --x- x--- x--- --x- xxxx xxxx xx-- xxxx xxxx x-xx --xx xxxx -xx- "
        "-x-x -xxx"},
    {5, "Projektabschluss", "Abschluss", 361, 20, 35, 65, 95, "xxx- --xx x-xx -xx- xxx-"},
    {6, "PM-SW-Werkzeuge", "PM-SW-Werkzeuge", 381, 8, 12, 87, 87, "xxxx xxx-"},
};

void setBlock(AnswerRecord& r, const BlockCase& c, std::uint8_t value)
{
    for (int i = 0; i < c.options; ++i)
        r.bytes[c.firstByte + static_cast<std::size_t>(i)] = value;
}

// The block's bytes as the key wants them, `tick` standing for a tick.
void matchKey(AnswerRecord& r, const BlockCase& c, std::uint8_t tick = 1)
{
    for (int i = 0; i < c.options; ++i) {
        const std::size_t offset = c.firstByte + static_cast<std::size_t>(i);
        r.bytes[offset] = expectedAt(offset) == Expected::Ticked ? tick : 0;
    }
}

// Fills everything outside the block's option bytes: leading bytes, other blocks, flags.
void fillOutside(AnswerRecord& r, const BlockCase& c, std::uint8_t value)
{
    for (std::size_t i = 0; i < kRecordSize; ++i)
        if (i < c.firstByte || i >= c.firstByte + static_cast<std::size_t>(c.options))
            r.bytes[i] = static_cast<std::uint8_t>(value + i);  // never a constant run
}

class Scoring : public ::testing::TestWithParam<BlockCase> { };

TEST_P(Scoring, BlockLiesWhereTheRecordKeepsIt)
{
    const BlockCase c = GetParam();
    const BlockInfo& info = blockInfo(c.block);
    EXPECT_EQ(info.number, c.block);
    EXPECT_STREQ(info.menuName, c.menuName);
    EXPECT_STREQ(info.chartLabel, c.chartLabel);
    EXPECT_EQ(info.firstByte, c.firstByte);
    EXPECT_EQ(info.options(), c.options);
    const std::size_t end
        = c.block < kBlockCount ? blockInfo(c.block + 1).firstByte : kDoneFlagBase + 1;
    EXPECT_EQ(c.firstByte + static_cast<std::size_t>(c.options), end)
        << "blocks follow each other gaplessly";
}

TEST_P(Scoring, KeyIsThePublishedOneQuestionByQuestion)
{
    const BlockCase c = GetParam();
    const std::string key = c.key;
    ASSERT_EQ(key.size(), static_cast<std::size_t>(5 * blockInfo(c.block).questions - 1));
    EXPECT_EQ(std::count(key.begin(), key.end(), 'x'), tickedEntries(c));
    EXPECT_EQ(std::count(key.begin(), key.end(), '-'), clearEntries(c));
    for (int q = 1; q <= blockInfo(c.block).questions; ++q)
        for (int k = 0; k < 4; ++k) {
            const bool ticked = key[static_cast<std::size_t>(5 * (q - 1) + k)] == 'x';
            EXPECT_EQ(expectedState(c.block, q, k), ticked ? Expected::Ticked : Expected::Clear)
                << "question " << q << " option " << static_cast<char>('a' + k);
        }
}

TEST_P(Scoring, NothingTickedScoresTheClearEntries)
{
    const BlockCase c = GetParam();
    const AnswerRecord r;
    EXPECT_EQ(countAgreeing(r, c.block), clearEntries(c));
    EXPECT_EQ(percentage(c.block, countAgreeing(r, c.block)), c.percentNothingTicked);
}

TEST_P(Scoring, EverythingTickedScoresTheTickedEntriesWhateverTheNonZeroValue)
{
    const BlockCase c = GetParam();
    for (const std::uint8_t tick : {1, 2, 127, 128, 255}) {
        AnswerRecord r;
        setBlock(r, c, tick);
        EXPECT_EQ(countAgreeing(r, c.block), tickedEntries(c)) << "tick byte " << int{tick};
        EXPECT_EQ(percentage(c.block, countAgreeing(r, c.block)), c.percentEverythingTicked);
    }
}

TEST_P(Scoring, MatchingTheKeyGivesAHundredPercent)
{
    const BlockCase c = GetParam();
    for (const std::uint8_t tick : {1, 2, 255}) {
        AnswerRecord r;
        matchKey(r, c, tick);
        EXPECT_EQ(countAgreeing(r, c.block), c.options) << "tick byte " << int{tick};
        EXPECT_EQ(percentage(c.block, countAgreeing(r, c.block)), 100u);
    }
}

TEST_P(Scoring, OneWrongOptionCostsOnePointAndTheRemainderIsDiscarded)
{
    const BlockCase c = GetParam();
    for (int i = 0; i < c.options; ++i) {
        AnswerRecord r;
        matchKey(r, c);
        const std::size_t offset = c.firstByte + static_cast<std::size_t>(i);
        r.bytes[offset] = r.bytes[offset] == 0 ? 255 : 0;
        EXPECT_FALSE(agreesWithKey(r, offset));
        EXPECT_EQ(countAgreeing(r, c.block), c.options - 1) << "offset " << offset;
        EXPECT_EQ(percentage(c.block, countAgreeing(r, c.block)), c.percentOneWrong);
    }
}

TEST_P(Scoring, BytesOutsideTheBlockChangeNothing)
{
    const BlockCase c = GetParam();
    for (const std::uint8_t seed : {0x01, 0x80, 0xFF}) {
        AnswerRecord matched;
        matchKey(matched, c);
        fillOutside(matched, c, seed);
        EXPECT_EQ(countAgreeing(matched, c.block), c.options);

        AnswerRecord empty;
        fillOutside(empty, c, seed);
        EXPECT_EQ(countAgreeing(empty, c.block), clearEntries(c));
    }
}

INSTANTIATE_TEST_SUITE_P(Blocks, Scoring, ::testing::ValuesIn(kCases),
    [](const auto& info) { return "Block" + std::to_string(info.param.block); });

TEST(DoneFlag, AnyNonZeroValueMeansWorkedThroughAndScoringIgnoresIt)
{
    for (int block = 1; block <= kBlockCount; ++block) {
        AnswerRecord r;
        EXPECT_FALSE(r.isDone(block));
        const std::uint16_t before = countAgreeing(r, block);
        for (const std::uint8_t flag : {1, 2, 255}) {
            r.bytes[kDoneFlagBase + static_cast<std::size_t>(block)] = flag;
            EXPECT_TRUE(r.isDone(block)) << "block " << block << " flag " << int{flag};
            EXPECT_EQ(countAgreeing(r, block), before);
        }
        for (int other = 1; other <= kBlockCount; ++other)
            if (other != block) {
                EXPECT_FALSE(r.isDone(other)) << "flag of block " << block << " read for " << other;
            }
    }
}

}  // namespace
