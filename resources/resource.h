// Resource identifiers. The numbers are fixed: other programs and stored settings never see them,
// but the program's code, its dialogs and its tests all rely on these exact values.
#pragma once

// Strings
#define IDS_APP_TITLE 103    // "Sorvane"
#define IDS_WELCOME_TIP 104  // balloon shown until the user clicks it once
#define IDS_RUNNING_TIP 105  // balloon answering a second start
#define IDS_CLASS_NAME 109   // the main window's class name, SORVANE_WINDOW_CLASS
// The main window's class: how the hook library, the installer and a second copy find it.
#define SORVANE_WINDOW_CLASS "SORVANE"

// Icons
#define IDI_SORVANE 107  // program icon, 16/32/48
#define IDI_SMALL 108    // small class icon
#define IDI_LOGO 147     // 150 x 34 logo drawn on the Overview
#define IDI_SORVANE_DARK 148  // program icon drawn dark, 16/32/48: the tray icon on a light taskbar

// Menus
#define IDR_TRAY_MENU 109

// Dialogs
#define IDD_ABOUT 103
#define IDD_STARTING 132
#define IDC_ABOUT_VERSION 1001

// Configuration pages
#define IDD_PAGE_SHORTCUTS 134
#define IDD_PAGE_GESTURE 135
#define IDD_PAGE_EXCLUSION 107
#define IDD_PAGE_ADVANCED 106
#define IDC_EXCLUSION_LIST 1004
#define IDC_EXCLUSION_ADD 1005
#define IDC_EXCLUSION_REMOVE 1006
#define IDC_GESTURE_CHECK 1007
#define IDC_CORNER_1 1008
#define IDC_CORNER_2 1009
#define IDC_CORNER_3 1010
#define IDC_CORNER_4 1011
#define IDC_GESTURE_PREVIEW 1012
#define IDC_SHOW_MOD 1013
#define IDC_SHOW_KEY_BOX 1014
#define IDC_RECENT_MOD 1015
#define IDC_RECENT_KEY_BOX 1016
#define IDC_OTHERS_MOD 1017
#define IDC_OTHERS_KEY_BOX 1018
#define IDC_SHORTCUTS_DEFAULT 1019
#define IDC_RESTORE_MINIMIZED 1020
#define IDC_GROUP_BY_APPS 1021
#define IDC_START_AT_SIGN_IN 1022
#define IDC_SWITCH_ON_RELEASE 1023
#define IDC_APP_MOD 1024
#define IDC_APP_KEY_BOX 1025
#define IDC_THIS_MONITOR_ONLY 1026

// Menu commands
#define IDM_ABOUT 104
#define IDM_EXIT 105
#define IDM_HELP 32780
#define IDM_SWITCH_RECENT 32830
#define IDM_SWITCH_OTHERS 32831
#define IDM_SHOW_LIST 32834
#define IDM_CONFIGURE 32843
