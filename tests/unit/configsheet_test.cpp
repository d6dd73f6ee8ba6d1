#include <windows.h>
#include <prsht.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app.h"
#include "config/configsheet.h"
#include "config/gesture.h"
#include "config/hotkeys.h"
#include "config/settings.h"
#include "resources/resource.h"
#include "test_support.h"

namespace {

// A page made from the resource script with its own dialog procedure, outside a sheet, given the
// sheet's fields as a sheet would give them.
class Page : public ::testing::Test {
protected:
    void SetUp() override
    {
        DeleteSettingsKey();
        settings = Settings{};
        lstrcpyW(appTitle, L"Sorvane");
        appInstance = GetModuleHandleA(nullptr);
        mainWindow = CreateTestWindow();
    }
    void TearDown() override
    {
        if (page) DestroyWindow(page);
        for (const HotkeySlot& slot : kHotkeySlots) UnregisterHotKey(mainWindow, slot.id);
        DestroyWindow(mainWindow);
        mainWindow = nullptr;
        settings = Settings{};
        DeleteSettingsKey();
    }
    void Open(int dialog, DLGPROC procedure)
    {
        fields = SheetFieldsFromSettings();
        description = PROPSHEETPAGEA{};
        description.dwSize = sizeof description;
        description.lParam = reinterpret_cast<LPARAM>(&fields);
        page = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(dialog), mainWindow, procedure,
                                  reinterpret_cast<LPARAM>(&description));
        ASSERT_NE(nullptr, page);
    }
    // PSN_APPLY (OK) or PSN_RESET (Cancel); returns the page's answer.
    LONG_PTR Notify(UINT code)
    {
        NMHDR header{};
        header.hwndFrom = GetParent(page);
        header.code = code;
        SendMessageA(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
        return GetWindowLongPtrA(page, DWLP_MSGRESULT);
    }
    void Click(int control) { SendMessageA(page, WM_COMMAND, MAKEWPARAM(control, BN_CLICKED), 0); }
    static DWORD Stored(const char* name)
    {
        UniqueHkey key = OpenSettingsForQuery();
        DWORD value = 0xFFFFFFFF;
        if (key) ReadDwordValue(key.get(), Wide(name).c_str(), &value);
        return value;
    }
    std::string Selected(int box)
    {
        const LRESULT index = SendDlgItemMessageA(page, box, CB_GETCURSEL, 0, 0);
        if (index < 0) return "<none>";
        char text[16] = {};
        SendDlgItemMessageA(page, box, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
        return text;
    }
    std::string Item(int box, int index)
    {
        char text[16] = {};
        SendDlgItemMessageA(page, box, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
        return text;
    }
    HWND page = nullptr;
    SheetFields fields{};
    PROPSHEETPAGEA description{};
    MessageBoxWatcher boxes{"Sorvane"};
};

}  // namespace

TEST_F(Page, ShortcutBoxesListTheChoicesAndShowTheStoredKeys)
{
    SetDwordSetting("ShowKey", 69);   // "E", not "Esc"
    SetDwordSetting("RecentKey", 70); // "F", not "F1"
    SetDwordSetting("OthersKey", 84); // "T", not "Tab"
    SetDwordSetting("OthersMod", 4);  // Shift: the list has no such entry
    SetDwordSetting("AppMod", 8);
    SetDwordSetting("AppKey", 219);   // "["
    Open(IDD_PAGE_SHORTCUTS, ShortcutsPageProc);
    for (const HotkeySlot& slot : kHotkeySlots) {
        ASSERT_EQ(4, SendDlgItemMessageA(page, slot.modifierBox, CB_GETCOUNT, 0, 0));
        EXPECT_EQ("(None)", Item(slot.modifierBox, 0));
        EXPECT_EQ("Win", Item(slot.modifierBox, 3));
        ASSERT_EQ(61, SendDlgItemMessageA(page, slot.keyBox, CB_GETCOUNT, 0, 0));
        EXPECT_EQ("(None)", Item(slot.keyBox, 0));
        EXPECT_EQ("Tab", Item(slot.keyBox, 1));
        EXPECT_EQ("/", Item(slot.keyBox, 60));
    }
    EXPECT_EQ("Alt", Selected(IDC_SHOW_MOD));
    EXPECT_EQ("E", Selected(IDC_SHOW_KEY_BOX));
    EXPECT_EQ("F", Selected(IDC_RECENT_KEY_BOX));
    EXPECT_EQ("T", Selected(IDC_OTHERS_KEY_BOX));
    EXPECT_EQ("<none>", Selected(IDC_OTHERS_MOD));
    EXPECT_EQ("Win", Selected(IDC_APP_MOD));
    EXPECT_EQ("[", Selected(IDC_APP_KEY_BOX));

    // "Default" shows the defaults without storing anything.
    SendMessageA(page, WM_COMMAND, IDC_SHORTCUTS_DEFAULT, 0);
    EXPECT_EQ("Tab", Selected(IDC_SHOW_KEY_BOX));
    EXPECT_EQ("Z", Selected(IDC_RECENT_KEY_BOX));
    EXPECT_EQ("Win", Selected(IDC_OTHERS_MOD));
    EXPECT_EQ("Alt", Selected(IDC_APP_MOD));
    EXPECT_EQ("~", Selected(IDC_APP_KEY_BOX));
    UniqueHkey key = OpenSettingsForQuery();
    DWORD value = 0;
    ASSERT_TRUE(ReadDwordValue(key.get(), L"ShowKey", &value));
    EXPECT_EQ(69u, value);
    ASSERT_TRUE(ReadDwordValue(key.get(), L"AppKey", &value));
    EXPECT_EQ(219u, value);

    // Every control, the note's text included, stays inside the page.
    RECT client{};
    GetClientRect(page, &client);
    for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char text[300] = {};
        GetWindowTextA(child, text, sizeof text);
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom) << text;
        HDC dc = GetDC(child);
        const HGDIOBJ font = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0)));
        RECT needed{0, 0, r.right - r.left, 0};
        DrawTextA(dc, text, -1, &needed, DT_CALCRECT | DT_WORDBREAK);
        SelectObject(dc, font);
        ReleaseDC(child, dc);
        EXPECT_LE(needed.bottom, r.bottom - r.top) << "cut: " << text;
    }
}

TEST_F(Page, StoringAPairWritesWhatTheBoxesShowAndKeepsWhatTheyCannot)
{
    SetDwordSetting("OthersMod", 4);  // Shift, set by hand
    Open(IDD_PAGE_SHORTCUTS, ShortcutsPageProc);
    SendDlgItemMessageA(page, IDC_SHOW_MOD, CB_SETCURSEL, 2, 0);       // Ctrl
    SendDlgItemMessageA(page, IDC_SHOW_KEY_BOX, CB_SETCURSEL, 28, 0);  // "E"
    UniqueHkey key = OpenSettingsForWrite();
    StoreShortcutPair(page, key.get(), IDC_SHOW_MOD, L"ShowMod", IDC_SHOW_KEY_BOX, L"ShowKey");
    StoreShortcutPair(page, key.get(), IDC_OTHERS_MOD, L"OthersMod", IDC_OTHERS_KEY_BOX, L"OthersKey");
    DWORD value = 0;
    ASSERT_TRUE(ReadDwordValue(key.get(), L"ShowMod", &value));
    EXPECT_EQ(2u, value);
    ASSERT_TRUE(ReadDwordValue(key.get(), L"ShowKey", &value));
    EXPECT_EQ(69u, value);
    ASSERT_TRUE(ReadDwordValue(key.get(), L"OthersMod", &value));
    EXPECT_EQ(4u, value) << "a modifier the box cannot show is kept, not turned into none";
    ASSERT_TRUE(ReadDwordValue(key.get(), L"OthersKey", &value));
    EXPECT_EQ(65u, value);
}

TEST_F(Page, ARefusedCombinationIsWrittenBackAndTheAnswerIsInvalid)
{
    SetDwordSetting("RecentMod", 4);  // Shift+Z, set by hand: the box shows no modifier
    RegisterStoredHotkeys();  // what start-up registers
    Open(IDD_PAGE_SHORTCUTS, ShortcutsPageProc);
    // Recent set to Show's Alt+Tab: used twice. It goes back to Shift+Z, shown as it was opened.
    SendDlgItemMessageA(page, IDC_RECENT_MOD, CB_SETCURSEL, 1, 0);      // Alt
    SendDlgItemMessageA(page, IDC_RECENT_KEY_BOX, CB_SETCURSEL, 1, 0);  // Tab
    NMHDR apply{};
    apply.hwndFrom = GetParent(page);
    apply.code = PSN_APPLY;
    SendMessageA(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&apply));
    EXPECT_EQ(PSNRET_INVALID, GetWindowLongPtrA(page, DWLP_MSGRESULT));
    EXPECT_EQ(1u, boxes.Texts().size());
    EXPECT_EQ("<none>", Selected(IDC_RECENT_MOD));
    EXPECT_EQ("Z", Selected(IDC_RECENT_KEY_BOX));
    EXPECT_EQ(4u, Stored("RecentMod"));
    EXPECT_EQ(90u, Stored("RecentKey"));
    EXPECT_TRUE(settings.showRegistered && settings.recentRegistered && settings.othersRegistered &&
                settings.appRegistered);
}

TEST_F(Page, TheExclusionListRefusesAPathInAnyLetterCase)
{
    Open(IDD_PAGE_EXCLUSION, ExclusionPageProc);
    MessageBoxWatcher exists{"File Exists"};
    EXPECT_TRUE(AddExclusionPath(page, L"C:\\Windows\\notepad.exe"));
    EXPECT_FALSE(AddExclusionPath(page, L"C:\\WINDOWS\\NOTEPAD.EXE"));
    ASSERT_EQ(1u, exists.Texts().size());
    EXPECT_EQ("The selected file has already existed in the exclusion list.\n(C:\\WINDOWS\\NOTEPAD.EXE)",
              exists.Texts()[0]);
    EXPECT_EQ(1, SendDlgItemMessageA(page, IDC_EXCLUSION_LIST, LB_GETCOUNT, 0, 0));

    // Remove without a selection says so; with one, removes it; OK then deletes the value.
    MessageBoxWatcher noSelection{"No Selected Item"};
    SendMessageA(page, WM_COMMAND, IDC_EXCLUSION_REMOVE, 0);
    EXPECT_EQ(1u, noSelection.Texts().size());
    SendDlgItemMessageA(page, IDC_EXCLUSION_LIST, LB_SETCURSEL, 0, 0);
    SendMessageA(page, WM_COMMAND, IDC_EXCLUSION_REMOVE, 0);
    EXPECT_EQ(0, SendDlgItemMessageA(page, IDC_EXCLUSION_LIST, LB_GETCOUNT, 0, 0));
    SetRawSetting("Exclusion", REG_MULTI_SZ, "x.exe\0\0", 7);
    NMHDR apply{};
    apply.code = PSN_APPLY;
    SendMessageA(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&apply));
    EXPECT_FALSE(SettingExists("Exclusion"));

    // Paths compare as the file system compares them: "Straße" and "STRASSE" are two folders.
    EXPECT_TRUE(AddExclusionPath(page, L"C:\\Stra\u00DFe\\a.exe"));
    EXPECT_TRUE(AddExclusionPath(page, L"C:\\STRASSE\\a.exe"));
    EXPECT_FALSE(AddExclusionPath(page, L"c:\\STRA\u00DFE\\A.EXE"));
    EXPECT_EQ(2u, exists.Texts().size());
}

TEST_F(Page, GestureAndAdvancedPagesShowAndStoreTheirSwitches)
{
    Open(IDD_PAGE_GESTURE, GesturePageProc);
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(page, IDC_GESTURE_CHECK));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(page, IDC_CORNER_4));
    CheckDlgButton(page, IDC_GESTURE_CHECK, BST_UNCHECKED);
    SendMessageA(page, WM_COMMAND, IDC_GESTURE_CHECK, 0);
    for (int id = IDC_CORNER_1; id <= IDC_CORNER_4; ++id) EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(page, id));
    SendMessageA(page, WM_COMMAND, IDC_CORNER_1, 0);  // a corner checks the gesture again
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(page, IDC_GESTURE_CHECK));
    EXPECT_EQ(1, fields.gesture.corner);
    EXPECT_EQ(4, settings.gestureCorner) << "the live corner changes on OK only";
    NMHDR apply{};
    apply.code = PSN_APPLY;
    SendMessageA(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&apply));
    EXPECT_EQ(1, settings.gestureCorner);
    UniqueHkey key = OpenSettingsForQuery();
    DWORD value = 0;
    ASSERT_TRUE(ReadDwordValue(key.get(), L"Mouse Gesture", &value));
    EXPECT_EQ(1u, value);
    ASSERT_TRUE(ReadDwordValue(key.get(), L"Corner", &value));
    EXPECT_EQ(1u, value);
    UninstallMouseHook();

    DestroyWindow(page);
    settings.groupByApps = false;
    Open(IDD_PAGE_ADVANCED, AdvancedPageProc);
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(page, IDC_RESTORE_MINIMIZED));
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(page, IDC_GROUP_BY_APPS));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(page, IDC_SWITCH_ON_RELEASE));
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(page, IDC_THIS_MONITOR_ONLY));
    CheckDlgButton(page, IDC_RESTORE_MINIMIZED, BST_UNCHECKED);
    CheckDlgButton(page, IDC_SWITCH_ON_RELEASE, BST_UNCHECKED);
    CheckDlgButton(page, IDC_THIS_MONITOR_ONLY, BST_CHECKED);
    SendMessageA(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&apply));
    EXPECT_FALSE(settings.restoreMinimized);
    EXPECT_FALSE(settings.switchOnRelease);
    EXPECT_TRUE(settings.thisMonitorOnly);
    for (const wchar_t* name : {L"RestoreMinimized", L"GroupByApps", L"SwitchOnRelease"}) {
        ASSERT_TRUE(ReadDwordValue(key.get(), name, &value)) << Narrow(name);
        EXPECT_EQ(0u, value) << Narrow(name);
    }
    ASSERT_TRUE(ReadDwordValue(key.get(), L"ThisMonitorOnly", &value));
    EXPECT_EQ(1u, value);
}

// OK writes the Run value only when the box differs from what is stored: the form of a value that
// names this program, and a value that names another copy, survive an untouched box.
TEST_F(Page, TheSignInBoxShowsTheRunValueAndOkRewritesItOnlyWhenTheBoxDiffers)
{
    RunValueKeeper keeper;
    std::string upper = OwnExecutablePath();
    CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
    const std::string elsewhere = "\"C:\\elsewhere\\Sorvane.exe\"";
    DWORD type = 0;
    std::string data;
    auto stored = [&] { return ReadRunValue(&type, &data) ? data.substr(0, data.find('\0')) : std::string("<none>"); };

    SetRunValue(upper);
    Open(IDD_PAGE_ADVANCED, AdvancedPageProc);
    EXPECT_TRUE(fields.startAtSignIn);
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(page, IDC_START_AT_SIGN_IN));
    EXPECT_EQ(PSNRET_NOERROR, Notify(PSN_APPLY));
    EXPECT_EQ(upper, stored());

    DestroyWindow(page);
    SetRunValue(elsewhere);
    Open(IDD_PAGE_ADVANCED, AdvancedPageProc);
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(page, IDC_START_AT_SIGN_IN));
    Notify(PSN_APPLY);
    EXPECT_EQ(elsewhere, stored());

    CheckDlgButton(page, IDC_START_AT_SIGN_IN, BST_CHECKED);
    Notify(PSN_APPLY);
    EXPECT_EQ(std::string(1, '"').append(OwnExecutablePath()).append(1, '"'), stored());
}

TEST_F(Page, CancelLeavesTheLiveSettingsAndHotkeysAsTheyWere)
{
    SetDwordSetting("ShowKey", 70);  // Alt+F
    RegisterStoredHotkeys();
    ASSERT_TRUE(settings.showRegistered);
    // Another program changes the stored key after start-up: the page shows it, the live record
    // keeps what is registered.
    SetDwordSetting("ShowKey", 71);
    Open(IDD_PAGE_SHORTCUTS, ShortcutsPageProc);
    EXPECT_EQ("G", Selected(IDC_SHOW_KEY_BOX));
    Click(IDC_SHORTCUTS_DEFAULT);
    EXPECT_EQ("Tab", Selected(IDC_SHOW_KEY_BOX));
    Notify(PSN_RESET);
    DestroyWindow(page);
    page = nullptr;
    EXPECT_EQ(1u, settings.showModifiers);
    EXPECT_EQ(70u, settings.showKey);
    EXPECT_EQ(8u, settings.othersModifiers);
    EXPECT_EQ(65u, settings.othersKey);
    EXPECT_TRUE(settings.showRegistered);
    EXPECT_FALSE(RegisterHotKey(nullptr, 1, MOD_ALT, 'F')) << "Alt+F is no longer held";
    UnregisterHotKey(nullptr, 1);

    settings.gestureCorner = 2;
    Open(IDD_PAGE_GESTURE, GesturePageProc);
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(page, IDC_CORNER_4)) << "the page shows the stored corner";
    Click(IDC_CORNER_1);
    CheckDlgButton(page, IDC_GESTURE_CHECK, BST_UNCHECKED);
    Click(IDC_GESTURE_CHECK);
    Notify(PSN_RESET);
    EXPECT_TRUE(settings.gestureEnabled);
    EXPECT_EQ(2, settings.gestureCorner);
    EXPECT_EQ(0xFFFFFFFFu, Stored("Mouse Gesture"));
    EXPECT_TRUE(boxes.Texts().empty());
}

// After Default, Show's change stands; Others' Win+A is refused, back to Win+Z, and takes Recent back.
TEST_F(Page, ARefusalAfterDefaultTakesBackTheRefusedRowAndTheRowThatSharesItsEarlierCombination)
{
    SetDwordSetting("ShowKey", 70);    // Alt+F
    SetDwordSetting("RecentKey", 66);  // Win+B
    SetDwordSetting("OthersKey", 90);  // Win+Z
    RegisterStoredHotkeys();
    ASSERT_TRUE(settings.showRegistered && settings.recentRegistered && settings.othersRegistered &&
                settings.appRegistered);
    // Someone else holds Win+A, the default of Others.
    HWND other = CreateTestWindow();
    ASSERT_TRUE(RegisterHotKey(other, 1, MOD_WIN, 'A'));

    Open(IDD_PAGE_SHORTCUTS, ShortcutsPageProc);
    Click(IDC_SHORTCUTS_DEFAULT);
    EXPECT_EQ(PSNRET_INVALID, Notify(PSN_APPLY));

    const std::vector<std::string> warnings = boxes.Texts();
    ASSERT_EQ(2u, warnings.size()) << "the earlier combinations were refused as well";
    EXPECT_EQ(0u, warnings[0].find("Sorvane cannot handle the Win-A combination key."));
    EXPECT_EQ(0u, warnings[1].find("Sorvane cannot handle the Win-Z combination key."));
    EXPECT_EQ("Tab B Z", Selected(IDC_SHOW_KEY_BOX) + " " + Selected(IDC_RECENT_KEY_BOX) + " " + Selected(IDC_OTHERS_KEY_BOX));
    EXPECT_EQ(9u, Stored("ShowKey"));
    EXPECT_EQ(66u, Stored("RecentKey"));
    EXPECT_EQ(90u, Stored("OthersKey"));
    EXPECT_TRUE(settings.showRegistered && settings.recentRegistered && settings.othersRegistered);
    EXPECT_TRUE(RegisterHotKey(other, 2, MOD_ALT, 'F')) << "Alt+F is let go";
    EXPECT_FALSE(RegisterHotKey(other, 3, MOD_WIN, 'B')) << "Win+B is registered again";
    for (int id : {1, 2, 3}) UnregisterHotKey(other, id);
    DestroyWindow(other);
}

TEST(ScreenPreview, FillsTheItemRectangleOfAnySizeAndNothingElse)
{
    constexpr COLORREF kBackground = RGB(0x12, 0x34, 0x56);
    // A rectangle smaller and one larger than 197 x 148, neither at the origin.
    for (const RECT area : {RECT{10, 20, 130, 110}, RECT{12, 8, 262, 198}}) {
        SCOPED_TRACE(testing::Message() << area.right - area.left << " x " << area.bottom - area.top);
        Canvas canvas(280, 210);
        ASSERT_NE(nullptr, canvas.bits);
        canvas.Fill(kBackground);
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_STATIC;
        item.CtlID = IDC_GESTURE_PREVIEW;
        item.hDC = canvas.dc.get();
        item.rcItem = area;
        DrawScreenPreview(&item);
        const int l = area.left, t = area.top, r = area.right - 1, b = area.bottom - 1;
        for (const POINT inside : {POINT{l, t}, POINT{r, t}, POINT{l, b}, POINT{r, b}})
            EXPECT_NE(kBackground, canvas.At(inside.x, inside.y)) << "nothing drawn at " << inside.x << "," << inside.y;
        for (const POINT outside : {POINT{l - 1, t}, POINT{l, t - 1}, POINT{r + 1, b}, POINT{r, b + 1}, POINT{0, 0},
                                    POINT{279, 209}})
            EXPECT_EQ(kBackground, canvas.At(outside.x, outside.y)) << "drawn outside at " << outside.x << "," << outside.y;
    }
}
