#pragma once

// What a course answered, as a test analyst reads it. Plain data in: the distinct loaded
// records in results-table order. Plain numbers out: per option the share agreeing with the
// key (facility), the share that ticked it, the corrected item-rest correlation
// ("Trennschärfe"), the upper-lower index of the 27 % groups and the notes it earns; per
// block the spread of the participants' percentages with its box plot, KR-20 (Cronbach's
// alpha for 0/1 items) and the standard error of measurement. A figure that is undefined
// for the course (too few participants, no variance) is nullopt, never a stand-in number.
//
// For block N the population is every record whose done flag N is set; an option scores
// x = 1 where the tick agrees with the key, and the block total T is the sum of x. Variances
// divide by n, except the standard deviation of the percentages, which divides by n - 1 as
// a spreadsheet's STABW does.
//
// Cost: one pass over the records (a worked block's options twice: once for its total T,
// once to pair each agreeing option with T), then per block one stable counting sort of its
// participants by T and one walk over the two 27 % groups. Time and memory grow linearly
// with the number of records: O(records x options) time, some twenty bytes per record.

#include "AnswerRecord.h"
#include "Blocks.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quendral {

enum OptionNote : unsigned {
    kNoteCheckKey = 1u << 0,  // "Schlüssel prüfen": Trennschärfe < 0 or facility < 30 %
    kNoteWeak = 1u << 1,  // "trennt schwach": 0 <= Trennschärfe < 0.2
    kNoteVeryEasy = 1u << 2,  // "sehr leicht": facility >= 95 %
};

// Notes are given only from this many participants of the block on.
inline constexpr std::uint32_t kNotesFromParticipants = 10;

// The notes in the order above, joined with ", "; empty for none.
std::string noteText(unsigned notes);

struct OptionStatistics {
    std::uint32_t agreeing = 0;  // participants whose tick agrees with the key
    std::uint32_t ticked = 0;
    std::optional<double> facility;  // per cent agreeing; none when nobody worked the block
    std::optional<double> tickedShare;  // per cent ticked
    std::optional<double> discrimination;  // Pearson's r of x and T - x
    std::optional<double> upperLowerIndex;  // share agreeing: upper 27 % minus lower 27 %
    unsigned notes = 0;  // OptionNote bits
};

// Quartiles as a spreadsheet's QUARTILE.INKL computes them (linear interpolation between
// the order statistics, h = (n - 1) p); whiskers to the furthest percentage within 1.5
// interquartile ranges of the box (Tukey), the percentages beyond them as outliers.
struct BoxPlot {
    double lowerWhisker = 0;
    double lowerQuartile = 0;
    double median = 0;
    double upperQuartile = 0;
    double upperWhisker = 0;
    std::vector<unsigned> outliers;  // distinct percentages beyond the whiskers, ascending
};

// Of the participants' block percentages (the results table's whole numbers).
struct BlockStatistics {
    std::uint32_t participants = 0;  // n
    std::optional<double> mean;
    std::optional<double> median;
    std::optional<double> standardDeviation;  // n - 1; none below two participants
    std::optional<double> minimum;
    std::optional<double> maximum;
    std::optional<BoxPlot> boxPlot;
    std::optional<double> alpha;  // KR-20 over the block's options
    std::optional<double> measurementError;  // sd(T) x sqrt(1 - alpha), in points
};

// A participant's agreeing options per block (T), nothing for a block not worked.
using BlockTotals = std::array<std::optional<std::uint8_t>, kBlockCount>;

struct CourseStatistics {
    std::uint32_t participants = 0;  // records given
    std::array<BlockStatistics, kBlockCount> blocks{};
    std::array<OptionStatistics, kOptionCount> options{};  // in record order
    std::vector<BlockTotals> totals;  // per record, in the order given

    const BlockStatistics& block(int number) const
    {
        return blocks[static_cast<std::size_t>(number - 1)];
    }
    // By the option's answer record offset.
    const OptionStatistics& option(std::size_t offset) const
    {
        return options[offset - kFirstOptionByte];
    }
};

enum class StatisticsScope {
    Full,
    TotalsOnly  // only `participants` and `totals`, for a results table and nothing else
};

CourseStatistics computeCourseStatistics(
    std::span<const AnswerRecord> records, StatisticsScope scope = StatisticsScope::Full);

}  // namespace quendral
