#include "CourseView.h"

#include "BlockTable.h"
#include "ItemAnalysis.h"
#include "ResultsTable.h"

#include <cstdlib>
#include <limits>
#include <string>

namespace quendral::course {

namespace {

// "66,7", "-0,25", "211": the value of a number as the tables write it.
double numberKey(const std::string& cell)
{
    if (cell.empty())
        return -std::numeric_limits<double>::infinity();
    std::string c = cell;
    for (char& ch : c) {
        if (ch == ',')
            ch = '.';
    }
    return std::strtod(c.c_str(), nullptr);
}

}  // namespace

TableCells TableCells::of(const batch::Table& table)
{
    TableCells result;
    for (const batch::Column& column : table.columns()) {
        result.titles.push_back(QString::fromUtf8(column.title));
        result.numeric.push_back(column.kind == batch::CellKind::Number);
    }
    result.rows = table.rowCount();
    const std::size_t size = result.rows * result.columns();
    result.texts.reserve(size);
    result.keys.reserve(size);
    std::vector<std::string> cells;
    for (std::size_t row = 0; row < result.rows; ++row) {
        table.cells(row, cells);
        for (std::size_t c = 0; c < result.columns(); ++c) {
            result.texts.push_back(QString::fromUtf8(cells[c].data(), qsizetype(cells[c].size())));
            result.keys.push_back(result.numeric[c] ? numberKey(cells[c]) : 0.0);
        }
    }
    return result;
}

std::shared_ptr<const CourseView> makeCourseView(const QString& folder, batch::Course course)
{
    auto view = std::make_shared<CourseView>();
    view->folder = folder;
    view->course = std::move(course);
    view->participants = TableCells::of(batch::ResultsTable(view->course));
    view->blocks = TableCells::of(batch::BlockTable(view->course.statistics));
    view->items = TableCells::of(batch::ItemAnalysis(view->course.statistics));
    view->items.marks.reserve(view->items.rows);
    for (const OptionStatistics& option : view->course.statistics.options)
        view->items.marks.push_back(option.notes);
    return view;
}

}  // namespace quendral::course
