#include "core/moon_hours.h"

#include "core/hour_names.h"

namespace tolmeri {

namespace {

// "月齢 12.6", and "（満月）" on the quarter's day.
void AppendAgeAndPhase(std::string& out, const MoonDay& moon) {
    const int tenths = moon.AgeTenths();
    out += "月齢 ";
    out += std::to_string(tenths / 10);
    out += '.';
    out += static_cast<char>('0' + tenths % 10);
    if (moon.phase) {
        out += "（";
        out += kMoonPhaseNames[static_cast<std::size_t>(*moon.phase)];
        out += "）";
    }
}

CivilDate AddDays(const CivilDate& date, int days) {
    return CivilFromDays(DaysFromCivil(date) + days);
}

// The Moon's days around date, whose events a reckoned day takes.
struct MoonDays {
    MoonDay before, day, after;
};

// The first event in [from, to) minutes of date among the three days' (the
// day before's counted back a day, the day after's on), as a day minute of
// date.
std::optional<int> FirstEventIn(const MoonDays& days, std::optional<double> MoonDay::*event,
                                int from, int to) {
    const struct {
        const MoonDay& moon;
        int shift;
    } candidates[] = {{days.before, -1440}, {days.day, 0}, {days.after, 1440}};
    for (const auto& c : candidates) {
        const std::optional<double>& moment = c.moon.*event;
        if (!moment)
            continue;
        const int minute = MoonMinute(*moment) + c.shift;
        if (minute >= from && minute < to)
            return minute;
    }
    return std::nullopt;
}

std::optional<MoonEventHour> EventHour(const Place& place, const CivilDate& date,
                                       const std::optional<int>& dayMinute,
                                       const PeriodOptions& options) {
    if (!dayMinute)
        return std::nullopt;
    const MomentHour hour = FindMomentHour(place, date, *dayMinute, options);
    return MoonEventHour{hour.minute, hour.index, hour.date};
}

std::optional<int> ClockOf(const std::optional<double>& moment) {
    if (!moment)
        return std::nullopt;
    return MoonMinute(*moment);
}

// The events' titles and clock times, each with its date when written and
// its half-hour when asked.
void AppendEvents(std::string& out, const std::optional<MoonEventHour>* const (&events)[3],
                  bool dates, bool hours) {
    static constexpr const char* kTitles[] = {"  月の出 ", "  月の入 ", "  月の南中 "};
    for (int i = 0; i < 3; ++i) {
        if (!events[i])
            continue;
        out += kTitles[i];
        const std::optional<MoonEventHour>& event = *events[i];
        if (!event) {
            out += "なし";
            continue;
        }
        if (dates) {
            AppendDate(out, event->date);
            out += ' ';
        }
        AppendClock(out, event->minute);
        if (hours) {
            out += "（";
            out += event->HourName();
            out += "）";
        }
    }
}

} // namespace

std::string_view MoonEventHour::HourName() const {
    return NumberedHourName(index);
}

MoonDayHours CalcMoonDayHours(const Place& place, const CivilDate& date,
                              const PeriodOptions& options, DayStart start) {
    MoonDayHours result;
    result.start = start;
    CMoonCalculator moon(place);
    const int jdn = JdnFromCivil(date);
    int from = 0, to = 1440;
    MoonDays days;
    if (start == DayStart::kDawn) {
        // From the date's 明六つ to the next date's.
        CPeriodCalculator calc(place, options);
        from = calc.Compute(date).boundary[6];
        to = calc.Compute(AddDays(date, 1)).boundary[6] + 1440;
        days.before = moon.Day(jdn - 1);
    }
    days.day = moon.Day(jdn);
    if (start == DayStart::kDawn)
        days.after = moon.Day(jdn + 1);
    result.moon = days.day;
    const auto event = [&](std::optional<double> MoonDay::*which) {
        return EventHour(place, date,
                         start == DayStart::kDawn ? FirstEventIn(days, which, from, to)
                                                  : ClockOf(days.day.*which),
                         options);
    };
    result.rise = event(&MoonDay::rise);
    result.set = event(&MoonDay::set);
    result.transit = event(&MoonDay::transit);
    return result;
}

void AppendMoonLine(std::string& out, const MoonDay& moon) {
    AppendAgeAndPhase(out, moon);
    const struct {
        const char* title;
        const std::optional<double>& minute;
    } events[] = {{"  月の出 ", moon.rise}, {"  月の入 ", moon.set}, {"  月の南中 ", moon.transit}};
    for (const auto& e : events) {
        out += e.title;
        if (e.minute)
            AppendClock(out, MoonMinute(*e.minute));
        else
            out += "なし";
    }
}

void AppendMoonLine(std::string& out, const MoonDayHours& day) {
    AppendAgeAndPhase(out, day.moon);
    const std::optional<MoonEventHour>* const events[3] = {&day.rise, &day.set, &day.transit};
    AppendEvents(out, events, day.start == DayStart::kDawn, false);
}

std::string FormatMoonHoursLine(const MoonDayHours& day) {
    std::string out;
    AppendAgeAndPhase(out, day.moon);
    const std::optional<MoonEventHour>* const events[3] = {&day.rise, &day.set, nullptr};
    AppendEvents(out, events, day.start == DayStart::kDawn, true);
    return out;
}

} // namespace tolmeri
