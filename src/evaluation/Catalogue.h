#pragma once

// The question catalogue of each block as plain data: one row per question label and per
// option box, in record order, with captions (UTF-8), record bytes and design geometry,
// plus the design of the block's review window. Nothing here knows about widgets, so the
// same tables serve the review windows and any tool that writes report sections.

#include <cstddef>
#include <cstdint>
#include <span>

namespace quendral {

struct Rect {
    std::int16_t left, top, width, height;
};

enum class Sizing : std::uint8_t {
    Auto,  // one line, as wide as its text
    Wrap,  // keeps its stored size, words wrap onto its further lines
    Fixed  // keeps its stored size on one line
};

struct CatalogueRow {
    std::uint8_t question;  // 1..n
    char option;  // 'a'..'d' for an option box, '-' for the question label
    const char* control;  // "Label7", "CheckBox25"
    const char* caption;
    std::int16_t byte;  // answer record offset of an option box, -1 for a label
    Rect rect;  // in the (scrollable) content
    Sizing sizing = Sizing::Auto;

    bool isLabel() const { return option == '-'; }
};

struct ReviewCatalogue {
    int block;
    const char* windowCaption;
    const char* heading;  // first line of the block's report section
    std::int16_t outerWidth, outerHeight;
    std::int16_t contentHeight;  // lowest edge of the content; taller windows scroll
    Rect logo;
    const char* footerControl;
    Rect footer;
    Rect closeButton;
    int tabSwap;  // box n with n > 0 is visited after box n + 1 by Tab; 0 = record order
    std::span<const CatalogueRow> rows;  // label of question 1, its options a..d, label 2, ...

    int questionCount() const { return static_cast<int>(rows.size() / 5); }
    int optionCount() const { return 4 * questionCount(); }
    const CatalogueRow& label(int question) const { return rows[5 * (question - 1)]; }
    // Option box n (1-based, record order): option (n - 1) % 4 of question (n + 3) / 4.
    const CatalogueRow& box(int n) const { return rows[5 * ((n - 1) / 4) + 1 + (n - 1) % 4]; }
};

const ReviewCatalogue& reviewCatalogue(int block);

// The six blocks' tables, one translation unit each.
extern const ReviewCatalogue kBlock1Catalogue;
extern const ReviewCatalogue kBlock2Catalogue;
extern const ReviewCatalogue kBlock3Catalogue;
extern const ReviewCatalogue kBlock4Catalogue;
extern const ReviewCatalogue kBlock5Catalogue;
extern const ReviewCatalogue kBlock6Catalogue;

}  // namespace quendral
