// core: the sexagenary cycle (干支) of days and years and the six-day cycle
// (六曜) of the lunisolar calendar. Standard library only.
//
// A day's 干支 runs on without a break through every calendar change: it is
// the Julian day number's place in the cycle of sixty, so 2000-01-01 is
// 戊午 and 2024-01-01 甲子. A year's is the year's number's place (1984 is
// 甲子); before 1873 the year meant is the lunisolar one, from its New Year.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace tolmeri {

// A place in the cycle of sixty, 0 (甲子) to 59 (癸亥).
int DayKanshi(int jdn);
int YearKanshi(int year);

// The sexagenary name as two characters, "戊午".
std::string_view KanshiName(int index);

// The index of a sexagenary name at the start of text (its two characters,
// stem then branch, of a pair the cycle has), and the bytes it takes; -1
// when the text does not start with one.
int ReadKanshi(std::string_view text, std::size_t& length);

// The year whose 干支 a day carries: the lunisolar year before 1873, the
// Gregorian year from then on; nullopt before the lunisolar table (445).
std::optional<int> KanshiYearOfDay(int jdn);

// The six-day cycle, in the order the lunisolar month and day count it.
enum class Rokuyo { kTaian, kShakku, kSensho, kTomobiki, kSenbu, kButsumetsu };
// From a lunisolar month and day: (month + day) mod 6, a leap month counted
// as the month it follows; 1月1日 is 先勝.
Rokuyo RokuyoOf(int month, int day);
std::string_view RokuyoName(Rokuyo rokuyo); // "大安"

} // namespace tolmeri
