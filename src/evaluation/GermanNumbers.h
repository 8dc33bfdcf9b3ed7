#pragma once

// Numbers as the German tables and the course report show them: a decimal comma, a fixed
// number of decimals, halves rounded away from zero; an empty text for a value that does not
// exist. Every table cell and every number in the PDF is made here, so they agree.

#include <cstdint>
#include <optional>
#include <string>

namespace quendral {

// "66,7", "-0,25", "100,0". A negative value keeps its sign even where it rounds to zero
// ("-0,00"), as a note that depends on the sign would otherwise look unfounded.
std::string germanDecimal(double value, int decimals);
std::string germanDecimal(const std::optional<double>& value, int decimals);

// Percentages with one decimal; correlations, indices and alpha with two.
inline std::string germanPercent(const std::optional<double>& value)
{
    return germanDecimal(value, 1);
}
inline std::string germanCoefficient(const std::optional<double>& value)
{
    return germanDecimal(value, 2);
}

// count of total as a percentage with one decimal; empty when total is 0.
std::string germanShare(std::uint64_t count, std::uint64_t total);

}  // namespace quendral
