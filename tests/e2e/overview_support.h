// Helpers for the tests that open the Overview: a helper process with test windows, and reading
// the screen.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace e2e {

// A helper process (SorvaneTestWindows.exe) holding numbered, solid-coloured test windows.
class TestWindows {
public:
    TestWindows() = default;
    ~TestWindows() { Stop(); }
    TestWindows(const TestWindows&) = delete;
    TestWindows& operator=(const TestWindows&) = delete;

    // Starts the helper with `count` windows titled "<prefix> 1" ... and waits until all show.
    ::testing::AssertionResult Open(int count, const std::string& prefix = "Test window");
    // Ends the helper and waits until its windows are gone.
    void Stop();
    const std::vector<HWND>& windows() const { return windows_; }

private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    std::vector<HWND> windows_;
};

// Waits for a visible dialog box (#32770) of the process with this caption; null when none came.
HWND WaitForDialog(DWORD processId, const char* caption);

// A pixel of the whole screen as the user sees it.
COLORREF ScreenPixel(int x, int y);
std::string ColourText(COLORREF colour);

// The Overview's tile rectangles for n windows on this screen, in list order.
std::vector<RECT> ExpectedTiles(int count);

}  // namespace e2e
