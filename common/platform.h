// Where Wine differs from Windows in ways the program must bridge. Each bridge acts under Wine
// only; on Windows these calls do nothing or answer as Windows does.
#pragma once

#include <windows.h>

// Whether this process runs under Wine (ntdll exports wine_get_version); decided once.
bool RunningUnderWine();

// Wine's X11 driver maps a re-shown topmost window without restacking it above a window that was
// activated while it was hidden, so the other window stays drawn over it. Changing the topmost
// state once forces the restack. Does nothing on Windows.
void RestackTopmostWindow(HWND window);
