// The InfoTip: the tracking tooltip the Overview shows over a tile's close and information squares.
#pragma once

#include <windows.h>

// The tooltip window, created when it is first shown (with the common controls, which an idle
// Sorvane does without) and owned by the main window; null before.
extern HWND infoTip;

// Creates the tooltip with its one tool, whose text the main window supplies on request, unless
// it is there already.
void CreateInfoTip(HINSTANCE instance);
// Where the tip goes for the pointer at `pointer` (the Overview's client coordinates) over the
// Overview covering `monitor`, at `dpi`: right of and below the pointer, or left of it when it would
// run off the monitor. In screen coordinates, negative on a monitor left of or above the primary one.
POINT InfoTipPlace(POINT pointer, const RECT& monitor, int dpi);
// Shows the tooltip at the screen point unless it is already tracking; creates it the first time.
void ShowInfoTipAt(POINT place);
// Deactivates the tooltip when it is tracking.
void HideInfoTip();
bool InfoTipShown();
