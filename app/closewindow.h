// Closing a window from the Overview's close square.
#pragma once

#include <windows.h>

// How long the window's thread may take to end before the user is asked.
constexpr DWORD kCloseWaitMs = 10000;

// Hides the Overview, asks the selected window to close, waits for its thread, and shows a fresh
// Overview (or, when the window did not close in time, asks whether to).
void CloseTileWindow(HWND window);

// Waits at most timeoutMs, handling sent messages meanwhile, for the window's thread to end, or,
// without a thread handle or when the wait on it fails, for the window to be gone. Only an ended
// thread or a vanished window counts as closed.
bool WaitForWindowToClose(HWND target, HANDLE thread, DWORD timeoutMs);
