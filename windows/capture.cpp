#include "windows/capture.h"

#include "overview/lifecycle.h"

HANDLE snapshotWorker;

DWORD WINAPI SnapshotWorker(LPVOID parameter)
{
    HWND window = static_cast<HWND>(parameter);
    // Without a stop request the whole Overview is repainted at the end. Invalidating does not
    // send to the GUI thread, which may be waiting for this thread to end.
    if (!snapshotStopRequested) RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_NOERASE);
    return 0;
}

void CreateSnapshotWorker(HWND window)
{
    CloseSnapshotWorker();
    snapshotWorker = CreateThread(nullptr, 0, SnapshotWorker, window, CREATE_SUSPENDED, nullptr);
}

void ResumeSnapshotWorker()
{
    if (!snapshotWorker) return;
    SetThreadPriority(snapshotWorker, THREAD_PRIORITY_HIGHEST);
    ResumeThread(snapshotWorker);
}

void CloseSnapshotWorker()
{
    if (snapshotWorker) CloseHandle(snapshotWorker);
    snapshotWorker = nullptr;
}
