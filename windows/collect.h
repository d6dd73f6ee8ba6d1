// Which top-level windows the Overview lists, and the order they stand in.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <string>

#include "windows/program.h"
#include "windows/windowlist.h"

// A frame window of an Office application that shows its documents as windows of their own: the
// frame leaves the list, and capture prints it in place of its document windows.
struct OfficeFrameSlot {
    HWND frameHwnd;
    RECT frameRect;    // screen rectangle at removal
    DWORD processId;   // found by the latest collection, 0 if none
};
constexpr size_t kOfficeFrameCount = 3;
extern const wchar_t* const kOfficeFramePrefixes[kOfficeFrameCount];
// One slot per prefix, in the order of kOfficeFramePrefixes: a showing's frames.
using OfficeFrameSlots = std::array<OfficeFrameSlot, kOfficeFrameCount>;

// The process whose windows are never listed (the program's own: its property sheet, About box
// and message boxes); 0 lists every process. Set at start-up.
extern DWORD unlistedProcessId;

// The exclusion list's text (entries each ended by a line feed) a collection applies; null for a
// direct switch, which counts every window.
constexpr const wchar_t* kNoExclusions = nullptr;

// Enumerates the top-level windows in Z order and appends every listable one, leaving out the
// executables of the exclusion text.
void CollectWindows(WindowList& list, const wchar_t* exclusionText);

// The identifier of the process that made the window (0 when the window is gone).
DWORD ProcessOf(HWND window);

// What the listing rules look at, read from one window. Text fields other than exclusionText
// are never null.
struct ListingFacts {
    bool visible;
    bool minimized;
    bool toolWindow;
    bool shellWindow;       // the shell's desktop
    bool ownProcess;        // a window of the process that is never listed (ours)
    bool cloaked;           // the compositor keeps it off the screen (another virtual desktop,
                            // a suspended Store app): present to the system, not to the user
    bool clientLargerThanOnePixel;
    bool hasIcon;           // the window's own answer, its class icon, or the stand-in
    const wchar_t* className;
    const wchar_t* title;      // at most 79 characters, as read
    const wchar_t* executableName;  // file name only; empty when unknown
    const wchar_t* programName;     // a packaged app's frame: its program's file name; may be null
    const wchar_t* exclusionText;   // entries each ended by a line feed; null: no exclusion test
};

// The listing rules over the facts: visible or minimized, not cloaked, not a tool window, the
// shell's desktop or ours; an icon (looked for only when minimized or larger than 1 x 1; a Store
// app frame counts as having one) or a download dialog's title; a title that is not empty (another
// program's window may bear ours: ours are known by their process); an executable that is not
// excluded (nor, for a packaged app's frame, its program's).
bool PassesListingRules(const ListingFacts& facts);

// The icon found while listing a window; `owned` when it was made for us and must be destroyed.
struct FoundIcon {
    HICON icon;
    bool owned;
};

// Whether the window belongs in the Overview: the listing rules over what the system says of it.
// A listed window's icon (the tile's, see FindWindowIcon, sharing the collection's stand-ins when
// given) goes to *found when given; otherwise it is released here.
bool IsListable(HWND window, const wchar_t* exclusionText, FoundIcon* found = nullptr,
                IconStandIns* standIns = nullptr);

// Whether the compositor keeps the window cloaked (DWMWA_CLOAKED). False where the call is
// missing (before Windows 8, XP without dwmapi) or fails (Wine).
bool IsWindowCloaked(HWND window);

// Whether the executable file name (no folder) matches the file-name part of an entry of the
// exclusion text (entries each ended by a line feed), letter case aside as file names compare.
bool IsExcludedName(const wchar_t* exclusionText, const wchar_t* fileName);

// The image path (or only its file name) of the window's process, cut at the capacity; the
// buffer keeps its contents on failure.
void GetProcessImageName(HWND window, wchar_t* buffer, size_t capacity, bool fileNameOnly);

// The Office rule: remembers and removes the application frames that stand beside their own
// document windows.
void MergeOfficeFrames(WindowList& list, OfficeFrameSlots& frames);
DWORD FindProcessByTitle(const WindowList& list, const wchar_t* text);
unsigned CountWindowsOfProcess(const WindowList& list, DWORD processId);
void RemoveOfficeFrame(WindowList& list, const wchar_t* prefix, OfficeFrameSlot* slot);

// What grouping compares of a listed window: its class, and for a packaged app's frame its program.
struct GroupFacts {
    std::wstring className;
    bool storeAppFrame;
    WindowProgram program;  // read for a frame only
};
// Whether two windows stand in one group: ordinary windows of one class, letter case aside as the
// system compares class names; frames of one program (SameProgram); never a frame and another.
bool SameGroup(const GroupFacts& a, const GroupFacts& b);

// Moves the windows of each group together (SameGroup), in the order of each group's first window.
void GroupByApplication(WindowList& list);
