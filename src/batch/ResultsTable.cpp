#include "ResultsTable.h"

#include "BlockScore.h"
#include "Blocks.h"

#include <array>

namespace quendral::batch {

namespace {

constexpr std::array<Column, 3 + kBlockCount> kColumns = [] {
    std::array<Column, 3 + kBlockCount> columns{};
    columns[0] = {"Datei", CellKind::Text};
    for (std::size_t i = 0; i < kBlockCount; ++i)
        columns[1 + i] = {kBlocks[i].chartLabel, CellKind::Number};
    columns[1 + kBlockCount] = {"Punkte", CellKind::Number};
    columns[2 + kBlockCount] = {"Optionen", CellKind::Number};
    return columns;
}();

}  // namespace

std::span<const Column> ResultsTable::columns() const
{
    return kColumns;
}

// From the block totals of the course statistics, which are the scoring's counts.
void ResultsTable::cells(std::size_t row, std::vector<std::string>& cells) const
{
    const BlockTotals& totals = course_.statistics.totals[row];
    cells.resize(kColumns.size());
    cells[0] = course_.paths[row];
    unsigned points = 0;
    unsigned options = 0;
    for (const BlockInfo& info : kBlocks) {
        std::string& cell = cells[static_cast<std::size_t>(info.number)];
        const std::optional<std::uint8_t>& total
            = totals[static_cast<std::size_t>(info.number - 1)];
        if (!total) {
            cell.clear();
            continue;
        }
        cell = std::to_string(percentage(info.number, *total));
        points += *total;
        options += static_cast<unsigned>(info.options());
    }
    cells[1 + kBlockCount] = std::to_string(points);
    cells[2 + kBlockCount] = std::to_string(options);
}

}  // namespace quendral::batch
