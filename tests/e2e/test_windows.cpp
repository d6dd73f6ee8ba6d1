// A helper program for the end-to-end tests: opens plain top-level windows of its own process,
// each painted in a solid colour of its own, side by side without overlap, and keeps them until
// they are closed or the process is ended.
//   SorvaneTestWindows.exe COUNT [TITLE-PREFIX [OPTIONS]]
// OPTIONS, separated by commas: "hung" opens one more window ("<prefix> hung") on a thread that
// paints it once and then never handles another message; "black" paints every window black;
// "dark" paints them black with a few light lines at the top; both make them frameless popups, as
// a video or a game is, so that nothing of theirs is light but what they paint. "console" gives
// the windows the class name of a console window; "stubborn" makes them ignore WM_CLOSE; "plain"
// titles them with the prefix alone, unnumbered; "slot=K" places the first window where the K-th
// (from 0) would stand, so that the windows of several helpers do not overlap.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

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

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrA(window, GWLP_USERDATA)));
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
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

const char* hungClass = "SorvaneTestWindow";

DWORD WINAPI HungWindowThread(LPVOID title)
{
    HWND window = CreateWindowExA(0, hungClass, static_cast<const char*>(title), WS_OVERLAPPEDWINDOW,
                                  20, 420, 180, 140, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(window, GWLP_USERDATA, static_cast<LONG_PTR>(RGB(90, 60, 30)));
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    Sleep(INFINITE);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const int count = argc > 1 ? atoi(argv[1]) : 1;
    const char* prefix = argc > 2 ? argv[2] : "Test window";
    const char* options = argc > 3 ? argv[3] : "";
    darkWithLines = strstr(options, "dark") != nullptr;
    allBlack = darkWithLines || strstr(options, "black") != nullptr;
    const bool plainTitles = strstr(options, "plain") != nullptr;
    const char* slotOption = strstr(options, "slot=");
    const int firstSlot = slotOption ? atoi(slotOption + 5) : 0;
    stubborn = strstr(options, "stubborn") != nullptr;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(107));
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    windowClass.lpszClassName = strstr(options, "console") ? "ConsoleWindowClass" : "SorvaneTestWindow";
    RegisterClassA(&windowClass);
    const int width = 180, height = 140, gap = 20;
    const int perRow = GetSystemMetrics(SM_CXSCREEN) / (width + gap);
    for (int slot = firstSlot; slot < firstSlot + count; ++slot) {
        const int i = slot - firstSlot;
        char title[64];
        if (plainTitles)
            snprintf(title, sizeof title, "%s", prefix);
        else
            snprintf(title, sizeof title, "%s %d", prefix, i + 1);
        HWND window = CreateWindowExA(0, windowClass.lpszClassName, title, allBlack ? WS_POPUP : WS_OVERLAPPEDWINDOW, gap + (slot % perRow) * (width + gap),
                                      60 + (slot / perRow) * (height + gap), width, height, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
        SetWindowLongPtrA(window, GWLP_USERDATA, static_cast<LONG_PTR>(ColourOf(i)));
        ShowWindow(window, SW_SHOWNOACTIVATE);
        UpdateWindow(window);
        ++openWindows;
    }
    static char hungTitle[80];
    if (strstr(options, "hung")) {
        snprintf(hungTitle, sizeof hungTitle, "%s hung", prefix);
        hungClass = windowClass.lpszClassName;
        CloseHandle(CreateThread(nullptr, 0, HungWindowThread, hungTitle, 0, nullptr));
    }
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
