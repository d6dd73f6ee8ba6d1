// The selected tile and the moves that change it.
#pragma once

#include <windows.h>

#include "overview/scaling.h"

struct WindowEntry;
struct Showing;

enum class Direction { Left, Right, Up, Down };

// The first entry of the showing, from the head, whose tile contains the point (all four edges
// included).
WindowEntry* TileAtPoint(const Showing& current, int x, int y);
// The hot squares at a tile's top corners (25 pixels at 96 DPI), for a point inside the tile:
// the close square at the top right, the information square at the top left.
bool InCloseSquare(const RECT& tile, int x, int y, int dpi);
bool InInfoSquare(const RECT& tile, int x, int y, int dpi);

// Draws the showing's selected entry plain, selects the new one and draws it highlighted, on the
// window.
void MoveSelection(Showing& current, HWND window, WindowEntry* entry);
// An arrow key's move over a grid of `count` tiles laid out in list order in `columns` columns:
// left and right stay in the row, up and down in the column, each wrapping around at the grid's
// edges. The index the move from `from` reaches, or -1 when it stays.
int StepInDirection(int from, int count, int columns, Direction direction);

// The wheel: turns are added up, and every whole WHEEL_DELTA (120) in one direction is one step,
// so that a touchpad's small turns move as a mouse's notches do. Adds `delta` to what is left in
// *remainder and returns the whole steps taken (positive: forward, away from the user), keeping
// what is left; a turn the other way drops what was left first.
int AccumulateWheel(int* remainder, int delta);
// The same over the showing's remainder (which a new showing starts without).
int TakeWheelSteps(Showing& current, int delta);
