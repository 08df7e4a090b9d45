#include "ui/chart_painter.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <QRawFont>
#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
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

namespace {

constexpr int kRowPoints = kChartRowPoints;
constexpr int kTitlePoints = kChartTitlePoints;

} // namespace

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

ChartLayout LayoutChart(const ChartInput& in, const ClientRect& client, int H, int A) {
    const DayChartLayout day =
        LayoutDayChart(in.hours, in.locationName.toStdString(), in.date, client, H, A);
    ChartLayout L;
    L.xL = day.xL;
    L.xR = day.xR;
    L.yT = day.yT;
    L.yB = day.yB;
    L.h = day.h;
    L.s = day.s;
    L.boundaryY = day.boundaryY;
    L.sunriseY = day.sunriseY;
    L.sunsetY = day.sunsetY;
    L.bands = day.bands;
    L.texts.reserve(day.texts.size());
    for (const DayChartText& t : day.texts)
        L.texts.push_back({t.x, t.y, QString::fromStdString(t.text), t.kind});
    return L;
}

ChartLayout LayoutChartOn(const QPaintDevice* device, const QFont& face, const ClientRect& client,
                          const ChartInput& input) {
    const QFontMetrics fm(ChartFont(face, device, kRowPoints), device);
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

ChartLayout PaintChart(QPainter& painter, const ClientRect& client, const ChartInput& input,
                       const QFont& face) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBackgroundMode(Qt::TransparentMode);

    // The rows' font measured once, for the layout and the texts.
    const QFont rowFont = ChartFont(face, painter.device(), kRowPoints);
    const QFont titleFont = ChartFont(face, painter.device(), kTitlePoints);
    const QFontMetrics fm(rowFont, painter.device());
    const QFontMetrics titleFm(titleFont, painter.device());
    const ChartLayout L = LayoutChart(input, client, fm.height(), fm.averageCharWidth());
    for (const ChartBand& band : L.bands)
        DrawBand(painter, band);

    for (const ChartText& t : L.texts) {
        const bool title = t.kind == ChartTextKind::kTitle;
        painter.setFont(title ? titleFont : rowFont);
        painter.setPen(ChartColor(ChartTextColor(t.kind)));
        DrawCellText(painter, title ? titleFm : fm, t.x, t.y, t.text);
    }
    painter.restore();
    return L;
}

namespace {

// CP932's one-byte characters: ASCII and the half-width katakana.
std::u16string OneByteCharacters() {
    std::u16string chars;
    for (char16_t c = 0x20; c <= 0x7E; ++c)
        chars += c;
    for (char16_t c = 0xFF61; c <= 0xFF9F; ++c)
        chars += c;
    return chars;
}

// Big-endian unsigned 16-bit value at offset, or -1 beyond the table.
int U16At(const QByteArray& table, qsizetype offset) {
    if (offset < 0 || offset + 2 > table.size())
        return -1;
    return static_cast<unsigned char>(table[offset]) << 8 |
           static_cast<unsigned char>(table[offset + 1]);
}

// Each character's advance in font units from the font's horizontal metrics
// table, -1 for a character the font has no glyph for (another font draws
// it); empty when the tables cannot be read.
std::vector<int> DesignAdvances(const QFont& font, const std::u16string& chars) {
    const QRawFont raw = QRawFont::fromFont(font);
    if (!raw.isValid())
        return {};
    const QByteArray hhea = raw.fontTable("hhea"), hmtx = raw.fontTable("hmtx");
    const int metrics = U16At(hhea, 34); // numberOfHMetrics
    if (metrics <= 0 || hmtx.size() < 4 * static_cast<qsizetype>(metrics))
        return {};
    const QString text = QString::fromStdU16String(chars);
    const QList<quint32> glyphs = raw.glyphIndexesForString(text);
    if (glyphs.size() != text.size())
        return {};
    std::vector<int> advances;
    for (const quint32 glyph : glyphs) {
        // Glyphs past the last metric share its advance.
        const qsizetype entry = std::min<qsizetype>(glyph, metrics - 1);
        advances.push_back(glyph == 0 ? -1 : U16At(hmtx, 4 * entry));
    }
    return advances;
}

// The widest of chars by QFontMetricsF, the first of the widest where they
// tie, W before all: each measured.
QChar WidestByMeasuring(const QFontMetricsF& f, const std::u16string& chars) {
    QChar widest(u'W');
    for (const char16_t c : chars)
        if (f.horizontalAdvance(QChar(c)) > f.horizontalAdvance(widest))
            widest = QChar(c);
    return widest;
}

// The same character, measuring only the few that can be widest. Where the
// toolkit lays text out at the font's design advances (unhinted: fractions
// of a pixel), a glyph's advance is a rising function of its advance in font
// units, so the widest are among those of the largest units: measured from
// the largest down until one is narrower, they give the widest advance, and
// every character of those units has it. Characters of other fonts are
// measured each. Where the widest advance comes out whole (hinted advances,
// or a design one that happens to be whole), every character is measured.
QChar WidestOneByteCharacter(const QFont& font, const QFontMetricsF& f) {
    const std::u16string chars = OneByteCharacters();
    const std::vector<int> units = DesignAdvances(font, chars);
    if (units.size() != chars.size())
        return WidestByMeasuring(f, chars);
    std::vector<int> classes;
    for (const int u : units)
        if (u >= 0)
            classes.push_back(u);
    std::sort(classes.begin(), classes.end(), std::greater<>());
    classes.erase(std::unique(classes.begin(), classes.end()), classes.end());
    if (classes.empty())
        return WidestByMeasuring(f, chars);
    auto advanceOfUnits = [&](int u) {
        const std::size_t i =
            static_cast<std::size_t>(std::find(units.begin(), units.end(), u) - units.begin());
        return f.horizontalAdvance(QChar(chars[i]));
    };
    const qreal widestDesign = advanceOfUnits(classes.front());
    if (widestDesign == std::floor(widestDesign))
        return WidestByMeasuring(f, chars);
    int lowestWidest = classes.front(); // the smallest units with that advance
    for (std::size_t k = 1; k < classes.size(); ++k) {
        const qreal a = advanceOfUnits(classes[k]);
        if (a > widestDesign) // not rising with the units: not design advances
            return WidestByMeasuring(f, chars);
        if (a < widestDesign)
            break;
        lowestWidest = classes[k];
    }
    // Each character's advance where it can be the widest; narrower ones -1.
    std::vector<qreal> advance(chars.size(), -1);
    qreal widest = widestDesign;
    for (std::size_t i = 0; i < chars.size(); ++i) {
        if (units[i] < 0)
            advance[i] = f.horizontalAdvance(QChar(chars[i]));
        else if (units[i] >= lowestWidest)
            advance[i] = widestDesign;
        widest = std::max(widest, advance[i]);
    }
    const std::size_t w = chars.find(u'W');
    if (w != std::u16string::npos && advance[w] == widest)
        return QChar(u'W');
    for (std::size_t i = 0; i < chars.size(); ++i)
        if (advance[i] == widest)
            return QChar(chars[i]);
    return WidestByMeasuring(f, chars);
}

} // namespace

QString WidestPlaceName(const QFont& font, const QPaintDevice* device) {
    const QFontMetricsF f(font, device);
    const QFontMetrics metrics(font, device);
    QString name(kPlaceNameMaxBytes, WidestOneByteCharacter(font, f));
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
    const QFontMetrics fm(ChartFont(face, device, kRowPoints), device);
    const QFont titleFont = ChartFont(face, device, kTitlePoints);
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
    for (const ChartText& t : layout(minWidth).texts)
        extents.push_back(t.kind == ChartTextKind::kTitle ? TextExtent(titleFm, titleDigit, t.text)
                                                          : TextExtent(fm, digit, t.text));
    return NarrowestFitting(minWidth, [&](int width) {
        const ChartLayout L = layout(width);
        for (std::size_t i = 0; i < L.texts.size(); ++i)
            if (L.texts[i].x + extents[i] > width - A)
                return false;
        return true;
    });
}

} // namespace tolmeri
