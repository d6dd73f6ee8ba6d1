// The InfoTip: the tracking tooltip the Overview shows over a tile's close and information squares.
#pragma once

#include <windows.h>

// The tooltip window, created at start-up and owned by the main window.
extern HWND infoTip;

// Creates the tooltip with its one tool, whose text the main window supplies on request.
void CreateInfoTip(HINSTANCE instance);
// Shows the tooltip at the screen point (x, y) unless it is already tracking.
void ShowInfoTipAt(int x, int y);
// Deactivates the tooltip when it is tracking.
void HideInfoTip();
bool InfoTipShown();
