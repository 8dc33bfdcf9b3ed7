#include "ItemAnalysis.h"

#include "AnswerKey.h"
#include "Catalogue.h"
#include "Section.h"

namespace quendral::batch {

std::string formatShare(std::uint64_t count, std::uint64_t total)
{
    if (total == 0)
        return {};
    const std::uint64_t tenths = (2000 * count + total) / (2 * total);
    return std::to_string(tenths / 10) + ',' + static_cast<char>('0' + tenths % 10);
}

void writeItemAnalysis(CsvWriter& csv, const CourseStatistics& statistics)
{
    for (const char* title : {"Block", "Frage", "Option", "Fragetext", "Optionstext", "Schlüssel",
             "Bearbeitet", "Übereinstimmung %", "Angekreuzt %"})
        csv.text(title);
    csv.endRow();

    for (int block = 1; block <= kBlockCount; ++block) {
        const ReviewCatalogue& catalogue = reviewCatalogue(block);
        const std::uint32_t worked = statistics.worked(block);
        for (int q = 1; q <= catalogue.questionCount(); ++q) {
            const std::string question = CollapseDoubleSpaces(catalogue.label(q).caption);
            for (int k = 0; k < 4; ++k) {
                const CatalogueRow& box = catalogue.box(4 * (q - 1) + k + 1);
                const auto offset = static_cast<std::size_t>(box.byte);
                csv.number(static_cast<std::uint64_t>(block));
                csv.number(static_cast<std::uint64_t>(q));
                csv.text(std::string_view(&box.option, 1));
                csv.text(question);
                csv.text(box.caption);
                csv.text(
                    expectedAt(offset) == Expected::Ticked ? "angekreuzt" : "nicht angekreuzt");
                csv.number(worked);
                csv.text(formatShare(statistics.agreeing(offset), worked));
                csv.text(formatShare(statistics.ticked(offset), worked));
                csv.endRow();
            }
        }
    }
}

}  // namespace quendral::batch
