#include "ui/chart_painter.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <algorithm>
#include <functional>
#include <vector>

#include "core/accepted_ranges.h"
#include "core/civil_date.h"

namespace tolmeri {

const std::array<QColor, 6> kChartBrushes = [] {
    std::array<QColor, 6> colors;
    for (std::size_t i = 0; i < colors.size(); ++i)
        colors[i] = ChartColor(kChartBandColors[i]);
    return colors;
}();

const std::array<QString, kBoundaryCount>& ChartLabels() {
    static const std::array<QString, kBoundaryCount> labels = [] {
        std::array<QString, kBoundaryCount> texts;
        for (int i = 0; i < kBoundaryCount; ++i)
            texts[i] = QString::fromUtf8(kBoundaryLabels[i]);
        return texts;
    }();
    return labels;
}

QFont ChartFont(const QFont& face, const QPaintDevice* device, int tenthPoints) {
    QFont font = face;
    font.setPixelSize(ChartFontPixels(device ? device->logicalDpiY() : 96, tenthPoints));
    return font;
}

QString ChartTitle(const QString& name, const CivilDate& date) {
    return QString::fromStdString(DayChartTitle(name.toStdString(), date));
}

DayChartLayout LayoutChart(const ChartInput& in, const ClientRect& client, int H, int A) {
    return LayoutDayChart(in.hours, in.locationName.toStdString(), in.date, client, H, A);
}

DayChartLayout LayoutChartOn(const QPaintDevice* device, const QFont& face,
                             const ClientRect& client, const ChartInput& input) {
    const QFontMetrics fm(ChartFont(face, device, kChartRowPoints), device);
    return LayoutChart(input, client, fm.height(), fm.averageCharWidth());
}

namespace {

// Text at a cell's top-left on an opaque grey box as tall as the font.
void DrawCellText(QPainter& p, const QFontMetrics& fm, int x, int y, const QString& text) {
    p.fillRect(x, y, fm.horizontalAdvance(text), fm.height(), kChartTextBackground);
    p.drawText(x, y + fm.ascent(), text);
}

// A filled rectangle with a one-pixel black outline, covering x from left to
// right - 1 and y from top to bottom - 1.
void DrawBand(QPainter& p, const ChartBand& band) {
    const int w = band.right - band.left;
    const int ht = band.bottom - band.top;
    if (w <= 0 || ht <= 0)
        return;
    p.fillRect(band.left, band.top, w, ht, ChartColor(kChartOutlineColor));
    if (w > 2 && ht > 2)
        p.fillRect(band.left + 1, band.top + 1, w - 2, ht - 2, kChartBrushes[band.brush]);
}

} // namespace

DayChartLayout PaintChart(QPainter& painter, const ClientRect& client, const ChartInput& input,
                          const QFont& face) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBackgroundMode(Qt::TransparentMode);

    // The rows' font measured once, for the layout and the texts.
    const QFont rowFont = ChartFont(face, painter.device(), kChartRowPoints);
    const QFont titleFont = ChartFont(face, painter.device(), kChartTitlePoints);
    const QFontMetrics fm(rowFont, painter.device());
    const QFontMetrics titleFm(titleFont, painter.device());
    const DayChartLayout L = LayoutChart(input, client, fm.height(), fm.averageCharWidth());
    for (const ChartBand& band : L.bands)
        DrawBand(painter, band);

    for (const DayChartText& t : L.texts) {
        const bool title = t.kind == ChartTextKind::kTitle;
        painter.setFont(title ? titleFont : rowFont);
        painter.setPen(ChartColor(ChartTextColor(t.kind)));
        DrawCellText(painter, title ? titleFm : fm, t.x, t.y, QString::fromStdString(t.text));
    }
    painter.restore();
    return L;
}

QString WidestPlaceName(const QFont& font, const QPaintDevice* device) {
    // CP932's one-byte characters: ASCII and the half-width katakana.
    const QFontMetricsF f(font, device);
    const QFontMetrics metrics(font, device);
    QChar widest(u'W');
    auto consider = [&](char16_t c) {
        if (f.horizontalAdvance(QChar(c)) > f.horizontalAdvance(widest))
            widest = QChar(c);
    };
    for (char16_t c = 0x20; c <= 0x7E; ++c)
        consider(c);
    for (char16_t c = 0xFF61; c <= 0xFF9F; ++c)
        consider(c);
    QString name(kPlaceNameMaxBytes, widest);
    for (char16_t c : {u'　', u'Ｗ', u'＠', u'漢', u'■'}) {
        const QString doubles(kPlaceNameMaxBytes / 2, QChar(c));
        if (metrics.horizontalAdvance(doubles) > metrics.horizontalAdvance(name))
            name = doubles;
    }
    return name;
}

namespace {

QChar WidestDigit(const QFontMetrics& m) {
    QChar digit(u'0');
    for (char16_t c = u'1'; c <= u'9'; ++c)
        if (m.horizontalAdvance(QChar(c)) > m.horizontalAdvance(digit))
            digit = QChar(c);
    return digit;
}

// How far a text reaches from its x: its cell as PaintChart fills it, or its
// ink where that reaches further, with digit (the font's widest) in place of
// every digit.
int TextExtent(const QFontMetrics& m, QChar digit, QString text) {
    for (QChar& c : text)
        if (c.isDigit())
            c = digit;
    return std::max(m.horizontalAdvance(text), m.boundingRect(text).right() + 1);
}

// The smallest width from minWidth on that fits, for a fits that once true
// stays true for every wider width.
int NarrowestFitting(int minWidth, const std::function<bool(int)>& fits) {
    int low = std::max(minWidth, 1) - 1, high = std::max(minWidth, 1);
    while (!fits(high) && high < (1 << 20)) {
        low = high;
        high *= 2;
    }
    while (high - low > 1) {
        const int mid = low + (high - low) / 2;
        (fits(mid) ? high : low) = mid;
    }
    return high;
}

} // namespace

int ChartClientWidth(const QFont& face, const QPaintDevice* device, int clientHeight,
                     int minWidth) {
    const QFontMetrics fm(ChartFont(face, device, kChartRowPoints), device);
    const QFont titleFont = ChartFont(face, device, kChartTitlePoints);
    const QFontMetrics titleFm(titleFont, device);
    const int A = fm.averageCharWidth();
    const QChar digit = WidestDigit(fm), titleDigit = WidestDigit(titleFm);

    // Every boundary at 00:00, so each clock text is "00:00" and measures with
    // the widest digit; the widest name on a two-digit month and day.
    ChartInput widest;
    widest.locationName = WidestPlaceName(titleFont, device);
    widest.date = {2000, 12, 31};
    const auto layout = [&](int width) {
        return LayoutChart(widest, ClientRect{0, 0, width, clientHeight}, fm.height(), A);
    };
    // Texts move right by half of what the width grows, so a wide enough
    // client always fits and the narrowest one is found by halving.
    std::vector<int> extents;
    for (const DayChartText& t : layout(minWidth).texts) {
        const QString text = QString::fromStdString(t.text);
        extents.push_back(t.kind == ChartTextKind::kTitle ? TextExtent(titleFm, titleDigit, text)
                                                          : TextExtent(fm, digit, text));
    }
    return NarrowestFitting(minWidth, [&](int width) {
        const DayChartLayout L = layout(width);
        for (std::size_t i = 0; i < L.texts.size(); ++i)
            if (L.texts[i].x + extents[i] > width - A)
                return false;
        return true;
    });
}

} // namespace tolmeri
