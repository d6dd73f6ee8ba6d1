#include <gtest/gtest.h>

#include <array>
#include <mutex>

#include "common/owners.h"
#include "overview/lifecycle.h"
#include "overview/scaling.h"
#include "overview/showing.h"
#include "overview/tiles.h"
#include "test_support.h"
#include "windows/windowlist.h"

namespace {

bool Near(COLORREF a, COLORREF b, int tolerance = 12)
{
    return abs(GetRValue(a) - GetRValue(b)) <= tolerance && abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kMean = RGB(127, 0, 127);

}  // namespace

TEST(Gradient, EachAngleRunsItsWay)
{
    Canvas canvas(100, 100);
    ASSERT_TRUE(FillGradient(canvas.dc.get(), 0, 0, 100, 100, kRed, kBlue, 0));
    EXPECT_TRUE(Near(kRed, canvas.At(0, 50)));
    EXPECT_TRUE(Near(kBlue, canvas.At(99, 50)));
    EXPECT_TRUE(Near(canvas.At(0, 0), canvas.At(0, 99)));  // constant down a column

    canvas.Fill(0);
    ASSERT_TRUE(FillGradient(canvas.dc.get(), 0, 0, 100, 100, kRed, kBlue, 90));
    EXPECT_TRUE(Near(kRed, canvas.At(50, 0)));
    EXPECT_TRUE(Near(kBlue, canvas.At(50, 99)));
    EXPECT_TRUE(Near(canvas.At(0, 30), canvas.At(99, 30)));  // constant along a row

    for (int angle : {45, 225}) {
        canvas.Fill(0);
        ASSERT_TRUE(FillGradient(canvas.dc.get(), 0, 0, 100, 100, kRed, kBlue, angle)) << angle;
        EXPECT_TRUE(Near(kRed, canvas.At(0, 0))) << angle;
        EXPECT_TRUE(Near(kBlue, canvas.At(99, 99))) << angle;
        EXPECT_TRUE(Near(kMean, canvas.At(99, 0))) << angle;
        EXPECT_TRUE(Near(kMean, canvas.At(0, 99))) << angle;
    }

    canvas.Fill(0);
    ASSERT_TRUE(FillGradient(canvas.dc.get(), 0, 0, 100, 100, kRed, kBlue, 135));
    EXPECT_TRUE(Near(kRed, canvas.At(99, 0)));
    EXPECT_TRUE(Near(kBlue, canvas.At(0, 99)));
    EXPECT_TRUE(Near(kMean, canvas.At(0, 0)));

    canvas.Fill(0);
    ASSERT_TRUE(FillGradient(canvas.dc.get(), 0, 0, 100, 100, kRed, kBlue, 180));
    EXPECT_TRUE(Near(kRed, canvas.At(0, 50)));
    EXPECT_TRUE(Near(kBlue, canvas.At(99, 50)));

    canvas.Fill(RGB(9, 9, 9));
    EXPECT_FALSE(FillGradient(canvas.dc.get(), 0, 0, 100, 100, kRed, kBlue, -45));
    EXPECT_FALSE(FillGradient(canvas.dc.get(), 0, 0, 100, 100, kRed, kBlue, 30));
    EXPECT_EQ(RGB(9, 9, 9), canvas.At(50, 50));
}

TEST(TextOut, LongTextIsCutAt255Characters)
{
    Canvas canvas(4000, 20);
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    std::wstring text(300, L'W');
    SIZE whole{}, cut{};
    SelectObject(canvas.dc.get(), font);
    GetTextExtentPoint32W(canvas.dc.get(), text.c_str(), 255, &cut);
    GetTextExtentPoint32W(canvas.dc.get(), text.c_str(), 300, &whole);
    ASSERT_LT(cut.cx + 5, whole.cx);
    canvas.Fill(RGB(255, 255, 255));
    DrawTextAt(canvas.dc.get(), font, RGB(0, 0, 0), kTransparent, 0, 2, text.c_str());
    bool inkAfterCut = false, inkBeforeCut = false;
    for (int y = 0; y < 20; ++y) {
        if (canvas.At(cut.cx + 3, y) != RGB(255, 255, 255)) inkAfterCut = true;
        if (canvas.At(cut.cx - 4, y) != RGB(255, 255, 255)) inkBeforeCut = true;
    }
    EXPECT_TRUE(inkBeforeCut);
    EXPECT_FALSE(inkAfterCut);
    // The caller's font is put back.
    EXPECT_EQ(font, GetCurrentObject(canvas.dc.get(), OBJ_FONT));
}

namespace {

HBITMAP SolidBitmap(int w, int h, COLORREF colour)
{
    UniqueMemoryDc screen(CreateCompatibleDC(nullptr));
    HDC desktop = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(desktop, w, h);
    ReleaseDC(nullptr, desktop);
    HGDIOBJ old = SelectObject(screen.get(), bitmap);
    UniqueBrush brush(CreateSolidBrush(colour));
    RECT all{0, 0, w, h};
    FillRect(screen.get(), &all, brush.get());
    SelectObject(screen.get(), old);
    return bitmap;
}

// Two entries with solid-coloured images; the labels sit side by side in the header.
class Presentation : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetWindowList(showing.windowList);
        a = AppendWindowEntry(showing.windowList, reinterpret_cast<HWND>(1));
        b = AppendWindowEntry(showing.windowList, reinterpret_cast<HWND>(2));
        Dress(a, RECT{0, 40, 50, 90}, RECT{10, 4, 40, 36}, RGB(200, 0, 0), RGB(100, 0, 0), RGB(50, 0, 0),
              RGB(20, 0, 0));
        Dress(b, RECT{50, 40, 100, 90}, RECT{30, 4, 80, 36}, RGB(0, 200, 0), RGB(0, 100, 0), RGB(0, 50, 0),
              RGB(0, 20, 0));
        showing.labelOwner = nullptr;
    }
    void TearDown() override
    {
        showing.keyboardCues = false;
        showing.labelOwner = nullptr;
        ClearWindowList(showing.windowList);
        DestroyWindowList(showing.windowList);
    }
    void Dress(WindowEntry* entry, RECT tile, RECT label, COLORREF highlight, COLORREF normal, COLORREF title,
               COLORREF backdrop)
    {
        entry->tile = tile;
        entry->labelRect = label;
        entry->highlightTile = SolidBitmap(51, 51, highlight);
        entry->normalTile = SolidBitmap(51, 51, normal);
        entry->titleLabel = SolidBitmap(label.right - label.left, 32, title);
        entry->labelBackdrop = SolidBitmap(label.right - label.left, 32, backdrop);
    }
    WindowEntry* a = nullptr;
    WindowEntry* b = nullptr;
};

}  // namespace

TEST_F(Presentation, LabelsAreErasedBeforeTheNextOneIsDrawn)
{
    Canvas canvas(120, 100);
    PresentTile(showing, canvas.dc.get(), a, TileLook::Selected);  // no owner yet: nothing erased
    EXPECT_EQ(RGB(50, 0, 0), canvas.At(15, 10));
    EXPECT_EQ(RGB(1, 2, 3), canvas.At(60, 10));
    EXPECT_EQ(RGB(200, 0, 0), canvas.At(25, 60));
    EXPECT_EQ(a, showing.labelOwner);

    PresentTile(showing, canvas.dc.get(), b, TileLook::Selected);
    EXPECT_EQ(RGB(20, 0, 0), canvas.At(15, 10));  // A's backdrop where only A's label was
    EXPECT_EQ(RGB(0, 50, 0), canvas.At(35, 10));  // B's label over the overlap, drawn last
    EXPECT_EQ(RGB(0, 200, 0), canvas.At(75, 60));
    EXPECT_EQ(b, showing.labelOwner);

    PresentTile(showing, canvas.dc.get(), a, TileLook::Plain);  // plain: B's label stays up
    EXPECT_EQ(RGB(100, 0, 0), canvas.At(25, 60));
    EXPECT_EQ(RGB(0, 50, 0), canvas.At(35, 10));
    EXPECT_EQ(b, showing.labelOwner);

    showing.windowList.selected = a;
    RepaintAllTiles(showing, canvas.dc.get());
    EXPECT_EQ(RGB(200, 0, 0), canvas.At(25, 60));
    EXPECT_EQ(RGB(0, 100, 0), canvas.At(75, 60));
    EXPECT_EQ(RGB(50, 0, 0), canvas.At(15, 10));
    EXPECT_EQ(RGB(0, 20, 0), canvas.At(60, 10));

    // With keyboard cues, the selected look (only) gets a dotted focus rectangle inside its edge.
    auto dotted = [&] { return canvas.At(3, 43) != RGB(200, 0, 0) || canvas.At(4, 43) != RGB(200, 0, 0); };
    EXPECT_FALSE(dotted());
    showing.keyboardCues = true;
    PresentTile(showing, canvas.dc.get(), a, TileLook::Selected);
    EXPECT_TRUE(dotted());
    EXPECT_EQ(RGB(200, 0, 0), canvas.At(25, 60));
    PresentTile(showing, canvas.dc.get(), b, TileLook::Plain);
    EXPECT_EQ(RGB(0, 100, 0), canvas.At(53, 43));
}

TEST(OverviewColoursChoice, HighContrastTakesEveryColourFromTheSystem)
{
    COLORREF system[COLOR_MENUBAR + 1];
    for (int index = 0; index <= COLOR_MENUBAR; ++index) system[index] = RGB(index, index, index);
    const OverviewColours own = ChooseOverviewColours(false, AppMode::Light, system);
    EXPECT_EQ(RGB(255, 204, 102), own.selectionOuter);
    EXPECT_EQ(RGB(COLOR_DESKTOP, COLOR_DESKTOP, COLOR_DESKTOP), own.bandFrom);
    EXPECT_EQ(RGB(255, 238, 204), own.snapshot.buttonLine);
    EXPECT_EQ(kTransparent, own.snapshot.incompleteBackground);
    const OverviewColours high = ChooseOverviewColours(true, AppMode::Dark, system);  // high contrast wins
    EXPECT_TRUE(high.highContrast);
    const SnapshotColours& over = high.snapshot;
    for (COLORREF colour : {high.selectionOuter, high.selectionInner, high.panelFrom, high.panelTo, high.tileArea,
                            high.bandFrom, high.bandTo, high.rule, high.text, high.notice, high.label, over.buttonLine,
                            over.buttonFill, over.closeFrom, over.closeTo, over.infoFrom, over.infoTo,
                            over.incompleteText, over.incompleteBackground}) {
        const int index = GetRValue(colour);
        EXPECT_TRUE(colour == RGB(index, index, index) &&
                    (index == COLOR_HIGHLIGHT || index == COLOR_WINDOW || index == COLOR_WINDOWTEXT))
            << std::hex << colour;
    }
    EXPECT_NE(high.selectionOuter, high.tileArea) << "the selection stands out from what is behind it";
    EXPECT_NE(over.buttonFill, high.panelFrom) << "the squares stand out from the selected tile's panel";
}

// The dark look takes none of the system's colours (all white here): near-black surfaces, the same selection.
TEST(OverviewColoursChoice, DarkModeDrawsNearBlackSurfacesWithTheSameSelection)
{
    COLORREF system[COLOR_MENUBAR + 1];
    std::fill(std::begin(system), std::end(system), RGB(255, 255, 255));
    const OverviewColours light = ChooseOverviewColours(false, AppMode::Light, system);
    const OverviewColours dark = ChooseOverviewColours(false, AppMode::Dark, system);
    EXPECT_TRUE(dark.dark && !light.dark && light.ground == kTransparent);
    for (COLORREF surface : {dark.tileArea, dark.bandFrom, dark.bandTo, dark.ground, dark.background, dark.dim,
                             dark.snapshot.corners, dark.snapshot.incompleteBackground})
        EXPECT_TRUE(RelativeLuminance(surface) < 0.03 && surface != RGB(0, 0, 0)) << std::hex << surface;
    EXPECT_TRUE(light.selectionInner == dark.selectionInner && light.selectionOuter == dark.selectionOuter);
}

// Texts against what they lie on (both ends of a gradient) 4.5:1, the frames against the tile area 3:1. The
// light look (Wine's system colours) stays as it was: its shortfalls today are marked; the dark meets all.
TEST(OverviewColoursChoice, TextsAndFramesStandOutFromWhatTheyAreDrawnOn)
{
    EXPECT_NEAR(4.48, ContrastRatio(RGB(255, 255, 255), RGB(119, 119, 119)), 0.005);
    COLORREF system[COLOR_MENUBAR + 1];
    for (int index = 0; index <= COLOR_MENUBAR; ++index) system[index] = GetSysColor(index);
    for (AppMode mode : {AppMode::Light, AppMode::Dark}) {
        const OverviewColours c = ChooseOverviewColours(false, mode, system);
        const struct { const char* what; COLORREF colour, ground; double needed; bool lightShort; } rows[] = {
            {"help and find text / band's edge", c.text, c.bandFrom, 4.5, true},
            {"help and find text / tile area end", c.text, c.bandTo, 4.5, false},
            {"footer notice / band's edge", c.notice, c.bandFrom, 4.5, true},
            {"footer notice / tile area end", c.notice, c.bandTo, 4.5, true},
            {"title label / band's edge", c.label, c.bandFrom, 4.5, true},
            {"title label / tile area end", c.label, c.bandTo, 4.5, false},
            {"starting notice", c.text, c.ground, 4.5, false},
            {"incomplete notice", c.snapshot.incompleteText, c.snapshot.incompleteBackground, 4.5, false},
            {"selection outer line", c.selectionOuter, c.tileArea, 3.0, true},
            {"selection inner line", c.selectionInner, c.tileArea, 3.0, true},
            {"squares' frames", c.snapshot.buttonLine, c.tileArea, 3.0, false},
        };
        for (const auto& row : rows) {  // a transparent ground: the system's, or a snapshot
            if (row.ground == kTransparent || (mode == AppMode::Light && row.lightShort)) continue;
            EXPECT_GE(ContrastRatio(row.colour, row.ground), row.needed)
                << row.what << std::hex << " " << row.colour << " on " << row.ground;
        }
    }
}

// High contrast with a black window colour: the squares hold only white on black, and the notice
// stands on an opaque black ground over a white snapshot, in both looks.
TEST(SnapshotDrawing, InHighContrastTheSquaresAndTheNoticeKeepGroundsOfTheirOwn)
{
    const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255), highlight = RGB(0, 120, 215);
    COLORREF system[COLOR_MENUBAR + 1] = {};
    system[COLOR_WINDOWTEXT] = white;
    system[COLOR_HIGHLIGHT] = highlight;
    const SnapshotColours colours = ChooseOverviewColours(true, AppMode::Light, system).snapshot;
    UniqueBitmap selected(SolidBitmap(201, 151, highlight)), plain(SolidBitmap(201, 151, highlight));
    UniqueBitmap capture(SolidBitmap(160, 100, white));
    UniquePen pen(CreatePen(PS_SOLID, 2, colours.buttonLine));
    {
        std::lock_guard<std::mutex> hold(tileImagesLock);
        DrawSnapshotIntoTile(TileImages{selected.get(), plain.get(), SIZE{200, 150}}, RECT{20, 25, 180, 125},
                             capture.get(), 160, 100, L"Incomplete Window Response...", 96, static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)),
                             colours, pen.get());
    }
    // The black, white and other pixels of an area.
    auto count = [&](HBITMAP image, const RECT& area) {
        UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
        SelectGuard hold(dc.get(), image);
        std::array<int, 3> counts{};
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x) {
                const COLORREF pixel = GetPixel(dc.get(), x, y);
                ++counts[pixel == black ? 0 : pixel == white ? 1 : 2];
            }
        return counts;
    };
    const TileButtons buttons = TileButtonsFor(200);
    for (const RECT& square : {buttons.close, buttons.info}) {
        const std::array<int, 3> seen = count(selected.get(), square);
        EXPECT_TRUE(seen[0] > 20 && seen[1] > 20 && seen[2] == 0) << seen[0] << " " << seen[1] << " " << seen[2];
    }
    // The notice's first letters: a tenth of the snapshot up from its bottom, 6 pixels in.
    for (HBITMAP image : {selected.get(), plain.get()}) {
        const std::array<int, 3> seen = count(image, RECT{26, 115, 60, 123});
        EXPECT_TRUE(seen[0] > 34 * 8 / 2 && seen[1] > 5) << seen[0] << " " << seen[1] << " " << seen[2];
    }
}

TEST_F(Presentation, EntriesWithoutImagesDrawNothing)
{
    Canvas canvas(120, 100);
    WindowEntry* bare = AppendWindowEntry(showing.windowList, reinterpret_cast<HWND>(3));
    bare->tile = RECT{0, 40, 50, 90};
    PresentTile(showing, canvas.dc.get(), bare, TileLook::Plain);
    EXPECT_EQ(RGB(1, 2, 3), canvas.At(25, 60));
    PresentTile(showing, canvas.dc.get(), nullptr, TileLook::Selected);
}

// A showing takes the DPI of its monitor where the system gives one (a 100 per cent monitor beside a
// 150 per cent system too), else the screen's; the fonts are made anew only when it differs from
// the last showing's: the stock text font at 96 DPI, the same 8 points elsewhere, and the tip's
// status font scaled from the system's DPI to the showing's.
TEST(TextFont, FollowsTheDpiOfEachShowingsMonitor)
{
    EXPECT_EQ(144, ShowingDpi(S_OK, 144, 96));
    EXPECT_EQ(96, ShowingDpi(S_OK, 96, 144));
    EXPECT_EQ(120, ShowingDpi(E_NOTIMPL, 0, 120)) << "before Windows 8.1";
    EXPECT_EQ(120, ShowingDpi(E_INVALIDARG, 144, 120));
    EXPECT_EQ(120, ShowingDpi(S_OK, 0, 120));

    showing.overviewDpi = UpdateOverviewDpi(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTONEAREST));
    ASSERT_EQ(96, showing.overviewDpi);  // the unit tests run at 96 DPI
    EXPECT_EQ(GetStockObject(DEFAULT_GUI_FONT), OverviewTextFont());
    auto heightOf = [](HGDIOBJ font) {
        LOGFONTW face{};
        return GetObjectW(font, sizeof face, &face) == sizeof face ? face.lfHeight : 0;
    };
    EXPECT_EQ(heightOf(GetStockObject(DEFAULT_GUI_FONT)), FontHeightForPoints(8, 96));  // the points kept
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    const LONG status = metrics.lfStatusFont.lfHeight;
    EXPECT_EQ(status, heightOf(OverviewTipFont()));

    EXPECT_EQ(144, UseOverviewDpi(144));
    HFONT text = OverviewTextFont();
    EXPECT_EQ(FontHeightForPoints(8, 144), heightOf(text));
    EXPECT_EQ(MulDiv(status, 144, 96), heightOf(OverviewTipFont()));
    UseOverviewDpi(144);
    EXPECT_EQ(text, OverviewTextFont()) << "made again for the same DPI";
    UseOverviewDpi(96);
    EXPECT_EQ(GetStockObject(DEFAULT_GUI_FONT), OverviewTextFont());
    EXPECT_EQ(status, heightOf(OverviewTipFont()));
}
