#include <gtest/gtest.h>

#include <string>

#include "app/app.h"
#include "config/configsheet.h"
#include "config/gesture.h"
#include "config/settings.h"
#include "resources/resource.h"
#include "test_support.h"

namespace {

// A page made from the resource script with its own dialog procedure, outside a sheet.
class Page : public ::testing::Test {
protected:
    void SetUp() override
    {
        DeleteSettingsKey();
        settings = Settings{};
        lstrcpyA(appTitle, "Sorvane");
        appInstance = GetModuleHandleA(nullptr);
        mainWindow = CreateTestWindow();
    }
    void TearDown() override
    {
        if (page) DestroyWindow(page);
        for (int id : {111, 32830, 32831}) UnregisterHotKey(mainWindow, id);
        DestroyWindow(mainWindow);
        mainWindow = nullptr;
        settings = Settings{};
        DeleteSettingsKey();
    }
    void Open(int dialog, DLGPROC procedure)
    {
        page = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(dialog), mainWindow, procedure, 0);
        ASSERT_NE(nullptr, page);
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
    MessageBoxWatcher boxes{"Sorvane"};
};

}  // namespace

TEST_F(Page, ShortcutBoxesListTheChoicesAndShowTheStoredKeys)
{
    SetDwordSetting("ShowKey", 69);   // "E", not "Esc"
    SetDwordSetting("RecentKey", 70); // "F", not "F1"
    SetDwordSetting("OthersKey", 84); // "T", not "Tab"
    SetDwordSetting("OthersMod", 4);  // Shift: the list has no such entry
    Open(IDD_PAGE_SHORTCUTS, ShortcutsPageProc);
    ASSERT_EQ(4, SendDlgItemMessageA(page, IDC_SHOW_MOD, CB_GETCOUNT, 0, 0));
    EXPECT_EQ("(None)", Item(IDC_SHOW_MOD, 0));
    EXPECT_EQ("Win", Item(IDC_SHOW_MOD, 3));
    ASSERT_EQ(60, SendDlgItemMessageA(page, IDC_OTHERS_KEY_BOX, CB_GETCOUNT, 0, 0));
    EXPECT_EQ("Tab", Item(IDC_OTHERS_KEY_BOX, 0));
    EXPECT_EQ("/", Item(IDC_OTHERS_KEY_BOX, 59));
    EXPECT_EQ("Alt", Selected(IDC_SHOW_MOD));
    EXPECT_EQ("E", Selected(IDC_SHOW_KEY_BOX));
    EXPECT_EQ("F", Selected(IDC_RECENT_KEY_BOX));
    EXPECT_EQ("T", Selected(IDC_OTHERS_KEY_BOX));
    EXPECT_EQ("<none>", Selected(IDC_OTHERS_MOD));

    // "Default" shows the defaults without storing anything.
    SendMessageA(page, WM_COMMAND, IDC_SHORTCUTS_DEFAULT, 0);
    EXPECT_EQ("Tab", Selected(IDC_SHOW_KEY_BOX));
    EXPECT_EQ("Z", Selected(IDC_RECENT_KEY_BOX));
    EXPECT_EQ("Win", Selected(IDC_OTHERS_MOD));
    UniqueHkey key = OpenSettingsForQuery();
    DWORD value = 0;
    ASSERT_TRUE(ReadDwordValue(key.get(), "ShowKey", &value));
    EXPECT_EQ(69u, value);
}

TEST_F(Page, StoringAPairWritesWhatTheBoxesShowAndKeepsWhatTheyCannot)
{
    SetDwordSetting("OthersMod", 4);  // Shift, set by hand
    Open(IDD_PAGE_SHORTCUTS, ShortcutsPageProc);
    SendDlgItemMessageA(page, IDC_SHOW_MOD, CB_SETCURSEL, 2, 0);       // Ctrl
    SendDlgItemMessageA(page, IDC_SHOW_KEY_BOX, CB_SETCURSEL, 27, 0);  // "E"
    UniqueHkey key = OpenSettingsForWrite();
    StoreShortcutPair(page, key.get(), IDC_SHOW_MOD, "ShowMod", IDC_SHOW_KEY_BOX, "ShowKey");
    StoreShortcutPair(page, key.get(), IDC_OTHERS_MOD, "OthersMod", IDC_OTHERS_KEY_BOX, "OthersKey");
    DWORD value = 0;
    ASSERT_TRUE(ReadDwordValue(key.get(), "ShowMod", &value));
    EXPECT_EQ(2u, value);
    ASSERT_TRUE(ReadDwordValue(key.get(), "ShowKey", &value));
    EXPECT_EQ(69u, value);
    ASSERT_TRUE(ReadDwordValue(key.get(), "OthersMod", &value));
    EXPECT_EQ(4u, value) << "a modifier the box cannot show is kept, not turned into none";
    ASSERT_TRUE(ReadDwordValue(key.get(), "OthersKey", &value));
    EXPECT_EQ(65u, value);
}

TEST_F(Page, ARefusedCombinationIsWrittenBackAndTheAnswerIsInvalid)
{
    Open(IDD_PAGE_SHORTCUTS, ShortcutsPageProc);
    // Recent set to Show's Alt+Tab: refused.
    SendDlgItemMessageA(page, IDC_RECENT_MOD, CB_SETCURSEL, 1, 0);      // Alt
    SendDlgItemMessageA(page, IDC_RECENT_KEY_BOX, CB_SETCURSEL, 0, 0);  // Tab
    NMHDR apply{};
    apply.hwndFrom = GetParent(page);
    apply.code = PSN_APPLY;
    SendMessageA(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&apply));
    EXPECT_EQ(PSNRET_INVALID, GetWindowLongPtrA(page, DWLP_MSGRESULT));
    EXPECT_EQ(1u, boxes.Texts().size());
    EXPECT_EQ("Win", Selected(IDC_RECENT_MOD));
    EXPECT_EQ("Z", Selected(IDC_RECENT_KEY_BOX));
    UniqueHkey key = OpenSettingsForQuery();
    DWORD value = 0;
    ASSERT_TRUE(ReadDwordValue(key.get(), "RecentKey", &value));
    EXPECT_EQ(90u, value);
    EXPECT_TRUE(settings.showRegistered && settings.recentRegistered && settings.othersRegistered);
}

TEST_F(Page, TheExclusionListRefusesAPathInAnyLetterCase)
{
    Open(IDD_PAGE_EXCLUSION, ExclusionPageProc);
    MessageBoxWatcher exists{"File Exists"};
    EXPECT_TRUE(AddExclusionPath(page, "C:\\Windows\\notepad.exe"));
    EXPECT_FALSE(AddExclusionPath(page, "C:\\WINDOWS\\NOTEPAD.EXE"));
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
    EXPECT_EQ(1, settings.gestureCorner);
    NMHDR apply{};
    apply.code = PSN_APPLY;
    SendMessageA(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&apply));
    UniqueHkey key = OpenSettingsForQuery();
    DWORD value = 0;
    ASSERT_TRUE(ReadDwordValue(key.get(), "Mouse Gesture", &value));
    EXPECT_EQ(1u, value);
    ASSERT_TRUE(ReadDwordValue(key.get(), "Corner", &value));
    EXPECT_EQ(1u, value);
    UninstallMouseHook();

    DestroyWindow(page);
    settings.groupByApps = false;
    Open(IDD_PAGE_ADVANCED, AdvancedPageProc);
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(page, IDC_RESTORE_MINIMIZED));
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(page, IDC_GROUP_BY_APPS));
    CheckDlgButton(page, IDC_RESTORE_MINIMIZED, BST_UNCHECKED);
    SendMessageA(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&apply));
    EXPECT_FALSE(settings.restoreMinimized);
    ASSERT_TRUE(ReadDwordValue(key.get(), "RestoreMinimized", &value));
    EXPECT_EQ(0u, value);
    ASSERT_TRUE(ReadDwordValue(key.get(), "GroupByApps", &value));
    EXPECT_EQ(0u, value);
}
