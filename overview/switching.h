// Bringing a window to the front: the one activation sequence the program uses everywhere.
#pragma once

#include <windows.h>

// Whether the window belongs to the calling thread. A call that waits for a window's thread
// (SetActiveWindow, BringWindowToTop, ShowWindow, a plain SetWindowPos) is made only on such windows:
// another program may be hung.
bool OwnThreadWindow(HWND window);

// A window of this thread, or another thread's that answers a null message within 200 ms:
// SwitchToThisWindow, SetForegroundWindow, SetActiveWindow, BringWindowToTop. Another thread's
// window that does not answer (a hung program's) gets only calls that cannot wait for it:
// SetForegroundWindow, ShowWindowAsync (restore) when minimized, and an asynchronous raise. Then a
// posted WM_NULL.
void ActivateWindow(HWND window);

// The switch out of the Overview: a pointer parked in the bottom-right 10 x 10 corner moves to the
// screen's centre first, then the activation sequence, and the window is invalidated afterwards.
void SwitchToWindow(HWND window);

// The switches that show nothing: to the listed window directly behind the frontmost one, or to
// the one furthest back.
enum class QuickSwitchTarget { WindowBehind, FurthestBack };
// Collects into a list and heap of its own, freed afterwards.
void QuickSwitch(QuickSwitchTarget target);

// The window that was in front when the Overview was asked for (by a hotkey, the corner or the
// icon's menu), when it is another program's: Esc, Cancel and Alt+F4 give the front back to it.
void RememberWindowInFront();
// Brings the remembered window forward, once; skipped when it has gone or hides.
void ReturnToWindowInFront();
