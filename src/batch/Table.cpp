#include "Table.h"

#include "CsvWriter.h"

namespace quendral::batch {

std::string csvBytes(const Table& table)
{
    std::string bytes(CsvWriter::kByteOrderMark);
    const std::span<const Column> columns = table.columns();
    bytes.reserve(table.rowCount() * 16 * columns.size());
    CsvWriter csv(bytes);
    for (const Column& column : columns)
        csv.text(column.title);
    csv.endRow();
    std::vector<std::string> cells;
    for (std::size_t row = 0; row < table.rowCount(); ++row) {
        table.cells(row, cells);
        for (std::size_t c = 0; c < columns.size(); ++c) {
            if (columns[c].kind == CellKind::Number)
                csv.formatted(cells[c]);
            else
                csv.text(cells[c]);
        }
        csv.endRow();
    }
    return bytes;
}

}  // namespace quendral::batch
