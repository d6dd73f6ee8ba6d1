#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "overview/find.h"
#include "overview/layout.h"
#include "overview/lifecycle.h"
#include "overview/showing.h"
#include "test_support.h"
#include "windows/windowlist.h"

namespace {

std::vector<bool> Mask(const char* pattern)  // "x" a match, "." a dimmed tile
{
    std::vector<bool> mask;
    for (const char* p = pattern; *p; ++p) mask.push_back(*p == 'x');
    return mask;
}

}  // namespace

TEST(FindRule, TitleOrFileNameHoldsTheTextWhateverItsCase)
{
    EXPECT_TRUE(TileMatches(L"Quarterly Report - Writer", L"writer.exe", L"report"));
    EXPECT_TRUE(TileMatches(L"Quarterly Report - Writer", L"writer.exe", L"RTERLY R"));
    EXPECT_TRUE(TileMatches(L"Inbox", L"MAILER.EXE", L"mailer."));   // the file name only
    EXPECT_FALSE(TileMatches(L"Inbox", L"MAILER.EXE", L"c:\\"));     // a file name, never a path
    EXPECT_FALSE(TileMatches(L"Inbox", L"mailer.exe", L"inboxes"));
    EXPECT_TRUE(TileMatches(L"", L"", L""));                          // an empty text lights every tile
    EXPECT_TRUE(TileMatches(nullptr, L"a.exe", L"A"));
    EXPECT_FALSE(TileMatches(nullptr, nullptr, L"a"));
    // Letter case aside in every script; other scripts' letters are no match for Latin ones.
    EXPECT_TRUE(TileMatches(L"Ωμέγα notes", L"", L"ωΜ"));  // "Ωμέγα", "ωΜ"
    EXPECT_FALSE(TileMatches(L"Ωmega", L"", L"o"));
    // Beyond the first plane too (small Deseret typed, capital in the title; Adlam the other way), on
    // whole characters: no pair split, none matched by a character sharing one half.
    EXPECT_TRUE(TileMatches(L"𐐀𐐁 notes", L"", L"𐐨𐐁"));
    EXPECT_TRUE(TileMatches(L"\U0001E922 letter", L"", L"\U0001E900 L"));
    EXPECT_FALSE(TileMatches(L"\U00010800", L"", L"𐐨"));
    EXPECT_FALSE(TileMatches(L"𐐀", L"𐐀.exe", L"\xDC00"));
    // The file name compares as file names do: letter case aside unit by unit, nothing linguistic.
    EXPECT_TRUE(TileMatches(L"Inbox", L"Жук.exe", L"жУК.E"));
    EXPECT_FALSE(TileMatches(L"Inbox", L"\uFB01le.exe", L"file"));

    EXPECT_FALSE(IsFindCharacter(' '));   // Space switches
    EXPECT_FALSE(IsFindCharacter(0x08));  // Backspace edits
    EXPECT_FALSE(IsFindCharacter(0x0D));
    EXPECT_FALSE(IsFindCharacter(0x1B));
    EXPECT_FALSE(IsFindCharacter(0x7F));  // Ctrl+Backspace
    EXPECT_TRUE(IsFindCharacter('!'));
    EXPECT_TRUE(IsFindCharacter('z'));
    EXPECT_TRUE(IsFindCharacter(0xE9));
    EXPECT_TRUE(IsFindCharacter(0x3C9));    // beyond any one code page
    EXPECT_TRUE(IsFindCharacter(0x1F3B5));  // beyond the first plane
    EXPECT_FALSE(IsFindCharacter(0x85));    // a control character of the second set
    EXPECT_FALSE(IsFindCharacter(0xD83C));  // half a pair alone
}

TEST(FindTyping, PairsJoinBackspaceTakesThemWholeAndTheLimitCountsCharacters)
{
    wchar_t text[kFindTextCapacity] = {};
    wchar_t pending = 0;
    EXPECT_EQ(FindTyping::Edited, TypeIntoFindText(text, &pending, L'a'));
    EXPECT_EQ(FindTyping::Waiting, TypeIntoFindText(text, &pending, 0xD83C));
    EXPECT_STREQ(L"a", text) << "half a pair waits for its second";
    EXPECT_EQ(FindTyping::Edited, TypeIntoFindText(text, &pending, 0xDFB5));
    EXPECT_STREQ(L"a\U0001F3B5", text);
    EXPECT_EQ(2u, CountCharacters(text));
    EXPECT_EQ(FindTyping::Ignored, TypeIntoFindText(text, &pending, 0xDFB5)) << "a second half alone";
    EXPECT_EQ(FindTyping::Waiting, TypeIntoFindText(text, &pending, 0xD83C));
    EXPECT_EQ(FindTyping::Edited, TypeIntoFindText(text, &pending, L'b')) << "a first half dropped for another";
    EXPECT_STREQ(L"a\U0001F3B5b", text);
    EXPECT_EQ(FindTyping::Edited, TypeIntoFindText(text, &pending, 0x08));
    EXPECT_EQ(FindTyping::Edited, TypeIntoFindText(text, &pending, 0x08));
    EXPECT_STREQ(L"a", text) << "Backspace takes the whole pair";
    // Thirty-two characters, each a pair: sixty-four units fit; a thirty-third character does not.
    text[0] = L'\0';
    for (size_t i = 0; i < kFindTextMax; ++i) {
        TypeIntoFindText(text, &pending, 0xD83C);
        ASSERT_EQ(FindTyping::Edited, TypeIntoFindText(text, &pending, 0xDFB5)) << i;
    }
    EXPECT_EQ(kFindTextMax, CountCharacters(text));
    EXPECT_EQ(FindTyping::Refused, TypeIntoFindText(text, &pending, L'x'));
    TypeIntoFindText(text, &pending, 0xD83C);
    EXPECT_EQ(FindTyping::Refused, TypeIntoFindText(text, &pending, 0xDFB5));
}

TEST(FindMoves, TabHomeAndEndStopOnMatchesOnly)
{
    const std::vector<bool> mask = Mask(".x..x.x");
    EXPECT_EQ(4, NextMatch(mask, 1, true));
    EXPECT_EQ(1, NextMatch(mask, 6, true));   // wraps
    EXPECT_EQ(6, NextMatch(mask, 1, false));  // wraps backwards
    EXPECT_EQ(1, NextMatch(mask, 4, false));
    EXPECT_EQ(1, FirstMatch(mask));
    EXPECT_EQ(6, LastMatch(mask));
    EXPECT_EQ(3, NextMatch(Mask("...x"), 3, true)) << "the only match stays selected";
    EXPECT_EQ(-1, NextMatch(Mask("...."), 0, true));
    EXPECT_EQ(-1, FirstMatch(Mask("")));
    EXPECT_EQ(1, NextMatch(mask, -1, true)) << "without a selection: the first";
    EXPECT_EQ(6, NextMatch(mask, -1, false));
}

TEST(FindMoves, ArrowsGoOnPastDimmedTilesOrStay)
{
    // 4 x 3 grid of 10 tiles:   0 1 2 3
    //                           4 5 6 7
    //                           8 9
    const int count = 10, columns = 4;
    auto move = [&](const char* pattern, int from, Direction d) {
        return MatchInDirection(from, count, columns, d, Mask(pattern));
    };
    EXPECT_EQ(3, move("x..x......", 0, Direction::Right)) << "past two dimmed tiles";
    EXPECT_EQ(3, move("x..x......", 0, Direction::Left)) << "wrapping within the row";
    EXPECT_EQ(-1, move("x...x.....", 0, Direction::Right)) << "none in the row: stays";
    EXPECT_EQ(8, move("x...x...x.", 0, Direction::Up)) << "up wraps to the bottom of the column";
    EXPECT_EQ(4, move("x...x...x.", 0, Direction::Down));
    EXPECT_EQ(8, move("x.......x.", 0, Direction::Down)) << "past a dimmed tile";
    EXPECT_EQ(0, move("x.......x.", 8, Direction::Down)) << "wrapping";
    EXPECT_EQ(9, move("........xx", 8, Direction::Left)) << "the short last row wraps on itself";
    EXPECT_EQ(2, move("..x...x...", 6, Direction::Down)) << "column 3 has no third row";
    EXPECT_EQ(-1, move("...x......", 3, Direction::Up));
    // With every tile lit the moves are the plain ones.
    for (int from = 0; from < count; ++from)
        for (Direction d : {Direction::Left, Direction::Right, Direction::Up, Direction::Down})
            EXPECT_EQ(StepInDirection(from, count, columns, d), move("xxxxxxxxxx", from, d)) << from;
}

namespace {

// A laid-out list whose entries carry titles and file names (handles are only numbers here).
class FindOnList : public ::testing::Test {
protected:
    void SetUp() override { ResetWindowList(showing.windowList); }
    void TearDown() override
    {
        ClearWindowList(showing.windowList);
        DestroyWindowList(showing.windowList);
    }
    void Lay(const std::vector<std::string>& titles)
    {
        for (size_t i = 0; i < titles.size(); ++i) {
            WindowEntry* entry = AppendWindowEntry(showing.windowList, FakeHandle(i + 1));
            CopyBounded(entry->title, std::size(entry->title), Wide(titles[i]).c_str());
            CopyBounded(entry->fileName, std::size(entry->fileName), L"tool.exe");
            entry->fileNameRead = true;
        }
        int rows = 0;
        GridForCount(showing.windowList.count, &showing.gridColumns, &rows);
        LayoutTiles(showing.windowList, showing.gridColumns, rows, TileAreaFor(1024, 768));
        showing.windowList.selected = showing.windowList.head;
    }
    static std::string Lit()
    {
        std::string lit;
        for (const WindowEntry* entry = showing.windowList.head; entry; entry = entry->next)
            lit += entry->dimmed ? '.' : 'x';
        return lit;
    }
    static std::string Selected()
    {
        const WindowEntry* selected = showing.windowList.selected;
        return selected ? Narrow(selected->title) : "none";
    }
    // UTF-8 typed as WM_CHAR brings it: one UTF-16 unit at a time.
    static void Type(const std::string& text)
    {
        for (wchar_t unit : Wide(text)) HandleFindCharacter(showing, nullptr, unit);
    }
    static std::string Text() { return Narrow(FindText(showing)); }
};

}  // namespace

TEST_F(FindOnList, TypingDimsRefusesAndBackspaceRestores)
{
    Lay({"Alpha notes", "Beta plan", "Alpha plan", "Gamma"});
    EXPECT_EQ("xxxx", Lit());
    Type("pla");
    EXPECT_EQ("pla", Text());
    EXPECT_EQ(".xx.", Lit());
    EXPECT_EQ("Beta plan", Selected()) << "the selection left the dimmed tile for the first match";
    Type("q");  // nothing would match: refused
    EXPECT_EQ("pla", Text());
    EXPECT_EQ(".xx.", Lit());
    Type("n");
    showing.windowList.selected = showing.windowList.head->next->next;  // "Alpha plan"
    Type("\b\b");
    EXPECT_EQ("pl", Text());
    EXPECT_EQ(".xx.", Lit());
    EXPECT_EQ("Alpha plan", Selected()) << "a selection still matching stays";
    Type("\b\b");
    EXPECT_EQ("", Text());
    EXPECT_EQ("xxxx", Lit());
    Type("\b");  // nothing to remove
    EXPECT_EQ("", Text());
    Type("TOOL.");  // the file name matches every tile
    EXPECT_EQ("xxxx", Lit());
    ClearFindText(showing);
    EXPECT_EQ("", Text());
}

TEST_F(FindOnList, TheTextHoldsThirtyTwoCharactersAtMost)
{
    const std::string longTitle(40, 'a');
    Lay({longTitle, "other"});
    Type(longTitle.c_str());
    EXPECT_EQ(kFindTextMax, CountCharacters(FindText(showing)));
    EXPECT_EQ("x.", Lit());
    ClearFindText(showing);
    EXPECT_EQ("xx", Lit());
}

TEST_F(FindOnList, MovesFollowTheLitTiles)
{
    Lay({"a1", "b2", "a3", "b4", "a5", "b6"});  // 3 x 2
    Type("a");
    EXPECT_EQ("x.x.x.", Lit());
    EXPECT_EQ("a3", Narrow(NextMatchingEntry(showing, true)->title));
    EXPECT_EQ("a5", Narrow(NextMatchingEntry(showing, false)->title));
    EXPECT_EQ("a1", Narrow(FirstMatchingEntry(showing)->title));
    EXPECT_EQ("a5", Narrow(LastMatchingEntry(showing)->title));
    EXPECT_EQ("a3", Narrow(MatchingNeighbour(showing, Direction::Right)->title));
    EXPECT_EQ(nullptr, MatchingNeighbour(showing, Direction::Down)) << "b4 below is dimmed, and nothing else";
}
