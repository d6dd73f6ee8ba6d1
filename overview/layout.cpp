#include "overview/layout.h"

#include "app/app.h"
#include "common/owners.h"
#include "overview/find.h"
#include "overview/lifecycle.h"
#include "overview/tiles.h"
#include "overview/worker.h"
#include "resources/resource.h"
#include "windows/windowlist.h"

HBITMAP overviewBuffer;
int gridColumns;

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
constexpr char kHelpText[] =
    "To switch to an application, either click on its snapshot or press Tab to move to the "
    "snapshot and press Space.";
constexpr char kFooterNotice[] = "F5 refreshes, Esc cancels.";

void DrawWallpaper(HDC dc, int screenWidth, int screenHeight, int dpi)
{
    char path[kPathBuffer] = {};
    if (!SystemParametersInfoA(SPI_GETDESKWALLPAPER, sizeof path, path, 0) || path[0] == '\0') return;
    UniqueBitmap wallpaper(static_cast<HBITMAP>(
        LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    if (!wallpaper) return;
    BITMAP info{};
    if (!GetObjectA(wallpaper.get(), sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) return;
    UniqueMemoryDc source(CreateCompatibleDC(dc));
    SelectGuard hold(source.get(), wallpaper.get());
    bool unscaled = false;
    const RECT place = WallpaperPlacement(info.bmWidth, info.bmHeight, screenWidth, screenHeight, &unscaled, dpi);
    if (unscaled) {
        BitBlt(dc, place.left, place.top, place.right, place.bottom, source.get(), 0, 0, SRCCOPY);
    } else {
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchBlt(dc, place.left, place.top, place.right, place.bottom, source.get(), 0, 0,
                   info.bmWidth, info.bmHeight, SRCCOPY);
    }
}

void ComposeFrame(HDC dc, int w, int h, int dpi)
{
    const FrameLayout frame = FrameLayoutFor(w, h, dpi);
    const COLORREF caption = GetSysColor(COLOR_INACTIVECAPTION);
    const COLORREF desktop = GetSysColor(COLOR_DESKTOP);
    const COLORREF white = RGB(255, 255, 255);
    {
        UniquePen pen(CreatePen(PS_SOLID, 1, caption));
        SelectGuard usePen(dc, pen.get());
        SelectGuard useBrush(dc, GetSysColorBrush(COLOR_INACTIVECAPTION));
        const RECT& area = frame.tileArea;
        Rectangle(dc, area.left, area.top, area.right + 1, area.bottom + 1);
    }
    DrawWallpaper(dc, w, h, dpi);

    const int header = frame.headerBottom, headerRule = frame.headerRuleTop;
    FillGradient(dc, 0, 0, w + 1, header, desktop, caption, 90);
    FillGradient(dc, 0, headerRule, w / 5, header, caption, white, 0);
    FillGradient(dc, w / 5, headerRule, w + 1, header, white, caption, 0);
    FillGradient(dc, 0, frame.footerBandTop, w, h, caption, desktop, 90);
    FillGradient(dc, 0, frame.footerRuleTop, w / 4, frame.footerRuleBottom, caption, white, 0);
    FillGradient(dc, w / 4, frame.footerRuleTop, w + 1, frame.footerRuleBottom, white, caption, 0);

    const RECT& place = frame.logo;
    const int logoWidth = place.right - place.left, logoHeight = place.bottom - place.top;
    if (HICON logo = static_cast<HICON>(LoadImageA(appInstance, MAKEINTRESOURCEA(IDI_LOGO), IMAGE_ICON,
                                                  logoWidth, logoHeight, LR_SHARED)))
        DrawIconEx(dc, place.left, place.top, logo, logoWidth, logoHeight, 0, nullptr, DI_NORMAL);

    HFONT font = OverviewTextFont();
    DrawTextAt(dc, font, GetSysColor(COLOR_CAPTIONTEXT), 0, frame.helpText.x, frame.helpText.y, kHelpText);
    DrawTextAt(dc, font, GetSysColor(COLOR_INACTIVECAPTIONTEXT), 0, frame.notice.x, frame.notice.y,
               kFooterNotice);
}

}  // namespace

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

void LayoutTiles(int columns, int rows, const RECT& area, int dpi)
{
    if (columns <= 0 || rows <= 0) return;
    const int cellWidth = (area.right - area.left) / columns;
    const int rowPitch = (area.bottom - area.top) / rows - Scale(kRowGap, dpi);
    int column = 1, row = 1;
    for (WindowEntry* entry = windowList.head; entry; entry = entry->next) {
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

void DeleteOverviewBuffer()
{
    if (overviewBuffer) DeleteObject(overviewBuffer);
    overviewBuffer = nullptr;
}

void BuildOverview(HWND window)
{
    const int w = GetSystemMetrics(SM_CXSCREEN);
    const int h = GetSystemMetrics(SM_CYSCREEN);
    const int dpi = overviewDpi;
    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));  // IDC_WAIT
    const POINT park = FrameLayoutFor(w, h, dpi).pointerPark;
    SetCursorPos(park.x, park.y);

    // Everything is drawn off screen, against the screen's format; the window shows it when painted.
    HDC screen = GetDC(nullptr);
    if (!screen) return;
    DeleteOverviewBuffer();
    overviewBuffer = CreateCompatibleBitmap(screen, w + 1, h + 1);
    {
        UniqueMemoryDc compose(CreateCompatibleDC(screen));
        if (compose && overviewBuffer) {
            SelectGuard hold(compose.get(), overviewBuffer);
            ComposeFrame(compose.get(), w, h, dpi);
            KeepFindBackdrop(compose.get(), w, dpi);
        }
    }

    if (windowList.head) {
        int rows = 0;
        GridForCount(windowList.count, &gridColumns, &rows);
        LayoutTiles(gridColumns, rows, TileAreaFor(w, h, dpi), dpi);
        PrerenderTiles(screen, w);
        // The selection and its title show at once, not only when its snapshot arrives.
        windowList.selected = windowList.head;
        if (!snapshotStopRequested) CreateSnapshotWorker(window);
    }
    ReleaseDC(nullptr, screen);
    InvalidateRect(window, nullptr, FALSE);
    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));  // IDC_ARROW
}
