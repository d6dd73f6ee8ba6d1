#include "overview/tiledraw.h"

#include <algorithm>
#include <memory>
#include <new>
#include <vector>

#include "common/platform.h"
#include "common/system.h"
#include "overview/drawing.h"

namespace {

// One of a tile's buttons: its square in the selected pen and brush, the gradient inside, and its
// two lines.
void DrawButtonSquare(HDC dc, const RECT& square, const RECT& fill, COLORREF from, COLORREF to,
                      const POINT (&lines)[2][2])
{
    Rectangle(dc, square.left, square.top, square.right, square.bottom);
    FillGradient(dc, fill.left, fill.top, fill.right, fill.bottom, from, to, 45);
    DrawLineSegments(dc, lines);
}

}  // namespace

StretchTarget SelectedSnapshotArea(const RECT& s, int dpi)
{
    const int grow = Scale(2, dpi), growFar = Scale(3, dpi);
    return {s.left - grow, s.top - grow, s.right - s.left + grow + growFar, s.bottom - s.top + grow + growFar};
}

StretchTarget PlainSnapshotArea(const RECT& s, int dpi)
{
    const int inset = Scale(2, dpi), insetFar = Scale(1, dpi);
    return {s.left + inset, s.top + inset, s.right - s.left - inset - insetFar, s.bottom - s.top - inset - insetFar};
}

TileButtons TileButtonsFor(int tileWidth, int dpi)
{
    auto at = [dpi](int value) { return Scale(value, dpi); };
    const int tw = tileWidth;
    TileButtons buttons{};
    buttons.close = RECT{tw - at(20), at(11), tw - at(9), at(22)};
    buttons.closeGradient = RECT{tw - at(20), at(11), tw - at(10), at(21)};
    buttons.cross[0][0] = POINT{tw - at(19), at(12)};
    buttons.cross[0][1] = POINT{tw - at(12), at(19)};
    buttons.cross[1][0] = POINT{tw - at(19), at(19)};
    buttons.cross[1][1] = POINT{tw - at(12), at(12)};
    buttons.info = RECT{at(11), at(11), at(22), at(22)};
    buttons.infoGradient = RECT{at(11), at(11), at(21), at(21)};
    buttons.letter[0][0] = POINT{at(16), at(12)};
    buttons.letter[0][1] = POINT{at(16), at(13)};
    buttons.letter[1][0] = POINT{at(16), at(15)};
    buttons.letter[1][1] = POINT{at(16), at(19)};
    return buttons;
}

void ResizePixels(const DWORD* source, int sw, int sh, int sourceStride, DWORD* destination, int dw, int dh)
{
    if (sw < 1 || sh < 1 || dw < 1 || dh < 1) return;
    // The source pixels under destination pixel `at`: [first, first of the next), at least one.
    auto first = [](int at, int from, int to) { return static_cast<int>(static_cast<long long>(at) * from / to); };
    auto last = [&](int at, int from, int to) { return std::min(from, std::max(first(at + 1, from, to), first(at, from, to) + 1)); };
    std::vector<int> lefts(static_cast<size_t>(dw)), rights(static_cast<size_t>(dw));
    for (int x = 0; x < dw; ++x) {
        lefts[x] = first(x, sw, dw);
        rights[x] = last(x, sw, dw);
    }
    std::vector<unsigned long long> sums(static_cast<size_t>(dw) * 3);
    for (int y = 0; y < dh; ++y) {
        const int top = first(y, sh, dh), bottom = last(y, sh, dh);
        std::fill(sums.begin(), sums.end(), 0);
        for (int row = top; row < bottom; ++row) {
            const DWORD* line = source + static_cast<size_t>(row) * sourceStride;
            for (int x = 0; x < dw; ++x)
                for (int column = lefts[x]; column < rights[x]; ++column) {
                    sums[3 * x] += line[column] & 0xFF;
                    sums[3 * x + 1] += (line[column] >> 8) & 0xFF;
                    sums[3 * x + 2] += (line[column] >> 16) & 0xFF;
                }
        }
        for (int x = 0; x < dw; ++x) {
            const unsigned long long count = static_cast<unsigned long long>(rights[x] - lefts[x]) * (bottom - top);
            auto mean = [&](int channel) { return static_cast<DWORD>((sums[3 * x + channel] + count / 2) / count); };
            destination[static_cast<size_t>(y) * dw + x] = mean(0) | mean(1) << 8 | mean(2) << 16;
        }
    }
}

UniqueBitmap ResizeCaptureUnderWine(HBITMAP capture, int captureWidth, int captureHeight, SIZE target)
{
    // A capture of more than this many pixels is stretched as it is rather than copied out.
    constexpr long long kMostPixels = 16LL << 20;
    if (!RunningUnderWine() || !capture || captureWidth < 1 || captureHeight < 1 || target.cx < 1 || target.cy < 1 ||
        (target.cx == captureWidth && target.cy == captureHeight) ||
        static_cast<long long>(captureWidth) * captureHeight > kMostPixels)
        return {};
    // The capture's pixels, top-down, whatever kind of bitmap it is.
    BITMAPINFO format{};
    format.bmiHeader = {sizeof format.bmiHeader, captureWidth, -captureHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    const std::unique_ptr<DWORD[]> pixels(new (std::nothrow) DWORD[static_cast<size_t>(captureWidth) * captureHeight]);
    void* bits = nullptr;
    UniqueBitmap resized(CreateTopDownSection(target.cx, target.cy, nullptr, &bits));
    UniqueMemoryDc reference(CreateCompatibleDC(nullptr));
    if (!pixels || !resized || !bits || !reference ||
        GetDIBits(reference.get(), capture, 0, static_cast<UINT>(captureHeight), pixels.get(), &format,
                  DIB_RGB_COLORS) != captureHeight)
        return {};
    ResizePixels(pixels.get(), captureWidth, captureHeight, captureWidth, static_cast<DWORD*>(bits), target.cx,
                 target.cy);
    return resized;
}

TileDrawingContexts CreateTileDrawingContexts()
{
    TileDrawingContexts contexts;
    HDC reference = GetDC(nullptr);
    contexts.source.reset(CreateCompatibleDC(reference));
    contexts.selected.reset(CreateCompatibleDC(reference));
    contexts.plain.reset(CreateCompatibleDC(reference));
    ReleaseDC(nullptr, reference);
    return contexts;
}

void DrawSnapshotIntoTile(const TileImages& tile, const RECT& snapshot, HBITMAP capture, int captureWidth,
                          int captureHeight, const wchar_t* notice, int dpi, HFONT font, const SnapshotColours& colours,
                          HPEN buttonPen, const TileDrawingContexts* given)
{
    if (!tile.highlightTile || !tile.normalTile || !capture) return;
    TileDrawingContexts made;
    if (!given) made = CreateTileDrawingContexts();
    const TileDrawingContexts& contexts = given ? *given : made;
    const UniqueMemoryDc& source = contexts.source;
    const UniqueMemoryDc& selected = contexts.selected;
    const UniqueMemoryDc& plain = contexts.plain;
    if (!source || !selected || !plain) return;
    SelectGuard holdCapture(source.get(), capture);
    SelectGuard holdSelected(selected.get(), tile.highlightTile);
    SelectGuard holdPlain(plain.get(), tile.normalTile);

    const StretchTarget large = SelectedSnapshotArea(snapshot, dpi);
    const StretchTarget small = PlainSnapshotArea(snapshot, dpi);
    // A capture already at the snapshot's size is copied: a halftone "stretch" to the same size
    // costs as much as a shrink under Wine.
    const bool sized = large.width == captureWidth && large.height == captureHeight;
    SetStretchBltMode(selected.get(), sized ? COLORONCOLOR : HALFTONE);
    SetBrushOrgEx(selected.get(), 0, 0, nullptr);
    StretchBlt(selected.get(), large.x, large.y, large.width, large.height, source.get(), 0, 0, captureWidth,
               captureHeight, SRCCOPY);
    SetStretchBltMode(selected.get(), COLORONCOLOR);
    SetStretchBltMode(plain.get(), COLORONCOLOR);
    StretchBlt(plain.get(), small.x, small.y, small.width, small.height, selected.get(), large.x, large.y,
               large.width, large.height, SRCCOPY);

    if (notice) {
        const int x = snapshot.left + Scale(6, dpi);
        const int y = snapshot.bottom - (snapshot.bottom - snapshot.top) / 10;
        for (HDC image : {selected.get(), plain.get()})
            DrawTextAt(image, font, colours.incompleteText, colours.incompleteBackground, x, y, notice);
    }

    // The close and information buttons, on the selected look only.
    HDC dc = selected.get();
    const TileButtons buttons = TileButtonsFor(tile.size.cx, dpi);
    SelectGuard pen(dc, buttonPen);
    SelectGuard brush(dc, GetStockObject(DC_BRUSH));
    SetDCBrushColor(dc, colours.buttonFill);
    DrawButtonSquare(dc, buttons.close, buttons.closeGradient, colours.closeFrom, colours.closeTo, buttons.cross);
    DrawButtonSquare(dc, buttons.info, buttons.infoGradient, colours.infoFrom, colours.infoTo, buttons.letter);
}
