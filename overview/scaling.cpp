#include "overview/scaling.h"

#include "common/monitors.h"
#include "common/owners.h"

namespace {

// The default GUI font is 8 points ("MS Shell Dlg").
constexpr int kTextFontPoints = 8;

// Both made for fontsDpi. The text font is null at 96 DPI, where the stock font serves.
UniqueFont scaledTextFont;
UniqueFont tipFont;
int fontsDpi = 0;  // none made yet

HFONT StockTextFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

// The status font the system gives tooltips, which it measures for its own DPI, at `dpi`.
HFONT CreateTipFont(int dpi)
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return nullptr;
    LOGFONTW face = metrics.lfStatusFont;
    face.lfHeight = MulDiv(face.lfHeight, dpi, ReadScreenDpi());
    face.lfWidth = 0;
    return CreateFontIndirectW(&face);
}

}  // namespace

int ReadScreenDpi()
{
    HDC screen = GetDC(nullptr);
    if (!screen) return kBaseDpi;
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kBaseDpi;
}

int ReadMonitorDpi(HMONITOR monitor)
{
    UINT dpi = 0;
    const HRESULT answer = AskMonitorDpi(monitor, &dpi);
    return ShowingDpi(answer, dpi, ReadScreenDpi());
}

int UpdateOverviewDpi(HMONITOR monitor) { return UseOverviewDpi(ReadMonitorDpi(monitor)); }

int UseOverviewDpi(int dpi)
{
    if (dpi == fontsDpi) return dpi;
    UniqueFont font;
    if (dpi != kBaseDpi) {
        LOGFONTW face{};
        if (GetObjectW(StockTextFont(), sizeof face, &face) == sizeof face) {
            face.lfHeight = FontHeightForPoints(kTextFontPoints, dpi);
            face.lfWidth = 0;
            font.reset(CreateFontIndirectW(&face));
        }
    }
    scaledTextFont = std::move(font);
    tipFont.reset(CreateTipFont(dpi));
    fontsDpi = dpi;
    return dpi;
}

HFONT OverviewTextFont() { return scaledTextFont ? scaledTextFont.get() : StockTextFont(); }

HFONT OverviewTipFont() { return tipFont.get(); }
