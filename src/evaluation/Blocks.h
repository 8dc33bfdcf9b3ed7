#pragma once

// The six chapters ("blocks") of the questionnaire and where their bytes lie.

#include <array>
#include <cstddef>

namespace quendral {

inline constexpr int kBlockCount = 6;

struct BlockInfo {
    int number;
    std::size_t firstByte;  // offset of option a of question 1
    int questions;
    const char* menuName;  // caption of the block's menu button
    const char* chartLabel;  // label of the block's bar

    constexpr int options() const { return 4 * questions; }
};

inline constexpr std::array<BlockInfo, kBlockCount> kBlocks{{
    {1, 41, 10, "Über- und Einblick", "Über- und Einblick"},
    {2, 81, 37, "Projektstart", "Start"},
    {3, 229, 13, "Projektplanung", "Planung"},
    {4, 281, 20, "Projektsteuerung", "Steuerung"},
    {5, 361, 5, "Projektabschluss", "Abschluss"},
    {6, 381, 2, "PM-SW-Werkzeuge", "PM-SW-Werkzeuge"},
}};

constexpr const BlockInfo& blockInfo(int block)
{
    return kBlocks[static_cast<std::size_t>(block - 1)];
}

static_assert(kBlocks[5].firstByte + 8 == 389, "the option bytes end where the done flags begin");

}  // namespace quendral
