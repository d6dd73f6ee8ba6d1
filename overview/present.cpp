#include "overview/present.h"

#include <mutex>

#include "common/owners.h"
#include "overview/scaling.h"
#include "overview/showing.h"
#include "overview/tileimages.h"
#include "windows/windowlist.h"

namespace {

// At 96 DPI, scaled to the showing's DPI.
constexpr int kFocusInset = 3;  // the focus rectangle: between the tile's edge and its frame lines

constexpr BYTE kDimAlpha = 128;  // the dimming colour over a dimmed tile: half-way to it
constexpr DWORD kBlinkPauseMs = 80;

// Copies a bitmap's area to a device context through the memory context given (one that holds
// nothing else), or through a short-lived one.
void CopyImage(HDC target, int x, int y, int width, int height, HBITMAP image, HDC source = nullptr)
{
    UniqueMemoryDc made;
    if (!source) made.reset(source = CreateCompatibleDC(target));
    if (!source || !image) return;
    SelectGuard hold(source, image);
    BitBlt(target, x, y, width, height, source, 0, 0, SRCCOPY);
}

// The plain look taken half-way to the dimming colour (black, or the dark look's surface),
// composed off screen and copied at once.
bool DrawDimmedTile(Showing& current, HDC dc, const WindowEntry* entry, HDC source)
{
    DimmingTools& dimming = current.dimming;
    const RECT& tile = entry->tile;
    const int width = tile.right - tile.left, height = tile.bottom - tile.top;
    if (!dimming.scratchDc || dimming.width != width || dimming.height != height) {
        ReleaseDimmingTools(dimming);
        dimming.scratch.reset(CreateCompatibleBitmap(dc, width, height));
        dimming.tint.reset(CreateCompatibleBitmap(dc, 1, 1));
        dimming.scratchDc.reset(CreateCompatibleDC(dc));
        dimming.tintDc.reset(CreateCompatibleDC(dc));
        if (!dimming.scratch || !dimming.tint || !dimming.scratchDc || !dimming.tintDc) {
            ReleaseDimmingTools(dimming);
            return false;
        }
        SelectObject(dimming.scratchDc.get(), dimming.scratch.get());
        SelectObject(dimming.tintDc.get(), dimming.tint.get());
        SetPixelV(dimming.tintDc.get(), 0, 0, current.colours.dim);
        dimming.width = width;
        dimming.height = height;
    }
    HDC scratch = dimming.scratchDc.get();
    CopyImage(scratch, 0, 0, width, height, entry->normalTile, source);
    const BLENDFUNCTION half{AC_SRC_OVER, 0, kDimAlpha, 0};
    AlphaBlend(scratch, 0, 0, width, height, dimming.tintDc.get(), 0, 0, 1, 1, half);
    return BitBlt(dc, tile.left, tile.top, width, height, scratch, 0, 0, SRCCOPY) != FALSE;
}

}  // namespace

TileLook LookOf(const Showing& current, const WindowEntry* entry)
{
    return entry == current.windowList.selected ? TileLook::Selected : TileLook::Plain;
}

void PresentTile(Showing& current, HDC dc, WindowEntry* entry, TileLook look)
{
    std::lock_guard<std::mutex> hold(tileImagesLock);
    PresentTileLocked(current, dc, entry, look);
}

void PresentTileLocked(Showing& current, HDC dc, WindowEntry* entry, TileLook look, HDC source)
{
    if (!entry) return;
    if (look == TileLook::Selected) {
        // The label in place already is only drawn again: erasing it first would make it flicker.
        if (current.labelOwner && current.labelOwner != entry) {
            const RECT& old = current.labelOwner->labelRect;
            CopyImage(dc, old.left, old.top, old.right - old.left, old.bottom - old.top,
                      current.labelOwner->labelBackdrop, source);
        }
        current.labelOwner = entry;
        const RECT& label = entry->labelRect;
        CopyImage(dc, label.left, label.top, label.right - label.left, label.bottom - label.top, entry->titleLabel,
                  source);
    }
    if (!entry->normalTile) return;
    const RECT& tile = entry->tile;
    const bool selected = look == TileLook::Selected;
    if (!selected && entry->dimmed && DrawDimmedTile(current, dc, entry, source)) return;
    CopyImage(dc, tile.left, tile.top, tile.right - tile.left, tile.bottom - tile.top,
              selected ? entry->highlightTile : entry->normalTile, source);
    if (selected && current.keyboardCues) {
        RECT focus = tile;
        const int inset = Scale(kFocusInset, current.overviewDpi);
        InflateRect(&focus, -inset, -inset);
        DrawFocusRect(dc, &focus);
    }
}

void PresentTiles(Showing& current, HDC dc, const std::vector<WindowEntry*>& entries)
{
    UniqueMemoryDc source(CreateCompatibleDC(dc));
    {
        std::lock_guard<std::mutex> hold(tileImagesLock);
        for (WindowEntry* entry : entries) PresentTileLocked(current, dc, entry, LookOf(current, entry), source.get());
    }
    GdiFlush();
}

void ShowKeyboardCues(Showing& current, HWND window)
{
    if (current.keyboardCues) return;
    current.keyboardCues = true;
    UniqueWindowDc dc(window);
    if (dc) PresentTile(current, dc.get(), current.windowList.selected, TileLook::Selected);
}

void ReleaseDimmingTools(DimmingTools& tools)
{
    tools.scratchDc.reset();
    tools.tintDc.reset();
    tools.scratch.reset();
    tools.tint.reset();
    tools.width = tools.height = 0;
}

void RepaintAllTiles(Showing& current, HDC dc)
{
    for (WindowEntry* entry = current.windowList.head; entry; entry = entry->next)
        PresentTile(current, dc, entry, LookOf(current, entry));
}

void BlinkChosenTile(Showing& current, HWND window, WindowEntry* entry)
{
    if (!entry) return;
    UniqueWindowDc dc(window);
    if (!dc) return;
    const RECT& tile = entry->tile;
    for (int blink = 0; blink < 2; ++blink) {
        {
            std::lock_guard<std::mutex> hold(tileImagesLock);
            if (entry->normalTile)
                CopyImage(dc.get(), tile.left, tile.top, tile.right - tile.left,
                          tile.bottom - tile.top, entry->normalTile);
        }
        Sleep(kBlinkPauseMs);
        PresentTile(current, dc.get(), entry, TileLook::Selected);
        Sleep(kBlinkPauseMs);
    }
}
