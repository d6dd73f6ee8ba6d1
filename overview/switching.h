// Bringing a window to the front: the one activation sequence the program uses everywhere.
#pragma once

#include <windows.h>

// Whether the window belongs to the calling thread. A call that waits for a window's thread
// (SetActiveWindow, BringWindowToTop, ShowWindow, a plain SetWindowPos) is made only on such windows:
// another program may be hung.
bool OwnThreadWindow(HWND window);

// A window of this thread: SwitchToThisWindow, SetForegroundWindow, SetActiveWindow,
// BringWindowToTop, then a posted WM_NULL. Another thread's window gets the same sequence on a
// short-lived activation thread, once it has answered a null message (within kPrintTimeoutMs): the
// GUI thread waits for that thread one frame (kActivationFrameMs), handling sent messages meanwhile,
// so that a window that answers at once is in front before the caller goes on (and hides the
// Overview), as when the calls were made here. A window not in front by then (busy, hung, or still
// brought forward by an earlier activation) gets from the GUI thread only calls that cannot wait:
// SetForegroundWindow, and unless the activation thread's calls are already under way,
// ShowWindowAsync (restore) when minimized and an asynchronous raise; then a posted WM_NULL. The
// activation thread, when the window answers, asks for the front again, unless ShouldFinishActivation
// says otherwise by then. The GUI thread never waits for another program's window longer than the
// frame here, nor than kActivationSettleMs in SettlePendingActivation.
void ActivateWindow(HWND window);
constexpr DWORD kActivationFrameMs = 16;

// Waits, at most kActivationSettleMs and handling sent messages, for the activation thread the GUI
// thread last went on without, when its window had answered and its calls are still under way:
// called as an activation or a showing begins. Under Wine, our windows restacked while another
// process still raises its window leave other windows out of their order.
void SettlePendingActivation();
constexpr DWORD kActivationSettleMs = 250;

// What an activation thread knows each time its window has answered, before a call that brings the
// window forward.
struct ActivationFacts {
    HWND target;        // the window this thread brings forward
    HWND latestTarget;  // the window the latest activation asked for
    HWND front;         // the window in front now (null: none)
    HWND frontAtStart;  // the window that was in front when the latest activation began
    DWORD targetThread;  // the threads of the target and of the window in front
    DWORD frontThread;
};
// Whether the activation thread goes on: not once an activation of another window has begun, nor
// when another window has come to the front meanwhile (the user's doing). The front may still be
// the one the activation began with, none (the system is between the two), or a window of the
// target's thread (which takes the front when that thread next runs).
bool ShouldFinishActivation(const ActivationFacts& facts);

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
