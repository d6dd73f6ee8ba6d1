#include "tests/e2e/overview_support.h"

#include <cstdio>

#include "tests/e2e/driver.h"

namespace e2e {

::testing::AssertionResult TestWindows::Open(int count, const std::string& prefix, const std::string& options,
                                             const std::string& copy)
{
    Stop();
    const std::string program = copy.empty() ? DriverDirectory() + "SorvaneTestWindows.exe" : copy;
    std::wstring command = Wide("\"" + program + "\" " + std::to_string(count) + " \"" + prefix + "\" \"" + options + "\"");
    if (options.find("hung") != std::string::npos) ++count;
    className_ = options.find("console") != std::string::npos ? "ConsoleWindowClass" : "SorvaneTestWindow";
    if (options.find("frame") != std::string::npos) className_ = "ApplicationFrameWindow";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(Wide(program).c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return ::testing::AssertionFailure() << "cannot start " << program << ": error " << GetLastError();
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
    const bool shown = PollUntil([&] {
        windows_ = TopLevelWindows(className_.c_str(), processId_, true);
        return static_cast<int>(windows_.size()) == count;
    });
    if (!shown)
        return ::testing::AssertionFailure() << "the helper showed " << windows_.size() << " of " << count
                                             << " windows:\n" << DescribeWindows(processId_);
    return ::testing::AssertionSuccess();
}

void TestWindows::Stop()
{
    if (!process_) return;
    TerminateProcess(process_, 0);
    WaitForSingleObject(process_, kWaitMs);
    CloseHandle(process_);
    process_ = nullptr;
    const DWORD id = processId_;
    PollUntil([id] { return TopLevelWindows(nullptr, id, false).empty(); });
    processId_ = 0;
    windows_.clear();
}

HWND WaitForDialog(DWORD processId, const char* caption)
{
    HWND found = nullptr;
    PollUntil([&] {
        for (HWND window : TopLevelWindows("#32770", processId, true))
            if (TextOf(window) == caption) found = window;
        return found != nullptr;
    });
    return found;
}

COLORREF TestWindowColour(int index)
{
    static const COLORREF colours[] = {RGB(220, 40, 40),  RGB(40, 170, 60),  RGB(40, 80, 220),
                                       RGB(230, 200, 30), RGB(160, 50, 200), RGB(30, 190, 200),
                                       RGB(240, 130, 20), RGB(120, 120, 120)};
    return colours[index % 8];
}

ScreenShot::ScreenShot() : width_(ScreenWidth()), height_(ScreenHeight()), pixels_(static_cast<size_t>(width_) * height_)
{
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width_, height_);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width_, height_, screen, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    GetDIBits(memory, bitmap, 0, height_, pixels_.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

COLORREF ScreenShot::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    const DWORD pixel = pixels_[static_cast<size_t>(y) * width_ + x];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

COLORREF ScreenPixel(int x, int y)
{
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return colour;
}

std::string ColourText(COLORREF colour)
{
    char text[32];
    snprintf(text, sizeof text, "RGB(%d, %d, %d)", GetRValue(colour), GetGValue(colour), GetBValue(colour));
    return text;
}

bool SelectedFrameAt(const RECT& tile, int dpi)
{
    return ScreenPixel(tile.left + ScaleForDpi(8, dpi), (tile.top + tile.bottom) / 2) == RGB(255, 153, 51);
}

::testing::AssertionResult SelectedTileBecomes(const std::vector<RECT>& tiles, int index)
{
    int seen = -1;
    const bool reached = PollUntil([&] {
        seen = -1;
        for (size_t i = 0; i < tiles.size(); ++i)
            if (SelectedFrameAt(tiles[i])) seen = seen < 0 ? static_cast<int>(i) : 99;
        return seen == index;
    }, 3000);
    if (reached) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "selected tile " << seen << ", expected " << index;
}

::testing::AssertionResult WaitOverviewShown(HWND overview, const RECT& firstTile, int dpi)
{
    if (PollUntil([&] { return IsWindowVisible(overview) && SelectedFrameAt(firstTile, dpi); }))
        return ::testing::AssertionSuccess();
    const int x = firstTile.left + ScaleForDpi(8, dpi);
    return ::testing::AssertionFailure()
           << "the Overview did not show the first tile selected; visible " << IsWindowVisible(overview)
           << ", pixel " << ColourText(ScreenPixel(x, (firstTile.top + firstTile.bottom) / 2));
}

::testing::AssertionResult WaitOverviewHidden(HWND overview, DWORD timeoutMs)
{
    if (PollUntil([&] { return !IsWindowVisible(overview); }, timeoutMs)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the Overview stayed open for " << timeoutMs << " ms";
}

bool HoverUntilTipSays(Probe& probe, POINT spot, const std::string& wanted, std::string* text)
{
    for (int attempt = 1; attempt <= 3; ++attempt) {
        if (attempt > 1 && !MovePointer(ScreenWidth() / 2, ScreenHeight() - 20)) return false;  // off the tiles
        if (!MovePointer(spot.x, spot.y)) return false;
        if (PollUntil([&] { return probe.ReadTipText(text) && text->find(wanted) != std::string::npos; }, 3000))
            return true;
    }
    return false;
}

HeldAlt::~HeldAlt()
{
    if (held_) Release();
}

::testing::AssertionResult HeldAlt::Press() { return Set(true); }
::testing::AssertionResult HeldAlt::Release() { return Set(false); }

::testing::AssertionResult HeldAlt::Set(bool down)
{
    held_ = down;
    std::string command;
    // The X focus goes to the front window first; a front window that hides meanwhile (the Overview as
    // it closes) cannot take it, and xdotool then gives up before the key: once more on the desktop's.
    for (HWND front : {GetForegroundWindow(), GetDesktopWindow()}) {
        auto xWindow = reinterpret_cast<ULONG_PTR>(GetPropA(front, "__wine_x11_whole_window"));
        if (!xWindow) xWindow = reinterpret_cast<ULONG_PTR>(GetPropA(GetDesktopWindow(), "__wine_x11_whole_window"));
        command = "Z:\\usr\\bin\\xdotool ";
        if (xWindow) command += "windowfocus " + std::to_string(xWindow) + " ";
        command += down ? "keydown Alt_L" : "keyup Alt_L";
        if (::testing::AssertionResult started = StartUnixProgram(command); !started) return started;
        if (PollUntil([&] { return ((GetAsyncKeyState(VK_MENU) & 0x8000) != 0) == down; }, 3000))
            return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << command << ": Alt did not go " << (down ? "down" : "up");
}

std::string RectText(const RECT& rect)
{
    char text[64];
    snprintf(text, sizeof text, "(%ld,%ld)-(%ld,%ld)", static_cast<long>(rect.left), static_cast<long>(rect.top),
             static_cast<long>(rect.right), static_cast<long>(rect.bottom));
    return text;
}

void PressKey(WORD key)
{
    INPUT input[2]{};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}

std::vector<RECT> ExpectedTiles(int count, int dpi)
{
    return ExpectedTilesOn(RECT{0, 0, ScreenWidth(), ScreenHeight()}, count, dpi);
}

std::vector<RECT> ExpectedTilesOn(const RECT& monitor, int count, int dpi)
{
    int columns = 1;
    while (columns * columns < count) ++columns;
    const int rows = (columns - 1) * columns >= count && columns > 1 ? columns - 1 : columns;
    const int w = monitor.right - monitor.left, h = monitor.bottom - monitor.top;
    const int cellWidth = (w + 1) / columns;
    const int top = ScaleForDpi(40, dpi), bottom = h - ScaleForDpi(52, dpi);
    const int rowPitch = (bottom - top) / rows - ScaleForDpi(3, dpi);
    std::vector<RECT> tiles;
    for (int i = 0; i < count; ++i) {
        const int column = i % columns, row = i / columns;
        tiles.push_back(RECT{monitor.left + cellWidth * column, monitor.top + top + rowPitch * row,
                             monitor.left + cellWidth * (column + 1), monitor.top + top + rowPitch * (row + 1)});
    }
    return tiles;
}

void OverviewTest::SetUp()
{
    SorvaneTest::SetUp();
    // Under Wine the Overview gets a mouse move at the pointer's place when it appears, and
    // hovering selects: keep the pointer in the footer, outside every tile.
    ASSERT_TRUE(MovePointer(ScreenWidth() - 463, ScreenHeight() - 42));
    WriteDwordSetting("GroupByApps", 0);
    WriteDwordSetting("RestoreMinimized", 0);
}

void OverviewTest::TearDown()
{
    windows.Stop();
    SorvaneTest::TearDown();
}

}  // namespace e2e
