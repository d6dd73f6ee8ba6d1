#include "windows/windowlist.h"

#include <initializer_list>

#include "windows/icons.h"

namespace {

constexpr SIZE_T kOverviewHeapInitialSize = 88;

}  // namespace

void ResetWindowList(WindowList& list)
{
    DestroyWindowList(list);
    list.heap = HeapCreate(0, kOverviewHeapInitialSize, 0);
    if (list.heap) {
        ULONG mode = 2;  // low-fragmentation heap
        HeapSetInformation(list.heap, HeapCompatibilityInformation, &mode, sizeof mode);
    }
}

void DestroyWindowList(WindowList& list)
{
    // A list still standing in the heap is released with it, images included.
    if (list.head) ClearWindowList(list);
    if (list.heap) HeapDestroy(list.heap);
    list.heap = nullptr;
}

WindowEntry* AppendWindowEntry(WindowList& list, HWND window)
{
    if (!list.heap) return nullptr;
    auto* entry = static_cast<WindowEntry*>(HeapAlloc(list.heap, HEAP_ZERO_MEMORY, sizeof(WindowEntry)));
    if (!entry) return nullptr;
    entry->hwnd = window;
    if (!list.head) {
        list.head = entry;
    } else {
        list.tail->next = entry;
        entry->prev = list.tail;
    }
    list.tail = entry;
    list.selected = entry;
    ++list.count;
    return entry;
}

void UnlinkWindowEntry(WindowList& list, WindowEntry* entry)
{
    if (entry->prev)
        entry->prev->next = entry->next;
    else
        list.head = entry->next;
    if (entry->next)
        entry->next->prev = entry->prev;
    else
        list.tail = entry->prev;
    if (list.selected == entry) list.selected = list.tail;
    entry->next = entry->prev = nullptr;
    --list.count;
}

void ReleaseWindowEntry(WindowList& list, WindowEntry* entry)
{
    for (HBITMAP image : {entry->highlightTile, entry->normalTile, entry->titleLabel, entry->labelBackdrop})
        if (image) DeleteObject(image);
    if (entry->iconOwned && entry->icon) DestroyIcon(entry->icon);
    if (list.heap) HeapFree(list.heap, 0, entry);
}

void ClearWindowList(WindowList& list)
{
    WindowEntry* entry = list.head;
    while (entry) {
        WindowEntry* next = entry->next;
        ReleaseWindowEntry(list, entry);
        entry = next;
    }
    list.head = list.tail = list.selected = nullptr;
    list.count = 0;
    list.standIns.known.clear();
}

WindowEntry* EntryAtIndex(const WindowList& list, int index)
{
    if (index < 0) return nullptr;
    WindowEntry* entry = list.head;
    for (; entry && index > 0; --index) entry = entry->next;
    return entry;
}

int IndexOfEntry(const WindowList& list, const WindowEntry* entry)
{
    int index = 0;
    for (const WindowEntry* at = list.head; at; at = at->next, ++index)
        if (at == entry) return index;
    return -1;
}

void ReadWindowTitle(HWND window, wchar_t* buffer, size_t capacity)
{
    if (capacity == 0) return;
    buffer[0] = '\0';
    const int limit = capacity < static_cast<size_t>(kTitleMaxRead) ? static_cast<int>(capacity) : kTitleMaxRead;
    const int length = GetWindowTextW(window, buffer, limit);
    buffer[length > 0 ? WholeCharactersIn(buffer, static_cast<size_t>(length)) : 0] = L'\0';
}
