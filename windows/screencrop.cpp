#include "windows/screencrop.h"

#include "common/owners.h"
#include "common/platform.h"
#include "windows/captureparts.h"
#include "windows/officedocs.h"
#include "windows/windowlist.h"

namespace {

VOID CALLBACK AnswerArrived(HWND, UINT, ULONG_PTR answered, LRESULT)
{
    reinterpret_cast<AnswerRequest*>(answered)->answered = true;
}

// Handles the messages waiting for this thread: an answer is one of them.
void HandleWaitingMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

// Waits for the request's answer, handling this thread's messages, until kPrintTimeoutMs from the
// request and no longer than a stop request.
PrintOutcome WaitForAnswer(const AnswerRequest& request, HANDLE stop)
{
    for (;;) {
        HandleWaitingMessages();
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

bool AnswerIsIn(const AnswerRequest& request)
{
    HandleWaitingMessages();
    return !request.asked || request.answered;
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
