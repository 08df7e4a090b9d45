// The web edition's binding, natively: what the page is told for each
// command (the messages one at a time with the boxes after each, the boxes,
// the chart's layout), the page's settings text read as the window reads a
// damaged file (hostile values included, under the sanitizers too), and the
// typing limit in the page's units.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "core/main_boxes.h"
#include "web/page_dialog.h"

namespace {

using namespace tolmeri;

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

void Type(CPageDialog& dialog, const MainBoxTexts& texts) {
    for (int box = 0; box < kMainBoxCount; ++box)
        dialog.SetBoxText(box, texts[static_cast<std::size_t>(box)]);
}

TEST(PageDialog, OpensOnTheFirstStartPlaceAndDateWithItsChart) {
    CPageDialog dialog;
    const std::string opened = dialog.Open("");
    EXPECT_TRUE(Has(opened, R"("boxes": ["35", "27", "139", "39", "9", "2000", "1", "1", "横浜"])"))
        << opened;
    EXPECT_TRUE(Has(
        opened,
        R"({"x": 78, "y": 36, "text": "暁九つ (子)  23:45", "kind": "row", "color": "#000000"})"))
        << opened;
    EXPECT_TRUE(Has(
        opened, R"("text": "横浜 － 西暦 2000年 1月 1日", "kind": "title", "color": "#800000"})"));
    EXPECT_TRUE(Has(opened, R"("fill": "#0000c8"})"));
}

TEST(PageDialog, CalculateTellsEachMessageWithWhatFollowsIt) {
    CPageDialog dialog;
    dialog.Open("");
    Type(dialog, {"35", "27", "181", "39", "3", "", "13", "1", "横浜"});
    const std::string answer = dialog.Calculate();
    // The exchange stops at the empty year (the focus goes there); then the
    // checks: the longitude restored, the time difference corrected.
    EXPECT_TRUE(Has(
        answer,
        R"({"text": "整数を入力してください。", "icon": "exclamation", "box": 5, "focus": true, "boxes": null})"))
        << answer;
    EXPECT_TRUE(Has(
        answer,
        R"({"text": "「経度」に指定できる値は -180～180 です。元に戻します。", "icon": "none", "box": 2, "focus": false, "boxes": ["35", "27", "139", "39", "3", "2000", "1", "1", "横浜"]})"))
        << answer;
    EXPECT_TRUE(Has(
        answer,
        R"({"text": "時差の指定が変です。修正します。", "icon": "none", "box": 4, "focus": false, "boxes": ["35", "27", "139", "39", "9", "2000", "1", "1", "横浜"]})"))
        << answer;
    EXPECT_FALSE(Has(answer, "「月」"));
}

TEST(PageDialog, SavedSettingsOpenAgainAndARefusedBoxSavesNothing) {
    CPageDialog dialog;
    dialog.Open("");
    dialog.ReadBoxes();
    dialog.ChooseLocation(50); // Sydney
    const std::string shown = dialog.SetToday(2026, 6, 21);
    EXPECT_TRUE(Has(shown, R"(["-33", "52", "151", "12", "10", "2026", "6", "21", "Sydney"])"))
        << shown;
    Type(dialog, {"-33", "52", "151", "12", "10", "2026", "6", "21", "Sydney"});
    const std::string saved = dialog.Save("; mine\n[Other]\nKey=1\n");
    EXPECT_EQ(
        saved,
        R"({"messages": [], "stored": "; mine\u000a[Other]\u000aKey=1\u000a[Location]\u000a)"
        R"(Location Name=Sydney\u000aLatitude Degrees=-33\u000aLatitude Minutes=52\u000a)"
        R"(Longitude Degrees=151\u000aLongitude Minutes=12\u000aTime Difference=10\u000a)"
        R"([Time]\u000aYear=2026\u000aMonth=6\u000aDay=21\u000a", )"
        R"("notice": "場所と日付を保存しました。次にこのページを開くと、この場所と日付で始まります。"})");

    CPageDialog again;
    EXPECT_TRUE(Has(
        again.Open("[Location]\nLocation Name=Sydney\nLatitude Degrees=-33\n[Time]\nYear=2026\n"),
        R"(["-33", "27", "139", "39", "9", "2026", "1", "1", "Sydney"])"));
    again.SetBoxText(static_cast<int>(MainBox::kDay), "x");
    EXPECT_TRUE(Has(again.Save("old"), R"("stored": null})"));
    again.SetBoxText(-1, "ignored");
    again.SetBoxText(kMainBoxCount, "ignored");
}

TEST(PageDialog, HostileStoredValuesOpenWithoutHarm) {
    const std::string cases[] = {
        "[Location]\nLatitude Degrees=2147483647\nLatitude Minutes=-2147483648\n"
        "Longitude Degrees=-2147483648\nLongitude Minutes=2147483647\nTime Difference=2147483647\n"
        "[Time]\nYear=2147483647\nMonth=-2147483648\nDay=2147483647\n",
        "[Location]\nLatitude Degrees=90\nLongitude Degrees=99999\nTime Difference=-99\n"
        "[Time]\nYear=-2147483648\nMonth=2147483647\nDay=-2147483648\n",
        "[Location]\nLocation Name=\"\\u0000<script>\x81\n",
        std::string("\xFF\xFE[\0Location]", 13),
    };
    for (const std::string& stored : cases) {
        CPageDialog dialog;
        const std::string opened = dialog.Open(stored);
        EXPECT_FALSE(Has(opened, "nan") || Has(opened, "inf")) << opened;
        const std::string calculated = dialog.Calculate();
        EXPECT_FALSE(Has(calculated, "nan") || Has(calculated, "inf")) << calculated;
    }
}

TEST(PageDialog, TypingKeepsWhatTheWindowsBoxesTake) {
    const int name = static_cast<int>(MainBox::kName);
    const int year = static_cast<int>(MainBox::kYear);
    EXPECT_EQ(LimitBoxEdit(name, "", "東京都千代田区", 7),
              R"({"text": "東京都千代田", "cursor": 6})");
    // The cursor counts UTF-16 units: 😀 is two, and is dropped.
    EXPECT_EQ(LimitBoxEdit(name, "ab", "a😀b", 3), R"({"text": "ab", "cursor": 1})");
    EXPECT_EQ(LimitBoxEdit(year, "20", "2026", 4), R"({"text": "2026", "cursor": 4})");
    EXPECT_EQ(LimitBoxEdit(year, "", "1\t2", 3), R"({"text": "12", "cursor": 2})");
    EXPECT_EQ(LimitBoxEdit(99, "", "é", 1), R"({"text": "", "cursor": 0})");
}

TEST(PageDialog, ThePresetListAsTheWindowShowsIt) {
    const std::string places = PresetPlacesJson();
    EXPECT_EQ(
        places.rfind(
            R"({"name": "根室", "latitude": "+43:20", "longitude": "+145:35", "tz": "+09"})", 1),
        1u);
    EXPECT_TRUE(Has(
        places, R"({"name": "Lima", "latitude": "-12:01", "longitude": "-077:07", "tz": "-05"}])"));
    std::size_t count = 0;
    for (std::size_t at = places.find("\"name\""); at != std::string::npos;
         at = places.find("\"name\"", at + 1))
        ++count;
    EXPECT_EQ(count, 53u);
}

} // namespace
