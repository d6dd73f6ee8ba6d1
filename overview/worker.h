// The snapshot worker: one thread per showing of the Overview, capturing the listed windows and
// drawing each capture into its tile's images; and the stop request by which the GUI thread ends
// it.
#pragma once

#include <windows.h>

struct Showing;

#include <vector>

// Posted by the worker to the Overview each time a tile's images hold their snapshot: wParam is
// the tile's position in the list, lParam the showingNumber of its showing. At its end (not when
// stopped) it posts kWorkerDone for the position.
constexpr UINT WM_TILE_FILLED = 0x8002;
constexpr WPARAM kWorkerDone = static_cast<WPARAM>(-1);

// The worker's handle and its stop request and event are the showing's (overview/showing.h): the
// request is cleared at every show; RequestSnapshotStop raises it and wakes a worker waiting for a
// print. All of these run on the GUI thread.

// Raises the stop request and signals the stop event.
void RequestSnapshotStop(Showing& current);
// Lowers the stop request and resets the stop event, for a new showing.
void ClearSnapshotStop(Showing& current);
// Signalled (manual reset) while a stop is requested; the worker waits on it beside each print.
HANDLE SnapshotStopEvent(Showing& current);

// Closes an earlier worker's handle and creates a new worker, suspended, that reports to the
// window. It is handed only what it reads: each listed window's handle with its tile's images and
// size, in capture order, the stop event, the DPI and font, the colours of what it draws over the
// snapshots, and what captures share. It never walks the list. It may capture at once, but draws
// into the tiles only once LetWorkerDraw has said their backdrops are there.
void CreateSnapshotWorker(Showing& current, HWND window);
// The tiles' looks hold their backdrops (overview/prerender.h): the worker may draw into them.
void LetWorkerDraw(Showing& current);
// Gives the worker the highest priority and lets it run; a running worker only keeps running.
void ResumeSnapshotWorker(Showing& current);
// Whether the worker starts as soon as the tiles are laid out, capturing while they are drawn and
// filling them beside the showing's last steps, so that tiles ready by the first paint are in it:
// with a second processor to take it. On one processor it starts once the Overview is on screen,
// which comes first.
constexpr bool FillsBeforeShowing(unsigned processors) { return processors > 1; }
// Asks the worker to stop and waits for it to end, handling sent messages meanwhile.
void StopAndWaitForWorker(Showing& current);
// Closes the worker's handle (the thread has ended) and forgets it.
void CloseSnapshotWorker(Showing& current);

// Shows the tiles filled since the last present: the one a WM_TILE_FILLED names and those of the
// reports waiting behind it, in their current looks, in one batch (one device context, one flush).
// Reports that arrive after their showing ended are dropped. At the worker's end the whole
// Overview is repainted only when a tile was not presented.
void PresentFilledTile(Showing& current, HWND window, WPARAM position, LPARAM showingNumber);

// One report of the worker, as posted.
struct TileReport {
    WPARAM position;
    unsigned showingNumber;
};
// What a batch of reports presents: the positions reported for the showing on screen, each once,
// in the order first reported, leaving out positions beyond the list and tiles presented already
// (`presented`, one flag per tile, is updated). *done is set when the batch holds the worker's end.
std::vector<unsigned> TilesToPresent(const std::vector<TileReport>& reports, unsigned showingNumber,
                                     std::vector<bool>& presented, bool* done);
// Whether the worker's end needs a repaint of the whole Overview: a tile was never presented.
bool NeedsFinalRepaint(const std::vector<bool>& presented);


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
