#include "overview/worker.h"

#include <memory>
#include <mutex>
#include <new>
#include <vector>

#include "common/instance.h"
#include "common/owners.h"
#include "common/system.h"
#include "overview/scaling.h"
#include "overview/showing.h"
#include "overview/tiles.h"
#include "windows/capture.h"
#include "windows/windowlist.h"

namespace {

// How many windows are asked for their print before their turn: each answers (in its own process)
// while the tiles before it are drawn.
constexpr size_t kPrintsAhead = 4;

struct WorkerTools {
    Showing* current;
    HWND window;
    UniqueWindowDc overview;
    UniquePen buttonPen;
    HFONT font;
    TileDrawingContexts drawing;
    int tileWidth;
    CaptureContext capture;
};

// What a worker is started with.
struct WorkerStart {
    Showing* current;
    HWND window;
};

void ComposeTile(WorkerTools& tools, WindowEntry* entry, PrintAhead* ahead)
{
    Showing& current = *tools.current;
    CaptureResult capture = CaptureWindow(entry, tools.capture, ahead);
    if (current.snapshotStopRequested) return;
    std::lock_guard<std::mutex> hold(tileImagesLock);
    if (capture.bitmap)
        DrawSnapshotIntoTile(entry, capture.bitmap.get(), capture.width, capture.height, capture.complete,
                             tools.tileWidth, current.overviewDpi, tools.font, tools.buttonPen.get(), &tools.drawing);
    PresentTileLocked(current, tools.overview.get(), entry, LookOf(current, entry));
}

}  // namespace

HANDLE SnapshotStopEvent()
{
    if (!showing.snapshotStopEvent) showing.snapshotStopEvent.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    return showing.snapshotStopEvent.get();
}

void RequestSnapshotStop()
{
    showing.snapshotStopRequested = true;
    SetEvent(SnapshotStopEvent());
}

void ClearSnapshotStop()
{
    showing.snapshotStopRequested = false;
    ResetEvent(SnapshotStopEvent());
}

namespace {

DWORD WINAPI SnapshotWorker(LPVOID parameter)
{
    // What the GUI thread handed over; the record outlives this thread (it is released only after
    // the thread has ended).
    const std::unique_ptr<WorkerStart> start(static_cast<WorkerStart*>(parameter));
    Showing& current = *start->current;
    WorkerTools tools{};
    tools.current = &current;
    tools.window = start->window;
    tools.font = OverviewTextFont();
    tools.capture.stop = SnapshotStopEvent();
    // Office documents wait for their frame to come forward: a pause scaled by the clock.
    tools.capture.documentPauseMs = 330000u / (processorMHz ? processorMHz : kDefaultProcessorMHz);
    tools.capture.officeFrames = &current.officeFrames;
    tools.capture.dpi = current.overviewDpi;
    tools.capture.screenGrab = current.screenGrab;
    if (current.windowList.head) {
        tools.buttonPen.reset(CreatePen(PS_SOLID, Scale(2, current.overviewDpi), RGB(255, 238, 204)));
        tools.tileWidth = current.windowList.head->tile.right - current.windowList.head->tile.left;
        tools.overview = UniqueWindowDc(tools.window);
        tools.drawing = CreateTileDrawingContexts();
    }
    std::vector<WindowEntry*> order;
    ForEachInCaptureOrder(
        current.windowList.count, [] { return false; },
        [&](unsigned position) {
            WindowEntry* entry = EntryAtIndex(current.windowList, static_cast<int>(position));
            if (entry) order.push_back(entry);
        });
    // prints[i] is the print begun ahead for order[i]; the first kPrintsAhead begin at once.
    std::vector<PrintAhead*> prints(order.size(), nullptr);
    for (size_t i = 0; i < order.size() && i < kPrintsAhead; ++i) prints[i] = StartPrintAhead(order[i]);
    bool finished = true;
    for (size_t i = 0; i < order.size(); ++i) {
        if (current.snapshotStopRequested) {
            finished = false;
            break;
        }
        if (i + kPrintsAhead < order.size()) prints[i + kPrintsAhead] = StartPrintAhead(order[i + kPrintsAhead]);
        ComposeTile(tools, order[i], prints[i]);
        prints[i] = nullptr;  // CaptureWindow has let go of it
    }
    for (PrintAhead* ahead : prints) ReleasePrintAhead(ahead);
    // The whole Overview is repainted at the end. Invalidating does not send to the GUI thread,
    // which may be waiting for this thread to end.
    if (finished && !current.snapshotStopRequested)
        RedrawWindow(tools.window, nullptr, nullptr, RDW_INVALIDATE | RDW_NOERASE);
    return 0;
}

}  // namespace

void CreateSnapshotWorker(Showing& current, HWND window)
{
    CloseSnapshotWorker();
    auto* start = new (std::nothrow) WorkerStart{&current, window};
    if (!start) return;
    current.snapshotWorker = CreateThread(nullptr, 0, SnapshotWorker, start, CREATE_SUSPENDED, nullptr);
    if (!current.snapshotWorker) delete start;
}

void ResumeSnapshotWorker()
{
    if (!showing.snapshotWorker) return;
    SetThreadPriority(showing.snapshotWorker, THREAD_PRIORITY_HIGHEST);
    ResumeThread(showing.snapshotWorker);
}

void StopAndWaitForWorker()
{
    RequestSnapshotStop();
    if (!showing.snapshotWorker) return;
    // A worker still suspended would never end: let it run into the stop request.
    ResumeThread(showing.snapshotWorker);
    WaitHandlingSentMessages(showing.snapshotWorker, INFINITE);
}

void CloseSnapshotWorker()
{
    if (showing.snapshotWorker) CloseHandle(showing.snapshotWorker);
    showing.snapshotWorker = nullptr;
}
