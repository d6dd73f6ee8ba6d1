#include "overview/frame.h"

#include <string>

#include "common/instance.h"
#include "common/language.h"
#include "common/owners.h"
#include "common/system.h"
#include "overview/drawing.h"
#include "overview/find.h"
#include "overview/layout.h"
#include "overview/prerender.h"
#include "overview/showing.h"
#include "overview/worker.h"
#include "resources/resource.h"
#include "windows/windowlist.h"

namespace {

// In the dark look the wallpaper lies under a veil of the tile area's colour, this opaque (of
// 255): a dim texture that keeps the tiles in front and the screen from flashing bright.
constexpr BYTE kWallpaperVeil = 176;

// Draws the user's wallpaper over the screen; false when there is none to draw.
bool DrawWallpaper(HDC dc, int screenWidth, int screenHeight, int dpi)
{
    wchar_t path[kPathCapacity] = {};
    if (!SystemParametersInfoW(SPI_GETDESKWALLPAPER, std::size(path), path, 0) || path[0] == L'\0') return false;
    UniqueBitmap wallpaper(static_cast<HBITMAP>(
        LoadImageW(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    if (!wallpaper) return false;
    BITMAP info{};
    if (!GetObjectW(wallpaper.get(), sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) return false;
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
    return true;
}

// Blends the colour over the area, `alpha` of 255 opaque.
void VeilArea(HDC dc, const RECT& area, COLORREF colour, BYTE alpha)
{
    UniqueMemoryDc pixelDc(CreateCompatibleDC(dc));
    UniqueBitmap pixel(CreateCompatibleBitmap(dc, 1, 1));
    if (!pixelDc || !pixel) return;
    SelectGuard hold(pixelDc.get(), pixel.get());
    SetPixelV(pixelDc.get(), 0, 0, colour);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, alpha, 0};
    AlphaBlend(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, pixelDc.get(), 0, 0, 1, 1,
               blend);
}

void ComposeFrame(HDC dc, int w, int h, int dpi, const OverviewColours& colours)
{
    const FrameLayout frame = FrameLayoutFor(w, h, dpi);
    const COLORREF caption = colours.bandTo, desktop = colours.bandFrom, white = colours.rule;
    {
        UniquePen pen(CreatePen(PS_SOLID, 1, colours.tileArea));
        UniqueBrush brush(CreateSolidBrush(colours.tileArea));
        SelectGuard usePen(dc, pen.get());
        SelectGuard useBrush(dc, brush.get());
        const RECT& area = frame.tileArea;
        Rectangle(dc, area.left, area.top, area.right + 1, area.bottom + 1);
    }
    if (!colours.highContrast && DrawWallpaper(dc, w, h, dpi) && colours.dark)
        VeilArea(dc, frame.tileArea, colours.tileArea, kWallpaperVeil);

    const int header = frame.headerBottom, headerRule = frame.headerRuleTop;
    FillGradient(dc, 0, 0, w + 1, header, desktop, caption, 90);
    FillGradient(dc, 0, headerRule, w / 5, header, caption, white, 0);
    FillGradient(dc, w / 5, headerRule, w + 1, header, white, caption, 0);
    FillGradient(dc, 0, frame.footerBandTop, w, h, caption, desktop, 90);
    FillGradient(dc, 0, frame.footerRuleTop, w / 4, frame.footerRuleBottom, caption, white, 0);
    FillGradient(dc, w / 4, frame.footerRuleTop, w + 1, frame.footerRuleBottom, white, caption, 0);

    const RECT& place = frame.logo;
    const int logoWidth = place.right - place.left, logoHeight = place.bottom - place.top;
    // Made at this showing's size (a shared copy would keep the size it was first loaded at).
    if (UniqueIcon logo{static_cast<HICON>(
            LoadImageW(appInstance, MAKEINTRESOURCEW(IDI_LOGO), IMAGE_ICON, logoWidth, logoHeight, 0))})
        DrawIconEx(dc, place.left, place.top, logo.get(), logoWidth, logoHeight, 0, nullptr, DI_NORMAL);

    HFONT font = OverviewTextFont();
    const std::wstring notice = LoadText(IDS_OVERVIEW_NOTICE);
    SIZE noticeSize{};
    {
        SelectGuard useFont(dc, font);
        GetTextExtentPoint32W(dc, notice.c_str(), static_cast<int>(notice.size()), &noticeSize);
    }
    const FooterTexts footer = FooterTextsFor(frame, w, noticeSize.cx);
    DrawTextAt(dc, font, colours.text, kTransparent, frame.helpText.x, frame.helpText.y,
               LoadText(IDS_OVERVIEW_HELP).c_str(), footer.helpRight);
    DrawTextAt(dc, font, colours.notice, kTransparent, footer.noticeLeft, frame.notice.y, notice.c_str());
}

}  // namespace

void DeleteOverviewBuffer(Showing& current)
{
    if (current.overviewBuffer) DeleteObject(current.overviewBuffer);
    current.overviewBuffer = nullptr;
}

void BuildOverview(Showing& current, HWND window)
{
    const RECT& monitor = current.overviewMonitor;
    const int w = monitor.right - monitor.left;
    const int h = monitor.bottom - monitor.top;
    const int dpi = current.overviewDpi;
    SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514)));  // IDC_WAIT
    const POINT park = ScreenPointOf(monitor, FrameLayoutFor(w, h, dpi).pointerPark);
    SetCursorPos(park.x, park.y);

    // Everything is drawn off screen, against the screen's format; the window shows it when painted.
    HDC screen = GetDC(nullptr);
    if (!screen) return;
    DeleteOverviewBuffer(current);
    current.overviewBuffer = CreateCompatibleBitmap(screen, w + 1, h + 1);
    {
        UniqueMemoryDc compose(CreateCompatibleDC(screen));
        if (compose && current.overviewBuffer) {
            SelectGuard hold(compose.get(), current.overviewBuffer);
            ComposeFrame(compose.get(), w, h, dpi, current.colours);
            KeepFindBackdrop(current, compose.get(), w, h, dpi);
        }
    }

    if (current.windowList.head) {
        int rows = 0;
        GridForCount(current.windowList.count, &current.gridColumns, &rows);
        LayoutTiles(current.windowList, current.gridColumns, rows, TileAreaFor(w, h, dpi), dpi);
        MakeTileLooks(current, screen);
        // With a second processor the worker captures while the tiles are drawn, and fills them
        // beside the showing's last steps: those ready by the first paint are in it.
        if (!current.snapshotStopRequested) CreateSnapshotWorker(current, window);
        if (FillsBeforeShowing(ProcessorCount())) ResumeSnapshotWorker(current);
        PrerenderTiles(current, screen, w);
        LetWorkerDraw(current);
        // The selection and its title show at once, not only when its snapshot arrives.
        current.windowList.selected = current.windowList.head;
    }
    ReleaseDC(nullptr, screen);
    InvalidateRect(window, nullptr, FALSE);
    SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)));  // IDC_ARROW
}
