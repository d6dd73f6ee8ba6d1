// The mouse gesture: its settings and the bridge to the hook library, Sentrel.dll.
#pragma once

#include <windows.h>

// Control identifiers of the Mouse Gesture page.
constexpr int IDC_GESTURE_ENABLE = 1007;
constexpr int IDC_CORNER_TOP_LEFT = 1008;  // corners 1 to 4 are 1008 to 1011
constexpr int IDC_CORNER_BOTTOM_RIGHT = 1011;

// Reads "Mouse Gesture" and "Corner". With the Mouse Gesture page, shows them in its check box
// and radio buttons; without, installs the hook for the corner when the gesture is on.
void LoadMouseGesture(HWND page);

// Calls into Sentrel.dll, loaded from the program's own folder on first use. When the library
// or its calls cannot be found, the gesture is simply unavailable: both return 0.
int InstallMouseHook(unsigned int corner);
int UninstallMouseHook();
