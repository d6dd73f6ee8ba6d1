// What the Overview tells screen readers and other accessibility clients as it changes (WinEvents
// on its client object; the object itself is in overview/accessible.h).
#pragma once

#include <windows.h>

struct Showing;
struct WindowEntry;

// A tile's child id: its position in tile order from 1; CHILDID_SELF (the list) for none.
long AccessibleChildId(const Showing& current, const WindowEntry* entry);
// The selected tile has changed, or the Overview has come up: SELECTION, then FOCUS while the
// Overview is the foreground window.
void AnnounceSelection(const Showing& current, HWND window);
// The find text (the list's value) has changed: VALUECHANGE on the list.
void AnnounceFindText(HWND window);
