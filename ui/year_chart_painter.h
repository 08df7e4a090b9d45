// ui: the year chart on any QPainter (a window, an image, an SVG generator):
// the core's layout (core/year_chart.h) measured in Qt's fonts, and the
// core's drawing, its bands, curves, frame and ticks, painted as they are;
// the texts in the chart font of a face the caller gives. Depends on Qt and
// core only.
#pragma once

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>
#include <functional>

#include "core/year_chart.h"

class QPainter;

namespace tolmeri {

// One text as the painter would draw it.
struct YearChartTextRun {
    QPoint origin; // left end of the baseline in the font measured
    int anchorX = 0;
    YearChartAnchor anchor = YearChartAnchor::kStart;
    QString text;
    QFont font;
    QColor color;
};
// Takes the texts instead of the painter, each whole (an SVG picture
// writes them as whole strings).
using YearChartTextSink = std::function<void(const YearChartTextRun&)>;

// The layout for area as a painter on device measures the chart's fonts in
// font's family.
YearChartLayout LayoutYearChartOn(const QPaintDevice* device, const QRect& area,
                                  const YearChartInput& input, const QFont& font);

// Fills area white and draws the chart in it with font's family, the texts
// by texts when given; returns the layout it used.
YearChartLayout PaintYearChart(QPainter& painter, const QRect& area, const YearChartInput& input,
                               const QFont& font, const YearChartTextSink& texts = {});

// What the chart shows under point (core/year_chart.h' YearChartReadout).
QString YearChartReadout(const YearChartInput& input, const YearChartLayout& layout,
                         const QPoint& point);

} // namespace tolmeri
