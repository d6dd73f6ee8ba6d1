#include "overview/find.h"

#include <cwchar>
#include <mutex>
#include <string>

#include "common/language.h"
#include "common/owners.h"
#include "common/text.h"
#include "overview/announce.h"
#include "overview/drawing.h"
#include "overview/layout.h"
#include "overview/present.h"
#include "overview/scaling.h"
#include "overview/showing.h"
#include "overview/tileimages.h"
#include "resources/resource.h"
#include "windows/procinfo.h"
#include "windows/program.h"
#include "windows/windowlist.h"

namespace {

constexpr int kFindTextLeft = 20;  // at 96 DPI, as the footer's help text
constexpr unsigned kBackspace = 0x08;
constexpr unsigned kDelete = 0x7F;


// The scripts beyond the first plane whose letters have case: each small letter lies a fixed
// distance after its capital.
struct CasedRange {
    char32_t firstSmall, lastSmall;
    char32_t distance;  // from a small letter back to its capital
};
constexpr CasedRange kCasedBeyondFirstPlane[] = {
    {0x10428, 0x1044F, 0x28},  // Deseret
    {0x104D8, 0x104FB, 0x28},  // Osage
    {0x10597, 0x105BC, 0x27},  // Vithkuqi
    {0x10CC0, 0x10CF2, 0x40},  // Old Hungarian
    {0x118C0, 0x118DF, 0x20},  // Warang Citi
    {0x16E60, 0x16E7F, 0x20},  // Medefaidrin
    {0x1E922, 0x1E943, 0x22},  // Adlam
};

char32_t CapitalBeyondFirstPlane(char32_t character)
{
    for (const CasedRange& range : kCasedBeyondFirstPlane)
        if (character >= range.firstSmall && character <= range.lastSmall) return character - range.distance;
    return character;
}

// The text in capitals, character by character: those of the first plane by the system's case
// table (beyond ASCII, in every script), those beyond it (pairs) by the table above. Every
// character keeps its length in units.
std::wstring Upper(const wchar_t* text)
{
    std::wstring upper(text);
    if (upper.empty()) return upper;
    CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    for (size_t at = 0; at + 1 < upper.size(); ++at) {
        if (!IsHighSurrogate(upper[at]) || !IsLowSurrogate(upper[at + 1])) continue;
        const char32_t character = 0x10000 + ((static_cast<char32_t>(upper[at]) - 0xD800) << 10) +
                                   (static_cast<char32_t>(upper[at + 1]) - 0xDC00);
        const char32_t capital = CapitalBeyondFirstPlane(character) - 0x10000;
        upper[at] = static_cast<wchar_t>(0xD800 + (capital >> 10));
        upper[++at] = static_cast<wchar_t>(0xDC00 + (capital & 0x3FF));
    }
    return upper;
}

// Whether the units text[at, at + length) begin and end on whole characters: neither edge falls
// between the two halves of a pair.
bool OnWholeCharacters(const wchar_t* text, size_t at, size_t length)
{
    auto inPair = [text](size_t edge) {
        return edge > 0 && IsLowSurrogate(text[edge]) && IsHighSurrogate(text[edge - 1]);
    };
    return !inPair(at) && !inPair(at + length);
}

// Whether `part` occurs in the file name, letter case aside as file names compare (ordinal, unit
// by unit), on whole characters.
bool FileNameContains(const wchar_t* fileName, const wchar_t* part)
{
    if (!part || part[0] == L'\0') return true;
    if (!fileName) return false;
    const size_t length = wcslen(fileName), partLength = wcslen(part);
    for (size_t at = 0; at + partLength <= length; ++at)
        if (OnWholeCharacters(fileName, at, partLength) &&
            EqualIgnoringCaseOrdinal(fileName + at, partLength, part, partLength))
            return true;
    return false;
}

}  // namespace

void ReadFileNames(Showing& current)
{
    ProgramPaths paths;  // each process's executable, read once
    for (WindowEntry* entry = current.windowList.head; entry; entry = entry->next) {
        if (entry->fileNameRead) continue;
        // A packaged app's frame is found by its app's file name.
        const WindowProgram program = ProgramOfWindow(entry->hwnd, &paths);
        if (!program.path.empty())
            CopyBounded(entry->fileName, std::size(entry->fileName), FileNamePart(program.path.c_str()));
        entry->fileNameRead = true;
    }
}

namespace {

// The list's tiles against a find text, in list order.
std::vector<bool> MatchesFor(Showing& current, const wchar_t* text)
{
    if (text[0] != L'\0') ReadFileNames(current);
    std::vector<bool> matches;
    for (const WindowEntry* entry = current.windowList.head; entry; entry = entry->next)
        matches.push_back(TileMatches(entry->title, entry->fileName, text));
    return matches;
}

// The lit tiles in list order, as they stand.
std::vector<bool> LitTiles(const Showing& current)
{
    std::vector<bool> lit;
    for (const WindowEntry* entry = current.windowList.head; entry; entry = entry->next)
        lit.push_back(!entry->dimmed);
    return lit;
}

// Dims and lights the tiles as the matches say, moves the selection off a dimmed tile to the first
// match and draws what changed, the find text with it.
void ApplyMatches(Showing& current, HWND window, const std::vector<bool>& matches)
{
    UniqueWindowDc dc;
    if (window) dc = UniqueWindowDc(window);
    // Presenting reads `dimmed`: it changes under the lock (overview/tileimages.h).
    std::lock_guard<std::mutex> hold(tileImagesLock);
    WindowList& list = current.windowList;
    std::vector<WindowEntry*> changed;
    int index = 0;
    for (WindowEntry* entry = list.head; entry; entry = entry->next, ++index) {
        const bool dim = !matches[index];
        if (entry->dimmed == dim) continue;
        entry->dimmed = dim;
        changed.push_back(entry);
    }
    if (list.selected && list.selected->dimmed) {
        if (WindowEntry* first = EntryAtIndex(list, FirstMatch(matches))) list.selected = first;
    }
    if (!dc) return;
    for (WindowEntry* entry : changed)
        if (entry != list.selected) PresentTileLocked(current, dc.get(), entry, TileLook::Plain);
    DrawFindText(current, dc.get());
    // The title label last: a long one may reach under the find text.
    PresentTileLocked(current, dc.get(), list.selected, TileLook::Selected);
}

}  // namespace

bool ContainsIgnoringCase(const wchar_t* text, const wchar_t* part)
{
    if (!part || part[0] == L'\0') return true;
    if (!text) return false;
    const std::wstring upper = Upper(text), upperPart = Upper(part);
    for (size_t at = upper.find(upperPart); at != std::wstring::npos; at = upper.find(upperPart, at + 1))
        if (OnWholeCharacters(upper.c_str(), at, upperPart.size())) return true;
    return false;
}

bool TileMatches(const wchar_t* title, const wchar_t* fileName, const wchar_t* text)
{
    return ContainsIgnoringCase(title, text) || FileNameContains(fileName, text);
}

bool IsFindCharacter(char32_t character)
{
    if (character < 0x21 || character == kDelete || character > 0x10FFFF) return false;
    if (character >= 0x80 && character <= 0x9F) return false;  // the second set of controls
    return character < 0xD800 || character > 0xDFFF;
}

size_t CountCharacters(const wchar_t* text)
{
    size_t count = 0;
    for (size_t at = 0; text[at] != L'\0'; ++at)
        if (!(IsLowSurrogate(text[at]) && at > 0 && IsHighSurrogate(text[at - 1]))) ++count;
    return count;
}

FindTyping TypeIntoFindText(wchar_t* text, wchar_t* pendingHalf, unsigned unit)
{
    const size_t length = wcsnlen(text, kFindTextCapacity - 1);
    const wchar_t waiting = *pendingHalf;
    *pendingHalf = 0;
    if (unit == kBackspace) {
        if (length == 0) return FindTyping::Ignored;
        const bool pair = length >= 2 && IsLowSurrogate(text[length - 1]) && IsHighSurrogate(text[length - 2]);
        text[length - (pair ? 2 : 1)] = L'\0';
        return FindTyping::Edited;
    }
    if (unit > 0xFFFF) return FindTyping::Ignored;
    const auto half = static_cast<wchar_t>(unit);
    if (IsHighSurrogate(half)) {
        *pendingHalf = half;
        return FindTyping::Waiting;
    }
    wchar_t units[2] = {half, 0};
    char32_t character = half;
    if (IsLowSurrogate(half)) {
        if (!waiting) return FindTyping::Ignored;
        units[0] = waiting;
        units[1] = half;
        character = 0x10000 + ((static_cast<char32_t>(waiting) - 0xD800) << 10) +
                    (static_cast<char32_t>(half) - 0xDC00);
    }
    if (!IsFindCharacter(character)) return FindTyping::Ignored;
    const size_t added = units[1] ? 2 : 1;
    if (CountCharacters(text) >= kFindTextMax || length + added >= kFindTextCapacity) return FindTyping::Refused;
    text[length] = units[0];
    if (added == 2) text[length + 1] = units[1];
    text[length + added] = L'\0';
    return FindTyping::Edited;
}

int NextMatch(const std::vector<bool>& matches, int from, bool forward)
{
    const int count = static_cast<int>(matches.size());
    if (from < 0 || from >= count) return forward ? FirstMatch(matches) : LastMatch(matches);
    for (int step = 1; step <= count; ++step) {
        const int index = ((from + (forward ? step : -step)) % count + count) % count;
        if (matches[index]) return index;
    }
    return -1;
}

int FirstMatch(const std::vector<bool>& matches)
{
    for (size_t i = 0; i < matches.size(); ++i)
        if (matches[i]) return static_cast<int>(i);
    return -1;
}

int LastMatch(const std::vector<bool>& matches)
{
    for (size_t i = matches.size(); i > 0; --i)
        if (matches[i - 1]) return static_cast<int>(i - 1);
    return -1;
}

int MatchInDirection(int from, int count, int columns, Direction direction, const std::vector<bool>& matches)
{
    if (count > static_cast<int>(matches.size())) return -1;
    int current = from;
    for (int steps = 0; steps < count; ++steps) {
        const int next = StepInDirection(current, count, columns, direction);
        if (next < 0 || next == from) return -1;
        if (matches[next]) return next;
        current = next;
    }
    return -1;
}

const wchar_t* FindText(const Showing& current) { return current.findText; }

void ClearFindText(Showing& current)
{
    current.findText[0] = L'\0';
    current.findPendingHalf = 0;
    std::lock_guard<std::mutex> hold(tileImagesLock);
    for (WindowEntry* entry = current.windowList.head; entry; entry = entry->next) entry->dimmed = false;
}

void HandleFindCharacter(Showing& current, HWND window, unsigned character)
{
    if (!current.windowList.head) return;
    wchar_t candidate[kFindTextCapacity];
    CopyBounded(candidate, std::size(candidate), current.findText);
    switch (TypeIntoFindText(candidate, &current.findPendingHalf, character)) {
    case FindTyping::Edited:
        break;
    case FindTyping::Refused:
        MessageBeep(MB_OK);
        return;
    default:
        return;
    }
    const std::vector<bool> matches = MatchesFor(current, candidate);
    if (FirstMatch(matches) < 0) {
        MessageBeep(MB_OK);  // nothing would be left lit: the text stays as it was
        return;
    }
    CopyBounded(current.findText, std::size(current.findText), candidate);
    const WindowEntry* before = current.windowList.selected;
    ApplyMatches(current, window, matches);
    AnnounceFindText(window);
    if (current.windowList.selected != before) AnnounceSelection(current, window);
}

void KeepFindBackdrop(Showing& current, HDC frame, int screenWidth, int screenHeight, int dpi)
{
    const FrameLayout layout = FrameLayoutFor(screenWidth, screenHeight, dpi);
    const RECT& area = current.findArea = RECT{0, 0, screenWidth / 3, layout.headerRuleTop};
    const int width = area.right - area.left, height = area.bottom - area.top;
    current.findBackdrop.reset(width > 0 && height > 0 ? CreateCompatibleBitmap(frame, width, height)
                                                       : nullptr);
    if (!current.findBackdrop) return;
    UniqueMemoryDc copy(CreateCompatibleDC(frame));
    if (!copy) return;
    SelectGuard hold(copy.get(), current.findBackdrop.get());
    BitBlt(copy.get(), 0, 0, width, height, frame, area.left, area.top, SRCCOPY);
}

void DrawFindText(const Showing& current, HDC dc)
{
    if (!current.findBackdrop) return;
    const RECT& area = current.findArea;
    const int width = area.right - area.left, height = area.bottom - area.top;
    // Composed off screen and copied at once: the old text never shows erased.
    UniqueMemoryDc scratch(CreateCompatibleDC(dc));
    UniqueBitmap image(CreateCompatibleBitmap(dc, width, height));
    UniqueMemoryDc backdrop(CreateCompatibleDC(dc));
    if (!scratch || !image || !backdrop) return;
    SelectGuard holdImage(scratch.get(), image.get());
    {
        SelectGuard holdBackdrop(backdrop.get(), current.findBackdrop.get());
        BitBlt(scratch.get(), 0, 0, width, height, backdrop.get(), 0, 0, SRCCOPY);
    }
    if (current.findText[0] != L'\0') {
        const std::wstring line = FormatText(IDS_FIND, current.findText);
        HFONT font = OverviewTextFont();
        TEXTMETRICW metrics{};
        {
            SelectGuard holdFont(scratch.get(), font);
            GetTextMetricsW(scratch.get(), &metrics);
        }
        const int left = Scale(kFindTextLeft, current.overviewDpi);
        // In the colour of the bands' other text: the system's caption text, or in high contrast
        // the window text on the window colour.
        DrawTextAt(scratch.get(), font, current.colours.text, kTransparent, left, (height - metrics.tmHeight) / 2,
                   line.c_str());
    }
    BitBlt(dc, area.left, area.top, width, height, scratch.get(), 0, 0, SRCCOPY);
}

WindowEntry* NextMatchingEntry(const Showing& current, bool forward)
{
    return MatchingEntryAfter(current, forward ? 1 : -1);
}

WindowEntry* MatchingEntryAfter(const Showing& current, int moves)
{
    const WindowList& list = current.windowList;
    const std::vector<bool> lit = LitTiles(current);
    const int count = moves < 0 ? -moves : moves;
    int index = IndexOfEntry(list, list.selected);
    for (int move = 0; move < count && move < static_cast<int>(list.count); ++move)
        index = NextMatch(lit, index, moves > 0);
    return EntryAtIndex(list, index);
}

WindowEntry* FirstMatchingEntry(const Showing& current)
{
    return EntryAtIndex(current.windowList, FirstMatch(LitTiles(current)));
}

WindowEntry* LastMatchingEntry(const Showing& current)
{
    return EntryAtIndex(current.windowList, LastMatch(LitTiles(current)));
}

WindowEntry* MatchingNeighbour(const Showing& current, Direction direction)
{
    const WindowList& list = current.windowList;
    const int from = IndexOfEntry(list, list.selected);
    if (from < 0) return nullptr;
    const int count = static_cast<int>(list.count);
    return EntryAtIndex(list, MatchInDirection(from, count, current.gridColumns, direction, LitTiles(current)));
}
