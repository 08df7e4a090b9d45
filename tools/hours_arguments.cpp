#include "tools/hours_arguments.h"

#include <array>
#include <optional>

#include "core/utf8.h"
#include "report/hours_text.h"

namespace tolmeri {

namespace {

// Every option as the command line wrote it, before any check.
struct RawArguments {
    PlaceArguments place;
    DateArguments dates;
    OptionText format, png, yearChart, size, dawn, steps, at, dayStart, sun, time, kind, route;
    bool now = false, listPlaces = false, version = false, bom = false, moon = false,
         rokuyo = false;
};

struct ValueOption {
    std::string_view name;
    OptionText& (*slot)(RawArguments&);
    bool fileName = false; // bytes as they are; every other value is text
};

constexpr ValueOption kValueOptions[] = {
    {"--place", [](RawArguments& r) -> OptionText& { return r.place.preset; }},
    {"--lat", [](RawArguments& r) -> OptionText& { return r.place.lat; }},
    {"--lon", [](RawArguments& r) -> OptionText& { return r.place.lon; }},
    {"--tz", [](RawArguments& r) -> OptionText& { return r.place.tz; }},
    {"--name", [](RawArguments& r) -> OptionText& { return r.place.name; }},
    {"--date", [](RawArguments& r) -> OptionText& { return r.dates.date; }},
    {"--days", [](RawArguments& r) -> OptionText& { return r.dates.days; }},
    {"--to", [](RawArguments& r) -> OptionText& { return r.dates.to; }},
    {"--format", [](RawArguments& r) -> OptionText& { return r.format; }},
    {"--dawn", [](RawArguments& r) -> OptionText& { return r.dawn; }},
    {"--steps", [](RawArguments& r) -> OptionText& { return r.steps; }},
    {"--sun", [](RawArguments& r) -> OptionText& { return r.sun; }},
    {"--at", [](RawArguments& r) -> OptionText& { return r.at; }},
    {"--day-start", [](RawArguments& r) -> OptionText& { return r.dayStart; }},
    {"--time", [](RawArguments& r) -> OptionText& { return r.time; }},
    {"--png", [](RawArguments& r) -> OptionText& { return r.png; }, true},
    {"--year-chart", [](RawArguments& r) -> OptionText& { return r.yearChart; }, true},
    {"--size", [](RawArguments& r) -> OptionText& { return r.size; }},
    {"--kind", [](RawArguments& r) -> OptionText& { return r.kind; }},
    {"--route", [](RawArguments& r) -> OptionText& { return r.route; }},
};

const ValueOption* FindValueOption(std::string_view name) {
    for (const ValueOption& o : kValueOptions)
        if (o.name == name)
            return &o;
    return nullptr;
}

// The options in order; --version ends the reading where it stands, so a
// mistake before it is still named.
Result<RawArguments> CollectArguments(std::span<const std::string_view> args) {
    RawArguments raw;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view a = args[i];
        if (a == "--version") {
            raw.version = true;
            return raw;
        }
        if (bool* flag = a == "--now"           ? &raw.now
                         : a == "--list-places" ? &raw.listPlaces
                         : a == "--bom"         ? &raw.bom
                         : a == "--moon"        ? &raw.moon
                         : a == "--rokuyo"      ? &raw.rokuyo
                                                : nullptr) {
            *flag = true;
            continue;
        }
        OptionText inlineValue;
        if (const std::size_t eq = a.find('=');
            a.starts_with("--") && eq != std::string_view::npos) {
            inlineValue = a.substr(eq + 1);
            a = a.substr(0, eq);
        }
        const ValueOption* option = FindValueOption(a);
        if (!option && a.starts_with("-") && a.size() > 1)
            return Refuse("オプション " + QuotedForMessage(args[i]) +
                          " はありません（--help で説明を表示）");
        if (!option)
            return Refuse("余分な引数 " + QuotedForMessage(a) +
                          " があります（場所は --place、日付は --date で指定）");
        if (!inlineValue && i + 1 == args.size())
            return Refuse(std::string(option->name) + " には値が必要です");
        const std::string_view value = inlineValue ? *inlineValue : args[++i];
        // Bytes that are not UTF-8 are no text: refused before any reader
        // could make something of their pieces.
        if (!option->fileName && !IsWellFormedUtf8(value))
            return Refuse(std::string(option->name) + " の値 " + QuotedForMessage(value) +
                          " は UTF-8 の文字列ではありません");
        option->slot(raw) = value;
    }
    return raw;
}

Result<HoursFormat> ReadFormat(const OptionText& format) {
    if (!format || *format == "table")
        return HoursFormat::kTable;
    if (*format == "csv")
        return HoursFormat::kCsv;
    if (*format == "json")
        return HoursFormat::kJson;
    if (*format == "ics")
        return HoursFormat::kIcs;
    return Refuse("形式 " + QuotedForMessage(*format) + " は使えません（table, csv, json, ics）");
}

// The format, and the byte-order mark that only CSV takes: a table or JSON
// with one would only trip up what reads them.
Status ReadFormatAndMark(const RawArguments& raw, HoursRequest& req) {
    const Result<HoursFormat> format = ReadFormat(raw.format);
    if (!format)
        return format.Error();
    req.format = *format;
    if (raw.bom && (req.format != HoursFormat::kCsv || raw.png || raw.yearChart))
        return Refuse("--bom は --format csv の出力にだけ付けられます");
    req.byteOrderMark = raw.bom;
    if (raw.rokuyo && req.format != HoursFormat::kIcs)
        return Refuse("--rokuyo は --format ics の出力にだけ付けられます（表、CSV、JSON には六曜の"
                      "列 rokuyo があります）");
    req.icsRokuyo = raw.rokuyo;
    return {};
}

// --dawn, --steps, --day-start and --sun: read by the core's names; a
// refusal lists them.
template <typename Value, std::size_t N>
Status ReadChoice(std::string_view option, const OptionText& text,
                  std::optional<Value> (*fromName)(std::string_view),
                  const std::array<Value, N>& values, std::string_view (*name)(Value), Value& out) {
    if (!text)
        return {};
    if (const std::optional<Value> value = fromName(*text)) {
        out = *value;
        return {};
    }
    std::string names;
    for (Value v : values) {
        names += names.empty() ? "" : ", ";
        names += name(v);
    }
    return Refuse(std::string(option) + " の値 " + QuotedForMessage(*text) + " は使えません（" +
                  names + "）");
}

// "800x700": width and height of the picture.
Status ReadPictureSize(std::string_view s, HoursRequest& req) {
    const std::size_t x = s.find_first_of("xX");
    int w = 0, h = 0;
    if (x == std::string_view::npos || !ReadCount(s.substr(0, x), w) ||
        !ReadCount(s.substr(x + 1), h))
        return Refuse("大きさ " + QuotedForMessage(s) + " は読めません（幅x高さ、例 800x700）");
    if (!kPictureSideRange.Contains(w) || !kPictureSideRange.Contains(h))
        return Refuse("大きさ " + QuotedForMessage(s) + " は範囲外です（幅も高さも " +
                      RangeText(kPictureSideRange) + " ピクセル）");
    req.pictureWidth = w;
    req.pictureHeight = h;
    return {};
}

// The year chart's kind, by the file name's extension; PNG on standard
// output.
Result<PictureFormat> YearChartFormat(std::string_view path) {
    if (path == "-")
        return PictureFormat::kPng;
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    if (dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash)) {
        const std::string_view extension = path.substr(dot + 1);
        if (EqualsIgnoringAsciiCase(extension, "png"))
            return PictureFormat::kPng;
        if (EqualsIgnoringAsciiCase(extension, "svg"))
            return PictureFormat::kSvg;
    }
    return Refuse("図 " + QuotedForMessage(path) +
                  " の形式がわかりません（ファイル名の終わりを .png か .svg にしてください）");
}

// --png or --year-chart: the picture's file, kind and size. The day's chart
// is one day; the year chart the whole year of the date, or the days of
// --days or --to.
Status ReadPicture(const RawArguments& raw, HoursRequest& req) {
    const bool year = raw.yearChart.has_value();
    const std::string_view option = year ? "--year-chart" : "--png";
    if (raw.png && raw.yearChart)
        return Refuse("--png と --year-chart は一緒に使えません");
    if (raw.now || raw.at || raw.format || (!year && req.days.ranged))
        return Refuse(year ? "--year-chart は図を描くだけです（--now, --at, --format とは一緒に"
                             "使えません）"
                           : "--png は 1 日分の図を描くだけです（--now, --at, --days, --to, "
                             "--format とは一緒に使えません）");
    const std::string_view path = year ? *raw.yearChart : *raw.png;
    if (path.empty())
        return Refuse(std::string(option) + " のファイル名が空です");
    req.picturePath = path;
    req.action = year ? HoursAction::kYearChart : HoursAction::kChart;
    if (year) {
        const Result<PictureFormat> format = YearChartFormat(path);
        if (!format)
            return format.Error();
        req.pictureFormat = *format;
        req.pictureWidth = kYearChartWidth;
        req.pictureHeight = kYearChartHeight;
        if (!req.days.ranged) {
            req.days.first = {req.days.first.year, 1, 1};
            req.days.dayCount = DaysInYear(req.days.first.year);
        } else if (req.days.dayCount > kYearChartMostDays) {
            return Refuse("--year-chart の期間 " + std::to_string(req.days.dayCount) +
                          " 日は長すぎます（" + std::to_string(kYearChartMostDays) + " 日まで）");
        }
    }
    if (raw.moon && !year)
        return Refuse("--moon は --year-chart の図に月の出・月の入を描きます（--png とは一緒に"
                      "使えません）");
    req.pictureMoon = raw.moon;
    return raw.size ? ReadPictureSize(*raw.size, req) : Status();
}

// --time: an hour name read for the one date.
Status ReadTime(const RawArguments& raw, HoursRequest& req) {
    if (raw.now || raw.at)
        return Refuse("--time は刻の名から時刻を求めます（--now、--at とは一緒に使えません）");
    if (req.days.ranged)
        return Refuse("--time は一日の刻の名です（--days、--to とは一緒に使えません）");
    HourExpressionParse parse = ParseHourExpression(*raw.time);
    if (parse.readings.empty())
        return Refuse("--time: " + parse.error);
    req.action = HoursAction::kTime;
    req.timeExpression = *raw.time;
    req.timeReadings = std::move(parse.readings);
    return {};
}

// What to produce: the format, a picture, or the hour of a moment.
// How the hours are reckoned: dawn and dusk, the clocks, the Sun, where the
// day begins. Read before the dates, as "today" depends on them.
Status ReadReckoning(const RawArguments& raw, HoursRequest& req) {
    if (Status s = ReadChoice("--dawn", raw.dawn, DawnDefinitionFromName, kDawnDefinitions,
                              DawnDefinitionName, req.options.dawn);
        !s)
        return s.Error();
    if (Status s = ReadChoice("--steps", raw.steps, ClockStepsFromName, kClockSteps, ClockStepsName,
                              req.options.steps);
        !s)
        return s.Error();
    if (Status s = ReadChoice("--day-start", raw.dayStart, DayStartFromName, kDayStarts,
                              DayStartName, req.dayStart);
        !s)
        return s.Error();
    req.dayStartChosen = raw.dayStart.has_value();
    if (raw.dayStart && (raw.png || raw.yearChart))
        return Refuse("--day-start は表と --at、--now のためのものです（--png、--year-chart "
                      "とは一緒に使えません）");
    if (Status s = ReadChoice("--sun", raw.sun, SunModelFromName, kSunModels, SunModelName,
                              req.options.sun);
        !s)
        return s.Error();
    return {};
}

// Today at the place: the date at its time difference, not this computer's
// (at 23:23 UT it is already tomorrow in 東京); under --day-start dawn, the
// small hours before 明六つ are still the day before's.
CivilDate TodayAt(const HoursRequest& req, std::int64_t now) {
    const LocalMoment local = LocalMomentOf(now, req.place.timeDiff);
    if (req.dayStart == DayStart::kMidnight || !kYearRange.Contains(local.date.year))
        return local.date;
    return ReckonedDate(CalcDayHours(req.place, local.date, req.options), local.minute,
                        req.dayStart);
}

Status ReadOutput(const RawArguments& raw, HoursRequest& req) {
    if (Status format = ReadFormatAndMark(raw, req); !format)
        return format;
    if (raw.time && (raw.png || raw.yearChart))
        return Refuse(
            "--time は刻の名の時刻を答えます（--png、--year-chart とは一緒に使えません）");
    if (raw.png || raw.yearChart)
        return ReadPicture(raw, req);
    if (raw.size)
        return Refuse("--size は --png か --year-chart と一緒に指定します");
    if (raw.moon)
        return Refuse("--moon は --year-chart と一緒に指定します（年の図に月の出・月の入を"
                      "描きます。表の月の出・月の入は moonrise, moonset の列です）");
    if (req.format == HoursFormat::kIcs && (raw.now || raw.at || raw.time))
        return Refuse("--format ics は日の暦です（--now, --at, --time とは一緒に使えません）");
    if (raw.now)
        req.action = HoursAction::kNow;
    if (raw.at)
        req.action = HoursAction::kAt;
    if (raw.time)
        return ReadTime(raw, req);
    return {};
}

// --at: the moment's minute, and its date in place of --date when it has
// one.
Status ReadAt(const RawArguments& raw, DateArguments& dates, HoursRequest& req) {
    if (!raw.at)
        return {};
    if (raw.now)
        return Refuse("--now と --at は一緒に使えません");
    const Result<MomentText> moment = ReadMomentText(*raw.at);
    if (!moment)
        return moment.Error();
    if (raw.dates.days || raw.dates.to)
        return Refuse("--at は一つの時刻です（--days, --to とは一緒に使えません）");
    if (moment->date && raw.dates.date)
        return Refuse("--at " + QuotedForMessage(*raw.at) +
                      " に日付があるので --date とは一緒に使えません（--date と --at HH:MM か、"
                      "--at YYYY-MM-DDTHH:MM のどちらか）");
    if (moment->date)
        dates.date = moment->date;
    req.atMinute = moment->minute;
    if (moment->readings.size() > 1) {
        // One moment: a name read two ways names two.
        std::string readings;
        for (const HourReading& reading : moment->readings) {
            readings += readings.empty() ? "" : "、";
            readings += reading.convention;
        }
        return Refuse("--at " + QuotedForMessage(*raw.at) + " の刻の名には読みが " +
                      std::to_string(moment->readings.size()) + " つあります（" + readings +
                      "）。一つに決まる名で書くか、--time で全部の読みを示します");
    }
    if (!moment->readings.empty())
        req.atReading = moment->readings.front();
    return {};
}

// --kind and --route of --list-places.
Status ReadPlaceFilter(const RawArguments& raw, PlaceFilter& filter) {
    if (raw.kind) {
        PlaceKind kind = PlaceKind::kNone;
        if (Status s =
                ReadChoice("--kind", raw.kind, PlaceKindFromName, kPlaceKinds, PlaceKindName, kind);
            !s)
            return s;
        filter.kind = kind;
    }
    if (raw.route) {
        PlaceRoute route = PlaceRoute::kTokaido;
        if (Status s = ReadChoice("--route", raw.route, PlaceRouteFromName, kPlaceRoutes,
                                  PlaceRouteName, route);
            !s)
            return s;
        filter.route = route;
    }
    return {};
}

Result<HoursRequest> ReadRequest(const RawArguments& raw, std::int64_t now,
                                 const PlaceBookSource& places) {
    HoursRequest req;
    if (raw.version) {
        req.action = HoursAction::kVersion;
        return req;
    }
    if (raw.listPlaces) {
        req.action = HoursAction::kListPlaces;
        if (Status format = ReadFormatAndMark(raw, req); !format)
            return format.Error();
        if (req.format == HoursFormat::kIcs)
            return Refuse("--list-places は --format ics では書けません（table, csv, json）");
        if (Status filter = ReadPlaceFilter(raw, req.placeFilter); !filter)
            return filter.Error();
        return req;
    }
    if (raw.kind || raw.route)
        return Refuse("--kind と --route は --list-places の一覧を絞ります（--list-places と"
                      "一緒に指定します）");
    req.now = now;
    std::string placeNote;
    Result<Place> place = ResolvePlace(raw.place, places, &req.placeProvenance, &placeNote);
    if (!place)
        return place.Error();
    req.place = std::move(*place);
    if (!placeNote.empty())
        req.notes.push_back(std::move(placeNote));
    if (raw.now && raw.dates.Any())
        return Refuse("--now はいまの時刻を使うので --date, --days, --to とは一緒に使えません");
    DateArguments dates = raw.dates;
    if (Status at = ReadAt(raw, dates, req); !at)
        return at.Error();
    if (Status reckoning = ReadReckoning(raw, req); !reckoning)
        return reckoning.Error();
    const Result<DateRange> days = ResolveDates(dates, TodayAt(req, now));
    if (!days)
        return days.Error();
    req.days = *days;
    // Unless chosen, the day is the one the date means as it was written.
    if (!req.dayStartChosen)
        req.dayStart = DayStartOfWriting(req.days.writing, req.days.first);
    if (Status output = ReadOutput(raw, req); !output)
        return output.Error();
    return req;
}

} // namespace

Result<HoursRequest> ParseHoursArguments(std::span<const std::string_view> args, std::int64_t now,
                                         const PlaceBookSource& places) {
    // -h and --help anywhere win over everything else, mistakes included.
    for (std::string_view a : args) {
        if (a == "-h" || a == "--help") {
            HoursRequest help;
            help.action = HoursAction::kHelp;
            return help;
        }
    }
    const Result<RawArguments> raw = CollectArguments(args);
    if (!raw)
        return raw.Error();
    return ReadRequest(*raw, now, places);
}

} // namespace tolmeri
