#include "overview/tiledraw.h"

#include "overview/drawing.h"

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
    SetStretchBltMode(selected.get(), HALFTONE);
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
    auto lines = [dc](const POINT (&pairs)[2][2]) {
        for (const auto& line : pairs) {
            MoveToEx(dc, line[0].x, line[0].y, nullptr);
            LineTo(dc, line[1].x, line[1].y);
        }
    };
    const RECT& close = buttons.close;
    const RECT& closeFill = buttons.closeGradient;
    Rectangle(dc, close.left, close.top, close.right, close.bottom);
    FillGradient(dc, closeFill.left, closeFill.top, closeFill.right, closeFill.bottom, colours.closeFrom,
                 colours.closeTo, 45);
    lines(buttons.cross);
    const RECT& info = buttons.info;
    const RECT& infoFill = buttons.infoGradient;
    Rectangle(dc, info.left, info.top, info.right, info.bottom);
    FillGradient(dc, infoFill.left, infoFill.top, infoFill.right, infoFill.bottom, colours.infoFrom,
                 colours.infoTo, 45);
    lines(buttons.letter);
}
