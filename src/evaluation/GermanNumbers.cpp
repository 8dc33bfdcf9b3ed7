#include "GermanNumbers.h"

#include <algorithm>
#include <cmath>

namespace quendral {

std::string germanDecimal(double value, int decimals)
{
    if (!std::isfinite(value))
        return {};
    const double scaled = std::fabs(value) * std::pow(10.0, decimals);
    double units = std::floor(scaled);
    // The figures are computed in floating point, where a half can land a hair below itself
    // (0.15 is stored as 0.1499...): within a relative 1e-12 of a half it counts as one. Two
    // different exact values of a course lie much further apart than that.
    if (scaled - units >= 0.5 - 1e-12 * std::max(1.0, scaled))
        units += 1;
    std::string digits = std::to_string(static_cast<std::uint64_t>(units));
    if (decimals > 0) {
        const auto width = static_cast<std::size_t>(decimals) + 1;
        if (digits.size() < width)
            digits.insert(0, width - digits.size(), '0');
        digits.insert(digits.size() - static_cast<std::size_t>(decimals), 1, ',');
    }
    return value < 0 ? '-' + digits : digits;
}

std::string germanDecimal(const std::optional<double>& value, int decimals)
{
    return value ? germanDecimal(*value, decimals) : std::string();
}

std::string germanShare(std::uint64_t count, std::uint64_t total)
{
    if (total == 0)
        return {};
    return germanPercent(100.0 * double(count) / double(total));
}

}  // namespace quendral
