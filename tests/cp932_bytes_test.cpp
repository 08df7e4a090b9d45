// The byte structure of CP932 text, judged by the C library's own CP932
// converter: which bytes it takes for the first half of a character, and
// that a text cut by DropDanglingLeadByte never ends inside a character.
#include <gtest/gtest.h>

#include <cerrno>
#include <iconv.h>
#include <random>
#include <string>

#include "core/cp932_bytes.h"

namespace {

using tolmeri::DropDanglingLeadByte;
using tolmeri::IsCp932LeadByte;

// How the converter ends on bytes: 0 when all of them convert, else the
// errno it stops with (EINVAL: the text ends inside a character; EILSEQ: a
// byte that is no character).
int ConversionEnd(const std::string& bytes) {
    iconv_t cd = ::iconv_open("UTF-8", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return -1;
    std::string in = bytes;
    char out[256];
    char* src = in.data();
    std::size_t srcLeft = in.size();
    char* dst = out;
    std::size_t dstLeft = sizeof out;
    const std::size_t r = ::iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    const int error = r == static_cast<std::size_t>(-1) ? errno : 0;
    ::iconv_close(cd);
    return error;
}

TEST(Cp932Bytes, LeadBytesAreTheOnesTheConverterWaitsAfter) {
    ASSERT_EQ(ConversionEnd("a"), 0) << "no CP932 converter";
    int leads = 0;
    for (int b = 0; b <= 0xFF; ++b) {
        const std::string lone(1, static_cast<char>(b));
        // Alone, a lead byte is a character cut short; any other byte is a
        // whole character or none at all.
        EXPECT_EQ(IsCp932LeadByte(static_cast<unsigned char>(b)), ConversionEnd(lone) == EINVAL)
            << std::hex << b;
        leads += IsCp932LeadByte(static_cast<unsigned char>(b)) ? 1 : 0;
    }
    EXPECT_EQ(leads, 60); // 0x81-0x9F and 0xE0-0xFC
}

TEST(Cp932Bytes, DropDanglingLeadByte) {
    const std::string yokohama = "\x89\xA1\x95\x6C"; // 横浜
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"abc", "abc"},
        {yokohama, yokohama},
        {"abc\x89", "abc"},
        {yokohama + "\x89", yokohama},
        {"\x89", ""},
        // 0x83 0x81 (メ) ends in a byte with a lead byte's value.
        {"\x83\x81", "\x83\x81"},
        {"\x83\x81\x83", "\x83\x81"},
        {"\x83\x81\x83\x81", "\x83\x81\x83\x81"},
        // Half-width kana are one byte each, however many.
        {"\xB1\xB2\xB3", "\xB1\xB2\xB3"},
        {"\xB1\x89", "\xB1"},
    };
    for (const auto& [text, kept] : cases)
        EXPECT_EQ(DropDanglingLeadByte(text), kept) << text;
}

// Any bytes: at most the last one goes, and what stays never ends inside a
// character for the converter.
TEST(Cp932Bytes, WhatStaysNeverEndsInsideACharacter) {
    std::mt19937 rng(932);
    // Mostly real characters (lead bytes with proper second bytes, ASCII,
    // kana), now and then any byte.
    std::uniform_int_distribution<int> lead(0x88, 0x9F), trail(0x40, 0x7E), kana(0xA1, 0xDF),
        ascii(0x20, 0x7E), anyByte(0, 0xFF), kind(0, 9), length(0, 12);
    for (int n = 0; n < 20000; ++n) {
        std::string text;
        for (int i = length(rng); i > 0; --i) {
            const int k = kind(rng);
            if (k < 4) {
                text += static_cast<char>(lead(rng));
                text += static_cast<char>(trail(rng));
            } else if (k < 6) {
                text += static_cast<char>(kana(rng));
            } else if (k < 9) {
                text += static_cast<char>(ascii(rng));
            } else {
                text += static_cast<char>(anyByte(rng));
            }
        }
        if (n % 2)
            text = text.substr(0, text.size() / 2); // cut anywhere, as a buffer does
        const std::string kept = DropDanglingLeadByte(text);
        ASSERT_TRUE(kept == text || kept + text.back() == text) << n;
        ASSERT_NE(ConversionEnd(kept), EINVAL) << n;
    }
}

} // namespace
