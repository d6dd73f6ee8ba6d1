// Times what a user waits for: from the Show hotkey to the Overview's frame and tiles on screen
// (against the real Sorvane.exe), and one selection repaint (two tile presentations in place).
// Prints the median and the spread over repeated runs.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app.h"
#include "overview/layout.h"
#include "overview/lifecycle.h"
#include "overview/tiles.h"
#include "windows/windowlist.h"

namespace {

constexpr int kWindows = 20;
constexpr COLORREF kSelectedFrame = RGB(255, 153, 51);  // the thin pen of the selected look

double Now()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

void Pump()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

void Report(const char* what, const char* unit, std::vector<double> samples)
{
    if (samples.empty()) {
        printf("%s: no samples\n", what);
        return;
    }
    std::sort(samples.begin(), samples.end());
    auto at = [&](double q) { return samples[static_cast<size_t>(q * (samples.size() - 1))]; };
    printf("%-34s median %8.2f %s   p10 %8.2f   p90 %8.2f   min %8.2f   max %8.2f   (%zu runs)\n", what,
           at(0.5), unit, at(0.1), at(0.9), samples.front(), samples.back(), samples.size());
}

std::vector<HWND> OpenWindows()
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "SorvaneBenchWindow";
    windowClass.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32516));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    RegisterClassA(&windowClass);
    std::vector<HWND> windows;
    for (int i = 0; i < kWindows; ++i) {
        char title[32];
        snprintf(title, sizeof title, "Bench window %d", i + 1);
        windows.push_back(CreateWindowExA(0, windowClass.lpszClassName, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                          20 * i, 15 * i, 400, 300, nullptr, nullptr, nullptr, nullptr));
    }
    Pump();
    return windows;
}

bool ScreenPixelIs(int x, int y, COLORREF colour)
{
    HDC screen = GetDC(nullptr);
    const COLORREF seen = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return seen == colour;
}

// Show hotkey to frame-and-tiles against the real program.
std::vector<double> TimeShows(int runs)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string program(path);
    program = program.substr(0, program.rfind('\\') + 1) + "Sorvane.exe";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string command = "\"" + program + "\"";
    if (!CreateProcessA(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        printf("cannot start %s\n", program.c_str());
        return {};
    }
    HWND sorvane = nullptr;
    for (int i = 0; i < 500 && !sorvane; ++i, Sleep(10)) sorvane = FindWindowA("SORVANE", nullptr);
    // Let the welcome balloon and start-up settle.
    Sleep(1500);

    std::vector<double> samples;
    for (int run = 0; sorvane && run < runs; ++run) {
        SetCursorPos(300, 300);
        const double start = Now();
        PostMessageA(sorvane, WM_HOTKEY, 111, 0);
        bool shown = false;
        while (Now() - start < 5000) {
            Pump();
            if (IsWindowVisible(sorvane) && ScreenPixelIs(8, 60, kSelectedFrame)) {
                shown = true;
                break;
            }
            Sleep(1);
        }
        if (shown) samples.push_back(Now() - start);
        PostMessageA(sorvane, WM_KEYUP, VK_ESCAPE, 0);
        for (int i = 0; i < 500 && IsWindowVisible(sorvane); ++i) Sleep(10);
        Sleep(200);
    }
    if (sorvane) PostMessageA(sorvane, WM_COMMAND, 105, 0);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return samples;
}

// One selection change drawn in place, as the pointer or a key makes it, in this process.
std::vector<double> TimeSelectionRepaints(const std::vector<HWND>& windows, int runs)
{
    appInstance = GetModuleHandleA(nullptr);
    lstrcpyA(appTitle, "Sorvane");
    HWND overview = CreateWindowExA(WS_EX_TOPMOST, "SorvaneBenchWindow", "Overview", WS_POPUP | WS_VISIBLE, 0, 0,
                                    GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                    nullptr, nullptr);
    ResetOverviewHeap();
    for (HWND window : windows) AppendWindowEntry(window);
    snapshotStopRequested = true;  // no worker: only the frame and the tiles
    BuildOverview(overview);
    Pump();
    std::vector<double> samples;
    WindowEntry* current = windowList.head;
    for (int run = 0; run < runs; ++run) {
        WindowEntry* next = current->next ? current->next : windowList.head;
        const double start = Now();
        PresentTileOnWindow(overview, current, false);
        PresentTileOnWindow(overview, next, true);
        GdiFlush();
        samples.push_back((Now() - start) * 1000.0);
        current = next;
    }
    labelOwner = nullptr;
    ClearWindowList();
    DeleteOverviewBuffer();
    DestroyOverviewHeap();
    DestroyWindow(overview);
    return samples;
}

}  // namespace

int main(int argc, char** argv)
{
    setvbuf(stdout, nullptr, _IONBF, 0);
    const int runs = argc > 1 ? atoi(argv[1]) : 15;
    std::vector<HWND> windows = OpenWindows();
    printf("Sorvane Overview benchmark: %d windows, %dx%d screen\n", kWindows, GetSystemMetrics(SM_CXSCREEN),
           GetSystemMetrics(SM_CYSCREEN));
    Report("show: hotkey to frame and tiles", "ms", TimeShows(runs));
    Report("selection repaint (two tiles)", "us", TimeSelectionRepaints(windows, runs * 20));
    for (HWND window : windows) DestroyWindow(window);
    return 0;
}
