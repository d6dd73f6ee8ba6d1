#include "overview/switching.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "common/monitors.h"
#include "common/owners.h"
#include "common/system.h"
#include "overview/scaling.h"
#include "windows/capture.h"
#include "windows/collect.h"
#include "windows/windowlist.h"

namespace {

HWND windowInFront;  // GUI thread only

// An activation thread only waits for the window: a small stack, as a print thread's.
constexpr SIZE_T kActivationThreadStack = 64 * 1024;
// An activation thread's exit code when it has made the whole sequence.
constexpr DWORD kBroughtForward = 1;

// The latest activation (of any window, ours too).
struct LatestActivation {
    HWND target;
    HWND frontAtStart;
    bool awaited;   // the GUI thread still waits for its thread
    bool answered;  // its window has answered the null message: the thread's calls are under way
};
std::mutex activationLock;  // guards latest and activationsInFlight
LatestActivation latest;
// The windows an activation thread is still bringing forward: at most one thread per window,
// however often it is chosen while it is busy.
std::vector<HWND> activationsInFlight;

// Held by an activation thread from its last decision through its SetForegroundWindow, and by the
// GUI thread as an activation begins: a thread that decided for an older activation cannot take
// the front after a newer one has begun (it would take it from a newer Overview). Made before the
// first activation thread; never closed.
HANDLE frontGate;

// The activation thread the GUI thread last went on without, and its window (GUI thread only).
UniqueHandle pendingActivation;
HWND pendingTarget;

void NoteLatestActivation(HWND window)
{
    if (!frontGate) frontGate = CreateMutexW(nullptr, FALSE, nullptr);
    // A thread holds it only for calls that cannot wait; what they send us is handled meanwhile. Bounded
    // all the same: a gate not had in that time is gone without.
    const bool gated = frontGate && WaitHandlingSentMessages(frontGate, kActivationSettleMs) == WAIT_OBJECT_0;
    const HWND front = GetForegroundWindow();
    {
        std::lock_guard<std::mutex> hold(activationLock);
        latest = LatestActivation{window, front, true, false};
    }
    if (gated) ReleaseMutex(frontGate);
}

// The GUI thread goes on without the activation thread; true when the window had answered by then.
bool StopAwaitingActivation()
{
    std::lock_guard<std::mutex> hold(activationLock);
    latest.awaited = false;
    return latest.answered;
}

// False when a thread already brings the window forward.
bool BeginActivationThread(HWND window)
{
    std::lock_guard<std::mutex> hold(activationLock);
    if (std::find(activationsInFlight.begin(), activationsInFlight.end(), window) != activationsInFlight.end())
        return false;
    activationsInFlight.push_back(window);
    return true;
}

void EndActivationThread(HWND window)
{
    std::lock_guard<std::mutex> hold(activationLock);
    const auto found = std::find(activationsInFlight.begin(), activationsInFlight.end(), window);
    if (found != activationsInFlight.end()) activationsInFlight.erase(found);
}

// What an activation thread does next, its window having answered: nothing more; the rest of the
// sequence while the GUI thread waits for it; or, once the GUI thread has gone on (having asked
// for the front, and for the raise unless this thread's calls were under way), SetForegroundWindow
// only. A call that waits, made then, would overlap the asynchronous raise and take effect whenever
// the window's thread gets to it, perhaps after a newer showing or switch, whose front it would take.
enum class NextStep { Stop, Rest, FrontOnly };
NextStep StepFor(HWND window)
{
    ActivationFacts facts{};
    facts.target = window;
    facts.front = GetForegroundWindow();
    facts.targetThread = GetWindowThreadProcessId(window, nullptr);
    facts.frontThread = facts.front ? GetWindowThreadProcessId(facts.front, nullptr) : 0;
    bool awaited = false;
    {
        std::lock_guard<std::mutex> hold(activationLock);
        if (latest.target == window) latest.answered = true;
        facts.latestTarget = latest.target;
        facts.frontAtStart = latest.frontAtStart;
        awaited = latest.awaited;
    }
    if (!ShouldFinishActivation(facts)) return NextStep::Stop;
    return awaited ? NextStep::Rest : NextStep::FrontOnly;
}

// The sequence on another thread's window, made only once the window has answered a null message
// (within the print limit), and decided again after SwitchToThisWindow, in which it may stall.
DWORD WINAPI ActivationThread(LPVOID parameter)
{
    const auto window = static_cast<HWND>(parameter);
    DWORD_PTR ignored = 0;
    NextStep step = NextStep::Stop;
    if (SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kPrintTimeoutMs, &ignored)) {
        if (StepFor(window) == NextStep::Rest) SwitchToThisWindow(window, TRUE);
        const bool gated = WaitForSingleObject(frontGate, INFINITE) == WAIT_OBJECT_0;
        step = StepFor(window);
        if (step != NextStep::Stop) SetForegroundWindow(window);
        if (gated) ReleaseMutex(frontGate);
    }
    if (step == NextStep::Rest) {
        SetActiveWindow(window);
        BringWindowToTop(window);
    }
    if (step != NextStep::Stop) PostMessageW(window, WM_NULL, 0, 0);
    EndActivationThread(window);
    return step == NextStep::Rest ? kBroughtForward : 0;
}

// Starts the activation thread and waits for it one frame: true when it has made the whole
// sequence by then, with what it sent our windows handled.
bool BroughtForwardWithinAFrame(HWND window)
{
    if (IsHungAppWindow(window) || !BeginActivationThread(window)) return false;
    UniqueHandle thread(CreateThread(nullptr, kActivationThreadStack, ActivationThread, window,
                                     STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
    if (!thread) {
        EndActivationThread(window);
        return false;
    }
    if (WaitHandlingSentMessages(thread.get(), kActivationFrameMs) != WAIT_OBJECT_0) {
        pendingActivation = std::move(thread);
        pendingTarget = window;
        return false;
    }
    // The thread's SetForegroundWindow tells our window in front that it lost the front: handled
    // before the caller hides it, as when the call was made on this thread.
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    DWORD outcome = 0;
    return GetExitCodeThread(thread.get(), &outcome) && outcome == kBroughtForward;
}

}  // namespace

bool OwnThreadWindow(HWND window) { return GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId(); }

bool ShouldFinishActivation(const ActivationFacts& facts)
{
    if (facts.latestTarget != facts.target) return false;
    return !facts.front || facts.front == facts.target || facts.front == facts.frontAtStart ||
           (facts.frontThread != 0 && facts.frontThread == facts.targetThread);
}

void SettlePendingActivation()
{
    if (!pendingActivation) return;
    bool underWay = false;
    {
        std::lock_guard<std::mutex> hold(activationLock);
        underWay = latest.target == pendingTarget && latest.answered;
    }
    if (underWay) WaitHandlingSentMessages(pendingActivation.get(), kActivationSettleMs);
    pendingActivation.reset();
    pendingTarget = nullptr;
}

void ActivateWindow(HWND window)
{
    SettlePendingActivation();
    NoteLatestActivation(window);
    // SwitchToThisWindow, SetActiveWindow and BringWindowToTop wait for the window's thread: made
    // here on our own windows only. Another program's window not in front within a frame gets only
    // calls that cannot wait: the front is asked for and, unless its activation thread's calls are
    // under way (they restore and raise it), a minimized window restored and the window raised when
    // its thread runs again.
    if (OwnThreadWindow(window)) {
        SwitchToThisWindow(window, TRUE);
        SetForegroundWindow(window);
        SetActiveWindow(window);
        BringWindowToTop(window);
    } else {
        if (BroughtForwardWithinAFrame(window)) return;  // the null message is posted already
        const bool underWay = StopAwaitingActivation();
        SetForegroundWindow(window);
        if (!underWay && IsIconic(window)) ShowWindowAsync(window, SW_RESTORE);
        if (!underWay)
            SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
    }
    PostMessageW(window, WM_NULL, 0, 0);
}

void SwitchToWindow(HWND window)
{
    POINT cursor{};
    // The pointer in the bottom-right corner of its monitor (10 x 10 at 96 DPI, scaled to that
    // monitor's DPI) goes to the monitor's middle.
    if (GetCursorPos(&cursor)) {
        const RECT monitor = MonitorRectAt(cursor);
        const int corner = Scale(10, ReadMonitorDpi(MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST)));
        if (cursor.x > monitor.right - 1 - corner && cursor.y > monitor.bottom - 1 - corner)
            SetCursorPos((monitor.left + monitor.right) / 2, (monitor.top + monitor.bottom) / 2);
    }
    ActivateWindow(window);
    InvalidateRect(window, nullptr, FALSE);
}

void QuickSwitch(QuickSwitchTarget which)
{
    // A list of its own, gone before the switch returns.
    WindowList list{};
    ResetWindowList(list);
    CollectWindows(list, kNoExclusions);
    WindowEntry* target = nullptr;
    if (list.head) target = which == QuickSwitchTarget::WindowBehind ? list.head->next : list.tail;
    if (target) ActivateWindow(target->hwnd);  // a minimized target is restored too
    DestroyWindowList(list);
}

void RememberWindowInFront()
{
    HWND front = GetForegroundWindow();
    DWORD processId = 0;
    if (front) GetWindowThreadProcessId(front, &processId);
    // Only a window one switches to: not ours, not the taskbar or another tool window (the taskbar
    // is in front when its icon is clicked), not the desktop.
    const bool target = front && processId != GetCurrentProcessId() && IsWindowVisible(front) &&
                        !(GetWindowLongPtrW(front, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) && front != GetShellWindow();
    windowInFront = target ? front : nullptr;
}

void ReturnToWindowInFront()
{
    HWND window = windowInFront;
    windowInFront = nullptr;
    if (window && IsWindow(window) && IsWindowVisible(window) && !IsIconic(window)) ActivateWindow(window);
}
