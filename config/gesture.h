// The mouse gesture: its settings and the bridge to the hook library, Sentrel.dll.
#pragma once

#include <windows.h>

// Shows the switch in the Mouse Gesture page's check box and, when on, the corner in its radio
// buttons (none checked when off). Controls in resources/resource.h.
void ShowGestureOnPage(HWND page, bool enabled, int corner);

// The gesture switch and its corner: 1 top-left, 2 top-right, 3 bottom-left, 4 bottom-right.
struct GestureChoice {
    bool enabled = true;
    int corner = 4;
};

// The live settings record's gesture fields.
GestureChoice LiveGesture();

// Reads "Mouse Gesture" and "Corner" over the live choice (a gesture switched off keeps the
// corner it had) and returns what it read. Without a page, the result goes into the settings
// record and the hook is installed for the corner when the gesture is on. With the Mouse Gesture
// page, it is only shown in the page's check box and radio buttons: the settings record and the
// hook stay as they are.
GestureChoice LoadMouseGesture(HWND page);

// Calls into Sentrel.dll, loaded from the program's own folder on first use. When the library
// or its calls cannot be found, the gesture is simply unavailable: both return 0.
int InstallMouseHook(unsigned int corner);
int UninstallMouseHook();
