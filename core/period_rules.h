// core: how each period kept its hours: where dawn (明六つ) and dusk (暮六つ)
// were placed and from which day, and when the clocks were set. Names for
// columns and options, Japanese labels for titles. Standard library only.
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "core/sun_events.h"

namespace tolmeri {

enum class DawnDefinition {
    // The Sun's centre 7°21′40″ below the horizon: the 寛政暦 (from 1798) and
    // the 天保暦; the window's own computation.
    kDepression,
    // 36 minutes (2.5 刻 of the hundred to a day) before the geometric sunrise
    // and after the geometric sunset: the 貞享暦 and 宝暦暦 (1685-1797).
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

// The name in columns, JSON and options: "depression", "36min", "sunrise",
// "auto".
std::string_view DawnDefinitionName(DawnDefinition definition);
std::optional<DawnDefinition> DawnDefinitionFromName(std::string_view name);

// The Japanese label for titles and choices (UTF-8):
// 「寛政暦（太陽俯角7度21分40秒）」, 「貞享・宝暦暦（日出前・日入後2刻半＝36分）」,
// 「日出・日入」, 「暦による（1798年2月16日の寛政暦から俯角、それ以前は36分）」.
std::string_view DawnDefinitionLabel(DawnDefinition definition);

// The definition that places dawn and dusk on a day: kAuto resolved by the
// day, the others as they are.
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

} // namespace tolmeri
