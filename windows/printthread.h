// Printing a window on a thread of its own, which only waits for that window: the print threads,
// the windows whose print is still in flight, and the wait for a print, bounded by kPrintTimeoutMs
// and the stop event. Under Wine the thread of another program's window only asks it to answer,
// and the waiter copies it from the screen picture. A print may begin before its window's turn
// (StartPrintAhead, windows/capture.h).
#pragma once

#include <windows.h>

#include "common/owners.h"
#include "windows/capture.h"
#include "windows/captureparts.h"
#include "windows/windowlist.h"

struct PrintJob;  // shared by the print thread and its waiter (printthread.cpp)

// A print under way: its job and its thread.
struct PendingPrint {
    PrintJob* job = nullptr;
    UniqueHandle thread;
    DWORD startedAt = 0;  // the tick count when the print began: its time limit counts from then
};

// Starts the print of the window (width x height) on a print thread of its own; false when it
// cannot be started (counts as not answering).
bool StartPrint(HWND window, HDC reference, int width, int height, PendingPrint* pending);
// The worker no longer waits for the print: its share of the job goes, and the big part with it.
void AbandonPrint(PendingPrint* pending);
// Waits for a started print until kPrintTimeoutMs from its start (a print begun ahead has had
// part of its time already) and no longer than a stop request, then copies it into `target`
// (width x height).
PrintOutcome FinishPrint(PendingPrint* pending, HDC target, int width, int height, const CaptureContext& context);
// Prints the window into `target` (width x height) on a print thread of its own, waiting for it
// at most kPrintTimeoutMs and no longer than a stop request.
PrintOutcome PrintInto(HWND window, HDC reference, HDC target, int width, int height, const CaptureContext& context);

// A first print begun ahead, with what CaptureWindow takes over from it.
struct PrintAhead {
    PendingPrint print;
    wchar_t className[kTitleBuffer];
    int width;   // the window's print size when the print began: the capture's size
    int height;
};
