#include "ui/box_checks.h"

#include <algorithm>

#include "core/accepted_ranges.h"
#include "framework/cp932.h"
#include "framework/data_exchange.h"
#include "framework/dialog.h"
#include "framework/message_box.h"

namespace tolmeri {

namespace {

// The name's message counts full-width characters, two CP932 bytes each.
static_assert(kPlaceNameMaxBytes % 2 == 0);
constexpr int kPlaceNameMaxFullWidth = kPlaceNameMaxBytes / 2;

enum class Rule { kRange, kTimeDifference, kNameLength };

struct BoxCheck {
    int boxId;
    int BoxValues::*field; // null for the name
    Rule rule;
    const IntRange* range; // for kRange
    const char* message;   // %1 and %2: the range's limits; %1: the name's
    // For kRange: the part of the range the other boxes leave (the days of
    // the month, the minutes at ±180°), with the boxes it depends on; and
    // the message of a range narrowed to one value (%1 the value, %2 the
    // box it depends on), else the usual one.
    IntRange (*narrowed)(const BoxValues&) = nullptr;
    int BoxValues::*dependsOn[2] = {};
    const char* singleMessage = nullptr;
};

constexpr BoxCheck kBoxChecks[] = {
    {IDC_DATE_YEAR, &BoxValues::year, Rule::kRange, &kYearRange,
     "「年」に指定できる値は%1～%2です。"},
    {IDC_DATE_MONTH, &BoxValues::month, Rule::kRange, &kMonthRange,
     "「月」に指定できる値は%1～%2です。"},
    {IDC_DATE_DAY,
     &BoxValues::day,
     Rule::kRange,
     &kDayRange,
     "「日」に指定できる値は %1～%2 です。",
     [](const BoxValues& v) { return DayRangeIn(v.year, v.month); },
     {&BoxValues::year, &BoxValues::month}},
    {IDC_LATITUDE_DEGREES, &BoxValues::latDeg, Rule::kRange, &kLatitudeRange,
     "「緯度」に指定できる値は %1～%2 です。"},
    {IDC_LATITUDE_MINUTES, &BoxValues::latMin, Rule::kRange, &kArcMinuteRange,
     "緯度の「分」に指定できる値は %1～%2 です。"},
    {IDC_LONGITUDE_DEGREES, &BoxValues::lonDeg, Rule::kRange, &kLongitudeRange,
     "「経度」に指定できる値は %1～%2 です。"},
    {IDC_LONGITUDE_MINUTES,
     &BoxValues::lonMin,
     Rule::kRange,
     &kArcMinuteRange,
     "経度の「分」に指定できる値は %1～%2 です。",
     [](const BoxValues& v) { return LongitudeMinuteRange(v.lonDeg); },
     {&BoxValues::lonDeg},
     "経度が %2 度のとき、「分」に指定できる値は %1 です。"},
    {IDC_TIME_DIFFERENCE, &BoxValues::timeDiff, Rule::kTimeDifference, nullptr,
     "時差の指定が変です。"},
    {IDC_LOCATION_NAME, nullptr, Rule::kNameLength, nullptr,
     "地名は全角%1文字以内にしてください。"},
};

// The exchange's order of the number boxes: the template's, the place first.
constexpr int kExchangeOrder[] = {
    IDC_LATITUDE_DEGREES, IDC_LATITUDE_MINUTES, IDC_LONGITUDE_DEGREES, IDC_LONGITUDE_MINUTES,
    IDC_TIME_DIFFERENCE,  IDC_DATE_YEAR,        IDC_DATE_MONTH,        IDC_DATE_DAY};

const BoxCheck* Find(int boxId) {
    for (const BoxCheck& box : kBoxChecks)
        if (box.boxId == boxId)
            return &box;
    return nullptr;
}

// The values a kRange box takes, with what the other boxes hold.
IntRange RangeOf(const BoxCheck& box, const BoxValues& values) {
    return box.narrowed ? box.narrowed(values) : *box.range;
}

bool Contains(std::span<const int> boxes, int boxId) {
    return std::ranges::find(boxes, boxId) != boxes.end();
}

// A number in full-width digits: 6 as "６".
QString FullWidthNumber(int value) {
    QString text = QString::number(value);
    for (QChar& c : text)
        if (c.isDigit())
            c = QChar(u'０' + (c.unicode() - u'0'));
    return text;
}

} // namespace

Place BoxValues::ToPlace() const {
    return {name.toStdString(), latDeg, latMin, lonDeg, lonMin, timeDiff};
}

CivilDate BoxValues::ToDate() const {
    return {year, month, day};
}

void ExchangeBoxes(CDataExchange* pDX, BoxValues& values, std::span<const int> boxes) {
    for (int id : kExchangeOrder)
        if (Contains(boxes, id))
            DDX_Text(pDX, id, values.*Find(id)->field);
    if (Contains(boxes, IDC_LOCATION_NAME)) {
        DDX_Text(pDX, IDC_LOCATION_NAME, values.name);
        DDV_MaxChars(pDX, values.name, kPlaceNameMaxBytes);
    }
}

bool BoxAccepts(int boxId, const BoxValues& values) {
    const BoxCheck* box = Find(boxId);
    if (!box)
        return true;
    switch (box->rule) {
    case Rule::kRange:
        return RangeOf(*box, values).Contains(values.*box->field);
    case Rule::kTimeDifference:
        return TimeDifferenceFits(values.timeDiff, values.lonDeg);
    case Rule::kNameLength:
        return afx::ToCp932(values.name).size() <= kPlaceNameMaxBytes;
    }
    return true;
}

QString BoxCheckMessage(int boxId, const BoxValues& values) {
    const BoxCheck* box = Find(boxId);
    if (!box)
        return {};
    const QString text = QString::fromUtf8(box->message);
    switch (box->rule) {
    case Rule::kRange: {
        const IntRange range = RangeOf(*box, values);
        if (range.first == range.last && box->singleMessage)
            return QString::fromUtf8(box->singleMessage)
                .arg(range.first)
                .arg(values.*box->dependsOn[0]);
        return text.arg(range.first).arg(range.last);
    }
    case Rule::kNameLength:
        return text.arg(FullWidthNumber(kPlaceNameMaxFullWidth));
    case Rule::kTimeDifference:
        break;
    }
    return text;
}

void CopyBox(int boxId, const BoxValues& from, BoxValues& to) {
    if (boxId == IDC_LOCATION_NAME) {
        to.name = from.name;
    } else if (const BoxCheck* box = Find(boxId)) {
        to.*box->field = from.*box->field;
        // A day kept from 1月31日 does not fit 2月: the date goes back whole.
        if (!BoxAccepts(boxId, to))
            for (int BoxValues::*other : box->dependsOn)
                if (other)
                    to.*other = from.*other;
    }
}

BoxReading ReadMainBoxes(const CDialog& main, BoxReport report, std::span<const int> boxes) {
    // The exchange only reads the boxes; a loud one may also move the focus.
    CDialog& dialog = const_cast<CDialog&>(main);
    CDataExchange dx(&dialog, true, report == BoxReport::kSilent);
    BoxReading reading;
    ExchangeBoxes(&dx, reading.values, boxes);
    if (dx.Failed()) {
        reading.refusedBox = dx.m_idLastControl;
        return reading;
    }
    const bool withLongitude = Contains(boxes, IDC_LONGITUDE_DEGREES);
    for (int id : kCheckedBoxes) {
        if (!Contains(boxes, id))
            continue;
        const bool accepted = id == IDC_TIME_DIFFERENCE && !withLongitude
                                  ? kTimeDifferenceRange.Contains(reading.values.timeDiff)
                                  : BoxAccepts(id, reading.values);
        if (accepted)
            continue;
        reading.refusedBox = id;
        if (report == BoxReport::kLoud)
            afx::MessageBox(&dialog, BoxCheckMessage(id, reading.values), afx::MbIcon::kNone);
        dx.m_idLastControl = id;
        dx.Fail();
        return reading;
    }
    return reading;
}

} // namespace tolmeri
