#include "common/platform.h"

bool RunningUnderWine()
{
    static const bool underWine = [] {
        HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
        return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
    }();
    return underWine;
}

void RestackTopmostWindow(HWND window)
{
    if (!RunningUnderWine()) return;
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, flags);
}

#include <algorithm>
#include <cstring>
#include <new>

#include "common/monitors.h"
#include "common/system.h"

struct ScreenGrab {
    int left;  // the virtual screen's top-left corner: the picture's (0, 0)
    int top;
    int width;
    int height;
    BITMAPINFO info;
    HBITMAP section;  // the picture, a DIB section (any thread may delete it)
    DWORD* pixels;    // its bits: top-down, 32 bits per pixel
};

namespace {

constexpr int kGrabAttempts = 8;
constexpr DWORD kGrabSettleMs = 40;


ScreenGrab* GrabScreen()
{
    // Every monitor: a window on any of them is printed from the picture.
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    if (width <= 0 || height <= 0) return nullptr;
    auto* grab = new (std::nothrow) ScreenGrab{};
    if (!grab) return nullptr;
    grab->left = left;
    grab->top = top;
    grab->width = width;
    grab->height = height;
    void* bits = nullptr;
    grab->section = CreateTopDownSection(width, height, &grab->info, &bits);
    grab->pixels = static_cast<DWORD*>(bits);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    bool ok = grab->section && memory;
    if (ok) {
        // Straight into the section: one copy of the screen, no conversion afterwards.
        HGDIOBJ old = SelectObject(memory, grab->section);
        ok = BitBlt(memory, 0, 0, width, height, screen, left, top, SRCCOPY) != FALSE;
        SelectObject(memory, old);
        GdiFlush();
    }
    if (memory) DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (!ok) {
        ReleaseScreenGrab(grab);
        return nullptr;
    }
    return grab;
}

DWORD lastOwnWindowLeftTick;
bool ownWindowHasLeft;

}  // namespace

bool PicturesAgreeIn(const DWORD* a, const DWORD* b, int width, int height, const RECT* areas, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const int left = std::max<int>(areas[i].left, 0), right = std::min<int>(areas[i].right, width);
        const int top = std::max<int>(areas[i].top, 0), bottom = std::min<int>(areas[i].bottom, height);
        if (left >= right) continue;
        for (int y = top; y < bottom; ++y) {
            const size_t row = static_cast<size_t>(y) * width;
            if (memcmp(a + row + left, b + row + left, sizeof(DWORD) * (right - left)) != 0) return false;
        }
    }
    return true;
}

std::vector<RECT> AreasOnMonitors(const RECT* areas, size_t count, const std::vector<RECT>& monitors, POINT origin)
{
    std::vector<RECT> parts;
    for (size_t i = 0; i < count; ++i) {
        for (const RECT& monitor : monitors) {
            RECT part{};
            if (!IntersectRect(&part, &areas[i], &monitor)) continue;
            OffsetRect(&part, -origin.x, -origin.y);
            parts.push_back(part);
        }
    }
    return parts;
}

bool ScreenNeedsSettling(DWORD msSinceOwnWindowLeft, unsigned restoredWindows)
{
    return restoredWindows > 0 || msSinceOwnWindowLeft < kUncoveredRepaintMs;
}

void NoteOwnWindowLeftScreen()
{
    lastOwnWindowLeftTick = GetTickCount();
    ownWindowHasLeft = true;
}

DWORD MsSinceOwnWindowLeftScreen()
{
    return ownWindowHasLeft ? GetTickCount() - lastOwnWindowLeftTick : MAXDWORD;
}

ScreenGrab* TakeScreenGrab() { return RunningUnderWine() ? GrabScreen() : nullptr; }

void SettleScreenGrab(ScreenGrab** current, const RECT* areas, size_t count)
{
    if (!RunningUnderWine()) return;
    // What was just uncovered repaints in its own process: give it a moment before the first grab.
    Sleep(kGrabSettleMs);
    ScreenGrab* previous = GrabScreen();
    // Only what lies on a monitor is compared: the rest of the virtual screen is nobody's picture.
    const std::vector<RECT> inPicture =
        previous ? AreasOnMonitors(areas, count, MonitorRects(), POINT{previous->left, previous->top})
                 : std::vector<RECT>();
    for (int attempt = 0; previous && attempt < kGrabAttempts; ++attempt) {
        Sleep(kGrabSettleMs);
        ScreenGrab* next = GrabScreen();
        if (!next) break;
        const bool settled = previous->left == next->left && previous->top == next->top &&
                             previous->width == next->width && previous->height == next->height &&
                             PicturesAgreeIn(previous->pixels, next->pixels, next->width, next->height,
                                             inPicture.data(), inPicture.size());
        ReleaseScreenGrab(previous);
        previous = next;
        if (settled) break;
    }
    if (!previous) return;  // the picture taken at once stays
    ReleaseScreenGrab(*current);
    *current = previous;
}

void ReleaseScreenGrab(ScreenGrab* grab)
{
    if (!grab) return;
    if (grab->section) DeleteObject(grab->section);
    delete grab;
}

bool PrintsFromScreenGrab(HWND window)
{
    if (!RunningUnderWine()) return false;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId != GetCurrentProcessId();
}

bool CopyWindowFromScreenGrab(const ScreenGrab* grab, HWND window, HDC target)
{
    RECT rect{};
    if (!grab || !GetWindowRect(window, &rect)) return false;
    // Rows are counted from the top of the picture; SetDIBitsToDevice counts scan lines from the
    // bottom of a top-down bitmap's last line, so draw the whole picture shifted instead.
    return SetDIBitsToDevice(target, grab->left - rect.left, grab->top - rect.top, grab->width, grab->height, 0, 0,
                             0, grab->height, grab->pixels, &grab->info, DIB_RGB_COLORS) != 0;
}
