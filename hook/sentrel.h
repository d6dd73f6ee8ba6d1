// Sentrel.dll: watches the pointer and reports when it enters the chosen corner of any monitor
// where the pointer stops (not a corner shared with a neighbouring monitor).
// The report is a WM_HOTKEY with identifier 112 posted to the top-level window of class "SORVANE".
// The hook runs on a thread of the library's own, so a busy caller never delays the pointer.
// Both calls are exported under their C++ (decorated) names. Call UninstallMouseHook before
// freeing the library, and never from DllMain: it waits for the hook thread to end.
#pragma once

#ifdef SENTREL_BUILDING
#define SENTREL_API __declspec(dllexport)
#else
#define SENTREL_API __declspec(dllimport)
#endif

// corner: 1 top-left, 2 top-right, 3 bottom-left, 4 bottom-right (any other value: bottom-right).
// Starts watching, or moves the watch to another corner; either way the monitors are read anew
// (call it again after a change of monitors or of their scale). Returns 1 on success, 0 on failure.
// The first call returns once the hook thread has installed the hook, or failed to.
SENTREL_API int InstallMouseHook(unsigned int corner);

// Stops watching: the hook thread unhooks and ends (waited for a few seconds at most). Returns 1
// when a watch was removed, 0 when there was none.
SENTREL_API int UninstallMouseHook(void);
