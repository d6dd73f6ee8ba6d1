// Two monitors side by side: the primary (0,0)-(1024,768) and a smaller one to its right,
// (1024,0)-(1824,600). The Overview covers the monitor under the pointer, and the hot corner is a
// corner of either monitor where the pointer stops. A Wine virtual desktop is always one monitor:
// CTest runs these on a display of their own (scripts/wine-env.sh) and sets SORVANE_TWO_MONITORS.
#include <windows.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "tests/e2e/driver.h"
#include "tests/e2e/overview_support.h"

namespace e2e {
namespace {

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT rect, LPARAM list)
{
    reinterpret_cast<std::vector<RECT>*>(list)->push_back(*rect);
    return TRUE;
}

class TwoMonitors : public OverviewTest {
protected:
    void SetUp() override
    {
        std::vector<RECT> monitors;
        EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
        std::string layout;
        for (const RECT& monitor : monitors) layout += RectText(monitor) + " ";
        if (monitors.size() < 2 && GetEnvironmentVariableA("SORVANE_TWO_MONITORS", nullptr, 0) == 0)
            GTEST_SKIP() << "one monitor here: " << layout;
        ASSERT_EQ("(0,0)-(1024,768) (1024,0)-(1824,600) ", layout) << "not the two-monitor display";
        first = monitors[0];
        second = monitors[1];
        OverviewTest::SetUp();
        // No welcome balloon beside the tray while the pointer goes to corners.
        WriteDwordSetting("Info1", 1);
    }

    // Puts the pointer in the footer of the Overview that will cover the monitor (outside every
    // tile), asks for the Overview with the Show hotkey and waits until its first tile is selected.
    // The pointer is placed, not moved by SendInput: with Sorvane's low-level mouse hook in place, an
    // injected move leaves the X pointer on the other monitor, and Wine takes the pointer back there
    // a tenth of a second later, under the Overview that was just shown (seen under load).
    ::testing::AssertionResult ShowOn(const SorvaneProcess& sorvane, const RECT& monitor, const RECT& firstTile)
    {
        ::testing::AssertionResult result = PlacePointer(monitor.right - 463, monitor.bottom - 42);
        if (result) PostMessageA(sorvane.window(), WM_HOTKEY, kShowHotkey, 0);
        if (result) result = WaitOverviewShown(sorvane.window(), firstTile);
        RECT placed{};
        if (!result && GetWindowRect(sorvane.window(), &placed)) result << "; the Overview is at " << RectText(placed);
        return result;
    }

    // The Overview's window is the monitor's rectangle, with Cancel and Refresh at its bottom right,
    // and it parked the pointer on that monitor.
    static void ExpectCovers(const SorvaneProcess& sorvane, const RECT& monitor)
    {
        auto placeOf = [](HWND window) {
            RECT rect{};
            GetWindowRect(window, &rect);
            return RectText(rect);
        };
        EXPECT_EQ(RectText(monitor), placeOf(sorvane.window())) << "the Overview's window";
        EXPECT_EQ(RectText(RECT{monitor.right - 94, monitor.bottom - 47, monitor.right - 18, monitor.bottom - 24}),
                  placeOf(FindChildWithText(sorvane.window(), "Button", "Cancel"))) << "Cancel";
        EXPECT_EQ(RectText(RECT{monitor.right - 178, monitor.bottom - 47, monitor.right - 102, monitor.bottom - 24}),
                  placeOf(FindChildWithText(sorvane.window(), "Button", "Refresh"))) << "Refresh";
        POINT pointer{};
        EXPECT_TRUE(PollUntil([&] { return GetCursorPos(&pointer) && PtInRect(&monitor, pointer); }, 3000))
            << "the pointer was parked at " << pointer.x << "," << pointer.y;
    }

    // Brings the window to the front and waits until it has kept it for a while. Outside a virtual
    // desktop Wine follows the X focus, which an Overview just hidden may still be handing back to
    // the window that had it before (seen: the front taken back within 50 ms, under load).
    static ::testing::AssertionResult BringToFront(HWND window)
    {
        int kept = 0;
        if (PollUntil([&] {
                kept = GetForegroundWindow() == window ? kept + 1 : 0;
                if (kept == 0) SetForegroundWindow(window);
                return kept >= 15;
            }))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the front is \"" << TextOf(GetForegroundWindow()) << "\"";
    }

    // Esc as the Overview gets it. Outside a virtual desktop a key reaches Wine only through the X
    // focus, which can still be on its way to the re-shown Overview (seen: a pressed Esc lost).
    static void Cancel(const SorvaneProcess& sorvane) { PostMessageA(sorvane.window(), WM_KEYUP, VK_ESCAPE, 0); }

    RECT first{}, second{};
};

TEST_F(TwoMonitors, TheOverviewCoversTheMonitorUnderThePointer)
{
    ASSERT_TRUE(windows.Open(2));  // both on the first monitor
    HWND front = windows.windows()[0], back = windows.windows()[1];
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));
    ASSERT_TRUE(BringToFront(front));

    // From the second monitor: the Overview covers it alone, and lists the first monitor's windows
    // with their snapshots.
    const std::vector<RECT> tiles = ExpectedTilesOn(second, 2);
    ASSERT_TRUE(ShowOn(sorvane, second, tiles[0]));
    ExpectCovers(sorvane, second);
    const std::set<COLORREF> expected{TestWindowColour(0), TestWindowColour(1)};
    std::set<COLORREF> seen;
    EXPECT_TRUE(PollUntil([&] {
        seen.clear();
        for (const RECT& tile : tiles) seen.insert(ScreenPixel((tile.left + tile.right) / 2, (tile.top + tile.bottom) / 2));
        return seen == expected;
    })) << "tile centres " << ColourText(*seen.begin()) << ", " << ColourText(*seen.rbegin());
    // The window behind comes to the front by its tile.
    PressKey(VK_TAB);
    ASSERT_TRUE(SelectedTileBecomes(tiles, 1));
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitOverviewHidden(sorvane.window()));
    EXPECT_TRUE(PollUntil([&] { return GetForegroundWindow() == back; }))
        << "foreground is \"" << TextOf(GetForegroundWindow()) << "\"";

    // From the first monitor it covers the first, and again the second from there.
    ASSERT_TRUE(ShowOn(sorvane, first, ExpectedTilesOn(first, 2)[0]));
    ExpectCovers(sorvane, first);
    Cancel(sorvane);
    ASSERT_TRUE(WaitOverviewHidden(sorvane.window()));
    ASSERT_TRUE(ShowOn(sorvane, second, tiles[0]));
    ExpectCovers(sorvane, second);
    Cancel(sorvane);
    ASSERT_TRUE(WaitOverviewHidden(sorvane.window()));
    ASSERT_TRUE(ExitSorvane(sorvane));
}

TEST_F(TwoMonitors, TheHotCornerIsWhereThePointerStops)
{
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));
    // The bottom-right corners of both: the second monitor ends above the first one's bottom edge,
    // so nothing lies beyond either.
    RECT covered{};
    EXPECT_TRUE(CornerOpensTheEmptyOverviewAt(sorvane, POINT{second.right - 1, second.bottom - 1}, &covered));
    EXPECT_EQ(RectText(second), RectText(covered)) << "the Overview from the second monitor's corner";
    EXPECT_TRUE(CornerOpensTheEmptyOverviewAt(sorvane, POINT{first.right - 1, first.bottom - 1}, &covered));
    EXPECT_EQ(RectText(first), RectText(covered)) << "the Overview from the first monitor's corner";
    ASSERT_TRUE(ExitSorvane(sorvane));
    probe.Detach();

    // Top right: the first monitor's top-right corner is on the way into the second, not a corner.
    WriteDwordSetting("Mouse Gesture", 1);
    WriteDwordSetting("Corner", 2);
    SorvaneProcess again;
    ASSERT_TRUE(StartSorvane(again));
    ASSERT_TRUE(MoveAndSettle(again, first.right - 1, first.top));
    EXPECT_EQ(Probe::Describe({}), Probe::Describe(probe.TakeHotkeys())) << "the shared corner reported";
    EXPECT_FALSE(IsWindowVisible(again.window())) << "the shared corner opened the Overview";
    EXPECT_TRUE(CornerOpensTheEmptyOverviewAt(again, POINT{second.right - 1, second.top}, &covered));
    EXPECT_EQ(RectText(second), RectText(covered)) << "the Overview from the second monitor's top right";
}

TEST_F(TwoMonitors, WithThisMonitorOnlyEachOverviewListsTheWindowsOfItsMonitor)
{
    WriteDwordSetting("ThisMonitorOnly", 1);
    TestWindows onSecond;
    ASSERT_TRUE(windows.Open(2));  // on the first monitor
    ASSERT_TRUE(onSecond.Open(1, "Second", "monitor=1"));
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));
    auto centre = [](const RECT& tile) { return ScreenPixel((tile.left + tile.right) / 2, (tile.top + tile.bottom) / 2); };
    // On the second monitor: its one window, alone across the grid.
    const RECT single = ExpectedTilesOn(second, 1)[0];
    ASSERT_TRUE(ShowOn(sorvane, second, single));
    EXPECT_TRUE(PollUntil([&] { return centre(single) == TestWindowColour(0); })) << ColourText(centre(single));
    Cancel(sorvane);
    ASSERT_TRUE(WaitOverviewHidden(sorvane.window()));
    // On the first: its two.
    const std::vector<RECT> two = ExpectedTilesOn(first, 2);
    ASSERT_TRUE(ShowOn(sorvane, first, two[0]));
    EXPECT_TRUE(PollUntil([&] {
        return std::set<COLORREF>{centre(two[0]), centre(two[1])} ==
               std::set<COLORREF>{TestWindowColour(0), TestWindowColour(1)};
    }));
    Cancel(sorvane);
    ASSERT_TRUE(WaitOverviewHidden(sorvane.window()));
    // The application Overview opens where that program's window in front is, not under the pointer.
    HWND inFront = onSecond.windows()[0];
    ASSERT_TRUE(BringToFront(inFront));
    PostMessageA(sorvane.window(), WM_HOTKEY, 113, 0);
    ASSERT_TRUE(WaitOverviewShown(sorvane.window(), single));
    ExpectCovers(sorvane, second);
    Cancel(sorvane);
    ASSERT_TRUE(WaitOverviewHidden(sorvane.window()));
    ASSERT_TRUE(ExitSorvane(sorvane));
}

TEST_F(TwoMonitors, AFullScreenProgramSilencesOnlyTheCornerOfItsOwnMonitor)
{
    ASSERT_TRUE(windows.Open(1, "Film", "fullscreen,monitor=1"));
    HWND film = windows.windows()[0];
    ASSERT_TRUE(PollUntil([&] { return GetForegroundWindow() == film; })) << "the film is not in front";
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));
    // The film's own monitor keeps its corner quiet...
    probe.TakeHotkeys();
    ASSERT_TRUE(MoveAndSettle(sorvane, second.right - 1, second.bottom - 1));
    EXPECT_EQ(Probe::Describe({kGestureHotkey}), Probe::Describe(probe.TakeHotkeys()));
    EXPECT_FALSE(IsWindowVisible(sorvane.window())) << "the corner behind the film opened the Overview";
    // ...and the other monitor's corner opens the Overview there.
    ASSERT_TRUE(ParkPointer());  // out of the corner first, as a hand goes from one to the other
    ASSERT_TRUE(MoveAndSettle(sorvane, first.right - 1, first.bottom - 1));
    ASSERT_TRUE(WaitOverviewShown(sorvane.window(), ExpectedTilesOn(first, 1)[0]))
        << "reports " << Probe::Describe(probe.TakeHotkeys());
    RECT covered{};
    GetWindowRect(sorvane.window(), &covered);
    EXPECT_EQ(RectText(first), RectText(covered));
    Cancel(sorvane);
    ASSERT_TRUE(WaitOverviewHidden(sorvane.window()));
    ASSERT_TRUE(ExitSorvane(sorvane));
}

}  // namespace
}  // namespace e2e
