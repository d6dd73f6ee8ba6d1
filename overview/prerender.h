// Prerendering: before the Overview shows, every listed window's tile in both looks and its title
// label are drawn from the composed frame, with the window's icon; the snapshot worker then draws
// the snapshots into the tiles. The looks are made first, empty, so that the worker can be handed
// them and capture while they are drawn.
#pragma once

#include <windows.h>

#include "overview/scaling.h"

struct Showing;

// Makes every entry's two looks, as large as the laid-out tiles and one pixel more each way
// (bitmaps compatible with the reference context), without drawing into them.
void MakeTileLooks(Showing& current, HDC reference);
// Draws every entry's looks, made by MakeTileLooks, and makes its label images from the showing's
// composed frame, in its colours and at its DPI (bitmaps compatible with the reference context);
// draws nothing on screen. Uses the list's `selected` as its cursor and leaves it null.
void PrerenderTiles(Showing& current, HDC reference, int screenWidth);

// Where the title label of a text tw pixels wide goes in the header: centred, 72 pixels wider than
// the text (room for the icon and a gap), 32 high and 4 from the top at 96 DPI.
RECT LabelRectFor(int textWidth, int screenWidth, int dpi = kBaseDpi);
