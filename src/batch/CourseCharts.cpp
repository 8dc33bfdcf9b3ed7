#include "CourseCharts.h"

#include "Blocks.h"
#include "ChartLook.h"
#include "FormSupport.h"
#include "GermanNumbers.h"

#include <QBarCategoryAxis>
#include <QBoxPlotSeries>
#include <QBoxSet>
#include <QCategoryAxis>
#include <QGraphicsSimpleTextItem>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPen>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>

namespace quendral::batch {

namespace {

QScatterSeries* scatter(const QString& name, const QColor& colour, qreal size)
{
    auto* series = new QScatterSeries;
    series->setName(name);
    series->setMarkerShape(QScatterSeries::MarkerShapeCircle);
    series->setMarkerSize(size);
    series->setColor(colour);
    series->setBorderColor(colour);
    return series;
}

// A thin dashed line across the plot, at one of the notes' thresholds.
void addGuide(QChart* chart, QPointF from, QPointF to, QAbstractAxis* x, QAbstractAxis* y)
{
    auto* line = new QLineSeries;
    QPen pen(QColor(128, 128, 128));
    pen.setStyle(Qt::DashLine);
    pen.setWidthF(1);
    line->setPen(pen);
    line->append(from);
    line->append(to);
    chart->addSeries(line);
    line->attachAxis(x);
    line->attachAxis(y);
    chart->legend()->markers(line).first()->setVisible(false);
}

}  // namespace

QString optionLabel(std::size_t offset)
{
    for (const BlockInfo& info : kBlocks) {
        const std::size_t end = info.firstByte + static_cast<std::size_t>(info.options());
        if (offset < info.firstByte || offset >= end)
            continue;
        const std::size_t n = offset - info.firstByte;
        return QStringLiteral("%1.%2%3")
            .arg(info.number)
            .arg(n / 4 + 1)
            .arg(QChar(char16_t(u'a' + n % 4)));
    }
    return {};
}

QChart* makeBoxPlotChart(const CourseStatistics& statistics)
{
    auto* chart = new QChart;
    applyChartLook(chart, QStringLiteral("Verteilung der Blockprozente"));
    auto* boxes = new QBoxPlotSeries;
    boxes->setBoxWidth(0.5);
    boxes->setPen(QPen(colours::clNavy, 1.5));
    boxes->setBrush(QColor(210, 225, 240));
    auto* outliers = scatter(QStringLiteral("außerhalb der Antennen"), colours::clNavy, 6);
    auto* categories = new QBarCategoryAxis;
    auto* percent = new QValueAxis;
    applyPercentAxisLook(percent);
    applyAxisFonts(categories);

    for (const BlockInfo& info : kBlocks) {
        categories->append(QString::fromUtf8(info.chartLabel));
        const BlockStatistics& block = statistics.block(info.number);
        auto* set = new QBoxSet(QString::fromUtf8(info.chartLabel));
        if (const auto& box = block.boxPlot) {
            set->setValue(QBoxSet::LowerExtreme, box->lowerWhisker);
            set->setValue(QBoxSet::LowerQuartile, box->lowerQuartile);
            set->setValue(QBoxSet::Median, box->median);
            set->setValue(QBoxSet::UpperQuartile, box->upperQuartile);
            set->setValue(QBoxSet::UpperExtreme, box->upperWhisker);
            for (const unsigned p : box->outliers)
                outliers->append(info.number - 1, p);
        } else {
            // Nobody worked the block: its place stays, empty. A new set's values are not
            // initialised (Qt 6.4), and a stray NaN would end up in the PDF's drawing.
            for (int which = QBoxSet::LowerExtreme; which <= QBoxSet::UpperExtreme; ++which)
                set->setValue(which, 0);
            set->setPen(Qt::NoPen);
            set->setBrush(Qt::NoBrush);
        }
        boxes->append(set);
    }
    chart->addSeries(boxes);
    chart->addSeries(outliers);
    chart->addAxis(percent, Qt::AlignLeft);
    chart->addAxis(categories, Qt::AlignBottom);
    for (QAbstractSeries* series :
        {static_cast<QAbstractSeries*>(boxes), static_cast<QAbstractSeries*>(outliers)}) {
        series->attachAxis(percent);
        series->attachAxis(categories);
    }
    return chart;
}

ItemMapChart::ItemMapChart(const CourseStatistics& statistics)
    : options_(scatter(QStringLiteral("Option"), colours::clNavy, 7)),
      checkKey_(scatter(QStringLiteral("Schlüssel prüfen"), colours::clRed, 9))
{
    applyChartLook(this, QStringLiteral("Übereinstimmung und Trennschärfe je Option"));
    auto* facility = new QValueAxis;
    applyPercentAxisLook(facility);
    facility->setTitleText(QStringLiteral("Übereinstimmung mit dem Schlüssel"));
    // Labels with a decimal comma, from -1,0 to 1,0.
    auto* discrimination = new QCategoryAxis;
    applyAxisFonts(discrimination);
    discrimination->setRange(-1, 1);
    discrimination->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    for (int tenths = -10; tenths <= 10; tenths += 2)
        discrimination->append(
            QString::fromStdString(germanDecimal(tenths / 10.0, 1)), tenths / 10.0);
    discrimination->setTitleText(QStringLiteral("Trennschärfe"));

    for (std::size_t offset = kFirstOptionByte; offset < kFirstOptionByte + kOptionCount;
         ++offset) {
        const OptionStatistics& option = statistics.option(offset);
        if (!option.discrimination || !option.facility) {
            ++unplotted_;
            continue;
        }
        const QPointF point(*option.facility, *option.discrimination);
        if (option.notes & kNoteCheckKey) {
            checkKey_->append(point);
            checkKeyOffsets_.push_back(offset);
            auto* label = new QGraphicsSimpleTextItem(optionLabel(offset), this);
            label->setFont(chartFont());
            label->setBrush(colours::clRed);
            label->setZValue(10);
            labels_.push_back(label);
        } else {
            options_->append(point);
            optionOffsets_.push_back(offset);
        }
    }

    addSeries(options_);
    addSeries(checkKey_);
    addAxis(facility, Qt::AlignBottom);
    addAxis(discrimination, Qt::AlignLeft);
    for (QScatterSeries* series : {options_, checkKey_}) {
        series->attachAxis(facility);
        series->attachAxis(discrimination);
    }
    // The notes' thresholds: Trennschärfe 0 and 0.2, facility 30 % and 95 %.
    addGuide(this, {0, 0}, {100, 0}, facility, discrimination);
    addGuide(this, {0, 0.2}, {100, 0.2}, facility, discrimination);
    addGuide(this, {30, -1}, {30, 1}, facility, discrimination);
    addGuide(this, {95, -1}, {95, 1}, facility, discrimination);

    legend()->setVisible(true);
    legend()->setAlignment(Qt::AlignBottom);
    legend()->setFont(chartFont());
    connect(this, &QChart::plotAreaChanged, this, [this] { placeLabels(); });
}

std::size_t ItemMapChart::optionAt(const QScatterSeries* series, int index) const
{
    const std::vector<std::size_t>& offsets
        = series == checkKey_ ? checkKeyOffsets_ : optionOffsets_;
    if ((series != checkKey_ && series != options_) || index < 0
        || static_cast<std::size_t>(index) >= offsets.size())
        return 0;
    return offsets[static_cast<std::size_t>(index)];
}

// Each label beside its point, on the first side where it covers no label placed before it
// and stays in the plot; to the right when every side is taken.
void ItemMapChart::placeLabels()
{
    std::vector<QRectF> placed;
    for (std::size_t i = 0; i < labels_.size(); ++i) {
        const QPointF at = mapToPosition(checkKey_->at(static_cast<int>(i)), checkKey_);
        const QSizeF size = labels_[i]->boundingRect().size();
        const double w = size.width();
        const double h = size.height();
        const QPointF sides[] = {{6, -h / 2}, {-w - 6, -h / 2}, {-w / 2, -h - 4}, {-w / 2, 4},
            {6, -h - 2}, {6, 2}, {-w - 6, -h - 2}, {-w - 6, 2}};
        QRectF chosen(at + sides[0], size);
        for (const QPointF& side : sides) {
            const QRectF area(at + side, size);
            const bool free = std::none_of(placed.begin(), placed.end(),
                [&](const QRectF& other) { return other.intersects(area); });
            if (free && plotArea().contains(area)) {
                chosen = area;
                break;
            }
        }
        placed.push_back(chosen);
        labels_[i]->setPos(chosen.topLeft());
    }
}

}  // namespace quendral::batch
