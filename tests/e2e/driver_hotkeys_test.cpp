// The four global hotkeys as another program sees them: which combinations Sorvane holds, the
// warnings for those it cannot have, and how stored values of the wrong shape fall back.
#include <windows.h>

#include <string>

#include "tests/e2e/driver.h"
#include "tests/e2e/overview_support.h"

namespace e2e {
namespace {

using HotkeyConflict = SorvaneTest;
using HotkeySettings = SorvaneTest;

constexpr UINT kAlt = MOD_ALT, kCtrl = MOD_CONTROL, kWin = MOD_WIN;

TEST_F(HotkeyConflict, TakenRecentComboWarnsOnceAndStartupGoesOn)
{
    HeldHotkey winZ(kWin, 'Z');
    ASSERT_TRUE(winZ.held()) << "the driver cannot hold Win+Z: error " << winZ.error();

    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvaneThroughWarning(sorvane, "Win-Z"));  // fails on a second warning
    EXPECT_TRUE(HotkeyTaken(kAlt, VK_TAB));
    EXPECT_TRUE(HotkeyTaken(kWin, 'A'));
    EXPECT_TRUE(HotkeyTaken(kAlt, DefaultAppKey())) << "App, registered after the refused one";

    // The refused combination is not taken later behind the owner's back.
    winZ.Release();
    EXPECT_TRUE(HotkeyFree(kWin, 'Z'));
}

// A box disables its owner, and disabling another program's window waits for it: with a hung
// program in front, the warning still comes and start-up goes on.
TEST_F(HotkeyConflict, TheWarningComesWithAHungProgramInFront)
{
    TestWindows windows;
    ASSERT_TRUE(windows.Open(1, "Test window", "hung,front"));
    HWND hung = FindWindowA(nullptr, "Test window hung");
    ASSERT_NE(nullptr, hung);
    ASSERT_TRUE(PollUntil([&] { return GetForegroundWindow() == hung; })) << "the hung window is not in front";
    HeldHotkey winZ(kWin, 'Z');
    ASSERT_TRUE(winZ.held()) << "the driver cannot hold Win+Z: error " << winZ.error();

    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvaneThroughWarning(sorvane, "Win-Z"));
    ASSERT_TRUE(ExitSorvane(sorvane));
}

TEST_F(HotkeyConflict, OneComboForAllFourWarnsForRecentOthersAndApp)
{
    for (const char* name : {"ShowMod", "RecentMod", "OthersMod", "AppMod"}) WriteDwordSetting(name, kCtrl);
    for (const char* name : {"ShowKey", "RecentKey", "OthersKey", "AppKey"}) WriteDwordSetting(name, VK_F9);

    SorvaneProcess sorvane;
    ASSERT_TRUE(sorvane.Launch(SorvanePath()));
    ASSERT_TRUE(sorvane.WaitForMainWindow());
    HWND previous = nullptr;
    for (const char* which : {"Recent", "Others", "App"}) {
        HWND box = nullptr;
        ASSERT_TRUE(WaitForMessageBox(sorvane, &box, previous)) << "the warning for " << which;
        EXPECT_EQ(TextOf(box), "Sorvane") << which;
        EXPECT_EQ(TextOf(GetDlgItem(box, kMessageBoxTextId)), ConflictWarning("Ctrl-F9"))
            << which;
        ASSERT_TRUE(DismissMessageBox(box)) << which;
        previous = box;
    }
    ASSERT_TRUE(WaitForStartupEnd(sorvane));  // fails on a fourth warning

    EXPECT_TRUE(HotkeyTaken(kCtrl, VK_F9));
    EXPECT_TRUE(HotkeyFree(kAlt, VK_TAB));
    EXPECT_TRUE(HotkeyFree(kWin, 'Z'));
    EXPECT_TRUE(HotkeyFree(kWin, 'A'));
    EXPECT_TRUE(HotkeyFree(kAlt, DefaultAppKey()));
}

TEST_F(HotkeySettings, ValuesOfTheWrongShapeFallBackOneByOne)
{
    // Each wrong value holds data that would name another combination if its shape were ignored.
    const BYTE ctrlAsBytes[4] = {kCtrl, 0, 0, 0};
    WriteSetting("ShowMod", REG_SZ, ctrlAsBytes, sizeof ctrlAsBytes);  // -> Alt
    WriteDwordSetting("ShowKey", VK_F1);                               // stored: F1
    WriteSetting("RecentMod", REG_BINARY, ctrlAsBytes, sizeof ctrlAsBytes);  // -> Win
    const DWORD keyB = 'B';
    WriteSetting("RecentKey", REG_DWORD, &keyB, 2);  // two bytes -> Z
    WriteDwordSetting("AppMod", kCtrl);                // stored: Ctrl
    WriteDwordSetting("AppKey", '1');                  // stored: 1

    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));  // fails on any warning

    EXPECT_TRUE(HotkeyTaken(kAlt, VK_F1)) << "Show: default modifier, stored key";
    EXPECT_TRUE(HotkeyFree(kCtrl, VK_F1));
    EXPECT_TRUE(HotkeyFree(kAlt, VK_TAB));

    EXPECT_TRUE(HotkeyTaken(kWin, 'Z')) << "Recent: both values fall back";
    EXPECT_TRUE(HotkeyFree(kCtrl, 'Z'));
    EXPECT_TRUE(HotkeyFree(kWin, 'B'));

    EXPECT_TRUE(HotkeyTaken(kWin, 'A')) << "Others: absent, the default";

    EXPECT_TRUE(HotkeyTaken(kCtrl, '1')) << "App: both stored values";
    EXPECT_TRUE(HotkeyFree(kAlt, DefaultAppKey()));
}

}  // namespace
}  // namespace e2e
