// core: how each period kept its hours: where dawn (明六つ) and dusk (暮六つ)
// were placed and from which day, and when the clocks were set. Names for
// columns and options, Japanese labels for titles. Standard library only.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/sun_events.h"

namespace tolmeri {

enum class DawnDefinition {
    // The Sun's centre 7°21′40″ below the horizon: the 寛政暦 (from 1798) and
    // the 天保暦; the window's own computation.
    kDepression,
    // 36 minutes (2.5 刻 of the hundred to a day) before the geometric sunrise
    // and after the geometric sunset: the 宣明暦, 貞享暦 and 宝暦暦 (862-1797).
    kMinutes36,
    // At the geometric sunrise and sunset themselves.
    kSunrise,
    // kDepression from the first day of the 寛政暦, kMinutes36 before it.
    kAuto,
};

inline constexpr std::array<DawnDefinition, 4> kDawnDefinitions = {
    DawnDefinition::kDepression, DawnDefinition::kMinutes36, DawnDefinition::kSunrise,
    DawnDefinition::kAuto};

// 寛政10年1月1日, 1798-02-16: the first day of the 寛政暦 (Julian day number).
inline constexpr int kKanseiCalendarFirstJdn = 2377813;

// A calendar (暦法) of the almanacs, from the day it came into force: each
// lunisolar one on the first day of a lunisolar year, the solar calendar on
// 明治6年1月1日. definition is where it put dawn and dusk; the solar
// calendar, which ended the temporal hours, keeps the last one's.
struct AlmanacCalendar {
    int firstJdn;
    std::string_view name;
    DawnDefinition definition;
};

inline constexpr std::array<AlmanacCalendar, 6> kAlmanacCalendars = {{
    {2035937, "宣明暦", DawnDefinition::kMinutes36}, // 貞観4年1月1日, 862-02-03 (Julian)
    {2336529, "貞享暦", DawnDefinition::kMinutes36}, // 貞享2年1月1日, 1685-02-04
    {2362102, "宝暦暦", DawnDefinition::kMinutes36}, // 宝暦5年1月1日, 1755-02-11
    {kKanseiCalendarFirstJdn, "寛政暦", DawnDefinition::kDepression}, // 寛政10年1月1日, 1798-02-16
    {2394615, "天保暦", DawnDefinition::kDepression}, // 天保15年1月1日, 1844-02-18
    {2405160, "太陽暦", DawnDefinition::kDepression}, // 明治6年1月1日, 1873-01-01
}};

// The calendar in force on a day; null before 862-02-03 (Julian), whose
// calendars are not named here.
const AlmanacCalendar* AlmanacCalendarOn(int jdn);

// The name in columns, JSON and options: "depression", "36min", "sunrise",
// "auto".
std::string_view DawnDefinitionName(DawnDefinition definition);
std::optional<DawnDefinition> DawnDefinitionFromName(std::string_view name);

// The Japanese label of a choice, for lists and help (UTF-8):
// 「太陽俯角7度21分40秒（寛政暦から。画面の図と同じ）」,
// 「日出前・日入後2刻半＝36分（宝暦暦まで）」, 「日出・日入」,
// 「暦による（1798年2月16日の寛政暦から俯角、それ以前は36分）」.
std::string_view DawnDefinitionLabel(DawnDefinition definition);

// The label of the definition on a day: the rule, then the calendar in
// force whose it was, 「日出前・日入後2刻半＝36分（宣明暦の定め）」 for auto on
// 1600-10-21, 「太陽俯角7度21分40秒（寛政暦の定め）」 on 1800-01-01; a
// definition that is not the day's calendar's own says whose it was and
// what the calendar kept: 「太陽俯角7度21分40秒（寛政暦からの定め。宣明暦の定めは
// 日出前・日入後36分）」. Without a named calendar (before 862) the rule
// alone; 「日出・日入」 always.
std::string DawnDefinitionLabelOn(DawnDefinition definition, int jdn);

// The labels of a run of days [firstJdn, endJdn) joined where the calendar
// changes: 「日出前・日入後2刻半＝36分（宝暦暦の定め）、1798-02-16 から太陽俯角
// 7度21分40秒（寛政暦の定め）」; one label where it does not.
std::string DawnDefinitionLabelOver(DawnDefinition definition, int firstJdn, int endJdn);

// The definition that places dawn and dusk on a day: kAuto resolved by the
// day (the calendar in force's, kMinutes36 before the first named one), the
// others as they are.
DawnDefinition DawnDefinitionOnDay(DawnDefinition definition, int jdn);

// The rule the day's computation takes; kAuto (unresolved) takes the
// depression.
DawnDuskRule DawnDuskRuleOf(DawnDefinition definition);

// When the clocks were set. 和時計 were re-set at each of the 二十四節気
// (the weights moved on the balance, the hour plates on the dial), so the
// hours they struck stayed the same through a term and then jumped.
enum class ClockSteps {
    kDaily, // every day its own table
    kSekki, // every day the table of the first day of its solar term
};

inline constexpr std::array<ClockSteps, 2> kClockSteps = {ClockSteps::kDaily, ClockSteps::kSekki};

// "daily", "sekki"; and the Japanese labels 「毎日」, 「二十四節気ごと」.
std::string_view ClockStepsName(ClockSteps steps);
std::optional<ClockSteps> ClockStepsFromName(std::string_view name);
std::string_view ClockStepsLabel(ClockSteps steps);

// Which Sun places the day's events. kWindow is the window's own: the Sun
// once at local noon from short formulas (core/sun_events.h); kPrecise the
// apparent Sun at each event's own moment (core/precise_sun.h), within
// seconds of a modern ephemeris over 0-2200.
enum class SunModel {
    kWindow,
    kPrecise,
};

inline constexpr std::array<SunModel, 2> kSunModels = {SunModel::kWindow, SunModel::kPrecise};

// "window", "precise"; and the labels 「画面と同じ（正午の太陽）」,
// 「精密（各時刻の太陽）」.
std::string_view SunModelName(SunModel sun);
std::optional<SunModel> SunModelFromName(std::string_view name);
std::string_view SunModelLabel(SunModel sun);

} // namespace tolmeri
