// Resource, control and command identifiers of Brewbell. Shared by the C++ code and brewbell.rc,
// so it holds preprocessor definitions only.
#pragma once

// clang-format off

// Dialogs
#define IDD_MAIN                102
#define IDD_ABOUT               133
#define IDD_MESSAGES            146
#define IDD_TEALIST             154
#define IDD_REMINDER            164
#define IDD_INVITATION          167
#define IDD_QUICKSET            173

// Menus
#define IDR_MAINMENU            132
#define IDR_TRAYMENU            144

// Icons: 128 while a countdown runs and for the window, 151 while idle
#define IDI_BREWBELL            128
#define IDI_TRAY_IDLE           151

// Bitmaps
#define IDB_ABOUT_NAME          140
#define IDB_DAY                 159
#define IDB_WINTER              160
#define IDB_SUMMER              161
#define IDB_NIGHT               162
#define IDB_PLAIN               166
#define IDB_LAMP_STOPPED        169
#define IDB_LAMP_BUSY           170
#define IDB_LAMP_RUNNING        171

// Sounds and animation
#define IDW_FINISHED            145
#define IDW_REMINDER            165
#define IDA_SENDING             172

// Main dialog (102)
#define IDC_BUTTON_MIN          1005
#define IDC_BUTTON_SEC          1006
#define IDC_BUTTON_START        1007
#define IDC_BUTTON_RESET        1013
#define IDC_TIME_DISPLAY        1015
#define IDC_BACKGROUND          1018
#define IDC_HOUR_DISPLAY        1063
#define IDC_STATUS_DATE         1066
#define IDC_STATUS_VERSION      1067
#define IDC_STATUS_TIME         1068

// About dialog (133)
#define IDC_LINK_MAIL           1019
#define IDC_LINK_WEB            1020
#define IDC_LINK_SOURCE         1021

// Messages and sounds dialog (146)
#define IDC_ALARM_MESSAGE       1024
#define IDC_ALARM_SOUND         1025
#define IDC_ALARM_BROWSE        1026
#define IDC_REMIND_MESSAGE      1027
#define IDC_REMIND_SOUND        1028
#define IDC_REMIND_BROWSE       1029

// Preset list dialog (154)
#define IDC_TEA_NAME            1027
#define IDC_TEA_MIN             1037
#define IDC_TEA_DELETE          1047
#define IDC_TEA_CHANGE          1048
#define IDC_TEA_CANCEL          1049
#define IDC_TEA_SEC             1050
#define IDC_TEA_DISCARD         1051
#define IDC_TEA_SAVE            1052
#define IDC_TEA_LIST            1061

// Reminder dialog (164)
#define IDC_REM_APPLY           1048
#define IDC_REM_DAILY_TIME      1069
#define IDC_REM_DAILY           1070
#define IDC_REM_BETWEEN         1071
#define IDC_REM_FROM            1072
#define IDC_REM_HOURS           1073
#define IDC_REM_TO              1074
#define IDC_REM_HOURS_SPIN      1078
#define IDC_REM_MONDAY          1079   // ... 1085 Sunday
#define IDC_REM_SUNDAY          1085
#define IDC_REM_ALL_DAYS        1086

// Invitation dialog (167)
#define IDC_INV_START           3
#define IDC_INV_STOP            4
#define IDC_INV_CLEAR           5
#define IDC_INV_RECIPIENT       1087
#define IDC_INV_MESSAGE         1088
#define IDC_INV_MODE_MEMBER     1089
#define IDC_INV_MODE_DOMAIN     1090
#define IDC_INV_MODE_OWN        1091
#define IDC_INV_MODE_USERS      1092
#define IDC_INV_COUNT           1093
#define IDC_INV_SEND            1094
#define IDC_INV_LAMP            1095
#define IDC_INV_STATUS          1096
#define IDC_INV_ANIMATION       1097
#define IDC_INV_MAXCHARS        1098
#define IDC_INV_SAVE_INPUTS     1105
#define IDC_INV_BROWSE          1106

// Quick setting dialog (173)
#define IDC_QUICK_MIN_LIST      1110
#define IDC_QUICK_SEC_LIST      1111
#define IDC_QUICK_MIN_SLIDER    1112
#define IDC_QUICK_SEC_SLIDER    1113
#define IDC_QUICK_START         3      // "&Starten"; ends the dialog with 10

// Commands: presets 40000 + slot
#define ID_PRESET_FIRST         40000
#define ID_PRESET_LAST          40009
#define ID_LAYOUT_NIGHT         40011
#define ID_LAYOUT_DAY           40012
#define ID_LAYOUT_WINTER        40013
#define ID_TRAY_RESTORE         40014
#define ID_TRAY_EXIT            40015
#define ID_OPT_TRAY             40016
#define ID_OPT_SOUND            40017
#define ID_MESSAGES             40018
#define ID_OPT_MINIMIZE         40019
#define ID_TRAY_STARTSTOP       40020
#define ID_ABOUT                40021
#define ID_TEALIST              40022
#define ID_OPT_MINSTART         40028
#define ID_LAYOUT_SUMMER        40029
#define ID_LAYOUT_AUTO          40030
#define ID_README               40031
#define ID_OPT_TOPMOST          40032
#define ID_OPT_REMIND           40033
#define ID_REMINDER             40034
#define ID_OPT_SUSPEND          40035
#define ID_LAYOUT_PLAIN         40036
#define ID_INVITATION           40038
#define ID_QUICKSET             40041
#define ID_OPT_NOCLOSE          40042
#define ID_TRAY_RESET           40043
#define ID_TRAY_QUICKSET        40045
#define ID_OPT_AUTORESET        40046

// Standard help command of the application object
#define ID_HELP_DEFAULT         57670

// Private window messages (fixed numbers shared with the notification area and the workers)
#define WM_TRAY_CALLBACK        0x401
#define WM_COUNTDOWN_FINISHED   0x402
#define WM_REMINDER_DUE         0x403
