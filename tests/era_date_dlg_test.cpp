// The era-date dialog as a user meets it: opened from the window menu over
// the main dialog, it names the day in the date boxes, shows the Gregorian
// date of what is typed at every keystroke (or why there is none), and on OK
// puts that date into the date boxes as typing would.
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>

#include "core/temporal_hours.h"
#include "res/resource.h"
#include "tests/main_dialog_fixture.h"
#include "ui/era_date_dlg.h"

namespace {

QComboBox* EraList(CDialog& dlg) {
    return qobject_cast<QComboBox*>(dlg.GetDlgItem(IDC_ERA_NAME));
}
QCheckBox* Leap(CDialog& dlg) {
    return qobject_cast<QCheckBox*>(dlg.GetDlgItem(IDC_ERA_LEAP));
}
QString Label(CDialog& dlg, int id) {
    return qobject_cast<QLabel*>(dlg.GetDlgItem(id))->text();
}
bool OkEnabled(CDialog& dlg) {
    return dlg.GetDlgItem(afx::IDOK)->isEnabled();
}

// An era date typed as a user does: the era's name into the list's edit box
// (the list completes it), the numbers into their boxes, the leap box
// clicked when it is not as wanted.
struct Entry {
    const char* era;
    const char* year;
    bool leap;
    const char* month;
    const char* day;
};
void Enter(CDialog& dlg, const Entry& e) {
    QLineEdit* era = EraList(dlg)->lineEdit();
    era->setFocus();
    era->selectAll();
    if (*e.era)
        TypeText(era, QString::fromUtf8(e.era));
    else
        QTest::keyClick(era, Qt::Key_Delete);
    Type(dlg, IDC_ERA_YEAR, QString::fromUtf8(e.year));
    if (Leap(dlg)->isChecked() != e.leap)
        QTest::mouseClick(Leap(dlg), Qt::LeftButton, {}, QPoint(4, Leap(dlg)->height() / 2));
    Type(dlg, IDC_ERA_MONTH, QString::fromUtf8(e.month));
    Type(dlg, IDC_ERA_DAY, QString::fromUtf8(e.day));
}

class EraDateDialog : public OpenMainDialogTest {
protected:
    void SetDateBoxes(const char* year, const char* month, const char* day) {
        Type(*dlg, IDC_DATE_YEAR, QString::fromUtf8(year));
        Type(*dlg, IDC_DATE_MONTH, QString::fromUtf8(month));
        Type(*dlg, IDC_DATE_DAY, QString::fromUtf8(day));
    }
    // Opens the dialog from the window menu and runs action in it.
    void InEraDialog(const std::function<void(CEraDateDlg&)>& action) {
        InModal([this] { dlg->OnSystemCommand(IDM_ERA_DATE, 0); },
                [&action](CDialog& modal) {
                    auto* era = qobject_cast<CEraDateDlg*>(&modal);
                    ASSERT_NE(era, nullptr);
                    action(*era);
                });
    }
    QStringList DateBoxes() {
        return {BoxText(*dlg, IDC_DATE_YEAR), BoxText(*dlg, IDC_DATE_MONTH),
                BoxText(*dlg, IDC_DATE_DAY)};
    }
};

TEST_F(EraDateDialog, OpeningNamesTheDayInTheBoxesAndStartsFromIt) {
    const struct {
        const char* boxes[3];
        const char* gregorian;
        const char* wareki;
        const char* kyureki;
        const char* sekkiStart; // the term and the beginning of its start
        const char* kanshi;     // the day's and the year's 干支, the 六曜
        Entry preselected;
    } cases[] = {
        // The June solstice of 2026 is at 08:24 UT (理科年表).
        {{"2026", "6", "21"},
         "2026年6月21日",
         "令和8年6月21日",
         "2026年5月7日（小の月）",
         "夏至（2026年6月21日 17:24 から）",
         "丙寅（丙午年）  六曜 大安",
         {"令和", "8", false, "6", "21"}},
        // A term that begins before 10:00 has its hour in two digits, as
        // every clock time of the program.
        {{"2026", "2", "4"},
         "2026年2月4日",
         "令和8年2月4日",
         "2025年12月17日（小の月）",
         "立春（2026年2月4日 05:02 から）",
         "己酉（丙午年）  六曜 仏滅",
         {"令和", "8", false, "2", "4"}},
        // 旧暦2033年閏11月, with the note of its choice on the next line;
        // 中秋の名月 of 2026.
        {{"2033", "12", "22"},
         "2033年12月22日",
         "令和15年12月22日",
         "2033年閏11月1日（小の月）\n旧暦2033年閏11月は日本カレンダー暦文化振興協会",
         "冬至（2033年12月21日",
         "丁未（癸丑年）  六曜 大安",
         {"令和", "15", false, "12", "22"}},
        {{"2026", "9", "25"},
         "2026年9月25日",
         "令和8年9月25日",
         "2026年8月15日（大の月）",
         "秋分（2026年9月23日",
         "壬寅（丙午年）  六曜 仏滅  中秋の名月",
         {"令和", "8", false, "9", "25"}},
        // 関ヶ原: 慶長5年9月15日, a month of 30 days beginning 1600-10-07.
        {{"1600", "10", "21"},
         "1600年10月21日",
         "慶長5年9月15日",
         "1600年9月15日（大の月）",
         "寒露（1600年10月",
         "乙卯（庚子年）  六曜 大安",
         {"慶長", "5", false, "9", "15"}},
        // Both courts: 延元 in the South, 暦応 in the North.
        {{"1340", "1", "1"},
         "1340年1月1日（ユリウス暦 1339年12月24日）",
         "延元4年11月23日（南朝）・暦応2年11月23日（北朝）",
         "1339年11月23日（小の月）",
         "冬至（1339年12月",
         "戊寅（己卯年）  六曜 先負",
         {"延元", "4", false, "11", "23"}},
        {{"1830", "4", "23"},
         "1830年4月23日",
         "文政13年閏3月1日",
         "1830年閏3月1日（小の月）",
         "穀雨（1830年4月",
         "己未（庚寅年）  六曜 先負",
         {"文政", "13", true, "3", "1"}},
        // No era yet; the lunisolar table begins in 445.
        {{"600", "1", "1"},
         "600年1月1日（ユリウス暦 599年12月30日）",
         "なし（元号は大化から）",
         "599年12月",
         "冬至（599年12月",
         "己亥（己未年）  六曜 先勝",
         {"", "", false, "", ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.gregorian);
        SetDateBoxes(c.boxes[0], c.boxes[1], c.boxes[2]);
        InEraDialog([&](CEraDateDlg& era) {
            EXPECT_EQ(era.windowTitle(), QStringLiteral("和暦・旧暦で日付を指定"));
            EXPECT_EQ(Label(era, IDC_ERA_NOW_DATE), QString::fromUtf8(c.gregorian));
            EXPECT_EQ(Label(era, IDC_ERA_NOW_WAREKI), QString::fromUtf8(c.wareki));
            EXPECT_TRUE(Label(era, IDC_ERA_NOW_KYUREKI).startsWith(QString::fromUtf8(c.kyureki)))
                << Label(era, IDC_ERA_NOW_KYUREKI).toStdString();
            EXPECT_TRUE(Label(era, IDC_ERA_NOW_SEKKI).startsWith(QString::fromUtf8(c.sekkiStart)))
                << Label(era, IDC_ERA_NOW_SEKKI).toStdString();
            EXPECT_EQ(Label(era, IDC_ERA_NOW_KANSHI), QString::fromUtf8(c.kanshi));
            const Entry& p = c.preselected;
            // The list's text: the era's name, then its years.
            EXPECT_EQ(EraList(era)->currentText().section(u'（', 0, 0), QString::fromUtf8(p.era));
            EXPECT_EQ(BoxText(era, IDC_ERA_YEAR), QString::fromUtf8(p.year));
            EXPECT_EQ(Leap(era)->isChecked(), p.leap);
            EXPECT_EQ(BoxText(era, IDC_ERA_MONTH), QString::fromUtf8(p.month));
            EXPECT_EQ(BoxText(era, IDC_ERA_DAY), QString::fromUtf8(p.day));
            // Started from the boxes' day, the result is that day again.
            if (*p.era) {
                EXPECT_TRUE(
                    Label(era, IDC_ERA_RESULT)
                        .startsWith(QStringLiteral("西暦 ") + QString::fromUtf8(c.gregorian)));
            }
            EXPECT_EQ(era.focusWidget(), EraList(era)) << "typing starts at the era";
        });
    }
    // Boxes that hold no date are said to, and nothing is preselected.
    SetDateBoxes("2001", "2", "31");
    InEraDialog([](CEraDateDlg& era) {
        EXPECT_EQ(Label(era, IDC_ERA_NOW_DATE),
                  QStringLiteral("日付欄の年・月・日が暦の日付になっていません。"));
        EXPECT_EQ(EraList(era)->currentText(), QString());
        EXPECT_FALSE(OkEnabled(era));
    });
}

TEST_F(EraDateDialog, TypingShowsTheGregorianDateOrWhyThereIsNone) {
    const struct {
        Entry entry;
        const char* result;
        bool accepted;
    } cases[] = {
        {{"慶長", "5", false, "9", "15"}, "西暦 1600年10月21日", true},
        {{"慶長", "五", false, "九", "十五"}, "西暦 1600年10月21日", true},
        {{"慶長", "５年", false, "９月", "１５日"}, "西暦 1600年10月21日", true},
        // 元年 as 元 or 1; the era begins on its proclamation day.
        {{"慶長", "元", false, "10", "27"}, "西暦 1596年12月16日", true},
        {{"慶長", "1", false, "10", "27"}, "西暦 1596年12月16日", true},
        {{"慶長", "25", false, "1", "1"}, "慶長25年はありません（慶長は元年から20年まで）", false},
        // Outside the era's days as sources write them: taken, with the note.
        {{"安政", "7", false, "3", "20"},
         "西暦 1860年4月10日\n安政7年3月20日 は 万延元年3月20日（3月18日に改元）",
         true},
        {{"慶長", "元", true, "7", "13"},
         "西暦 1596年9月5日\n慶長元年閏7月13日 は 文禄5年閏7月13日"
         "（慶長への改元は10月27日）",
         true},
        // A whole date typed into the era box, in any form the tool reads.
        {{"安政7年 3月20日", "", false, "", ""},
         "西暦 1860年4月10日\n安政7年3月20日 は 万延元年3月20日（3月18日に改元）",
         true},
        {{"慶長五年九月十五日", "", false, "", ""}, "西暦 1600年10月21日", true},
        {{"1860/3/24", "", false, "", ""}, "西暦 1860年3月24日\n和暦 安政7年3月3日", true},
        {{"２０２６－０６－２１", "", false, "", ""},
         "西暦 2026年6月21日\n和暦 令和8年6月21日",
         true},
        {{"慶長25年1月1日", "", false, "", ""},
         "慶長25年はありません（慶長は元年から20年まで）",
         false},
        // A lunisolar date of today's years, and a leap month the year lacks.
        {{"旧暦2026年8月15日", "", false, "", ""}, "西暦 2026年9月25日\n和暦 令和8年9月25日", true},
        {{"旧暦2026年閏8月1日", "", false, "", ""},
         "「旧暦2026年閏8月1日」は正しくありません（旧暦2026年に閏8月はありません。この年に閏月はあ"
         "りません）",
         false},
        {{"1860/13/1", "", false, "", ""}, "「1860/13/1」は正しくありません（月は 1～12）", false},
        {{"大宝", "元", false, "1", "1"},
         "西暦 701年2月17日（ユリウス暦 701年2月13日）\n大宝元年1月1日 は 文武天皇5年1月1日"
         "（大宝への改元は3月21日）",
         true},
        // Leap months, where the year has one and where it has none.
        {{"文政", "13", true, "3", "1"}, "西暦 1830年4月23日", true},
        {{"文政", "12", true, "3", "1"},
         "文政12年に閏3月はありません（この年に閏月はありません）",
         false},
        // A day past the month's length (文政12年3月 has 29 days).
        {{"文政", "12", false, "3", "30"}, "文政12年3月に30日はありません（3月は29日まで）", false},
        // Before 1582-10-15 the Julian-calendar date too.
        {{"天正", "10", false, "6", "2"}, "西暦 1582年7月1日（ユリウス暦 1582年6月21日）", true},
        // Both courts' eras, chosen by name or by their list text.
        {{"正慶", "元", false, "4", "28"}, "西暦 1332年5月31日（ユリウス暦 1332年5月23日）", true},
        {{"延元（南朝）", "元", false, "2", "29"},
         "西暦 1336年4月19日（ユリウス暦 1336年4月11日）",
         true},
        // Beyond the date boxes' years: shown, but not taken.
        {{"令和", "200", false, "1", "1"},
         "西暦 2218年1月1日\n日付欄に入れられるのは 0年から 2200年までです。",
         false},
        {{"大和", "5", false, "9", "15"}, "「大和」という元号はありません", false},
        {{"", "5", false, "9", "15"}, "元号を選ぶか入れてください。", false},
        {{"慶長", "", false, "9", "15"}, "年を入れてください（元年は 1 か「元」）。", false},
        {{"慶長", "5", false, "", "15"}, "月を入れてください。", false},
        {{"慶長", "5", false, "9", ""}, "日を入れてください。", false},
        {{"慶長", "5x", false, "9", "15"},
         "「年」は数で入れてください（元年は 1 か「元」）。",
         false},
        {{"慶長", "5", false, "九a", "15"}, "「月」は数で入れてください。", false},
        {{"慶長", "5", false, "9", "-1"}, "「日」は数で入れてください。", false},
    };
    InEraDialog([&](CEraDateDlg& era) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.entry.era) + c.entry.year + "/" + c.entry.month + "/" +
                         c.entry.day);
            Enter(era, c.entry);
            EXPECT_EQ(Label(era, IDC_ERA_RESULT), QString::fromUtf8(c.result));
            EXPECT_EQ(OkEnabled(era), c.accepted);
        }
    });
}

// A whole date in the era box reads by itself: the year, month and day
// boxes, which would show another date, are emptied and disabled while it
// is there, and come back as they were when an era is typed again. Its
// writing says the day it means: the Moon of a Western date is the civil
// day's.
TEST_F(EraDateDialog, AWholeDateInTheEraBoxSetsThePartsAside) {
    InEraDialog([](CEraDateDlg& era) {
        Enter(era, {"元禄", "15", false, "12", "14"});
        QLineEdit* box = EraList(era)->lineEdit();
        box->selectAll();
        TypeText(box, QStringLiteral("元禄十五壬午年極月十四日"));
        EXPECT_TRUE(Label(era, IDC_ERA_RESULT).startsWith(QStringLiteral("西暦 1703年1月30日")));
        EXPECT_TRUE(OkEnabled(era));
        for (int id : {IDC_ERA_YEAR, IDC_ERA_MONTH, IDC_ERA_DAY}) {
            EXPECT_EQ(BoxText(era, id), QString()) << id;
            EXPECT_FALSE(era.GetDlgItem(id)->isEnabled()) << id;
        }
        EXPECT_FALSE(Leap(era)->isEnabled());
        EXPECT_TRUE(era.Reading().wholeDate);
        EXPECT_EQ(era.Reading().writing, tolmeri::DateWriting::kEra);
        box->selectAll();
        TypeText(box, QStringLiteral("1703-01-30"));
        EXPECT_EQ(era.Reading().writing, tolmeri::DateWriting::kWestern);
        box->selectAll();
        TypeText(box, QStringLiteral("元禄"));
        EXPECT_FALSE(era.Reading().wholeDate);
        EXPECT_EQ(BoxText(era, IDC_ERA_YEAR), QStringLiteral("15"));
        EXPECT_EQ(BoxText(era, IDC_ERA_MONTH), QStringLiteral("12"));
        EXPECT_EQ(BoxText(era, IDC_ERA_DAY), QStringLiteral("14"));
        EXPECT_TRUE(era.GetDlgItem(IDC_ERA_DAY)->isEnabled());
        EXPECT_TRUE(Label(era, IDC_ERA_RESULT).startsWith(QStringLiteral("西暦 1703年1月30日")));
    });
}

// A refused paste in the era box is echoed as the command line quotes a
// value: at most 64 characters, its control characters escaped.
TEST_F(EraDateDialog, ARefusedPasteIsEchoedShortAndEscaped) {
    const std::string unreadable =
        "は読めません（YYYY-MM-DD、YYYY/M/D、YYYY年M月D日 か和暦、例 2026-06-21、1860/3/24、"
        "慶長5年9月15日）";
    const struct {
        QString pasted;
        std::string echoed;
    } cases[] = {
        {QString::fromUtf8("2026\t\x1b/13/1"), "「2026\\x09\\x1b/13/1」"},
        {QStringLiteral("2026") + QChar(u'\0') + QStringLiteral("/6/21"), "「2026\\x00/6/21」"},
        {QString(70000, u'1') + QStringLiteral("/1/1"), "「" + std::string(64, '1') + "…」"},
    };
    InEraDialog([&](CEraDateDlg& era) {
        for (const auto& c : cases) {
            QLineEdit* box = EraList(era)->lineEdit();
            box->clear();
            box->insert(c.pasted); // as a paste puts it there
            EXPECT_EQ(Label(era, IDC_ERA_RESULT).toStdString(), c.echoed + unreadable);
            EXPECT_FALSE(OkEnabled(era));
        }
    });
}

// A wrong entry tints the box at fault (an empty box is only asked for),
// and Enter or OK then puts the focus there with its text selected.
TEST_F(EraDateDialog, AWrongEntryMarksAndFocusesItsBox) {
    const struct {
        Entry entry;
        int box;
        bool marked;
        const char* result;
    } cases[] = {
        {{"大和", "5", false, "9", "15"}, IDC_ERA_NAME, true, "「大和」という元号はありません"},
        {{"慶長25年1月1日", "", false, "", ""},
         IDC_ERA_NAME,
         true,
         "慶長25年はありません（慶長は元年から20年まで）"},
        {{"1860/13/1", "", false, "", ""},
         IDC_ERA_NAME,
         true,
         "「1860/13/1」は正しくありません（月は 1～12）"},
        {{"", "5", false, "9", "15"}, IDC_ERA_NAME, false, "元号を選ぶか入れてください。"},
        {{"慶長", "25", false, "1", "1"},
         IDC_ERA_YEAR,
         true,
         "慶長25年はありません（慶長は元年から20年まで）"},
        {{"慶長", "5x", false, "9", "15"},
         IDC_ERA_YEAR,
         true,
         "「年」は数で入れてください（元年は 1 か「元」）。"},
        // Read box by box: the year's fault, though written out it would
        // stop at the month.
        {{"慶長", "5年年", false, "9", "15"},
         IDC_ERA_YEAR,
         true,
         "「年」は数で入れてください（元年は 1 か「元」）。"},
        {{"令和", "200", false, "1", "1"},
         IDC_ERA_YEAR,
         true,
         "西暦 2218年1月1日\n日付欄に入れられるのは 0年から 2200年までです。"},
        {{"慶長", "", false, "9", "15"},
         IDC_ERA_YEAR,
         false,
         "年を入れてください（元年は 1 か「元」）。"},
        {{"慶長", "5", false, "13", "1"}, IDC_ERA_MONTH, true, "慶長5年に13月はありません"},
        {{"文政", "12", true, "3", "1"},
         IDC_ERA_MONTH,
         true,
         "文政12年に閏3月はありません（この年に閏月はありません）"},
        {{"慶長", "5", false, "九a", "15"}, IDC_ERA_MONTH, true, "「月」は数で入れてください。"},
        {{"慶長", "5", false, "", "15"}, IDC_ERA_MONTH, false, "月を入れてください。"},
        {{"文政", "12", false, "3", "30"},
         IDC_ERA_DAY,
         true,
         "文政12年3月に30日はありません（3月は29日まで）"},
        {{"慶長", "5", false, "9", "-1"}, IDC_ERA_DAY, true, "「日」は数で入れてください。"},
        {{"慶長", "5", false, "9", "日"}, IDC_ERA_DAY, false, "日を入れてください。"},
    };
    const int boxes[] = {IDC_ERA_NAME, IDC_ERA_YEAR, IDC_ERA_MONTH, IDC_ERA_DAY};
    InEraDialog([&](CEraDateDlg& era) {
        const QColor plain = era.GetDlgItem(IDC_ERA_YEAR)->palette().color(QPalette::Base);
        ASSERT_NE(plain, tolmeri::EraFaultTint());
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.entry.era) + c.entry.year + "/" + c.entry.month + "/" +
                         c.entry.day);
            Enter(era, c.entry);
            EXPECT_EQ(Label(era, IDC_ERA_RESULT), QString::fromUtf8(c.result));
            EXPECT_EQ(era.FaultBox(), c.box);
            for (int id : boxes) {
                const bool tinted =
                    era.GetDlgItem(id)->palette().color(QPalette::Base) == tolmeri::EraFaultTint();
                EXPECT_EQ(tinted, c.marked && id == c.box) << "box " << id;
            }
            // Enter in another box, and OK by any other way, go to the box.
            const int from = c.box == IDC_ERA_DAY ? IDC_ERA_YEAR : IDC_ERA_DAY;
            era.GetDlgItem(from)->setFocus();
            QTest::keyClick(era.GetDlgItem(from), Qt::Key_Return);
            EXPECT_TRUE(era.isVisible());
            EXPECT_EQ(era.focusWidget(), era.GetDlgItem(c.box));
            if (auto* edit = qobject_cast<QLineEdit*>(era.GetDlgItem(c.box))) {
                EXPECT_EQ(edit->selectedText(), edit->text());
            }
            era.GetDlgItem(from)->setFocus();
            QMetaObject::invokeMethod(&era, "accept");
            EXPECT_TRUE(era.isVisible());
            EXPECT_EQ(era.focusWidget(), era.GetDlgItem(c.box));
        }
        // Put right, nothing is marked.
        Enter(era, {"慶長", "5", false, "9", "15"});
        EXPECT_EQ(era.FaultBox(), 0);
        for (int id : boxes)
            EXPECT_NE(era.GetDlgItem(id)->palette().color(QPalette::Base), tolmeri::EraFaultTint())
                << id;
    });
}

// The Moon of the day typed, at the place of the main dialog's boxes, as it
// is typed: its age at noon, the quarter on its day, moonrise and moonset
// with the temporal hour each falls in. The place is Edo as
// tests/data/moon_ephemeris.csv has it (35°41′ N, 139°46′ E), whose rows give
// the ages and the minutes of the first three days.
TEST_F(EraDateDialog, TheMoonOfTheDayTypedWithItsHours) {
    Type(*dlg, IDC_LATITUDE_DEGREES, QStringLiteral("35"));
    Type(*dlg, IDC_LATITUDE_MINUTES, QStringLiteral("41"));
    Type(*dlg, IDC_LONGITUDE_DEGREES, QStringLiteral("139"));
    Type(*dlg, IDC_LONGITUDE_MINUTES, QStringLiteral("46"));
    Type(*dlg, IDC_TIME_DIFFERENCE, QStringLiteral("9"));
    // The reckoning first; then the age and each event on a line of its own.
    const QString dawn = QStringLiteral("数え方  明六つから翌日の明六つまで（明治6年より前の和暦・"
                                        "旧暦の日付）\n");
    const QString civil = QStringLiteral("数え方  0時から24時まで（西暦、明治6年からの日付）\n");
    const QString chosen = QStringLiteral("数え方  0時から24時まで（指定）\n");
    const struct {
        Entry entry;
        int choice; // of 日の始まり
        QString moon;
    } cases[] = {
        // The night of the 47 rōnin's raid, 元禄15年12月14日 as its sources
        // count it, from 明六つ: the Moon set at 05:18 of the civil 31st,
        // after the raid.
        {{"元禄", "15", false, "12", "14"},
         0,
         dawn + QStringLiteral("月齢 12.6\n月の出 1703-01-30 14:32（昼八つ）\n"
                               "月の入 1703-01-31 05:18（暁七つ半）")},
        // The civil 1703-01-30, chosen or written so: rise 871.9, set 266.1
        // minutes, age 12.64.
        {{"元禄", "15", false, "12", "14"},
         2,
         chosen + QStringLiteral("月齢 12.6\n月の出 14:32（昼八つ）\n月の入 04:26（暁七つ）")},
        {{"1703-01-30", "", false, "", ""},
         0,
         civil + QStringLiteral("月齢 12.6\n月の出 14:32（昼八つ）\n月の入 04:26（暁七つ）")},
        // 1868-01-03: the first quarter, and the Moon does not set.
        {{"慶応", "3", false, "12", "9"},
         2,
         chosen + QStringLiteral("月齢 8.1（上弦）\n月の出 11:35（朝四つ半）\n月の入 なし")},
        // 2026-01-03: the full moon, rise 973.9, set 403.5, age 14.05.
        {{"令和", "8", false, "1", "3"},
         0,
         civil +
             QStringLiteral("月齢 14.1（満月）\n月の出 16:14（夕七つ）\n月の入 06:43（明六つ）")},
        // 1703-01-11: the last quarter, and no moonrise.
        {{"元禄", "15", false, "11", "24"},
         2,
         chosen + QStringLiteral("月齢 23.1（下弦）\n月の出 なし\n月の入 11:46（朝四つ半）")},
        // No day, or none the date boxes take: no Moon.
        {{"慶長", "5x", false, "9", "15"}, 0, QString()},
        {{"慶長", "25", false, "1", "1"}, 0, QString()},
        {{"慶長", "5", false, "9", ""}, 0, QString()},
        {{"令和", "200", false, "1", "1"}, 0, QString()},
        {{"1860/13/1", "", false, "", ""}, 0, QString()},
    };
    InEraDialog([&](CEraDateDlg& era) {
        auto* start = qobject_cast<QComboBox*>(era.GetDlgItem(IDC_ERA_DAY_START));
        ASSERT_EQ(start->count(), 3);
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.entry.era) + c.entry.year + "/" + c.entry.month + "/" +
                         c.entry.day + " " + std::to_string(c.choice));
            start->setCurrentIndex(c.choice);
            Enter(era, c.entry);
            EXPECT_EQ(Label(era, IDC_ERA_MOON), c.moon);
            EXPECT_FALSE(
                Label(era, IDC_ERA_MOON).contains(QStringLiteral("nan"), Qt::CaseInsensitive));
        }
    });
    // A place the boxes do not hold: said so, for a day that is typed.
    Type(*dlg, IDC_LATITUDE_DEGREES, QStringLiteral("99"));
    InEraDialog([](CEraDateDlg& era) {
        Enter(era, {"元禄", "15", false, "12", "14"});
        EXPECT_TRUE(OkEnabled(era));
        EXPECT_EQ(Label(era, IDC_ERA_MOON),
                  QStringLiteral("月齢・月の出入り: 場所の欄が計算できる値になっていません。"));
        Enter(era, {"慶長", "5x", false, "9", "15"});
        EXPECT_EQ(Label(era, IDC_ERA_MOON), QString());
    });
}

TEST_F(EraDateDialog, OkPutsTheDateIntoTheBoxesAndOnlyCalculateComputesIt) {
    Type(*dlg, IDC_LATITUDE_DEGREES, QStringLiteral("34")); // typed, not yet taken
    const std::vector<int> before = [this] {
        std::vector<int> t;
        for (int i = 0; i < 25; ++i)
            t.push_back(dlg->Hours().GetBoundary(i));
        return t;
    }();
    InEraDialog([](CEraDateDlg& era) {
        EraList(era)->setCurrentIndex(
            EraList(era)->findText(QStringLiteral("慶長（"), Qt::MatchStartsWith));
        Type(era, IDC_ERA_YEAR, QStringLiteral("5"));
        Type(era, IDC_ERA_MONTH, QStringLiteral("9"));
        Type(era, IDC_ERA_DAY, QStringLiteral("15"));
        Click(era, afx::IDOK);
        EXPECT_FALSE(era.isVisible());
    });
    EXPECT_EQ(DateBoxes(), (QStringList{"1600", "10", "21"}));
    EXPECT_EQ(BoxText(*dlg, IDC_LATITUDE_DEGREES), QStringLiteral("34")) << "other boxes as typed";
    EXPECT_EQ(dlg->m_nDateYear, 2000) << "the fields wait for 計算実行";
    EXPECT_EQ(dlg->Hours().GetBoundary(6), before[6]);

    // The focus is on 計算実行, not on 日付を今日に設定 where it was: the next
    // Enter computes the date chosen instead of replacing it by today's.
    ASSERT_EQ(dlg->focusWidget(), dlg->GetDlgItem(IDC_CALCULATE));
    QTest::keyClick(dlg->focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(messages.calls.empty());
    EXPECT_EQ(dlg->m_nDateYear, 1600);
    EXPECT_EQ(dlg->m_nDateMonth, 10);
    EXPECT_EQ(dlg->m_nDateDay, 21);
    EXPECT_EQ(dlg->m_nLatitudeDegrees, 34);
    CTemporalHours expected;
    expected.Recompute({"", 34, 27, 139, 39, 9}, {1600, 10, 21});
    for (int i = 0; i < tolmeri::kBoundaryCount; ++i)
        EXPECT_EQ(dlg->Hours().GetBoundary(i), expected.GetBoundary(i)) << i;
}

TEST_F(EraDateDialog, AnImpossibleDateCannotBeTakenAndCancelChangesNothing) {
    SetDateBoxes("2026", "6", "21");
    Type(*dlg, IDC_DATE_DAY, QStringLiteral("2x")); // a box left mid-edit
    const QStringList boxes = DateBoxes();
    InEraDialog([](CEraDateDlg& era) {
        Enter(era, {"文政", "12", false, "3", "30"});
        EXPECT_FALSE(OkEnabled(era));
        QTest::keyClick(era.GetDlgItem(IDC_ERA_DAY), Qt::Key_Return);
        EXPECT_TRUE(era.isVisible()) << "Enter does not take it";
        QMetaObject::invokeMethod(&era, "accept"); // nor does any other way to OK
        EXPECT_TRUE(era.isVisible());
        Enter(era, {"文政", "12", false, "3", "29"});
        EXPECT_TRUE(OkEnabled(era));
        QTest::keyClick(era.GetDlgItem(IDC_ERA_DAY), Qt::Key_Escape);
        EXPECT_FALSE(era.isVisible());
    });
    EXPECT_EQ(DateBoxes(), boxes);
    InEraDialog([](CEraDateDlg& era) {
        Enter(era, {"慶長", "5", false, "9", "15"});
        Click(era, afx::IDCANCEL);
    });
    EXPECT_EQ(DateBoxes(), boxes);
    EXPECT_TRUE(messages.calls.empty());
}

TEST_F(EraDateDialog, TheListHoldsEveryEraInOrderWithTheCourtsMarked) {
    InEraDialog([](CEraDateDlg& era) {
        QComboBox* list = EraList(era);
        ASSERT_EQ(list->count(), 248);
        // Each with the years of its first and last day.
        EXPECT_EQ(list->itemText(0), QStringLiteral("大化（645～650）"));
        EXPECT_EQ(list->itemText(247), QStringLiteral("令和（2019～）"));
        EXPECT_EQ(list->itemText(list->findText(QStringLiteral("元禄（1688～1704）"))),
                  QStringLiteral("元禄（1688～1704）"));
        QStringList courts;
        for (int i = 0; i < list->count(); ++i)
            if (list->itemText(i).contains(QStringLiteral("朝")))
                courts << list->itemText(i);
        EXPECT_EQ(courts.size(), 27) << courts.join(u' ').toStdString();
        for (const char* text : {"元弘（南朝・北朝、1331～1334）", "正慶（北朝、1332～1333）",
                                 "延元（南朝、1336～1340）", "元中（南朝、1384～1392）"})
            EXPECT_TRUE(courts.contains(QString::fromUtf8(text))) << text;
        EXPECT_EQ(list->findText(QStringLiteral("明徳（1390～1394）")) -
                      list->findText(QStringLiteral("康応（北朝、1389～1390）")),
                  1)
            << "明徳, the reunited era, unmarked";
        // Picked from the list, the era reads as its name.
        list->setCurrentIndex(list->findText(QStringLiteral("元禄（1688～1704）")));
        Type(era, IDC_ERA_YEAR, QStringLiteral("15"));
        Type(era, IDC_ERA_MONTH, QStringLiteral("12"));
        Type(era, IDC_ERA_DAY, QStringLiteral("14"));
        EXPECT_TRUE(OkEnabled(era));
        // A long list to scroll, as wide as its longest text.
        EXPECT_GE(list->maxVisibleItems(), 20);
        EXPECT_GE(list->view()->minimumWidth(), list->view()->sizeHintForColumn(0));
        Click(era, afx::IDCANCEL);
    });
}

TEST_F(EraDateDialog, F1AsksForItsOwnHelpContext) {
    HelpRecorder help;
    InEraDialog([](CEraDateDlg& era) {
        QTest::keyClick(era.GetDlgItem(IDC_ERA_MONTH), Qt::Key_F1);
        QTest::keyClick(EraList(era)->lineEdit(), Qt::Key_F1);
        Click(era, afx::IDCANCEL);
    });
    ASSERT_EQ(help.calls.size(), 2u);
    for (const HelpCall& call : help.calls) {
        EXPECT_EQ(call.data, 0x20000u + 130u);
        EXPECT_EQ(call.command, afx::HELP_CONTEXT);
    }
}

} // namespace
