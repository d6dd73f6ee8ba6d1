#include "windows/scope.h"

#include <algorithm>
#include <climits>
#include <cwchar>
#include <iterator>
#include <utility>

#include "common/monitors.h"
#include "common/owners.h"
#include "common/text.h"
#include "windows/collect.h"
#include "windows/procinfo.h"

namespace {

std::wstring ExecutableOf(DWORD processId)
{
    UniqueHandle process(OpenProcessForQuery(processId));
    return process ? ReadImagePath(process.get()) : std::wstring();
}

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
RECT PlaceOf(HWND window)
{
    RECT place{};
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (IsIconic(window) && GetWindowPlacement(window, &placement)) {
        place = placement.rcNormalPosition;
        // In workspace coordinates (from the work area's corner) unless it is a tool window.
        RECT work{};
        if (!(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) &&
            SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
            OffsetRect(&place, work.left, work.top);
        return place;
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

bool SameApplication(const wchar_t* path, const wchar_t* other)
{
    return path && other && path[0] != L'\0' && EqualIgnoringCaseOrdinal(path, other);
}

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

OverviewScope ApplicationScopeInFront()
{
    OverviewScope scope;
    scope.oneApplication = true;
    HWND front = GetForegroundWindow();
    const FrontFacts facts{front == nullptr, front && ProcessOf(front) == GetCurrentProcessId(),
                           front && IsShellWindow(front)};
    if (FrontNamesNoApplication(facts)) return scope;
    scope.applicationProcess = ProcessOf(front);
    scope.application = ExecutableOf(scope.applicationProcess);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(MonitorFromWindow(front, MONITOR_DEFAULTTONEAREST), &info)) scope.monitor = info.rcMonitor;
    return scope;
}

void ApplyScope(WindowList& list, OverviewScope* scope, bool monitorOnly, const RECT& monitor)
{
    const std::vector<RECT> monitors = monitorOnly ? MonitorRects() : std::vector<RECT>();
    // Each process's executable, read once.
    std::vector<std::pair<DWORD, std::wstring>> executables;
    auto executableOf = [&](DWORD processId) -> const std::wstring& {
        for (const auto& known : executables)
            if (known.first == processId) return known.second;
        executables.emplace_back(processId, ExecutableOf(processId));
        return executables.back().second;
    };
    WindowEntry* entry = list.head;
    while (entry) {
        WindowEntry* next = entry->next;
        bool inScope = true;
        if (monitorOnly) {
            const int at = MonitorOfPlace(PlaceOf(entry->hwnd), monitors);
            inScope = at >= 0 && EqualRect(&monitors[at], &monitor);
        }
        if (inScope && scope->oneApplication) {
            const DWORD processId = ProcessOf(entry->hwnd);
            // The first window the Overview would list names the application when the front did not.
            if (scope->application.empty() && !scope->applicationProcess) {
                scope->applicationProcess = processId;
                scope->application = executableOf(processId);
            }
            inScope = processId == scope->applicationProcess ||
                      SameApplication(scope->application.c_str(), executableOf(processId).c_str());
        }
        if (!inScope) {
            UnlinkWindowEntry(list, entry);
            ReleaseWindowEntry(list, entry);
        }
        entry = next;
    }
}
