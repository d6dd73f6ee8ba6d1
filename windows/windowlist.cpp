#include "windows/windowlist.h"

#include <initializer_list>

#include "windows/icons.h"

WindowList windowList;
HANDLE overviewHeap;

namespace {

constexpr SIZE_T kOverviewHeapInitialSize = 88;

}  // namespace

void ResetOverviewHeap()
{
    // A list still standing in the old heap is released with it, images included.
    if (windowList.head) ClearWindowList();
    DestroyOverviewHeap();
    overviewHeap = HeapCreate(0, kOverviewHeapInitialSize, 0);
    if (overviewHeap) {
        ULONG mode = 2;  // low-fragmentation heap
        HeapSetInformation(overviewHeap, HeapCompatibilityInformation, &mode, sizeof mode);
    }
}

void DestroyOverviewHeap()
{
    if (overviewHeap) HeapDestroy(overviewHeap);
    overviewHeap = nullptr;
}

WindowEntry* AppendWindowEntry(HWND window)
{
    if (!overviewHeap) return nullptr;
    auto* entry = static_cast<WindowEntry*>(HeapAlloc(overviewHeap, HEAP_ZERO_MEMORY, sizeof(WindowEntry)));
    if (!entry) return nullptr;
    entry->hwnd = window;
    if (!windowList.head) {
        windowList.head = entry;
    } else {
        windowList.tail->next = entry;
        entry->prev = windowList.tail;
    }
    windowList.tail = entry;
    windowList.selected = entry;
    ++windowList.count;
    return entry;
}

void UnlinkWindowEntry(WindowEntry* entry)
{
    if (entry->prev)
        entry->prev->next = entry->next;
    else
        windowList.head = entry->next;
    if (entry->next)
        entry->next->prev = entry->prev;
    else
        windowList.tail = entry->prev;
    if (windowList.selected == entry) windowList.selected = windowList.tail;
    entry->next = entry->prev = nullptr;
    --windowList.count;
}

void ReleaseWindowEntry(WindowEntry* entry)
{
    for (HBITMAP image : {entry->highlightTile, entry->normalTile, entry->titleLabel, entry->labelBackdrop})
        if (image) DeleteObject(image);
    if (entry->iconOwned && entry->icon) DestroyIcon(entry->icon);
    if (overviewHeap) HeapFree(overviewHeap, 0, entry);
}

void ClearWindowList()
{
    WindowEntry* entry = windowList.head;
    while (entry) {
        WindowEntry* next = entry->next;
        ReleaseWindowEntry(entry);
        entry = next;
    }
    windowList = WindowList{};
    EndIconListing();
}

WindowEntry* EntryAtIndex(int index)
{
    if (index < 0) return nullptr;
    WindowEntry* entry = windowList.head;
    for (; entry && index > 0; --index) entry = entry->next;
    return entry;
}

int IndexOfEntry(const WindowEntry* entry)
{
    int index = 0;
    for (const WindowEntry* at = windowList.head; at; at = at->next, ++index)
        if (at == entry) return index;
    return -1;
}

void ReadWindowTitle(HWND window, char* buffer, size_t capacity)
{
    if (capacity == 0) return;
    buffer[0] = '\0';
    const int limit = capacity < static_cast<size_t>(kTitleMaxRead) ? static_cast<int>(capacity) : kTitleMaxRead;
    if (GetWindowTextA(window, buffer, limit) <= 0) buffer[0] = '\0';
}
