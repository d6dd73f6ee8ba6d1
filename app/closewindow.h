// Closing a window from the Overview's close square.
#pragma once

#include <windows.h>

// How long the window's thread may take to end before the user is asked.
constexpr DWORD kCloseWaitMs = 10000;

// Hides the Overview, asks the selected window to close, waits for its thread, and shows a fresh
// Overview (or, when the window did not close in time, asks whether to).
void CloseTileWindow(HWND window);
