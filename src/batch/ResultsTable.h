#pragma once

// The results table: one row per answer file with its path, the percentage of each worked
// block (an empty cell for a block not worked), the agreeing options over the worked
// blocks and the number of options in them.

#include "AnswerRecord.h"
#include "CsvWriter.h"

#include <string_view>

namespace quendral::batch {

void writeResultsHeader(CsvWriter& csv);
void writeResultsRow(CsvWriter& csv, std::string_view path, const AnswerRecord& record);

}  // namespace quendral::batch
