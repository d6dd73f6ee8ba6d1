// What the capture's own files share (capture.cpp, printthread.cpp, officedocs.cpp,
// screencrop.cpp): how a print or a wait for an answer ended, and the small steps every way of
// capturing takes. Other folders call windows/capture.h and windows/screencrop.h.
#pragma once

#include <windows.h>

constexpr wchar_t kConsoleClass[] = L"ConsoleWindowClass";

enum class PrintOutcome { Printed, TimedOut, Stopped };

// Waits `ms`, or less when `stop` (may be null) is signalled meanwhile: false then.
bool PauseUnlessStopped(HANDLE stop, DWORD ms);

bool ClassIs(const wchar_t* className, const wchar_t* expected);

// The size the window prints at from its rectangle (PrintSizeFor over what the system says now).
// Wine stretches no window, whatever its DPI: there the rectangle's size.
SIZE PrintSizeOf(HWND window, const RECT& rect);

// Paints the rounded top corners (or, maximized, the edges) of a capture in the colour given; the
// patches grow with the screen's scale, as the frames they cover do.
void PatchCorners(HWND window, HDC dc, int width, int height, int dpi, COLORREF colour);
