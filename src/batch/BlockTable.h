#pragma once

// The block table: one row per block with its name as on its menu button, the number of
// participants who worked it, mean, median, standard deviation (n - 1), minimum and maximum
// of their percentages, Cronbach's alpha (KR-20) and the standard error of measurement in
// points.

#include "CourseStatistics.h"
#include "Table.h"

#include <cstddef>
#include <string>
#include <vector>

namespace quendral::batch {

class BlockTable final : public Table {
public:
    explicit BlockTable(const CourseStatistics& statistics) : statistics_(statistics) { }

    std::span<const Column> columns() const override;
    std::size_t rowCount() const override { return kBlockCount; }
    // Row i is block i + 1.
    void cells(std::size_t row, std::vector<std::string>& cells) const override;

private:
    const CourseStatistics& statistics_;
};

}  // namespace quendral::batch
