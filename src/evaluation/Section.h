#pragma once

// A block's report section: the heading, then per question its caption with runs of blanks
// collapsed, one "Antwort x" line per option that disagrees with the key, and an empty line.

#include "AnswerRecord.h"
#include "Catalogue.h"

#include <functional>
#include <string>
#include <string_view>

namespace quendral {

// The report's first four lines, written before any section.
inline constexpr const char* kReportHeader[4] = {"Folgende Fragen sind bitte nochmals zu bedenken.",
    "Gehen Sie bitte den Quendral anhand dieser Auflistung", "nochmal durch.", ""};

// Writes the four header lines; returns the first failing write's error number, or 0.
int writeReportHeader(const std::function<int(std::string_view line)>& writeLine);

// Every run of blanks (code 32) becomes one blank; nothing else changes.
std::string CollapseDoubleSpaces(std::string text);

struct SectionHooks {
    // Caption of question q as it is to be written (in the report's encoding).
    std::function<std::string(int question)> questionCaption;
    // Option box n agrees with the key.
    std::function<void(int box)> optionAgrees;
    // Writes one line; returns 0 or the operating system's error number.
    std::function<int(std::string_view line)> writeLine;
};

// Walks the block's questions in order, interleaving the agreement calls with the lines as
// a reader of the report expects them. Stops at the first failing write and returns its
// error number (0 when the whole section was written).
int writeSection(const ReviewCatalogue& catalogue, std::string_view heading,
    const AnswerRecord& record, const SectionHooks& hooks);

}  // namespace quendral
