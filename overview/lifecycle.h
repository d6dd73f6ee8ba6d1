// One showing of the Overview, from the show request to the tear-down, and the flags by which
// the GUI thread and the snapshot worker keep out of each other's way.
#pragma once

#include <windows.h>

#include <atomic>

struct WindowEntry;

// Set from the start of a build until the worker is released; Overview input is ignored meanwhile.
extern std::atomic<bool> overviewBuilding;
// Set while a tear-down runs.
extern std::atomic<bool> overviewHiding;
// Asks the snapshot worker to stop; cleared at every show. Set it with RequestSnapshotStop, which
// also wakes a worker waiting for a print.
extern std::atomic<bool> snapshotStopRequested;
// Set while the close-wait question is on screen; show requests then only activate the desktop.
extern std::atomic<bool> closePromptActive;

// The Overview's two push buttons (control identifier 0), created at the first show.
extern HWND cancelButton;
extern HWND refreshButton;

void ShowOverview(HWND window);
// The caller has stopped and waited for the worker (StopAndWaitForWorker).
void HideOverview(WindowEntry* chosen, bool switching, HWND window);
// Raises snapshotStopRequested and signals snapshotStopEvent.
void RequestSnapshotStop();
// Signalled (manual reset) while a stop is requested; the worker waits on it beside each print.
HANDLE SnapshotStopEvent();
// Asks the worker to stop and waits for it to end, handling sent messages meanwhile.
void StopAndWaitForWorker();
// Waits for the handle at most timeoutMs (INFINITE: no limit), handling only the messages other
// threads send meanwhile; posted messages and input stay queued.
DWORD WaitHandlingSentMessages(HANDLE handle, DWORD timeoutMs);

// Destroys the OverviewHeap (after releasing any list still in it) and creates a new one.
void ResetOverviewHeap();
void DestroyOverviewHeap();

void RestoreMinimizedWindows();
void MinimizeRestoredWindows();

// The Overview buttons' places on a W x H screen.
RECT CancelButtonRect(int screenWidth, int screenHeight);
RECT RefreshButtonRect(int screenWidth, int screenHeight);
