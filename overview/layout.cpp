#include "overview/layout.h"

#include "app/app.h"
#include "common/owners.h"
#include "overview/lifecycle.h"
#include "overview/tiles.h"
#include "overview/worker.h"
#include "resources/resource.h"
#include "windows/windowlist.h"

HBITMAP overviewBuffer;
int gridColumns;

namespace {

constexpr int kHeaderHeight = 40;
constexpr int kFooterReserve = 52;
constexpr int kRowGap = 3;
constexpr int kLogoWidth = 150;
constexpr int kLogoHeight = 34;
constexpr char kHelpText[] =
    "To switch to an application, either click on its snapshot or press Tab to move to the "
    "snapshot and press Space.";
constexpr char kFooterNotice[] = "F5 refreshes, Esc cancels.";

void DrawWallpaper(HDC dc, int screenWidth, int screenHeight)
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
    const RECT place = WallpaperPlacement(info.bmWidth, info.bmHeight, screenWidth, screenHeight, &unscaled);
    if (unscaled) {
        BitBlt(dc, place.left, place.top, place.right, place.bottom, source.get(), 0, 0, SRCCOPY);
    } else {
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchBlt(dc, place.left, place.top, place.right, place.bottom, source.get(), 0, 0,
                   info.bmWidth, info.bmHeight, SRCCOPY);
    }
}

void ComposeFrame(HDC dc, int w, int h)
{
    const COLORREF caption = GetSysColor(COLOR_INACTIVECAPTION);
    const COLORREF desktop = GetSysColor(COLOR_DESKTOP);
    const COLORREF white = RGB(255, 255, 255);
    {
        UniquePen pen(CreatePen(PS_SOLID, 1, caption));
        SelectGuard usePen(dc, pen.get());
        SelectGuard useBrush(dc, GetSysColorBrush(COLOR_INACTIVECAPTION));
        const RECT area = TileAreaFor(w, h);
        Rectangle(dc, area.left, area.top, area.right + 1, area.bottom + 1);
    }
    DrawWallpaper(dc, w, h);

    FillGradient(dc, 0, 0, w + 1, kHeaderHeight, desktop, caption, 90);
    FillGradient(dc, 0, kHeaderHeight - 2, w / 5, kHeaderHeight, caption, white, 0);
    FillGradient(dc, w / 5, kHeaderHeight - 2, w + 1, kHeaderHeight, white, caption, 0);
    FillGradient(dc, 0, h - 53, w, h, caption, desktop, 90);
    FillGradient(dc, 0, h - 54, w / 4, h - 52, caption, white, 0);
    FillGradient(dc, w / 4, h - 54, w + 1, h - 52, white, caption, 0);

    if (HICON logo = static_cast<HICON>(LoadImageA(appInstance, MAKEINTRESOURCEA(IDI_LOGO), IMAGE_ICON,
                                                  kLogoWidth, kLogoHeight, LR_SHARED)))
        DrawIconEx(dc, 16, h - 51, logo, kLogoWidth, kLogoHeight, 0, nullptr, DI_NORMAL);

    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    DrawTextAt(dc, font, GetSysColor(COLOR_CAPTIONTEXT), 0, 20, h - 18, kHelpText);
    DrawTextAt(dc, font, GetSysColor(COLOR_INACTIVECAPTIONTEXT), 0, w - 185, h - 18, kFooterNotice);
}

}  // namespace

void GridForCount(unsigned count, int* columns, int* rows)
{
    unsigned k = 1;
    while (k * k < count) ++k;
    *columns = static_cast<int>(k);
    *rows = static_cast<int>((k - 1) * k >= count && k > 1 ? k - 1 : k);
}

RECT TileAreaFor(int screenWidth, int screenHeight)
{
    return RECT{0, kHeaderHeight, screenWidth + 1, screenHeight - kFooterReserve};
}

void LayoutTiles(int columns, int rows, const RECT& area)
{
    if (columns <= 0 || rows <= 0) return;
    const int cellWidth = (area.right - area.left) / columns;
    const int rowPitch = (area.bottom - area.top) / rows - kRowGap;
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

RECT WallpaperPlacement(int bw, int bh, int w, int h, bool* unscaled)
{
    *unscaled = false;
    const int areaWidth = w + 1;
    const int areaHeight = h - 92;
    if (bw == w && bh == h) {
        *unscaled = true;
        return RECT{0, 0, w, h};
    }
    if (static_cast<float>(bw) / static_cast<float>(bh) == static_cast<float>(w) / static_cast<float>(h))
        return RECT{0, 0, w, h};
    if (bw > bh) {
        const int s = static_cast<int>(static_cast<long long>(bh) * areaWidth / bw);
        return RECT{0, kHeaderHeight + (areaHeight / 2 - s / 2), areaWidth, s};
    }
    if (bw < bh) {
        const int s = static_cast<int>(static_cast<long long>(bw) * areaHeight / bh);
        return RECT{areaWidth / 2 - s / 2, kHeaderHeight, s, areaHeight};
    }
    return RECT{areaWidth / 2 - areaHeight / 2, kHeaderHeight, areaHeight, areaHeight};
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
    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));  // IDC_WAIT
    SetCursorPos(w - 463, h - 42);  // in the footer, outside every tile

    UniqueWindowDc windowDc(window);
    if (!windowDc) return;
    DeleteOverviewBuffer();
    overviewBuffer = CreateCompatibleBitmap(windowDc.get(), w + 1, h + 1);
    {
        UniqueMemoryDc compose(CreateCompatibleDC(windowDc.get()));
        if (compose && overviewBuffer) {
            SelectGuard hold(compose.get(), overviewBuffer);
            ComposeFrame(compose.get(), w, h);
            BitBlt(windowDc.get(), 0, 0, w + 1, h + 1, compose.get(), 0, 0, SRCCOPY);
        }
    }

    if (windowList.head) {
        int rows = 0;
        GridForCount(windowList.count, &gridColumns, &rows);
        LayoutTiles(gridColumns, rows, TileAreaFor(w, h));
        PrerenderTiles(windowDc.get(), w);
        windowList.selected = windowList.head;
        // The selection and its title show at once, not only when its snapshot arrives.
        PresentTile(windowDc.get(), windowList.selected, true);
        if (!snapshotStopRequested) CreateSnapshotWorker(window);
    }
    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));  // IDC_ARROW
}
