#include "hours_output.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "sun_events.h"

namespace tolmeri {

CDayCalculator::CDayCalculator(const PresetFields& place) : m_place(place) {}

DayHours CDayCalculator::Compute(const CivilDate& date) {
    m_hours.Reset();
    m_hours.SetPlace(m_place.latDeg, m_place.latMin, m_place.lonDeg, m_place.lonMin,
                     m_place.timeDiff);
    m_hours.SetDate(date.year, date.month, date.day);
    m_hours.CalcNoonJD();
    m_hours.CalcBoundaries();
    DayHours day;
    day.date = date;
    for (int i = 0; i < CTemporalHours::kBoundaryCount; ++i)
        day.boundary[i] = m_hours.GetBoundary(i);
    day.sunrise = m_hours.GetSunrise();
    day.sunset = m_hours.GetSunset();
    return day;
}

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\n") == std::string_view::npos)
        return std::string(text);
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string JsonString(std::string_view text) {
    std::string s = "\"";
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            s += '\\';
            s += c;
        } else if (u < 0x20) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04x", u);
            s += esc;
        } else {
            s += c;
        }
    }
    return s + "\"";
}

namespace {

void AppendInt(std::string& out, long long value) {
    char text[24];
    const auto r = std::to_chars(text, text + sizeof text, value);
    out.append(text, r.ptr);
}

// n / 6 minutes to one decimal, as "%.1f" prints it. A sixth never ends in
// exactly half a tenth, so rounding half up is exact; n is never negative.
void AppendSixths(std::string& out, int n) {
    const int tenths = (n * 10 + 3) / 6;
    AppendInt(out, tenths / 10);
    out += '.';
    out += static_cast<char>('0' + tenths % 10);
}

// FormatDate's "YYYY-MM-DD" for the years 0 to 9999, again once a row.
void AppendDate(std::string& out, const CivilDate& date) {
    const int y = date.year;
    const char text[10] = {static_cast<char>('0' + y / 1000 % 10),
                           static_cast<char>('0' + y / 100 % 10),
                           static_cast<char>('0' + y / 10 % 10),
                           static_cast<char>('0' + y % 10),
                           '-',
                           static_cast<char>('0' + date.month / 10),
                           static_cast<char>('0' + date.month % 10),
                           '-',
                           static_cast<char>('0' + date.day / 10),
                           static_cast<char>('0' + date.day % 10)};
    out.append(text, sizeof text);
}

int DaySixths(const DayHours& d) {
    return d.boundary[18] - d.boundary[6];
}
int NightSixths(const DayHours& d) {
    return 1440 - (d.boundary[18] - d.boundary[6]);
}

// Columns of the terminal a UTF-8 text takes: the labels and Japanese
// place names are full-width, everything else here is ASCII.
int DisplayWidth(std::string_view text) {
    int width = 0;
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x80)
            width += 1;
        else if (u >= 0xC0)
            width += 2;
    }
    return width;
}

void AppendPadded(std::string& out, std::string_view text, int width, bool right = false) {
    const int pad = width - DisplayWidth(text);
    if (right && pad > 0)
        out.append(pad, ' ');
    out += text;
    if (!right && pad > 0)
        out.append(pad, ' ');
}

void AppendPlaceLine(std::string& out, const PresetFields& p) {
    out += p.name;
    out += "  緯度 ";
    out += FormatDegreesMinutes(p.latDeg, p.latMin);
    out += "  経度 ";
    out += FormatDegreesMinutes(p.lonDeg, p.lonMin);
    out += "  時差 ";
    out += p.timeDiff < 0 ? "-" : "+";
    AppendInt(out, p.timeDiff < 0 ? -p.timeDiff : p.timeDiff);
}

std::string Number(long long v) {
    std::string s;
    AppendInt(s, v);
    return s;
}

std::string Sixths(int n) {
    std::string s;
    AppendSixths(s, n);
    return s;
}

void WriteOneDayTable(const PresetFields& place, const DayHours& d, std::string& out) {
    AppendPlaceLine(out, place);
    out += "  ";
    AppendDate(out, d.date);
    out += "\n\n";
    AppendPadded(out, "番号", 4, true);
    out += "  ";
    AppendPadded(out, "刻", 12);
    out += "  時刻     分\n";
    for (int i = 0; i < 25; ++i) {
        AppendPadded(out, Number(i), 4, true);
        out += "  ";
        AppendPadded(out, kBoundaryLabels[i], 12);
        out += "  ";
        out += FormatClock(d.boundary[i]);
        AppendPadded(out, Number(d.boundary[i]), 6, true);
        out += '\n';
    }
    out += "\n日出 ";
    out += FormatClock(d.sunrise);
    out += "  日没 ";
    out += FormatClock(d.sunset);
    out += "  昼の一刻 ";
    AppendSixths(out, DaySixths(d));
    out += " 分  夜の一刻 ";
    AppendSixths(out, NightSixths(d));
    out += " 分\n";
}

void WriteRangeTableHead(const PresetFields& place, std::string& out) {
    AppendPlaceLine(out, place);
    out += "\n\n日付        夜明   日出   南中   日没   日暮   昼の一刻  夜の一刻\n";
}

void WriteRangeTableRow(const DayHours& d, std::string& out) {
    AppendDate(out, d.date);
    for (int minute : {d.boundary[6], d.sunrise, d.boundary[12], d.sunset, d.boundary[18]}) {
        out += "  ";
        AppendClock(out, minute);
    }
    AppendPadded(out, Sixths(DaySixths(d)), 10, true);
    AppendPadded(out, Sixths(NightSixths(d)), 10, true);
    out += '\n';
}

char BoundaryDigits(int i, int which) {
    return static_cast<char>('0' + (which == 0 ? i / 10 : i % 10));
}

void WriteCsvHead(std::string& out) {
    out += "date,place,sunrise,sunset,day_hour,night_hour,sunrise_min,sunset_min";
    for (const char* suffix : {"", "_min"}) {
        for (int i = 0; i < 25; ++i) {
            out += ",b";
            out += BoundaryDigits(i, 0);
            out += BoundaryDigits(i, 1);
            out += suffix;
        }
    }
    out += "\n";
}

void WriteCsvRow(const std::string& placeField, const DayHours& d, std::string& out) {
    AppendDate(out, d.date);
    out += ',';
    out += placeField;
    out += ',';
    AppendClock(out, d.sunrise);
    out += ',';
    AppendClock(out, d.sunset);
    out += ',';
    AppendSixths(out, DaySixths(d));
    out += ',';
    AppendSixths(out, NightSixths(d));
    out += ',';
    AppendInt(out, d.sunrise);
    out += ',';
    AppendInt(out, d.sunset);
    for (int b : d.boundary) {
        out += ',';
        AppendClock(out, b);
    }
    for (int b : d.boundary) {
        out += ',';
        AppendInt(out, b);
    }
    out += "\n";
}

void WriteJsonPlace(const PresetFields& p, std::string& out) {
    out += "{\"name\": ";
    out += JsonString(p.name);
    out += ", \"latitude\": \"";
    out += FormatDegreesMinutes(p.latDeg, p.latMin);
    out += "\", \"longitude\": \"";
    out += FormatDegreesMinutes(p.lonDeg, p.lonMin);
    out += "\", \"tz\": ";
    AppendInt(out, p.timeDiff);
    out += "}";
}

void WriteJsonHead(const PresetFields& place, std::string& out) {
    out += "{\"place\": ";
    WriteJsonPlace(place, out);
    out += ",\n \"labels\": [";
    for (int i = 0; i < 25; ++i) {
        out += i ? ", " : "";
        out += JsonString(kBoundaryLabels[i]);
    }
    out += "],\n \"days\": [\n";
}

void WriteJsonDay(const DayHours& d, bool last, std::string& out) {
    out += "  {\"date\": \"";
    AppendDate(out, d.date);
    out += "\", \"sunrise\": \"";
    AppendClock(out, d.sunrise);
    out += "\", \"sunset\": \"";
    AppendClock(out, d.sunset);
    out += "\", \"sunrise_min\": ";
    AppendInt(out, d.sunrise);
    out += ", \"sunset_min\": ";
    AppendInt(out, d.sunset);
    out += ", \"day_hour\": ";
    AppendSixths(out, DaySixths(d));
    out += ", \"night_hour\": ";
    AppendSixths(out, NightSixths(d));
    out += ", \"times\": [";
    for (int i = 0; i < 25; ++i) {
        out += i ? ",\"" : "\"";
        AppendClock(out, d.boundary[i]);
        out += '"';
    }
    out += "], \"minutes\": [";
    for (int i = 0; i < 25; ++i) {
        if (i)
            out += ',';
        AppendInt(out, d.boundary[i]);
    }
    out += last ? "]}\n" : "]},\n";
}

} // namespace

bool WriteHours(const HoursRequest& request, std::string& out, const OutputDrain& drain) {
    CDayCalculator calc(request.place);
    const std::int64_t first = DaysFromCivil(request.first);
    // About 500 bytes a CSV or JSON day: room for a year, or for one piece of
    // streamed output, in one allocation.
    std::size_t room = 600 * static_cast<std::size_t>(request.dayCount) + 1024;
    if (drain)
        room = std::min(room, kOutputChunk + 4096);
    out.reserve(out.size() + room);
    // After each row: hand over a full piece.
    const auto flowed = [&] { return !drain || out.size() < kOutputChunk || drain(out); };
    switch (request.format) {
    case HoursFormat::Table:
        if (!request.ranged) {
            WriteOneDayTable(request.place, calc.Compute(request.first), out);
            return true;
        }
        WriteRangeTableHead(request.place, out);
        for (int i = 0; i < request.dayCount; ++i) {
            WriteRangeTableRow(calc.Compute(CivilFromDays(first + i)), out);
            if (!flowed())
                return false;
        }
        return true;
    case HoursFormat::Csv: {
        WriteCsvHead(out);
        const std::string placeField = CsvField(request.place.name);
        for (int i = 0; i < request.dayCount; ++i) {
            WriteCsvRow(placeField, calc.Compute(CivilFromDays(first + i)), out);
            if (!flowed())
                return false;
        }
        return true;
    }
    case HoursFormat::Json:
        WriteJsonHead(request.place, out);
        for (int i = 0; i < request.dayCount; ++i) {
            WriteJsonDay(calc.Compute(CivilFromDays(first + i)), i + 1 == request.dayCount, out);
            if (!flowed())
                return false;
        }
        out += " ]}\n";
        return true;
    }
    return true;
}

CurrentHour FindCurrentHour(const PresetFields& place, std::int64_t utcSeconds) {
    const std::int64_t local = utcSeconds + static_cast<std::int64_t>(place.timeDiff) * 3600;
    const std::int64_t days = (local >= 0 ? local : local - 86399) / 86400;
    CurrentHour now;
    now.date = CivilFromDays(days);
    now.minute = static_cast<int>((local - days * 86400) / 60);

    // Boundaries 0 to 23 of the day before, the day and the day after, then
    // the last day's 24, all as minutes of the day itself. Each day starts
    // with its own midnight, so the marks keep rising even where the
    // transit moves by a minute from one day to the next.
    CDayCalculator calc(place);
    std::array<int, 73> marks{};
    for (int k = -1; k <= 1; ++k) {
        const DayHours d = calc.Compute(CivilFromDays(days + k));
        for (int i = 0; i < 24; ++i)
            marks[(k + 1) * 24 + i] = d.boundary[i] + 1440 * k;
        if (k == 1)
            marks[72] = d.boundary[24] + 1440;
    }
    int i = 0;
    while (i < 71 && marks[i + 1] <= now.minute)
        ++i;
    now.index = i % 24;
    now.since = marks[i];
    now.nextIndex = now.index + 1;
    now.next = marks[i + 1];
    return now;
}

void WriteCurrentHour(const HoursRequest& request, const CurrentHour& now, std::string& out) {
    const std::string clock = FormatClock(now.minute);
    const std::string stamp = FormatDate(now.date) + "T" + clock;
    const int left = now.next - now.minute;
    switch (request.format) {
    case HoursFormat::Table:
        AppendPlaceLine(out, request.place);
        out += "\n現在      ";
        out += FormatDate(now.date);
        out += ' ';
        out += clock;
        out += "\n刻        ";
        out += kBoundaryLabels[now.index];
        out += "（";
        out += FormatClock(now.since);
        out += " から）\n次の刻    ";
        out += kBoundaryLabels[now.nextIndex];
        out += ' ';
        out += FormatClock(now.next);
        out += "（あと ";
        AppendInt(out, left);
        out += " 分）\n";
        return;
    case HoursFormat::Csv:
        out += "now,place,index,label,since,next_index,next_label,next,minutes_to_next\n";
        out += stamp + ',' + CsvField(request.place.name) + ',' + Number(now.index) + ',' +
               std::string(kBoundaryLabels[now.index]) + ',' + FormatClock(now.since) + ',' +
               Number(now.nextIndex) + ',' + std::string(kBoundaryLabels[now.nextIndex]) + ',' +
               FormatClock(now.next) + ',' + Number(left) + "\n";
        return;
    case HoursFormat::Json:
        out += "{\"place\": ";
        WriteJsonPlace(request.place, out);
        out += ",\n \"now\": \"" + stamp + "\", \"minute\": " + Number(now.minute) +
               ",\n \"current\": {\"index\": " + Number(now.index) +
               ", \"label\": " + JsonString(kBoundaryLabels[now.index]) + ", \"since\": \"" +
               FormatClock(now.since) + "\", \"since_min\": " + Number(now.since) +
               "},\n \"next\": {\"index\": " + Number(now.nextIndex) +
               ", \"label\": " + JsonString(kBoundaryLabels[now.nextIndex]) + ", \"time\": \"" +
               FormatClock(now.next) + "\", \"time_min\": " + Number(now.next) +
               "},\n \"minutes_to_next\": " + Number(left) + "}\n";
        return;
    }
}

void WritePlaceList(HoursFormat format, std::string& out) {
    if (format == HoursFormat::Csv)
        out += "name,latitude,longitude,tz\n";
    else if (format == HoursFormat::Json)
        out += "[\n";
    for (std::size_t i = 0; i < kPresetPlaces.size(); ++i) {
        const PresetFields p = ParseLocationEntry(kPresetPlaces[i]);
        const std::string lat = FormatDegreesMinutes(p.latDeg, p.latMin);
        const std::string lon = FormatDegreesMinutes(p.lonDeg, p.lonMin);
        const std::string tz = Number(p.timeDiff);
        switch (format) {
        case HoursFormat::Table:
            AppendPadded(out, p.name, 10);
            AppendPadded(out, lat, 8, true);
            AppendPadded(out, lon, 9, true);
            AppendPadded(out, tz, 5, true);
            out += '\n';
            break;
        case HoursFormat::Csv:
            out += CsvField(p.name) + ',' + lat + ',' + lon + ',' + tz + "\n";
            break;
        case HoursFormat::Json:
            out += " {\"name\": " + JsonString(p.name) + ", \"latitude\": \"" + lat +
                   "\", \"longitude\": \"" + lon + "\", \"tz\": " + tz + "}" +
                   (i + 1 < kPresetPlaces.size() ? ",\n" : "\n");
            break;
        }
    }
    if (format == HoursFormat::Json)
        out += "]\n";
}

} // namespace tolmeri
