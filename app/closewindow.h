// Closing a window from the Overview's close square.
#pragma once

#include <windows.h>

// How long the window may take to go before the user is asked.
constexpr DWORD kCloseWaitMs = 10000;

// Hides the Overview, asks the selected window to close, waits for it to go, and shows a fresh
// Overview (or, when the window did not close in time or refused the request, asks whether to).
void CloseTileWindow(HWND window);

// Waits at most timeoutMs, handling sent messages meanwhile, for the window of thread
// ownerThreadId to go: destroyed, its handle now another thread's, or that thread (`thread`, may
// be null) ended. Its thread may live on with other windows.
bool WaitForWindowToClose(HWND target, DWORD ownerThreadId, HANDLE thread, DWORD timeoutMs);
