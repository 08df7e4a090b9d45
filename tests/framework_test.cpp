// The framework's pure rules: the dialog integer, dialog units, Shift-JIS
// lengths, the edit limit, the paths formed from the executable's, the
// reading of XPM pictures, and the face families asked for.
#include <gtest/gtest.h>

#include <climits>

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

// The Qt-facing conversion hands QString and QByteArray through the core's
// (tests/cp932_test.cpp), bytes the core reads as no character included.
TEST(Cp932, QtTextGoesThroughTheCoresConversion) {
    EXPECT_EQ(afx::ToCp932(QStringLiteral("横浜")), QByteArray("\x89\xA1\x95\x6C"));
    EXPECT_EQ(afx::FromCp932(QByteArray("\x89\xA1\x95\x6C")), QStringLiteral("横浜"));
    EXPECT_EQ(afx::FromCp932(QByteArray("a\0b", 3)), QString::fromUtf16(u"a\0b", 3));
    EXPECT_EQ(afx::FromCp932(QByteArray("ab\x89")), QStringLiteral("ab\uFFFD"));
    bool ok = true;
    EXPECT_EQ(afx::ToCp932(QStringLiteral("a😀b"), &ok), QByteArray("a?b"));
    EXPECT_FALSE(ok);
    EXPECT_EQ(afx::Cp932Length(QStringLiteral("東京都千代田")), 12);
    EXPECT_EQ(afx::Cp932Length(QStringLiteral("é")), -1);
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
