#include "ChartLook.h"

#include "FormSupport.h"

#include <QAbstractAxis>
#include <QChart>
#include <QLegend>
#include <QValueAxis>

namespace quendral {

QFont chartFont()
{
    return arial(11);
}

void applyChartLook(QChart* chart, const QString& title)
{
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setBackgroundBrush(colours::clCream);
    chart->setBackgroundRoundness(0);
    chart->setPlotAreaBackgroundVisible(false);
    chart->legend()->hide();
    chart->setTitle(title);
    chart->setTitleFont(arial(15, true));
    chart->setTitleBrush(colours::clNavy);
}

void applyAxisFonts(QAbstractAxis* axis)
{
    axis->setLabelsFont(chartFont());
    axis->setTitleFont(chartFont());
}

void applyPercentAxisLook(QValueAxis* axis)
{
    axis->setRange(0, 100);
    axis->setLabelFormat(QStringLiteral("%.0f %%"));
    axis->setTickCount(11);
    axis->setMinorTickCount(0);
    applyAxisFonts(axis);
}

}  // namespace quendral
