#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "overview/layout.h"
#include "overview/lifecycle.h"
#include "overview/showing.h"
#include "overview/tiles.h"
#include "test_support.h"
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

// At 144 DPI (150 per cent) every measure of the frame is scaled as Windows rounds, and the parts
// keep out of each other's way at every scale.
TEST(ScaledFrame, BandsAndButtonsAt144)
{
    const FrameLayout frame = FrameLayoutFor(1024, 768, 144);
    EXPECT_TRUE(Same(RECT{0, 60, 1025, 690}, frame.tileArea));
    EXPECT_EQ((std::vector<int>{60, 57, 688, 687, 690}),
              (std::vector<int>{frame.headerBottom, frame.headerRuleTop, frame.footerBandTop, frame.footerRuleTop,
                                frame.footerRuleBottom}));
    EXPECT_TRUE(Same(RECT{24, 691, 249, 742}, frame.logo));  // 225 x 51
    EXPECT_EQ((std::vector<LONG>{30, 741, 746, 741, 329, 705}),
              (std::vector<LONG>{frame.helpText.x, frame.helpText.y, frame.notice.x, frame.notice.y,
                                 frame.pointerPark.x, frame.pointerPark.y}));
    // 114 x 35 at (W - 141, H - 71) and (W - 267, H - 71).
    EXPECT_TRUE(Same(RECT{883, 697, 997, 732}, CancelButtonRect(1024, 768, 144)));
    EXPECT_TRUE(Same(RECT{757, 697, 871, 732}, RefreshButtonRect(1024, 768, 144)));
    // On a monitor left of and above the primary one, the pointer parks at the same place in it.
    const POINT park = ScreenPointOf(RECT{-1024, -100, 0, 668}, frame.pointerPark);
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
