#include "windows/officedocs.h"

#include <cwchar>

#include "windows/collect.h"
#include "windows/printthread.h"
#include "windows/windowlist.h"

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

bool IsDocumentClass(const wchar_t* className)
{
    return ClassIs(className, L"MS-SDIa") || ClassIs(className, L"MS-SDIb");
}
