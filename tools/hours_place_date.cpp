#include "tools/hours_place_date.h"

#include <algorithm>
#include <string>

#include "core/accepted_ranges.h"
#include "core/calendar.h"
#include "core/presets.h"
#include "tools/hours_text.h"

namespace tolmeri {

namespace {

// "緯度 "35:99"": what a message is about.
std::string Named(std::string_view what, std::string_view text) {
    return std::string(what) + " " + QuotedForMessage(text);
}

// A coordinate: its name in messages, its range of whole degrees, and the
// letters of its positive and negative hemispheres.
struct Axis {
    std::string_view what;
    const IntRange& range;
    char positive, negative;
    std::string_view examples;
};

constexpr Axis kLatitude{"緯度", kLatitudeRange, 'N', 'S', "35:27、35.45、33:52S"};
constexpr Axis kLongitude{"経度", kLongitudeRange, 'E', 'W', "139:39、139.65、73:52W"};

char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The digits after a decimal point (1 to 15) as the whole minutes of arc
// that fraction of a degree makes, rounded half away from zero: exact
// integer arithmetic, so "35.675" is 35°41′ and "35.674999" 35°40′.
bool ReadFractionMinutes(std::string_view digits, long long& minutes) {
    if (digits.empty() || digits.size() > 15)
        return false;
    long long value = 0, scale = 1;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
        scale *= 10;
    }
    minutes = (value * 120 + scale) / (2 * scale);
    return true;
}

// A coordinate in whole minutes of arc, from any of its written forms: the
// window's degrees and minutes with the sign on the degrees ("-33:52"),
// decimal degrees ("-33.8667", to the nearest minute), and either of them
// with a hemisphere letter in place of the sign ("33:52S", "33.8667s").
// "-0:30" is 0°30′ south or west.
Status ReadCoordinate(const Axis& axis, std::string_view text, int& degrees, int& minutes) {
    const std::string letters = std::string(1, axis.positive) + "/" + axis.negative;
    auto unreadable = [&](std::string_view why) {
        return Refuse(Named(axis.what, text) + " は読めません（" + std::string(why) + "）");
    };
    const std::string usual =
        "度[:分] か小数の度、向きは符号か末尾の " + letters + "。例 " + std::string(axis.examples);
    std::string_view body = text;
    int sign = 1;
    if (!body.empty() && ((body.back() >= 'A' && body.back() <= 'Z') ||
                          (body.back() >= 'a' && body.back() <= 'z'))) {
        const char letter = UpperAscii(body.back());
        if (letter != axis.positive && letter != axis.negative)
            return unreadable(std::string(axis.what) + "の向きは " + letters);
        sign = letter == axis.negative ? -1 : 1;
        body.remove_suffix(1);
        if (body.starts_with('-') || body.starts_with('+'))
            return unreadable("符号と " + letters + " はどちらか一方");
    } else if (body.starts_with('-') || body.starts_with('+')) {
        sign = body[0] == '-' ? -1 : 1;
        body.remove_prefix(1);
    }

    const std::size_t colon = body.find(':'), point = body.find('.');
    const std::size_t wholeEnd = std::min(colon, point);
    int whole = 0, wholeMinutes = 0;
    long long fractionMinutes = 0;
    if (!ReadUnsignedInt(body.substr(0, wholeEnd), 3, whole) ||
        (colon != std::string_view::npos && point != std::string_view::npos) ||
        (colon != std::string_view::npos &&
         !ReadUnsignedInt(body.substr(colon + 1), 2, wholeMinutes)) ||
        (point != std::string_view::npos &&
         !ReadFractionMinutes(body.substr(point + 1), fractionMinutes)))
        return unreadable(usual);
    if (!kArcMinuteRange.Contains(wholeMinutes))
        return Refuse(Named(axis.what, text) + " は範囲外です（分は " + RangeText(kArcMinuteRange) +
                      "）");
    const long long arc = sign * (whole * 60LL + wholeMinutes + fractionMinutes);
    SplitArcMinutes(static_cast<int>(arc), degrees, minutes);
    if (!axis.range.Contains(degrees)) {
        const std::string rounded =
            point == std::string_view::npos
                ? ""
                : "分に丸めると " + FormatDegreesMinutes(degrees, minutes) + "、";
        return Refuse(Named(axis.what, text) + " は範囲外です（" + rounded + "度は " +
                      RangeText(axis.range) + "）");
    }
    return {};
}

Status ReadTimeDifference(std::string_view text, int lonDeg, int& timeDiff) {
    if (!ReadSignedInt(text, 2, timeDiff))
        return Refuse(Named("時差", text) + " は読めません（整数の時間、例 9）");
    if (!kTimeDifferenceRange.Contains(timeDiff))
        return Refuse(Named("時差", text) + " は範囲外です（" + RangeText(kTimeDifferenceRange) +
                      "）");
    if (!TimeDifferenceFits(timeDiff, lonDeg)) {
        const std::string lon = std::to_string(lonDeg);
        return Refuse(Named("時差", text) + " は経度 " + lon + " 度に合いません（" + lon +
                      " ÷ 15 = " + std::to_string(SuggestedTimeDifference(lonDeg)) + " から " +
                      std::to_string(kTimeDifferenceTolerance) + " 時間以内）");
    }
    return {};
}

Result<Place> PlaceAt(const PlaceArguments& args) {
    if (!args.lat || !args.lon || !args.tz)
        return Refuse("--lat, --lon, --tz は三つそろえて指定してください");
    Place p;
    if (Status s = ReadCoordinate(kLatitude, *args.lat, p.latDeg, p.latMin); !s)
        return s.Error();
    if (Status s = ReadCoordinate(kLongitude, *args.lon, p.lonDeg, p.lonMin); !s)
        return s.Error();
    if (Status s = ReadTimeDifference(*args.tz, p.lonDeg, p.timeDiff); !s)
        return s.Error();
    if (!args.name) {
        p.name = FormatDegreesMinutes(p.latDeg, p.latMin) + " " +
                 FormatDegreesMinutes(p.lonDeg, p.lonMin);
    } else if (args.name->empty() || !IsPrintableUtf8(*args.name)) {
        // A name goes into tables, CSV and JSON as it stands.
        return Refuse(Named("名前", *args.name) +
                      " は使えません（制御文字を含まない UTF-8 の文字列）");
    } else {
        p.name = *args.name;
    }
    return p;
}

// An era date as written ("慶長5年9月15日"): the core's reader and its
// message for each fault, then the accepted years.
Result<CivilDate> ReadEraDateText(std::string_view what, std::string_view text) {
    const EraDateParse parse = ParseEraDate(text);
    if (parse.error != EraDateError::kNone)
        return Refuse(Named(what, text) + ": " + EscapedForMessage(EraDateErrorMessage(parse)));
    const CivilDate d = CivilFromJdn(parse.jdn);
    if (!kYearRange.Contains(d.year))
        return Refuse(Named(what, text) + " は範囲外です（" + FormatDate(d) + "、年は " +
                      RangeText(kYearRange) + "）");
    return d;
}

} // namespace

const std::string_view* FindPresetLoosely(std::string_view name) {
    if (const std::string_view* exact = FindPreset(name))
        return exact;
    for (std::size_t i = 0; i < kPresetPlaceCount; ++i) {
        const std::string_view& entry = kPresetPlaces[i];
        if (EqualsIgnoringAsciiCase(entry.substr(0, entry.find('\t')), name) ||
            EqualsIgnoringAsciiCase(kPresetLatinNames[i], name))
            return &entry;
    }
    return nullptr;
}

Result<Place> ResolvePlace(const PlaceArguments& args) {
    if (args.preset && args.Coordinates())
        return Refuse("--place と --lat/--lon/--tz は一緒に使えません");
    if (args.name && !args.Coordinates())
        return Refuse("--name は --lat/--lon/--tz の場所にだけ付けられます");
    if (args.Coordinates())
        return PlaceAt(args);
    if (!args.preset)
        return DefaultPlace();
    const std::string_view* entry = FindPresetLoosely(*args.preset);
    if (!entry)
        return Refuse(Named("場所", *args.preset) +
                      " は一覧にありません（--list-places で一覧を表示）");
    return ParseLocationEntry(*entry);
}

Result<CivilDate> ReadDate(std::string_view what, std::string_view text) {
    if (LooksLikeEraDate(text))
        return ReadEraDateText(what, text);
    CivilDate d;
    if (!ReadDateText(text, d))
        return Refuse(Named(what, text) + " は読めません（YYYY-MM-DD の形）");
    // "26-06-21" could mean 2026 as well as the year 26: the year is
    // always written in full.
    if (text.find('-') != 4)
        return Refuse(Named(what, text) + " は読めません（年は 4 桁で書きます。" +
                      std::to_string(d.year) + " 年なら " + FormatDate(d) + "）");
    if (!kYearRange.Contains(d.year))
        return Refuse(Named(what, text) + " は範囲外です（年は " + RangeText(kYearRange) + "）");
    if (!kMonthRange.Contains(d.month))
        return Refuse(Named(what, text) + " は正しくありません（月は " + RangeText(kMonthRange) +
                      "）");
    if (!IsValidDate(d))
        return Refuse(Named(what, text) + " は正しくありません（" + std::to_string(d.year) + "年" +
                      std::to_string(d.month) + "月は " +
                      std::to_string(DaysInMonth(d.year, d.month)) + " 日まで）");
    return d;
}

Result<MomentText> ReadMomentText(std::string_view text) {
    MomentText moment;
    std::string_view clock = text;
    if (const std::size_t t = text.rfind('T'); t != std::string_view::npos) {
        moment.date = text.substr(0, t);
        clock = text.substr(t + 1);
    }
    const std::size_t colon = clock.find(':');
    int hour = 0, minute = 0;
    if (colon == std::string_view::npos || (moment.date && moment.date->empty()) ||
        !ReadUnsignedInt(clock.substr(0, colon), 2, hour) || clock.size() - colon != 3 ||
        !ReadUnsignedInt(clock.substr(colon + 1), 2, minute))
        return Refuse(Named("時刻", text) +
                      " は読めません（HH:MM か YYYY-MM-DDTHH:MM、例 15:00、2026-06-21T15:00）");
    if (hour > 23 || minute > 59)
        return Refuse(Named("時刻", text) + " は範囲外です（時は 0～23、分は 0～59）");
    moment.minute = hour * 60 + minute;
    return moment;
}

Result<DateRange> ResolveDates(const DateArguments& args, const CivilDate& today) {
    DateRange range{today};
    if (args.date) {
        const Result<CivilDate> date = ReadDate("日付", *args.date);
        if (!date)
            return date.Error();
        range.first = *date;
    } else if (!kYearRange.Contains(today.year)) {
        return Refuse("今日の日付 " + FormatDate(today) + " は範囲外です（年は " +
                      RangeText(kYearRange) + "）");
    }
    if (args.days && args.to)
        return Refuse("--days と --to は一緒に使えません");
    const std::int64_t most = AcceptedDaysFrom(range.first);
    if (args.days) {
        int n = 0;
        if (!ReadUnsignedInt(*args.days, 7, n))
            return Refuse(Named("日数", *args.days) + " は読めません（1 以上の整数）");
        if (n < 1)
            return Refuse(Named("日数", *args.days) + " は範囲外です（1 以上）");
        if (n > most)
            return Refuse(Named("日数", *args.days) + " では " + FormatDate(kLastAcceptedDate) +
                          " を越えます（" + FormatDate(range.first) + " からは最大 " +
                          std::to_string(most) + " 日）");
        range.dayCount = n;
        range.ranged = true;
    }
    if (args.to) {
        const Result<CivilDate> last = ReadDate("終わりの日付", *args.to);
        if (!last)
            return last.Error();
        if (*last < range.first)
            return Refuse(Named("終わりの日付", *args.to) + " が始めの日付 " +
                          FormatDate(range.first) + " より前です");
        range.dayCount = static_cast<int>(DaysFromCivil(*last) - DaysFromCivil(range.first) + 1);
        range.ranged = true;
    }
    return range;
}

} // namespace tolmeri
