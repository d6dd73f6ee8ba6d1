// The Overview's measures are drawn for 96 dots per inch and scaled to the screen's DPI, which is
// read once per showing.
#pragma once

#include <windows.h>

constexpr int kBaseDpi = 96;

// A measure given at 96 DPI, at `dpi`, rounded as Windows rounds it.
inline int Scale(int value, int dpi) { return MulDiv(value, dpi, kBaseDpi); }

// Character height (negative, as in LOGFONT) of a font of `points` at `dpi`.
inline int FontHeightForPoints(int points, int dpi) { return -MulDiv(points, dpi, 72); }
// Cell height (positive, as in LOGFONT) of a font of `points` at `dpi`.
inline int CellHeightForPoints(int points, int dpi) { return MulDiv(points, dpi, 72); }

// The screen's vertical DPI (LOGPIXELSY); 96 when it cannot be read.
int ReadScreenDpi();

// Reads the screen's DPI, remakes the Overview's text font when it changed, and returns the DPI.
// GUI thread only, while no snapshot worker runs.
int UpdateOverviewDpi();

// The Overview's text font (help text, buttons, tile notices): the default GUI font at 96 DPI,
// else its face at the same 8 points for the showing's DPI. Owned here; valid until the next
// update, which comes only at the start of a showing.
HFONT OverviewTextFont();
