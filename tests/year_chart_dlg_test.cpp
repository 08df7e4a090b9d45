// The year-chart window as a user meets it: opened from the window menu for
// the place and the year in the main dialog's boxes, beside the main dialog
// (which stays usable), redrawn at once for another definition of dawn or
// clock steps, and saved as PNG or SVG through the standard file dialog,
// whole or not at all.
#include <QAbstractProxyModel>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>
#include <memory>
#include <unistd.h>

#include "core/period_rules.h"
#include "framework/file_dialog.h"
#include "res/resource.h"
#include "tests/hostile_names.h"
#include "tests/main_dialog_fixture.h"
#include "tests/run_process.h"
#include "ui/chart_painter.h"
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

// Beside the main dialog where a side has room for the whole window, else
// over its controls but beside its chart, else against the screen's edge on
// the roomier side; inside the screen always.
TEST(YearChartPlacement, BesideTheOwnerWhereThereIsRoomAndAlwaysOnTheScreen) {
    const QSize frame(720, 560);
    const QRect wide(0, 0, 1920, 1080), tall(0, 0, 1080, 1920), small(0, 0, 1600, 900);
    // The owner's chart: right of its controls, 350 pixels in.
    const auto chartOf = [](const QRect& owner) { return owner.adjusted(350, 0, 0, 0); };
    const struct {
        const char* why;
        QRect owner, room;
        QPoint at;
        bool overlaps;
        bool keep = true;
    } cases[] = {
        {"right", {100, 100, 980, 540}, wide, {1088, 100}, false},
        {"left", {900, 100, 980, 540}, wide, {172, 100}, false},
        {"below", {50, 100, 980, 540}, tall, {50, 648}, false},
        {"above", {50, 1300, 980, 540}, tall, {50, 732}, false},
        {"right, held on the screen", {100, 700, 980, 300}, wide, {1088, 520}, false},
        {"no side has room: over the controls, left of the chart",
         {470, 100, 980, 540},
         wide,
         {92, 100},
         true},
        {"no side and no chart to keep: at the roomier edge",
         {470, 100, 980, 540},
         wide,
         {1200, 100},
         true,
         false},
        {"a screen offset",
         {1920 + 100, 0, 980, 540},
         QRect(1920, 0, 1920, 1080),
         {1920 + 1088, 0},
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        const QRect keep = c.keep ? chartOf(c.owner) : QRect();
        const QPoint at = tolmeri::YearChartPosition(c.owner, keep, frame, c.room);
        EXPECT_EQ(at, c.at);
        EXPECT_TRUE(c.room.contains(QRect(at, frame)));
        EXPECT_EQ(QRect(at, frame).intersects(c.owner), c.overlaps);
        if (c.keep) {
            EXPECT_FALSE(QRect(at, frame).intersects(keep)) << "the owner's chart stays in view";
        }
    }
    // The main dialog centred on a 1600-pixel screen and the window as its
    // template makes it: over the controls, the chart left in view.
    const QRect owner(310, 180, 979, 502);
    const QSize window(565, 520);
    const QPoint at = tolmeri::YearChartPosition(owner, chartOf(owner), window, small);
    EXPECT_EQ(at, QPoint(87, 180));
    EXPECT_FALSE(QRect(at, window).intersects(chartOf(owner)));
}

// The readout under the mouse goes to the line beside the choices, and
// away when the mouse leaves the plot.
TEST_F(YearChartWindow, TheDateAndHourUnderTheMouseAreReadOut) {
    CYearChartDlg* chart = Open();
    ASSERT_NE(chart, nullptr);
    chart->resize(1100, 760);
    chart->View()->repaint();
    auto* readout = qobject_cast<QLabel*>(chart->GetDlgItem(IDC_YEAR_CHART_READOUT));
    ASSERT_NE(readout, nullptr);
    EXPECT_EQ(readout->text(), QString());
    const tolmeri::YearChartLayout& L = chart->View()->Layout();
    // The move a mouse over the window makes (the headless platform moves
    // no pointer).
    const auto moveTo = [&](QPoint at) {
        QMouseEvent move(QEvent::MouseMove, QPointF(at), chart->View()->mapToGlobal(QPointF(at)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(chart->View(), &move);
    };
    const int midsummer = (L.dayX[171] + L.dayX[172]) / 2;
    moveTo(QPoint(midsummer, tolmeri::YearChartY(L, 14 * 60 + 30)));
    EXPECT_TRUE(readout->text().startsWith(QStringLiteral("2026-06-21（令和8年6月21日）　14:")))
        << readout->text().toStdString();
    EXPECT_TRUE(readout->text().endsWith(QStringLiteral("　昼八つ (未)")))
        << readout->text().toStdString();
    moveTo(QPoint(2, 2));
    EXPECT_EQ(readout->text(), QString());
}

TEST_F(YearChartWindow, OpensBesideTheMainDialogForThePlaceAndYearInTheBoxes) {
    CYearChartDlg* chart = Open();
    ASSERT_NE(chart, nullptr);
    EXPECT_TRUE(chart->isVisible());
    EXPECT_FALSE(chart->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(chart->windowTitle(), QStringLiteral("一年の刻の図"));

    const tolmeri::YearChartInput& in = chart->View()->Input();
    EXPECT_EQ(in.title, "東京　2026年（令和8年）");
    EXPECT_EQ(in.subtitle, "明六つ・暮六つ：太陽俯角7度21分40秒（太陽暦の定め）");
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
    // The main window's definition first, and open on it, as --dawn lists
    // them.
    using tolmeri::DawnDefinition;
    const DawnDefinition order[] = {DawnDefinition::kDepression, DawnDefinition::kMinutes36,
                                    DawnDefinition::kSunrise, DawnDefinition::kAuto};
    ASSERT_EQ(dawn->count(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(dawn->itemText(i).toStdString(), tolmeri::DawnDefinitionLabel(order[i]));
    EXPECT_EQ(dawn->currentIndex(), 0);
    EXPECT_EQ(chart->View()->Input().subtitle,
              "明六つ・暮六つ：太陽俯角7度21分40秒（太陽暦の定め）");
    EXPECT_EQ(steps->itemText(0), QStringLiteral("毎日"));
    EXPECT_EQ(steps->itemText(1), QStringLiteral("二十四節気ごと"));

    const QImage depression = Picture(chart);
    const int dawnAt = chart->View()->Input().days[171].boundary[6];
    dawn->setFocus();
    QTest::keyClick(dawn, Qt::Key_Down); // 36 minutes before the geometric sunrise
    EXPECT_EQ(chart->m_nDawn, 1);
    const tolmeri::YearChartInput& in = chart->View()->Input();
    EXPECT_EQ(in.subtitle, "明六つ・暮六つ：日出前・日入後2刻半＝36分（宝暦暦までの"
                           "定め。太陽暦の定めは太陽俯角7度21分40秒）");
    EXPECT_NE(in.days[171].boundary[6], dawnAt);
    EXPECT_EQ(in.markedDay, 171);
    chart->View()->repaint();
    EXPECT_NE(Picture(chart), depression);

    // Clocks set at the terms: 夏至 begins on 2026-06-21, so that day and
    // the next strike alike, and the day before (芒種) otherwise.
    steps->setFocus();
    QTest::keyClick(steps, Qt::Key_Down);
    EXPECT_EQ(chart->m_nSteps, 1);
    EXPECT_TRUE(in.subtitle.ends_with("　時計：二十四節気ごと"));
    EXPECT_EQ(in.days[172].boundary, in.days[171].boundary);
    EXPECT_NE(in.days[170].boundary, in.days[171].boundary);

    // Reopened for other boxes, the window keeps the choices.
    Type(*dlg, IDC_DATE_YEAR, QStringLiteral("1750"));
    EXPECT_EQ(Open(), chart);
    EXPECT_EQ(chart->View()->Input().days.front().date, (CivilDate{1750, 1, 1}));
    EXPECT_EQ(dawn->currentIndex(), 1);
    EXPECT_EQ(steps->currentIndex(), 1);
}

// The Sun's choice and the Moon's check box redraw at once, and a save
// writes what is shown: the moon keys in the SVG, the precise Sun's dawns.
TEST_F(YearChartWindow, TheSunsChoiceAndTheMoonRedrawAndAreSaved) {
    CYearChartDlg* chart = Open();
    ASSERT_NE(chart, nullptr);
    QComboBox* sun = Choice(chart, IDC_YEAR_CHART_SUN);
    auto* moon = qobject_cast<QCheckBox*>(chart->GetDlgItem(IDC_YEAR_CHART_MOON));
    ASSERT_NE(sun, nullptr);
    ASSERT_NE(moon, nullptr);
    ASSERT_EQ(sun->count(), 2);
    EXPECT_EQ(sun->itemText(0), QStringLiteral("画面と同じ（正午の太陽）"));
    EXPECT_EQ(sun->itemText(1), QStringLiteral("精密（各時刻の太陽）"));
    EXPECT_EQ(sun->currentIndex(), 0);
    EXPECT_EQ(moon->text(), QStringLiteral("月の出・月の入"));
    EXPECT_FALSE(moon->isChecked());
    EXPECT_TRUE(chart->View()->Input().moonrise.empty());
    // Every control in the window, none over another or the chart.
    const QRect view = chart->View()->geometry();
    for (const int id :
         {IDC_YEAR_CHART_DAWN, IDC_YEAR_CHART_SAVE, afx::IDCANCEL, IDC_YEAR_CHART_STEPS,
          IDC_YEAR_CHART_SUN, IDC_YEAR_CHART_MOON, IDC_YEAR_CHART_READOUT}) {
        const QRect r = chart->GetDlgItem(id)->geometry();
        EXPECT_TRUE(chart->rect().contains(r)) << id;
        EXPECT_FALSE(r.intersects(view)) << id;
        for (const int other : {IDC_YEAR_CHART_SUN, IDC_YEAR_CHART_MOON}) {
            if (other != id) {
                EXPECT_FALSE(r.intersects(chart->GetDlgItem(other)->geometry()))
                    << id << " " << other;
            }
        }
    }
    // The check box shows its whole text.
    EXPECT_GE(moon->width(), moon->sizeHint().width());

    const std::vector<tolmeri::DayHours> windowDays = chart->View()->Input().days;
    const QImage shown = Picture(chart);
    sun->setFocus();
    QTest::keyClick(sun, Qt::Key_Down);
    EXPECT_EQ(chart->m_nSun, 1);
    const tolmeri::YearChartInput& in = chart->View()->Input();
    EXPECT_TRUE(in.subtitle.ends_with("　太陽：精密（各時刻の太陽）")) << in.subtitle;
    int dawnsMoved = 0;
    for (std::size_t d = 0; d < in.days.size(); ++d)
        dawnsMoved += in.days[d].boundary[6] != windowDays[d].boundary[6];
    EXPECT_GT(dawnsMoved, 0);
    EXPECT_EQ(in.markedDay, 171);
    chart->View()->repaint();
    const QImage precise = Picture(chart);
    EXPECT_NE(precise, shown);

    QTest::mouseClick(moon, Qt::LeftButton);
    EXPECT_EQ(chart->m_nMoon, 1);
    ASSERT_EQ(in.moonrise.size(), 365u);
    chart->View()->repaint();
    const QImage withMoon = Picture(chart);
    EXPECT_NE(withMoon, precise);
    int moonPixels = 0;
    for (int y = 0; y < withMoon.height(); ++y)
        for (int x = 0; x < withMoon.width(); ++x)
            moonPixels +=
                withMoon.pixelColor(x, y) == tolmeri::ChartColor(tolmeri::kYearChartMoonriseColor);
    EXPECT_GT(moonPixels, 365);

    FileDialogAnswer dialog;
    const QString svgPath = Folder() + QStringLiteral("/moon.svg");
    dialog.answer = {svgPath, kSvg};
    Click(*chart, IDC_YEAR_CHART_SAVE);
    QFile svg(svgPath);
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QByteArray bytes = svg.readAll();
    EXPECT_TRUE(bytes.contains(">月の出</text>"));
    EXPECT_TRUE(bytes.contains(">月の入</text>"));
    EXPECT_TRUE(bytes.contains("太陽：精密（各時刻の太陽）"));
    const QString pngPath = Folder() + QStringLiteral("/moon.png");
    dialog.answer = {pngPath, kPng};
    Click(*chart, IDC_YEAR_CHART_SAVE);
    EXPECT_EQ(
        QImage(pngPath).convertToFormat(QImage::Format_RGB32),
        QImage::fromData(
            tolmeri::YearChartPicture(chart->View()->Input(), chart->PictureSize(), false), "PNG")
            .convertToFormat(QImage::Format_RGB32));

    // Off again: the chart as before the check.
    QTest::mouseClick(moon, Qt::LeftButton);
    EXPECT_TRUE(chart->View()->Input().moonrise.empty());
    chart->View()->repaint();
    EXPECT_EQ(Picture(chart), precise);
    EXPECT_TRUE(messages.calls.empty());
}

// The save dialog lists a file's date as the program writes dates, whatever
// language the system's locale has: its list goes through this model.
TEST_F(YearChartWindow, TheSaveDialogListsDatesAsTheProgramWritesThem) {
    const QString path = Folder() + QStringLiteral("/old.png");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("x");
        file.flush(); // else the close would date it now
        ASSERT_TRUE(file.setFileTime(QDateTime(QDate(2026, 6, 21), QTime(15, 0)),
                                     QFileDevice::FileModificationTime));
    }
    QFileSystemModel files;
    QSignalSpy loaded(&files, &QFileSystemModel::directoryLoaded);
    const QModelIndex folder = files.setRootPath(Folder());
    ASSERT_TRUE(loaded.wait(10000));
    std::unique_ptr<QAbstractProxyModel> proxy(afx::NewFileDateProxy(nullptr));
    proxy->setSourceModel(&files);
    const QModelIndex name = files.index(path);
    ASSERT_TRUE(name.isValid());
    const QModelIndex date = proxy->mapFromSource(name.siblingAtColumn(3));
    EXPECT_EQ(date.data().toString(), QStringLiteral("2026/06/21 15:00"));
    EXPECT_EQ(proxy->mapFromSource(name).data().toString(), QStringLiteral("old.png"));
    EXPECT_EQ(afx::FileDateText(QDateTime()), QString());
    EXPECT_TRUE(folder.isValid());
    QFile::remove(path);
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
            // At the size the list opens on, the command line's: the text is
            // the size it has in tolmeri-hours' pictures, whatever the window.
            const QImage png = QImage::fromData(bytes, "PNG");
            ASSERT_FALSE(png.isNull());
            EXPECT_EQ(png.size(), QSize(1200, 800));
            EXPECT_EQ(bytes, tolmeri::YearChartPicture(chart->View()->Input(), {1200, 800}, false))
                << "the picture is the chart as shown, drawn at that size";
        }
    }
    // Another size, and the window's own.
    QComboBox* size = Choice(chart, IDC_YEAR_CHART_SIZE);
    ASSERT_EQ(size->count(), 4);
    EXPECT_EQ(size->itemText(0), QStringLiteral("1200×800"));
    EXPECT_EQ(size->itemText(3), QStringLiteral("画面と同じ"));
    size->setCurrentIndex(2);
    EXPECT_EQ(chart->PictureSize(), QSize(2400, 1600));
    size->setCurrentIndex(3);
    EXPECT_EQ(chart->PictureSize(), chart->View()->size());
    dialog.answer = {folder + QStringLiteral("/shown.png"), kPng};
    Click(*chart, IDC_YEAR_CHART_SAVE);
    QFile shown(folder + QStringLiteral("/shown.png"));
    ASSERT_TRUE(shown.open(QIODevice::ReadOnly));
    EXPECT_EQ(QImage::fromData(shown.readAll(), "PNG").convertToFormat(QImage::Format_RGB32),
              Picture(chart));
    shown.remove();
    dialog.requests.pop_back();
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

// A name typed in the box reaches the saved SVG as text: the file parses
// as XML, its title is the name, and no element comes from the name.
TEST_F(YearChartWindow, EveryNameSavesAWellFormedSvg) {
    FileDialogAnswer dialog;
    const QString file = Folder() + QStringLiteral("/chart.svg");
    int saved = 0;
    for (const std::string& bytes : HostileNames()) {
        SCOPED_TRACE(bytes);
        messages.Clear();
        Type(*dlg, IDC_LOCATION_NAME, QString::fromStdString(bytes));
        // What the box took of it (it holds 12 characters).
        QString name = qobject_cast<QLineEdit*>(dlg->GetDlgItem(IDC_LOCATION_NAME))->text();
        name.remove(QChar(0xFFFE)).remove(QChar(0xFFFF));
        CYearChartDlg* chart = Open();
        if (!chart || !messages.calls.empty())
            continue; // longer than the box takes, or not in Shift-JIS
        QFile::remove(file);
        dialog.answer = {file, kSvg};
        Click(*chart, IDC_YEAR_CHART_SAVE);
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&f);
        QString title;
        QStringList elements;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (!elements.contains(xml.name().toString()))
                elements << xml.name().toString();
            if (xml.name() == QLatin1String("title") && title.isEmpty())
                title = xml.readElementText();
        }
        EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
        EXPECT_EQ(title, (name.isEmpty() ? QString() : name + QStringLiteral("　")) +
                             QStringLiteral("2026年（令和8年）"));
        EXPECT_FALSE(elements.contains(QStringLiteral("script")));
        chart->hide();
        ++saved;
    }
    EXPECT_GE(saved, 10) << "names the box takes";
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
        std::string message;
        bool skip;
    } cases[] = {
        {folder + QStringLiteral("/folder.png"),
         "はふつうのファイルではないので、図を保存しません。", false},
        {folder + QStringLiteral("/missing/chart.png"),
         "図を保存できませんでした。\n" +
             (folder + QStringLiteral("/missing/chart.png")).toStdString() + "\n（" +
             (folder + QStringLiteral("/missing/chart.png")).toStdString() +
             " の隣に一時ファイルを作れません：そのようなファイルやフォルダーはありません）",
         false},
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
        EXPECT_TRUE(messages.calls[0].text.contains(QString::fromStdString(c.message)))
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

// ---------------------------------------------------------------------------
// The pictures themselves: the SVG read back as XML and drawn by two other
// renderers, against the PNG.

namespace svg_check {

using tolmeri::YearChartLayout;

struct Extent {
    double left = 1e9, top = 1e9, right = -1e9, bottom = -1e9;
    void Add(double x, double y) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
};

// The coordinate pairs of a path's d or a polyline's points (the generator
// writes only absolute moves and lines).
Extent BoxOf(const QString& coordinates, int* pointCount = nullptr) {
    static const QRegularExpression number(QStringLiteral("-?\\d+(?:\\.\\d+)?(?:e-?\\d+)?"));
    std::vector<double> values;
    for (const QRegularExpressionMatch& m : number.globalMatch(coordinates))
        values.push_back(m.captured().toDouble());
    Extent box;
    for (std::size_t i = 0; i + 1 < values.size(); i += 2)
        box.Add(values[i], values[i + 1]);
    if (pointCount)
        *pointCount = static_cast<int>(values.size() / 2);
    return box;
}

struct Read {
    QString error;
    std::vector<Extent> paths;      // filled shapes
    std::vector<Extent> polylines;  // curves of more than two points
    std::vector<Extent> everything; // every path, polyline and rect
    QStringList texts;
    QStringList transforms; // every transform that is not the identity
    QString textFamilies;
};

Read ReadSvg(const QByteArray& bytes) {
    Read r;
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto a = xml.attributes();
        const QString transform = a.value(QLatin1String("transform")).toString();
        if (!transform.isEmpty() && transform != QLatin1String("matrix(1,0,0,1,0,0)"))
            r.transforms << transform;
        if (xml.name() == u"path") {
            r.paths.push_back(BoxOf(a.value(QLatin1String("d")).toString()));
            r.everything.push_back(r.paths.back());
        } else if (xml.name() == u"polyline") {
            int points = 0;
            const Extent box = BoxOf(a.value(QLatin1String("points")).toString(), &points);
            if (points > 2)
                r.polylines.push_back(box);
            r.everything.push_back(box);
        } else if (xml.name() == u"rect") {
            Extent box;
            const double x = a.value(QLatin1String("x")).toDouble(),
                         y = a.value(QLatin1String("y")).toDouble();
            box.Add(x, y);
            box.Add(x + a.value(QLatin1String("width")).toDouble(),
                    y + a.value(QLatin1String("height")).toDouble());
            r.everything.push_back(box);
        } else if (xml.name() == u"g" && a.hasAttribute(QLatin1String("stroke")) &&
                   a.hasAttribute(QLatin1String("font-family")) &&
                   !a.hasAttribute(QLatin1String("transform"))) {
            r.textFamilies = a.value(QLatin1String("font-family")).toString();
        } else if (xml.name() == u"text") {
            r.texts << xml.readElementText();
        }
    }
    if (xml.hasError())
        r.error = xml.errorString();
    return r;
}

bool Within(const Extent& b, double left, double top, double right, double bottom) {
    return b.left >= left && b.right <= right && b.top >= top && b.bottom <= bottom;
}

// Pixels of a band's colour outside the plot's frame, where there is only
// the white page, the ticks and the texts.
int BandPixelsOutsideFrame(const QImage& image, const YearChartLayout& L) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            if (x >= L.left - 1 && x <= L.right && y >= L.top - 1 && y <= L.bottom)
                continue;
            const QRgb c = image.pixel(x, y) & 0xFFFFFF;
            for (const QColor& band : tolmeri::kChartBrushes)
                if (c == (band.rgb() & 0xFFFFFF))
                    ++count;
        }
    return count;
}

// Share of the plot's pixels whose colour is far (a quarter of the range in
// some channel) from the PNG's at the same place, at its four neighbours and
// halfway to each: a line smoothed over two rows by one renderer and drawn on
// one by the other passes, a band or a curve out of place does not.
double PlotDifference(const QImage& a, const QImage& png, const YearChartLayout& L) {
    const auto near = [](QRgb p, int r, int g, int b) {
        return std::abs(qRed(p) - r) <= 64 && std::abs(qGreen(p) - g) <= 64 &&
               std::abs(qBlue(p) - b) <= 64;
    };
    int differ = 0, all = 0;
    for (int y = L.top + 1; y < L.bottom - 1; ++y)
        for (int x = L.left + 1; x < L.right - 1; ++x) {
            const QRgb p = a.pixel(x, y), c = png.pixel(x, y);
            bool close = near(p, qRed(c), qGreen(c), qBlue(c));
            for (const QPoint& d : {QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1)}) {
                const QRgb n = png.pixel(x + d.x(), y + d.y());
                close = close || near(p, qRed(n), qGreen(n), qBlue(n)) ||
                        near(p, (qRed(c) + qRed(n)) / 2, (qGreen(c) + qGreen(n)) / 2,
                             (qBlue(c) + qBlue(n)) / 2);
            }
            ++all;
            differ += close ? 0 : 1;
        }
    return all ? static_cast<double>(differ) / all : 1.0;
}

} // namespace svg_check

TEST(YearChartPictures, SvgShapesStayInTheFrameAndTextsAreWholeForAnyRenderer) {
    using namespace svg_check;
    const QString rsvg = QStandardPaths::findExecutable(QStringLiteral("rsvg-convert"));
    ASSERT_FALSE(rsvg.isEmpty()) << "rsvg-convert (Debian librsvg2-bin, scripts/install-deps test)";
    const QByteArray keep = qgetenv("TOLMERI_KEEP_RENDERS"); // a folder for the renders
    const struct {
        const char* name;
        tolmeri::Place place;
        CivilDate first;
        int days;
        QSize size;
        tolmeri::PeriodOptions options;
    } cases[] = {
        {"tokyo-2026", {"東京", 35, 39, 139, 45, 9}, {2026, 1, 1}, 365, {1200, 800}, {}},
        // Night longer than the picture's rows at 54° N in winter; terms in
        // two rows.
        {"north-small", {"北", 54, 0, 10, 0, 1}, {2026, 1, 1}, 365, {520, 400}, {}},
        // The far south, a run of days, the calendars changing in 1798.
        {"south-run",
         {"南", -54, 0, -68, 0, -4},
         {1798, 1, 1},
         120,
         {900, 600},
         {tolmeri::DawnDefinition::kAuto, tolmeri::ClockSteps::kSekki}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const tolmeri::YearChartInput input =
            tolmeri::MakeYearChartInput(c.place, c.first, c.days, c.options);
        const QByteArray svg = tolmeri::YearChartPicture(input, c.size, true);
        QImage png = QImage::fromData(tolmeri::YearChartPicture(input, c.size, false), "PNG");
        ASSERT_FALSE(png.isNull());
        png = png.convertToFormat(QImage::Format_RGB32);
        // Where the PNG's painter put the plot; the SVG is laid out alike.
        QImage scratch(c.size, QImage::Format_RGB32);
        QPainter scratchPainter(&scratch);
        const YearChartLayout L = tolmeri::PaintYearChart(scratchPainter, scratch.rect(), input,
                                                          CYearChartView::ChartFont());
        scratchPainter.end();

        const Read r = ReadSvg(svg);
        ASSERT_TRUE(r.error.isEmpty()) << r.error.toStdString();
        EXPECT_TRUE(r.transforms.isEmpty()) << r.transforms.join(u' ').toStdString();
        ASSERT_FALSE(r.paths.empty());
        for (const Extent& b : r.paths)
            EXPECT_TRUE(Within(b, L.left, L.top, L.right, L.bottom))
                << b.left << "," << b.top << " - " << b.right << "," << b.bottom;
        ASSERT_FALSE(r.polylines.empty());
        for (const Extent& b : r.polylines)
            EXPECT_TRUE(Within(b, L.left, L.top, L.right, L.bottom))
                << b.left << "," << b.top << " - " << b.right << "," << b.bottom;
        for (const Extent& b : r.everything)
            EXPECT_TRUE(Within(b, 0, 0, c.size.width(), c.size.height()));

        // Every text once, whole, in the layout's order; the faces end in
        // the one measured and a generic family.
        QStringList laidOut;
        for (const tolmeri::YearChartText& t : L.texts)
            laidOut << QString::fromStdString(t.text);
        EXPECT_EQ(r.texts, laidOut);
        EXPECT_TRUE(r.textFamilies.startsWith(QFontInfo(CYearChartView::ChartFont()).family()))
            << r.textFamilies.toStdString();
        EXPECT_TRUE(r.textFamilies.contains(QStringLiteral("IPAPGothic")));
        EXPECT_TRUE(r.textFamilies.endsWith(QStringLiteral(", sans-serif")));

        // Qt's own SVG renderer and librsvg.
        QImage byQt(c.size, QImage::Format_RGB32);
        byQt.fill(Qt::white);
        {
            QSvgRenderer renderer(svg);
            ASSERT_TRUE(renderer.isValid());
            QPainter p(&byQt);
            renderer.render(&p, QRectF(QPointF(0, 0), c.size));
        }
        CQtTempFolder folder;
        const QString svgPath = folder.filePath(QStringLiteral("chart.svg"));
        const QString rsvgPath = folder.filePath(QStringLiteral("chart.png"));
        {
            QFile file(svgPath);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(svg);
        }
        const ProcessResult converted =
            RunProcess(rsvg.toStdString(),
                       {"-b", "white", "-o", rsvgPath.toStdString(), svgPath.toStdString()});
        ASSERT_EQ(converted.status, 0) << converted.err;
        QImage byRsvg(rsvgPath);
        ASSERT_EQ(byRsvg.size(), c.size);
        byRsvg = byRsvg.convertToFormat(QImage::Format_RGB32);

        const struct {
            const char* renderer;
            const QImage& image;
        } renders[] = {{"PNG", png}, {"QSvgRenderer", byQt}, {"rsvg-convert", byRsvg}};
        for (const auto& render : renders) {
            SCOPED_TRACE(render.renderer);
            EXPECT_EQ(BandPixelsOutsideFrame(render.image, L), 0);
            EXPECT_LT(PlotDifference(render.image, png, L), 0.002);
            if (!keep.isEmpty())
                render.image.save(QFile::decodeName(keep) + u'/' + QLatin1String(c.name) + u'-' +
                                  QLatin1String(render.renderer) + QStringLiteral(".png"));
        }
    }
}
