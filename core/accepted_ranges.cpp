#include "core/accepted_ranges.h"

namespace tolmeri {

IntRange DayRangeIn(int year, int month) {
    if (!kMonthRange.Contains(month))
        return kDayRange;
    return {kDayRange.first, DaysInMonth(year, month)};
}

bool IsAcceptedDate(const CivilDate& date) {
    return kYearRange.Contains(date.year) && IsValidDate(date);
}

std::int64_t AcceptedDaysFrom(const CivilDate& first) {
    return DaysFromCivil(kLastAcceptedDate) - DaysFromCivil(first) + 1;
}

} // namespace tolmeri
