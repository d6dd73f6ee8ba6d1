#include "windows/capture.h"

#include <algorithm>
#include <atomic>
#include <cwchar>
#include <mutex>
#include <new>
#include <vector>

#include "common/monitors.h"
#include "common/platform.h"
#include "common/system.h"
#include "common/text.h"
#include "windows/collect.h"
#include "windows/windowlist.h"

namespace {

constexpr wchar_t kConsoleClass[] = L"ConsoleWindowClass";
constexpr int kMargin = 30;
constexpr UINT kPrintFullContent = 0x2;  // PW_RENDERFULLCONTENT
// A print thread only waits for the window: a small stack, so that threads left waiting for a
// window that never answers cost next to nothing.
constexpr SIZE_T kPrintThreadStack = 64 * 1024;

// One print request, shared by the worker and the print thread and released by whichever lets go
// last. The print thread may stay blocked for good in a window that never answers; everything big
// leaves the job when the worker stops waiting, so such a thread keeps only itself and a context.
struct PrintJob {
    LONG references;
    HWND window;
    // Under Wine another process's window is copied from the screen picture by the worker; the
    // thread only asks the window to answer, as it would have to answer WM_PRINT.
    bool fromScreenGrab;
    std::atomic<bool> answered;
    // The print's own context and bitmap (not used with the screen picture).
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previous;  // what the bitmap replaced in dc; null once the bitmap has gone
};

// Windows whose print thread has not ended yet. A window still keeping an earlier print waiting is
// not asked again: it gets the notice at once, and a hung window never holds more than one thread.
std::mutex printsInFlightLock;  // guards printsInFlight
std::vector<HWND> printsInFlight;

bool BeginPrint(HWND window)
{
    std::lock_guard<std::mutex> hold(printsInFlightLock);
    if (std::find(printsInFlight.begin(), printsInFlight.end(), window) != printsInFlight.end()) return false;
    printsInFlight.push_back(window);
    return true;
}

void EndPrint(HWND window)
{
    std::lock_guard<std::mutex> hold(printsInFlightLock);
    const auto found = std::find(printsInFlight.begin(), printsInFlight.end(), window);
    if (found != printsInFlight.end()) printsInFlight.erase(found);
}

void ReleasePrintJob(PrintJob* job)
{
    if (InterlockedDecrement(&job->references) != 0) return;
    if (job->previous) SelectObject(job->dc, job->previous);
    if (job->bitmap) DeleteObject(job->bitmap);
    if (job->dc) DeleteDC(job->dc);
    delete job;
}

// The worker no longer waits for the print: the window-sized bitmap goes now. When the context is
// busy in the print thread's hands, the bitmap stays and goes with the job.
void DropAbandonedBitmap(PrintJob* job)
{
    if (!job->previous || !SelectObject(job->dc, job->previous)) return;
    DeleteObject(job->bitmap);
    job->bitmap = nullptr;
    job->previous = nullptr;
}

DWORD WINAPI PrintThread(LPVOID parameter)
{
    auto* job = static_cast<PrintJob*>(parameter);
    if (job->fromScreenGrab) {
        DWORD_PTR ignored = 0;
        job->answered = SendMessageTimeoutW(job->window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kPrintTimeoutMs,
                                            &ignored) != 0;
    } else {
        // The system's version does not change while we run: read once, by the first print.
        static const UINT flags = PrintFlagsForVersion(RealOsVersion().major, RealOsVersion().minor);
        PrintWindow(job->window, job->dc, flags);
    }
    EndPrint(job->window);
    ReleasePrintJob(job);
    return 0;
}

enum class PrintOutcome { Printed, TimedOut, Stopped };

// A print under way: its job and its thread.
struct PendingPrint {
    PrintJob* job = nullptr;
    UniqueHandle thread;
    DWORD startedAt = 0;  // the tick count when the print began: its time limit counts from then
};

// Starts the print of the window (width x height) on a print thread of its own; false when it
// cannot be started (counts as not answering).
bool StartPrint(HWND window, HDC reference, int width, int height, PendingPrint* pending)
{
    auto* job = new (std::nothrow) PrintJob{};
    if (!job) return false;
    job->references = 1;
    job->window = window;
    job->fromScreenGrab = PrintsFromScreenGrab(window);
    if (!job->fromScreenGrab) {
        job->dc = CreateCompatibleDC(reference);
        job->bitmap = CreateCompatibleBitmap(reference, width, height);
        job->previous = job->dc && job->bitmap ? SelectObject(job->dc, job->bitmap) : nullptr;
        if (!job->previous) {
            ReleasePrintJob(job);
            return false;
        }
    }
    if (!BeginPrint(window)) {
        ReleasePrintJob(job);
        return false;
    }
    job->references = 2;
    UniqueHandle thread(CreateThread(nullptr, kPrintThreadStack, PrintThread, job, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
    if (!thread) {
        EndPrint(window);
        InterlockedDecrement(&job->references);  // the thread's share
        ReleasePrintJob(job);
        return false;
    }
    pending->job = job;
    pending->thread = std::move(thread);
    pending->startedAt = GetTickCount();
    return true;
}

// The worker no longer waits for the print: its share of the job goes, and the big part with it.
void AbandonPrint(PendingPrint* pending)
{
    if (!pending->job) return;
    DropAbandonedBitmap(pending->job);
    ReleasePrintJob(pending->job);
    pending->job = nullptr;
    pending->thread.reset();
}

// Waits for a started print until kPrintTimeoutMs from its start (a print begun ahead has had
// part of its time already) and no longer than a stop request, then copies it into `target`
// (width x height).
PrintOutcome FinishPrint(PendingPrint* pending, HDC target, int width, int height, const CaptureContext& context)
{
    PrintJob* job = pending->job;
    if (!job) return PrintOutcome::TimedOut;
    const HANDLE waits[2] = {pending->thread.get(), context.stop};
    const DWORD result = WaitForMultipleObjects(context.stop ? 2 : 1, waits, FALSE,
                                                TimeLeft(pending->startedAt, GetTickCount(), kPrintTimeoutMs));
    if (result != WAIT_OBJECT_0) {
        AbandonPrint(pending);
        return result == WAIT_OBJECT_0 + 1 ? PrintOutcome::Stopped : PrintOutcome::TimedOut;
    }
    PrintOutcome outcome = PrintOutcome::TimedOut;
    if (!job->fromScreenGrab) {
        BitBlt(target, 0, 0, width, height, job->dc, 0, 0, SRCCOPY);
        outcome = PrintOutcome::Printed;
    } else if (job->answered && CopyWindowFromScreenGrab(context.screenGrab, job->window, target)) {
        outcome = PrintOutcome::Printed;
    }
    ReleasePrintJob(job);
    pending->job = nullptr;
    pending->thread.reset();
    return outcome;
}

// Prints the window into `target` (width x height) on a print thread of its own, waiting for it
// at most kPrintTimeoutMs and no longer than a stop request.
PrintOutcome PrintInto(HWND window, HDC reference, HDC target, int width, int height, const CaptureContext& context)
{
    PendingPrint pending;
    if (!StartPrint(window, reference, width, height, &pending)) return PrintOutcome::TimedOut;
    return FinishPrint(&pending, target, width, height, context);
}

// Waits `ms`, or less when `stop` (may be null) is signalled meanwhile: false then.
bool PauseUnlessStopped(HANDLE stop, DWORD ms)
{
    if (!stop) {
        Sleep(ms);
        return true;
    }
    return WaitForSingleObject(stop, ms) != WAIT_OBJECT_0;
}

bool ClassIs(const wchar_t* className, const wchar_t* expected) { return wcscmp(className, expected) == 0; }

// The size the window prints at from its rectangle (PrintSizeFor over what the system says now).
// Wine stretches no window, whatever its DPI: there the rectangle's size.
SIZE PrintSizeOf(HWND window, const RECT& rect)
{
    // From Windows 10 1607 on.
    using GetDpiFunction = UINT(WINAPI*)(HWND);
    static const GetDpiFunction getDpi =
        ProcedureOf<GetDpiFunction>(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow");
    UINT windowDpi = 0, monitorDpi = 0;
    if (getDpi && !RunningUnderWine()) {
        windowDpi = getDpi(window);
        if (FAILED(AskMonitorDpi(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitorDpi))) monitorDpi = 0;
    }
    return PrintSizeFor(rect, windowDpi, monitorDpi);
}

// Office document windows print their application's frame in their stead.
PrintOutcome PrintDocumentWindow(HWND window, HDC reference, HDC memory, UniqueBitmap* bitmap, int* width,
                                 int* height, const CaptureContext& context)
{
    static const OfficeFrameSlots kNoFrames{};
    const OfficeFrameSlots& frames = context.officeFrames ? *context.officeFrames : kNoFrames;
    const DWORD pauseMs = context.documentPauseMs;
    ShowWindowAsync(window, SW_SHOWNOACTIVATE);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    auto pause = [&] { return PauseUnlessStopped(context.stop, pauseMs); };
    if (!pause()) return PrintOutcome::Stopped;
    if (processId == frames[2].processId && !pause()) return PrintOutcome::Stopped;
    PrintOutcome outcome = PrintInto(window, reference, memory, *width, *height, context);
    if (outcome != PrintOutcome::Printed) return outcome;

    wchar_t title[kTitleBuffer] = {};
    ReadWindowTitle(window, title, kTitleBuffer);
    for (const OfficeFrameSlot& slot : frames) {
        if (!slot.frameHwnd) continue;
        wchar_t frameTitle[kTitleBuffer] = {};
        ReadWindowTitle(slot.frameHwnd, frameTitle, kTitleBuffer);
        if (!wcsstr(frameTitle, title)) continue;
        const SIZE frameSize = PrintSizeOf(slot.frameHwnd, slot.frameRect);
        const int frameWidth = frameSize.cx, frameHeight = frameSize.cy;
        HBITMAP frameBitmap = CreateCaptureBitmap(frameWidth, frameHeight);
        if (!frameBitmap) break;
        // The document's own bitmap leaves the context and is deleted.
        SelectObject(memory, frameBitmap);
        bitmap->reset(frameBitmap);
        *width = frameWidth;
        *height = frameHeight;
        return PrintInto(slot.frameHwnd, reference, memory, frameWidth, frameHeight, context);
    }
    return outcome;
}

// Paints the rounded top corners (or, maximized, the edges) of a capture in the colour given; the
// patches grow with the screen's scale, as the frames they cover do.
void PatchCorners(HWND window, HDC dc, int width, int height, int dpi, COLORREF colour)
{
    auto px = [dpi](int value) { return MulDiv(value, dpi, 96); };
    UniquePen noOutline(CreatePen(PS_NULL, 0, 0));
    SelectGuard pen(dc, noOutline.get());
    SelectGuard brush(dc, GetStockObject(DC_BRUSH));
    SetDCBrushColor(dc, colour);
    if (IsZoomed(window)) {
        Rectangle(dc, 0, 0, width + 1, px(5));
        Rectangle(dc, 0, 0, px(5), height + 1);
        Rectangle(dc, 0, height - px(4), width + 1, height + 1);
        Rectangle(dc, width - px(4), 0, width + 1, height + 1);
        return;
    }
    const POINT left[6] = {{0, 0}, {px(6), 0}, {px(5), -px(1)}, {-px(1), px(5)}, {0, px(6)}, {0, 0}};
    const POINT right[6] = {{width + px(1), 0},        {width - px(6), 0},        {width - px(6), -px(1)},
                            {width + px(2), px(5)},    {width + px(1), px(10)},   {width + px(1), 0}};
    const BYTE kinds[6] = {PT_MOVETO, PT_LINETO, PT_BEZIERTO, PT_BEZIERTO, PT_BEZIERTO, PT_LINETO | PT_CLOSEFIGURE};
    for (const POINT* patch : {left, right}) {
        BeginPath(dc);
        PolyDraw(dc, patch, kinds, 6);
        EndPath(dc);
        FillPath(dc);
    }
}

bool IsDocumentClass(const wchar_t* className)
{
    return ClassIs(className, L"MS-SDIa") || ClassIs(className, L"MS-SDIb");
}

}  // namespace

struct PrintAhead {
    PendingPrint print;
    wchar_t className[kTitleBuffer];
    int width;   // the window's print size when the print began: the capture's size
    int height;
};

PrintAhead* StartPrintAhead(HWND window)
{
    RECT rect{};
    if (!GetWindowRect(window, &rect) || rect.right <= rect.left || rect.bottom <= rect.top) return nullptr;
    wchar_t className[kTitleBuffer] = {};
    GetClassNameW(window, className, kTitleMaxRead);
    if (IsDocumentClass(className) || IsHungAppWindow(window)) return nullptr;
    auto* ahead = new (std::nothrow) PrintAhead{};
    if (!ahead) return nullptr;
    CopyBounded(ahead->className, kTitleBuffer, className);
    const SIZE size = PrintSizeOf(window, rect);
    ahead->width = size.cx;
    ahead->height = size.cy;
    HDC screen = GetDC(nullptr);
    const bool started = StartPrint(window, screen, ahead->width, ahead->height, &ahead->print);
    ReleaseDC(nullptr, screen);
    if (!started) {
        delete ahead;
        return nullptr;
    }
    return ahead;
}

void ReleasePrintAhead(PrintAhead* ahead)
{
    if (!ahead) return;
    AbandonPrint(&ahead->print);
    delete ahead;
}

DWORD TimeLeft(DWORD startedAt, DWORD now, DWORD limitMs)
{
    const DWORD waited = now - startedAt;  // unsigned: right across the wrap
    return waited >= limitMs ? 0 : limitMs - waited;
}

UINT PrintFlagsForVersion(DWORD major, DWORD minor)
{
    const bool fullContentKnown = major > 6 || (major == 6 && minor >= 3);
    return fullContentKnown ? kPrintFullContent : 0;
}

bool IsSnapshotComplete(const DWORD* pixels, size_t count)
{
    if (!pixels) return false;
    for (size_t i = 0; i < count; ++i)
        if ((pixels[i] & 0x00FFFFFFu) != 0) return true;
    return false;
}

bool CaptureHoldsImage(HBITMAP capture)
{
    DIBSECTION section{};
    if (GetObjectW(capture, sizeof section, &section) != sizeof section || !section.dsBm.bmBits ||
        section.dsBm.bmBitsPixel != 32)
        return true;
    GdiFlush();  // drawing into the section may still be batched
    const size_t count = static_cast<size_t>(section.dsBm.bmWidth) * static_cast<size_t>(section.dsBm.bmHeight);
    return IsSnapshotComplete(static_cast<const DWORD*>(section.dsBm.bmBits), count);
}

HBITMAP CreateCaptureBitmap(int width, int height) { return CreateTopDownSection(width, height); }

SIZE PrintSizeFor(const RECT& window, UINT windowDpi, UINT monitorDpi)
{
    const int width = window.right - window.left, height = window.bottom - window.top;
    if (windowDpi == 0 || monitorDpi == 0 || windowDpi == monitorDpi) return SIZE{width, height};
    const int scale = static_cast<int>(windowDpi), over = static_cast<int>(monitorDpi);
    return SIZE{MulDiv(width, scale, over), MulDiv(height, scale, over)};
}

RECT FitSnapshot(int w, int h, int tw, int th, int dpi)
{
    const int margin = MulDiv(kMargin, dpi, 96);
    const int roomW = tw - margin, roomH = th - margin;
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
    return RECT{tw / 2 - fw / 2, th / 2 - fh / 2, fw / 2 + tw / 2, th / 2 + fh / 2};
}

CaptureResult CaptureWindow(HWND window, const CaptureContext& context, PrintAhead* ahead)
{
    const HANDLE stop = context.stop;
    const int dpi = context.dpi;
    CaptureResult result{};
    RECT rect{};
    const SIZE size = ahead || !GetWindowRect(window, &rect) ? SIZE{} : PrintSizeOf(window, rect);
    result.width = ahead ? ahead->width : size.cx;
    result.height = ahead ? ahead->height : size.cy;
    if (result.width <= 0 || result.height <= 0) return result;

    // Prints land in a 32-bit section whose pixels the blank test reads directly; the window's own
    // context is not needed for them (and under Wine asking another process's window for it costs a
    // round of the server).
    UniqueWindowDc screenDc(nullptr, GetDC(nullptr));
    UniqueMemoryDc memory(screenDc ? CreateCompatibleDC(screenDc.get()) : nullptr);
    UniqueBitmap bitmap(CreateCaptureBitmap(result.width, result.height));
    if (!screenDc || !memory || !bitmap) {
        ReleasePrintAhead(ahead);
        return result;
    }
    HDC dc = memory.get();
    {
        SelectGuard hold(dc, bitmap.get());  // let go before the bitmap is handed out
        wchar_t className[kTitleBuffer] = {};
        if (ahead)
            CopyBounded(className, kTitleBuffer, ahead->className);
        else
            GetClassNameW(window, className, kTitleMaxRead);
        const bool document = IsDocumentClass(className);
        // A window the system already knows to be hung is not asked: it would only time out. (A
        // print begun ahead was begun only for a window that was not hung.)
        const bool hung = !ahead && IsHungAppWindow(window) != FALSE;
        for (int attempt = 1; !hung && attempt <= kCaptureAttempts; ++attempt) {
            PrintOutcome outcome;
            if (ahead)  // never begun for a document
                outcome = FinishPrint(&ahead->print, dc, result.width, result.height, context);
            else if (document)
                outcome = PrintDocumentWindow(window, screenDc.get(), dc, &bitmap, &result.width, &result.height,
                                              context);
            else
                outcome = PrintInto(window, screenDc.get(), dc, result.width, result.height, context);
            ReleasePrintAhead(ahead);  // only the first attempt was begun ahead
            ahead = nullptr;
            if (ClassIs(className, kConsoleClass)) {
                result.complete = true;
                break;
            }
            // A window that did not answer in time will not answer the next attempts either.
            if (outcome != PrintOutcome::Printed) {
                result.complete = false;
                break;
            }
            result.complete = CaptureHoldsImage(bitmap.get());
            if (result.complete || attempt == kCaptureAttempts) break;
            // A window that has not drawn yet gets a moment before it is asked again.
            if (!PauseUnlessStopped(stop, kBlankRetryPauseMs)) break;
        }
        PatchCorners(window, dc, result.width, result.height, dpi, context.corners);
    }
    result.bitmap = std::move(bitmap);
    return result;
}

namespace {

VOID CALLBACK AnswerArrived(HWND, UINT, ULONG_PTR answered, LRESULT)
{
    reinterpret_cast<AnswerRequest*>(answered)->answered = true;
}

// Waits for the request's answer, handling this thread's messages (the answer is one of them),
// until kPrintTimeoutMs from the request and no longer than a stop request.
PrintOutcome WaitForAnswer(const AnswerRequest& request, HANDLE stop)
{
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        if (request.answered) return PrintOutcome::Printed;
        const DWORD left = TimeLeft(request.askedAt, GetTickCount(), kPrintTimeoutMs);
        if (left == 0) return PrintOutcome::TimedOut;
        const DWORD result = MsgWaitForMultipleObjects(stop ? 1 : 0, &stop, FALSE, left, QS_ALLINPUT);
        if (stop && result == WAIT_OBJECT_0) return PrintOutcome::Stopped;
    }
}

}  // namespace

bool CropsFromScreenGrab(HWND window, const CaptureContext& context)
{
    if (!context.screenGrab || !PrintsFromScreenGrab(window)) return false;
    wchar_t className[kTitleBuffer] = {};
    GetClassNameW(window, className, kTitleMaxRead);
    return !IsDocumentClass(className);
}

void AskToAnswer(AnswerRequest* request)
{
    // A window the system already knows to be hung is not asked: it would not answer.
    request->askedAt = GetTickCount();
    request->asked = !IsHungAppWindow(request->window) &&
                     SendMessageCallbackW(request->window, WM_NULL, 0, 0, AnswerArrived,
                                          reinterpret_cast<ULONG_PTR>(request)) != FALSE;
}

CaptureResult CaptureFromScreenGrab(const AnswerRequest& request, const CaptureContext& context)
{
    CaptureResult result{};
    RECT rect{};
    GetWindowRect(request.window, &rect);
    result.width = rect.right - rect.left;
    result.height = rect.bottom - rect.top;
    if (result.width <= 0 || result.height <= 0) return result;
    UniqueWindowDc screenDc(nullptr, GetDC(nullptr));
    UniqueMemoryDc memory(screenDc ? CreateCompatibleDC(screenDc.get()) : nullptr);
    UniqueBitmap bitmap(CreateCaptureBitmap(result.width, result.height));
    if (!screenDc || !memory || !bitmap) return result;
    {
        SelectGuard hold(memory.get(), bitmap.get());  // let go before the bitmap is handed out
        // The picture cannot change: a blank crop is not taken again (a console's counts as it is).
        if (request.asked && WaitForAnswer(request, context.stop) == PrintOutcome::Printed &&
            CopyWindowFromScreenGrab(context.screenGrab, request.window, memory.get())) {
            wchar_t className[kTitleBuffer] = {};
            GetClassNameW(request.window, className, kTitleMaxRead);
            result.complete = ClassIs(className, kConsoleClass) || CaptureHoldsImage(bitmap.get());
        }
        PatchCorners(request.window, memory.get(), result.width, result.height, context.dpi, context.corners);
    }
    result.bitmap = std::move(bitmap);
    return result;
}
