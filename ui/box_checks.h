// ui: the checks of the main dialog's place and date boxes, as 計算実行 and
// the year-chart window apply them: whether a box's value is accepted (the
// ranges and the time-difference rule of core/accepted_ranges.h) and what a
// refused one says. Each caller adds what it then does about it.
#pragma once

#include <QString>

namespace tolmeri {

// Whether the box boxId (IDC_DATE_YEAR … IDC_TIME_DIFFERENCE) takes value;
// the time difference is judged against the longitude degrees lonDeg.
bool BoxAccepts(int boxId, int value, int lonDeg);

// What a refused box says, its range's limits put in:
// "「年」に指定できる値は0～2200です。", "時差の指定が変です。".
QString BoxCheckMessage(int boxId);

} // namespace tolmeri
