// core: a day as the old texts and today's almanacs name it: its era dates
// (both courts'), its lunisolar date (445 to 2200, computed from 1873 on,
// with the note of a month whose name was a choice), its Julian-calendar
// date (before 1582-10-15), the solar term in effect with the day it began,
// the 干支 of the day and of its year, the 六曜 of its lunisolar date and its
// 雑節 and moon-viewing nights. The one home of that naming for
// tolmeri-hours' columns and the era-date dialog. Standard library only.
#pragma once

#include <optional>
#include <string>

#include "core/calendar.h"
#include "core/civil_date.h"
#include "core/kanshi.h"
#include "core/solar_terms.h"
#include "core/zassetsu.h"

namespace tolmeri {

struct DayNames {
    EraDates eras;
    std::optional<LunisolarDate> lunisolar;
    std::optional<CivilDate> julian;
    SolarTermStart term;           // in local standard time of the time difference
    int dayKanshi = 0;             // 0 (甲子) to 59
    std::optional<int> yearKanshi; // from 445 on (KanshiYearOfDay)
    std::optional<Rokuyo> rokuyo;  // where the day has a lunisolar date
    // Where the lunisolar month's name was a choice between readings
    // (2033-2034, 2147-2148), the line that says so; else empty.
    std::string lunisolarNote;
    NamedDays namedDays = 0; // 雑節, 中秋の名月, 十三夜
};

DayNames NameDay(int jdn, int timeDiffHours);

} // namespace tolmeri
