#include "BlockTable.h"

#include "GermanNumbers.h"

namespace quendral::batch {

namespace {

constexpr Column kColumns[] = {
    {"Block", CellKind::Number},
    {"Name", CellKind::Text},
    {"Teilnehmer", CellKind::Number},
    {"Mittelwert %", CellKind::Number},
    {"Median %", CellKind::Number},
    {"Standardabweichung %", CellKind::Number},
    {"Minimum %", CellKind::Number},
    {"Maximum %", CellKind::Number},
    {"Cronbachs Alpha", CellKind::Number},
    {"Messfehler (Punkte)", CellKind::Number},
};

}  // namespace

std::span<const Column> BlockTable::columns() const
{
    return kColumns;
}

void BlockTable::cells(std::size_t row, std::vector<std::string>& cells) const
{
    const int number = static_cast<int>(row) + 1;
    const BlockStatistics& block = statistics_.block(number);
    cells = {std::to_string(number), blockInfo(number).menuName, std::to_string(block.participants),
        germanPercent(block.mean), germanPercent(block.median),
        germanPercent(block.standardDeviation), germanPercent(block.minimum),
        germanPercent(block.maximum), germanCoefficient(block.alpha),
        germanDecimal(block.measurementError, 2)};
}

}  // namespace quendral::batch
