// The main window's procedure: it only dispatches, one handler per message or command.
#include <windows.h>
#include <shellapi.h>

#include "app/app.h"
#include "app/tray.h"
#include "config/gesture.h"
#include "config/hotkeys.h"
#include "config/settings.h"
#include "overview/layout.h"
#include "overview/lifecycle.h"
#include "overview/switching.h"
#include "overview/tiles.h"
#include "resources/resource.h"
#include "windows/windowlist.h"

const char kHelpPageAddress[] = "https://sorvane.example.com/help/";

namespace {

// Sent by the shell to every top-level window when the taskbar has been (re)created.
const UINT taskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");

bool OverviewOpen(HWND window) { return IsWindowVisible(window) != FALSE; }

constexpr UINT kShellPingTimeoutMs = 1000;

void HandleDestroy()
{
    ClearWindowList();
    DeleteOverviewBuffer();
    if (settings.gestureEnabled) UninstallMouseHook();
    RemoveTrayIcon();
    PostQuitMessage(0);
}

void HandleTrayIcon(LPARAM event)
{
    switch (event) {
    case WM_CONTEXTMENU:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        ShowTrayMenu();
        break;
    case NIN_BALLOONUSERCLICK:
        HandleBalloonClick();
        break;
    default:
        break;
    }
}

// Every repaint copies from the composed frame, with the current tile looks drawn into it first.
void HandlePaint(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    ActivateWindow(window);
    if (overviewBuffer && dc) {
        UniqueMemoryDc buffer(CreateCompatibleDC(dc));
        if (buffer) {
            SelectGuard hold(buffer.get(), overviewBuffer);
            if (windowList.head) RepaintAllTiles(buffer.get());
            const RECT& area = paint.rcPaint;
            BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, buffer.get(),
                   area.left, area.top, SRCCOPY);
        }
    }
    EndPaint(window, &paint);
}

void HandleHotkey(HWND window, WPARAM id)
{
    if (OverviewOpen(window)) return;
    if (id == HOTKEY_SHOW || id == HOTKEY_SHOW2) ShowOverview(window);
}

// Wakes the desktop and the shell (bounded: a hung shell must not hang us).
void PingDesktop()
{
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(GetDesktopWindow(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kShellPingTimeoutMs, &ignored);
    if (HWND shell = GetShellWindow())
        SendMessageTimeoutA(shell, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kShellPingTimeoutMs, &ignored);
}

void RefreshOverview(HWND window)
{
    const unsigned count = windowList.count;
    StopAndWaitForWorker();
    PingDesktop();
    HideOverview(windowList.selected, false, window);
    PingDesktop();
    Sleep((count == 1 ? 500000 : 330000) / (processorMHz ? processorMHz : 500));
    ShowOverview(window);
}

void HandleKeyUp(HWND window, WPARAM key)
{
    if (overviewBuilding) {
        if (key == VK_ESCAPE) RequestSnapshotStop();
        return;
    }
    if (!OverviewOpen(window)) return;
    switch (key) {
    case VK_ESCAPE:
        StopAndWaitForWorker();
        HideOverview(windowList.selected, false, window);
        break;
    case VK_F5:
        RefreshOverview(window);
        break;
    default:
        break;
    }
}

LRESULT HandleCommand(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (OverviewOpen(window)) {
        // Only the Overview's own buttons (control identifier 0) are served while it is open.
        if (LOWORD(wParam) != 0) return DefWindowProcA(window, WM_COMMAND, wParam, lParam);
        StopAndWaitForWorker();
        HideOverview(windowList.selected, false, window);
        if (reinterpret_cast<HWND>(lParam) == refreshButton) ShowOverview(window);
        return 0;
    }
    {
        switch (LOWORD(wParam)) {
        case IDM_ABOUT:
            DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_ABOUT), GetDesktopWindow(),
                            AboutDialogProc, 0);
            return 0;
        case IDM_EXIT:
            DestroyWindow(window);
            return 0;
        case IDM_HELP:
            ShellExecuteA(GetShellWindow(), "open", kHelpPageAddress, nullptr, nullptr, SW_SHOW);
            return 0;
        case IDM_SHOW_LIST:
            ShowOverview(window);
            return 0;
        default:
            break;
        }
    }
    return DefWindowProcA(window, WM_COMMAND, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY:
        HandleDestroy();
        return 0;
    case WM_PAINT:
        HandlePaint(window);
        return 0;
    case WM_KEYUP:
        HandleKeyUp(window, wParam);
        return 0;
    case WM_HOTKEY:
        HandleHotkey(window, wParam);
        return 0;
    case WM_COMMAND:
        return HandleCommand(window, wParam, lParam);
    case WM_TRAYICON:
        HandleTrayIcon(lParam);
        return 0;
    case WM_SECOND_INSTANCE:
        ShowBalloon(IDS_RUNNING_TIP);
        return 0;
    default:
        if (message == taskbarCreatedMessage && message != 0) {
            RestoreTrayIcon();
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
