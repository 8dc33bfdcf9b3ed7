#pragma once

// The results table: one row per participant with the path of the answer file, the
// percentage of each worked block (an empty cell for a block not worked), the agreeing
// options over the worked blocks and the number of options in them.

#include "Course.h"
#include "Table.h"

#include <string>
#include <vector>

namespace quendral::batch {

class ResultsTable final : public Table {
public:
    explicit ResultsTable(const Course& course) : course_(course) { }

    std::span<const Column> columns() const override;
    std::size_t rowCount() const override { return course_.records.size(); }
    void cells(std::size_t row, std::vector<std::string>& cells) const override;

private:
    const Course& course_;
};

}  // namespace quendral::batch
