// The year-chart window as a user meets it: opened from the window menu for
// the place and the year in the main dialog's boxes, beside the main dialog
// (which stays usable), redrawn at once for another definition of dawn or
// clock steps, and saved as PNG or SVG through the standard file dialog,
// whole or not at all.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPushButton>
#include <unistd.h>

#include "core/period_rules.h"
#include "framework/file_dialog.h"
#include "res/resource.h"
#include "tests/main_dialog_fixture.h"
#include "ui/year_chart_dlg.h"

namespace {

using tolmeri::CivilDate;

const QString kPng = QStringLiteral("PNG 画像 (*.png)");
const QString kSvg = QStringLiteral("SVG 画像 (*.svg)");

// Answers the file dialog instead of a user, and keeps what it was asked.
class FileDialogAnswer {
public:
    FileDialogAnswer() {
        m_previous = afx::SetSaveFileDialog([this](const afx::SaveFileRequest& r) {
            requests.push_back(r);
            return answer;
        });
    }
    ~FileDialogAnswer() { afx::SetSaveFileDialog(std::move(m_previous)); }
    afx::SaveFileAnswer answer;
    std::vector<afx::SaveFileRequest> requests;

private:
    afx::SaveFileDialog m_previous;
};

class YearChartWindow : public OpenMainDialogTest {
protected:
    void SetUp() override {
        OpenMainDialogTest::SetUp();
        Type(*dlg, IDC_LOCATION_NAME, QStringLiteral("東京"));
        Boxes({{IDC_LATITUDE_DEGREES, "35"},
               {IDC_LATITUDE_MINUTES, "39"},
               {IDC_LONGITUDE_DEGREES, "139"},
               {IDC_LONGITUDE_MINUTES, "45"},
               {IDC_TIME_DIFFERENCE, "9"},
               {IDC_DATE_YEAR, "2026"},
               {IDC_DATE_MONTH, "6"},
               {IDC_DATE_DAY, "21"}});
    }
    void Boxes(std::initializer_list<std::pair<int, const char*>> boxes) {
        for (const auto& [id, text] : boxes)
            Type(*dlg, id, QString::fromUtf8(text));
    }
    CYearChartDlg* Chart() {
        return dlg->findChild<CYearChartDlg*>(QString(), Qt::FindDirectChildrenOnly);
    }
    // Opens the window from the menu and waits for its first paint.
    CYearChartDlg* Open() {
        dlg->OnSystemCommand(IDM_YEAR_CHART, 0);
        CYearChartDlg* chart = Chart();
        if (chart && chart->isVisible()) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(chart));
            chart->View()->repaint();
        }
        return chart;
    }
    QComboBox* Choice(CYearChartDlg* chart, int id) {
        return qobject_cast<QComboBox*>(chart->GetDlgItem(id));
    }
    QImage Picture(CYearChartDlg* chart) {
        return chart->View()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    QString Folder() {
        const QString folder = app.dir.filePath(QStringLiteral("pictures"));
        QDir().mkpath(folder);
        return folder;
    }
    QStringList Files() {
        return QDir(Folder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                        QDir::Name);
    }
};

TEST_F(YearChartWindow, OpensBesideTheMainDialogForThePlaceAndYearInTheBoxes) {
    CYearChartDlg* chart = Open();
    ASSERT_NE(chart, nullptr);
    EXPECT_TRUE(chart->isVisible());
    EXPECT_FALSE(chart->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(chart->windowTitle(), QStringLiteral("一年の刻の図"));

    const tolmeri::YearChartInput& in = chart->View()->Input();
    EXPECT_EQ(in.title, QStringLiteral("東京　2026年（令和8年）"));
    EXPECT_EQ(in.subtitle, QStringLiteral("明六つ・暮六つ：太陽暦（太陽俯角7度21分40秒）"));
    ASSERT_EQ(in.days.size(), 365u);
    EXPECT_EQ(in.days.front().date, (CivilDate{2026, 1, 1}));
    ASSERT_EQ(in.markedDay, 171);
    EXPECT_EQ(in.days[171].date, (CivilDate{2026, 6, 21}));

    // The marked day's dashed line: in its column, black on many rows of the
    // plot; a few columns on, black only where a curve crosses.
    const tolmeri::YearChartLayout& L = chart->View()->Layout();
    ASSERT_GE(L.markedX, L.dayX[171]);
    ASSERT_LT(L.markedX, L.dayX[172]);
    const QImage image = Picture(chart);
    auto blackRows = [&](int x) {
        int n = 0;
        for (int y = L.top; y < L.bottom; ++y)
            n += image.pixel(x, y) == qRgb(0, 0, 0);
        return n;
    };
    EXPECT_GT(blackRows(L.markedX), (L.bottom - L.top) / 3);
    EXPECT_LT(blackRows(L.markedX + 6), (L.bottom - L.top) / 6);

    // Nothing of the main dialog was taken or changed, and it takes input.
    EXPECT_EQ(dlg->m_nDateYear, 2000);
    EXPECT_EQ(dlg->m_strLocationName, QStringLiteral("横浜"));
    SystemClick(dlg->GetDlgItem(IDC_SET_TODAY));
    EXPECT_EQ(BoxText(*dlg, IDC_DATE_MONTH), QStringLiteral("3"));
    EXPECT_TRUE(messages.calls.empty());

    // Once more from the menu: the same window, with the boxes as they are now.
    EXPECT_EQ(Open(), chart);
    EXPECT_EQ(chart->View()->Input().markedDay, 78); // 2026-03-20
    // It goes when the main dialog ends.
    dlg->SysCommand(afx::SC_CLOSE);
    EXPECT_FALSE(chart->isVisible());
}

TEST_F(YearChartWindow, ARefusedBoxGetsItsMessageAndNothingOpens) {
    const struct {
        int id;
        const char* text;
        const char* message;
    } cases[] = {
        {IDC_DATE_YEAR, "abc", "整数を入力してください。"},
        {IDC_DATE_YEAR, "2201", "「年」に指定できる値は0～2200です。"},
        {IDC_LATITUDE_DEGREES, "55", "「緯度」に指定できる値は -54～54 です。"},
        {IDC_TIME_DIFFERENCE, "5", "時差の指定が変です。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        SetUp();
        Type(*dlg, c.id, QString::fromUtf8(c.text));
        messages.Clear();
        EXPECT_EQ(Open(), nullptr);
        EXPECT_EQ(messages.Texts(), QStringList{QString::fromUtf8(c.message)});
        EXPECT_EQ(QApplication::focusWidget(), dlg->GetDlgItem(c.id));
        EXPECT_EQ(Chart(), nullptr);
    }
}

TEST_F(YearChartWindow, AnotherDefinitionOrStepsRedrawAtOnce) {
    CYearChartDlg* chart = Open();
    ASSERT_NE(chart, nullptr);
    QComboBox* dawn = Choice(chart, IDC_YEAR_CHART_DAWN);
    QComboBox* steps = Choice(chart, IDC_YEAR_CHART_STEPS);
    // By the calendar first, and open on it.
    using tolmeri::DawnDefinition;
    const DawnDefinition order[] = {DawnDefinition::kAuto, DawnDefinition::kDepression,
                                    DawnDefinition::kMinutes36, DawnDefinition::kSunrise};
    ASSERT_EQ(dawn->count(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(dawn->itemText(i).toStdString(), tolmeri::DawnDefinitionLabel(order[i]));
    EXPECT_EQ(dawn->currentIndex(), 0);
    EXPECT_EQ(chart->View()->Input().subtitle,
              QStringLiteral("明六つ・暮六つ：太陽暦（太陽俯角7度21分40秒）"));
    EXPECT_EQ(steps->itemText(0), QStringLiteral("毎日"));
    EXPECT_EQ(steps->itemText(1), QStringLiteral("二十四節気ごと"));

    const QImage depression = Picture(chart);
    const int dawnAt = chart->View()->Input().days[171].boundary[6];
    dawn->setFocus();
    QTest::keyClick(dawn, Qt::Key_Down); // the depression: in 2026 what the calendar gives
    QTest::keyClick(dawn, Qt::Key_Down); // 36 minutes before the geometric sunrise
    EXPECT_EQ(chart->m_nDawn, 2);
    const tolmeri::YearChartInput& in = chart->View()->Input();
    EXPECT_EQ(in.subtitle,
              QStringLiteral("明六つ・暮六つ：太陽暦（宝暦暦までの日出前・日入後2刻半＝36分）"));
    EXPECT_NE(in.days[171].boundary[6], dawnAt);
    EXPECT_EQ(in.markedDay, 171);
    chart->View()->repaint();
    EXPECT_NE(Picture(chart), depression);

    // Clocks set at the terms: 夏至 begins on 2026-06-21, so that day and
    // the next strike alike, and the day before (芒種) otherwise.
    steps->setFocus();
    QTest::keyClick(steps, Qt::Key_Down);
    EXPECT_EQ(chart->m_nSteps, 1);
    EXPECT_TRUE(in.subtitle.endsWith(QStringLiteral("　時計：二十四節気ごと")));
    EXPECT_EQ(in.days[172].boundary, in.days[171].boundary);
    EXPECT_NE(in.days[170].boundary, in.days[171].boundary);

    // Reopened for other boxes, the window keeps the choices.
    Type(*dlg, IDC_DATE_YEAR, QStringLiteral("1750"));
    EXPECT_EQ(Open(), chart);
    EXPECT_EQ(chart->View()->Input().days.front().date, (CivilDate{1750, 1, 1}));
    EXPECT_EQ(dawn->currentIndex(), 2);
    EXPECT_EQ(steps->currentIndex(), 1);
}

TEST_F(YearChartWindow, SavesAsPngOrSvgByTheExtensionOrTheFilter) {
    CYearChartDlg* chart = Open();
    ASSERT_NE(chart, nullptr);
    FileDialogAnswer dialog;
    const QString folder = Folder();
    {
        QFile old(folder + QStringLiteral("/chart.png"));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("an old picture");
    }
    const struct {
        const char* name; // as answered
        QString filter;
        const char* file; // what is written
        bool svg;
    } cases[] = {
        {"chart", kPng, "chart.png", false}, // replaces the old file
        {"chart.svg", kPng, "chart.svg", true},
        {"other", kSvg, "other.svg", true},
        {"upper.PNG", kSvg, "upper.PNG", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dialog.answer = {folder + u'/' + QString::fromUtf8(c.name), c.filter};
        Click(*chart, IDC_YEAR_CHART_SAVE);
        QFile f(folder + u'/' + QString::fromUtf8(c.file));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        if (c.svg) {
            EXPECT_TRUE(bytes.startsWith("<?xml"));
            EXPECT_TRUE(bytes.contains("<svg"));
            EXPECT_TRUE(bytes.contains("<title>東京　2026年（令和8年）</title>"));
        } else {
            const QImage png = QImage::fromData(bytes, "PNG");
            ASSERT_FALSE(png.isNull());
            EXPECT_EQ(png.size(), chart->View()->size());
            EXPECT_EQ(png.convertToFormat(QImage::Format_RGB32), Picture(chart))
                << "the picture is the chart as shown";
        }
    }
    // The one file replaced was asked about.
    ASSERT_EQ(messages.calls.size(), 1u);
    EXPECT_EQ(messages.calls[0].icon, afx::MbIcon::kQuestion);
    EXPECT_TRUE(messages.calls[0].text.contains(folder + QStringLiteral("/chart.png")));
    messages.Clear();
    EXPECT_EQ(Files(), (QStringList{"chart.png", "chart.svg", "other.svg", "upper.PNG"}))
        << "no temporary file left";

    // What the dialog was asked: the kinds, a name from the place and year,
    // and then the last folder and kind.
    ASSERT_EQ(dialog.requests.size(), 4u);
    EXPECT_EQ(dialog.requests[0].owner, chart);
    EXPECT_EQ(dialog.requests[0].caption, QStringLiteral("画像として保存"));
    EXPECT_EQ(dialog.requests[0].filters, (QStringList{kPng, kSvg}));
    EXPECT_EQ(dialog.requests[0].selectedFilter, kPng);
    EXPECT_TRUE(dialog.requests[0].path.endsWith(QStringLiteral("/東京_2026.png")));
    EXPECT_EQ(dialog.requests[3].path, folder + QStringLiteral("/東京_2026.svg"));
    EXPECT_EQ(dialog.requests[3].selectedFilter, kSvg);

    // Cancelled: nothing.
    dialog.answer = {};
    Click(*chart, IDC_YEAR_CHART_SAVE);
    EXPECT_EQ(Files().size(), 4);
    EXPECT_TRUE(messages.calls.empty());
}

// Replacing a file is asked about by the file it is: through a link, the
// question names the file the link leads to, and a link to nothing is asked
// about too. Another user's link in a shared folder is refused outright.
TEST_F(YearChartWindow, AReplacedFileIsAskedAboutByWhereALinkLeads) {
    CYearChartDlg* chart = Open();
    ASSERT_NE(chart, nullptr);
    FileDialogAnswer dialog;
    const QString folder = Folder();
    const QString real = folder + QStringLiteral("/real.png");
    const QString link = folder + QStringLiteral("/link.png");
    const QString shared = folder + QStringLiteral("/tmp");
    const bool root = geteuid() == 0;
    ASSERT_TRUE(MakeSharedFolder(QFile::encodeName(shared).toStdString()));
    const struct {
        const char* why;
        QString chosen;    // answered in the file dialog
        uid_t linkOwner;   // of a link at chosen to real
        bool realExists;   // before the save
        const char* asked; // in the question, nullptr for none
        bool answer;
        const char* refusal; // the message instead of a question
        bool written;        // real holds the picture afterwards
    } cases[] = {
        {"a file, kept", real, 0, true, "もうあります", false, nullptr, false},
        {"a file, replaced", real, 0, true, "もうあります", true, nullptr, true},
        {"a link, kept", link, geteuid(), true, "へのリンクです", false, nullptr, false},
        {"a link, replaced", link, geteuid(), true, "へのリンクです", true, nullptr, true},
        {"a link to nothing, not made", link, geteuid(), false, "行き先のないリンク", false,
         nullptr, false},
        {"a link to nothing, made", link, geteuid(), false, "行き先のないリンク", true, nullptr,
         true},
        {"another user's link in /tmp", shared + QStringLiteral("/chart.png"), kOtherUser, true,
         nullptr, true, "他のユーザーのリンク", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        if (c.linkOwner == kOtherUser && !root)
            continue; // giving a link to another user takes root
        QFile::remove(real);
        QFile::remove(c.chosen);
        if (c.realExists) {
            QFile old(real);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("an old picture");
        }
        if (c.chosen != real) {
            ASSERT_TRUE(PlantLink(QFile::encodeName(real).toStdString(),
                                  QFile::encodeName(c.chosen).toStdString(), c.linkOwner));
        }
        messages.Clear();
        messages.answer = c.answer;
        dialog.answer = {c.chosen, kPng};
        Click(*chart, IDC_YEAR_CHART_SAVE);

        ASSERT_EQ(messages.calls.size(), 1u);
        const afx::MessageBoxCall& box = messages.calls[0];
        if (c.asked) {
            EXPECT_EQ(box.icon, afx::MbIcon::kQuestion);
            EXPECT_TRUE(box.text.contains(QString::fromUtf8(c.asked))) << box.text.toStdString();
            EXPECT_TRUE(box.text.contains(real)) << "names the file replaced";
        } else {
            EXPECT_EQ(box.icon, afx::MbIcon::kExclamation);
            EXPECT_TRUE(box.text.contains(QString::fromUtf8(c.refusal))) << box.text.toStdString();
        }
        QFile f(real);
        EXPECT_EQ(f.exists(), c.realExists || c.written);
        if (f.open(QIODevice::ReadOnly)) {
            const QByteArray bytes = f.readAll();
            EXPECT_EQ(bytes == "an old picture", !c.written);
            EXPECT_EQ(!QImage::fromData(bytes, "PNG").isNull(), c.written);
        }
        EXPECT_TRUE(c.chosen == real || QFileInfo(c.chosen).isSymLink());
    }
    messages.answer = true;
}

TEST_F(YearChartWindow, AFailedSaveIsReportedAndLeavesNothing) {
    CYearChartDlg* chart = Open();
    ASSERT_NE(chart, nullptr);
    FileDialogAnswer dialog;
    const QString folder = Folder();
    ASSERT_TRUE(QDir(folder).mkdir(QStringLiteral("folder.png")));
    const QString locked = folder + QStringLiteral("/locked");
    ASSERT_TRUE(QDir().mkpath(locked));
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const struct {
        QString path;
        const char* message;
        bool skip;
    } cases[] = {
        {folder + QStringLiteral("/folder.png"),
         "はふつうのファイルではないので、図を保存しません。", false},
        {folder + QStringLiteral("/missing/chart.png"), "図を保存できませんでした。", false},
        {folder + QStringLiteral("/chart.jpg"), "図は PNG か SVG で保存します。", false},
        // root writes into a read-only folder.
        {locked + QStringLiteral("/chart.svg"), "図を保存できませんでした。", geteuid() == 0},
    };
    for (const auto& c : cases) {
        if (c.skip)
            continue;
        SCOPED_TRACE(c.path.toStdString());
        messages.Clear();
        dialog.answer = {c.path, kPng};
        Click(*chart, IDC_YEAR_CHART_SAVE);
        ASSERT_EQ(messages.calls.size(), 1u);
        EXPECT_TRUE(messages.calls[0].text.contains(QString::fromUtf8(c.message)))
            << messages.calls[0].text.toStdString();
        EXPECT_TRUE(messages.calls[0].text.contains(c.path));
        EXPECT_EQ(messages.calls[0].icon, afx::MbIcon::kExclamation);
        EXPECT_EQ(messages.calls[0].owner, chart);
    }
    QFile::setPermissions(locked,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(Files(), (QStringList{"folder.png", "locked"}));
    EXPECT_TRUE(QDir(folder + QStringLiteral("/folder.png")).isEmpty());
    EXPECT_TRUE(QDir(locked).isEmpty());
    EXPECT_TRUE(chart->isVisible());
}

TEST_F(YearChartWindow, TheChartTakesTheRoomAndF1AsksForItsOwnHelp) {
    CYearChartDlg* chart = Open();
    ASSERT_NE(chart, nullptr);
    const QSize view = chart->View()->size();
    chart->resize(chart->size() + QSize(300, 200));
    EXPECT_EQ(chart->View()->size(), view + QSize(300, 200));

    HelpRecorder help;
    QTest::keyClick(Choice(chart, IDC_YEAR_CHART_DAWN), Qt::Key_F1);
    QTest::keyClick(chart->GetDlgItem(IDC_YEAR_CHART_SAVE), Qt::Key_F1);
    ASSERT_EQ(help.calls.size(), 2u);
    for (const HelpCall& call : help.calls)
        EXPECT_EQ(call.data, 0x20000u + 131u);
}

} // namespace
