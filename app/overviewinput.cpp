#include "app/overviewinput.h"

#include "app/closewindow.h"
#include "app/infotip.h"
#include "common/instance.h"
#include "config/gesture.h"
#include "config/hotkeys.h"
#include "config/settings.h"
#include "overview/find.h"
#include "overview/hold.h"
#include "overview/lifecycle.h"
#include "overview/present.h"
#include "overview/selection.h"
#include "overview/showing.h"
#include "overview/switching.h"
#include "overview/worker.h"
#include "resources/resource.h"
#include "windows/scope.h"
#include "windows/windowlist.h"

bool overviewLeaving;

namespace {

constexpr UINT kShellPingTimeoutMs = 1000;

void UseStandardCursor(LPCWSTR identifier) { SetCursor(LoadCursorW(nullptr, identifier)); }

// Marks a handler that takes the Overview down (and may wait meanwhile) for its duration.
class LeavingGuard {
public:
    LeavingGuard() : outer_(overviewLeaving) { overviewLeaving = true; }
    ~LeavingGuard() { overviewLeaving = outer_; }
    LeavingGuard(const LeavingGuard&) = delete;
    LeavingGuard& operator=(const LeavingGuard&) = delete;

private:
    bool outer_;
};

// Carries out what holding the Show hotkey's modifier asks for.
void ActOnHold(HWND window, HoldAction action)
{
    switch (action) {
    case HoldAction::SelectNext:
        ShowKeyboardCues(showing, window);
        MoveSelection(showing, window, NextMatchingEntry(showing, true));
        break;
    case HoldAction::Switch:
        StopAndSwitch(window);
        break;
    case HoldAction::Cancel:
        CancelOverview(window);
        break;
    case HoldAction::None:
        break;
    }
}

UINT ModifiersOfHotkey(WPARAM id) { return id == HOTKEY_APP ? settings.appModifiers : settings.showModifiers; }

// Show, or Show this application's windows, pressed while an Overview is open: the next tile of the
// Overview on screen, whatever its scope. With the hotkey's modifier held the press starts or
// continues the hold, so that letting go of that modifier switches; a hotkey without a modifier has
// nothing to hold and only moves on.
void StepOnByHotkey(HWND window, WPARAM id)
{
    const UINT modifiers = ModifiersOfHotkey(id);
    if (!HotkeyHasModifier(modifiers)) {
        ActOnHold(window, HoldAction::SelectNext);
        return;
    }
    const HoldAction action =
        StepHold(showing.hold, HoldEvent::ShowHotkey, ModifierKeysDown(modifiers), settings.switchOnRelease);
    if (showing.hold.holding) showing.hold.modifiers = modifiers;
    ActOnHold(window, action);
}

// Wakes the desktop and the shell (bounded: a hung shell must not hang us).
void PingDesktop()
{
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(GetDesktopWindow(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kShellPingTimeoutMs, &ignored);
    if (HWND shell = GetShellWindow())
        SendMessageTimeoutW(shell, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kShellPingTimeoutMs, &ignored);
}

void RefreshOverview(HWND window)
{
    LeavingGuard leaving;
    const unsigned count = showing.windowList.count;
    const OverviewScope scope = showing.scope;  // the next showing lists the same windows
    StopAndWaitForWorker(showing);
    HideInfoTip();
    PingDesktop();
    HideOverview(window);
    PingDesktop();
    Sleep((count == 1 ? 500000 : 330000) / (processorMHz ? processorMHz : kDefaultProcessorMHz));
    ShowOverview(window, scope);
}

}  // namespace

void StopAndHide(HWND window)
{
    LeavingGuard leaving;
    StopAndWaitForWorker(showing);
    HideOverview(window);
}

void StopAndSwitch(HWND window)
{
    LeavingGuard leaving;
    StopAndWaitForWorker(showing);
    HideOverviewAndSwitch(window, showing.windowList.selected);
}

void CancelOverview(HWND window)
{
    StopAndHide(window);
    ReturnToWindowInFront();
}

bool BringOwnedModalForward(HWND window)
{
    if (IsWindowEnabled(window)) return false;
    HWND modal = GetLastActivePopup(window);
    if (modal && modal != window) ActivateWindow(modal);
    return true;
}

void HandleHotkey(HWND window, WPARAM id, LPARAM detail)
{
    if (OverviewOpen(window)) {
        if ((id == HOTKEY_SHOW || id == HOTKEY_APP) && !showing.overviewBuilding && showing.windowList.head)
            StepOnByHotkey(window, id);
        return;
    }
    if (id == HOTKEY_SHOW || id == HOTKEY_SHOW2 || id == HOTKEY_APP) {
        // The corner's request carries the point where the pointer stopped.
        const POINT corner{static_cast<short>(LOWORD(detail)), static_cast<short>(HIWORD(detail))};
        // A game, a film or a slide show has that corner's monitor: the corner keeps quiet.
        if (id == HOTKEY_SHOW2 && FullScreenProgramOnMonitorAt(corner)) return;
        if (BringOwnedModalForward(window)) return;
        // The application in front is read before anything of ours comes forward.
        const OverviewScope scope = id == HOTKEY_APP ? ApplicationScopeInFront() : OverviewScope{};
        RememberWindowInFront();
        if (id == HOTKEY_SHOW2) {
            ShowOverviewOnMonitorAt(window, corner);
        } else {
            ShowOverview(window, scope);
            // Read once the Overview is in front: a modifier let go while it was being built is up.
            const UINT modifiers = ModifiersOfHotkey(id);
            if (OverviewOpen(window)) showing.hold = StartHold(true, modifiers, ModifierKeysDown(modifiers));
        }
    } else if (id == HOTKEY_RECENT || id == HOTKEY_OTHERS) {
        QuickSwitch(id == HOTKEY_RECENT ? QuickSwitchTarget::WindowBehind : QuickSwitchTarget::FurthestBack);
    }
}

bool HandleKeyDown(HWND window, WPARAM key)
{
    if (showing.overviewBuilding || !showing.windowList.head) return false;
    ShowKeyboardCues(showing, window);
    if (key == VK_ESCAPE) {  // with the Show hotkey's modifier held, Esc closes at once
        ActOnHold(window, StepHold(showing.hold, HoldEvent::Escape, true, settings.switchOnRelease));
        return true;
    }
    switch (key) {
    // Every move stops on tiles that match the find text only (all of them while it is empty).
    case VK_TAB:
        MoveSelection(showing, window, NextMatchingEntry(showing, GetKeyState(VK_SHIFT) >= 0));
        break;
    case VK_PRIOR:
    case VK_HOME:
        MoveSelection(showing, window, FirstMatchingEntry(showing));
        break;
    case VK_NEXT:
    case VK_END:
        MoveSelection(showing, window, LastMatchingEntry(showing));
        break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: {
        const Direction direction = key == VK_LEFT    ? Direction::Left
                                    : key == VK_RIGHT ? Direction::Right
                                    : key == VK_UP    ? Direction::Up
                                                      : Direction::Down;
        if (WindowEntry* target = MatchingNeighbour(showing, direction)) MoveSelection(showing, window, target);
        break;
    }
    default:
        return false;
    }
    StepHold(showing.hold, HoldEvent::SelectionMoved, true, settings.switchOnRelease);
    return true;
}

void HandleModifierUp(HWND window, WPARAM key)
{
    if (showing.overviewBuilding || !OverviewOpen(window) || !IsModifierKey(showing.hold.modifiers, key)) return;
    ActOnHold(window, StepHold(showing.hold, HoldEvent::ModifierUp, false, settings.switchOnRelease));
}

void HandleKeyUp(HWND window, WPARAM key)
{
    if (showing.overviewBuilding) {
        if (key == VK_ESCAPE) RequestSnapshotStop(showing);
        return;
    }
    if (!OverviewOpen(window) || !showing.windowList.head) return;
    switch (key) {
    case VK_RETURN:
    case VK_SPACE:
        StopAndSwitch(window);
        break;
    case VK_ESCAPE:
        CancelOverview(window);
        break;
    case VK_F5:
        RefreshOverview(window);
        break;
    default:
        break;
    }
}

void HandleCharacter(HWND window, WPARAM character)
{
    if (!showing.overviewBuilding && OverviewOpen(window))
        HandleFindCharacter(showing, window, static_cast<unsigned>(character));
}

void HandleMouseMove(HWND window, int x, int y)
{
    // A report of the place the pointer rested at as the Overview came up, or of the last one, is no
    // move; where the resting place could not be read, the first report only says it.
    const bool pointerMoved = showing.pointerSeen && (x != showing.lastPointer.x || y != showing.lastPointer.y);
    showing.pointerSeen = true;
    showing.lastPointer = POINT{x, y};
    if (showing.overviewBuilding) return;
    WindowEntry* hit = TileAtPoint(showing, x, y);
    if (hit && hit->dimmed) hit = nullptr;  // a dimmed tile is never selected
    if (hit != showing.windowList.selected) {
        if (hit) {
            MoveSelection(showing, window, hit);
            if (pointerMoved) StepHold(showing.hold, HoldEvent::SelectionMoved, true, settings.switchOnRelease);
            UseStandardCursor(IDC_HAND);
        } else {
            UseStandardCursor(IDC_ARROW);
        }
    } else if (!hit) {
        UseStandardCursor(IDC_ARROW);
    }
    const int dpi = showing.overviewDpi;
    if (hit && (InCloseSquare(hit->tile, x, y, dpi) || InInfoSquare(hit->tile, x, y, dpi))) {
        ShowInfoTipAt(InfoTipPlace(POINT{x, y}, showing.overviewMonitor, dpi));
    } else if (InfoTipShown()) {
        HideInfoTip();
    } else if (hit) {
        UseStandardCursor(IDC_HAND);
    }
}

void HandleLeftButtonUp(HWND window, int x, int y)
{
    if (showing.overviewBuilding) return;
    HideInfoTip();
    WindowEntry* hit = TileAtPoint(showing, x, y);
    if (!hit || hit != showing.windowList.selected) return;
    if (InCloseSquare(hit->tile, x, y, showing.overviewDpi))
        CloseTileWindow(window);
    else
        StopAndSwitch(window);
}

void HandleMouseWheel(HWND window, WPARAM wParam)
{
    if (showing.overviewBuilding || !showing.windowList.head) return;
    // Each whole step forward moves to the previous tile, each one backward to the next: one move to
    // where the steps lead.
    const int steps = TakeWheelSteps(showing, GET_WHEEL_DELTA_WPARAM(wParam));
    if (steps == 0) return;
    MoveSelection(showing, window, MatchingEntryAfter(showing, -steps));
    StepHold(showing.hold, HoldEvent::SelectionMoved, true, settings.switchOnRelease);
}

void HandleActivate(WPARAM state)
{
    if (LOWORD(state) == WA_INACTIVE) StepHold(showing.hold, HoldEvent::LostFront, false, settings.switchOnRelease);
}

void HandleAccessibleSwitch(HWND window, WPARAM showingNumber, LPARAM position)
{
    if (showingNumber == showing.showingNumber && OverviewOpen(window) && !showing.overviewBuilding) {
        WindowEntry* chosen = EntryAtIndex(showing.windowList, static_cast<int>(position) - 1);
        if (chosen && !chosen->dimmed) {
            MoveSelection(showing, window, chosen);
            StopAndSwitch(window);
        }
    }
}
