// Dates, clock texts and angles as people type them: the plain text the
// readers see, and every form of a date with its refusals.
#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>

#include "core/accepted_ranges.h"
#include "core/typed_date.h"
#include "core/typed_text.h"
#include "core/utf8.h"

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
        // Blanks beside a byte that is not UTF-8 stay, as one space: joined,
        // the pieces would make 日 and then a space.
        {"21\xe6 \x97 \xa5", "21\xe6 \x97 \xa5"},
        {"\xe3 \x80\x80\x82 ", "\xe3 \x80\x80\x82"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlainTypedText(c.typed), c.plain) << c.typed;
    EXPECT_EQ(TrimTypedBlanks(" \u3000New York\t"), "New York");
    EXPECT_EQ(TrimTypedBlanks("\u3000 "), "");
}

// A name must show something, and nothing that acts on the line it stands
// in.
TEST(TypedText, ANameNeedsAVisibleCharacterAndNoControlOrFormatOne) {
    const struct {
        const char* name;
        NameFault fault;
        char32_t code;
    } cases[] = {
        {"江戸", NameFault::kNone, 0},
        {"New York", NameFault::kNone, 0},
        {"\u00a0東京\u00a0", NameFault::kNone, 0},
        {"\U0001f600", NameFault::kNone, 0},
        {"", NameFault::kInvisible, 0},
        {" \u3000", NameFault::kInvisible, 0},
        {"\u00a0", NameFault::kInvisible, 0},
        {"\u3164\uffa0\u115f", NameFault::kInvisible, 0},
        {"\ufe0f\u2800", NameFault::kInvisible, 0},
        {"\u200b", NameFault::kControl, 0x200B},
        {"東京\ufeff", NameFault::kControl, 0xFEFF},
        {"\u202e京東", NameFault::kControl, 0x202E},
        {"\U000e0041", NameFault::kControl, 0xE0041},
        {"\ufff9a\ufffa", NameFault::kControl, 0xFFF9},
        {"a\u2028b", NameFault::kControl, 0x2028},
        {"a\tb", NameFault::kControl, 0x09},
        {"\xc2\x85", NameFault::kControl, 0x85},
        {"東\xff", NameFault::kNotUtf8, 0},
    };
    for (const auto& c : cases) {
        const NameCheck check = CheckTypedName(c.name);
        EXPECT_EQ(check.fault, c.fault) << c.name;
        EXPECT_EQ(check.code, c.code) << c.name;
    }
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
        {"0600年1月1日", {600, 1, 1}},
        {"〇六〇〇年一月一日", {600, 1, 1}},
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

// The forms the texts themselves write: the month's last day, the twelfth
// month's names, the year's 干支 beside its number, the formal numerals, and
// a Julian date, each the day its plain form names and with how it was
// written (which says the day it means).
TEST(TypedDate, DatesAsTheTextsWriteThem) {
    const struct {
        const char* text;
        const char* plain; // the same day written plainly
        DateWriting writing;
        const char* note;
    } cases[] = {
        {"元禄15年12月14日", "1703-01-30", DateWriting::kEra, ""},
        {"元禄十五壬午年極月十四日", "元禄15年12月14日", DateWriting::kEra, ""},
        {"元禄十五年壬午十二月十四日", "元禄15年12月14日", DateWriting::kEra, ""},
        {"元禄十五年臘月十四日", "元禄15年12月14日", DateWriting::kEra, ""},
        {"元禄拾五年拾弐月拾四日", "元禄15年12月14日", DateWriting::kEra, ""},
        {"元禄壱拾五年弐月参日", "元禄15年2月3日", DateWriting::kEra, ""},
        {"元禄貳年參月壹日", "元禄2年3月1日", DateWriting::kEra, ""},
        {"元禄15年12月晦日", "元禄15年12月30日", DateWriting::kEra, ""}, // 大の月
        {"元禄15年11月晦日", "元禄15年11月29日", DateWriting::kEra, ""}, // 小の月
        {"旧暦1702年12月晦日", "元禄15年12月30日", DateWriting::kLunisolar, ""},
        {"旧暦1702年極月十四日", "元禄15年12月14日", DateWriting::kLunisolar, ""},
        {"2026年2月晦日", "2026-02-28", DateWriting::kWestern, ""},
        {"明治6年1月1日", "1873-01-01", DateWriting::kEra, ""},
        {"ユリウス暦1582年6月21日", "1582-07-01", DateWriting::kWestern,
         "ユリウス暦1582年6月21日 は 1582-07-01"},
        {"ユリウス暦1582-06-21", "1582-07-01", DateWriting::kWestern,
         "ユリウス暦1582年6月21日 は 1582-07-01"},
        {"ユリウス暦 1700/2/29", "1700-03-11", DateWriting::kWestern,
         "ユリウス暦1700年2月29日 は 1700-03-11"},
    };
    for (const auto& c : cases) {
        const Result<TypedDate> d = ReadTypedDate(c.text);
        const Result<TypedDate> plain = ReadTypedDate(c.plain);
        ASSERT_TRUE(d) << c.text << d.Message();
        ASSERT_TRUE(plain) << c.plain;
        EXPECT_EQ(d->date, plain->date) << c.text;
        EXPECT_EQ(d->writing, c.writing) << c.text;
        EXPECT_EQ(d->note, c.note) << c.text;
    }
    const struct {
        const char* text;
        const char* says;
    } refused[] = {
        {"元禄十五辛巳年十二月十四日", ": 元禄15年は辛巳の年ではありません（この年は壬午）"},
        {"元禄15年閏12月晦日", ": 元禄15年に閏12月はありません"},
        {"元禄15年13月晦日", ": 元禄15年に13月はありません"},
        {"ユリウス暦1582年2月30日", " は正しくありません（ユリウス暦1582年2月は 28 日まで）"},
        {"ユリウス暦82/6/21", " は読めません（年は 4 桁で書きます）"},
        {"ユリウス暦2200年12月25日", " は範囲外です（グレゴリオ暦 2201-01-09、年は 0～2200）"},
    };
    for (const auto& c : refused) {
        const Result<TypedDate> d = ReadTypedDate(c.text);
        ASSERT_FALSE(d) << c.text;
        EXPECT_NE(d.Message().find(c.says), std::string::npos) << c.text << d.Message();
    }
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
        {"26-06-21", " は読めません（年は 4 桁で書きます。26 年なら 0026-06-21、令和26年 なら "
                     "2044-06-21）"},
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

// A year with its units in fewer than four digits is how an era year is
// often written without its era (令和8年 as 8年): refused, with the readings
// it may have meant that are real days.
TEST(TypedDate, AShortYearIsRefusedWithTheReadingsItMayMean) {
    const struct {
        const char* text;
        const char* says; // after the quoted text
    } cases[] = {
        {"8年6月21日", " は読めません（年は 4 桁で書きます。8 年なら 0008-06-21、令和8年 なら "
                       "2026-06-21）"},
        {"26年6月21日", "。26 年なら 0026-06-21、令和26年 なら 2044-06-21）"},
        {"２６年６月２１日", "。26 年なら 0026-06-21、令和26年 なら 2044-06-21）"},
        {"二六年六月二十一日", "。26 年なら 0026-06-21、令和26年 なら 2044-06-21）"},
        {"西暦26年6月21日", "。26 年なら 0026-06-21、令和26年 なら 2044-06-21）"},
        {"二十六年六月二十一日", "令和26年 なら 2044-06-21）"},
        {"600年1月1日", "。600 年なら 0600-01-01）"}, // 令和600年 is past 2200
        {"1年5月1日", "。1 年なら 0001-05-01、令和元年 なら 2019-05-01）"},
        {"1年4月30日", "。1 年なら 0001-04-30）"}, // before 令和 began
        // Only real days are offered.
        {"26/13/40", " は読めません（年は 4 桁で書きます）"},
        {"0/0/0", " は読めません（年は 4 桁で書きます）"},
        {"7年2月29日", " は読めません（年は 4 桁で書きます）"}, // neither 7 nor 2025 leaps
        {"8年2月29日", "。8 年なら 0008-02-29）"},              // 2026 does not leap
    };
    for (const auto& c : cases) {
        const Result<TypedDate> d = ReadTypedDate(c.text);
        ASSERT_FALSE(d) << c.text;
        EXPECT_TRUE(d.Message().ends_with(c.says)) << c.text << d.Message();
        EXPECT_TRUE(d.Message().starts_with(" は読めません（年は 4 桁で書きます")) << c.text;
    }
}

// Bytes that are not UTF-8 are refused before anything else: no reader
// sees the pieces, which blanks dropped between them would join into a
// character ("\xe6 \x97 \xa5" into 日).
TEST(TypedDate, BytesThatAreNotUtf8AreNoDate) {
    for (const char* text : {"2026年6月21\xe6 \x97 \xa5", "2026-06-21\xff", "\xc0\xb5年1月1日",
                             "安政7年3月3日\xed\xa0\x80", "2026\xe3 \x80\x80-06-21"}) {
        const Result<TypedDate> d = ReadTypedDate(text);
        ASSERT_FALSE(d) << text;
        EXPECT_EQ(d.Message(), " は UTF-8 の文字列ではありません");
    }
}

// Properties over many texts made of the pieces dates are typed with and of
// broken bytes: the plain-text step changes nothing the second time, no
// bytes that are not UTF-8 make a date, and a date read is an accepted day
// whether or not the text was made plain first.
TEST(TypedText, ThePlainTextStepIsIdempotentAndBrokenBytesNeverDate) {
    const std::string_view pieces[] = {
        "2026", "26",     "6",    "21",   "-",    "/",    "年",   "月",   "日",   " ",
        "\t",   "\u3000", "２",   "－",   "令和", "慶長", "旧暦", "西暦", "元",   "閏",
        "二〇", "十",     "\xe6", "\x97", "\xa5", "\xe3", "\x80", "\xc0", "\xff", "\xed\xa0\x80",
        "T",    "15:00"};
    std::uint32_t state = 2026;
    const auto next = [&state](std::uint32_t n) {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % n;
    };
    for (int round = 0; round < 200000; ++round) {
        std::string text;
        for (std::uint32_t k = next(9); k > 0; --k)
            text += pieces[next(std::size(pieces))];
        const std::string plain = PlainTypedText(text);
        ASSERT_EQ(PlainTypedText(plain), plain) << text;
        const Result<TypedDate> d = ReadTypedDate(text);
        if (!IsWellFormedUtf8(text)) {
            ASSERT_FALSE(d) << text;
            continue;
        }
        const Result<TypedDate> again = ReadTypedDate(plain);
        ASSERT_EQ(d.Ok(), again.Ok()) << text;
        if (d) {
            ASSERT_TRUE(IsAcceptedDate(d->date)) << text;
            ASSERT_EQ(d->date, again->date) << text;
        }
    }
}

} // namespace
} // namespace tolmeri
