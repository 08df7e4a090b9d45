// Private-profile reader and writer: the Windows reading rules on a fixture
// with every line ending, the integer conversion, the buffer cut, the
// minimal-change writer, and contents no settings file should hold.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "settings/profile.h"
#include "tests/csv_rows.h"

namespace {

using tolmeri::profile::GetPrivateProfileInt;
using tolmeri::profile::GetPrivateProfileString;
using tolmeri::profile::WritePrivateProfileString;

constexpr std::size_t kWide = 1024;
constexpr const char* kNone = "<default>";

std::string Fixture(const std::string& name) {
    std::ifstream in(TestDataPath("profile/" + name), std::ios::binary);
    EXPECT_TRUE(in) << name;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string WithLineEnding(const std::string& lf, const std::string& ending) {
    std::string out;
    for (char c : lf) {
        if (c == '\n')
            out += ending;
        else
            out += c;
    }
    return out;
}

struct StringCase {
    const char* section;
    const char* key;
    std::string expected;
};

TEST(ProfileRead, RulesHoldForEveryLineEnding) {
    const StringCase cases[] = {
        {"Plain", "Key", "value"},
        {"PLAIN", "kEY", "value"},                    // names ignore ASCII case
        {"Plain", "Padded", "padded value"},          // blanks and tabs trimmed
        {"Plain", "Hash", "#not a comment"},          // '#' is ordinary
        {"Plain", "#Sharp", "sharp key"},             // ... also in a key
        {"Plain", "Inline", "value ; not a comment"}, // no inline comments
        {"Plain", "Equals", "a=b"},                   // split at the first '='
        {"Plain", "NoEquals", kNone},                 // lines without '=' never match
        {"Plain", "Commented", kNone},                // comment lines never match
        {"Plain", "Indented", kNone},
        {"Plain", "Dup", "first"},  // the first key wins
        {"Plain", "Empty", ""},     // present but empty: no default
        {"Plain", "Only2", kNone},  // a repeated section is never consulted
        {"Plain", "orphan", kNone}, // keys before any section
        {"Quotes", "Double", "quoted"},
        {"Quotes", "Single", "quoted"},
        {"Quotes", "Mixed", "\"quoted'"}, // quotes must match
        {"Quotes", "Lone", "\""},         // one byte is never unquoted
        {"Quotes", "Pair", ""},
        {"Quotes", "Inner", "a\"b\""},     // only an outer pair
        {"Quotes", "Spaced", " padded "},  // blanks inside quotes stay
        {"Quotes", "Twice", "\"double\""}, // one pair only
        {"Tail", "After", "tail"},         // text after ']' is ignored
        {"Open section", "Open", "1"},     // no ']' : the rest of the line
        {"Missing", "Key", kNone},
    };
    const std::string lf = Fixture("rules.ini");
    for (const char* ending : {"\n", "\r\n", "\r"}) {
        const std::string content = WithLineEnding(lf, ending);
        for (const StringCase& c : cases) {
            SCOPED_TRACE(testing::Message() << c.section << "/" << c.key << " ending "
                                            << (ending[0] == '\n' ? "LF"
                                                : ending[1]       ? "CRLF"
                                                                  : "CR"));
            EXPECT_EQ(GetPrivateProfileString(content, c.section, c.key, kNone, kWide), c.expected);
        }
    }
}

TEST(ProfileRead, Integers) {
    struct IntCase {
        const char* key;
        int expected;
    };
    // Numbers past 32 bits wrap modulo 2^32.
    const IntCase cases[] = {
        {"Plain", 42},
        {"Negative", -33},
        {"Plus", 7},
        {"Trailing", 12},
        {"Letters", 0},
        {"Inner", 8},
        {"QuotedNum", 15},
        {"QuotedBlank", -4},
        {"SignOnly", 0},
        {"Empty", -1},
        {"Absent", -1},
        {"Max", 2147483647},
        {"Min", -2147483647 - 1},
        {"JustOver", -2147483647 - 1},
        {"Wrap", 1},
        {"Huge", 1661992959},
        {"BelowMin", 2147483647},
    };
    const std::string content = Fixture("rules.ini");
    for (const IntCase& c : cases)
        EXPECT_EQ(GetPrivateProfileInt(content, "numbers", c.key, -1), c.expected) << c.key;
    EXPECT_EQ(GetPrivateProfileInt("", "Numbers", "Plain", 77), 77);
}

TEST(ProfileRead, BufferCutAndDefault) {
    struct CutCase {
        const char* key;
        const char* defaultValue;
        std::size_t bufferSize;
        std::string expected;
    };
    const CutCase cases[] = {
        {"Long", "", 20, "abcdefghijklmnopqrs"}, // 19 bytes, after unquoting
        {"Long", "", 1, ""},
        {"Long", "", 0, ""},
        {"Absent", "dflt   ", 20, "dflt"}, // trailing spaces of the default go
        {"Absent", " dflt\t", 20, " dflt\t"},
        {"Absent", "a default of twenty-five", 20, "a default of twenty"},
    };
    const std::string content = Fixture("rules.ini");
    for (const CutCase& c : cases) {
        EXPECT_EQ(GetPrivateProfileString(content, "Quotes", c.key, c.defaultValue, c.bufferSize),
                  c.expected)
            << c.key << " size " << c.bufferSize;
    }
}

TEST(ProfileRead, BytesAreBytes) {
    struct ByteCase {
        std::string content;
        const char* section;
        const char* key;
        std::string expected;
    };
    using namespace std::string_literals;
    const ByteCase cases[] = {
        // A NUL ends the value, as it ends a C string.
        {"[S]\nK=ab\0cd\n"s, "S", "K", "ab"},
        // Bytes above 0x7F never fold with ASCII letters.
        {"[\x89\xA1]\nK=v\n", "\x89\xC1", "K", kNone},
        {"\n\n\r\r\r\n[S]\r\n\r\nK=v", "S", "K", "v"},
    };
    for (const ByteCase& c : cases)
        EXPECT_EQ(GetPrivateProfileString(c.content, c.section, c.key, kNone, kWide), c.expected);
}

TEST(ProfileWrite, ChangesOnlyWhatItMust) {
    struct WriteCase {
        const char* name;
        std::string before;
        const char* section;
        const char* key;
        const char* value;
        std::string after;
    };
    const WriteCase cases[] = {
        {"new file", "", "S", "K", "v", "[S]\nK=v\n"},
        {"replace keeps the file's spelling", "[s]\n  kEY = old \t\nL=1\n", "S", "Key", "new",
         "[s]\nkEY=new\nL=1\n"},
        {"replace keeps CRLF", "[S]\r\nK=1\r\nL=2\r\n", "S", "K", "-33", "[S]\r\nK=-33\r\nL=2\r\n"},
        {"replace the last line without ending", "[S]\nK=1", "S", "K", "2", "[S]\nK=2"},
        {"value as given", "[S]\nK=1\n", "S", "K", "#x;y=z", "[S]\nK=#x;y=z\n"},
        {"after the last key line", "[S]\nA=1\n\n; c\nx\n[T]\nB=2\n", "S", "C", "3",
         "[S]\nA=1\nC=3\n\n; c\nx\n[T]\nB=2\n"},
        {"after the section line", "[S]\n; K=1\nK\n[T]\n", "S", "K", "v",
         "[S]\nK=v\n; K=1\nK\n[T]\n"},
        {"after an unended last line", "[S]\nA=1", "S", "B", "2", "[S]\nA=1\nB=2\n"},
        {"after an unended section line", "x\r\n[S]", "S", "B", "2", "x\r\n[S]\r\nB=2\r\n"},
        {"new key in a CR file", "[S]\rA=1\r", "S", "B", "2", "[S]\rA=1\rB=2\r"},
        {"new key ends like its neighbour", "[S]\rA=1\n\nB", "S", "C", "3", "[S]\rA=1\nC=3\n\nB"},
        {"first section and first key", "[S]\nK=1\nK=2\n[s]\nK=3\n", "s", "k", "9",
         "[S]\nK=9\nK=2\n[s]\nK=3\n"},
        {"new key into the first of two sections", "[S]\nA=1\n[S]\nB=2\n", "S", "B", "3",
         "[S]\nA=1\nB=3\n[S]\nB=2\n"},
        {"new section after a line break", "[S]\nA=1", "T", "K", "v", "[S]\nA=1\n[T]\nK=v\n"},
        {"new section keeps CRLF", "[S]\r\nA=1\r\n", "T", "K", "v", "[S]\r\nA=1\r\n[T]\r\nK=v\r\n"},
        {"new section keeps CR", "; only a comment\r", "T", "K", "v",
         "; only a comment\r[T]\rK=v\r"},
        {"byte-order mark hides the section", "\xEF\xBB\xBF[S]\nA=1\n", "S", "A", "2",
         "\xEF\xBB\xBF[S]\nA=1\n[S]\nA=2\n"},
    };
    for (const WriteCase& c : cases) {
        std::string content = c.before;
        WritePrivateProfileString(content, c.section, c.key, c.value);
        EXPECT_EQ(content, c.after) << c.name;
        EXPECT_EQ(GetPrivateProfileString(content, c.section, c.key, kNone, kWide), c.value)
            << c.name;
    }
}

// Whatever a file holds, reading stays inside it and writing appends or
// edits one line.
TEST(ProfileRobustness, HostileContents) {
    std::string allBytes;
    for (int i = 0; i < 256 * 4; ++i)
        allBytes += static_cast<char>(i * 37 + 11);
    const std::string longLine(10 * 1024 * 1024, 'x');
    const std::string contents[] = {
        longLine,                  // 10 MB, no line ending
        longLine + "=" + longLine, // one enormous key line
        "[S]\n" + std::string(1 << 20, '=') + "\nK=v",
        allBytes,
        std::string(4096, '\0'),
        std::string(4096, '['),
        std::string(4096, '\r'),
    };
    for (const std::string& original : contents) {
        EXPECT_EQ(GetPrivateProfileString(original, "Time", "Year", "d", 20), "d");
        EXPECT_EQ(GetPrivateProfileInt(original, "Time", "Year", 5), 5);
        std::string content = original;
        WritePrivateProfileString(content, "Time", "Year", "2001");
        ASSERT_GT(content.size(), original.size());
        EXPECT_EQ(content.compare(0, original.size(), original), 0);
        EXPECT_EQ(GetPrivateProfileInt(content, "Time", "Year", 5), 2001);
    }
}

} // namespace
