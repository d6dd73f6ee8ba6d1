#include "windows/scope.h"

#include <algorithm>
#include <climits>
#include <cwchar>
#include <iterator>

#include "common/monitors.h"
#include "windows/collect.h"

namespace {

bool IsShellWindow(HWND window)
{
    if (window == GetShellWindow() || window == GetDesktopWindow()) return true;
    wchar_t className[32] = {};
    GetClassNameW(window, className, static_cast<int>(std::size(className)));
    for (const wchar_t* shell : {L"Progman", L"WorkerW", L"Shell_TrayWnd", L"Shell_SecondaryTrayWnd"})
        if (wcscmp(className, shell) == 0) return true;
    return false;
}

// The place a window is seen at: its rectangle, or where it would be restored when minimized.
RECT PlaceOf(HWND window, const std::vector<MonitorArea>& monitors)
{
    RECT place{};
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (IsIconic(window) && GetWindowPlacement(window, &placement)) {
        // In workspace coordinates unless it is a tool window, whose are the screen's.
        if (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) return placement.rcNormalPosition;
        return RestorePlaceOnScreen(placement.rcNormalPosition, monitors);
    }
    GetWindowRect(window, &place);
    return place;
}

long long Overlap(const RECT& a, const RECT& b)
{
    const long long width = std::min(a.right, b.right) - std::max(a.left, b.left);
    const long long height = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return width > 0 && height > 0 ? width * height : 0;
}

// How far apart two rectangles are (0 when they touch or overlap), squared.
long long GapSquared(const RECT& a, const RECT& b)
{
    const long long dx = std::max<long long>({0, static_cast<long long>(b.left) - a.right, static_cast<long long>(a.left) - b.right});
    const long long dy = std::max<long long>({0, static_cast<long long>(b.top) - a.bottom, static_cast<long long>(a.top) - b.bottom});
    return dx * dx + dy * dy;
}

}  // namespace

bool FrontNamesNoApplication(const FrontFacts& front) { return front.none || front.ours || front.shell; }

int MonitorOfPlace(const RECT& place, const std::vector<RECT>& monitors)
{
    int best = -1;
    long long bestOverlap = 0, bestGap = LLONG_MAX;
    for (size_t i = 0; i < monitors.size(); ++i) {
        const long long overlap = Overlap(place, monitors[i]);
        const long long gap = GapSquared(place, monitors[i]);
        if (overlap > bestOverlap || (bestOverlap == 0 && overlap == 0 && gap < bestGap)) {
            best = static_cast<int>(i);
            bestOverlap = overlap;
            bestGap = gap;
        }
    }
    return best;
}

RECT RestorePlaceOnScreen(const RECT& workspace, const std::vector<MonitorArea>& monitors)
{
    std::vector<RECT> rects;
    for (const MonitorArea& area : monitors) rects.push_back(area.monitor);
    RECT place = workspace;
    const int at = MonitorOfPlace(workspace, rects);
    if (at >= 0) {
        const MonitorArea& area = monitors[at];
        OffsetRect(&place, area.work.left - area.monitor.left, area.work.top - area.monitor.top);
    }
    return place;
}

OverviewScope ApplicationScopeInFront()
{
    OverviewScope scope;
    scope.oneApplication = true;
    HWND front = GetForegroundWindow();
    const FrontFacts facts{front == nullptr, front && ProcessOf(front) == GetCurrentProcessId(),
                           front && IsShellWindow(front)};
    if (FrontNamesNoApplication(facts)) return scope;
    scope.application = ProgramOfWindow(front);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(MonitorFromWindow(front, MONITOR_DEFAULTTONEAREST), &info)) scope.monitor = info.rcMonitor;
    return scope;
}

void ApplyScope(WindowList& list, OverviewScope* scope, bool monitorOnly, const RECT& monitor)
{
    const std::vector<RECT> monitors = monitorOnly ? MonitorRects() : std::vector<RECT>();
    const std::vector<MonitorArea> areas = monitorOnly ? MonitorAreas() : std::vector<MonitorArea>();
    ProgramPaths paths;  // each process's executable, read once
    WindowEntry* entry = list.head;
    while (entry) {
        WindowEntry* next = entry->next;
        bool inScope = true;
        if (monitorOnly) {
            const int at = MonitorOfPlace(PlaceOf(entry->hwnd, areas), monitors);
            inScope = at >= 0 && EqualRect(&monitors[at], &monitor);
        }
        if (inScope && scope->oneApplication) {
            const WindowProgram program = ProgramOfWindow(entry->hwnd, &paths);
            // The first window the Overview would list names the application when the front did not.
            WindowProgram& application = scope->application;
            if (!application.processId && application.path.empty() && application.appUserModelId.empty())
                application = program;
            inScope = SameProgram(program, application);
        }
        if (!inScope) {
            UnlinkWindowEntry(list, entry);
            ReleaseWindowEntry(list, entry);
        }
        entry = next;
    }
}
