#include "app/tray.h"

#include <cstring>

#include "app/app.h"
#include "common/owners.h"
#include "common/platform.h"
#include "common/text.h"
#include "config/settings.h"
#include "overview/switching.h"
#include "resources/resource.h"

NOTIFYICONDATAA trayIcon;

namespace {

constexpr UINT kTrayFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO;
constexpr UINT kTrayVersion = 3;   // NOTIFYICON_VERSION
constexpr int kBalloonClickMargin = 30;  // clicks this near the bottom edge do not count

bool trayIconAdded;    // the shell has taken the icon at least once
DWORD trayFirstTryTick;

// Adds the icon and asks for the version-3 callbacks (WM_CONTEXTMENU, balloon clicks).
bool AddTrayIcon(NOTIFYICONDATAA record)
{
    if (!Shell_NotifyIconA(NIM_ADD, &record)) return false;
    record.uVersion = kTrayVersion;
    Shell_NotifyIconA(NIM_SETVERSION, &record);
    return true;
}

// The first time the shell takes the icon: the welcome balloon comes with it.
bool AddFirstTrayIcon()
{
    if (!AddTrayIcon(trayIcon)) return false;
    trayIconAdded = true;
    trayIcon.uVersion = kTrayVersion;
    KillTimer(mainWindow, kTrayRetryTimer);
    if (!WelcomeTipDismissed()) ShowBalloon(IDS_WELCOME_TIP);
    return true;
}

}  // namespace

bool ShouldRetryTrayIcon(bool iconAdded, DWORD msSinceFirstTry)
{
    return !iconAdded && msSinceFirstTry < kTrayRetryForMs;
}

void RetryTrayIcon()
{
    if (!ShouldRetryTrayIcon(trayIconAdded, GetTickCount() - trayFirstTryTick) || AddFirstTrayIcon())
        KillTimer(mainWindow, kTrayRetryTimer);
}

bool CreateTrayIcon()
{
    ZeroMemory(&trayIcon, sizeof trayIcon);
    trayIcon.cbSize = NOTIFYICONDATAA_V2_SIZE;
    trayIcon.hWnd = mainWindow;
    trayIcon.uID = kTrayIconId;
    trayIcon.uFlags = kTrayFlags;
    trayIcon.uCallbackMessage = WM_TRAYICON;
    trayIcon.hIcon = static_cast<HICON>(LoadImageA(appInstance, MAKEINTRESOURCEA(IDI_SORVANE), IMAGE_ICON,
                                                   GetSystemMetrics(SM_CXSMICON),
                                                   GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    CopyBounded(trayIcon.szTip, 128, appTitle);

    trayIconAdded = false;
    trayFirstTryTick = GetTickCount();
    if (AddFirstTrayIcon()) return true;
    SetTimer(mainWindow, kTrayRetryTimer, kTrayRetryMs, nullptr);
    return false;
}

void RestoreTrayIcon()
{
    if (!trayIconAdded) {
        AddFirstTrayIcon();
        return;
    }
    // The balloon text stays in the record for the click test; the new icon must not show it.
    NOTIFYICONDATAA quiet = trayIcon;
    quiet.szInfo[0] = '\0';
    AddTrayIcon(quiet);
}

void RemoveTrayIcon()
{
    trayIcon.uFlags = 0;
    Shell_NotifyIconA(NIM_DELETE, &trayIcon);
    UniqueIcon image(trayIcon.hIcon);
    trayIcon.hIcon = nullptr;
}

void ShowBalloon(UINT stringId)
{
    char text[kBalloonTextBuffer] = {};
    LoadStringA(appInstance, stringId, text, sizeof text);
    CopyBounded(trayIcon.szInfo, sizeof trayIcon.szInfo, text);
    CopyBounded(trayIcon.szInfoTitle, sizeof trayIcon.szInfoTitle, appTitle);
    trayIcon.uTimeout = kBalloonTimeoutMs;
    trayIcon.dwInfoFlags = NIIF_INFO;
    Shell_NotifyIconA(NIM_MODIFY, &trayIcon);
}

void ShowTrayMenu()
{
    POINT cursor{};
    GetCursorPos(&cursor);
    UniqueMenu menu(LoadMenuA(appInstance, MAKEINTRESOURCEA(IDR_TRAY_MENU)));
    if (!menu) return;
    HMENU popup = GetSubMenu(menu.get(), 0);
    if (!popup) return;

    SetMenuDefaultItem(popup, IDM_SHOW_LIST, FALSE);
    MENUITEMINFOA item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_BITMAP;
    item.hbmpItem = HBMMENU_POPUP_MAXIMIZE;
    SetMenuItemInfoA(popup, IDM_SHOW_LIST, FALSE, &item);
    item.hbmpItem = HBMMENU_POPUP_CLOSE;
    SetMenuItemInfoA(popup, IDM_EXIT, FALSE, &item);
    MENUINFO style{};
    style.cbSize = sizeof style;
    style.fMask = MIM_STYLE;
    style.dwStyle = MNS_CHECKORBMP;
    SetMenuInfo(popup, &style);

    // The menu closes when the user clicks elsewhere only if its owner is in the foreground; the
    // window that was there is what a cancelled Overview from the menu gives the front back to.
    RememberWindowInFront();
    SetForegroundWindow(mainWindow);
    TrackPopupMenuEx(popup, TPM_VERNEGANIMATION, cursor.x, cursor.y, mainWindow, nullptr);
    NoteOwnWindowLeftScreen();
    PostMessageA(mainWindow, WM_NULL, 0, 0);
}

void HandleBalloonClick()
{
    POINT cursor{};
    GetCursorPos(&cursor);
    if (cursor.y >= GetSystemMetrics(SM_CYSCREEN) - kBalloonClickMargin) return;
    char welcome[kBalloonTextBuffer] = {};
    LoadStringA(appInstance, IDS_WELCOME_TIP, welcome, sizeof welcome);
    if (strcmp(trayIcon.szInfo, welcome) == 0) DismissWelcomeTip();
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        break;
    }
    return FALSE;
}
