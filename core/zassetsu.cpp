#include "core/zassetsu.h"

#include <array>

#include "core/civil_date.h"
#include "core/kanshi.h"
#include "core/solar_terms.h"

namespace tolmeri {

namespace {

constexpr std::array<std::string_view, kNamedDayCount> kNames = {
    "節分",       "彼岸の入り",   "彼岸明け", "社日",       "八十八夜",   "入梅",  "半夏生",
    "土用の入り", "土用の丑の日", "二百十日", "二百二十日", "中秋の名月", "十三夜"};

constexpr int kRisshun = 0, kShunbun = 3, kRikka = 6, kRisshu = 12, kShubun = 15, kRitto = 18;
constexpr int kTsuchinoe = 4; // 戊 among the ten stems
constexpr int kUshi = 1;      // 丑 among the twelve branches

// The 雑節 of one Gregorian year at one time difference, as (day, bit)
// pairs; at most 27 (four 土用 of at most three 丑 days each).
struct YearDays {
    int year = 0;
    int timeDiff = 0;
    bool valid = false;
    int count = 0;
    std::array<int, 32> jdn{};
    std::array<NamedDays, 32> bits{};

    void Add(int day, NamedDay what) {
        if (count < static_cast<int>(jdn.size())) {
            jdn[count] = day;
            bits[count++] = NamedDayBit(what);
        }
    }
};

// The 戊 day nearest an equinox (a term start).
int Shanichi(const SolarTermStart& equinox) {
    const int stem = DayKanshi(equinox.jdn) % 10;
    int ahead = (kTsuchinoe - stem + 10) % 10; // days to the next 戊, 0-9
    if (ahead > 5 || (ahead == 5 && equinox.minute < 720))
        ahead -= 10;
    return equinox.jdn + ahead;
}

YearDays PlaceYear(int year, int timeDiff) {
    YearDays y;
    y.year = year;
    y.timeDiff = timeDiff;
    const std::array<SolarTermStart, kSolarTermCount> terms = SolarTermsOfYear(year, timeDiff);
    std::array<SolarTermStart, kSolarTermCount> byTerm{};
    for (const SolarTermStart& t : terms)
        byTerm[static_cast<std::size_t>(t.term)] = t;
    const int risshun = byTerm[kRisshun].jdn;
    y.Add(risshun - 1, NamedDay::kSetsubun);
    y.Add(risshun + 87, NamedDay::kHachijuHachiya);
    y.Add(risshun + 209, NamedDay::kNihyakuToka);
    y.Add(risshun + 219, NamedDay::kNihyakuHatsuka);
    for (int equinox : {kShunbun, kShubun}) {
        y.Add(byTerm[equinox].jdn - 3, NamedDay::kHiganStart);
        y.Add(byTerm[equinox].jdn + 3, NamedDay::kHiganEnd);
        y.Add(Shanichi(byTerm[equinox]), NamedDay::kShanichi);
    }
    const double jan1 = JdnFromCivil({year, 1, 1}) - 0.5;
    const auto dayAt = [&](double longitude, double daysIn) {
        return LocalStart(0, SunLongitudeMoment(longitude, jan1 + daysIn), timeDiff).jdn;
    };
    y.Add(dayAt(80.0, 161.0), NamedDay::kNyubai);
    y.Add(dayAt(100.0, 182.0), NamedDay::kHangesho);
    // Each 土用 from its start to the day before the next season's term.
    const struct {
        double longitude, daysIn;
        int endTerm;
    } doyo[] = {{297.0, 16.0, kRisshun},
                {27.0, 106.0, kRikka},
                {117.0, 200.0, kRisshu},
                {207.0, 292.0, kRitto}};
    for (const auto& d : doyo) {
        const int start = dayAt(d.longitude, d.daysIn);
        y.Add(start, NamedDay::kDoyoStart);
        for (int day = start; day < byTerm[static_cast<std::size_t>(d.endTerm)].jdn; ++day)
            if (DayKanshi(day) % 12 == kUshi)
                y.Add(day, NamedDay::kDoyoUshi);
    }
    y.valid = true;
    return y;
}

const YearDays& YearOf(int year, int timeDiff) {
    thread_local std::array<YearDays, 2> t_cache;
    YearDays& slot = t_cache[static_cast<std::size_t>(year & 1)];
    if (!slot.valid || slot.year != year || slot.timeDiff != timeDiff)
        slot = PlaceYear(year, timeDiff);
    return slot;
}

} // namespace

std::string_view NamedDayName(NamedDay day) {
    return kNames[static_cast<std::size_t>(day)];
}

NamedDays NamedDaysOn(int jdn, int timeDiffHours, const std::optional<LunisolarDate>& lunisolar) {
    NamedDays days = 0;
    const YearDays& year = YearOf(CivilFromJdn(jdn).year, timeDiffHours);
    for (int i = 0; i < year.count; ++i)
        if (year.jdn[i] == jdn)
            days |= year.bits[i];
    if (lunisolar && !lunisolar->leap) {
        if (lunisolar->month == 8 && lunisolar->day == 15)
            days |= NamedDayBit(NamedDay::kChushu);
        if (lunisolar->month == 9 && lunisolar->day == 13)
            days |= NamedDayBit(NamedDay::kJusanya);
    }
    return days;
}

std::string FormatNamedDays(NamedDays days) {
    std::string text;
    for (int i = 0; i < kNamedDayCount; ++i)
        if (days & (1u << i)) {
            if (!text.empty())
                text += "・";
            text += kNames[static_cast<std::size_t>(i)];
        }
    return text;
}

} // namespace tolmeri
