#include "settings/profile.h"

#include <cstdint>

namespace tolmeri::profile {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
    std::size_t begin = 0;
    std::size_t end = s.size();
    while (begin < end && IsBlank(s[begin]))
        ++begin;
    while (end > begin && IsBlank(s[end - 1]))
        --end;
    return s.substr(begin, end - begin);
}

char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i]))
            return false;
    }
    return true;
}

// One physical line: its text is [begin, end), its line ending [end, next).
// end == next only for a last line that has no line ending.
struct Line {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t next = 0;
};

Line LineAt(std::string_view content, std::size_t pos) {
    Line line;
    line.begin = pos;
    line.end = content.find_first_of("\r\n", pos);
    if (line.end == std::string_view::npos) {
        line.end = line.next = content.size();
        return line;
    }
    line.next = line.end + 1;
    if (content[line.end] == '\r' && line.next < content.size() && content[line.next] == '\n')
        ++line.next;
    return line;
}

enum class Kind { kOther, kComment, kSection, kKey };

struct Parsed {
    Kind kind = Kind::kOther;
    std::string_view name;  // section or key name, trimmed
    std::string_view value; // key lines only, trimmed
};

Parsed Classify(std::string_view text) {
    Parsed parsed;
    std::size_t first = 0;
    while (first < text.size() && IsBlank(text[first]))
        ++first;
    if (first == text.size())
        return parsed;
    if (text[first] == ';') {
        parsed.kind = Kind::kComment;
        return parsed;
    }
    if (text[first] == '[') {
        const std::string_view rest = text.substr(first + 1);
        parsed.kind = Kind::kSection;
        parsed.name = Trim(rest.substr(0, rest.find(']')));
        return parsed;
    }
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos)
        return parsed;
    parsed.kind = Kind::kKey;
    parsed.name = Trim(text.substr(0, equals));
    parsed.value = Trim(text.substr(equals + 1));
    return parsed;
}

// Where key stands in content, or where it would go.
struct Lookup {
    bool sectionFound = false;
    bool keyFound = false;
    Line keyLine;             // when keyFound
    std::string_view keyName; // the key as spelled in the file
    std::string_view value;
    Line lastLine; // section line or its last key line: a new key goes after it
};

Lookup Find(std::string_view content, std::string_view section, std::string_view key) {
    Lookup found;
    std::size_t pos = 0;
    while (pos < content.size()) {
        const Line line = LineAt(content, pos);
        pos = line.next;
        const Parsed parsed = Classify(content.substr(line.begin, line.end - line.begin));
        if (parsed.kind == Kind::kSection) {
            if (found.sectionFound)
                break; // later sections of the same name are never consulted
            if (EqualsIgnoringCase(parsed.name, section)) {
                found.sectionFound = true;
                found.lastLine = line;
            }
        } else if (found.sectionFound && parsed.kind == Kind::kKey) {
            found.lastLine = line;
            if (EqualsIgnoringCase(parsed.name, key)) {
                found.keyFound = true;
                found.keyLine = line;
                found.keyName = parsed.name;
                found.value = parsed.value;
                break;
            }
        }
    }
    return found;
}

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

std::string_view UpToNul(std::string_view s) {
    return s.substr(0, s.find('\0'));
}

// The line ending of the first line that has one; LF when none has.
std::string_view LineEndingOf(std::string_view content) {
    const std::size_t at = content.find_first_of("\r\n");
    if (at == std::string_view::npos || content[at] == '\n')
        return "\n";
    if (at + 1 < content.size() && content[at + 1] == '\n')
        return "\r\n";
    return "\r";
}

} // namespace

std::string GetPrivateProfileString(std::string_view content, std::string_view section,
                                    std::string_view key, std::string_view defaultValue,
                                    std::size_t bufferSize) {
    if (bufferSize == 0)
        return {};
    std::string_view result;
    const Lookup found = Find(content, section, key);
    if (found.keyFound) {
        result = Unquote(found.value);
    } else {
        result = defaultValue;
        while (!result.empty() && result.back() == ' ')
            result.remove_suffix(1);
    }
    result = UpToNul(result);
    return std::string(result.substr(0, bufferSize - 1));
}

int GetPrivateProfileInt(std::string_view content, std::string_view section, std::string_view key,
                         int defaultValue) {
    const Lookup found = Find(content, section, key);
    if (!found.keyFound)
        return defaultValue;
    const std::string_view text = UpToNul(Unquote(found.value));
    if (text.empty())
        return defaultValue;

    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Unsigned arithmetic wraps by definition; the final conversion to int
    // is modular in C++20.
    std::uint32_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        magnitude = magnitude * 10u + static_cast<std::uint32_t>(text[i] - '0');
    if (negative)
        magnitude = 0u - magnitude;
    return static_cast<int>(static_cast<std::int32_t>(magnitude));
}

void WritePrivateProfileString(std::string& content, std::string_view section, std::string_view key,
                               std::string_view value) {
    const Lookup found = Find(content, section, key);

    if (found.keyFound) {
        std::string text(found.keyName);
        text += '=';
        text += value;
        content.replace(found.keyLine.begin, found.keyLine.end - found.keyLine.begin, text);
        return;
    }

    const std::string_view fileEnding = LineEndingOf(content);
    std::string text(key);
    text += '=';
    text += value;

    if (found.sectionFound) {
        const Line& after = found.lastLine;
        if (after.next == after.end) {
            // The last line of the content, without a line ending of its own.
            std::string tail(fileEnding);
            tail += text;
            tail += fileEnding;
            content.insert(after.next, tail);
        } else {
            // Ending the new line as the one before it keeps a CR from
            // pairing up with an LF that follows.
            text.append(content, after.end, after.next - after.end);
            content.insert(after.next, text);
        }
        return;
    }

    if (!content.empty() && content.back() != '\n' && content.back() != '\r')
        content += fileEnding;
    content += '[';
    content += section;
    content += ']';
    content += fileEnding;
    content += text;
    content += fileEnding;
}

} // namespace tolmeri::profile
