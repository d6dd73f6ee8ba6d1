// Where Wine differs from Windows in ways the program must bridge. Each bridge acts under Wine
// only; on Windows these calls do nothing or answer as Windows does.
#pragma once

#include <windows.h>

#include <vector>

// Whether this process runs under Wine (ntdll exports wine_get_version); decided once.
bool RunningUnderWine();

// Wine's X11 driver maps a re-shown topmost window without restacking it above a window that was
// activated while it was hidden, so the other window stays drawn over it. Changing the topmost
// state once forces the restack. Does nothing on Windows.
void RestackTopmostWindow(HWND window);

// Under Wine, PrintWindow draws nothing for another process's window (its WM_PRINT carries a
// device context valid only in our process). There, one picture of the virtual screen (every
// monitor) is taken just before the Overview covers it, and a print of another process's window
// copies that window's rectangle out of it: what was visible of it. On Windows these do nothing and answer false. The
// showing keeps its picture; the snapshot worker reads it until it ends.
struct ScreenGrab;
// Takes the picture at once: what the user sees when the Overview is asked for. Null on Windows
// (or without memory); the caller releases it.
ScreenGrab* TakeScreenGrab();
// Whether the picture taken at once may show what other programs have not repainted yet: windows
// were restored for this showing, or one of ours left the screen a moment ago.
bool ScreenNeedsSettling(DWORD msSinceOwnWindowLeft, unsigned restoredWindows);
// How long "a moment ago" lasts. Under Wine the windows uncovered by the Overview were seen
// repainted within about 50 ms of its hiding.
constexpr DWORD kUncoveredRepaintMs = 250;
// Notes that a window of ours has just left the screen (the Overview, a menu, a dialog).
void NoteOwnWindowLeftScreen();
DWORD MsSinceOwnWindowLeftScreen();
// Takes the picture again until two grabs about 40 ms apart agree inside the given areas (the
// listed windows), waiting a few hundred milliseconds at most; the settled picture replaces
// *current (which stays when no new one could be had).
void SettleScreenGrab(ScreenGrab** current, const RECT* areas, size_t count);
// The parts of the areas (screen rectangles) that lie on the monitors, moved into the coordinates
// of a picture whose (0, 0) is `origin` on the screen.
std::vector<RECT> AreasOnMonitors(const RECT* areas, size_t count, const std::vector<RECT>& monitors, POINT origin);
// Whether two top-down 32-bit pictures of width x height agree inside the areas (clipped to them).
bool PicturesAgreeIn(const DWORD* a, const DWORD* b, int width, int height, const RECT* areas, size_t count);
void ReleaseScreenGrab(ScreenGrab* grab);
// Whether a print of this window must come from the picture: Wine, and another process.
bool PrintsFromScreenGrab(HWND window);
// Copies the window's screen rectangle (wherever it lies on the virtual screen) from the picture
// to (0, 0) of the target.
bool CopyWindowFromScreenGrab(const ScreenGrab* grab, HWND window, HDC target);
