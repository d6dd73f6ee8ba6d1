// One showing of the Overview, from the show request to the tear-down, and the GUI thread's flags
// that say where a showing stands.
#pragma once

#include <windows.h>

#include "overview/scaling.h"
#include "windows/scope.h"

struct WindowEntry;

// The Overview's two push buttons (control identifier 0), created at the first show.
extern HWND cancelButton;
extern HWND refreshButton;

// Shows the Overview of the scope (every window by default) on the scope's monitor, or the one
// under the pointer now. The Overview of one application with nothing to list does not show: it
// gives the front back to the window that had it.
void ShowOverview(HWND window, const OverviewScope& scope = {});
// Shows it on the monitor that holds `point` (or the nearest one).
void ShowOverviewOnMonitorAt(HWND window, POINT point, const OverviewScope& scope = {});
// Frees everything of a showing except the window itself; the worker has ended. A window restored
// for its snapshot is minimized again unless it is `chosen`, the one being switched to.
void ReleaseShowing(HWND chosen = nullptr);
// Ends the showing and hides the window; the caller has stopped and waited for the worker
// (StopAndWaitForWorker, overview/worker.h).
void HideOverview(HWND window);
// The same, after blinking the chosen tile, and then switches to the chosen window (none: as
// HideOverview).
void HideOverviewAndSwitch(HWND window, WindowEntry* chosen);

// What the Overview's buttons are drawn on (WM_CTLCOLORBTN): the showing's ground in the dark look,
// else null, for the system's own.
HBRUSH OverviewButtonGround();
// Fills the window with the showing's background (WM_ERASEBKGND): what shows before its first paint.
void EraseOverviewBackground(HWND window, HDC dc);

// Restores the listed minimized windows for their snapshots; returns how many it restored.
unsigned RestoreMinimizedWindows();
// Minimizes the windows restored for their snapshots again, all but `chosen`.
void MinimizeRestoredWindows(HWND chosen = nullptr);

// The Overview buttons' places on a W x H screen: 76 x 23 at 96 DPI, scaled to `dpi`.
RECT CancelButtonRect(int screenWidth, int screenHeight, int dpi = kBaseDpi);
RECT RefreshButtonRect(int screenWidth, int screenHeight, int dpi = kBaseDpi);
