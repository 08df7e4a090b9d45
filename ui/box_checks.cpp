#include "ui/box_checks.h"

#include "core/accepted_ranges.h"
#include "res/resource.h"

namespace tolmeri {

namespace {

struct BoxRange {
    int boxId;
    const IntRange* range; // null: the time-difference rule
    const char* message;   // %1 and %2: the range's limits
};

constexpr BoxRange kBoxRanges[] = {
    {IDC_DATE_YEAR, &kYearRange, "「年」に指定できる値は%1～%2です。"},
    {IDC_DATE_MONTH, &kMonthRange, "「月」に指定できる値は%1～%2です。"},
    {IDC_DATE_DAY, &kDayRange, "「日」に指定できる値は %1～%2 です。"},
    {IDC_LATITUDE_DEGREES, &kLatitudeRange, "「緯度」に指定できる値は %1～%2 です。"},
    {IDC_LATITUDE_MINUTES, &kArcMinuteRange, "緯度の「分」に指定できる値は %1～%2 です。"},
    {IDC_LONGITUDE_DEGREES, &kLongitudeRange, "「経度」に指定できる値は %1～%2 です。"},
    {IDC_LONGITUDE_MINUTES, &kArcMinuteRange, "経度の「分」に指定できる値は %1～%2 です。"},
    {IDC_TIME_DIFFERENCE, nullptr, "時差の指定が変です。"},
};

const BoxRange* Find(int boxId) {
    for (const BoxRange& box : kBoxRanges)
        if (box.boxId == boxId)
            return &box;
    return nullptr;
}

} // namespace

bool BoxAccepts(int boxId, int value, int lonDeg) {
    const BoxRange* box = Find(boxId);
    if (!box)
        return true;
    return box->range ? box->range->Contains(value) : TimeDifferenceFits(value, lonDeg);
}

QString BoxCheckMessage(int boxId) {
    const BoxRange* box = Find(boxId);
    if (!box)
        return {};
    const QString text = QString::fromUtf8(box->message);
    return box->range ? text.arg(box->range->first).arg(box->range->last) : text;
}

} // namespace tolmeri
