// Finding a window by typing: the find text of the open Overview, which tiles match it, and the
// moves that stop on matching tiles only. With an empty text every tile matches.
#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

#include "overview/selection.h"

struct WindowEntry;
struct Showing;


// Whether `part` occurs in `text`, letter case aside in every script, beyond the first plane too,
// on whole characters (never from or up to the middle of a pair). An empty part occurs in every
// text; a null text holds nothing.
bool ContainsIgnoringCase(const wchar_t* text, const wchar_t* part);
// Whether a tile matches the find text: its window's title holds it, or its executable's file name
// does, letter case aside as file names compare (EqualIgnoringCaseOrdinal).
bool TileMatches(const wchar_t* title, const wchar_t* fileName, const wchar_t* findText);
// A printable character (a code point) for the find text: 0x21 and up, control characters and
// lone halves of pairs aside. Space keeps its meaning.
bool IsFindCharacter(char32_t character);
// The characters of a UTF-16 text: a surrogate pair counts once.
size_t CountCharacters(const wchar_t* text);

// What one typed UTF-16 unit does to a find text.
enum class FindTyping {
    Ignored,  // not a character of the text: nothing changes
    Waiting,  // the first half of a pair, kept in *pendingHalf until its second arrives
    Edited,   // the text changed
    Refused,  // a character past the limit of kFindTextMax
};
// Applies one unit of WM_CHAR to the text (capacity kFindTextCapacity): Backspace removes the last
// character, a whole pair; a pair's two halves join into one character.
FindTyping TypeIntoFindText(wchar_t* text, wchar_t* pendingHalf, unsigned unit);

// Moves over a grid whose tiles, in list order, match or not (matches[i]). Each answers an index,
// or -1 when none: the next or previous match after `from` (wrapping around, `from` itself last);
// the first and the last match.
int NextMatch(const std::vector<bool>& matches, int from, bool forward);
int FirstMatch(const std::vector<bool>& matches);
int LastMatch(const std::vector<bool>& matches);
// An arrow key's move from `from` on a grid of `count` tiles in `columns` columns: one step at a
// time in the direction (wrapping as the plain move does) until a matching tile; -1 when none lies
// that way (the selection stays).
int MatchInDirection(int from, int count, int columns, Direction direction, const std::vector<bool>& matches);

// The find text of the showing; empty between showings. Each of these works on the showing given.
const wchar_t* FindText(const Showing& current);
// Reads the file name of every entry's program (ProgramOfWindow) not read yet, once per process.
void ReadFileNames(Showing& current);
// Empties the find text and lights every tile: at every showing.
void ClearFindText(Showing& current);

// A UTF-16 unit typed while the Overview is open and built (WM_CHAR, WM_IME_CHAR): appends its
// character (Backspace removes the last one), dims the tiles that stop matching, moves the
// selection off a dimmed tile and draws the text. A character that no tile would match, or one
// past the limit, is refused with a beep and changes nothing.
void HandleFindCharacter(Showing& current, HWND window, unsigned character);

// "Find: " and the text in the header band, over the frame; nothing for an empty text.
void DrawFindText(const Showing& current, HDC dc);
// Keeps the frame under the find text, to draw the text anew (from the composed frame).
void KeepFindBackdrop(Showing& current, HDC frame, int screenWidth, int screenHeight, int dpi);

// Matching moves for the keys and the wheel: Tab, Shift+Tab, Home and End, an arrow.
WindowEntry* NextMatchingEntry(const Showing& current, bool forward);
// Where `moves` such steps lead (negative: backward), at most one round; null when nothing matches.
WindowEntry* MatchingEntryAfter(const Showing& current, int moves);
WindowEntry* FirstMatchingEntry(const Showing& current);
WindowEntry* LastMatchingEntry(const Showing& current);
WindowEntry* MatchingNeighbour(const Showing& current, Direction direction);
