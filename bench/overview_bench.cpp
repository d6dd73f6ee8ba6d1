// Times what a user waits for, against the real Sorvane.exe: from the Show hotkey to the
// Overview's frame and tiles on screen, and to the last snapshot shown; beside the last, a bare
// reference (PrintWindow and one StretchBlt per window, nothing else) for the same windows. Also
// one selection repaint (two tile presentations in place). Prints medians and spreads.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app.h"
#include "overview/layout.h"
#include "overview/lifecycle.h"
#include "overview/worker.h"
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

// The windows to switch between live in a process of their own, as applications do:
// SorvaneTestWindows.exe paints each in a solid colour.
HANDLE OpenHelperWindows(std::vector<HWND>* windows)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string program(path);
    program = program.substr(0, program.rfind('\\') + 1) + "SorvaneTestWindows.exe";
    std::string command = "\"" + program + "\" " + std::to_string(kWindows) + " \"Bench window\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return nullptr;
    CloseHandle(process.hThread);
    for (int i = 0; i < 500 && static_cast<int>(windows->size()) < kWindows; ++i) {
        Sleep(10);
        windows->clear();
        HWND window = nullptr;
        while ((window = FindWindowExA(nullptr, window, "SorvaneTestWindow", nullptr)))
            if (IsWindowVisible(window)) windows->push_back(window);
    }
    return process.hProcess;
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

struct ShowTimes {
    std::vector<double> frame;     // hotkey to frame and tiles
    std::vector<double> snapshots; // hotkey to the last snapshot shown
    std::vector<double> key;       // Tab to the next tile's highlight on screen
    std::vector<double> enter;     // Enter to the chosen window in front
};

bool IsTestColour(COLORREF colour)
{
    static const COLORREF colours[] = {RGB(220, 40, 40),  RGB(40, 170, 60),  RGB(40, 80, 220),
                                       RGB(230, 200, 30), RGB(160, 50, 200), RGB(30, 190, 200),
                                       RGB(240, 130, 20), RGB(120, 120, 120)};
    return std::find(std::begin(colours), std::end(colours), colour) != std::end(colours);
}

// Whether every tile shows its window's colour below its middle (where the placeholder is plain).
bool AllSnapshotsShown()
{
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    const int columns = 5, rows = 4;  // the grid of 20 tiles
    const int cellWidth = (w + 1) / columns, rowPitch = (h - 92) / rows - 3;
    HDC screen = GetDC(nullptr);
    bool all = true;
    for (int i = 0; i < kWindows && all; ++i) {
        const int x = cellWidth * (i % columns) + cellWidth / 2;
        const int y = 40 + rowPitch * (i / columns) + rowPitch / 2 + 40;
        all = IsTestColour(GetPixel(screen, x, y));
    }
    ReleaseDC(nullptr, screen);
    return all;
}

// Show hotkey to frame-and-tiles and to the last snapshot, against the real program.
ShowTimes TimeShows(int runs)
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

    ShowTimes samples;
    for (int run = 0; sorvane && run < runs; ++run) {
        // Outside every tile (hovering selects), where the Overview parks the pointer itself.
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 463, GetSystemMetrics(SM_CYSCREEN) - 42);
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
        if (shown) samples.frame.push_back(Now() - start);
        while (shown && Now() - start < 15000) {
            Pump();
            if (AllSnapshotsShown()) {
                samples.snapshots.push_back(Now() - start);
                break;
            }
            Sleep(1);
        }
        if (shown) {
            // Tab: the second tile (5 columns of (W + 1) / 5) takes the selected look.
            const int secondX = (GetSystemMetrics(SM_CXSCREEN) + 1) / 5 + 8;
            const double keyStart = Now();
            PostMessageA(sorvane, WM_KEYDOWN, VK_TAB, 0);
            while (Now() - keyStart < 2000 && !ScreenPixelIs(secondX, 60, kSelectedFrame)) Sleep(0);
            samples.key.push_back(Now() - keyStart);
            const double enterStart = Now();
            PostMessageA(sorvane, WM_KEYUP, VK_RETURN, 0);
            char title[64] = {};
            while (Now() - enterStart < 3000) {
                GetWindowTextA(GetForegroundWindow(), title, sizeof title);
                if (!IsWindowVisible(sorvane) && strncmp(title, "Bench window", 12) == 0) break;
                Sleep(0);
            }
            samples.enter.push_back(Now() - enterStart);
        }
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

// The least any capture of these windows can cost: print each and stretch it once.
std::vector<double> TimeBareCaptures(const std::vector<HWND>& windows, int runs)
{
    std::vector<double> samples;
    HDC screen = GetDC(nullptr);
    for (int run = 0; run < runs; ++run) {
        const double start = Now();
        for (HWND window : windows) {
            RECT rect{};
            GetWindowRect(window, &rect);
            const int w = rect.right - rect.left, h = rect.bottom - rect.top;
            HDC print = CreateCompatibleDC(screen);
            HBITMAP printed = CreateCompatibleBitmap(screen, w, h);
            HGDIOBJ oldPrinted = SelectObject(print, printed);
            PrintWindow(window, print, 0);
            HDC tile = CreateCompatibleDC(screen);
            HBITMAP tileImage = CreateCompatibleBitmap(screen, 200, 160);
            HGDIOBJ oldTile = SelectObject(tile, tileImage);
            SetStretchBltMode(tile, HALFTONE);
            StretchBlt(tile, 0, 0, 200, 160, print, 0, 0, w, h, SRCCOPY);
            SelectObject(tile, oldTile);
            SelectObject(print, oldPrinted);
            DeleteObject(tileImage);
            DeleteObject(printed);
            DeleteDC(tile);
            DeleteDC(print);
        }
        samples.push_back(Now() - start);
    }
    ReleaseDC(nullptr, screen);
    return samples;
}

double Median(std::vector<double> samples)
{
    if (samples.empty()) return 0;
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
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
    std::vector<HWND> windows;
    HANDLE helper = OpenHelperWindows(&windows);
    if (!helper || static_cast<int>(windows.size()) != kWindows) {
        printf("cannot open the %d test windows\n", kWindows);
        return 1;
    }
    std::vector<HWND> own = OpenWindows();
    for (HWND window : own) ShowWindow(window, SW_HIDE);
    printf("Sorvane Overview benchmark: %d windows, %dx%d screen\n", kWindows, GetSystemMetrics(SM_CXSCREEN),
           GetSystemMetrics(SM_CYSCREEN));
    const ShowTimes shows = TimeShows(runs);
    const std::vector<double> bare = TimeBareCaptures(windows, runs);
    Report("show: hotkey to frame and tiles", "ms", shows.frame);
    Report("show: hotkey to last snapshot", "ms", shows.snapshots);
    Report("bare reference: print + stretch x20", "ms", bare);
    Report("Tab to the new highlight on screen", "ms", shows.key);
    Report("Enter to the chosen window in front", "ms", shows.enter);
    if (Median(bare) > 0) {
        printf("ratio last snapshot / bare reference: %.2f\n", Median(shows.snapshots) / Median(bare));
        printf("ratio capture phase (last snapshot - frame) / bare reference: %.2f\n",
               (Median(shows.snapshots) - Median(shows.frame)) / Median(bare));
    }
    Report("selection repaint (two tiles)", "us", TimeSelectionRepaints(own, runs * 20));
    for (HWND window : own) DestroyWindow(window);
    TerminateProcess(helper, 0);
    CloseHandle(helper);
    return 0;
}
