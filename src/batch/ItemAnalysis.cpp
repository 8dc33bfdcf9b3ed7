#include "ItemAnalysis.h"

#include "AnswerKey.h"
#include "Catalogue.h"
#include "GermanNumbers.h"
#include "Section.h"

namespace quendral::batch {

namespace {

constexpr Column kColumns[ItemAnalysis::kColumnCount] = {
    {"Block", CellKind::Number},
    {"Frage", CellKind::Number},
    {"Option", CellKind::Text},
    {"Fragetext", CellKind::Text},
    {"Optionstext", CellKind::Text},
    {"Schlüssel", CellKind::Text},
    {"Bearbeitet", CellKind::Number},
    {"Übereinstimmung %", CellKind::Number},
    {"Angekreuzt %", CellKind::Number},
    {"Trennschärfe", CellKind::Number},
    {"Trennindex 27 %", CellKind::Number},
    {"Hinweis", CellKind::Text},
};

struct Place {
    int block;
    int box;  // 1-based, in record order
};

Place placeOf(std::size_t offset)
{
    for (const BlockInfo& info : kBlocks) {
        if (offset < info.firstByte + static_cast<std::size_t>(info.options()))
            return {info.number, static_cast<int>(offset - info.firstByte) + 1};
    }
    return {};
}

}  // namespace

ItemAnalysis::ItemAnalysis(const CourseStatistics& statistics) : statistics_(statistics)
{
    for (std::size_t row = 0; row < kOptionCount; ++row) {
        const Place place = placeOf(kFirstOptionByte + row);
        questionTexts_[row]
            = CollapseDoubleSpaces(reviewCatalogue(place.block).label((place.box + 3) / 4).caption);
    }
}

std::span<const Column> ItemAnalysis::columns() const
{
    return kColumns;
}

void ItemAnalysis::cells(std::size_t row, std::vector<std::string>& cells) const
{
    const std::size_t offset = kFirstOptionByte + row;
    const Place place = placeOf(offset);
    const CatalogueRow& box = reviewCatalogue(place.block).box(place.box);
    const OptionStatistics& option = statistics_.option(offset);
    const std::uint32_t worked = statistics_.block(place.block).participants;
    cells.resize(kColumnCount);
    cells[kBlock] = std::to_string(place.block);
    cells[kQuestion] = std::to_string((place.box + 3) / 4);
    cells[kOption].assign(1, box.option);
    cells[kQuestionText] = questionTexts_[row];
    cells[kOptionText] = box.caption;
    cells[kKey] = expectedAt(offset) == Expected::Ticked ? "angekreuzt" : "nicht angekreuzt";
    cells[kWorked] = std::to_string(worked);
    cells[kFacility] = germanShare(option.agreeing, worked);
    cells[kTicked] = germanShare(option.ticked, worked);
    cells[kDiscrimination] = germanCoefficient(option.discrimination);
    cells[kUpperLowerIndex] = germanCoefficient(option.upperLowerIndex);
    cells[kNotes] = noteText(option.notes);
}

}  // namespace quendral::batch
