#include "overview/worker.h"

#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <vector>

#include "common/instance.h"
#include "common/language.h"
#include "common/owners.h"
#include "common/system.h"
#include "overview/present.h"
#include "overview/scaling.h"
#include "overview/showing.h"
#include "overview/tiledraw.h"
#include "resources/resource.h"
#include "windows/capture.h"
#include "windows/screencrop.h"
#include "windows/windowlist.h"

namespace {

// How many windows are asked for their print before their turn: each answers (in its own process)
// while the tiles before it are drawn.
constexpr size_t kPrintsAhead = 4;

// One tile to fill: the window to capture, the tile's position in the list (reported back), and
// the images its snapshot goes into.
struct SnapshotJob {
    HWND window;
    unsigned position;
    TileImages tile;
};

// Everything the worker reads, handed over by the GUI thread and owned by the worker. The tile
// images belong to the showing's entries, shared as overview/tileimages.h says.
struct SnapshotWork {
    std::vector<SnapshotJob> jobs;  // in capture order
    HWND overview;                  // told of each tile filled, repainted at the end
    unsigned showingNumber;
    int dpi;
    HFONT font;
    SnapshotColours colours;  // of the squares and the notice drawn over each snapshot
    std::wstring incompleteNotice;  // the notice's text: the worker loads no text itself
    CaptureContext capture;   // the stop event among it
    HANDLE tilesReady;        // signalled once the tiles may be drawn into
};

bool Signalled(HANDLE event) { return WaitForSingleObject(event, 0) == WAIT_OBJECT_0; }

// Waits until the tiles may be drawn into; false when a stop came first.
bool WaitForTiles(HANDLE tilesReady, HANDLE stop)
{
    const HANDLE either[] = {tilesReady, stop};
    return WaitForMultipleObjects(2, either, FALSE, INFINITE) == WAIT_OBJECT_0 && !Signalled(stop);
}

// A manual-reset event of the showing's, made when first asked for and kept; null if it cannot be
// made.
HANDLE KeptEvent(UniqueHandle& kept)
{
    if (!kept) kept.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    return kept.get();
}

HANDLE TilesReadyEvent(Showing& current) { return KeptEvent(current.tilesReadyEvent); }

// A window's capture made ready for its tile: resized to it under Wine, else as captured.
struct ReadySnapshot {
    UniqueBitmap bitmap;  // null when nothing could be captured
    int width = 0, height = 0;
    RECT snapshot{};      // where it goes in the tile
    bool complete = true;
    bool resized = false;
};

// The costly part of a tile, the resize under Wine, done before waiting for the tiles and before
// the tile images are locked.
ReadySnapshot MakeReady(CaptureResult capture, const SnapshotJob& job, int dpi)
{
    ReadySnapshot ready;
    ready.complete = capture.complete;
    if (!capture.bitmap) return ready;
    ready.snapshot = FitSnapshot(capture.width, capture.height, job.tile.size.cx, job.tile.size.cy, dpi);
    const StretchTarget large = SelectedSnapshotArea(ready.snapshot, dpi);
    UniqueBitmap shrunk =
        ResizeCaptureUnderWine(capture.bitmap.get(), capture.width, capture.height, SIZE{large.width, large.height});
    ready.resized = static_cast<bool>(shrunk);
    ready.bitmap = ready.resized ? std::move(shrunk) : std::move(capture.bitmap);
    ready.width = ready.resized ? large.width : capture.width;
    ready.height = ready.resized ? large.height : capture.height;
    return ready;
}

DWORD WINAPI SnapshotWorker(LPVOID parameter)
{
    const std::unique_ptr<SnapshotWork> work(static_cast<SnapshotWork*>(parameter));
    const HANDLE stop = work->capture.stop;
    const std::vector<SnapshotJob>& jobs = work->jobs;
    UniquePen buttonPen(CreatePen(PS_SOLID, Scale(2, work->dpi), work->colours.buttonLine));
    const TileDrawingContexts drawing = CreateTileDrawingContexts();
    // Under Wine, every window cropped from the screen picture is asked to answer at once, so that
    // the time limits of windows that do not answer run together; the requests stay here until the
    // worker ends.
    std::vector<AnswerRequest> answers(jobs.size());
    for (size_t i = 0; i < jobs.size(); ++i) {
        if (!CropsFromScreenGrab(jobs[i].window, work->capture)) continue;
        answers[i].window = jobs[i].window;
        AskToAnswer(&answers[i]);
    }
    // prints[i] is the print begun ahead for jobs[i]; the first kPrintsAhead begin at once.
    auto startAhead = [&](size_t i) { return answers[i].window ? nullptr : StartPrintAhead(jobs[i].window); };
    std::vector<PrintAhead*> prints(jobs.size(), nullptr);
    for (size_t i = 0; i < jobs.size() && i < kPrintsAhead; ++i) prints[i] = startAhead(i);
    // Until the GUI thread has drawn the tiles, snapshots made ready wait here: only those at tile
    // size (a full-size capture waits for the tiles instead, holding no more), and only while the
    // captures after them need not wait for their windows. Then each is drawn, and reported, in
    // turn.
    std::vector<ReadySnapshot> ready(jobs.size());
    size_t drawn = 0;
    bool tilesReady = false;
    auto drawUpTo = [&](size_t end) {
        for (; drawn < end; ++drawn) {
            const SnapshotJob& job = jobs[drawn];
            if (const ReadySnapshot& snapshot = ready[drawn]; snapshot.bitmap) {
                std::lock_guard<std::mutex> hold(tileImagesLock);
                DrawSnapshotIntoTile(job.tile, snapshot.snapshot, snapshot.bitmap.get(), snapshot.width,
                                     snapshot.height, snapshot.complete ? nullptr : work->incompleteNotice.c_str(),
                                     work->dpi, work->font, work->colours, buttonPen.get(), &drawing);
            }
            ready[drawn].bitmap.reset();
            // Posted, never sent: the GUI thread may be waiting for this thread to end.
            PostMessageW(work->overview, WM_TILE_FILLED, job.position, static_cast<LPARAM>(work->showingNumber));
        }
    };
    bool finished = true;
    for (size_t i = 0; i < jobs.size(); ++i) {
        if (Signalled(stop)) {
            finished = false;
            break;
        }
        if (i + kPrintsAhead < jobs.size()) prints[i + kPrintsAhead] = startAhead(i + kPrintsAhead);
        // A capture that may wait for its window begins only once the snapshots before it are
        // drawn: none of them is held up behind a window that does not answer.
        if (!tilesReady && drawn < i && !(answers[i].window && AnswerIsIn(answers[i]))) {
            if (!(tilesReady = WaitForTiles(work->tilesReady, stop))) continue;  // stopped
            drawUpTo(i);
        }
        const SnapshotJob& job = jobs[i];
        CaptureResult capture = answers[i].window ? CaptureFromScreenGrab(answers[i], work->capture)
                                                  : CaptureWindow(job.window, work->capture, prints[i]);
        prints[i] = nullptr;  // CaptureWindow has let go of it
        if (Signalled(stop)) continue;  // ended at the loop's head
        ready[i] = MakeReady(std::move(capture), job, work->dpi);
        if (!tilesReady) tilesReady = Signalled(work->tilesReady);
        if (!tilesReady && ready[i].bitmap && !ready[i].resized && !(tilesReady = WaitForTiles(work->tilesReady, stop)))
            continue;  // stopped
        if (tilesReady) drawUpTo(i + 1);
    }
    if (finished && drawn < jobs.size()) {
        finished = WaitForTiles(work->tilesReady, stop);
        if (finished) drawUpTo(jobs.size());
    }
    for (PrintAhead* ahead : prints) ReleasePrintAhead(ahead);
    // The end: the Overview repaints what it may not have presented.
    if (finished && !Signalled(stop))
        PostMessageW(work->overview, WM_TILE_FILLED, kWorkerDone, static_cast<LPARAM>(work->showingNumber));
    return 0;
}

}  // namespace

HANDLE SnapshotStopEvent(Showing& current) { return KeptEvent(current.snapshotStopEvent); }

void RequestSnapshotStop(Showing& current)
{
    current.snapshotStopRequested = true;
    SetEvent(SnapshotStopEvent(current));
}

void ClearSnapshotStop(Showing& current)
{
    current.snapshotStopRequested = false;
    ResetEvent(SnapshotStopEvent(current));
}

void CreateSnapshotWorker(Showing& current, HWND window)
{
    CloseSnapshotWorker(current);
    auto* work = new (std::nothrow) SnapshotWork{};
    if (!work) return;
    const WindowList& list = current.windowList;
    work->jobs.reserve(list.count);
    ForEachInCaptureOrder(
        list.count, [] { return false; },
        [&](unsigned position) {
            const WindowEntry* entry = EntryAtIndex(list, static_cast<int>(position));
            if (!entry) return;
            const RECT& tile = entry->tile;
            const SIZE size{tile.right - tile.left, tile.bottom - tile.top};
            const TileImages images{entry->highlightTile, entry->normalTile, size};
            work->jobs.push_back(SnapshotJob{entry->hwnd, position, images});
        });
    work->overview = window;
    work->showingNumber = current.showingNumber;
    work->dpi = current.overviewDpi;
    work->font = OverviewTextFont();
    work->colours = current.colours.snapshot;
    work->incompleteNotice = LoadText(IDS_INCOMPLETE_RESPONSE);
    work->capture.stop = SnapshotStopEvent(current);
    // Office documents wait for their frame to come forward: a pause scaled by the clock.
    work->capture.documentPauseMs = 330000u / (processorMHz ? processorMHz : kDefaultProcessorMHz);
    work->capture.officeFrames = &current.officeFrames;
    work->capture.dpi = current.overviewDpi;
    work->capture.screenGrab = current.screenGrab;
    work->capture.corners = current.colours.snapshot.corners;
    work->tilesReady = TilesReadyEvent(current);
    if (!work->tilesReady) {  // no worker, as when no thread can be made: the tiles keep their icons
        delete work;
        return;
    }
    ResetEvent(work->tilesReady);
    current.tilesPresented.assign(list.count, false);
    current.snapshotWorker = CreateThread(nullptr, 0, SnapshotWorker, work, CREATE_SUSPENDED, nullptr);
    if (!current.snapshotWorker) delete work;
}

void LetWorkerDraw(Showing& current) { SetEvent(TilesReadyEvent(current)); }

void ResumeSnapshotWorker(Showing& current)
{
    if (!current.snapshotWorker) return;
    SetThreadPriority(current.snapshotWorker, THREAD_PRIORITY_HIGHEST);
    ResumeThread(current.snapshotWorker);
}

void StopAndWaitForWorker(Showing& current)
{
    RequestSnapshotStop(current);
    if (!current.snapshotWorker) return;
    // A worker still suspended would never end: let it run into the stop request.
    ResumeThread(current.snapshotWorker);
    WaitHandlingSentMessages(current.snapshotWorker, INFINITE);
}

void CloseSnapshotWorker(Showing& current)
{
    if (current.snapshotWorker) CloseHandle(current.snapshotWorker);
    current.snapshotWorker = nullptr;
}

std::vector<unsigned> TilesToPresent(const std::vector<TileReport>& reports, unsigned showingNumber,
                                     std::vector<bool>& presented, bool* done)
{
    std::vector<unsigned> batch;
    for (const TileReport& report : reports) {
        if (report.showingNumber != showingNumber) continue;
        if (report.position == kWorkerDone) {
            *done = true;
        } else if (report.position < presented.size() && !presented[report.position]) {
            presented[report.position] = true;
            batch.push_back(static_cast<unsigned>(report.position));
        }
    }
    return batch;
}

bool NeedsFinalRepaint(const std::vector<bool>& presented)
{
    for (const bool shown : presented)
        if (!shown) return true;
    return false;
}

void PresentFilledTile(Showing& current, HWND window, WPARAM position, LPARAM showingNumber)
{
    // Every report waiting now joins this one.
    std::vector<TileReport> reports{{position, static_cast<unsigned>(showingNumber)}};
    MSG report{};
    while (PeekMessageW(&report, window, WM_TILE_FILLED, WM_TILE_FILLED, PM_REMOVE))
        reports.push_back({report.wParam, static_cast<unsigned>(report.lParam)});
    if (current.overviewHiding || !IsWindowVisible(window)) return;
    bool done = false;
    const std::vector<unsigned> batch = TilesToPresent(reports, current.showingNumber, current.tilesPresented, &done);
    if (!batch.empty()) {
        std::vector<WindowEntry*> entries;
        for (const unsigned at : batch)
            if (WindowEntry* entry = EntryAtIndex(current.windowList, static_cast<int>(at))) entries.push_back(entry);
        if (UniqueWindowDc dc{window}) PresentTiles(current, dc.get(), entries);
    }
    if (done && NeedsFinalRepaint(current.tilesPresented)) RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_NOERASE);
}
