// Where a window's icon comes from. On Windows: the window's answer to WM_GETICON (bounded, so a
// hung application cannot stall us) and its class icon. Under Wine those two fail for another
// process's windows, so there, and only there, the first icon of the window's executable stands
// in for them.
#pragma once

#include <windows.h>

#include <vector>

#include "common/owners.h"

// The class of the frame around a Store app: it often answers no icon and has no class icon, yet
// every visible one is a window the user works with.
constexpr wchar_t kStoreAppFrameClass[] = L"ApplicationFrameWindow";

// How long a window may take to answer WM_GETICON before it counts as having no icon.
constexpr UINT kIconQueryTimeoutMs = 100;

// The window's big icon (WM_GETICON with ICON_BIG), or null; never waits longer than the bound.
HICON QueryWindowIcon(HWND window);
// The icon of the window's class, or null.
HICON QueryClassIcon(HWND window);

// Whether the executable-icon stand-in is in force (under Wine; tests may switch it).
extern bool useExecutableIcons;

// The icon to draw for a window: the class icon first, then the window's own answer; for a Store
// app frame the standard application icon when both fail; with the stand-in, the executable's
// first icon when both fail. *owned is set when the caller must
// destroy the icon (only stand-ins are owned).
// Within a listing (`standIns` given: the list's), the stand-in is extracted once per process and
// kept there (not owned by the caller): a program's windows share it.
struct IconStandIns {
    struct Known {
        DWORD processId;
        UniqueIcon icon;  // null: the executable has none
    };
    std::vector<Known> known;
};
HICON FindWindowIcon(HWND window, IconStandIns* standIns, bool* owned);
