// The persistent settings under HKEY_CURRENT_USER\Software\Sorvane and their one in-memory record.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "common/owners.h"
#include "hook/corner.h"

constexpr wchar_t kSettingsKeyPath[] = L"Software\\Sorvane";

struct Settings {
    DWORD showModifiers = 0;
    DWORD showKey = 0;
    DWORD recentModifiers = 0;
    DWORD recentKey = 0;
    DWORD othersModifiers = 0;
    DWORD othersKey = 0;
    DWORD appModifiers = 0;
    DWORD appKey = 0;
    bool showRegistered = false;
    bool recentRegistered = false;
    bool othersRegistered = false;
    bool appRegistered = false;
    bool gestureEnabled = true;
    int gestureCorner = kCornerBottomRight;  // a ScreenCorner
    bool restoreMinimized = true;
    bool groupByApps = true;
    // Letting go of the Show hotkey's modifier after moving on with the hotkey switches.
    bool switchOnRelease = true;
    // Every Overview lists only the windows on the monitor it covers.
    bool thisMonitorOnly = false;
    // Every stored exclusion entry followed by a line feed; empty owner when no entry is stored.
    UniqueHeapText exclusionText;
};

// The program's settings; touched by the GUI thread only.
extern Settings settings;

// The settings key opened for query; an empty owner when it does not exist or cannot be opened.
UniqueHkey OpenSettingsForQuery();
// The settings key opened (and created when missing) for query and set; empty owner on failure.
UniqueHkey OpenSettingsForWrite();

// Reads a value that counts only as a REG_DWORD of exactly 4 bytes; false means absent.
bool ReadDwordValue(HKEY key, const wchar_t* name, DWORD* value);
void WriteDwordValue(HKEY key, const wchar_t* name, DWORD value);

// Turns a zero-filled buffer holding REG_MULTI_SZ data (`size` characters) into line-feed-separated
// text, in place. The walk stops at the first empty entry or at the end of the buffer. Calls
// onEntry(entry) for each entry before its terminator is replaced. Returns the number of entries.
template <typename Char, typename OnEntry>
size_t MultiStringToLines(Char* buffer, size_t size, OnEntry onEntry)
{
    size_t entries = 0;
    size_t at = 0;
    while (at < size && buffer[at] != Char{}) {
        size_t end = at;
        while (end < size && buffer[end] != Char{}) ++end;
        if (end == size) break;  // an entry without its terminator is not an entry
        onEntry(buffer + at);
        buffer[end] = Char{'\n'};
        ++entries;
        at = end + 1;
    }
    // Whatever followed the list (an unterminated tail) is not part of the text.
    if (at < size) buffer[at] = Char{};
    return entries;
}

// The characters to hold REG_MULTI_SZ data of `bytes` bytes with room for a terminator the data
// may lack; an odd last byte (half a character) is not read.
size_t MultiStringCapacity(DWORD bytes);

// Assembles REG_MULTI_SZ data from entries, each cut to at most 259 characters (never inside a
// surrogate pair). The result's size is the sum of (length + 1) over the entries, plus 1. Returns
// the characters used, or 0 when the buffer (which must hold count * 261 + 1 characters) is too
// small.
size_t AppendMultiStringEntry(wchar_t* buffer, size_t capacity, size_t used, const wchar_t* entry);

// Rebuilds exclusionText from the registry; fills listBox (when given) with the stored entries.
void LoadExclusionList(HWND listBox);
// Sets restoreMinimized, groupByApps, switchOnRelease and thisMonitorOnly from the registry, creating
// the key when missing.
void LoadDisplayOptions();
// Writes the list box's items as "Exclusion" (or deletes the value when the list is empty), then
// reloads exclusionText.
void StoreExclusionList(HWND listBox);
// "Language": the locale name of the language the user chose (common/language.h); empty when it is
// absent or no text: the system's language.
std::wstring ReadLanguageSetting();
// Writes it as REG_SZ, or deletes it when the name is empty.
void StoreLanguageSetting(const wchar_t* locale);
// Whether "Info1" exists, of any type: the user has dismissed the welcome tip for good.
bool WelcomeTipDismissed();
// Writes "Info1" = 1.
void DismissWelcomeTip();
