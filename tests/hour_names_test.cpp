// Hour names both ways on one day, 東京 on 1860-03-24 (安政7年3月3日): every
// written form against the day's boundaries, both readings of 上・中・下刻 for
// all twelve branches, the quarters, the refusals, and the name of a moment
// read back from each reading.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/hour_names.h"
#include "core/period_hours.h"

using namespace tolmeri;

namespace {

const Place kTokyo = {"東京", 35, 39, 139, 45, 9};
const CivilDate kDay = {1860, 3, 24};

class HourNames : public ::testing::Test {
protected:
    HourMarks marks = MarksAround(kTokyo, kDay);

    // The readings of text as "convention start-end" with the span in
    // boundaries where it starts and ends on one ("b8-b9"), else in minutes.
    std::vector<std::string> Read(const std::string& text, DayStart start = DayStart::kMidnight) {
        const HourExpressionParse parse = ParseHourExpression(text);
        EXPECT_TRUE(parse.error.empty() != parse.readings.empty()) << text;
        std::vector<std::string> out;
        for (const HourReading& r : parse.readings) {
            const HourSpan span = ResolveReading(r, marks, start);
            out.push_back(std::string(r.convention) + " " + Where(span.start) + "-" +
                          Where(span.end));
        }
        return out;
    }
    std::string Where(int minute) const {
        for (int b = -24; b <= 48; ++b)
            if (marks.At(b) == minute)
                return std::string("b").append(std::to_string(b));
        return std::to_string(minute);
    }
};

TEST_F(HourNames, EveryWrittenFormOfTheNumberedHoursAndBranches) {
    const struct {
        const char* text;
        std::vector<std::string> readings;
    } cases[] = {
        {"朝五つ半", {"朝五つ半 b9-b10"}},
        {"朝五つ", {"朝五つ b8-b9"}},
        {"明六つ", {"明六つ b6-b7"}},
        {"明け六つ", {"明六つ b6-b7"}},
        {"明七つ", {"暁七つ b4-b5"}},
        {"昼九つ", {"昼九つ b12-b13"}},
        {"昼八つ", {"昼八つ b14-b15"}},
        {"夕七つ", {"夕七つ b16-b17"}},
        {"暮六つ", {"暮六つ b18-b19"}},
        {"暮れ六つ半", {"暮六つ半 b19-b20"}},
        {"宵五つ", {"夜五つ b20-b21"}},
        {"夜五つ", {"夜五つ b20-b21"}},
        {"夜四つ", {"夜四つ b22-b23"}},
        {"夜九つ", {"夜九つ b24-b25"}},
        {"暁九つ", {"暁九つ b0-b1"}},
        {"暁八つ", {"暁八つ b2-b3"}},
        {"暁七つ半", {"暁七つ半 b5-b6"}},
        {"六つ", {"明六つ b6-b7", "暮六つ b18-b19"}},
        {"九つ", {"暁九つ b0-b1", "昼九つ b12-b13"}},
        {"五つ時", {"朝五つ b8-b9", "夜五つ b20-b21"}},
        {"六つ半時", {"明六つ半 b7-b8", "暮六つ半 b19-b20"}},
        {"六つ時半", {"明六つ半 b7-b8", "暮六つ半 b19-b20"}},
        {"四ツ", {"朝四つ b10-b11", "夜四つ b22-b23"}},
        {"朝5つ半", {"朝五つ半 b9-b10"}},
        {"朝５つ半", {"朝五つ半 b9-b10"}},
        {"暮六時", {"暮六つ b18-b19"}},
        {"　朝五つ半 ", {"朝五つ半 b9-b10"}},
        {"子の刻", {"子の刻 b0-b2"}},
        {"子刻", {"子の刻 b0-b2"}},
        {"子の時", {"子の刻 b0-b2"}},
        {"午", {"午の刻 b12-b14"}},
        {"亥の刻", {"亥の刻 b22-b24"}},
        {"卯の初刻", {"卯の初刻 b6-b7"}},
        {"卯の正刻", {"卯の正刻 b7-b8"}},
        {"卯正刻", {"卯の正刻 b7-b8"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Read(c.text), c.readings) << c.text;
}

// A quarter is a fourth of the branch's 刻, from its numbered hour: 丑一つ
// starts at 暁八つ, 丑三つ at the middle of the 刻, 丑四つ ends at 暁七つ.
TEST_F(HourNames, QuartersDivideTheBranchInFour) {
    for (const char* text : {"丑三つ", "丑の三つ時", "丑三ツ", "丑の3つ", "丑三つ刻"}) {
        const HourExpressionParse p = ParseHourExpression(text);
        ASSERT_EQ(p.readings.size(), 1u) << text << p.error;
        EXPECT_EQ(p.readings[0].convention, "丑三つ") << text;
    }
    for (std::size_t k = 0; k < 12; ++k) {
        const int s = marks.At(2 * static_cast<int>(k));
        const int e = marks.At(2 * static_cast<int>(k) + 2);
        int previous = s;
        for (std::size_t q = 1; q <= 4; ++q) {
            const std::string text = std::string("子丑寅卯辰巳午未申酉戌亥").substr(3 * k, 3) +
                                     "の" + std::string("一二三四").substr(3 * (q - 1), 3) + "つ";
            const HourExpressionParse p = ParseHourExpression(text);
            ASSERT_EQ(p.readings.size(), 1u) << text;
            const HourSpan span = ResolveReading(p.readings[0], marks);
            EXPECT_EQ(span.start, previous) << text;
            EXPECT_LE(std::abs(4 * (span.end - span.start) - (e - s)), 4) << text;
            previous = span.end;
            // A moment in the quarter is named by it.
            MomentHour at = FindMomentHour(kTokyo, kDay, span.start);
            EXPECT_EQ(NameMoment(at).quarter, p.readings[0].convention) << text;
            at = FindMomentHour(kTokyo, kDay, span.end - 1);
            EXPECT_EQ(NameMoment(at).quarter, p.readings[0].convention) << text;
        }
        EXPECT_EQ(previous, e) << k;
    }
}

// Both readings for every branch: the ruling's thirds tile the branch's 刻;
// the centred reading's run from the half-hour before the numbered hour to
// the half-hour after it, its 中刻 holding the hour.
TEST_F(HourNames, BothReadingsOfTheThirdsForAllTwelveBranches) {
    const std::string branches = "子丑寅卯辰巳午未申酉戌亥";
    const char* parts[] = {"上刻", "中刻", "下刻"};
    for (int k = 0; k < 12; ++k) {
        const std::string branch = branches.substr(3 * static_cast<std::size_t>(k), 3);
        std::vector<HourSpan> ruling, centred;
        for (const char* part : parts) {
            for (const std::string& text : {branch + "の" + part, branch + part}) {
                const HourExpressionParse p = ParseHourExpression(text);
                ASSERT_EQ(p.readings.size(), 2u) << text << p.error;
                EXPECT_EQ(p.readings[0].convention, kThirdsRuling);
                EXPECT_EQ(p.readings[1].convention, kThirdsCentred);
                if (text.find("の") == std::string::npos)
                    continue;
                ruling.push_back(ResolveReading(p.readings[0], marks));
                centred.push_back(ResolveReading(p.readings[1], marks));
                // The moment at each reading's start is named by it.
                const std::string name = branch + "の" + part;
                EXPECT_EQ(NameMoment(FindMomentHour(kTokyo, kDay, ruling.back().start)).thirdRuling,
                          name);
                EXPECT_EQ(
                    NameMoment(FindMomentHour(kTokyo, kDay, centred.back().start)).thirdCentred,
                    name);
                EXPECT_EQ(
                    NameMoment(FindMomentHour(kTokyo, kDay, centred.back().end - 1)).thirdCentred,
                    name);
            }
        }
        const int b = 2 * k;
        SCOPED_TRACE(branch);
        EXPECT_EQ(ruling[0].start, marks.At(b));
        EXPECT_EQ(ruling[2].end, marks.At(b + 2));
        EXPECT_EQ(centred[0].start, marks.At(b - 1));
        EXPECT_EQ(centred[2].end, marks.At(b + 1));
        EXPECT_LT(centred[1].start, marks.At(b));
        EXPECT_GT(centred[1].end, marks.At(b));
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(ruling[i].end, ruling[i + 1].start);
            EXPECT_EQ(centred[i].end, centred[i + 1].start);
        }
        for (int i = 0; i < 3; ++i)
            EXPECT_LE(
                std::abs(3 * (ruling[i].end - ruling[i].start) - (marks.At(b + 2) - marks.At(b))),
                3);
    }
    // 午 on this day: 上刻 from 昼四つ半, 中刻 about 昼九つ, 下刻 to 昼九つ半.
    std::string upper(kThirdsCentred);
    upper += " b11-";
    upper += std::to_string(marks.At(11) + (2 * (marks.At(12) - marks.At(11)) + 1) / 3);
    EXPECT_EQ(Read("午の上刻")[1], upper);
    EXPECT_EQ(Read("午の下刻")[1].substr(Read("午の下刻")[1].size() - 4), "-b13");
}

// Under --day-start dawn the date's small hours are those after its night.
TEST_F(HourNames, TheSmallHoursFollowTheNightWhenTheDayStartsAtDawn) {
    EXPECT_EQ(Read("暁八つ", DayStart::kDawn), std::vector<std::string>{"暁八つ b26-b27"});
    EXPECT_EQ(Read("寅の刻", DayStart::kDawn), std::vector<std::string>{"寅の刻 b28-b30"});
    EXPECT_EQ(Read("卯の刻", DayStart::kDawn), std::vector<std::string>{"卯の刻 b6-b8"});
    EXPECT_EQ(Read("九つ", DayStart::kDawn),
              (std::vector<std::string>{"暁九つ b24-b25", "昼九つ b12-b13"}));
}

// Forms people write beside the texts' own, each with the reading it gives:
// ノ for の, 満つ for 三つ, the branch's half-bell, 夜半 (the bell of 夜九つ),
// and the clock's 正午 and 真夜中, which under dawn is the one after the night.
TEST_F(HourNames, FormsPeopleWriteAndTheReadingsTheyGive) {
    const struct {
        const char* text;
        DayStart start;
        std::vector<std::string> readings;
    } cases[] = {
        {"寅ノ刻", DayStart::kMidnight, {"寅の刻 b4-b6"}},
        {"子ノ上刻", DayStart::kMidnight, Read("子の上刻")},
        {"丑満つ", DayStart::kMidnight, Read("丑三つ")},
        {"丑満つ時", DayStart::kMidnight, Read("丑三つ")},
        {"丑の満つ", DayStart::kMidnight, Read("丑三つ")},
        {"辰の半刻", DayStart::kMidnight, {"朝五つ半 b9-b10"}},
        {"辰半刻", DayStart::kMidnight, {"朝五つ半 b9-b10"}},
        {"子半", DayStart::kMidnight, {"暁九つ半 b1-b2"}},
        {"子の半", DayStart::kDawn, {"暁九つ半 b25-b26"}},
        {"夜半", DayStart::kMidnight, {"夜半（夜九つ） b24-b24"}},
        {"夜半", DayStart::kDawn, {"夜半（夜九つ） b24-b24"}},
        {"正午", DayStart::kMidnight, {"正午（12:00） 720-720"}},
        {" 正午　", DayStart::kDawn, {"正午（12:00） 720-720"}},
        {"真夜中", DayStart::kMidnight, {"真夜中（0:00） 0-0"}},
        {"真夜中", DayStart::kDawn, {"真夜中（0:00） 1440-1440"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Read(c.text, c.start), c.readings) << c.text;
    for (const char* moment : {"夜半", "正午", "真夜中"})
        EXPECT_TRUE(ParseHourExpression(moment).readings.at(0).Moment()) << moment;
    EXPECT_FALSE(ParseHourExpression("子半").readings.at(0).Moment());
}

// The readings in time order: under dawn the night's 暁九つ comes after the
// day's 昼九つ; the centred reading of a 上刻 starts before the ruling's.
TEST_F(HourNames, ReadingsComeInTimeOrder) {
    const auto order = [this](const char* text, DayStart start) {
        std::vector<std::string> names;
        for (const ResolvedReading& r :
             ResolveReadings(ParseHourExpression(text).readings, marks, start))
            names.emplace_back(r.reading.convention);
        return names;
    };
    EXPECT_EQ(order("九つ", DayStart::kMidnight), (std::vector<std::string>{"暁九つ", "昼九つ"}));
    EXPECT_EQ(order("九つ", DayStart::kDawn), (std::vector<std::string>{"昼九つ", "暁九つ"}));
    EXPECT_EQ(order("辰の上刻", DayStart::kMidnight),
              (std::vector<std::string>{std::string(kThirdsCentred), std::string(kThirdsRuling)}));
}

TEST_F(HourNames, RefusalsNameWhatWasNotUnderstood) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"", "刻の名が空です（例: 朝五つ半、五つ時、丑三つ、辰の上刻）"},
        {"暮六時六分", "刻の名 「暮六時六分」 の 「六分」 が読めません（例: "
                       "朝五つ半、五つ時、丑三つ、辰の上刻）"},
        {"昼五つ", "「昼五つ」 という刻はありません（昼は九つ・八つ・七つ）"},
        {"暁六つ", "「暁六つ」 という刻はありません（暁は九つ・八つ・七つ）"},
        {"三つ", "「三つ」 という刻はありません（数は九つから四つまで）"},
        {"丑の五つ", "丑の五つという刻はありません（刻を四つに分けて一つから四つまで）"},
        {"正午だ", "刻の名 「正午だ」 が読めません（例: 朝五つ半、五つ時、丑三つ、辰の上刻）"},
        {"夜半半", nullptr},
        {"子の",
         "刻の名 「子の」 は途中で終わっています（例: 朝五つ半、五つ時、丑三つ、辰の上刻）"},
        {"辰の上",
         "刻の名 「辰の上」 は途中で終わっています（例: 朝五つ半、五つ時、丑三つ、辰の上刻）"},
        {"辰の上刻だ", nullptr},
        {"朝五つ半半", nullptr},
        {"午\n", nullptr},
        {"\xE5\x8D", "刻の名が長すぎるか、UTF-8 として読めません"},
        {"朝五つ半朝五つ半朝五つ半朝五つ半朝五つ半朝五つ半朝五つ半",
         "刻の名が長すぎるか、UTF-8 として読めません"},
    };
    for (const auto& c : cases) {
        const HourExpressionParse p = ParseHourExpression(c.text);
        EXPECT_TRUE(p.readings.empty()) << c.text;
        EXPECT_FALSE(p.error.empty()) << c.text;
        EXPECT_EQ(p.error.find('\n'), std::string::npos) << c.text;
        if (c.message) {
            EXPECT_EQ(p.error, c.message);
        }
    }
}

} // namespace
