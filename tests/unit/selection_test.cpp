#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "overview/accessible.h"
#include "overview/hold.h"
#include "overview/layout.h"
#include "overview/lifecycle.h"
#include "overview/selection.h"
#include "overview/showing.h"
#include "overview/switching.h"
#include "overview/tiles.h"
#include "test_support.h"
#include "windows/procinfo.h"
#include "windows/windowlist.h"

namespace {

// A laid-out list of n entries on a 1024 x 768 screen (handles are only numbers here).
class Navigation : public ::testing::Test {
protected:
    void SetUp() override { ResetWindowList(showing.windowList); }
    void TearDown() override
    {
        ClearWindowList(showing.windowList);
        DestroyWindowList(showing.windowList);
    }
    void Lay(unsigned count)
    {
        ClearWindowList(showing.windowList);
        for (unsigned i = 0; i < count; ++i) AppendWindowEntry(showing.windowList, FakeHandle(i + 1));
        int rows = 0;
        GridForCount(count, &showing.gridColumns, &rows);
        LayoutTiles(showing.windowList, showing.gridColumns, rows, TileAreaFor(1024, 768));
        showing.windowList.selected = showing.windowList.head;
    }
    // Selects the entry in the cell, moves in the direction, and names the cell it lands on.
    std::string From(int column, int row, Direction direction)
    {
        WindowList& list = showing.windowList;
        for (WindowEntry* entry = list.head; entry; entry = entry->next)
            if (entry->column == column && entry->row == row) list.selected = entry;
        const int from = IndexOfEntry(list, list.selected);
        const int count = static_cast<int>(list.count);
        WindowEntry* target = EntryAtIndex(list, StepInDirection(from, count, showing.gridColumns, direction));
        return target ? std::to_string(target->column) + "," + std::to_string(target->row) : "none";
    }
};

}  // namespace

TEST_F(Navigation, ArrowsWrapWithinTheRowOrColumn)
{
    Lay(5);  // 3 x 2, the last row holds columns 1 and 2
    EXPECT_EQ("1,2", From(2, 2, Direction::Right));
    EXPECT_EQ("3,1", From(1, 1, Direction::Left));
    EXPECT_EQ("2,2", From(1, 2, Direction::Left));
    EXPECT_EQ("none", From(3, 1, Direction::Up));
    EXPECT_EQ("none", From(3, 1, Direction::Down));
    EXPECT_EQ("1,1", From(1, 2, Direction::Down));
    EXPECT_EQ("2,2", From(2, 1, Direction::Up));
    EXPECT_EQ("2,1", From(1, 1, Direction::Right));
    EXPECT_EQ("1,2", From(1, 1, Direction::Down));

    Lay(1);
    for (Direction d : {Direction::Left, Direction::Right, Direction::Up, Direction::Down})
        EXPECT_EQ("none", From(1, 1, d));

    Lay(2);  // side by side
    EXPECT_EQ("none", From(1, 1, Direction::Up));
    EXPECT_EQ("none", From(1, 1, Direction::Down));
    EXPECT_EQ("2,1", From(1, 1, Direction::Right));
    EXPECT_EQ("2,1", From(1, 1, Direction::Left));
    EXPECT_EQ("1,1", From(2, 1, Direction::Right));

    Lay(9);  // full 3 x 3
    EXPECT_EQ("2,3", From(2, 1, Direction::Up));
    EXPECT_EQ("2,1", From(2, 3, Direction::Down));
    EXPECT_EQ("3,2", From(1, 2, Direction::Left));
    EXPECT_EQ("1,3", From(3, 3, Direction::Right));
}

// What the end-to-end test with Alt held cannot reach: no hold to start, a hold that ends unseen, and
// one that ends when another window takes the front.
TEST(HoldToChoose, NoHoldWithoutTheModifierAndAHotkeyWithItUpEndsTheHold)
{
    EXPECT_FALSE(StartHold(true, 0, true).holding || StartHold(true, MOD_ALT, false).holding ||
                 StartHold(false, MOD_ALT, true).holding);
    HoldToChoose hold = StartHold(true, MOD_CONTROL, true);
    StepHold(hold, HoldEvent::SelectionMoved, true, true);  // an arrow is a move too
    EXPECT_EQ(HoldAction::None, StepHold(hold, HoldEvent::ShowHotkey, false, true)) << "posted, modifier up";
    EXPECT_EQ(HoldAction::None, StepHold(hold, HoldEvent::ModifierUp, false, true)) << "the hold was over";
    EXPECT_EQ(HoldAction::None, StepHold(hold, HoldEvent::Escape, true, true)) << "no hold: Esc works on its release";
    // Pressed again with the modifier held: a hold from there, already moved.
    EXPECT_EQ(HoldAction::SelectNext, StepHold(hold, HoldEvent::ShowHotkey, true, true));
    EXPECT_TRUE(hold.holding && hold.moved);
    EXPECT_EQ(HoldAction::None, StepHold(hold, HoldEvent::LostFront, false, true));
    EXPECT_EQ(HoldAction::None, StepHold(hold, HoldEvent::ModifierUp, false, true)) << "the front was lost";
    EXPECT_TRUE(IsModifierKey(MOD_ALT, VK_MENU) && IsModifierKey(MOD_WIN, VK_RWIN));
    EXPECT_FALSE(IsModifierKey(MOD_ALT, VK_CONTROL) || IsModifierKey(MOD_ALT, VK_TAB));
}

// The end-to-end reader test reads a selected and a plain tile with a file name, and the list.
TEST(ScreenReaderList, ChildIdsDimmedTilesAndNamesWithAPartMissing)
{
    EXPECT_EQ(2, ResolveChildId(true, 3, 3).index);
    for (long id : {-1L, 4L, 0x7FFFFFFFL}) EXPECT_EQ(AccessibleChild::Invalid, ResolveChildId(true, id, 3).kind) << id;
    EXPECT_EQ(AccessibleChild::Invalid, ResolveChildId(false, 1, 3).kind);
    EXPECT_EQ(STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_UNAVAILABLE, TileAccessibleState(false, true));
    EXPECT_EQ(L"Notes", TileAccessibleName(L"Notes", L""));
    EXPECT_EQ(L"notepad.exe", TileAccessibleName(L"", L"notepad.exe"));
}

TEST(Wheel, WholeNotchesStepAndTheRestWaitsInItsDirection)
{
    int rest = 0;
    EXPECT_EQ(3, AccumulateWheel(&rest, 360));
    EXPECT_EQ(0, AccumulateWheel(&rest, 100));
    EXPECT_EQ(1, AccumulateWheel(&rest, 50));
    EXPECT_EQ(30, rest);
    // Turning the other way drops what was left: -100 is no step, not 30 - 100 = -70.
    EXPECT_EQ(0, AccumulateWheel(&rest, -100));
    EXPECT_EQ(-1, AccumulateWheel(&rest, -20));
    EXPECT_EQ(0, rest);
}

TEST_F(Navigation, PointsOnSharedEdgesHitTheEarlierTile)
{
    Lay(5);  // tiles 341 wide and 335 high from (0, 40)
    EXPECT_EQ(showing.windowList.head, TileAtPoint(showing, 0, 40));
    EXPECT_EQ(showing.windowList.head, TileAtPoint(showing, 341, 100));  // shared with the second
    EXPECT_EQ(showing.windowList.head->next, TileAtPoint(showing, 342, 100));
    EXPECT_EQ(showing.windowList.head, TileAtPoint(showing, 100, 375));  // shared with the fourth
    EXPECT_EQ(nullptr, TileAtPoint(showing, 100, 39));   // the header
    EXPECT_EQ(nullptr, TileAtPoint(showing, 100, 711));  // the gap under the last row
    EXPECT_EQ(nullptr, TileAtPoint(showing, 800, 500));  // the empty sixth cell
    EXPECT_EQ(nullptr, TileAtPoint(showing, -1, 100));
}

TEST(ProcessInfo, DurationLinesAtEveryBoundary)
{
    const std::pair<unsigned, const wchar_t*> lines[] = {
        {0, L" Duration: less than 1 minute \r\n\r\n"},   {1, L" Duration: 1 minute \r\n\r\n"},
        {2, L" Duration: 2 minutes \r\n\r\n"},            {59, L" Duration: 59 minutes \r\n\r\n"},
        {60, L" Duration: 1 hour 0 minute \r\n\r\n"},     {61, L" Duration: 1 hour 1 minute \r\n\r\n"},
        {62, L" Duration: 1 hour 2 minutes \r\n\r\n"},    {121, L" Duration: 2 hour 1 minute \r\n\r\n"},
        {122, L" Duration: 2 hours 2 minutes \r\n\r\n"},
    };
    for (const auto& [minutes, expected] : lines) {
        wchar_t text[64];
        FormatDurationLine(minutes, text, std::size(text));
        EXPECT_STREQ(expected, text) << minutes;
    }
}

TEST(ProcessInfo, GroupThousandsWithCommas)
{
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"0", L"0"}, {L"999", L"999"}, {L"1000", L"1,000"}, {L"123456", L"123,456"}, {L"1234567", L"1,234,567"}};
    for (const auto& [digits, expected] : cases) {
        wchar_t out[20] = {};
        GroupThousands(digits, out, std::size(out));
        EXPECT_STREQ(expected, out) << digits;
    }
    wchar_t out[20] = {};
    GroupThousands(L"12345678901234567890", out, std::size(out));  // cut, never overrun
    EXPECT_STREQ(L"12,345,678,901,234,", out);
}

TEST(ProcessInfo, TextForRealWindowsAndProcesses)
{
    HWND window = CreateTestWindow();
    SetWindowTextA(window, "Info window");
    WindowEntry entry{};
    entry.hwnd = window;
    wchar_t text[261];
    FormatProcessInfo(entry.hwnd, text, std::size(text));
    const std::string info = Narrow(text);
    EXPECT_EQ(0u, info.find(" Info window  \r\n\r\n File: sorvane_unit_tests.exe \r\n Duration: ")) << info;
    EXPECT_NE(std::string::npos, info.find(" Virtual Memory Usage: ")) << info;
    EXPECT_NE(std::string::npos, info.find(" KB \r\n Total Memory Usage: ")) << info;
    EXPECT_EQ(" KB ", info.substr(info.size() - 4));

    SetWindowTextA(window, "");
    FormatProcessInfo(entry.hwnd, text, std::size(text));
    EXPECT_EQ(0u, Narrow(text).find("   \r\n\r\n File: "));

    // A window that is gone: no process to open, only the title piece.
    DestroyWindow(window);
    FormatProcessInfo(entry.hwnd, text, std::size(text));
    EXPECT_STREQ(L"   \r\n\r\n", text);

    // Small buffers are cut and stay terminated.
    HWND other = CreateTestWindow();
    entry.hwnd = other;
    wchar_t small[16];
    wmemset(small, L'x', std::size(small));
    FormatProcessInfo(entry.hwnd, small, 12);
    EXPECT_EQ(11u, wcslen(small));
    EXPECT_EQ(L'x', small[12]);
    DestroyWindow(other);
}

TEST(Switching, APointerParkedInTheBottomRightCornerMovesToTheCentre)
{
    HWND window = CreateTestWindow();
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    auto cursorAfter = [&](int x, int y, bool fromOverview) {
        // Under Wine the position reads back a moment after it is set.
        POINT cursor{};
        for (int i = 0; i < 100 && !(cursor.x == x && cursor.y == y); ++i) {
            SetCursorPos(x, y);
            PumpMessages(10);
            GetCursorPos(&cursor);
        }
        if (fromOverview)
            SwitchToWindow(window);
        else
            ActivateWindow(window);
        GetCursorPos(&cursor);
        return std::make_pair(static_cast<int>(cursor.x), static_cast<int>(cursor.y));
    };
    EXPECT_EQ(std::make_pair(w / 2, h / 2), cursorAfter(w - 1, h - 1, true));
    EXPECT_EQ(std::make_pair(w / 2, h / 2), cursorAfter(w - 10, h - 10, true));    // the 10 x 10 corner
    EXPECT_EQ(std::make_pair(w - 11, h - 11), cursorAfter(w - 11, h - 11, true));  // just outside it
    EXPECT_EQ(std::make_pair(0, h - 1), cursorAfter(0, h - 1, true));
    EXPECT_EQ(std::make_pair(w - 1, h - 1), cursorAfter(w - 1, h - 1, false));   // a quick switch leaves it
    SetCursorPos(w / 2, h / 2);
    DestroyWindow(window);
}

TEST(Switching, AnActivationGoesOnOnlyWhileNoOtherWindowWasChosenOrPutInFront)
{
    const HWND target = FakeHandle(1), overview = FakeHandle(2), other = FakeHandle(3), sibling = FakeHandle(4);
    auto goesOn = [&](HWND latest, HWND front, DWORD frontThread) {  // the target's thread is 10
        return ShouldFinishActivation(ActivationFacts{target, latest, front, overview, 10, frontThread});
    };
    EXPECT_TRUE(goesOn(target, overview, 20) && goesOn(target, nullptr, 0) && goesOn(target, target, 10));
    EXPECT_TRUE(goesOn(target, sibling, 10));   // the target's thread takes the front as it runs
    EXPECT_FALSE(goesOn(target, other, 30));    // the user put another window in front
    EXPECT_FALSE(goesOn(other, overview, 20));  // another window was chosen since
}

// The close and information squares: 25 pixels at 96 DPI, 38 at 144, and the tile's buttons are
// drawn inside them at every scale.
TEST(HotSquares, ScaleWithTheirButtons)
{
    const RECT tile{100, 40, 400, 300};
    EXPECT_FALSE(InCloseSquare(tile, 370, 70, 96));
    EXPECT_TRUE(InCloseSquare(tile, 363, 77, 144));
    EXPECT_FALSE(InCloseSquare(tile, 362, 50, 144));
    EXPECT_TRUE(InInfoSquare(tile, 137, 77, 144));
    EXPECT_FALSE(InInfoSquare(tile, 130, 70, 96));
    for (int dpi : {96, 120, 144, 192}) {
        const TileButtons buttons = TileButtonsFor(tile.right - tile.left, dpi);
        const int out = Scale(2, dpi) / 2;  // how far the outline's pen reaches outside
        const RECT& close = buttons.close;
        const RECT& info = buttons.info;
        EXPECT_TRUE(InCloseSquare(tile, tile.left + close.left - out, tile.top + close.bottom - 1 + out, dpi)) << dpi;
        EXPECT_TRUE(InInfoSquare(tile, tile.left + info.right - 1 + out, tile.top + info.bottom - 1 + out, dpi)) << dpi;
        EXPECT_LT(close.right - 1 + out, tile.right - tile.left) << dpi;
    }
}
