#pragma once

// The course's two charts, in the result chart's look: the distribution of each block's
// percentages as a box plot on the result chart's 0 to 100 % axis, and the item map (one
// point per option: facility across, Trennschärfe up, "Schlüssel prüfen" options in red and
// labelled with block, question and letter). The course report draws them onto paper; a
// window can show them in a QChartView.

#include "CourseStatistics.h"

#include <QChart>
#include <QString>

#include <cstddef>
#include <vector>

class QGraphicsSimpleTextItem;
class QScatterSeries;

namespace quendral::batch {

// "2.14c": block, question and option letter of the option at a record offset.
QString optionLabel(std::size_t offset);

QChart* makeBoxPlotChart(const CourseStatistics& statistics);

class ItemMapChart : public QChart {
public:
    explicit ItemMapChart(const CourseStatistics& statistics);

    QScatterSeries* options() const { return options_; }  // without a note to check the key
    QScatterSeries* checkKey() const { return checkKey_; }  // "Schlüssel prüfen"
    // The record offset of point `index` of one of the two series.
    std::size_t optionAt(const QScatterSeries* series, int index) const;
    // The options left out for want of a Trennschärfe.
    int unplotted() const { return unplotted_; }

private:
    void placeLabels();

    QScatterSeries* options_;
    QScatterSeries* checkKey_;
    std::vector<std::size_t> optionOffsets_;
    std::vector<std::size_t> checkKeyOffsets_;
    std::vector<QGraphicsSimpleTextItem*> labels_;  // one per point of checkKey_
    int unplotted_ = 0;
};

}  // namespace quendral::batch
