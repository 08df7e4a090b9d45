#include "core/main_boxes.h"

#include "core/accepted_ranges.h"
#include "core/box_rules.h"
#include "core/cp932.h"

namespace tolmeri {

namespace {

// The name's message counts full-width characters, two CP932 bytes each.
static_assert(kPlaceNameMaxBytes % 2 == 0);
constexpr int kPlaceNameMaxFullWidth = kPlaceNameMaxBytes / 2;

enum class Rule { kRange, kTimeDifference, kNameLength };

struct BoxCheck {
    MainBox box;
    Rule rule;
    const IntRange* range;    // for kRange
    std::string_view message; // {1} and {2}: the range's limits; {1}: the name's
    // For kRange: the part of the range the other boxes leave (the days of
    // the month, the minutes at ±180°), with the boxes it depends on; and
    // the message of a range narrowed to one value ({1} the value, {2} the
    // first box it depends on), else the usual one.
    IntRange (*narrowed)(const MainFields&) = nullptr;
    std::array<std::optional<MainBox>, 2> dependsOn = {};
    std::string_view singleMessage = {};
};

constexpr BoxCheck kBoxChecks[] = {
    {MainBox::kYear, Rule::kRange, &kYearRange, "「年」に指定できる値は{1}～{2}です。"},
    {MainBox::kMonth, Rule::kRange, &kMonthRange, "「月」に指定できる値は{1}～{2}です。"},
    {MainBox::kDay,
     Rule::kRange,
     &kDayRange,
     "「日」に指定できる値は {1}～{2} です。",
     [](const MainFields& f) { return DayRangeIn(f.year, f.month); },
     {MainBox::kYear, MainBox::kMonth}},
    {MainBox::kLatitudeDegrees, Rule::kRange, &kLatitudeRange,
     "「緯度」に指定できる値は {1}～{2} です。"},
    {MainBox::kLatitudeMinutes, Rule::kRange, &kArcMinuteRange,
     "緯度の「分」に指定できる値は {1}～{2} です。"},
    {MainBox::kLongitudeDegrees, Rule::kRange, &kLongitudeRange,
     "「経度」に指定できる値は {1}～{2} です。"},
    {MainBox::kLongitudeMinutes,
     Rule::kRange,
     &kArcMinuteRange,
     "経度の「分」に指定できる値は {1}～{2} です。",
     [](const MainFields& f) { return LongitudeMinuteRange(f.lonDeg); },
     {MainBox::kLongitudeDegrees},
     "経度が {2} 度のとき、「分」に指定できる値は {1} です。"},
    {MainBox::kTimeDifference, Rule::kTimeDifference, nullptr, "時差の指定が変です。"},
    {MainBox::kName, Rule::kNameLength, nullptr, "地名は全角{1}文字以内にしてください。"},
};

const BoxCheck& CheckOf(MainBox box) {
    for (const BoxCheck& check : kBoxChecks)
        if (check.box == box)
            return check;
    return kBoxChecks[0]; // every box has its check
}

// The values a kRange box takes, with what the other boxes hold.
IntRange RangeOf(const BoxCheck& check, const MainFields& fields) {
    return check.narrowed ? check.narrowed(fields) : *check.range;
}

void Replace(std::string& text, std::string_view mark, std::string_view value) {
    if (const std::size_t at = text.find(mark); at != std::string::npos)
        text.replace(at, mark.size(), value);
}

// A number in full-width digits: 6 as "６".
std::string FullWidthNumber(int value) {
    std::string text;
    for (const char c : std::to_string(value)) {
        if (c >= '0' && c <= '9') {
            text += "\xEF\xBC"; // U+FF10 to U+FF19
            text += static_cast<char>(0x90 + (c - '0'));
        } else {
            text += c;
        }
    }
    return text;
}

} // namespace

Place MainFields::ToPlace() const {
    return {name, latDeg, latMin, lonDeg, lonMin, timeDiff};
}

CivilDate MainFields::ToDate() const {
    return {year, month, day};
}

MainFields MainFields::Of(const Place& place, const CivilDate& date) {
    return {place.latDeg, place.latMin, place.lonDeg, place.lonMin, place.timeDiff,
            date.year,    date.month,   date.day,     place.name};
}

int& BoxField(MainFields& fields, MainBox box) {
    switch (box) {
    case MainBox::kLatitudeDegrees:
        return fields.latDeg;
    case MainBox::kLatitudeMinutes:
        return fields.latMin;
    case MainBox::kLongitudeDegrees:
        return fields.lonDeg;
    case MainBox::kLongitudeMinutes:
        return fields.lonMin;
    case MainBox::kTimeDifference:
        return fields.timeDiff;
    case MainBox::kYear:
        return fields.year;
    case MainBox::kMonth:
        return fields.month;
    case MainBox::kDay:
    case MainBox::kName: // not a number box
        break;
    }
    return fields.day;
}

int BoxField(const MainFields& fields, MainBox box) {
    return BoxField(const_cast<MainFields&>(fields), box);
}

bool BoxAccepts(MainBox box, const MainFields& fields) {
    const BoxCheck& check = CheckOf(box);
    switch (check.rule) {
    case Rule::kRange:
        return RangeOf(check, fields).Contains(BoxField(fields, box));
    case Rule::kTimeDifference:
        return TimeDifferenceFits(fields.timeDiff, fields.lonDeg);
    case Rule::kNameLength:
        return !TextExceeds(fields.name, kPlaceNameMaxBytes);
    }
    return true;
}

std::string BoxCheckMessage(MainBox box, const MainFields& fields) {
    const BoxCheck& check = CheckOf(box);
    std::string text(check.message);
    switch (check.rule) {
    case Rule::kRange: {
        const IntRange range = RangeOf(check, fields);
        if (range.first == range.last && !check.singleMessage.empty()) {
            text = check.singleMessage;
            Replace(text, "{1}", std::to_string(range.first));
            Replace(text, "{2}", std::to_string(BoxField(fields, *check.dependsOn[0])));
            break;
        }
        Replace(text, "{1}", std::to_string(range.first));
        Replace(text, "{2}", std::to_string(range.last));
        break;
    }
    case Rule::kNameLength:
        Replace(text, "{1}", FullWidthNumber(kPlaceNameMaxFullWidth));
        break;
    case Rule::kTimeDifference:
        break;
    }
    return text;
}

std::string_view BoxCheckRemedy(MainBox box) {
    return box == MainBox::kTimeDifference ? "修正します。" : "元に戻します。";
}

void RemedyBox(MainBox box, const MainFields& before, MainFields& fields) {
    if (box == MainBox::kTimeDifference)
        fields.timeDiff = SuggestedTimeDifference(fields.lonDeg);
    else if (box == MainBox::kName)
        fields.name = before.name;
    else
        BoxField(fields, box) = BoxField(before, box);
    // A day kept from 1月31日 does not fit 2月: the date goes back whole (and
    // the longitude minutes with their degrees).
    if (!BoxAccepts(box, fields))
        for (const std::optional<MainBox> other : CheckOf(box).dependsOn)
            if (other)
                BoxField(fields, *other) = BoxField(before, *other);
}

std::vector<CheckStep> RunBoxChecks(const MainFields& before, MainFields fields) {
    std::vector<CheckStep> steps;
    for (const MainBox box : kCheckOrder) {
        if (BoxAccepts(box, fields))
            continue;
        std::string message = BoxCheckMessage(box, fields) + std::string(BoxCheckRemedy(box));
        RemedyBox(box, before, fields);
        steps.push_back({box, std::move(message), fields});
    }
    return steps;
}

MainBoxTexts BoxTextsOf(const MainFields& fields) {
    MainBoxTexts texts;
    for (const MainBox box : kExchangeOrder)
        texts[static_cast<std::size_t>(box)] =
            box == MainBox::kName ? fields.name : FormatDialogInteger(BoxField(fields, box));
    return texts;
}

BoxExchange ExchangeBoxTexts(const MainBoxTexts& texts, MainFields fields) {
    BoxExchange exchange{std::move(fields), std::nullopt, {}};
    for (const MainBox box : kExchangeOrder) {
        const std::string& text = texts[static_cast<std::size_t>(box)];
        if (box == MainBox::kName) {
            exchange.fields.name = text;
            if (TextExceeds(text, kPlaceNameMaxBytes)) {
                exchange.refused = box;
                exchange.message = TooLongTextMessage(kPlaceNameMaxBytes);
            }
            break;
        }
        const std::optional<int> value = ParseDialogInteger(ToCp932(text));
        if (!value) {
            exchange.refused = box;
            exchange.message = std::string(kNotAnIntegerMessage);
            break;
        }
        BoxField(exchange.fields, box) = *value;
    }
    return exchange;
}

int BoxTypingLimit(MainBox box) {
    return box == MainBox::kName ? kPlaceNameMaxBytes : 0;
}

} // namespace tolmeri
