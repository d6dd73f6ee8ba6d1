// Finding a window by typing, against the real program: typed characters dim the tiles whose
// window does not match, in any script, moves stop on matching tiles only, a character nothing
// matches is refused, and every showing starts with an empty text.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "tests/e2e/driver.h"
#include "tests/e2e/overview_support.h"

namespace e2e {
namespace {

constexpr int kWindows = 12;  // "Gamma 1" ... "Gamma 12": a 4 x 3 grid

class FindByTyping : public OverviewTest {
protected:
    // Tile t shows "Gamma (12 - t)": the window opened last stands in front.
    static std::string TitleOfTile(int tile) { return "Gamma " + std::to_string(kWindows - tile); }
    static POINT SamplePoint(const RECT& tile) { return POINT{(tile.left + tile.right) / 2, (tile.top + tile.bottom) / 2 + 8}; }
    static bool IsTestColour(COLORREF colour)
    {
        for (int i = 0; i < 8; ++i)
            if (colour == TestWindowColour(i)) return true;
        return false;
    }
    // Waits until every tile shows its window's snapshot; returns the colours seen.
    ::testing::AssertionResult WaitAllFilled(std::vector<COLORREF>* colours)
    {
        const bool allFilled = PollUntil([&] {
            ScreenShot shot;
            colours->clear();
            for (const RECT& tile : tiles) {
                const POINT p = SamplePoint(tile);
                colours->push_back(shot.At(p.x, p.y));
            }
            for (COLORREF colour : *colours)
                if (!IsTestColour(colour)) return false;
            return true;
        });
        if (allFilled) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "not every tile was filled";
    }
    // "x" for a tile showing its snapshot as it was, "." for one darkened to about half, "?" else.
    std::string LitTiles() const
    {
        ScreenShot shot;
        std::string lit;
        for (size_t t = 0; t < tiles.size(); ++t) {
            const POINT p = SamplePoint(tiles[t]);
            const COLORREF seen = shot.At(p.x, p.y), full = filled[t];
            auto half = [](BYTE now, BYTE before) { return std::abs(now * 2 - before) <= 6; };
            if (seen == full)
                lit += 'x';
            else if (half(GetRValue(seen), GetRValue(full)) && half(GetGValue(seen), GetGValue(full)) &&
                     half(GetBValue(seen), GetBValue(full)))
                lit += '.';
            else
                lit += '?';
        }
        return lit;
    }
    ::testing::AssertionResult LitBecomes(const std::string& expected)
    {
        std::string seen;
        if (PollUntil([&] { return (seen = LitTiles()) == expected; }, 3000)) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "lit tiles " << seen << ", expected " << expected;
    }
    // Pixels of the caption-text colour in the header band's left part: the find text.
    static int FindTextInk()
    {
        ScreenShot shot;
        const COLORREF ink = GetSysColor(COLOR_CAPTIONTEXT);
        int count = 0;
        for (int y = 2; y < 36; ++y)
            for (int x = 0; x < ScreenWidth() / 3; ++x)
                if (shot.At(x, y) == ink) ++count;
        return count;
    }
    void Type(HWND overview, const char* text)
    {
        for (const char* p = text; *p; ++p) PostMessageA(overview, WM_CHAR, static_cast<unsigned char>(*p), 0);
    }
    // One WM_CHAR (or WM_IME_CHAR, as an input method sends) per UTF-16 unit: a character beyond
    // the BMP comes as its two surrogates.
    void Type(HWND overview, const std::wstring& text, UINT message = WM_CHAR)
    {
        for (wchar_t unit : text) PostMessageW(overview, message, unit, 0);
    }
    ::testing::AssertionResult ShowAndFill(const SorvaneProcess& sorvane)
    {
        PostMessageA(sorvane.window(), WM_HOTKEY, kShowHotkey, 0);
        if (auto shown = WaitOverviewShown(sorvane.window(), tiles[0]); !shown) return shown;
        return WaitAllFilled(&filled);
    }
    std::vector<RECT> tiles = ExpectedTiles(kWindows);
    std::vector<COLORREF> filled;
};

TEST_F(FindByTyping, TypingDimsTheOthersAndMovesStopOnMatchesOnly)
{
    ASSERT_TRUE(windows.Open(kWindows, "Gamma"));
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));
    ASSERT_TRUE(probe.Attach(sorvane.window()));
    ASSERT_TRUE(ShowAndFill(sorvane));
    EXPECT_EQ("xxxxxxxxxxxx", LitTiles());
    EXPECT_EQ(0, FindTextInk()) << "an empty text shows nothing";

    // "1": Gamma 12, 11, 10 and 1 (tiles 0, 1, 2 and 11) match; the selection stays on the first.
    Type(sorvane.window(), "1");
    EXPECT_TRUE(LitBecomes("xxx........x"));
    EXPECT_GT(FindTextInk(), 10) << "the find text is drawn in the header";
    EXPECT_TRUE(SelectedTileBecomes(tiles, 0));

    // Tab visits the matches only, and wraps.
    for (int expected : {1, 2, 11, 0}) {
        PressKey(VK_TAB);
        EXPECT_TRUE(SelectedTileBecomes(tiles, expected)) << "Tab to " << expected;
    }
    PressKey(VK_END);
    EXPECT_TRUE(SelectedTileBecomes(tiles, 11)) << "End: the last match";
    PressKey(VK_HOME);
    EXPECT_TRUE(SelectedTileBecomes(tiles, 0)) << "Home: the first match";
    // Down from tile 0 passes tiles 4 and 8 (dimmed) and wraps to itself: it stays.
    PressKey(VK_DOWN);
    ASSERT_TRUE(probe.Flush());
    EXPECT_TRUE(SelectedTileBecomes(tiles, 0)) << "Down with no match in the column";
    PressKey(VK_LEFT);  // wraps to tile 3 (dimmed), then 2
    EXPECT_TRUE(SelectedTileBecomes(tiles, 2)) << "Left past a dimmed tile";

    // Hovering a dimmed tile selects nothing.
    const POINT dimmed = SamplePoint(tiles[5]);
    PostMessageA(sorvane.window(), WM_MOUSEMOVE, 0, MAKELPARAM(dimmed.x, dimmed.y));
    ASSERT_TRUE(probe.Flush());
    EXPECT_TRUE(SelectedTileBecomes(tiles, 2));

    // "11": only Gamma 11; the selection leaves tile 2 for it.
    Type(sorvane.window(), "1");
    EXPECT_TRUE(LitBecomes(".x.........."));
    EXPECT_TRUE(SelectedTileBecomes(tiles, 1));
    // "11q" matches nothing: refused, nothing changes.
    const int inkBefore = FindTextInk();
    Type(sorvane.window(), "q");
    ASSERT_TRUE(probe.Flush());
    EXPECT_EQ(".x..........", LitTiles());
    EXPECT_EQ(inkBefore, FindTextInk()) << "the text stays as it was";
    // Backspace restores "1".
    Type(sorvane.window(), "\b");
    EXPECT_TRUE(LitBecomes("xxx........x"));
    EXPECT_TRUE(SelectedTileBecomes(tiles, 1)) << "a selection still matching stays";

    // Enter brings the selected match to the front.
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitOverviewHidden(sorvane.window()));
    EXPECT_TRUE(PollUntil([&] { return TextOf(GetForegroundWindow()) == TitleOfTile(1); }))
        << "foreground is \"" << TextOf(GetForegroundWindow()) << "\"";

    // The next showing starts with an empty text, and so does the one after Esc.
    for (int showing = 0; showing < 2; ++showing) {
        ASSERT_TRUE(ShowAndFill(sorvane)) << showing;
        EXPECT_EQ("xxxxxxxxxxxx", LitTiles()) << showing;
        EXPECT_EQ(0, FindTextInk()) << showing;
        Type(sorvane.window(), "7");
        EXPECT_TRUE(LitBecomes(".....x......")) << showing;
        PressKey(VK_ESCAPE);
        ASSERT_TRUE(WaitOverviewHidden(sorvane.window()));
    }
    ASSERT_TRUE(ExitSorvane(sorvane));
}

// Titles the ANSI code page cannot hold: a small Greek letter finds the title with its capital, a
// CJK character composed by an input method and an emoji (typed as its surrogate pair) find theirs,
// and one Backspace takes each back whole.
TEST_F(FindByTyping, GreekCjkAndEmojiTitlesAreFoundAndBackspaceTakesAWholeEmoji)
{
    // In front first: the music, the memo, the notes, Gamma.
    ASSERT_TRUE(windows.Open(4, "Gamma|Ωμέγα σημειώσεις|東京 メモ|\U0001F3B5 Music", "titles"));
    tiles = ExpectedTiles(4);
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));
    ASSERT_TRUE(ShowAndFill(sorvane));
    EXPECT_EQ("xxxx", LitTiles());
    const std::tuple<std::wstring, const char*, UINT> finds[] = {
        {L"ω", "..x.", WM_CHAR}, {L"東", ".x..", WM_IME_CHAR}, {L"\U0001F3B5", "x...", WM_CHAR}};
    for (const auto& [typed, lit, message] : finds) {
        Type(sorvane.window(), typed, message);
        EXPECT_TRUE(LitBecomes(lit)) << Utf8(typed);
        Type(sorvane.window(), L"\b");
        EXPECT_TRUE(LitBecomes("xxxx")) << "Backspace after " << Utf8(typed);
    }
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitOverviewHidden(sorvane.window()));
    ASSERT_TRUE(ExitSorvane(sorvane));
}

}  // namespace
}  // namespace e2e
