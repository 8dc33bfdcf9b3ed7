#pragma once

// The result chart: a title, a foot line, a fixed 0 to 100 % value axis and one bar series
// whose bars carry a callout with their label, joined to the bar top by a short arrow.

#include <QChartView>
#include <QColor>
#include <QString>

#include <vector>

class QBarCategoryAxis;
class QBarSeries;
class QBarSet;
class QChart;
class QGraphicsSimpleTextItem;
class QValueAxis;

namespace quendral {

class BarCallout;

class ResultChart : public QChartView {
    Q_OBJECT
public:
    static constexpr int kArrowLength = 20;

    explicit ResultChart(QWidget* parent);
    ~ResultChart() override;

    // Appends a bar with its value, its label (under the bar and in its callout) and colour.
    void addBar(double value, const QString& label, const QColor& colour);

    int barCount() const;
    double barValue(int index) const;
    QString barLabel(int index) const;
    QColor barColour(int index) const;
    QString footText() const;
    QBarSeries* series() const { return series_; }
    QValueAxis* valueAxis() const { return valueAxis_; }
    int calloutCount() const { return static_cast<int>(callouts_.size()); }
    QString calloutText(int index) const;
    // Where the callout's arrow ends (chart coordinates) and how long the arrow is.
    QPointF calloutTip(int index) const;
    qreal calloutArrowLength(int index) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeCallouts();
    void placeFoot();

    QChart* chart_;
    QBarSeries* series_;
    QBarSet* bars_;
    QBarCategoryAxis* categoryAxis_;
    QValueAxis* valueAxis_;
    QGraphicsSimpleTextItem* foot_;
    std::vector<BarCallout*> callouts_;
};

}  // namespace quendral
