#include "tools/hours_place_date.h"

#include <string>

#include "core/accepted_ranges.h"
#include "core/presets.h"
#include "tools/hours_text.h"

namespace tolmeri {

namespace {

// "緯度 "35:99"": what a message is about.
std::string Named(std::string_view what, std::string_view text) {
    return std::string(what) + " " + QuotedForMessage(text);
}

// Degrees and minutes as the window reads them: the sign is written on the
// degrees and the minutes take it.
Status ReadDegreesMinutes(std::string_view what, std::string_view text, const IntRange& range,
                          int& degrees, int& minutes) {
    const std::size_t colon = text.find(':');
    const std::string_view degText = text.substr(0, colon);
    minutes = 0;
    if (!ReadSignedInt(degText, 3, degrees) ||
        (colon != std::string_view::npos && !ReadUnsignedInt(text.substr(colon + 1), 2, minutes)))
        return Refuse(Named(what, text) + " は読めません（度[:分] の形、例 35:27）");
    if (!range.Contains(degrees))
        return Refuse(Named(what, text) + " は範囲外です（度は " + RangeText(range) + "）");
    if (!kArcMinuteRange.Contains(minutes))
        return Refuse(Named(what, text) + " は範囲外です（分は " + RangeText(kArcMinuteRange) +
                      "）");
    if (degText[0] == '-' && degrees == 0 && minutes != 0)
        return Refuse(Named(what, text) +
                      " は使えません（符号は度に付くので、度が 0 のときは負にできません）");
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
    if (Status s = ReadDegreesMinutes("緯度", *args.lat, kLatitudeRange, p.latDeg, p.latMin); !s)
        return s.Error();
    if (Status s = ReadDegreesMinutes("経度", *args.lon, kLongitudeRange, p.lonDeg, p.lonMin); !s)
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

} // namespace

const std::string_view* FindPresetLoosely(std::string_view name) {
    if (const std::string_view* exact = FindPreset(name))
        return exact;
    for (const std::string_view& entry : kPresetPlaces) {
        if (EqualsIgnoringAsciiCase(entry.substr(0, entry.find('\t')), name))
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
    CivilDate d;
    if (!ReadDateText(text, d))
        return Refuse(Named(what, text) + " は読めません（YYYY-MM-DD の形）");
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
