// Where the Overview's parts go on a screen: the grid of tiles, the frame's bands, logo and texts.
// Plain measures, nothing drawn.
#pragma once

#include <windows.h>

#include "overview/scaling.h"
#include "windows/windowlist.h"


// Columns and rows of the grid for n tiles: never taller than wide.
void GridForCount(unsigned count, int* columns, int* rows);

// Gives every entry of the list, in list order, its tile rectangle and grid cell, row by row; each row keeps a
// gap below it (3 pixels at 96 DPI).
void LayoutTiles(WindowList& list, int columns, int rows, const RECT& area, int dpi = kBaseDpi);

// The area the tiles share on a W x H screen.
RECT TileAreaFor(int screenWidth, int screenHeight, int dpi = kBaseDpi);

// Where the frame's parts go on a W x H screen at `dpi`.
struct FrameLayout {
    RECT tileArea;
    int headerBottom;      // the header band runs from 0 to here
    int headerRuleTop;     // the bright rule along the header's bottom: from here to headerBottom
    int footerBandTop;     // the footer band runs from here to the screen's bottom
    int footerRuleTop;     // the bright rule along the footer's top
    int footerRuleBottom;
    RECT logo;             // left, top, right, bottom
    POINT helpText;
    POINT notice;
    POINT pointerPark;     // in the footer, outside every tile
};
FrameLayout FrameLayoutFor(int screenWidth, int screenHeight, int dpi = kBaseDpi);
// Where the footer's notice, `noticeWidth` wide, starts and where the help line must end: the notice
// keeps its place unless it would pass the screen's edge less the help line's margin, and the help
// line ends that margin before the notice (texts differ in length from language to language).
struct FooterTexts {
    int noticeLeft;
    int helpRight;
};
FooterTexts FooterTextsFor(const FrameLayout& frame, int screenWidth, int noticeWidth);
// A point of the Overview (client coordinates) on the virtual screen, the Overview covering the
// monitor given.
constexpr POINT ScreenPointOf(const RECT& monitor, POINT client)
{
    return POINT{monitor.left + client.x, monitor.top + client.y};
}

// Where a wallpaper of bw x bh goes on a W x H screen (x, y, width, height); *unscaled when it
// is copied as it is.
RECT WallpaperPlacement(int bitmapWidth, int bitmapHeight, int screenWidth, int screenHeight,
                        bool* unscaled, int dpi = kBaseDpi);
