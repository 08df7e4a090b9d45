// core: the temporal hours as the texts name them, both ways. An expression
// such as 朝五つ半, 丑三つ or 辰の上刻 is read into its readings (where a name
// is ambiguous, or was read two ways in its time, every reading, each named),
// and a moment is named by its branch (十二支), the branch's quarter and its
// 上刻・中刻・下刻 under both readings. Standard library only.
//
// The numbered hours are the table's boundaries (core/sun_events.h): 明六つ
// boundary 6 (dawn), 昼九つ 12 (the transit), 暮六つ 18 (dusk); the 暁 hours
// (暁九つ, 暁八つ, 暁七つ) are boundaries 0, 2 and 4, the early morning of the
// date, as the table has them, and 夜九つ is the midnight that ends the date's
// night (boundary 24). A numbered hour (or its 半) is the half-hour from its
// bell to the next one. The branch 子 begins at 九つ (boundary 0), 丑 at 八つ
// and so on; a branch's 刻 runs from its numbered hour to the next, and its
// quarters (一つ to 四つ) and its 上・中・下刻 of the 寛政12年 ruling divide
// that 刻 into equal parts. The 寛政6年 大目付 reading centres the branch on
// its numbered hour (午: 昼四つ半 to 昼九つ半) and gives 上刻 two thirds of
// the half-hour before the hour, 中刻 the last third of that and the first
// third of the half-hour after it, 下刻 the rest. 初刻 is the first half of
// the branch's 刻, 正刻 the second. docs/CALENDAR.md gives the sources.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/day_start.h"
#include "core/period_hours.h"

namespace tolmeri {

// A moment between two boundaries of the marks: from + (to - from) * num /
// den, the boundaries numbered as HourMarks::At numbers them.
struct HourPoint {
    int from = 0;
    int to = 0;
    int num = 0;
    int den = 1;
};

// One way of reading an expression: its name ("朝五つ半", "丑三つ", or the
// convention for 上・中・下刻) and the span it names.
struct HourReading {
    std::string_view convention;
    HourPoint start;
    HourPoint end;
    bool smallHours = false; // in the date's 暁 hours (boundaries 0 to 6)
    // A clock time rather than a temporal hour (正午 12:00, 真夜中 0:00): its
    // minute of the date, start and end unused; -1 for a temporal hour.
    int clock = -1;
    // A moment, not a span: 夜半, 正午, 真夜中 (start and end fall together).
    bool Moment() const {
        return clock >= 0 || (start.from == end.from && start.to == end.to &&
                              start.num * end.den == end.num * start.den);
    }
};

struct HourExpressionParse {
    std::vector<HourReading> readings; // empty when the text is not understood
    std::string error;                 // one Japanese line when it is not
};

// Reads an hour name as the texts write it: 明六つ, 朝五つ, 昼九つ, 昼八つ, 夕七つ,
// 暮六つ, 宵五つ, 夜五つ, 夜四つ, 夜九つ, 暁九つ, 暁八つ, 暁七つ, and bare 六つ, 五つ...
// (every reading), each with 半 and 時 (「五つ時」「六つ半時」); the twelve
// branches (子の刻, 子ノ刻, 子刻, 子の時, 子), their quarters (丑三つ, 丑満つ,
// 丑の三つ時, 子の四つ), 初刻 and 正刻, the branch's half-bell (辰の半刻 and 子半
// are 朝五つ半 and 暁九つ半), and 上刻, 中刻 and 下刻 (both readings); 夜半, the
// bell of 夜九つ as a moment; and the clock times 正午 (12:00) and 真夜中
// (0:00). Numerals in kanji, ASCII or full width; つ or ツ; spaces around
// the text are ignored.
HourExpressionParse ParseHourExpression(std::string_view text);

// The reading's span on the marks of its date, as day minutes of that date
// (rounded to the nearest minute). Under DayStart::kDawn the date's day runs
// from its 明六つ, so a reading of the small hours is that of the night after
// the date.
struct HourSpan {
    int start = 0;
    int end = 0;
};
HourSpan ResolveReading(const HourReading& reading, const HourMarks& marks,
                        DayStart dayStart = DayStart::kMidnight);

// Every reading with its span, in the order of their starts (a stable
// order: readings that start together keep theirs): under kDawn, 九つ gives
// 昼九つ before the night's 暁九つ.
struct ResolvedReading {
    HourReading reading;
    HourSpan span;
};
std::vector<ResolvedReading> ResolveReadings(const std::vector<HourReading>& readings,
                                             const HourMarks& marks, DayStart dayStart);

// A moment named by its branch: "丑の刻", its quarter "丑三つ", and its
// 上・中・下刻 by the 寛政12年 ruling ("丑の下刻") and by the 寛政6年 reading,
// whose branch may be the next ("寅の上刻").
struct MomentNames {
    std::string branch;
    std::string quarter;
    std::string thirdRuling;  // 寛政12年
    std::string thirdCentred; // 寛政6年 大目付
};
MomentNames NameMoment(const MomentHour& hour);

// The numbered hour (or its 半) that begins at boundary index (0 to 25, 24
// the midnight ending the date's night), as the readings name it: 明六つ,
// 暮六つ半, 夜九つ; empty outside 0 to 25.
std::string_view NumberedHourName(int index);

// The examples a message about a name that does not read ends with; a
// window that wraps the message puts them on a line of their own.
inline constexpr std::string_view kHourNameExamples = "（例: 朝五つ半、五つ時、丑三つ、辰の上刻）";

// The two conventions' names, as readings and outputs give them.
inline constexpr std::string_view kThirdsRuling = "寛政12年の定め";
inline constexpr std::string_view kThirdsCentred = "寛政6年 大目付の読み";

} // namespace tolmeri
