// The colours the Overview is drawn in: the light, dark and high-contrast palettes, chosen from the
// system's colours and the user's app mode, and the contrast maths they are held to.
#pragma once

#include <windows.h>

#include <cmath>

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

// The colour half-way between two, channel by channel.
inline COLORREF MeanColour(COLORREF a, COLORREF b)
{
    return RGB((GetRValue(a) + GetRValue(b)) / 2, (GetGValue(a) + GetGValue(b)) / 2,
               (GetBValue(a) + GetBValue(b)) / 2);
}

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
