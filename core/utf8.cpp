#include "core/utf8.h"

namespace tolmeri {

Utf8Char DecodeUtf8(std::string_view text, std::size_t pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return {lead, 1, true};
    // The lead byte gives the length and the smallest value that length may
    // carry; C0, C1 and F5-FF never start a character.
    std::size_t length = 0;
    char32_t least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        least = 0x10000;
    } else {
        return {};
    }
    if (text.size() - pos < length)
        return {};
    char32_t code = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return {};
        code = (code << 6) | (byte(i) & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return {};
    return {code, length, true};
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        code = kReplacementCharacter;
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | code >> 18);
        out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

bool IsWellFormedUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const Utf8Char c = DecodeUtf8(text, i);
        if (!c.valid)
            return false;
        i += c.length;
    }
    return true;
}

std::string ShortenedForMessage(std::string_view text, std::size_t maxCharacters) {
    std::size_t end = 0;
    for (std::size_t count = 0; end < text.size(); ++count) {
        if (count == maxCharacters)
            return std::string(text.substr(0, end)) + "…";
        end += DecodeUtf8(text, end).length;
    }
    return std::string(text);
}

std::string Utf8FromUtf16(std::u16string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        AppendUtf8(out, c);
    }
    return out;
}

std::u16string Utf16FromUtf8(std::string_view text) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size();) {
        const Utf8Char c = DecodeUtf8(text, i);
        i += c.length;
        if (c.code >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c.code - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c.code - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c.code);
        }
    }
    return out;
}

namespace {

struct CodeRange {
    char32_t first, last;
};

// Unicode's format characters (general category Cf) and the two separators.
constexpr CodeRange kFormatCharacters[] = {
    {0x00AD, 0x00AD},   {0x0600, 0x0605},   {0x061C, 0x061C},   {0x06DD, 0x06DD},
    {0x070F, 0x070F},   {0x0890, 0x0891},   {0x08E2, 0x08E2},   {0x180E, 0x180E},
    {0x200B, 0x200F},   {0x2028, 0x202E},   {0x2060, 0x2064},   {0x2066, 0x206F},
    {0xFEFF, 0xFEFF},   {0xFFF9, 0xFFFB},   {0x110BD, 0x110BD}, {0x110CD, 0x110CD},
    {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0001, 0xE0001},
    {0xE0020, 0xE007F},
};

} // namespace

bool IsControlOrFormat(char32_t c) {
    if (c < 0x20 || (c >= 0x7F && c < 0xA0))
        return true;
    for (const CodeRange& r : kFormatCharacters)
        if (c >= r.first && c <= r.last)
            return true;
    return false;
}

std::string EscapedForMessage(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    const auto hex = [&out](char32_t value, int digits) {
        for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
            out += kHex[(value >> shift) & 0xF];
    };
    for (std::size_t i = 0; i < text.size();) {
        const Utf8Char c = DecodeUtf8(text, i);
        if (c.valid && !IsControlOrFormat(c.code)) {
            out.append(text, i, c.length);
        } else if (c.valid && c.code >= 0xA0) {
            out += c.code > 0xFFFF ? "\\U" : "\\u";
            hex(c.code, c.code > 0xFFFF ? 8 : 4);
        } else {
            // A control or a byte that is not UTF-8, byte by byte.
            for (std::size_t k = 0; k < c.length; ++k) {
                out += "\\x";
                hex(static_cast<unsigned char>(text[i + k]), 2);
            }
        }
        i += c.length;
    }
    return out;
}

std::string QuotedForMessage(std::string_view text) {
    return '"' + EscapedForMessage(ShortenedForMessage(text)) + '"';
}

} // namespace tolmeri
