// The Overview's input: its keys, the mouse and the wheel over it, the hotkeys, and the hold of
// the Show hotkey's modifier; and the ways out of the Overview they lead to. The main window's
// procedure (mainwnd.cpp) dispatches to these handlers.
#pragma once

#include <windows.h>

// Set while a handler hides, refreshes or closes from the Overview: a nested close request then
// leaves the Overview to that handler.
extern bool overviewLeaving;

inline bool OverviewOpen(HWND window) { return IsWindowVisible(window) != FALSE; }

// Stops the snapshot worker and hides the Overview without a switch.
void StopAndHide(HWND window);
// Enter, Space and a click on the selected tile.
void StopAndSwitch(HWND window);
// Esc, Cancel and Alt+F4: the Overview goes without a switch, and the window that was in front
// before it comes back to the front.
void CancelOverview(HWND window);

// The configuration sheet disables the main window, its owner, while it is open. An Overview
// shown then could take no input (a disabled window gets neither keys nor clicks), and a second
// sheet would stack on the first: such requests bring the open sheet forward instead.
bool BringOwnedModalForward(HWND window);

void HandleHotkey(HWND window, WPARAM id, LPARAM detail);
// A key went down; true when it is one the Overview moves or closes by (which arrive as system keys
// while Alt is held).
bool HandleKeyDown(HWND window, WPARAM key);
// A key went up, as a key or a system key (with Alt held): letting go of the Show hotkey's modifier
// may switch.
void HandleModifierUp(HWND window, WPARAM key);
void HandleKeyUp(HWND window, WPARAM key);
// A character typed (or composed by an input method) over the open Overview: finding by typing.
void HandleCharacter(HWND window, WPARAM character);
void HandleMouseMove(HWND window, int x, int y);
void HandleLeftButtonUp(HWND window, int x, int y);
void HandleMouseWheel(HWND window, WPARAM wParam);
// Another window took the front from the open Overview: a hold ends there, so that a later lone
// release of the modifier does not switch.
void HandleActivate(WPARAM state);
// A reader's default action on a tile of this showing: as Enter on that tile.
void HandleAccessibleSwitch(HWND window, WPARAM showingNumber, LPARAM position);
