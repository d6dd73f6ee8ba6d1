// The main window's procedure: it only dispatches, one handler per message or command.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cwchar>
#include <iterator>
#include <string>

#include "app/app.h"
#include "app/closewindow.h"
#include "app/help.h"
#include "app/infotip.h"
#include "app/tray.h"
#include "common/language.h"
#include "common/platform.h"
#include "common/text.h"
#include "config/configsheet.h"
#include "config/gesture.h"
#include "config/hotkeys.h"
#include "config/settings.h"
#include "overview/accessible.h"
#include "overview/find.h"
#include "overview/frame.h"
#include "overview/layout.h"
#include "overview/lifecycle.h"
#include "overview/present.h"
#include "overview/scaling.h"
#include "overview/selection.h"
#include "overview/showing.h"
#include "overview/switching.h"
#include "overview/worker.h"
#include "resources/resource.h"
#include "windows/procinfo.h"
#include "windows/windowlist.h"

namespace {

// Sent by the shell to every top-level window when the taskbar has been (re)created.
const UINT taskbarCreatedMessage = RegisterWindowMessageW(L"TaskbarCreated");

constexpr UINT kDpiChangedMessage = 0x02E0;  // WM_DPICHANGED (Windows 8.1 on)
constexpr UINT kShellPingTimeoutMs = 1000;
// The InfoTip's text when it is one of the fixed ones: it must outlive the tip's request.
std::wstring fixedTipText;

// How many MainWindowProc calls are running: more than one inside nested waits and modal loops.
int dispatchDepth;
// Set while a handler hides, refreshes or closes from the Overview: a nested close request then
// leaves the Overview to that handler.
bool overviewLeaving;

bool OverviewOpen(HWND window) { return IsWindowVisible(window) != FALSE; }

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

void StopAndHide(HWND window)
{
    LeavingGuard leaving;
    StopAndWaitForWorker(showing);
    HideOverview(window);
}

// Enter, Space and a click on the selected tile.
void StopAndSwitch(HWND window)
{
    LeavingGuard leaving;
    StopAndWaitForWorker(showing);
    HideOverviewAndSwitch(window, showing.windowList.selected);
}

// Esc, Cancel and Alt+F4: the Overview goes without a switch, and the window that was in front
// before it comes back to the front.
void CancelOverview(HWND window)
{
    StopAndHide(window);
    ReturnToWindowInFront();
}

// Whether a showing, a direct switch or a close from the Overview is under way on this thread
// (its records would be freed under it by an exit now).
bool ShowingInProgress()
{
    return showing.windowList.heap || showing.windowList.head || showing.overviewBuilding || showing.overviewHiding ||
           showing.closePromptActive || overviewLeaving;
}

// Ends the program as Exit does. Asked for in the middle of a showing (from a nested wait or
// message box), the exit waits until the outermost handler has returned.
void RequestExit(HWND window)
{
    if (ShowingInProgress()) {
        exitRequested = true;
        return;
    }
    DestroyWindow(window);
}

// The pending exit, once no handler is running: an Overview still open closes first.
void CompletePendingExit(HWND window)
{
    if (!exitRequested || dispatchDepth != 0 || !IsWindow(window)) return;
    if (IsWindowVisible(window) && !showing.overviewBuilding) StopAndHide(window);
    if (ShowingInProgress()) return;
    exitRequested = false;
    DestroyWindow(window);
}

// Alt+F4 and any other close request. With the Overview open it closes the Overview as Esc does;
// with the Overview hidden it ends the program as Exit does.
void HandleClose(HWND window)
{
    if (!IsWindowVisible(window)) {
        RequestExit(window);
    } else if (showing.overviewBuilding) {
        RequestSnapshotStop(showing);
    } else if (!overviewLeaving && !showing.overviewHiding && showing.windowList.head) {
        HideInfoTip();
        CancelOverview(window);
    }
}

void HandleDestroy()
{
    // Nothing of a showing is freed while the worker may still walk it.
    StopAndWaitForWorker(showing);
    CloseSnapshotWorker(showing);
    HideInfoTip();
    ReleaseShowing();
    if (settings.gestureEnabled) UninstallMouseHook();
    RemoveTrayIcon();
    PostQuitMessage(0);
}

void HandleTrayIcon(LPARAM event)
{
    switch (event) {
    case WM_CONTEXTMENU:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        ShowTrayMenu();
        break;
    case NIN_BALLOONUSERCLICK:
        HandleBalloonClick();
        break;
    default:
        break;
    }
}

// Monitors came, went, moved or changed their scale: the corner watch reads them anew (the Overview
// does at each showing; one open now stays as it is, and the hidden window needs no move to the place
// the system suggests).
void RereadMonitorsForCorner()
{
    if (settings.gestureEnabled) InstallMouseHook(static_cast<unsigned>(settings.gestureCorner));
}

// A system setting changed. The work area or the monitors may have: the corner watch reads them
// anew. "ImmersiveColorSet" names the light or dark of the taskbar and the apps: the tray icon
// follows the taskbar's at once.
void HandleSettingChange(LPARAM lParam)
{
    RereadMonitorsForCorner();
    constexpr wchar_t kColorSetArea[] = L"ImmersiveColorSet";
    const auto* area = reinterpret_cast<const wchar_t*>(lParam);
    if (area && wcsncmp(area, kColorSetArea, std::size(kColorSetArea)) == 0) FollowTaskbarTheme();
}

// Every repaint copies from the composed frame, with the current tile looks drawn into it first.
void HandlePaint(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (GetForegroundWindow() != window) ActivateWindow(window);
    if (showing.overviewBuffer && dc) {
        UniqueMemoryDc buffer(CreateCompatibleDC(dc));
        if (buffer) {
            SelectGuard hold(buffer.get(), showing.overviewBuffer);
            DrawFindText(showing, buffer.get());
            if (showing.windowList.head) RepaintAllTiles(showing, buffer.get());
            const RECT& area = paint.rcPaint;
            BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, buffer.get(),
                   area.left, area.top, SRCCOPY);
        }
    }
    EndPaint(window, &paint);
}

// The configuration sheet disables the main window, its owner, while it is open. An Overview
// shown then could take no input (a disabled window gets neither keys nor clicks), and a second
// sheet would stack on the first: such requests bring the open sheet forward instead.
bool BringOwnedModalForward(HWND window)
{
    if (IsWindowEnabled(window)) return false;
    HWND modal = GetLastActivePopup(window);
    if (modal && modal != window) ActivateWindow(modal);
    return true;
}

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

// A key went down; true when it is one the Overview moves or closes by (which arrive as system keys
// while Alt is held).
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

// A key went up, as a key or a system key (with Alt held): letting go of the Show hotkey's modifier
// may switch.
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

// Another window took the front from the open Overview: a hold ends there, so that a later lone
// release of the modifier does not switch.
void HandleActivate(WPARAM state)
{
    if (LOWORD(state) == WA_INACTIVE) StepHold(showing.hold, HoldEvent::LostFront, false, settings.switchOnRelease);
}

LRESULT HandleNotify(LPARAM lParam)
{
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (!header || header->code != TTN_GETDISPINFOW) return 0;
    auto* request = reinterpret_cast<NMTTDISPINFOW*>(lParam);
    request->hinst = nullptr;
    const POINT cursor = showing.lastPointer;
    WindowEntry* selected = showing.windowList.selected;
    if (selected && InInfoSquare(selected->tile, cursor.x, cursor.y, showing.overviewDpi)) {
        SendMessageW(infoTip, TTM_SETMAXTIPWIDTH, 0, selected->tile.right - selected->tile.left);
        showing.infoText = AllocateHeapText(kPathCapacity);
        if (showing.infoText) {
            FormatProcessInfo(selected->hwnd, showing.infoText.get(), kPathCapacity);
            request->lpszText = showing.infoText.get();
        } else {
            fixedTipText = LoadText(IDS_TIP_NO_INFO);
            request->lpszText = fixedTipText.data();
        }
    } else {
        fixedTipText = LoadText(IDS_TIP_CLOSE);
        request->lpszText = fixedTipText.data();
    }
    return 0;
}

LRESULT HandleCommand(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (OverviewOpen(window)) {
        // Only the Overview's own buttons (control identifier 0) are served while it is open.
        if (LOWORD(wParam) != 0) return DefWindowProcW(window, WM_COMMAND, wParam, lParam);
        if (reinterpret_cast<HWND>(lParam) == refreshButton) {
            const OverviewScope scope = showing.scope;
            StopAndHide(window);
            ShowOverview(window, scope);
        } else {
            CancelOverview(window);
        }
        return 0;
    }
    switch (LOWORD(wParam)) {
    case IDM_ABOUT:
        ShowDialogInLanguage(IDD_ABOUT, GetDesktopWindow(), AboutDialogProc, 0);
        NoteOwnWindowLeftScreen();
        return 0;
    case IDM_EXIT:
        RequestExit(window);
        return 0;
    case IDM_HELP:
        OpenHelpPage();
        return 0;
    case IDM_SHOW_LIST:
        if (!BringOwnedModalForward(window)) ShowOverview(window);
        return 0;
    case IDM_SWITCH_RECENT:
    case IDM_SWITCH_OTHERS:
        QuickSwitch(LOWORD(wParam) == IDM_SWITCH_RECENT ? QuickSwitchTarget::WindowBehind
                                                        : QuickSwitchTarget::FurthestBack);
        return 0;
    case IDM_CONFIGURE:
        if (!BringOwnedModalForward(window)) {
            ShowConfigurationSheet(window);
            NoteOwnWindowLeftScreen();
        }
        return 0;
    default:
        return DefWindowProcW(window, WM_COMMAND, wParam, lParam);
    }
}

LRESULT DispatchMainWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
        HandleClose(window);
        return 0;
    case WM_DESTROY:
        HandleDestroy();
        return 0;
    case WM_PAINT:
        HandlePaint(window);
        return 0;
    case WM_ERASEBKGND:
        EraseOverviewBackground(window, reinterpret_cast<HDC>(wParam));
        return 1;
    case WM_CTLCOLORBTN:
        if (HBRUSH ground = OverviewButtonGround()) return reinterpret_cast<LRESULT>(ground);
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_NOTIFY:
        return HandleNotify(lParam);
    case WM_KEYDOWN:
        HandleKeyDown(window, wParam);
        return 0;
    case WM_KEYUP:
        HandleModifierUp(window, wParam);
        HandleKeyUp(window, wParam);
        return 0;
    case WM_SYSKEYDOWN:
        if (OverviewOpen(window) && HandleKeyDown(window, wParam)) return 0;
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_SYSKEYUP:
        // Letting go of Alt over the Overview neither opens its system menu nor moves the focus.
        if (!OverviewOpen(window)) return DefWindowProcW(window, message, wParam, lParam);
        HandleModifierUp(window, wParam);
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_KEYMENU && OverviewOpen(window)) return 0;
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_CHAR:
    case WM_IME_CHAR:  // a character an input method composed: not passed on, so it comes once
        if (!showing.overviewBuilding && OverviewOpen(window))
            HandleFindCharacter(showing, window, static_cast<unsigned>(wParam));
        return 0;
    case WM_MOUSEMOVE:
        HandleMouseMove(window, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return 0;
    case WM_LBUTTONUP:
        HandleLeftButtonUp(window, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return 0;
    case WM_MOUSEWHEEL:
        HandleMouseWheel(window, wParam);
        return 0;
    case WM_HOTKEY:
        HandleHotkey(window, wParam, lParam);
        return 0;
    case WM_ACTIVATE:
        HandleActivate(wParam);
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_COMMAND:
        return HandleCommand(window, wParam, lParam);
    case WM_TRAYICON:
        HandleTrayIcon(lParam);
        return 0;
    case WM_SECOND_INSTANCE:
        ShowBalloon(IDS_RUNNING_TIP);
        return 0;
    case WM_TIMER:
        if (wParam == kTrayRetryTimer) RetryTrayIcon();
        return 0;
    case WM_TILE_FILLED:
        PresentFilledTile(showing, window, wParam, lParam);
        return 0;
    case WM_GETOBJECT: {
        // While the Overview is up, screen readers get its list of tiles; otherwise the standard
        // object.
        LRESULT answer = 0;
        if (OverviewOpen(window) && !showing.overviewBuilding &&
            AnswerAccessibleObject(showing, window, wParam, lParam, &answer))
            return answer;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    case WM_ACCESSIBLE_SWITCH:
        // A reader's default action on a tile of this showing: as Enter on that tile.
        if (wParam == showing.showingNumber && OverviewOpen(window) && !showing.overviewBuilding) {
            WindowEntry* chosen = EntryAtIndex(showing.windowList, static_cast<int>(lParam) - 1);
            if (chosen && !chosen->dimmed) {
                MoveSelection(showing, window, chosen);
                StopAndSwitch(window);
            }
        }
        return 0;
    case WM_DISPLAYCHANGE:
    case kDpiChangedMessage:
        RereadMonitorsForCorner();
        return 0;
    case WM_SETTINGCHANGE:
        HandleSettingChange(lParam);
        return 0;
    default:
        if (message == taskbarCreatedMessage && message != 0) {
            RestoreTrayIcon();
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    ++dispatchDepth;
    const LRESULT result = DispatchMainWindowMessage(window, message, wParam, lParam);
    --dispatchDepth;
    CompletePendingExit(window);
    return result;
}
