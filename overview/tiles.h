// The look of each tile, its title label, and the drawing operations the frame shares.
#pragma once

#include <windows.h>

#include <climits>
#include <cmath>
#include <mutex>
#include <vector>

#include "common/owners.h"
#include "overview/scaling.h"

struct WindowEntry;
struct DimmingTools;
struct Showing;

// Guards every entry's four images and labelOwner: the GUI thread and the snapshot worker both
// select tile images into device contexts of their own, and a bitmap fits in one at a time.
extern std::mutex tileImagesLock;


// A background that is no colour: text drawn over it leaves what is there (every real colour,
// black among them, is opaque).
constexpr COLORREF kTransparent = CLR_INVALID;

// The colours of what is drawn over each snapshot, by the snapshot worker: the close and
// information squares of the selected look, the notice on an incomplete capture, and the patches
// over a capture's rounded corners.
struct SnapshotColours {
    COLORREF buttonLine = 0;                // the squares' frames, the cross and the letter i
    COLORREF buttonFill = 0;                // inside the frames, under the gradients
    COLORREF closeFrom = 0, closeTo = 0;    // the close square, top left to bottom right
    COLORREF infoFrom = 0, infoTo = 0;      // the information square, the same way
    COLORREF incompleteText = 0, incompleteBackground = kTransparent;  // the notice
    COLORREF corners = 0;                   // the patches over a capture's corners
};

// Whether the user asked Windows for light or dark applications ("app mode").
enum class AppMode { Light, Dark };

// The colours the Overview is drawn in: its own (the orange frame of the selected tile, gradient
// bands and squares, the wallpaper, a red notice over the snapshot), light from the system's
// colours or dark from fixed ones, or, in high-contrast mode, the system's, solid, with no
// wallpaper and no text shadow, and the notice on a background of its own.
struct OverviewColours {
    bool highContrast = false;
    bool dark = false;  // the dark look, whose wallpaper lies under a veil of the tile area's colour
    COLORREF selectionOuter = 0, selectionInner = 0;  // the selected tile's two frame lines
    COLORREF panelFrom = 0, panelTo = 0;              // the selected tile's panel, top to bottom
    COLORREF tileArea = 0;                            // behind the tiles (under the wallpaper)
    COLORREF bandFrom = 0, bandTo = 0, rule = 0;      // the header and footer bands and their rules
    COLORREF text = 0, notice = 0, label = 0;         // help and find text, footer notice, title label
    COLORREF labelShadow = 0;                         // under the title label's text (none in high contrast)
    COLORREF dim = 0;         // what a dimmed tile is blended half-way towards
    COLORREF background = 0;  // the window's own, before its first paint
    COLORREF ground = kTransparent;  // around the buttons, under the starting notice (transparent: the system's)
    SnapshotColours snapshot;
};
// From high contrast, the app mode and the system's colours, indexed by COLOR_* (0 to
// COLOR_MENUBAR). High contrast wins over the app mode.
OverviewColours ChooseOverviewColours(bool highContrast, AppMode mode, const COLORREF* systemColours);
// The same from GetSysColor, SPI_GETHIGHCONTRAST and the user's AppsUseLightTheme now.
OverviewColours CurrentOverviewColours();
// The app mode from the user's AppsUseLightTheme: dark only for a REG_DWORD of 0.
AppMode ReadAppMode();

// Relative luminance of an sRGB colour, 0 (black) to 1 (white), and the contrast ratio of two
// colours, 1 to 21, either way round (WCAG 2).
inline double RelativeLuminance(COLORREF colour)
{
    auto linear = [](BYTE value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(GetRValue(colour)) + 0.7152 * linear(GetGValue(colour)) +
           0.0722 * linear(GetBValue(colour));
}
inline double ContrastRatio(COLORREF a, COLORREF b)
{
    const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
    return (std::fmax(la, lb) + 0.05) / (std::fmin(la, lb) + 0.05);
}

// Gradient over a rectangle; angle (degrees, modulo 180) 0 left to right, 90 top to bottom,
// 45 top-left to bottom-right, 135 top-right to bottom-left. Other angles draw nothing (false).
bool FillGradient(HDC dc, int x1, int y1, int x2, int y2, COLORREF start, COLORREF end, int angle);

// One line of text at (x, y), at most 255 characters, on an opaque background of the given colour
// or on none (kTransparent); a line that would pass `right` ends there in "...".
void DrawTextAt(HDC dc, HFONT font, COLORREF textColor, COLORREF backgroundColor, int x, int y,
                const wchar_t* text, int right = INT_MAX);

// The functions that draw tiles work on the showing given: its list, selection, label owner,
// dimming tools and DPI.
// Builds every entry's tile and label images from the composed frame (bitmaps compatible with the
// reference context); draws nothing on screen. Uses `selected` as its cursor and leaves it null.
void PrerenderTiles(Showing& current, HDC reference, int screenWidth);

// A tile's two looks: plain, and selected (framed, with its buttons and its title label).
enum class TileLook { Plain, Selected };
// The look of the entry in the list: selected when it is the list's selection.
TileLook LookOf(const Showing& current, const WindowEntry* entry);

// Copies the entry's tile (and, selected, its title label) to the device context; a plain tile
// that does not match the find text is drawn darkened, and a selected one gets a focus rectangle
// while the showing shows keyboard cues.
void PresentTile(Showing& current, HDC dc, WindowEntry* entry, TileLook look);
// The same, for a caller that holds tileImagesLock; through the memory context `source` (one that
// holds nothing else) when given, else through short-lived ones.
void PresentTileLocked(Showing& current, HDC dc, WindowEntry* entry, TileLook look, HDC source = nullptr);
// Presents the entries in their current looks in one batch: one source context for all of them and
// one flush at the end.
void PresentTiles(Showing& current, HDC dc, const std::vector<WindowEntry*>& entries);
// Lets go of what darkens dimmed tiles, each context before the bitmap selected into it (a bitmap
// still selected would not be deleted). The caller holds tileImagesLock.
void ReleaseDimmingTools(DimmingTools& tools);
// The user has used the keyboard: the selected tile shows its focus rectangle from now on.
void ShowKeyboardCues(Showing& current, HWND window);
// Presents every entry, the selected one highlighted.
void RepaintAllTiles(Showing& current, HDC dc);
// Blinks the chosen tile twice (320 ms), ending in its selected look.
void BlinkChosenTile(Showing& current, HWND window, WindowEntry* entry);


// Where a snapshot of snapshotRect goes in the selected look (2 pixels larger on the top and left,
// 3 on the right and bottom) and in the plain look (inset 2 and 1): x, y, width, height.
struct StretchTarget {
    int x, y, width, height;
};
StretchTarget SelectedSnapshotArea(const RECT& snapshot, int dpi = kBaseDpi);
StretchTarget PlainSnapshotArea(const RECT& snapshot, int dpi = kBaseDpi);

// Where the title label of a text tw pixels wide goes in the header: centred, 72 pixels wider than
// the text (room for the icon and a gap), 32 high and 4 from the top at 96 DPI.
RECT LabelRectFor(int textWidth, int screenWidth, int dpi = kBaseDpi);

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

// The two images of one tile that its snapshot is drawn into, and the tile's size.
struct TileImages {
    HBITMAP highlightTile;
    HBITMAP normalTile;
    SIZE size;
};

// Draws a capture into both images of a tile at `snapshot` (relative to the tile), the notice over
// it when one is given (the capture is incomplete; null for a complete one), and the close and
// information buttons into the selected look, in the given
// colours (the buttons' lines with buttonPen, of colours.buttonLine), with the given contexts (made
// for the call when null). The caller holds tileImagesLock.
void DrawSnapshotIntoTile(const TileImages& tile, const RECT& snapshot, HBITMAP capture, int captureWidth,
                          int captureHeight, const wchar_t* notice, int dpi, HFONT font, const SnapshotColours& colours,
                          HPEN buttonPen, const TileDrawingContexts* contexts = nullptr);
