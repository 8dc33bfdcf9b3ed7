#pragma once

// What a course of participants answered, option by option: how many of them worked each
// block, and for each option of a block how many of those agree with the key and how many
// ticked it. Options of blocks a participant did not work count for nothing.

#include "AnswerRecord.h"
#include "Blocks.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace quendral {

class CourseStatistics {
public:
    void add(const AnswerRecord& record);

    std::uint32_t participants() const { return participants_; }
    std::uint32_t worked(int block) const { return worked_[static_cast<std::size_t>(block - 1)]; }
    // By the option's answer record offset.
    std::uint32_t agreeing(std::size_t offset) const
    {
        return agreeing_[offset - kFirstOptionByte];
    }
    std::uint32_t ticked(std::size_t offset) const { return ticked_[offset - kFirstOptionByte]; }

private:
    std::uint32_t participants_ = 0;
    std::array<std::uint32_t, kBlockCount> worked_{};
    std::array<std::uint32_t, kOptionCount> agreeing_{};
    std::array<std::uint32_t, kOptionCount> ticked_{};
};

}  // namespace quendral
