// One showing of the Overview: what lives from the show request to the tear-down, in one record.
#pragma once

#include <windows.h>

#include <vector>

#include "common/owners.h"
#include "common/platform.h"
#include "common/text.h"
#include "overview/hold.h"
#include "overview/palette.h"
#include "windows/collect.h"
#include "windows/scope.h"
#include "windows/windowlist.h"

// What dims tiles: a scratch image of the tile's size and one pixel of the showing's dimming
// colour to blend over it. Used under tileImagesLock only (overview/tileimages.h); made at the first
// dimmed tile of a showing.
struct DimmingTools {
    UniqueBitmap scratch;
    UniqueBitmap tint;
    UniqueMemoryDc scratchDc;  // after the bitmaps: the contexts go first
    UniqueMemoryDc tintDc;
    int width = 0;
    int height = 0;
};

constexpr size_t kFindTextMax = 32;  // characters (a surrogate pair is one)
constexpr size_t kFindTextCapacity = 2 * kFindTextMax + 1;  // UTF-16 units and the terminator

struct AccessibleTileList;  // overview/accessible.cpp

struct Showing {
    // The listed windows in the order of their tiles, and the heap their records come from. The
    // snapshot worker draws into the entries' tile images (under tileImagesLock, overview/tileimages.h)
    // and reads nothing else of them.
    WindowList windowList;
    // The monitor the showing covers (under the pointer at the request), in virtual-screen
    // coordinates: the Overview's client coordinates start at its top-left corner, and its size is
    // the frame's W x H.
    RECT overviewMonitor = {};
    // The composed full-screen frame, (W + 1) x (H + 1); repaints copy from it. GUI thread only.
    HBITMAP overviewBuffer = nullptr;
    // Column count of the grid, for arrow-key moves.
    int gridColumns = 0;
    // The entry whose title label is drawn in the header now, or null. Guarded by tileImagesLock.
    WindowEntry* labelOwner = nullptr;
    // Finding by typing: the text typed so far, the first half of a surrogate pair typed and
    // waiting for its second, and the frame under the text to draw it anew (GUI thread only).
    wchar_t findText[kFindTextCapacity] = {};
    wchar_t findPendingHalf = 0;
    UniqueBitmap findBackdrop;
    RECT findArea = {};
    DimmingTools dimming;
    // The Office frames that left the list beside their own document windows: captures print them
    // in their documents' stead.
    OfficeFrameSlots officeFrames{};
    // Under Wine, the picture of the screen that other programs' windows are printed from
    // (common/platform.h); null on Windows.
    ScreenGrab* screenGrab = nullptr;
    // The information tip: where the pointer was when the Overview last saw it move (the tip's text
    // is decided for that point; under Wine, GetCursorPos may still answer a move Sorvane itself
    // made a moment earlier), and the text it shows, which must outlive the tip's request (kept
    // until the next request replaces it).
    POINT lastPointer = {};
    bool pointerSeen = false;  // lastPointer holds this showing's resting place or a report since
    UniqueHeapText infoText;
    // The list object screen readers were given for this showing (overview/accessible.h), or null.
    AccessibleTileList* accessibleList = nullptr;
    // What the showing lists (every window, or one application's), kept for Refresh and for the
    // Overview that follows a close.
    OverviewScope scope;
    // Whether the modifier of the hotkey of the showing's scope (Show, or Show this application's
    // windows) is held on from the hotkey that opened the showing.
    HoldToChoose hold;
    // What is left of the wheel's turns short of a whole step (overview/selection.h).
    int wheelRemainder = 0;
    // The DPI of the monitor the showing covers, read at its start before the worker is created.
    int overviewDpi = 96;
    // The colours of the showing (high contrast or not), and whether the selected tile shows a
    // focus rectangle: when the system asks for keyboard cues, or once the keyboard is used.
    OverviewColours colours;
    bool keyboardCues = false;
    // Which showing this is: counted up at each show request, so that a worker's report that
    // arrives after its showing has ended is told apart (overview/worker.h).
    unsigned showingNumber = 0;
    // The snapshot worker of the showing, or null. The stop request and the event (manual reset)
    // are raised together; the worker sees only the event, which also wakes it from a wait for a
    // print. The event is made at the first showing and kept.
    HANDLE snapshotWorker = nullptr;
    // Which tiles have been presented since the worker filled them (one flag per tile, in list
    // order): at the worker's end, the whole Overview is repainted only when one was not.
    std::vector<bool> tilesPresented;
    bool snapshotStopRequested = false;
    UniqueHandle snapshotStopEvent;
    // Signalled (manual reset) once the tiles' looks hold their backdrops: the worker, started
    // while they are drawn, draws no snapshot into them before. Made at the first showing and kept.
    UniqueHandle tilesReadyEvent;
    // Where the showing stands; the GUI thread's flags (only it touches them).
    // From the start of a build until the worker is released: Overview input is ignored meanwhile.
    bool overviewBuilding = false;
    // While a tear-down runs.
    bool overviewHiding = false;
    // While the close-wait question is on screen: show requests then only activate the desktop.
    bool closePromptActive = false;
};

// The Overview's showing; empty between showings. Owned by the GUI thread (overview/lifecycle).
extern Showing showing;
