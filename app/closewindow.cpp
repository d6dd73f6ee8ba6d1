#include "app/closewindow.h"

#include "app/infotip.h"
#include "common/language.h"
#include "common/owners.h"
#include "common/system.h"
#include "overview/lifecycle.h"
#include "overview/showing.h"
#include "overview/switching.h"
#include "overview/worker.h"
#include "resources/resource.h"
#include "windows/windowlist.h"

namespace {

constexpr DWORD kWindowPollMs = 50;

// Whether the window the close was asked of is gone: destroyed, or its handle now another
// thread's window.
bool WindowGone(HWND target, DWORD ownerThreadId)
{
    return !IsWindow(target) || GetWindowThreadProcessId(target, nullptr) != ownerThreadId;
}

}  // namespace

bool WaitForWindowToClose(HWND target, DWORD ownerThreadId, HANDLE thread, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (WindowGone(target, ownerThreadId)) return true;
        const DWORD waited = GetTickCount() - start;
        if (waited >= timeoutMs) return false;
        const DWORD slice = timeoutMs - waited < kWindowPollMs ? timeoutMs - waited : kWindowPollMs;
        // The thread's end counts as the window's; a wait on it that fails leaves only the window.
        const DWORD result = WaitHandlingSentMessages(thread, slice);
        if (thread && result == WAIT_OBJECT_0) return true;
        if (result == WAIT_FAILED) thread = nullptr;
    }
}

void CloseTileWindow(HWND window)
{
    HideInfoTip();
    StopAndWaitForWorker(showing);
    const OverviewScope scope = showing.scope;  // the Overview that follows lists the same windows
    ShowWindow(window, SW_HIDE);
    WindowEntry* entry = showing.windowList.selected;
    if (!entry) return;
    const HWND target = entry->hwnd;
    const DWORD ownerThreadId = GetWindowThreadProcessId(target, nullptr);
    // Waiting needs no more than SYNCHRONIZE, which is granted for elevated programs' threads too.
    UniqueHandle thread(OpenThread(SYNCHRONIZE, FALSE, ownerThreadId));
    SwitchToWindow(target);
    // A window that refuses the request (an elevated program's, to a program that is not) is not
    // waited for: the question comes at once.
    const bool asked = PostMessageW(target, WM_CLOSE, 0, 0) != FALSE;
    if (asked && WaitForWindowToClose(target, ownerThreadId, thread.get(), kCloseWaitMs)) {
        HideOverview(window);
        ShowOverview(window, scope);
        return;
    }
    showing.closePromptActive = true;
    const int answer = MessageBoxW(GetDesktopWindow(), LoadText(IDS_CLOSE_PROMPT).c_str(),
                                   LoadText(IDS_CLOSE_PROMPT_TITLE).c_str(), MB_YESNO | MB_ICONINFORMATION | MB_TOPMOST);
    showing.closePromptActive = false;
    HideOverview(window);
    if (answer == IDYES) ShowOverview(window, scope);
}
