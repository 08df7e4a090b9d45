// ui: the main dialog's place and date boxes, read and checked in one place
// for 計算実行 and for every window that takes the boxes' place or date: what
// they hold (BoxValues), their data exchange in the dialog's order
// (ExchangeBoxes), the checks in 計算実行's order with the ranges and the name
// limit of core/accepted_ranges.h and the messages that name them, and the
// reader of the boxes (ReadMainBoxes), which tells the user of a refused box
// or only answers which box it was.
#pragma once

#include <QString>
#include <span>

#include "core/civil_date.h"
#include "core/place.h"
#include "res/resource.h"

class CDialog;
class CDataExchange;

namespace tolmeri {

// What the boxes hold, as the main dialog's fields do.
struct BoxValues {
    int latDeg = 0;
    int latMin = 0;
    int lonDeg = 0;
    int lonMin = 0;
    int timeDiff = 0;
    int year = 0;
    int month = 0;
    int day = 0;
    QString name;

    Place ToPlace() const; // the name in UTF-8
    CivilDate ToDate() const;
};

// Every box, in the order 計算実行 checks them: the date, the place, the time
// difference (judged against the longitude), the name.
inline constexpr int kCheckedBoxes[] = {
    IDC_DATE_YEAR,         IDC_DATE_MONTH,       IDC_DATE_DAY,
    IDC_LATITUDE_DEGREES,  IDC_LATITUDE_MINUTES, IDC_LONGITUDE_DEGREES,
    IDC_LONGITUDE_MINUTES, IDC_TIME_DIFFERENCE,  IDC_LOCATION_NAME};
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

// Takes the value of the box boxId from from into to; for the day and the
// longitude minutes, when that value does not fit the boxes it depends on
// as they stand in to, their values from from too (the year and month, the
// longitude degrees).
void CopyBox(int boxId, const BoxValues& from, BoxValues& to);

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
