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

std::optional<MoonEventHour> EventHour(const Place& place, const CivilDate& date,
                                       const std::optional<double>& moment,
                                       const PeriodOptions& options) {
    if (!moment)
        return std::nullopt;
    const int minute = MoonMinute(*moment);
    return MoonEventHour{minute, FindMomentHour(place, date, minute, options).index};
}

} // namespace

std::string_view MoonEventHour::HourName() const {
    return NumberedHourName(index);
}

MoonDayHours CalcMoonDayHours(const Place& place, const CivilDate& date,
                              const PeriodOptions& options) {
    MoonDayHours day;
    CMoonCalculator moon(place);
    day.moon = moon.Day(JdnFromCivil(date));
    day.rise = EventHour(place, date, day.moon.rise, options);
    day.set = EventHour(place, date, day.moon.set, options);
    return day;
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

std::string FormatMoonHoursLine(const MoonDayHours& day) {
    std::string out;
    AppendAgeAndPhase(out, day.moon);
    const struct {
        const char* title;
        const std::optional<MoonEventHour>& event;
    } events[] = {{"  月の出 ", day.rise}, {"  月の入 ", day.set}};
    for (const auto& e : events) {
        out += e.title;
        if (!e.event) {
            out += "なし";
            continue;
        }
        AppendClock(out, e.event->minute);
        out += "（";
        out += e.event->HourName();
        out += "）";
    }
    return out;
}

} // namespace tolmeri
