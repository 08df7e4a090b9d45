#include "tools/hours_place_date.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <utility>

#include "core/accepted_ranges.h"
#include "core/calendar.h"
#include "core/hour_names.h"
#include "core/presets.h"
#include "core/typed_date.h"
#include "core/typed_text.h"
#include "core/utf8.h"
#include "report/hours_text.h"

namespace tolmeri {

namespace {

// "緯度 "35:99"": what a message is about.
std::string Named(std::string_view what, std::string_view text) {
    return std::string(what) + " " + QuotedForMessage(text);
}

// A coordinate: its name in messages, its range of whole degrees, and the
// letters of its positive and negative hemispheres.
// A coordinate: also the words that may stand before it for either
// hemisphere (北緯, 南緯), and those of the other axis, which it refuses by
// name.
// The minutes the whole degrees leave (core/accepted_ranges.h): a longitude
// ends at 180°00′.
struct Axis {
    std::string_view what;
    const IntRange& range;
    IntRange (*minutes)(int degrees);
    char positive, negative;
    std::string_view positiveWord, negativeWord;
    std::string_view otherWords[2];
    std::string_view examples;
};

constexpr Axis kLatitude{
    "緯度", kLatitudeRange,   [](int) { return kArcMinuteRange; },         'N', 'S', "北緯",
    "南緯", {"東経", "西経"}, "35:27、35.45、33:52S、35°27′、北緯35度27分"};
constexpr Axis kLongitude{"経度",
                          kLongitudeRange,
                          LongitudeMinuteRange,
                          'E',
                          'W',
                          "東経",
                          "西経",
                          {"北緯", "南緯"},
                          "139:39、139.65、73:52W、139°39′、東経139度39分"};

// The text of body before the first of marks, taken off body with the mark;
// false when body has none of them.
bool TakeUntil(std::string_view& body, std::initializer_list<std::string_view> marks,
               std::string_view& part) {
    for (std::string_view mark : marks)
        if (const std::size_t at = body.find(mark); at != std::string_view::npos) {
            part = body.substr(0, at);
            body.remove_prefix(at + mark.size());
            return true;
        }
    return false;
}

// An angle written with its marks, "35°22′", "35°22'30\"", "35度22分30秒",
// "35°": its degrees, minutes and seconds. False when body has no degree
// mark (it is another form); unreadable when it has one but not this shape.
bool ReadMarkedAngle(std::string_view body, int& degrees, int& minutes, int& seconds,
                     bool& unreadable) {
    std::string_view part;
    if (!TakeUntil(body, {"°", "度"}, part))
        return false;
    minutes = seconds = 0;
    bool read = ReadUnsignedInt(part, 3, degrees);
    if (read && TakeUntil(body, {"′", "'", "分"}, part))
        read = ReadUnsignedInt(part, 2, minutes);
    if (read && TakeUntil(body, {"″", "\"", "秒"}, part))
        read = ReadUnsignedInt(part, 2, seconds);
    unreadable = !read || !body.empty();
    return true;
}

char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The digits after the decimal point of a minute (1 to 15) as the minute
// they round it up by: 1 for a half or more.
bool ReadFractionHalfUp(std::string_view digits, long long& up) {
    if (digits.empty() || digits.size() > 15 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    up = digits[0] >= '5' ? 1 : 0;
    return true;
}

// A coordinate in whole minutes of arc, from any of its written forms: the
// window's degrees and minutes with the sign on the degrees ("-33:52"),
// decimal degrees ("-33.8667", to the nearest minute), degrees and decimal
// minutes ("32:44.6", likewise), and any of them with a hemisphere letter
// in place of the sign ("33:52S", "33.8667s").
// "-0:30" is 0°30′ south or west.
Status ReadCoordinate(const Axis& axis, std::string_view text, int& degrees, int& minutes) {
    const std::string letters = std::string(1, axis.positive) + "/" + axis.negative;
    const std::string words = std::string(axis.positiveWord) + "/" + std::string(axis.negativeWord);
    auto unreadable = [&](std::string_view why) {
        return Refuse(Named(axis.what, text) + " は読めません（" + std::string(why) + "）");
    };
    const std::string usual = "度[:分[.小数]]、小数の度か 度°分′、向きは符号か末尾の " + letters +
                              "（前に " + words + "）。例 " + std::string(axis.examples);
    const std::string plain = PlainTypedText(text);
    std::string_view body = plain;
    int sign = 1;
    bool signed_ = false;
    for (std::string_view other : axis.otherWords)
        if (body.starts_with(other))
            return unreadable(std::string(axis.what) + "に " + std::string(other) +
                              " は使えません。向きは " + words);
    if (body.starts_with(axis.positiveWord) || body.starts_with(axis.negativeWord)) {
        sign = body.starts_with(axis.negativeWord) ? -1 : 1;
        body.remove_prefix(axis.positiveWord.size());
        signed_ = true;
    }
    if (!body.empty() && ((body.back() >= 'A' && body.back() <= 'Z') ||
                          (body.back() >= 'a' && body.back() <= 'z'))) {
        const char letter = UpperAscii(body.back());
        if (letter != axis.positive && letter != axis.negative)
            return unreadable(std::string(axis.what) + "の向きは " + letters);
        if (signed_)
            return unreadable(words + " と " + letters + " はどちらか一方");
        sign = letter == axis.negative ? -1 : 1;
        body.remove_suffix(1);
        if (body.starts_with('-') || body.starts_with('+'))
            return unreadable("符号と " + letters + " はどちらか一方");
    } else if (body.starts_with('-') || body.starts_with('+')) {
        if (signed_)
            return unreadable("符号と " + words + " はどちらか一方");
        sign = body[0] == '-' ? -1 : 1;
        body.remove_prefix(1);
    }

    int whole = 0, wholeMinutes = 0, seconds = 0;
    long long fractionMinutes = 0;
    bool marksUnreadable = false;
    const bool marked = ReadMarkedAngle(body, whole, wholeMinutes, seconds, marksUnreadable);
    const std::size_t colon = body.find(':'), point = body.find('.');
    if (marked) {
        if (marksUnreadable)
            return unreadable(usual);
        if (seconds > 59)
            return Refuse(Named(axis.what, text) + " は範囲外です（秒は 0～59）");
        // To the nearest minute, 30″ up.
        fractionMinutes = seconds >= 30 ? 1 : 0;
    } else if (colon != std::string_view::npos && point != std::string_view::npos) {
        // Degrees and decimal minutes, as GPS receivers write them: "32:44.6"
        // is 32°44.6′, to the nearest minute (a half up).
        if (point < colon || !ReadUnsignedInt(body.substr(0, colon), 3, whole) ||
            !ReadUnsignedInt(body.substr(colon + 1, point - colon - 1), 2, wholeMinutes) ||
            !ReadFractionHalfUp(body.substr(point + 1), fractionMinutes))
            return unreadable(usual);
    } else {
        const std::size_t wholeEnd = std::min(colon, point);
        if (!ReadUnsignedInt(body.substr(0, wholeEnd), 3, whole) ||
            (colon != std::string_view::npos &&
             !ReadUnsignedInt(body.substr(colon + 1), 2, wholeMinutes)) ||
            (point != std::string_view::npos &&
             !ReadDegreeFraction(body.substr(point + 1), fractionMinutes)))
            return unreadable(usual);
    }
    if (!kArcMinuteRange.Contains(wholeMinutes))
        return Refuse(Named(axis.what, text) + " は範囲外です（分は " + RangeText(kArcMinuteRange) +
                      "）");
    const long long arc = sign * (whole * 60LL + wholeMinutes + fractionMinutes);
    SplitArcMinutes(static_cast<int>(arc), degrees, minutes);
    const bool rounded = marked ? seconds > 0 : point != std::string_view::npos;
    const std::string roundedText =
        rounded ? "分に丸めると " + FormatDegreesMinutes(degrees, minutes) + "、" : "";
    if (!axis.range.Contains(degrees))
        return Refuse(Named(axis.what, text) + " は範囲外です（" + roundedText + "度は " +
                      RangeText(axis.range) + "）");
    if (!axis.minutes(degrees).Contains(std::abs(minutes)))
        return Refuse(Named(axis.what, text) + " は範囲外です（" + roundedText +
                      std::string(axis.what) + "は " + FormatDegreesMinutes(axis.range.first, 0) +
                      "～" + FormatDegreesMinutes(axis.range.last, 0) + "）");
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

Result<Place> PlaceAt(const PlaceArguments& args, std::string* note) {
    if (!args.lat || !args.lon)
        return Refuse("--lat と --lon はそろえて指定してください（--tz は省くと経度に最も近い"
                      "時差）");
    Place p;
    if (Status s = ReadCoordinate(kLatitude, *args.lat, p.latDeg, p.latMin); !s)
        return s.Error();
    if (Status s = ReadCoordinate(kLongitude, *args.lon, p.lonDeg, p.lonMin); !s)
        return s.Error();
    if (!args.tz) {
        // A place of its own without a zone keeps the hour its longitude
        // is nearest; the user is told, as the zone in force may differ.
        p.timeDiff = NearestWholeHour(p.lonDeg, p.lonMin);
        if (note)
            *note = "時差は経度 " + FormatDegreesMinutes(p.lonDeg, p.lonMin) + " に最も近い " +
                    (p.timeDiff < 0 ? "-" : "+") + std::to_string(std::abs(p.timeDiff)) +
                    " 時間としました（その土地の標準時が違えば --tz で指定）";
    } else if (Status s = ReadTimeDifference(PlainTypedText(*args.tz), p.lonDeg, p.timeDiff); !s) {
        return s.Error();
    }
    p.name =
        FormatDegreesMinutes(p.latDeg, p.latMin) + " " + FormatDegreesMinutes(p.lonDeg, p.lonMin);
    return p;
}

// "U+202E".
std::string CodePointText(char32_t code) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(code));
    return text;
}

// --name, in place of the place's own: without the blanks around it.
Status Rename(std::string_view name, Place& place) {
    const std::string_view trimmed = TrimTypedBlanks(name);
    // A name goes into tables, titles, CSV and JSON as it stands.
    const NameCheck check = CheckTypedName(trimmed);
    switch (check.fault) {
    case NameFault::kNone:
        place.name = trimmed;
        return {};
    case NameFault::kNotUtf8:
        return Refuse(Named("名前", name) + " は使えません（UTF-8 の文字列ではありません）");
    case NameFault::kControl:
        return Refuse(Named("名前", name) + " は使えません（" + CodePointText(check.code) +
                      " のような制御文字や書式文字は名前に使えません）");
    case NameFault::kInvisible:
        break;
    }
    return Refuse(Named("名前", name) + " は使えません（目に見える文字がありません）");
}

// "、" between the texts.
std::string Listed(const std::vector<std::string>& texts) {
    std::string list;
    for (const std::string& text : texts) {
        if (!list.empty())
            list += "、";
        list += text;
    }
    return list;
}

// A place by a name no preset has: the historical places' and the user's.
Result<Place> HistoricalPlace(std::string_view typed, std::string_view asGiven,
                              const CPlaceBook& book, PlaceProvenance* provenance) {
    const std::vector<const PlaceRecord*> found = book.Find(typed);
    if (found.size() == 1) {
        if (provenance)
            *provenance = ProvenanceOf(*found.front());
        return found.front()->ToPlace();
    }
    if (!found.empty()) {
        std::vector<std::string> labels;
        const RouteStop* stop = nullptr;
        for (const PlaceRecord* p : found) {
            labels.push_back(PlaceLabel(*p));
            if (!stop && !p->stops.empty())
                stop = &p->stops.front();
        }
        const std::string how =
            stop ? "名前か、宿場は道と番号で指定してください（例 " + RouteStopText(*stop) + "）"
                 : "どれか一つの名前で指定してください";
        return Refuse(Named("場所", asGiven) + " は " + std::to_string(found.size()) +
                      " か所あります: " + Listed(labels) + "。" + how);
    }
    const std::vector<std::string> near = book.Suggest(typed);
    return Refuse(Named("場所", asGiven) + " は一覧にありません（" +
                  (near.empty() ? std::string() : "近い名前: " + Listed(near) + "。") +
                  "--list-places で一覧を表示）");
}

Result<Place> UnnamedPlace(const PlaceArguments& args, const PlaceBookSource& places,
                           PlaceProvenance* provenance, std::string* note) {
    if (args.Coordinates())
        return PlaceAt(args, note);
    if (!args.preset)
        return DefaultPlace();
    const std::string_view typed = TrimTypedBlanks(*args.preset);
    if (const std::string_view* entry = FindPresetLoosely(typed))
        return ParseLocationEntry(*entry);
    return HistoricalPlace(typed, *args.preset, places ? places() : CPlaceBook::Historical(),
                           provenance);
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

Result<Place> ResolvePlace(const PlaceArguments& args, const PlaceBookSource& places,
                           PlaceProvenance* provenance, std::string* note) {
    if (args.preset && args.Coordinates())
        return Refuse("--place と --lat/--lon/--tz は一緒に使えません");
    Result<Place> place = UnnamedPlace(args, places, provenance, note);
    if (place && args.name)
        if (Status s = Rename(*args.name, *place); !s)
            return s.Error();
    return place;
}

Result<TypedDate> ReadDate(std::string_view what, std::string_view text) {
    Result<TypedDate> date = ReadTypedDate(text);
    if (!date)
        return Refuse(Named(what, text) + EscapedForMessage(date.Message()));
    return date;
}

namespace {

// "15:00", "9:05": hours 0 to 23, a colon, two digits of minutes.
bool ReadClock(std::string_view clock, int& hour, int& minute) {
    const std::size_t colon = clock.find(':');
    return colon != std::string_view::npos && clock.size() - colon == 3 &&
           ReadUnsignedInt(clock.substr(0, colon), 2, hour) &&
           ReadUnsignedInt(clock.substr(colon + 1), 2, minute);
}

// "9時", "15時30分", "3時半": the hour and the minutes of a clock written with
// its units.
bool ReadClockWithUnits(std::string_view clock, int& hour, int& minute) {
    const std::size_t ji = clock.find("時");
    if (ji == std::string_view::npos || !ReadUnsignedInt(clock.substr(0, ji), 2, hour))
        return false;
    std::string_view rest = clock.substr(ji + std::string_view("時").size());
    minute = 0;
    if (rest.empty())
        return true;
    if (rest == "半") {
        minute = 30;
        return true;
    }
    return rest.ends_with("分") &&
           ReadUnsignedInt(rest.substr(0, rest.size() - std::string_view("分").size()), 2, minute);
}

// What stands for the time of --at, as plain text (core/typed_text.h): a
// clock ("15:00", "15時30分", "午前9時", "午後3時半", "午後3:30") or an hour
// name (core/hour_names.h: 丑三つ, 正午). Nullopt for neither; a clock out of
// its range says so in range.
struct AtClock {
    int minute = 0;
    std::vector<HourReading> readings; // an hour name's; empty for a clock
};
std::optional<AtClock> ReadAtClock(std::string_view clock, std::string& range) {
    int half = -1; // 0 午前, 1 午後
    for (const auto& [word, value] : {std::pair<std::string_view, int>{"午前", 0}, {"午後", 1}})
        if (clock.starts_with(word)) {
            half = value;
            clock.remove_prefix(word.size());
        }
    int hour = 0, minute = 0;
    if (ReadClock(clock, hour, minute) || ReadClockWithUnits(clock, hour, minute)) {
        if (half >= 0 && hour == 12)
            range = "午前12時・午後12時はどちらの意味にもとれます（正午は 12:00 か 午後0時、夜中の"
                    "0時は 0:00 か 午前0時）";
        else if (half >= 0 && (hour > 11 || minute > 59))
            range = "午前・午後の時は 0～11、分は 0～59";
        else if (hour > 23 || minute > 59)
            range = "時は 0～23、分は 0～59";
        return AtClock{(half > 0 ? hour + 12 : hour) * 60 + minute, {}};
    }
    // Digits alone ("9") are no hour name: 九つ is written so.
    if (half >= 0 || std::all_of(clock.begin(), clock.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::nullopt;
    HourExpressionParse name = ParseHourExpression(clock);
    if (name.readings.empty())
        return std::nullopt;
    return AtClock{0, std::move(name.readings)};
}

} // namespace

Result<MomentText> ReadMomentText(std::string_view text) {
    MomentText moment;
    const std::string_view body = TrimTypedBlanks(text);
    // The last of the separators in the text: its position and length.
    const auto last = [body](std::initializer_list<std::string_view> marks) {
        std::pair<std::size_t, std::size_t> found{std::string_view::npos, 0};
        for (std::string_view mark : marks)
            if (const std::size_t at = body.rfind(mark);
                at != std::string_view::npos &&
                (found.first == std::string_view::npos || at > found.first))
                found = {at, mark.size()};
        return found;
    };
    // The clock as typed (full-width digits and colons too), read from the
    // text after the date, if any.
    std::string clock = PlainTypedText(body);
    std::string range;
    std::optional<AtClock> read = ReadAtClock(clock, range);
    if (read) {
        // The whole text is the time.
    } else if (const auto [t, length] = last({"T", "Ｔ"}); t != std::string_view::npos) {
        moment.date = body.substr(0, t);
        clock = PlainTypedText(body.substr(t + length));
        read = ReadAtClock(clock, range);
    } else if (const auto [space, width] = last({" ", "\t", "\u3000"});
               space != std::string_view::npos) {
        // "2026-06-21 15:00", "安政7年3月3日 15：00", "元禄15年12月14日 寅の上刻":
        // a date, a space, a time.
        const std::string after = PlainTypedText(body.substr(space + width));
        std::string afterRange;
        if (std::optional<AtClock> time = ReadAtClock(after, afterRange)) {
            moment.date = body.substr(0, space);
            read = std::move(time);
            range = std::move(afterRange);
        }
    }
    if ((moment.date && PlainTypedText(*moment.date).empty()) || !read)
        return Refuse(Named("時刻", text) +
                      " は読めません（HH:MM、午前9時、午後3時半、刻の名（丑三つ、正午）か、日付と"
                      "時刻 YYYY-MM-DDTHH:MM、例 15:00、2026-06-21T15:00、"
                      "\"元禄15年12月14日 寅の上刻\"）");
    if (!range.empty())
        return Refuse(Named("時刻", text) + " は範囲外です（" + range + "）");
    moment.minute = read->minute;
    moment.readings = std::move(read->readings);
    return moment;
}

Result<DateRange> ResolveDates(const DateArguments& args, const CivilDate& today) {
    DateRange range;
    range.first = today;
    if (args.date) {
        const Result<TypedDate> date = ReadDate("日付", *args.date);
        if (!date)
            return date.Error();
        range.first = date->date;
        range.writing = date->writing;
        if (!date->note.empty())
            range.notes.push_back({date->date, date->note});
    } else if (!kYearRange.Contains(today.year)) {
        return Refuse("今日の日付 " + FormatDate(today) + " は範囲外です（年は " +
                      RangeText(kYearRange) + "）");
    }
    if (args.days && args.to)
        return Refuse("--days と --to は一緒に使えません");
    const std::int64_t most = AcceptedDaysFrom(range.first);
    if (args.days) {
        int n = 0;
        if (!ReadCount(*args.days, n))
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
        const Result<TypedDate> to = ReadDate("終わりの日付", *args.to);
        if (!to)
            return to.Error();
        const CivilDate& last = to->date;
        if (last < range.first)
            return Refuse(Named("終わりの日付", *args.to) + " が始めの日付 " +
                          FormatDate(range.first) + " より前です");
        range.dayCount = static_cast<int>(DaysFromCivil(last) - DaysFromCivil(range.first) + 1);
        if (!to->note.empty() && range.NoteOn(last).empty())
            range.notes.push_back({last, to->note});
        range.ranged = true;
    }
    return range;
}

} // namespace tolmeri
