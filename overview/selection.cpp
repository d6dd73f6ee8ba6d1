#include "overview/selection.h"

#include <mutex>

#include "common/owners.h"
#include "overview/layout.h"
#include "overview/tiles.h"
#include "windows/windowlist.h"

namespace {

constexpr int kHotSquare = 25;

WindowEntry* EntryInCell(int column, int row)
{
    for (WindowEntry* entry = windowList.head; entry; entry = entry->next)
        if (entry->column == column && entry->row == row) return entry;
    return nullptr;
}

}  // namespace

bool InCloseSquare(const RECT& tile, int x, int y, int dpi)
{
    const int side = Scale(kHotSquare, dpi);
    return x > tile.right - side && y < tile.top + side;
}

bool InInfoSquare(const RECT& tile, int x, int y, int dpi)
{
    const int side = Scale(kHotSquare, dpi);
    return x < tile.left + side && y < tile.top + side;
}

WindowEntry* TileAtPoint(int x, int y)
{
    for (WindowEntry* entry = windowList.head; entry; entry = entry->next) {
        const RECT& tile = entry->tile;
        if (x >= tile.left && x <= tile.right && y >= tile.top && y <= tile.bottom) return entry;
    }
    return nullptr;
}

void MoveSelection(HWND window, WindowEntry* entry)
{
    if (!entry) return;
    UniqueWindowDc dc(window);
    // The snapshot worker reads the selection to pick a tile's look: change it under the lock.
    std::lock_guard<std::mutex> hold(tileImagesLock);
    if (dc) PresentTileLocked(dc.get(), windowList.selected, false);
    windowList.selected = entry;
    if (dc) PresentTileLocked(dc.get(), entry, true);
}

WindowEntry* NeighbourInDirection(Direction direction)
{
    const WindowEntry* s = windowList.selected;
    const WindowEntry* t = windowList.tail;
    if (!s || !t) return nullptr;
    const bool lastRow = s->row == t->row;
    int column = s->column, row = s->row;
    switch (direction) {
    case Direction::Left:
        column = s->column - 1;
        if (column < 1) column = lastRow ? t->column : gridColumns;
        break;
    case Direction::Right:
        column = s->column + 1;
        if (column > gridColumns || (lastRow && column > t->column)) column = 1;
        break;
    case Direction::Up:
        row = s->row - 1;
        if (row < 1) row = s->column > t->column ? t->row - 1 : t->row;
        break;
    case Direction::Down:
        row = s->row + 1;
        if (row > t->row || (row == t->row && s->column > t->column)) row = 1;
        break;
    }
    WindowEntry* target = EntryInCell(column, row);
    return target == s ? nullptr : target;
}

WindowEntry* NextEntry()
{
    WindowEntry* s = windowList.selected;
    return s && s->next ? s->next : windowList.head;
}

WindowEntry* PreviousEntry()
{
    WindowEntry* s = windowList.selected;
    return s && s->prev ? s->prev : windowList.tail;
}
