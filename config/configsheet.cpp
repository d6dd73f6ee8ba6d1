#include "config/configsheet.h"

#include <commctrl.h>
#include <commdlg.h>
#include <prsht.h>

#include <cwchar>
#include <string>

#include "common/instance.h"
#include "common/language.h"
#include "common/owners.h"
#include "common/system.h"
#include "common/text.h"
#include "config/gesture.h"
#include "config/hotkeys.h"
#include "config/settings.h"
#include "config/signin.h"
#include "resources/resource.h"

namespace {

// PSM_QUERYSIBLINGS asks the other pages to store their values when the Keyboard Shortcuts page
// keeps the sheet open: what they hold is stored whatever that page decides.
constexpr WPARAM kStoreYourValues = 0x534F5256;

// Answers a property-sheet notification from a page's dialog procedure.
INT_PTR Answer(HWND page, LONG_PTR result)
{
    SetWindowLongPtrW(page, DWLP_MSGRESULT, result);
    return TRUE;
}

// The sheet's fields, kept by every page from its WM_INITDIALOG on.
SheetFields& FieldsOf(HWND page)
{
    return *reinterpret_cast<SheetFields*>(GetWindowLongPtrW(page, DWLP_USER));
}

// A page's WM_INITDIALOG brings its PROPSHEETPAGEA, whose lParam points at the sheet's fields.
void KeepFields(HWND page, LPARAM initParam)
{
    const auto* description = reinterpret_cast<const PROPSHEETPAGEW*>(initParam);
    SetWindowLongPtrW(page, DWLP_USER, description->lParam);
}

// The two notifications every page answers: leaving it is always allowed, and OK stores it
// (apply gives PSNRET_NOERROR or PSNRET_INVALID).
INT_PTR HandlePageNotify(HWND page, LPARAM lParam, LONG_PTR (*apply)(HWND))
{
    switch (reinterpret_cast<NMHDR*>(lParam)->code) {
    case PSN_KILLACTIVE:
        return Answer(page, FALSE);
    case PSN_APPLY:
        return Answer(page, apply(page));
    default:
        return FALSE;
    }
}

// The Keyboard Shortcuts page's request to store a page's values while the sheet stays open.
INT_PTR HandleStoreRequest(HWND page, WPARAM request, LONG_PTR (*apply)(HWND))
{
    if (request != kStoreYourValues) return FALSE;
    apply(page);
    return Answer(page, 0);  // the next page is asked too
}

void StoreAllShortcuts(HWND page)
{
    UniqueHkey key = OpenSettingsForWrite();
    if (!key) return;
    for (const HotkeySlot& slot : kHotkeySlots)
        StoreShortcutPair(page, key.get(), slot.modifierBox, slot.modifierValue, slot.keyBox, slot.keyValue);
}

// Warns about the combinations taken back, stores what is put in force where the stored values
// differ, and registers it.
void PutInForce(const SettledHotkeys& settled, const HotkeyCombinations& chosen, const HotkeyCombinations& stored)
{
    for (size_t i = 0; i < chosen.size(); ++i)
        if (settled.warned[i]) ReportHotkeyConflict(chosen[i].modifiers, chosen[i].key);
    if (settled.inForce != stored) StoreHotkeys(settled.inForce);
    RegisterStoredHotkeys(RefusedHotkeys::Quiet);
}

LONG_PTR ApplyShortcuts(HWND page)
{
    // The combinations in force until now, whatever the page shows, and which of them were held.
    const HotkeyCombinations before = LiveHotkeys();
    HotkeyFlags wasRegistered{};
    for (size_t i = 0; i < wasRegistered.size(); ++i) wasRegistered[i] = settings.*kHotkeySlots[i].registered;
    StoreAllShortcuts(page);
    // A combination chosen for two hotkeys is refused before anything is registered: registering it
    // would hand it to whichever hotkey comes first and leave the other one dead. Only the hotkeys
    // that took it go back; the other changes stand.
    const HotkeyCombinations chosen = ReadStoredHotkeys();
    const SettledHotkeys settled = SettleDuplicatedHotkeys(before, chosen);
    PutInForce(settled, chosen, chosen);
    bool keepOpen = settled.inForce != chosen;
    // A combination the system refuses, chosen by the user, goes back too, and so in turn does a
    // changed hotkey that shares the earlier combination it brings back.
    HotkeyCombinations kept = settled.inForce;
    bool refused = false;
    for (size_t i = 0; i < kept.size(); ++i) {
        const HotkeyVerdict verdict = JudgeAppliedHotkey({kept[i] != before[i], wasRegistered[i],
                                                          settings.*kHotkeySlots[i].registered, kept[i].key == kNoKey});
        if (verdict.warn) ReportHotkeyConflict(kept[i].modifiers, kept[i].key);
        if (verdict.keepOpen) kept[i] = before[i];
        refused = refused || verdict.keepOpen;
    }
    if (refused) {
        const SettledHotkeys again = SettleDuplicatedHotkeys(before, kept);
        PutInForce(again, kept, settled.inForce);
        kept = again.inForce;
        keepOpen = true;
    }
    if (!keepOpen) return PSNRET_NOERROR;
    // Show what is in force and keep the sheet open; the other pages store what they hold all the same.
    FieldsOf(page).hotkeys = kept;
    ShowHotkeysOnPage(page, kept);
    PropSheet_QuerySiblings(GetParent(page), kStoreYourValues, 0);
    return PSNRET_INVALID;
}

LONG_PTR ApplyGesture(HWND page)
{
    if (UniqueHkey key = OpenSettingsForWrite()) {
        WriteDwordValue(key.get(), L"Mouse Gesture", IsDlgButtonChecked(page, IDC_GESTURE_CHECK) == BST_CHECKED);
        WriteDwordValue(key.get(), L"Corner", static_cast<DWORD>(FieldsOf(page).gesture.corner));
    }
    if (settings.gestureEnabled) UninstallMouseHook();
    ApplyStoredGesture();
    return PSNRET_NOERROR;
}

LONG_PTR ApplyExclusions(HWND page)
{
    StoreExclusionList(GetDlgItem(page, IDC_EXCLUSION_LIST));
    return PSNRET_NOERROR;
}

LONG_PTR ApplyAdvanced(HWND page)
{
    settings.restoreMinimized = IsDlgButtonChecked(page, IDC_RESTORE_MINIMIZED) == BST_CHECKED;
    settings.groupByApps = IsDlgButtonChecked(page, IDC_GROUP_BY_APPS) == BST_CHECKED;
    settings.switchOnRelease = IsDlgButtonChecked(page, IDC_SWITCH_ON_RELEASE) == BST_CHECKED;
    settings.thisMonitorOnly = IsDlgButtonChecked(page, IDC_THIS_MONITOR_ONLY) == BST_CHECKED;
    if (UniqueHkey key = OpenSettingsForWrite()) {
        WriteDwordValue(key.get(), L"RestoreMinimized", settings.restoreMinimized ? 1 : 0);
        WriteDwordValue(key.get(), L"GroupByApps", settings.groupByApps ? 1 : 0);
        WriteDwordValue(key.get(), L"SwitchOnRelease", settings.switchOnRelease ? 1 : 0);
        WriteDwordValue(key.get(), L"ThisMonitorOnly", settings.thisMonitorOnly ? 1 : 0);
    }
    // The Run value is written or removed only when the box differs from what is stored, so an
    // untouched box leaves any form of the value (or another copy's value) alone.
    const bool startAtSignIn = IsDlgButtonChecked(page, IDC_START_AT_SIGN_IN) == BST_CHECKED;
    if (startAtSignIn != StartsAtSignIn()) SetStartAtSignIn(startAtSignIn);
    FieldsOf(page).startAtSignIn = startAtSignIn;
    // The language chosen is stored ("System default": the value goes) and in force at once.
    const LRESULT chosen = SendDlgItemMessageW(page, IDC_LANGUAGE, CB_GETCURSEL, 0, 0);
    if (chosen >= 0 && static_cast<size_t>(chosen) <= std::size(kShippedLanguages)) {
        const ShippedLanguage* language = chosen > 0 ? &kShippedLanguages[chosen - 1] : nullptr;
        StoreLanguageSetting(language ? language->locale : L"");
        if (language != ChosenLanguage()) UseLanguage(language);
        FieldsOf(page).language = static_cast<int>(chosen);
    }
    return PSNRET_NOERROR;
}

// "System default", then every language Sorvane speaks by its own name; the one in force chosen.
void FillLanguageChoices(HWND page, int chosen)
{
    HWND box = GetDlgItem(page, IDC_LANGUAGE);
    SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(LoadText(IDS_LANGUAGE_SYSTEM).c_str()));
    for (size_t i = 0; i < std::size(kShippedLanguages); ++i)
        SendMessageW(box, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(LoadText(IDS_LANGUAGE_NAMES + static_cast<UINT>(i)).c_str()));
    SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
}

void ChooseExecutable(HWND page)
{
    wchar_t path[kPathCapacity] = {};
    // Pairs of a name and its patterns, each ended by a null, and a null after the last.
    std::wstring filter = LoadText(IDS_FILTER_EXECUTABLES);
    filter.append(1, L'\0').append(L"*.EXE").append(1, L'\0').append(LoadText(IDS_FILTER_ALL_FILES));
    filter.append(1, L'\0').append(L"*.*").append(2, L'\0');
    const std::wstring title = LoadText(IDS_SELECT_EXECUTABLE);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = page;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = std::size(path);
    dialog.lpstrInitialDir = L"C:\\Program Files\\";
    dialog.lpstrTitle = title.c_str();
    dialog.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_DONTADDTORECENT;
    // The common dialogs are loaded when first asked for (and kept): they cost Sorvane's idle memory
    // for a dialog most users open once.
    using OpenFileFunction = BOOL(WINAPI*)(OPENFILENAMEW*);
    static const OpenFileFunction getOpenFileName =
        ProcedureOf<OpenFileFunction>(LoadSystemLibrary(L"comdlg32.dll"), "GetOpenFileNameW");
    if (getOpenFileName && getOpenFileName(&dialog)) AddExclusionPath(page, path);
}

void RemoveSelectedExclusion(HWND page)
{
    HWND list = GetDlgItem(page, IDC_EXCLUSION_LIST);
    const LRESULT selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR) {
        MessageBoxW(GetForegroundWindow(), LoadText(IDS_NOTHING_SELECTED).c_str(),
                    LoadText(IDS_NOTHING_SELECTED_TITLE).c_str(), MB_OK | MB_ICONWARNING);
        return;
    }
    SendMessageW(list, LB_DELETESTRING, selected, 0);
}

}  // namespace

SheetFields SheetFieldsFromSettings()
{
    const ShippedLanguage* language = ChosenLanguage();
    return {LiveHotkeys(), LiveGesture(), settings.restoreMinimized, settings.groupByApps, StartsAtSignIn(),
            settings.switchOnRelease, settings.thisMonitorOnly,
            language ? static_cast<int>(language - kShippedLanguages) + 1 : 0};
}

void DrawScreenPreview(const DRAWITEMSTRUCT* item)
{
    const RECT& area = item->rcItem;
    HDC screen = GetDC(nullptr);
    SetStretchBltMode(item->hDC, HALFTONE);
    SetBrushOrgEx(item->hDC, 0, 0, nullptr);
    StretchBlt(item->hDC, area.left, area.top, area.right - area.left, area.bottom - area.top, screen, 0, 0,
               GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), SRCCOPY);
    ReleaseDC(nullptr, screen);
}

void StoreShortcutPair(HWND page, HKEY key, int modifierBox, const wchar_t* modifierValue, int keyBox,
                       const wchar_t* keyValue)
{
    // What the chosen items stand for, not their names: the language may have changed meanwhile.
    const struct {
        int box;
        const wchar_t* value;
    } pairs[] = {{modifierBox, modifierValue}, {keyBox, keyValue}};
    for (const auto& pair : pairs) {
        const LRESULT chosen = SendDlgItemMessageW(page, pair.box, CB_GETCURSEL, 0, 0);
        if (chosen != CB_ERR)
            WriteDwordValue(key, pair.value, static_cast<DWORD>(SendDlgItemMessageW(page, pair.box, CB_GETITEMDATA, chosen, 0)));
    }
}

bool AddExclusionPath(HWND page, const wchar_t* path)
{
    HWND list = GetDlgItem(page, IDC_EXCLUSION_LIST);
    // Paths compare as the file system compares them, letter case aside: LB_FINDSTRINGEXACT's
    // comparison is linguistic.
    bool listed = false;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT item = 0; item < count && !listed; ++item) {
        const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, item, 0);
        if (length == LB_ERR) continue;
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        const LRESULT read = SendMessageW(list, LB_GETTEXT, item, reinterpret_cast<LPARAM>(text.data()));
        if (read != LB_ERR)
            listed = EqualIgnoringCaseOrdinal(text.c_str(), static_cast<size_t>(read), path, wcslen(path));
    }
    if (!listed) {
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path));
        return true;
    }
    MessageBoxW(page, FormatText(IDS_ALREADY_LISTED, path).c_str(), LoadText(IDS_ALREADY_LISTED_TITLE).c_str(),
                MB_OK | MB_ICONERROR);
    return false;
}

INT_PTR CALLBACK ShortcutsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        KeepFields(page, lParam);
        ReadKeyLabels();
        for (const HotkeySlot& slot : kHotkeySlots) FillShortcutCombos(page, slot.modifierBox, slot.keyBox);
        FieldsOf(page).hotkeys = ShowStoredHotkeysOnPage(page);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_SHORTCUTS_DEFAULT) {
            FieldsOf(page).hotkeys = DefaultHotkeys();
            ShowHotkeysOnPage(page, FieldsOf(page).hotkeys);
        }
        return TRUE;
    case WM_NOTIFY:
        return HandlePageNotify(page, lParam, ApplyShortcuts);
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK GesturePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        KeepFields(page, lParam);
        FieldsOf(page).gesture = ShowStoredGestureOnPage(page);
        return TRUE;
    case WM_COMMAND: {
        const int control = LOWORD(wParam);
        GestureChoice& gesture = FieldsOf(page).gesture;
        if (control == IDC_GESTURE_CHECK) {
            gesture.enabled = IsDlgButtonChecked(page, IDC_GESTURE_CHECK) == BST_CHECKED;
            ShowGestureOnPage(page, gesture.enabled, gesture.corner);
        } else if (control >= IDC_CORNER_1 && control <= IDC_CORNER_4) {
            gesture = {true, control - IDC_CORNER_1 + 1};
            ShowGestureOnPage(page, gesture.enabled, gesture.corner);
        }
        return TRUE;
    }
    case WM_DRAWITEM:
        if (wParam == IDC_GESTURE_PREVIEW) DrawScreenPreview(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_NOTIFY:
        return HandlePageNotify(page, lParam, ApplyGesture);
    case PSM_QUERYSIBLINGS:
        return HandleStoreRequest(page, wParam, ApplyGesture);
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
        return HandlePageNotify(page, lParam, ApplyExclusions);
    case PSM_QUERYSIBLINGS:
        return HandleStoreRequest(page, wParam, ApplyExclusions);
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK AdvancedPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        KeepFields(page, lParam);
        const SheetFields& fields = FieldsOf(page);
        CheckDlgButton(page, IDC_RESTORE_MINIMIZED, fields.restoreMinimized ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(page, IDC_GROUP_BY_APPS, fields.groupByApps ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(page, IDC_START_AT_SIGN_IN, fields.startAtSignIn ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(page, IDC_SWITCH_ON_RELEASE, fields.switchOnRelease ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(page, IDC_THIS_MONITOR_ONLY, fields.thisMonitorOnly ? BST_CHECKED : BST_UNCHECKED);
        FillLanguageChoices(page, fields.language);
        return TRUE;
    }
    case WM_NOTIFY:
        return HandlePageNotify(page, lParam, ApplyAdvanced);
    case PSM_QUERYSIBLINGS:
        return HandleStoreRequest(page, wParam, ApplyAdvanced);
    default:
        return FALSE;
    }
}

void ShowConfigurationSheet(HWND owner)
{
    struct PageSpec {
        int dialog;
        DLGPROC procedure;
    };
    static const PageSpec specs[] = {{IDD_PAGE_SHORTCUTS, ShortcutsPageProc},
                                     {IDD_PAGE_GESTURE, GesturePageProc},
                                     {IDD_PAGE_EXCLUSION, ExclusionPageProc},
                                     {IDD_PAGE_ADVANCED, AdvancedPageProc}};
    SheetFields fields = SheetFieldsFromSettings();
    // Each page's template in the language in force; its caption names its tab.
    PROPSHEETPAGEW pages[4] = {};
    for (size_t i = 0; i < 4; ++i) {
        pages[i].dwSize = sizeof pages[i];
        pages[i].dwFlags = PSP_DLGINDIRECT;
        pages[i].hInstance = appInstance;
        pages[i].pResource = DialogTemplateInLanguage(specs[i].dialog);
        if (!pages[i].pResource) return;
        pages[i].pfnDlgProc = specs[i].procedure;
        pages[i].lParam = reinterpret_cast<LPARAM>(&fields);
    }
    const std::wstring caption = LoadText(IDS_SHEET_CAPTION);
    PROPSHEETHEADERW sheet{};
    sheet.dwSize = sizeof sheet;
    sheet.dwFlags = PSH_PROPSHEETPAGE | PSH_USEICONID | PSH_NOAPPLYNOW | PSH_NOCONTEXTHELP;
    sheet.hwndParent = owner;
    sheet.hInstance = appInstance;
    sheet.pszIcon = MAKEINTRESOURCEW(IDI_SORVANE);
    sheet.pszCaption = caption.c_str();
    sheet.nPages = 4;
    sheet.ppsp = pages;

    // The sheet opens at its owner's place: put the hidden main window near the screen's centre.
    SetWindowPos(owner, nullptr, GetSystemMetrics(SM_CXSCREEN) / 2 - 100, GetSystemMetrics(SM_CYSCREEN) / 2 - 100,
                 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (auto open = ProcedureOf<decltype(&PropertySheetW)>(CommonControls(), "PropertySheetW")) open(&sheet);
}
