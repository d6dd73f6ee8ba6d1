// The monitors of the desktop, read from the system whenever they are needed: a monitor added,
// removed or moved is seen by the next reader. Header-only, so that the hook library shares it.
#pragma once

#include <windows.h>

#include <vector>

namespace monitors_detail {

inline BOOL CALLBACK CollectMonitor(HMONITOR, HDC, LPRECT rect, LPARAM list)
{
    reinterpret_cast<std::vector<RECT>*>(list)->push_back(*rect);
    return TRUE;
}

}  // namespace monitors_detail

// Every monitor's rectangle in virtual-screen coordinates; the primary screen alone when the
// system lists none.
inline std::vector<RECT> MonitorRects()
{
    std::vector<RECT> rects;
    EnumDisplayMonitors(nullptr, nullptr, monitors_detail::CollectMonitor, reinterpret_cast<LPARAM>(&rects));
    if (rects.empty()) rects.push_back(RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
    return rects;
}

// The whole rectangle (not the work area) of the monitor the point is on, or of the nearest one.
inline RECT MonitorRectAt(POINT point)
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), &info)) return info.rcMonitor;
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}
