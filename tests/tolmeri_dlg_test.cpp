// The main dialog as a user meets it: the boxes it shows, the checks of
// 計算実行 with their messages, today, and the two ways out.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <fstream>
#include <grp.h>
#include <iterator>
#include <memory>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/period_hours.h"
#include "framework/cp932.h"
#include "res/dialogs.h"
#include "res/resource.h"
#include "tests/dialog_units.h"
#include "tests/main_dialog_fixture.h"
#include "tests/temp_folder.h"
#include "ui/chart_painter.h"
#include "ui/tolmeri_dlg.h"

namespace {

constexpr int kYear = IDC_DATE_YEAR, kMonth = IDC_DATE_MONTH, kDay = IDC_DATE_DAY;
constexpr int kLatDeg = IDC_LATITUDE_DEGREES, kLatMin = IDC_LATITUDE_MINUTES;
constexpr int kLonDeg = IDC_LONGITUDE_DEGREES, kLonMin = IDC_LONGITUDE_MINUTES;
constexpr int kTz = IDC_TIME_DIFFERENCE, kName = IDC_LOCATION_NAME;

const QString kIntegerMessage = QStringLiteral("整数を入力してください。");
const QString kLengthMessage = QStringLiteral("12 文字以内で入力してください。");
const QString kYearMessage = QStringLiteral("「年」に指定できる値は0～2200です。元に戻します。");
const QString kMonthMessage = QStringLiteral("「月」に指定できる値は1～12です。元に戻します。");
const QString kDayMessage = QStringLiteral("「日」に指定できる値は 1～31 です。元に戻します。");
const QString kLatMessage = QStringLiteral("「緯度」に指定できる値は -54～54 です。元に戻します。");
const QString kLatMinMessage =
    QStringLiteral("緯度の「分」に指定できる値は 0～59 です。元に戻します。");
const QString kLonMessage =
    QStringLiteral("「経度」に指定できる値は -180～180 です。元に戻します。");
const QString kLonMinMessage =
    QStringLiteral("経度の「分」に指定できる値は 0～59 です。元に戻します。");
const QString kTzMessage = QStringLiteral("時差の指定が変です。修正します。");
const QString kNameMessage = QStringLiteral("地名は全角６文字以内にしてください。元に戻します。");

class MainDialog : public MainDialogTest {
protected:
    FixedToday december{QDate(2026, 12, 7)};

    QString Text(int id) { return BoxText(*dlg, id); }
    void Calculate() { Click(*dlg, IDC_CALCULATE); }
    std::vector<int> Table() {
        std::vector<int> t;
        for (int i = 0; i < tolmeri::kBoundaryCount; ++i)
            t.push_back(dlg->Hours().GetBoundary(i));
        return t;
    }
    QByteArray IniBytes() {
        QFile f(app.IniPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Where the window's paint puts the chart's rows and marks.
    tolmeri::DayChartLayout ShownLayout() {
        return tolmeri::LayoutChartOn(
            dlg.get(), CTolmeriDlg::ChartFace(),
            tolmeri::ClientRect{0, 0, dlg->width(), dlg->height()},
            {dlg->Hours().Day(), dlg->m_strLocationName, dlg->DateFields()});
    }
    QImage Rendered() {
        QImage image(dlg->size(), QImage::Format_RGB32);
        dlg->render(&image);
        return image;
    }
};

TEST_F(MainDialog, FirstStartShowsYokohama2000AndFocusesToday) {
    Open();
    const std::pair<int, const char*> expected[] = {
        {kName, "横浜"}, {kLatDeg, "35"}, {kLatMin, "27"}, {kLonDeg, "139"}, {kLonMin, "39"},
        {kTz, "9"},      {kYear, "2000"}, {kMonth, "1"},   {kDay, "1"},
    };
    for (const auto& [id, text] : expected)
        EXPECT_EQ(Text(id), QString::fromUtf8(text)) << id;
    EXPECT_EQ(dlg->Hours().GetBoundary(0), -15);
    EXPECT_EQ(dlg->Hours().GetBoundary(24), 1425);
    EXPECT_EQ(QApplication::focusWidget(), dlg->GetDlgItem(IDC_SET_TODAY));
    EXPECT_TRUE(messages.calls.empty());
    EXPECT_FALSE(QFileInfo::exists(app.IniPath())) << "reading never creates the file";
}

TEST_F(MainDialog, NumberBoxesAreRightAlignedAndTheNameBoxIsNot) {
    Open();
    for (int id : {kYear, kMonth, kDay, kLatDeg, kLatMin, kLonDeg, kLonMin, kTz})
        EXPECT_TRUE(Box(*dlg, id)->alignment() & Qt::AlignRight) << id;
    EXPECT_TRUE(Box(*dlg, kName)->alignment() & Qt::AlignLeft);
}

struct BoundCase {
    int box;
    const char* typed;
    const QString* message; // nullptr: accepted
    const char* shown;      // the box afterwards
};

TEST_F(MainDialog, EachCheckAcceptsItsBoundsAndRestoresBeyondThem) {
    // Longitudes come with a fitting time difference, so only the one check
    // under test can speak.
    const BoundCase cases[] = {
        {kYear, "0", nullptr, "0"},
        {kYear, "2200", nullptr, "2200"},
        {kYear, "-1", &kYearMessage, "2000"},
        {kYear, "2201", &kYearMessage, "2000"},
        {kMonth, "1", nullptr, "1"},
        {kMonth, "12", nullptr, "12"},
        {kMonth, "0", &kMonthMessage, "1"},
        {kMonth, "13", &kMonthMessage, "1"},
        {kDay, "1", nullptr, "1"},
        {kDay, "31", nullptr, "31"},
        {kDay, "0", &kDayMessage, "1"},
        {kDay, "32", &kDayMessage, "1"},
        {kLatDeg, "-54", nullptr, "-54"},
        {kLatDeg, "54", nullptr, "54"},
        {kLatDeg, "-55", &kLatMessage, "35"},
        {kLatDeg, "55", &kLatMessage, "35"},
        {kLatMin, "0", nullptr, "0"},
        {kLatMin, "59", nullptr, "59"},
        {kLatMin, "-1", &kLatMinMessage, "27"},
        {kLatMin, "60", &kLatMinMessage, "27"},
        {kLonMin, "0", nullptr, "0"},
        {kLonMin, "59", nullptr, "59"},
        {kLonMin, "-1", &kLonMinMessage, "39"},
        {kLonMin, "60", &kLonMinMessage, "39"},
    };
    Open();
    for (const BoundCase& c : cases) {
        // Back to the start values before each case.
        dlg->done(0);
        Open();
        messages.Clear();
        Type(*dlg, c.box, QString::fromUtf8(c.typed));
        Calculate();
        if (c.message)
            EXPECT_EQ(messages.Texts(), QStringList{*c.message}) << c.box << " " << c.typed;
        else
            EXPECT_TRUE(messages.Texts().isEmpty()) << c.box << " " << c.typed;
        EXPECT_EQ(Text(c.box), QString::fromUtf8(c.shown)) << c.box << " " << c.typed;
    }
}

TEST_F(MainDialog, LongitudeBoundsWithTheirTimeDifferences) {
    struct Case {
        const char* lon;
        const char* tz;
        const QString* message;
        const char* lonShown;
    };
    const Case cases[] = {
        {"-180", "-12", nullptr, "-180"},
        {"180", "12", nullptr, "180"},
        {"-181", "9", &kLonMessage, "139"},
        {"181", "9", &kLonMessage, "139"},
    };
    for (const Case& c : cases) {
        Open();
        messages.Clear();
        Type(*dlg, kLonDeg, QString::fromUtf8(c.lon));
        Type(*dlg, kLonMin, QStringLiteral("0"));
        Type(*dlg, kTz, QString::fromUtf8(c.tz));
        Calculate();
        if (c.message)
            EXPECT_EQ(messages.Texts(), QStringList{*c.message}) << c.lon;
        else
            EXPECT_TRUE(messages.Texts().isEmpty()) << c.lon;
        EXPECT_EQ(Text(kLonDeg), QString::fromUtf8(c.lonShown)) << c.lon;
        dlg->done(0);
    }
}

// No longitude lies past 180°00′: at ±180 degrees the minutes box takes 0
// only. Refused minutes go back to Yokohama's 39, which do not fit 180
// either, so the degrees go back too.
TEST_F(MainDialog, NoLongitudePastOneHundredEightyDegrees) {
    const struct {
        const char* lon;
        const char* minutes;
        const char* message; // empty: accepted
        const char* lonShown;
        const char* minutesShown;
    } cases[] = {
        {"180", "0", "", "180", "0"},
        {"-180", "0", "", "-180", "0"},
        {"179", "59", "", "179", "59"},
        {"180", "59", "経度が 180 度のとき、「分」に指定できる値は 0 です。元に戻します。", "139",
         "39"},
        {"-180", "1", "経度が -180 度のとき、「分」に指定できる値は 0 です。元に戻します。", "139",
         "39"},
    };
    for (const auto& c : cases) {
        Open();
        messages.Clear();
        Type(*dlg, kLonDeg, QString::fromUtf8(c.lon));
        Type(*dlg, kLonMin, QString::fromUtf8(c.minutes));
        Type(*dlg, kTz, c.lon[0] == '-' ? QStringLiteral("-12") : QStringLiteral("12"));
        Calculate();
        QStringList expected{QString::fromUtf8(c.message)};
        expected.removeAll(QString());
        // Back at 139 degrees, the time difference 12 is corrected.
        if (!expected.isEmpty())
            expected << kTzMessage;
        EXPECT_EQ(messages.Texts(), expected) << c.lon << ":" << c.minutes;
        EXPECT_EQ(Text(kLonDeg), QString::fromUtf8(c.lonShown)) << c.lon << ":" << c.minutes;
        EXPECT_EQ(Text(kLonMin), QString::fromUtf8(c.minutesShown)) << c.lon << ":" << c.minutes;
        EXPECT_EQ(dlg->PlaceFields().lonMin, QString::fromUtf8(c.minutesShown).toInt());
        dlg->done(0);
    }
}

// A day past its month's end is refused in the form of the other checks,
// with the month's length; the chart never shows 3月3日 under 「2月31日」.
// A day kept from a longer month does not fit either: the date goes back
// whole.
TEST_F(MainDialog, ADayPastTheMonthsEndIsRefused) {
    const struct {
        const char* month;
        const char* day;
        const char* message; // empty: accepted
        tolmeri::CivilDate shown;
    } cases[] = {
        {"2", "28", "", {2001, 2, 28}},
        {"2", "29", "「日」に指定できる値は 1～28 です。元に戻します。", {2001, 2, 1}},
        {"2", "31", "「日」に指定できる値は 1～28 です。元に戻します。", {2001, 2, 1}},
        {"4", "31", "「日」に指定できる値は 1～30 です。元に戻します。", {2001, 4, 1}},
        {"12", "31", "", {2001, 12, 31}},
    };
    for (const auto& c : cases) {
        Open();
        messages.Clear();
        Type(*dlg, kYear, QStringLiteral("2001"));
        Type(*dlg, kMonth, QString::fromUtf8(c.month));
        Type(*dlg, kDay, QString::fromUtf8(c.day));
        Calculate();
        QStringList expected{QString::fromUtf8(c.message)};
        expected.removeAll(QString());
        EXPECT_EQ(messages.Texts(), expected) << c.month << "/" << c.day;
        EXPECT_EQ(dlg->DateFields(), c.shown) << c.month << "/" << c.day;
        EXPECT_EQ(dlg->Hours().Day().date, c.shown) << c.month << "/" << c.day;
        dlg->done(0);
    }

    // 2000-01-31 kept, then February typed with the same day: 31 does not
    // fit February, so 2000-01-31 comes back as it was.
    Open();
    Type(*dlg, kDay, QStringLiteral("31"));
    Calculate();
    messages.Clear();
    Type(*dlg, kMonth, QStringLiteral("2"));
    Calculate();
    EXPECT_EQ(messages.Texts(),
              QStringList{QStringLiteral("「日」に指定できる値は 1～29 です。元に戻します。")});
    EXPECT_EQ(dlg->DateFields(), (tolmeri::CivilDate{2000, 1, 31}));
    EXPECT_EQ(Text(kMonth), QStringLiteral("1"));
    EXPECT_EQ(Text(kDay), QStringLiteral("31"));
}

TEST_F(MainDialog, TimeDifferenceMustFitTheLongitude) {
    struct Case {
        const char* lon;
        const char* tz;
        bool accepted;
        const char* tzShown;
    };
    const Case cases[] = {
        {"139", "7", true, "7"},    {"139", "9", true, "9"},
        {"139", "11", true, "11"},  {"139", "6", false, "9"},
        {"139", "12", false, "9"},  {"-73", "-5", true, "-5"},
        {"-73", "-7", false, "-4"}, {"180", "13", false, "12"},
        {"14", "1", true, "1"},     {"139", "-2147483648", false, "9"},
    };
    for (const Case& c : cases) {
        Open();
        messages.Clear();
        Type(*dlg, kLonDeg, QString::fromUtf8(c.lon));
        Type(*dlg, kLonMin, QStringLiteral("0"));
        Type(*dlg, kTz, QString::fromUtf8(c.tz));
        Calculate();
        EXPECT_EQ(messages.Texts(), c.accepted ? QStringList{} : QStringList{kTzMessage})
            << c.lon << " " << c.tz;
        EXPECT_EQ(Text(kTz), QString::fromUtf8(c.tzShown)) << c.lon << " " << c.tz;
        dlg->done(0);
    }
}

TEST_F(MainDialog, TheTimeDifferenceIsJudgedAgainstTheRestoredLongitude) {
    Open();
    Type(*dlg, kLonDeg, QStringLiteral("200"));
    Type(*dlg, kTz, QStringLiteral("10"));
    Calculate();
    // 200 is restored to 139 (q = 9), and 10 lies within two hours of it.
    EXPECT_EQ(messages.Texts(), QStringList{kLonMessage});
    EXPECT_EQ(Text(kLonDeg), QStringLiteral("139"));
    EXPECT_EQ(Text(kTz), QStringLiteral("10"));
}

TEST_F(MainDialog, SeveralWrongBoxesSpeakInCheckOrderThenOneRecompute) {
    Open();
    const std::vector<int> before = Table();
    Type(*dlg, kName, QStringLiteral("長い地名です")); // 12 bytes: fine
    Type(*dlg, kLonMin, QStringLiteral("77"));
    Type(*dlg, kDay, QStringLiteral("40"));
    Type(*dlg, kYear, QStringLiteral("3000"));
    Type(*dlg, kLatDeg, QStringLiteral("60"));
    Type(*dlg, kMonth, QStringLiteral("6"));
    Calculate();
    // Day 40 of June: the day's message gives June's length.
    EXPECT_EQ(messages.Texts(),
              (QStringList{kYearMessage,
                           QStringLiteral("「日」に指定できる値は 1～30 です。元に戻します。"),
                           kLatMessage, kLonMinMessage}));
    for (const afx::MessageBoxCall& c : messages.calls) {
        EXPECT_EQ(c.icon, afx::MbIcon::kNone);
        EXPECT_EQ(c.caption, QStringLiteral("tolmeri"));
        EXPECT_EQ(c.owner, dlg.get());
    }
    // The accepted month counts; the refused fields are back.
    EXPECT_EQ(Text(kMonth), QStringLiteral("6"));
    EXPECT_EQ(Text(kYear), QStringLiteral("2000"));
    const tolmeri::DayHours june =
        tolmeri::CalcDayHours({"", 35, 27, 139, 39, 9}, tolmeri::CivilDate{2000, 6, 1});
    EXPECT_NE(Table(), before);
    EXPECT_EQ(dlg->Hours().GetBoundary(12), june.transit) << "2000-06-01 at Yokohama";
}

TEST_F(MainDialog, ANameLeftAsLoadedIsSavedByteForByte) {
    const struct {
        QByteArray stored;
        QString shown;
        const char* typed; // then typed into the name box, or nullptr
        QByteArray saved;
    } cases[] = {
        // Characters CP932 codes twice keep the code they were stored in:
        // 87 90 (≒), FA 4A (Ⅰ) and ED 40 (纊), not 81 E0, 87 54 and FA 5C.
        {"\x87\x90\xFA\x4A\xED\x40", QStringLiteral("≒Ⅰ纊"), nullptr, "\x87\x90\xFA\x4A\xED\x40"},
        // Bytes that are not CP932 show as a replacement mark, and go back
        // unchanged.
        {"ab\x85\x40", QStringLiteral("ab\uFFFD@"), nullptr, "ab\x85\x40"},
        {"\xA0\x89\xA1\xEB\x40", QStringLiteral("\uFFFD横\uFFFD@"), nullptr,
         "\xA0\x89\xA1\xEB\x40"},
        // Typed over with the text it showed: still the stored bytes.
        {"\x87\x90", QStringLiteral("≒"), "≒", "\x87\x90"},
        // A name the user changed is encoded anew.
        {"\x87\x90", QStringLiteral("≒"), "≒≒", "\x81\xE0\x81\xE0"},
        {"ab\x85\x40", QStringLiteral("ab\uFFFD@"), "ab", "ab"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown.toStdString());
        const QByteArray ini = "[Location]\nLocation Name=" + c.stored + "\n[Time]\nYear=1999\n";
        Open(&ini);
        EXPECT_EQ(Text(kName), c.shown);
        Calculate(); // a calculate in between changes nothing
        if (c.typed)
            Type(*dlg, kName, QString::fromUtf8(c.typed));
        messages.Clear();
        Click(*dlg, afx::IDOK);
        EXPECT_TRUE(messages.calls.empty());
        EXPECT_FALSE(dlg->isVisible());
        const QByteArray saved = IniBytes();
        EXPECT_TRUE(saved.startsWith("[Location]\nLocation Name=" + c.saved + "\n"))
            << saved.toHex(' ').toStdString();
    }
}

TEST_F(MainDialog, AnEmptyYearBoxStopsTheExchangeButNotTheCommand) {
    Open();
    const std::vector<int> before = Table();
    Type(*dlg, kLatDeg, QStringLiteral("40"));
    Type(*dlg, kLonDeg, QStringLiteral("140"));
    Type(*dlg, kTz, QStringLiteral("8"));
    Type(*dlg, kYear, QString());
    Type(*dlg, kMonth, QStringLiteral("7"));
    Type(*dlg, kName, QStringLiteral("仙台"));
    Calculate();

    ASSERT_EQ(messages.Texts(), QStringList{kIntegerMessage});
    EXPECT_EQ(messages.calls[0].icon, afx::MbIcon::kExclamation);
    QLineEdit* year = Box(*dlg, kYear);
    EXPECT_EQ(QApplication::focusWidget(), year);
    EXPECT_EQ(year->text(), QString());
    // Fields before the year took their values; the year and everything
    // after it kept theirs.
    EXPECT_EQ(dlg->m_nLatitudeDegrees, 40);
    EXPECT_EQ(dlg->m_nLongitudeDegrees, 140);
    EXPECT_EQ(dlg->m_nTimeDifference, 8);
    EXPECT_EQ(dlg->m_nDateYear, 2000);
    EXPECT_EQ(dlg->m_nDateMonth, 1);
    EXPECT_EQ(dlg->m_strLocationName, QStringLiteral("横浜"));
    EXPECT_NE(Table(), before) << "recomputed for the new place on the old date";
}

TEST_F(MainDialog, SignedZeroIsNotAnInteger) {
    struct Case {
        const char* typed;
        bool refused;
        int minutes;
    };
    const Case cases[] = {
        {"+0", true, 27}, {"-0", true, 27}, {"00", false, 0}, {" 5 ", false, 5}, {"5x", true, 27}};
    for (const Case& c : cases) {
        Open();
        messages.Clear();
        Type(*dlg, kLatMin, QString::fromUtf8(c.typed));
        Calculate();
        if (c.refused) {
            EXPECT_EQ(messages.Texts(), QStringList{kIntegerMessage}) << c.typed;
            EXPECT_EQ(QApplication::focusWidget(), Box(*dlg, kLatMin));
            EXPECT_EQ(Box(*dlg, kLatMin)->selectedText(), QString::fromUtf8(c.typed));
        } else {
            EXPECT_TRUE(messages.Texts().isEmpty()) << c.typed;
        }
        EXPECT_EQ(dlg->m_nLatitudeMinutes, c.minutes) << c.typed;
        // What was typed stays in the box unless a check rewrote the boxes.
        EXPECT_EQ(Text(kLatMin), QString::fromUtf8(c.typed));
        dlg->done(0);
    }
}

TEST_F(MainDialog, ALongStoredNameIsReportedAtEveryCalculate) {
    // 16 bytes: more than the box takes by typing, less than the 19 read.
    const QByteArray ini =
        "[Location]\nLocation Name=" + afx::ToCp932(QStringLiteral("東京都千代田区一")) + "\n";
    Open(&ini);
    EXPECT_EQ(Text(kName), QStringLiteral("東京都千代田区一"));
    for (int round = 0; round < 2; ++round) {
        messages.Clear();
        Calculate();
        EXPECT_EQ(messages.Texts(), (QStringList{kLengthMessage, kNameMessage}));
        EXPECT_EQ(messages.calls[0].icon, afx::MbIcon::kExclamation);
        EXPECT_EQ(Text(kName), QStringLiteral("東京都千代田区一"));
    }
}

TEST_F(MainDialog, StoredValuesAreUsedUncheckedUntilCalculate) {
    const QByteArray ini = "[Time]\nYear=2001\nMonth=13\nDay=1\n";
    Open(&ini);
    EXPECT_TRUE(messages.calls.empty());
    EXPECT_EQ(Text(kMonth), QStringLiteral("13"));
    const std::vector<int> atStart = Table();
    Calculate();
    EXPECT_EQ(messages.Texts(), QStringList{kMonthMessage});
    EXPECT_EQ(Text(kMonth), QStringLiteral("13"));
    EXPECT_EQ(Table(), atStart) << "the recompute runs with 13 again";
}

TEST_F(MainDialog, PolarLatitudeFromTheFileStillGivesASoundChart) {
    const QByteArray ini = "[Location]\nLatitude Degrees=80\n[Time]\nMonth=6\nDay=21\n";
    Open(&ini);
    const std::vector<int> t = Table();
    EXPECT_EQ(t[24] - t[0], 1440);
    EXPECT_TRUE(std::is_sorted(t.begin(), t.end()));
    // The rows run down the window in order, each hour's line drawn inside it.
    const tolmeri::DayChartLayout L = ShownLayout();
    const QImage image = Rendered();
    for (int i = 1; i < tolmeri::kBoundaryCount; ++i)
        EXPECT_LE(L.boundaryY[i - 1], L.boundaryY[i]) << i;
    EXPECT_GT(L.boundaryY[0], 0);
    EXPECT_LT(L.boundaryY[24], dlg->height());
    for (int i = 0; i < tolmeri::kBoundaryCount; i += 2)
        EXPECT_EQ(image.pixelColor(L.xL + 2, L.boundaryY[i]), QColor(Qt::black)) << i;
}

TEST_F(MainDialog, TodayReplacesTheBoxesFromTheFieldsWithoutRecomputing) {
    Open();
    const std::vector<int> before = Table();
    Type(*dlg, kLatDeg, QStringLiteral("43"));
    Click(*dlg, IDC_SET_TODAY);
    EXPECT_EQ(Text(kLatDeg), QStringLiteral("35"));
    EXPECT_EQ(Text(kYear), QStringLiteral("2026"));
    EXPECT_EQ(Text(kMonth), QStringLiteral("12"));
    EXPECT_EQ(Text(kDay), QStringLiteral("7"));
    EXPECT_EQ(Table(), before);
    Calculate();
    EXPECT_NE(Table(), before);
    EXPECT_TRUE(messages.calls.empty());
}

TEST_F(MainDialog, SaveAndExitWritesTheFileAndCloses) {
    Open();
    Type(*dlg, kName, QStringLiteral("Sydney"));
    Type(*dlg, kLatDeg, QStringLiteral("-33"));
    Type(*dlg, kLatMin, QStringLiteral("52"));
    Type(*dlg, kLonDeg, QStringLiteral("151"));
    Type(*dlg, kLonMin, QStringLiteral("12"));
    Type(*dlg, kTz, QStringLiteral("10"));
    Type(*dlg, kMonth, QStringLiteral("13")); // written as it stands, no check
    Click(*dlg, afx::IDOK);
    EXPECT_TRUE(messages.calls.empty());
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), afx::IDOK);
    EXPECT_EQ(IniBytes(), QByteArray("[Location]\nLocation Name=Sydney\nLatitude Degrees=-33\n"
                                     "Latitude Minutes=52\nLongitude Degrees=151\n"
                                     "Longitude Minutes=12\nTime Difference=10\n[Time]\n"
                                     "Year=2000\nMonth=13\nDay=1\n"));
}

TEST_F(MainDialog, SaveAndExitWithARefusedBoxWritesNothingAndStays) {
    const QByteArray ini = "[Time]\nYear=1999\n";
    Open(&ini);
    Type(*dlg, kLatDeg, QStringLiteral("40"));
    Type(*dlg, kDay, QStringLiteral("abc"));
    Click(*dlg, afx::IDOK);
    EXPECT_EQ(messages.Texts(), QStringList{kIntegerMessage}) << "shown once";
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(IniBytes(), ini);
    // Leaving without saving then finds the file as it was.
    Click(*dlg, afx::IDCANCEL);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), afx::IDCANCEL);
    EXPECT_EQ(IniBytes(), ini);
}

TEST_F(MainDialog, AProgramFolderThatTakesNoFileSavesInTheConfigFolder) {
    // The program's folder is gone, so no file can be made there, not even
    // by root (who runs CI, and writes into read-only folders).
    app.InitPaths(QFile::encodeName(app.dir.filePath(QStringLiteral("gone/tolmeri"))));
    Open();
    EXPECT_EQ(dlg->IniPath(), QFile::encodeName(app.ConfigIniPath()));
    Type(*dlg, kYear, QStringLiteral("2001"));
    Click(*dlg, afx::IDOK);
    EXPECT_TRUE(messages.calls.empty());
    EXPECT_FALSE(dlg->isVisible());
    QFile saved(app.ConfigIniPath());
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().contains("\nYear=2001\n"));
}

TEST_F(MainDialog, AFailedSaveIsReportedAndTheDialogStays) {
    // Neither the program's folder (gone) nor the configuration folder (in
    // the place of a file) can take the file.
    app.InitPaths(QFile::encodeName(app.dir.filePath(QStringLiteral("gone/tolmeri"))));
    QFile file(app.dir.filePath(QStringLiteral("file")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(app.dir.filePath(QStringLiteral("file/config"))));
    Open();
    EXPECT_TRUE(dlg->IniPath().startsWith(
        QFile::encodeName(app.dir.filePath(QStringLiteral("file/config/")))));
    Click(*dlg, afx::IDOK);
    ASSERT_EQ(messages.calls.size(), 1u);
    EXPECT_EQ(messages.calls[0].text, QStringLiteral("設定ファイルを保存できませんでした。\n") +
                                          QFile::decodeName(dlg->IniPath()));
    EXPECT_EQ(messages.calls[0].icon, afx::MbIcon::kExclamation);
    EXPECT_TRUE(dlg->isVisible());
}

TEST_F(MainDialog, AProgramFolderNamedInShiftJisKeepsItsSettingsFileThere) {
    // 東京 in Shift-JIS: the folder's name is not UTF-8, and no text path
    // can name it.
    const QByteArray folder = QFile::encodeName(app.dir.path()) + "/\x93\x8c\x8b\x9e";
    ASSERT_EQ(mkdir(folder.constData(), 0755), 0);
    const QByteArray ini = folder + "/tolmeri.ini";
    std::ofstream(ini.constData()) << "[Time]\nYear=1999\n";
    app.InitPaths(folder + "/tolmeri");
    Open();
    EXPECT_EQ(dlg->IniPath(), ini);
    EXPECT_EQ(Text(kYear), QStringLiteral("1999"));
    Type(*dlg, kYear, QStringLiteral("2001"));
    Click(*dlg, afx::IDOK);
    EXPECT_TRUE(messages.calls.empty());
    std::ifstream saved(ini.constData());
    const std::string bytes((std::istreambuf_iterator<char>(saved)), {});
    EXPECT_NE(bytes.find("Year=2001\n"), std::string::npos) << bytes;
    EXPECT_EQ(QDir(app.dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList())
        << "nothing written anywhere else";
}

// Permission bits bind only an ordinary user, so under root (as in CI) the
// save is tried in a child dropped to the user nobody, which reports what
// the user saw as "<messages> <visible>".
TEST_F(MainDialog, AFolderMadeReadOnlyAfterTheStartKeepsTheOldFile) {
    const QByteArray ini = "[Time]\nYear=1999\n";
    Open(&ini);
    const QByteArray folder = QFile::encodeName(app.dir.path());
    if (geteuid() == 0) {
        ASSERT_EQ(::chown(folder.constData(), kOtherUser, kOtherUser), 0);
        ASSERT_EQ(::chown(QFile::encodeName(app.IniPath()).constData(), kOtherUser, kOtherUser), 0);
    }
    const std::string answer = RunAsOrdinaryUser([&] {
        ::chmod(folder.constData(), 0500);
        Type(*dlg, kYear, QStringLiteral("2001"));
        Click(*dlg, afx::IDOK);
        ::chmod(folder.constData(), 0700);
        return std::to_string(messages.calls.size()) + (dlg->isVisible() ? " 1" : " 0");
    });
    EXPECT_EQ(answer, "1 1") << "one message, the window stays open";
    EXPECT_EQ(IniBytes(), ini);
}

TEST_F(MainDialog, DiscardEscapeAndCloseWriteNothing) {
    const std::function<void(CTolmeriDlg&)> ways[] = {
        [](CTolmeriDlg& d) { Click(d, afx::IDCANCEL); },
        [](CTolmeriDlg& d) { QTest::keyClick(Box(d, IDC_DATE_DAY), Qt::Key_Escape); },
        [](CTolmeriDlg& d) { d.close(); },
    };
    for (const auto& leave : ways) {
        Open();
        Type(*dlg, kYear, QStringLiteral("2001"));
        leave(*dlg);
        EXPECT_FALSE(dlg->isVisible());
        EXPECT_EQ(dlg->result(), afx::IDCANCEL);
        EXPECT_FALSE(QFileInfo::exists(app.IniPath()));
    }
}

TEST_F(MainDialog, EnterInAnyBoxSavesAndExits) {
    for (int id : {kYear, kName, kTz}) {
        QFile::remove(app.IniPath());
        Open();
        Type(*dlg, kDay, QStringLiteral("15"));
        QTest::keyClick(Box(*dlg, id), Qt::Key_Return);
        EXPECT_FALSE(dlg->isVisible()) << id;
        EXPECT_TRUE(IniBytes().contains("Day=15\n")) << id;
    }
}

TEST_F(MainDialog, TabWalksTheTemplateOrder) {
    Open();
    const int order[] = {IDC_SET_TODAY,   IDC_CHOOSE_LOCATION,
                         IDC_CALCULATE,   kYear,
                         kMonth,          kDay,
                         kName,           kLatDeg,
                         kLatMin,         kLonDeg,
                         kLonMin,         kTz,
                         afx::IDOK,       afx::IDCANCEL,
                         IDC_HELP_BUTTON, IDC_SET_TODAY};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
        ASSERT_EQ(QApplication::focusWidget(), dlg->GetDlgItem(order[i])) << i;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
}

TEST_F(MainDialog, TheNameBoxTakesTwelveShiftJisBytesOfWhatCp932Holds) {
    Open();
    struct Case {
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {
        {"東京都千代田区", "東京都千代田"},  // the seventh full-width character does not fit
        {"ﾄｳｷｮｳﾄﾁﾖﾀﾞｸｸﾀﾞﾝ", "ﾄｳｷｮｳﾄﾁﾖﾀﾞｸｸ"}, // half-width katakana: one byte each
        {"New York City", "New York Cit"},
        {"北😀海道", "北海道"}, // no place in CP932: never enters
    };
    for (const Case& c : cases) {
        Type(*dlg, kName, QString::fromUtf8(c.typed));
        EXPECT_EQ(Text(kName), QString::fromUtf8(c.shown)) << c.typed;
    }
    // A paste is cut to what fits.
    Type(*dlg, kName, QStringLiteral("横浜"));
    QLineEdit* name = Box(*dlg, kName);
    name->end(false);
    name->insert(QStringLiteral("市中区山下町"));
    EXPECT_EQ(name->text(), QStringLiteral("横浜市中区山"));
}

TEST_F(MainDialog, TheChartGetsTheWidthItsTextsNeedAndTheBoxesStayPut) {
    Open();
    const QSize templateSize = CDialog::ClientSize(res::kMainDialog);
    EXPECT_EQ(dlg->size(), CTolmeriDlg::ClientSizeFor(dlg.get()));
    EXPECT_GT(dlg->width(), templateSize.width());
    EXPECT_EQ(dlg->height(), templateSize.height());
    // 計算実行 keeps the template's place in the dialog font's units, inside
    // the window and clear of every other control.
    const auto items = res::kMainDialog.items;
    const auto item = std::find_if(items.begin(), items.end(),
                                   [](const afx::DlgItem& i) { return i.id == IDC_CALCULATE; });
    ASSERT_NE(item, items.end());
    QWidget* calculate = dlg->GetDlgItem(IDC_CALCULATE);
    const QRect r = calculate->geometry();
    EXPECT_TRUE(WhereUnitsPut(r, item->x, item->y, item->cx, item->cy, dlg->font()))
        << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
    EXPECT_TRUE(dlg->rect().contains(r));
    for (QObject* o : dlg->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (w == nullptr || w == calculate || w->isWindow() || !w->isVisible())
            continue;
        // Neighbours may share an edge pixel by the rounding.
        EXPECT_FALSE(r.adjusted(1, 1, -1, -1).intersects(w->geometry().adjusted(1, 1, -1, -1)))
            << "covers " << w->metaObject()->className() << " at " << w->x() << "," << w->y();
    }

    // A six-character name on a two-digit month and day, which used to lose
    // the end of its title: the last A columns keep the window's background.
    Type(*dlg, kName, QStringLiteral("和歌山和歌山"));
    Type(*dlg, kMonth, QStringLiteral("12"));
    Type(*dlg, kDay, QStringLiteral("31"));
    Calculate();
    QImage image(dlg->size(), QImage::Format_RGB32);
    dlg->render(&image);
    const QColor background = dlg->palette().color(QPalette::Window);
    const int A = QFontMetrics(tolmeri::ChartFont(CTolmeriDlg::ChartFace(), dlg.get(), 90))
                      .averageCharWidth();
    for (int x = dlg->width() - A; x < dlg->width(); ++x)
        for (int y = 0; y < dlg->height(); ++y)
            ASSERT_EQ(image.pixelColor(x, y), background) << x << "," << y;
}

TEST_F(MainDialog, TheWindowCarriesTheIconInBothSizes) {
    Open();
    const QList<QSize> sizes = dlg->windowIcon().availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(32, 32)));
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
    // Day above, night below.
    const QImage big = dlg->windowIcon().pixmap(32, 32).toImage();
    EXPECT_GT(qRed(big.pixel(16, 6)), 200);
    EXPECT_LT(qRed(big.pixel(16, 27)), 100);
    EXPECT_EQ(dlg->OnQueryDragIcon().cacheKey(), dlg->windowIcon().cacheKey());
}

TEST_F(MainDialog, MinimisedItPaintsTheChartThenTheIconInTheMiddle) {
    Open();
    dlg->showMinimized();
    QImage image(dlg->size(), QImage::Format_RGB32);
    dlg->render(&image);
    // The icon's centre is at ((w - 32 + 1) / 2 + 16, (h - 32 + 1) / 2 + 16).
    const QImage icon = dlg->windowIcon().pixmap(32, 32).toImage();
    const int x0 = (dlg->width() - 32 + 1) / 2, y0 = (dlg->height() - 32 + 1) / 2;
    for (const QPoint p : {QPoint(16, 6), QPoint(16, 27), QPoint(0, 16)})
        EXPECT_EQ(image.pixel(x0 + p.x(), y0 + p.y()), icon.pixel(p)) << p.x() << "," << p.y();
    // The chart is there too: the transit line across the bands, right of
    // row 12's text.
    EXPECT_EQ(QColor(image.pixel(dlg->width() / 2 + 210, ShownLayout().boundaryY[12])),
              QColor(Qt::black));
}

} // namespace
