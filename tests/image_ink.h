// Where a picture holds ink: the pixels that differ from its background.
#pragma once

#include <QImage>
#include <algorithm>
#include <utility>

// The columns from the first to the last that differ from the background.
inline std::pair<int, int> InkColumns(const QImage& image, QRgb background) {
    int first = image.width(), last = -1;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixel(x, y) != background) {
                first = std::min(first, x);
                last = std::max(last, x);
                break;
            }
    return {first, last};
}
