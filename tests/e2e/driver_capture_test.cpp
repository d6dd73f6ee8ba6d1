// Snapshots against the real program: every tile shows its window, a window that does not answer
// gets its notice without holding up the Overview, and Esc ends a showing during such a hang.
#include <windows.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "tests/e2e/driver.h"
#include "tests/e2e/overview_support.h"

namespace e2e {
namespace {

class Snapshots : public OverviewTest {
protected:
    // The colour in the middle of each tile, in list order.
    static std::vector<COLORREF> TileCentres(const std::vector<RECT>& tiles)
    {
        std::vector<COLORREF> colours;
        for (const RECT& tile : tiles) colours.push_back(ScreenPixel((tile.left + tile.right) / 2, (tile.top + tile.bottom) / 2));
        return colours;
    }
    // Pure red pixels (the notice's colour) in the lower part of a tile.
    static int NoticePixels(const ScreenShot& screen, const RECT& tile)
    {
        int count = 0;
        for (int y = (tile.top + tile.bottom) / 2; y < tile.bottom; ++y)
            for (int x = tile.left; x < tile.right; ++x)
                if (screen.At(x, y) == RGB(255, 0, 0)) ++count;
        return count;
    }
};

TEST_F(Snapshots, EveryTileShowsItsWindow)
{
    ASSERT_TRUE(windows.Open(5));
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));
    HWND front = windows.windows()[2];
    SetForegroundWindow(front);
    ASSERT_TRUE(PollUntil([&] { return GetForegroundWindow() == front; }));
    const std::vector<RECT> tiles = ExpectedTiles(5);
    PostMessageA(sorvane.window(), WM_HOTKEY, kShowHotkey, 0);
    ASSERT_TRUE(WaitOverviewShown(sorvane.window(), tiles[0]));

    std::set<COLORREF> expected;
    for (int i = 0; i < 5; ++i) expected.insert(TestWindowColour(i));
    std::vector<COLORREF> seen;
    const bool all = PollUntil([&] {
        seen = TileCentres(tiles);
        return std::set<COLORREF>(seen.begin(), seen.end()) == expected;
    });
    std::string described;
    for (COLORREF colour : seen) described += ColourText(colour) + " ";
    EXPECT_TRUE(all) << "tile centres: " << described;
    const ScreenShot screen;
    for (const RECT& tile : tiles) EXPECT_EQ(0, NoticePixels(screen, tile)) << "a complete capture got the notice";

    // Esc gives the front back to the window that had it.
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitOverviewHidden(sorvane.window()));
    EXPECT_TRUE(PollUntil([&] { return GetForegroundWindow() == front; }))
        << "foreground is \"" << TextOf(GetForegroundWindow()) << "\"";
    ASSERT_TRUE(ExitSorvane(sorvane));
}

TEST_F(Snapshots, AWindowThatDoesNotAnswerGetsTheNotice)
{
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));
    // Two windows that do not answer, opened just before the showing: the system does not report
    // them hung yet, so both are asked.
    TestWindows others;
    ASSERT_TRUE(windows.Open(2, "Test window", "hung"));
    ASSERT_TRUE(others.Open(1, "Other window", "hung,slot=2"));
    const std::vector<RECT> tiles = ExpectedTiles(5);
    PostMessageA(sorvane.window(), WM_HOTKEY, kShowHotkey, 0);
    ASSERT_TRUE(WaitOverviewShown(sorvane.window(), tiles[0]));

    // Their prints are abandoned when one time limit, counted from the showing, runs out: their
    // tiles say so together, and the other three complete.
    size_t notices = 0;
    std::set<COLORREF> completed;
    auto scan = [&] {
        const ScreenShot screen;
        notices = 0;
        completed.clear();
        for (const RECT& tile : tiles) {
            if (NoticePixels(screen, tile) > 20)
                ++notices;
            else
                completed.insert(screen.At((tile.left + tile.right) / 2, (tile.top + tile.bottom) / 2));
        }
        return notices == 2 && completed == std::set<COLORREF>{TestWindowColour(0), TestWindowColour(1)};
    };
    ASSERT_TRUE(PollUntil([&] { return scan() || notices > 0; }, 15000)) << "no tile got the notice";
    EXPECT_TRUE(PollUntil(scan, 2000)) << notices << " tiles with the notice, " << completed.size()
                                       << " colours in the others: the second waited for its own limit";

    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitOverviewHidden(sorvane.window()));
    ASSERT_TRUE(ExitSorvane(sorvane));
}

TEST_F(Snapshots, EscDuringAHangClosesTheOverviewAtOnce)
{
    ASSERT_TRUE(windows.Open(2, "Test window", "hung"));
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));
    const std::vector<RECT> tiles = ExpectedTiles(3);
    PostMessageA(sorvane.window(), WM_HOTKEY, kShowHotkey, 0);
    ASSERT_TRUE(WaitOverviewShown(sorvane.window(), tiles[0]));
    Sleep(500);  // the worker is now waiting for the hung window's print
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitOverviewHidden(sorvane.window(), 1000)) << "Esc waited for the hung print";
    ASSERT_TRUE(WaitOverviewHidden(sorvane.window()));
    // A new showing works while the old print is still stuck.
    PostMessageA(sorvane.window(), WM_HOTKEY, kShowHotkey, 0);
    ASSERT_TRUE(WaitOverviewShown(sorvane.window(), tiles[0]));
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitOverviewHidden(sorvane.window(), 1000));
    ASSERT_TRUE(ExitSorvane(sorvane));
}

TEST_F(Snapshots, OnlyABlankPrintIsRetriedAndMarkedADarkWindowOrAConsoleIsTakenAsItIs)
{
    // Three frameless windows side by side: an all-black one, whose prints keep looking blank and
    // end with the notice; one of the console class, whose single print counts as complete; and a
    // dark one with a few light lines, a picture like any other.
    TestWindows consoles, dark;
    ASSERT_TRUE(windows.Open(1, "Blank window", "black"));
    ASSERT_TRUE(consoles.Open(1, "Dark console", "black,console,slot=1"));
    ASSERT_TRUE(dark.Open(1, "Dark window", "dark,slot=2"));
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));
    const std::vector<RECT> tiles = ExpectedTiles(3);
    PostMessageA(sorvane.window(), WM_HOTKEY, kShowHotkey, 0);
    ASSERT_TRUE(WaitOverviewShown(sorvane.window(), tiles[0]));
    // In front-to-back order: the dark window, the console, the blank window.
    int notices[3] = {0, 0, 0};
    ASSERT_TRUE(PollUntil([&] {
        const ScreenShot screen;
        for (int i = 0; i < 3; ++i) notices[i] = NoticePixels(screen, tiles[i]);
        return notices[2] > 20;
    })) << "the blank window got no notice";
    EXPECT_EQ(0, notices[0]) << "the dark window got the notice";
    EXPECT_EQ(0, notices[1]) << "the console window got the notice";
    consoles.Stop();
    dark.Stop();
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitOverviewHidden(sorvane.window()));
    ASSERT_TRUE(ExitSorvane(sorvane));
}

}  // namespace
}  // namespace e2e
