// 歴史地名から選ぶ as a user meets it: opened from the window menu over the
// main dialog, the list narrows as a name, reading, romaji or route and
// number is typed and by kind, the chosen place says where its point comes
// from, and OK fills the place boxes as the preset list does (the name cut to
// the name box); the user's own places come from their file, a bad row named.
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>

#include "framework/list_box.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "tests/main_dialog_fixture.h"
#include "ui/historical_place_dlg.h"

namespace {

constexpr int kPlaceBoxes[] = {IDC_LOCATION_NAME,     IDC_LATITUDE_DEGREES,  IDC_LATITUDE_MINUTES,
                               IDC_LONGITUDE_DEGREES, IDC_LONGITUDE_MINUTES, IDC_TIME_DIFFERENCE};

CListBoxWidget* ListOf(CDialog& dlg) {
    return qobject_cast<CListBoxWidget*>(dlg.GetDlgItem(IDC_HISTORICAL_LIST));
}
QString Label(CDialog& dlg, int id) {
    return qobject_cast<QLabel*>(dlg.GetDlgItem(id))->text();
}
// The field of a row: 0 the name, 1 the reading, 2 the kind or the stations.
QString Field(CDialog& dlg, int row, int field) {
    return ListOf(dlg)->item(row)->text().split(u'\t').value(field);
}
int Selected(CDialog& dlg) {
    const QList<QListWidgetItem*> items = ListOf(dlg)->selectedItems();
    return items.isEmpty() ? -1 : ListOf(dlg)->row(items.first());
}
void ChooseKind(CDialog& dlg, const char* label) {
    auto* kinds = qobject_cast<QComboBox*>(dlg.GetDlgItem(IDC_HISTORICAL_KIND));
    const int index = kinds->findText(QString::fromUtf8(label));
    ASSERT_GE(index, 0) << label;
    kinds->setCurrentIndex(index);
}

class HistoricalPlaces : public OpenMainDialogTest {
protected:
    void InPlaces(const std::function<void(CHistoricalPlaceDlg&)>& action) {
        InModal([this] { dlg->OnSystemCommand(IDM_HISTORICAL_PLACES, 0); },
                [&action](CDialog& modal) {
                    auto* places = qobject_cast<CHistoricalPlaceDlg*>(&modal);
                    ASSERT_NE(places, nullptr);
                    action(*places);
                });
    }
    QStringList Boxes() {
        QStringList texts{BoxText(*dlg, IDC_DATE_YEAR)};
        for (int id : kPlaceBoxes)
            texts << BoxText(*dlg, id);
        return texts;
    }
    // The user's places file, in the test's own configuration folder.
    void WriteUserPlaces(const QByteArray& text) {
        const QString path = QString::fromStdString(tolmeri::UserPlacesPath());
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
};

TEST_F(HistoricalPlaces, OpensOverTheMainDialogWithEveryPlaceAndTheFocusInTheSearchBox) {
    InPlaces([this](CHistoricalPlaceDlg& places) {
        EXPECT_EQ(places.windowTitle(), QStringLiteral("歴史地名から選ぶ"));
        EXPECT_EQ(places.parentWidget(), dlg.get()) << "modal over the main dialog";
        ASSERT_EQ(ListOf(places)->count(), 370);
        EXPECT_EQ(ListOf(places)->item(0)->text(),
                  QStringLiteral("江戸\tえど\t都市\t+35:41\t+139:45"));
        EXPECT_EQ(Field(places, 31, 0), QStringLiteral("品川宿"));
        EXPECT_EQ(Field(places, 31, 2), QStringLiteral("東海道1"));
        EXPECT_EQ(Selected(places), -1) << "nothing selected, as in the preset list";
        EXPECT_EQ(places.focusWidget(), places.GetDlgItem(IDC_HISTORICAL_SEARCH));
        EXPECT_EQ(Label(places, IDC_HISTORICAL_COUNT), QStringLiteral("370 か所"));
        EXPECT_TRUE(Label(places, IDC_HISTORICAL_CREDITS).contains(QStringLiteral("CODH")));
        EXPECT_TRUE(Label(places, IDC_HISTORICAL_CREDITS).contains(QStringLiteral("CC BY 4.0")));
        EXPECT_TRUE(Label(places, IDC_HISTORICAL_USER).contains(QStringLiteral("places.tsv")));
    });
}

TEST_F(HistoricalPlaces, TypingNarrowsTheListBestMatchFirstAndSelected) {
    const struct {
        const char* typed;
        const char* first; // the first row's name; null: nothing found
    } cases[] = {
        {"品川", "品川宿"},
        {"しながわ", "品川宿"},
        {"シナガワシュク", "品川宿"},
        {"shinagawa-juku", "品川宿"},
        {"edo", "江戸"},
        {"Ōsaka", "大坂"},
        {"東海道1", "品川宿"},
        {"中山道 28", "和田宿"},
        {"彦根", "彦根"},
        {"ひこね", "彦根"},
        {"保土ケ谷", "保土ヶ谷宿"},
        {"zzzz", nullptr},
    };
    InPlaces([&cases](CHistoricalPlaceDlg& places) {
        for (const auto& c : cases) {
            Type(places, IDC_HISTORICAL_SEARCH, QString());
            Type(places, IDC_HISTORICAL_SEARCH, QString::fromUtf8(c.typed));
            ASSERT_EQ(BoxText(places, IDC_HISTORICAL_SEARCH), QString::fromUtf8(c.typed));
            if (!c.first) {
                EXPECT_EQ(ListOf(places)->count(), 0) << c.typed;
                EXPECT_EQ(Label(places, IDC_HISTORICAL_COUNT), QStringLiteral("見つかりません"));
                continue;
            }
            ASSERT_GT(ListOf(places)->count(), 0) << c.typed;
            EXPECT_EQ(Field(places, 0, 0), QString::fromUtf8(c.first)) << c.typed;
            EXPECT_EQ(Selected(places), 0) << c.typed;
            EXPECT_TRUE(Label(places, IDC_HISTORICAL_DETAIL).startsWith(QString::fromUtf8(c.first)))
                << c.typed;
            EXPECT_LT(ListOf(places)->count(), 370) << c.typed;
        }
        // Emptied, the whole list is back, nothing selected.
        Type(places, IDC_HISTORICAL_SEARCH, QString());
        EXPECT_EQ(ListOf(places)->count(), 370);
        EXPECT_EQ(Selected(places), -1);
        EXPECT_EQ(Label(places, IDC_HISTORICAL_DETAIL), QString());
    });
}

TEST_F(HistoricalPlaces, AKindNarrowsTheListAndARouteListsItsStationsInOrder) {
    InPlaces([](CHistoricalPlaceDlg& places) {
        ChooseKind(places, "宿場（中山道）");
        CListBoxWidget* list = ListOf(places);
        ASSERT_GT(list->count(), 60);
        EXPECT_EQ(Field(places, 0, 0), QStringLiteral("日本橋"));
        EXPECT_EQ(Field(places, 1, 0), QStringLiteral("板橋宿"));
        EXPECT_EQ(Field(places, list->count() - 2, 0), QStringLiteral("草津宿"));
        EXPECT_EQ(Field(places, list->count() - 1, 0), QStringLiteral("大津宿"));
        int before = -1;
        for (int row = 0; row < list->count(); ++row) {
            // "東海道52 中山道68": this route's number, rising.
            const QString stations = Field(places, row, 2);
            const qsizetype at = stations.indexOf(QStringLiteral("中山道"));
            ASSERT_GE(at, 0) << stations.toStdString();
            const int number = stations.mid(at + 3).section(u' ', 0, 0).toInt();
            EXPECT_GT(number, before) << stations.toStdString();
            before = number;
        }
        // The search keeps to the kind: 赤坂 is the 中山道's alone.
        Type(places, IDC_HISTORICAL_SEARCH, QStringLiteral("赤坂"));
        ASSERT_EQ(list->count(), 1);
        EXPECT_EQ(Field(places, 0, 2), QStringLiteral("中山道56"));

        Type(places, IDC_HISTORICAL_SEARCH, QString());
        ChooseKind(places, "関所");
        ASSERT_EQ(list->count(), 17);
        for (int row = 0; row < list->count(); ++row)
            EXPECT_EQ(Field(places, row, 2), QStringLiteral("関所"));
    });
}

TEST_F(HistoricalPlaces, EnterTakesTheBestMatchIntoTheBoxesAndTheChartWaitsForCalculate) {
    const int transit = dlg->Hours().GetBoundary(12);
    InPlaces([](CHistoricalPlaceDlg& places) {
        Type(places, IDC_HISTORICAL_SEARCH, QStringLiteral("東海道1"));
        QTest::keyClick(places.GetDlgItem(IDC_HISTORICAL_SEARCH), Qt::Key_Return);
        EXPECT_FALSE(places.isVisible());
    });
    EXPECT_EQ(Boxes(), (QStringList{"2000", "品川宿", "35", "37", "139", "44", "9"}));
    EXPECT_EQ(dlg->Hours().GetBoundary(12), transit) << "the chart waits for 計算実行";
    Click(*dlg, IDC_CALCULATE);
    EXPECT_TRUE(messages.calls.empty());
    EXPECT_NE(dlg->Hours().GetBoundary(12), transit);
}

TEST_F(HistoricalPlaces, TheKeyboardAloneChoosesAndOkWithoutAChoiceStays) {
    InPlaces([](CHistoricalPlaceDlg& places) {
        // Nothing selected: OK and Enter do nothing.
        Click(places, afx::IDOK);
        QTest::keyClick(places.GetDlgItem(IDC_HISTORICAL_SEARCH), Qt::Key_Return);
        EXPECT_TRUE(places.isVisible());
        // Down goes on into the list at its first row, the list's keys move on.
        QTest::keyClick(places.GetDlgItem(IDC_HISTORICAL_SEARCH), Qt::Key_Down);
        EXPECT_EQ(places.focusWidget(), ListOf(places));
        EXPECT_EQ(Selected(places), 0);
        QTest::keyClick(ListOf(places), Qt::Key_Down);
        EXPECT_EQ(Selected(places), 1);
        QTest::keyClick(ListOf(places), Qt::Key_End);
        EXPECT_EQ(Selected(places), 369);
        QTest::keyClick(ListOf(places), Qt::Key_Home);
        QTest::keyClick(ListOf(places), Qt::Key_Down);
        QTest::keyClick(ListOf(places), Qt::Key_Return);
        EXPECT_FALSE(places.isVisible());
    });
    EXPECT_EQ(BoxText(*dlg, IDC_LOCATION_NAME), QStringLiteral("京"));
}

TEST_F(HistoricalPlaces, EveryCancelChangesNothingEvenWithARowSelected) {
    const std::function<void(CDialog&)> cancels[] = {
        [](CDialog& places) { Click(places, afx::IDCANCEL); },
        [](CDialog& places) { QTest::keyClick(ListOf(places), Qt::Key_Escape); },
        [](CDialog& places) { places.close(); },
    };
    Type(*dlg, IDC_LATITUDE_DEGREES, QStringLiteral("40"));
    const QStringList before = Boxes();
    for (const auto& cancel : cancels) {
        InPlaces([&cancel](CHistoricalPlaceDlg& places) {
            Type(places, IDC_HISTORICAL_SEARCH, QStringLiteral("江戸"));
            ASSERT_EQ(Selected(places), 0);
            cancel(places);
            EXPECT_FALSE(places.isVisible());
            EXPECT_FALSE(places.m_place.has_value());
        });
        EXPECT_EQ(Boxes(), before);
    }
}

TEST_F(HistoricalPlaces, ANameLongerThanTheBoxIsCutToItAndSaidSo) {
    InPlaces([](CHistoricalPlaceDlg& places) {
        Type(places, IDC_HISTORICAL_SEARCH, QStringLiteral("大坂西町奉行所"));
        EXPECT_TRUE(Label(places, IDC_HISTORICAL_DETAIL)
                        .contains(QStringLiteral("名前の欄には「大坂西町奉行」と入ります")));
        Click(places, afx::IDOK);
    });
    EXPECT_EQ(BoxText(*dlg, IDC_LOCATION_NAME), QStringLiteral("大坂西町奉行"));
    Click(*dlg, IDC_CALCULATE);
    EXPECT_TRUE(messages.calls.empty()) << messages.Texts().join(u'\n').toStdString();
}

TEST_F(HistoricalPlaces, TheChosenPlaceNamesItsSourceAndWhatItsPointIs) {
    InPlaces([](CHistoricalPlaceDlg& places) {
        Type(places, IDC_HISTORICAL_SEARCH, QStringLiteral("板橋宿"));
        const QString detail = Label(places, IDC_HISTORICAL_DETAIL);
        EXPECT_TRUE(
            detail.startsWith(QStringLiteral("板橋宿（いたばししゅく、itabashi-shuku）  中山道1  "
                                             "緯度 35度45分  経度 139度42分  時差 9")))
            << detail.toStdString();
        EXPECT_TRUE(detail.contains(
            QStringLiteral("出典: 『日本歴史地名大系』地名項目データセット(CODH作成)「下板橋村」 "
                           "35.753480, 139.706497")))
            << detail.toStdString();
        EXPECT_TRUE(detail.contains(QStringLiteral("地点: 宿場の位置は村の代表点（下板橋村）")));

        Type(places, IDC_HISTORICAL_SEARCH, QStringLiteral("江戸"));
        EXPECT_TRUE(
            Label(places, IDC_HISTORICAL_DETAIL)
                .contains(QStringLiteral("施設・地点項目データセット(CODH作成)「江戸城跡」")));
        EXPECT_FALSE(Label(places, IDC_HISTORICAL_DETAIL).contains(QStringLiteral("地点:")));
    });
}

TEST_F(HistoricalPlaces, TheUsersOwnPlacesAreListedMarkedAndABadRowIsNamed) {
    WriteUserPlaces("# 自分の場所\n"
                    "name\treading\tlatitude\tlongitude\tnote\n"
                    "茶屋町\tちゃやまち\t34.7055\t135.4983\t調べた地点\n"
                    "悪い行\tわるいぎょう\t北緯\t135.5\n");
    InPlaces([](CHistoricalPlaceDlg& places) {
        EXPECT_EQ(ListOf(places)->count(), 371);
        const QString user = Label(places, IDC_HISTORICAL_USER);
        EXPECT_TRUE(user.contains(QStringLiteral("から 1 か所"))) << user.toStdString();
        EXPECT_TRUE(user.contains(QStringLiteral("読めない 1 行は使いません（4 行目: 緯度")))
            << user.toStdString();
        ChooseKind(places, "自分の場所");
        ASSERT_EQ(ListOf(places)->count(), 1);
        EXPECT_EQ(ListOf(places)->item(0)->text(),
                  QStringLiteral("茶屋町\tちゃやまち\t自分の場所\t+34:42\t+135:30"));
        Type(places, IDC_HISTORICAL_SEARCH, QStringLiteral("chayamachi"));
        ASSERT_EQ(Selected(places), 0);
        EXPECT_TRUE(Label(places, IDC_HISTORICAL_DETAIL)
                        .contains(QStringLiteral("出典: 自分の場所（places.tsv 3 行目）")));
        Click(places, afx::IDOK);
    });
    EXPECT_EQ(Boxes(), (QStringList{"2000", "茶屋町", "34", "42", "135", "30", "9"}));
}

TEST_F(HistoricalPlaces, F1AsksForTheHelpOfThisDialog) {
    HelpRecorder help;
    InPlaces([](CHistoricalPlaceDlg& places) {
        QTest::keyClick(places.GetDlgItem(IDC_HISTORICAL_SEARCH), Qt::Key_F1);
    });
    ASSERT_EQ(help.calls.size(), 1u);
    EXPECT_EQ(help.calls[0].data, 0x20000u + IDD_HISTORICAL_PLACES);
}

} // namespace
