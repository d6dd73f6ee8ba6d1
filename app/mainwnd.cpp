// The main window's procedure: it only dispatches, one handler per message or command.
#include <windows.h>
#include <shellapi.h>

#include "app/app.h"
#include "app/tray.h"
#include "config/gesture.h"
#include "config/settings.h"
#include "resources/resource.h"

const char kHelpPageAddress[] = "https://sorvane.example.com/help/";

namespace {

// Sent by the shell to every top-level window when the taskbar has been (re)created.
const UINT taskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");

bool OverviewOpen(HWND window) { return IsWindowVisible(window) != FALSE; }

void HandleDestroy()
{
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

LRESULT HandleCommand(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (!OverviewOpen(window)) {
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
