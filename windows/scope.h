// What an Overview lists beyond the listing rules: the windows of one application (the program in
// front when it was asked for), and, when the user asks for it, only the windows on the monitor it
// covers.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "windows/windowlist.h"

struct OverviewScope {
    // Only the windows of one application: the executable at `application` (a full path), or of
    // the process `applicationProcess` when its path cannot be read. Both empty: the application
    // of the first window the Overview would list.
    bool oneApplication = false;
    std::wstring application;
    DWORD applicationProcess = 0;
    // The monitor the Overview opens on (where the user works with that application), or empty for
    // the monitor under the pointer.
    RECT monitor = {};
};

// Whether two processes' executables (full paths) are one application: the same path, letter case
// aside, as file systems compare paths. Several processes of one executable are one application;
// two programs that share a file name in different folders are not. An unknown (empty) path is
// nobody's.
bool SameApplication(const wchar_t* path, const wchar_t* other);

// Whether the window in front names no application of its own for the scope: nothing, Sorvane
// itself, the desktop or the taskbar.
struct FrontFacts {
    bool none;
    bool ours;
    bool shell;  // the desktop (its window, Progman, WorkerW) or a taskbar
};
bool FrontNamesNoApplication(const FrontFacts& front);

// The index of the monitor a window at `place` belongs to: the one that holds most of its area,
// else the nearest one; -1 without monitors. A minimized window is placed where it would be
// restored.
int MonitorOfPlace(const RECT& place, const std::vector<RECT>& monitors);

// The application in front now (GetForegroundWindow), as the scope of a request, on the monitor of
// the window in front: empty when the front names none.
OverviewScope ApplicationScopeInFront();

// Leaves in the list only the windows of the scope: of its application (taken from the first
// window when the scope names none yet, and kept in *scope), and, with `monitorOnly`, those that
// belong to `monitor`. The others are released.
void ApplyScope(WindowList& list, OverviewScope* scope, bool monitorOnly, const RECT& monitor);
