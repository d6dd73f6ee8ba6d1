// The Overview's measures are drawn for 96 dots per inch and scaled to the DPI of the monitor the
// Overview covers, which is read once per showing.
#pragma once

#include <windows.h>

constexpr int kBaseDpi = 96;

// A measure given at 96 DPI, at `dpi`, rounded as Windows rounds it.
inline int Scale(int value, int dpi) { return MulDiv(value, dpi, kBaseDpi); }

// Character height (negative, as in LOGFONT) of a font of `points` at `dpi`.
inline int FontHeightForPoints(int points, int dpi) { return -MulDiv(points, dpi, 72); }
// Cell height (positive, as in LOGFONT) of a font of `points` at `dpi`.
inline int CellHeightForPoints(int points, int dpi) { return MulDiv(points, dpi, 72); }

// The screen's vertical DPI (LOGPIXELSY): the system's, the same on every monitor; 96 when it
// cannot be read.
int ReadScreenDpi();

// The DPI a showing takes: the monitor's own, where the system was asked for it (`answer`, as
// GetDpiForMonitor answered: E_NOTIMPL before Windows 8.1) and gave one, else `fallback`, the
// screen's DPI.
constexpr int ShowingDpi(HRESULT answer, UINT monitorDpi, int fallback)
{
    return SUCCEEDED(answer) && monitorDpi > 0 ? static_cast<int>(monitorDpi) : fallback;
}

// The DPI of the monitor as the user scaled it (ShowingDpi over what the system says now).
int ReadMonitorDpi(HMONITOR monitor);

// Reads the DPI of the monitor the showing covers, remakes the Overview's fonts when it differs
// from the last showing's (UseOverviewDpi), and returns it. GUI thread only, while no snapshot
// worker runs.
int UpdateOverviewDpi(HMONITOR monitor);
// Makes the Overview's fonts for `dpi` unless they are made for it already; returns `dpi`.
int UseOverviewDpi(int dpi);

// The Overview's text font (help text, buttons, tile notices): the default GUI font at 96 DPI,
// else its face at the same 8 points for the showing's DPI. Owned here; valid until the next
// update, which comes only at the start of a showing.
HFONT OverviewTextFont();
// The information tip's font: the system's status font (what a tooltip takes by itself, made for
// the system's DPI) at the showing's DPI; null when the system does not say which it is. Owned
// and updated as the text font.
HFONT OverviewTipFont();
