#include "core/utf8.h"

#include <gtest/gtest.h>

#include <string>

#include "core/calendar.h"

using namespace tolmeri;

TEST(Utf8, DecodesOnlyWellFormedCharacters) {
    struct Case {
        const char* why;
        std::string bytes;
        char32_t code; // U+FFFD with valid false for a refused form
        std::size_t length;
        bool valid;
    };
    const Case cases[] = {
        {"ASCII", "5", U'5', 1, true},
        {"two bytes, smallest", "\xC2\x80", 0x80, 2, true},
        {"three bytes", "年", U'年', 3, true},
        {"three bytes, before the surrogates", "\xED\x9F\xBF", 0xD7FF, 3, true},
        {"U+FFFE is a character", "\xEF\xBF\xBE", 0xFFFE, 3, true},
        {"four bytes, largest", "\xF4\x8F\xBF\xBF", 0x10FFFF, 4, true},
        {"overlong 5 in two bytes", "\xC0\xB5", 0xFFFD, 1, false},
        {"overlong in C1", "\xC1\xBF", 0xFFFD, 1, false},
        {"overlong 5 in three bytes", "\xE0\x80\xB5", 0xFFFD, 1, false},
        {"overlong U+07FF in three bytes", "\xE0\x9F\xBF", 0xFFFD, 1, false},
        {"overlong 5 in four bytes", "\xF0\x80\x80\xB5", 0xFFFD, 1, false},
        {"overlong U+FFFF in four bytes", "\xF0\x8F\xBF\xBF", 0xFFFD, 1, false},
        {"high surrogate", "\xED\xA0\x80", 0xFFFD, 1, false},
        {"low surrogate", "\xED\xBF\xBF", 0xFFFD, 1, false},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", 0xFFFD, 1, false},
        {"F5 lead", "\xF5\x80\x80\x80", 0xFFFD, 1, false},
        {"five-byte lead", "\xF8\x88\x80\x80\x80", 0xFFFD, 1, false},
        {"stray continuation", "\x80", 0xFFFD, 1, false},
        {"cut short", "\xE5\xB9", 0xFFFD, 1, false},
        {"continuation missing", "\xE5\x35\x35", 0xFFFD, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        const Utf8Char got = DecodeUtf8(c.bytes, 0);
        EXPECT_EQ(got.code, c.code);
        EXPECT_EQ(got.length, c.length);
        EXPECT_EQ(got.valid, c.valid);
        EXPECT_EQ(IsWellFormedUtf8(c.bytes), c.valid && c.length == c.bytes.size());
    }
}

TEST(Utf8, EraDatesInBadUtf8AreNoDates) {
    // Each of these read as a real day (or a real month's message) with a
    // lax decoder: the bad bytes decode to digits.
    const char* const texts[] = {
        "慶長\xC0\xB5年9月15日",         // overlong 5
        "慶長\xE0\x80\xB5年9月15日",     // overlong 5 in three bytes
        "慶長\xF0\x80\x80\xB5年9月15日", // overlong 5 in four bytes
        "慶長5年\xC0\xB1\xC0\xB3月1日",  // a month 13 typed as no one would
        "慶長5年9月\xC0\xB1\xC0\xB5日",  // overlong day 15
        "慶長5年9月15日\xED\xA0\x80",    // a surrogate after the date
        "\xF7\xBF\xBF\xBF"
        "5年9月15日", // beyond U+10FFFF as the era
    };
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        const EraDateParse p = ParseEraDate(text);
        EXPECT_EQ(p.error, EraDateError::kMalformed);
        EXPECT_EQ(EraDateErrorMessage(p).find("月はありません"), std::string::npos);
    }
    EXPECT_EQ(ParseEraDate("慶長5年9月15日").error, EraDateError::kNone);
}

TEST(Utf8, MessagesQuoteAtMostSixtyFourCharacters) {
    const std::string kanji64 = [] {
        std::string s;
        for (int i = 0; i < 64; ++i)
            s += "字";
        return s;
    }();
    const struct {
        std::string text;
        std::string shown;
    } cases[] = {
        {"", ""},
        {std::string(64, 'a'), std::string(64, 'a')},
        {std::string(65, 'a'), std::string(64, 'a') + "…"},
        {kanji64, kanji64},                                       // characters, not bytes
        {kanji64 + "x", kanji64 + "…"},                           // never cut inside 字
        {std::string(70, '\xC0'), std::string(64, '\xC0') + "…"}, // a bad byte is one
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShortenedForMessage(c.text), c.shown) << c.text.size();
}

// What a message quotes never acts on the terminal or window it is shown
// in: controls and broken bytes as byte escapes, the format characters that
// turn a line around or hide as code point escapes, the rest as it is.
TEST(Utf8, MessagesEscapeControlAndFormatCharacters) {
    const struct {
        const char* text;
        const char* shown;
    } cases[] = {
        {"東京 New York", "東京 New York"},
        {"\x1b[2J", "\\x1b[2J"},
        {"a\tb\nc", "a\\x09b\\x0ac"},
        {"\x7f", "\\x7f"},
        {"\xc2\x9b", "\\xc2\\x9b"}, // C1: both of its bytes
        {"\xff\xe6\x97", "\\xff\\xe6\\x97"},
        {"\u202e京東", "\\u202e京東"},
        {"\u200b\ufeff\u2066", "\\u200b\\ufeff\\u2066"},
        {"a\u2028b\u2029", "a\\u2028b\\u2029"},
        {"\U000E0041", "\\U000e0041"},
        {"\u00a0\u3164", "\u00a0\u3164"}, // blank, but no control
    };
    for (const auto& c : cases)
        EXPECT_EQ(EscapedForMessage(c.text), c.shown) << c.text;
    EXPECT_EQ(QuotedForMessage("\u202e"), "\"\\u202e\"");
    for (char32_t c : {U'\u0000', U'\u001f', U'\u0085', U'\u00ad', U'\u061c', U'\u200e', U'\u202a',
                       U'\u2069', U'\ufff9', U'\U000e007f'})
        EXPECT_TRUE(IsControlOrFormat(c)) << static_cast<unsigned>(c);
    for (char32_t c : {U' ', U'A', U'\u00a0', U'\u3000', U'\u3164', U'\ufe0f', U'\U0001f600'})
        EXPECT_FALSE(IsControlOrFormat(c)) << static_cast<unsigned>(c);
}

// Every character written reads back as itself in as many bytes as its
// range needs; what is no character is written as U+FFFD.
TEST(AppendUtf8, WritesWhatTheReaderReads) {
    for (char32_t c = 0; c <= 0x10FFFF; c += (c < 0x11000 ? 1 : 97)) {
        std::string text;
        AppendUtf8(text, c);
        const Utf8Char read = DecodeUtf8(text, 0);
        const bool surrogate = c >= 0xD800 && c <= 0xDFFF;
        const unsigned shown = c;
        ASSERT_TRUE(read.valid) << std::hex << shown;
        ASSERT_EQ(read.code, surrogate ? kReplacementCharacter : c) << std::hex << shown;
        ASSERT_EQ(read.length, text.size());
        ASSERT_EQ(text.size(), surrogate     ? 3u
                               : c < 0x80    ? 1u
                               : c < 0x800   ? 2u
                               : c < 0x10000 ? 3u
                                             : 4u);
    }
    std::string beyond;
    AppendUtf8(beyond, 0x110000);
    EXPECT_EQ(beyond, "\uFFFD");
}

TEST(Utf16, RoundTripsEveryCharacterAndReplacesWhatIsNone) {
    const struct {
        std::u16string utf16;
        std::string utf8;
    } cases[] = {
        {u"東京", "東京"},
        {u"𠮷野家", "𠮷野家"},                            // a surrogate pair
        {std::u16string(1, u'\xD842') + u"a", "\uFFFDa"}, // a high surrogate alone
        {std::u16string(1, u'\xDFB7'), "\uFFFD"},         // a low surrogate alone
        {u"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8FromUtf16(c.utf16), c.utf8);
        const std::u16string back = Utf16FromUtf8(c.utf8);
        EXPECT_EQ(Utf8FromUtf16(back), c.utf8);
    }
    EXPECT_EQ(Utf16FromUtf8("a\xFF"), u"a\uFFFD");
}
