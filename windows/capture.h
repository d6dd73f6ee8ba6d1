// Capturing one listed window into a bitmap: the print on a thread of its own with a time limit,
// the retries against blank prints, and fitting the result into the window's tile. The print
// threads live in printthread.cpp, Office documents in officedocs.cpp, and under Wine the crop
// from the screen picture in screencrop.h.
#pragma once

#include <windows.h>

#include "common/owners.h"
#include "common/platform.h"
#include "windows/collect.h"

// How long one print may take before it is abandoned, counted from the moment it was asked for
// (however long it then waited for its turn): any number of windows that do not answer cost one
// limit together.
constexpr DWORD kPrintTimeoutMs = 10000;
// What is left of a limit of limitMs begun at the tick count startedAt when the count reads now:
// 0 once it has run out (across the count's wrap too).
DWORD TimeLeft(DWORD startedAt, DWORD now, DWORD limitMs);
constexpr int kCaptureAttempts = 10;

// PrintWindow's flags for a system of that version. From 8.1 on, PW_RENDERFULLCONTENT: windows
// the compositor draws with the graphics card (browsers, video, Store apps) print black without
// it. Earlier systems do not know the flag: 0.
UINT PrintFlagsForVersion(DWORD major, DWORD minor);

// How long a blank print waits before it is tried again (ended at once by the stop event).
constexpr DWORD kBlankRetryPauseMs = 50;

// Whether a capture holds an image: any of its `count` 32-bit pixels is not black (the byte
// above the colour is ignored). A print that drew nothing leaves every pixel black; a dark window
// (a terminal, a video, a dark theme) still has something lighter somewhere.
bool IsSnapshotComplete(const DWORD* pixels, size_t count);
// The same over a capture bitmap (a 32-bit DIB section, as CreateCaptureBitmap makes); a bitmap
// whose pixels cannot be read counts as complete.
bool CaptureHoldsImage(HBITMAP capture);
// A top-down 32-bit DIB section of width x height, black: what prints are made into, so that
// their pixels can be read in one pass.
HBITMAP CreateCaptureBitmap(int width, int height);

// The size a window prints at, from its rectangle on the screen: in physical pixels, as Sorvane is
// aware of each monitor's DPI. A window unaware of DPI, or aware of the system's only, on a monitor
// of another scale draws at its own size, which the system stretches to the screen: the rectangle
// scaled by the window's DPI over its monitor's. The rectangle's size where either is unknown (0).
SIZE PrintSizeFor(const RECT& window, UINT windowDpi, UINT monitorDpi);

// Where a capture of width x height goes in a tile of tileWidth x tileHeight, relative to the
// tile's top-left corner: fitted with a 30-pixel margin (at 96 DPI, scaled to the screen's dpi),
// never enlarged, and centred.
RECT FitSnapshot(int width, int height, int tileWidth, int tileHeight, int dpi = 96);

struct CaptureResult {
    UniqueBitmap bitmap;  // null when nothing could be captured
    int width;
    int height;
    bool complete;
};
// What captures of one showing share: all the capturing thread needs besides the window.
struct CaptureContext {
    // A manual-reset event that ends a wait for a print or a pause at once when it is signalled.
    HANDLE stop = nullptr;
    // Office documents pause this long before their print (also ended by `stop`) and print their
    // frame among officeFrames (none when null) in their stead.
    DWORD documentPauseMs = 0;
    const OfficeFrameSlots* officeFrames = nullptr;
    // Margins and corner patches are measured for a screen of this many dots per inch.
    int dpi = 96;
    // Under Wine, the picture other programs' windows are copied from (null: none).
    const ScreenGrab* screenGrab = nullptr;
    // The colour of the patches over a capture's rounded corners: the system's inactive caption
    // colour (the light Overview's tile area) unless the showing gives its own.
    COLORREF corners = GetSysColor(COLOR_INACTIVECAPTION);
};

// Prints the window (retrying blank prints after a short pause) and patches its corners. A window
// that does not answer in time, or that the system already reports as hung, gives an incomplete
// capture. A first print begun before the window's turn (see StartPrintAhead):
// its first attempt then only waits for that print.
struct PrintAhead;
CaptureResult CaptureWindow(HWND window, const CaptureContext& context, PrintAhead* ahead = nullptr);

// Begins the first print of the window on its own print thread, so that the window
// answers while earlier tiles are drawn; null when the window is not printed ahead (a hung
// window, an Office document, nothing to print, no resources). The caller hands it to
// CaptureWindow or lets it go with ReleasePrintAhead.
PrintAhead* StartPrintAhead(HWND window);
// Lets go of a print begun ahead: its thread ends on its own and keeps nothing big.
void ReleasePrintAhead(PrintAhead* ahead);
