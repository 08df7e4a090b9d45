// A dialog realised from its template: every control where the template puts
// it in dialog units of the font obtained, the window's frame, and the keys
// every dialog understands.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QPixmapCache>
#include <QPushButton>
#include <algorithm>
#include <cmath>

#include "framework/style_pixmaps.h"
#include "framework/win_app.h"
#include "res/dialogs.h"
#include "res/resource.h"
#include "tests/dialog_units.h"
#include "tests/gui_support.h"

namespace {

using namespace afx;

class TemplateDialog : public ::testing::Test {
protected:
    void SetUp() override {
        dlg.Create();
        dlg.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    }
    // The widgets in template order (statics included).
    std::vector<QWidget*> Controls() {
        std::vector<QWidget*> out;
        for (QObject* o : dlg.children())
            if (auto* w = qobject_cast<QWidget*>(o); w && !w->isWindow())
                out.push_back(w);
        return out;
    }

    MessageRecorder messages;
    CDialog dlg{res::kMainDialog};
};

// What a control shows of itself: a static text only as far as its text
// reaches (the template lets 月 reach one unit into the day's box, where it
// draws nothing), anything else the whole of it.
QRect Visible(const QWidget* w) {
    const QRect r = w->geometry();
    const auto* label = qobject_cast<const QLabel*>(w);
    if (label == nullptr)
        return r;
    const QFontMetrics fm(label->font());
    return {r.x(), r.y(), std::min(r.width(), fm.horizontalAdvance(label->text())),
            std::min(r.height(), fm.height())};
}

// Every control of the main template where its dialog units put it in the
// font obtained. By the units' definition a horizontal unit is a quarter of
// the font's average letter width (whole pixels) and a vertical one an
// eighth of its height, so each edge lies within a pixel of that, however
// the conversion rounds. The controls keep to the left 165 of the window's
// 354 units; apart from what a group box frames, none covers another, and
// each shows its text.
TEST_F(TemplateDialog, ControlsSitWhereTheirDialogUnitsPutThemAndNoneCoversAnother) {
    const auto [perX, perY] = PixelsPerUnit(dlg.font());
    EXPECT_TRUE(WhereUnitsPut(dlg.rect(), 0, 0, 354, 309, dlg.font()))
        << dlg.width() << "x" << dlg.height();
    EXPECT_EQ(dlg.minimumSize(), dlg.maximumSize()) << "fixed size";
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("刻しらべ (tolmeri) Ver.1.4"));

    const std::span<const DlgItem> items = res::kMainDialog.items;
    ASSERT_EQ(items.size(), 29u);
    ASSERT_EQ(Controls().size(), items.size());
    // Each item's widget: by its id, or (statics and group boxes share -1)
    // by its text, the nearest of those that show it where two do (分, 度).
    std::vector<QWidget*> controls;
    for (const DlgItem& item : items) {
        QWidget* found = item.id != -1 ? dlg.GetDlgItem(item.id) : nullptr;
        const QString text = QString::fromUtf8(item.text);
        double best = 1e9;
        for (QWidget* w : Controls()) {
            auto* l = qobject_cast<QLabel*>(w);
            auto* g = qobject_cast<QGroupBox*>(w);
            const double d = std::hypot(w->x() - item.x * perX, w->y() - item.y * perY);
            if (item.id == -1 && ((l && l->text() == text) || (g && g->title() == text)) &&
                std::find(controls.begin(), controls.end(), w) == controls.end() && d < best) {
                best = d;
                found = w;
            }
        }
        ASSERT_NE(found, nullptr) << item.text;
        controls.push_back(found);
    }
    const auto frames = [](const DlgItem& box, const DlgItem& item) {
        return box.cls == ControlClass::kButton && (box.style & 0xF) == BS_GROUPBOX &&
               &box != &item && item.x >= box.x && item.y >= box.y &&
               item.x + item.cx <= box.x + box.cx && item.y + item.cy <= box.y + box.cy;
    };
    for (std::size_t i = 0; i < items.size(); ++i) {
        const DlgItem& item = items[i];
        QWidget* w = controls[i];
        SCOPED_TRACE(item.text);
        const QRect r = w->geometry();
        EXPECT_TRUE(WhereUnitsPut(r, item.x, item.y, item.cx, item.cy, dlg.font()))
            << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
        EXPECT_TRUE(dlg.rect().contains(r));
        EXPECT_LE(r.x() + r.width(), 165 * perX + 1.0);
        const QString text = QString::fromUtf8(item.text);
        if (auto* b = qobject_cast<QPushButton*>(w)) {
            EXPECT_EQ(b->text(), text);
        } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
            EXPECT_EQ(g->title(), text);
        } else if (auto* l = qobject_cast<QLabel*>(w)) {
            EXPECT_EQ(l->text(), text);
        }
        for (std::size_t j = i + 1; j < items.size(); ++j) {
            const DlgItem& other = items[j];
            if (frames(item, other) || frames(other, item)) {
                const QRect& box = frames(item, other) ? r : controls[j]->geometry();
                const QRect& inside = frames(item, other) ? controls[j]->geometry() : r;
                EXPECT_TRUE(box.contains(inside)) << other.text << " sticks out of its group box";
            } else {
                // Neighbours may share an edge pixel by the rounding.
                const QRect a = Visible(w).adjusted(1, 1, -1, -1),
                            b = Visible(controls[j]).adjusted(1, 1, -1, -1);
                EXPECT_FALSE(a.intersects(b)) << "covers " << other.text;
            }
        }
    }
}

TEST_F(TemplateDialog, FrameHasMinimiseButNoMaximise) {
    const Qt::WindowFlags f = dlg.windowFlags();
    EXPECT_TRUE(f & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(f & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(f & Qt::WindowMaximizeButtonHint);
}

TEST_F(TemplateDialog, OnlyTheSaveButtonIsTheDefault) {
    // With the focus in a box; a focused button is the default while it has
    // the focus, as on the platform the templates come from.
    dlg.GetDlgItem(IDC_DATE_YEAR)->setFocus();
    for (int id :
         {IDC_SET_TODAY, IDC_CHOOSE_LOCATION, IDC_CALCULATE, IDOK, IDCANCEL, IDC_HELP_BUTTON})
        EXPECT_EQ(qobject_cast<QPushButton*>(dlg.GetDlgItem(id))->isDefault(), id == IDOK) << id;
}

TEST_F(TemplateDialog, AClickInsideAGroupBoxReachesTheBoxUnderIt) {
    QWidget* name = dlg.GetDlgItem(IDC_LOCATION_NAME);
    QTest::mouseClick(name, Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), name);
    QWidget* year = dlg.GetDlgItem(IDC_DATE_YEAR);
    const QPoint centre = year->geometry().center();
    EXPECT_EQ(dlg.childAt(centre), year);
}

TEST_F(TemplateDialog, EveryShowingGetsFreshControls) {
    Type(dlg, IDC_DATE_YEAR, QStringLiteral("1234"));
    dlg.Create();
    EXPECT_EQ(BoxText(dlg, IDC_DATE_YEAR), QString());
    EXPECT_EQ(Controls().size(), 29u);
}

TEST_F(TemplateDialog, F1AsksForTheDialogsHelpContextOnlyWithoutModifiers) {
    TestApp app;
    HelpRecorder help;
    QWidget* box = dlg.GetDlgItem(IDC_DATE_DAY);
    QTest::keyClick(box, Qt::Key_F1);
    QTest::keyClick(box, Qt::Key_F1, Qt::ShiftModifier);
    QTest::keyClick(box, Qt::Key_F1, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_F1, Qt::AltModifier);
    ASSERT_EQ(help.calls.size(), 1u);
    EXPECT_EQ(help.calls[0].data, 0x20066u);
    EXPECT_EQ(help.calls[0].command, HELP_CONTEXT);
    EXPECT_EQ(help.calls[0].file, app.dir.filePath(QStringLiteral("tolmeri.HLP")));
}

TEST_F(TemplateDialog, AHelpFileThatCannotBeShownIsReported) {
    TestApp app;
    HelpRecorder help(/*succeed=*/false);
    QTest::keyClick(dlg.GetDlgItem(IDC_DATE_DAY), Qt::Key_F1);
    ASSERT_EQ(messages.calls.size(), 1u);
    EXPECT_EQ(messages.calls[0].text, QStringLiteral("ﾍﾙﾌﾟの起動に失敗しました。"));
    EXPECT_EQ(messages.calls[0].icon, MbIcon::kExclamation);
}

// The controls only the era-date dialog and the year-chart window have: an
// editable combo box, a check box, a frame the user sizes; and their
// exchange with int fields.
class Choices : public CDialog {
public:
    Choices() : CDialog(res::kEraDateDialog) {}
    int m_nLeap = 0;
    int m_nEra = -1;

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_CBIndex(pDX, IDC_ERA_NAME, m_nEra);
        DDX_Check(pDX, IDC_ERA_LEAP, m_nLeap);
    }
};

TEST(TemplateControls, ComboAndCheckBoxesTakeTheirPlacesAndExchangeTheirFields) {
    Choices dlg;
    dlg.Create();
    auto* combo = qobject_cast<QComboBox*>(dlg.GetDlgItem(IDC_ERA_NAME));
    ASSERT_NE(combo, nullptr);
    EXPECT_TRUE(combo->isEditable()) << "CBS_DROPDOWN";
    // Closed, one edit-box row high; its template height is the dropped list's.
    EXPECT_TRUE(WhereUnitsPut(combo->geometry(), 36, 97, 130, kComboRowDlu, dlg.font()));
    EXPECT_EQ(combo->geometry().bottom(), dlg.GetDlgItem(IDC_ERA_YEAR)->geometry().bottom());
    auto* leap = qobject_cast<QCheckBox*>(dlg.GetDlgItem(IDC_ERA_LEAP));
    ASSERT_NE(leap, nullptr);
    EXPECT_EQ(leap->text(), QStringLiteral("閏"));

    for (const char* name : {"大化", "白雉", "朱鳥"})
        combo->addItem(QString::fromUtf8(name));
    const struct {
        int era, leap;  // the fields shown
        int shownIndex; // what the list then selects
        bool shownLeap;
    } cases[] = {{2, 1, 2, true}, {0, 0, 0, false}, {99, 1, -1, true}, {-1, 0, -1, false}};
    for (const auto& c : cases) {
        dlg.m_nEra = c.era;
        dlg.m_nLeap = c.leap;
        dlg.UpdateData(false);
        EXPECT_EQ(combo->currentIndex(), c.shownIndex) << c.era;
        EXPECT_EQ(leap->isChecked(), c.shownLeap);
        EXPECT_TRUE(dlg.UpdateData(true));
        EXPECT_EQ(dlg.m_nEra, c.shownIndex);
        EXPECT_EQ(dlg.m_nLeap, c.shownLeap ? 1 : 0);
    }
    // Texts set by the program, in each kind of control.
    dlg.SetDlgItemText(IDC_ERA_NAME, QStringLiteral("慶長"));
    dlg.SetDlgItemText(IDC_ERA_YEAR, QStringLiteral("元"));
    dlg.SetDlgItemText(IDC_ERA_RESULT, QStringLiteral("西暦 1600年10月21日"));
    EXPECT_EQ(dlg.GetDlgItemText(IDC_ERA_NAME), QStringLiteral("慶長"));
    EXPECT_EQ(dlg.GetDlgItemText(IDC_ERA_YEAR), QStringLiteral("元"));
    EXPECT_EQ(qobject_cast<QLabel*>(dlg.GetDlgItem(IDC_ERA_RESULT))->text(),
              QStringLiteral("西暦 1600年10月21日"));
    EXPECT_EQ(dlg.minimumSize(), dlg.maximumSize()) << "no WS_THICKFRAME: fixed";
}

TEST(TemplateControls, AThickFrameIsSizableDownToTheTemplate) {
    CDialog chart(res::kYearChartDialog);
    chart.Create();
    const QSize least = CDialog::ClientSize(res::kYearChartDialog);
    EXPECT_EQ(chart.size(), least);
    EXPECT_EQ(chart.minimumSize(), least);
    EXPECT_GT(chart.maximumSize().width(), least.width());
    EXPECT_TRUE(chart.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(chart.isSizeGripEnabled());
    auto* dawn = qobject_cast<QComboBox*>(chart.GetDlgItem(IDC_YEAR_CHART_DAWN));
    ASSERT_NE(dawn, nullptr);
    EXPECT_FALSE(dawn->isEditable()) << "CBS_DROPDOWNLIST";
}

// The program's icon as Qt itself reads its XPM resources, pixel for pixel.
TEST(Icons, LoadIconGivesThePicturesOfTheResources) {
    const QIcon icon = afx::LoadIcon(IDR_MAINFRAME);
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.availableSizes(), (QList<QSize>{{32, 32}, {16, 16}}));
    for (int size : {32, 16}) {
        const QImage expected =
            QImage(QStringLiteral(":/icons/%1-%2.xpm").arg(IDR_MAINFRAME).arg(size))
                .convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(expected.isNull()) << size;
        EXPECT_EQ(icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32),
                  expected)
            << size;
    }
    EXPECT_TRUE(afx::LoadIcon(999).isNull()) << "an id with no pictures";
}

// The group box frame the Fusion style paints, found in the pixmap cache where
// the style looks for it: the very picture Qt reads from its file.
TEST(Icons, TheGroupBoxFrameIsInTheCacheAsTheStyleReadsIt) {
    const QString path =
        QStringLiteral(":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png");
    QPixmapCache::clear();
    ASSERT_TRUE(afx::PrimeGroupBoxFrame()) << "the tests run in the Fusion style";
    QPixmap cached;
    ASSERT_TRUE(QPixmapCache::find(afx::PixmapCacheKey(path), &cached));
    EXPECT_EQ(QPixmap(path).cacheKey(), cached.cacheKey()) << "the style's load finds it";
    EXPECT_TRUE(afx::PrimeGroupBoxFrame()) << "a second time it is already there";

    QPixmapCache::clear();
    const QImage read = QPixmap(path).toImage(); // as Qt reads the file itself
    ASSERT_FALSE(read.isNull());
    EXPECT_EQ(cached.toImage(), read);
    EXPECT_NE(afx::PixmapCacheKey(path), afx::PixmapCacheKey(QStringLiteral(":/icons/128-32.xpm")));
}

} // namespace
