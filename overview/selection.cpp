#include "overview/selection.h"

#include <mutex>

#include "common/owners.h"
#include "overview/announce.h"
#include "overview/layout.h"
#include "overview/present.h"
#include "overview/showing.h"
#include "overview/tileimages.h"
#include "windows/windowlist.h"

namespace {

constexpr int kHotSquare = 25;

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

WindowEntry* TileAtPoint(const Showing& current, int x, int y)
{
    for (WindowEntry* entry = current.windowList.head; entry; entry = entry->next) {
        const RECT& tile = entry->tile;
        if (x >= tile.left && x <= tile.right && y >= tile.top && y <= tile.bottom) return entry;
    }
    return nullptr;
}

void MoveSelection(Showing& current, HWND window, WindowEntry* entry)
{
    if (!entry) return;
    {
        UniqueWindowDc dc(window);
        // Presenting reads the selection: it changes under the lock (overview/tileimages.h).
        std::lock_guard<std::mutex> hold(tileImagesLock);
        if (dc) PresentTileLocked(current, dc.get(), current.windowList.selected, TileLook::Plain);
        current.windowList.selected = entry;
        if (dc) PresentTileLocked(current, dc.get(), entry, TileLook::Selected);
    }
    AnnounceSelection(current, window);
}

int StepInDirection(int from, int count, int columns, Direction direction)
{
    if (count <= 0 || columns <= 0 || from < 0 || from >= count) return -1;
    const int sColumn = from % columns + 1, sRow = from / columns + 1;
    const int tColumn = (count - 1) % columns + 1, tRow = (count - 1) / columns + 1;
    const bool lastRow = sRow == tRow;
    int column = sColumn, row = sRow;
    switch (direction) {
    case Direction::Left:
        column = sColumn - 1;
        if (column < 1) column = lastRow ? tColumn : columns;
        break;
    case Direction::Right:
        column = sColumn + 1;
        if (column > columns || (lastRow && column > tColumn)) column = 1;
        break;
    case Direction::Up:
        row = sRow - 1;
        if (row < 1) row = sColumn > tColumn ? tRow - 1 : tRow;
        break;
    case Direction::Down:
        row = sRow + 1;
        if (row > tRow || (row == tRow && sColumn > tColumn)) row = 1;
        break;
    }
    if (row < 1 || column < 1 || column > columns) return -1;
    const int target = (row - 1) * columns + (column - 1);
    return target < count && target != from ? target : -1;
}

int AccumulateWheel(int* remainder, int delta)
{
    if ((delta > 0 && *remainder < 0) || (delta < 0 && *remainder > 0)) *remainder = 0;
    *remainder += delta;
    const int steps = *remainder / WHEEL_DELTA;  // towards zero: what is left keeps the sign
    *remainder -= steps * WHEEL_DELTA;
    return steps;
}

int TakeWheelSteps(Showing& current, int delta) { return AccumulateWheel(&current.wheelRemainder, delta); }
