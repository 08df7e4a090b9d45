#include "core/day_names.h"

namespace tolmeri {

DayNames NameDay(int jdn, int timeDiffHours) {
    DayNames names;
    names.eras = EraDatesFromJdn(jdn);
    names.lunisolar = LunisolarFromJdn(jdn);
    if (jdn < kFirstGregorianJdn)
        names.julian = JulianCalendarFromJdn(jdn);
    names.term = SolarTermOnDay(jdn, timeDiffHours);
    return names;
}

} // namespace tolmeri
