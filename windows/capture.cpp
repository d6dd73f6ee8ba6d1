#include "windows/capture.h"

#include <cwchar>

#include "common/monitors.h"
#include "common/platform.h"
#include "common/system.h"
#include "common/text.h"
#include "windows/captureparts.h"
#include "windows/officedocs.h"
#include "windows/printthread.h"
#include "windows/windowlist.h"

namespace {

constexpr int kMargin = 30;
constexpr UINT kPrintFullContent = 0x2;  // PW_RENDERFULLCONTENT

}  // namespace

bool PauseUnlessStopped(HANDLE stop, DWORD ms)
{
    if (!stop) {
        Sleep(ms);
        return true;
    }
    return WaitForSingleObject(stop, ms) != WAIT_OBJECT_0;
}

bool ClassIs(const wchar_t* className, const wchar_t* expected) { return wcscmp(className, expected) == 0; }

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
