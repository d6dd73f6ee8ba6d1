// The selected tile and the moves that change it.
#pragma once

#include <windows.h>

struct WindowEntry;

enum class Direction { Left, Right, Up, Down };

// The first entry, from the head, whose tile contains the point (all four edges included).
WindowEntry* TileAtPoint(int x, int y);
// Draws the selected entry plain, selects the new one and draws it highlighted, on the window.
void MoveSelection(HWND window, WindowEntry* entry);
// The entry an arrow key selects, or null: left and right stay in the row, up and down in the
// column, each wrapping around at the grid's edges.
WindowEntry* NeighbourInDirection(Direction direction);

// The sequential moves; each redraws even when the selection stays.
WindowEntry* NextEntry();      // after the tail: the head
WindowEntry* PreviousEntry();  // before the head: the tail
