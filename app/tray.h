// The notification-area icon (TrayIcon), its balloons and menu, and the About box.
#pragma once

#include <windows.h>
#include <shellapi.h>

constexpr UINT kTrayIconId = 110;
constexpr UINT kBalloonTimeoutMs = 10000;
constexpr size_t kBalloonTextBuffer = 255;

// The one notification-icon record; its balloon text field keeps the last balloon's text.
extern NOTIFYICONDATAW trayIcon;

// While the shell refuses the icon (it is still starting at sign-in), the icon is tried again by
// this timer of the main window every few seconds, and added at once when the taskbar announces
// itself; the hotkeys and the corner work meanwhile.
constexpr UINT_PTR kTrayRetryTimer = 1;
constexpr UINT kTrayRetryMs = 3000;
constexpr DWORD kTrayRetryForMs = 120000;

// Which drawing of the mark the icon shows. The taskbar is dark or light as the user's
// SystemUsesLightTheme (HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize) says:
// a light one gets the mark drawn dark; a dark one, and a system that says nothing, the program icon.
enum class TrayIconVariant { ProgramIcon, DrawnDark };
// The variant for the value as read: `present` is false when it is missing or no 4-byte REG_DWORD;
// any value but 0 means a light taskbar.
TrayIconVariant TrayIconVariantFor(bool present, DWORD systemUsesLightTheme);
// The variant for the value in the user's registry now.
TrayIconVariant ReadTrayIconVariant();
// The taskbar may have turned light or dark (WM_SETTINGCHANGE "ImmersiveColorSet"): a changed
// variant replaces the icon's image in place (NIM_MODIFY), and the one it replaces is destroyed.
void FollowTaskbarTheme();

// Fills the record and adds the icon; shows the welcome balloon unless "Info1" exists. When the
// shell refuses the icon, starts the retry timer and returns false.
bool CreateTrayIcon();
// The retry timer's tick: tries the icon again, and stops once it is there or kTrayRetryForMs
// have passed since the first try.
void RetryTrayIcon();
// Whether the retry timer tries again `msSinceFirstTry` after the first try.
bool ShouldRetryTrayIcon(bool iconAdded, DWORD msSinceFirstTry);
// The taskbar was (re-)created: the icon, in the variant the taskbar asks for now, is added again
// without repeating the last balloon, or, never added yet, added now as at start.
void RestoreTrayIcon();
// Removes the icon and destroys its image.
void RemoveTrayIcon();
// Shows string resource `stringId` in the icon's balloon for 10 seconds.
void ShowBalloon(UINT stringId);
// Opens the icon's menu at the cursor; the choice reaches the main window as WM_COMMAND.
void ShowTrayMenu();
// Writes "Info1" when the clicked balloon is the welcome tip and the cursor is not at the
// bottom edge of the screen.
void HandleBalloonClick();

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
