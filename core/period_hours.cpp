#include "core/period_hours.h"

#include <algorithm>

#include "core/solar_terms.h"

namespace tolmeri {

namespace {

CivilDate AddDays(const CivilDate& date, std::int64_t days) {
    return CivilFromDays(DaysFromCivil(date) + days);
}

} // namespace

CivilDate ClockSetDate(const CivilDate& date, int timeDiffHours, ClockSteps steps) {
    if (steps == ClockSteps::kDaily)
        return date;
    return CivilFromJdn(SolarTermOnDay(JdnFromCivil(date), timeDiffHours).jdn);
}

CPeriodCalculator::CPeriodCalculator(const Place& place, const PeriodOptions& options)
    : m_place(place), m_options(options), m_precise(place) {}

DayHours CPeriodCalculator::Recompute(const CivilDate& date, DawnDefinition definition) {
    if (m_options.sun == SunModel::kPrecise) {
        const SunEvents ev = m_precise.Events(JdnFromCivil(date), DawnDuskRuleOf(definition));
        DayHours day;
        day.date = date;
        day.setDate = date;
        day.definition = definition;
        day.sun = SunModel::kPrecise;
        day.boundary = ev.boundary;
        day.sunrise = ev.sunrise;
        day.sunset = ev.sunset;
        day.transit = ev.boundary[12];
        day.exactBoundary = ev.exact;
        day.exactSunrise = ev.exactSunrise;
        day.exactSunset = ev.exactSunset;
        day.exactTransit = ev.exact[12];
        return day;
    }
    // The window's own recompute, so the table is the window's to the bit.
    m_hours.Recompute(m_place, date, definition);
    return m_hours.Day();
}

DayHours CPeriodCalculator::Compute(const CivilDate& date) {
    const DawnDefinition definition = DawnDefinitionOnDay(m_options.dawn, JdnFromCivil(date));
    DayHours day = Recompute(date, definition);
    day.setDate = ClockSetDate(date, m_place.timeDiff, m_options.steps);
    if (day.setDate == date)
        return day;
    // The term's first day with the definition of the day asked for: on
    // 1798-02-16 the new calendar's definition applies, although the clocks
    // were last set at 立春.
    if (!m_bSetValid || m_setDate != day.setDate || m_setDefinition != day.definition) {
        const DayHours set = Recompute(day.setDate, day.definition);
        m_setBoundary = set.boundary;
        m_setExact = set.exactBoundary;
        m_setDate = day.setDate;
        m_setDefinition = day.definition;
        m_bSetValid = true;
    }
    day.boundary = m_setBoundary;
    day.exactBoundary = m_setExact;
    return day;
}

DayHours CalcDayHours(const Place& place, const CivilDate& date, const PeriodOptions& options) {
    return CPeriodCalculator(place, options).Compute(date);
}

std::vector<DayHours> CalcPeriodDays(const Place& place, const CivilDate& first, int dayCount,
                                     const PeriodOptions& options) {
    std::vector<DayHours> days;
    if (dayCount < 1)
        return days;
    days.reserve(static_cast<std::size_t>(dayCount));
    CPeriodCalculator calc(place, options);
    const std::int64_t start = DaysFromCivil(first);
    for (int i = 0; i < dayCount; ++i)
        days.push_back(calc.Compute(CivilFromDays(start + i)));
    return days;
}

MomentHour FindMomentHour(const Place& place, const CivilDate& date, int minute,
                          const PeriodOptions& options) {
    MomentHour m;
    const std::int64_t wide = minute;
    const std::int64_t dayShift = (wide >= 0 ? wide : wide - 1439) / 1440;
    m.date = AddDays(date, dayShift);
    m.minute = static_cast<int>(wide - dayShift * 1440);

    m.marks = MarksAround(place, m.date, options);
    m.definition = m.marks.definition;
    m.setDate = m.marks.setDate;
    const std::array<int, 73>& marks = m.marks.mark;
    int i = 0;
    while (i < 71 && marks[i + 1] <= m.minute)
        ++i;
    m.mark = i;
    m.index = i % 24;
    m.start = marks[i];
    m.nextIndex = m.index + 1;
    m.end = marks[i + 1];
    return m;
}

HourMarks MarksAround(const Place& place, const CivilDate& date, const PeriodOptions& options) {
    // Boundaries 0 to 23 of the day before, the day and the day after, then
    // the last day's 24, all as minutes of the day itself. Each day starts
    // with its own midnight; where a table changes from one day to the next
    // (a new term's clock setting, or the transit moving by a minute) the
    // marks are kept from going back, so the half-hour found always holds
    // the moment.
    HourMarks result;
    std::array<int, 73>& marks = result.mark;
    CPeriodCalculator calc(place, options);
    for (int k = -1; k <= 1; ++k) {
        const DayHours d = calc.Compute(AddDays(date, k));
        for (int i = 0; i < 24; ++i)
            marks[(k + 1) * 24 + i] = d.boundary[i] + 1440 * k;
        if (k == 0) {
            result.definition = d.definition;
            result.setDate = d.setDate;
        }
        if (k == 1)
            marks[72] = d.boundary[24] + 1440;
    }
    for (int i = 1; i < 73; ++i)
        marks[i] = std::max(marks[i], marks[i - 1]);
    return result;
}

LocalMoment LocalMomentOf(std::int64_t utcSeconds, int timeDiffHours) {
    const std::int64_t local = utcSeconds + static_cast<std::int64_t>(timeDiffHours) * 3600;
    const std::int64_t days = (local >= 0 ? local : local - 86399) / 86400;
    return {CivilFromDays(days), static_cast<int>((local - days * 86400) / 60)};
}

} // namespace tolmeri
