#include "app/tray.h"

#include <cstring>
#include <utility>

#include "app/app.h"
#include "common/owners.h"
#include "common/platform.h"
#include "common/language.h"
#include "common/text.h"
#include "config/settings.h"
#include "overview/switching.h"
#include "resources/resource.h"
#include "version.h"

NOTIFYICONDATAW trayIcon;

namespace {

constexpr UINT kTrayFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO;
constexpr UINT kTrayVersion = 3;   // NOTIFYICON_VERSION
constexpr int kBalloonClickMargin = 30;  // clicks this near the bottom edge do not count

constexpr wchar_t kPersonalizeKeyPath[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

bool trayIconAdded;    // the shell has taken the icon at least once
DWORD trayFirstTryTick;
TrayIconVariant trayIconVariant;  // what trayIcon.hIcon shows
UINT lastBalloon;                 // the string the balloon showed last

// The variant's image at the notification area's size; null when it cannot be loaded.
HICON LoadTrayImage(TrayIconVariant variant)
{
    const WORD id = variant == TrayIconVariant::DrawnDark ? IDI_SORVANE_DARK : IDI_SORVANE;
    return static_cast<HICON>(LoadImageW(appInstance, MAKEINTRESOURCEW(id), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                         GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
}

// Puts the image of the variant the taskbar asks for into the record when it is not the one there;
// the image it replaces goes to `replaced`, to be destroyed once the shell has the new one. False
// when nothing changed (or the new image could not be loaded).
bool TakeTaskbarVariant(UniqueIcon& replaced)
{
    const TrayIconVariant wanted = ReadTrayIconVariant();
    if (wanted == trayIconVariant && trayIcon.hIcon) return false;
    HICON image = LoadTrayImage(wanted);
    if (!image) return false;
    trayIconVariant = wanted;
    replaced.reset(std::exchange(trayIcon.hIcon, image));
    return true;
}

// Adds the icon and asks for the version-3 callbacks (WM_CONTEXTMENU, balloon clicks).
bool AddTrayIcon(NOTIFYICONDATAW record)
{
    if (!Shell_NotifyIconW(NIM_ADD, &record)) return false;
    record.uVersion = kTrayVersion;
    Shell_NotifyIconW(NIM_SETVERSION, &record);
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

TrayIconVariant TrayIconVariantFor(bool present, DWORD systemUsesLightTheme)
{
    return present && systemUsesLightTheme != 0 ? TrayIconVariant::DrawnDark : TrayIconVariant::ProgramIcon;
}

TrayIconVariant ReadTrayIconVariant()
{
    UniqueHkey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kPersonalizeKeyPath, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
        return TrayIconVariantFor(false, 0);
    DWORD value = 0;
    const bool present = ReadDwordValue(key.get(), L"SystemUsesLightTheme", &value);
    return TrayIconVariantFor(present, value);
}

void FollowTaskbarTheme()
{
    UniqueIcon replaced;
    if (!TakeTaskbarVariant(replaced) || !trayIconAdded) return;
    // The image alone: the record's balloon must not show again.
    NOTIFYICONDATAW image = trayIcon;
    image.uFlags = NIF_ICON;
    Shell_NotifyIconW(NIM_MODIFY, &image);
}

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
    trayIcon.cbSize = NOTIFYICONDATAW_V2_SIZE;
    trayIcon.hWnd = mainWindow;
    trayIcon.uID = kTrayIconId;
    trayIcon.uFlags = kTrayFlags;
    trayIcon.uCallbackMessage = WM_TRAYICON;
    trayIconVariant = ReadTrayIconVariant();
    trayIcon.hIcon = LoadTrayImage(trayIconVariant);
    CopyBounded(trayIcon.szTip, std::size(trayIcon.szTip), appTitle);

    trayIconAdded = false;
    trayFirstTryTick = GetTickCount();
    if (AddFirstTrayIcon()) return true;
    SetTimer(mainWindow, kTrayRetryTimer, kTrayRetryMs, nullptr);
    return false;
}

void RestoreTrayIcon()
{
    UniqueIcon replaced;
    TakeTaskbarVariant(replaced);
    if (!trayIconAdded) {
        AddFirstTrayIcon();
        return;
    }
    // The record keeps the last balloon's text; the new icon must not show it again.
    NOTIFYICONDATAW quiet = trayIcon;
    quiet.szInfo[0] = L'\0';
    AddTrayIcon(quiet);
}

void RemoveTrayIcon()
{
    trayIcon.uFlags = 0;
    Shell_NotifyIconW(NIM_DELETE, &trayIcon);
    UniqueIcon image(trayIcon.hIcon);
    trayIcon.hIcon = nullptr;
}

void ShowBalloon(UINT stringId)
{
    lastBalloon = stringId;
    CopyBounded(trayIcon.szInfo, std::size(trayIcon.szInfo), LoadText(stringId).c_str());
    CopyBounded(trayIcon.szInfoTitle, std::size(trayIcon.szInfoTitle), appTitle);
    trayIcon.uTimeout = kBalloonTimeoutMs;
    trayIcon.dwInfoFlags = NIIF_INFO;
    Shell_NotifyIconW(NIM_MODIFY, &trayIcon);
}

void ShowTrayMenu()
{
    POINT cursor{};
    GetCursorPos(&cursor);
    UniqueMenu menu(LoadMenuInLanguage(IDR_TRAY_MENU));
    if (!menu) return;
    HMENU popup = GetSubMenu(menu.get(), 0);
    if (!popup) return;

    SetMenuDefaultItem(popup, IDM_SHOW_LIST, FALSE);
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_BITMAP;
    item.hbmpItem = HBMMENU_POPUP_MAXIMIZE;
    SetMenuItemInfoW(popup, IDM_SHOW_LIST, FALSE, &item);
    item.hbmpItem = HBMMENU_POPUP_CLOSE;
    SetMenuItemInfoW(popup, IDM_EXIT, FALSE, &item);
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
    PostMessageW(mainWindow, WM_NULL, 0, 0);
}

void HandleBalloonClick()
{
    POINT cursor{};
    GetCursorPos(&cursor);
    if (cursor.y >= GetSystemMetrics(SM_CYSCREEN) - kBalloonClickMargin) return;
    if (lastBalloon == IDS_WELCOME_TIP) DismissWelcomeTip();
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        SetDlgItemTextW(dialog, IDC_ABOUT_VERSION, FormatText(IDS_ABOUT_VERSION, L"" SORVANE_VERSION_TEXT).c_str());
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
