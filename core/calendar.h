// core: dates as the old texts give them. Lunisolar dates (旧暦) of 445 to
// 1872 from the generated month table and from 1873 to 2200 computed
// (core/lunisolar_computed.h), era dates (和暦) both ways, their text as
// written ("慶長5年9月15日") and the reading of such text. Standard library
// only, no I/O; nothing of the old calendar before 1873 is computed
// astronomically.
//
// Days are Julian day numbers (core/civil_date.h converts them to and from
// the Gregorian and the Julian calendar). Era years count from the lunisolar
// New Year before 1873 and from 1 January from 明治6年 (1873) on; so do their
// months and days. For 1331-1392 both courts' eras are known: the plain
// functions give the Southern court's, as modern chronologies do.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/lunisolar_computed.h"

namespace tolmeri {

// ---------------------------------------------------------------------------
// Lunisolar calendar (旧暦)

struct LunisolarDate {
    int year = 0; // numbered like the Western year in which most of it falls
    int month = 1;
    bool leap = false; // 閏: the leap month after the ordinary month of that number
    int day = 1;
    auto operator<=>(const LunisolarDate&) const = default;
};

// The days the historical month table covers, [first, end): 445-01-24
// (Julian calendar) to 1872-12-31; the end is 1873-01-01, 明治6年1月1日,
// from which era dates count in the Gregorian calendar. The lunisolar dates
// go on, computed, to 2200-12-31 (kComputedLunisolarEndJdn): the seam is
// 明治5年12月2日 = 1872-12-31, and 1873-01-01 is 1872年12月3日.
inline constexpr int kLunisolarFirstJdn = 1883618;
inline constexpr int kLunisolarEndJdn = 2405160;
inline constexpr int kLunisolarFirstYear = 445;
inline constexpr int kLunisolarLastYear = 1872; // of the table
// The last day and year any lunisolar date names.
inline constexpr int kLunisolarLastJdn = kComputedLunisolarEndJdn - 1;
inline constexpr int kLunisolarLastComputedYear = kComputedLunisolarLastYear;

// nullopt before 445-01-24 and after 2200-12-31.
std::optional<LunisolarDate> LunisolarFromJdn(int jdn);
// nullopt for a date that names no day of that span.
std::optional<int> JdnFromLunisolar(const LunisolarDate& date);

// The ordinary month the year's leap month follows; 0 when it has none or
// the year is outside 445-2200.
int LunisolarLeapMonth(int year);
// 29 or 30; 0 when the year has no such month. (Era dates end 明治5年12月
// after two days; their own checks say so.)
int LunisolarMonthLength(int year, int month, bool leap);
// Julian day number of the year's New Year (1月1日); 0 outside 445-2200.
int LunisolarNewYearJdn(int year);

// ---------------------------------------------------------------------------
// Eras (元号)

enum class EraCourt { kSole, kBoth, kSouthern, kNorthern };
enum class Court { kSouthern, kNorthern };

struct EraInfo {
    std::string_view name;
    int firstYear = 0; // the year of 元年, as counted above
    EraCourt court = EraCourt::kSole;
    int startJdn = 0; // the start as listed: the proclamation, for 明治 1868-01-25
    int firstJdn = 0; // the first and last day a date written in the era may name
    int lastJdn = 0;  // for the present era, the last day the era dates cover
    int lastYear = 0; // the era year of lastJdn
};

// All eras in order, from 大化 (0) to 令和; the order a list should show.
int EraCount();
const EraInfo& GetEra(int index);
// Index of the era with exactly this name, -1 when there is none.
int FindEra(std::string_view name);

// The era in force on a day (from its first day on), -1 where there is none:
// before 大化 (645-07-17) and in the gaps of 654-686 and 686-701.
int EraOnDay(int jdn, Court court = Court::kSouthern);

struct EraDate {
    int era = -1; // index into the era list
    int year = 0; // 1 is 元年
    bool leap = false;
    int month = 1;
    int day = 1;
    auto operator<=>(const EraDate&) const = default;
};

// The era date of a day in the era in force, nullopt where none is.
std::optional<EraDate> EraDateFromJdn(int jdn, Court court = Court::kSouthern);

// Both courts' dates; equal outside 1331-1392.
struct EraDates {
    std::optional<EraDate> southern;
    std::optional<EraDate> northern;
    bool CourtsDiffer() const { return southern != northern; }
};
EraDates EraDatesFromJdn(int jdn);

// A day counted in a given era, whether or not that era is in force on it.
EraDate EraDateInEra(int era, int jdn);

// Why an era date names no day. Each has its own one-line message.
enum class EraDateError {
    kNone,
    kMalformed,       // not an era date as written
    kUnknownEra,      // no era of that name
    kYearOutsideEra,  // the era has no such year
    kNoSuchMonth,     // the year has no such month
    kNoSuchLeapMonth, // the year has no leap month of that number (or none at all)
    kNoSuchDay,       // a day past the month's length (or 0)
    kDateOutsideEra,  // the year exists but the day is before or after the era
    kWrongKanshi,     // the day is not the 干支 written after it
    kWrongYearKanshi, // the year is not the 干支 written with it
};

struct EraDateResult {
    int jdn = 0; // valid when error is kNone
    EraDateError error = EraDateError::kNone;
    // JdnFromEraDateAsWritten: one line when the date was read by one of the
    // sources' conventions, else empty.
    std::string note;
};

// The day an era date names. Months and days are lunisolar before 1873 and
// Gregorian from then on.
EraDateResult JdnFromEraDate(const EraDate& date);

// The same, and also the era dates sources write outside the era's days,
// each with a note naming the date in force:
// - an old era kept after its change, to the end of that year, the new
//   era's proclamation day included: "安政7年3月20日 は 万延元年3月20日
//   （3月18日に改元）", "慶応4年9月8日 は 明治元年9月8日（9月8日に改元）";
// - the new era's name for the days of its first year before it began:
//   "慶長元年閏7月13日 は 文禄5年閏7月13日（慶長への改元は10月27日）"; for
//   the eras after years without one (大化, 朱鳥, 大宝), the reign's year:
//   "大化元年6月12日 は 皇極天皇4年6月12日（大化への改元は6月19日）".
// The note names the change that began the era in force ("天平21年8月1日 は
// 天平勝宝元年8月1日（7月2日に改元）", though 天平 ended on 4月14日). The date in
// force is counted in the court that had the written era (1331-1392); an old
// era's day in force in no era stays outside the era.
EraDateResult JdnFromEraDateAsWritten(const EraDate& date);

// "慶長5年9月15日", "文政13年閏3月1日", "慶長元年10月27日"; empty for era -1.
std::string FormatEraDate(const EraDate& date);

// Both courts' dates of a day as one text: "元弘3年5月1日（南朝）・正慶2年5月1日（北朝）"
// where they differ, else the one date; empty where no era is in force.
std::string FormatEraDates(const EraDates& dates);

// "1600年9月15日", "1830年閏3月1日".
std::string FormatLunisolarDate(const LunisolarDate& date);

// A Western year with the era years its days were counted in: "2026年（令和8年）",
// "2019年（平成31年・令和元年）", "1700年（元禄12～13年）" (元禄13年 began on
// 1700-02-19), "1704年（元禄16～17年・宝永元年）", "600年"; the Southern
// court's for 1331-1392.
std::string FormatYearWithEras(int year);

// The era years of the days [firstJdn, endJdn) in order, those of one era
// joined: "元禄12～13年", "元禄16～17年・宝永元年", "令和8年"; empty where no
// era is in force.
std::string FormatEraYearsOfDays(int firstJdn, int endJdn);

// ---------------------------------------------------------------------------
// Era dates as written

// The part of an era date as written that a failure lies in.
enum class EraDateField {
    kNone,   // no failure
    kEra,    // the era's name, or the text from its start when it names no era
    kYear,   // the year with its 年
    kMonth,  // the month with its 閏 and 月
    kDay,    // the day with its 日
    kKanshi, // the day's 干支 written after it
};

struct EraDateParse {
    EraDateError error = EraDateError::kNone;
    // Where the error lies: for kMalformed the first part that does not read
    // (慶長5x年9月15日: kYear), else the part the check refused (kYear for
    // kYearOutsideEra, kMonth for a month or leap month the year lacks, kDay
    // for a day past the month; for kDateOutsideEra the month when no day
    // of it is taken, else the day).
    EraDateField field = EraDateField::kNone;
    EraDate date;        // the fields as read (era -1 when unknown)
    std::string eraText; // the era name as written
    int jdn = 0;         // the day, when error is kNone or kWrongKanshi
    std::string note;    // the note of JdnFromEraDateAsWritten, if any
    int kanshi = -1;     // the day's 干支 written after the date (core/kanshi.h), -1 for none
    int yearKanshi = -1; // the year's 干支 written with it (元禄十五壬午年), -1 for none
};

// Reads an era date as the old texts write it: the era name, then year, month
// and day in arabic, full-width or kanji numerals (〇一二三…十, 十五, 二十三,
// 廿三, 卅; the formal 壱弐参拾; 二〇 and 一五 read digit by digit), 元年 for
// the first year, 正月 for the first month, 極月 and 臘月 for the twelfth, 朔日
// for the first day and 晦日 for the month's last, 閏 before a leap month:
// "慶長5年9月15日", "慶長五年九月十五日", "文政13年閏3月1日", "慶長元年10月27日",
// "元禄十五年極月晦日". The year's 干支 may follow its number or its 年
// ("元禄十五壬午年", "元禄十五年壬午") and must be the year's.
// The text is first made plain (core/typed_text.h: full-width forms, spaces
// around it and beside the kanji, "安政7年 3月3日"), and the day is found as
// JdnFromEraDateAsWritten finds it, with its note; a text that is not
// well-formed UTF-8 is kMalformed.
// The day's 干支 may follow ("安政七年三月三日丁卯") and must be the day's.
EraDateParse ParseEraDate(std::string_view text);

// An era date given part by part, as separate boxes hold it: the era's name;
// the year (元 for 元年), month (正 for 正月, 極 or 臘 for the twelfth, a 閏
// before it for a leap month) and day (朔 for 朔日, 晦 for the last) each in
// any numeral ParseEraDate reads and with or
// without its unit (年, 月, 日); each part made plain as ParseEraDate makes
// its text. Every part is read by itself, so field names the part at fault
// (an empty or unreadable one is kMalformed there); the day is found as
// ParseEraDate finds it, with its note. No 干支.
struct EraDateParts {
    std::string_view era;
    std::string_view year;
    bool leap = false;
    std::string_view month;
    std::string_view day;
};
EraDateParse ParseEraDateParts(const EraDateParts& parts);

// The day of 晦日 as ReadYearMonthDayText gives it: the month's last, which
// its reader finds in the calendar it reads.
inline constexpr int kLastDayOfMonth = 99;

// The year, month and day of an era date without its era, "2026年6月21日",
// "二〇二六年六月二十一日", "1860年閏3月1日", read as ParseEraDate reads them
// (era -1; 晦日 as kLastDayOfMonth); nullopt for any other text, a 干支
// included.
std::optional<EraDate> ReadYearMonthDayText(std::string_view text);

// True when the text starts like an era date, with a character that is not
// ASCII (every era's name does): a caller that also reads "YYYY-MM-DD" picks
// the reader.
bool LooksLikeEraDate(std::string_view text);

// One Japanese line naming the problem, e.g. "慶長25年はありません（慶長は元年から
// 20年まで）"; empty for kNone.
std::string EraDateErrorMessage(const EraDateParse& parse);

} // namespace tolmeri
