#pragma once

// Writes a record's report file as the desktop program does when every worked block is
// opened once in block order: the same header, sections and bytes. The headings and
// question captions are encoded once, the report is gathered in memory and written with
// one call.

#include "AnswerRecord.h"
#include "Blocks.h"

#include <array>
#include <string>
#include <vector>

namespace quendral::batch {

class ReportWriter {
public:
    ReportWriter();

    // Creates or replaces the file at `path` as a whole; returns 0 or the error number. A
    // report that cannot be written completely leaves the earlier one as it was.
    int write(const std::string& path, const AnswerRecord& record);

private:
    std::array<std::string, kBlockCount> headings_;
    std::array<std::vector<std::string>, kBlockCount> captions_;
    std::string bytes_;
};

}  // namespace quendral::batch
