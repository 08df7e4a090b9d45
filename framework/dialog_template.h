// framework: dialog templates held as data, and the conversion of dialog
// units into pixels of the font actually obtained.
#pragma once

#include <span>

#include "framework/win_types.h"

namespace afx {

enum class ControlClass { kButton, kEdit, kStatic, kListBox, kComboBox };

// One control of a template: where it sits, in dialog units, and what it is.
// Its kind follows from its class and style bits, as it does on the platform
// the templates were drawn for. A combo box's cy is the height of its list
// when dropped down, as there; closed it is one edit-box row (kComboRowDlu).
struct DlgItem {
    int id;
    ControlClass cls;
    const char* text; // UTF-8; for an SS_ICON static, the icon resource id as decimal text
    int x, y, cx, cy;
    Style style;
};

struct DlgTemplate {
    int id;
    const char* caption; // UTF-8
    Style style;
    Style exStyle;
    int x, y, cx, cy;
    int pointSize;
    const char* faceName; // UTF-8
    std::span<const DlgItem> items;
};

// Dialog base units of a font: the horizontal one from the width of the 52
// letters "A".."Z", "a".."z" averaged and rounded as the platform does, the
// vertical one the font's height.
struct DluBase {
    int cx;
    int cy;
};

// The height of a closed combo box, in dialog units: that of the templates'
// edit boxes.
inline constexpr int kComboRowDlu = 14;

DluBase BaseUnitsFromMetrics(int widthOf52Letters, int fontHeight);

// a * b / c rounded half away from zero, in 64-bit arithmetic.
int MulDiv(int a, int b, int c);

// Dialog units to pixels: x * cx / 4 and y * cy / 8, each value on its own.
int DluToPixelsX(int x, DluBase base);
int DluToPixelsY(int y, DluBase base);

struct PixelRect {
    int x, y, width, height;
    bool operator==(const PixelRect&) const = default;
};
PixelRect DluToPixels(int x, int y, int cx, int cy, DluBase base);

} // namespace afx
