#include "overview/prerender.h"

#include <mutex>

#include "common/owners.h"
#include "overview/drawing.h"
#include "overview/scaling.h"
#include "overview/showing.h"
#include "overview/tileimages.h"
#include "windows/icons.h"
#include "windows/windowlist.h"

namespace {

// Measures at 96 DPI; every one is scaled to the showing's DPI.
constexpr int kLabelHeight = 32;
constexpr int kLabelTop = 4;
constexpr int kLabelPadding = 72;   // icon, gap and margins around the title text
constexpr int kLabelTextX = 38;
constexpr int kTitleFontPoints = 12;  // a cell 16 pixels high at 96 DPI
constexpr int kPanelInset = 9;
constexpr int kIconHalf = 16;       // half a large icon
constexpr BYTE kPanelAlpha = 128;

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
    DrawLineSegments(dc, lines);
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

}  // namespace

void MakeTileLooks(Showing& current, HDC reference)
{
    const WindowEntry* head = current.windowList.head;
    if (!head) return;
    const int width = head->tile.right - head->tile.left + 1, height = head->tile.bottom - head->tile.top + 1;
    for (WindowEntry* entry = current.windowList.head; entry; entry = entry->next) {
        entry->highlightTile = CreateCompatibleBitmap(reference, width, height);
        entry->normalTile = CreateCompatibleBitmap(reference, width, height);
    }
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

RECT LabelRectFor(int textWidth, int screenWidth, int dpi)
{
    const int width = textWidth + Scale(kLabelPadding, dpi);
    const int top = Scale(kLabelTop, dpi);
    return RECT{screenWidth / 2 - width / 2, top, width / 2 + screenWidth / 2, top + Scale(kLabelHeight, dpi)};
}
