// 刻の名から時刻を求める as a user meets it: opened from the window menu over
// the main dialog, it takes the boxes' place and date and shows each reading
// of the hour name as it is typed; a box 計算実行 would refuse is said
// instead, and the boxes stay as they were.
#include <QLabel>
#include <QLineEdit>

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
        EXPECT_EQ(Label(hour, IDC_HOUR_DATE), QStringLiteral("1860年3月24日（安政7年3月3日）"));
        EXPECT_TRUE(
            Label(hour, IDC_HOUR_RESULT).startsWith(QStringLiteral("刻の名を入れてください")));
        const struct {
            const char* typed;
            const char* shown;
        } cases[] = {
            {"辰の上刻",
             "寛政12年の定め  07:20 から 08:05 まで\n寛政6年 大目付の読み  06:14 から 06:58 まで"},
            {"朝五つ半", "朝五つ半  08:27 から 09:34 まで"},
            {"丑三つ", "丑三つ  02:27 から 02:54 まで"},
            {"子の上刻", "寛政12年の定め  23:47（前日） から 00:23 まで\n"
                         "寛政6年 大目付の読み  22:55（前日） から 23:30（前日） まで"},
            {"昼五つ", "「昼五つ」 という刻はありません（昼は九つ・八つ・七つ）"},
        };
        for (const auto& c : cases) {
            Type(hour, IDC_HOUR_EXPRESSION, QString::fromUtf8(c.typed));
            EXPECT_EQ(Label(hour, IDC_HOUR_RESULT), QString::fromUtf8(c.shown)) << c.typed;
        }
        // Half typed, the name is not yet understood, and says so.
        Type(hour, IDC_HOUR_EXPRESSION, QStringLiteral("辰の上"));
        EXPECT_TRUE(Label(hour, IDC_HOUR_RESULT).contains(QStringLiteral("が読めません")));
    });
    EXPECT_EQ(BoxText(*dlg, IDC_DATE_MONTH), QStringLiteral("3"));
}

TEST_F(HourNameDialog, ABoxTheCalculationWouldRefuseIsSaidInstead) {
    TokyoIn1860("13");
    InHourNameDialog([](CHourNameDlg& hour) {
        EXPECT_EQ(Label(hour, IDC_HOUR_PLACE), QStringLiteral("「月」に指定できる値は1～12です。"));
        EXPECT_FALSE(hour.GetDlgItem(IDC_HOUR_EXPRESSION)->isEnabled());
        EXPECT_EQ(Label(hour, IDC_HOUR_RESULT), QString());
    });
    EXPECT_EQ(BoxText(*dlg, IDC_DATE_MONTH), QStringLiteral("13"));
}

} // namespace
