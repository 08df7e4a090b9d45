// The framework's pure rules: the dialog integer, dialog units, Shift-JIS
// lengths, the edit limit, the paths formed from the executable's, the
// reading of XPM pictures, and the face families asked for.
#include <gtest/gtest.h>

#include <climits>
#include <iconv.h>
#include <random>

#include "framework/cp932.h"
#include "framework/data_exchange.h"
#include "framework/dialog_face.h"
#include "framework/dialog_template.h"
#include "framework/edit.h"
#include "framework/win_app.h"
#include "framework/xpm_image.h"

namespace {

TEST(ParseDialogInteger, AcceptsAndRefusesLikeTheNumberBoxes) {
    struct Case {
        const char* text;
        std::optional<int> value;
    };
    const Case cases[] = {
        {"0", 0},
        {"00", 0},
        {" \t0 \t", 0},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"+0", std::nullopt},
        {"-0", std::nullopt},
        {"+00", std::nullopt},
        {"-", std::nullopt},
        {"+", std::nullopt},
        {"12", 12},
        {"+12", 12},
        {"-73", -73},
        {"  2201  ", 2201},
        {"007", 7},
        {"12abc", std::nullopt},
        {"abc", std::nullopt},
        {"1 2", std::nullopt},
        {"--5", std::nullopt},
        {"1.5", std::nullopt},
        {"0x10", std::nullopt},
        {"\n5", std::nullopt},
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"99999999999999999999", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-2147483649", INT_MIN},
        {"-99999999999999999999", INT_MIN},
        // Only the first 31 bytes count: what follows them is never seen.
        {"1                              x", 1},
        {"                              7x", 7},
        {"                               7", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(afx::ParseDialogInteger(c.text), c.value) << '"' << c.text << '"';
}

TEST(DialogUnits, FollowTheFontObtained) {
    // (w / 26 + 1) / 2 with integer division.
    EXPECT_EQ(afx::BaseUnitsFromMetrics(369, 13).cx, 7);
    EXPECT_EQ(afx::BaseUnitsFromMetrics(312, 13).cx, 6);
    EXPECT_EQ(afx::BaseUnitsFromMetrics(337, 12).cx, 6);
    EXPECT_EQ(afx::BaseUnitsFromMetrics(338, 12).cx, 7);
    EXPECT_EQ(afx::BaseUnitsFromMetrics(369, 13).cy, 13);

    const afx::DluBase base{7, 13};
    // Each value on its own, rounded half away from zero.
    EXPECT_EQ(afx::DluToPixels(115, 15, 50, 210, base), (afx::PixelRect{201, 24, 88, 341}));
    EXPECT_EQ(afx::DluToPixelsX(354, base), 620);
    EXPECT_EQ(afx::DluToPixelsY(309, base), 502);
    EXPECT_EQ(afx::MulDiv(-5, 1, 2), -3);
    EXPECT_EQ(afx::MulDiv(5, 1, -2), -3);
    EXPECT_EQ(afx::MulDiv(7, 3, 0), -1);
}

TEST(Cp932, RoundTripsAndCountsBytes) {
    EXPECT_EQ(afx::ToCp932(QStringLiteral("横浜")), QByteArray("\x89\xA1\x95\x6C"));
    EXPECT_EQ(afx::FromCp932(QByteArray("\x89\xA1\x95\x6C")), QStringLiteral("横浜"));
    EXPECT_EQ(afx::ToCp932(QStringLiteral("－")), QByteArray("\x81\x7C"));
    EXPECT_EQ(afx::ToCp932(QStringLiteral("～")), QByteArray("\x81\x60"));

    struct Case {
        const char* utf8;
        int bytes;
    };
    const Case cases[] = {
        {"", 0},   {"Sydney", 6}, {"津", 2}, {"ｷｬﾝｾﾙ", 5}, {"鹿児島", 6}, {"東京都千代田", 12},
        {"😀", -1}, {"a😀", -1},    {"Ω", 2},  {"é", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(afx::Cp932Length(QString::fromUtf8(c.utf8)), c.bytes) << c.utf8;
}

TEST(Cp932, UndecodableBytesShowAsReplacementMarks) {
    // A lone lead byte at the end, and bytes CP932 leaves undefined.
    EXPECT_EQ(afx::FromCp932(QByteArray("ab\x89")), QStringLiteral("ab\uFFFD"));
    EXPECT_EQ(afx::FromCp932(QByteArray("\xA0x")), QStringLiteral("\uFFFDx"));
    EXPECT_EQ(afx::FromCp932(QByteArray("\x85\x40\x89\xA1")), QStringLiteral("\uFFFD@横"));
    bool ok = true;
    EXPECT_EQ(afx::ToCp932(QStringLiteral("a😀b"), &ok), QByteArray("a?b"));
    EXPECT_FALSE(ok);
}

// The C library's CP932 converter, the table's source, read and written as
// the program once did: a byte it cannot read is one U+FFFD, a character it
// cannot write one "?".
QString LibraryFromCp932(const QByteArray& in) {
    const iconv_t cd = iconv_open("UTF-16LE", "CP932");
    EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));
    QString out;
    char* src = const_cast<char*>(in.constData());
    size_t left = static_cast<size_t>(in.size());
    while (left > 0) {
        char16_t buffer[64];
        char* dst = reinterpret_cast<char*>(buffer);
        size_t room = sizeof buffer;
        const size_t r = iconv(cd, &src, &left, &dst, &room);
        out += QString::fromUtf16(
            buffer, static_cast<qsizetype>(dst - reinterpret_cast<char*>(buffer)) / 2);
        if (r != static_cast<size_t>(-1))
            break;
        if (errno == E2BIG)
            continue;
        out += QChar(QChar::ReplacementCharacter);
        ++src;
        --left;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    return out;
}

QByteArray LibraryToCp932(char16_t c) {
    const iconv_t cd = iconv_open("CP932", "UTF-16LE");
    char* src = reinterpret_cast<char*>(&c);
    size_t left = 2;
    char buffer[8];
    char* dst = buffer;
    size_t room = sizeof buffer;
    const bool done = iconv(cd, &src, &left, &dst, &room) != static_cast<size_t>(-1);
    iconv_close(cd);
    return done ? QByteArray(buffer, dst - buffer) : QByteArray("?");
}

// The program's own table reads and writes CP932 as the C library does: every
// byte and pair of bytes, every character of the Basic Multilingual Plane,
// and texts of random bytes.
TEST(Cp932, ReadsAndWritesAsTheLibrarysConverter) {
    for (int a = 0; a < 256; ++a) {
        const QByteArray one(1, static_cast<char>(a));
        ASSERT_EQ(afx::FromCp932(one), LibraryFromCp932(one)) << a;
        for (int b = 0; b < 256; ++b) {
            const QByteArray two = one + static_cast<char>(b);
            ASSERT_EQ(afx::FromCp932(two), LibraryFromCp932(two)) << a << " " << b;
        }
    }
    for (unsigned c = 0; c <= 0xFFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        const QString text(QChar(static_cast<char16_t>(c)));
        bool ok = false;
        const QByteArray written = afx::ToCp932(text, &ok);
        ASSERT_EQ(written, LibraryToCp932(static_cast<char16_t>(c))) << std::hex << c;
        ASSERT_EQ(ok, written != "?" || c == u'?') << std::hex << c;
    }
    std::mt19937 random(932);
    for (int n = 0; n < 2000; ++n) {
        QByteArray bytes;
        for (int i = static_cast<int>(random() % 12); i > 0; --i)
            bytes += static_cast<char>(random() % 4 == 0 ? random() % 128 : 0x80 + random() % 128);
        ASSERT_EQ(afx::FromCp932(bytes), LibraryFromCp932(bytes)) << bytes.toHex().constData();
    }
}

TEST(LimitInsertion, KeepsWhatFitsOfTheInsertedText) {
    struct Case {
        const char* before;
        const char* after;
        int cursor;
        int limit;
        const char* text;
        int newCursor;
    };
    const Case cases[] = {
        // Typing within the limit changes nothing.
        {"横浜", "横浜a", 3, 12, "横浜a", 3},
        // A full-width character that would make 13 bytes is refused.
        {"東京都千代田", "東京都千代田区", 7, 12, "東京都千代田", 6},
        // One byte left: a half-width one fits, a full-width one does not.
        {"東京都千代a", "東京都千代aｱ", 7, 12, "東京都千代aｱ", 7},
        {"東京都千代a", "東京都千代a区", 7, 12, "東京都千代a", 6},
        // A paste is cut to what fits, in the middle of the text too.
        {"ab", "a1234567890123b", 14, 12, "a1234567890b", 11},
        // Replacing a selection frees its bytes first.
        {"東京都千代田", "東京都港区", 5, 12, "東京都港区", 5},
        // Characters CP932 cannot hold are dropped, with or without a limit.
        {"", "a😀b", 4, 0, "ab", 2},
        {"x", "xé", 2, 12, "x", 1},
        // A pasted line break or tab would break the settings file's line.
        {"", "a\nb\tc\r", 6, 12, "abc", 3},
        // Deleting is always allowed, even above the limit.
        {"1234567890123456", "123456789012345", 15, 12, "123456789012345", 15},
        // Above the limit (text set by the program) nothing more goes in.
        {"1234567890123456", "12345678901234567", 17, 12, "1234567890123456", 16},
    };
    for (const Case& c : cases) {
        const afx::LimitedEdit r = afx::LimitInsertion(
            QString::fromUtf8(c.before), QString::fromUtf8(c.after), c.cursor, c.limit);
        EXPECT_EQ(r.text, QString::fromUtf8(c.text)) << c.before << " -> " << c.after;
        EXPECT_EQ(r.cursor, c.newCursor) << c.before << " -> " << c.after;
    }
}

TEST(XpmStrings, TakesTheQuotedTextsOutsideComments) {
    struct Case {
        const char* text;
        std::vector<QByteArray> strings;
    };
    const Case cases[] = {
        {"/* XPM */\nstatic const char *i[] = {\n\"2 1 1 1\",\n\"a c #FF0000\",\n\"aa\"};\n",
         {"2 1 1 1", "a c #FF0000", "aa"}},
        // A quote inside a comment is no string; a comment between strings is skipped.
        {"/* \"no\" */ \"x\" /* \"nor this\" */ \"y\"", {"x", "y"}},
        {"\"a\\\"b\"", {"a\"b"}}, // an escaped quote stays in its string
        {"\"\"", {""}},
        {"", {}},
        {"\"open", {}},        // a string never closed: nothing
        {"\"a\" /* open", {}}, // a comment never closed: nothing
    };
    for (const Case& c : cases)
        EXPECT_EQ(afx::XpmStrings(c.text), c.strings) << c.text;
}

TEST(ReadXpmImage, ReadsWholePicturesAndRefusesBrokenOnes) {
    const QByteArray good = "\"3 2 2 1\", \". c None\", \"# c #0000C8\", \".#.\", \"#.#\"";
    const QImage image = afx::ReadXpmImage(good);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(3, 2));
    EXPECT_EQ(image.pixel(0, 0), qRgba(0, 0, 0, 0));
    EXPECT_EQ(image.pixel(1, 0), qRgb(0, 0, 0xC8));
    EXPECT_EQ(image.pixel(0, 1), qRgb(0, 0, 0xC8));
    EXPECT_EQ(afx::ReadXpmImage("\"2 1 1 2\", \"ab c #FFFFFF\", \"abab\"").pixel(1, 0),
              qRgb(255, 255, 255))
        << "two characters a pixel";

    // Each of these would have QImage read past the strings it is given, or
    // is no picture at all.
    const char* broken[] = {
        "",
        "\"3 2 2 1\", \". c None\", \"# c #0000C8\", \".#.\"",         // a row missing
        "\"3 2 2 1\", \". c None\", \"# c #0000C8\"",                  // every row missing
        "\"3 2 2 1\", \". c None\"",                                   // a colour missing
        "\"3 2 2 1\", \". c None\", \"# c #0000C8\", \".#.\", \"#.\"", // a row short
        "\"3 2\", \". c None\", \".#.\", \"#.#\"",                     // header cut short
        "\"3 -2 2 1\", \". c None\", \"# c #0000C8\"",                 // negative height
        "\"3 2 -1 1\", \".#.\", \"#.#\"",                              // negative colours
        "\"3 2 2 0\", \". c None\", \"# c #0000C8\", \"\", \"\"",      // no characters a pixel
        "\"3 2 2000000000 1\"",                                        // colours never given
        "\"3 2 2 1\", \". c None\", \"# c #0000C8\", \".#.\", \"#.#",  // last string open
    };
    for (const char* text : broken)
        EXPECT_TRUE(afx::ReadXpmImage(text).isNull()) << text;
}

TEST(ExecutablePaths, DisplayNameAndHelpFile) {
    struct Case {
        const char* exe;
        const char* name;
        const char* help;
    };
    const Case cases[] = {
        {"/opt/tolmeri/tolmeri", "tolmeri", "/opt/tolmeri/tolmeri.HLP"},
        {"/opt/tolmeri/tolmeri.exe", "tolmeri", "/opt/tolmeri/tolmeri.HLP"},
        {"/home/a.b/tool", "tool", "/home/a.b/tool.HLP"},
        {"/x/my.tolmeri.bin", "my.tolmeri", "/x/my.tolmeri.HLP"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(afx::DisplayNameForExecutable(c.exe), QString::fromUtf8(c.name));
        EXPECT_EQ(afx::HelpPathForExecutable(c.exe), QByteArray(c.help));
    }
}

TEST(FamiliesToRequest, TheFirstInstalledAloneOrTheWholeList) {
    const QStringList preferred = afx::PreferredDialogFamilies();
    ASSERT_EQ(preferred.front(), QStringLiteral("MS PGothic"));
    struct Case {
        QStringList installed;
        QStringList requested;
    };
    const Case cases[] = {
        {{"DejaVu Sans", "IPAPGothic", "IPAGothic"}, {"IPAPGothic"}},
        {{"IPAPGothic", "MS PGothic"}, {"MS PGothic"}}, // the list's order, not the system's
        {{"ipapgothic"}, {"IPAPGothic"}},               // names compare without case
        {{"Noto Sans CJK JP", "DejaVu Sans"}, {"Noto Sans CJK JP"}},
        {{"IPAGothic", "DejaVu Sans"}, preferred}, // none of them: the toolkit chooses
        {{"IPAPGothic [Foundry]"}, preferred},     // a name the list does not hold
        {{"sans-serif"}, {"sans-serif"}},
        {{}, preferred},
    };
    for (const Case& c : cases)
        EXPECT_EQ(afx::FamiliesToRequest(preferred, c.installed), c.requested)
            << c.installed.join(u',').toStdString();
}

} // namespace
