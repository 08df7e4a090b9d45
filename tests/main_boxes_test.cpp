// The main window's boxes as the core reads and checks them for both front
// ends: the exchange of the boxes' texts in its order, stopping at the first
// refused box, and 計算実行's checks in theirs, each judging what the earlier
// ones left.
#include <gtest/gtest.h>

#include "core/main_boxes.h"
#include "core/presets.h"

namespace {

using namespace tolmeri;

MainFields Yokohama() {
    return MainFields::Of(DefaultPlace(), kDefaultDate);
}

MainBoxTexts TextsWith(std::initializer_list<std::pair<MainBox, const char*>> changes) {
    MainBoxTexts texts = BoxTextsOf(Yokohama());
    for (const auto& [box, text] : changes)
        texts[static_cast<std::size_t>(box)] = text;
    return texts;
}

TEST(MainBoxes, TheFieldsShowAsTheBoxesShowThem) {
    const MainBoxTexts texts = BoxTextsOf(
        MainFields::Of(ParseLocationEntry(*FindPreset("New York")), CivilDate{-1, 0, 2147483647}));
    const MainBoxTexts expected = {"40", "46", "-73",        "52",      "-5",
                                   "-1", "0",  "2147483647", "New York"};
    EXPECT_EQ(texts, expected);
}

TEST(MainBoxes, TheExchangeStopsAtTheFirstRefusedBoxInItsOrder) {
    MainFields before = Yokohama();
    before.name = "前";
    const struct {
        MainBoxTexts texts;
        std::optional<MainBox> refused;
        const char* message;
        MainFields fields;
    } cases[] = {
        {TextsWith({{MainBox::kYear, " 2001\t"}, {MainBox::kName, "津"}}), std::nullopt, "",
         MainFields{35, 27, 139, 39, 9, 2001, 1, 1, "津"}},
        // The place comes before the date: its new values are taken, the
        // date's and the name's are not.
        {TextsWith(
             {{MainBox::kLatitudeDegrees, "-33"}, {MainBox::kYear, ""}, {MainBox::kMonth, "5"}}),
         MainBox::kYear, "整数を入力してください。",
         MainFields{-33, 27, 139, 39, 9, 2000, 1, 1, "前"}},
        {TextsWith({{MainBox::kLatitudeMinutes, "+0"}}), MainBox::kLatitudeMinutes,
         "整数を入力してください。", MainFields{35, 27, 139, 39, 9, 2000, 1, 1, "前"}},
        {TextsWith({{MainBox::kDay, "１"}}), MainBox::kDay, "整数を入力してください。",
         MainFields{35, 27, 139, 39, 9, 2000, 1, 1, "前"}},
        {TextsWith({{MainBox::kDay, "99999999999"}}), std::nullopt, "",
         MainFields{35, 27, 139, 39, 9, 2000, 1, 2147483647, "横浜"}},
        // Thirteen CP932 bytes: refused, but kept in the field.
        {TextsWith({{MainBox::kName, "東京都千代田区"}}), MainBox::kName,
         "12 文字以内で入力してください。",
         MainFields{35, 27, 139, 39, 9, 2000, 1, 1, "東京都千代田区"}},
        {TextsWith({{MainBox::kName, "ABCDEFGHIJKL"}}), std::nullopt, "",
         MainFields{35, 27, 139, 39, 9, 2000, 1, 1, "ABCDEFGHIJKL"}},
    };
    for (const auto& c : cases) {
        const BoxExchange got = ExchangeBoxTexts(c.texts, before);
        EXPECT_EQ(got.refused, c.refused) << c.message;
        EXPECT_EQ(got.message, c.message);
        EXPECT_EQ(got.fields, c.fields) << c.message;
    }
}

TEST(MainBoxes, EveryCheckRunsInOrderOnWhatTheEarlierOnesLeft) {
    const MainFields before = Yokohama();
    MainFields typed = before;
    typed.year = 2201;
    typed.month = 13;
    typed.lonDeg = 181; // restored to 139, then judged with time difference 3
    typed.timeDiff = 3;
    typed.name = "東京都千代田区";
    const std::vector<CheckStep> steps = RunBoxChecks(before, typed);
    const struct {
        MainBox box;
        const char* message;
    } expected[] = {
        {MainBox::kYear, "「年」に指定できる値は0～2200です。元に戻します。"},
        {MainBox::kMonth, "「月」に指定できる値は1～12です。元に戻します。"},
        {MainBox::kLongitudeDegrees, "「経度」に指定できる値は -180～180 です。元に戻します。"},
        {MainBox::kTimeDifference, "時差の指定が変です。修正します。"},
        {MainBox::kName, "地名は全角６文字以内にしてください。元に戻します。"},
    };
    ASSERT_EQ(steps.size(), std::size(expected));
    for (std::size_t i = 0; i < steps.size(); ++i) {
        EXPECT_EQ(steps[i].box, expected[i].box) << i;
        EXPECT_EQ(steps[i].message, expected[i].message) << i;
    }
    EXPECT_EQ(steps.back().fields, before); // 9 is what 139 suggests
    EXPECT_EQ(steps[2].fields.timeDiff, 3);
    EXPECT_EQ(steps[3].fields.timeDiff, 9);
    EXPECT_TRUE(RunBoxChecks(before, before).empty());
}

TEST(MainBoxes, EachCheckAcceptsItsLimitsAndRefusesBeyond) {
    const struct {
        MainBox box;
        int accepted[2];
        int refused[2];
    } cases[] = {
        {MainBox::kYear, {0, 2200}, {-1, 2201}},
        {MainBox::kMonth, {1, 12}, {0, 13}},
        {MainBox::kDay, {1, 31}, {0, 32}},
        {MainBox::kLatitudeDegrees, {-54, 54}, {-55, 55}},
        {MainBox::kLatitudeMinutes, {0, 59}, {-1, 60}},
        {MainBox::kLongitudeDegrees, {-180, 180}, {-181, 181}},
        {MainBox::kLongitudeMinutes, {0, 59}, {-1, 60}},
        {MainBox::kTimeDifference, {7, 11}, {6, 12}}, // against longitude 139
    };
    for (const auto& c : cases) {
        MainFields f = Yokohama();
        for (int v : c.accepted) {
            BoxField(f, c.box) = v;
            EXPECT_TRUE(BoxAccepts(c.box, f)) << BoxCheckMessage(c.box, f) << v;
        }
        for (int v : c.refused) {
            BoxField(f, c.box) = v;
            EXPECT_FALSE(BoxAccepts(c.box, f)) << BoxCheckMessage(c.box, f) << v;
        }
    }
}

// The day is judged against its month and the longitude minutes against the
// degrees; a kept value that still does not fit brings back what it depends
// on, so the recompute never sees 2001-02-31 or 180°30′.
TEST(MainBoxes, TheDayFitsItsMonthAndNoLongitudeLiesPast180) {
    const struct {
        MainFields before, typed;
        const char* message;
        int year, month, day, lonDeg, lonMin;
    } cases[] = {
        {Yokohama(),
         [] {
             auto f = Yokohama();
             f.year = 2001;
             f.month = 2;
             f.day = 31;
             return f;
         }(),
         "「日」に指定できる値は 1～28 です。元に戻します。", 2001, 2, 1, 139, 39},
        {[] {
             auto f = Yokohama();
             f.month = 1;
             f.day = 31;
             return f;
         }(),
         [] {
             auto f = Yokohama();
             f.month = 2;
             f.day = 31;
             return f;
         }(),
         "「日」に指定できる値は 1～29 です。元に戻します。", 2000, 1, 31, 139, 39},
        {Yokohama(),
         [] {
             auto f = Yokohama();
             f.lonDeg = 180;
             f.lonMin = 30;
             f.timeDiff = 12;
             return f;
         }(),
         "経度が 180 度のとき、「分」に指定できる値は 0 です。元に戻します。", 2000, 1, 1, 139, 39},
    };
    for (const auto& c : cases) {
        const std::vector<CheckStep> steps = RunBoxChecks(c.before, c.typed);
        ASSERT_FALSE(steps.empty()) << c.message;
        EXPECT_EQ(steps.front().message, c.message);
        const MainFields& last = steps.back().fields;
        EXPECT_EQ(last.ToDate(), (CivilDate{c.year, c.month, c.day})) << c.message;
        EXPECT_EQ(last.lonDeg, c.lonDeg) << c.message;
        EXPECT_EQ(last.lonMin, c.lonMin) << c.message;
    }
}

} // namespace
