// Which top-level windows the Overview lists, and the order they stand in.
#pragma once

#include <windows.h>

#include <cstddef>

// A frame window of an Office application that shows its documents as windows of their own: the
// frame leaves the list, and capture prints it in place of its document windows.
struct OfficeFrameSlot {
    HWND frameHwnd;
    RECT frameRect;    // screen rectangle at removal
    DWORD processId;   // found by the latest collection, 0 if none
};
constexpr size_t kOfficeFrameCount = 3;
extern const char* const kOfficeFramePrefixes[kOfficeFrameCount];
extern OfficeFrameSlot OfficeFrames[kOfficeFrameCount];

// The process whose windows are never listed (the program's own: its property sheet, About box
// and message boxes); 0 lists every process. Set at start-up.
extern DWORD unlistedProcessId;

// Enumerates the top-level windows in Z order and appends every listable one.
void CollectWindows(bool applyExclusions);
BOOL CALLBACK CollectWindow(HWND window, LPARAM applyExclusions);

// Whether the window belongs in the Overview.
bool IsListable(HWND window, bool applyExclusions);

// Whether the executable file name (no folder) matches the file-name part of an entry of the
// exclusion text (entries each ended by a line feed), ignoring letter case.
bool IsExcludedName(const char* exclusionText, const char* fileName);

// The image file name of the window's process; the buffer keeps its contents on failure.
void GetProcessImageName(HWND window, char* buffer, size_t capacity, bool fileNameOnly);

// The Office rule: remembers and removes the application frames that stand beside their own
// document windows.
void MergeOfficeFrames();
DWORD FindProcessByTitle(const char* text);
unsigned CountWindowsOfProcess(DWORD processId);
void RemoveOfficeFrame(const char* prefix, OfficeFrameSlot* slot);

// Moves the windows of each class together, in the order of each class's first window.
void GroupByApplication();
