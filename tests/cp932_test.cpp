// Code page 932 by the program's own table (core/cp932.h), judged by the C
// library's converter the table was made from: every byte and pair of
// bytes read, every character of the Basic Multilingual Plane written, and
// texts of random bytes; and the lengths the name's limit counts.
#include <gtest/gtest.h>

#include <cerrno>
#include <iconv.h>
#include <random>
#include <string>

#include "core/cp932.h"
#include "core/utf8.h"

namespace {

using tolmeri::Cp932Length;
using tolmeri::FromCp932;
using tolmeri::ToCp932;

TEST(Cp932, RoundTripsAndCountsBytes) {
    EXPECT_EQ(ToCp932("横浜"), "\x89\xA1\x95\x6C");
    EXPECT_EQ(FromCp932("\x89\xA1\x95\x6C"), "横浜");
    EXPECT_EQ(ToCp932("－"), "\x81\x7C");
    EXPECT_EQ(ToCp932("～"), "\x81\x60");

    struct Case {
        const char* utf8;
        int bytes;
    };
    const Case cases[] = {
        {"", 0},   {"Sydney", 6}, {"津", 2}, {"ｷｬﾝｾﾙ", 5}, {"鹿児島", 6}, {"東京都千代田", 12},
        {"😀", -1}, {"a😀", -1},    {"Ω", 2},  {"é", -1},    {"\xFF", -1},  {"\xED\xA0\x80", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Cp932Length(c.utf8), c.bytes) << c.utf8;
}

TEST(Cp932, UndecodableBytesShowAsReplacementMarks) {
    // A lone lead byte at the end, and bytes CP932 leaves undefined.
    EXPECT_EQ(FromCp932("ab\x89"), "ab\uFFFD");
    EXPECT_EQ(FromCp932("\xA0x"), "\uFFFDx");
    EXPECT_EQ(FromCp932("\x85\x40\x89\xA1"), "\uFFFD@横");
    bool ok = true;
    EXPECT_EQ(ToCp932("a😀b", &ok), "a?b");
    EXPECT_FALSE(ok);
    // Each byte that is not UTF-8 is one "?": a lone surrogate's three.
    EXPECT_EQ(ToCp932("a\xED\xA0\x80", &ok), "a???");
    EXPECT_FALSE(ok);
}

// The C library's CP932 converter, the table's source, read and written as
// the program once did: a byte it cannot read is one U+FFFD, a character it
// cannot write one "?". Both in UTF-8.
std::string LibraryFromCp932(const std::string& in) {
    const iconv_t cd = iconv_open("UTF-8", "CP932");
    EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));
    std::string out;
    std::string copy = in;
    char* src = copy.data();
    size_t left = copy.size();
    while (left > 0) {
        char buffer[64];
        char* dst = buffer;
        size_t room = sizeof buffer;
        const size_t r = iconv(cd, &src, &left, &dst, &room);
        out.append(buffer, static_cast<std::size_t>(dst - buffer));
        if (r != static_cast<size_t>(-1))
            break;
        if (errno == E2BIG)
            continue;
        tolmeri::AppendUtf8(out, tolmeri::kReplacementCharacter);
        ++src;
        --left;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    return out;
}

std::string LibraryToCp932(const std::string& utf8) {
    const iconv_t cd = iconv_open("CP932", "UTF-8");
    std::string copy = utf8;
    char* src = copy.data();
    size_t left = copy.size();
    char buffer[8];
    char* dst = buffer;
    size_t room = sizeof buffer;
    const bool done = iconv(cd, &src, &left, &dst, &room) != static_cast<size_t>(-1);
    iconv_close(cd);
    return done ? std::string(buffer, static_cast<std::size_t>(dst - buffer)) : "?";
}

TEST(Cp932, ReadsAndWritesAsTheLibrarysConverter) {
    for (int a = 0; a < 256; ++a) {
        const std::string one(1, static_cast<char>(a));
        ASSERT_EQ(FromCp932(one), LibraryFromCp932(one)) << a;
        for (int b = 0; b < 256; ++b) {
            const std::string two = one + static_cast<char>(b);
            ASSERT_EQ(FromCp932(two), LibraryFromCp932(two)) << a << " " << b;
        }
    }
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        std::string text;
        tolmeri::AppendUtf8(text, c);
        bool ok = false;
        const std::string written = ToCp932(text, &ok);
        const unsigned shown = c;
        ASSERT_EQ(written, LibraryToCp932(text)) << std::hex << shown;
        ASSERT_EQ(ok, written != "?" || c == U'?') << std::hex << shown;
    }
    std::mt19937 random(932);
    for (int n = 0; n < 2000; ++n) {
        std::string bytes;
        for (int i = static_cast<int>(random() % 12); i > 0; --i)
            bytes += static_cast<char>(random() % 4 == 0 ? random() % 128 : 0x80 + random() % 128);
        ASSERT_EQ(FromCp932(bytes), LibraryFromCp932(bytes));
    }
}

} // namespace
