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

std::string formatValue(double value, Unit unit)
{
    if (unit == Unit::Seconds)
        return formatTime(value);
    char text[32];
    std::snprintf(text, sizeof text, "%.2f M px", value / 1e6);
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
        std::snprintf(text, sizeof text, "<= %gx", row.ratioAim);
        aim += text;
    }
    if (row.secondsAim > 0) {
        std::snprintf(
            text, sizeof text, "%s< %.0f ms", aim.empty() ? "" : ", ", row.secondsAim * 1e3);
        aim += text;
    }
    return aim.empty() ? "-" : aim;
}

// Widths count the characters of the UTF-8 text, not its bytes.
std::size_t characters(const std::string& text)
{
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::string cell(std::string text, std::size_t width, bool right = true)
{
    const std::size_t length = characters(text);
    if (length < width)
        text.insert(right ? text.begin() : text.end(), width - length, ' ');
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

void SampleTable::print(
    std::ostream& out, const std::vector<TableRow>& rows, const TableLayout& layout) const
{
    std::size_t figureWidth = 6;
    for (const TableRow& row : rows)
        figureWidth = std::max(figureWidth, characters(row.figure));
    std::vector<std::pair<std::string, std::size_t>> columns{
        {"median", 10}, {layout.floorHeading, 10}, {"ratio", 5}};
    if (layout.withCpu)
        columns.insert(columns.end(), {{"cpu", 10}, {"cpu floor", 10}, {"cpu r", 5}});
    columns.insert(columns.end(), {{"first", 10}, {"n", 3}});

    out << '\n' << cell("figure", figureWidth, false);
    std::string rule(figureWidth, '-');
    for (const auto& [heading, width] : columns) {
        out << " | " << cell(heading, width);
        rule += "-|-" + std::string(width, '-');
    }
    out << " | " << cell("aim", 16, false) << " | met\n"
        << rule << "-|-" << std::string(16, '-') << "-|----\n";

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
        out << cell(row.figure, figureWidth, false) << " | "
            << cell(formatValue(wall, row.unit), 10) << " | "
            << cell(hasFloor ? formatValue(floorWall, row.unit) : "-", 10) << " | "
            << cell(formatRatio(wall, floorWall), 5) << " | ";
        if (layout.withCpu) {
            out << cell(formatTime(cpu), 10) << " | "
                << cell(hasFloor ? formatTime(floorCpu) : "-", 10) << " | "
                << cell(formatRatio(cpu, floorCpu), 5) << " | ";
        }
        out << cell(formatValue(samples.front().wall, row.unit), 10) << " | "
            << cell(std::to_string(samples.size()), 3) << " | " << cell(formatAim(row), 16, false)
            << " | " << met << '\n';
    }

    if (!layout.withMemory)
        return;
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
