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

TEST(PageLink, QueriesDecodeAsBrowsersWriteThem) {
    const struct {
        std::string_view query;
        std::vector<LinkParameter> parameters;
    } cases[] = {
        {"", {}},
        {"?", {}},
        {"?place=%E6%9D%B1%E4%BA%AC&days=7", {{"place", "東京"}, {"days", "7"}}},
        {"time=%E6%9C%9D%E4%BA%94%E3%81%A4%E5%8D%8A", {{"time", "朝五つ半"}}},
        {"?at=2026-06-21+15:00", {{"at", "2026-06-21 15:00"}}},
        {"?a&&b=&=c", {{"a", ""}, {"b", ""}, {"", "c"}}},
        {"?x=%zz%4", {{"x", "%zz%4"}}},
        {"?x=1=2%3D3", {{"x", "1=2=3"}}},
        {"?x=%00%FF", {{"x", std::string("\0\xFF", 2)}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeLinkQuery(c.query), c.parameters) << c.query;
    // Written back, every value survives, and only the plain characters
    // stay as they are.
    const std::vector<LinkParameter> written = {
        {"name", "江戸"}, {"lat", "-33:52"}, {"at", "a b&c=d+e%"}, {"x", "<script>"}};
    EXPECT_EQ(EncodeLinkQuery(written),
              "?name=%E6%B1%9F%E6%88%B8&lat=-33:52&at=a%20b%26c%3Dd%2Be%25&x=%3Cscript%3E");
    EXPECT_EQ(DecodeLinkQuery(EncodeLinkQuery(written)), written);
    EXPECT_EQ(EncodeLinkQuery({}), "");
}

// The dialog opened on the first-start values, then the link applied.
std::string Link(CPageDialog& dialog, std::string_view query) {
    dialog.Open("");
    return dialog.OpenLink(query);
}

TEST(PageLink, ALinkOpensThePlaceDateChoicesFieldsAndView) {
    CPageDialog dialog;
    const std::string answer =
        Link(dialog, "?name=江戸&lat=35:41&lon=139:45&tz=9&date=安政7年3月3日&time=朝五つ半"
                     "&at=9:00&dawn=auto&view=year&moon=1");
    EXPECT_TRUE(
        Has(answer, R"("boxes": ["35", "41", "139", "45", "9", "1860", "3", "24", "江戸"])"))
        << answer;
    EXPECT_TRUE(Has(answer, R"("problems": [])"));
    EXPECT_TRUE(Has(answer, "朝五つ半                1860-03-24 08:27–09:34")) << answer;
    EXPECT_TRUE(Has(answer, "刻        朝五つ半（08:27 から、33 分経過）"));
    EXPECT_TRUE(Has(answer, R"("date": "安政7年3月3日")"));
    // Written back in the same order, the default choices left out.
    // Written back in the same order, 江戸's coordinates as 江戸 itself, the
    // default choices left out.
    EXPECT_EQ(dialog.LinkQuery(),
              "?place=%E6%B1%9F%E6%88%B8&date=%E5%AE%89%E6%94%BF7%E5%B9%B43%E6%9C%883%E6%97%A5"
              "&dawn=auto&time=%E6%9C%9D%E4%BA%94%E3%81%A4%E5%8D%8A&at=9:00&view=year&moon=1");
    // Opened again, the same link and the same answers.
    CPageDialog again;
    const std::string reopened = Link(again, dialog.LinkQuery());
    EXPECT_EQ(again.LinkQuery(), dialog.LinkQuery());
    EXPECT_EQ(again.ViewJson(), dialog.ViewJson());
    // A preset is named by its name; coordinates without a name leave the
    // name box empty.
    Link(dialog, "?place=Sydney&date=2026-06-21");
    EXPECT_EQ(dialog.LinkQuery(), "?place=Sydney&date=2026-06-21");
    EXPECT_TRUE(Has(Link(dialog, "?lat=-33.8688&lon=151.2093&tz=10"),
                    R"("boxes": ["-33", "52", "151", "13", "10", "2000", "1", "1", ""])"));
    EXPECT_EQ(dialog.LinkQuery(), "?lat=-33:52&lon=151:13&tz=10&date=2000-01-01");
    // A historical place by its name, or by its route and number where the
    // name is not its alone; its name as the name box takes it.
    const struct {
        std::string_view query, boxes, link;
    } historical[] = {
        {"?place=品川宿", R"(["35", "37", "139", "44", "9", "2000", "1", "1", "品川宿"])",
         "?place=%E5%93%81%E5%B7%9D%E5%AE%BF&date=2000-01-01"},
        {"?place=東海道36", R"(["34", "52", "137", "18", "9", "2000", "1", "1", "赤坂宿"])",
         "?place=%E6%9D%B1%E6%B5%B7%E9%81%9336&date=2000-01-01"},
        {"?place=大坂西町奉行所",
         R"(["34", "41", "135", "31", "9", "2000", "1", "1", "大坂西町奉行"])",
         "?place=%E5%A4%A7%E5%9D%82%E8%A5%BF%E7%94%BA%E5%A5%89%E8%A1%8C%E6%89%80&date=2000-01-01"},
    };
    for (const auto& h : historical) {
        EXPECT_TRUE(Has(Link(dialog, h.query), std::string(R"("boxes": )") + std::string(h.boxes)))
            << h.query;
        EXPECT_EQ(dialog.LinkQuery(), h.link) << h.query;
    }
    // A value is never taken for an option of its own.
    EXPECT_TRUE(Has(Link(dialog, "?name=--help&lat=35:41&lon=139:45&tz=9&time=-h"),
                    R"("boxes": ["35", "41", "139", "45", "9", "2000", "1", "1", "--help"])"));
}

TEST(PageLink, WhatALinkCannotUseIsNamedAndLeftAsItWas) {
    const std::string kYokohama =
        R"("boxes": ["35", "27", "139", "39", "9", "2000", "1", "1", "横浜"])";
    const struct {
        std::string query;
        std::string problem;
    } cases[] = {
        {"?foo=1", R"(リンクの \"foo\" は知らない項目です（読まずにおきます）)"},
        {"?date=2000-01-01&date=2027-01-01",
         "リンクに date が二度あります（はじめの値を使います）"},
        {"?place=江都",
         R"(リンクの場所 \"place=江都\" は使えません: 場所 \"江都\" は一覧にありません（近い名前: 京都、江尻宿、江戸。)"},
        {"?place=赤坂宿",
         "は 2 か所あります: 赤坂宿（東海道36、愛知県豊川市）、赤坂宿（中山道56、岐阜県大垣市）"},
        {"?lat=99&lon=0&tz=0", "場所は前のままです"},
        {"?lat=35", "--lat と --lon はそろえて指定してください"},
        {"?name=東京都千代田区神田&lat=35:41&lon=139:45&tz=9",
         "地名は全角６文字以内にしてください。"},
        {"?date=安政9年3月3日",
         R"(安政9年はありません（安政は元年から7年まで）。日付は 2000-01-01 のままです)"},
        {"?date=2201-01-01", "日付は 2000-01-01 のままです"},
        {"?date=--help", R"(日付 \"--help\" は読めません)"},
        {"?dawn=--version", R"(--dawn の値 \"--version\" は使えません)"},
        {"?date=%FF", "は読めません（256 バイトまでの、制御文字のない UTF-8 の文字列）"},
        {"?name=a%0Ab&lat=35:41&lon=139:45&tz=9", R"(\"a\\x0ab\" は読めません)"},
        {"?date=" + std::string(300, '1'), "256 バイトまで"},
        {"?dawn=dusk", R"(--dawn の値 \"dusk\" は使えません（depression, 36min, sunrise, auto）)"},
        {"?time=朝十つ", R"(刻の名 「朝十つ」 の 「十つ」 が読めません)"},
        {"?at=25:00", R"(時刻 \"25:00\" は範囲外です)"},
        {"?view=%3Cscript%3E", R"(リンクの view=\"<script>\" は使えません（day, year, export）)"},
        {"?moon=yes", R"(リンクの moon=\"yes\" は使えません)"},
        {"?format=ics", R"(リンクの format=\"ics\" は使えません（csv, json）)"},
        {"?days=0", "リンクの書き出しの指定は使えません"},
        {"?format=json&bom=1", "--bom は --format csv の出力にだけ付けられます"},
    };
    for (const auto& c : cases) {
        CPageDialog dialog;
        const std::string answer = Link(dialog, c.query);
        EXPECT_TRUE(Has(answer, c.problem)) << c.query << "\n" << answer;
        EXPECT_TRUE(Has(answer, kYokohama)) << c.query;
    }
    // A link of many parameters is read as far as a link goes.
    std::string many = "?";
    for (int i = 0; i < 1000; ++i) {
        many += 'x';
        many += std::to_string(i);
        many += "=1&";
    }
    CPageDialog dialog;
    const std::string answer = Link(dialog, many);
    EXPECT_TRUE(Has(answer, "リンクの項目が多すぎます（32 個まで読みます）"));
    EXPECT_FALSE(Has(answer, "x32"));
}

TEST(PageDialog, TheDateAsWrittenIsNamedAndUsed) {
    CPageDialog dialog;
    dialog.Open("");
    EXPECT_EQ(dialog.ReadDate("  "), "{}");
    EXPECT_EQ(
        dialog.ReadDate("安政7年3月20日"),
        R"({"text": "1860-04-10  和暦 万延元年3月20日  旧暦 1860年3月20日  節気 清明（1860-04-04 から）  干支 甲申（庚申年）  六曜 仏滅\u000a注  安政7年3月20日 は 万延元年3月20日（3月18日に改元）\u000a"})");
    EXPECT_EQ(dialog.ReadDate("2001-02-31"),
              R"({"message": "日付 \"2001-02-31\" は正しくありません（2001年2月は 28 日まで）"})");
    // Used: the date boxes take it; the link keeps it as written while the
    // chart shows its day.
    EXPECT_EQ(dialog.UseDate(" 元禄十五年十二月十四日 "),
              R"({"boxes": ["35", "27", "139", "39", "9", "1703", "1", "30", "横浜"]})");
    dialog.Calculate();
    EXPECT_TRUE(Has(dialog.LinkQuery(), "&date=%E5%85%83%E7%A6%84")) << dialog.LinkQuery();
    dialog.SetBoxText(static_cast<int>(MainBox::kDay), "31");
    dialog.Calculate();
    EXPECT_TRUE(Has(dialog.LinkQuery(), "&date=1703-01-31"));
    EXPECT_TRUE(Has(dialog.UseDate("安政9年3月3日"), R"("message")"));
}

TEST(PageDialog, AChoiceRedrawsTheChartAtOnce) {
    CPageDialog dialog;
    dialog.Open("");
    Type(dialog, {"35", "41", "139", "45", "9", "1700", "6", "21", "江戸"});
    dialog.Calculate();
    const std::string depression = dialog.ViewJson();
    EXPECT_TRUE(Has(depression, R"("text": "明六つ (卯)  03:45")")) << depression;
    EXPECT_TRUE(Has(dialog.SetChoice(static_cast<int>(PageChoice::kDawn), "auto"),
                    R"("text": "明六つ (卯)  03:52")"));
    EXPECT_TRUE(Has(dialog.LinkQuery(), "&dawn=auto"));
    EXPECT_TRUE(Has(dialog.SetChoice(static_cast<int>(PageChoice::kDawn), "dusk"), R"("message")"));
    EXPECT_EQ(dialog.SetChoice(static_cast<int>(PageChoice::kDawn), "depression"), depression);
}

TEST(PageDialog, TheYearChartIsTheCoresShapesWithItsReadOuts) {
    CPageDialog dialog;
    Link(dialog, "?place=東京&date=2026-06-21&view=year&moon=1");
    const std::string chart = dialog.YearChartJson(1200, 800);
    EXPECT_TRUE(Has(chart, R"("width": 1200, "height": 800, "font": 14, "titleFont": 19)"))
        << chart.substr(0, 300);
    EXPECT_TRUE(Has(chart, R"("days": 365)"));
    EXPECT_TRUE(Has(chart, R"("text": "東京　2026年（令和8年）", "title": true)"));
    EXPECT_TRUE(Has(chart, R"("text": "月の出", "title": false, "color": "#000000")"));
    EXPECT_TRUE(
        Has(chart, R"({"color": "#e60050", "opacity": 1.000, "width": 1.0, "dash": false})"));
    EXPECT_TRUE(Has(chart, R"("fill": "#0000c8", "points": ")"));
    // The marked day, the computed date, one dashed line.
    EXPECT_TRUE(Has(chart, R"({"pen": 7, "path": "M)"));
    // At the keyboard's cursor: the day and minute's own point and text.
    const std::string cursor = dialog.YearChartCursor(171, 870);
    EXPECT_TRUE(Has(cursor, "2026-06-21（令和8年6月21日）　14:")) << cursor;
    EXPECT_TRUE(Has(cursor, "　昼八つ (未)\""));
    EXPECT_EQ(dialog.YearChartReadoutAt(0, 0), "");
    // Held to the chart's days and clock.
    EXPECT_TRUE(Has(dialog.YearChartCursor(-5, 99999), "2026-01-01（令和8年1月1日）　23:"));
    // A place the command line refuses has no chart, and says why.
    dialog.Open("[Location]\nLatitude Degrees=99\n");
    EXPECT_TRUE(Has(dialog.YearChartJson(1200, 800), R"({"message": )"));
    EXPECT_EQ(dialog.YearChartCursor(0, 0), "{}");
}
