// The snapshot worker: one thread per showing of the Overview, capturing every listed window and
// drawing each capture into its tile.
#pragma once

#include <windows.h>

struct WindowEntry;

// The worker of the current showing, or null. GUI thread only.
extern HANDLE snapshotWorker;

// How long one print may take before it is abandoned.
constexpr DWORD kPrintTimeoutMs = 10000;
constexpr int kCaptureAttempts = 10;

// Closes an earlier worker's handle and creates a new worker, suspended, for the window.
void CreateSnapshotWorker(HWND window);
// Gives the worker the highest priority and lets it run.
void ResumeSnapshotWorker();
// Closes the worker's handle (the thread has ended) and forgets it.
void CloseSnapshotWorker();

DWORD WINAPI SnapshotWorker(LPVOID window);

// Visits the positions 0 .. count - 1 in the capture order: two cursors, one from the head and
// one from the middle, take turns (0, half, 1, half + 1, ...). shouldStop() is asked before each
// turn; returns false when it stopped the walk.
template <typename ShouldStop, typename Visit>
bool ForEachInCaptureOrder(unsigned count, ShouldStop shouldStop, Visit visit)
{
    const unsigned half = count / 2;
    const bool split = count > 2;
    unsigned first = 0;
    const unsigned firstEnd = split ? half : count;
    unsigned second = half;
    bool firstActive = count > 0, secondActive = split;
    while (firstActive || secondActive) {
        if (shouldStop()) return false;
        if (firstActive && first < firstEnd)
            visit(first++);
        else
            firstActive = false;
        if (secondActive) {
            visit(second++);
            if (second >= count) secondActive = false;
        }
    }
    return true;
}

// Whether a capture holds an image: at most 10 of 16 samples, on the rows 55 and 60 pixels
// above its bottom edge, are exactly black. Samples outside the image are not black.
bool IsSnapshotComplete(int width, int height, HDC capture);

// Fits a capture of width x height into the entry's tile with a 30-pixel margin, never
// enlarging it, and centres it: sets snapshotRect.
void FitSnapshot(int width, int height, WindowEntry* entry);

struct CaptureResult {
    HBITMAP bitmap;  // owned by the caller
    int width;
    int height;
    bool complete;
};
// Prints the window of the entry (retrying blank prints), patches its corners and fits it.
CaptureResult CaptureWindow(WindowEntry* entry);
