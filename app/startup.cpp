#include <windows.h>

#include "app/app.h"
#include "app/tray.h"
#include "common/language.h"
#include "common/owners.h"
#include "common/text.h"
#include "config/gesture.h"
#include "config/hotkeys.h"
#include "config/settings.h"
#include "overview/accessible.h"
#include "resources/resource.h"
#include "windows/collect.h"

wchar_t appClassName[kAppTextCapacity];

namespace {

constexpr ULONG kLowFragmentationHeap = 2;
// Held by the running copy for its whole life, one per session.
constexpr wchar_t kInstanceMutexName[] = L"Local\\SorvaneSingleInstance";
// How long a copy that gave way waits for the running copy's window to appear.
constexpr DWORD kRunningWindowWaitMs = 5000;
constexpr DWORD kRunningWindowPollMs = 50;

// Tells the running copy, known by its window, that another one was started.
bool NotifyRunningCopy()
{
    HWND running = FindWindowW(appClassName, nullptr);
    if (running) PostMessageW(running, WM_SECOND_INSTANCE, 0, 0);
    return running != nullptr;
}

// Another copy holds the instance mutex but may not have made its window yet, or may be just
// ending: waits (bounded) for its window and tells it, or for the mutex, which that copy leaves
// as it ends. True when the mutex became ours and this copy is to run.
bool WaitForRunningCopy(HANDLE instanceMutex)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (NotifyRunningCopy()) return false;
        if (!instanceMutex) {
            Sleep(kRunningWindowPollMs);
        } else {
            const DWORD result = WaitForSingleObject(instanceMutex, kRunningWindowPollMs);
            if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED) return true;
        }
        if (GetTickCount() - start >= kRunningWindowWaitMs) return false;
    }
}

}  // namespace

DWORD ReadProcessorMHz()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0", 0,
                      KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return 0;
    UniqueHkey owner(key);
    DWORD mhz = 0;
    return ReadDwordValue(owner.get(), L"~MHz", &mhz) ? mhz : 0;
}

void RegisterMainWindowClass(HINSTANCE instance)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_SORVANE));
    windowClass.hCursor = nullptr;  // the window procedure sets the cursor on every move
    windowClass.hbrBackground = nullptr;  // erased in the showing's background colour (WM_ERASEBKGND)
    windowClass.lpszClassName = appClassName;
    windowClass.hIconSm = LoadIconW(instance, MAKEINTRESOURCEW(IDI_SMALL));
    RegisterClassExW(&windowClass);
}

bool InitializeInstance(HINSTANCE instance)
{
    appInstance = instance;
    // WS_CLIPCHILDREN keeps the Overview's buttons out of every frame repaint.
    HWND window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_APPWINDOW, appClassName, appTitle,
                                  WS_POPUP | WS_MAXIMIZE | WS_CLIPCHILDREN, CW_USEDEFAULT, 0, CW_USEDEFAULT, 0,
                                  nullptr, nullptr, instance, nullptr);
    if (!window) return false;
    mainWindow = window;
    unlistedProcessId = GetCurrentProcessId();

    LoadExclusionList(nullptr);
    RegisterStoredHotkeys();

    AllowSetForegroundWindow(GetCurrentProcessId());
    SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, 0);

    // Without the icon (the shell is still starting) the program runs on and tries again.
    CreateTrayIcon();
    ApplyStoredGesture();
    LoadDisplayOptions();
    processorMHz = ReadProcessorMHz();
    if (processorMHz == 0) processorMHz = kDefaultProcessorMHz;
    return true;
}

int RunSorvane(HINSTANCE instance)
{
    SetPriorityClass(GetCurrentProcess(), ABOVE_NORMAL_PRIORITY_CLASS);
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
    ULONG heapMode = kLowFragmentationHeap;
    HeapSetInformation(GetProcessHeap(), HeapCompatibilityInformation, &heapMode, sizeof heapMode);

    appInstance = instance;
    // The language the user chose, before any text is loaded.
    UseLanguage(ShippedLanguageNamed(ReadLanguageSetting().c_str()));
    CopyBounded(appTitle, std::size(appTitle), LoadText(IDS_APP_TITLE).c_str());
    CopyBounded(appClassName, std::size(appClassName), LoadText(IDS_CLASS_NAME).c_str());

    // One copy per session: a running copy is only told to show its balloon. Its window gives it
    // away (also a copy of a build without the mutex); the mutex settles two copies started at
    // the same moment, before either has a window.
    if (NotifyRunningCopy()) return 0;
    // The running copy owns the mutex for its whole life; the system lets go of it at its end.
    UniqueHandle instanceMutex(CreateMutexW(nullptr, TRUE, kInstanceMutexName));
    const DWORD mutexError = GetLastError();
    if (mutexError == ERROR_ALREADY_EXISTS || (!instanceMutex && mutexError == ERROR_ACCESS_DENIED)) {
        if (!WaitForRunningCopy(instanceMutex.get())) return 0;
    }

    RegisterMainWindowClass(instance);
    if (!InitializeInstance(instance)) return 0;

    MSG message{};
    BOOL got;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (instanceMutex) ReleaseMutex(instanceMutex.get());
    EndReaderSupport();  // a reader's request may have initialised COM on this thread
    return got == 0 ? static_cast<int>(message.wParam) : 0;
}
