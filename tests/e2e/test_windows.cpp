// A helper program for the end-to-end tests: opens plain top-level windows of its own process,
// each painted in a solid colour of its own, side by side without overlap, and keeps them until
// they are closed or the process is ended.
//   SorvaneTestWindows.exe COUNT [TITLE-PREFIX [OPTIONS]]
// OPTIONS, separated by commas: "hung" opens one more window ("<prefix> hung") on a thread that
// paints it once and then never handles another message (with "front", it comes to the front
// first); "black" paints every window black;
// "dark" paints them black with a few light lines at the top; both make them frameless popups, as
// a video or a game is, so that nothing of theirs is light but what they paint. "console" gives
// the windows the class name of a console window; "stubborn" makes them ignore WM_CLOSE; "plain"
// titles them with the prefix alone, unnumbered; "titles" takes the prefix for the windows' own
// titles, one each, separated by '|'; "slot=K" places the first window where the K-th (from 0)
// would stand, so that the windows of several helpers do not overlap; "fullscreen" makes them
// borderless windows over a whole monitor, in front; "monitor=K" puts them on the K-th monitor
// listed (the primary one without it). The windows are of a Unicode
// class, and their titles may hold any character the command line can carry.
// A window sent WM_APP + 7 (wParam: milliseconds) stalls that long in its next WM_WINDOWPOSCHANGING,
// as a program busy just as it is brought forward, then adds " woke" to its title.
#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace {

int openWindows = 0;

bool allBlack = false;
bool darkWithLines = false;
bool stubborn = false;

COLORREF ColourOf(int index)
{
    if (allBlack) return RGB(0, 0, 0);
    static const COLORREF colours[] = {RGB(220, 40, 40),  RGB(40, 170, 60),  RGB(40, 80, 220),
                                       RGB(230, 200, 30), RGB(160, 50, 200), RGB(30, 190, 200),
                                       RGB(240, 130, 20), RGB(120, 120, 120)};
    return colours[index % 8];
}

void StallOnNextMove(HWND window, UINT message, WPARAM wParam)
{
    if (message == WM_APP + 7) SetPropW(window, L"stall", reinterpret_cast<HANDLE>(wParam));
    const UINT_PTR ms = message == WM_WINDOWPOSCHANGING ? reinterpret_cast<UINT_PTR>(RemovePropW(window, L"stall")) : 0;
    if (ms == 0) return;
    Sleep(static_cast<DWORD>(ms));
    wchar_t title[256] = {};
    GetWindowTextW(window, title, 240);
    SetWindowTextW(window, (std::wstring(title) + L" woke").c_str());
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    StallOnNextMove(window, message, wParam);
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrW(window, GWLP_USERDATA)));
        FillRect(dc, &paint.rcPaint, brush);
        DeleteObject(brush);
        if (darkWithLines) {
            HBRUSH light = CreateSolidBrush(RGB(230, 230, 230));
            for (int line = 0; line < 3; ++line) {
                const RECT stroke{10, 8 + 10 * line, 150, 11 + 10 * line};
                FillRect(dc, &stroke, light);
            }
            DeleteObject(light);
        }
        EndPaint(window, &paint);
        return 0;
    }
    case WM_CLOSE:
        if (stubborn) return 0;
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        if (--openWindows == 0) PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

const wchar_t* hungClass = L"SorvaneTestWindow";
bool hungInFront = false;

DWORD WINAPI HungWindowThread(LPVOID title)
{
    HWND window = CreateWindowExW(0, hungClass, static_cast<const wchar_t*>(title), WS_OVERLAPPEDWINDOW,
                                  20, 420, 180, 140, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, static_cast<LONG_PTR>(RGB(90, 60, 30)));
    ShowWindow(window, hungInFront ? SW_SHOW : SW_SHOWNOACTIVATE);
    if (hungInFront) SetForegroundWindow(window);
    UpdateWindow(window);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(INFINITE);
    return 0;
}

// The titles of "titles": the prefix cut at each '|'.
std::vector<std::wstring> ListedTitles(const std::wstring& list)
{
    std::vector<std::wstring> titles{L""};
    for (wchar_t c : list) {
        if (c == L'|')
            titles.emplace_back();
        else
            titles.back() += c;
    }
    return titles;
}

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT rect, LPARAM list)
{
    reinterpret_cast<std::vector<RECT>*>(list)->push_back(*rect);
    return TRUE;
}

// The K-th monitor's rectangle ("monitor=K"), the primary screen when there is no such monitor.
RECT MonitorNumber(const wchar_t* options)
{
    const wchar_t* option = wcsstr(options, L"monitor=");
    std::vector<RECT> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    const size_t wanted = option ? static_cast<size_t>(_wtoi(option + 8)) : 0;
    if (wanted < monitors.size()) return monitors[wanted];
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

// Packaged apps: "frame" gives the windows the class of a packaged app's frame (the helper runs as
// a copy named as their host); "host=H1+H2" makes a hidden window of the class a packaged app shows
// itself in, a child of each frame given by its handle (decimal), as the app's own process does.
void HostAppInFrames(const wchar_t* options)
{
    const wchar_t* option = wcsstr(options, L"host=");
    WNDCLASSW hosted{0, DefWindowProcW, 0, 0, GetModuleHandleW(nullptr), nullptr, nullptr, nullptr, nullptr, L"Windows.UI.Core.CoreWindow"};
    if (!option || !RegisterClassW(&hosted)) return;
    for (wchar_t* end = const_cast<wchar_t*>(option + 4); *end == L'=' || *end == L'+';) {
        const auto frame = reinterpret_cast<HWND>(static_cast<UINT_PTR>(wcstoull(end + 1, &end, 10)));
        CreateWindowExW(0, hosted.lpszClassName, L"", WS_CHILD, 0, 0, 10, 10, frame, nullptr, hosted.hInstance, nullptr);
    }
}

}  // namespace

int main()
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const int count = argc > 1 ? _wtoi(argv[1]) : 1;
    const std::wstring prefix = argc > 2 ? argv[2] : L"Test window";
    const wchar_t* options = argc > 3 ? argv[3] : L"";
    darkWithLines = wcsstr(options, L"dark") != nullptr;
    allBlack = darkWithLines || wcsstr(options, L"black") != nullptr;
    const bool plainTitles = wcsstr(options, L"plain") != nullptr;
    const std::vector<std::wstring> listed = ListedTitles(prefix);
    const bool listedTitles = wcsstr(options, L"titles") != nullptr;
    const wchar_t* slotOption = wcsstr(options, L"slot=");
    const int firstSlot = slotOption ? _wtoi(slotOption + 5) : 0;
    stubborn = wcsstr(options, L"stubborn") != nullptr;
    const bool fullScreen = wcsstr(options, L"fullscreen") != nullptr;
    const RECT screen = MonitorNumber(options);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(107));
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    windowClass.lpszClassName = wcsstr(options, L"frame")     ? L"ApplicationFrameWindow"
                                : wcsstr(options, L"console") ? L"ConsoleWindowClass"
                                                              : L"SorvaneTestWindow";
    HostAppInFrames(options);
    RegisterClassW(&windowClass);
    const int width = 180, height = 140, gap = 20;
    // Side by side from the top left of the primary monitor, or of the one "monitor=K" names.
    const int perRow = (screen.right - screen.left) / (width + gap);
    for (int slot = firstSlot; slot < firstSlot + count; ++slot) {
        const int i = slot - firstSlot;
        const std::wstring title = listedTitles ? listed[i % listed.size()]
                                   : plainTitles  ? prefix
                                                  : prefix + L" " + std::to_wstring(i + 1);
        // "fullscreen": a borderless window over a whole monitor, in front, as a game's.
        HWND window = fullScreen
                          ? CreateWindowExW(0, windowClass.lpszClassName, title.c_str(), WS_POPUP, screen.left,
                                            screen.top, screen.right - screen.left, screen.bottom - screen.top,
                                            nullptr, nullptr, GetModuleHandleW(nullptr), nullptr)
                          : CreateWindowExW(0, windowClass.lpszClassName, title.c_str(), allBlack ? WS_POPUP : WS_OVERLAPPEDWINDOW,
                                            screen.left + gap + (slot % perRow) * (width + gap),
                                            screen.top + 60 + (slot / perRow) * (height + gap), width, height, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
        SetWindowLongPtrW(window, GWLP_USERDATA, static_cast<LONG_PTR>(ColourOf(i)));
        ShowWindow(window, fullScreen ? SW_SHOW : SW_SHOWNOACTIVATE);
        if (fullScreen) SetForegroundWindow(window);
        UpdateWindow(window);
        ++openWindows;
    }
    static std::wstring hungTitle;
    if (wcsstr(options, L"hung")) {
        hungTitle = prefix + L" hung";
        hungClass = windowClass.lpszClassName;
        hungInFront = wcsstr(options, L"front") != nullptr;
        CloseHandle(CreateThread(nullptr, 0, HungWindowThread, hungTitle.data(), 0, nullptr));
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
