#pragma once

// The item analysis: one row per option of the questionnaire with its question and option
// text and the key's state, the number of participants who worked its block, the share of
// them whose tick agrees with the key, the share who ticked it, the option's Trennschärfe
// (corrected item-rest correlation), its upper-lower index of the 27 % groups and its notes.

#include "Course.h"
#include "Table.h"

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace quendral::batch {

class ItemAnalysis final : public Table {
public:
    enum ColumnIndex : std::size_t {
        kBlock,
        kQuestion,
        kOption,
        kQuestionText,
        kOptionText,
        kKey,
        kWorked,
        kFacility,
        kTicked,
        kDiscrimination,
        kUpperLowerIndex,
        kNotes,
        kColumnCount
    };

    explicit ItemAnalysis(const CourseStatistics& statistics);

    std::span<const Column> columns() const override;
    std::size_t rowCount() const override { return kOptionCount; }
    // Row i is the option at answer record offset kFirstOptionByte + i.
    void cells(std::size_t row, std::vector<std::string>& cells) const override;

private:
    const CourseStatistics& statistics_;
    std::array<std::string, kOptionCount> questionTexts_;  // blanks collapsed
};

}  // namespace quendral::batch
