// Drawing a capture into a tile's two images: the snapshot worker's side of the tiles. Where the
// snapshot goes in each look, the close and information squares drawn over the selected one, and
// the memory contexts the drawing goes through.
#pragma once

#include <windows.h>

#include "common/owners.h"
#include "overview/palette.h"
#include "overview/scaling.h"
#include "overview/tileimages.h"

// Where a snapshot of snapshotRect goes in the selected look (2 pixels larger on the top and left,
// 3 on the right and bottom) and in the plain look (inset 2 and 1): x, y, width, height.
struct StretchTarget {
    int x, y, width, height;
};
StretchTarget SelectedSnapshotArea(const RECT& snapshot, int dpi = kBaseDpi);
StretchTarget PlainSnapshotArea(const RECT& snapshot, int dpi = kBaseDpi);

// The close and information buttons of a tile TW wide, relative to the tile: each a framed
// square with a gradient inside, and the lines of its cross or of its letter i.
struct TileButtons {
    RECT close, closeGradient;
    POINT cross[2][2];
    RECT info, infoGradient;
    POINT letter[2][2];
};
TileButtons TileButtonsFor(int tileWidth, int dpi = kBaseDpi);

// Three memory contexts for drawing snapshots into tiles: the capture, the selected look, the
// plain look. A thread drawing many tiles makes them once.
struct TileDrawingContexts {
    UniqueMemoryDc source;
    UniqueMemoryDc selected;
    UniqueMemoryDc plain;
};
TileDrawingContexts CreateTileDrawingContexts();

// Resizes a 32-bit top-down image of sw x sh pixels (a row every sourceStride pixels) into one of
// dw x dh: each pixel the mean of the block of source pixels it covers, at least the one under it
// (a shrink averages, a slight enlargement repeats a row or column here and there).
void ResizePixels(const DWORD* source, int sw, int sh, int sourceStride, DWORD* destination, int dw, int dh);
// Under Wine, whose halftone stretch costs tens of milliseconds a tile (even to grow a capture by
// the selected look's few pixels), a capture is resized to `target` in software (ResizePixels),
// before the tile images are locked; drawing it into a tile is then a copy. Null where it is not
// (on Windows, whose stretch is fast; a capture already of that size, or of more than 16 million
// pixels; no memory for its copy): it is stretched as it is.
UniqueBitmap ResizeCaptureUnderWine(HBITMAP capture, int captureWidth, int captureHeight, SIZE target);

// Draws a capture into both images of a tile at `snapshot` (relative to the tile), the notice over
// it when one is given (the capture is incomplete; null for a complete one), and the close and
// information buttons into the selected look, in the given
// colours (the buttons' lines with buttonPen, of colours.buttonLine), with the given contexts (made
// for the call when null). The caller holds tileImagesLock (overview/tileimages.h).
void DrawSnapshotIntoTile(const TileImages& tile, const RECT& snapshot, HBITMAP capture, int captureWidth,
                          int captureHeight, const wchar_t* notice, int dpi, HFONT font, const SnapshotColours& colours,
                          HPEN buttonPen, const TileDrawingContexts* contexts = nullptr);
