// The monitors of the desktop, read from the system whenever they are needed: a monitor added,
// removed, moved or scaled anew is seen by the next reader. Header-only, so that the hook library
// shares it. Sorvane is aware of each monitor's DPI: every rectangle here is in physical pixels.
#pragma once

#include <windows.h>

#include <vector>

#include "common/system.h"

// A monitor's whole rectangle and its work area (less the taskbar and the desktop's bars).
struct MonitorArea {
    RECT monitor;
    RECT work;
};

namespace monitors_detail {

inline BOOL CALLBACK CollectMonitor(HMONITOR, HDC, LPRECT rect, LPARAM list)
{
    reinterpret_cast<std::vector<RECT>*>(list)->push_back(*rect);
    return TRUE;
}

inline BOOL CALLBACK CollectMonitorArea(HMONITOR monitor, HDC, LPRECT rect, LPARAM list)
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info)) info.rcWork = *rect;
    reinterpret_cast<std::vector<MonitorArea>*>(list)->push_back(MonitorArea{*rect, info.rcWork});
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

// Every monitor's rectangle and work area, in the order of MonitorRects.
inline std::vector<MonitorArea> MonitorAreas()
{
    std::vector<MonitorArea> areas;
    EnumDisplayMonitors(nullptr, nullptr, monitors_detail::CollectMonitorArea, reinterpret_cast<LPARAM>(&areas));
    return areas;
}

// The whole rectangle (not the work area) of the monitor the point is on, or of the nearest one.
inline RECT MonitorRectAt(POINT point)
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), &info)) return info.rcMonitor;
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

// Asks the system for the monitor's DPI (the effective one, as the user scaled that monitor) into
// *dpi: GetDpiForMonitor's answer, from shcore.dll (Windows 8.1 on); E_NOTIMPL where it is missing.
// Not for the hook library, which needs no scale.
inline HRESULT AskMonitorDpi(HMONITOR monitor, UINT* dpi)
{
    using GetDpiFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
    // Loaded once and kept for the life of the process.
    static const GetDpiFunction getDpi =
        ProcedureOf<GetDpiFunction>(LoadSystemLibrary(L"shcore.dll"), "GetDpiForMonitor");
    *dpi = 0;
    if (!getDpi) return E_NOTIMPL;
    UINT horizontal = 0;
    return getDpi(monitor, kEffectiveDpi, &horizontal, dpi);
}
