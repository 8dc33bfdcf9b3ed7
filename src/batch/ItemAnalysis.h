#pragma once

// The item analysis: one row per option of the questionnaire with its question and option
// text and the key's state, the number of participants who worked its block, the share of
// them whose tick agrees with the key and the share who ticked it.

#include "CourseStatistics.h"
#include "CsvWriter.h"

#include <cstdint>
#include <string>

namespace quendral::batch {

// count of total as a percentage with one decimal, German style ("66,7"), half rounded
// up; empty when total is 0.
std::string formatShare(std::uint64_t count, std::uint64_t total);

void writeItemAnalysis(CsvWriter& csv, const CourseStatistics& statistics);

}  // namespace quendral::batch
