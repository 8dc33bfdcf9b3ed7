#pragma once

// The expected state of every one of the 348 options, in the order of the answer record's
// option bytes: block by block, question by question, options a to d. T = the option is
// right and earns its point when ticked; C = it is wrong and earns its point when clear.

#include "AnswerRecord.h"
#include "Blocks.h"

#include <array>
#include <cstddef>

namespace quendral {

enum class Expected : bool { Clear = false, Ticked = true };

namespace answer_key_detail {
inline constexpr Expected T = Expected::Ticked;
inline constexpr Expected C = Expected::Clear;
}  // namespace answer_key_detail

// clang-format off
inline constexpr std::array<Expected, kOptionCount> kAnswerKey = [] {
    using namespace answer_key_detail;
    return std::array<Expected, kOptionCount>{
        // Block 1, "Über- und Einblick"
        T, C, T, T,  // 1
        C, T, T, C,  // 2
        C, C, T, C,  // 3
        C, T, T, T,  // 4
        T, T, T, T,  // 5
        T, T, T, T,  // 6
        T, C, T, T,  // 7
        T, T, T, T,  // 8
        C, T, T, C,  // 9
        T, T, T, T,  // 10
        // Block 2, "Projektstart"
        T, C, T, C,  // 1
        C, T, C, C,  // 2
        C, T, T, T,  // 3
        C, T, T, T,  // 4
        C, T, C, C,  // 5
        C, C, T, C,  // 6
        T, C, C, C,  // 7
        C, C, C, T,  // 8
        C, T, C, C,  // 9
        T, T, C, T,  // 10
        T, C, T, C,  // 11
        T, C, C, C,  // 12
        C, T, T, C,  // 13
        C, T, T, T,  // 14
        T, C, C, C,  // 15
        C, T, C, C,  // 16
        C, C, C, T,  // 17
        T, C, C, C,  // 18
        T, C, C, C,  // 19
        T, T, T, T,  // 20
        C, T, T, C,  // 21
        T, T, C, C,  // 22
        T, T, T, T,  // 23
        T, T, C, T,  // 24
        T, T, C, C,  // 25
        T, C, C, C,  // 26
        C, C, T, C,  // 27
        C, C, T, C,  // 28
        C, T, C, C,  // 29
        C, T, C, C,  // 30
        T, C, T, C,  // 31
        T, T, T, T,  // 32
        T, T, T, C,  // 33
        C, C, T, C,  // 34
        T, C, C, T,  // 35
        T, C, C, C,  // 36
        T, T, T, T,  // 37
        // Block 3, "Projektplanung"
        T, C, T, C,  // 1
        T, T, C, C,  // 2
        T, C, C, T,  // 3
        C, T, C, C,  // 4
        T, T, T, T,  // 5
        T, C, T, T,  // 6
        T, C, C, C,  // 7
        T, T, C, C,  // 8
        C, C, T, T,  // 9
        C, C, T, C,  // 10
        T, T, T, T,  // 11
        T, T, T, T,  // 12
        C, T, C, T,  // 13
        // Block 4, "Projektsteuerung"
        C, C, T, C,  // 1
        T, C, C, C,  // 2
        T, T, T, T,  // 3
        C, T, C, C,  // 4
        T, C, C, C,  // 5
        C, C, T, C,  // 6
        T, C, C, C,  // 7
        T, C, C, C,  // 8
        C, C, T, C,  // 9
        T, T, T, T,  // 10
        T, T, T, T,  // 11
        T, T, C, C,  // 12
        T, T, T, T,  // 13
        T, T, T, T,  // 14
        T, C, T, T,  // 15
        C, C, T, T,  // 16
        T, T, T, T,  // 17
        C, T, T, C,  // 18
        C, T, C, T,  // 19
        C, T, T, T,  // 20
        // Block 5, "Projektabschluss"
        T, T, T, C,  // 1
        C, C, T, T,  // 2
        T, C, T, T,  // 3
        C, T, T, C,  // 4
        T, T, T, C,  // 5
        // Block 6, "PM-SW-Werkzeuge"
        T, T, T, T,  // 1
        T, T, T, C,  // 2
    };
}();
// clang-format on

constexpr std::size_t countExpected(Expected state, std::size_t first, std::size_t count)
{
    std::size_t n = 0;
    for (std::size_t i = first; i < first + count; ++i)
        n += kAnswerKey[i] == state ? 1 : 0;
    return n;
}

static_assert(countExpected(Expected::Ticked, 0, kOptionCount) == 195);
static_assert(countExpected(Expected::Clear, 0, kOptionCount) == 153);
static_assert(countExpected(Expected::Ticked, 0, 40) == 30);
static_assert(countExpected(Expected::Ticked, 40, 148) == 69);
static_assert(countExpected(Expected::Ticked, 188, 52) == 30);
static_assert(countExpected(Expected::Ticked, 240, 80) == 46);
static_assert(countExpected(Expected::Ticked, 320, 20) == 13);
static_assert(countExpected(Expected::Ticked, 340, 8) == 7);

// Expected state of the option whose byte lies at `offset` in the answer record.
constexpr Expected expectedAt(std::size_t offset)
{
    return kAnswerKey[offset - kFirstOptionByte];
}

// Expected state of option k (0 = a .. 3 = d) of question q (from 1) of `block`.
constexpr Expected expectedState(int block, int question, int option)
{
    return expectedAt(blockInfo(block).firstByte + 4 * (question - 1) + option);
}

}  // namespace quendral
