#include "dialogs.h"

#include "resource.h"
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
    {IDC_SET_TODAY, ControlClass::Button, "日付を今日に設定", 15, 160, 95, 30, kPush},
    {IDC_CHOOSE_LOCATION, ControlClass::Button, "場所をリストから選ぶ", 15, 195, 95, 30, kPush},
    {IDC_CALCULATE, ControlClass::Button, "計算実行", 115, 15, 50, 210, kPush},
    {IDC_DATE_YEAR, ControlClass::Edit, "", 25, 25, 20, 14, kNumber},
    {IDC_DATE_MONTH, ControlClass::Edit, "", 55, 25, 15, 14, kNumber},
    {IDC_DATE_DAY, ControlClass::Edit, "", 79, 25, 15, 14, kNumber},
    {IDC_LOCATION_NAME, ControlClass::Edit, "", 45, 70, 50, 14, kText},
    {IDC_LATITUDE_DEGREES, ControlClass::Edit, "", 45, 90, 20, 14, kNumber},
    {IDC_LATITUDE_MINUTES, ControlClass::Edit, "", 79, 90, 15, 14, kNumber},
    {IDC_LONGITUDE_DEGREES, ControlClass::Edit, "", 45, 110, 20, 14, kNumber},
    {IDC_LONGITUDE_MINUTES, ControlClass::Edit, "", 79, 110, 15, 14, kNumber},
    {IDC_TIME_DIFFERENCE, ControlClass::Edit, "", 70, 130, 15, 14, kNumber},
    {IDOK, ControlClass::Button, "保存終了", 85, 230, 80, 30, kDefPush},
    {IDCANCEL, ControlClass::Button, "破棄終了", 85, 265, 80, 30, kPush},
    {IDC_HELP_BUTTON, ControlClass::Button, "ヘルプ", 15, 230, 65, 65, kPush},
    {IDC_STATIC, ControlClass::Static, "緯度", 20, 95, 15, 8, kLabel},
    {IDC_STATIC, ControlClass::Static, "度", 65, 95, 10, 10, kLabel},
    {IDC_STATIC, ControlClass::Static, "年", 45, 30, 10, 10, kLabel},
    {IDC_STATIC, ControlClass::Static, "分", 94, 95, 8, 8, kLabel},
    {IDC_STATIC, ControlClass::Static, "分", 94, 115, 10, 10, kLabel},
    {IDC_STATIC, ControlClass::Static, "度", 65, 115, 10, 10, kLabel},
    {IDC_STATIC, ControlClass::Static, "月", 70, 30, 10, 10, kLabel},
    {IDC_STATIC, ControlClass::Static, "日", 95, 30, 8, 8, kLabel},
    {IDC_STATIC, ControlClass::Static, "時間", 90, 135, 15, 8, kLabel},
    {IDC_STATIC, ControlClass::Static, "世界時との時差", 20, 135, 47, 8, kLabel},
    {IDC_STATIC, ControlClass::Button, "日付", 15, 10, 95, 40, kGroup},
    {IDC_STATIC, ControlClass::Static, "経度", 20, 115, 15, 8, kLabel},
    {IDC_STATIC, ControlClass::Button, "場所", 15, 55, 95, 100, kGroup},
    {IDC_STATIC, ControlClass::Static, "都市名", 20, 75, 22, 8, kLabel},
};

constexpr Style kPopup = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
constexpr Style kMainStyle = kPopup | WS_VISIBLE | WS_MINIMIZEBOX;
static_assert(kPopup == 0x80C800C0 && kMainStyle == 0x90CA00C0);

constexpr DlgItem kLocationItems[] = {
    {IDOK, ControlClass::Button, "OK", 10, 105, 80, 44, kDefPush},
    {IDCANCEL, ControlClass::Button, "ｷｬﾝｾﾙ", 95, 105, 40, 43, kPush},
    {IDC_LOCATION_LIST, ControlClass::ListBox, "", 10, 20, 128, 75,
     WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_USETABSTOPS |
         LBS_NOINTEGRALHEIGHT | LBS_DISABLENOSCROLL},
    {IDC_STATIC, ControlClass::Static, "場所", 10, 10, 15, 8, kLabel},
    {IDC_STATIC, ControlClass::Static, "緯度", 45, 10, 15, 8, kLabel},
    {IDC_STATIC, ControlClass::Static, "経度", 80, 10, 15, 8, kLabel},
    {IDC_STATIC, ControlClass::Static, "時差", 105, 10, 15, 8, kLabel},
};
static_assert(kLocationItems[2].style == 0x50A11181);

constexpr DlgItem kAboutItems[] = {
    {IDC_STATIC, ControlClass::Static, "128", 11, 17, 20, 20, WS_CHILD | WS_VISIBLE | SS_ICON},
    {IDC_STATIC, ControlClass::Static, "刻しらべ ( tolmeri ) Version " TOLMERI_VERSION_SHORT, 40,
     10, 119, 8, WS_CHILD | WS_VISIBLE | WS_GROUP | SS_NOPREFIX | SS_LEFT},
    {IDC_STATIC, ControlClass::Static, "日付と場所から不定時法の刻を求めます", 40, 25, 128, 8,
     kLabel},
    {IDOK, ControlClass::Button, "OK", 178, 7, 32, 14, kDefPush | WS_GROUP},
};
static_assert(kAboutItems[0].style == 0x50000003 && kAboutItems[1].style == 0x50020080 &&
              kAboutItems[3].style == 0x50030001);

} // namespace

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
    default:
        return "";
    }
}

} // namespace res
