#include "common/platform.h"

bool RunningUnderWine()
{
    static const bool underWine = [] {
        HMODULE ntdll = GetModuleHandleA("ntdll.dll");
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

#include <cstring>
#include <new>

struct ScreenGrab {
    LONG references;
    int width;
    int height;
    BITMAPINFO info;
    DWORD* pixels;  // top-down, 32 bits per pixel
};

namespace {

constexpr int kGrabAttempts = 8;
constexpr DWORD kGrabSettleMs = 40;

ScreenGrab* currentGrab;  // GUI thread only

ScreenGrab* GrabScreen()
{
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    if (width <= 0 || height <= 0) return nullptr;
    auto* grab = new (std::nothrow) ScreenGrab{};
    if (!grab) return nullptr;
    grab->references = 1;
    grab->width = width;
    grab->height = height;
    grab->info.bmiHeader.biSize = sizeof grab->info.bmiHeader;
    grab->info.bmiHeader.biWidth = width;
    grab->info.bmiHeader.biHeight = -height;
    grab->info.bmiHeader.biPlanes = 1;
    grab->info.bmiHeader.biBitCount = 32;
    grab->pixels = new (std::nothrow) DWORD[static_cast<size_t>(width) * height];
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    bool ok = grab->pixels && memory && bitmap;
    if (ok) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        ok = BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY) != FALSE;
        SelectObject(memory, old);
        ok = ok && GetDIBits(memory, bitmap, 0, height, grab->pixels, &grab->info, DIB_RGB_COLORS) == height;
    }
    if (bitmap) DeleteObject(bitmap);
    if (memory) DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (!ok) {
        ReleaseScreenGrabReference(grab);
        return nullptr;
    }
    return grab;
}

bool SamePicture(const ScreenGrab* a, const ScreenGrab* b)
{
    return a->width == b->width && a->height == b->height &&
           memcmp(a->pixels, b->pixels, sizeof(DWORD) * a->width * a->height) == 0;
}

}  // namespace

void TakeScreenGrab()
{
    ReleaseScreenGrab();
    if (!RunningUnderWine()) return;
    // What was just uncovered repaints in its own process: give it a moment before the first grab.
    Sleep(kGrabSettleMs);
    ScreenGrab* previous = GrabScreen();
    for (int attempt = 0; previous && attempt < kGrabAttempts; ++attempt) {
        Sleep(kGrabSettleMs);
        ScreenGrab* next = GrabScreen();
        if (!next) break;
        const bool settled = SamePicture(previous, next);
        ReleaseScreenGrabReference(previous);
        previous = next;
        if (settled) break;
    }
    currentGrab = previous;
}

void ReleaseScreenGrab()
{
    ReleaseScreenGrabReference(currentGrab);
    currentGrab = nullptr;
}

ScreenGrab* AcquireScreenGrab()
{
    if (currentGrab) InterlockedIncrement(&currentGrab->references);
    return currentGrab;
}

void ReleaseScreenGrabReference(ScreenGrab* grab)
{
    if (!grab || InterlockedDecrement(&grab->references) != 0) return;
    delete[] grab->pixels;
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
    return SetDIBitsToDevice(target, -rect.left, -rect.top, grab->width, grab->height, 0, 0, 0, grab->height,
                             grab->pixels, &grab->info, DIB_RGB_COLORS) != 0;
}
