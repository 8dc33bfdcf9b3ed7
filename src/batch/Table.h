#pragma once

// A table of the course as rows of cell texts: the same texts go into its CSV file and onto
// its pages of the printed course report, so both show the same numbers. Numbers come
// formatted (GermanNumbers.h); an empty cell is an empty text.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace quendral::batch {

enum class CellKind : std::uint8_t {
    Text,  // written through the CSV writer's guards, left-aligned on paper
    Number  // written as it stands, right-aligned on paper
};

struct Column {
    const char* title;
    CellKind kind;
};

class Table {
public:
    virtual ~Table() = default;
    virtual std::span<const Column> columns() const = 0;
    virtual std::size_t rowCount() const = 0;
    // The texts of row `row` (from 0), one per column.
    virtual void cells(std::size_t row, std::vector<std::string>& cells) const = 0;
};

// The table as a CSV file: byte-order mark, the header row, then every row.
std::string csvBytes(const Table& table);

}  // namespace quendral::batch
