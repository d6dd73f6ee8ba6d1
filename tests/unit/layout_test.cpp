#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/infotip.h"
#include "overview/layout.h"
#include "overview/lifecycle.h"
#include "overview/selection.h"
#include "overview/showing.h"
#include "overview/tiles.h"
#include "test_support.h"
#include "windows/capture.h"
#include "windows/windowlist.h"

TEST(Grid, NeverTallerThanWide)
{
    const std::pair<unsigned, std::pair<int, int>> table[] = {
        {1, {1, 1}},  {2, {2, 1}},  {3, {2, 2}},  {4, {2, 2}},  {5, {3, 2}},  {6, {3, 2}},
        {7, {3, 3}},  {9, {3, 3}},  {10, {4, 3}}, {12, {4, 3}}, {13, {4, 4}}, {16, {4, 4}},
        {17, {5, 4}}, {20, {5, 4}}, {21, {5, 5}}, {25, {5, 5}}};
    for (const auto& [count, expected] : table) {
        int columns = 0, rows = 0;
        GridForCount(count, &columns, &rows);
        EXPECT_EQ(expected, std::make_pair(columns, rows)) << count << " windows";
    }
    for (unsigned count = 1; count <= 25; ++count) {
        int columns = 0, rows = 0;
        GridForCount(count, &columns, &rows);
        EXPECT_GE(static_cast<unsigned>(columns * rows), count);
        EXPECT_LE(rows, columns);
        EXPECT_LT(static_cast<unsigned>(columns * (rows - 1)), count) << "a whole empty row";
    }
}

namespace {

class Layout : public ::testing::Test {
protected:
    void SetUp() override { ResetWindowList(showing.windowList); }
    void TearDown() override
    {
        ClearWindowList(showing.windowList);
        DestroyWindowList(showing.windowList);
    }
    void Fill(unsigned count)
    {
        for (unsigned i = 0; i < count; ++i) AppendWindowEntry(showing.windowList, FakeHandle(i + 1));
    }
    std::vector<RECT> Tiles()
    {
        std::vector<RECT> tiles;
        for (WindowEntry* entry = showing.windowList.head; entry; entry = entry->next) tiles.push_back(entry->tile);
        return tiles;
    }
};

bool Same(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

TEST_F(Layout, FiveWindowsOnA1024By768Screen)
{
    Fill(5);
    const RECT area = TileAreaFor(1024, 768);
    EXPECT_TRUE(Same(RECT{0, 40, 1025, 716}, area));
    LayoutTiles(showing.windowList, 3, 2, area);
    const std::vector<RECT> tiles = Tiles();
    ASSERT_EQ(5u, tiles.size());
    EXPECT_TRUE(Same(RECT{0, 40, 341, 375}, tiles[0]));
    EXPECT_TRUE(Same(RECT{341, 40, 682, 375}, tiles[1]));
    EXPECT_TRUE(Same(RECT{682, 40, 1023, 375}, tiles[2]));
    EXPECT_TRUE(Same(RECT{0, 375, 341, 710}, tiles[3]));
    EXPECT_TRUE(Same(RECT{341, 375, 682, 710}, tiles[4]));
    WindowEntry* fifth = showing.windowList.tail;
    EXPECT_EQ(2, fifth->column);
    EXPECT_EQ(2, fifth->row);
    EXPECT_EQ(1, showing.windowList.head->column);
}

TEST_F(Layout, OneTwoAndSevenWindows)
{
    const RECT area = TileAreaFor(1024, 768);
    Fill(1);
    LayoutTiles(showing.windowList, 1, 1, area);
    EXPECT_TRUE(Same(RECT{0, 40, 1025, 713}, Tiles()[0]));  // the area less 3 pixels

    ClearWindowList(showing.windowList);
    Fill(2);
    LayoutTiles(showing.windowList, 2, 1, area);
    EXPECT_TRUE(Same(RECT{0, 40, 512, 713}, Tiles()[0]));
    EXPECT_TRUE(Same(RECT{512, 40, 1024, 713}, Tiles()[1]));

    ClearWindowList(showing.windowList);
    Fill(7);
    LayoutTiles(showing.windowList, 3, 3, area);
    const std::vector<RECT> tiles = Tiles();
    EXPECT_TRUE(Same(RECT{0, 484, 341, 706}, tiles[6]));  // rows 222 high
    EXPECT_EQ(1, showing.windowList.tail->column);
    EXPECT_EQ(3, showing.windowList.tail->row);
}

TEST(Wallpaper, PlacementFollowsTheShapeOfTheImage)
{
    bool unscaled = false;
    RECT place = WallpaperPlacement(1024, 768, 1024, 768, &unscaled);
    EXPECT_TRUE(unscaled);
    EXPECT_TRUE(Same(RECT{0, 0, 1024, 768}, place));

    place = WallpaperPlacement(1600, 1200, 1024, 768, &unscaled);  // 4:3 on 4:3
    EXPECT_FALSE(unscaled);
    EXPECT_TRUE(Same(RECT{0, 0, 1024, 768}, place));

    place = WallpaperPlacement(1920, 1080, 1024, 768, &unscaled);  // 16:9: full width, centred
    const int s = 1080 * 1025 / 1920;
    EXPECT_TRUE(Same(RECT{0, 40 + (676 / 2 - s / 2), 1025, s}, place));

    place = WallpaperPlacement(600, 1200, 1024, 768, &unscaled);  // portrait: full height
    EXPECT_TRUE(Same(RECT{1025 / 2 - 338 / 2, 40, 338, 676}, place));

    place = WallpaperPlacement(500, 500, 1024, 768, &unscaled);  // square
    EXPECT_TRUE(Same(RECT{1025 / 2 - 676 / 2, 40, 676, 676}, place));
}

namespace {

// Every measure of the Overview on a 1024 x 768 monitor at one DPI, in groups, as the functions the
// showing draws, places and hit-tests by give them.
struct OverviewMeasures {
    std::vector<LONG> bands;    // tile area top and bottom; header bottom, its rule's top; footer band, rule
    std::vector<LONG> logo;     // left, top, right, bottom
    std::vector<LONG> points;   // help text, notice, where the pointer parks
    std::vector<LONG> buttons;  // Cancel, Refresh
    std::vector<LONG> rows;     // the second of two rows: top, bottom
    std::vector<LONG> label;    // a title 200 wide
    std::vector<LONG> tile;     // in a tile 300 wide: close and information buttons, hot square height
    std::vector<LONG> snapshot;  // {20, 30, 220, 180} selected and plain; a large capture fitted in 300 x 300
    std::vector<LONG> tip;      // beside a pointer at (100, 20), and at (1000, 20) near the right edge
    std::vector<LONG> fonts;    // text height, title cell height
};

std::vector<LONG> Corners(std::initializer_list<RECT> rects)
{
    std::vector<LONG> values;
    for (const RECT& r : rects) values.insert(values.end(), {r.left, r.top, r.right, r.bottom});
    return values;
}

OverviewMeasures MeasuresAt(int dpi)
{
    const int w = 1024, h = 768;
    OverviewMeasures m;
    const FrameLayout frame = FrameLayoutFor(w, h, dpi);
    m.bands = {frame.tileArea.top,   frame.tileArea.bottom, frame.headerBottom,    frame.headerRuleTop,
               frame.footerBandTop, frame.footerRuleTop,   frame.footerRuleBottom};
    m.logo = Corners({frame.logo});
    m.points = {frame.helpText.x, frame.helpText.y,    frame.notice.x,
                frame.notice.y,   frame.pointerPark.x, frame.pointerPark.y};
    m.buttons = Corners({CancelButtonRect(w, h, dpi), RefreshButtonRect(w, h, dpi)});

    WindowList list{};
    ResetWindowList(list);
    AppendWindowEntry(list, FakeHandle(1));
    WindowEntry* second = AppendWindowEntry(list, FakeHandle(2));
    LayoutTiles(list, 1, 2, TileAreaFor(w, h, dpi), dpi);
    m.rows = {second->tile.top, second->tile.bottom};
    ClearWindowList(list);
    DestroyWindowList(list);

    m.label = Corners({LabelRectFor(200, w, dpi)});
    const TileButtons buttons = TileButtonsFor(300, dpi);
    const RECT tile{0, 0, 300, 200};
    LONG square = 0;
    while (InCloseSquare(tile, 299, square, dpi) && InInfoSquare(tile, 0, square, dpi)) ++square;
    m.tile = Corners({buttons.close, buttons.info});
    m.tile.push_back(square);
    const RECT shot{20, 30, 220, 180};
    const StretchTarget selected = SelectedSnapshotArea(shot, dpi), plain = PlainSnapshotArea(shot, dpi);
    m.snapshot = {selected.x, selected.y, selected.width, selected.height, plain.x, plain.y, plain.width, plain.height};
    const std::vector<LONG> fitted = Corners({FitSnapshot(1000, 1000, 300, 300, dpi)});
    m.snapshot.insert(m.snapshot.end(), fitted.begin(), fitted.end());
    const RECT monitor{0, 0, w, h};
    const POINT right = InfoTipPlace(POINT{100, 20}, monitor, dpi), left = InfoTipPlace(POINT{1000, 20}, monitor, dpi);
    m.tip = {right.x, right.y, left.x, left.y};
    m.fonts = {FontHeightForPoints(8, dpi), CellHeightForPoints(12, dpi)};
    return m;
}

}  // namespace

// A notice longer than the English one moves left to end a margin short of the screen's edge, and
// the help line ends a margin before the notice, however narrow the screen.
TEST(ScaledFrame, TheFooterTextsMakeRoomForEachOther)
{
    const FrameLayout frame = FrameLayoutFor(1024, 768);
    EXPECT_EQ(839, FooterTextsFor(frame, 1024, 100).noticeLeft);
    EXPECT_EQ(819, FooterTextsFor(frame, 1024, 100).helpRight);
    EXPECT_EQ(704, FooterTextsFor(frame, 1024, 300).noticeLeft);
    EXPECT_EQ(20, FooterTextsFor(frame, 1024, 2000).helpRight);
}

// At 100, 150 and 200 per cent every measure is scaled from 96 DPI as Windows rounds, by the DPI
// given alone: a showing on a monitor of another scale than the system's gets that monitor's
// measures.
TEST(ScaledFrame, EveryMeasureAt96144And192Dpi)
{
    const std::pair<int, OverviewMeasures> table[] = {
        {96,
         {{40, 716, 40, 38, 715, 714, 716},
          {16, 717, 166, 751},
          {20, 750, 839, 750, 561, 726},
          {930, 721, 1006, 744, 846, 721, 922, 744},
          {375, 710},
          {376, 4, 648, 36},
          {280, 11, 291, 22, 11, 11, 22, 22, 25},
          {18, 28, 205, 155, 22, 32, 197, 147, 15, 15, 285, 285},
          {105, 30, 900, 30},
          {-11, 16}}},
        {144,
         {{60, 690, 60, 57, 688, 687, 690},
          {24, 691, 249, 742},  // 225 x 51
          {30, 741, 746, 741, 329, 705},
          {883, 697, 997, 732, 757, 697, 871, 732},  // 114 x 35 at (W - 141, H - 71) and (W - 267, H - 71)
          {370, 680},
          {358, 6, 666, 54},
          {270, 17, 286, 33, 17, 17, 33, 33, 38},
          {17, 27, 208, 158, 23, 33, 195, 145, 23, 23, 277, 277},
          {108, 35, 850, 35},
          {-16, 24}}},
        {192,
         {{80, 664, 80, 76, 662, 660, 664},
          {32, 666, 332, 734},
          {40, 732, 654, 732, 98, 684},
          {836, 674, 988, 720, 668, 674, 820, 720},
          {366, 652},
          {340, 8, 684, 72},
          {260, 22, 282, 44, 22, 22, 44, 44, 50},
          {16, 26, 210, 160, 24, 34, 194, 144, 30, 30, 270, 270},
          {110, 40, 800, 40},
          {-21, 32}}},
    };
    for (const auto& [dpi, expected] : table) {
        SCOPED_TRACE("at " + std::to_string(dpi) + " DPI");
        const OverviewMeasures m = MeasuresAt(dpi);
        EXPECT_EQ(expected.bands, m.bands);
        EXPECT_EQ(expected.logo, m.logo);
        EXPECT_EQ(expected.points, m.points);
        EXPECT_EQ(expected.buttons, m.buttons);
        EXPECT_EQ(expected.rows, m.rows);
        EXPECT_EQ(expected.label, m.label);
        EXPECT_EQ(expected.tile, m.tile);
        EXPECT_EQ(expected.snapshot, m.snapshot);
        EXPECT_EQ(expected.tip, m.tip);
        EXPECT_EQ(expected.fonts, m.fonts);
    }
    // On a monitor left of and above the primary one, the pointer parks at the same place in it.
    const POINT park = ScreenPointOf(RECT{-1024, -100, 0, 668}, FrameLayoutFor(1024, 768, 144).pointerPark);
    EXPECT_EQ((std::vector<LONG>{329 - 1024, 705 - 100}), (std::vector<LONG>{park.x, park.y}));
}

TEST(ScaledFrame, PartsStayInTheirBandsAtEveryScale)
{
    for (int dpi : {96, 120, 144, 192}) {
        for (const auto& [w, h] : {std::pair{1024, 768}, std::pair{1920, 1080}}) {
            const FrameLayout frame = FrameLayoutFor(w, h, dpi);
            const RECT cancel = CancelButtonRect(w, h, dpi), refresh = RefreshButtonRect(w, h, dpi);
            SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h) + " at " + std::to_string(dpi));
            EXPECT_EQ(frame.headerBottom, frame.tileArea.top);
            EXPECT_EQ(frame.footerRuleBottom, frame.tileArea.bottom);
            EXPECT_GT(frame.pointerPark.y, frame.tileArea.bottom);  // outside every tile
            EXPECT_LT(frame.pointerPark.x, refresh.left);
            EXPECT_GT(refresh.top, frame.footerRuleBottom);
            EXPECT_LE(cancel.bottom, h);
            EXPECT_LT(refresh.right, cancel.left);
            EXPECT_GT(frame.logo.top, frame.footerRuleBottom);
            EXPECT_LE(LabelRectFor(200, w, dpi).bottom, frame.headerRuleTop);  // the title in the header
        }
    }
}
