// Resource identifiers. The numbers are fixed: other programs and stored settings never see them,
// but the program's code, its dialogs and its tests all rely on these exact values.
#pragma once

// Strings
#define IDS_APP_TITLE 103    // "Sorvane"
#define IDS_WELCOME_TIP 104  // balloon shown until the user clicks it once
#define IDS_RUNNING_TIP 105  // balloon answering a second start
#define IDS_CLASS_NAME 109   // "SORVANE"

// Icons
#define IDI_SORVANE 107  // program icon, 16/32/48
#define IDI_SMALL 108    // small class icon
#define IDI_LOGO 147     // 150 x 34 logo drawn on the Overview

// Menus
#define IDR_TRAY_MENU 109

// Dialogs
#define IDD_ABOUT 103
#define IDD_STARTING 132
#define IDC_ABOUT_VERSION 1001

// Menu commands
#define IDM_ABOUT 104
#define IDM_EXIT 105
#define IDM_HELP 32780
#define IDM_SWITCH_RECENT 32830
#define IDM_SWITCH_OTHERS 32831
#define IDM_SHOW_LIST 32834
#define IDM_CONFIGURE 32843

#define SORVANE_VERSION_TEXT "1.2.8"
#define SORVANE_VERSION_NUMBERS 1, 2, 8, 0
