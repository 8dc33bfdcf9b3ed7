#include "ResultChart.h"

#include "ChartLook.h"
#include "FormSupport.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QFontMetrics>
#include <QGraphicsItem>
#include <QGraphicsSimpleTextItem>
#include <QPainter>
#include <QValueAxis>

namespace quendral {

namespace {

const QString kTitle = QStringLiteral("Quendral-Auswertung");
const QString kFoot = QStringLiteral("Quendral Tarvik · Projektmanagement-Fragebogen · Auswertung");

}  // namespace

// A label box over a bar, joined to the bar's top centre by an arrow of fixed length.
class BarCallout : public QGraphicsItem {
public:
    BarCallout(QChart* chart, const QString& text) : QGraphicsItem(chart), text_(text)
    {
        font_ = chartFont();
        const QFontMetrics metrics(font_);
        const QRect textRect = metrics.boundingRect(text_);
        box_ = QRectF(0, 0, textRect.width() + 8, metrics.height() + 4);
    }

    QString text() const { return text_; }
    QPointF tip() const
    {
        return pos() + QPointF(box_.width() / 2, box_.height() + ResultChart::kArrowLength);
    }
    qreal arrowLength() const { return ResultChart::kArrowLength; }

    // Anchor in scene coordinates: the top centre of the bar.
    void setAnchor(QPointF anchor)
    {
        prepareGeometryChange();
        setPos(
            anchor.x() - box_.width() / 2, anchor.y() - ResultChart::kArrowLength - box_.height());
    }

    QRectF boundingRect() const override
    {
        return box_.adjusted(-1, -1, 1, ResultChart::kArrowLength + 1);
    }

    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override
    {
        const QPointF tip(box_.width() / 2, box_.height() + ResultChart::kArrowLength);
        const QPointF base(box_.width() / 2, box_.height());
        painter->setPen(QPen(colours::clBlack, 1));
        painter->drawLine(base, tip);
        painter->setBrush(QColor(255, 255, 225));
        painter->drawRect(box_);
        painter->setFont(font_);
        painter->drawText(box_, Qt::AlignCenter, text_);
    }

private:
    QString text_;
    QFont font_;
    QRectF box_;
};

// The view is made with its chart: a view made without one makes a default chart of its
// own, which setChart() would replace without freeing it.
ResultChart::ResultChart(QWidget* parent)
    : QChartView(new QChart, parent),
      chart_(chart()),
      series_(new QBarSeries),
      bars_(new QBarSet(QStringLiteral("Balken"))),
      categoryAxis_(new QBarCategoryAxis),
      valueAxis_(new QValueAxis)
{
    setObjectName(QStringLiteral("Chart1"));
    setRenderHint(QPainter::Antialiasing);
    setFrameShape(QFrame::NoFrame);

    applyChartLook(chart_, kTitle);

    series_->setObjectName(QStringLiteral("Series1"));
    series_->setBarWidth(0.7);
    bars_->setColor(colours::clTeal);
    bars_->setBorderColor(colours::clBlack);
    series_->append(bars_);
    chart_->addSeries(series_);

    // The long block labels fit under their bars only in the chart's small font.
    applyPercentAxisLook(valueAxis_);
    applyAxisFonts(categoryAxis_);
    chart_->addAxis(valueAxis_, Qt::AlignLeft);
    chart_->addAxis(categoryAxis_, Qt::AlignBottom);
    series_->attachAxis(valueAxis_);
    series_->attachAxis(categoryAxis_);

    foot_ = new QGraphicsSimpleTextItem(kFoot, chart_);
    foot_->setFont(chartFont());
    foot_->setBrush(colours::clBlack);
    QMargins margins = chart_->margins();
    margins.setBottom(margins.bottom() + QFontMetrics(foot_->font()).height() + 4);
    margins.setTop(margins.top() + kArrowLength);
    chart_->setMargins(margins);

    connect(chart_, &QChart::plotAreaChanged, this, [this] { placeCallouts(); });
}

ResultChart::~ResultChart() = default;

void ResultChart::addBar(double value, const QString& label, const QColor& colour)
{
    bars_->append(value);
    // The bars of this chart share one colour; the set takes the colour of the bar added.
    bars_->setColor(colour);
    categoryAxis_->append(label);
    callouts_.push_back(new BarCallout(chart_, label));
    placeCallouts();
}

int ResultChart::barCount() const
{
    return static_cast<int>(bars_->count());
}

double ResultChart::barValue(int index) const
{
    return bars_->at(index);
}

QString ResultChart::barLabel(int index) const
{
    return categoryAxis_->at(index);
}

QColor ResultChart::barColour(int) const
{
    return bars_->color();
}

QString ResultChart::calloutText(int index) const
{
    return callouts_[static_cast<std::size_t>(index)]->text();
}

QPointF ResultChart::calloutTip(int index) const
{
    return callouts_[static_cast<std::size_t>(index)]->tip();
}

qreal ResultChart::calloutArrowLength(int index) const
{
    return callouts_[static_cast<std::size_t>(index)]->arrowLength();
}

QString ResultChart::footText() const
{
    return foot_->text();
}

void ResultChart::resizeEvent(QResizeEvent* event)
{
    QChartView::resizeEvent(event);
    placeFoot();
    placeCallouts();
}

void ResultChart::placeCallouts()
{
    for (std::size_t i = 0; i < callouts_.size(); ++i) {
        const QPointF top(static_cast<double>(i), bars_->at(static_cast<int>(i)));
        callouts_[i]->setAnchor(chart_->mapToPosition(top, series_));
    }
}

void ResultChart::placeFoot()
{
    const QRectF area = chart_->geometry();
    const QRectF text = foot_->boundingRect();
    foot_->setPos(
        area.left() + (area.width() - text.width()) / 2, area.bottom() - text.height() - 6);
}

}  // namespace quendral
