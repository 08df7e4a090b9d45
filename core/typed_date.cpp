#include "core/typed_date.h"

#include <optional>

#include "core/accepted_ranges.h"
#include "core/calendar.h"
#include "core/typed_text.h"
#include "core/utf8.h"

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

// Which calendar a Western date is of.
enum class Western { kGregorian, kJulian };

// "ユリウス暦1582年6月21日": a Julian date as the texts write it, never in the
// ISO form, which is Gregorian.
std::string JulianText(const CivilDate& date) {
    return "ユリウス暦" + Number(date.year) + "年" + Number(date.month) + "月" + Number(date.day) +
           "日";
}

// The checks of a Western date, in the order the options have always made
// them: the year, the month, then the day within that month (晦日: its
// last). A Julian date is also checked as the Gregorian date it is.
Result<TypedDate> WesternDay(int year, int month, int day, Western calendar) {
    if (!kYearRange.Contains(year))
        return Refuse(" は範囲外です（年は " + Number(kYearRange.first) + "～" +
                      Number(kYearRange.last) + "）");
    if (!kMonthRange.Contains(month))
        return Refuse(" は正しくありません（月は " + Number(kMonthRange.first) + "～" +
                      Number(kMonthRange.last) + "）");
    const bool julian = calendar == Western::kJulian;
    const int length = julian ? JulianDaysInMonth(year, month) : DaysInMonth(year, month);
    if (day == kLastDayOfMonth)
        day = length;
    if (day < 1 || day > length)
        return Refuse(" は正しくありません（" + std::string(julian ? "ユリウス暦" : "") +
                      Number(year) + "年" + Number(month) + "月は " + Number(length) + " 日まで）");
    if (!julian)
        return TypedDate{{year, month, day}, {}};
    const CivilDate date = CivilFromJdn(JdnFromJulianCalendar({year, month, day}));
    if (!kYearRange.Contains(date.year))
        return Refuse(" は範囲外です（グレゴリオ暦 " + FormatDate(date) + "、年は " +
                      Number(kYearRange.first) + "～" + Number(kYearRange.last) + "）");
    return TypedDate{date, JulianText({year, month, day}) + " は " + FormatDate(date)};
}

// A year written with fewer than four digits: "26/6/21" could be 2026 as
// well as the year 26, and "8年6月21日" is how 令和8年 is often written. The
// message offers the readings that are real days: the year as written and
// the present era's year.
Failure ShortYear(int year, int month, int day) {
    std::string readings;
    const auto offer = [&readings](const std::string& reading, const CivilDate& date) {
        readings += (readings.empty() ? "。" : "、") + reading + "なら " + FormatDate(date);
    };
    if (const CivilDate written{year, month, day}; IsAcceptedDate(written))
        offer(Number(year) + " 年", written);
    const int era = EraCount() - 1;
    if (const EraDateResult inEra = JdnFromEraDate({era, year, false, month, day});
        inEra.error == EraDateError::kNone && kYearRange.Contains(CivilFromJdn(inEra.jdn).year))
        offer(std::string(GetEra(era).name) + (year == 1 ? "元" : Number(year)) + "年 ",
              CivilFromJdn(inEra.jdn));
    return Refuse(" は読めません（年は 4 桁で書きます" + readings + "）");
}

// Digits, a separator, digits, the same separator, digits: "2026-06-21",
// "1860/3/24". The year is written in full.
Result<TypedDate> Numeric(std::string_view text, char separator, Western calendar) {
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
        return calendar == Western::kJulian ? Refuse(" は読めません（年は 4 桁で書きます）")
                                            : ShortYear(year, month, day);
    return WesternDay(year, month, day, calendar);
}

// Whether the year before "年" is written in four digits (arabic, or kanji
// digit by digit: 二〇二六). A year with 十, 廿 or 卅 has at most two.
bool FourDigitYear(std::string_view text) {
    const std::string_view year = text.substr(0, text.find("年"));
    std::size_t characters = 0;
    for (std::size_t pos = 0; pos < year.size(); ++characters) {
        const Utf8Char c = DecodeUtf8(year, pos);
        if (c.code == U'十' || c.code == U'廿' || c.code == U'卅')
            return false;
        pos += c.length;
    }
    return characters == 4;
}

// "2026年6月21日", after "西暦" or without it (or after "ユリウス暦").
Result<TypedDate> WesternWithUnits(std::string_view text, Western calendar = Western::kGregorian) {
    const std::optional<EraDate> d = ReadYearMonthDayText(text);
    if (!d || text.starts_with("元年"))
        return Unreadable();
    if (d->leap)
        return Refuse(" は正しくありません（閏月は旧暦だけです。旧暦の日付は「旧暦1860年閏3月1日」"
                      "や和暦で書きます）");
    if (!FourDigitYear(text))
        return calendar == Western::kJulian ? Refuse(" は読めません（年は 4 桁で書きます）")
                                            : ShortYear(d->year, d->month, d->day);
    return WesternDay(d->year, d->month, d->day, calendar);
}

// The numeric or the written form of a Western date.
Result<TypedDate> AnyWestern(std::string_view text, Western calendar) {
    if (text.find("年") != std::string_view::npos)
        return WesternWithUnits(text, calendar);
    return Numeric(text, text.find('/') != std::string_view::npos ? '/' : '-', calendar);
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
    const int day = d->day == kLastDayOfMonth ? length : d->day;
    const std::optional<int> jdn = JdnFromLunisolar({d->year, d->month, d->leap, day});
    if (!jdn && day >= 1 && day <= length)
        return Refuse(" は範囲外です（旧暦の日付は " + FormatDate(CivilFromJdn(kLunisolarLastJdn)) +
                      " まで）");
    if (!jdn)
        return Refuse(" は正しくありません（旧暦" + Number(d->year) + "年" + month + "は " +
                      Number(length) + " 日まで）");
    return TypedDate{CivilFromJdn(*jdn), {}, DateWriting::kLunisolar};
}

Result<TypedDate> Era(std::string_view text) {
    EraDateParse parse = ParseEraDate(text);
    if (parse.error != EraDateError::kNone)
        return Refuse(": " + EraDateErrorMessage(parse));
    const CivilDate date = CivilFromJdn(parse.jdn);
    if (!kYearRange.Contains(date.year))
        return Refuse(" は範囲外です（" + FormatDate(date) + "、年は " + Number(kYearRange.first) +
                      "～" + Number(kYearRange.last) + "）");
    return TypedDate{date, std::move(parse.note), DateWriting::kEra};
}

bool StartsWithDigit(std::string_view text) {
    return !text.empty() && text[0] >= '0' && text[0] <= '9';
}

} // namespace

Result<TypedDate> ReadTypedDate(std::string_view input) {
    // Pieces of broken characters are no date, whatever they would join to.
    if (!IsWellFormedUtf8(input))
        return Refuse(" は UTF-8 の文字列ではありません");
    const std::string plain = PlainTypedText(input);
    const std::string_view text = plain;
    if (text.starts_with("西暦"))
        return WesternWithUnits(text.substr(std::string_view("西暦").size()));
    if (text.starts_with("旧暦"))
        return Lunisolar(text.substr(std::string_view("旧暦").size()));
    if (text.starts_with("ユリウス暦"))
        return AnyWestern(text.substr(std::string_view("ユリウス暦").size()), Western::kJulian);
    if (StartsWithDigit(text))
        return AnyWestern(text, Western::kGregorian);
    // Kanji numerals without an era: "二〇二六年六月二十一日".
    if (ReadYearMonthDayText(text))
        return WesternWithUnits(text);
    if (!text.empty() && static_cast<unsigned char>(text[0]) >= 0x80)
        return Era(text);
    return Unreadable();
}

} // namespace tolmeri
