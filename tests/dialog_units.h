// Where a rectangle in dialog units lies in pixels, by the units' definition
// rather than the program's conversion: a horizontal unit is a quarter of the
// dialog font's average letter width (in whole pixels), a vertical one an
// eighth of its height.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QRect>
#include <QString>
#include <cmath>
#include <cstdlib>
#include <utility>

// Pixels per dialog unit across and down in font.
inline std::pair<double, double> PixelsPerUnit(const QFont& font) {
    const QFontMetrics fm(font);
    const int letters = fm.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {std::lround(letters / 52.0) / 4.0, fm.height() / 8.0};
}

// Each edge of r within a pixel of where the rectangle in dialog units puts
// it, however the conversion rounds.
inline bool WhereUnitsPut(const QRect& r, int x, int y, int cx, int cy, const QFont& font) {
    const auto [perX, perY] = PixelsPerUnit(font);
    const auto near = [](int pixels, double exact) { return std::abs(pixels - exact) <= 1.0; };
    return near(r.x(), x * perX) && near(r.y(), y * perY) &&
           near(r.x() + r.width(), (x + cx) * perX) && near(r.y() + r.height(), (y + cy) * perY);
}
