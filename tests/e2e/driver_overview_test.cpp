// The Overview on screen against the real program: opening it, its frame, tiles, title label and
// buttons as the user sees them, closing and rebuilding it, the exclusion list, the empty case, and
// its memory over many showings.
#include <windows.h>
#include <psapi.h>
#include <shlwapi.h>

#include <set>
#include <string>
#include <vector>

#include "overview/tiles.h"  // RelativeLuminance, ContrastRatio
#include "tests/e2e/driver.h"
#include "tests/e2e/overview_support.h"

namespace e2e {
namespace {

constexpr COLORREF kThinFrame = RGB(255, 153, 51);  // the selected tile's inner frame line
constexpr WPARAM kShowListCommand = 32834;

class Overview : public OverviewTest {
protected:

    ::testing::AssertionResult WaitShown(const SorvaneProcess& sorvane, const RECT& firstTile)
    {
        return WaitOverviewShown(sorvane.window(), firstTile);
    }

    ::testing::AssertionResult WaitHidden(const SorvaneProcess& sorvane) { return WaitOverviewHidden(sorvane.window()); }

    static HWND Button(const SorvaneProcess& sorvane, const char* text)
    {
        return FindChildWithText(sorvane.window(), "Button", text);
    }
};

TEST_F(Overview, ShowsEveryWindowInItsCellWithTheFirstSelected)
{
    ASSERT_TRUE(windows.Open(5));
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));
    const std::vector<RECT> tiles = ExpectedTiles(5);

    PostMessageA(sorvane.window(), WM_HOTKEY, kShowHotkey, 0);
    ASSERT_TRUE(WaitShown(sorvane, tiles[0]));

    RECT placed{};
    GetWindowRect(sorvane.window(), &placed);
    EXPECT_EQ(0, placed.left);
    EXPECT_EQ(0, placed.top);
    EXPECT_EQ(ScreenWidth(), placed.right);
    EXPECT_EQ(ScreenHeight(), placed.bottom);

    // Every tile is in its cell: the first in the selected look, the rest plain, each with the
    // application icon in its middle over the plain background.
    const COLORREF background = GetSysColor(COLOR_INACTIVECAPTION);
    const ScreenShot screen;
    for (size_t i = 0; i < tiles.size(); ++i) {
        const RECT& tile = tiles[i];
        EXPECT_EQ(i == 0, SelectedFrameAt(tile)) << "tile " << i;
        int iconPixels = 0;
        const int cx = (tile.left + tile.right) / 2, cy = (tile.top + tile.bottom) / 2;
        for (int y = cy - 14; y < cy + 14; y += 2)
            for (int x = cx - 14; x < cx + 14; x += 2)
                if (screen.At(x, y) != background) ++iconPixels;
        EXPECT_GT(iconPixels, 40) << "no icon in the middle of tile " << i;
        if (i > 0) {
            EXPECT_EQ(background, screen.At(tile.left + 20, tile.top + 20))
                << "tile " << i << " is not plain: " << ColourText(screen.At(tile.left + 20, tile.top + 20));
        }
    }
    // The selected tile's frame runs along all four sides.
    EXPECT_EQ(kThinFrame, ScreenPixel((tiles[0].left + tiles[0].right) / 2, tiles[0].top + 8));
    EXPECT_EQ(kThinFrame, ScreenPixel(tiles[0].right - 7, (tiles[0].top + tiles[0].bottom) / 2));

    // The title label of the selected window stands centred in the header: it is its icon, a
    // gap and the title, 72 pixels wider than the text.
    const COLORREF headerBackground = screen.At(2, 20);
    int inkLeft = -1, inkRight = -1;
    for (int x = 0; x < ScreenWidth(); ++x) {
        for (int y = 6; y < 34; ++y) {
            if (screen.At(x, y) != screen.At(2, y)) {
                if (inkLeft < 0) inkLeft = x;
                inkRight = x;
                break;
            }
        }
    }
    ASSERT_GE(inkLeft, 0) << "no title label in the header (background " << ColourText(headerBackground) << ")";
    const int textWidth = inkRight - inkLeft + 1 - 38;
    const int expectedLeft = ScreenWidth() / 2 - (textWidth + 72) / 2;
    EXPECT_NEAR(expectedLeft, inkLeft, 4) << "label ink from " << inkLeft << " to " << inkRight;

    // The two buttons, bottom right.
    HWND cancel = Button(sorvane, "Cancel"), refresh = Button(sorvane, "Refresh");
    ASSERT_NE(nullptr, cancel);
    ASSERT_NE(nullptr, refresh);
    RECT rect{};
    GetWindowRect(cancel, &rect);
    EXPECT_EQ((std::vector<LONG>{ScreenWidth() - 94, ScreenHeight() - 47, ScreenWidth() - 18, ScreenHeight() - 24}),
              (std::vector<LONG>{rect.left, rect.top, rect.right, rect.bottom}));
    GetWindowRect(refresh, &rect);
    EXPECT_EQ((std::vector<LONG>{ScreenWidth() - 178, ScreenHeight() - 47, ScreenWidth() - 102, ScreenHeight() - 24}),
              (std::vector<LONG>{rect.left, rect.top, rect.right, rect.bottom}));
    EXPECT_EQ(BS_DEFPUSHBUTTON, GetWindowLongA(cancel, GWL_STYLE) & 0xF);

    // Show requests are ignored while it is open.
    PostMessageA(sorvane.window(), WM_HOTKEY, kShowHotkey, 0);
    PostMessageA(sorvane.window(), WM_COMMAND, kShowListCommand, 0);
    ASSERT_TRUE(probe.Attach(sorvane.window()));
    ASSERT_TRUE(probe.Flush());
    EXPECT_TRUE(IsWindowVisible(sorvane.window()));
    EXPECT_EQ(cancel, Button(sorvane, "Cancel"));
    EXPECT_TRUE(SelectedFrameAt(tiles[0]));

    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitHidden(sorvane));
    ASSERT_TRUE(ExitSorvane(sorvane));
}

TEST_F(Overview, OpensFromTheMenuAndTheGestureAndClosesByItsButtons)
{
    ASSERT_TRUE(windows.Open(2));
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));
    const std::vector<RECT> tiles = ExpectedTiles(2);

    PostMessageA(sorvane.window(), WM_COMMAND, kShowListCommand, 0);
    ASSERT_TRUE(WaitShown(sorvane, tiles[0]));
    HWND cancel = Button(sorvane, "Cancel");
    ASSERT_NE(nullptr, cancel);
    PostMessageA(sorvane.window(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
    ASSERT_TRUE(WaitHidden(sorvane));

    // Behind a full-screen program the corner keeps quiet; the hotkey does not.
    {
        TestWindows film;
        ASSERT_TRUE(film.Open(1, "Film", "plain,fullscreen"));
        ASSERT_TRUE(PollUntil([&] { return GetForegroundWindow() == film.windows()[0]; }));
        PostMessageA(sorvane.window(), WM_HOTKEY, kGestureHotkey, 0);
        ASSERT_TRUE(probe.Attach(sorvane.window()));
        ASSERT_TRUE(probe.Flush());
        EXPECT_FALSE(IsWindowVisible(sorvane.window())) << "the corner opened the Overview over a full-screen window";
    }
    PostMessageA(sorvane.window(), WM_HOTKEY, kGestureHotkey, 0);
    ASSERT_TRUE(WaitShown(sorvane, tiles[0]));
    // Refresh tears the showing down and builds a new one at once, with the same buttons.
    HWND refresh = Button(sorvane, "Refresh");
    ASSERT_NE(nullptr, refresh);
    PostMessageA(sorvane.window(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(refresh));
    ASSERT_TRUE(probe.Attach(sorvane.window()));
    ASSERT_TRUE(probe.Flush());
    ASSERT_TRUE(WaitShown(sorvane, tiles[0]));
    EXPECT_EQ(cancel, Button(sorvane, "Cancel"));
    EXPECT_EQ(refresh, Button(sorvane, "Refresh"));

    // F5 rebuilds it too: hidden for a pause, then shown anew.
    PressKey(VK_F5);
    ASSERT_TRUE(WaitHidden(sorvane));
    ASSERT_TRUE(WaitShown(sorvane, tiles[0]));
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitHidden(sorvane));
    ASSERT_TRUE(ExitSorvane(sorvane));
}

// Two programs whose file names differ only in letters the ANSI code page lacks (both would be
// "??.exe" there): an exclusion naming one lists the other alone.
TEST_F(Overview, AnExclusionTellsApartNamesThatDifferOnlyOutsideTheCodePage)
{
    ScratchFolder folder;
    ASSERT_TRUE(folder.created());
    const std::string helper = DriverDirectory() + "SorvaneTestWindows.exe";
    ASSERT_TRUE(folder.CopyIn(helper, "窓α.exe"));
    ASSERT_TRUE(folder.CopyIn(helper, "窓β.exe"));
    WriteTextSetting("Exclusion", REG_MULTI_SZ, Wide(folder.path() + "窓α.exe") + L'\0');
    TestWindows kept, excluded;  // the excluded one in front
    ASSERT_TRUE(kept.Open(1, "Kept", "plain", folder.path() + "窓β.exe"));
    ASSERT_TRUE(excluded.Open(1, "Excluded", "plain,slot=1", folder.path() + "窓α.exe"));
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));

    // One tile across the grid, and Enter brings the kept window forward.
    const RECT tile = ExpectedTiles(1)[0];
    PostMessageA(sorvane.window(), WM_HOTKEY, kShowHotkey, 0);
    HWND empty = nullptr;
    ASSERT_TRUE(PollUntil([&] {
        empty = FindWindowA("#32770", "No Active Window");
        return empty || (IsWindowVisible(sorvane.window()) && SelectedFrameAt(tile));
    })) << "the Overview did not show";
    ASSERT_EQ(nullptr, empty) << "\"No Active Window\": neither window was listed";
    EXPECT_EQ(kThinFrame, ScreenPixel(tile.right - 7, (tile.top + tile.bottom) / 2)) << "more than one tile";
    PostMessageA(sorvane.window(), WM_KEYUP, VK_RETURN, 0);
    ASSERT_TRUE(WaitHidden(sorvane));
    EXPECT_TRUE(PollUntil([&] { return GetForegroundWindow() == kept.windows().front(); }))
        << "foreground is \"" << TextOf(GetForegroundWindow()) << "\"";
    ASSERT_TRUE(ExitSorvane(sorvane));
}

// Show this application's windows: only the windows of the program in front, each with its
// snapshot; a copy of the helper under another name is another program.
TEST_F(Overview, TheApplicationHotkeyListsOnlyTheWindowsOfTheProgramInFront)
{
    constexpr WPARAM kApplicationHotkey = 113;
    ScratchFolder folder;
    ASSERT_TRUE(folder.created());
    ASSERT_TRUE(folder.CopyIn(DriverDirectory() + "SorvaneTestWindows.exe", "Other.exe"));
    TestWindows other;
    ASSERT_TRUE(windows.Open(3, "Mine"));
    ASSERT_TRUE(other.Open(2, "Other", "slot=3", folder.path() + "Other.exe"));
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));
    auto centres = [](const std::vector<RECT>& tiles) {
        std::multiset<COLORREF> seen;
        for (const RECT& tile : tiles) seen.insert(ScreenPixel((tile.left + tile.right) / 2, (tile.top + tile.bottom) / 2));
        return seen;
    };
    auto inFront = [](HWND window) {
        return PollUntil([&] {
            if (GetForegroundWindow() != window) SetForegroundWindow(window);
            return GetForegroundWindow() == window;
        });
    };
    // A window of the first program in front: its three windows (as a 2 x 2 grid), and Tab and
    // Enter switch among them.
    ASSERT_TRUE(inFront(windows.windows()[0]));
    const std::vector<RECT> three = ExpectedTiles(3);
    PostMessageA(sorvane.window(), WM_HOTKEY, kApplicationHotkey, 0);
    ASSERT_TRUE(WaitShown(sorvane, three[0]));
    const std::multiset<COLORREF> mine{TestWindowColour(0), TestWindowColour(1), TestWindowColour(2)};
    EXPECT_TRUE(PollUntil([&] { return centres(three) == mine; })) << "not the first program's three windows";
    // F5 rebuilds the same Overview: the program stays.
    PostMessageA(sorvane.window(), WM_KEYUP, VK_F5, 0);
    ASSERT_TRUE(PollUntil([&] { return centres(three) != mine; })) << "F5 did not rebuild the Overview";
    ASSERT_TRUE(WaitShown(sorvane, three[0]));
    EXPECT_TRUE(PollUntil([&] { return centres(three) == mine; })) << "F5 lost the program";
    PostMessageA(sorvane.window(), WM_KEYDOWN, VK_TAB, 0);
    ASSERT_TRUE(SelectedTileBecomes(three, 1));
    PostMessageA(sorvane.window(), WM_KEYUP, VK_RETURN, 0);
    ASSERT_TRUE(WaitHidden(sorvane));
    EXPECT_TRUE(PollUntil([&] { return ProcessOf(GetForegroundWindow()) == ProcessOf(windows.windows()[0]); }))
        << "foreground is \"" << TextOf(GetForegroundWindow()) << "\"";

    // The other program in front: its two, side by side.
    ASSERT_TRUE(inFront(other.windows()[0]));
    const std::vector<RECT> two = ExpectedTiles(2);
    PostMessageA(sorvane.window(), WM_HOTKEY, kApplicationHotkey, 0);
    ASSERT_TRUE(WaitShown(sorvane, two[0]));
    EXPECT_TRUE(PollUntil([&] { return centres(two) == std::multiset<COLORREF>{TestWindowColour(0), TestWindowColour(1)}; }))
        << "not the other program's two windows";
    PostMessageA(sorvane.window(), WM_KEYUP, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitHidden(sorvane));

    // The Show hotkey still lists all five.
    const std::vector<RECT> five = ExpectedTiles(5);
    PostMessageA(sorvane.window(), WM_HOTKEY, kShowHotkey, 0);
    ASSERT_TRUE(WaitShown(sorvane, five[0]));
    const std::multiset<COLORREF> all{TestWindowColour(0), TestWindowColour(1), TestWindowColour(2),
                                      TestWindowColour(0), TestWindowColour(1)};
    EXPECT_TRUE(PollUntil([&] { return centres(five) == all; })) << "not every window";
    PostMessageA(sorvane.window(), WM_KEYUP, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitHidden(sorvane));

    // Packaged apps: three frames of one host, each app's own process owning what its frames host.
    TestWindows host, appA, appB;
    for (const char* name : {"ApplicationFrameHost.exe", "AppA.exe", "AppB.exe"})
        ASSERT_TRUE(folder.CopyIn(DriverDirectory() + "SorvaneTestWindows.exe", name));
    ASSERT_TRUE(host.Open(3, "A one|B|A two", "titles,frame,slot=5", folder.path() + "ApplicationFrameHost.exe"));
    auto frame = [](const char* title) { return FindWindowA("ApplicationFrameWindow", title); };
    auto number = [&](const char* title) { return std::to_string(reinterpret_cast<UINT_PTR>(frame(title))); };
    ASSERT_TRUE(appA.Open(1, "A own", "plain,slot=8,host=" + number("A one") + "+" + number("A two"), folder.path() + "AppA.exe"));
    ASSERT_TRUE(appB.Open(0, "B", "host=" + number("B"), folder.path() + "AppB.exe"));
    ASSERT_TRUE(inFront(frame("A one")));
    PostMessageA(sorvane.window(), WM_HOTKEY, kApplicationHotkey, 0);
    ASSERT_TRUE(WaitShown(sorvane, three[0]));
    EXPECT_TRUE(PollUntil([&] { return centres(three) == std::multiset<COLORREF>{TestWindowColour(0), TestWindowColour(2), TestWindowColour(0)}; }))
        << "not app A's two frames and its own window";
    ASSERT_TRUE(probe.Attach(sorvane.window()));
    size_t at = 0;  // the tile of A's second frame, the only one in its colour
    while (at < 2 && ScreenPixel((three[at].left + three[at].right) / 2, (three[at].top + three[at].bottom) / 2) != TestWindowColour(2)) ++at;
    std::string text;  // its information square
    EXPECT_TRUE(HoverUntilTipSays(probe, POINT{three[at].left + 10, three[at].top + 10}, "File: AppA.exe", &text)) << text;
    EXPECT_NE(std::string::npos, text.find("A two")) << text;
    PostMessageA(sorvane.window(), WM_KEYUP, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitHidden(sorvane));
    ASSERT_TRUE(ExitSorvane(sorvane));
}

TEST_F(Overview, WithNothingToListItSaysSoAndHides)
{
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));
    PostMessageA(sorvane.window(), WM_HOTKEY, kShowHotkey, 0);
    HWND box = WaitForDialog(sorvane.id(), "No Active Window");
    ASSERT_NE(nullptr, box) << DescribeWindows(sorvane.id());
    EXPECT_EQ("No window is currently active. Please click OK to return.", TextOf(GetDlgItem(box, kMessageBoxTextId)));
    EXPECT_TRUE(IsWindowVisible(sorvane.window())) << "the empty frame is up behind the box";
    ASSERT_TRUE(DismissMessageBox(box));
    ASSERT_TRUE(WaitHidden(sorvane));
    // A later show works as the first did.
    PostMessageA(sorvane.window(), WM_HOTKEY, kShowHotkey, 0);
    box = WaitForDialog(sorvane.id(), "No Active Window");
    ASSERT_NE(nullptr, box);
    ASSERT_TRUE(DismissMessageBox(box));
    ASSERT_TRUE(WaitHidden(sorvane));
    ASSERT_TRUE(ExitSorvane(sorvane));
}

// Apps set to dark (the value, then the broadcast) while Sorvane runs light: the next showing is dark, readable.
TEST_F(Overview, TheNextShowingFollowsTheAppsDarkMode)
{
    static constexpr char kKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
    auto set = [](const StoredValue& value) {
        if (!value.present) SHDeleteValueA(HKEY_CURRENT_USER, kKey, "AppsUseLightTheme");
        else SHSetValueA(HKEY_CURRENT_USER, kKey, "AppsUseLightTheme", value.type, &value.data[0], value.data.size());
    };
    const struct PutBack { StoredValue before; decltype(set) write; ~PutBack() { write(before); } } putBack{
        ReadUserValue(kKey, "AppsUseLightTheme"), set};
    set(StoredValue{true, REG_DWORD, {1, 0, 0, 0}});
    ASSERT_TRUE(windows.Open(2));
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));
    const RECT plain = ExpectedTiles(2)[1];
    const int h = ScreenHeight();
    for (bool dark : {false, true}) {
        PostMessageA(sorvane.window(), WM_HOTKEY, kShowHotkey, 0);
        ASSERT_TRUE(WaitShown(sorvane, ExpectedTiles(2)[0]));
        const ScreenShot screen;  // the bands, and the tile area around a plain tile's icon
        for (COLORREF surface : {screen.At(2, 20), screen.At(2, h - 12), screen.At(plain.left + 20, plain.top + 20)})
            EXPECT_EQ(dark, RelativeLuminance(surface) < 0.05) << ColourText(surface) << (dark ? " dark" : " light");
        double help = 1;  // the help line's text against the band beside it
        for (int y = h - 18; y < h - 4; ++y)
            for (int x = 20; x < 300; ++x) help = std::fmax(help, ContrastRatio(screen.At(x, y), screen.At(2, y)));
        EXPECT_TRUE(!dark || help >= 4.5) << help;
        PressKey(VK_ESCAPE);
        ASSERT_TRUE(WaitHidden(sorvane));
        set(StoredValue{true, REG_DWORD, {0, 0, 0, 0}});
        SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>("ImmersiveColorSet"),
                            SMTO_ABORTIFHUNG, 2000, nullptr);
    }
    ASSERT_TRUE(ExitSorvane(sorvane));
}

TEST_F(Overview, ManyShowingsLeaveMemoryFlat)
{
    ASSERT_TRUE(windows.Open(4));
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));
    const RECT first = ExpectedTiles(4)[0];
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, sorvane.id());
    ASSERT_NE(nullptr, process);
    auto memory = [process] {
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof counters;
        GetProcessMemoryInfo(process, &counters, sizeof counters);
        return counters.PagefileUsage;
    };
    auto cycle = [&] {
        PostMessageA(sorvane.window(), WM_HOTKEY, kShowHotkey, 0);
        if (!WaitShown(sorvane, first)) return false;
        PostMessageA(sorvane.window(), WM_KEYUP, VK_ESCAPE, 0);
        return static_cast<bool>(WaitHidden(sorvane));
    };
    for (int i = 0; i < 20; ++i) ASSERT_TRUE(cycle()) << "warm-up cycle " << i;
    const SIZE_T before = memory();
    for (int i = 0; i < 200; ++i) ASSERT_TRUE(cycle()) << "cycle " << i;
    const SIZE_T after = memory();
    CloseHandle(process);
    // Every showing creates a heap, a frame of the screen's size, a picture of the screen, four
    // images per window and a capture per window: a leak of any of them would grow by megabytes
    // over 200 showings. The process heap itself may step up now and then by a few hundred KB.
    EXPECT_LT(after, before + 1024 * 1024) << "private bytes grew from " << before << " to " << after;
    ASSERT_TRUE(ExitSorvane(sorvane));
}

}  // namespace
}  // namespace e2e
