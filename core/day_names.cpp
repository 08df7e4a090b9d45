#include "core/day_names.h"

namespace tolmeri {

DayNames NameDay(int jdn, int timeDiffHours) {
    DayNames names;
    names.eras = EraDatesFromJdn(jdn);
    names.lunisolar = LunisolarFromJdn(jdn);
    if (jdn < kFirstGregorianJdn)
        names.julian = JulianCalendarFromJdn(jdn);
    names.term = SolarTermOnDay(jdn, timeDiffHours);
    names.dayKanshi = DayKanshi(jdn);
    if (const std::optional<int> year = KanshiYearOfDay(jdn))
        names.yearKanshi = YearKanshi(*year);
    if (names.lunisolar)
        names.rokuyo = RokuyoOf(names.lunisolar->month, names.lunisolar->day);
    if (jdn >= kLunisolarEndJdn)
        names.lunisolarNote = ComputedMonthNote(jdn);
    names.namedDays = NamedDaysOn(jdn, timeDiffHours, names.lunisolar);
    return names;
}

} // namespace tolmeri
