#include "SampleTable.h"

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <ostream>

namespace quendral::bench {

namespace {

template <class T> double median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    if (n % 2 == 1)
        return double(values[n / 2]);
    return (double(values[n / 2 - 1]) + double(values[n / 2])) / 2;
}

std::vector<double> walls(const std::vector<Sample>& samples)
{
    std::vector<double> values;
    for (const Sample& s : samples)
        values.push_back(s.wall);
    return values;
}

std::vector<double> cpus(const std::vector<Sample>& samples)
{
    std::vector<double> values;
    for (const Sample& s : samples)
        values.push_back(s.cpu);
    return values;
}

std::string formatTime(double seconds)
{
    char text[32];
    if (seconds < 1e-3)
        std::snprintf(text, sizeof text, "%.1f us", seconds * 1e6);
    else
        std::snprintf(text, sizeof text, "%.2f ms", seconds * 1e3);
    return text;
}

std::string formatRatio(double figure, double floor)
{
    if (floor <= 0)
        return "-";
    char text[16];
    std::snprintf(text, sizeof text, "%.2f", figure / floor);
    return text;
}

std::string formatAim(const TableRow& row)
{
    std::string aim;
    char text[48];
    if (row.ratioAim > 0) {
        std::snprintf(text, sizeof text, "<= %.1fx", row.ratioAim);
        aim += text;
    }
    if (row.secondsAim > 0) {
        std::snprintf(
            text, sizeof text, "%s< %.0f ms", aim.empty() ? "" : ", ", row.secondsAim * 1e3);
        aim += text;
    }
    return aim.empty() ? "-" : aim;
}

// The texts here are ASCII, so widths count characters.
std::string cell(std::string text, std::size_t width, bool right = true)
{
    if (text.size() < width)
        text.insert(right ? text.begin() : text.end(), width - text.size(), ' ');
    return text;
}

std::string formatMegabytes(double kilobytes)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MB", kilobytes / 1024.0);
    return text;
}

}  // namespace

SampleTable& SampleTable::instance()
{
    static SampleTable table;
    return table;
}

void SampleTable::print(std::ostream& out, const std::vector<TableRow>& rows) const
{
    std::size_t figureWidth = 6;
    for (const TableRow& row : rows)
        figureWidth = std::max(figureWidth, row.figure.size());
    const std::string rule = std::string(figureWidth, '-') + "-|-" + std::string(10, '-') + "-|-"
        + std::string(10, '-') + "-|-" + std::string(5, '-') + "-|-" + std::string(10, '-') + "-|-"
        + std::string(10, '-') + "-|-" + std::string(5, '-') + "-|-" + std::string(10, '-') + "-|-"
        + std::string(3, '-') + "-|-" + std::string(16, '-') + "-|----\n";

    out << '\n'
        << cell("figure", figureWidth, false) << " | " << cell("median", 10) << " | "
        << cell("floor", 10) << " | " << cell("ratio", 5) << " | " << cell("cpu", 10) << " | "
        << cell("cpu floor", 10) << " | " << cell("cpu r", 5) << " | " << cell("first", 10) << " | "
        << cell("n", 3) << " | " << cell("aim", 16, false) << " | met\n"
        << rule;

    for (const TableRow& row : rows) {
        if (!has(row.key))
            continue;
        const std::vector<Sample>& samples = samples_.at(row.key);
        const double wall = median(walls(samples));
        const double cpu = median(cpus(samples));
        const bool hasFloor = !row.floorKey.empty() && has(row.floorKey);
        const double floorWall = hasFloor ? median(walls(samples_.at(row.floorKey))) : 0;
        const double floorCpu = hasFloor ? median(cpus(samples_.at(row.floorKey))) : 0;

        std::string met = "-";
        if (row.ratioAim > 0 || row.secondsAim > 0) {
            bool ok = true;
            if (row.ratioAim > 0)
                ok = ok && hasFloor && wall <= row.ratioAim * floorWall;
            if (row.secondsAim > 0)
                ok = ok && wall < row.secondsAim;
            met = ok ? "yes" : "NO";
        }
        out << cell(row.figure, figureWidth, false) << " | " << cell(formatTime(wall), 10) << " | "
            << cell(hasFloor ? formatTime(floorWall) : "-", 10) << " | "
            << cell(formatRatio(wall, floorWall), 5) << " | " << cell(formatTime(cpu), 10) << " | "
            << cell(hasFloor ? formatTime(floorCpu) : "-", 10) << " | "
            << cell(formatRatio(cpu, floorCpu), 5) << " | "
            << cell(formatTime(samples.front().wall), 10) << " | "
            << cell(std::to_string(samples.size()), 3) << " | " << cell(formatAim(row), 16, false)
            << " | " << met << '\n';
    }

    rusage self{};
    getrusage(RUSAGE_SELF, &self);
    out << "\npeak resident memory (aim < 80 MB):\n"
        << "  this process, all figures above in one run: "
        << formatMegabytes(double(self.ru_maxrss)) << '\n';
    for (const auto& [key, peaks] : peaks_) {
        out << "  " << key << " child at its first frame (median of " << peaks.size()
            << "): " << formatMegabytes(median(peaks)) << '\n';
    }
}

}  // namespace quendral::bench
