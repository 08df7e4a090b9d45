#include <cstdint>

#include "framework/dialog_template.h"

namespace afx {

DluBase BaseUnitsFromMetrics(int widthOf52Letters, int fontHeight) {
    // The average of 52 letters, rounded: (w / 26 + 1) / 2.
    return DluBase{(widthOf52Letters / 26 + 1) / 2, fontHeight};
}

int MulDiv(int a, int b, int c) {
    if (c == 0)
        return -1;
    const std::int64_t p = static_cast<std::int64_t>(a) * b;
    const std::int64_t absP = p < 0 ? -p : p;
    const std::int64_t absC = c < 0 ? -static_cast<std::int64_t>(c) : c;
    const std::int64_t q = (absP + absC / 2) / absC;
    return static_cast<int>(((p < 0) != (c < 0)) ? -q : q);
}

int DluToPixelsX(int x, DluBase base) {
    return MulDiv(x, base.cx, 4);
}
int DluToPixelsY(int y, DluBase base) {
    return MulDiv(y, base.cy, 8);
}

PixelRect DluToPixels(int x, int y, int cx, int cy, DluBase base) {
    return {DluToPixelsX(x, base), DluToPixelsY(y, base), DluToPixelsX(cx, base),
            DluToPixelsY(cy, base)};
}

} // namespace afx
