#include "windows/printthread.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <new>
#include <vector>

#include "common/platform.h"
#include "common/system.h"
#include "common/text.h"
#include "windows/officedocs.h"

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

namespace {

// A print thread only waits for the window: a small stack, so that threads left waiting for a
// window that never answers cost next to nothing.
constexpr SIZE_T kPrintThreadStack = 64 * 1024;

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

}  // namespace

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

void AbandonPrint(PendingPrint* pending)
{
    if (!pending->job) return;
    DropAbandonedBitmap(pending->job);
    ReleasePrintJob(pending->job);
    pending->job = nullptr;
    pending->thread.reset();
}

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

PrintOutcome PrintInto(HWND window, HDC reference, HDC target, int width, int height, const CaptureContext& context)
{
    PendingPrint pending;
    if (!StartPrint(window, reference, width, height, &pending)) return PrintOutcome::TimedOut;
    return FinishPrint(&pending, target, width, height, context);
}

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
