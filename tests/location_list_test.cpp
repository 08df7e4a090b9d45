// The preset list as a user meets it from the main dialog: what it shows, a
// choice reaching the boxes (and not yet the chart), and cancels that change
// nothing.
#include <cmath>

#include "core/presets.h"
#include "framework/list_box.h"
#include "res/resource.h"
#include "tests/main_dialog_fixture.h"
#include "ui/location_list_dlg.h"

namespace {

// Rows of the presets the tests choose.
constexpr int kSapporo = 1, kYokohama = 14, kTsu = 22, kHamburg = 48, kWien = 49, kSydney = 50,
              kNewYork = 51;
constexpr int kPlaceBoxes[] = {IDC_LOCATION_NAME,     IDC_LATITUDE_DEGREES,  IDC_LATITUDE_MINUTES,
                               IDC_LONGITUDE_DEGREES, IDC_LONGITUDE_MINUTES, IDC_TIME_DIFFERENCE};

CListBoxWidget* ListOf(CDialog& dlg) {
    return qobject_cast<CListBoxWidget*>(dlg.GetDlgItem(IDC_LOCATION_LIST));
}
void ClickRow(CDialog& dlg, int row, bool twice = false) {
    CListBoxWidget* list = ListOf(dlg);
    list->scrollToItem(list->item(row));
    const QPoint at = list->visualItemRect(list->item(row)).center();
    if (twice)
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    else
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
}

class LocationList : public OpenMainDialogTest {
protected:
    void WithList(std::function<void(CDialog&)> action) {
        InModal([this] { Click(*dlg, IDC_CHOOSE_LOCATION); }, std::move(action));
    }
    QStringList Boxes() {
        QStringList texts{BoxText(*dlg, IDC_DATE_YEAR)};
        for (int id : kPlaceBoxes)
            texts << BoxText(*dlg, id);
        return texts;
    }
};

TEST_F(LocationList, ShowsThePresetsInOrderUnselectedWithTheFocusOnOk) {
    WithList([this](CDialog& list) {
        EXPECT_EQ(list.parentWidget(), dlg.get()) << "modal over the main dialog";
        ASSERT_EQ(ListOf(list)->count(), 53);
        for (int i = 0; i < 53; ++i)
            EXPECT_EQ(ListOf(list)->item(i)->text().toStdString(), tolmeri::kPresetPlaces[i]);
        EXPECT_TRUE(ListOf(list)->selectedItems().isEmpty());
        EXPECT_EQ(list.focusWidget(), list.GetDlgItem(afx::IDOK));
        // Tab stops every 32 dialog units: eight of the font's average letters.
        const QFontMetrics fm(list.font());
        const long letter =
            std::lround(fm.horizontalAdvance(QStringLiteral(
                            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                        52.0);
        EXPECT_LE(std::abs(ListOf(list)->TabStopPixels() - 8 * letter), 1);
    });
}

TEST_F(LocationList, AChoiceShowsInTheBoxesAtOnceAndInTheChartAfterCalculate) {
    const std::pair<int, QStringList> cases[] = {
        {kYokohama, {"2000", "横浜", "35", "27", "139", "39", "9"}},
        {kSydney, {"2000", "Sydney", "-33", "52", "151", "12", "10"}},
        {kNewYork, {"2000", "New York", "40", "46", "-73", "52", "-5"}},
        {kHamburg, {"2000", "Hamburg", "53", "38", "10", "0", "1"}},
        {kTsu, {"2000", "津", "34", "44", "136", "31", "9"}},
    };
    for (const auto& [row, expected] : cases) {
        const int transit = dlg->Hours().GetBoundary(12);
        WithList([row](CDialog& list) {
            ClickRow(list, row);
            Click(list, afx::IDOK);
        });
        EXPECT_EQ(Boxes(), expected);
        EXPECT_EQ(dlg->m_nTimeDifference, expected.last().toInt());
        EXPECT_EQ(dlg->Hours().GetBoundary(12), transit) << "the chart waits for 計算実行";
        Click(*dlg, IDC_CALCULATE);
        EXPECT_TRUE(messages.calls.empty());
        if (row != kYokohama) { // the place the dialog starts with
            EXPECT_NE(dlg->Hours().GetBoundary(12), transit) << expected[1].toStdString();
        }
    }
}

TEST_F(LocationList, OkWithoutASelectionStaysAndDoubleClickOnlySelects) {
    WithList([](CDialog& list) {
        Click(list, afx::IDOK);
        QTest::keyClick(ListOf(list), Qt::Key_Return);
        EXPECT_TRUE(list.isVisible());
        ClickRow(list, kWien, true);
        EXPECT_TRUE(list.isVisible());
        QTest::keyClick(ListOf(list), Qt::Key_Return); // now Enter takes the selected row
        EXPECT_FALSE(list.isVisible());
    });
    EXPECT_EQ(BoxText(*dlg, IDC_LOCATION_NAME), QStringLiteral("Wien"));
}

TEST_F(LocationList, KeysSelectTheItemTheyMoveToAlsoOnAFreshList) {
    // Each case on a fresh showing: Tab from OK over ｷｬﾝｾﾙ into the list,
    // where nothing is selected, then the keys, then OK.
    const int kPaged = -1; // Page Down: a page further, wherever that is
    const struct {
        std::vector<Qt::Key> keys;
        int row;
    } cases[] = {
        {{Qt::Key_Home}, 0},
        {{Qt::Key_Up}, 0},
        {{Qt::Key_Left}, 0},
        {{Qt::Key_PageUp}, 0},
        {{Qt::Key_Space}, 0},
        {{Qt::Key_Down}, 1},
        {{Qt::Key_Right}, 1},
        {{Qt::Key_End}, 52},
        {{Qt::Key_End, Qt::Key_Home}, 0},
        {{Qt::Key_Down, Qt::Key_Down, Qt::Key_Up}, 1},
        {{Qt::Key_PageDown}, kPaged},
    };
    for (const auto& c : cases) {
        int selected = -2;
        WithList([&](CDialog& list) {
            QTest::keyClick(list.focusWidget(), Qt::Key_Tab);
            QTest::keyClick(list.focusWidget(), Qt::Key_Tab);
            ASSERT_EQ(list.focusWidget(), ListOf(list));
            ASSERT_TRUE(ListOf(list)->selectedItems().isEmpty());
            // The caret on the first item and nothing selected, as focus
            // leaves a fresh list.
            ListOf(list)->setCurrentRow(0, QItemSelectionModel::NoUpdate);
            for (Qt::Key key : c.keys)
                QTest::keyClick(ListOf(list), key);
            const QList<QListWidgetItem*> items = ListOf(list)->selectedItems();
            ASSERT_EQ(items.size(), 1);
            selected = ListOf(list)->row(items.first());
            EXPECT_EQ(ListOf(list)->currentRow(), selected);
            Click(list, afx::IDOK);
        });
        ASSERT_GE(selected, 0) << c.keys.front();
        if (c.row == kPaged) {
            EXPECT_GT(selected, 2);
            EXPECT_LT(selected, 52);
        } else {
            EXPECT_EQ(selected, c.row) << c.keys.front();
        }
        const std::string_view entry = tolmeri::kPresetPlaces[static_cast<std::size_t>(selected)];
        EXPECT_EQ(BoxText(*dlg, IDC_LOCATION_NAME).toStdString(),
                  entry.substr(0, entry.find('\t')));
    }
}

TEST_F(LocationList, EveryCancelAppliesNothingEvenWithARowSelected) {
    const std::function<void(CDialog&)> cancels[] = {
        [](CDialog& list) { Click(list, afx::IDCANCEL); },
        [](CDialog& list) { QTest::keyClick(ListOf(list), Qt::Key_Escape); },
        [](CDialog& list) { list.close(); },
    };
    for (const auto& cancel : cancels) {
        for (bool withSelection : {false, true}) {
            // An earlier choice is still held, and the user has edited since.
            WithList([](CDialog& list) {
                ClickRow(list, kTsu);
                Click(list, afx::IDOK);
            });
            Type(*dlg, IDC_LATITUDE_DEGREES, QStringLiteral("40"));
            const QStringList before = Boxes();
            WithList([&](CDialog& list) {
                if (withSelection)
                    ClickRow(list, kSapporo);
                cancel(list);
                EXPECT_FALSE(list.isVisible());
            });
            EXPECT_EQ(Boxes(), before) << withSelection;
            EXPECT_EQ(dlg->m_locationList.m_strSelected, CLocationListDlg::CancelMarker());
        }
    }
}

} // namespace
// What the list shows, at the scale the test runs at (also at 2x): whole
// rows from the top, the tenth among them, and on every row blank pixels
// before each column, so that 「Hamburg」 and 「+53:38」 never touch.
TEST_F(LocationList, RowsAreWholeAndFieldsApartAtAnyScale) {
    WithList([](CDialog& list) {
        CListBoxWidget* box = ListOf(list);
        const int row = box->visualItemRect(box->item(0)).height();
        ASSERT_GT(row, 0);
        EXPECT_EQ(box->viewport()->height() % row, 0) << box->viewport()->height() << " / " << row;
        EXPECT_GE(box->viewport()->height() / row, 10);
        const QRect tenth = box->visualItemRect(box->item(9));
        EXPECT_LE(tenth.bottom(), box->viewport()->rect().bottom());
        EXPECT_LT(box->geometry().bottom(), list.GetDlgItem(afx::IDOK)->geometry().top());

        const std::vector<int> columns = box->ColumnStarts();
        ASSERT_EQ(columns.size(), 4u);
        const int textLeft = box->visualItemRect(box->item(0)).left();
        for (int r : {kSapporo, kTsu, kHamburg, kWien, kSydney, kNewYork}) {
            SCOPED_TRACE(box->item(r)->text().toStdString());
            box->scrollToItem(box->item(r));
            const QRect at = box->visualItemRect(box->item(r));
            const QImage shot = box->viewport()->grab().toImage();
            const qreal dpr = shot.devicePixelRatio();
            const auto inkAt = [&](int x) {
                for (int y = at.top(); y <= at.bottom(); ++y)
                    if (qGray(shot.pixel(qRound(x * dpr), qRound(y * dpr))) < 160)
                        return true;
                return false;
            };
            for (std::size_t k = 1; k < columns.size(); ++k) {
                const int start = textLeft + 1 + columns[k]; // the delegate's inset
                EXPECT_TRUE(inkAt(start + 1) || inkAt(start + 2) || inkAt(start + 3))
                    << "a field at column " << k;
                for (int x = start - 3; x < start; ++x)
                    EXPECT_FALSE(inkAt(x)) << "ink " << start - x << " px before column " << k;
            }
        }
    });
}
