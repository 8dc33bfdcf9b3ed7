// Integrity of the six question catalogues: row structure, names, bytes, captions and the
// design geometry of each review window.

#include "Blocks.h"
#include "Catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

using namespace quendral;

// Rect lives in quendral, so its comparison and printing must be found there.
namespace quendral {

static bool operator==(const Rect& a, const Rect& b)
{
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

static std::ostream& operator<<(std::ostream& os, const Rect& r)
{
    return os << '{' << r.left << ", " << r.top << ", " << r.width << ", " << r.height << '}';
}

}  // namespace quendral

namespace {

std::string boxName(int n)
{
    return "CheckBox" + std::to_string(n);
}
std::string labelName(int q)
{
    return "Label" + std::to_string(q);
}

std::vector<int> blankRuns(const std::string& text)
{
    std::vector<int> runs;
    int run = 0;
    for (const char c : text + '.') {
        if (c == ' ') {
            ++run;
        } else {
            if (run > 1)
                runs.push_back(run);
            run = 0;
        }
    }
    return runs;
}

struct WindowCase {
    int block;
    const char* windowCaption;
    const char* heading;
    int questions;
    std::int16_t outerWidth, outerHeight, contentHeight;
    Rect logo;
    const char* footerControl;
    Rect footer;
    Rect closeButton;
    int tabSwap;
    std::map<std::string, std::vector<int>> blankRuns;  // captions with runs of 2+ blanks
    std::map<std::string, int> widths;  // boxes not 300 wide
    // "upper/lower" controls whose stored rectangles overlap in the design itself by more
    // than the one row every box shares with its lower neighbour.
    std::set<std::string> overlaps;
};

const WindowCase kWindows[] = {
    {1, "Wiederholungsfragen zu Kapitel 1: Über- und Einblick",
        "Fragen zu Kapitel 1: Über- und Einblick", 10, 778, 680, 630, {600, 32, 129, 129},
        "Label11", {16, 615, 422, 15}, {448, 536, 153, 33}, 29,
        {{"Label5", {6}}, {"Label7", {6}}, {"Label8", {7}}}, {}, {"CheckBox20/Label6"}},
    {2, "Wiederholungsfragen zu Kapitel 2: Projektstart", "Fragen zu Kapitel 2: Projektstart", 37,
        793, 830, 1791, {592, 8, 129, 129}, "Label38", {16, 1776, 422, 15}, {264, 1728, 153, 33}, 0,
        {{"Label12", {42}}, {"Label14", {9}}, {"Label17", {9}}, {"Label21", {9}}, {"Label23", {9}},
            {"Label24", {8}}, {"Label29", {8}}, {"Label30", {7}}, {"Label32", {8}},
            {"Label34", {9}}, {"Label36", {20, 22}}, {"Label37", {7}}},
        {{"CheckBox74", 313}}, {"CheckBox32/Label9", "Label20/CheckBox77", "CheckBox140/Label36"}},
    {3, "Wiederholungsfragen zu Kapitel 3: Projektplanung", "Fragen zu Kapitel 3: Projektplanung",
        13, 768, 830, 791, {600, 24, 129, 129}, "Label14", {24, 776, 422, 15}, {416, 712, 153, 33},
        29,
        {{"Label2", {7}}, {"Label5", {7}}, {"Label7", {7}}, {"Label8", {6, 20}}, {"Label10", {9}},
            {"Label11", {8}}, {"Label12", {8, 19}}},
        {{"CheckBox25", 305}, {"CheckBox30", 345}, {"CheckBox39", 337}}, {}},
    {4, "Wiederholungsfragen zu Kapitel 4: Projektsteuerung",
        "Fragen zu Kapitel 4: Projektsteuerung", 20, 808, 840, 1071, {584, 16, 129, 129}, "Label21",
        {8, 1056, 422, 15}, {416, 1008, 153, 33}, 0,
        {{"Label2", {5}}, {"Label3", {6}}, {"Label4", {6}}, {"Label5", {7}}, {"Label6", {7}},
            {"Label10", {8}}, {"Label11", {8}}, {"Label12", {2, 9}}, {"Label14", {9}},
            {"Label15", {11}}, {"Label20", {9}}},
        {{"CheckBox74", 313}}, {"CheckBox32/Label9", "CheckBox52/Label14"}},
    {5, "Wiederholungsfragen zu Kapitel 5: Projektabschluss",
        "Fragen zu Kapitel 5: Projektabschluss", 5, 685, 526, 487, {528, 24, 129, 129}, "Label6",
        {13, 472, 422, 15}, {528, 312, 129, 33}, 0, {{"Label4", {6}}}, {}, {}},
    {6, "Wiederholungsfragen zu Kapitel 6: PM-Software-Werkzeuge",
        "Fragen zu Kapitel 6: PM-Software-Werkzeuge", 2, 686, 330, 282, {456, 24, 129, 129},
        "Label3", {17, 267, 422, 15}, {464, 200, 121, 33}, 0, {{"Label1", {7}}}, {}, {}},
};

void PrintTo(const WindowCase& c, std::ostream* os)
{
    *os << "block " << c.block;
}

class CatalogueOf : public ::testing::TestWithParam<WindowCase> {
protected:
    const ReviewCatalogue& catalogue() const { return reviewCatalogue(GetParam().block); }
};

TEST_P(CatalogueOf, WindowDesign)
{
    const WindowCase& w = GetParam();
    const ReviewCatalogue& c = catalogue();
    EXPECT_EQ(c.block, w.block);
    EXPECT_STREQ(c.windowCaption, w.windowCaption);
    EXPECT_STREQ(c.heading, w.heading);
    EXPECT_EQ(c.outerWidth, w.outerWidth);
    EXPECT_EQ(c.outerHeight, w.outerHeight);
    EXPECT_EQ(c.contentHeight, w.contentHeight);
    EXPECT_EQ(c.logo, w.logo);
    EXPECT_STREQ(c.footerControl, w.footerControl);
    EXPECT_EQ(c.footer, w.footer);
    EXPECT_EQ(c.closeButton, w.closeButton);
    EXPECT_EQ(c.tabSwap, w.tabSwap);
}

TEST_P(CatalogueOf, RowsAreEachLabelFollowedByItsFourBoxes)
{
    const WindowCase& w = GetParam();
    const ReviewCatalogue& c = catalogue();
    const BlockInfo& info = blockInfo(w.block);
    ASSERT_EQ(c.rows.size(), static_cast<std::size_t>(5 * w.questions));
    ASSERT_EQ(c.questionCount(), w.questions);
    ASSERT_EQ(info.questions, w.questions);
    EXPECT_EQ(std::string(c.footerControl), labelName(w.questions + 1));

    for (int q = 1; q <= w.questions; ++q) {
        const CatalogueRow& label = c.rows[static_cast<std::size_t>(5 * (q - 1))];
        EXPECT_EQ(&c.label(q), &label);
        EXPECT_TRUE(label.isLabel());
        EXPECT_EQ(label.question, q);
        EXPECT_EQ(label.control, labelName(q));
        EXPECT_EQ(label.byte, -1) << label.control;
        EXPECT_EQ(std::string(label.caption).rfind(std::to_string(q) + ". ", 0), 0u)
            << label.caption;
        for (int k = 0; k < 4; ++k) {
            const int n = 4 * (q - 1) + k + 1;
            const CatalogueRow& box = c.rows[static_cast<std::size_t>(5 * (q - 1) + 1 + k)];
            EXPECT_EQ(&c.box(n), &box);
            EXPECT_FALSE(box.isLabel());
            EXPECT_EQ(box.question, q) << boxName(n);
            EXPECT_EQ(box.option, 'a' + k) << boxName(n);
            EXPECT_EQ(box.control, boxName(n));
            EXPECT_EQ(box.byte, static_cast<int>(info.firstByte) + n - 1) << boxName(n);
        }
    }
}

TEST_P(CatalogueOf, CaptionsHaveNoOuterBlanksAndOnlyTheDesignedRuns)
{
    const WindowCase& w = GetParam();
    std::map<std::string, std::vector<int>> runs;
    for (const CatalogueRow& row : catalogue().rows) {
        const std::string caption = row.caption;
        ASSERT_FALSE(caption.empty()) << row.control;
        EXPECT_NE(caption.front(), ' ') << row.control;
        EXPECT_NE(caption.back(), ' ') << row.control;
        EXPECT_EQ(caption.find_first_of("\t\r\n"), std::string::npos) << row.control;
        if (auto r = blankRuns(caption); !r.empty()) {
            runs[row.control] = r;
            // A run pushes the rest of the caption onto the next line, so the label must not
            // size itself to one line.
            EXPECT_NE(row.sizing, Sizing::Auto) << row.control;
        }
    }
    EXPECT_EQ(runs, w.blankRuns);
}

TEST_P(CatalogueOf, BoxesAre300By17ExceptTheWideOnes)
{
    const WindowCase& w = GetParam();
    for (int n = 1; n <= 4 * w.questions; ++n) {
        const CatalogueRow& box = catalogue().box(n);
        const auto wide = w.widths.find(box.control);
        EXPECT_EQ(box.rect.width, wide == w.widths.end() ? 300 : wide->second) << box.control;
        EXPECT_EQ(box.rect.height, 17) << box.control;
    }
}

struct Control {
    std::string name;
    Rect rect;
    bool isBox;
    int bottom() const { return rect.top + rect.height; }
};

std::vector<Control> controlsOf(const ReviewCatalogue& c)
{
    std::vector<Control> all;
    for (const CatalogueRow& row : c.rows)
        all.push_back({row.control, row.rect, !row.isLabel()});
    all.push_back({"Image1", c.logo, false});
    all.push_back({c.footerControl, c.footer, false});
    all.push_back({"BitBtn1", c.closeButton, false});
    return all;
}

// The two rectangles have pixel columns in common.
bool shareColumns(const Rect& a, const Rect& b)
{
    return a.left < b.left + b.width && b.left < a.left + a.width;
}

// Boxes are 17 high but stand 16 apart, so a box shares its bottom row with the control
// right below it; that single row is part of the design. Any other overlap is listed.
TEST_P(CatalogueOf, ControlsDoNotOverlapBeyondTheDesignedCases)
{
    const std::vector<Control> all = controlsOf(catalogue());
    std::set<std::string> overlaps;
    for (std::size_t i = 0; i < all.size(); ++i)
        for (std::size_t j = i + 1; j < all.size(); ++j) {
            const Control* upper = &all[i];
            const Control* lower = &all[j];
            if (lower->rect.top < upper->rect.top)
                std::swap(upper, lower);
            if (!shareColumns(upper->rect, lower->rect))
                continue;
            const int rows = std::min(upper->bottom(), lower->bottom()) - lower->rect.top;
            if (rows > 1 || (rows == 1 && !upper->isBox))
                overlaps.insert(upper->name + "/" + lower->name);
        }
    EXPECT_EQ(overlaps, GetParam().overlaps);
}

TEST_P(CatalogueOf, BoxesStandUnderTheirOwnLabelAboveTheNextLabelOfTheirColumn)
{
    const ReviewCatalogue& c = catalogue();
    for (int q = 1; q <= c.questionCount(); ++q) {
        const Rect& label = c.label(q).rect;
        for (int k = 0; k < 4; ++k) {
            const int n = 4 * (q - 1) + k + 1;
            const Rect& box = c.box(n).rect;
            EXPECT_GE(box.top, label.top + 16)
                << boxName(n) << " below the first line of " << labelName(q);
            if (k > 0) {
                EXPECT_EQ(box.top, c.box(n - 1).rect.top + 16) << boxName(n);
                EXPECT_EQ(box.left, c.box(n - 1).rect.left) << boxName(n);
            }
            EXPECT_GT(box.left, label.left) << boxName(n) << " indented under " << labelName(q);
            const CatalogueRow* next = nullptr;
            for (const CatalogueRow& row : c.rows)
                if (row.isLabel() && row.rect.top > label.top && shareColumns(row.rect, box)
                    && (next == nullptr || row.rect.top < next->rect.top))
                    next = &row;
            if (next != nullptr) {
                EXPECT_LT(box.top, next->rect.top) << boxName(n) << " above " << next->control;
            }
        }
    }
}

TEST_P(CatalogueOf, ContentHeightIsTheLowestEdge)
{
    int lowest = 0;
    for (const Control& control : controlsOf(catalogue()))
        lowest = std::max(lowest, control.bottom());
    EXPECT_EQ(lowest, GetParam().contentHeight);
}

INSTANTIATE_TEST_SUITE_P(Blocks, CatalogueOf, ::testing::ValuesIn(kWindows),
    [](const auto& info) { return "Block" + std::to_string(info.param.block); });

TEST(Catalogue, CaptionsWithTheirOwnPunctuation)
{
    const ReviewCatalogue& c = reviewCatalogue(3);
    EXPECT_STREQ(c.box(22).caption, "\"Pi mal Daumen\"");
    EXPECT_STREQ(c.box(30).caption, "Durchlaufzeit beinhaltet Wartezeiten, Stillstände ...");
    EXPECT_STREQ(reviewCatalogue(6).label(1).caption,
        "1. Beschreiben Sie einen modernen DV-Arbeitsplatz       einer Projektleitung");
}

}  // namespace
