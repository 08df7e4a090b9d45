// res: identifiers of the program's resources: dialog templates, their
// controls, strings and the icon.
#pragma once

// Dialog templates, strings and the icon.
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDS_ABOUTBOX = 101;
inline constexpr int IDD_TOLMERI_DIALOG = 102;
inline constexpr int IDR_MAINFRAME = 128;
inline constexpr int IDD_LOCATION_LIST = 129;

// Controls of the main dialog.
inline constexpr int IDC_LATITUDE_DEGREES = 1000;
inline constexpr int IDC_LATITUDE_MINUTES = 1001;
inline constexpr int IDC_LONGITUDE_DEGREES = 1002;
inline constexpr int IDC_LONGITUDE_MINUTES = 1003;
inline constexpr int IDC_DATE_YEAR = 1004;
inline constexpr int IDC_DATE_MONTH = 1005;
inline constexpr int IDC_DATE_DAY = 1006;
inline constexpr int IDC_CALCULATE = 1031;
inline constexpr int IDC_TIME_DIFFERENCE = 1032;
inline constexpr int IDC_CHOOSE_LOCATION = 1037;
inline constexpr int IDC_LOCATION_LIST = 1038;
inline constexpr int IDC_LOCATION_NAME = 1040;
inline constexpr int IDC_SET_TODAY = 1042;
inline constexpr int IDC_HELP_BUTTON = 1044;

// Command id of the window menu's About item.
inline constexpr unsigned IDM_ABOUTBOX = 0x0010;
