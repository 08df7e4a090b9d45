#include "core/box_rules.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "core/cp932.h"
#include "core/utf8.h"

namespace tolmeri {

std::optional<int> ParseDialogInteger(std::string_view text) {
    text = text.substr(0, std::min<std::size_t>(text.size(), 31));
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    std::size_t i = 0;
    while (i < text.size() && blank(text[i]))
        ++i;
    const std::size_t first = i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    const std::size_t digitsStart = i;
    long long magnitude = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        if (magnitude <= static_cast<long long>(INT_MAX) + 1)
            magnitude = magnitude * 10 + (text[i] - '0');
        ++i;
    }
    if (i == digitsStart)
        return std::nullopt;
    while (i < text.size() && blank(text[i]))
        ++i;
    if (i != text.size())
        return std::nullopt;
    long long value = negative ? -magnitude : magnitude;
    if (value > INT_MAX)
        value = INT_MAX;
    if (value < INT_MIN)
        value = INT_MIN;
    if (value == 0 && text[first] != '0')
        return std::nullopt;
    return static_cast<int>(value);
}

std::string FormatDialogInteger(int value) {
    return std::to_string(value);
}

std::string TooLongTextMessage(int maxBytes) {
    return std::to_string(maxBytes) + " 文字以内で入力してください。";
}

bool TextExceeds(std::string_view utf8, int maxBytes) {
    return ToCp932(utf8).size() > static_cast<std::size_t>(std::max(maxBytes, 0));
}

namespace {

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// CP932 bytes of text, a character it cannot hold counted as its "?".
int ByteLength(std::u16string_view text) {
    return static_cast<int>(ToCp932(Utf8FromUtf16(text)).size());
}

} // namespace

LimitedEdit LimitInsertion(std::u16string_view before, std::u16string_view after, int cursor,
                           int limitBytes) {
    // The edit replaced before[p, before.size() - s) by after[p, after.size() - s).
    std::size_t p = 0;
    const std::size_t shortest = std::min(before.size(), after.size());
    while (p < shortest && before[p] == after[p])
        ++p;
    std::size_t s = 0;
    while (s < shortest - p && before[before.size() - 1 - s] == after[after.size() - 1 - s])
        ++s;
    // Never split a surrogate pair at either end of the inserted part.
    if (p > 0 && p < after.size() && IsLowSurrogate(after[p]))
        --p;
    if (s > 0 && s < after.size() - p && IsLowSurrogate(after[after.size() - s]))
        --s;

    const std::u16string_view inserted = after.substr(p, after.size() - p - s);
    int budget = limitBytes > 0 ? limitBytes - ByteLength(before.substr(0, p)) -
                                      ByteLength(before.substr(before.size() - s))
                                : INT_MAX;
    std::u16string kept;
    for (std::size_t i = 0; i < inserted.size();) {
        const std::size_t n = IsHighSurrogate(inserted[i]) && i + 1 < inserted.size() ? 2 : 1;
        const std::u16string_view ch = inserted.substr(i, n);
        i += n;
        const int bytes = Cp932Length(Utf8FromUtf16(ch));
        if (bytes < 0)
            continue; // CP932 cannot hold it: it could never be saved
        if (ch.size() == 1 && (ch[0] < 0x20 || ch[0] == 0x7F))
            continue; // a pasted line break or tab has no place in a one-line box
        if (bytes > budget)
            break;
        budget -= bytes;
        kept += ch;
    }
    if (kept == inserted)
        return {std::u16string(after), cursor};
    std::u16string text(after.substr(0, p));
    text += kept;
    text += after.substr(after.size() - s);
    return {text, static_cast<int>(p + kept.size())};
}

} // namespace tolmeri
