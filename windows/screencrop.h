// Capturing a window under Wine by cropping it from the picture of the screen (common/platform.h).
#pragma once

#include <windows.h>

#include "windows/capture.h"

// Under Wine, another program's window (but an Office document) is not printed: its picture is
// cropped from the screen picture, once the window has answered a null message as it would have to
// answer a print. The request needs no thread: its answer arrives in the asking thread while that
// thread handles its messages.
bool CropsFromScreenGrab(HWND window, const CaptureContext& context);
struct AnswerRequest {
    HWND window = nullptr;
    bool asked = false;     // the request went out (a window known to be hung is not asked)
    DWORD askedAt = 0;      // the tick count when it went out: its time limit counts from then
    bool answered = false;  // set when the answer arrives
};
// Sends the request. The record must stay where it is until the asking thread has ended.
void AskToAnswer(AnswerRequest* request);
// Handles the calling thread's waiting messages and says whether the window's crop can be taken
// without waiting: it has answered, or it was not asked.
bool AnswerIsIn(const AnswerRequest& request);
// Waits for the answer until kPrintTimeoutMs from the request and no longer than the stop event,
// handling the calling thread's messages meanwhile, then crops the window from the screen picture
// and patches its corners. A window that did not answer (or was not asked) gives an incomplete capture.
CaptureResult CaptureFromScreenGrab(const AnswerRequest& request, const CaptureContext& context);
