#include "config/gesture.h"

#include <cstring>
#include <iterator>

#include "common/monitors.h"
#include "common/owners.h"
#include "common/system.h"
#include "common/text.h"
#include "config/settings.h"
#include "resources/resource.h"

namespace {

// The library's exports carry the compiler's decorated names of its two functions.
#if defined(_MSC_VER)
constexpr char kInstallExport[] = "?InstallMouseHook@@YAHI@Z";
constexpr char kUninstallExport[] = "?UninstallMouseHook@@YAHXZ";
#else
constexpr char kInstallExport[] = "_Z16InstallMouseHookj";
constexpr char kUninstallExport[] = "_Z18UninstallMouseHookv";
#endif
constexpr wchar_t kLibraryName[] = L"Sentrel.dll";

using InstallFunction = int (*)(unsigned int);
using UninstallFunction = int (*)();

UniqueModule hookLibrary;
InstallFunction installFunction;
UninstallFunction uninstallFunction;
bool hookLibraryTried;

// Loads the library from the folder of the executable only, never from the search path.
void LoadHookLibrary()
{
    if (hookLibraryTried) return;
    hookLibraryTried = true;
    // Beside the executable, named by its full path whatever characters its folder holds.
    const std::wstring path = PathBesideExecutable(kLibraryName);
    if (path.empty()) return;
    hookLibrary.reset(LoadLibraryW(path.c_str()));
    if (!hookLibrary) return;
    installFunction = ProcedureOf<InstallFunction>(hookLibrary.get(), kInstallExport);
    uninstallFunction = ProcedureOf<UninstallFunction>(hookLibrary.get(), kUninstallExport);
}

}  // namespace

int InstallMouseHook(unsigned int corner)
{
    LoadHookLibrary();
    return installFunction ? installFunction(corner) : 0;
}

int UninstallMouseHook()
{
    LoadHookLibrary();
    return uninstallFunction ? uninstallFunction() : 0;
}

void ShowGestureOnPage(HWND page, bool enabled, int corner)
{
    const int shown = static_cast<int>(CornerOrBottomRight(static_cast<unsigned>(corner)));
    CheckDlgButton(page, IDC_GESTURE_CHECK, enabled ? BST_CHECKED : BST_UNCHECKED);
    for (int button = IDC_CORNER_1; button <= IDC_CORNER_4; ++button)
        CheckDlgButton(page, button, enabled && button - IDC_CORNER_1 + 1 == shown ? BST_CHECKED : BST_UNCHECKED);
}

GestureChoice LiveGesture()
{
    return {settings.gestureEnabled, settings.gestureCorner};
}

GestureChoice ReadStoredGesture()
{
    GestureChoice loaded = LiveGesture();
    UniqueHkey key = OpenSettingsForQuery();
    DWORD value = 0;
    if (!key || !ReadDwordValue(key.get(), L"Mouse Gesture", &value)) {
        loaded = GestureChoice{};
    } else if (value == 0) {
        loaded.enabled = false;
    } else {
        DWORD corner = 0;
        loaded.enabled = true;
        if (!ReadDwordValue(key.get(), L"Corner", &corner)) corner = kCornerBottomRight;
        loaded.corner = static_cast<int>(CornerOrBottomRight(corner));
    }
    return loaded;
}

GestureChoice ShowStoredGestureOnPage(HWND page)
{
    const GestureChoice loaded = ReadStoredGesture();
    ShowGestureOnPage(page, loaded.enabled, loaded.corner);
    return loaded;
}

GestureChoice ApplyStoredGesture()
{
    const GestureChoice loaded = ReadStoredGesture();
    settings.gestureEnabled = loaded.enabled;
    settings.gestureCorner = loaded.corner;
    if (settings.gestureEnabled) InstallMouseHook(static_cast<unsigned>(settings.gestureCorner));
    return loaded;
}

bool FullScreenProgramOnMonitorAt(POINT corner)
{
    int state = 0;
    // Present from Windows Vista on.
    using QueryState = HRESULT(WINAPI*)(int*);
    auto query = ProcedureOf<QueryState>(GetModuleHandleW(L"shell32.dll"), "SHQueryUserNotificationState");
    if (query && FAILED(query(&state))) state = 0;
    const RECT cornerMonitor = MonitorRectAt(corner);

    FrontWindowFacts facts{};
    HWND front = GetForegroundWindow();
    wchar_t className[16] = {};
    if (front) GetClassNameW(front, className, static_cast<int>(std::size(className)));
    // The desktop: the shell's window, or the worker window that holds its wallpaper and icons.
    facts.shell = !front || front == GetShellWindow() || front == GetDesktopWindow() ||
                  lstrcmpW(className, L"Progman") == 0 || lstrcmpW(className, L"WorkerW") == 0;
    if (front && !facts.shell) {
        const LONG_PTR style = GetWindowLongPtrW(front, GWL_STYLE);
        facts.maximized = IsZoomed(front) != FALSE;
        facts.framed = (style & WS_CAPTION) == WS_CAPTION || (style & WS_THICKFRAME) != 0;
        if (GetClientRect(front, &facts.area)) MapWindowPoints(front, nullptr, reinterpret_cast<POINT*>(&facts.area), 2);
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        if (GetMonitorInfoW(MonitorFromWindow(front, MONITOR_DEFAULTTONEAREST), &monitor))
            facts.monitor = monitor.rcMonitor;
        else
            facts.shell = true;  // not measured: nothing to keep quiet for
    }
    return IsFullScreenOnMonitor(state, facts, cornerMonitor);
}
