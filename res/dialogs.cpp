#include "res/dialogs.h"

#include "res/resource.h"
#include "tolmeri_config.h"

namespace res {

using afx::ControlClass;
using namespace afx; // style bits

namespace {

constexpr Style kPush = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;       // 0x50010000
constexpr Style kDefPush = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON; // 0x50010001
constexpr Style kNumber = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_MULTILINE | ES_RIGHT |
                          ES_AUTOHSCROLL; // 0x50810086
constexpr Style kText =
    WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL; // 0x50810080
constexpr Style kLabel = WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT; // 0x50020000
constexpr Style kGroup = WS_CHILD | WS_VISIBLE | BS_GROUPBOX;        // 0x50000007

static_assert(kPush == 0x50010000 && kDefPush == 0x50010001 && kNumber == 0x50810086 &&
              kText == 0x50810080 && kLabel == 0x50020000 && kGroup == 0x50000007);

constexpr DlgItem kMainItems[] = {
    {IDC_SET_TODAY, ControlClass::kButton, "日付を今日に設定", 15, 160, 95, 30, kPush},
    {IDC_CHOOSE_LOCATION, ControlClass::kButton, "場所をリストから選ぶ", 15, 195, 95, 30, kPush},
    {IDC_CALCULATE, ControlClass::kButton, "計算実行", 115, 15, 50, 210, kPush},
    {IDC_DATE_YEAR, ControlClass::kEdit, "", 25, 25, 20, 14, kNumber},
    {IDC_DATE_MONTH, ControlClass::kEdit, "", 55, 25, 15, 14, kNumber},
    {IDC_DATE_DAY, ControlClass::kEdit, "", 79, 25, 15, 14, kNumber},
    {IDC_LOCATION_NAME, ControlClass::kEdit, "", 45, 70, 50, 14, kText},
    {IDC_LATITUDE_DEGREES, ControlClass::kEdit, "", 45, 90, 20, 14, kNumber},
    {IDC_LATITUDE_MINUTES, ControlClass::kEdit, "", 79, 90, 15, 14, kNumber},
    {IDC_LONGITUDE_DEGREES, ControlClass::kEdit, "", 45, 110, 20, 14, kNumber},
    {IDC_LONGITUDE_MINUTES, ControlClass::kEdit, "", 79, 110, 15, 14, kNumber},
    {IDC_TIME_DIFFERENCE, ControlClass::kEdit, "", 70, 130, 15, 14, kNumber},
    {IDOK, ControlClass::kButton, "保存終了", 85, 230, 80, 30, kDefPush},
    {IDCANCEL, ControlClass::kButton, "破棄終了", 85, 265, 80, 30, kPush},
    {IDC_HELP_BUTTON, ControlClass::kButton, "ヘルプ", 15, 230, 65, 65, kPush},
    {IDC_STATIC, ControlClass::kStatic, "緯度", 20, 95, 15, 8, kLabel},
    {IDC_STATIC, ControlClass::kStatic, "度", 65, 95, 10, 10, kLabel},
    {IDC_STATIC, ControlClass::kStatic, "年", 45, 30, 10, 10, kLabel},
    {IDC_STATIC, ControlClass::kStatic, "分", 94, 95, 8, 8, kLabel},
    {IDC_STATIC, ControlClass::kStatic, "分", 94, 115, 10, 10, kLabel},
    {IDC_STATIC, ControlClass::kStatic, "度", 65, 115, 10, 10, kLabel},
    {IDC_STATIC, ControlClass::kStatic, "月", 70, 30, 10, 10, kLabel},
    {IDC_STATIC, ControlClass::kStatic, "日", 95, 30, 8, 8, kLabel},
    {IDC_STATIC, ControlClass::kStatic, "時間", 90, 135, 15, 8, kLabel},
    {IDC_STATIC, ControlClass::kStatic, "世界時との時差", 20, 135, 47, 8, kLabel},
    {IDC_STATIC, ControlClass::kButton, "日付", 15, 10, 95, 40, kGroup},
    {IDC_STATIC, ControlClass::kStatic, "経度", 20, 115, 15, 8, kLabel},
    {IDC_STATIC, ControlClass::kButton, "場所", 15, 55, 95, 100, kGroup},
    {IDC_STATIC, ControlClass::kStatic, "都市名", 20, 75, 22, 8, kLabel},
};

constexpr Style kPopup = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
constexpr Style kMainStyle = kPopup | WS_VISIBLE | WS_MINIMIZEBOX;
static_assert(kPopup == 0x80C800C0 && kMainStyle == 0x90CA00C0);

constexpr DlgItem kLocationItems[] = {
    {IDOK, ControlClass::kButton, "OK", 10, 105, 80, 44, kDefPush},
    {IDCANCEL, ControlClass::kButton, "ｷｬﾝｾﾙ", 95, 105, 40, 43, kPush},
    {IDC_LOCATION_LIST, ControlClass::kListBox, "", 10, 20, 128, 75,
     WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_USETABSTOPS |
         LBS_NOINTEGRALHEIGHT | LBS_DISABLENOSCROLL},
    {IDC_STATIC, ControlClass::kStatic, "場所", 10, 10, 15, 8, kLabel},
    {IDC_STATIC, ControlClass::kStatic, "緯度", 45, 10, 15, 8, kLabel},
    {IDC_STATIC, ControlClass::kStatic, "経度", 80, 10, 15, 8, kLabel},
    {IDC_STATIC, ControlClass::kStatic, "時差", 105, 10, 15, 8, kLabel},
};
static_assert(kLocationItems[2].style == 0x50A11181);

constexpr DlgItem kAboutItems[] = {
    {IDC_STATIC, ControlClass::kStatic, "128", 11, 17, 20, 20, WS_CHILD | WS_VISIBLE | SS_ICON},
    {IDC_STATIC, ControlClass::kStatic, "刻しらべ ( tolmeri ) Version " TOLMERI_VERSION_SHORT, 40,
     10, 119, 8, WS_CHILD | WS_VISIBLE | WS_GROUP | SS_NOPREFIX | SS_LEFT},
    {IDC_STATIC, ControlClass::kStatic, "日付と場所から不定時法の刻を求めます", 40, 25, 128, 8,
     kLabel},
    {IDOK, ControlClass::kButton, "OK", 178, 7, 32, 14, kDefPush | WS_GROUP},
};
static_assert(kAboutItems[0].style == 0x50000003 && kAboutItems[1].style == 0x50020080 &&
              kAboutItems[3].style == 0x50030001);

// The era-date dialog: the day in the main dialog's boxes as the old texts
// name it, and an era date to put into them.
constexpr Style kCheck = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX; // 0x50010003
constexpr Style kValue = WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX;        // 0x50000080
constexpr Style kEditCombo =
    WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWN; // 0x50210002
constexpr Style kListCombo =
    WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST; // 0x50210003
static_assert(kCheck == 0x50010003 && kValue == 0x50000080 && kEditCombo == 0x50210002 &&
              kListCombo == 0x50210003);

constexpr DlgItem kEraDateItems[] = {
    {IDC_STATIC, ControlClass::kButton, "日付欄の日付", 7, 5, 306, 74, kGroup},
    {IDC_STATIC, ControlClass::kStatic, "西暦", 14, 17, 22, 8, kLabel},
    {IDC_ERA_NOW_DATE, ControlClass::kStatic, "", 40, 17, 268, 8, kValue},
    {IDC_STATIC, ControlClass::kStatic, "和暦", 14, 29, 22, 8, kLabel},
    {IDC_ERA_NOW_WAREKI, ControlClass::kStatic, "", 40, 29, 268, 8, kValue},
    {IDC_STATIC, ControlClass::kStatic, "旧暦", 14, 41, 22, 8, kLabel},
    {IDC_ERA_NOW_KYUREKI, ControlClass::kStatic, "", 40, 41, 268, 8, kValue},
    {IDC_STATIC, ControlClass::kStatic, "節気", 14, 53, 22, 8, kLabel},
    {IDC_ERA_NOW_SEKKI, ControlClass::kStatic, "", 40, 53, 268, 8, kValue},
    {IDC_STATIC, ControlClass::kStatic, "干支", 14, 65, 22, 8, kLabel},
    {IDC_ERA_NOW_KANSHI, ControlClass::kStatic, "", 40, 65, 268, 8, kValue},
    {IDC_STATIC, ControlClass::kButton, "和暦・旧暦の日付", 7, 84, 306, 120, kGroup},
    {IDC_STATIC, ControlClass::kStatic, "元号", 14, 100, 20, 8, kLabel},
    {IDC_ERA_NAME, ControlClass::kComboBox, "", 36, 97, 130, 160, kEditCombo},
    {IDC_ERA_YEAR, ControlClass::kEdit, "", 170, 97, 24, 14, kNumber},
    {IDC_STATIC, ControlClass::kStatic, "年", 196, 100, 10, 8, kLabel},
    {IDC_ERA_LEAP, ControlClass::kButton, "閏", 208, 97, 24, 14, kCheck},
    {IDC_ERA_MONTH, ControlClass::kEdit, "", 234, 97, 16, 14, kNumber},
    {IDC_STATIC, ControlClass::kStatic, "月", 252, 100, 10, 8, kLabel},
    {IDC_ERA_DAY, ControlClass::kEdit, "", 264, 97, 16, 14, kNumber},
    {IDC_STATIC, ControlClass::kStatic, "日", 282, 100, 10, 8, kLabel},
    {IDC_ERA_RESULT, ControlClass::kStatic, "", 14, 118, 294, 24, kValue},
    {IDC_STATIC, ControlClass::kStatic, "日の始まり", 14, 148, 40, 8, kLabel},
    {IDC_ERA_DAY_START, ControlClass::kComboBox, "", 56, 145, 200, 60, kListCombo},
    {IDC_ERA_MOON, ControlClass::kStatic, "", 14, 162, 294, 36, kValue},
    {IDOK, ControlClass::kButton, "OK", 203, 210, 50, 16, kDefPush},
    {IDCANCEL, ControlClass::kButton, "ｷｬﾝｾﾙ", 259, 210, 50, 16, kPush},
};

// 刻の名から時刻を求める: the boxes' place, a date to type (the boxes' to start
// with), how dawn and the day are reckoned, the name, its readings.
constexpr DlgItem kHourNameItems[] = {
    {IDC_STATIC, ControlClass::kStatic, "場所", 7, 9, 54, 8, kLabel},
    {IDC_HOUR_PLACE, ControlClass::kStatic, "", 64, 9, 249, 8, kValue},
    {IDC_STATIC, ControlClass::kStatic, "日付", 7, 25, 54, 8, kLabel},
    {IDC_HOUR_DATE, ControlClass::kEdit, "", 64, 22, 130, 14, kText},
    {IDC_HOUR_DATE_READING, ControlClass::kStatic, "", 64, 39, 249, 16, kValue},
    {IDC_STATIC, ControlClass::kStatic, "明六つ・暮六つ", 7, 63, 54, 8, kLabel},
    {IDC_HOUR_DAWN, ControlClass::kComboBox, "", 64, 60, 220, 80, kListCombo},
    {IDC_STATIC, ControlClass::kStatic, "日の始まり", 7, 79, 54, 8, kLabel},
    {IDC_HOUR_DAY_START, ControlClass::kComboBox, "", 64, 76, 220, 60, kListCombo},
    {IDC_STATIC, ControlClass::kStatic, "刻の名", 7, 96, 54, 8, kLabel},
    {IDC_HOUR_EXPRESSION, ControlClass::kEdit, "", 64, 93, 130, 14, kText},
    {IDC_HOUR_RESULT, ControlClass::kStatic, "", 64, 113, 249, 40, kValue},
    {IDCANCEL, ControlClass::kButton, "閉じる", 263, 159, 50, 16, kPush},
};

// 歴史地名から選ぶ: a search box and a kind above the list, what the chosen
// place is and where its point comes from below it.
constexpr DlgItem kHistoricalPlacesItems[] = {
    {IDC_STATIC, ControlClass::kStatic, "検索", 7, 9, 28, 8, kLabel},
    {IDC_HISTORICAL_SEARCH, ControlClass::kEdit, "", 36, 6, 130, 14, kText},
    {IDC_STATIC, ControlClass::kStatic, "種類", 174, 9, 28, 8, kLabel},
    {IDC_HISTORICAL_KIND, ControlClass::kComboBox, "", 203, 6, 90, 150, kListCombo},
    {IDC_HISTORICAL_LIST, ControlClass::kListBox, "", 7, 24, 286, 118,
     WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_USETABSTOPS |
         LBS_NOINTEGRALHEIGHT | LBS_DISABLENOSCROLL},
    {IDC_HISTORICAL_COUNT, ControlClass::kStatic, "", 7, 145, 286, 8, kValue},
    {IDC_HISTORICAL_DETAIL, ControlClass::kStatic, "", 7, 156, 286, 44, kValue},
    {IDC_HISTORICAL_USER, ControlClass::kStatic, "", 7, 203, 286, 16, kValue},
    {IDC_HISTORICAL_CREDITS, ControlClass::kStatic,
     "地点の出典: 『日本歴史地名大系』施設・地点項目データセット、同 地名項目データセット"
     "（CODH作成、CC BY 4.0）",
     7, 221, 286, 16, kValue},
    {IDOK, ControlClass::kButton, "OK", 187, 240, 50, 16, kDefPush},
    {IDCANCEL, ControlClass::kButton, "ｷｬﾝｾﾙ", 243, 240, 50, 16, kPush},
};

// The year-chart window: the choices above, the chart filling the rest.
constexpr DlgItem kYearChartItems[] = {
    {IDC_STATIC, ControlClass::kStatic, "明六つ・暮六つ", 7, 10, 54, 8, kLabel},
    {IDC_YEAR_CHART_DAWN, ControlClass::kComboBox, "", 64, 7, 210, 80, kListCombo},
    {IDC_STATIC, ControlClass::kStatic, "時計", 7, 28, 54, 8, kLabel},
    {IDC_YEAR_CHART_STEPS, ControlClass::kComboBox, "", 64, 25, 90, 50, kListCombo},
    {IDC_STATIC, ControlClass::kStatic, "太陽", 162, 28, 20, 8, kLabel},
    {IDC_YEAR_CHART_SUN, ControlClass::kComboBox, "", 184, 25, 110, 50, kListCombo},
    {IDC_YEAR_CHART_MOON, ControlClass::kButton, "月の出・月の入", 7, 44, 80, 12, kCheck},
    {IDC_STATIC, ControlClass::kStatic, "大きさ", 96, 46, 26, 8, kLabel},
    {IDC_YEAR_CHART_SIZE, ControlClass::kComboBox, "", 124, 43, 70, 60, kListCombo},
    {IDC_YEAR_CHART_SAVE, ControlClass::kButton, "画像として保存...", 198, 42, 80, 16, kPush},
    {IDCANCEL, ControlClass::kButton, "閉じる", 282, 42, 41, 16, kPush},
    {IDC_YEAR_CHART_READOUT, ControlClass::kStatic, "", 7, 62, 316, 8, kLabel},
};

constexpr Style kSizable = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX |
                           WS_MAXIMIZEBOX | DS_SETFONT;
static_assert(kSizable == 0x80CF0040);

} // namespace

const DlgTemplate kEraDateDialog = {
    IDD_ERA_DATE,  "和暦・旧暦で日付を指定", kPopup, 0, 0, 0, 320, 233, 9, "ＭＳ Ｐゴシック",
    kEraDateItems,
};

const DlgTemplate kHourNameDialog = {
    IDD_HOUR_NAME,     "刻の名から時刻を求める", kPopup, 0, 0, 0, 320, 182, 9,
    "ＭＳ Ｐゴシック", kHourNameItems,
};

const DlgTemplate kHistoricalPlacesDialog = {
    IDD_HISTORICAL_PLACES, "歴史地名から選ぶ",     kPopup, 0, 0, 0, 300, 262, 9,
    "ＭＳ Ｐゴシック",     kHistoricalPlacesItems,
};

const DlgTemplate kYearChartDialog = {
    IDD_YEAR_CHART,    "一年の刻の図",  kSizable, 0, 0, 0, 330, 300, 9,
    "ＭＳ Ｐゴシック", kYearChartItems,
};

const DlgTemplate kAboutDialog = {
    IDD_ABOUTBOX,      "ﾊﾞｰｼﾞｮﾝ情報 tolmeri", kPopup, 0, 0, 0, 217, 55, 9,
    "ＭＳ Ｐゴシック", kAboutItems,
};

const DlgTemplate kLocationDialog = {
    IDD_LOCATION_LIST, "場所をリストから選ぶ", kPopup, 0, 0, 0, 149, 159, 9,
    "ＭＳ Ｐゴシック", kLocationItems,
};

const DlgTemplate kMainDialog = {
    IDD_TOLMERI_DIALOG,
    "刻しらべ (tolmeri) Ver." TOLMERI_VERSION_SHORT,
    kMainStyle,
    WS_EX_APPWINDOW,
    0,
    0,
    354,
    309,
    9,
    "ＭＳ Ｐゴシック",
    kMainItems,
};

const char* LoadStringResource(int id) {
    switch (id) {
    case IDS_ABOUTBOX:
        return "ﾊﾞｰｼﾞｮﾝ情報 (tolmeri) (&A)...";
    case IDS_ERA_DATE:
        return "和暦・旧暦で日付を指定(&W)...";
    case IDS_YEAR_CHART:
        return "一年の刻の図(&Y)...";
    case IDS_HOUR_NAME:
        return "刻の名から時刻を求める(&T)...";
    case IDS_HISTORICAL_PLACES:
        return "歴史地名から選ぶ(&H)...";
    default:
        return "";
    }
}

} // namespace res
