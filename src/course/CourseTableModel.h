#pragma once

// One of the course's tables as a Qt item model: the cells of a CourseView, numbers
// right-aligned, and a sort role that orders numbers by value and empty cells first. A row
// marked with notes (the item analysis) gets a background colour; its note stands in the
// row's own "Hinweis" cell as well, so it is never told by colour alone.

#include "CourseView.h"

#include <QAbstractTableModel>

#include <memory>

namespace quendral::course {

class CourseTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kSortRole = Qt::UserRole;
    static constexpr int kMarksRole = Qt::UserRole + 1;  // the row's OptionNote bits

    explicit CourseTableModel(QObject* parent = nullptr) : QAbstractTableModel(parent) { }

    // The table `cells` of a view, which the model keeps alive; resets the model.
    void setCells(std::shared_ptr<const TableCells> cells);
    const TableCells* cells() const { return cells_.get(); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::shared_ptr<const TableCells> cells_;
};

}  // namespace quendral::course
