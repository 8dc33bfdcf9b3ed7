#pragma once

// The participant the benchmark evaluates and what the report must hold afterwards.
//
// The participant is the sample answer file of examples/ with all six blocks marked as
// worked, so that every block is scored, every block button of the menu is enabled and
// every review window writes its section: a realistic mix of agreeing (black) and
// disagreeing (red) options, not an all-right or all-wrong record.

#include "AnswerRecord.h"

#include <QTemporaryDir>

#include <cstddef>
#include <string>

namespace quendral::bench {

struct BenchFiles {
    QTemporaryDir dir;
    AnswerRecord record;
    std::string answerFile;  // the record as a file in `dir`
    std::string reportFile;  // where the report of that answer file goes
};

// Made on first use; empty paths when the sample file could not be read or written.
BenchFiles& benchFiles();

// The bytes one block's review window appends to the report for `record`.
std::string expectedSection(int block, const AnswerRecord& record);
// The whole report after blocks 1 to `lastBlock` were reviewed in order.
std::string expectedReport(const AnswerRecord& record, int lastBlock = 6);

// -1 when the file does not exist.
long long fileSize(const std::string& path);
std::string fileContents(const std::string& path);

}  // namespace quendral::bench
