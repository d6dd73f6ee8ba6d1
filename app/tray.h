// The notification-area icon (TrayIcon), its balloons and menu, and the About box.
#pragma once

#include <windows.h>
#include <shellapi.h>

constexpr UINT kTrayIconId = 110;
constexpr UINT kBalloonTimeoutMs = 10000;
constexpr size_t kBalloonTextBuffer = 255;

// The one notification-icon record; its balloon text field keeps the last balloon's text.
extern NOTIFYICONDATAA trayIcon;

// Fills the record and adds the icon; shows the welcome balloon unless "Info1" exists.
// Returns false when the shell refuses the icon.
bool CreateTrayIcon();
// Adds the icon again after the taskbar was re-created, without repeating the last balloon.
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
