#include "overview/scaling.h"

#include "common/owners.h"

namespace {

// The default GUI font is 8 points ("MS Shell Dlg").
constexpr int kTextFontPoints = 8;

UniqueFont scaledTextFont;  // null at 96 DPI, where the stock font serves
int scaledTextFontDpi = kBaseDpi;

HFONT StockTextFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

}  // namespace

int ReadScreenDpi()
{
    HDC screen = GetDC(nullptr);
    if (!screen) return kBaseDpi;
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kBaseDpi;
}

int UpdateOverviewDpi()
{
    const int dpi = ReadScreenDpi();
    if (dpi == scaledTextFontDpi) return dpi;
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
    scaledTextFontDpi = dpi;
    return dpi;
}

HFONT OverviewTextFont() { return scaledTextFont ? scaledTextFont.get() : StockTextFont(); }
