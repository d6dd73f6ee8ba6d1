#include "overview/lifecycle.h"

#include <mutex>
#include <string>
#include <vector>

#include "common/instance.h"
#include "common/language.h"
#include "common/monitors.h"
#include "common/platform.h"
#include "common/system.h"
#include "config/settings.h"
#include "overview/accessible.h"
#include "overview/announce.h"
#include "overview/find.h"
#include "overview/frame.h"
#include "overview/layout.h"
#include "overview/palette.h"
#include "overview/present.h"
#include "overview/scaling.h"
#include "overview/showing.h"
#include "overview/switching.h"
#include "overview/tileimages.h"
#include "overview/worker.h"
#include "resources/resource.h"
#include "windows/collect.h"
#include "windows/windowlist.h"

Showing showing;
HWND cancelButton;
HWND refreshButton;

namespace {

// The buttons at 96 DPI: their size, and their top-left corners from the screen's bottom right.
constexpr int kButtonWidth = 76;
constexpr int kButtonHeight = 23;
constexpr int kButtonsAbove = 47;
constexpr int kCancelLeftOfEdge = 94;
constexpr int kRefreshLeftOfEdge = 178;

RECT ButtonRect(int leftOfEdge, int w, int h, int dpi)
{
    const int left = w - Scale(leftOfEdge, dpi), top = h - Scale(kButtonsAbove, dpi);
    return RECT{left, top, left + Scale(kButtonWidth, dpi), top + Scale(kButtonHeight, dpi)};
}

// The showing's ground (overview/palette.h) as a brush, or null where the system's is used.
UniqueBrush groundBrush;

// In the dark look the notice is drawn on the showing's ground; otherwise the system draws it.
INT_PTR CALLBACK StartingNoticeProc(HWND, UINT message, WPARAM wParam, LPARAM)
{
    if ((message == WM_CTLCOLORDLG || message == WM_CTLCOLORSTATIC) && groundBrush) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, showing.colours.text);
        SetBkColor(dc, showing.colours.ground);
        return reinterpret_cast<INT_PTR>(groundBrush.get());
    }
    return message == WM_INITDIALOG;
}

// The "Sorvane is starting..." notice, made at the first showing and kept hidden between showings,
// and made anew in another language chosen since.
HWND StartingNotice()
{
    static HWND notice;
    static const ShippedLanguage* madeIn;
    if (notice && madeIn != ChosenLanguage()) {
        DestroyWindow(notice);
        notice = nullptr;
    }
    madeIn = ChosenLanguage();
    if (!notice || !IsWindow(notice))
        notice = CreateDialogInLanguage(IDD_STARTING, GetDesktopWindow(), StartingNoticeProc, 0);
    return notice;
}

// Twice at most: a dialog moved onto a monitor of another scale takes that scale's size on the way.
void CentreOnMonitor(HWND window, const RECT& monitor)
{
    for (int pass = 0; pass < 2; ++pass) {
        RECT rect{};
        if (!GetWindowRect(window, &rect)) return;
        const int width = rect.right - rect.left, height = rect.bottom - rect.top;
        const int left = (monitor.left + monitor.right - width) / 2, top = (monitor.top + monitor.bottom - height) / 2;
        if (rect.left == left && rect.top == top) return;
        SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// Another program's window is shown without waiting for it: a hung application must not stall us.
void ShowOtherWindow(HWND window, int command)
{
    if (OwnThreadWindow(window))
        ShowWindow(window, command);
    else
        ShowWindowAsync(window, command);
}

// Creates the button the first time; later shows move it, size it and give it the text font again
// when the DPI has changed since, and give it its text anew.
void PlaceButton(HWND* button, UINT textId, DWORD style, const RECT& place, HWND window)
{
    const int width = place.right - place.left, height = place.bottom - place.top;
    HFONT font = OverviewTextFont();
    const std::wstring text = LoadText(textId);
    if (*button && IsWindow(*button)) {
        SetWindowTextW(*button, text.c_str());
        SetWindowPos(*button, nullptr, place.left, place.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        if (reinterpret_cast<HFONT>(SendMessageW(*button, WM_GETFONT, 0, 0)) != font)
            SendMessageW(*button, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        return;
    }
    *button = CreateWindowExW(0, L"BUTTON", text.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, place.left,
                              place.top, width, height, window, nullptr, appInstance, nullptr);
    SendMessageW(*button, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void CompactProcessHeap()
{
    HeapCompact(GetProcessHeap(), 0);
}

void TearDownEmptyOverview(HWND window)
{
    MessageBoxW(window, LoadText(IDS_NO_ACTIVE_WINDOW).c_str(), LoadText(IDS_NO_ACTIVE_WINDOW_TITLE).c_str(),
                MB_OK | MB_ICONINFORMATION);
    showing.overviewHiding = true;
    CloseSnapshotWorker(showing);
    ReleaseShowing();
    ShowWindow(window, SW_HIDE);
    NoteOwnWindowLeftScreen();
    showing.overviewHiding = false;
}

void LeaveEmptyOverviewQuietly(HWND notice)
{
    if (notice) ShowWindow(notice, SW_HIDE);
    showing.overviewHiding = true;
    ReleaseShowing();
    NoteOwnWindowLeftScreen();
    showing.overviewHiding = false;
    showing.overviewBuilding = false;
    ReturnToWindowInFront();
}

// Takes the picture again once the listed windows' areas of the screen stay the same.
void SettleOnListedWindows()
{
    std::vector<RECT> areas;
    for (const WindowEntry* entry = showing.windowList.head; entry; entry = entry->next) {
        RECT rect{};
        if (GetWindowRect(entry->hwnd, &rect)) areas.push_back(rect);
    }
    SettleScreenGrab(&showing.screenGrab, areas.data(), areas.size());
}

// The steps of a showing, in the order ShowOverviewOnMonitorAt takes them.

// Whether a show request may start a showing now. While the close-wait question is on screen it
// only activates the desktop.
bool ShowingMayStart()
{
    if (exitRequested) return false;  // the program is ending
    if (showing.closePromptActive) {
        ActivateWindow(GetDesktopWindow());
        return false;
    }
    if (showing.overviewHiding) return false;  // asked from within a tear-down (a nested message): not now
    return true;
}

void ChooseMonitorAndLook(POINT point, const OverviewScope& scope)
{
    // The monitor the user is looking at: where the pointer is at the request.
    showing.overviewMonitor = MonitorRectAt(point);
    showing.scope = scope;
    // The look is read at each showing (the starting notice already takes it) and kept to its end.
    showing.colours = CurrentOverviewColours();
    groundBrush.reset(showing.colours.ground != kTransparent ? CreateSolidBrush(showing.colours.ground) : nullptr);
}

// Under Wine, other programs' windows are printed from a picture of the screen: taken now, before
// anything of ours covers it.
void TakeScreenPicture()
{
    ReleaseScreenGrab(showing.screenGrab);
    showing.screenGrab = TakeScreenGrab();
}

// The starting notice, centred on the showing's monitor and drawn at once; null when there is none.
HWND ShowStartingNotice()
{
    HWND notice = StartingNotice();
    if (notice) {
        CentreOnMonitor(notice, showing.overviewMonitor);
        ShowWindow(notice, SW_SHOW);
        UpdateWindow(notice);
    }
    return notice;
}

// The showing's own state afresh (its number, no stop request, its monitor's DPI, keyboard cues),
// Overview input ignored until the build is over, and the priority a showing is built at.
void BeginBuilding(POINT point)
{
    showing.overviewBuilding = true;
    ++showing.showingNumber;
    ClearSnapshotStop(showing);
    showing.wheelRemainder = 0;
    showing.pointerSeen = false;
    showing.overviewDpi = UpdateOverviewDpi(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST));
    BOOL cues = FALSE;
    showing.keyboardCues = SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &cues, 0) && cues;
    SetPriorityClass(GetCurrentProcess(), ABOVE_NORMAL_PRIORITY_CLASS);
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
}

// Every switchable window, listed afresh, the Office frames set aside beside their documents.
void ListWindows()
{
    ResetWindowList(showing.windowList);
    CollectWindows(showing.windowList, settings.exclusionText.get());
    MergeOfficeFrames(showing.windowList, showing.officeFrames);
}

// Narrows the list to the showing's scope; false when the Overview of one application is left with
// nothing to list.
bool ApplyShowingScope()
{
    ApplyScope(showing.windowList, &showing.scope, settings.thisMonitorOnly, showing.overviewMonitor);
    return showing.windowList.head || !showing.scope.oneApplication;
}

// Restores the minimized windows for their snapshots, groups the list by application, and takes the
// picture again once the screen has settled. Returns the notice, or null once it has been hidden.
HWND PrepareListedWindows(HWND notice)
{
    const unsigned restored = settings.restoreMinimized ? RestoreMinimizedWindows() : 0;
    if (settings.groupByApps) GroupByApplication(showing.windowList);
    if (ScreenNeedsSettling(MsSinceOwnWindowLeftScreen(), restored)) {
        // The windows just restored or uncovered paint first; the notice must not be in the picture.
        if (notice) ShowWindow(notice, SW_HIDE);
        notice = nullptr;
        SettleOnListedWindows();
    }
    return notice;
}

// The frame and every tile are composed before the window shows: it comes up whole, in one paint.
void ComposeOverview(HWND window)
{
    const RECT& monitor = showing.overviewMonitor;
    const int w = monitor.right - monitor.left;
    const int h = monitor.bottom - monitor.top;
    PlaceButton(&cancelButton, IDS_OVERVIEW_CANCEL, BS_DEFPUSHBUTTON, CancelButtonRect(w, h, showing.overviewDpi),
                window);
    PlaceButton(&refreshButton, IDS_OVERVIEW_REFRESH, BS_PUSHBUTTON, RefreshButtonRect(w, h, showing.overviewDpi),
                window);
    BuildOverview(showing, window);
    // Where the pointer rests as the Overview comes up (the build parks it): a report of that place
    // is none of the user's doing, a report of any other place is, even when it comes first.
    POINT rest{};
    if (GetCursorPos(&rest)) {
        showing.lastPointer = POINT{rest.x - monitor.left, rest.y - monitor.top};
        showing.pointerSeen = true;
    }
}

// Over the whole monitor, maximized there, in front; the notice goes once the Overview covers it.
void ShowComposedOverview(HWND window, HWND notice)
{
    const RECT& monitor = showing.overviewMonitor;
    const int w = monitor.right - monitor.left;
    const int h = monitor.bottom - monitor.top;
    RECT placed{};
    if (!GetWindowRect(window, &placed) || !EqualRect(&placed, &monitor))
        SetWindowPos(window, nullptr, monitor.left, monitor.top, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window, SW_SHOWMAXIMIZED);
    RestackTopmostWindow(window);
    ActivateWindow(window);
    UpdateWindow(window);
    // The Overview covers the notice by now: it goes without holding up the showing.
    if (notice) ShowWindow(notice, SW_HIDE);
}

// The build is over: the Overview takes input, the snapshot worker fills the tiles, and screen
// readers hear the selection.
void StartFilling(HWND window)
{
    showing.overviewBuilding = false;
    ResumeSnapshotWorker(showing);
    if (showing.windowList.head) AnnounceSelection(showing, window);
}

}  // namespace

void ReleaseShowing(HWND chosen)
{
    CutOffAccessibleObject(showing);
    if (settings.restoreMinimized) MinimizeRestoredWindows(chosen);
    {
        std::lock_guard<std::mutex> hold(tileImagesLock);
        showing.labelOwner = nullptr;
        ReleaseDimmingTools(showing.dimming);
    }
    ClearFindText(showing);
    showing.hold = HoldToChoose{};
    showing.findBackdrop.reset();
    showing.findArea = RECT{};
    DestroyWindowList(showing.windowList);
    DeleteOverviewBuffer(showing);
    showing.gridColumns = 0;
    showing.tilesPresented.clear();
    ReleaseScreenGrab(showing.screenGrab);
    showing.screenGrab = nullptr;
    groundBrush.reset();
    CompactProcessHeap();
}

HBRUSH OverviewButtonGround() { return groundBrush.get(); }

void EraseOverviewBackground(HWND window, HDC dc)
{
    RECT client{};
    GetClientRect(window, &client);
    SetDCBrushColor(dc, showing.colours.background);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

RECT CancelButtonRect(int w, int h, int dpi) { return ButtonRect(kCancelLeftOfEdge, w, h, dpi); }

RECT RefreshButtonRect(int w, int h, int dpi) { return ButtonRect(kRefreshLeftOfEdge, w, h, dpi); }

unsigned RestoreMinimizedWindows()
{
    unsigned restored = 0;
    for (WindowEntry* entry = showing.windowList.head; entry; entry = entry->next) {
        if (!IsIconic(entry->hwnd)) continue;
        entry->wasMinimized = 1;
        ++restored;
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        const bool maximize =
            GetWindowPlacement(entry->hwnd, &placement) && (placement.flags & WPF_RESTORETOMAXIMIZED);
        ShowOtherWindow(entry->hwnd, maximize ? SW_SHOWMAXIMIZED : SW_RESTORE);
    }
    return restored;
}

void MinimizeRestoredWindows(HWND chosen)
{
    if (showing.windowList.count == 1) return;
    for (WindowEntry* entry = showing.windowList.head; entry; entry = entry->next)
        if (entry->wasMinimized && entry->hwnd != chosen) ShowOtherWindow(entry->hwnd, SW_SHOWMINNOACTIVE);
}

void ShowOverview(HWND window, const OverviewScope& scope)
{
    POINT at{};
    if (IsRectEmpty(&scope.monitor))
        GetCursorPos(&at);
    else
        at = POINT{scope.monitor.left + (scope.monitor.right - scope.monitor.left) / 2,
                   scope.monitor.top + (scope.monitor.bottom - scope.monitor.top) / 2};
    ShowOverviewOnMonitorAt(window, at, scope);
}

void ShowOverviewOnMonitorAt(HWND window, POINT point, const OverviewScope& scope)
{
    if (!ShowingMayStart()) return;
    SettlePendingActivation();  // a switch just made finishes before our windows move
    ChooseMonitorAndLook(point, scope);
    TakeScreenPicture();
    HWND notice = ShowStartingNotice();
    BeginBuilding(point);
    ListWindows();
    if (!ApplyShowingScope()) {
        // One application's Overview with nothing to list (its last window closed, the program ended or
        // excluded) leaves without a word, before anything of it shows.
        LeaveEmptyOverviewQuietly(notice);
        return;
    }
    notice = PrepareListedWindows(notice);
    ComposeOverview(window);
    ShowComposedOverview(window, notice);
    if (!showing.windowList.head) TearDownEmptyOverview(window);
    StartFilling(window);
}

void HideOverview(HWND window) { HideOverviewAndSwitch(window, nullptr); }

void HideOverviewAndSwitch(HWND window, WindowEntry* chosen)
{
    showing.overviewHiding = true;
    HWND target = nullptr;
    if (chosen) {
        BlinkChosenTile(showing, window, chosen);
        target = chosen->hwnd;
    }
    CloseSnapshotWorker(showing);
    ReleaseShowing(target);
    if (target) SwitchToWindow(target);
    ShowWindow(window, SW_HIDE);
    NoteOwnWindowLeftScreen();
    showing.overviewHiding = false;
}
