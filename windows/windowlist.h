// The listed top-level windows of one showing (or one direct switch): a doubly linked list of
// records taken from the OverviewHeap, owned by the GUI thread and read by the snapshot worker.
#pragma once

#include <windows.h>

#include "common/text.h"
#include "windows/icons.h"

// Title, class and image-name buffers.
constexpr size_t kTitleBuffer = 81;
constexpr int kTitleMaxRead = 80;  // at most 79 characters and the terminator

struct WindowEntry {
    HWND hwnd;
    WindowEntry* next;
    WindowEntry* prev;
    HBITMAP highlightTile;  // the tile in its selected look
    HBITMAP normalTile;     // the tile in its plain look
    HBITMAP titleLabel;     // icon and title, drawn centred in the header when selected
    HBITMAP labelBackdrop;  // the frame under the title label, to erase it again
    RECT tile;              // Overview client coordinates (= screen coordinates)
    RECT labelRect;         // Overview client coordinates
    int column;             // 1-based grid cell
    int row;
    DWORD wasMinimized;     // restored for its snapshot; minimized again at tear-down
    HICON icon;             // found while listing, drawn on the tile and label; null: none found
    bool iconOwned;         // the icon was made for this entry and goes with it
    wchar_t title[kTitleBuffer];    // as read for the title label
    wchar_t fileName[kPathCapacity];  // the executable's file name, read when first looked for
    bool fileNameRead;
    bool dimmed;            // not matching the find text: drawn darkened, never selected
};

// A list and the private heap its records come from (the OverviewHeap of a showing, or of a direct
// switch); both null until ResetWindowList.
struct WindowList {
    WindowEntry* head;
    WindowEntry* tail;
    unsigned count;
    WindowEntry* selected;  // also the append cursor while the list is built
    HANDLE heap;
    IconStandIns standIns;  // the icons its entries draw that stand in for others' (collection)
};

// Releases a list still standing (images included), and gives the list a new, empty heap.
void ResetWindowList(WindowList& list);
// Releases every entry and the heap.
void DestroyWindowList(WindowList& list);

// A zero-filled record from the list's heap with hwnd set, appended at the tail; null (nothing
// appended) when memory cannot be had.
WindowEntry* AppendWindowEntry(WindowList& list, HWND window);
// Unlinks an entry from the list (count included); the entry itself is not released.
void UnlinkWindowEntry(WindowList& list, WindowEntry* entry);
// Deletes the entry's four images (and its icon when owned) and returns the record to the list's
// heap.
void ReleaseWindowEntry(WindowList& list, WindowEntry* entry);
// Releases every entry and empties the list; the heap stays.
void ClearWindowList(WindowList& list);

// The entry at a 0-based position in list order, or null (a negative or too large position); and
// an entry's position, or -1 when it is not in the list.
WindowEntry* EntryAtIndex(const WindowList& list, int index);
int IndexOfEntry(const WindowList& list, const WindowEntry* entry);

// Reads a window's title (at most 79 UTF-16 units, never ending in half a pair); empty when it
// cannot be read.
void ReadWindowTitle(HWND window, wchar_t* buffer, size_t capacity);
