#pragma once

// The item map in a window: the course report's chart, and under the mouse the question and
// option of each point (several options may share a point); a click on a point chooses its
// option.

#include "CourseView.h"

#include <QChartView>

#include <cstddef>
#include <memory>
#include <vector>

class QScatterSeries;

namespace quendral::batch {
class ItemMapChart;
}

namespace quendral::course {

class ItemMapView : public QChartView {
    Q_OBJECT
public:
    explicit ItemMapView(QWidget* parent = nullptr);

    void setView(std::shared_ptr<const CourseView> view);
    batch::ItemMapChart* itemMap() const { return chart_; }
    // The record offsets of the options drawn at `point` of `series`.
    std::vector<std::size_t> optionsAt(const QScatterSeries* series, QPointF point) const;
    // "2.14c: question – option" for each option at the point, one per line.
    QString describe(const std::vector<std::size_t>& offsets) const;

signals:
    void optionClicked(std::size_t offset);

private:
    void watchSeries(QScatterSeries* series);

    std::shared_ptr<const CourseView> view_;
    batch::ItemMapChart* chart_ = nullptr;
};

}  // namespace quendral::course
