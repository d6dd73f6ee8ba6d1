#include "app/infotip.h"

#include <commctrl.h>

#include "common/instance.h"

HWND infoTip;

namespace {

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

void ShowInfoTipAt(int x, int y)
{
    if (infoTipShown) return;
    SendMessageW(infoTip, TTM_TRACKPOSITION, 0, MAKELPARAM(x, y));
    SetInfoTipActive(true);
    infoTipShown = true;
}

void HideInfoTip()
{
    if (!infoTipShown) return;
    SetInfoTipActive(false);
    infoTipShown = false;
}

bool InfoTipShown() { return infoTipShown; }
