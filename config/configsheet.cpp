#include "config/configsheet.h"

#include <commctrl.h>
#include <commdlg.h>
#include <prsht.h>

#include "app/app.h"
#include "common/owners.h"
#include "common/text.h"
#include "config/gesture.h"
#include "config/hotkeys.h"
#include "config/settings.h"
#include "resources/resource.h"

namespace {

constexpr size_t kNameBuffer = 10;
constexpr size_t kMessageBuffer = 360;
constexpr size_t kPathCapacity = 261;
constexpr int kPreviewWidth = 197;
constexpr int kPreviewHeight = 148;

struct ShortcutRow {
    int modifierBox;
    const char* modifierValue;
    int keyBox;
    const char* keyValue;
    DWORD Settings::*modifiers;
    DWORD Settings::*key;
};
constexpr ShortcutRow kShortcutRows[] = {
    {IDC_SHOW_MOD, "ShowMod", IDC_SHOW_KEY_BOX, "ShowKey", &Settings::showModifiers, &Settings::showKey},
    {IDC_RECENT_MOD, "RecentMod", IDC_RECENT_KEY_BOX, "RecentKey", &Settings::recentModifiers, &Settings::recentKey},
    {IDC_OTHERS_MOD, "OthersMod", IDC_OTHERS_KEY_BOX, "OthersKey", &Settings::othersModifiers, &Settings::othersKey},
};

// Answers a property-sheet notification from a page's dialog procedure.
INT_PTR Answer(HWND page, LONG_PTR result)
{
    SetWindowLongPtrA(page, DWLP_MSGRESULT, result);
    return TRUE;
}

void SelectShortcuts(HWND page)
{
    for (const ShortcutRow& row : kShortcutRows) {
        char name[kNameBuffer];
        ModifierNameFromFlags(settings.*row.modifiers, name, sizeof name);
        SelectComboText(GetDlgItem(page, row.modifierBox), name);
        KeyNameFromCode(settings.*row.key, name, sizeof name);
        SelectComboText(GetDlgItem(page, row.keyBox), name);
    }
}

void StoreAllShortcuts(HWND page)
{
    UniqueHkey key = OpenSettingsForWrite();
    if (!key) return;
    for (const ShortcutRow& row : kShortcutRows)
        StoreShortcutPair(page, key.get(), row.modifierBox, row.modifierValue, row.keyBox, row.keyValue);
}

LONG_PTR ApplyShortcuts(HWND page)
{
    StoreAllShortcuts(page);
    DWORD remembered[3][2];
    for (size_t i = 0; i < 3; ++i) {
        remembered[i][0] = settings.*kShortcutRows[i].modifiers;
        remembered[i][1] = settings.*kShortcutRows[i].key;
    }
    LoadHotkeys(nullptr);
    if (settings.showRegistered && settings.recentRegistered && settings.othersRegistered) return PSNRET_NOERROR;
    // A refused combination: show and store the earlier values again, and keep the sheet open.
    for (size_t i = 0; i < 3; ++i) {
        settings.*kShortcutRows[i].modifiers = remembered[i][0];
        settings.*kShortcutRows[i].key = remembered[i][1];
    }
    SelectShortcuts(page);
    StoreAllShortcuts(page);
    LoadHotkeys(nullptr);
    return PSNRET_INVALID;
}

void ShowCorner(HWND page, bool enabled, int corner)
{
    for (int button = IDC_CORNER_1; button <= IDC_CORNER_4; ++button) {
        const int buttonCorner = button - IDC_CORNER_1 + 1;
        const bool chosen = enabled && (buttonCorner == corner || (button == IDC_CORNER_4 && (corner < 1 || corner > 3)));
        CheckDlgButton(page, button, chosen ? BST_CHECKED : BST_UNCHECKED);
    }
}

void DrawScreenPreview(const DRAWITEMSTRUCT* item)
{
    HDC screen = GetDC(nullptr);
    SetStretchBltMode(item->hDC, HALFTONE);
    SetBrushOrgEx(item->hDC, 0, 0, nullptr);
    StretchBlt(item->hDC, 0, 0, kPreviewWidth, kPreviewHeight, screen, 0, 0, GetSystemMetrics(SM_CXSCREEN),
               GetSystemMetrics(SM_CYSCREEN), SRCCOPY);
    ReleaseDC(nullptr, screen);
}

void ChooseExecutable(HWND page)
{
    char path[kPathCapacity] = {};
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = page;
    dialog.lpstrFilter = "Executable File (*.exe)\0*.EXE\0All File (*.*)\0*.*\0";
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof path;
    dialog.lpstrInitialDir = "C:\\Program Files\\";
    dialog.lpstrTitle = "Select Executable File";
    dialog.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_DONTADDTORECENT;
    if (GetOpenFileNameA(&dialog)) AddExclusionPath(page, path);
}

void RemoveSelectedExclusion(HWND page)
{
    HWND list = GetDlgItem(page, IDC_EXCLUSION_LIST);
    const LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR) {
        MessageBoxA(GetForegroundWindow(), "Please select an item to remove from the exclusion list.",
                    "No Selected Item", MB_OK | MB_ICONWARNING);
        return;
    }
    SendMessageA(list, LB_DELETESTRING, selected, 0);
}

}  // namespace

void StoreShortcutPair(HWND page, HKEY key, int modifierBox, const char* modifierValue, int keyBox,
                       const char* keyValue)
{
    char text[kNameBuffer] = {};
    const LRESULT modifier = SendDlgItemMessageA(page, modifierBox, CB_GETCURSEL, 0, 0);
    if (modifier != CB_ERR && SendDlgItemMessageA(page, modifierBox, CB_GETLBTEXTLEN, modifier, 0) < static_cast<LRESULT>(sizeof text)) {
        SendDlgItemMessageA(page, modifierBox, CB_GETLBTEXT, modifier, reinterpret_cast<LPARAM>(text));
        WriteDwordValue(key, modifierValue, ModifierFlagsFromName(text));
    }
    const LRESULT keyIndex = SendDlgItemMessageA(page, keyBox, CB_GETCURSEL, 0, 0);
    if (keyIndex != CB_ERR && SendDlgItemMessageA(page, keyBox, CB_GETLBTEXTLEN, keyIndex, 0) < static_cast<LRESULT>(sizeof text)) {
        SendDlgItemMessageA(page, keyBox, CB_GETLBTEXT, keyIndex, reinterpret_cast<LPARAM>(text));
        WriteDwordValue(key, keyValue, KeyCodeFromName(text));
    }
}

bool AddExclusionPath(HWND page, const char* path)
{
    HWND list = GetDlgItem(page, IDC_EXCLUSION_LIST);
    // LB_FINDSTRINGEXACT ignores letter case, as file names do.
    if (SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(path)) == LB_ERR) {
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path));
        return true;
    }
    char text[kMessageBuffer];
    FormatBounded(text, sizeof text, "The selected file has already existed in the exclusion list.\n(%s)", path);
    MessageBoxA(page, text, "File Exists", MB_OK | MB_ICONERROR);
    return false;
}

INT_PTR CALLBACK ShortcutsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        for (const ShortcutRow& row : kShortcutRows) FillShortcutCombos(page, row.modifierBox, row.keyBox);
        LoadHotkeys(page);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_SHORTCUTS_DEFAULT) {
            settings.showModifiers = kDefaultShowModifiers;
            settings.showKey = kDefaultShowKey;
            settings.recentModifiers = kDefaultRecentModifiers;
            settings.recentKey = kDefaultRecentKey;
            settings.othersModifiers = kDefaultOthersModifiers;
            settings.othersKey = kDefaultOthersKey;
            SelectShortcuts(page);
        }
        return TRUE;
    case WM_NOTIFY:
        switch (reinterpret_cast<NMHDR*>(lParam)->code) {
        case PSN_KILLACTIVE:
            return Answer(page, FALSE);
        case PSN_APPLY:
            return Answer(page, ApplyShortcuts(page));
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK GesturePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        LoadMouseGesture(page);
        return TRUE;
    case WM_COMMAND: {
        const int control = LOWORD(wParam);
        if (control == IDC_GESTURE_CHECK) {
            ShowCorner(page, IsDlgButtonChecked(page, IDC_GESTURE_CHECK) == BST_CHECKED, settings.gestureCorner);
        } else if (control >= IDC_CORNER_1 && control <= IDC_CORNER_4) {
            settings.gestureCorner = control - IDC_CORNER_1 + 1;
            ShowCorner(page, true, settings.gestureCorner);
            CheckDlgButton(page, IDC_GESTURE_CHECK, BST_CHECKED);
        }
        return TRUE;
    }
    case WM_DRAWITEM:
        if (wParam == IDC_GESTURE_PREVIEW) DrawScreenPreview(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_NOTIFY:
        switch (reinterpret_cast<NMHDR*>(lParam)->code) {
        case PSN_KILLACTIVE:
            return Answer(page, FALSE);
        case PSN_APPLY: {
            if (UniqueHkey key = OpenSettingsForWrite()) {
                WriteDwordValue(key.get(), "Mouse Gesture", IsDlgButtonChecked(page, IDC_GESTURE_CHECK) == BST_CHECKED);
                WriteDwordValue(key.get(), "Corner", static_cast<DWORD>(settings.gestureCorner));
            }
            if (settings.gestureEnabled) UninstallMouseHook();
            LoadMouseGesture(nullptr);
            return Answer(page, PSNRET_NOERROR);
        }
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK ExclusionPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        LoadExclusionList(GetDlgItem(page, IDC_EXCLUSION_LIST));
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_EXCLUSION_ADD) ChooseExecutable(page);
        if (LOWORD(wParam) == IDC_EXCLUSION_REMOVE) RemoveSelectedExclusion(page);
        return TRUE;
    case WM_NOTIFY:
        switch (reinterpret_cast<NMHDR*>(lParam)->code) {
        case PSN_KILLACTIVE:
            return Answer(page, FALSE);
        case PSN_APPLY:
            StoreExclusionList(GetDlgItem(page, IDC_EXCLUSION_LIST));
            return Answer(page, PSNRET_NOERROR);
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK AdvancedPageProc(HWND page, UINT message, WPARAM, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        CheckDlgButton(page, IDC_RESTORE_MINIMIZED, settings.restoreMinimized ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(page, IDC_GROUP_BY_APPS, settings.groupByApps ? BST_CHECKED : BST_UNCHECKED);
        return TRUE;
    case WM_NOTIFY:
        switch (reinterpret_cast<NMHDR*>(lParam)->code) {
        case PSN_KILLACTIVE:
            return Answer(page, FALSE);
        case PSN_APPLY:
            settings.restoreMinimized = IsDlgButtonChecked(page, IDC_RESTORE_MINIMIZED) == BST_CHECKED;
            settings.groupByApps = IsDlgButtonChecked(page, IDC_GROUP_BY_APPS) == BST_CHECKED;
            if (UniqueHkey key = OpenSettingsForWrite()) {
                WriteDwordValue(key.get(), "RestoreMinimized", settings.restoreMinimized ? 1 : 0);
                WriteDwordValue(key.get(), "GroupByApps", settings.groupByApps ? 1 : 0);
            }
            return Answer(page, PSNRET_NOERROR);
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

void ShowConfigurationSheet(HWND owner)
{
    struct PageSpec {
        int dialog;
        const char* title;
        DLGPROC procedure;
    };
    static const PageSpec specs[] = {{IDD_PAGE_SHORTCUTS, "Keyboard Shortcuts", ShortcutsPageProc},
                                     {IDD_PAGE_GESTURE, "Mouse Gesture", GesturePageProc},
                                     {IDD_PAGE_EXCLUSION, "Exclusion List", ExclusionPageProc},
                                     {IDD_PAGE_ADVANCED, "Advanced", AdvancedPageProc}};
    PROPSHEETPAGEA pages[4] = {};
    for (size_t i = 0; i < 4; ++i) {
        pages[i].dwSize = sizeof pages[i];
        pages[i].dwFlags = PSP_USETITLE;
        pages[i].hInstance = appInstance;
        pages[i].pszTemplate = MAKEINTRESOURCEA(specs[i].dialog);
        pages[i].pfnDlgProc = specs[i].procedure;
        pages[i].pszTitle = specs[i].title;
    }
    PROPSHEETHEADERA sheet{};
    sheet.dwSize = sizeof sheet;
    sheet.dwFlags = PSH_PROPSHEETPAGE | PSH_USEICONID | PSH_NOAPPLYNOW | PSH_NOCONTEXTHELP;
    sheet.hwndParent = owner;
    sheet.hInstance = appInstance;
    sheet.pszIcon = MAKEINTRESOURCEA(IDI_SORVANE);
    sheet.pszCaption = "Sorvane Configuration";
    sheet.nPages = 4;
    sheet.ppsp = pages;

    // The sheet opens at its owner's place: put the hidden main window near the screen's centre.
    SetWindowPos(owner, nullptr, GetSystemMetrics(SM_CXSCREEN) / 2 - 100, GetSystemMetrics(SM_CYSCREEN) / 2 - 100,
                 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PropertySheetA(&sheet);
}
