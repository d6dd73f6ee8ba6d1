#include "windows/capture.h"

#include <cstring>
#include <mutex>
#include <new>

#include "app/app.h"
#include "common/owners.h"
#include "common/platform.h"
#include "overview/lifecycle.h"
#include "overview/tiles.h"
#include "windows/collect.h"
#include "windows/windowlist.h"

HANDLE snapshotWorker;

namespace {

constexpr char kConsoleClass[] = "ConsoleWindowClass";
constexpr int kMargin = 30;
constexpr int kSampleCount = 10;
constexpr int kLowerRow = 55;
constexpr int kUpperRow = 60;
constexpr int kBlankThreshold = 11;

// One print request: its own memory context and bitmap, shared by the worker and the print
// thread and released by whichever lets go last, so an abandoned print never touches anything
// that was released or reused.
struct PrintJob {
    LONG references;
    HWND window;
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previous;
    ScreenGrab* grab;
};

void ReleasePrintJob(PrintJob* job)
{
    if (InterlockedDecrement(&job->references) != 0) return;
    SelectObject(job->dc, job->previous);
    DeleteObject(job->bitmap);
    DeleteDC(job->dc);
    ReleaseScreenGrabReference(job->grab);
    delete job;
}

DWORD WINAPI PrintThread(LPVOID parameter)
{
    auto* job = static_cast<PrintJob*>(parameter);
    if (job->grab) {
        // The picture stands in for the print; the window still has to answer, as it would
        // have to answer WM_PRINT, so a hung window times out here as it does on Windows.
        SendMessageA(job->window, WM_NULL, 0, 0);
        CopyWindowFromScreenGrab(job->grab, job->window, job->dc);
    } else {
        PrintWindow(job->window, job->dc, 0);
    }
    ReleasePrintJob(job);
    return 0;
}

enum class PrintOutcome { Printed, TimedOut, Stopped };

// Prints the window into `target` (width x height) on a print thread of its own, waiting for it
// at most kPrintTimeoutMs and no longer than a stop request.
PrintOutcome PrintInto(HWND window, HDC reference, HDC target, int width, int height)
{
    auto* job = new (std::nothrow) PrintJob{};
    if (!job) return PrintOutcome::TimedOut;
    job->references = 2;
    job->window = window;
    job->dc = CreateCompatibleDC(reference);
    job->bitmap = CreateCompatibleBitmap(reference, width, height);
    job->previous = job->dc && job->bitmap ? SelectObject(job->dc, job->bitmap) : nullptr;
    job->grab = PrintsFromScreenGrab(window) ? AcquireScreenGrab() : nullptr;
    if (!job->previous) {
        job->references = 1;
        if (job->bitmap) DeleteObject(job->bitmap);
        if (job->dc) DeleteDC(job->dc);
        ReleaseScreenGrabReference(job->grab);
        delete job;
        return PrintOutcome::TimedOut;
    }
    UniqueHandle thread(CreateThread(nullptr, 0, PrintThread, job, 0, nullptr));
    if (!thread) {
        InterlockedDecrement(&job->references);  // the thread's share
        ReleasePrintJob(job);
        return PrintOutcome::TimedOut;
    }
    const HANDLE waits[2] = {thread.get(), SnapshotStopEvent()};
    const DWORD result = WaitForMultipleObjects(2, waits, FALSE, kPrintTimeoutMs);
    PrintOutcome outcome = PrintOutcome::TimedOut;
    if (result == WAIT_OBJECT_0) {
        BitBlt(target, 0, 0, width, height, job->dc, 0, 0, SRCCOPY);
        outcome = PrintOutcome::Printed;
    } else if (result == WAIT_OBJECT_0 + 1) {
        outcome = PrintOutcome::Stopped;
    }
    ReleasePrintJob(job);
    return outcome;
}

bool ClassIs(const char* className, const char* expected) { return strcmp(className, expected) == 0; }

// Office document windows print their application's frame in their stead.
PrintOutcome PrintDocumentWindow(HWND window, HDC reference, HDC memory, HBITMAP* bitmap, int* width, int* height)
{
    ShowWindowAsync(window, SW_SHOWNOACTIVATE);
    const DWORD pause = 330000u / (processorMHz ? processorMHz : 500);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    const HANDLE stop = SnapshotStopEvent();
    if (WaitForSingleObject(stop, pause) == WAIT_OBJECT_0) return PrintOutcome::Stopped;
    if (processId == OfficeFrames[2].processId && WaitForSingleObject(stop, pause) == WAIT_OBJECT_0)
        return PrintOutcome::Stopped;
    PrintOutcome outcome = PrintInto(window, reference, memory, *width, *height);
    if (outcome != PrintOutcome::Printed) return outcome;

    char title[kTitleBuffer] = {};
    ReadWindowTitle(window, title, sizeof title);
    for (const OfficeFrameSlot& slot : OfficeFrames) {
        if (!slot.frameHwnd) continue;
        char frameTitle[kTitleBuffer] = {};
        ReadWindowTitle(slot.frameHwnd, frameTitle, sizeof frameTitle);
        if (!strstr(frameTitle, title)) continue;
        const int frameWidth = slot.frameRect.right - slot.frameRect.left;
        const int frameHeight = slot.frameRect.bottom - slot.frameRect.top;
        HBITMAP frameBitmap = CreateCompatibleBitmap(reference, frameWidth, frameHeight);
        if (!frameBitmap) break;
        // The document's own bitmap leaves the context and is deleted.
        DeleteObject(SelectObject(memory, frameBitmap));
        *bitmap = frameBitmap;
        *width = frameWidth;
        *height = frameHeight;
        return PrintInto(slot.frameHwnd, reference, memory, frameWidth, frameHeight);
    }
    return outcome;
}

// Paints the rounded top corners (or, maximized, the edges) of a capture in the frame colour.
void PatchCorners(HWND window, HDC dc, int width, int height)
{
    UniquePen noOutline(CreatePen(PS_NULL, 0, 0));
    SelectGuard pen(dc, noOutline.get());
    SelectGuard brush(dc, GetSysColorBrush(COLOR_INACTIVECAPTION));
    if (IsZoomed(window)) {
        Rectangle(dc, 0, 0, width + 1, 5);
        Rectangle(dc, 0, 0, 5, height + 1);
        Rectangle(dc, 0, height - 4, width + 1, height + 1);
        Rectangle(dc, width - 4, 0, width + 1, height + 1);
        return;
    }
    const POINT left[6] = {{0, 0}, {6, 0}, {5, -1}, {-1, 5}, {0, 6}, {0, 0}};
    const POINT right[6] = {{width + 1, 0}, {width - 6, 0}, {width - 6, -1}, {width + 2, 5}, {width + 1, 10}, {width + 1, 0}};
    const BYTE kinds[6] = {PT_MOVETO, PT_LINETO, PT_BEZIERTO, PT_BEZIERTO, PT_BEZIERTO, PT_LINETO | PT_CLOSEFIGURE};
    for (const POINT* patch : {left, right}) {
        BeginPath(dc);
        PolyDraw(dc, patch, kinds, 6);
        EndPath(dc);
        FillPath(dc);
    }
}

struct WorkerTools {
    HWND window;
    UniqueWindowDc overview;
    UniquePen buttonPen;
    HFONT font;
    int tileWidth;
};

void ComposeTile(WorkerTools& tools, WindowEntry* entry)
{
    CaptureResult capture = CaptureWindow(entry);
    if (snapshotStopRequested) {
        if (capture.bitmap) DeleteObject(capture.bitmap);
        return;
    }
    std::lock_guard<std::mutex> hold(tileImagesLock);
    if (capture.bitmap) {
        DrawSnapshotIntoTile(entry, capture.bitmap, capture.width, capture.height, capture.complete,
                             tools.tileWidth, tools.font, tools.buttonPen.get());
        DeleteObject(capture.bitmap);
    }
    PresentTileLocked(tools.overview.get(), entry, entry == windowList.selected);
}

WindowEntry* EntryAt(unsigned position)
{
    WindowEntry* entry = windowList.head;
    while (entry && position-- > 0) entry = entry->next;
    return entry;
}

}  // namespace

bool IsSnapshotComplete(int width, int height, HDC capture)
{
    const int y = height - kLowerRow;
    const int step = static_cast<int>(static_cast<unsigned>(width) / kSampleCount);
    auto black = [&](int x, int sampleY) {
        if (x < 0 || x >= width || sampleY < 0 || sampleY >= height) return false;
        return GetPixel(capture, x, sampleY) == RGB(0, 0, 0);
    };
    int blacks = 0;
    for (int i = 1; i <= kSampleCount; ++i) {
        if (black(i * step, y)) ++blacks;
        if (i >= 5 && black(i * step, height - kUpperRow)) ++blacks;
    }
    return blacks < kBlankThreshold;
}

void FitSnapshot(int w, int h, WindowEntry* entry)
{
    const int tw = entry->tile.right - entry->tile.left;
    const int th = entry->tile.bottom - entry->tile.top;
    const int roomW = tw - kMargin, roomH = th - kMargin;
    int fw = w, fh = h;
    if (!(w <= roomW && h <= roomH)) {
        if (w > h) {
            fw = roomW;
            fh = static_cast<int>(static_cast<long long>(h) * roomW / w);
            if (fh > roomH) {
                fh = roomH;
                fw = static_cast<int>(static_cast<long long>(w) * roomH / h);
            }
        } else {
            fh = roomH;
            fw = h > 0 ? static_cast<int>(static_cast<long long>(w) * roomH / h) : 0;
            if (fw > roomW) {
                fw = roomW;
                fh = w > 0 ? static_cast<int>(static_cast<long long>(h) * roomW / w) : 0;
            }
        }
    }
    entry->snapshotRect = {tw / 2 - fw / 2, th / 2 - fh / 2, fw / 2 + tw / 2, th / 2 + fh / 2};
}

CaptureResult CaptureWindow(WindowEntry* entry)
{
    CaptureResult result{};
    HWND window = entry->hwnd;
    RECT rect{};
    GetWindowRect(window, &rect);
    result.width = rect.right - rect.left;
    result.height = rect.bottom - rect.top;
    if (result.width <= 0 || result.height <= 0) {
        FitSnapshot(result.width, result.height, entry);
        return result;
    }

    UniqueWindowDc windowDc;
    {
        HDC dc = GetWindowDC(window);
        // A window that is gone gives no context: work against the screen's instead.
        windowDc = dc ? UniqueWindowDc(window, dc) : UniqueWindowDc(nullptr, GetDC(nullptr));
    }
    if (!windowDc) return result;
    UniqueMemoryDc memory(CreateCompatibleDC(windowDc.get()));
    HBITMAP bitmap = CreateCompatibleBitmap(windowDc.get(), result.width, result.height);
    if (!memory || !bitmap) {
        if (bitmap) DeleteObject(bitmap);
        return result;
    }
    HGDIOBJ original = SelectObject(memory.get(), bitmap);
    HDC dc = memory.get();

    char className[kTitleBuffer] = {};
    GetClassNameA(window, className, kTitleMaxRead);
    const bool document = ClassIs(className, "MS-SDIa") || ClassIs(className, "MS-SDIb");
    for (int attempt = 1; attempt <= kCaptureAttempts; ++attempt) {
        const PrintOutcome outcome =
            document ? PrintDocumentWindow(window, windowDc.get(), dc, &bitmap, &result.width, &result.height)
                     : PrintInto(window, windowDc.get(), dc, result.width, result.height);
        if (ClassIs(className, kConsoleClass)) {
            result.complete = true;
            break;
        }
        // A window that did not answer in time will not answer the next attempts either.
        if (outcome != PrintOutcome::Printed) {
            result.complete = false;
            break;
        }
        result.complete = IsSnapshotComplete(result.width, result.height, dc);
        if (result.complete) break;
    }
    FitSnapshot(result.width, result.height, entry);
    PatchCorners(window, dc, result.width, result.height);
    SelectObject(dc, original);
    result.bitmap = bitmap;
    return result;
}

DWORD WINAPI SnapshotWorker(LPVOID parameter)
{
    static const HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    WorkerTools tools{};
    tools.window = static_cast<HWND>(parameter);
    tools.font = font;
    if (windowList.head) {
        tools.buttonPen.reset(CreatePen(PS_SOLID, 2, RGB(255, 238, 204)));
        tools.tileWidth = windowList.head->tile.right - windowList.head->tile.left;
        tools.overview = UniqueWindowDc(tools.window);
    }
    const bool finished = ForEachInCaptureOrder(
        windowList.count, [] { return snapshotStopRequested.load(); },
        [&](unsigned position) {
            if (WindowEntry* entry = EntryAt(position)) ComposeTile(tools, entry);
        });
    // The whole Overview is repainted at the end. Invalidating does not send to the GUI thread,
    // which may be waiting for this thread to end.
    if (finished && !snapshotStopRequested)
        RedrawWindow(tools.window, nullptr, nullptr, RDW_INVALIDATE | RDW_NOERASE);
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
