#include "chart_painter.h"

#include <QFont>
#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <algorithm>

#include "dialog.h"
#include "sun_events.h"
#include "temporal_hours.h"

const std::array<QColor, 6> kChartBrushes = {
    QColor(0, 0, 200),    QColor(40, 40, 255),  QColor(90, 90, 255),
    QColor(255, 195, 60), QColor(255, 225, 60), QColor(255, 255, 60),
};

namespace {

// Adds 0.5 and truncates, like the calculator's minutes; the values met here
// are pixel offsets of at most a few thousand.
int RoundPixel(double v) {
    return static_cast<int>(v + 0.5);
}

QString Clock(int minute) {
    return QString::fromStdString(tolmeri::FormatClock(minute));
}

} // namespace

QFont ChartFont(const QPaintDevice* device, int tenthPoints) {
    QFont font = CDialog::DialogFont(9);
    font.setPixelSize(ChartFontPixels(device ? device->logicalDpiY() : 96, tenthPoints));
    return font;
}

ChartInput ChartInput::From(const CTemporalHours& hours, const QString& name, int year, int month,
                            int day) {
    ChartInput in;
    for (int i = 0; i < 25; ++i) {
        in.boundary[i] = hours.GetBoundary(i);
        in.labels[i] = QString::fromStdString(hours.GetLabel(i));
    }
    in.sunrise = hours.GetSunrise();
    in.sunset = hours.GetSunset();
    in.locationName = name;
    in.year = year;
    in.month = month;
    in.day = day;
    return in;
}

QString ChartTitle(const QString& name, int year, int month, int day) {
    return QStringLiteral("%1 － 西暦 %2年 %3月 %4日").arg(name).arg(year).arg(month).arg(day);
}

ChartLayout LayoutChart(const ChartInput& in, const ClientRect& client, int H, int A) {
    ChartLayout L;
    L.xL = (client.right - client.left) / 2 + 6 * A;
    L.xR = L.xL + 32 * A;
    L.yT = static_cast<int>(3.5 * H) + client.top;
    L.yB = client.bottom - 2 * H;
    L.h = H / 2;
    L.s = (L.yB - L.yT) / 1440.0;

    const int b0 = in.boundary[0];
    for (int i = 0; i < 25; ++i)
        L.boundaryY[i] = RoundPixel((in.boundary[i] - b0) * L.s) + L.yT;
    L.sunriseY = RoundPixel((in.sunrise - b0) * L.s) + L.yT;
    L.sunsetY = RoundPixel((in.sunset - b0) * L.s) + L.yT;

    // Bands j = 0..6 from boundary 2j to 24 - 2j; the bottom outline sits on
    // the row of boundary 24 - 2j itself, so every even boundary gets a line.
    // The seventh is one pixel high: the transit's line. Brush 5 stays for it.
    for (int j = 0; j <= 6; ++j)
        L.bands.push_back(
            {L.xL, L.boundaryY[2 * j], L.xR, L.boundaryY[24 - 2 * j] + 1, std::min(j, 5)});

    const int h = L.h;
    for (int i = 0; i < 25; ++i) {
        const QString clock = QStringLiteral("  ") + Clock(in.boundary[i]);
        if (i % 2 == 0)
            L.texts.push_back(
                {L.xL + 7 * A, L.boundaryY[i] - h, in.labels[i] + clock, ChartTextKind::Row});
        else // a half: a tick from the bands' right edge
            L.texts.push_back({L.xR, L.boundaryY[i] - h, QStringLiteral("-") + in.labels[i] + clock,
                               ChartTextKind::Row});
    }
    const int markX = L.xL - 7 * A;
    L.texts.push_back({markX, L.sunriseY - h, QStringLiteral("日出"), ChartTextKind::Mark});
    L.texts.push_back({L.xL + A, L.sunriseY - h, Clock(in.sunrise), ChartTextKind::Mark});
    L.texts.push_back({markX, L.sunsetY - h, QStringLiteral("日没"), ChartTextKind::Mark});
    L.texts.push_back({L.xL + A, L.sunsetY - h, Clock(in.sunset), ChartTextKind::Mark});
    L.texts.push_back({markX, L.boundaryY[12] - h, QStringLiteral("南中"), ChartTextKind::Mark});
    L.texts.push_back({markX, client.top + h,
                       ChartTitle(in.locationName, in.year, in.month, in.day),
                       ChartTextKind::Title});
    return L;
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
    p.fillRect(band.left, band.top, w, ht, Qt::black);
    if (w > 2 && ht > 2)
        p.fillRect(band.left + 1, band.top + 1, w - 2, ht - 2, kChartBrushes[band.brush]);
}

} // namespace

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
    QString name(12, widest);
    for (char16_t c : {u'　', u'Ｗ', u'＠', u'漢', u'■'}) {
        const QString doubles(6, QChar(c));
        if (metrics.horizontalAdvance(doubles) > metrics.horizontalAdvance(name))
            name = doubles;
    }
    return name;
}

int ChartClientWidth(const QPaintDevice* device, int clientHeight, int minWidth) {
    const QFont chartFont = ChartFont(device, 90);
    const QFont titleFont = ChartFont(device, 160);
    const QFontMetrics fm(chartFont, device);
    const QFontMetrics titleFm(titleFont, device);
    const int A = fm.averageCharWidth();

    // Every boundary at 00:00, so each clock text is "00:00"; measuring then
    // puts the font's widest digit in every digit's place (the year too).
    ChartInput widest;
    for (int i = 0; i < 25; ++i)
        widest.labels[i] =
            QString::fromUtf8(tolmeri::kBoundaryLabels[i].data(),
                              static_cast<qsizetype>(tolmeri::kBoundaryLabels[i].size()));
    widest.locationName = WidestPlaceName(titleFont, device);
    widest.year = 2000;
    widest.month = 12;
    widest.day = 31;

    auto widestDigit = [](const QFontMetrics& m) {
        QChar digit(u'0');
        for (char16_t c = u'1'; c <= u'9'; ++c)
            if (m.horizontalAdvance(QChar(c)) > m.horizontalAdvance(digit))
                digit = QChar(c);
        return digit;
    };
    const QChar digit = widestDigit(fm), titleDigit = widestDigit(titleFm);
    // The text's cell as PaintChart fills it, or its ink where that reaches further.
    auto extent = [&](const ChartText& t) {
        const bool title = t.kind == ChartTextKind::Title;
        const QFontMetrics& m = title ? titleFm : fm;
        QString text = t.text;
        for (QChar& c : text)
            if (c.isDigit())
                c = title ? titleDigit : digit;
        return std::max(m.horizontalAdvance(text), m.boundingRect(text).right() + 1);
    };
    const auto layout = [&](int width) {
        return LayoutChart(widest, ClientRect{0, 0, width, clientHeight}, fm.height(), A);
    };
    std::vector<int> extents;
    for (const ChartText& t : layout(minWidth).texts)
        extents.push_back(extent(t));
    const auto fits = [&](int width) {
        const ChartLayout L = layout(width);
        for (std::size_t i = 0; i < L.texts.size(); ++i)
            if (L.texts[i].x + extents[i] > width - A)
                return false;
        return true;
    };
    // Texts move right by half of what the width grows, so a wide enough
    // client always fits and the narrowest one is found by halving.
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

ChartLayout PaintChart(QPainter& painter, const ClientRect& client, const ChartInput& input) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBackgroundMode(Qt::TransparentMode);

    const QFont chartFont = ChartFont(painter.device(), 90);
    const QFontMetrics fm(chartFont, painter.device());
    const ChartLayout L = LayoutChart(input, client, fm.height(), fm.averageCharWidth());

    for (const ChartBand& band : L.bands)
        DrawBand(painter, band);

    const QFont titleFont = ChartFont(painter.device(), 160);
    const QFontMetrics titleFm(titleFont, painter.device());
    for (const ChartText& t : L.texts) {
        const bool title = t.kind == ChartTextKind::Title;
        painter.setFont(title ? titleFont : chartFont);
        painter.setPen(t.kind == ChartTextKind::Row ? QColor(Qt::black) : kChartMarkColor);
        DrawCellText(painter, title ? titleFm : fm, t.x, t.y, t.text);
    }
    painter.restore();
    return L;
}
