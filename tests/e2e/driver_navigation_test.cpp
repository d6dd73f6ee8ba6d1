// Driving the open Overview against the real program: the keys, the pointer and the wheel move
// the selection; Enter and a click switch; the quick switches; closing a window from its tile.
#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/driver.h"
#include "tests/e2e/overview_support.h"

namespace e2e {
namespace {

class Navigation : public OverviewTest {
protected:
    // Opens the Overview over the test windows and waits for the first tile to be selected.
    ::testing::AssertionResult Show(const SorvaneProcess& sorvane, const std::vector<RECT>& tiles)
    {
        PostMessageA(sorvane.window(), WM_HOTKEY, kShowHotkey, 0);
        return WaitOverviewShown(sorvane.window(), tiles[0]);
    }
    static ::testing::AssertionResult SelectedBecomes(const std::vector<RECT>& tiles, int index)
    {
        return SelectedTileBecomes(tiles, index);
    }
    static void Chord(WORD modifier, WORD key)
    {
        INPUT input[4]{};
        for (INPUT& one : input) one.type = INPUT_KEYBOARD;
        input[0].ki.wVk = modifier;
        input[1].ki.wVk = key;
        input[2].ki.wVk = key;
        input[2].ki.dwFlags = KEYEVENTF_KEYUP;
        input[3].ki.wVk = modifier;
        input[3].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(4, input, sizeof(INPUT));
    }
    static LPARAM At(int x, int y) { return MAKELPARAM(x, y); }
    static POINT Centre(const RECT& tile) { return POINT{(tile.left + tile.right) / 2, (tile.top + tile.bottom) / 2}; }
    HWND TestWindowTitled(const std::string& title)
    {
        for (HWND window : windows.windows())
            if (TextOf(window) == title) return window;
        return nullptr;
    }
};

TEST_F(Navigation, KeysMoveTheSelectionAndEnterSwitches)
{
    ASSERT_TRUE(windows.Open(5));
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));
    const std::vector<RECT> tiles = ExpectedTiles(5);  // 3 x 2: tiles 0 1 2 / 3 4
    ASSERT_TRUE(Show(sorvane, tiles));

    PressKey(VK_TAB);
    EXPECT_TRUE(SelectedBecomes(tiles, 1)) << "Tab";
    PressKey(VK_DOWN);
    EXPECT_TRUE(SelectedBecomes(tiles, 4)) << "Down";
    PressKey(VK_RIGHT);
    EXPECT_TRUE(SelectedBecomes(tiles, 3)) << "Right wraps within the last row";
    PressKey(VK_UP);
    EXPECT_TRUE(SelectedBecomes(tiles, 0)) << "Up";
    PressKey(VK_LEFT);
    EXPECT_TRUE(SelectedBecomes(tiles, 2)) << "Left wraps within the row";
    PressKey(VK_END);
    EXPECT_TRUE(SelectedBecomes(tiles, 4)) << "End";
    PressKey(VK_TAB);
    EXPECT_TRUE(SelectedBecomes(tiles, 0)) << "Tab from the last tile";
    Chord(VK_SHIFT, VK_TAB);
    EXPECT_TRUE(SelectedBecomes(tiles, 4)) << "Shift+Tab from the first tile";
    PressKey(VK_HOME);
    EXPECT_TRUE(SelectedBecomes(tiles, 0)) << "Home";
    PressKey(VK_NEXT);
    EXPECT_TRUE(SelectedBecomes(tiles, 4)) << "Page Down";

    // The wheel moves one tile per whole notch; a touchpad's small turns add up.
    PostMessageA(sorvane.window(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA * 3), At(5, 5));
    EXPECT_TRUE(SelectedBecomes(tiles, 1)) << "three notches forward: three tiles back";
    PostMessageA(sorvane.window(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), At(5, 5));
    EXPECT_TRUE(SelectedBecomes(tiles, 2)) << "wheel backward: the next tile";
    for (int turn = 0; turn < 4; ++turn)
        PostMessageA(sorvane.window(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-30)), At(5, 5));
    EXPECT_TRUE(SelectedBecomes(tiles, 3)) << "four turns of -30: one tile";
    PressKey(VK_END);
    EXPECT_TRUE(SelectedBecomes(tiles, 4));

    // The Show hotkey while open changes nothing.
    PostMessageA(sorvane.window(), WM_HOTKEY, kShowHotkey, 0);
    ASSERT_TRUE(probe.Attach(sorvane.window()));
    ASSERT_TRUE(probe.Flush());
    EXPECT_TRUE(SelectedBecomes(tiles, 4));

    // The fifth tile is the window furthest back: "Test window 1". Enter brings it forward.
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitOverviewHidden(sorvane.window()));
    HWND chosen = TestWindowTitled("Test window 1");
    EXPECT_TRUE(PollUntil([&] { return GetForegroundWindow() == chosen; }))
        << "foreground is \"" << TextOf(GetForegroundWindow()) << "\"";
    ASSERT_TRUE(ExitSorvane(sorvane));
}

// Alt+Tab held as the built-in switcher is: each further Tab moves on, letting go of Alt switches.
TEST_F(Navigation, HoldingAltChoosesAndLettingGoSwitches)
{
    ASSERT_TRUE(windows.Open(4));
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));
    const std::vector<RECT> tiles = ExpectedTiles(4);  // 2 x 2; tile i is "Test window 4 - i"
    auto foregroundIs = [&](const char* title) {
        HWND wanted = TestWindowTitled(title);
        return PollUntil([&] { return GetForegroundWindow() == wanted; }) ? ::testing::AssertionSuccess()
               : ::testing::AssertionFailure() << "foreground is \"" << TextOf(GetForegroundWindow()) << "\"";
    };
    HeldAlt alt;
    auto altTab = [&](const SorvaneProcess& process) {
        if (::testing::AssertionResult held = alt.Press(); !held) return held;
        PressKey(VK_TAB);
        return WaitOverviewShown(process.window(), tiles[0]);
    };

    // Two further Tabs, Shift+Tab back one, let go: the second tile's window comes to the front.
    ASSERT_TRUE(altTab(sorvane));
    PressKey(VK_TAB);
    EXPECT_TRUE(SelectedBecomes(tiles, 1));
    PressKey(VK_TAB);
    EXPECT_TRUE(SelectedBecomes(tiles, 2));
    Chord(VK_SHIFT, VK_TAB);
    EXPECT_TRUE(SelectedBecomes(tiles, 1));
    ASSERT_TRUE(alt.Release());
    ASSERT_TRUE(WaitOverviewHidden(sorvane.window()));
    EXPECT_TRUE(foregroundIs("Test window 3"));

    // Let go at once: the Overview stays, and works as ever.
    ASSERT_TRUE(altTab(sorvane));
    ASSERT_TRUE(alt.Release());
    ASSERT_TRUE(probe.Attach(sorvane.window()));
    ASSERT_TRUE(probe.Flush());
    EXPECT_TRUE(IsWindowVisible(sorvane.window()));
    EXPECT_TRUE(SelectedBecomes(tiles, 0));
    PressKey(VK_TAB);
    EXPECT_TRUE(SelectedBecomes(tiles, 1));
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitOverviewHidden(sorvane.window()));
    EXPECT_TRUE(foregroundIs("Test window 4"));

    // Esc with Alt held closes without switching; the later release does nothing.
    ASSERT_TRUE(altTab(sorvane));
    PressKey(VK_TAB);
    EXPECT_TRUE(SelectedBecomes(tiles, 1));
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitOverviewHidden(sorvane.window()));
    ASSERT_TRUE(alt.Release());
    EXPECT_TRUE(foregroundIs("Test window 4"));

    // Let go at once, then Alt+Tab again: that press moves on, and letting go switches.
    ASSERT_TRUE(altTab(sorvane));
    ASSERT_TRUE(alt.Release());
    ASSERT_TRUE(probe.Flush());
    ASSERT_TRUE(alt.Press());
    PressKey(VK_TAB);
    EXPECT_TRUE(SelectedBecomes(tiles, 1));
    ASSERT_TRUE(alt.Release());
    ASSERT_TRUE(WaitOverviewHidden(sorvane.window()));
    EXPECT_TRUE(foregroundIs("Test window 3"));

    // A tile chosen by the pointer while Alt is held is where letting go switches to.
    ASSERT_TRUE(altTab(sorvane));
    ASSERT_TRUE(PlacePointer((tiles[2].left + tiles[2].right) / 2, (tiles[2].top + tiles[2].bottom) / 2));
    EXPECT_TRUE(SelectedBecomes(tiles, 2));
    ASSERT_TRUE(alt.Release());
    ASSERT_TRUE(WaitOverviewHidden(sorvane.window()));
    EXPECT_TRUE(foregroundIs("Test window 2"));
    ASSERT_TRUE(ParkPointer());

    // The same with Show this application's windows (Alt+~): its further presses move on, and so does
    // Alt+Tab (the Show hotkey) inside it.
    ASSERT_TRUE(alt.Press());
    PressKey(VK_OEM_3);
    ASSERT_TRUE(WaitOverviewShown(sorvane.window(), tiles[0]));
    PressKey(VK_OEM_3);
    EXPECT_TRUE(SelectedBecomes(tiles, 1));
    PressKey(VK_TAB);
    EXPECT_TRUE(SelectedBecomes(tiles, 2));
    ASSERT_TRUE(alt.Release());
    ASSERT_TRUE(WaitOverviewHidden(sorvane.window()));
    EXPECT_TRUE(foregroundIs("Test window 4"));
    ASSERT_TRUE(ExitSorvane(sorvane));
    probe.Detach();

    // With the Advanced page's box off, letting go after a move leaves the Overview open.
    WriteDwordSetting("SwitchOnRelease", 0);
    SorvaneProcess again;
    ASSERT_TRUE(StartSorvane(again));
    ASSERT_TRUE(altTab(again));
    PressKey(VK_TAB);
    EXPECT_TRUE(SelectedBecomes(tiles, 1));
    ASSERT_TRUE(alt.Release());
    ASSERT_TRUE(probe.Attach(again.window()));
    ASSERT_TRUE(probe.Flush());
    EXPECT_TRUE(IsWindowVisible(again.window()));
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitOverviewHidden(again.window()));
    ASSERT_TRUE(ExitSorvane(again));
}

TEST_F(Navigation, ThePointerSelectsAndAClickOnTheSelectedTileSwitches)
{
    ASSERT_TRUE(windows.Open(3));
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));
    const std::vector<RECT> tiles = ExpectedTiles(3);  // 2 x 2
    ASSERT_TRUE(Show(sorvane, tiles));

    // A click on a tile that is not selected does nothing.
    const POINT third = Centre(tiles[2]);
    PostMessageA(sorvane.window(), WM_LBUTTONUP, 0, At(third.x, third.y));
    ASSERT_TRUE(probe.Attach(sorvane.window()));
    ASSERT_TRUE(probe.Flush());
    EXPECT_TRUE(IsWindowVisible(sorvane.window()));
    EXPECT_TRUE(SelectedBecomes(tiles, 0));

    // Hovering selects; the click then switches to that window (the third: "Test window 1").
    PostMessageA(sorvane.window(), WM_MOUSEMOVE, 0, At(third.x, third.y));
    EXPECT_TRUE(SelectedBecomes(tiles, 2));
    PostMessageA(sorvane.window(), WM_LBUTTONUP, 0, At(third.x, third.y));
    ASSERT_TRUE(WaitOverviewHidden(sorvane.window()));
    HWND chosen = TestWindowTitled("Test window 1");
    EXPECT_TRUE(PollUntil([&] { return GetForegroundWindow() == chosen; }))
        << "foreground is \"" << TextOf(GetForegroundWindow()) << "\"";
    ASSERT_TRUE(ExitSorvane(sorvane));
}

TEST_F(Navigation, AMinimizedWindowChosenStaysRestoredAndAnotherProgramsSorvaneIsListed)
{
    WriteDwordSetting("RestoreMinimized", 1);
    ASSERT_TRUE(windows.Open(2));
    TestWindows namesake;  // a window of another program that bears Sorvane's title
    ASSERT_TRUE(namesake.Open(1, "Sorvane", "plain,slot=2"));
    HWND minimized = TestWindowTitled("Test window 1");
    ShowWindow(minimized, SW_MINIMIZE);
    ASSERT_TRUE(PollUntil([&] { return IsIconic(minimized) != FALSE; }));
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));
    const std::vector<RECT> tiles = ExpectedTiles(3);  // the namesake, window 2, window 1
    ASSERT_TRUE(Show(sorvane, tiles));
    // Under Wine the restored window's X focus may arrive after the Overview has taken the front
    // (its next paint takes it back): the keys go to the Overview's queue, not through the input.
    PostMessageA(sorvane.window(), WM_KEYDOWN, VK_END, 0);
    ASSERT_TRUE(SelectedBecomes(tiles, 2)) << "three tiles: the namesake is listed";

    PostMessageA(sorvane.window(), WM_KEYUP, VK_RETURN, 0);
    ASSERT_TRUE(WaitOverviewHidden(sorvane.window()));
    EXPECT_TRUE(PollUntil([&] { return GetForegroundWindow() == minimized && !IsIconic(minimized); }))
        << "foreground \"" << TextOf(GetForegroundWindow()) << "\", minimized " << IsIconic(minimized);
    Sleep(500);  // a late minimize would have arrived by now
    EXPECT_FALSE(IsIconic(minimized)) << "the chosen window was minimized again";
    ASSERT_TRUE(ExitSorvane(sorvane));
}

TEST_F(Navigation, QuickSwitchesPickTheWindowBehindAndTheLastOne)
{
    ASSERT_TRUE(windows.Open(3));
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));
    HWND first = TestWindowTitled("Test window 1"), third = TestWindowTitled("Test window 3");
    SetForegroundWindow(third);
    ASSERT_TRUE(PollUntil([&] { return GetForegroundWindow() == third; }));
    ShowWindow(first, SW_MINIMIZE);  // furthest back, and minimized

    PostMessageA(sorvane.window(), WM_HOTKEY, 32831, 0);  // Others: the last listed window
    EXPECT_TRUE(PollUntil([&] { return GetForegroundWindow() == first && !IsIconic(first); }))
        << "foreground \"" << TextOf(GetForegroundWindow()) << "\", minimized " << IsIconic(first);
    PostMessageA(sorvane.window(), WM_HOTKEY, 32830, 0);  // Recent: the one directly behind
    EXPECT_TRUE(PollUntil([&] { return GetForegroundWindow() == third; }))
        << "foreground \"" << TextOf(GetForegroundWindow()) << "\"";
    EXPECT_FALSE(IsWindowVisible(sorvane.window()));
    ASSERT_TRUE(ExitSorvane(sorvane));
}

TEST_F(Navigation, TheCloseSquareClosesOneWindowOfABusyThreadAndShowsAFreshOverviewAtOnce)
{
    ASSERT_TRUE(windows.Open(2, "Staying window"));
    // Two windows of one thread: closing one leaves the thread running with the other. Another
    // program (the helper under another name).
    ScratchFolder folder;
    ASSERT_TRUE(folder.CopyIn(DriverDirectory() + "SorvaneTestWindows.exe", "Closing.exe"));
    TestWindows closable;
    ASSERT_TRUE(closable.Open(2, "Closing window", "slot=2", folder.path() + "Closing.exe"));  // in front: the first tiles
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));
    const std::vector<RECT> four = ExpectedTiles(4);
    ASSERT_TRUE(Show(sorvane, four));

    HWND closing = nullptr;  // the one in front
    for (HWND candidate : closable.windows())
        if (TextOf(candidate) == "Closing window 2") closing = candidate;
    ASSERT_NE(nullptr, closing);
    PostMessageA(sorvane.window(), WM_LBUTTONUP, 0, At(four[0].right - 10, four[0].top + 10));
    EXPECT_TRUE(PollUntil([&] { return !IsWindow(closing); })) << "the window was not closed";
    // The fresh Overview comes as soon as the window has gone, long before the question would.
    EXPECT_TRUE(PollUntil([&] { return IsWindowVisible(sorvane.window()) != FALSE; }, 3000)) << "no fresh Overview";
    EXPECT_EQ(nullptr, FindWindowA("#32770", "Sorvane: Closing Window"));
    const std::vector<RECT> three = ExpectedTiles(3);
    EXPECT_TRUE(WaitOverviewShown(sorvane.window(), three[0]));
    PressKey(VK_END);
    EXPECT_TRUE(SelectedBecomes(three, 2)) << "the thread's other window is still listed";
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitOverviewHidden(sorvane.window()));

    // Closed from its program's own Overview, the program's last window leaves nothing to list: that
    // Overview goes without a question.
    HWND last = closable.windows()[0] == closing ? closable.windows()[1] : closable.windows()[0];
    ASSERT_TRUE(PollUntil([&] { return SetForegroundWindow(last) && GetForegroundWindow() == last; }));
    const std::vector<RECT> one = ExpectedTiles(1);
    PostMessageA(sorvane.window(), WM_HOTKEY, 113, 0);
    ASSERT_TRUE(WaitOverviewShown(sorvane.window(), one[0]));
    PostMessageA(sorvane.window(), WM_LBUTTONUP, 0, At(one[0].right - 10, one[0].top + 10));
    EXPECT_TRUE(PollUntil([&] { return !IsWindow(last); })) << "the window was not closed";
    ASSERT_TRUE(probe.Attach(sorvane.window()));
    ASSERT_TRUE(probe.Flush());
    EXPECT_FALSE(IsWindowVisible(sorvane.window()));
    EXPECT_EQ(nullptr, FindWindowA("#32770", "No Active Window"));
    ASSERT_TRUE(ExitSorvane(sorvane));
}

TEST_F(Navigation, AWindowThatWillNotCloseBringsTheQuestion)
{
    ASSERT_TRUE(windows.Open(1, "Stubborn window", "stubborn"));
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));
    const std::vector<RECT> one = ExpectedTiles(1);
    for (const char* answer : {"No", "Yes"}) {
        ASSERT_TRUE(Show(sorvane, one)) << answer;
        PostMessageA(sorvane.window(), WM_LBUTTONUP, 0, At(one[0].right - 10, one[0].top + 10));
        HWND question = nullptr;
        ASSERT_TRUE(PollUntil(
            [&] {
                question = WaitForDialog(sorvane.id(), "Sorvane: Closing Window");
                return question != nullptr;
            },
            15000));
        EXPECT_EQ("Sorvane is still waiting for a closing window. The window hasn't responded timely. Do you "
                  "want to switch back to Sorvane?",
                  TextOf(GetDlgItem(question, kMessageBoxTextId)));
        // While it is up, a show request opens nothing.
        PostMessageA(sorvane.window(), WM_HOTKEY, kShowHotkey, 0);
        Sleep(200);
        EXPECT_FALSE(IsWindowVisible(sorvane.window())) << answer;
        PostMessageA(question, WM_COMMAND, std::string(answer) == "Yes" ? IDYES : IDNO, 0);
        if (std::string(answer) == "Yes") {
            EXPECT_TRUE(WaitOverviewShown(sorvane.window(), one[0])) << "Yes shows a fresh Overview";
            PressKey(VK_ESCAPE);
        }
        ASSERT_TRUE(WaitOverviewHidden(sorvane.window()));
        EXPECT_TRUE(IsWindow(windows.windows()[0])) << "the stubborn window is still there";
    }
    ASSERT_TRUE(ExitSorvane(sorvane));
}

TEST_F(Navigation, TheInfoSquareNamesTheProgramBehindTheWindow)
{
    ASSERT_TRUE(windows.Open(2));
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));
    const std::vector<RECT> tiles = ExpectedTiles(2);
    ASSERT_TRUE(Show(sorvane, tiles));
    ASSERT_TRUE(probe.Attach(sorvane.window()));

    std::string text;  // the information square
    EXPECT_TRUE(HoverUntilTipSays(probe, POINT{tiles[0].left + 10, tiles[0].top + 10}, "File: SorvaneTestWindows.exe", &text))
        << "tip text: \"" << text << "\"";
    EXPECT_NE(std::string::npos, text.find("Test window 2")) << text;  // the selected window's title

    EXPECT_TRUE(HoverUntilTipSays(probe, POINT{tiles[0].right - 10, tiles[0].top + 10}, "Close this active window", &text))
        << "tip text: \"" << text << "\"";  // the close square
    EXPECT_EQ("Close this active window", text);

    ASSERT_TRUE(MovePointer(ScreenWidth() - 463, ScreenHeight() - 42));
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitOverviewHidden(sorvane.window()));
    ASSERT_TRUE(ExitSorvane(sorvane));
}

}  // namespace
}  // namespace e2e
