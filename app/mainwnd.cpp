// The main window's procedure: it only dispatches, one handler per message or command.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cwchar>
#include <iterator>
#include <string>

#include "app/app.h"
#include "app/help.h"
#include "app/infotip.h"
#include "app/overviewinput.h"
#include "app/tray.h"
#include "common/language.h"
#include "common/platform.h"
#include "common/text.h"
#include "config/configsheet.h"
#include "config/gesture.h"
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
// The InfoTip's text when it is one of the fixed ones: it must outlive the tip's request.
std::wstring fixedTipText;

// How many MainWindowProc calls are running: more than one inside nested waits and modal loops.
int dispatchDepth;

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

// While the Overview is up, screen readers get its list of tiles; otherwise the standard object.
LRESULT HandleGetObject(HWND window, WPARAM wParam, LPARAM lParam)
{
    LRESULT answer = 0;
    if (OverviewOpen(window) && !showing.overviewBuilding &&
        AnswerAccessibleObject(showing, window, wParam, lParam, &answer))
        return answer;
    return DefWindowProcW(window, WM_GETOBJECT, wParam, lParam);
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
        HandleCharacter(window, wParam);
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
    case WM_GETOBJECT:
        return HandleGetObject(window, wParam, lParam);
    case WM_ACCESSIBLE_SWITCH:
        HandleAccessibleSwitch(window, wParam, lParam);
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
