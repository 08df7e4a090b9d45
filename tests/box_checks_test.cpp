// The main dialog's boxes as every window that reads them meets them: a bad
// value in any box is refused with the same message and the same box by
// 計算実行 (which says what it then does), the year chart (which opens
// nothing and puts the focus there), and the windows that read the boxes
// without a word (the era-date dialog, 刻の名から時刻を求める).
#include <QLabel>

#include "core/accepted_ranges.h"
#include "framework/cp932.h"
#include "framework/edit.h"
#include "res/resource.h"
#include "tests/main_dialog_fixture.h"
#include "ui/box_checks.h"
#include "ui/era_date_dlg.h"
#include "ui/hour_name_dlg.h"
#include "ui/year_chart_dlg.h"

namespace {

using tolmeri::BoxReport;
using tolmeri::ReadMainBoxes;

const char* const kInteger = "整数を入力してください。";
const char* const kLength = "12 文字以内で入力してください。";
const char* const kNoDate = "日付欄の年・月・日が暦の日付になっていません。";

bool IsDateBox(int id) {
    return id == IDC_DATE_YEAR || id == IDC_DATE_MONTH || id == IDC_DATE_DAY;
}

class BoxReaders : public MainDialogTest {
protected:
    // What the era-date dialog says of the boxes' date on opening.
    QString EraOpening() {
        QString shown;
        InModal([this] { dlg->OnSystemCommand(IDM_ERA_DATE, 0); },
                [&shown](CDialog& era) {
                    shown = qobject_cast<QLabel*>(era.GetDlgItem(IDC_ERA_NOW_DATE))->text();
                });
        return shown;
    }
    // What 刻の名から時刻を求める says on opening of the boxes' place, or of
    // their date on the date's row.
    QString HourNameSays(int box) {
        QString shown;
        const int row = IsDateBox(box) ? IDC_HOUR_DATE_READING : IDC_HOUR_PLACE;
        InModal([this] { dlg->OnSystemCommand(IDM_HOUR_NAME, 0); },
                [&shown, row](CDialog& hour) {
                    shown = qobject_cast<QLabel*>(hour.GetDlgItem(row))->text();
                });
        return shown;
    }
};

// Each box's bad values, one at a time over Yokohama on 2000-01-01 (time
// difference 9, longitude 139) as the dialog opens; a name longer than the
// box lets anyone type is put there as the settings file would.
TEST_F(BoxReaders, EachBadBoxIsRefusedAlikeByEveryReader) {
    const struct {
        int box;
        const char* text;
        const char* message;      // the year chart's, the first of 計算実行's
        const char* calculate[2]; // what 計算実行 says
        const char* shown;        // the box after 計算実行
        const char* hourName;     // what 刻の名から時刻を求める says of it
    } cases[] = {
        {IDC_DATE_YEAR, "abc", kInteger, {kInteger}, "abc", "「年」に指定できる値は0～2200です。"},
        {IDC_DATE_YEAR, "", kInteger, {kInteger}, "", "「年」に指定できる値は0～2200です。"},
        {IDC_DATE_YEAR,
         "2201",
         "「年」に指定できる値は0～2200です。",
         {"「年」に指定できる値は0～2200です。元に戻します。"},
         "2000",
         "「年」に指定できる値は0～2200です。"},
        {IDC_DATE_MONTH, "+0", kInteger, {kInteger}, "+0", "「月」に指定できる値は1～12です。"},
        {IDC_DATE_MONTH,
         "13",
         "「月」に指定できる値は1～12です。",
         {"「月」に指定できる値は1～12です。元に戻します。"},
         "1",
         "「月」に指定できる値は1～12です。"},
        {IDC_DATE_DAY, "1日", kInteger, {kInteger}, "1日", "「日」に指定できる値は 1～31 です。"},
        {IDC_DATE_DAY,
         "0",
         "「日」に指定できる値は 1～31 です。",
         {"「日」に指定できる値は 1～31 です。元に戻します。"},
         "1",
         "「日」に指定できる値は 1～31 です。"},
        {IDC_LATITUDE_DEGREES,
         "3 5",
         kInteger,
         {kInteger},
         "3 5",
         "「緯度」に指定できる値は -54～54 です。"},
        {IDC_LATITUDE_DEGREES,
         "-55",
         "「緯度」に指定できる値は -54～54 です。",
         {"「緯度」に指定できる値は -54～54 です。元に戻します。"},
         "35",
         "「緯度」に指定できる値は -54～54 です。"},
        {IDC_LATITUDE_MINUTES,
         "60",
         "緯度の「分」に指定できる値は 0～59 です。",
         {"緯度の「分」に指定できる値は 0～59 です。元に戻します。"},
         "27",
         "緯度の「分」に指定できる値は 0～59 です。"},
        {IDC_LONGITUDE_DEGREES,
         "x",
         kInteger,
         {kInteger},
         "x",
         "「経度」に指定できる値は -180～180 です。"},
        {IDC_LONGITUDE_DEGREES,
         "181",
         "「経度」に指定できる値は -180～180 です。",
         {"「経度」に指定できる値は -180～180 です。元に戻します。"},
         "139",
         "「経度」に指定できる値は -180～180 です。"},
        {IDC_LONGITUDE_MINUTES,
         "-1",
         "経度の「分」に指定できる値は 0～59 です。",
         {"経度の「分」に指定できる値は 0～59 です。元に戻します。"},
         "39",
         "経度の「分」に指定できる値は 0～59 です。"},
        {IDC_TIME_DIFFERENCE, "-0", kInteger, {kInteger}, "-0", "時差の指定が変です。"},
        {IDC_TIME_DIFFERENCE,
         "6",
         "時差の指定が変です。",
         {"時差の指定が変です。修正します。"},
         "9",
         "時差の指定が変です。"},
        {IDC_LOCATION_NAME,
         "東京都千代田区一",
         kLength,
         {kLength, "地名は全角６文字以内にしてください。元に戻します。"},
         "横浜",
         "地名は全角６文字以内にしてください。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.box) + " " + c.text);
        Open();
        const QString text = QString::fromUtf8(c.text);
        if (c.box == IDC_LOCATION_NAME)
            qobject_cast<CEdit*>(Box(*dlg, c.box))->SetWindowText(text);
        else
            Type(*dlg, c.box, text);
        ASSERT_EQ(BoxText(*dlg, c.box), text);
        QWidget* const elsewhere = dlg->GetDlgItem(IDC_SET_TODAY);
        elsewhere->setFocus();
        const bool exchangeRefuses =
            QString::fromUtf8(c.calculate[0]) == QString::fromUtf8(c.message);

        // Read without a word: the same box, nothing shown, the focus where it was.
        messages.Clear();
        EXPECT_EQ(ReadMainBoxes(*dlg, BoxReport::kSilent).refusedBox, c.box);
        EXPECT_EQ(QApplication::focusWidget(), elsewhere);
        // The era-date dialog minds only the date boxes.
        EXPECT_EQ(EraOpening() == QString::fromUtf8(kNoDate), IsDateBox(c.box));
        const QString hourName = QString::fromUtf8(c.hourName);
        EXPECT_EQ(HourNameSays(c.box), IsDateBox(c.box)
                                           ? QStringLiteral("日付欄: ") + hourName +
                                                 QStringLiteral("ここに日付を入れてください。")
                                           : hourName);
        EXPECT_TRUE(messages.calls.empty());
        dlg->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));

        // The year chart: the message, the box focused with its text
        // selected, nothing opened.
        elsewhere->setFocus();
        dlg->OnSystemCommand(IDM_YEAR_CHART, 0);
        EXPECT_EQ(messages.Texts(), QStringList{QString::fromUtf8(c.message)});
        EXPECT_EQ(QApplication::focusWidget(), Box(*dlg, c.box));
        EXPECT_EQ(Box(*dlg, c.box)->selectedText(), text);
        EXPECT_EQ(dlg->findChild<CYearChartDlg*>(), nullptr);

        // 計算実行: the box the exchange refuses gets the focus; a check's box
        // is put right and the focus stays on the button.
        messages.Clear();
        elsewhere->setFocus();
        Click(*dlg, IDC_CALCULATE);
        QStringList said;
        for (const char* m : c.calculate)
            if (m)
                said << QString::fromUtf8(m);
        EXPECT_EQ(messages.Texts(), said);
        EXPECT_EQ(QApplication::focusWidget() == Box(*dlg, c.box), exchangeRefuses);
        EXPECT_EQ(BoxText(*dlg, c.box), QString::fromUtf8(c.shown));
        dlg->done(0);
    }
}

// With several bad boxes every reader stops at the same one: the first the
// exchange refuses (the place before the date), else the first check that
// fails (the date before the place).
TEST_F(BoxReaders, SeveralBadBoxesAreRefusedAtTheSameFirstOne) {
    const struct {
        std::vector<std::pair<int, const char*>> typed;
        int first;
        const char* message;
    } cases[] = {
        {{{IDC_LONGITUDE_MINUTES, "77"}, {IDC_DATE_DAY, "40"}, {IDC_DATE_YEAR, "3000"}},
         IDC_DATE_YEAR,
         "「年」に指定できる値は0～2200です。"},
        {{{IDC_LATITUDE_DEGREES, "60"}, {IDC_DATE_DAY, "x"}, {IDC_LATITUDE_MINUTES, "y"}},
         IDC_LATITUDE_MINUTES,
         kInteger},
        {{{IDC_DATE_MONTH, "0"}, {IDC_TIME_DIFFERENCE, "-9"}, {IDC_LATITUDE_DEGREES, "90"}},
         IDC_DATE_MONTH,
         "「月」に指定できる値は1～12です。"},
        // The zone is judged against the longitude typed with it.
        {{{IDC_LONGITUDE_DEGREES, "-73"}, {IDC_TIME_DIFFERENCE, "9"}},
         IDC_TIME_DIFFERENCE,
         "時差の指定が変です。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        Open();
        for (const auto& [id, text] : c.typed)
            Type(*dlg, id, QString::fromUtf8(text));
        messages.Clear();
        EXPECT_EQ(ReadMainBoxes(*dlg, BoxReport::kSilent).refusedBox, c.first);
        EXPECT_TRUE(messages.calls.empty());
        EXPECT_EQ(ReadMainBoxes(*dlg, BoxReport::kLoud).refusedBox, c.first);
        EXPECT_EQ(QApplication::focusWidget(), Box(*dlg, c.first));
        messages.Clear();
        Click(*dlg, IDC_CALCULATE);
        ASSERT_FALSE(messages.Texts().isEmpty());
        EXPECT_TRUE(messages.Texts().front().startsWith(QString::fromUtf8(c.message)))
            << messages.Texts().front().toStdString();
        dlg->done(0);
    }
}

// Boxes that hold a usable place and date read whole, in any mode, and
// change nothing of the dialog.
TEST_F(BoxReaders, GoodBoxesReadWholeAndLeaveTheFieldsAlone) {
    Open();
    const std::pair<int, const char*> typed[] = {
        {IDC_LOCATION_NAME, "札幌"},   {IDC_LATITUDE_DEGREES, "43"},
        {IDC_LATITUDE_MINUTES, "3"},   {IDC_LONGITUDE_DEGREES, "141"},
        {IDC_LONGITUDE_MINUTES, "21"}, {IDC_TIME_DIFFERENCE, "9"},
        {IDC_DATE_YEAR, "1868"},       {IDC_DATE_MONTH, "2"},
        {IDC_DATE_DAY, "29"}}; // a leap day
    for (const auto& [id, text] : typed)
        Type(*dlg, id, QString::fromUtf8(text));
    for (BoxReport report : {BoxReport::kSilent, BoxReport::kLoud}) {
        const tolmeri::BoxReading read = ReadMainBoxes(*dlg, report);
        EXPECT_TRUE(read);
        EXPECT_EQ(read.values.ToPlace(), (tolmeri::Place{"札幌", 43, 3, 141, 21, 9}));
        EXPECT_EQ(read.values.ToDate(), (tolmeri::CivilDate{1868, 2, 29}));
    }
    EXPECT_TRUE(messages.calls.empty());
    EXPECT_EQ(dlg->m_strLocationName, QStringLiteral("横浜"));
    EXPECT_EQ(dlg->m_nDateYear, 2000);
}

// The name's limit is the core's, in CP932 bytes, and its message counts
// the full-width characters that make it.
TEST(NameCheck, TheMessageNamesTheLimitTheCheckApplies) {
    const int fullWidth = tolmeri::kPlaceNameMaxBytes / 2;
    QString digits = QString::number(fullWidth);
    for (QChar& ch : digits)
        ch = QChar(ch.unicode() - u'0' + 0xFF10);
    EXPECT_EQ(tolmeri::BoxCheckMessage(IDC_LOCATION_NAME, {}),
              QStringLiteral("地名は全角") + digits + QStringLiteral("文字以内にしてください。"));
    const struct {
        QString name;
        bool accepted;
    } cases[] = {
        {QString(fullWidth, u'東'), true},
        {QString(fullWidth + 1, u'東'), false},
        {QString(tolmeri::kPlaceNameMaxBytes, u'a'), true},
        {QString(tolmeri::kPlaceNameMaxBytes + 1, u'a'), false},
        {QString(tolmeri::kPlaceNameMaxBytes + 1, u'ｱ'), false}, // half-width: one byte each
        {QString(fullWidth, u'東') + u'ｱ', false},
        {QString(), true},
    };
    for (const auto& c : cases) {
        tolmeri::BoxValues values;
        values.name = c.name;
        EXPECT_EQ(tolmeri::BoxAccepts(IDC_LOCATION_NAME, values), c.accepted)
            << c.name.toStdString() << " " << afx::ToCp932(c.name).size();
    }
}

} // namespace
