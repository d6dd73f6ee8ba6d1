// The shell of the program: its private messages, the window class name, start-up and the main
// window's procedure. The values every floor reads live in common/instance.h.
#pragma once

#include <windows.h>

#include "common/instance.h"

constexpr UINT WM_TRAYICON = 0x8000;         // the TrayIcon's callback message
constexpr UINT WM_SECOND_INSTANCE = 0x8001;  // posted by a second copy of the program
// 0x8002 is WM_TILE_FILLED, the snapshot worker's report (overview/worker.h).

extern wchar_t appClassName[kAppTextCapacity];  // string 109, "SORVANE"

// The whole life of the program: start-up, message loop, exit code.
int RunSorvane(HINSTANCE instance);

void RegisterMainWindowClass(HINSTANCE instance);
bool InitializeInstance(HINSTANCE instance);
// The processor clock in MHz from the hardware description, or 0.
DWORD ReadProcessorMHz();

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

