#include "app/closewindow.h"

#include "app/app.h"
#include "common/owners.h"
#include "overview/lifecycle.h"
#include "overview/switching.h"
#include "overview/worker.h"
#include "windows/windowlist.h"

namespace {

constexpr DWORD kWindowPollMs = 50;

// Watches the window until it is gone, handling sent messages meanwhile; false after timeoutMs.
bool WaitForWindowGone(HWND target, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (IsWindow(target)) {
        const DWORD waited = GetTickCount() - start;
        if (waited >= timeoutMs) return false;
        const DWORD slice = timeoutMs - waited < kWindowPollMs ? timeoutMs - waited : kWindowPollMs;
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, slice, QS_SENDMESSAGE) == WAIT_OBJECT_0) {
            MSG message;
            PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
    }
    return true;
}

}  // namespace

bool WaitForWindowToClose(HWND target, HANDLE thread, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    if (thread) {
        const DWORD result = WaitHandlingSentMessages(thread, timeoutMs);
        if (result == WAIT_OBJECT_0) return true;
        if (result != WAIT_FAILED) return false;
    }
    // No thread to wait on, or a wait that failed: only the window's end counts.
    const DWORD waited = GetTickCount() - start;
    return WaitForWindowGone(target, waited < timeoutMs ? timeoutMs - waited : 0);
}

void CloseTileWindow(HWND window)
{
    HideInfoTip();
    StopAndWaitForWorker();
    ShowWindow(window, SW_HIDE);
    WindowEntry* entry = windowList.selected;
    if (!entry) return;
    const HWND target = entry->hwnd;
    // Waiting needs no more than SYNCHRONIZE, which is granted for elevated programs' threads too.
    UniqueHandle thread(OpenThread(SYNCHRONIZE, FALSE, GetWindowThreadProcessId(target, nullptr)));
    SwitchToWindow(target, true);
    PostMessageA(target, WM_CLOSE, 0, 0);

    if (WaitForWindowToClose(target, thread.get(), kCloseWaitMs)) {
        HideOverview(entry, false, window);
        ShowOverview(window);
        return;
    }
    closePromptActive = true;
    const int answer = MessageBoxA(GetDesktopWindow(),
                                   "Sorvane is still waiting for a closing window. The window hasn't responded "
                                   "timely. Do you want to switch back to Sorvane?",
                                   "Sorvane: Closing Window", MB_YESNO | MB_ICONINFORMATION | MB_TOPMOST);
    closePromptActive = false;
    HideOverview(entry, false, window);
    if (answer == IDYES) ShowOverview(window);
}
