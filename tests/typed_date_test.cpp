// Dates, clock texts and angles as people type them: the plain text the
// readers see, and every form of a date with its refusals.
#include <gtest/gtest.h>

#include <string>

#include "core/typed_date.h"
#include "core/typed_text.h"

namespace tolmeri {
namespace {

TEST(TypedText, FullWidthFormsDashesAndSpacesAreMadePlain) {
    const struct {
        const char* typed;
        const char* plain;
    } cases[] = {
        {"２０２６－０６－２１", "2026-06-21"},
        {"１５：００", "15:00"},
        {"2026\u22120621", "2026-0621"},            // minus sign
        {"2026\u201006\u201321", "2026-06-21"},     // hyphen, en dash
        {"  2026-06-21\t", "2026-06-21"},           // blanks around
        {"\u30002026-06-21\u3000", "2026-06-21"},   // ideographic spaces around
        {"安政7年 3月3日", "安政7年3月3日"},        // beside a kanji
        {"安政 ７ 年　３月 ３日", "安政7年3月3日"}, // the ideographic space too
        {"15 : 00", "15:00"},
        {"2026 06 21", "2026 06 21"}, // between digits: kept, one space
        {"2026   06", "2026 06"},
        {"北緯 35度 22分", "北緯35度22分"},
        {"３５°２２′", "35°22′"}, // the angle marks are not full-width ASCII
        {"\xff\xfe", "\xff\xfe"}, // not UTF-8: kept as it is
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlainTypedText(c.typed), c.plain) << c.typed;
    EXPECT_EQ(TrimTypedBlanks(" \u3000New York\t"), "New York");
    EXPECT_EQ(TrimTypedBlanks("\u3000 "), "");
}

TEST(TypedDate, EveryFormNamesItsDay) {
    const struct {
        const char* text;
        CivilDate date;
    } cases[] = {
        {"2026-06-21", {2026, 6, 21}},
        {"0026-06-21", {26, 6, 21}},
        {"2026-6-1", {2026, 6, 1}},
        {" 2026-06-21 ", {2026, 6, 21}},
        {"２０２６－０６－２１", {2026, 6, 21}}, // not an era date
        {"1860/3/24", {1860, 3, 24}},
        {"1860/03/24", {1860, 3, 24}},
        {"１８６０／３／２４", {1860, 3, 24}},
        {"2026年6月21日", {2026, 6, 21}},
        {"2026年 6月 21日", {2026, 6, 21}},
        {"西暦2026年6月21日", {2026, 6, 21}},
        {"西暦 １８６０年３月２４日", {1860, 3, 24}},
        {"二〇二六年六月二十一日", {2026, 6, 21}},
        {"600年1月1日", {600, 1, 1}},
        {"旧暦1860年閏3月1日", {1860, 4, 21}},
        {"旧暦1600年9月15日", {1600, 10, 21}},
        {"旧暦1872年12月3日", {1873, 1, 1}},
        {"旧暦2026年8月15日", {2026, 9, 25}},
        {"旧暦2033年閏11月1日", {2033, 12, 22}},
        {"旧暦二〇三四年正月朔日", {2034, 2, 19}},
        {"安政7年3月3日", {1860, 3, 24}},
        {"安政7年 3月3日", {1860, 3, 24}},
        {"安政七年三月三日", {1860, 3, 24}},
        {"　慶長５年９月１５日　", {1600, 10, 21}},
    };
    for (const auto& c : cases) {
        const Result<TypedDate> d = ReadTypedDate(c.text);
        ASSERT_TRUE(d) << c.text << d.Message();
        EXPECT_EQ(d->date, c.date) << c.text;
        EXPECT_EQ(d->note, "") << c.text;
    }
    const Result<TypedDate> kept = ReadTypedDate("安政7年3月20日");
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->date, (CivilDate{1860, 4, 10}));
    EXPECT_EQ(kept->note, "安政7年3月20日 は 万延元年3月20日（3月18日に改元）");
}

TEST(TypedDate, EachRefusedFormSaysWhyInOneLine) {
    const struct {
        const char* text;
        const char* says;
    } cases[] = {
        {"2026 06 21", " は読めません（YYYY-MM-DD、YYYY/M/D、YYYY年M月D日 か和暦"},
        {"21-6-2001", " は読めません（YYYY-MM-DD"},
        {"24/3/1860", " は読めません（YYYY-MM-DD"},
        {"2026/6-21", " は読めません（YYYY-MM-DD"},
        {"26-06-21", " は読めません（年は 4 桁で書きます。26 年なら 0026-06-21）"},
        {"26/6/21", "26 年なら 0026-06-21"},
        {"2201-01-01", " は範囲外です（年は 0～2200）"},
        {"2201年1月1日", " は範囲外です（年は 0～2200）"},
        {"2026/13/1", " は正しくありません（月は 1～12）"},
        {"2026年2月29日", " は正しくありません（2026年2月は 28 日まで）"},
        {"2026年閏6月1日", " は正しくありません（閏月は旧暦だけです"},
        {"元年1月1日", " は読めません"},
        {"西暦2026-06-21", " は読めません"},
        {"旧暦2201年1月1日", " は範囲外です（旧暦は 445年から 2200年まで）"},
        {"旧暦2200年12月20日", " は範囲外です（旧暦の日付は 2200-12-31 まで）"},
        {"旧暦2026年閏8月1日", "旧暦2026年に閏8月はありません。この年に閏月はありません"},
        {"旧暦2034年閏1月1日", "旧暦2034年に閏1月はありません。この年に閏月はありません"},
        {"旧暦2025年閏5月1日", "旧暦2025年に閏5月はありません。この年の閏月は閏6月"},
        {"旧暦1860年閏4月1日", "旧暦1860年に閏4月はありません。この年の閏月は閏3月"},
        {"旧暦1861年閏1月1日", "この年に閏月はありません"},
        {"旧暦1860年2月30日", " は正しくありません（旧暦1860年2月は 29 日まで）"},
        {"慶長25年1月1日", ": 慶長25年はありません（慶長は元年から20年まで）"},
        {"大和3年1月1日", ": 「大和」という元号はありません"},
        {"令和200年1月1日", " は範囲外です（2218-01-01、年は 0～2200）"},
        {"", " は読めません"},
        {"today", " は読めません"},
    };
    for (const auto& c : cases) {
        const Result<TypedDate> d = ReadTypedDate(c.text);
        ASSERT_FALSE(d) << c.text;
        EXPECT_EQ(d.Kind(), FailureKind::kRefused) << c.text;
        EXPECT_NE(d.Message().find(c.says), std::string::npos) << c.text << d.Message();
        EXPECT_EQ(d.Message().find('\n'), std::string::npos) << c.text;
    }
}

} // namespace
} // namespace tolmeri
