// The mouse gesture: its settings and the bridge to the hook library, Sentrel.dll.
#pragma once

#include <windows.h>

// Shows the switch in the Mouse Gesture page's check box and, when on, the corner in its radio
// buttons (none checked when off). Controls in resources/resource.h.
void ShowGestureOnPage(HWND page, bool enabled, int corner);

// Reads "Mouse Gesture" and "Corner". With the Mouse Gesture page, shows them in its check box
// and radio buttons; without, installs the hook for the corner when the gesture is on.
void LoadMouseGesture(HWND page);

// Calls into Sentrel.dll, loaded from the program's own folder on first use. When the library
// or its calls cannot be found, the gesture is simply unavailable: both return 0.
int InstallMouseHook(unsigned int corner);
int UninstallMouseHook();
