// Helpers for the tests that open the Overview: a helper process with test windows, and reading
// the screen.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/e2e/driver.h"

#include <string>
#include <vector>

namespace e2e {

constexpr WPARAM kShowHotkey = 111;

// A helper process (SorvaneTestWindows.exe) holding numbered, solid-coloured test windows.
class TestWindows {
public:
    TestWindows() = default;
    ~TestWindows() { Stop(); }
    TestWindows(const TestWindows&) = delete;
    TestWindows& operator=(const TestWindows&) = delete;

    // Starts the helper with `count` windows titled "<prefix> 1" ... (and one more, "<prefix>
    // hung", whose thread never answers, when asked) and waits until all show.
    // OPTIONS as the helper takes them ("hung", "black", "dark", "console", "plain", "titles",
    // "slot=K"...), separated by commas. Text is UTF-8. `copy` names a copy of the helper to run
    // instead of the one beside the driver.
    ::testing::AssertionResult Open(int count, const std::string& prefix = "Test window",
                                    const std::string& options = "", const std::string& copy = "");
    // Ends the helper and waits until its windows are gone.
    void Stop();
    const std::vector<HWND>& windows() const { return windows_; }

private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    std::vector<HWND> windows_;
    std::string className_;
};

// Waits for a visible dialog box (#32770) of the process with this caption; null when none came.
HWND WaitForDialog(DWORD processId, const char* caption);

// The whole screen at one moment, for reading many pixels at once.
class ScreenShot {
public:
    ScreenShot();
    COLORREF At(int x, int y) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<DWORD> pixels_;
};

// A pixel of the whole screen as the user sees it.
COLORREF ScreenPixel(int x, int y);
std::string ColourText(COLORREF colour);
// "(left,top)-(right,bottom)".
std::string RectText(const RECT& rect);

// The colour the helper paints its window number i (from 0) with, and its hung window with.
COLORREF TestWindowColour(int index);
constexpr COLORREF kHungWindowColour = RGB(90, 60, 30);

// Screen DPI the Overview is drawn for; its measures are given at 96 and scaled as Windows does.
constexpr int kNormalDpi = 96;
inline int ScaleForDpi(int value, int dpi) { return MulDiv(value, dpi, kNormalDpi); }

// Whether the selected look of the tile is on screen: its thin frame line on the left.
bool SelectedFrameAt(const RECT& tile, int dpi = kNormalDpi);
// Waits until exactly the tile `index` shows the selected look (at most 3 s).
::testing::AssertionResult SelectedTileBecomes(const std::vector<RECT>& tiles, int index);
// Waits until the Overview window is visible with the tile selected on screen.
::testing::AssertionResult WaitOverviewShown(HWND overview, const RECT& firstTile, int dpi = kNormalDpi);
::testing::AssertionResult WaitOverviewHidden(HWND overview, DWORD timeoutMs = 10000);
// Points at the spot until the Overview's tip text holds `wanted` (at most three times, leaving the
// tile between): under Wine the Overview's own parking move may still be under way when the
// pointer first arrives. The last text read goes to *text.
bool HoverUntilTipSays(Probe& probe, POINT spot, const std::string& wanted, std::string* text);
// Presses and releases one key through the input stream.
void PressKey(WORD key);

// The left Alt key held in the X server as a physical key is (xdotool, started by its Unix path):
// under Wine, an Alt pressed with SendInput is dropped without a message when the X focus moves.
// The X focus goes first to the X window of the window in front, where Wine reads the keys. Let go
// when the object ends, however the test ends.
class HeldAlt {
public:
    HeldAlt() = default;
    ~HeldAlt();
    HeldAlt(const HeldAlt&) = delete;
    HeldAlt& operator=(const HeldAlt&) = delete;
    ::testing::AssertionResult Press();
    ::testing::AssertionResult Release();

private:
    ::testing::AssertionResult Set(bool down);
    bool held_ = false;
};

// The Overview's tile rectangles for n windows on this screen at this DPI, in list order.
std::vector<RECT> ExpectedTiles(int count, int dpi = kNormalDpi);
// The same for an Overview that covers the given monitor.
std::vector<RECT> ExpectedTilesOn(const RECT& monitor, int count, int dpi = kNormalDpi);

// Tests that open the Overview over test windows: windows stay in the order they stand (no
// grouping, no restoring) and are closed after each test.
class OverviewTest : public SorvaneTest {
protected:
    void SetUp() override;
    void TearDown() override;
    TestWindows windows;
};

}  // namespace e2e
