#include "ResultsTable.h"

#include "BlockScore.h"
#include "Blocks.h"

namespace quendral::batch {

void writeResultsHeader(CsvWriter& csv)
{
    csv.text("Datei");
    for (const BlockInfo& info : kBlocks)
        csv.text(info.chartLabel);
    csv.text("Punkte");
    csv.text("Optionen");
    csv.endRow();
}

void writeResultsRow(CsvWriter& csv, std::string_view path, const AnswerRecord& record)
{
    unsigned points = 0;
    unsigned options = 0;
    csv.text(path);
    for (const BlockInfo& info : kBlocks) {
        if (!record.isDone(info.number)) {
            csv.empty();
            continue;
        }
        const std::uint16_t count = countAgreeing(record, info.number);
        csv.number(percentage(info.number, count));
        points += count;
        options += static_cast<unsigned>(info.options());
    }
    csv.number(points);
    csv.number(options);
    csv.endRow();
}

}  // namespace quendral::batch
