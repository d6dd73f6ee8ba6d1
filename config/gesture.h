// The mouse gesture: its settings and the bridge to the hook library, Sentrel.dll.
#pragma once

#include <windows.h>

#include "hook/corner.h"

// Shows the switch in the Mouse Gesture page's check box and, when on, the corner in its radio
// buttons (none checked when off). Controls in resources/resource.h.
void ShowGestureOnPage(HWND page, bool enabled, int corner);

// The gesture switch and its corner (a ScreenCorner, hook/corner.h).
struct GestureChoice {
    bool enabled = true;
    int corner = kCornerBottomRight;
};

// The live settings record's gesture fields.
GestureChoice LiveGesture();

// Reads "Mouse Gesture" and "Corner" over the live choice (a gesture switched off keeps the
// corner it had).
GestureChoice ReadStoredGesture();
// Puts the stored choice in the settings record and installs the hook for its corner when the
// gesture is on. Returns what it read.
GestureChoice ApplyStoredGesture();
// Shows the stored choice in the Mouse Gesture page's check box and radio buttons; the settings
// record and the hook stay as they are. Returns what it read.
GestureChoice ShowStoredGestureOnPage(HWND page);

// Whether a full-screen program (a game, a film, a slide show) has the monitor of the corner the
// pointer reached at `corner`, where the corner opens nothing (IsFullScreenOnMonitor over what the
// system says now).
bool FullScreenProgramOnMonitorAt(POINT corner);

// Calls into Sentrel.dll, loaded from the program's own folder on first use. When the library
// or its calls cannot be found, the gesture is simply unavailable: both return 0.
int InstallMouseHook(unsigned int corner);
int UninstallMouseHook();
