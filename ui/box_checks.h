// ui: the main dialog's place and date boxes, read and checked in one place
// for 計算実行 and for every window that takes the boxes' place or date: what
// they hold (BoxValues), their data exchange in the dialog's order
// (ExchangeBoxes), the checks in 計算実行's order with their messages, and the
// reader of the boxes (ReadMainBoxes), which tells the user of a refused box
// or only answers which box it was. The orders, the checks and their
// messages are the core's (core/main_boxes.h), which the web edition asks
// too; here they meet the dialog's box ids and Qt's text.
#pragma once

#include <QString>
#include <array>
#include <optional>
#include <span>

#include "core/civil_date.h"
#include "core/main_boxes.h"
#include "core/place.h"
#include "res/resource.h"

class CDialog;
class CDataExchange;

namespace tolmeri {

// What the boxes hold, as the main dialog's fields do: the numbers as the
// core's fields, the name as the name box's text (fields.name unused).
struct BoxValues {
    MainFields fields;
    QString name;

    Place ToPlace() const; // the name in UTF-8
    CivilDate ToDate() const;
    MainFields ToFields() const;
    static BoxValues Of(const MainFields& fields);
};

// The dialog's box of each of the core's boxes.
constexpr int BoxId(MainBox box) {
    switch (box) {
    case MainBox::kLatitudeDegrees:
        return IDC_LATITUDE_DEGREES;
    case MainBox::kLatitudeMinutes:
        return IDC_LATITUDE_MINUTES;
    case MainBox::kLongitudeDegrees:
        return IDC_LONGITUDE_DEGREES;
    case MainBox::kLongitudeMinutes:
        return IDC_LONGITUDE_MINUTES;
    case MainBox::kTimeDifference:
        return IDC_TIME_DIFFERENCE;
    case MainBox::kYear:
        return IDC_DATE_YEAR;
    case MainBox::kMonth:
        return IDC_DATE_MONTH;
    case MainBox::kDay:
        return IDC_DATE_DAY;
    case MainBox::kName:
        return IDC_LOCATION_NAME;
    }
    return 0;
}

// The core's box of a dialog box id, if it is one of the nine.
std::optional<MainBox> MainBoxOf(int boxId);

// Every box, in the order 計算実行 checks them (core/main_boxes.h's
// kCheckOrder): the date, the place, the time difference (judged against
// the longitude), the name.
inline constexpr std::array<int, kMainBoxCount> kCheckedBoxes = [] {
    std::array<int, kMainBoxCount> ids{};
    for (std::size_t i = 0; i < ids.size(); ++i)
        ids[i] = BoxId(kCheckOrder[i]);
    return ids;
}();
inline constexpr int kDateBoxes[] = {IDC_DATE_YEAR, IDC_DATE_MONTH, IDC_DATE_DAY};

// The data exchange of the boxes (those of boxes, in any order) with values,
// in the dialog's order: the place, the time difference, the date, then the
// name with its length in CP932 bytes (kPlaceNameMaxBytes).
void ExchangeBoxes(CDataExchange* pDX, BoxValues& values,
                   std::span<const int> boxes = kCheckedBoxes);

// Whether the box boxId takes what values holds for it; the time difference
// is judged against values' longitude degrees, the day against its month
// and the longitude minutes against the degrees (none past 180°00′).
bool BoxAccepts(int boxId, const BoxValues& values);

// What a refused box says, its limits put in: "「年」に指定できる値は0～2200です。",
// "時差の指定が変です。", "地名は全角６文字以内にしてください。"; the day's and the
// longitude minutes' as values' other boxes narrow them: "「日」に指定できる値は
// 1～28 です。" in 2001年2月, "経度が 180 度のとき、「分」に指定できる値は 0 です。".
QString BoxCheckMessage(int boxId, const BoxValues& values);

enum class BoxReport {
    kLoud,   // a refused box gets its message and the focus, its text selected
    kSilent, // nothing is shown and the focus stays where it is
};

// What a reader found: the values read, whole when no box was refused.
struct BoxReading {
    BoxValues values;
    int refusedBox = 0; // the first box refused; 0 for none
    explicit operator bool() const { return refusedBox == 0; }
};

// Reads the boxes of main (those of boxes) as 計算実行 does: by the data
// exchange, which stops at a box that holds no integer or a name longer than
// the box takes (with the exchange's message); then the checks in their
// order, the first that fails ending the reading (with BoxCheckMessage).
// The time difference is judged against the longitude when that box is read
// too, else by the range of zones alone. Nothing of main's fields changes.
BoxReading ReadMainBoxes(const CDialog& main, BoxReport report,
                         std::span<const int> boxes = kCheckedBoxes);

} // namespace tolmeri
