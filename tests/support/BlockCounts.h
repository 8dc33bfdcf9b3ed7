#pragma once

// What each block's review window gives for three simple records: the block's options all
// clear, all ticked, or ticked as the key expects. Worked out by hand from the key and the
// catalogues, so the scoring, the section writer and the windows are checked against the
// same figures.

namespace quendral::test {

struct SectionTally {
    int agreeing;  // black boxes, = the block's score
    int answerLines;  // "Antwort x" lines
    int lines;  // all lines of the section
};

struct BlockCounts {
    int block;
    SectionTally nothingTicked;
    SectionTally everythingTicked;
    SectionTally keyMatched;
};

inline constexpr BlockCounts kBlockCounts[] = {
    {1, {10, 30, 51}, {30, 10, 31}, {40, 0, 21}},
    {2, {79, 69, 144}, {69, 79, 154}, {148, 0, 75}},
    {3, {22, 30, 57}, {30, 22, 49}, {52, 0, 27}},
    {4, {34, 46, 87}, {46, 34, 75}, {80, 0, 41}},
    {5, {7, 13, 24}, {13, 7, 18}, {20, 0, 11}},
    {6, {1, 7, 12}, {7, 1, 6}, {8, 0, 5}},
};

}  // namespace quendral::test
