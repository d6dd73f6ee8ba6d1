// The "Sorvane Configuration" property sheet and its four pages.
#pragma once

#include <windows.h>

#include "config/gesture.h"
#include "config/hotkeys.h"

// Opens the sheet modally over the main window; returns when OK or Cancel closes it.
void ShowConfigurationSheet(HWND owner);

// What the pages show and edit while the sheet is open: a copy of the live settings taken when
// the sheet opens, into which the Keyboard Shortcuts and Mouse Gesture pages read the registry
// when they open. The live settings change only when OK stores a page, never on Cancel.
// startAtSignIn is whether the Run value names this executable when the sheet opens; language is the
// Language list's choice: 0 for "System default", else the place in kShippedLanguages plus one.
struct SheetFields {
    HotkeyCombinations hotkeys;
    GestureChoice gesture;
    bool restoreMinimized;
    bool groupByApps;
    bool startAtSignIn;
    bool switchOnRelease;
    bool thisMonitorOnly;
    int language;
};
SheetFields SheetFieldsFromSettings();

// The page procedures. Each page's PROPSHEETPAGEA::lParam points at the sheet's SheetFields,
// which outlive the page.
INT_PTR CALLBACK ShortcutsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK GesturePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ExclusionPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AdvancedPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// Writes the pair shown in a modifier box and a key box under the two value names. A box that
// shows no selection leaves its stored value alone (a hand-set Shift modifier is not lost).
void StoreShortcutPair(HWND page, HKEY key, int modifierBox, const wchar_t* modifierValue, int keyBox,
                       const wchar_t* keyValue);

// Draws the whole primary screen, as it is now, shrunk into the item's rectangle.
void DrawScreenPreview(const DRAWITEMSTRUCT* item);

// Adds a path to the exclusion page's list unless it is listed already in any letter case, in
// which case the user is told. Returns whether it was added.
bool AddExclusionPath(HWND page, const wchar_t* path);
