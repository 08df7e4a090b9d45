#include "report/hours_ics.h"

#include "core/calendar.h"
#include "core/kanshi.h"
#include "core/moon.h"
#include "core/period_hours.h"
#include "core/solar_terms.h"
#include "core/zassetsu.h"
#include "report/hours_text.h"

namespace tolmeri {

namespace {

constexpr std::size_t kFoldOctets = 75;
constexpr std::string_view kUidDomain = "@tolmeri.github.io";

// "20260217".
std::string BasicDate(const CivilDate& date) {
    std::string iso = FormatDate(date);
    std::string basic;
    for (char c : iso)
        if (c != '-')
            basic += c;
    return basic;
}

std::string Two(int n) {
    std::string text;
    if (n < 10)
        text += '0';
    AppendInt(text, n);
    return text;
}

// "tz9", "tz-5": the days of the terms, the 雑節 and the quarters depend on
// the time difference.
std::string Zone(int timeDiff) {
    return "tz" + std::to_string(timeDiff);
}

// Spring or autumn, by the month.
std::string_view HalfOfYear(const CivilDate& date) {
    return date.month < 7 ? "spring" : "autumn";
}
// The 土用 a start or 丑 day belongs to, by the month it lies in.
std::string_view Doyo(const CivilDate& date) {
    switch ((date.month - 1) / 3) {
    case 0:
        return "winter";
    case 1:
        return "spring";
    case 2:
        return "summer";
    default:
        return "autumn";
    }
}

struct Event {
    std::string uid;
    std::string summary;
    std::string description;
    std::string_view category;
};

void AppendEvent(std::string& out, const Event& e, const CivilDate& date, std::int64_t stamp) {
    AppendIcsLine(out, "BEGIN:VEVENT");
    AppendIcsLine(out, "UID:" + e.uid + std::string(kUidDomain));
    const LocalMoment made = LocalMomentOf(stamp, 0);
    AppendIcsLine(out, "DTSTAMP:" + BasicDate(made.date) + "T" + Two(made.minute / 60) +
                           Two(made.minute % 60) + "00Z");
    AppendIcsLine(out, "DTSTART;VALUE=DATE:" + BasicDate(date));
    AppendIcsLine(out, "DTEND;VALUE=DATE:" + BasicDate(CivilFromDays(DaysFromCivil(date) + 1)));
    AppendIcsLine(out, "SUMMARY:" + IcsText(e.summary));
    if (!e.description.empty())
        AppendIcsLine(out, "DESCRIPTION:" + IcsText(e.description));
    AppendIcsLine(out, "CATEGORIES:" + IcsText(e.category));
    AppendIcsLine(out, "TRANSP:TRANSPARENT");
    AppendIcsLine(out, "END:VEVENT");
}

std::string_view NamedDayKey(NamedDay day) {
    static constexpr std::string_view kKeys[kNamedDayCount] = {
        "setsubun",       "higan-start", "higan-end", "shanichi",  "hachijuhachiya",
        "nyubai",         "hangesho",    "doyo",      "doyo-ushi", "nihyakutoka",
        "nihyakuhatsuka", "chushu",      "jusanya"};
    return kKeys[static_cast<int>(day)];
}

} // namespace

std::string IcsText(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case ';':
            out += "\\;";
            break;
        case ',':
            out += "\\,";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            break;
        default:
            out += c;
        }
    }
    return out;
}

void AppendIcsLine(std::string& out, std::string_view line) {
    std::size_t limit = kFoldOctets; // the first line; the others have a space first
    while (line.size() > limit) {
        std::size_t cut = limit;
        // Back to the start of a UTF-8 character.
        while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80)
            --cut;
        out += line.substr(0, cut);
        out += "\r\n ";
        line.remove_prefix(cut);
        limit = kFoldOctets - 1;
    }
    out += line;
    out += "\r\n";
}

void AppendIcsHead(std::string& out, std::string_view placeName) {
    AppendIcsLine(out, "BEGIN:VCALENDAR");
    AppendIcsLine(out, "VERSION:2.0");
    AppendIcsLine(out, "PRODID:" + std::string(kIcsProductId));
    AppendIcsLine(out, "CALSCALE:GREGORIAN");
    AppendIcsLine(out, "METHOD:PUBLISH");
    AppendIcsLine(out, "X-WR-CALNAME:" + IcsText("刻しらべ " + std::string(placeName)));
}

void AppendIcsEnd(std::string& out) {
    AppendIcsLine(out, "END:VCALENDAR");
}

void AppendIcsDay(std::string& out, const HoursRow& row, bool rokuyo, std::int64_t stamp) {
    const CivilDate& date = row.day.date;
    const DayNames& names = row.names;
    const int jdn = JdnFromCivil(date);
    const std::string zone = Zone(row.place.timeDiff);
    const std::string year = std::to_string(date.year);
    if (names.term.jdn == jdn) {
        const int term = names.term.term;
        AppendEvent(out,
                    {"sekki-" + year + "-" + Two(term) + "-" + zone,
                     std::string(kSolarTermNames[static_cast<std::size_t>(term)]),
                     "二十四節気（太陽黄経" + std::to_string(SolarTermLongitude(term)) + "°） " +
                         FormatClock(names.term.minute) + " から",
                     "二十四節気"},
                    date, stamp);
    }
    for (int i = 0; i < kNamedDayCount; ++i) {
        const auto day = static_cast<NamedDay>(i);
        if (!(names.namedDays & NamedDayBit(day)))
            continue;
        std::string uid = std::string(NamedDayKey(day)) + "-";
        switch (day) {
        case NamedDay::kHiganStart:
        case NamedDay::kHiganEnd:
        case NamedDay::kShanichi:
            uid += year + "-" + std::string(HalfOfYear(date));
            break;
        case NamedDay::kDoyoStart:
            uid += year + "-" + std::string(Doyo(date));
            break;
        case NamedDay::kChushu:
        case NamedDay::kJusanya:
            uid += std::to_string(names.lunisolar ? names.lunisolar->year : date.year);
            break;
        case NamedDay::kDoyoUshi:
            uid += BasicDate(date);
            break;
        default:
            uid += year;
        }
        const bool moon = day == NamedDay::kChushu || day == NamedDay::kJusanya;
        AppendEvent(out,
                    {uid + (moon ? "" : "-" + zone), std::string(NamedDayName(day)), "",
                     moon ? "旧暦" : "雑節"},
                    date, stamp);
    }
    if (row.moon.phase) {
        const int phase = *row.moon.phase;
        AppendEvent(out,
                    {"moon-" + std::to_string(phase) + "-" + BasicDate(date) + "-" + zone,
                     std::string(kMoonPhaseNames[static_cast<std::size_t>(phase)]),
                     "月齢 " +
                         [&] {
                             std::string age;
                             AppendTenths(age, row.moon.AgeTenths());
                             return age;
                         }() +
                         "（正午）",
                     "月相"},
                    date, stamp);
    }
    if (names.lunisolar && names.lunisolar->day == 1) {
        const LunisolarDate& l = *names.lunisolar;
        const int length = LunisolarMonthLength(l.year, l.month, l.leap);
        std::string description = length == 30 ? "大の月（30日）" : "小の月（29日）";
        if (!names.lunisolarNote.empty())
            description += "\n" + names.lunisolarNote;
        AppendEvent(out,
                    {"kyureki-" + std::to_string(l.year) + "-" + Two(l.month) + (l.leap ? "L" : ""),
                     "旧暦" + FormatLunisolarDate(l), description, "旧暦"},
                    date, stamp);
    }
    if (rokuyo && names.rokuyo)
        AppendEvent(
            out, {"rokuyo-" + BasicDate(date), std::string(RokuyoName(*names.rokuyo)), "", "六曜"},
            date, stamp);
}

} // namespace tolmeri
