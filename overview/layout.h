// The Overview's frame (background, wallpaper, bands, logo, help text) and the grid of tiles.
#pragma once

#include <windows.h>

// The composed full-screen frame, (W + 1) x (H + 1); repaints copy from it. GUI thread only.
extern HBITMAP overviewBuffer;
// Column count of the current grid, for arrow-key moves.
extern int gridColumns;

// Columns and rows of the grid for n tiles: never taller than wide.
void GridForCount(unsigned count, int* columns, int* rows);

// Gives every entry, in list order, its tile rectangle and grid cell, row by row.
void LayoutTiles(int columns, int rows, const RECT& area);

// The area the tiles share on a W x H screen.
RECT TileAreaFor(int screenWidth, int screenHeight);

// Where a wallpaper of bw x bh goes on a W x H screen (x, y, width, height); *unscaled when it
// is copied as it is.
RECT WallpaperPlacement(int bitmapWidth, int bitmapHeight, int screenWidth, int screenHeight,
                        bool* unscaled);

// Composes and shows the frame, lays out and pre-renders the tiles, selects the first one and
// creates the snapshot worker suspended (unless a stop was requested meanwhile).
void BuildOverview(HWND window);

// Deletes the composed frame.
void DeleteOverviewBuffer();
