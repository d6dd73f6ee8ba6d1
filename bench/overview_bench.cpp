// Times what a user waits for, against the real Sorvane.exe beside a helper process of test
// windows: from the Show hotkey to the Overview on screen and to its last tile filled, with 16 and
// with 64 windows; beside them a bare loop doing the capture's work on one thread (one screen grab,
// then per window a copy and one halftone stretch). Also Tab and Enter, one selection repaint (in
// this process), a typed character redrawing the tiles it dims (64 windows), Sorvane's memory
// across a showing and across many show/hide cycles, and its CPU time while idle. Prints medians
// and spreads; asserts nothing.
//   sorvane_overview_bench.exe [runs [cycles [idle-seconds]]]   (defaults 15, 400, 60)
//   sorvane_overview_bench.exe blackbox [rounds]               (default 5): from outside only, see
//   RunBlackBox
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <initializer_list>
#include <cstring>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app.h"
#include "overview/frame.h"
#include "overview/layout.h"
#include "overview/lifecycle.h"
#include "overview/present.h"
#include "overview/showing.h"
#include "overview/worker.h"
#include "windows/capture.h"
#include "windows/windowlist.h"

namespace {

constexpr COLORREF kSelectedFrame = RGB(255, 153, 51);  // the thin pen of the selected look
constexpr int kOwnWindows = 16;                         // for the in-process selection repaint

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

double Median(std::vector<double> samples)
{
    if (samples.empty()) return 0;
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

void Report(const char* what, const char* unit, std::vector<double> samples)
{
    if (samples.empty()) {
        printf("%-44s no samples\n", what);
        return;
    }
    std::sort(samples.begin(), samples.end());
    auto at = [&](double q) { return samples[static_cast<size_t>(q * (samples.size() - 1))]; };
    printf("%-44s median %8.2f %s   p10 %8.2f   p90 %8.2f   min %8.2f   max %8.2f   (%zu runs)\n", what,
           at(0.5), unit, at(0.1), at(0.9), samples.front(), samples.back(), samples.size());
}

void ReportRatio(const char* what, double numerator, double denominator)
{
    if (numerator > 0 && denominator > 0)
        printf("%-44s %.2f\n", what, numerator / denominator);
    else
        printf("%-44s n/a\n", what);
}

std::string BesideThisProgram(const char* name)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string program(path);
    return program.substr(0, program.rfind('\\') + 1) + name;
}

HANDLE StartProgram(const std::string& program, const std::string& arguments)
{
    std::string command = "\"" + program + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}

void EndProgram(HANDLE process)
{
    TerminateProcess(process, 0);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
}

// The windows to switch between live in a process of their own, as applications do:
// SorvaneTestWindows.exe paints each in a solid colour, side by side.
HANDLE OpenHelperWindows(int count, std::vector<HWND>* windows)
{
    windows->clear();
    HANDLE helper = StartProgram(BesideThisProgram("SorvaneTestWindows.exe"), std::to_string(count) + " \"Bench window\"");
    if (!helper) return nullptr;
    for (int i = 0; i < 1000 && static_cast<int>(windows->size()) < count; ++i) {
        Sleep(10);
        windows->clear();
        HWND window = nullptr;
        while ((window = FindWindowExA(nullptr, window, "SorvaneTestWindow", nullptr)))
            if (IsWindowVisible(window)) windows->push_back(window);
    }
    return helper;
}

bool AllTilesFilled(const std::vector<POINT>& probes);

// Lays the windows out in a grid that fills the screen, none overlapping, so that each one's
// snapshot (taken from the screen under Wine) shows its colour.
void ArrangeInGrid(const std::vector<HWND>& windows, int columns, int rows)
{
    const int w = GetSystemMetrics(SM_CXSCREEN) / columns, h = GetSystemMetrics(SM_CYSCREEN) / rows;
    for (size_t i = 0; i < windows.size(); ++i)
        SetWindowPos(windows[i], nullptr, static_cast<int>(i % columns) * w, static_cast<int>(i / columns) * h, w, h,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    // Until the helper has repainted them: every window's middle shows its colour (at most 5 s).
    std::vector<POINT> middles;
    for (HWND window : windows) {
        RECT rect{};
        GetWindowRect(window, &rect);
        middles.push_back(POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2 + 8});
    }
    for (int i = 0; i < 500 && !AllTilesFilled(middles); ++i) Sleep(10);
    Sleep(200);
}

std::vector<HWND> OpenOwnWindows()
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "SorvaneBenchWindow";
    windowClass.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32516));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    RegisterClassA(&windowClass);
    std::vector<HWND> windows;
    for (int i = 0; i < kOwnWindows; ++i) {
        char title[32];
        snprintf(title, sizeof title, "Bench window %d", i + 1);
        windows.push_back(CreateWindowExA(0, windowClass.lpszClassName, title, WS_OVERLAPPEDWINDOW, 20 * i, 15 * i,
                                          400, 300, nullptr, nullptr, nullptr, nullptr));
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

bool IsTestColour(COLORREF colour)
{
    static const COLORREF colours[] = {RGB(220, 40, 40),  RGB(40, 170, 60),  RGB(40, 80, 220),
                                       RGB(230, 200, 30), RGB(160, 50, 200), RGB(30, 190, 200),
                                       RGB(240, 130, 20), RGB(120, 120, 120)};
    return std::find(std::begin(colours), std::end(colours), colour) != std::end(colours);
}

// Where the Overview puts the windows' tiles and snapshots, from the program's own layout: for
// each tile, a point in the lower part of its snapshot (where the placeholder is plain), and the
// tile's size.
struct TileGeometry {
    std::vector<POINT> probes;
    SIZE tile;
};

TileGeometry GeometryFor(const std::vector<HWND>& windows)
{
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    ResetWindowList(showing.windowList);
    for (HWND window : windows) AppendWindowEntry(showing.windowList, window);
    int columns = 0, rows = 0;
    GridForCount(static_cast<unsigned>(windows.size()), &columns, &rows);
    LayoutTiles(showing.windowList, columns, rows, TileAreaFor(w, h));
    TileGeometry geometry{};
    for (WindowEntry* entry = showing.windowList.head; entry; entry = entry->next) {
        RECT rect{};
        GetWindowRect(entry->hwnd, &rect);
        const RECT s = FitSnapshot(rect.right - rect.left, rect.bottom - rect.top, entry->tile.right - entry->tile.left,
                                   entry->tile.bottom - entry->tile.top);
        geometry.probes.push_back(POINT{entry->tile.left + (s.left + s.right) / 2,
                                        entry->tile.top + s.top + (s.bottom - s.top) * 3 / 4});
        geometry.tile = SIZE{entry->tile.right - entry->tile.left, entry->tile.bottom - entry->tile.top};
    }
    ClearWindowList(showing.windowList);
    DestroyWindowList(showing.windowList);
    return geometry;
}

// Whether every tile shows its window's colour.
bool AllTilesFilled(const std::vector<POINT>& probes)
{
    HDC screen = GetDC(nullptr);
    bool all = true;
    for (size_t i = 0; i < probes.size() && all; ++i) all = IsTestColour(GetPixel(screen, probes[i].x, probes[i].y));
    ReleaseDC(nullptr, screen);
    return all;
}

// The tiles not showing a window's colour, for the note when a showing is not seen filled.
std::string UnfilledTiles(const std::vector<POINT>& probes)
{
    HDC screen = GetDC(nullptr);
    std::string unfilled;
    for (size_t i = 0; i < probes.size(); ++i) {
        const COLORREF seen = GetPixel(screen, probes[i].x, probes[i].y);
        if (IsTestColour(seen)) continue;
        char note[64];
        snprintf(note, sizeof note, " %zu (%ld,%ld: %06lx)", i, probes[i].x, probes[i].y, static_cast<unsigned long>(seen));
        unfilled += note;
    }
    ReleaseDC(nullptr, screen);
    return unfilled;
}

// Hides the tray's balloons (Sorvane's welcome balloon among them): under Wine a snapshot is taken
// from the screen, and a balloon over a window would be in its snapshot. Returns how many it hid.
BOOL CALLBACK CollectBalloon(HWND window, LPARAM list)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (IsWindowVisible(window) && lstrcmpiA(name, "tooltips_class32") == 0)
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

int HideBalloons()
{
    std::vector<HWND> balloons;
    EnumWindows(CollectBalloon, reinterpret_cast<LPARAM>(&balloons));
    for (HWND balloon : balloons) ShowWindow(balloon, SW_HIDE);
    return static_cast<int>(balloons.size());
}

struct Sorvane {
    HANDLE process;
    HWND window;
};

Sorvane StartSorvane()
{
    Sorvane sorvane{StartProgram(BesideThisProgram("Sorvane.exe"), ""), nullptr};
    for (int i = 0; sorvane.process && i < 500 && !sorvane.window; ++i, Sleep(10))
        sorvane.window = FindWindowA("SORVANE", nullptr);
    // Start-up settles and the welcome balloon comes up (a few seconds late under Wine): hide it.
    Sleep(1000);
    for (int i = 0; i < 50 && !HideBalloons(); ++i) Sleep(100);
    return sorvane;
}

void StopSorvane(const Sorvane& sorvane)
{
    if (sorvane.window) PostMessageA(sorvane.window, WM_COMMAND, 105, 0);
    if (!sorvane.process) return;
    if (WaitForSingleObject(sorvane.process, 5000) != WAIT_OBJECT_0) TerminateProcess(sorvane.process, 0);
    CloseHandle(sorvane.process);
}

double PagefileKb(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, &counters, sizeof counters)) return 0;
    return static_cast<double>(counters.PagefileUsage) / 1024.0;
}

double CpuMs(HANDLE process)
{
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
    auto ms = [](const FILETIME& t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) /
               10000.0;
    };
    return ms(kernel) + ms(user);
}

// One showing: the hotkey, then the Overview on screen (the first tile's selected look) and every
// tile filled. Times are from the hotkey, negative when not seen; the peak PagefileUsage seen
// while it ran goes to *peakKb when given.
struct Showing {
    double onScreen = -1;
    double filled = -1;
};

Showing Show(const Sorvane& sorvane, const std::vector<POINT>& probes, double* peakKb = nullptr)
{
    // Outside every tile (hovering selects), where the Overview parks the pointer itself.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 463, GetSystemMetrics(SM_CYSCREEN) - 42);
    auto sample = [&] {
        if (peakKb) *peakKb = std::max(*peakKb, PagefileKb(sorvane.process));
    };
    Showing showing;
    const double start = Now();
    PostMessageA(sorvane.window, WM_HOTKEY, 111, 0);
    while (Now() - start < 5000) {
        Pump();
        sample();
        if (IsWindowVisible(sorvane.window) && ScreenPixelIs(8, 60, kSelectedFrame)) {
            showing.onScreen = Now() - start;
            break;
        }
        Sleep(1);
    }
    while (showing.onScreen >= 0 && Now() - start < 15000) {
        Pump();
        sample();
        if (AllTilesFilled(probes)) {
            showing.filled = Now() - start;
            break;
        }
        Sleep(1);
    }
    if (showing.onScreen >= 0 && showing.filled < 0)
        printf("  (not all tiles seen filled within 15 s; unfilled:%s)\n", UnfilledTiles(probes).c_str());
    return showing;
}

void Hide(const Sorvane& sorvane)
{
    PostMessageA(sorvane.window, WM_KEYUP, VK_ESCAPE, 0);
    for (int i = 0; i < 500 && IsWindowVisible(sorvane.window); ++i) Sleep(10);
}

struct ShowTimes {
    std::vector<double> onScreen;  // hotkey to the Overview on screen
    std::vector<double> filled;    // hotkey to the last tile filled
    std::vector<double> capture;   // the two's difference, per run
    std::vector<double> key;       // Tab to the next tile's highlight on screen
    std::vector<double> enter;     // Enter to the chosen window in front
};

// Tab, then Enter, on a shown Overview.
void TimeKeys(const Sorvane& sorvane, int secondTileLeft, ShowTimes* samples)
{
    const double keyStart = Now();
    PostMessageA(sorvane.window, WM_KEYDOWN, VK_TAB, 0);
    while (Now() - keyStart < 2000 && !ScreenPixelIs(secondTileLeft + 8, 60, kSelectedFrame)) Sleep(0);
    samples->key.push_back(Now() - keyStart);
    const double enterStart = Now();
    PostMessageA(sorvane.window, WM_KEYUP, VK_RETURN, 0);
    char title[64] = {};
    while (Now() - enterStart < 3000) {
        GetWindowTextA(GetForegroundWindow(), title, sizeof title);
        if (!IsWindowVisible(sorvane.window) && strncmp(title, "Bench window", 12) == 0) break;
        Sleep(0);
    }
    samples->enter.push_back(Now() - enterStart);
}

ShowTimes TimeShows(const Sorvane& sorvane, const TileGeometry& geometry, int runs, bool withKeys)
{
    ShowTimes samples;
    for (int run = 0; run < runs; ++run) {
        const Showing showing = Show(sorvane, geometry.probes);
        if (showing.onScreen >= 0) samples.onScreen.push_back(showing.onScreen);
        if (showing.filled >= 0) {
            samples.filled.push_back(showing.filled);
            samples.capture.push_back(showing.filled - showing.onScreen);
        }
        if (withKeys && showing.onScreen >= 0) TimeKeys(sorvane, geometry.tile.cx, &samples);
        Hide(sorvane);
        // As a user would come back, not at once: the windows uncovered have repainted.
        Sleep(500);
    }
    return samples;
}

// Showing again at once after hiding: the windows the Overview uncovered have not repainted yet,
// so the screen picture is taken again until it is stable. Times the second showing to on screen.
std::vector<double> TimeShowsRightAfterHiding(const Sorvane& sorvane, const TileGeometry& geometry, int runs)
{
    std::vector<double> samples;
    for (int run = 0; run < runs; ++run) {
        Show(sorvane, geometry.probes);
        Hide(sorvane);
        const Showing again = Show(sorvane, geometry.probes);
        if (again.onScreen >= 0) samples.push_back(again.onScreen);
        Hide(sorvane);
        Sleep(500);
    }
    return samples;
}

// The capture's work done plainly on one thread: one grab of the whole screen, then per window a
// copy of its rectangle out of the grab and one halftone stretch into a tile-sized bitmap.
std::vector<double> TimeBareLoop(const std::vector<HWND>& windows, SIZE tile, int runs)
{
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    std::vector<double> samples;
    for (int run = 0; run < runs; ++run) {
        const double start = Now();
        HDC screen = GetDC(nullptr);
        HDC grab = CreateCompatibleDC(screen);
        HBITMAP grabbed = CreateCompatibleBitmap(screen, w, h);
        HGDIOBJ oldGrabbed = SelectObject(grab, grabbed);
        BitBlt(grab, 0, 0, w, h, screen, 0, 0, SRCCOPY);
        for (HWND window : windows) {
            RECT rect{};
            GetWindowRect(window, &rect);
            const int ww = rect.right - rect.left, wh = rect.bottom - rect.top;
            HDC copy = CreateCompatibleDC(screen);
            HBITMAP copied = CreateCompatibleBitmap(screen, ww, wh);
            HGDIOBJ oldCopied = SelectObject(copy, copied);
            BitBlt(copy, 0, 0, ww, wh, grab, rect.left, rect.top, SRCCOPY);
            HDC tileDc = CreateCompatibleDC(screen);
            HBITMAP tileImage = CreateCompatibleBitmap(screen, tile.cx, tile.cy);
            HGDIOBJ oldTile = SelectObject(tileDc, tileImage);
            SetStretchBltMode(tileDc, HALFTONE);
            StretchBlt(tileDc, 0, 0, tile.cx, tile.cy, copy, 0, 0, ww, wh, SRCCOPY);
            SelectObject(tileDc, oldTile);
            SelectObject(copy, oldCopied);
            DeleteObject(tileImage);
            DeleteObject(copied);
            DeleteDC(tileDc);
            DeleteDC(copy);
        }
        GdiFlush();
        SelectObject(grab, oldGrabbed);
        DeleteObject(grabbed);
        DeleteDC(grab);
        ReleaseDC(nullptr, screen);
        samples.push_back(Now() - start);
    }
    return samples;
}

// What each print costs under Wine besides the picture: a thread of its own that asks the window to
// answer (as a print does) and ends; per window, one after the other.
DWORD WINAPI AskWindow(LPVOID window)
{
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(static_cast<HWND>(window), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &ignored);
    return 0;
}

std::vector<double> TimePrintThreads(const std::vector<HWND>& windows, int runs)
{
    std::vector<double> samples;
    for (int run = 0; run < runs; ++run) {
        const double start = Now();
        for (HWND window : windows) {
            HANDLE thread = CreateThread(nullptr, 64 * 1024, AskWindow, window, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
            if (!thread) continue;
            WaitForSingleObject(thread, INFINITE);
            CloseHandle(thread);
        }
        samples.push_back((Now() - start) / static_cast<double>(windows.size()));
    }
    return samples;
}

// One selection change drawn in place, as the pointer or a key makes it, in this process.
std::vector<double> TimeSelectionRepaints(const std::vector<HWND>& windows, int runs)
{
    appInstance = GetModuleHandleA(nullptr);
    lstrcpyW(appTitle, L"Sorvane");
    HWND overview = CreateWindowExA(WS_EX_TOPMOST, "SorvaneBenchWindow", "Overview", WS_POPUP | WS_VISIBLE, 0, 0,
                                    GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                    nullptr, nullptr);
    ResetWindowList(showing.windowList);
    for (HWND window : windows) AppendWindowEntry(showing.windowList, window);
    showing.snapshotStopRequested = true;  // no worker: only the frame and the tiles
    showing.overviewMonitor = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    BuildOverview(showing, overview);
    Pump();
    std::vector<double> samples;
    WindowEntry* current = showing.windowList.head;
    for (int run = 0; run < runs; ++run) {
        WindowEntry* next = current->next ? current->next : showing.windowList.head;
        const double start = Now();
        if (UniqueWindowDc dc{overview}) {
            PresentTile(showing, dc.get(), current, TileLook::Plain);
            PresentTile(showing, dc.get(), next, TileLook::Selected);
        }
        GdiFlush();
        samples.push_back((Now() - start) * 1000.0);
        current = next;
    }
    showing.labelOwner = nullptr;
    ClearWindowList(showing.windowList);
    DeleteOverviewBuffer(showing);
    DestroyWindowList(showing.windowList);
    DestroyWindow(overview);
    return samples;
}

// The test windows in the order the Overview lists them: front to back.
std::vector<HWND> InListOrder(const std::vector<HWND>& windows)
{
    std::vector<HWND> order;
    for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT))
        if (std::find(windows.begin(), windows.end(), window) != windows.end()) order.push_back(window);
    return order;
}

// A character typed into the open Overview ("1", then Backspace) until the tiles it dims or
// lights again are on screen: timed to the last tile redrawn in list order, then all checked.
std::vector<double> TimeTyping(const Sorvane& sorvane, const std::vector<HWND>& windows,
                               const TileGeometry& geometry, int runs)
{
    std::vector<double> samples;
    if (Show(sorvane, geometry.probes).filled < 0) return samples;
    const std::vector<HWND> order = InListOrder(windows);
    std::vector<COLORREF> lit;
    size_t lastDimmed = 0, dimmedCount = 0;
    {
        HDC screen = GetDC(nullptr);
        for (size_t i = 0; i < geometry.probes.size() && i < order.size(); ++i) {
            lit.push_back(GetPixel(screen, geometry.probes[i].x, geometry.probes[i].y));
            char title[64] = {};
            GetWindowTextA(order[i], title, sizeof title);
            if (!strchr(title, '1')) {
                lastDimmed = i;
                ++dimmedCount;
            }
        }
        ReleaseDC(nullptr, screen);
    }
    if (lit.size() != geometry.probes.size() || dimmedCount == 0) return samples;
    auto changed = [&] {
        size_t count = 0;
        HDC screen = GetDC(nullptr);
        for (size_t i = 0; i < lit.size(); ++i)
            if (GetPixel(screen, geometry.probes[i].x, geometry.probes[i].y) != lit[i]) ++count;
        ReleaseDC(nullptr, screen);
        return count;
    };
    const POINT last = geometry.probes[lastDimmed];
    for (int run = 0; run < runs; ++run) {
        for (const WPARAM character : {WPARAM('1'), WPARAM(0x08)}) {
            const bool dimming = character == '1';
            const double start = Now();
            PostMessageA(sorvane.window, WM_CHAR, character, 0);
            while (Now() - start < 2000 && ScreenPixelIs(last.x, last.y, lit[lastDimmed]) == dimming) Sleep(0);
            const double took = Now() - start;
            const size_t now = changed();
            if (now != (dimming ? dimmedCount : 0))
                printf("  (after typing %s: %zu tiles changed, %zu expected)\n", dimming ? "\"1\"" : "Backspace", now,
                       dimming ? dimmedCount : 0);
            samples.push_back(took);
        }
    }
    Hide(sorvane);
    Sleep(500);
    return samples;
}

// The show figures for one count of windows; returns the medians of the capture phase and of the
// bare loop.
struct CountFigures {
    double capture;
    double bare;
};

CountFigures ReportCount(int count, const ShowTimes& shows, const std::vector<double>& bare)
{
    char label[96];
    printf("-- %d windows\n", count);
    Report("show: hotkey to Overview on screen", "ms", shows.onScreen);
    Report("show: hotkey to last tile filled", "ms", shows.filled);
    Report("capture phase (last tile - on screen)", "ms", shows.capture);
    snprintf(label, sizeof label, "bare loop: 1 grab + %d x (copy + stretch)", count);
    Report(label, "ms", bare);
    const CountFigures figures{Median(shows.capture), Median(bare)};
    ReportRatio("ratio capture phase / bare loop", figures.capture, figures.bare);
    return figures;
}

// Memory across one 64-window showing, and its drift over many show/hide cycles.
void ReportMemory(const Sorvane& sorvane, const TileGeometry& geometry, int cycles)
{
    printf("-- memory (Sorvane's PagefileUsage), %zu windows\n", geometry.probes.size());
    Sleep(500);
    const double idle = PagefileKb(sorvane.process);
    double peak = idle;
    const Showing showing = Show(sorvane, geometry.probes, &peak);
    for (const double until = Now() + 300; Now() < until; Sleep(5)) peak = std::max(peak, PagefileKb(sorvane.process));
    Hide(sorvane);
    Sleep(500);
    const double after = PagefileKb(sorvane.process);
    printf("idle %.0f KB, peak while shown %.0f KB, after hiding %.0f KB%s\n", idle, peak, after,
           showing.filled < 0 ? " (tiles not all seen filled)" : "");
    printf("peak - idle %+.0f KB, after - idle %+.0f KB\n", peak - idle, after - idle);

    const int reference = std::min(50, cycles);
    double atReference = 0, unfilled = 0;
    const double start = Now();
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        if (Show(sorvane, geometry.probes).filled < 0) ++unfilled;
        Hide(sorvane);
        if (cycle == reference) atReference = PagefileKb(sorvane.process);
    }
    Sleep(500);
    const double end = PagefileKb(sorvane.process);
    printf("%d show/hide cycles with capture in %.0f s (%.0f not seen filled): cycle %d %.0f KB, end %.0f KB, "
           "drift %+.0f KB\n",
           cycles, (Now() - start) / 1000.0, unfilled, reference, atReference, end, end - atReference);
}

void ReportIdleCpu(const Sorvane& sorvane, int seconds)
{
    const double before = CpuMs(sorvane.process);
    Sleep(static_cast<DWORD>(seconds) * 1000);
    // The total since start-up beside it: Wine may report no times for another process.
    const double after = CpuMs(sorvane.process);
    printf("-- idle: Sorvane's CPU time (kernel + user) over %d s hidden: %.1f ms (%.0f ms since it started)\n",
           seconds, after - before, after);
}

// Alt+Tab, or Esc, through the input stream, as a user presses them (Alt let go at once: the
// Overview stays open).
void PressKeys(std::initializer_list<WORD> down)
{
    std::vector<INPUT> keys;
    for (WORD key : down) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        keys.push_back(input);
    }
    for (auto key = down.end(); key != down.begin();) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = *--key;
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        keys.push_back(input);
    }
    SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
}

// One showing asked for with Alt+Tab through the input stream and read off the screen: the times
// from the keys to the Overview on screen and to every tile showing its window's colour (negative
// when not seen); Esc closes it again.
Showing ShowByAltTab(const Sorvane& sorvane, const std::vector<HWND>& windows, const std::vector<POINT>& probes)
{
    SetForegroundWindow(windows[0]);
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 463, GetSystemMetrics(SM_CYSCREEN) - 42);
    Sleep(300);
    Showing showing;
    const double start = Now();
    PressKeys({VK_MENU, VK_TAB});
    while (Now() - start < 5000) {
        if (IsWindowVisible(sorvane.window) && ScreenPixelIs(8, 60, kSelectedFrame)) {
            showing.onScreen = Now() - start;
            break;
        }
        Sleep(1);
    }
    while (showing.onScreen >= 0 && Now() - start < 15000) {
        if (AllTilesFilled(probes)) {
            showing.filled = Now() - start;
            break;
        }
        Sleep(1);
    }
    if (showing.onScreen < 0)
        printf("  (the Overview was not seen on screen within 5 s)\n");
    else if (showing.filled < 0)
        printf("  (not all tiles seen filled within 15 s; unfilled:%s)\n", UnfilledTiles(probes).c_str());
    PressKeys({VK_ESCAPE});
    for (int i = 0; i < 500 && IsWindowVisible(sorvane.window); ++i) Sleep(10);
    return showing;
}

void AddShowing(const Showing& showing, ShowTimes* times)
{
    if (showing.onScreen >= 0) times->onScreen.push_back(showing.onScreen);
    if (showing.filled < 0) return;
    times->filled.push_back(showing.filled);
    times->capture.push_back(showing.filled - showing.onScreen);
}

// Sorvane's "Mouse Gesture" setting while it lives: switched off, or back to what it was before.
class HotCornerOff {
public:
    HotCornerOff()
    {
        if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Sorvane", 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                            nullptr, &key_, nullptr) != ERROR_SUCCESS)
            return;
        DWORD size = sizeof before_;
        had_ = RegQueryValueExW(key_, L"Mouse Gesture", nullptr, nullptr, reinterpret_cast<BYTE*>(&before_), &size) ==
               ERROR_SUCCESS;
        const DWORD off = 0;
        RegSetValueExW(key_, L"Mouse Gesture", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&off), sizeof off);
    }
    ~HotCornerOff()
    {
        if (!key_) return;
        if (had_)
            RegSetValueExW(key_, L"Mouse Gesture", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&before_), sizeof before_);
        else
            RegDeleteValueW(key_, L"Mouse Gesture");
        RegCloseKey(key_);
    }
    HotCornerOff(const HotCornerOff&) = delete;
    HotCornerOff& operator=(const HotCornerOff&) = delete;

private:
    HKEY key_ = nullptr;
    DWORD before_ = 0;
    bool had_ = false;
};

// What the user sees, measured from outside only, each round with Sorvane started afresh: its idle
// memory against bare Win32 processes started beside it (and, started once more with its hot corner
// off, without the corner's thread), then Alt+Tab through the input stream,
// timed by reading the screen until the Overview is on screen and until every tile shows its
// window's colour, for the first showing and for the next one a second later; and, in the same
// round, the bare loop doing the same captures.
void RunBlackBox(int rounds)
{
    std::vector<HWND> windows;
    HANDLE helper = OpenHelperWindows(16, &windows);
    if (!helper || windows.size() != 16) {
        printf("cannot open the 16 test windows\n");
        return;
    }
    const TileGeometry geometry = GeometryFor(windows);
    std::vector<double> idleOver, idleOverThreaded, idleCornerOff, afterOver, afterTwo, bare;
    ShowTimes first, next;
    for (int round = 0; round < rounds; ++round) {
        HANDLE bareProcess = StartProgram(BesideThisProgram("SorvaneBareProcess.exe"), "");
        HANDLE threadedProcess = StartProgram(BesideThisProgram("SorvaneBareProcess.exe"), "threaded");
        {
            const HotCornerOff cornerOff;
            const Sorvane withoutCorner = StartSorvane();
            Sleep(2000);
            if (withoutCorner.window) idleCornerOff.push_back(PagefileKb(withoutCorner.process) - PagefileKb(bareProcess));
            StopSorvane(withoutCorner);
        }
        const Sorvane sorvane = StartSorvane();
        if (!sorvane.window || !bareProcess || !threadedProcess) {
            printf("cannot start Sorvane.exe and the bare processes\n");
            return;
        }
        Sleep(2000);  // all at rest
        const double bareKb = PagefileKb(bareProcess);
        idleOver.push_back(PagefileKb(sorvane.process) - bareKb);
        idleOverThreaded.push_back(PagefileKb(sorvane.process) - PagefileKb(threadedProcess));
        // Gone before anything is timed: a process ending under Wine keeps the server busy a while.
        EndProgram(threadedProcess);
        EndProgram(bareProcess);
        Sleep(1000);
        AddShowing(ShowByAltTab(sorvane, windows, geometry.probes), &first);
        Sleep(1000);
        afterOver.push_back(PagefileKb(sorvane.process) - bareKb);
        AddShowing(ShowByAltTab(sorvane, windows, geometry.probes), &next);
        Sleep(1000);
        afterTwo.push_back(PagefileKb(sorvane.process) - bareKb);
        const std::vector<double> loop = TimeBareLoop(windows, geometry.tile, 1);
        bare.insert(bare.end(), loop.begin(), loop.end());
        StopSorvane(sorvane);
        Sleep(500);
    }
    EndProgram(helper);
    printf("-- black box: 16 windows, Sorvane started afresh each round, Alt+Tab pressed\n");
    Report("idle PagefileUsage over a bare process", "KB", idleOver);
    Report("  over one with a second waiting thread", "KB", idleOverThreaded);
    Report("  hot corner off (no thread), over bare", "KB", idleCornerOff);
    Report("  over a bare process after one showing", "KB", afterOver);
    Report("  over a bare process after two showings", "KB", afterTwo);
    Report("bare loop: 1 grab + 16 x (copy + stretch)", "ms", bare);
    for (const auto& [label, times] : {std::pair<const char*, const ShowTimes&>{"first showing", first},
                                       std::pair<const char*, const ShowTimes&>{"next showing", next}}) {
        char line[96];
        snprintf(line, sizeof line, "%s: Alt+Tab to Overview on screen", label);
        Report(line, "ms", times.onScreen);
        snprintf(line, sizeof line, "%s: Alt+Tab to every tile filled", label);
        Report(line, "ms", times.filled);
        snprintf(line, sizeof line, "%s: capture phase", label);
        Report(line, "ms", times.capture);
        snprintf(line, sizeof line, "%s: capture phase / bare loop", label);
        ReportRatio(line, Median(times.capture), Median(bare));
    }
}

}  // namespace

int main(int argc, char** argv)
{
    setvbuf(stdout, nullptr, _IONBF, 0);
    if (argc > 1 && strcmp(argv[1], "blackbox") == 0) {
        RunBlackBox(argc > 2 ? std::max(1, atoi(argv[2])) : 5);
        return 0;
    }
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 15;
    // About 1 s per 64-window cycle here: 400 keep the whole bench under about 10 minutes.
    const int cycles = argc > 2 ? std::max(1, atoi(argv[2])) : 400;
    const int idleSeconds = argc > 3 ? std::max(1, atoi(argv[3])) : 60;
    printf("Sorvane Overview benchmark: %dx%d screen, %d runs, %d cycles, %d s idle\n", GetSystemMetrics(SM_CXSCREEN),
           GetSystemMetrics(SM_CYSCREEN), runs, cycles, idleSeconds);
    std::vector<HWND> own = OpenOwnWindows();

    std::vector<HWND> windows;
    HANDLE helper = OpenHelperWindows(16, &windows);
    if (!helper || windows.size() != 16) {
        printf("cannot open the 16 test windows\n");
        return 1;
    }
    const Sorvane sorvane = StartSorvane();
    if (!sorvane.window) {
        printf("cannot start Sorvane.exe\n");
        return 1;
    }
    TileGeometry geometry = GeometryFor(windows);
    const ShowTimes shows16 = TimeShows(sorvane, geometry, runs, true);
    const CountFigures figures16 = ReportCount(16, shows16, TimeBareLoop(windows, geometry.tile, runs));
    Report("Tab to the new highlight on screen", "ms", shows16.key);
    Report("Enter to the chosen window in front", "ms", shows16.enter);
    Report("show at once after hiding: on screen", "ms", TimeShowsRightAfterHiding(sorvane, geometry, runs));
    EndProgram(helper);

    helper = OpenHelperWindows(64, &windows);
    if (!helper || windows.size() != 64) {
        printf("the helper opened %zu of 64 test windows: no 64-window figures\n", windows.size());
    } else {
        ArrangeInGrid(windows, 8, 8);
        HideBalloons();
        geometry = GeometryFor(windows);
        const ShowTimes shows64 = TimeShows(sorvane, geometry, runs, false);
        const CountFigures figures64 = ReportCount(64, shows64, TimeBareLoop(windows, geometry.tile, runs));
        ReportRatio("ratio capture phase 64 / 16 windows", figures64.capture, figures16.capture);
        Report("per window: print thread, answer, end", "ms", TimePrintThreads(windows, runs));
        Report("typed character to the tiles redrawn (64)", "ms", TimeTyping(sorvane, windows, geometry, runs));
        ReportMemory(sorvane, geometry, cycles);
    }
    ReportIdleCpu(sorvane, idleSeconds);

    Report("selection repaint (two tiles, in-process)", "us", TimeSelectionRepaints(own, runs * 20));
    StopSorvane(sorvane);
    if (helper) EndProgram(helper);
    for (HWND window : own) DestroyWindow(window);
    return 0;
}
