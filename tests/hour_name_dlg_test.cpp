// 刻の名から時刻を求める as a user meets it: opened from the window menu over
// the main dialog, it takes the boxes' place and date (the date as its era
// date before 明治6年, in a box of its own) and shows each reading of the
// hour name as it is typed, on its civil date, in time order, with the
// day's reckoning named; a box 計算実行 would refuse is said on its own row,
// and the boxes stay as they were.
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>

#include "core/period_rules.h"

#include "res/resource.h"
#include "tests/main_dialog_fixture.h"
#include "ui/hour_name_dlg.h"

namespace {

QString Label(CDialog& dlg, int id) {
    return qobject_cast<QLabel*>(dlg.GetDlgItem(id))->text();
}

class HourNameDialog : public OpenMainDialogTest {
protected:
    // 東京 on 1860-03-24 (安政7年3月3日) in the boxes, as a user types them.
    void TokyoIn1860(const char* month = "3") {
        const std::pair<int, const char*> boxes[] = {
            {IDC_DATE_YEAR, "1860"},       {IDC_DATE_MONTH, month},
            {IDC_DATE_DAY, "24"},          {IDC_LATITUDE_DEGREES, "35"},
            {IDC_LATITUDE_MINUTES, "39"},  {IDC_LONGITUDE_DEGREES, "139"},
            {IDC_LONGITUDE_MINUTES, "45"}, {IDC_TIME_DIFFERENCE, "9"},
            {IDC_LOCATION_NAME, "東京"}};
        for (const auto& [id, text] : boxes)
            Type(*dlg, id, QString::fromUtf8(text));
    }
    void InHourNameDialog(const std::function<void(CHourNameDlg&)>& action) {
        InModal([this] { dlg->OnSystemCommand(IDM_HOUR_NAME, 0); },
                [&action](CDialog& modal) {
                    auto* hour = qobject_cast<CHourNameDlg*>(&modal);
                    ASSERT_NE(hour, nullptr);
                    action(*hour);
                });
    }
};

TEST_F(HourNameDialog, ShowsEachReadingAsTheNameIsTyped) {
    TokyoIn1860();
    InHourNameDialog([](CHourNameDlg& hour) {
        EXPECT_EQ(hour.windowTitle(), QStringLiteral("刻の名から時刻を求める"));
        EXPECT_EQ(Label(hour, IDC_HOUR_PLACE),
                  QStringLiteral("東京  緯度 35度39分  経度 139度45分  時差 9"));
        // The boxes' date as its sources write it, and what it names.
        EXPECT_EQ(BoxText(hour, IDC_HOUR_DATE), QStringLiteral("安政7年3月3日"));
        EXPECT_EQ(Label(hour, IDC_HOUR_DATE_READING),
                  QStringLiteral("1860-03-24（安政7年3月3日）"));
        EXPECT_TRUE(
            Label(hour, IDC_HOUR_RESULT).startsWith(QStringLiteral("刻の名を入れてください")));
        const QString dawn =
            QStringLiteral("数え方  明六つから翌日の明六つまで（明治6年より前の和暦・"
                           "旧暦の日付）\n");
        const struct {
            const char* typed;
            QString shown;
        } cases[] = {
            {"辰の上刻", dawn + QStringLiteral("寛政6年 大目付の読み  1860-03-24 06:14–06:58\n"
                                               "寛政12年の定め  1860-03-24 07:20–08:05")},
            {"朝五つ半", dawn + QStringLiteral("朝五つ半  1860-03-24 08:27–09:34")},
            // The small hours of the date's night.
            {"丑三つ", dawn + QStringLiteral("丑三つ  1860-03-25 02:26–02:53")},
            {"正午", dawn + QStringLiteral("正午（12:00）  1860-03-24 12:00")},
            {"昼五つ", QStringLiteral("「昼五つ」 という刻はありません（昼は九つ・八つ・七つ）")},
            // A long message keeps its examples on a line of their own.
            {"辰の上", QStringLiteral("刻の名 「辰の上」 は途中で終わっています\n（例: 朝五つ半、"
                                      "五つ時、丑三つ、辰の上刻）")},
        };
        for (const auto& c : cases) {
            Type(hour, IDC_HOUR_EXPRESSION, QString::fromUtf8(c.typed));
            EXPECT_EQ(Label(hour, IDC_HOUR_RESULT), c.shown) << c.typed;
        }
        // A Western date is the civil day; the choice overrides either.
        Type(hour, IDC_HOUR_EXPRESSION, QStringLiteral("丑三つ"));
        Type(hour, IDC_HOUR_DATE, QStringLiteral("1860-03-24"));
        EXPECT_EQ(Label(hour, IDC_HOUR_RESULT),
                  QStringLiteral("数え方  0時から24時まで（西暦、明治6年からの日付）\n"
                                 "丑三つ  1860-03-24 02:27–02:54"));
        qobject_cast<QComboBox*>(hour.GetDlgItem(IDC_HOUR_DAY_START))->setCurrentIndex(1);
        EXPECT_EQ(Label(hour, IDC_HOUR_RESULT),
                  QStringLiteral("数え方  明六つから翌日の明六つまで（指定）\n"
                                 "丑三つ  1860-03-25 02:26–02:53"));
        // A date that does not read says why on its row, and nothing is answered.
        Type(hour, IDC_HOUR_DATE, QStringLiteral("安政8年1月1日"));
        EXPECT_EQ(
            Label(hour, IDC_HOUR_DATE_READING),
            QStringLiteral("「安政8年1月1日」: 安政8年はありません（安政は元年から7年まで）"));
        EXPECT_EQ(Label(hour, IDC_HOUR_RESULT), QString());
    });
    EXPECT_EQ(BoxText(*dlg, IDC_DATE_MONTH), QStringLiteral("3"));
}

// 元禄15年12月14日 寅の上刻 at 江戸: the sources count the day from 明六つ, so
// the raid was in the small hours of the civil 31st, as the dialog answers
// by default; the main window's definition of dawn is the list's first, and
// another changes the answer.
TEST_F(HourNameDialog, TheRaidOfGenroku15AtEdo) {
    const std::pair<int, const char*> boxes[] = {
        {IDC_DATE_YEAR, "1703"},       {IDC_DATE_MONTH, "1"},        {IDC_DATE_DAY, "30"},
        {IDC_LATITUDE_DEGREES, "35"},  {IDC_LATITUDE_MINUTES, "41"}, {IDC_LONGITUDE_DEGREES, "139"},
        {IDC_LONGITUDE_MINUTES, "46"}, {IDC_TIME_DIFFERENCE, "9"},   {IDC_LOCATION_NAME, "江戸"}};
    for (const auto& [id, text] : boxes)
        Type(*dlg, id, QString::fromUtf8(text));
    InHourNameDialog([](CHourNameDlg& hour) {
        EXPECT_EQ(BoxText(hour, IDC_HOUR_DATE), QStringLiteral("元禄15年12月14日"));
        auto* dawn = qobject_cast<QComboBox*>(hour.GetDlgItem(IDC_HOUR_DAWN));
        ASSERT_EQ(dawn->count(), 4);
        EXPECT_EQ(dawn->currentIndex(), 0);
        EXPECT_EQ(dawn->currentText().toStdString(),
                  tolmeri::DawnDefinitionLabel(tolmeri::DawnDefinition::kDepression));
        Type(hour, IDC_HOUR_EXPRESSION, QStringLiteral("寅の上刻"));
        const QString result = Label(hour, IDC_HOUR_RESULT);
        EXPECT_TRUE(result.startsWith(QStringLiteral("数え方  明六つから翌日の明六つまで")));
        EXPECT_TRUE(result.endsWith(QStringLiteral("\n寛政12年の定め  1703-01-31 04:06–04:47")))
            << result.toStdString();
        // The same name typed in the forms people write.
        Type(hour, IDC_HOUR_DATE, QStringLiteral("元禄十五壬午年極月十四日"));
        Type(hour, IDC_HOUR_EXPRESSION, QStringLiteral("寅ノ上刻"));
        EXPECT_EQ(Label(hour, IDC_HOUR_RESULT), result);
        dawn->setCurrentIndex(1); // 36 minutes before sunrise, as the 貞享暦 kept it
        EXPECT_NE(Label(hour, IDC_HOUR_RESULT), result);
    });
}

// Every line the dialog shows fits its box: a line never breaks in a word.
TEST_F(HourNameDialog, EveryLineFitsItsBox) {
    TokyoIn1860();
    InHourNameDialog([](CHourNameDlg& hour) {
        auto* result = qobject_cast<QLabel*>(hour.GetDlgItem(IDC_HOUR_RESULT));
        const QFontMetrics metrics(result->font());
        for (const char* typed : {"", "辰の上", "昼五つ", "子の上刻", "九つ", "丑の五つ"}) {
            Type(hour, IDC_HOUR_EXPRESSION, QString::fromUtf8(typed));
            for (const QString& line : result->text().split(u'\n'))
                EXPECT_LE(metrics.horizontalAdvance(line), result->width()) << line.toStdString();
        }
    });
}

TEST_F(HourNameDialog, ABoxTheCalculationWouldRefuseIsSaidOnItsOwnRow) {
    TokyoIn1860("13");
    InHourNameDialog([](CHourNameDlg& hour) {
        // The place is as good as ever; the date's problem is on the date's row.
        EXPECT_EQ(Label(hour, IDC_HOUR_PLACE),
                  QStringLiteral("東京  緯度 35度39分  経度 139度45分  時差 9"));
        EXPECT_EQ(BoxText(hour, IDC_HOUR_DATE), QString());
        EXPECT_EQ(Label(hour, IDC_HOUR_DATE_READING),
                  QStringLiteral(
                      "日付欄: 「月」に指定できる値は1～12です。ここに日付を入れてください。"));
        EXPECT_EQ(Label(hour, IDC_HOUR_RESULT), QString());
        // A date typed here answers.
        Type(hour, IDC_HOUR_DATE, QStringLiteral("1860-03-24"));
        Type(hour, IDC_HOUR_EXPRESSION, QStringLiteral("朝五つ半"));
        EXPECT_TRUE(Label(hour, IDC_HOUR_RESULT)
                        .endsWith(QStringLiteral("朝五つ半  1860-03-24 08:27–09:34")));
    });
    EXPECT_EQ(BoxText(*dlg, IDC_DATE_MONTH), QStringLiteral("13"));
    Type(*dlg, IDC_LATITUDE_DEGREES, QStringLiteral("60"));
    InHourNameDialog([](CHourNameDlg& hour) {
        EXPECT_EQ(Label(hour, IDC_HOUR_PLACE),
                  QStringLiteral("「緯度」に指定できる値は -54～54 です。"));
        EXPECT_FALSE(hour.GetDlgItem(IDC_HOUR_EXPRESSION)->isEnabled());
    });
}

} // namespace
