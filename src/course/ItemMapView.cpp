#include "ItemMapView.h"

#include "CourseCharts.h"
#include "ItemAnalysis.h"

#include <QCursor>
#include <QScatterSeries>
#include <QToolTip>

namespace quendral::course {

ItemMapView::ItemMapView(QWidget* parent) : QChartView(parent)
{
    setRenderHint(QPainter::Antialiasing);
    setMouseTracking(true);
}

void ItemMapView::setView(std::shared_ptr<const CourseView> view)
{
    view_ = std::move(view);
    QChart* previous = chart();
    chart_ = new batch::ItemMapChart(view_->course.statistics);
    setChart(chart_);
    // The view releases its former chart without deleting it.
    delete previous;
    watchSeries(chart_->options());
    watchSeries(chart_->checkKey());
}

void ItemMapView::watchSeries(QScatterSeries* series)
{
    connect(series, &QScatterSeries::hovered, this, [this, series](QPointF point, bool state) {
        if (!state) {
            QToolTip::hideText();
            return;
        }
        QToolTip::showText(QCursor::pos(), describe(optionsAt(series, point)), this);
    });
    connect(series, &QScatterSeries::clicked, this, [this, series](QPointF point) {
        const std::vector<std::size_t> offsets = optionsAt(series, point);
        if (!offsets.empty())
            emit optionClicked(offsets.front());
    });
}

std::vector<std::size_t> ItemMapView::optionsAt(const QScatterSeries* series, QPointF point) const
{
    std::vector<std::size_t> offsets;
    if (!chart_)
        return offsets;
    const QList<QPointF> points = series->points();
    for (int i = 0; i < points.size(); ++i) {
        if (points[i] == point)
            offsets.push_back(chart_->optionAt(series, i));
    }
    return offsets;
}

QString ItemMapView::describe(const std::vector<std::size_t>& offsets) const
{
    using C = batch::ItemAnalysis::ColumnIndex;
    QStringList lines;
    for (const std::size_t offset : offsets) {
        const std::size_t row = offset - kFirstOptionByte;
        lines << QStringLiteral("%1: %2 – %3")
                     .arg(batch::optionLabel(offset), view_->items.text(row, C::kQuestionText),
                         view_->items.text(row, C::kOptionText));
    }
    return lines.join(QLatin1Char('\n'));
}

}  // namespace quendral::course
