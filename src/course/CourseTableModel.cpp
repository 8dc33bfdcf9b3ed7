#include "CourseTableModel.h"

#include "CourseStatistics.h"

#include <QColor>

namespace quendral::course {

namespace {

const QColor kCheckKeyBackground(255, 214, 214);
const QColor kNoteBackground(255, 241, 196);

}  // namespace

void CourseTableModel::setCells(std::shared_ptr<const TableCells> cells)
{
    beginResetModel();
    cells_ = std::move(cells);
    endResetModel();
}

int CourseTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !cells_ ? 0 : int(cells_->rows);
}

int CourseTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() || !cells_ ? 0 : int(cells_->columns());
}

QVariant CourseTableModel::data(const QModelIndex& index, int role) const
{
    if (!cells_ || !index.isValid())
        return {};
    const auto row = std::size_t(index.row());
    const auto column = std::size_t(index.column());
    const bool numeric = cells_->numeric[column];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return cells_->text(row, column);
    case kSortRole:
        return numeric ? QVariant(cells_->key(row, column)) : QVariant(cells_->text(row, column));
    case Qt::TextAlignmentRole:
        return numeric ? int(Qt::AlignRight | Qt::AlignVCenter)
                       : int(Qt::AlignLeft | Qt::AlignVCenter);
    case kMarksRole:
        return row < cells_->marks.size() ? cells_->marks[row] : 0u;
    case Qt::BackgroundRole:
        if (row < cells_->marks.size() && cells_->marks[row] != 0)
            return (cells_->marks[row] & kNoteCheckKey) ? kCheckKeyBackground : kNoteBackground;
        return {};
    case Qt::ForegroundRole:
        // Dark text on the light marks, whatever the colour scheme.
        if (row < cells_->marks.size() && cells_->marks[row] != 0)
            return QColor(Qt::black);
        return {};
    default:
        return {};
    }
}

QVariant CourseTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (!cells_ || role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0
        || std::size_t(section) >= cells_->columns())
        return QAbstractTableModel::headerData(section, orientation, role);
    return cells_->titles[std::size_t(section)];
}

}  // namespace quendral::course
