// res: identifiers of the program's resources: dialog templates, their
// controls, strings and the icon.
#pragma once

// Dialog templates, strings and the icon.
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDS_ABOUTBOX = 101;
inline constexpr int IDD_TOLMERI_DIALOG = 102;
inline constexpr int IDS_ERA_DATE = 103;
inline constexpr int IDS_YEAR_CHART = 104;
inline constexpr int IDS_HOUR_NAME = 105;
inline constexpr int IDS_HISTORICAL_PLACES = 106;
inline constexpr int IDR_MAINFRAME = 128;
inline constexpr int IDD_LOCATION_LIST = 129;
inline constexpr int IDD_ERA_DATE = 130;
inline constexpr int IDD_YEAR_CHART = 131;
inline constexpr int IDD_HOUR_NAME = 132;
inline constexpr int IDD_HISTORICAL_PLACES = 133;

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

// Controls of the era-date dialog.
inline constexpr int IDC_ERA_NOW_DATE = 1050;
inline constexpr int IDC_ERA_NOW_WAREKI = 1051;
inline constexpr int IDC_ERA_NOW_KYUREKI = 1052;
inline constexpr int IDC_ERA_NOW_SEKKI = 1053;
inline constexpr int IDC_ERA_NAME = 1054;
inline constexpr int IDC_ERA_YEAR = 1055;
inline constexpr int IDC_ERA_LEAP = 1056;
inline constexpr int IDC_ERA_MONTH = 1057;
inline constexpr int IDC_ERA_DAY = 1058;
inline constexpr int IDC_ERA_RESULT = 1059;
inline constexpr int IDC_ERA_NOW_KANSHI = 1063;
inline constexpr int IDC_ERA_MOON = 1064;
inline constexpr int IDC_ERA_DAY_START = 1095;

// Controls of the year-chart window.
inline constexpr int IDC_YEAR_CHART_DAWN = 1060;
inline constexpr int IDC_YEAR_CHART_STEPS = 1061;
inline constexpr int IDC_YEAR_CHART_SAVE = 1062;
inline constexpr int IDC_YEAR_CHART_READOUT = 1070;
inline constexpr int IDC_YEAR_CHART_SUN = 1064;
inline constexpr int IDC_YEAR_CHART_MOON = 1065;
inline constexpr int IDC_YEAR_CHART_SIZE = 1091;

// Controls of the hour-name dialog.
inline constexpr int IDC_HOUR_PLACE = 1070;
inline constexpr int IDC_HOUR_DATE = 1071;
inline constexpr int IDC_HOUR_EXPRESSION = 1072;
inline constexpr int IDC_HOUR_RESULT = 1073;
inline constexpr int IDC_HOUR_DATE_READING = 1092;
inline constexpr int IDC_HOUR_DAWN = 1093;
inline constexpr int IDC_HOUR_DAY_START = 1094;

// Controls of the historical places' list.
inline constexpr int IDC_HISTORICAL_SEARCH = 1080;
inline constexpr int IDC_HISTORICAL_KIND = 1081;
inline constexpr int IDC_HISTORICAL_LIST = 1082;
inline constexpr int IDC_HISTORICAL_COUNT = 1083;
inline constexpr int IDC_HISTORICAL_DETAIL = 1084;
inline constexpr int IDC_HISTORICAL_USER = 1085;
inline constexpr int IDC_HISTORICAL_CREDITS = 1086;

// Command ids of the window menu's own items (multiples of 16, below the
// system's 0xF000).
inline constexpr unsigned IDM_ABOUTBOX = 0x0010;
inline constexpr unsigned IDM_ERA_DATE = 0x0020;
inline constexpr unsigned IDM_YEAR_CHART = 0x0030;
inline constexpr unsigned IDM_HOUR_NAME = 0x0040;
inline constexpr unsigned IDM_HISTORICAL_PLACES = 0x0050;
