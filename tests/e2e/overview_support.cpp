#include "tests/e2e/overview_support.h"

#include <cstdio>

#include "tests/e2e/driver.h"

namespace e2e {

::testing::AssertionResult TestWindows::Open(int count, const std::string& prefix)
{
    Stop();
    const std::string program = DriverDirectory() + "SorvaneTestWindows.exe";
    std::string command = "\"" + program + "\" " + std::to_string(count) + " \"" + prefix + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return ::testing::AssertionFailure() << "cannot start " << program << ": error " << GetLastError();
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
    const bool shown = PollUntil([&] {
        windows_ = TopLevelWindows("SorvaneTestWindow", processId_, true);
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

std::vector<RECT> ExpectedTiles(int count)
{
    int columns = 1;
    while (columns * columns < count) ++columns;
    const int rows = (columns - 1) * columns >= count && columns > 1 ? columns - 1 : columns;
    const int w = ScreenWidth(), h = ScreenHeight();
    const int cellWidth = (w + 1) / columns;
    const int rowPitch = (h - 52 - 40) / rows - 3;
    std::vector<RECT> tiles;
    for (int i = 0; i < count; ++i) {
        const int column = i % columns, row = i / columns;
        tiles.push_back(RECT{cellWidth * column, 40 + rowPitch * row, cellWidth * (column + 1), 40 + rowPitch * (row + 1)});
    }
    return tiles;
}

}  // namespace e2e
