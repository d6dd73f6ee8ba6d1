// The configuration sheet against the real program: what it shows on a fresh start, and what OK
// and Cancel put in force.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "common/language.h"
#include "resources/resource.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/overview_support.h"

namespace e2e {
namespace {

constexpr WPARAM kConfigureCommand = 32843;
constexpr int kShowModifierBox = 1013, kShowKeyBox = 1014, kRecentModifierBox = 1015, kRecentKeyBox = 1016;
constexpr int kOthersModifierBox = 1017, kOthersKeyBox = 1018, kAppModifierBox = 1024, kAppKeyBox = 1025;
constexpr int kDefaultButton = 1019;
constexpr int kRestoreMinimizedCheck = 1020, kThisMonitorOnlyCheck = 1026;
constexpr int kGestureCheck = 1007, kBottomRight = 1011;
constexpr int kSignInCheck = 1022, kLanguageBox = 1027;
constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kRunValue[] = "Sorvane";

// Every value of HKCU's Run key: name, type and data.
using RunValues = std::map<std::string, std::pair<DWORD, std::string>>;

RunValues ReadRunKey()
{
    RunValues values;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return values;
    for (DWORD index = 0;; ++index) {
        char name[512];
        DWORD nameLength = sizeof name;
        char data[2048];
        DWORD size = sizeof data;
        DWORD type = 0;
        const LONG result = RegEnumValueA(key, index, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
        if (result == ERROR_NO_MORE_ITEMS) break;
        values[std::string(name, nameLength)] =
            result == ERROR_SUCCESS ? std::make_pair(type, std::string(data, size)) : std::make_pair(type, std::string("<unread>"));
    }
    RegCloseKey(key);
    return values;
}

std::string DescribeRunKey(const RunValues& values)
{
    std::string text;
    for (const auto& [name, value] : values)
        text += "  \"" + name + "\" type " + std::to_string(value.first) + ": " + value.second.c_str() + "\n";
    return text.empty() ? std::string("  (no values)\n") : text;
}

// Puts the Run value "Sorvane" back as it was when the test began, also when the test fails.
class RunValueRestorer {
public:
    RunValueRestorer()
    {
        const RunValues values = ReadRunKey();
        const auto found = values.find(kRunValue);
        if (found != values.end()) saved_ = found->second;
        present_ = found != values.end();
    }
    ~RunValueRestorer()
    {
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, kRunKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &key,
                            nullptr) != ERROR_SUCCESS)
            return;
        if (present_)
            RegSetValueExA(key, kRunValue, 0, saved_.first, reinterpret_cast<const BYTE*>(saved_.second.data()),
                           static_cast<DWORD>(saved_.second.size()));
        else
            RegDeleteValueA(key, kRunValue);
        RegCloseKey(key);
    }
    RunValueRestorer(const RunValueRestorer&) = delete;
    RunValueRestorer& operator=(const RunValueRestorer&) = delete;

private:
    bool present_ = false;
    std::pair<DWORD, std::string> saved_;
};

class ConfigurationSheet : public SorvaneTest {
protected:
    ::testing::AssertionResult Open(const SorvaneProcess& sorvane, const std::string& caption = "Sorvane Configuration")
    {
        PostMessageA(sorvane.window(), WM_COMMAND, kConfigureCommand, 0);
        sheet = WaitForDialog(sorvane.id(), caption.c_str());
        if (!sheet) return ::testing::AssertionFailure() << "no sheet:\n" << DescribeWindows(sorvane.id());
        return ::testing::AssertionSuccess();
    }
    // The page on show (a child dialog of the sheet).
    HWND CurrentPage() const
    {
        return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    }
    ::testing::AssertionResult ShowPage(int index)
    {
        PostMessageA(sheet, PSM_SETCURSEL, index, 0);
        HWND page = nullptr;
        const bool shown = PollUntil([&] {
            page = CurrentPage();
            return page && SendMessageA(PropSheet_GetTabControl(sheet), TCM_GETCURSEL, 0, 0) == index;
        });
        if (shown) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "page " << index << " did not show";
    }
    // The entry a drop-down list shows, named by its place in the list (item texts do not cross
    // the process boundary): modifiers "(None)", "Alt", "Ctrl", "Win"; keys "(None)", then in key-table order.
    std::string BoxText(int box) const
    {
        static const char* const modifiers[] = {"(None)", "Alt", "Ctrl", "Win"};
        static const char* const keys[] = {"(None)",
            "Tab", "Esc", "F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10", "F11", "0", "1",
            "2",   "3",   "4",  "5",  "6",  "7",  "8",  "9",  "A",  "B",  "C",  "D",   "E",   "F", "G",
            "H",   "I",   "J",  "K",  "L",  "M",  "N",  "O",  "P",  "Q",  "R",  "S",   "T",   "U", "V",
            "W",   "X",   "Y",  "Z",  "~",  "-",  "=",  "[",  "]",  "\\", ";", "'",  ",",   ".", "/"};
        const LRESULT index = SendDlgItemMessageA(CurrentPage(), box, CB_GETCURSEL, 0, 0);
        const bool modifierBox = box == kShowModifierBox || box == kRecentModifierBox || box == kOthersModifierBox ||
                                 box == kAppModifierBox;
        if (index < 0) return "<none>";
        if (modifierBox) return index < 4 ? modifiers[index] : "?";
        return index < 61 ? keys[index] : "?";
    }
    void Choose(int box, int index) const
    {
        HWND combo = GetDlgItem(CurrentPage(), box);
        SendMessageA(combo, CB_SETCURSEL, index, 0);
    }
    void Press(int button) const { PostMessageA(sheet, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0); }
    ::testing::AssertionResult WaitClosed()
    {
        if (PollUntil([&] { return !IsWindow(sheet); })) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the sheet stayed open";
    }
    static DWORD StoredDword(const char* name)
    {
        const StoredValue value = ReadSetting(name);
        DWORD data = 0xFFFFFFFF;
        if (value.present && value.type == REG_DWORD && value.data.size() == 4) memcpy(&data, value.data.data(), 4);
        return data;
    }
    // The eight boxes of the Keyboard Shortcuts page: Show's, Recent's, Others', App's modifier and key.
    std::vector<std::string> ShownHotkeys() const
    {
        return {BoxText(kShowModifierBox),   BoxText(kShowKeyBox),        BoxText(kRecentModifierBox),
                BoxText(kRecentKeyBox),      BoxText(kOthersModifierBox), BoxText(kOthersKeyBox),
                BoxText(kAppModifierBox),    BoxText(kAppKeyBox)};
    }
    // The stored values behind those boxes, in the same order.
    static std::vector<DWORD> StoredHotkeys()
    {
        std::vector<DWORD> values;
        for (const char* name :
             {"ShowMod", "ShowKey", "RecentMod", "RecentKey", "OthersMod", "OthersKey", "AppMod", "AppKey"})
            values.push_back(StoredDword(name));
        return values;
    }
    // The conflict warning on show, or null.
    HWND Warning(const SorvaneProcess& sorvane) const
    {
        for (HWND box : TopLevelWindows("#32770", sorvane.id(), true))
            if (box != sheet && TextOf(box) == "Sorvane") return box;
        return nullptr;
    }
    // Waits for the conflict warning over the sheet, checks that it names the combination, and
    // presses OK.
    ::testing::AssertionResult DismissWarning(const SorvaneProcess& sorvane, const char* combination)
    {
        HWND warning = nullptr;
        if (!PollUntil([&] { return (warning = Warning(sorvane)) != nullptr; }))
            return ::testing::AssertionFailure() << "no warning:\n" << DescribeWindows(sorvane.id());
        const std::string text = TextOf(GetDlgItem(warning, kMessageBoxTextId));
        if (text != ConflictWarning(combination)) return ::testing::AssertionFailure() << "the warning says " << text;
        return DismissMessageBox(warning);
    }
    // The tray menu's items as Sorvane shows them; the menu is closed again.
    ::testing::AssertionResult ReadMenu(const SorvaneProcess& sorvane, std::vector<std::string>* items)
    {
        PostMessageA(sorvane.window(), kTrayCallback, kTrayIconId, WM_RBUTTONDOWN);
        std::vector<HWND> menus;
        if (!PollUntil([&] { return !(menus = TopLevelWindows("#32768", sorvane.id(), true)).empty(); }))
            return ::testing::AssertionFailure() << "no menu";
        const ::testing::AssertionResult read = probe.ReadTexts(menus[0], items);
        PostMessageA(sorvane.window(), WM_CANCELMODE, 0, 0);
        PollUntil([&] { return TopLevelWindows("#32768", sorvane.id(), true).empty(); });
        return read;
    }
    // The About box and the four pages in every language Sorvane has: no text is marked as too large
    // for its control. Chinese, Japanese and Korean are measured in a run whose LANG is one of them
    // (Wine then draws dialogs in a font of their script, as their Windows do), the others without.
    void ExpectEveryTextFits(DWORD dpi)
    {
        LogPixelsGuard pixels(dpi);
        ASSERT_TRUE(pixels.set());
        const auto eastAsian = [](LANGID id) {
            return PRIMARYLANGID(id) == LANG_JAPANESE || PRIMARYLANGID(id) == LANG_KOREAN || PRIMARYLANGID(id) == LANG_CHINESE;
        };
        for (const ShippedLanguage& language : kShippedLanguages) {
            if (eastAsian(language.id) != eastAsian(GetUserDefaultUILanguage())) continue;
            SCOPED_TRACE(Utf8(language.locale));
            WriteTextSetting("Language", REG_SZ, language.locale);
            SorvaneProcess sorvane;
            ASSERT_TRUE(StartSorvane(sorvane));
            PostMessageA(sorvane.window(), WM_COMMAND, kCommandAbout, 0);
            std::vector<HWND> about;
            ASSERT_TRUE(PollUntil([&] { return !(about = TopLevelWindows("#32770", sorvane.id(), true)).empty(); }));
            std::vector<std::string> lines, more;
            ASSERT_TRUE(probe.ReadTexts(about[0], &lines));
            PostMessageA(about[0], WM_COMMAND, IDOK, 0);
            ASSERT_TRUE(Open(sorvane, SorvaneString(language.id, IDS_SHEET_CAPTION)));
            for (int page = 0; page < 4; ++page) {
                ASSERT_TRUE(ShowPage(page));
                ASSERT_TRUE(probe.ReadTexts(CurrentPage(), &more));
                lines.insert(lines.end(), more.begin(), more.end());
            }
            for (const std::string& line : lines) EXPECT_NE('!', line.empty() ? ' ' : line[0]) << line;
            Press(IDCANCEL);
            ASSERT_TRUE(WaitClosed());
            ASSERT_TRUE(ExitSorvane(sorvane));
        }
    }
    HWND sheet = nullptr;
};

TEST_F(ConfigurationSheet, AFreshStartShowsTheDefaultsOnFourPages)
{
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));
    ASSERT_TRUE(Open(sorvane));
    EXPECT_EQ(4, SendMessageA(PropSheet_GetTabControl(sheet), TCM_GETITEMCOUNT, 0, 0));
    HWND apply = GetDlgItem(sheet, 0x3021);
    EXPECT_TRUE(!apply || !IsWindowVisible(apply)) << "no Apply button";
    ASSERT_TRUE(ShowPage(0));
    EXPECT_EQ((std::vector<std::string>{"Alt", "Tab", "Win", "Z", "Win", "A", "Alt", "~"}), ShownHotkeys());
    ASSERT_TRUE(ShowPage(1));
    EXPECT_EQ(BST_CHECKED, SendDlgItemMessageA(CurrentPage(), kGestureCheck, BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_CHECKED, SendDlgItemMessageA(CurrentPage(), kBottomRight, BM_GETCHECK, 0, 0));
    ASSERT_TRUE(ShowPage(2));
    EXPECT_EQ(0, SendDlgItemMessageA(CurrentPage(), 1004, LB_GETCOUNT, 0, 0));
    ASSERT_TRUE(ShowPage(3));
    EXPECT_EQ(BST_CHECKED, SendDlgItemMessageA(CurrentPage(), kRestoreMinimizedCheck, BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_CHECKED, SendDlgItemMessageA(CurrentPage(), 1021, BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_UNCHECKED, SendDlgItemMessageA(CurrentPage(), kThisMonitorOnlyCheck, BM_GETCHECK, 0, 0));
    Press(IDCANCEL);
    ASSERT_TRUE(WaitClosed());
    ASSERT_TRUE(ExitSorvane(sorvane));
}

TEST_F(ConfigurationSheet, OkPutsNewShowAndAppKeysInForceAtOnce)
{
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));
    ASSERT_TRUE(Open(sorvane));
    ASSERT_TRUE(ShowPage(0));
    Choose(kShowKeyBox, 29);    // "F"
    Choose(kAppModifierBox, 2); // "Ctrl"
    Choose(kAppKeyBox, 15);     // "1"
    Press(IDOK);
    ASSERT_TRUE(WaitClosed());
    EXPECT_EQ((std::vector<DWORD>{1, 70, 8, 90, 8, 65, 2, 49}), StoredHotkeys());
    EXPECT_TRUE(HotkeyTaken(MOD_ALT, 'F'));
    EXPECT_TRUE(HotkeyFree(MOD_ALT, VK_TAB));
    EXPECT_TRUE(HotkeyTaken(MOD_CONTROL, '1'));
    EXPECT_TRUE(HotkeyFree(MOD_ALT, DefaultAppKey()));
    ASSERT_TRUE(ExitSorvane(sorvane));
}

// A combination chosen for a second hotkey is the user's change on whichever row it is chosen: one warning,
// and the sheet stays open on the Keyboard Shortcuts page with that row's earlier combination shown, stored
// and registered; another row's change stands (two rows off share nothing); the other pages store all the same.
TEST_F(ConfigurationSheet, ACombinationUsedTwiceIsRefusedOnAnyRowAndTheOtherPagesStoreAllTheSame)
{
    struct Case {
        const char* row;
        int modifierBox, keyBox;
        int modifier, key;  // places in the lists
        const char* combination;
        int otherKeyBox, otherKey;  // another row's change; then what is shown and stored:
        std::vector<std::string> shown; std::vector<DWORD> stored;
    };
    const Case cases[] = {
        {"Recent", kRecentModifierBox, kRecentKeyBox, 3, 24, "Win-A", kAppKeyBox, 0,  // Others'; App off
         {"Alt", "Tab", "Win", "Z", "Win", "A", "Alt", "(None)"}, {1, 9, 8, 90, 8, 65, 1, 0}},
        {"Others", kOthersModifierBox, kOthersKeyBox, 3, 49, "Win-Z", kShowKeyBox, 0,  // Recent's; Show off
         {"Alt", "(None)", "Win", "Z", "Win", "A", "Alt", "(None)"}, {1, 0, 8, 90, 8, 65, 1, 0}},
        {"Show", kShowModifierBox, kShowKeyBox, 3, 49, "Win-Z", kAppKeyBox, 50,  // Recent's; App on
         {"Alt", "(None)", "Win", "Z", "Win", "A", "Alt", "~"}, {1, 0, 8, 90, 8, 65, 1, DefaultAppKey()}},
        {"App", kAppModifierBox, kAppKeyBox, 3, 24, "Win-A", kShowKeyBox, 1,  // Others'; Show on
         {"Alt", "Tab", "Win", "Z", "Win", "A", "Alt", "~"}, {1, 9, 8, 90, 8, 65, 1, DefaultAppKey()}},
    };
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));
    ASSERT_TRUE(Open(sorvane));
    bool restoreMinimized = true;
    for (const Case& test : cases) {
        SCOPED_TRACE(std::string(test.row) + " set to " + test.combination);
        ASSERT_TRUE(ShowPage(0));
        Choose(test.modifierBox, test.modifier);
        Choose(test.keyBox, test.key);
        Choose(test.otherKeyBox, test.otherKey);
        // OK is pressed on the Advanced page, with its box changed.
        ASSERT_TRUE(ShowPage(3));
        restoreMinimized = !restoreMinimized;
        SendDlgItemMessageA(CurrentPage(), kRestoreMinimizedCheck, BM_SETCHECK,
                            restoreMinimized ? BST_CHECKED : BST_UNCHECKED, 0);
        Press(IDOK);
        ASSERT_TRUE(DismissWarning(sorvane, test.combination));
        ASSERT_TRUE(PollUntil([&] { return !IsWindow(sheet) || Warning(sorvane) || ShownHotkeys() == test.shown; }))
            << "the boxes show " << ::testing::PrintToString(ShownHotkeys());
        ASSERT_TRUE(IsWindow(sheet)) << "the sheet closed";
        ASSERT_EQ(nullptr, Warning(sorvane)) << "a second warning";
        EXPECT_EQ(0, SendMessageA(PropSheet_GetTabControl(sheet), TCM_GETCURSEL, 0, 0)) << "not on Keyboard Shortcuts";
        EXPECT_EQ(test.stored, StoredHotkeys());
        for (size_t i = 0; i < test.stored.size(); i += 2)
            EXPECT_TRUE(!test.stored[i + 1] || HotkeyTaken(test.stored[i], test.stored[i + 1]));
        EXPECT_EQ(restoreMinimized ? 1u : 0u, StoredDword("RestoreMinimized")) << "the other pages store all the same";
    }
    Press(IDCANCEL);
    ASSERT_TRUE(WaitClosed());
    ASSERT_TRUE(ExitSorvane(sorvane));
}

// A French keyboard's key above Tab is VK_OEM_7, with "\u00B2" on it (in LC_ALL=C: tests/e2e/CMakeLists.txt).
TEST_F(ConfigurationSheet, TheAppHotkeyIsAltAndTheKeyAboveTabOfTheUsersLayout)
{
    const KeyboardLayout french("fr");
    ASSERT_TRUE(french.set);
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));
    EXPECT_TRUE(HotkeyTaken(MOD_ALT, VK_OEM_7));
    EXPECT_TRUE(HotkeyFree(MOD_ALT, VK_OEM_3));
    ASSERT_TRUE(Open(sorvane));  // on Keyboard Shortcuts
    wchar_t shown[16] = {};  // compared as UTF-16: this locale's console prints ASCII only
    SendMessageW(GetDlgItem(CurrentPage(), kAppKeyBox), WM_GETTEXT, std::size(shown), reinterpret_cast<LPARAM>(shown));
    EXPECT_EQ(std::wstring(L"\u00B2"), shown);
    Press(IDCANCEL);
    ASSERT_TRUE(WaitClosed());
    ASSERT_TRUE(ExitSorvane(sorvane));
}

TEST_F(ConfigurationSheet, ACombinationHeldElsewhereSinceStartNeverBlocksOk)
{
    // The shell holds Win+Z (Recent's default) before Sorvane starts: one warning at start.
    HeldHotkey winZ(MOD_WIN, 'Z');
    ASSERT_TRUE(winZ.held()) << "the driver cannot hold Win+Z: error " << winZ.error();
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvaneThroughWarning(sorvane, "Win-Z"));

    // Only Advanced boxes change: OK closes the sheet without a word and stores them.
    ASSERT_TRUE(Open(sorvane));
    ASSERT_TRUE(ShowPage(3));
    SendDlgItemMessageA(CurrentPage(), kRestoreMinimizedCheck, BM_SETCHECK, BST_UNCHECKED, 0);
    SendDlgItemMessageA(CurrentPage(), kThisMonitorOnlyCheck, BM_SETCHECK, BST_CHECKED, 0);
    Press(IDOK);
    ASSERT_TRUE(WaitClosed()) << DescribeWindows(sorvane.id());
    EXPECT_EQ(0u, StoredDword("RestoreMinimized"));
    EXPECT_EQ(1u, StoredDword("ThisMonitorOnly"));
    EXPECT_TRUE(HotkeyTaken(MOD_ALT, VK_TAB));
    ASSERT_TRUE(ExitSorvane(sorvane));
}

TEST_F(ConfigurationSheet, CancelAfterDefaultChangesNothingAndTheGestureCanBeSwitchedOff)
{
    WriteDwordSetting("ShowKey", 70);  // Alt+F
    WriteDwordSetting("AppMod", MOD_WIN);
    WriteDwordSetting("AppKey", '1');  // Win+1
    WriteDwordSetting("Info1", 1);
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));
    ASSERT_TRUE(Open(sorvane));
    ASSERT_TRUE(ShowPage(0));
    EXPECT_EQ((std::vector<std::string>{"Alt", "F", "Win", "Z", "Win", "A", "Win", "1"}), ShownHotkeys());
    Press(kDefaultButton);
    ASSERT_TRUE(PollUntil([&] { return BoxText(kShowKeyBox) == "Tab"; }));
    EXPECT_EQ((std::vector<std::string>{"Alt", "Tab", "Win", "Z", "Win", "A", "Alt", "~"}), ShownHotkeys());
    Press(IDCANCEL);
    ASSERT_TRUE(WaitClosed());
    EXPECT_TRUE(HotkeyTaken(MOD_ALT, 'F'));
    EXPECT_TRUE(HotkeyFree(MOD_ALT, VK_TAB));
    EXPECT_TRUE(HotkeyTaken(MOD_WIN, '1'));
    EXPECT_TRUE(HotkeyFree(MOD_ALT, DefaultAppKey()));
    EXPECT_EQ(70u, StoredDword("ShowKey"));
    EXPECT_EQ(49u, StoredDword("AppKey"));

    ASSERT_TRUE(Open(sorvane));
    ASSERT_TRUE(ShowPage(1));
    HWND check = GetDlgItem(CurrentPage(), kGestureCheck);
    SendMessageA(check, BM_SETCHECK, BST_UNCHECKED, 0);
    PostMessageA(CurrentPage(), WM_COMMAND, MAKEWPARAM(kGestureCheck, BN_CLICKED), reinterpret_cast<LPARAM>(check));
    Press(IDOK);
    ASSERT_TRUE(WaitClosed());
    EXPECT_EQ(0u, StoredDword("Mouse Gesture"));
    ASSERT_TRUE(probe.Attach(sorvane.window()));
    ASSERT_TRUE(MoveAndSettle(sorvane, ScreenWidth() - 1, ScreenHeight() - 1));
    EXPECT_TRUE(probe.TakeHotkeys().empty()) << "the corner still reports";
    ASSERT_TRUE(ParkPointer());
    ASSERT_TRUE(ExitSorvane(sorvane));
}

TEST_F(ConfigurationSheet, AddOpensTheFileDialogAndRemovingEveryExclusionEntryDeletesTheValue)
{
    const char stored[] = "C:\\one.exe\0C:\\two.exe\0";
    WriteSetting("Exclusion", REG_MULTI_SZ, stored, sizeof stored);
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));
    ASSERT_TRUE(Open(sorvane));
    ASSERT_TRUE(ShowPage(2));
    HWND page = CurrentPage();
    ASSERT_EQ(2, SendDlgItemMessageA(page, 1004, LB_GETCOUNT, 0, 0));
    // Add opens the file dialog (its library is loaded on this first use); Cancel adds nothing.
    PostMessageA(page, WM_COMMAND, MAKEWPARAM(1005, BN_CLICKED), 0);
    HWND chooser = WaitForDialog(sorvane.id(), "Select Executable File");
    ASSERT_NE(nullptr, chooser) << DescribeWindows(sorvane.id());
    PostMessageA(chooser, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(PollUntil([&] { return !IsWindow(chooser); }));
    EXPECT_EQ(2, SendDlgItemMessageA(page, 1004, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < 2; ++i) {
        SendDlgItemMessageA(page, 1004, LB_SETCURSEL, 0, 0);
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(1006, BN_CLICKED), 0);
    }
    EXPECT_EQ(0, SendDlgItemMessageA(page, 1004, LB_GETCOUNT, 0, 0));
    EXPECT_TRUE(ReadSetting("Exclusion").present) << "Remove alone stores nothing";
    Press(IDOK);
    ASSERT_TRUE(WaitClosed());
    EXPECT_FALSE(ReadSetting("Exclusion").present);
    ASSERT_TRUE(ExitSorvane(sorvane));
}

// The only value Sorvane writes outside its own key, and only on request: the box writes the Run
// value with this executable's quoted path, and clearing it removes the value again.
TEST_F(ConfigurationSheet, TheSignInBoxWritesAndRemovesOnlySorvanesRunValue)
{
    RunValueRestorer restorer;
    {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, kRunValue);
            RegCloseKey(key);
        }
    }
    const RunValues before = ReadRunKey();
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));
    ASSERT_TRUE(Open(sorvane));
    ASSERT_TRUE(ShowPage(3));
    ASSERT_NE(nullptr, GetDlgItem(CurrentPage(), kSignInCheck));
    EXPECT_EQ(BST_UNCHECKED, SendDlgItemMessageA(CurrentPage(), kSignInCheck, BM_GETCHECK, 0, 0));
    SendDlgItemMessageA(CurrentPage(), kSignInCheck, BM_SETCHECK, BST_CHECKED, 0);
    Press(IDOK);
    ASSERT_TRUE(WaitClosed());

    RunValues expected = before;
    std::string quoted = "\"";
    quoted += SorvanePath() + "\"";
    expected[kRunValue] = {REG_SZ, quoted + std::string(1, '\0')};
    const RunValues written = ReadRunKey();
    EXPECT_EQ(expected, written) << "before:\n" << DescribeRunKey(before) << "after OK:\n" << DescribeRunKey(written);

    ASSERT_TRUE(Open(sorvane));
    ASSERT_TRUE(ShowPage(3));
    EXPECT_EQ(BST_CHECKED, SendDlgItemMessageA(CurrentPage(), kSignInCheck, BM_GETCHECK, 0, 0));
    SendDlgItemMessageA(CurrentPage(), kSignInCheck, BM_SETCHECK, BST_UNCHECKED, 0);
    Press(IDOK);
    ASSERT_TRUE(WaitClosed());
    const RunValues removed = ReadRunKey();
    EXPECT_EQ(before, removed) << "before:\n" << DescribeRunKey(before) << "after OK:\n" << DescribeRunKey(removed);
    ASSERT_TRUE(ExitSorvane(sorvane));
}

// Run with LANG=de_DE.UTF-8 and with LANG=ja_JP.UTF-8 (tests/e2e/CMakeLists.txt): Wine gives the user
// that UI language, and the tray menu, a page and a message box say what Sorvane's resources say in it.
TEST_F(ConfigurationSheet, TheMenuAPageAndABoxSpeakTheUsersLanguage)
{
    const LANGID language = GetUserDefaultUILanguage();
    ASSERT_NE(LANG_ENGLISH, PRIMARYLANGID(language)) << "LANG names a locale the system lacks";
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));
    std::vector<std::string> shown;
    ASSERT_TRUE(ReadMenu(sorvane, &shown));
    EXPECT_EQ(SorvaneMenu(language, IDR_TRAY_MENU), shown);
    ASSERT_TRUE(Open(sorvane, SorvaneString(language, IDS_SHEET_CAPTION)));
    ASSERT_TRUE(probe.ReadTexts(CurrentPage(), &shown));
    for (const std::string& text : SorvaneDialog(language, IDD_PAGE_SHORTCUTS))
        EXPECT_NE(shown.end(), std::find(shown.begin(), shown.end(), text)) << text;
    ASSERT_TRUE(ShowPage(2));
    PostMessageA(CurrentPage(), WM_COMMAND, MAKEWPARAM(IDC_EXCLUSION_REMOVE, BN_CLICKED), 0);
    HWND box = WaitForDialog(sorvane.id(), SorvaneString(language, IDS_NOTHING_SELECTED_TITLE).c_str());
    ASSERT_NE(nullptr, box) << DescribeWindows(sorvane.id());
    EXPECT_EQ(SorvaneString(language, IDS_NOTHING_SELECTED), TextOf(GetDlgItem(box, kMessageBoxTextId)));
    ASSERT_TRUE(DismissMessageBox(box));
    Press(IDCANCEL);
    ASSERT_TRUE(WaitClosed());
    ASSERT_TRUE(ExitSorvane(sorvane));
}

// On an English system, Deutsch chosen on the Advanced page is stored and speaks in the menu at once.
TEST_F(ConfigurationSheet, ALanguageChosenOnTheAdvancedPageIsStoredAndSpeaksAtOnce)
{
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));
    ASSERT_TRUE(Open(sorvane));
    ASSERT_TRUE(ShowPage(3));
    Choose(kLanguageBox, 2);  // after "System default" and "English"
    Press(IDOK);
    ASSERT_TRUE(WaitClosed());
    EXPECT_EQ(L"de-DE", ReadUserText(kSettingsKey, "Language"));
    std::vector<std::string> shown;
    ASSERT_TRUE(ReadMenu(sorvane, &shown));
    EXPECT_EQ(SorvaneMenu(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), IDR_TRAY_MENU), shown);
    ASSERT_TRUE(ExitSorvane(sorvane));
}

TEST_F(ConfigurationSheet, EveryTextFitsItsControlAt96Dpi) { ExpectEveryTextFits(96); }
TEST_F(ConfigurationSheet, EveryTextFitsItsControlAt144Dpi) { ExpectEveryTextFits(144); }

}  // namespace
}  // namespace e2e
