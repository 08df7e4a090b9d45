// ui: the pictures of the charts, apart from the windows that show them. The
// day's chart as the main window draws it and the year chart as its window
// saves it, each as the bytes of a PNG (or, for the year chart, an SVG)
// picture, in the face the windows give their charts. Depends on Qt (Gui and
// Svg), core and the painters only, so that tolmeri-hours' picture module
// draws the windows' charts without their dialogs.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QSize>
#include <QString>

#include "ui/chart_painter.h"
#include "ui/year_chart_painter.h"

class QPaintDevice;

namespace tolmeri {

// The face of the charts' fonts, of the windows and of their pictures: the
// dialog font at 9 points (the Windows face, then the Japanese ones that
// stand in for it), at the screen's resolution.
QFont ChartFace();

// The main window's client area at device's resolution (96 dpi for none):
// the height of its template in the chart face's dialog units, and the width
// at which every text of the chart is drawn whole, never narrower than the
// template. The main dialog sizes itself by its template; a test keeps the two
// equal.
QSize DayChartClientSize(const QPaintDevice* device);

// image as the bytes of a PNG picture; empty, with why in error when given,
// when it could not be encoded. Every PNG the program makes is encoded here.
QByteArray PngBytes(const QImage& image, QString* error = nullptr);

// The main window's chart of input as a PNG picture: the chart alone, cut
// to the columns it draws in with a margin of 8 pixels, over background
// (the window's). By default laid out in the window's client area; for a size
// asked (both above 0), laid out for that height in the narrowest client
// that holds it and centred across that width (the chart's width follows
// its font, not the picture's). Empty, with why in error, when it could not
// be encoded.
QByteArray DayChartPicture(const ChartInput& input, const QSize& asked, const QColor& background,
                           QString* error = nullptr);

// The chart of input in the chart face as the bytes of a PNG or an SVG
// picture of size; empty when it could not be made. The year-chart window's
// 画像として保存 and tolmeri-hours --year-chart both make their pictures here.
QByteArray YearChartPicture(const YearChartInput& input, const QSize& size, bool svg);

} // namespace tolmeri
