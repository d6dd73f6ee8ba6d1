// The Overview as screen readers see it: an MSAA list ("Sorvane") whose items are the tiles, in
// tile order, with the selection as the focus; and the events that tell readers what changed.
#pragma once

#include <windows.h>

#include <string>

struct Showing;

// Posted by a reader's default action on a tile: wParam the showing's number, lParam the child id.
// Carried out after the reader's call has returned, as Enter is.
constexpr UINT WM_ACCESSIBLE_SWITCH = 0x8003;

// What a child id names among `count` tiles: the list itself (CHILDID_SELF), a tile (ids 1..count,
// `index` from 0), or nothing; an id that is not a VT_I4 names nothing.
struct AccessibleChild {
    enum Kind { Invalid, List, Tile } kind = Invalid;
    int index = -1;
};
AccessibleChild ResolveChildId(bool isInteger, long id, unsigned count);
// A tile's MSAA state.
DWORD TileAccessibleState(bool selected, bool dimmed);
// A tile's name: the title, then " — " and the executable's file name when known.
std::wstring TileAccessibleName(const wchar_t* title, const wchar_t* fileName);

// WM_GETOBJECT while the Overview is open: for OBJID_CLIENT, the showing's list object (made at the
// first request of the showing) and true; false for any other object, which the system's default
// answers. The first request loads what readers need (COM and the accessibility library) from the
// system folder, and initialises COM on the calling (GUI) thread; without them it answers false.
bool AnswerAccessibleObject(Showing& current, HWND window, WPARAM flags, LPARAM objectId, LRESULT* result);
// At the end of a showing: its object is cut off from readers (CoDisconnectObject), and a reference
// still held answers every call with an error.
void CutOffAccessibleObject(Showing& current);
// At exit, on the GUI thread: COM is undone when a reader's request initialised it.
void EndReaderSupport();
