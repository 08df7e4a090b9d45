#include "core/lunisolar_computed.h"

#include <array>
#include <cmath>

#include "core/civil_date.h"
#include "core/moon.h"
#include "core/solar_terms.h"

namespace tolmeri {

namespace {

// The months of one 冬至 year ("sui"): from the 11月 that holds 冬至 of year
// w-1 to the month before the 11月 that holds 冬至 of year w.
struct Sui {
    int w = 0;
    bool valid = false;
    int count = 0;               // 12 or 13
    std::array<int, 14> start{}; // first days; start[count] is the next 11月's
    std::array<int, 13> year{};
    std::array<int, 13> month{};
    std::array<bool, 13> leap{};
    // Per month, a bit (1 << n) for each 中気 whose day falls in it, n the
    // month that 中気 names (雨水 1, 春分 2, … 冬至 11, 大寒 12).
    std::array<unsigned, 13> zhongqi{};
    int leapIndex = -1;
};

constexpr double kJapanOffsetDays = 9.0 / 24.0;

// The day in Japan Standard Time of a moment of universal time.
int JapanDay(double jdUT) {
    return static_cast<int>(std::floor(jdUT + 0.5 + kJapanOffsetDays));
}

// New moons by their lunation, 0 the one of 2000-01-06: the mean moment is
// the seed, so a lunation's moment is the same whichever year asks for it.
constexpr double kLunationZero = 2451550.09766;
constexpr double kMeanLunation = 29.530588861;
int NewMoonDay(int lunation) {
    return JapanDay(MoonPhaseMoment(0, kLunationZero + kMeanLunation * lunation));
}

constexpr int kWinterSolsticeTerm = 21; // 冬至 in kSolarTermNames
constexpr unsigned kPivots = (1u << 2) | (1u << 5) | (1u << 8) | (1u << 11);

// The moment of a 中気 (an odd term) of a Gregorian year, from a seed near it.
int TermDay(int term, double jdNear) {
    return JapanDay(SolarTermMoment(term, jdNear));
}

// Numbers the months of s with the leap month at leapIndex (-1 for none):
// 11月 first, then on, the leap month repeating its predecessor's number.
void Number(const Sui& s, int leapIndex, std::array<int, 13>& month, std::array<int, 13>& year,
            std::array<bool, 13>& leap) {
    int m = 11, y = s.w - 1;
    for (int i = 0; i < s.count; ++i) {
        leap[i] = i == leapIndex;
        if (i > 0 && !leap[i]) {
            m = m % 12 + 1;
            if (m == 1)
                y = s.w;
        }
        month[i] = m;
        year[i] = y;
    }
}

// Whether numbering s with that leap month keeps 冬至, 春分, 夏至 and 秋分
// in 11月, 2月, 5月 and 8月.
bool KeepsPivots(const Sui& s, int leapIndex) {
    std::array<int, 13> month{}, year{};
    std::array<bool, 13> leap{};
    Number(s, leapIndex, month, year, leap);
    for (int i = 0; i < s.count; ++i) {
        const unsigned pivots = s.zhongqi[i] & kPivots;
        if (pivots && (leap[i] || pivots != (1u << month[i])))
            return false;
    }
    return true;
}

Sui ComputeSui(int w) {
    Sui s;
    s.w = w;
    const double solstice0 =
        SolarTermMoment(kWinterSolsticeTerm, JdnFromCivil({w - 1, 12, 21}) - 0.5);
    const int first = JapanDay(solstice0);
    const int last = TermDay(kWinterSolsticeTerm, JdnFromCivil({w, 12, 21}) - 0.5);
    // The lunation whose day is the last on or before the first 冬至's.
    int lunation = static_cast<int>(std::floor((solstice0 - kLunationZero) / kMeanLunation));
    int day = NewMoonDay(lunation);
    while (day > first)
        day = NewMoonDay(--lunation);
    for (int next = NewMoonDay(lunation + 1); next <= first; next = NewMoonDay(lunation + 1)) {
        day = next;
        ++lunation;
    }
    s.start[0] = day;
    int n = 0;
    for (int next = NewMoonDay(++lunation); next <= last && n < 13; next = NewMoonDay(++lunation))
        s.start[++n] = next;
    s.count = n;
    if (n != 12 && n != 13)
        return s; // cannot happen for real new moons and terms

    // The 中気 after the first 冬至: 大寒 (term 23), 雨水 (1), 春分 (3), … 小雪 (19).
    s.zhongqi[0] = 1u << 11;
    for (int k = 0; k < 11; ++k) {
        const int term = (23 + 2 * k) % kSolarTermCount;
        const int termDay = TermDay(term, solstice0 + 30.44 * (k + 1));
        for (int i = 0; i < s.count; ++i)
            if (termDay >= s.start[i] && termDay < s.start[i + 1])
                s.zhongqi[i] |= 1u << ((term + 1) / 2);
    }
    if (s.count == 13)
        for (int i = 1; i < 13 && s.leapIndex < 0; ++i)
            if (s.zhongqi[i] == 0)
                s.leapIndex = i;
    Number(s, s.leapIndex, s.month, s.year, s.leap);
    s.valid = true;
    return s;
}

// The last few 冬至 years computed by this thread, one slot per w mod 4:
// three consecutive years never share a slot, so references to them stay
// good while they are used together.
const Sui& SuiOf(int w) {
    thread_local std::array<Sui, 4> t_cache;
    Sui& slot = t_cache[static_cast<std::size_t>(w & 3)];
    if (slot.w != w || !slot.valid)
        slot = ComputeSui(w);
    return slot;
}

int FirstSui() {
    return kComputedLunisolarFirstYear + 1;
}
int LastSui() {
    return kComputedLunisolarLastYear + 1;
}

// The 冬至 year a day lies in; 0 outside the computed span.
int SuiYearOf(int jdn) {
    if (jdn >= kComputedLunisolarEndJdn)
        return 0;
    const CivilDate date = CivilFromJdn(jdn);
    // An 11月 begins between 11-22 and 12-22 (it holds 冬至).
    if (date.month < 11 || (date.month == 11 && date.day < 22))
        return date.year >= FirstSui() && date.year <= LastSui() ? date.year : 0;
    const int w = date.year + 1;
    if (w < FirstSui() || w > LastSui())
        return 0;
    return jdn >= SuiOf(w).start[0] ? w : (w - 1 >= FirstSui() ? w - 1 : 0);
}

ComputedMonth MonthAt(const Sui& s, int i) {
    return {s.year[i], s.month[i], s.leap[i], s.start[i], s.start[i + 1] - s.start[i]};
}

std::string LeapName(int year, int month) {
    return std::to_string(year) + "年閏" + std::to_string(month) + "月";
}

// A leap month placed by choice (see the header): the thirteen-month 冬至
// year w whose leap month could also lie elsewhere. first and end bound the
// months whose names differ between the readings.
struct Episode {
    bool any = false;
    int first = 0, end = 0;
    std::string text;
};

Episode EpisodeOf(int w) {
    Episode e;
    if (w < FirstSui() || w > LastSui())
        return e;
    const Sui& s = SuiOf(w);
    if (!s.valid || s.count != 13)
        return e;
    const int chosen = s.leapIndex;
    // The other readings, in date order: a leap month in the year before
    // when that year cannot keep its fixed points, or another month of
    // this year without a 中気 that keeps them.
    struct Other {
        int firstJdn, endJdn;
        std::string name;
    };
    std::array<Other, 13> others{};
    int count = 0;
    if (w - 1 >= FirstSui()) {
        const Sui& before = SuiOf(w - 1);
        if (before.valid && before.count == 12 && !KeepsPivots(before, -1))
            for (int i = 1; i < before.count; ++i)
                if (before.zhongqi[i] == 0) {
                    // That month as the leap month: the one before it repeated.
                    const int m = before.month[i] == 1 ? 12 : before.month[i] - 1;
                    const int y = before.month[i] == 1 ? before.year[i] - 1 : before.year[i];
                    others[count++] = {before.start[i], before.start[i + 1], LeapName(y, m)};
                }
    }
    for (int i = 1; i < s.count; ++i) {
        if (i == chosen || s.zhongqi[i] != 0 || !KeepsPivots(s, i))
            continue;
        const int m = i < chosen ? (s.month[i] == 1 ? 12 : s.month[i] - 1) : s.month[i];
        const int y = i < chosen && s.month[i] == 1 ? s.year[i] - 1 : s.year[i];
        others[count++] = {s.start[i], s.start[i + 1], LeapName(y, m)};
    }
    if (count == 0)
        return e;
    e.any = true;
    e.first = std::min(others[0].firstJdn, s.start[chosen]);
    e.end = std::max(others[count - 1].endJdn, s.start[chosen + 1]);
    e.text = "旧暦" + LeapName(s.year[chosen], s.month[chosen]) +
             "は日本カレンダー暦文化振興協会の2015年の推奨による（天保暦の規則では月の名が一つに"
             "決まらない。冬至の月を11月とし、その後で最初の中気のない月を閏月とする。ほかの読み方"
             "は ";
    for (int k = 0; k < count; ++k)
        e.text += (k ? "、" : "") + others[k].name;
    e.text += "）";
    return e;
}

} // namespace

std::optional<ComputedMonth> ComputedMonthOf(int jdn) {
    const int w = SuiYearOf(jdn);
    if (w == 0)
        return std::nullopt;
    const Sui& s = SuiOf(w);
    if (!s.valid || jdn < s.start[0])
        return std::nullopt;
    for (int i = 0; i < s.count; ++i)
        if (jdn < s.start[i + 1])
            return MonthAt(s, i);
    return std::nullopt;
}

std::optional<ComputedMonth> ComputedMonthNamed(int year, int month, bool leap) {
    if (year < kComputedLunisolarFirstYear || year > kComputedLunisolarLastYear || month < 1 ||
        month > 12 || (year == kComputedLunisolarFirstYear && month < 11))
        return std::nullopt;
    // 11月 and 12月 (and their leap months) begin in the 冬至 year after.
    const Sui& s = SuiOf(month >= 11 ? year + 1 : year);
    if (!s.valid)
        return std::nullopt;
    for (int i = 0; i < s.count; ++i)
        if (s.year[i] == year && s.month[i] == month && s.leap[i] == leap)
            return MonthAt(s, i);
    return std::nullopt;
}

int ComputedLeapMonth(int year) {
    if (year < kComputedLunisolarFirstYear || year > kComputedLunisolarLastYear)
        return 0;
    for (int w : {year, year + 1}) {
        if (w < FirstSui())
            continue;
        const Sui& s = SuiOf(w);
        if (s.valid && s.leapIndex >= 0 && s.year[s.leapIndex] == year)
            return s.month[s.leapIndex];
    }
    return 0;
}

std::string ComputedMonthNote(int jdn) {
    const int w = SuiYearOf(jdn);
    if (w == 0)
        return {};
    for (int candidate : {w, w + 1}) {
        const Episode e = EpisodeOf(candidate);
        if (e.any && jdn >= e.first && jdn < e.end)
            return e.text;
    }
    return {};
}

} // namespace tolmeri
