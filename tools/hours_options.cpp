#include "hours_options.h"

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace tolmeri {

namespace {

std::string Quoted(std::string_view text) {
    return QuotedForMessage(text);
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// 1 to maxDigits decimal digits, nothing else.
bool ReadUnsignedInt(std::string_view text, std::size_t maxDigits, int& out) {
    if (text.empty() || text.size() > maxDigits)
        return false;
    int value = 0;
    for (char c : text) {
        if (!IsDigit(c))
            return false;
        value = value * 10 + (c - '0');
    }
    out = value;
    return true;
}

// An optional sign, then 1 to maxDigits decimal digits.
bool ReadSignedInt(std::string_view text, std::size_t maxDigits, int& out) {
    const bool negative = text.starts_with('-');
    if (negative || text.starts_with('+'))
        text.remove_prefix(1);
    if (!ReadUnsignedInt(text, maxDigits, out))
        return false;
    out = negative ? -out : out;
    return true;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// The length of the well-formed UTF-8 character at s[i] when it is not a
// control character (C0, DEL or C1), else 0.
std::size_t PrintableCharacterLength(std::string_view s, std::size_t i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x20 || c == 0x7F)
        return 0;
    std::size_t extra = 0;
    if (c < 0x80)
        extra = 0;
    else if (c >= 0xC2 && c <= 0xDF)
        extra = 1;
    else if (c >= 0xE0 && c <= 0xEF)
        extra = 2;
    else if (c >= 0xF0 && c <= 0xF4)
        extra = 3;
    else
        return 0;
    if (i + extra >= s.size())
        return 0;
    unsigned code = extra == 0 ? c : c & (0x3F >> extra);
    for (std::size_t k = 1; k <= extra; ++k) {
        const auto t = static_cast<unsigned char>(s[i + k]);
        if ((t & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (t & 0x3F);
    }
    if ((extra == 2 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) ||
        (extra == 3 && (code < 0x10000 || code > 0x10FFFF)) || (code >= 0x80 && code < 0xA0))
        return 0;
    return extra + 1;
}

// Well-formed UTF-8 without control characters: a name goes into tables,
// CSV and JSON as it stands.
bool IsPrintableUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = PrintableCharacterLength(s, i);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

// Everything the loop over the arguments collects, before any check.
struct RawArguments {
    std::optional<std::string_view> place, lat, lon, tz, name, date, days, to, format, png, size;
    bool now = false, listPlaces = false;
};

class Checker {
public:
    explicit Checker(std::string& error) : m_error(error) {}
    // Keeps the message; always false, so a check can return it.
    bool Fail(std::string message) {
        m_error = std::move(message);
        return false;
    }

    // Degrees and minutes as the window reads them: the sign is written on
    // the degrees and the minutes take it.
    bool DegreesMinutes(std::string_view what, std::string_view text, int limit, int& degrees,
                        int& minutes) {
        const std::size_t colon = text.find(':');
        const std::string_view degText = text.substr(0, colon);
        minutes = 0;
        if (!ReadSignedInt(degText, 3, degrees) ||
            (colon != std::string_view::npos &&
             !ReadUnsignedInt(text.substr(colon + 1), 2, minutes)))
            return Fail(std::string(what) + " " + Quoted(text) +
                        " は読めません（度[:分] の形、例 35:27）");
        if (degrees < -limit || degrees > limit)
            return Fail(std::string(what) + " " + Quoted(text) + " は範囲外です（度は -" +
                        std::to_string(limit) + "～" + std::to_string(limit) + "）");
        if (minutes > 59)
            return Fail(std::string(what) + " " + Quoted(text) + " は範囲外です（分は 0～59）");
        if (degText[0] == '-' && degrees == 0 && minutes != 0)
            return Fail(std::string(what) + " " + Quoted(text) +
                        " は使えません（符号は度に付くので、度が 0 のときは負にできません）");
        return true;
    }

    bool Date(std::string_view what, std::string_view text, CivilDate& out) {
        CivilDate d;
        if (!ReadDateText(text, d))
            return Fail(std::string(what) + " " + Quoted(text) +
                        " は読めません（YYYY-MM-DD の形）");
        if (d.year < kFirstYear || d.year > kLastYear)
            return Fail(std::string(what) + " " + Quoted(text) + " は範囲外です（年は " +
                        std::to_string(kFirstYear) + "～" + std::to_string(kLastYear) + "）");
        if (d.month < 1 || d.month > 12)
            return Fail(std::string(what) + " " + Quoted(text) +
                        " は正しくありません（月は 1～12）");
        if (d.day < 1 || d.day > DaysInMonth(d.year, d.month))
            return Fail(std::string(what) + " " + Quoted(text) + " は正しくありません（" +
                        std::to_string(d.year) + "年" + std::to_string(d.month) + "月は " +
                        std::to_string(DaysInMonth(d.year, d.month)) + " 日まで）");
        out = d;
        return true;
    }

private:
    std::string& m_error;
};

constexpr CivilDate kLastDate{kLastYear, 12, 31};

} // namespace

PresetFields DefaultPlace() {
    return ParseLocationEntry(*FindPreset("横浜"));
}

const std::string_view* FindPresetLoosely(std::string_view name) {
    if (const std::string_view* exact = FindPreset(name))
        return exact;
    for (const std::string_view& entry : kPresetPlaces) {
        if (EqualsIgnoringAsciiCase(entry.substr(0, entry.find('\t')), name))
            return &entry;
    }
    return nullptr;
}

std::string FormatDegreesMinutes(int degrees, int minutes) {
    char text[32];
    std::snprintf(text, sizeof text, "%c%d:%02d", degrees < 0 ? '-' : '+', std::abs(degrees),
                  minutes);
    return text;
}

std::string EscapedForMessage(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        if (const std::size_t n = PrintableCharacterLength(text, i)) {
            out.append(text, i, n);
            i += n;
            continue;
        }
        // Anything else byte by byte: a C1 control is both of its bytes.
        const auto b = static_cast<unsigned char>(text[i++]);
        out += "\\x";
        out += kHex[b >> 4];
        out += kHex[b & 0xF];
    }
    return out;
}

std::string QuotedForMessage(std::string_view text) {
    return '"' + EscapedForMessage(text) + '"';
}

namespace {

bool ReadFormat(const RawArguments& raw, HoursRequest& req, Checker& check) {
    if (!raw.format || *raw.format == "table")
        req.format = HoursFormat::Table;
    else if (*raw.format == "csv")
        req.format = HoursFormat::Csv;
    else if (*raw.format == "json")
        req.format = HoursFormat::Json;
    else
        return check.Fail("形式 " + Quoted(*raw.format) + " は使えません（table, csv, json）");
    return true;
}

// Fills req; false (with the message in check) at the first bad value.
bool ReadRequest(std::span<const std::string_view> args, const CivilDate& today, HoursRequest& req,
                 Checker& check) {
    // -h and --help anywhere win over everything else, mistakes included.
    for (std::string_view a : args) {
        if (a == "-h" || a == "--help") {
            req.action = HoursAction::Help;
            return true;
        }
    }

    RawArguments raw;
    struct ValueOption {
        std::string_view name;
        std::optional<std::string_view> RawArguments::*slot;
    };
    static constexpr ValueOption kValueOptions[] = {
        {"--place", &RawArguments::place},   {"--lat", &RawArguments::lat},
        {"--lon", &RawArguments::lon},       {"--tz", &RawArguments::tz},
        {"--name", &RawArguments::name},     {"--date", &RawArguments::date},
        {"--days", &RawArguments::days},     {"--to", &RawArguments::to},
        {"--format", &RawArguments::format}, {"--png", &RawArguments::png},
        {"--size", &RawArguments::size},
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view a = args[i];
        if (a == "--version") {
            req.action = HoursAction::Version;
            return true;
        }
        if (a == "--now") {
            raw.now = true;
            continue;
        }
        if (a == "--list-places") {
            raw.listPlaces = true;
            continue;
        }
        std::optional<std::string_view> inlineValue;
        if (const std::size_t eq = a.find('=');
            a.starts_with("--") && eq != std::string_view::npos) {
            inlineValue = a.substr(eq + 1);
            a = a.substr(0, eq);
        }
        const ValueOption* option = nullptr;
        for (const ValueOption& o : kValueOptions) {
            if (o.name == a)
                option = &o;
        }
        if (!option) {
            if (a.starts_with("-") && a.size() > 1)
                return check.Fail("オプション " + Quoted(args[i]) +
                                  " はありません（--help で説明を表示）");
            return check.Fail("余分な引数 " + Quoted(a) +
                              " があります（場所は --place、日付は --date で指定）");
        }
        if (inlineValue) {
            raw.*(option->slot) = *inlineValue;
        } else if (i + 1 < args.size()) {
            raw.*(option->slot) = args[++i];
        } else {
            return check.Fail(std::string(option->name) + " には値が必要です");
        }
    }

    if (raw.listPlaces) {
        req.action = HoursAction::ListPlaces;
        return ReadFormat(raw, req, check);
    }

    // The place.
    const bool coordinates = raw.lat || raw.lon || raw.tz;
    if (raw.place && coordinates)
        return check.Fail("--place と --lat/--lon/--tz は一緒に使えません");
    if (raw.name && !coordinates)
        return check.Fail("--name は --lat/--lon/--tz の場所にだけ付けられます");
    if (raw.place) {
        const std::string_view* entry = FindPresetLoosely(*raw.place);
        if (!entry)
            return check.Fail("場所 " + Quoted(*raw.place) +
                              " は一覧にありません（--list-places で一覧を表示）");
        req.place = ParseLocationEntry(*entry);
    } else if (coordinates) {
        if (!raw.lat || !raw.lon || !raw.tz)
            return check.Fail("--lat, --lon, --tz は三つそろえて指定してください");
        PresetFields& p = req.place;
        if (!check.DegreesMinutes("緯度", *raw.lat, 54, p.latDeg, p.latMin) ||
            !check.DegreesMinutes("経度", *raw.lon, 180, p.lonDeg, p.lonMin))
            return false;
        if (!ReadSignedInt(*raw.tz, 2, p.timeDiff))
            return check.Fail("時差 " + Quoted(*raw.tz) + " は読めません（整数の時間、例 9）");
        if (p.timeDiff < -12 || p.timeDiff > 12)
            return check.Fail("時差 " + Quoted(*raw.tz) + " は範囲外です（-12～12）");
        const int q = p.lonDeg / 15;
        if (std::abs(q - p.timeDiff) > 2)
            return check.Fail("時差 " + Quoted(*raw.tz) + " は経度 " + std::to_string(p.lonDeg) +
                              " 度に合いません（" + std::to_string(p.lonDeg) +
                              " ÷ 15 = " + std::to_string(q) + " から 2 時間以内）");
        if (raw.name) {
            if (raw.name->empty() || !IsPrintableUtf8(*raw.name))
                return check.Fail("名前 " + Quoted(*raw.name) +
                                  " は使えません（制御文字を含まない UTF-8 の文字列）");
            p.name = *raw.name;
        } else {
            p.name = FormatDegreesMinutes(p.latDeg, p.latMin) + " " +
                     FormatDegreesMinutes(p.lonDeg, p.lonMin);
        }
    } else {
        req.place = DefaultPlace();
    }

    // The date and the range.
    if (raw.now && (raw.date || raw.days || raw.to))
        return check.Fail("--now はいまの時刻を使うので --date, --days, --to とは一緒に使えません");
    req.first = today;
    if (raw.date && !check.Date("日付", *raw.date, req.first))
        return false;
    if (req.first.year < kFirstYear || req.first.year > kLastYear)
        return check.Fail("今日の日付 " + FormatDate(today) + " は範囲外です（年は " +
                          std::to_string(kFirstYear) + "～" + std::to_string(kLastYear) + "）");
    if (raw.days && raw.to)
        return check.Fail("--days と --to は一緒に使えません");
    const std::int64_t maxCount = DaysFromCivil(kLastDate) - DaysFromCivil(req.first) + 1;
    if (raw.days) {
        int n = 0;
        if (!ReadUnsignedInt(*raw.days, 7, n))
            return check.Fail("日数 " + Quoted(*raw.days) + " は読めません（1 以上の整数）");
        if (n < 1)
            return check.Fail("日数 " + Quoted(*raw.days) + " は範囲外です（1 以上）");
        if (n > maxCount)
            return check.Fail("日数 " + Quoted(*raw.days) + " では " + FormatDate(kLastDate) +
                              " を越えます（" + FormatDate(req.first) + " からは最大 " +
                              std::to_string(maxCount) + " 日）");
        req.dayCount = n;
        req.ranged = true;
    }
    if (raw.to) {
        CivilDate last;
        if (!check.Date("終わりの日付", *raw.to, last))
            return false;
        if (last < req.first)
            return check.Fail("終わりの日付 " + Quoted(*raw.to) + " が始めの日付 " +
                              FormatDate(req.first) + " より前です");
        req.dayCount = static_cast<int>(DaysFromCivil(last) - DaysFromCivil(req.first) + 1);
        req.ranged = true;
    }

    // What to produce.
    if (!ReadFormat(raw, req, check))
        return false;
    if (raw.size && !raw.png)
        return check.Fail("--size は --png と一緒に指定します");
    if (raw.png) {
        if (raw.now || req.ranged || raw.format)
            return check.Fail("--png は 1 日分の図を描くだけです（--now, --days, --to, --format "
                              "とは一緒に使えません）");
        if (raw.png->empty())
            return check.Fail("--png のファイル名が空です");
        req.pngPath = *raw.png;
        if (raw.size) {
            const std::string_view s = *raw.size;
            const std::size_t x = s.find_first_of("xX");
            int w = 0, h = 0;
            if (x == std::string_view::npos || !ReadUnsignedInt(s.substr(0, x), 5, w) ||
                !ReadUnsignedInt(s.substr(x + 1), 5, h))
                return check.Fail("大きさ " + Quoted(s) + " は読めません（幅x高さ、例 800x700）");
            if (w < kMinPictureSide || w > kMaxPictureSide || h < kMinPictureSide ||
                h > kMaxPictureSide)
                return check.Fail("大きさ " + Quoted(s) + " は範囲外です（幅も高さも " +
                                  std::to_string(kMinPictureSide) + "～" +
                                  std::to_string(kMaxPictureSide) + " ピクセル）");
            req.pngWidth = w;
            req.pngHeight = h;
        }
        req.action = HoursAction::Png;
    } else if (raw.now) {
        req.action = HoursAction::Now;
    }
    return true;
}

} // namespace

HoursParse ParseHoursArguments(std::span<const std::string_view> args, const CivilDate& today) {
    HoursParse result;
    Checker check(result.error);
    ReadRequest(args, today, result.request, check);
    return result;
}

} // namespace tolmeri
