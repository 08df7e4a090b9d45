#include "core/period_rules.h"

#include "core/civil_date.h"

namespace tolmeri {

namespace {

struct ChoiceText {
    std::string_view name;
    std::string_view label;
};

// In the order of the enumerations.
constexpr ChoiceText kDefinitionTexts[] = {
    {"depression", "太陽俯角7度21分40秒（寛政暦から。画面の図と同じ）"},
    {"36min", "日出前・日入後2刻半＝36分（宝暦暦まで）"},
    {"sunrise", "日出・日入"},
    {"auto", "暦による（1798年2月16日の寛政暦から俯角、それ以前は36分）"},
};
// The rule itself, the calendars it belonged to, and the rule in a few
// words beside another.
struct RuleText {
    std::string_view rule;
    std::string_view origin;
    std::string_view brief;
};
RuleText RuleOf(DawnDefinition resolved) {
    if (resolved == DawnDefinition::kMinutes36)
        return {"日出前・日入後2刻半＝36分", "宝暦暦までの", "日出前・日入後36分"};
    return {"太陽俯角7度21分40秒", "寛政暦からの", "太陽俯角7度21分40秒"};
}

constexpr ChoiceText kStepsTexts[] = {{"daily", "毎日"}, {"sekki", "二十四節気ごと"}};
constexpr ChoiceText kSunTexts[] = {{"window", "画面と同じ（正午の太陽）"},
                                    {"precise", "精密（各時刻の太陽）"}};

// The text of a value; a value outside the enumeration reads as its first.
template <typename E, std::size_t N> const ChoiceText& TextOf(const ChoiceText (&texts)[N], E e) {
    const auto i = static_cast<std::size_t>(e);
    return texts[i < N ? i : 0];
}

template <typename E, std::size_t N, std::size_t M>
std::optional<E> FromName(const ChoiceText (&texts)[N], const std::array<E, M>& values,
                          std::string_view name) {
    for (E e : values)
        if (TextOf(texts, e).name == name)
            return e;
    return std::nullopt;
}

} // namespace

std::string_view DawnDefinitionName(DawnDefinition definition) {
    return TextOf(kDefinitionTexts, definition).name;
}

std::string_view DawnDefinitionLabel(DawnDefinition definition) {
    return TextOf(kDefinitionTexts, definition).label;
}

std::optional<DawnDefinition> DawnDefinitionFromName(std::string_view name) {
    return FromName(kDefinitionTexts, kDawnDefinitions, name);
}

const AlmanacCalendar* AlmanacCalendarOn(int jdn) {
    const AlmanacCalendar* found = nullptr;
    for (const AlmanacCalendar& calendar : kAlmanacCalendars)
        if (jdn >= calendar.firstJdn)
            found = &calendar;
    return found;
}

DawnDefinition DawnDefinitionOnDay(DawnDefinition definition, int jdn) {
    if (definition != DawnDefinition::kAuto)
        return definition;
    const AlmanacCalendar* calendar = AlmanacCalendarOn(jdn);
    return calendar ? calendar->definition : DawnDefinition::kMinutes36;
}

std::string DawnDefinitionLabelOn(DawnDefinition definition, int jdn) {
    const DawnDefinition resolved = DawnDefinitionOnDay(definition, jdn);
    if (resolved == DawnDefinition::kSunrise)
        return std::string(DawnDefinitionLabel(resolved));
    const RuleText text = RuleOf(resolved);
    const AlmanacCalendar* calendar = AlmanacCalendarOn(jdn);
    if (!calendar)
        return std::string(text.rule);
    // The rule first, then whose it was: the day's calendar's own, or
    // another period's, with what the day's calendar kept instead.
    std::string label(text.rule);
    label += "（";
    if (calendar->definition == resolved) {
        label += calendar->name;
        label += "の定め）";
        return label;
    }
    label += text.origin;
    label += "定め。";
    label += calendar->name;
    label += "の定めは";
    label += RuleOf(calendar->definition).brief;
    label += "）";
    return label;
}

std::string DawnDefinitionLabelOver(DawnDefinition definition, int firstJdn, int endJdn) {
    std::string last = DawnDefinitionLabelOn(definition, firstJdn);
    std::string label = last;
    // Only a calendar's first day can change the label.
    for (const AlmanacCalendar& calendar : kAlmanacCalendars) {
        if (calendar.firstJdn <= firstJdn || calendar.firstJdn >= endJdn)
            continue;
        std::string next = DawnDefinitionLabelOn(definition, calendar.firstJdn);
        if (next == last)
            continue;
        label += "、" + FormatDate(CivilFromJdn(calendar.firstJdn)) + " から" + next;
        last = std::move(next);
    }
    return label;
}

DawnDuskRule DawnDuskRuleOf(DawnDefinition definition) {
    // The geometric horizon: the Sun's centre at altitude 0, no refraction.
    switch (definition) {
    case DawnDefinition::kMinutes36:
        return {0.0, 36};
    case DawnDefinition::kSunrise:
        return {0.0, 0};
    case DawnDefinition::kDepression:
    case DawnDefinition::kAuto:
        break;
    }
    return kDepressionRule;
}

std::string_view ClockStepsName(ClockSteps steps) {
    return TextOf(kStepsTexts, steps).name;
}

std::string_view ClockStepsLabel(ClockSteps steps) {
    return TextOf(kStepsTexts, steps).label;
}

std::optional<ClockSteps> ClockStepsFromName(std::string_view name) {
    return FromName(kStepsTexts, kClockSteps, name);
}

std::string_view SunModelName(SunModel sun) {
    return TextOf(kSunTexts, sun).name;
}

std::string_view SunModelLabel(SunModel sun) {
    return TextOf(kSunTexts, sun).label;
}

std::optional<SunModel> SunModelFromName(std::string_view name) {
    return FromName(kSunTexts, kSunModels, name);
}

} // namespace tolmeri
