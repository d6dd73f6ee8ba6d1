// The Overview at 144 DPI (150 per cent) against the real program. Wine gives a program the DPI
// stored in the registry when it starts, without stretching it: what Windows shows a DPI-aware
// Sorvane at 150 per cent.
#include <windows.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "tests/e2e/driver.h"
#include "tests/e2e/overview_support.h"

namespace e2e {
namespace {

constexpr int kDpi = 144;

int Scaled(int value) { return ScaleForDpi(value, kDpi); }

class ScaledOverview : public OverviewTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(logPixels_.set()) << "cannot store LogPixels";
        OverviewTest::SetUp();
        WriteDwordSetting("Info1", 1);  // no welcome balloon over the footer
    }
    ::testing::AssertionResult Show(const SorvaneProcess& sorvane, const RECT& firstTile)
    {
        PostMessageA(sorvane.window(), WM_HOTKEY, kShowHotkey, 0);
        return WaitOverviewShown(sorvane.window(), firstTile, kDpi);
    }

private:
    LogPixelsGuard logPixels_{kDpi};  // set before the fixture starts anything, undone after it all
};

// Rows and leftmost column of the footer's ink in the area: a pixel is ink where it differs from
// the band at the screen's left edge (the band's colour changes only from row to row).
RECT FooterInk(const ScreenShot& screen, int fromX, int toX, int fromY)
{
    RECT ink{ScreenWidth(), -1, -1, -1};
    for (int y = fromY; y < ScreenHeight(); ++y)
        for (int x = fromX; x < toX; ++x)
            if (screen.At(x, y) != screen.At(1, y)) {
                if (ink.top < 0) ink.top = y;
                ink.bottom = y;
                ink.left = std::min<LONG>(ink.left, x);
            }
    return ink;
}

TEST_F(ScaledOverview, ButtonsHelpTextAndTilesAreDrawnLarger)
{
    ASSERT_TRUE(windows.Open(2));
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));
    const std::vector<RECT> tiles = ExpectedTiles(2, kDpi);
    ASSERT_TRUE(Show(sorvane, tiles[0]));

    const int w = ScreenWidth(), h = ScreenHeight();
    RECT cancel{}, refresh{};
    GetWindowRect(FindChildWithText(sorvane.window(), "Button", "Cancel"), &cancel);
    GetWindowRect(FindChildWithText(sorvane.window(), "Button", "Refresh"), &refresh);
    EXPECT_EQ((std::vector<LONG>{w - 141, h - 71, w - 27, h - 36}),
              (std::vector<LONG>{cancel.left, cancel.top, cancel.right, cancel.bottom}));
    EXPECT_EQ((std::vector<LONG>{w - 267, h - 71, w - 153, h - 36}),
              (std::vector<LONG>{refresh.left, refresh.top, refresh.right, refresh.bottom}));

    std::set<COLORREF> seen;
    EXPECT_TRUE(PollUntil([&] {
        const ScreenShot screen;
        seen.clear();
        for (const RECT& tile : tiles) seen.insert(screen.At((tile.left + tile.right) / 2, (tile.top + tile.bottom) / 2));
        return seen == std::set<COLORREF>{TestWindowColour(0), TestWindowColour(1)};
    })) << "tile centres: " << ColourText(*seen.begin()) << " " << ColourText(*seen.rbegin());

    // The help text at (30, H - 27) in 8 points at 144 DPI: its ink begins above the 96-DPI cell
    // (H - 18) and stands about 1.5 times as high as the 96-DPI ink (some 11 rows). Read between
    // the logo and the notice, with the pointer away. Wine also draws the stock GUI font at the
    // stored DPI, as Windows does not: this shows the size, not whose font it is.
    ASSERT_TRUE(MovePointer(5, 5));
    const ScreenShot screen;
    const int logoRight = Scaled(16) + Scaled(150), logoBottom = h - Scaled(51) + Scaled(34);
    const RECT ink = FooterInk(screen, logoRight + 4, w - Scaled(185) - 4, h - Scaled(40));
    EXPECT_GE(ink.top, h - Scaled(18));
    EXPECT_LT(ink.top, h - 18) << "the text stands where it stood at 96 DPI";
    EXPECT_GE(ink.bottom - ink.top + 1, 14) << "ink rows " << ink.top << " to " << ink.bottom;
    EXPECT_LE(ink.bottom - ink.top + 1, Scaled(18)) << "ink rows " << ink.top << " to " << ink.bottom;
    const LONG start = FooterInk(screen, Scaled(20) - 8, logoRight + 4, logoBottom).left;
    EXPECT_TRUE(start >= Scaled(20) - 1 && start <= Scaled(20) + 3) << "the text begins at x " << start;

    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitOverviewHidden(sorvane.window()));
    ASSERT_TRUE(ExitSorvane(sorvane));
}

TEST_F(ScaledOverview, HotSquaresFollowTheirScaledButtons)
{
    ASSERT_TRUE(windows.Open(2, "Staying window"));
    TestWindows closable;
    ASSERT_TRUE(closable.Open(1, "Closing window"));  // in front: the first tile
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));
    const std::vector<RECT> three = ExpectedTiles(3, kDpi);
    ASSERT_TRUE(Show(sorvane, three[0]));

    // 30 pixels in from the top-right corner: outside a 25-pixel square, inside the 38-pixel one.
    const POINT close{three[0].right - 30, three[0].top + 30};
    ASSERT_TRUE(MovePointer(close.x, close.y));
    PostMessageA(sorvane.window(), WM_LBUTTONUP, 0, MAKELPARAM(close.x, close.y));
    HWND closing = closable.windows()[0];
    EXPECT_TRUE(PollUntil([&] { return !IsWindow(closing); })) << "the window was not closed";

    const std::vector<RECT> two = ExpectedTiles(2, kDpi);
    ASSERT_TRUE(WaitOverviewShown(sorvane.window(), two[0], kDpi)) << "no fresh Overview";
    ASSERT_TRUE(probe.Attach(sorvane.window()));
    std::string text;  // the information square
    EXPECT_TRUE(HoverUntilTipSays(probe, POINT{two[0].left + 30, two[0].top + 30}, "File: SorvaneTestWindows.exe", &text))
        << "tip text: \"" << text << "\"";

    // 40 pixels left of the right edge is outside the close square: the click switches.
    const POINT beside{two[0].right - 40, two[0].top + 5};
    ASSERT_TRUE(MovePointer(beside.x, beside.y));
    PostMessageA(sorvane.window(), WM_LBUTTONUP, 0, MAKELPARAM(beside.x, beside.y));
    ASSERT_TRUE(WaitOverviewHidden(sorvane.window()));
    const std::vector<HWND>& staying = windows.windows();
    EXPECT_TRUE(PollUntil([&] { return GetForegroundWindow() == staying[0] || GetForegroundWindow() == staying[1]; }))
        << "foreground is \"" << TextOf(GetForegroundWindow()) << "\"";
    for (HWND window : staying) EXPECT_TRUE(IsWindow(window)) << "a staying window was closed";
    ASSERT_TRUE(ExitSorvane(sorvane));
}

}  // namespace
}  // namespace e2e
