#include "report/hours_text.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "core/civil_date.h"
#include "core/place.h"
#include "core/utf8.h"

namespace tolmeri {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

bool ReadUnsignedInt(std::string_view text, std::size_t maxDigits, int& out) {
    if (text.empty() || text.size() > maxDigits)
        return false;
    int value = 0;
    for (char c : text) {
        if (!IsDigit(c))
            return false;
        value = value * 10 + (c - '0');
    }
    out = value;
    return true;
}

bool ReadCount(std::string_view text, int& out) {
    if (text.empty())
        return false;
    long long value = 0;
    for (char c : text) {
        if (!IsDigit(c))
            return false;
        value = std::min<long long>(value * 10 + (c - '0'), std::numeric_limits<int>::max());
    }
    out = static_cast<int>(value);
    return true;
}

bool ReadSignedInt(std::string_view text, std::size_t maxDigits, int& out) {
    const bool negative = text.starts_with('-');
    if (negative || text.starts_with('+'))
        text.remove_prefix(1);
    if (!ReadUnsignedInt(text, maxDigits, out))
        return false;
    out = negative ? -out : out;
    return true;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

std::string RangeText(const IntRange& range) {
    return std::to_string(range.first) + "～" + std::to_string(range.last);
}

std::string FormatDegreesMinutes(int degrees, int minutes) {
    char text[32];
    std::snprintf(text, sizeof text, "%c%d:%02d", ArcMinutes(degrees, minutes) < 0 ? '-' : '+',
                  std::abs(degrees), std::abs(minutes));
    return text;
}

void AppendDecimalDegrees(std::string& out, int degrees, int minutes) {
    const int arc = ArcMinutes(degrees, minutes);
    // Millionths of a degree, rounded half up, in whole numbers: no float
    // digits and no locale.
    const long long millionths = (std::llabs(arc) * 2'000'000LL + 60) / 120;
    if (arc < 0)
        out += '-';
    AppendInt(out, millionths / 1'000'000);
    char fraction[8];
    std::snprintf(fraction, sizeof fraction, ".%06lld", millionths % 1'000'000);
    std::string_view digits(fraction);
    while (digits.size() > 2 && digits.back() == '0')
        digits.remove_suffix(1);
    out += digits;
}

std::string IsoLocalTime(const CivilDate& date, int minute, int timeDiffHours) {
    std::string s;
    AppendDate(s, date);
    s += 'T';
    AppendClock(s, minute);
    char offset[24];
    std::snprintf(offset, sizeof offset, ":00%c%02d:00", timeDiffHours < 0 ? '-' : '+',
                  std::abs(timeDiffHours));
    return s + offset;
}

bool CsvTakesAsFormula(std::string_view text) {
    return !text.empty() && std::string_view("=+-@").find(text.front()) != std::string_view::npos;
}

std::string CsvField(std::string_view text) {
    std::string cell = CsvTakesAsFormula(text) ? "'" : "";
    cell += text;
    if (cell.find_first_of(",\"\r\n") == std::string::npos &&
        cell.find("\u2028") == std::string::npos && cell.find("\u2029") == std::string::npos)
        return cell;
    std::string quoted = "\"";
    for (char c : cell) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string JsonString(std::string_view text) {
    std::string s = "\"";
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            s += '\\';
            s += c;
        } else if (u < 0x20) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04x", u);
            s += esc;
        } else {
            s += c;
        }
    }
    return s + "\"";
}

void AppendInt(std::string& out, long long value) {
    char text[24];
    const auto r = std::to_chars(text, text + sizeof text, value);
    out.append(text, r.ptr);
}

void AppendSixths(std::string& out, int n) {
    // A sixth never ends in exactly half a tenth, so rounding half up is exact.
    AppendTenths(out, (n * 10 + 3) / 6);
}

void AppendTenths(std::string& out, int tenths) {
    AppendInt(out, tenths / 10);
    out += '.';
    out += static_cast<char>('0' + tenths % 10);
}

int DisplayWidth(std::string_view text) {
    int width = 0;
    for (std::size_t i = 0; i < text.size();) {
        const Utf8Char c = DecodeUtf8(text, i);
        // A byte that is not UTF-8 shows as one replacement mark.
        width += c.valid && c.code >= 0x80 ? 2 : 1;
        i += c.length;
    }
    return width;
}

void AppendPadded(std::string& out, std::string_view text, int width, bool rightAligned) {
    const int pad = width - DisplayWidth(text);
    if (rightAligned && pad > 0)
        out.append(pad, ' ');
    out += text;
    if (!rightAligned && pad > 0)
        out.append(pad, ' ');
}

} // namespace tolmeri
