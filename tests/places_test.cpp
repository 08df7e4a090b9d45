// The historical places and the user's own: every key that finds a place,
// the romaji made from the readings, ambiguity and suggestions, the ranking
// of a list's search, where a point comes from, and the rows of a user's file
// that are read or named as bad.
#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <sstream>

#include "core/kana.h"
#include "core/place.h"
#include "core/places.h"

namespace {

using namespace tolmeri;

const CPlaceBook& Table() {
    return CPlaceBook::Historical();
}

// "品川宿" or "赤坂宿 東海道36": the names (and first stations) of places.
std::vector<std::string> Names(const std::vector<const PlaceRecord*>& places) {
    std::vector<std::string> names;
    for (const PlaceRecord* p : places) {
        std::string name(p->name);
        if (!p->stops.empty()) {
            name += ' ';
            name += RouteStopText(p->stops.front());
        }
        names.push_back(name);
    }
    return names;
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << path;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(Places, TheTableHoldsEveryRowOfItsFile) {
    const std::vector<PlaceRecord>& places = Table().Places();
    ASSERT_EQ(places.size(), 370u);
    EXPECT_TRUE(Table().Problems().empty());
    std::size_t stations = 0, castleTowns = 0;
    for (const PlaceRecord& p : places) {
        stations += p.kind == PlaceKind::kStation;
        castleTowns += p.kind == PlaceKind::kCastleTown;
        EXPECT_FALSE(p.romaji.empty()) << p.name;
        EXPECT_EQ(p.origin, PlaceOrigin::kTable);
    }
    EXPECT_EQ(stations, 118u);
    EXPECT_EQ(castleTowns, 151u);
}

TEST(Places, EachKeyFindsItsPlace) {
    const struct {
        const char* typed;
        const char* found; // name and first station
    } cases[] = {
        // Names, and names without or with a suffix.
        {"江戸", "江戸"},
        {"品川宿", "品川宿 東海道1"},
        {"品川", "品川宿 東海道1"},
        {"彦根城下", "彦根"},
        {"江戸城下", "江戸"},
        {" 大坂 ", "大坂"},
        {"保土ケ谷宿", "保土ヶ谷宿 東海道4"},
        {"関宿", "関宿 東海道47"},
        {"関宿城下", "関宿城下"},
        // Readings, in hiragana or katakana.
        {"えど", "江戸"},
        {"エド", "江戸"},
        {"きょう", "京"},
        {"しながわじゅく", "品川宿 東海道1"},
        {"ひこねじょうか", "彦根"},
        // Romaji: length marks, hyphens, case, -shuku or -juku, as keyboards type.
        {"edo", "江戸"},
        {"EDO", "江戸"},
        {"kyo", "京"},
        {"kyou", "京"},
        {"Kyō", "京"},
        {"oosaka", "大坂"},
        {"Ōsaka", "大坂"},
        {"shinagawa-juku", "品川宿 東海道1"},
        {"Shinagawa Shuku", "品川宿 東海道1"},
        {"shinagawa", "品川宿 東海道1"},
        {"hikone-jōka", "彦根"},
        {"kuroishi-jinya", "黒石陣屋"},
        {"kuroishi-jin'ya", "黒石陣屋"},
        {"nikko", "日光"},
        {"ｅｄｏ", "江戸"},
        // Routes and numbers.
        {"東海道1", "品川宿 東海道1"},
        {"東海道０", "日本橋 東海道0"},
        {"中山道0", "日本橋 東海道0"},
        {"中山道28", "和田宿 中山道28"},
        {"中山道 68", "草津宿 東海道52"},
        {"中仙道69", "大津宿 東海道53"},
        {"tokaido54", "三条大橋 東海道54"},
        {"Tōkaidō 36", "赤坂宿 東海道36"},
        {"なかせんどう56", "赤坂宿 中山道56"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Names(Table().Find(c.typed)), std::vector<std::string>{c.found}) << c.typed;
}

TEST(Places, EveryPlaceIsFoundByItsNameReadingLatinNameAndStations) {
    for (const PlaceRecord& p : Table().Places()) {
        for (std::string_view key : {p.name, p.reading, std::string_view(p.latinName)}) {
            const std::vector<const PlaceRecord*> found = Table().Find(key);
            EXPECT_NE(std::find(found.begin(), found.end(), &p), found.end())
                << p.name << " by " << key;
        }
        for (const RouteStop& stop : p.stops)
            EXPECT_EQ(Table().Find(RouteStopText(stop)), std::vector<const PlaceRecord*>{&p});
    }
}

TEST(Places, AnAmbiguousKeyGivesEveryCandidate) {
    const struct {
        const char* typed;
        std::vector<std::string> found;
    } cases[] = {
        {"赤坂宿", {"赤坂宿 東海道36", "赤坂宿 中山道56"}},
        {"akasaka", {"赤坂宿 東海道36", "赤坂宿 中山道56"}},
        {"箱根", {"箱根宿 東海道10", "箱根関所"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Names(Table().Find(c.typed)), c.found) << c.typed;
    const std::vector<const PlaceRecord*> akasaka = Table().Find("赤坂宿");
    ASSERT_EQ(akasaka.size(), 2u);
    EXPECT_EQ(PlaceLabel(*akasaka[0]), "赤坂宿（東海道36、愛知県豊川市）");
    EXPECT_EQ(PlaceLabel(*akasaka[1]), "赤坂宿（中山道56、岐阜県大垣市）");
    EXPECT_EQ(PlaceLabel(*Table().Find("草津宿").front()),
              "草津宿（東海道52・中山道68、滋賀県草津市）");
    EXPECT_EQ(PlaceLabel(*Table().Find("箱根関所").front()),
              "箱根関所（関所、神奈川県足柄下郡箱根町）");
}

TEST(Places, AnUnknownKeyGetsTheNearestNames) {
    const struct {
        const char* typed;
        std::vector<std::string> suggested; // among the suggestions, in this order
        bool onlyThese;
    } cases[] = {
        {"江都", {"江戸"}, false},
        {"shinagawa-jku", {"品川宿"}, true},
        {"edoo", {"江戸"}, false},
        {"東京都", {"東京"}, false}, // a preset's name is near too
        {"中山道32", {"中山道31 洗馬宿", "中山道33 贄川宿"}, true},
        {"東海道99", {"東海道54 三条大橋", "東海道53 大津宿"}, true},
        {"Atlantis", {}, true},
        {"", {}, true},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(Table().Find(c.typed).empty()) << c.typed;
        const std::vector<std::string> near = Table().Suggest(c.typed);
        EXPECT_LE(near.size(), 5u);
        if (c.onlyThese) {
            EXPECT_EQ(near, c.suggested) << c.typed;
            continue;
        }
        auto at = near.begin();
        for (const std::string& name : c.suggested) {
            at = std::find(at, near.end(), name);
            EXPECT_NE(at, near.end()) << c.typed << ": " << name;
        }
    }
}

TEST(Places, RomajiAreMadeFromTheReadingByTheHepburnRules) {
    const struct {
        const char* reading;
        const char* hepburn;
        const char* plain;
        const char* kana;
    } cases[] = {
        {"きょう", "kyō", "kyo", "kyou"},
        {"おおさか", "ōsaka", "osaka", "oosaka"},
        {"とうかいどう", "tōkaidō", "tokaido", "toukaidou"},
        {"ちゅうざん", "chūzan", "chuzan", "chuuzan"},
        {"にっこう", "nikkō", "nikko", "nikkou"},
        {"はっちょう", "hatchō", "hatcho", "hatchou"},
        {"じんや", "jin'ya", "jinya", "jinya"},
        {"しんえい", "shin'ei", "shinei", "shinei"},
        {"しゃじゅつ", "shajutsu", "shajutsu", "shajutsu"},
        {"ぢょ", "jo", "jo", "jo"},
        {"ふぁ", "fa", "fa", "fa"},
        {"エド", "edo", "edo", "edo"},
        {"キョート", "kyōto", "kyoto", "kyooto"},
        {"いいだ", "iida", "iida", "iida"},
        {"江戸", "", "", ""},
        {"", "", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RomajiOf(c.reading, RomajiStyle::kHepburn), c.hepburn) << c.reading;
        EXPECT_EQ(RomajiOf(c.reading, RomajiStyle::kPlain), c.plain) << c.reading;
        EXPECT_EQ(RomajiOf(c.reading, RomajiStyle::kKana), c.kana) << c.reading;
    }
    EXPECT_EQ(HiraganaOf("保土ケ谷とケガ"), "保土ヶ谷とけが");
    EXPECT_EQ(Table().Find("品川宿").front()->romaji, "shinagawa-shuku");
    EXPECT_EQ(Table().Find("関宿").front()->romaji, "seki-juku");
    EXPECT_EQ(Table().Find("彦根").front()->romaji, "hikone");
    EXPECT_EQ(Table().Find("黒石陣屋").front()->romaji, "kuroishi-jin'ya");
    EXPECT_EQ(Table().Find("黒石陣屋").front()->latinName, "kuroishi-jinya");
    EXPECT_EQ(Table().Find("大坂").front()->romaji, "ōsaka");
    EXPECT_EQ(Table().Find("大坂").front()->latinName, "osaka");
}

TEST(Places, DecimalDegreesAreRoundedToTheNearestMinute) {
    const struct {
        const char* text;
        int arcMinutes; // INT_MIN: refused
    } cases[] = {
        {"35.688371", 35 * 60 + 41}, // 41.302′
        {"139.754418", 139 * 60 + 45},
        {"35.675", 35 * 60 + 41},    // 40.5′ goes up
        {"35.674999", 35 * 60 + 40}, // 40.49994′
        {"-33.8667", -(33 * 60 + 52)},
        {"-0.5", -30},
        {"+26.2", 26 * 60 + 12},
        {"139", 139 * 60},
        {"35.999999", 36 * 60},
        {"", INT_MIN},
        {"35.", INT_MIN},
        {".5", INT_MIN},
        {"1234", INT_MIN},
        {"35,6", INT_MIN},
        {"--1", INT_MIN},
        {"35.1234567890123456", INT_MIN},
        {"三十五", INT_MIN},
    };
    for (const auto& c : cases) {
        int arc = INT_MIN;
        EXPECT_EQ(ReadDecimalDegrees(c.text, arc), c.arcMinutes != INT_MIN) << c.text;
        if (c.arcMinutes != INT_MIN) {
            EXPECT_EQ(arc, c.arcMinutes) << c.text;
        }
    }
    const Place edo = Table().Find("江戸").front()->ToPlace();
    EXPECT_EQ(edo, (Place{"江戸", 35, 41, 139, 45, 9}));
}

TEST(Places, AListSearchPutsWholeKeysFirstThenStartsThenTheRest) {
    // 品川 is 品川宿's short name (whole), いたばし starts 板橋宿.
    EXPECT_EQ(Names(Table().Search("品川")).front(), "品川宿 東海道1");
    const std::vector<std::string> kawa = Names(Table().Search("川"));
    EXPECT_GT(kawa.size(), 10u);
    const std::vector<std::string> shina = Names(Table().Search("shina"));
    EXPECT_EQ(shina.front(), "品川宿 東海道1");
    // 東海道1 is 品川宿 exactly, then 東海道10 to 19 that start so.
    const std::vector<std::string> one = Names(Table().Search("東海道1"));
    ASSERT_EQ(one.size(), 11u);
    EXPECT_EQ(one[0], "品川宿 東海道1");
    EXPECT_EQ(one[1], "箱根宿 東海道10");
    EXPECT_EQ(Table().Search("").size(), 370u);
    EXPECT_TRUE(Table().Search("zzzz").empty());

    // A route's stations in its order: 中山道 0 to 69, 草津宿 and 大津宿
    // (listed with the 東海道) at its end.
    PlaceFilter nakasendo;
    nakasendo.route = PlaceRoute::kNakasendo;
    const std::vector<const PlaceRecord*> stations = Table().Search("", nakasendo);
    ASSERT_EQ(stations.size(), 66u);
    EXPECT_EQ(stations.front()->name, "日本橋");
    EXPECT_EQ(stations[stations.size() - 2]->name, "草津宿");
    EXPECT_EQ(stations.back()->name, "大津宿");
    PlaceFilter barriers;
    barriers.kind = PlaceKind::kBarrier;
    EXPECT_EQ(Table().Search("", barriers).size(), 17u);
    EXPECT_EQ(Names(Table().Search("hakone", barriers)), std::vector<std::string>{"箱根関所"});

    const std::vector<PlaceMatch> matches = SearchPlaces(Table(), "東海道1");
    ASSERT_FALSE(matches.empty());
    EXPECT_EQ(matches[0].name, "品川宿");
    EXPECT_EQ(matches[0].kind, "宿場");
    EXPECT_EQ(matches[0].stops, (std::vector<RouteStop>{{PlaceRoute::kTokaido, 1}}));
    EXPECT_EQ(matches[0].place, (Place{"品川宿", 35, 37, 139, 44, 9}));
    EXPECT_FALSE(matches[0].provenance.source.empty());
}

TEST(Places, ThePointsProvenanceIsSaidInJapanese) {
    const struct {
        const char* place;
        const char* source;
        const char* note;
    } cases[] = {
        {"江戸",
         "『日本歴史地名大系』施設・地点項目データセット(CODH作成)「江戸城跡」 35.688371, "
         "139.754418",
         ""},
        {"板橋宿",
         "『日本歴史地名大系』地名項目データセット(CODH作成)「下板橋村」 35.753480, 139.706497",
         "宿場の位置は村の代表点（下板橋村）"},
        {"三島宿", nullptr, "宿場の位置は町の代表点（伝馬町）"},
        {"藤枝宿", nullptr, "宿場の位置は近くの地点（大慶寺）"},
        {"鳴海宿", nullptr, "宿場の位置は村の代表点（鳴海村）、位置は不確か"},
        {"常陸国府", nullptr, "位置は代わりの地点（府中城跡）"},
    };
    for (const auto& c : cases) {
        const std::vector<const PlaceRecord*> found = Table().Find(c.place);
        ASSERT_EQ(found.size(), 1u) << c.place;
        const PlaceProvenance p = ProvenanceOf(*found.front());
        if (c.source) {
            EXPECT_EQ(p.source, c.source);
        }
        EXPECT_EQ(p.note, c.note) << c.place;
    }
}

TEST(Places, TheUsersRowsAreReadAndEachBadOneNamedByItsLine) {
    const CPlaceBook book(
        "\xEF\xBB\xBF# 自分の場所\r\n"
        "\r\n"
        "name\treading\tkind\troute\tstation_no\tlatitude\tlongitude\textra\tnote\r\n"
        "茶屋\tちゃや\t\t\t\t35.5\t139.5\tx\tmine\r\n"
        "江戸\tエド\t都市\t\t\t35.7\t139.8\n"
        "宿\tしゅく\t宿場\t東海道\t1\t35.6\t139.7\n"
        "緯度なし\t\t\t\t\t\t139.5\n"
        "悪い緯度\t\t\t\t\tabc\t139.5\n"
        "北すぎ\t\t\t\t\t55.1\t139.5\n"
        "外国\t\t\t\t\t48.2\t16.37\n"
        "悪い種類\t\t村\t\t\t35\t139\n"
        "悪い道\t\t\t東山道\t1\t35\t139\n"
        "番号なし\t\t\t東海道\t\t35\t139\n"
        "漢字の読み\t茶屋\t\t\t\t35\t139\n"
        "列が多い\t\t\t\t\t35\t139\t\t\tone too many\n"
        "\t\t\t\t\t35\t139\n"
        "制御\x01文字\t\t\t\t\t35\t139\n"
        "注に制御\t\t\t\t\t35\t139\t\t\x1b[31m\n"
        "\u3164\t\t\t\t\t35\t139\n"
        "# 終わり\n");
    std::vector<std::string> problems;
    for (const PlaceRowProblem& p : book.Problems())
        problems.push_back(p.message);
    EXPECT_EQ(
        problems,
        (std::vector<std::string>{
            "7 行目: 緯度がありません",
            "8 行目: 緯度 \"abc\" は読めません（小数の度、例 35.688371）",
            "9 行目: 緯度 \"55.1\" は範囲外です（度は -54～54）",
            "10 行目: 経度 \"16.37\" は時差 9 に合いません（日本の時刻の場所だけを書けます）",
            "11 行目: 種類 \"村\" はありません（都市、宿場、城下、国府、関所、奉行所、港）",
            "12 行目: 道 \"東山道\" と番号 \"1\" が読めません（東海道、中山道、番号は 0～999、"
            "二つの道は | で区切る）",
            "13 行目: 道 \"東海道\" と番号 \"\" が読めません（東海道、中山道、番号は 0～999、"
            "二つの道は | で区切る）",
            "14 行目: 読み \"茶屋\" はかなではありません",
            "15 行目: 列が見出しより多くあります（区切りは TAB）",
            "16 行目: 名前がありません",
            "17 行目: name の列に使えない文字があります（U+0001 のような制御文字や書式文字）",
            "18 行目: note の列に使えない文字があります（U+001B のような制御文字や書式文字）",
            "19 行目: 名前に目に見える文字がありません",
        }));
    ASSERT_EQ(book.UserPlaceCount(), 3u);
    const PlaceRecord& teahouse = book.Places()[370];
    EXPECT_EQ(teahouse.name, "茶屋");
    EXPECT_EQ(teahouse.line, 4);
    EXPECT_EQ(teahouse.note, "mine");
    EXPECT_EQ(teahouse.origin, PlaceOrigin::kUser);
    EXPECT_EQ(teahouse.romaji, "chaya");
    EXPECT_EQ(PlaceLabel(teahouse), "茶屋（自分の場所 4 行目）");
    EXPECT_EQ(ProvenanceOf(teahouse).source, "自分の場所（places.tsv 4 行目） 35.5, 139.5");
    EXPECT_EQ(ProvenanceOf(teahouse).note, "mine");

    // The user's come first: their 江戸, and their station 東海道1.
    EXPECT_EQ(book.Find("edo"), std::vector<const PlaceRecord*>{&book.Places()[371]});
    EXPECT_EQ(book.Find("東海道1"), std::vector<const PlaceRecord*>{&book.Places()[372]});
    EXPECT_EQ(Names(book.Find("品川")), std::vector<std::string>{"品川宿 東海道1"});
    PlaceFilter mine;
    mine.origin = PlaceOrigin::kUser;
    EXPECT_EQ(book.Search("", mine).size(), 3u);
}

TEST(Places, AHeaderWithoutTheColumnsItNeedsLeavesOutTheWholeText) {
    const CPlaceBook book("# x\nname\tlat\tlon\n江戸\t35\t139\n");
    ASSERT_EQ(book.Problems().size(), 1u);
    EXPECT_EQ(book.Problems()[0].line, 2);
    EXPECT_EQ(
        book.Problems()[0].message,
        "2 行目: 見出しの行に name, latitude, longitude の列がありません（TAB 区切りの列名）");
    EXPECT_EQ(book.UserPlaceCount(), 0u);
    EXPECT_EQ(book.Places().size(), 370u);
    EXPECT_TRUE(CPlaceBook("").Problems().empty());
    EXPECT_TRUE(CPlaceBook("# only a comment\n\n").Problems().empty());
}

TEST(Places, ANameIsFittedToTheNameBoxByWholeCharacters) {
    const std::pair<const char*, const char*> names[] = {
        {"品川宿", "品川宿"},
        {"越前勝山城下", "越前勝山城下"},      // twelve bytes, whole
        {"大坂東町奉行所", "大坂東町奉行"},    // fourteen, cut
        {"ABCDEFGHIJKLMN", "ABCDEFGHIJKL"},    // one byte each
        {"茶屋ABCDEFGHIJ", "茶屋ABCDEFGH"},    // two and one
        {"茶屋ABCDEFG茶", "茶屋ABCDEFG"},      // no half character
        {"𠮷野家ABCDEFGHIJ", "𠮷野家ABCDEFG"}, // no CP932 code: "?", one byte
    };
    for (const auto& [name, fitted] : names)
        EXPECT_EQ(FitPlaceName(name), fitted) << name;
    EXPECT_EQ(SearchPlaces(Table(), "大坂西町奉行所").front().boxName, "大坂西町奉行");
}

// The credit lines go wherever the table goes: beside the data, in the
// notices installed with the program, in the Debian package's copyright
// file and in the help.
TEST(Places, TheCreditLinesTravelWithTheTable) {
    const std::string root = TOLMERI_SOURCE_DIR;
    for (const char* doi : {"10.20676/00000456", "10.20676/00000448"}) {
        EXPECT_NE(std::string(kHistoricalPlaceCredits).find(doi), std::string::npos) << doi;
        for (const char* file : {"/data/places/NOTICE.md", "/THIRD_PARTY_NOTICES.md",
                                 "/packaging/debian/copyright", "/res/help/tolmeri.HLP.html"})
            EXPECT_NE(ReadText(root + file).find(doi), std::string::npos) << file << " " << doi;
    }
}

} // namespace
