#include "core/day_chart.h"

#include <algorithm>

namespace tolmeri {

namespace {

// Adds 0.5 and truncates, like the calculator's minutes; the values met here
// are pixel offsets of at most a few thousand.
int RoundPixel(double v) {
    return static_cast<int>(v + 0.5);
}

} // namespace

std::string DayChartTitle(std::string_view name, const CivilDate& date) {
    std::string title(name);
    title += " － 西暦 ";
    title += std::to_string(date.year);
    title += "年 ";
    title += std::to_string(date.month);
    title += "月 ";
    title += std::to_string(date.day);
    title += "日";
    return title;
}

DayChartLayout LayoutDayChart(const DayHours& hours, std::string_view name, const CivilDate& date,
                              const ClientRect& client, int H, int A) {
    DayChartLayout L;
    L.xL = (client.right - client.left) / 2 + 6 * A;
    L.xR = L.xL + 32 * A;
    L.yT = static_cast<int>(3.5 * H) + client.top;
    L.yB = client.bottom - 2 * H;
    L.h = H / 2;
    L.s = (L.yB - L.yT) / 1440.0;

    const BoundaryTable& b = hours.boundary;
    for (int i = 0; i < kBoundaryCount; ++i)
        L.boundaryY[i] = RoundPixel((b[i] - b[0]) * L.s) + L.yT;
    L.sunriseY = RoundPixel((hours.sunrise - b[0]) * L.s) + L.yT;
    L.sunsetY = RoundPixel((hours.sunset - b[0]) * L.s) + L.yT;

    // Bands j = 0..6 from boundary 2j to 24 - 2j; the bottom outline sits on
    // the row of boundary 24 - 2j itself, so every even boundary gets a line.
    // The seventh is one pixel high: the transit's line. Brush 5 stays for it.
    for (int j = 0; j <= 6; ++j)
        L.bands.push_back(
            {L.xL, L.boundaryY[2 * j], L.xR, L.boundaryY[24 - 2 * j] + 1, std::min(j, 5)});

    const int h = L.h;
    for (int i = 0; i < kBoundaryCount; ++i) {
        std::string text(kBoundaryLabels[i]);
        text += "  ";
        AppendClock(text, b[i]);
        if (i % 2 == 0)
            L.texts.push_back({L.xL + 7 * A, L.boundaryY[i] - h, text, ChartTextKind::kRow});
        else // a half: a tick from the bands' right edge
            L.texts.push_back({L.xR, L.boundaryY[i] - h, "-" + text, ChartTextKind::kRow});
    }
    const int markX = L.xL - 7 * A;
    L.texts.push_back({markX, L.sunriseY - h, "日出", ChartTextKind::kMark});
    L.texts.push_back({L.xL + A, L.sunriseY - h, FormatClock(hours.sunrise), ChartTextKind::kMark});
    L.texts.push_back({markX, L.sunsetY - h, "日没", ChartTextKind::kMark});
    L.texts.push_back({L.xL + A, L.sunsetY - h, FormatClock(hours.sunset), ChartTextKind::kMark});
    L.texts.push_back({markX, L.boundaryY[12] - h, "南中", ChartTextKind::kMark});
    L.texts.push_back({markX, client.top + h, DayChartTitle(name, date), ChartTextKind::kTitle});
    return L;
}

} // namespace tolmeri
