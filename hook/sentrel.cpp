// The low-level mouse hook runs on a thread of this library's own, which does nothing but answer
// it: Windows calls the hook on every pointer move on the desktop and waits for the thread that
// installed it, and it removes a hook whose thread keeps it waiting too long. Sorvane's GUI thread
// can be busy for hundreds of milliseconds, this thread never is. Nothing is injected into other
// processes.
//
// InstallMouseHook starts the thread and waits (bounded) until it reports whether the hook is in;
// UninstallMouseHook posts it WM_QUIT and waits (bounded) until it has unhooked and ended. The
// thread holds its own reference on the library and leaves through FreeLibraryAndExitThread, so
// a library freed while it runs stays loaded until the thread is out of its code.
//
// The hook procedure only classifies the move, posts, and passes the event on.
#define SENTREL_BUILDING
#include "hook/sentrel.h"

#include <windows.h>

#include <atomic>
#include <mutex>
#include <vector>

#include "common/monitors.h"
#include "common/owners.h"
#include "hook/corner.h"
#include "resources/resource.h"

namespace {

constexpr WPARAM kGestureHotkeyId = 112;
constexpr wchar_t kMainWindowClass[] = L"" SORVANE_WINDOW_CLASS;
// How long a caller waits for the hook thread to start or to end.
constexpr DWORD kThreadWaitMs = 5000;
// A thread whose message queue does not exist yet loses a posted WM_QUIT: post again this often.
constexpr DWORD kQuitRepeatMs = 50;

HINSTANCE libraryInstance;

// Read by the hook procedure on the hook thread, written by the installing thread.
std::atomic<unsigned> watchedCorner{kCornerBottomRight};
std::atomic<bool> pointerInCorner{false};  // re-armed when the pointer leaves the corner
// The monitors' rectangles in physical pixels, as the hook's point (Sorvane is aware of each
// monitor's DPI), read at each install (and so again after a change of monitors or of their
// scale); read by the hook procedure under the lock.
std::mutex monitorsLock;
std::vector<RECT> watchedMonitors;

bool InWatchedCorner(POINT point)
{
    std::lock_guard<std::mutex> hold(monitorsLock);
    return PointInMonitorCorner(watchedCorner.load(), point, watchedMonitors.data(), watchedMonitors.size());
}
// Written by the hook thread before it sets hookReady: whether SetWindowsHookEx succeeded.
std::atomic<bool> hookInstalled{false};

// Guards hookThread and hookThreadId, and the creation of hookReady: who starts and stops the
// hook thread.
std::mutex hookThreadLock;
UniqueHandle hookThread;
DWORD hookThreadId;
// Manual-reset event, set by the hook thread once it has tried to install the hook. Created by
// the first install and never replaced, so the hook thread reads it without the lock.
UniqueHandle hookReady;

LRESULT CALLBACK LowLevelMouseProc(int code, WPARAM message, LPARAM data)
{
    if (code == HC_ACTION && data != 0) {
        const auto* event = reinterpret_cast<const MSLLHOOKSTRUCT*>(data);
        const bool inCorner = InWatchedCorner(event->pt);
        if (inCorner && !pointerInCorner.exchange(true)) {
            // The point goes with the request: by the time the GUI thread asks where the pointer
            // is, it may not have been told of this move yet.
            if (HWND target = FindWindowW(kMainWindowClass, nullptr))
                PostMessageW(target, WM_HOTKEY, kGestureHotkeyId, MAKELPARAM(event->pt.x, event->pt.y));
        } else if (!inCorner) {
            pointerInCorner.store(false);
        }
    }
    return CallNextHookEx(nullptr, code, message, data);
}

// The hook thread. `parameter` is the reference on this library taken for the thread.
DWORD WINAPI RunMouseHook(LPVOID parameter)
{
    const auto module = static_cast<HMODULE>(parameter);
    // The queue must exist before anyone can post WM_QUIT to this thread.
    MSG message;
    PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    HHOOK hook = SetWindowsHookExW(WH_MOUSE_LL, LowLevelMouseProc, libraryInstance, 0);
    hookInstalled.store(hook != nullptr);
    SetEvent(hookReady.get());
    if (hook) {
        // The hook is called from within GetMessage; WM_QUIT ends the loop (-1 cannot happen here).
        while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
        UnhookWindowsHookEx(hook);
    }
    FreeLibraryAndExitThread(module, hook ? 0 : 1);
}

// Asks the hook thread to end and waits for it. Caller holds hookThreadLock.
bool StopHookThread()
{
    for (DWORD waited = 0; waited < kThreadWaitMs; waited += kQuitRepeatMs) {
        PostThreadMessageW(hookThreadId, WM_QUIT, 0, 0);
        if (WaitForSingleObject(hookThread.get(), kQuitRepeatMs) != WAIT_TIMEOUT) return true;
    }
    return false;
}

// Starts the hook thread and waits until it reports. Caller holds hookThreadLock.
bool StartHookThread()
{
    if (!hookReady) hookReady.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!hookReady) return false;
    ResetEvent(hookReady.get());
    hookInstalled.store(false);

    // The thread's own reference on this library, released by the thread as it ends.
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                            reinterpret_cast<LPCWSTR>(&RunMouseHook), &module))
        return false;
    DWORD threadId = 0;
    UniqueHandle thread(CreateThread(nullptr, 0, RunMouseHook, module, 0, &threadId));
    if (!thread) {
        FreeLibrary(module);
        return false;
    }
    hookThread = std::move(thread);
    hookThreadId = threadId;

    // No sent messages are handled while waiting: the hook thread sends nothing and reports at
    // once, and a sent message handled here could call back into this library.
    const HANDLE waitFor[] = {hookReady.get(), hookThread.get()};
    const DWORD result = WaitForMultipleObjects(2, waitFor, FALSE, kThreadWaitMs);
    if (result == WAIT_OBJECT_0 && hookInstalled.load()) return true;
    // No hook (the thread is ending by itself), or no report in time: make sure it ends.
    StopHookThread();
    hookThread.reset();
    hookThreadId = 0;
    return false;
}

}  // namespace

SENTREL_API int InstallMouseHook(unsigned int corner)
{
    std::lock_guard<std::mutex> hold(hookThreadLock);
    watchedCorner.store(CornerOrBottomRight(corner));
    {
        std::vector<RECT> monitors = MonitorRects();
        std::lock_guard<std::mutex> holdMonitors(monitorsLock);
        watchedMonitors = std::move(monitors);
    }
    if (hookThread && WaitForSingleObject(hookThread.get(), 0) == WAIT_TIMEOUT) return 1;
    hookThread.reset();  // a hook thread that ended (it never does by itself) is started anew
    // A pointer already resting in the corner must leave it once before the first report.
    POINT cursor{};
    pointerInCorner.store(GetCursorPos(&cursor) && InWatchedCorner(cursor));
    return StartHookThread() ? 1 : 0;
}

SENTREL_API int UninstallMouseHook(void)
{
    std::lock_guard<std::mutex> hold(hookThreadLock);
    if (!hookThread) return 0;
    // A thread that does not end in time keeps its reference on the library: its code stays.
    StopHookThread();
    hookThread.reset();
    hookThreadId = 0;
    return 1;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    // Nothing here waits for the hook thread: no thread can end while the loader lock is held.
    if (reason == DLL_PROCESS_ATTACH) {
        libraryInstance = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}
