#pragma once

// The whole report of one record, as the desktop program writes it when every worked block
// is opened once, in block order: the header lines, then each worked block's section.

#include "AnswerRecord.h"

#include <functional>
#include <string>
#include <string_view>

namespace quendral {

struct ReportTexts {
    // Section heading of a block, in the report's encoding.
    std::function<std::string(int block)> heading;
    // Caption of question q of a block as its label holds it, in the report's encoding.
    std::function<std::string(int block, int question)> questionCaption;
};

// Writes the report line by line through `writeLine` (a line without its end). Stops at the
// first failing write and returns its error number; 0 when the whole report was written.
int writeDetailReport(const AnswerRecord& record, const ReportTexts& texts,
    const std::function<int(std::string_view line)>& writeLine);

}  // namespace quendral
