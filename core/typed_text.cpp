#include "core/typed_text.h"

#include "core/utf8.h"

namespace tolmeri {

namespace {

// The ASCII character a typed character stands for, 0 for none.
char AsciiFor(char32_t c) {
    if (c >= 0xFF01 && c <= 0xFF5E)
        return static_cast<char>(c - 0xFF01 + 0x21);
    if ((c >= 0x2010 && c <= 0x2015) || c == 0x2212 || c == 0xFE63)
        return '-';
    if (c == 0x3000)
        return ' ';
    return 0;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::string PlainTypedText(std::string_view text) {
    std::string folded;
    folded.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const Utf8Char c = DecodeUtf8(text, pos);
        if (const char ascii = c.valid ? AsciiFor(c.code) : 0)
            folded += ascii;
        else
            folded.append(text.substr(pos, c.length));
        pos += c.length;
    }
    std::string plain;
    plain.reserve(folded.size());
    for (std::size_t i = 0; i < folded.size();) {
        if (!IsBlank(folded[i])) {
            plain += folded[i++];
            continue;
        }
        std::size_t end = i;
        while (end < folded.size() && IsBlank(folded[end]))
            ++end;
        // Kept only between two digits, and then as one space.
        if (!plain.empty() && end < folded.size() && IsDigit(plain.back()) && IsDigit(folded[end]))
            plain += ' ';
        i = end;
    }
    return plain;
}

std::string_view TrimTypedBlanks(std::string_view text) {
    static constexpr std::string_view kIdeographicSpace = "\u3000";
    for (bool changed = true; changed;) {
        changed = false;
        if (!text.empty() && IsBlank(text.front())) {
            text.remove_prefix(1);
            changed = true;
        }
        if (!text.empty() && IsBlank(text.back())) {
            text.remove_suffix(1);
            changed = true;
        }
        if (text.starts_with(kIdeographicSpace)) {
            text.remove_prefix(kIdeographicSpace.size());
            changed = true;
        }
        if (text.ends_with(kIdeographicSpace)) {
            text.remove_suffix(kIdeographicSpace.size());
            changed = true;
        }
    }
    return text;
}

} // namespace tolmeri
