#include "app/closewindow.h"

#include "app/app.h"
#include "common/owners.h"
#include "overview/lifecycle.h"
#include "overview/switching.h"
#include "windows/windowlist.h"

void CloseTileWindow(HWND window)
{
    HideInfoTip();
    StopAndWaitForWorker();
    ShowWindow(window, SW_HIDE);
    WindowEntry* entry = windowList.selected;
    if (!entry) return;
    const HWND target = entry->hwnd;
    UniqueHandle thread(OpenThread(THREAD_ALL_ACCESS, FALSE, GetWindowThreadProcessId(target, nullptr)));
    SwitchToWindow(target, true);
    PostMessageA(target, WM_CLOSE, 0, 0);

    if (WaitHandlingSentMessages(thread.get(), kCloseWaitMs) != WAIT_TIMEOUT) {
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
