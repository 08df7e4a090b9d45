#include "tools/hours_arguments.h"

#include <optional>

#include "tools/hours_text.h"

namespace tolmeri {

namespace {

// Every option as the command line wrote it, before any check.
struct RawArguments {
    PlaceArguments place;
    DateArguments dates;
    OptionText format, png, size;
    bool now = false, listPlaces = false, version = false, bom = false;
};

struct ValueOption {
    std::string_view name;
    OptionText& (*slot)(RawArguments&);
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
    {"--png", [](RawArguments& r) -> OptionText& { return r.png; }},
    {"--size", [](RawArguments& r) -> OptionText& { return r.size; }},
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
        option->slot(raw) = inlineValue ? *inlineValue : args[++i];
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
    return Refuse("形式 " + QuotedForMessage(*format) + " は使えません（table, csv, json）");
}

// The format, and the byte-order mark that only CSV takes: a table or JSON
// with one would only trip up what reads them.
Status ReadFormatAndMark(const RawArguments& raw, HoursRequest& req) {
    const Result<HoursFormat> format = ReadFormat(raw.format);
    if (!format)
        return format.Error();
    req.format = *format;
    if (raw.bom && (req.format != HoursFormat::kCsv || raw.png))
        return Refuse("--bom は --format csv の出力にだけ付けられます");
    req.byteOrderMark = raw.bom;
    return {};
}

// "800x700": width and height of the picture.
Status ReadPictureSize(std::string_view s, HoursRequest& req) {
    const std::size_t x = s.find_first_of("xX");
    int w = 0, h = 0;
    if (x == std::string_view::npos || !ReadUnsignedInt(s.substr(0, x), 5, w) ||
        !ReadUnsignedInt(s.substr(x + 1), 5, h))
        return Refuse("大きさ " + QuotedForMessage(s) + " は読めません（幅x高さ、例 800x700）");
    if (!kPictureSideRange.Contains(w) || !kPictureSideRange.Contains(h))
        return Refuse("大きさ " + QuotedForMessage(s) + " は範囲外です（幅も高さも " +
                      RangeText(kPictureSideRange) + " ピクセル）");
    req.pngWidth = w;
    req.pngHeight = h;
    return {};
}

// What to produce: the format, a picture, or the hour of now.
Status ReadOutput(const RawArguments& raw, HoursRequest& req) {
    if (Status format = ReadFormatAndMark(raw, req); !format)
        return format;
    if (raw.size && !raw.png)
        return Refuse("--size は --png と一緒に指定します");
    if (!raw.png) {
        if (raw.now)
            req.action = HoursAction::kNow;
        return {};
    }
    if (raw.now || req.days.ranged || raw.format)
        return Refuse("--png は 1 日分の図を描くだけです（--now, --days, --to, --format "
                      "とは一緒に使えません）");
    if (raw.png->empty())
        return Refuse("--png のファイル名が空です");
    req.pngPath = *raw.png;
    req.action = HoursAction::kPng;
    return raw.size ? ReadPictureSize(*raw.size, req) : Status();
}

Result<HoursRequest> ReadRequest(const RawArguments& raw, const CivilDate& today) {
    HoursRequest req;
    if (raw.version) {
        req.action = HoursAction::kVersion;
        return req;
    }
    if (raw.listPlaces) {
        req.action = HoursAction::kListPlaces;
        if (Status format = ReadFormatAndMark(raw, req); !format)
            return format.Error();
        return req;
    }
    Result<Place> place = ResolvePlace(raw.place);
    if (!place)
        return place.Error();
    req.place = std::move(*place);
    if (raw.now && raw.dates.Any())
        return Refuse("--now はいまの時刻を使うので --date, --days, --to とは一緒に使えません");
    const Result<DateRange> days = ResolveDates(raw.dates, today);
    if (!days)
        return days.Error();
    req.days = *days;
    if (Status output = ReadOutput(raw, req); !output)
        return output.Error();
    return req;
}

} // namespace

Result<HoursRequest> ParseHoursArguments(std::span<const std::string_view> args,
                                         const CivilDate& today) {
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
    return ReadRequest(*raw, today);
}

} // namespace tolmeri
