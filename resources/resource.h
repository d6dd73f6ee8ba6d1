// Resource identifiers. The numbers are fixed: other programs and stored settings never see them,
// but the program's code, its dialogs and its tests all rely on these exact values.
#pragma once

// Strings that are the same in every language (resources/sorvane.rc)
#define IDS_APP_TITLE 103    // "Sorvane"
#define IDS_CLASS_NAME 109   // the main window's class name, SORVANE_WINDOW_CLASS
// 112 to 122: each language Sorvane speaks by its own name, in the order of kShippedLanguages
// (common/language.h).
#define IDS_LANGUAGE_NAMES 112
// The main window's class: how the hook library, the installer and a second copy find it.
#define SORVANE_WINDOW_CLASS "SORVANE"

// Strings of each language (resources/lang/*.rc), in blocks of their own: a language's block of
// strings is found whole or not at all, so none of these shares a block (id / 16) with the two
// above. Formats keep their %-placeholders in number, order and type in every language.
#define IDS_WELCOME_TIP 200         // balloon shown until the user clicks it once
#define IDS_RUNNING_TIP 201         // balloon answering a second start
#define IDS_CLOSE_PROMPT 202        // a closed window did not go
#define IDS_CLOSE_PROMPT_TITLE 203
#define IDS_HELP_NOT_FOUND 204      // %ls: the help page's expected path
#define IDS_TIP_CLOSE 205           // the InfoTip over a tile's close square
#define IDS_TIP_NO_INFO 206
#define IDS_INFO_FILE 207           // %ls: the program's file name
#define IDS_INFO_UNDER_A_MINUTE 208
#define IDS_INFO_ONE_MINUTE 209
#define IDS_INFO_MINUTES 210        // %ls: 2 to 59
#define IDS_INFO_HOURS_MINUTE 211   // %ls hours, %ls minutes (0 or 1)
#define IDS_INFO_HOUR_MINUTES 212   // %ls (1) hour, %ls minutes (2 to 59)
#define IDS_INFO_HOURS_MINUTES 213  // %ls hours (2 or more), %ls minutes (2 to 59)
#define IDS_INFO_VIRTUAL_MEMORY 214 // %ls: kilobytes
#define IDS_INFO_TOTAL_MEMORY 215   // %ls: kilobytes
#define IDS_OVERVIEW_HELP 216       // the Overview's help line
#define IDS_OVERVIEW_NOTICE 217     // the Overview's footer notice
#define IDS_OVERVIEW_CANCEL 218     // the Overview's buttons
#define IDS_OVERVIEW_REFRESH 219
#define IDS_NO_ACTIVE_WINDOW 220    // an Overview with nothing to show
#define IDS_NO_ACTIVE_WINDOW_TITLE 221
#define IDS_INCOMPLETE_RESPONSE 222 // over a snapshot the window did not finish
#define IDS_FIND 223                // %ls: the text typed so far
#define IDS_READER_LIST 224         // the screen readers' name of the Overview's list
#define IDS_READER_SWITCH 225       // their default action on a tile
#define IDS_SHEET_CAPTION 226       // the configuration sheet's title
#define IDS_SELECT_EXECUTABLE 227   // the file dialog of the Exclusion List page
#define IDS_FILTER_EXECUTABLES 228
#define IDS_FILTER_ALL_FILES 229
#define IDS_NOTHING_SELECTED 230
#define IDS_NOTHING_SELECTED_TITLE 231
#define IDS_ALREADY_LISTED 232      // %ls: the file's path
#define IDS_ALREADY_LISTED_TITLE 233
#define IDS_HOTKEY_CONFLICT 234     // %ls modifier, %ls key
#define IDS_NONE_CHOICE 235         // "(None)": no modifier, or no key (at most 9 characters)
#define IDS_MODIFIER_ALT 236        // modifier and key names: at most 9 characters each
#define IDS_MODIFIER_CTRL 237
#define IDS_MODIFIER_SHIFT 238
#define IDS_MODIFIER_WIN 239
#define IDS_KEY_TAB 240
#define IDS_KEY_ESC 241
#define IDS_LANGUAGE_SYSTEM 242     // the Language list's first choice
#define IDS_ABOUT_VERSION 243       // %ls: the version number

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
#define IDC_LANGUAGE 1027

// Menu commands
#define IDM_ABOUT 104
#define IDM_EXIT 105
#define IDM_HELP 32780
#define IDM_SWITCH_RECENT 32830
#define IDM_SWITCH_OTHERS 32831
#define IDM_SHOW_LIST 32834
#define IDM_CONFIGURE 32843
