#include "overview/switching.h"

#include "common/monitors.h"
#include "overview/scaling.h"
#include "windows/collect.h"
#include "windows/windowlist.h"

namespace {

HWND windowInFront;  // GUI thread only

// How long another thread's window may take to answer before it is brought forward only by calls
// that cannot wait for it.
constexpr UINT kAnswerTimeoutMs = 200;

// Whether the window's thread answers now: not reported hung, and a null message returns within
// kAnswerTimeoutMs.
bool AnswersNow(HWND window)
{
    DWORD_PTR ignored = 0;
    return !IsHungAppWindow(window) &&
           SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &ignored) != 0;
}

}  // namespace

bool OwnThreadWindow(HWND window) { return GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId(); }

void ActivateWindow(HWND window)
{
    // SwitchToThisWindow, SetActiveWindow and BringWindowToTop wait for the window's thread: they are
    // made on our own windows, and on another program's only when it has just answered. A hung
    // program would freeze us: its window gets only calls that cannot wait (the front is asked for,
    // a minimized window restored and the window raised when its thread runs again).
    if (OwnThreadWindow(window) || AnswersNow(window)) {
        SwitchToThisWindow(window, TRUE);
        SetForegroundWindow(window);
        SetActiveWindow(window);
        BringWindowToTop(window);
    } else {
        SetForegroundWindow(window);
        if (IsIconic(window)) ShowWindowAsync(window, SW_RESTORE);
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
    }
    PostMessageW(window, WM_NULL, 0, 0);
}

void SwitchToWindow(HWND window)
{
    POINT cursor{};
    // The pointer in the bottom-right corner of its monitor (10 x 10 at 96 DPI, scaled to that
    // monitor's DPI) goes to the monitor's middle.
    if (GetCursorPos(&cursor)) {
        const RECT monitor = MonitorRectAt(cursor);
        const int corner = Scale(10, ReadMonitorDpi(MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST)));
        if (cursor.x > monitor.right - 1 - corner && cursor.y > monitor.bottom - 1 - corner)
            SetCursorPos((monitor.left + monitor.right) / 2, (monitor.top + monitor.bottom) / 2);
    }
    ActivateWindow(window);
    InvalidateRect(window, nullptr, FALSE);
}

void QuickSwitch(QuickSwitchTarget which)
{
    // A list of its own, gone before the switch returns.
    WindowList list{};
    ResetWindowList(list);
    CollectWindows(list, kNoExclusions);
    WindowEntry* target = nullptr;
    if (list.head) target = which == QuickSwitchTarget::WindowBehind ? list.head->next : list.tail;
    if (target) ActivateWindow(target->hwnd);  // a minimized target is restored too
    DestroyWindowList(list);
}

void RememberWindowInFront()
{
    HWND front = GetForegroundWindow();
    DWORD processId = 0;
    if (front) GetWindowThreadProcessId(front, &processId);
    // Only a window one switches to: not ours, not the taskbar or another tool window (the taskbar
    // is in front when its icon is clicked), not the desktop.
    const bool target = front && processId != GetCurrentProcessId() && IsWindowVisible(front) &&
                        !(GetWindowLongPtrW(front, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) && front != GetShellWindow();
    windowInFront = target ? front : nullptr;
}

void ReturnToWindowInFront()
{
    HWND window = windowInFront;
    windowInFront = nullptr;
    if (window && IsWindow(window) && IsWindowVisible(window) && !IsIconic(window)) ActivateWindow(window);
}
