// core: the days almanacs name besides the 24 terms: the 雑節, placed by the
// Sun as today's almanacs place them, and the two moon-viewing nights of the
// lunisolar calendar. Standard library only.
//
// - 節分: the day before 立春;
// - 彼岸の入り and 彼岸明け: three days before and after 春分 and 秋分;
// - 社日: the 戊 day nearest 春分 and 秋分 (when the term falls on a 癸 day,
//   the 戊 days five days either side are as near: the one before when the
//   term's moment is before noon, the one after from noon on);
// - 八十八夜, 二百十日, 二百二十日: the 88th, 210th and 220th day counted
//   from 立春 as the first;
// - 入梅 and 半夏生: the days the Sun's longitude reaches 80° and 100°;
// - 土用の入り: 297°, 27°, 117° and 207°, each 土用 running to the day
//   before the next 立春, 立夏, 立秋 or 立冬; 土用の丑の日: its 丑 days;
// - 中秋の名月 and 十三夜: 旧暦8月15日 and 9月13日 (not of a leap month).
//
// Days are local days of the place's standard time, as the solar terms'
// (core/solar_terms.h). Each thread keeps the last years it placed.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/calendar.h"

namespace tolmeri {

enum class NamedDay {
    kSetsubun,
    kHiganStart,
    kHiganEnd,
    kShanichi,
    kHachijuHachiya,
    kNyubai,
    kHangesho,
    kDoyoStart,
    kDoyoUshi,
    kNihyakuToka,
    kNihyakuHatsuka,
    kChushu,
    kJusanya,
};
inline constexpr int kNamedDayCount = 13;

// A set of named days, a bit (1 << NamedDay) each.
using NamedDays = unsigned;
constexpr NamedDays NamedDayBit(NamedDay day) {
    return 1u << static_cast<unsigned>(day);
}

// "節分", "彼岸の入り", … "十三夜".
std::string_view NamedDayName(NamedDay day);

// The named days of a local day; lunisolar is the day's lunisolar date, if
// it has one.
NamedDays NamedDaysOn(int jdn, int timeDiffHours, const std::optional<LunisolarDate>& lunisolar);

// The names of a set in the order above, joined by "・"; empty for none.
std::string FormatNamedDays(NamedDays days);

} // namespace tolmeri
