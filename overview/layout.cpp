#include "overview/layout.h"

#include <algorithm>


namespace {

// Measures at 96 DPI.
constexpr int kHeaderHeight = 40;
constexpr int kRuleHeight = 2;
constexpr int kFooterReserve = 52;
constexpr int kFooterBand = 53;
constexpr int kFooterRule = 54;
constexpr int kRowGap = 3;
constexpr int kLogoWidth = 150;
constexpr int kLogoHeight = 34;
constexpr int kLogoLeft = 16;
constexpr int kLogoAbove = 51;  // the logo's top above the screen's bottom
constexpr int kTextLeft = 20;
constexpr int kTextAbove = 18;
constexpr int kNoticeLeftOfEdge = 185;
constexpr POINT kPointerParkFromCorner = {463, 42};

}  // namespace

FooterTexts FooterTextsFor(const FrameLayout& frame, int screenWidth, int noticeWidth)
{
    const int margin = frame.helpText.x;
    const int noticeLeft = std::max(margin, std::min<int>(frame.notice.x, screenWidth - margin - noticeWidth));
    return {noticeLeft, std::max<int>(margin, noticeLeft - margin)};
}

void GridForCount(unsigned count, int* columns, int* rows)
{
    unsigned k = 1;
    while (k * k < count) ++k;
    *columns = static_cast<int>(k);
    *rows = static_cast<int>((k - 1) * k >= count && k > 1 ? k - 1 : k);
}

RECT TileAreaFor(int screenWidth, int screenHeight, int dpi)
{
    return RECT{0, Scale(kHeaderHeight, dpi), screenWidth + 1, screenHeight - Scale(kFooterReserve, dpi)};
}

FrameLayout FrameLayoutFor(int w, int h, int dpi)
{
    FrameLayout frame{};
    frame.tileArea = TileAreaFor(w, h, dpi);
    frame.headerBottom = Scale(kHeaderHeight, dpi);
    frame.headerRuleTop = frame.headerBottom - Scale(kRuleHeight, dpi);
    frame.footerBandTop = h - Scale(kFooterBand, dpi);
    frame.footerRuleTop = h - Scale(kFooterRule, dpi);
    frame.footerRuleBottom = frame.footerRuleTop + Scale(kRuleHeight, dpi);
    const int logoTop = h - Scale(kLogoAbove, dpi);
    frame.logo = RECT{Scale(kLogoLeft, dpi), logoTop, Scale(kLogoLeft, dpi) + Scale(kLogoWidth, dpi),
                      logoTop + Scale(kLogoHeight, dpi)};
    frame.helpText = POINT{Scale(kTextLeft, dpi), h - Scale(kTextAbove, dpi)};
    frame.notice = POINT{w - Scale(kNoticeLeftOfEdge, dpi), h - Scale(kTextAbove, dpi)};
    frame.pointerPark = POINT{w - Scale(kPointerParkFromCorner.x, dpi), h - Scale(kPointerParkFromCorner.y, dpi)};
    return frame;
}

void LayoutTiles(WindowList& list, int columns, int rows, const RECT& area, int dpi)
{
    if (columns <= 0 || rows <= 0) return;
    const int cellWidth = (area.right - area.left) / columns;
    const int rowPitch = (area.bottom - area.top) / rows - Scale(kRowGap, dpi);
    int column = 1, row = 1;
    for (WindowEntry* entry = list.head; entry; entry = entry->next) {
        entry->tile = {area.left + cellWidth * (column - 1), area.top + rowPitch * (row - 1),
                       area.left + cellWidth * column, area.top + rowPitch * row};
        entry->column = column;
        entry->row = row;
        if (column >= columns) {
            column = 1;
            ++row;
        } else {
            ++column;
        }
    }
}

RECT WallpaperPlacement(int bw, int bh, int w, int h, bool* unscaled, int dpi)
{
    *unscaled = false;
    const RECT area = TileAreaFor(w, h, dpi);
    const int areaWidth = area.right - area.left;
    const int areaHeight = area.bottom - area.top;
    const int areaTop = area.top;
    if (bw == w && bh == h) {
        *unscaled = true;
        return RECT{0, 0, w, h};
    }
    if (static_cast<float>(bw) / static_cast<float>(bh) == static_cast<float>(w) / static_cast<float>(h))
        return RECT{0, 0, w, h};
    if (bw > bh) {
        const int s = static_cast<int>(static_cast<long long>(bh) * areaWidth / bw);
        return RECT{0, areaTop + (areaHeight / 2 - s / 2), areaWidth, s};
    }
    if (bw < bh) {
        const int s = static_cast<int>(static_cast<long long>(bw) * areaHeight / bh);
        return RECT{areaWidth / 2 - s / 2, areaTop, s, areaHeight};
    }
    return RECT{areaWidth / 2 - areaHeight / 2, areaTop, areaHeight, areaHeight};
}
