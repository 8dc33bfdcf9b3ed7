#include "CourseStatistics.h"

#include "AnswerKey.h"
#include "BlockScore.h"

#include <algorithm>
#include <cmath>

namespace quendral {

namespace {

// Sums of products of counts outgrow 64 bits long before a course does.
__extension__ typedef __int128 Wide;

constexpr int kMostOptions = [] {
    int most = 0;
    for (const BlockInfo& info : kBlocks)
        most = std::max(most, info.options());
    return most;
}();

// Per option, in record order; arrays of their own, so that the loops over a block's options
// run over plain rows of numbers.
struct OptionSums {
    std::array<std::uint32_t, kOptionCount> agreeing{};
    std::array<std::uint32_t, kOptionCount> ticked{};
    std::array<std::uint64_t, kOptionCount> agreeingTotals{};  // sum of T over who agree
};

// 1 where the option's key is "ticked", by record offset less kFirstOptionByte.
constexpr std::array<std::uint8_t, kOptionCount> kKeyTicked = [] {
    std::array<std::uint8_t, kOptionCount> ticked{};
    for (std::size_t i = 0; i < kOptionCount; ++i)
        ticked[i] = kAnswerKey[i] == Expected::Ticked ? 1 : 0;
    return ticked;
}();

// One block's population: record indices and totals in results-table order, and the sums
// the moments come from.
struct BlockPopulation {
    std::vector<std::uint32_t> members;
    std::vector<std::uint8_t> totals;
    std::uint64_t totalSum = 0;
    std::uint64_t totalSquares = 0;
    std::uint64_t percentSum = 0;
    std::uint64_t percentSquares = 0;
};

// Positions into the population, T descending; equal totals keep results-table order.
std::vector<std::uint32_t> byTotalDescending(const std::vector<std::uint8_t>& totals, int options)
{
    std::vector<std::uint32_t> next(static_cast<std::size_t>(options) + 1, 0);
    for (const std::uint8_t total : totals)
        ++next[total];
    std::uint32_t start = 0;
    for (int total = options; total >= 0; --total) {
        const std::uint32_t count = next[static_cast<std::size_t>(total)];
        next[static_cast<std::size_t>(total)] = start;
        start += count;
    }
    std::vector<std::uint32_t> order(totals.size());
    for (std::uint32_t i = 0; i < totals.size(); ++i)
        order[next[totals[i]]++] = i;
    return order;
}

BoxPlot boxPlotOf(const std::vector<unsigned>& ascending)
{
    const std::size_t n = ascending.size();
    // QUARTILE.INKL: h = (n - 1) quarters / 4, interpolated between its neighbours.
    auto quantile = [&](std::size_t quarters) {
        const std::size_t h4 = (n - 1) * quarters;
        const std::size_t low = h4 / 4;
        double value = ascending[low];
        if (const std::size_t rest = h4 % 4; rest != 0)
            value += (double(ascending[low + 1]) - double(ascending[low])) * double(rest) / 4;
        return value;
    };
    BoxPlot box;
    box.lowerQuartile = quantile(1);
    box.median = quantile(2);
    box.upperQuartile = quantile(3);
    const double reach = 1.5 * (box.upperQuartile - box.lowerQuartile);
    const double lowFence = box.lowerQuartile - reach;
    const double highFence = box.upperQuartile + reach;
    box.lowerWhisker = box.lowerQuartile;
    box.upperWhisker = box.upperQuartile;
    for (const unsigned p : ascending) {
        if (p < lowFence || p > highFence) {
            if (box.outliers.empty() || box.outliers.back() != p)
                box.outliers.push_back(p);
            continue;
        }
        box.lowerWhisker = std::min(box.lowerWhisker, double(p));
        box.upperWhisker = std::max(box.upperWhisker, double(p));
    }
    return box;
}

// The population's figures from its sums and its stable order by total.
void describeBlock(const BlockInfo& info, const BlockPopulation& population,
    const std::vector<std::uint32_t>& order, BlockStatistics& result)
{
    const std::size_t n = population.members.size();
    result.participants = static_cast<std::uint32_t>(n);
    if (n == 0)
        return;
    std::vector<unsigned> ascending(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t total = population.totals[order[n - 1 - i]];
        ascending[i] = percentage(info.number, total);
    }
    const double count = double(n);
    result.mean = double(population.percentSum) / count;
    result.minimum = ascending.front();
    result.maximum = ascending.back();
    result.boxPlot = boxPlotOf(ascending);
    result.median = result.boxPlot->median;
    if (n >= 2) {
        const Wide spread = Wide(n) * population.percentSquares
            - Wide(population.percentSum) * population.percentSum;
        result.standardDeviation = std::sqrt(double(spread) / (count * (count - 1)));
    }
}

void describeOptions(const BlockInfo& info, const BlockPopulation& population,
    const std::vector<std::uint32_t>& order, std::span<const AnswerRecord> records,
    const OptionSums& sums, CourseStatistics& result)
{
    const std::uint64_t n = population.members.size();
    if (n == 0)
        return;
    const auto k = static_cast<std::size_t>(info.options());
    const std::size_t first = info.firstByte - kFirstOptionByte;

    // The 27 % groups: the first g and the last g of the order by total.
    const std::uint64_t g = (27 * n + 50) / 100;
    std::array<std::uint32_t, kMostOptions> upper{};
    std::array<std::uint32_t, kMostOptions> lower{};
    auto countGroup = [&](std::uint64_t from, std::array<std::uint32_t, kMostOptions>& group) {
        for (std::uint64_t m = from; m < from + g; ++m) {
            const std::uint8_t* bytes = records[population.members[order[m]]].bytes.data();
            for (std::size_t i = 0; i < k; ++i)
                group[i] += (bytes[info.firstByte + i] != 0 ? 1 : 0) == kKeyTicked[first + i];
        }
    };
    if (g >= 1) {
        countGroup(0, upper);
        countGroup(n - g, lower);
    }

    const Wide S = population.totalSum;
    const Wide Q = population.totalSquares;
    const Wide N = n;
    Wide itemVariances = 0;  // n^2 times the sum of the options' variances
    for (std::size_t i = 0; i < k; ++i) {
        OptionStatistics& option = result.options[first + i];
        const Wide a = sums.agreeing[first + i];
        const Wide P = sums.agreeingTotals[first + i];
        option.agreeing = sums.agreeing[first + i];
        option.ticked = sums.ticked[first + i];
        option.facility = 100.0 * double(option.agreeing) / double(n);
        option.tickedShare = 100.0 * double(option.ticked) / double(n);
        itemVariances += a * (N - a);

        // n^2 times the covariance and variances of x and the rest y = T - x, from
        // sum x = a, sum xT = P (x^2 = x), sum T = S, sum T^2 = Q.
        const Wide covariance = N * (P - a) - a * (S - a);
        const Wide varianceX = a * (N - a);
        const Wide varianceY = N * (Q - 2 * P + a) - (S - a) * (S - a);
        const bool correlated = n >= 3 && varianceX > 0 && varianceY > 0;
        if (correlated)
            option.discrimination = double(covariance)
                / (std::sqrt(double(varianceX)) * std::sqrt(double(varianceY)));
        if (g >= 1)
            option.upperLowerIndex = (double(upper[i]) - double(lower[i])) / double(g);

        if (n < kNotesFromParticipants)
            continue;
        // Compared exactly: r < 0 is covariance < 0, and r < 0.2 is 25 cov^2 < varX varY.
        const bool negative = correlated && covariance < 0;
        const bool weak
            = correlated && covariance >= 0 && 25 * covariance * covariance < varianceX * varianceY;
        if (negative || 100 * a < 30 * N)
            option.notes |= kNoteCheckKey;
        if (weak)
            option.notes |= kNoteWeak;
        if (100 * a >= 95 * N)
            option.notes |= kNoteVeryEasy;
    }

    BlockStatistics& block = result.blocks[static_cast<std::size_t>(info.number - 1)];
    const Wide totalVariance = N * Q - S * S;  // n^2 var(T)
    if (n >= 3 && totalVariance > 0) {
        const double kk = double(k);
        const double alpha = kk / (kk - 1) * (1 - double(itemVariances) / double(totalVariance));
        block.alpha = alpha;
        block.measurementError
            = std::sqrt(double(totalVariance)) / double(n) * std::sqrt(std::max(0.0, 1 - alpha));
    }
}

}  // namespace

std::string noteText(unsigned notes)
{
    std::string text;
    for (const auto& [bit, words] : {std::pair{kNoteCheckKey, "Schlüssel prüfen"},
             std::pair{kNoteWeak, "trennt schwach"}, std::pair{kNoteVeryEasy, "sehr leicht"}}) {
        if ((notes & bit) == 0)
            continue;
        if (!text.empty())
            text += ", ";
        text += words;
    }
    return text;
}

CourseStatistics computeCourseStatistics(
    std::span<const AnswerRecord> records, StatisticsScope scope)
{
    const bool full = scope == StatisticsScope::Full;
    CourseStatistics result;
    result.participants = static_cast<std::uint32_t>(records.size());
    OptionSums sums;
    std::array<BlockPopulation, kBlockCount> populations;
    result.totals.resize(records.size());

    for (std::size_t r = 0; r < records.size(); ++r) {
        const AnswerRecord& record = records[r];
        for (const BlockInfo& info : kBlocks) {
            if (!record.isDone(info.number))
                continue;
            const std::size_t first = info.firstByte - kFirstOptionByte;
            const auto k = static_cast<std::size_t>(info.options());
            const std::uint8_t* bytes = record.bytes.data() + info.firstByte;
            // Plain loops over the block's bytes, which the compiler turns into vector code.
            std::array<std::uint8_t, kMostOptions> ticks;
            std::array<std::uint8_t, kMostOptions> agrees;
            for (std::size_t i = 0; i < k; ++i) {
                ticks[i] = bytes[i] != 0 ? 1 : 0;
                agrees[i] = ticks[i] == kKeyTicked[first + i] ? 1 : 0;
            }
            unsigned total = 0;
            for (std::size_t i = 0; i < k; ++i)
                total += agrees[i];
            result.totals[r][static_cast<std::size_t>(info.number - 1)] = total;
            if (!full)
                continue;
            for (std::size_t i = 0; i < k; ++i) {
                sums.agreeing[first + i] += agrees[i];
                sums.ticked[first + i] += ticks[i];
                sums.agreeingTotals[first + i] += agrees[i] * std::uint64_t{total};
            }
            BlockPopulation& population = populations[static_cast<std::size_t>(info.number - 1)];
            const unsigned percent = percentage(info.number, static_cast<std::uint16_t>(total));
            population.members.push_back(static_cast<std::uint32_t>(r));
            population.totals.push_back(static_cast<std::uint8_t>(total));
            population.totalSum += total;
            population.totalSquares += total * total;
            population.percentSum += percent;
            population.percentSquares += percent * percent;
        }
    }

    for (const BlockInfo& info : kBlocks) {
        if (!full)
            break;
        const BlockPopulation& population = populations[static_cast<std::size_t>(info.number - 1)];
        const std::vector<std::uint32_t> order
            = byTotalDescending(population.totals, info.options());
        describeBlock(
            info, population, order, result.blocks[static_cast<std::size_t>(info.number - 1)]);
        describeOptions(info, population, order, records, sums, result);
    }
    return result;
}

}  // namespace quendral
