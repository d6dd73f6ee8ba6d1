#include "app/infotip.h"

#include <commctrl.h>

#include "common/instance.h"
#include "common/system.h"
#include "overview/layout.h"
#include "overview/scaling.h"

HWND infoTip;

namespace {

// The tip's place beside the pointer at 96 DPI: right and below it, or left of it when it would
// run off the monitor.
constexpr POINT kTipOffset = {5, 10};
constexpr int kTipLeftOffset = 100;
constexpr int kTipRoom = 110;

bool infoTipShown;

void SetInfoTipActive(bool active)
{
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = mainWindow;
    tool.uId = reinterpret_cast<UINT_PTR>(infoTip);
    SendMessageW(infoTip, TTM_TRACKACTIVATE, active, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace

void CreateInfoTip(HINSTANCE instance)
{
    if (infoTip && IsWindow(infoTip)) return;
    CommonControls();
    infoTip = CreateWindowExW(0, TOOLTIPS_CLASSW, L"", WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, mainWindow, nullptr, instance, nullptr);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE | TTF_TRANSPARENT;
    tool.hwnd = mainWindow;
    tool.uId = reinterpret_cast<UINT_PTR>(infoTip);
    tool.hinst = instance;
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(infoTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

POINT InfoTipPlace(POINT pointer, const RECT& monitor, int dpi)
{
    const bool roomOnTheRight = pointer.x + Scale(kTipRoom, dpi) <= monitor.right - monitor.left;
    const int x = roomOnTheRight ? pointer.x + Scale(kTipOffset.x, dpi) : pointer.x - Scale(kTipLeftOffset, dpi);
    return ScreenPointOf(monitor, POINT{x, pointer.y + Scale(kTipOffset.y, dpi)});
}

void ShowInfoTipAt(POINT place)
{
    if (infoTipShown) return;
    CreateInfoTip(appInstance);
    // The text in the showing's scale, which the tooltip measures itself by.
    if (HFONT font = OverviewTipFont()) SendMessageW(infoTip, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageW(infoTip, TTM_TRACKPOSITION, 0, MAKELPARAM(place.x, place.y));
    SetInfoTipActive(true);
    // The packed position is 16 bits each way, and a tooltip that reads it unsigned (Wine's does)
    // puts a negative coordinate at the far edge: the tip is placed where it belongs.
    SetWindowPos(infoTip, nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    infoTipShown = true;
}

void HideInfoTip()
{
    if (!infoTipShown) return;
    SetInfoTipActive(false);
    infoTipShown = false;
}

bool InfoTipShown() { return infoTipShown; }
