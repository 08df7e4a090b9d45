// core: a day as the old texts name it: its era dates (both courts'), its
// lunisolar date (445 to 1872), its Julian-calendar date (before
// 1582-10-15), the solar term in effect with the day it began, the 干支 of
// the day and of its year and the 六曜 of its lunisolar date. The one
// home of that naming for tolmeri-hours' columns and the era-date dialog.
// Standard library only.
#pragma once

#include <optional>

#include "core/calendar.h"
#include "core/civil_date.h"
#include "core/kanshi.h"
#include "core/solar_terms.h"

namespace tolmeri {

struct DayNames {
    EraDates eras;
    std::optional<LunisolarDate> lunisolar;
    std::optional<CivilDate> julian;
    SolarTermStart term;           // in local standard time of the time difference
    int dayKanshi = 0;             // 0 (甲子) to 59
    std::optional<int> yearKanshi; // from 445 on (KanshiYearOfDay)
    std::optional<Rokuyo> rokuyo;  // where the day has a lunisolar date
};

DayNames NameDay(int jdn, int timeDiffHours);

} // namespace tolmeri
