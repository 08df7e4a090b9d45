#include "core/calendar.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <vector>

#include "core/calendar_data.h"
#include "core/civil_date.h"
#include "core/kanshi.h"
#include "core/lunisolar_computed.h"
#include "core/typed_text.h"
#include "core/utf8.h"

namespace tolmeri {

namespace data = calendar_data;

static_assert(kLunisolarFirstJdn == data::kLunisolarFirstJdn);
static_assert(kLunisolarEndJdn == data::kLunisolarEndJdn);
static_assert(kLunisolarFirstYear == data::kFirstLunisolarYear);
static_assert(kLunisolarLastYear == data::kLastLunisolarYear);

namespace {

// The last day the present era's dates reach: 9999-12-31.
constexpr int kLastCoveredJdn = 5373484;

const data::LunisolarYear* FindYear(int year) {
    if (year < kLunisolarFirstYear || year > kLunisolarLastYear)
        return nullptr;
    return &data::kLunisolarYears[year - kLunisolarFirstYear];
}

int MonthCount(const data::LunisolarYear& y) {
    return y.leapMonth ? 13 : 12;
}

// Position of a month within its year, counting the leap month; -1 for none.
int MonthIndex(const data::LunisolarYear& y, int month, bool leap) {
    if (month < 1 || month > 12 || (leap && y.leapMonth != month))
        return -1;
    const bool afterLeap = y.leapMonth && (month > y.leapMonth || leap);
    return month - 1 + (afterLeap ? 1 : 0);
}

int IndexedMonthLength(const data::LunisolarYear& y, int index) {
    return (y.longMonths >> index) & 1 ? 30 : 29;
}

} // namespace

// ---------------------------------------------------------------------------
// Lunisolar calendar: the historical table up to 明治5年12月2日, then the
// computed months (core/lunisolar_computed.h). Era dates count in the table
// alone: 明治5年12月 has two days.

namespace {

int TableMonthLength(int year, int month, bool leap);

std::optional<LunisolarDate> TableFromJdn(int jdn) {
    if (jdn < kLunisolarFirstJdn || jdn >= kLunisolarEndJdn)
        return std::nullopt;
    const auto* first = std::begin(data::kLunisolarYears);
    const auto* last = std::end(data::kLunisolarYears);
    const auto* y =
        std::upper_bound(first, last, jdn,
                         [](int day, const data::LunisolarYear& r) { return day < r.newYearJdn; }) -
        1;
    int start = y->newYearJdn;
    for (int i = 0;; ++i) {
        const int length = IndexedMonthLength(*y, i);
        if (jdn < start + length || i + 1 == MonthCount(*y)) {
            const bool leap = y->leapMonth && i == y->leapMonth;
            const int month = i + 1 - (y->leapMonth && i >= y->leapMonth ? 1 : 0);
            return LunisolarDate{static_cast<int>(y - first) + kLunisolarFirstYear, month, leap,
                                 jdn - start + 1};
        }
        start += length;
    }
}

std::optional<int> TableJdn(const LunisolarDate& date) {
    const int length = TableMonthLength(date.year, date.month, date.leap);
    if (length == 0 || date.day < 1 || date.day > length)
        return std::nullopt;
    const auto& y = *FindYear(date.year);
    int jdn = y.newYearJdn;
    for (int i = 0; i < MonthIndex(y, date.month, date.leap); ++i)
        jdn += IndexedMonthLength(y, i);
    return jdn + date.day - 1;
}

int TableLeapMonth(int year) {
    const auto* y = FindYear(year);
    return y ? y->leapMonth : 0;
}

int TableMonthLength(int year, int month, bool leap) {
    const auto* y = FindYear(year);
    if (!y)
        return 0;
    const int index = MonthIndex(*y, month, leap);
    if (index < 0)
        return 0;
    const int length = IndexedMonthLength(*y, index);
    // 明治5年12月 ended after two days, when the Gregorian calendar began.
    if (year == kLunisolarLastYear && index == MonthCount(*y) - 1) {
        int start = y->newYearJdn;
        for (int i = 0; i < index; ++i)
            start += IndexedMonthLength(*y, i);
        return std::min(length, kLunisolarEndJdn - start);
    }
    return length;
}

int TableNewYearJdn(int year) {
    const auto* y = FindYear(year);
    return y ? y->newYearJdn : 0;
}

} // namespace

std::optional<LunisolarDate> LunisolarFromJdn(int jdn) {
    if (jdn < kLunisolarEndJdn)
        return TableFromJdn(jdn);
    const std::optional<ComputedMonth> m = ComputedMonthOf(jdn);
    if (!m)
        return std::nullopt;
    return LunisolarDate{m->year, m->month, m->leap, jdn - m->firstJdn + 1};
}

std::optional<int> JdnFromLunisolar(const LunisolarDate& date) {
    const int length = LunisolarMonthLength(date.year, date.month, date.leap);
    if (length == 0 || date.day < 1 || date.day > length)
        return std::nullopt;
    int first = 0;
    if (date.year <= kLunisolarLastYear)
        first = *TableJdn({date.year, date.month, date.leap, 1});
    else
        first = ComputedMonthNamed(date.year, date.month, date.leap)->firstJdn;
    const int jdn = first + date.day - 1;
    if (jdn >= kComputedLunisolarEndJdn)
        return std::nullopt;
    return jdn;
}

int LunisolarLeapMonth(int year) {
    return year <= kLunisolarLastYear ? TableLeapMonth(year) : ComputedLeapMonth(year);
}

int LunisolarMonthLength(int year, int month, bool leap) {
    // The table's last month ran on as the computed months' first.
    if (year > kLunisolarLastYear || (year == kLunisolarLastYear && month == 12 && !leap)) {
        const std::optional<ComputedMonth> m = ComputedMonthNamed(year, month, leap);
        return m ? m->days : 0;
    }
    return TableMonthLength(year, month, leap);
}

int LunisolarNewYearJdn(int year) {
    if (year <= kLunisolarLastYear)
        return TableNewYearJdn(year);
    const std::optional<ComputedMonth> m = ComputedMonthNamed(year, 1, false);
    return m ? m->firstJdn : 0;
}

// ---------------------------------------------------------------------------
// Eras

namespace {

// The year of a day counted from an era's 元年 (lunisolar before 1873).
struct CountedDay {
    int year;
    bool leap;
    int month;
    int day;
};

CountedDay CountDay(int jdn) {
    if (const auto ls = TableFromJdn(jdn))
        return {ls->year, ls->leap, ls->month, ls->day};
    const CivilDate g = CivilFromJdn(jdn);
    return {g.year, false, g.month, g.day};
}

EraDate InEra(int era, const CountedDay& c) {
    return {era, c.year - data::kEras[era].firstYear + 1, c.leap, c.month, c.day};
}

const std::array<EraInfo, data::kEraCount>& EraTable() {
    static const std::array<EraInfo, data::kEraCount> table = [] {
        std::array<EraInfo, data::kEraCount> t{};
        for (int i = 0; i < data::kEraCount; ++i) {
            const data::Era& e = data::kEras[i];
            EraInfo& info = t[i];
            info.name = e.name;
            info.firstYear = e.firstYear;
            info.court = static_cast<EraCourt>(e.court);
            info.startJdn = e.startJdn;
            info.firstJdn = e.firstJdn;
            info.lastJdn = e.endJdn == data::kOpenEnd ? kLastCoveredJdn : e.endJdn - 1;
            info.lastYear = CountDay(info.lastJdn).year - e.firstYear + 1;
        }
        return t;
    }();
    return table;
}

} // namespace

int EraCount() {
    return data::kEraCount;
}

const EraInfo& GetEra(int index) {
    return EraTable()[index];
}

int FindEra(std::string_view name) {
    for (int i = 0; i < data::kEraCount; ++i)
        if (data::kEras[i].name == name)
            return i;
    return -1;
}

int EraOnDay(int jdn, Court court) {
    const bool south = court == Court::kSouthern;
    const data::EraPeriod* first = south ? data::kSouthernPeriods : data::kNorthernPeriods;
    const data::EraPeriod* last =
        first + (south ? data::kSouthernPeriodCount : data::kNorthernPeriodCount);
    const auto* p = std::upper_bound(
        first, last, jdn, [](int day, const data::EraPeriod& r) { return day < r.startJdn; });
    return p == first ? -1 : (p - 1)->era;
}

EraDate EraDateInEra(int era, int jdn) {
    return InEra(era, CountDay(jdn));
}

std::optional<EraDate> EraDateFromJdn(int jdn, Court court) {
    const int era = EraOnDay(jdn, court);
    if (era < 0)
        return std::nullopt;
    return EraDateInEra(era, jdn);
}

EraDates EraDatesFromJdn(int jdn) {
    EraDates dates;
    const int south = EraOnDay(jdn, Court::kSouthern);
    const int north = EraOnDay(jdn, Court::kNorthern);
    if (south < 0 && north < 0)
        return dates;
    const CountedDay c = CountDay(jdn);
    auto in = [&c](int era) -> std::optional<EraDate> {
        if (era < 0)
            return std::nullopt;
        return InEra(era, c);
    };
    dates.southern = in(south);
    dates.northern = in(north);
    return dates;
}

namespace {

int LastYearOf(int era) {
    return GetEra(era).lastYear;
}

} // namespace

namespace {

// The day an era date counts to from its era's 元年, whether or not the era
// was in force on it: every check but the era's days.
EraDateResult CountedJdn(const EraDate& date) {
    if (date.era < 0 || date.era >= data::kEraCount)
        return {0, EraDateError::kUnknownEra, {}};
    const EraInfo& info = GetEra(date.era);
    if (date.year < 1 || date.year > LastYearOf(date.era))
        return {0, EraDateError::kYearOutsideEra, {}};
    const int year = info.firstYear + date.year - 1;
    if (date.month < 1 || date.month > 12)
        return {0, EraDateError::kNoSuchMonth, {}};
    int jdn = 0;
    if (year <= kLunisolarLastYear) {
        if (date.leap && TableLeapMonth(year) != date.month)
            return {0, EraDateError::kNoSuchLeapMonth, {}};
        const auto day = TableJdn({year, date.month, date.leap, date.day});
        if (!day)
            return {0, EraDateError::kNoSuchDay, {}};
        jdn = *day;
    } else {
        if (date.leap)
            return {0, EraDateError::kNoSuchLeapMonth, {}};
        const CivilDate civil{year, date.month, date.day};
        if (!IsValidDate(civil))
            return {0, EraDateError::kNoSuchDay, {}};
        jdn = JdnFromCivil(civil);
    }
    return {jdn, EraDateError::kNone, {}};
}

} // namespace

EraDateResult JdnFromEraDate(const EraDate& date) {
    const EraDateResult counted = CountedJdn(date);
    if (counted.error != EraDateError::kNone)
        return counted;
    const EraInfo& info = GetEra(date.era);
    if (counted.jdn < info.firstJdn || counted.jdn > info.lastJdn)
        return {0, EraDateError::kDateOutsideEra, {}};
    return counted;
}

namespace {

// The court an era was in force in on one of its own days: the Southern
// court's where both had it, as the plain era dates are.
Court CourtOfEraOn(int era, int jdn) {
    if (EraOnDay(jdn, Court::kSouthern) != era && EraOnDay(jdn, Court::kNorthern) == era)
        return Court::kNorthern;
    return Court::kSouthern;
}

// The reigns by whose years the sources count the days of an era's first
// year before its proclamation, where no era was in force: 日本書紀
// (皇極天皇4年 is 645, 天武天皇15年 686) and 続日本紀 (文武天皇5年 is 701).
struct ReignBeforeEra {
    std::string_view era;
    std::string_view reign;
    int firstYear; // the lunisolar year of the reign's 元年
};
constexpr ReignBeforeEra kReignsBeforeEras[] = {
    {"大化", "皇極天皇", 642}, {"朱鳥", "天武天皇", 672}, {"大宝", "文武天皇", 697}};

const ReignBeforeEra* ReignBefore(std::string_view era) {
    for (const ReignBeforeEra& reign : kReignsBeforeEras)
        if (reign.era == era)
            return &reign;
    return nullptr;
}

// "3月18日", "閏7月13日": the month and day of a day, as its era date has them.
std::string MonthDayText(int jdn) {
    const CountedDay c = CountDay(jdn);
    return (c.leap ? "閏" : "") + std::to_string(c.month) + "月" + std::to_string(c.day) + "日";
}

} // namespace

EraDateResult JdnFromEraDateAsWritten(const EraDate& date) {
    const EraDateResult counted = CountedJdn(date);
    if (counted.error != EraDateError::kNone)
        return counted;
    const EraInfo& info = GetEra(date.era);
    const int jdn = counted.jdn;
    if (jdn >= info.firstJdn && jdn <= info.lastJdn)
        return counted;
    // The old era kept after its change, to the end of that year. The note
    // names the change that began the era in force, which is not the old
    // era's end when another era came between (天平 to 天平感宝 on 4月14日,
    // to 天平勝宝 on 7月2日).
    if (date.year == info.lastYear && jdn > info.lastJdn) {
        if (const auto inForce = EraDateFromJdn(jdn, CourtOfEraOn(date.era, info.lastJdn)))
            return {jdn, EraDateError::kNone,
                    FormatEraDate(date) + " は " + FormatEraDate(*inForce) + "（" +
                        MonthDayText(std::max(info.lastJdn + 1, GetEra(inForce->era).firstJdn)) +
                        "に改元）"};
    }
    // The new era's name for the whole of its first year; before an era that
    // follows years without one, the days are the reign's.
    if (date.year == 1 && jdn < info.firstJdn) {
        const std::string change =
            "（" + std::string(info.name) + "への改元は" + MonthDayText(info.firstJdn) + "）";
        if (const auto inForce = EraDateFromJdn(jdn, CourtOfEraOn(date.era, info.firstJdn)))
            return {jdn, EraDateError::kNone,
                    FormatEraDate(date) + " は " + FormatEraDate(*inForce) + change};
        if (const ReignBeforeEra* reign = ReignBefore(info.name))
            return {jdn, EraDateError::kNone,
                    FormatEraDate(date) + " は " + std::string(reign->reign) +
                        std::to_string(info.firstYear - reign->firstYear + 1) + "年" +
                        MonthDayText(jdn) + change};
    }
    return {0, EraDateError::kDateOutsideEra, {}};
}

namespace {

std::string YearText(int year) {
    return year == 1 ? "元" : std::to_string(year);
}

} // namespace

std::string FormatEraDate(const EraDate& date) {
    if (date.era < 0 || date.era >= data::kEraCount)
        return {};
    std::string text(data::kEras[date.era].name);
    text += YearText(date.year);
    text += "年";
    if (date.leap)
        text += "閏";
    text += std::to_string(date.month);
    text += "月";
    text += std::to_string(date.day);
    text += "日";
    return text;
}

std::string FormatEraDates(const EraDates& dates) {
    if (dates.CourtsDiffer() && dates.southern && dates.northern)
        return FormatEraDate(*dates.southern) + "（南朝）・" + FormatEraDate(*dates.northern) +
               "（北朝）";
    if (dates.southern || dates.northern)
        return FormatEraDate(dates.southern ? *dates.southern : *dates.northern);
    return {};
}

std::string FormatLunisolarDate(const LunisolarDate& date) {
    return std::to_string(date.year) + (date.leap ? "年閏" : "年") + std::to_string(date.month) +
           "月" + std::to_string(date.day) + "日";
}

std::string FormatEraYearsOfDays(int firstJdn, int endJdn) {
    // Runs of one era: its first and last year.
    struct Run {
        int era, first, last;
    };
    std::vector<Run> runs;
    for (int jdn = firstJdn; jdn < endJdn; ++jdn) {
        const std::optional<EraDate> date = EraDateFromJdn(jdn);
        if (!date)
            continue;
        if (!runs.empty() && runs.back().era == date->era)
            runs.back().last = date->year;
        else
            runs.push_back({date->era, date->year, date->year});
    }
    std::string text;
    for (const Run& run : runs) {
        text += text.empty() ? "" : "・";
        text += data::kEras[run.era].name;
        text += YearText(run.first);
        if (run.last != run.first)
            text += "～" + YearText(run.last);
        text += "年";
    }
    return text;
}

std::string FormatYearWithEras(int year) {
    const std::string eras =
        FormatEraYearsOfDays(JdnFromCivil({year, 1, 1}), JdnFromCivil({year + 1, 1, 1}));
    const std::string text = std::to_string(year) + "年";
    return eras.empty() ? text : text + "（" + eras + "）";
}

// ---------------------------------------------------------------------------
// Reading era dates

namespace {

constexpr char32_t kJuu = U'十';
constexpr char32_t kNijuu = U'廿';
constexpr char32_t kSanjuu = U'卅';

constexpr char32_t kFormalJuu = U'拾';

// 0-9 for a kanji digit (〇 and 一 to 九, and the formal 壱弐参 and their old
// forms 壹貳參, as deeds and accounts write them), -1 otherwise.
int KanjiDigit(char32_t c) {
    static constexpr char32_t kDigits[] = {U'〇', U'一', U'二', U'三', U'四',
                                           U'五', U'六', U'七', U'八', U'九'};
    for (int i = 0; i < 10; ++i)
        if (kDigits[i] == c)
            return i;
    static constexpr struct {
        char32_t c;
        int value;
    } kFormal[] = {{U'壱', 1}, {U'弐', 2}, {U'参', 3}, {U'壹', 1}, {U'貳', 2}, {U'參', 3}};
    for (const auto& f : kFormal)
        if (f.c == c)
            return f.value;
    return -1;
}

bool IsTens(char32_t c) {
    return c == kJuu || c == kFormalJuu || c == kNijuu || c == kSanjuu;
}

bool IsNumeral(char32_t c) {
    return (c >= U'0' && c <= U'9') || (c >= U'０' && c <= U'９') || KanjiDigit(c) >= 0 ||
           IsTens(c);
}

class Reader {
public:
    explicit Reader(std::string_view text, std::size_t pos = 0) : m_text(text), m_pos(pos) {}

    bool AtEnd() const { return m_pos >= m_text.size(); }
    std::size_t Pos() const { return m_pos; }

    char32_t Peek() const {
        if (AtEnd())
            return 0;
        return DecodeUtf8(m_text, m_pos).code;
    }
    void Skip() { m_pos += DecodeUtf8(m_text, m_pos).length; }
    bool Take(char32_t c) {
        if (AtEnd() || Peek() != c)
            return false;
        Skip();
        return true;
    }

    // A number in one kind of numeral; false for none or a mixture.
    bool Number(int& out) {
        std::vector<char32_t> run;
        while (!AtEnd() && IsNumeral(Peek())) {
            if (run.size() == 8)
                return false;
            run.push_back(Peek());
            Skip();
        }
        if (run.empty())
            return false;
        return Value(run, out);
    }

private:
    static bool Value(const std::vector<char32_t>& run, int& out) {
        const bool ascii =
            std::all_of(run.begin(), run.end(), [](char32_t c) { return c >= U'0' && c <= U'9'; });
        const bool wide = std::all_of(run.begin(), run.end(),
                                      [](char32_t c) { return c >= U'０' && c <= U'９'; });
        if (ascii || wide) {
            if (run.size() > 4)
                return false;
            out = 0;
            for (char32_t c : run)
                out = out * 10 + static_cast<int>(c - (ascii ? U'0' : U'０'));
            return true;
        }
        const auto tens = std::find_if(run.begin(), run.end(), IsTens);
        if (tens == run.end()) {
            // Digit by digit: 二〇 is 20, 一五 is 15.
            if (run.size() > 4)
                return false;
            out = 0;
            for (char32_t c : run) {
                if (KanjiDigit(c) < 0)
                    return false;
                out = out * 10 + KanjiDigit(c);
            }
            return true;
        }
        // [digit]十[digit], 廿[digit], 卅[digit]; 〇 only as a lone digit.
        const std::size_t before = static_cast<std::size_t>(tens - run.begin());
        const std::size_t after = run.size() - before - 1;
        if (before > 1 || after > 1 || (before == 1 && *tens != kJuu && *tens != kFormalJuu))
            return false;
        int value = *tens == kNijuu ? 20 : *tens == kSanjuu ? 30 : 10;
        if (before == 1) {
            const int d = KanjiDigit(run[0]);
            if (d < 1)
                return false;
            value = d * 10;
        }
        if (after == 1) {
            const int d = KanjiDigit(run.back());
            if (d < 1)
                return false;
            value += d;
        }
        out = value;
        return true;
    }

    std::string_view m_text;
    std::size_t m_pos;
};

// A 干支 at the reader's place, taken; -1 (nothing taken) for none.
int TakeKanshi(Reader& r, std::string_view text) {
    std::size_t length = 0;
    const int kanshi = ReadKanshi(text.substr(r.Pos()), length);
    if (kanshi >= 0)
        for (std::size_t end = r.Pos() + length; r.Pos() < end;)
            r.Skip();
    return kanshi;
}

// Year, month and day after the era name, the year's 干支 if written
// (yearKanshi, else -1), then the day's (kanshi, else -1), to the end of the
// text; failed is the part that does not read, or kNone. A day of 晦日 is
// kLastDayOfMonth, for the caller who knows the month's length.
bool ReadYearMonthDay(Reader& r, std::string_view text, EraDate& d, int& kanshi, int& yearKanshi,
                      EraDateField& failed) {
    failed = EraDateField::kYear;
    if (r.Peek() == U'元') {
        r.Skip();
        d.year = 1;
    } else if (!r.Number(d.year)) {
        return false;
    }
    // 元禄十五壬午年 or 元禄十五年壬午.
    yearKanshi = TakeKanshi(r, text);
    if (!r.Take(U'年'))
        return false;
    if (yearKanshi < 0)
        yearKanshi = TakeKanshi(r, text);
    failed = EraDateField::kMonth;
    d.leap = r.Take(U'閏');
    if (r.Take(U'正'))
        d.month = 1;
    else if (r.Take(U'極') || r.Take(U'臘'))
        d.month = 12;
    else if (!r.Number(d.month))
        return false;
    if (!r.Take(U'月'))
        return false;
    failed = EraDateField::kDay;
    if (r.Take(U'朔'))
        d.day = 1;
    else if (r.Take(U'晦'))
        d.day = kLastDayOfMonth;
    else if (!r.Number(d.day))
        return false;
    if (!r.Take(U'日'))
        return false;
    kanshi = -1;
    if (!r.AtEnd()) {
        failed = EraDateField::kKanshi;
        std::size_t length = 0;
        kanshi = ReadKanshi(text.substr(r.Pos()), length);
        if (kanshi < 0 || r.Pos() + length != text.size())
            return false;
    }
    failed = EraDateField::kNone;
    return true;
}

// A word that stands for a number in one part: 元 (年), 正, 極, 臘 (月), 朔,
// 晦 (日).
struct PartWord {
    char32_t word;
    int value;
};

// One part of an era date on its own: a number, or one of its words, then
// at most its unit; for the month a 閏 may stand first (leap). nullopt for
// anything else, an empty part included.
std::optional<int> ReadPart(std::string_view input, std::initializer_list<PartWord> words,
                            char32_t unit, bool* leap = nullptr) {
    if (!IsWellFormedUtf8(input))
        return std::nullopt;
    const std::string text = PlainTypedText(input);
    Reader r(text);
    if (leap && r.Take(U'閏'))
        *leap = true;
    int value = 0;
    const auto word = std::find_if(words.begin(), words.end(),
                                   [&r](const PartWord& w) { return r.Peek() == w.word; });
    if (word != words.end()) {
        r.Skip();
        value = word->value;
    } else if (!r.Number(value)) {
        return std::nullopt;
    }
    r.Take(unit);
    if (!r.AtEnd())
        return std::nullopt;
    return value;
}

// The part a check of the era date refused (error is not kMalformed).
EraDateField RefusedField(EraDateError error, const EraDate& d) {
    switch (error) {
    case EraDateError::kNone:
    case EraDateError::kMalformed:
        break;
    case EraDateError::kUnknownEra:
        return EraDateField::kEra;
    case EraDateError::kYearOutsideEra:
        return EraDateField::kYear;
    case EraDateError::kNoSuchMonth:
    case EraDateError::kNoSuchLeapMonth:
        return EraDateField::kMonth;
    case EraDateError::kNoSuchDay:
        return EraDateField::kDay;
    case EraDateError::kWrongKanshi:
        return EraDateField::kKanshi;
    case EraDateError::kWrongYearKanshi:
        return EraDateField::kYear;
    case EraDateError::kDateOutsideEra: {
        // The day is wrong when another day of the month is taken: 朱鳥元年7月1日
        // (the era began on 7月20日); the month when none is: 大宝元年1月1日.
        const int year = GetEra(d.era).firstYear + d.year - 1;
        const int length = year > kLunisolarLastYear ? DaysInMonth(year, d.month)
                                                     : TableMonthLength(year, d.month, d.leap);
        EraDate first = d;
        first.day = 1;
        EraDate last = d;
        last.day = length;
        const bool taken = JdnFromEraDateAsWritten(first).error == EraDateError::kNone ||
                           JdnFromEraDateAsWritten(last).error == EraDateError::kNone;
        return taken ? EraDateField::kDay : EraDateField::kMonth;
    }
    }
    return EraDateField::kNone;
}

// The length of the month of an era date, 0 when its era has no such year
// or its year no such month.
int EraMonthLength(const EraDate& d) {
    if (d.era < 0 || d.year < 1 || d.year > LastYearOf(d.era))
        return 0;
    const int year = GetEra(d.era).firstYear + d.year - 1;
    if (year > kLunisolarLastYear)
        return d.leap || d.month < 1 || d.month > 12 ? 0 : DaysInMonth(year, d.month);
    return TableMonthLength(year, d.month, d.leap);
}

// The day of result.date as written, its note, and any error with its part.
void FindWrittenDay(EraDateParse& result) {
    // 晦日: the month's last day, where the month is one; else the month's
    // own error follows.
    if (result.date.day == kLastDayOfMonth)
        if (const int length = EraMonthLength(result.date))
            result.date.day = length;
    EraDateResult day = JdnFromEraDateAsWritten(result.date);
    result.error = day.error;
    result.jdn = day.jdn;
    result.note = std::move(day.note);
    if (day.error == EraDateError::kNone && result.yearKanshi >= 0) {
        const std::optional<int> year = KanshiYearOfDay(day.jdn);
        if (year && YearKanshi(*year) != result.yearKanshi)
            result.error = EraDateError::kWrongYearKanshi;
    }
    if (result.error == EraDateError::kNone && result.kanshi >= 0 &&
        result.kanshi != DayKanshi(day.jdn))
        result.error = EraDateError::kWrongKanshi;
    result.field = RefusedField(result.error, result.date);
}

// The longest era name the text starts with, -1 for none.
int EraPrefix(std::string_view text) {
    int best = -1;
    for (int i = 0; i < data::kEraCount; ++i) {
        const std::string_view name = data::kEras[i].name;
        if (text.starts_with(name) && (best < 0 || name.size() > data::kEras[best].name.size()))
            best = i;
    }
    return best;
}

} // namespace

std::optional<EraDate> ReadYearMonthDayText(std::string_view input) {
    const std::string text = PlainTypedText(input);
    Reader r(text);
    EraDate d;
    // A 干支 after it is checked only where the day is known, by ParseEraDate.
    int kanshi = -1, yearKanshi = -1;
    EraDateField failed = EraDateField::kNone;
    if (!ReadYearMonthDay(r, text, d, kanshi, yearKanshi, failed) || kanshi >= 0 || yearKanshi >= 0)
        return std::nullopt;
    return d;
}

EraDateParse ParseEraDate(std::string_view input) {
    EraDateParse result;
    // Bytes that are not UTF-8 are no date, whatever a lax decoder would
    // make of them: C0 B5 is not "5".
    if (!IsWellFormedUtf8(input)) {
        result.error = EraDateError::kMalformed;
        result.field = EraDateField::kEra;
        return result;
    }
    const std::string plain = PlainTypedText(input);
    const std::string_view text = plain;
    const int era = EraPrefix(text);
    // The part that did not read after a known era's name.
    EraDateField failed = EraDateField::kEra;
    if (era >= 0) {
        const std::string_view name = data::kEras[era].name;
        Reader r(text, name.size());
        EraDate d;
        d.era = era;
        if (ReadYearMonthDay(r, text, d, result.kanshi, result.yearKanshi, failed)) {
            result.date = d;
            result.eraText = name;
            FindWrittenDay(result);
            return result;
        }
    }
    // An unknown name: whatever stands before the year, when the rest reads
    // as a date and the name is not plain ASCII.
    Reader r(text);
    while (!r.AtEnd() && !IsNumeral(r.Peek()) && !text.substr(r.Pos()).starts_with("元年"))
        r.Skip();
    const std::string_view name = text.substr(0, r.Pos());
    EraDate d;
    int kanshi = -1, yearKanshi = -1;
    EraDateField unknownFailed = EraDateField::kNone;
    const bool ascii = std::all_of(name.begin(), name.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (!name.empty() && !ascii && FindEra(name) < 0 &&
        ReadYearMonthDay(r, text, d, kanshi, yearKanshi, unknownFailed)) {
        result.error = EraDateError::kUnknownEra;
        result.field = EraDateField::kEra;
        result.eraText = name;
        result.date = d;
        result.date.era = -1;
        return result;
    }
    result.error = EraDateError::kMalformed;
    result.field = failed;
    result.eraText = era >= 0 ? std::string(data::kEras[era].name) : std::string();
    return result;
}

EraDateParse ParseEraDateParts(const EraDateParts& parts) {
    EraDateParse result;
    const auto fail = [&result](EraDateError error, EraDateField field) {
        result.error = error;
        result.field = field;
        return result;
    };
    if (!IsWellFormedUtf8(parts.era))
        return fail(EraDateError::kMalformed, EraDateField::kEra);
    result.eraText = PlainTypedText(parts.era);
    if (result.eraText.empty())
        return fail(EraDateError::kMalformed, EraDateField::kEra);
    result.date.era = FindEra(result.eraText);
    if (result.date.era < 0)
        return fail(EraDateError::kUnknownEra, EraDateField::kEra);
    const std::optional<int> year = ReadPart(parts.year, {{U'元', 1}}, U'年');
    if (!year)
        return fail(EraDateError::kMalformed, EraDateField::kYear);
    result.date.year = *year;
    bool leap = parts.leap;
    const std::optional<int> month =
        ReadPart(parts.month, {{U'正', 1}, {U'極', 12}, {U'臘', 12}}, U'月', &leap);
    if (!month)
        return fail(EraDateError::kMalformed, EraDateField::kMonth);
    result.date.leap = leap;
    result.date.month = *month;
    const std::optional<int> day =
        ReadPart(parts.day, {{U'朔', 1}, {U'晦', kLastDayOfMonth}}, U'日');
    if (!day)
        return fail(EraDateError::kMalformed, EraDateField::kDay);
    result.date.day = *day;
    FindWrittenDay(result);
    return result;
}

bool LooksLikeEraDate(std::string_view input) {
    const std::string text = PlainTypedText(input);
    return !text.empty() && static_cast<unsigned char>(text.front()) >= 0x80;
}

std::string EraDateErrorMessage(const EraDateParse& parse) {
    const EraDate& d = parse.date;
    const std::string era =
        d.era >= 0 ? std::string(data::kEras[d.era].name) : std::string(parse.eraText);
    const std::string year = era + YearText(d.year) + "年";
    const std::string month = (d.leap ? "閏" : "") + std::to_string(d.month) + "月";
    switch (parse.error) {
    case EraDateError::kNone:
        return {};
    case EraDateError::kMalformed:
        return "和暦の日付として読めません（例: 慶長5年9月15日、慶長五年九月十五日）";
    case EraDateError::kUnknownEra:
        return "「" + EscapedForMessage(ShortenedForMessage(era)) + "」という元号はありません";
    case EraDateError::kYearOutsideEra: {
        const int last = LastYearOf(d.era);
        return era + std::to_string(d.year) + "年はありません（" + era +
               (last == 1 ? "は元年のみ）" : "は元年から" + std::to_string(last) + "年まで）");
    }
    case EraDateError::kNoSuchMonth:
        return year + "に" + std::to_string(d.month) + "月はありません";
    case EraDateError::kNoSuchLeapMonth: {
        const int y = GetEra(d.era).firstYear + d.year - 1;
        if (y > kLunisolarLastYear)
            return year + "に閏月はありません（明治6年からは太陽暦です）";
        const int leap = TableLeapMonth(y);
        return year + "に" + month + "はありません（" +
               (leap ? "この年の閏月は閏" + std::to_string(leap) + "月）"
                     : std::string("この年に閏月はありません）"));
    }
    case EraDateError::kNoSuchDay: {
        const int y = GetEra(d.era).firstYear + d.year - 1;
        const int length =
            y > kLunisolarLastYear ? DaysInMonth(y, d.month) : TableMonthLength(y, d.month, d.leap);
        return year + month + "に" + std::to_string(d.day) + "日はありません（" + month + "は" +
               std::to_string(length) + "日まで）";
    }
    case EraDateError::kDateOutsideEra: {
        const EraInfo& info = GetEra(d.era);
        const std::string first = FormatEraDate(EraDateInEra(d.era, info.firstJdn));
        std::string span =
            info.lastJdn == kLastCoveredJdn
                ? first + "から"
                : first + "から" + FormatEraDate(EraDateInEra(d.era, info.lastJdn)) + "まで";
        return FormatEraDate(d) + "は" + era + "の期間外です（" + era + "は" + span + "）";
    }
    case EraDateError::kWrongKanshi:
        return FormatEraDate(d) + "は" + std::string(KanshiName(parse.kanshi)) +
               "の日ではありません（この日は" + std::string(KanshiName(DayKanshi(parse.jdn))) +
               "）";
    case EraDateError::kWrongYearKanshi: {
        const std::optional<int> kanshiYear = KanshiYearOfDay(parse.jdn);
        return year + "は" + std::string(KanshiName(parse.yearKanshi)) + "の年ではありません（" +
               (kanshiYear ? "この年は" + std::string(KanshiName(YearKanshi(*kanshiYear)))
                           : std::string("干支の表にない年")) +
               "）";
    }
    }
    return {};
}

} // namespace tolmeri
