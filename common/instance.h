// Values that live from start-up to exit: set by start-up (app/) and read by every floor below it.
#pragma once

#include <windows.h>

#include <cstddef>

constexpr size_t kAppTextCapacity = 100;
// The processor clock taken when the hardware description has none.
constexpr DWORD kDefaultProcessorMHz = 500;

extern HINSTANCE appInstance;
extern wchar_t appTitle[kAppTextCapacity];  // string 103, "Sorvane"
extern HWND mainWindow;                  // the Overview window, hidden while idle
extern DWORD processorMHz;               // kDefaultProcessorMHz when the clock cannot be read
// An exit asked for in the middle of a showing: it follows once the showing is over, and no new
// showing starts meanwhile.
extern bool exitRequested;
