// The snapshot worker: one thread per showing of the Overview.
#pragma once

#include <windows.h>

// The worker of the current showing, or null. GUI thread only.
extern HANDLE snapshotWorker;

// Closes an earlier worker's handle and creates a new worker, suspended, for the window.
void CreateSnapshotWorker(HWND window);
// Gives the worker the highest priority and lets it run.
void ResumeSnapshotWorker();
// Closes the worker's handle (the thread has ended) and forgets it.
void CloseSnapshotWorker();

DWORD WINAPI SnapshotWorker(LPVOID window);
