// Application-wide values of the shell: the instance, the main window, the InfoTip, the private
// messages, and the start-up operations.
#pragma once

#include <windows.h>

constexpr UINT WM_TRAYICON = 0x8000;         // the TrayIcon's callback message
constexpr UINT WM_SECOND_INSTANCE = 0x8001;  // posted by a second copy of the program

constexpr size_t kAppTextCapacity = 100;

extern HINSTANCE appInstance;
extern char appTitle[kAppTextCapacity];      // string 103, "Sorvane"
extern char appClassName[kAppTextCapacity];  // string 109, "SORVANE"
extern HWND mainWindow;                      // the Overview window, hidden while idle
extern HWND infoTip;                         // the tracking tooltip of the Overview's tiles
extern DWORD processorMHz;                   // 500 when the clock cannot be read
// An exit asked for in the middle of a showing: it follows once the showing is over, and no new
// showing starts meanwhile.
extern bool exitRequested;

// The whole life of the program: start-up, message loop, exit code.
int RunSorvane(HINSTANCE instance);

void RegisterMainWindowClass(HINSTANCE instance);
bool InitializeInstance(HINSTANCE instance);
// The processor clock in MHz from the hardware description, or 0.
DWORD ReadProcessorMHz();

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Deactivates the InfoTip when it is tracking.
void HideInfoTip();
