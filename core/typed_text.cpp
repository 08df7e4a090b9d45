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

bool IsDigit(char32_t c) {
    return c >= U'0' && c <= U'9';
}

// One unit of typed text: a character, or a byte that is not UTF-8.
struct Unit {
    char32_t ascii = 0; // the ASCII character it stands for, 0 for none
    bool valid = false;
    bool Blank() const { return ascii == U' ' || ascii == U'\t'; }
    bool Digit() const { return IsDigit(ascii); }
};

} // namespace

std::string PlainTypedText(std::string_view text) {
    std::string plain;
    plain.reserve(text.size());
    Unit last;           // the last unit put into plain
    bool blanks = false; // blanks were passed over since then
    for (std::size_t pos = 0; pos < text.size();) {
        const Utf8Char c = DecodeUtf8(text, pos);
        Unit unit;
        unit.valid = c.valid;
        if (c.valid)
            unit.ascii = c.code < 0x80 ? c.code : AsciiFor(c.code);
        if (unit.Blank()) {
            blanks = true;
            pos += c.length;
            continue;
        }
        // A run of blanks stays, as one space, between two digits, and
        // beside a byte that is not UTF-8: joined, two broken pieces could
        // make a character ("\xe6 \x97 \xa5" is not 日), and the text
        // would read otherwise when made plain again.
        if (blanks && !plain.empty() &&
            ((last.Digit() && unit.Digit()) || !last.valid || !unit.valid))
            plain += ' ';
        blanks = false;
        if (unit.ascii != 0)
            plain += static_cast<char>(unit.ascii);
        else
            plain.append(text.substr(pos, c.length));
        last = unit;
        pos += c.length;
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

namespace {

// Characters that show nothing: Unicode's white space and its default
// ignorable characters (fillers, variation selectors, the tag block), and
// the blank braille pattern.
bool IsInvisible(char32_t c) {
    static constexpr struct {
        char32_t first, last;
    } kInvisible[] = {
        {0x0020, 0x0020}, {0x00A0, 0x00A0},   {0x034F, 0x034F}, {0x115F, 0x1160}, {0x1680, 0x1680},
        {0x17B4, 0x17B5}, {0x180B, 0x180F},   {0x2000, 0x200A}, {0x202F, 0x202F}, {0x205F, 0x205F},
        {0x2800, 0x2800}, {0x3000, 0x3000},   {0x3164, 0x3164}, {0xFE00, 0xFE0F}, {0xFFA0, 0xFFA0},
        {0xFFF0, 0xFFF8}, {0xE0000, 0xE0FFF},
    };
    if (IsControlOrFormat(c))
        return true;
    for (const auto& r : kInvisible)
        if (c >= r.first && c <= r.last)
            return true;
    return false;
}

} // namespace

NameCheck CheckTypedName(std::string_view name) {
    if (!IsWellFormedUtf8(name))
        return {NameFault::kNotUtf8, 0};
    bool visible = false;
    for (std::size_t pos = 0; pos < name.size();) {
        const Utf8Char c = DecodeUtf8(name, pos);
        if (IsControlOrFormat(c.code))
            return {NameFault::kControl, c.code};
        visible = visible || !IsInvisible(c.code);
        pos += c.length;
    }
    return visible ? NameCheck{} : NameCheck{NameFault::kInvisible, 0};
}

} // namespace tolmeri
