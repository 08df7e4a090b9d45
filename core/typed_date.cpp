#include "core/typed_date.h"

#include <optional>

#include "core/accepted_ranges.h"
#include "core/calendar.h"
#include "core/typed_text.h"

namespace tolmeri {

namespace {

constexpr std::string_view kForms =
    "YYYY-MM-DD、YYYY/M/D、YYYY年M月D日 か和暦、例 2026-06-21、1860/3/24、慶長5年9月15日";

std::string Number(int n) {
    return std::to_string(n);
}

Failure Unreadable() {
    return Refuse(" は読めません（" + std::string(kForms) + "）");
}

// The checks of a Western date, in the order the options have always made
// them: the year, the month, then the day within that month.
Result<TypedDate> Gregorian(int year, int month, int day) {
    if (!kYearRange.Contains(year))
        return Refuse(" は範囲外です（年は " + Number(kYearRange.first) + "～" +
                      Number(kYearRange.last) + "）");
    if (!kMonthRange.Contains(month))
        return Refuse(" は正しくありません（月は " + Number(kMonthRange.first) + "～" +
                      Number(kMonthRange.last) + "）");
    const CivilDate date{year, month, day};
    if (!IsValidDate(date))
        return Refuse(" は正しくありません（" + Number(year) + "年" + Number(month) + "月は " +
                      Number(DaysInMonth(year, month)) + " 日まで）");
    return TypedDate{date, {}};
}

// Digits, a separator, digits, the same separator, digits: "2026-06-21",
// "1860/3/24". The year is written in full, since "26-06-21" could be 2026
// as well as the year 26.
Result<TypedDate> Numeric(std::string_view text, char separator) {
    const std::size_t first = text.find(separator);
    const std::size_t second =
        first == std::string_view::npos ? first : text.find(separator, first + 1);
    const auto digits = [](std::string_view s, std::size_t most, int& out) {
        if (s.empty() || s.size() > most)
            return false;
        out = 0;
        for (char c : s) {
            if (c < '0' || c > '9')
                return false;
            out = out * 10 + (c - '0');
        }
        return true;
    };
    int year = 0, month = 0, day = 0;
    if (second == std::string_view::npos || !digits(text.substr(0, first), 4, year) ||
        !digits(text.substr(first + 1, second - first - 1), 2, month) ||
        !digits(text.substr(second + 1), 2, day))
        return Unreadable();
    if (first != 4)
        return Refuse(" は読めません（年は 4 桁で書きます。" + Number(year) + " 年なら " +
                      FormatDate({year, month, day}) + "）");
    return Gregorian(year, month, day);
}

// "2026年6月21日", after "西暦" or without it.
Result<TypedDate> WesternWithUnits(std::string_view text) {
    const std::optional<EraDate> d = ReadYearMonthDayText(text);
    if (!d || text.starts_with("元年"))
        return Unreadable();
    if (d->leap)
        return Refuse(" は正しくありません（閏月は旧暦だけです。旧暦の日付は「旧暦1860年閏3月1日」"
                      "や和暦で書きます）");
    return Gregorian(d->year, d->month, d->day);
}

// "1860年閏3月1日" after "旧暦".
Result<TypedDate> Lunisolar(std::string_view text) {
    const std::optional<EraDate> d = ReadYearMonthDayText(text);
    if (!d || text.starts_with("元年"))
        return Unreadable();
    if (d->year < kLunisolarFirstYear || d->year > kLunisolarLastComputedYear)
        return Refuse(" は範囲外です（旧暦は " + Number(kLunisolarFirstYear) + "年から " +
                      Number(kLunisolarLastComputedYear) + "年まで）");
    const std::string month = (d->leap ? "閏" : "") + Number(d->month) + "月";
    if (d->leap && LunisolarLeapMonth(d->year) != d->month) {
        const int leap = LunisolarLeapMonth(d->year);
        return Refuse(" は正しくありません（旧暦" + Number(d->year) + "年に" + month +
                      "はありません。" +
                      (leap ? "この年の閏月は閏" + Number(leap) + "月）"
                            : std::string("この年に閏月はありません）")));
    }
    const int length = LunisolarMonthLength(d->year, d->month, d->leap);
    if (length == 0)
        return Refuse(" は正しくありません（月は 1～12）");
    const std::optional<int> jdn = JdnFromLunisolar({d->year, d->month, d->leap, d->day});
    if (!jdn && d->day >= 1 && d->day <= length)
        return Refuse(" は範囲外です（旧暦の日付は " + FormatDate(CivilFromJdn(kLunisolarLastJdn)) +
                      " まで）");
    if (!jdn)
        return Refuse(" は正しくありません（旧暦" + Number(d->year) + "年" + month + "は " +
                      Number(length) + " 日まで）");
    return TypedDate{CivilFromJdn(*jdn), {}};
}

Result<TypedDate> Era(std::string_view text) {
    EraDateParse parse = ParseEraDate(text);
    if (parse.error != EraDateError::kNone)
        return Refuse(": " + EraDateErrorMessage(parse));
    const CivilDate date = CivilFromJdn(parse.jdn);
    if (!kYearRange.Contains(date.year))
        return Refuse(" は範囲外です（" + FormatDate(date) + "、年は " + Number(kYearRange.first) +
                      "～" + Number(kYearRange.last) + "）");
    return TypedDate{date, std::move(parse.note)};
}

bool StartsWithDigit(std::string_view text) {
    return !text.empty() && text[0] >= '0' && text[0] <= '9';
}

} // namespace

Result<TypedDate> ReadTypedDate(std::string_view input) {
    const std::string plain = PlainTypedText(input);
    const std::string_view text = plain;
    if (text.starts_with("西暦"))
        return WesternWithUnits(text.substr(std::string_view("西暦").size()));
    if (text.starts_with("旧暦"))
        return Lunisolar(text.substr(std::string_view("旧暦").size()));
    if (StartsWithDigit(text)) {
        if (text.find("年") != std::string_view::npos)
            return WesternWithUnits(text);
        return Numeric(text, text.find('/') != std::string_view::npos ? '/' : '-');
    }
    // Kanji numerals without an era: "二〇二六年六月二十一日".
    if (ReadYearMonthDayText(text))
        return WesternWithUnits(text);
    if (!text.empty() && static_cast<unsigned char>(text[0]) >= 0x80)
        return Era(text);
    return Unreadable();
}

} // namespace tolmeri
