// The low-level mouse hook runs on the thread that installed it (Sorvane's GUI thread): nothing is
// injected into other processes. The hook procedure only classifies the move, posts, and passes
// the event on.
#define SENTREL_BUILDING
#include "hook/sentrel.h"

#include <windows.h>

#include <atomic>

#include "hook/corner.h"

namespace {

constexpr WPARAM kGestureHotkeyId = 112;
constexpr char kMainWindowClass[] = "SORVANE";

HINSTANCE libraryInstance;
// All three are touched by the installing thread only; atomics keep a stray caller harmless.
std::atomic<HHOOK> mouseHook{nullptr};
std::atomic<unsigned> watchedCorner{4};
std::atomic<bool> pointerInCorner{false};  // re-armed when the pointer leaves the corner

LRESULT CALLBACK LowLevelMouseProc(int code, WPARAM message, LPARAM data)
{
    if (code == HC_ACTION && data != 0) {
        const auto* event = reinterpret_cast<const MSLLHOOKSTRUCT*>(data);
        const bool inCorner = PointInCorner(watchedCorner.load(), event->pt.x, event->pt.y,
                                            GetSystemMetrics(SM_CXSCREEN),
                                            GetSystemMetrics(SM_CYSCREEN));
        if (inCorner && !pointerInCorner.exchange(true)) {
            if (HWND target = FindWindowA(kMainWindowClass, nullptr))
                PostMessageA(target, WM_HOTKEY, kGestureHotkeyId, 0);
        } else if (!inCorner) {
            pointerInCorner.store(false);
        }
    }
    return CallNextHookEx(nullptr, code, message, data);
}

}  // namespace

SENTREL_API int InstallMouseHook(unsigned int corner)
{
    watchedCorner.store(corner >= 1 && corner <= 3 ? corner : 4);
    if (mouseHook.load()) return 1;
    // A pointer already resting in the corner must leave it once before the first report.
    POINT cursor{};
    pointerInCorner.store(GetCursorPos(&cursor) &&
                          PointInCorner(watchedCorner.load(), cursor.x, cursor.y,
                                        GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
    HHOOK hook = SetWindowsHookExA(WH_MOUSE_LL, LowLevelMouseProc, libraryInstance, 0);
    mouseHook.store(hook);
    return hook != nullptr;
}

SENTREL_API int UninstallMouseHook(void)
{
    HHOOK hook = mouseHook.exchange(nullptr);
    if (!hook) return 0;
    UnhookWindowsHookEx(hook);
    return 1;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        libraryInstance = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}
