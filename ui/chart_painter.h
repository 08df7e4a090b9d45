// ui: the temporal-hour chart. One cycle from midnight (boundary 0) down to
// the next midnight (boundary 24) mapped onto the chart's height: seven nested
// bands, the 25 rows of label and clock time, the 日出, 日没 and 南中 marks, and
// the title line. The layout, its colours and texts are the core's
// (core/day_chart.h, which the web edition draws too); here they meet Qt's
// fonts and text, and painting draws what the layout placed, on any
// QPainter. Depends on Qt and core only: the face of the chart's fonts comes
// from the caller.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <array>
#include <vector>

#include "core/civil_date.h"
#include "core/day_chart.h"
#include "core/day_hours.h"
#include "core/sun_events.h"

class QPaintDevice;
class QPainter;

namespace tolmeri {

// What one paint reads: the last computation's hours, and the name and date
// the title shows (the window's boxes as they are now, which may be newer
// than the hours, or not a real date at all).
struct ChartInput {
    DayHours hours;
    QString locationName;
    CivilDate date;
};

inline QColor ChartColor(const Rgb& rgb) {
    return QColor(rgb.red, rgb.green, rgb.blue);
}

// Fill colours of the bands (kChartBandColors): blues of the night, yellows
// of the day.
extern const std::array<QColor, 6> kChartBrushes;
inline const QColor kChartTextBackground = ChartColor(kChartTextBoxColor);
inline const QColor kChartMarkColor = ChartColor(kChartMarkTextColor);

// The rows' labels as the chart shows them.
const std::array<QString, kBoundaryCount>& ChartLabels();

// Places everything. H and A are the chart font's height and average
// character width.
DayChartLayout LayoutChart(const ChartInput& input, const ClientRect& client, int H, int A);

// The title line: "横浜 － 西暦 2000年 1月 1日".
QString ChartTitle(const QString& name, const CivilDate& date);

// The chart's font of tenthPoints (90 for the rows and marks, 160 for the
// title) in face's family at device's resolution (null: 96 dpi).
QFont ChartFont(const QFont& face, const QPaintDevice* device, int tenthPoints);

// LayoutChart with the metrics of the rows' font that painting on device
// uses.
DayChartLayout LayoutChartOn(const QPaintDevice* device, const QFont& face,
                             const ClientRect& client, const ChartInput& input);

// Draws the chart for the client rectangle on painter (a window or an image)
// in face's family and returns the layout it used.
DayChartLayout PaintChart(QPainter& painter, const ClientRect& client, const ChartInput& input,
                          const QFont& face);

// The widest place name the name box takes, kPlaceNameMaxBytes of CP932, in
// font on device: twelve of its widest one-byte character, or six of a
// two-byte one (at most one em wide in a Japanese face) when that is wider.
QString WidestPlaceName(const QFont& font, const QPaintDevice* device);

// The narrowest client width, not below minWidth, at which every text of the
// chart, drawn in face's family at device's resolution (null: 96 dpi) with
// LayoutChart's positions, leaves at least A pixels of background before the
// right edge, whatever it shows: each row's label with the widest clock time,
// the marks, and the title for the widest place name with a four-digit year
// and a two-digit month and day.
int ChartClientWidth(const QFont& face, const QPaintDevice* device, int clientHeight, int minWidth);

} // namespace tolmeri
