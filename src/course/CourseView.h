#pragma once

// What the course window shows of one load of a folder, made off the GUI thread: the course
// itself and the cell texts of its three tables, as quendral-batch writes them into its CSV
// files, with a key per cell to sort by. The window's models share one view between them and
// replace it as a whole when the folder changes.

#include "Course.h"
#include "Table.h"

#include <QString>

#include <cstddef>
#include <memory>
#include <vector>

namespace quendral::course {

struct TableCells {
    std::vector<QString> titles;
    std::vector<bool> numeric;  // per column: right-aligned, sorted by value
    std::size_t rows = 0;
    std::vector<QString> texts;  // row by row
    std::vector<double> keys;  // alongside `texts`: a number's value, -infinity when empty
    std::vector<unsigned> marks;  // per row, where the table marks rows (the notes of options)

    std::size_t columns() const { return titles.size(); }
    const QString& text(std::size_t row, std::size_t column) const
    {
        return texts[row * columns() + column];
    }
    double key(std::size_t row, std::size_t column) const { return keys[row * columns() + column]; }

    static TableCells of(const batch::Table& table);
};

struct CourseView {
    QString folder;  // as it was given
    batch::Course course;
    TableCells participants;  // the results table
    TableCells blocks;  // the block table
    TableCells items;  // the item analysis, marked with each option's notes
};

std::shared_ptr<const CourseView> makeCourseView(const QString& folder, batch::Course course);

}  // namespace quendral::course
