#pragma once

// The look every chart of the programs shares with the result chart: a cream panel without
// animation, the title in bold navy Arial, axis texts in the chart's small Arial, and the
// fixed 0 to 100 % value axis with whole-number labels ("40 %").

#include <QFont>
#include <QString>

class QAbstractAxis;
class QChart;
class QValueAxis;

namespace quendral {

QFont chartFont();  // labels, callouts, foot line
void applyChartLook(QChart* chart, const QString& title);
// Fonts first: an axis that has its fonts before it joins a chart loads none of the theme's.
void applyAxisFonts(QAbstractAxis* axis);
void applyPercentAxisLook(QValueAxis* axis);

}  // namespace quendral
