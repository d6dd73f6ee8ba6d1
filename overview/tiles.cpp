#include "overview/tiles.h"

#include <cstring>

#include "common/owners.h"
#include "common/text.h"
#include "config/settings.h"
#include "overview/layout.h"
#include "overview/scaling.h"
#include "overview/showing.h"
#include "windows/icons.h"
#include "windows/windowlist.h"

std::mutex tileImagesLock;

namespace {

// Measures at 96 DPI; every one is scaled to the showing's DPI.
constexpr int kLabelHeight = 32;
constexpr int kLabelTop = 4;
constexpr int kLabelPadding = 72;   // icon, gap and margins around the title text
constexpr int kLabelTextX = 38;
constexpr int kTitleFontPoints = 12;  // a cell 16 pixels high at 96 DPI
constexpr int kPanelInset = 9;
constexpr int kFocusInset = 3;  // the focus rectangle: between the tile's edge and its frame lines
constexpr int kIconHalf = 16;       // half a large icon
constexpr BYTE kPanelAlpha = 128;
constexpr BYTE kDimAlpha = 128;  // the dimming colour over a dimmed tile: half-way to it
constexpr DWORD kBlinkPauseMs = 80;

COLOR16 Channel(BYTE value) { return static_cast<COLOR16>(value << 8); }

TRIVERTEX Vertex(int x, int y, COLORREF colour)
{
    TRIVERTEX vertex{};
    vertex.x = x;
    vertex.y = y;
    vertex.Red = Channel(GetRValue(colour));
    vertex.Green = Channel(GetGValue(colour));
    vertex.Blue = Channel(GetBValue(colour));
    vertex.Alpha = 0;
    return vertex;
}

COLORREF MeanColour(COLORREF a, COLORREF b)
{
    return RGB((GetRValue(a) + GetRValue(b)) / 2, (GetGValue(a) + GetGValue(b)) / 2,
               (GetBValue(a) + GetBValue(b)) / 2);
}

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

// A new bitmap holding the given area of the frame.
HBITMAP CopyOfFrameArea(HDC reference, HDC frame, int x, int y, int width, int height)
{
    HBITMAP image = CreateCompatibleBitmap(reference, width, height);
    if (!image) return nullptr;
    UniqueMemoryDc target(CreateCompatibleDC(reference));
    SelectGuard hold(target.get(), image);
    BitBlt(target.get(), 0, 0, width, height, frame, x, y, SRCCOPY);
    return image;
}

void DrawLines(HDC dc, HPEN pen, const POINT (&lines)[4][2])
{
    SelectGuard hold(dc, pen);
    for (const auto& line : lines) {
        MoveToEx(dc, line[0].x, line[0].y, nullptr);
        LineTo(dc, line[1].x, line[1].y);
    }
}

// Members die in reverse order: every context before the objects selected into it.
struct PrerenderTools {
    UniqueFont titleFont;
    UniquePen thinPen;
    UniquePen thickPen;
    UniqueBitmap panel;
    UniqueMemoryDc frame;      // holds the OverviewBuffer: the backdrop of every image
    UniqueMemoryDc work;       // the image being drawn
    UniqueMemoryDc gradient;   // holds the panel gradient
    int tileWidth = 0;
    int tileHeight = 0;
};

void PrerenderEntry(Showing& current, PrerenderTools& tools, HDC reference, int screenWidth, WindowEntry* entry)
{
    const int dpi = current.overviewDpi;
    HDC work = tools.work.get();
    const int tw = tools.tileWidth, th = tools.tileHeight;

    // The label is measured with the very text it draws.
    ReadWindowTitle(entry->hwnd, entry->title, std::size(entry->title));
    const wchar_t* title = entry->title;
    const int length = static_cast<int>(wcslen(title));
    SIZE text{};
    {
        SelectGuard font(work, tools.titleFont.get());
        GetTextExtentPoint32W(work, title, length, &text);
    }

    entry->labelRect = LabelRectFor(text.cx, screenWidth, current.overviewDpi);
    const int labelWidth = entry->labelRect.right - entry->labelRect.left;
    const int labelTop = entry->labelRect.top;
    const int labelHeight = entry->labelRect.bottom - entry->labelRect.top;

    // Listing found the icon already; an entry listed otherwise looks for it now.
    if (!entry->icon) entry->icon = FindWindowIcon(entry->hwnd, &current.windowList.standIns, &entry->iconOwned);
    HICON icon = entry->icon;
    // A large icon at the showing's DPI (DrawIcon would take the system's size).
    const int iconSide = 2 * Scale(kIconHalf, dpi);

    std::lock_guard<std::mutex> hold(tileImagesLock);
    entry->titleLabel = CopyOfFrameArea(reference, tools.frame.get(), entry->labelRect.left, labelTop,
                                        labelWidth, labelHeight);
    if (entry->titleLabel) {
        SelectGuard image(work, entry->titleLabel);
        SelectGuard font(work, tools.titleFont.get());
        SetBkMode(work, TRANSPARENT);
        const int x = Scale(kLabelTextX, dpi), y = labelHeight / 2 - text.cy / 2, shadow = Scale(1, dpi);
        if (!current.colours.highContrast) {
            SetTextColor(work, current.colours.labelShadow);
            TextOutW(work, x + shadow, y + shadow, title, length);
        }
        SetTextColor(work, current.colours.label);
        TextOutW(work, x, y, title, length);
        if (icon) DrawIconEx(work, 0, 0, icon, iconSide, iconSide, 0, nullptr, DI_NORMAL);
    }
    entry->labelBackdrop = CopyOfFrameArea(reference, tools.frame.get(), entry->labelRect.left,
                                           labelTop, labelWidth, labelHeight);

    const RECT& tile = entry->tile;
    const int width = tile.right - tile.left, height = tile.bottom - tile.top;
    entry->highlightTile = CreateCompatibleBitmap(reference, tw + 1, th + 1);
    entry->normalTile = CreateCompatibleBitmap(reference, tw + 1, th + 1);
    for (HBITMAP image : {entry->highlightTile, entry->normalTile}) {
        if (!image) continue;
        SelectGuard select(work, image);
        BitBlt(work, 0, 0, width, height, tools.frame.get(), tile.left, tile.top, SRCCOPY);
        if (image == entry->highlightTile && tools.gradient) {
            const BLENDFUNCTION blend{AC_SRC_OVER, 0, kPanelAlpha, 0};
            const int inset = Scale(kPanelInset, dpi);
            AlphaBlend(work, inset, inset, tw + 1 - 2 * inset, th + 1 - 2 * inset, tools.gradient.get(), inset,
                       inset, tw + 1 - 2 * inset, th + 1 - 2 * inset, blend);
        }
        if (icon)
            DrawIconEx(work, width / 2 - Scale(kIconHalf, dpi), height / 2 - Scale(kIconHalf, dpi), icon, iconSide,
                       iconSide, 0, nullptr, DI_NORMAL);
        if (image == entry->highlightTile) {
            const int in6 = Scale(6, dpi), in7 = Scale(7, dpi), in8 = Scale(8, dpi);  // insets from the tile's edges
            const POINT thick[4][2] = {{{in8, in8}, {tw - in8, in8}},
                                       {{in8, in7}, {in8, th - in7}},
                                       {{in7, th - in7}, {tw - in7, th - in7}},
                                       {{tw - in7, in7}, {tw - in7, th - in7}}};
            const POINT thin[4][2] = {{{in8, in8}, {tw - in8, in8}},
                                      {{in8, in8}, {in8, th - in8}},
                                      {{in7, th - in7}, {tw - in7, th - in7}},
                                      {{tw - in7, in7}, {tw - in7, th - in6}}};
            DrawLines(work, tools.thickPen.get(), thick);
            DrawLines(work, tools.thinPen.get(), thin);
        }
    }

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

bool FillGradient(HDC dc, int x1, int y1, int x2, int y2, COLORREF start, COLORREF end, int angle)
{
    if (angle < 0) return false;
    const COLORREF mean = MeanColour(start, end);
    switch (angle % 180) {
    case 0:
    case 90: {
        TRIVERTEX vertices[2] = {Vertex(x1, y1, start), Vertex(x2, y2, end)};
        GRADIENT_RECT rect{0, 1};
        return GradientFill(dc, vertices, 2, &rect, 1,
                            angle % 180 == 0 ? GRADIENT_FILL_RECT_H : GRADIENT_FILL_RECT_V) != FALSE;
    }
    case 45:
    case 135: {
        const bool mirrored = angle % 180 == 135;
        const int left = mirrored ? x2 : x1, right = mirrored ? x1 : x2;
        TRIVERTEX vertices[4] = {Vertex(left, y1, start), Vertex(right, y2, end),
                                 Vertex(left, y2, mean), Vertex(right, y1, mean)};
        GRADIENT_TRIANGLE triangles[2] = {{0, 1, 2}, {0, 1, 3}};
        return GradientFill(dc, vertices, 4, triangles, 2, GRADIENT_FILL_TRIANGLE) != FALSE;
    }
    default:
        return false;
    }
}

void DrawTextAt(HDC dc, HFONT font, COLORREF textColor, COLORREF backgroundColor, int x, int y,
                const wchar_t* text, int right)
{
    SelectGuard hold(dc, font);
    SetTextColor(dc, textColor);
    if (backgroundColor != kTransparent) {
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, backgroundColor);
    } else {
        SetBkMode(dc, TRANSPARENT);
    }
    wchar_t line[256];
    const size_t length = CopyBounded(line, std::size(line), text);
    RECT room{x, y, right, y + 0x4000};
    if (right == INT_MAX)
        TextOutW(dc, x, y, line, static_cast<int>(length));
    else
        DrawTextW(dc, line, static_cast<int>(length), &room, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void PrerenderTiles(Showing& current, HDC reference, int screenWidth)
{
    const int dpi = current.overviewDpi;
    PrerenderTools tools;
    tools.titleFont.reset(CreateFontW(CellHeightForPoints(kTitleFontPoints, dpi), 0, 0, 0, 551, FALSE,
                                      FALSE, FALSE, DEFAULT_CHARSET,
                                      OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                      FF_SWISS | DEFAULT_PITCH, L"Tahoma"));
    const OverviewColours& colours = current.colours;
    tools.thinPen.reset(CreatePen(PS_SOLID, Scale(1, dpi), colours.selectionInner));
    tools.thickPen.reset(CreatePen(PS_SOLID, Scale(2, dpi), colours.selectionOuter));
    tools.work.reset(CreateCompatibleDC(reference));
    if (current.windowList.head && tools.work) {
        WindowEntry* head = current.windowList.head;
        tools.tileWidth = head->tile.right - head->tile.left;
        tools.tileHeight = head->tile.bottom - head->tile.top;
        tools.frame.reset(CreateCompatibleDC(reference));
        SelectGuard frameImage(tools.frame.get(), current.overviewBuffer);
        tools.panel.reset(CreateCompatibleBitmap(reference, tools.tileWidth + 1, tools.tileHeight + 1));
        if (tools.panel) {
            tools.gradient.reset(CreateCompatibleDC(reference));
            SelectObject(tools.gradient.get(), tools.panel.get());
            FillGradient(tools.gradient.get(), Scale(kPanelInset, dpi), Scale(kPanelInset, dpi),
                         tools.tileWidth - Scale(8, dpi), tools.tileHeight - Scale(8, dpi), colours.panelFrom,
                         colours.panelTo, 90);
        }
        WindowList& list = current.windowList;
        for (list.selected = head; list.selected; list.selected = list.selected->next)
            PrerenderEntry(current, tools, reference, screenWidth, list.selected);
    }
    if (current.windowList.heap) HeapCompact(current.windowList.heap, 0);
}

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

OverviewColours ChooseOverviewColours(bool highContrast, AppMode mode, const COLORREF* system)
{
    OverviewColours colours;
    colours.highContrast = highContrast;
    colours.background = system[COLOR_INACTIVECAPTION];
    colours.snapshot.corners = system[COLOR_INACTIVECAPTION];
    if (highContrast) {
        colours.selectionOuter = colours.selectionInner = system[COLOR_HIGHLIGHT];
        colours.panelFrom = colours.panelTo = system[COLOR_HIGHLIGHT];
        colours.tileArea = colours.bandFrom = colours.bandTo = system[COLOR_WINDOW];
        colours.rule = colours.text = colours.notice = colours.label = system[COLOR_WINDOWTEXT];
        colours.dim = RGB(0, 0, 0);
        // The squares lie on the selected tile's panel, the notice on any snapshot: each on a
        // ground of its own.
        SnapshotColours& snapshot = colours.snapshot;
        snapshot.buttonLine = snapshot.incompleteText = system[COLOR_WINDOWTEXT];
        snapshot.buttonFill = snapshot.closeFrom = snapshot.closeTo = system[COLOR_WINDOW];
        snapshot.infoFrom = snapshot.infoTo = snapshot.incompleteBackground = system[COLOR_WINDOW];
        return colours;
    }
    // The orange selection is the same in both looks.
    colours.selectionOuter = RGB(255, 204, 102);
    colours.selectionInner = RGB(255, 153, 51);
    SnapshotColours& snapshot = colours.snapshot;
    snapshot.buttonLine = RGB(255, 238, 204);
    snapshot.closeFrom = RGB(255, 204, 102);
    colours.labelShadow = colours.dim = RGB(0, 0, 0);
    if (mode == AppMode::Dark) {
        // Near-black surfaces, the bands a shade cooler towards the screen's edges; light grey
        // text; the selected tile's panel warms towards the orange of its frame.
        colours.dark = true;
        colours.tileArea = colours.bandTo = colours.background = colours.dim = snapshot.corners = RGB(32, 32, 32);
        colours.bandFrom = RGB(18, 21, 26);
        colours.ground = MeanColour(colours.bandFrom, colours.bandTo);
        colours.rule = RGB(96, 96, 96);
        colours.text = RGB(232, 232, 232);
        colours.label = RGB(245, 245, 245);
        colours.notice = RGB(170, 170, 170);
        colours.panelFrom = RGB(58, 58, 58);
        colours.panelTo = RGB(120, 72, 24);
        snapshot.buttonFill = RGB(32, 32, 32);
        snapshot.closeTo = RGB(214, 40, 24);
        snapshot.infoFrom = RGB(88, 88, 88);
        snapshot.infoTo = RGB(44, 44, 44);
        snapshot.incompleteText = RGB(255, 128, 112);
        snapshot.incompleteBackground = RGB(32, 32, 32);
        return colours;
    }
    colours.panelFrom = RGB(51, 51, 51);
    colours.panelTo = system[COLOR_ACTIVECAPTION];
    colours.tileArea = colours.bandTo = system[COLOR_INACTIVECAPTION];
    colours.bandFrom = system[COLOR_DESKTOP];
    colours.rule = RGB(255, 255, 255);
    colours.text = colours.label = system[COLOR_CAPTIONTEXT];
    colours.notice = system[COLOR_INACTIVECAPTIONTEXT];
    snapshot.buttonFill = RGB(255, 255, 255);
    snapshot.closeTo = RGB(255, 0, 0);
    snapshot.infoFrom = system[COLOR_INACTIVECAPTION];
    snapshot.infoTo = system[COLOR_ACTIVECAPTION];
    snapshot.incompleteText = RGB(255, 0, 0);
    snapshot.incompleteBackground = kTransparent;
    return colours;
}

AppMode ReadAppMode()
{
    UniqueHkey key;
    DWORD light = 1;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize", 0,
                      KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS ||
        !ReadDwordValue(key.get(), L"AppsUseLightTheme", &light))
        return AppMode::Light;
    return light == 0 ? AppMode::Dark : AppMode::Light;
}

OverviewColours CurrentOverviewColours()
{
    COLORREF system[COLOR_MENUBAR + 1];
    for (int index = 0; index <= COLOR_MENUBAR; ++index) system[index] = GetSysColor(index);
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    const bool high = SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
                      (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
    return ChooseOverviewColours(high, ReadAppMode(), system);
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

RECT LabelRectFor(int textWidth, int screenWidth, int dpi)
{
    const int width = textWidth + Scale(kLabelPadding, dpi);
    const int top = Scale(kLabelTop, dpi);
    return RECT{screenWidth / 2 - width / 2, top, width / 2 + screenWidth / 2, top + Scale(kLabelHeight, dpi)};
}

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
