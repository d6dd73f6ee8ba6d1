// The snapshot worker: one thread per showing of the Overview, capturing every listed window and
// drawing each capture into its tile; and the stop request by which the GUI thread ends it.
#pragma once

#include <windows.h>

struct Showing;

// The worker's handle and its stop request and event are the showing's (overview/showing.h): the
// request is cleared at every show; RequestSnapshotStop raises it and wakes a worker waiting for a
// print.

// Raises the stop request and signals the stop event.
void RequestSnapshotStop();
// Lowers the stop request and resets the stop event, for a new showing.
void ClearSnapshotStop();
// Signalled (manual reset) while a stop is requested; the worker waits on it beside each print.
HANDLE SnapshotStopEvent();

// Closes an earlier worker's handle and creates a new worker, suspended, for the window: it
// captures the listed windows of `current` into their tiles.
void CreateSnapshotWorker(Showing& current, HWND window);
// Gives the worker the highest priority and lets it run.
void ResumeSnapshotWorker();
// Asks the worker to stop and waits for it to end, handling sent messages meanwhile.
void StopAndWaitForWorker();
// Closes the worker's handle (the thread has ended) and forgets it.
void CloseSnapshotWorker();


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
