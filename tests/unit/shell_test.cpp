#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <string>
#include <thread>

#include "app/app.h"
#include "app/closewindow.h"
#include "app/infotip.h"
#include "app/tray.h"
#include "config/gesture.h"
#include "config/hotkeys.h"
#include "config/settings.h"
#include "overview/lifecycle.h"
#include "overview/selection.h"
#include "overview/showing.h"
#include "overview/worker.h"
#include "resources/resource.h"
#include "test_support.h"
#include "windows/collect.h"
#include "windows/windowlist.h"

namespace {

std::string LoadText(UINT id)
{
    char text[512] = {};
    LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text);
    return text;
}

std::string MenuText(HMENU menu, UINT position)
{
    char text[64] = {};
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

}  // namespace

TEST(Resources, StringsMenuDialogsAndIcons)
{
    HINSTANCE module = GetModuleHandleA(nullptr);
    EXPECT_EQ("Sorvane", LoadText(IDS_APP_TITLE));
    EXPECT_EQ("SORVANE", LoadText(IDS_CLASS_NAME));
    EXPECT_EQ("Welcome to Sorvane!\n\nTip: to start Sorvane, move the mouse cursor to the lower right "
              "corner of your screen or press the Alt-Tab combination key.\n\nClick here to prevent "
              "this tip to display again.",
              LoadText(IDS_WELCOME_TIP));
    EXPECT_EQ("Sorvane is already running.\n\nTip: to activate Sorvane, move the mouse cursor to the "
              "lower right corner of your screen or press the Alt-Tab combination key.",
              LoadText(IDS_RUNNING_TIP));
    EXPECT_LT(LoadText(IDS_WELCOME_TIP).size(), kBalloonTextBuffer);

    UniqueMenu menu(LoadMenuA(module, MAKEINTRESOURCEA(IDR_TRAY_MENU)));
    ASSERT_TRUE(menu);
    HMENU popup = GetSubMenu(menu.get(), 0);
    ASSERT_NE(nullptr, popup);
    const struct {
        UINT id;
        const char* text;
    } items[] = {{IDM_SHOW_LIST, "Show Snapshot-Window List"},
                 {IDM_SWITCH_RECENT, "Switch to Recent Window"},
                 {IDM_SWITCH_OTHERS, "Switch to Other Windows"},
                 {0, ""},
                 {IDM_CONFIGURE, "Configure..."},
                 {0, ""},
                 {IDM_HELP, "Help"},
                 {IDM_ABOUT, "About Sorvane..."},
                 {0, ""},
                 {IDM_EXIT, "Exit"}};
    ASSERT_EQ(10, GetMenuItemCount(popup));
    for (UINT i = 0; i < 10; ++i) {
        EXPECT_EQ(items[i].id, GetMenuItemID(popup, static_cast<int>(i))) << i;
        EXPECT_EQ(items[i].text, MenuText(popup, i)) << i;
    }

    for (int id : {IDI_SORVANE, IDI_SMALL, IDI_SORVANE_DARK}) {
        HICON icon = static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, 0));
        EXPECT_NE(nullptr, icon) << id;
        DestroyIcon(icon);
    }
    HICON logo = static_cast<HICON>(
        LoadImageA(module, MAKEINTRESOURCEA(IDI_LOGO), IMAGE_ICON, 150, 34, LR_SHARED));
    ASSERT_NE(nullptr, logo);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(logo, &info));
    BITMAP bitmap{};
    GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    EXPECT_EQ(150, bitmap.bmWidth);
    EXPECT_EQ(34, bitmap.bmHeight);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);

    // Both dialogs build; the About box names the version.
    HWND about = CreateDialogParamA(module, MAKEINTRESOURCEA(IDD_ABOUT), nullptr, AboutDialogProc, 0);
    ASSERT_NE(nullptr, about);
    char text[64] = {};
    GetDlgItemTextA(about, IDC_ABOUT_VERSION, text, sizeof text);
    EXPECT_STREQ("Version " SORVANE_TEST_VERSION, text);
    GetWindowTextA(about, text, sizeof text);
    EXPECT_STREQ("About Sorvane", text);
    DestroyWindow(about);
    HWND notice = CreateDialogParamA(module, MAKEINTRESOURCEA(IDD_STARTING), nullptr, AboutDialogProc, 0);
    EXPECT_NE(nullptr, notice);
    DestroyWindow(notice);
}

namespace {

// The start-up path run inside the test process: real class, window, hotkeys, icon, tip, hook.
bool StartInProcess()
{
    DeleteSettingsKey();
    settings = Settings{};
    HINSTANCE module = GetModuleHandleA(nullptr);
    LoadStringW(module, IDS_APP_TITLE, appTitle, std::size(appTitle));
    LoadStringW(module, IDS_CLASS_NAME, appClassName, std::size(appClassName));
    RegisterMainWindowClass(module);
    return InitializeInstance(module);
}

void StopInProcess()
{
    if (IsWindow(mainWindow)) DestroyWindow(mainWindow);
    // WM_DESTROY posts the quit message; take it off this thread's queue.
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    mainWindow = nullptr;
    infoTip = nullptr;
    UnregisterClassW(appClassName, GetModuleHandleW(nullptr));
    settings = Settings{};
    unlistedProcessId = 0;
    exitRequested = false;
    DeleteSettingsKey();
}

class StartedInstance : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(nullptr, FindWindowA("SORVANE", nullptr)) << "another Sorvane window is open";
        ASSERT_TRUE(StartInProcess());
    }
    void TearDown() override { StopInProcess(); }
    MessageBoxWatcher boxes{"Sorvane"};
};

}  // namespace

TEST_F(StartedInstance, FirstStartSetsUpWindowIconAndSettings)
{
    EXPECT_EQ(mainWindow, FindWindowA("SORVANE", "Sorvane"));
    EXPECT_FALSE(IsWindowVisible(mainWindow));
    const LONG_PTR style = GetWindowLongPtrA(mainWindow, GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_TRUE(GetWindowLongPtrA(mainWindow, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(boxes.Texts().empty());
    EXPECT_TRUE(settings.showRegistered && settings.recentRegistered && settings.othersRegistered &&
                settings.appRegistered);

    // The key now exists, empty: nothing was written at start-up.
    EXPECT_TRUE(SettingsKeyExists());
    EXPECT_EQ(0u, CountSettingValues());
    EXPECT_TRUE(settings.gestureEnabled);
    EXPECT_EQ(4, settings.gestureCorner);
    EXPECT_TRUE(settings.restoreMinimized && settings.groupByApps);
    EXPECT_FALSE(settings.thisMonitorOnly);
    EXPECT_FALSE(settings.exclusionText);
    EXPECT_GT(processorMHz, 0u);

    // The icon record, with the welcome balloon in it.
    EXPECT_EQ(static_cast<DWORD>(NOTIFYICONDATAW_V2_SIZE), trayIcon.cbSize);
#ifndef _WIN64
    EXPECT_EQ(936u, trayIcon.cbSize);
#endif
    EXPECT_EQ(mainWindow, trayIcon.hWnd);
    EXPECT_EQ(110u, trayIcon.uID);
    EXPECT_EQ(0x17u, trayIcon.uFlags);
    EXPECT_EQ(WM_TRAYICON, trayIcon.uCallbackMessage);
    EXPECT_STREQ(L"Sorvane", trayIcon.szTip);
    EXPECT_STREQ(L"Sorvane", trayIcon.szInfoTitle);
    EXPECT_EQ(LoadText(IDS_WELCOME_TIP), Narrow(trayIcon.szInfo));
    EXPECT_EQ(static_cast<DWORD>(NIIF_INFO), trayIcon.dwInfoFlags);
    EXPECT_NE(nullptr, trayIcon.hIcon);

    // No InfoTip yet: it is made when first shown, and the common controls come with it.
    EXPECT_EQ(nullptr, infoTip);
}

TEST_F(StartedInstance, BalloonClickDismissesOnlyTheWelcomeTipAwayFromTheBottomEdge)
{
    const int height = GetSystemMetrics(SM_CYSCREEN);
    SetCursorPos(200, height - 30);  // within 30 pixels of the bottom: ignored
    SendMessageA(mainWindow, WM_TRAYICON, kTrayIconId, NIN_BALLOONUSERCLICK);
    EXPECT_FALSE(SettingExists("Info1"));

    // The already-running tip replaces the welcome; clicking it writes nothing.
    SendMessageA(mainWindow, WM_SECOND_INSTANCE, 0, 0);
    EXPECT_EQ(LoadText(IDS_RUNNING_TIP), Narrow(trayIcon.szInfo));
    SetCursorPos(200, height / 2);
    SendMessageA(mainWindow, WM_TRAYICON, kTrayIconId, NIN_BALLOONUSERCLICK);
    EXPECT_FALSE(SettingExists("Info1"));

    ShowBalloon(IDS_WELCOME_TIP);
    SendMessageA(mainWindow, WM_TRAYICON, kTrayIconId, NIN_BALLOONUSERCLICK);
    DWORD value = 0;
    UniqueHkey key = OpenSettingsForQuery();
    ASSERT_TRUE(key);
    ASSERT_TRUE(ReadDwordValue(key.get(), L"Info1", &value));
    EXPECT_EQ(1u, value);
}

TEST_F(StartedInstance, DestroyReleasesTheHookAndTheIconAndQuits)
{
    HICON icon = trayIcon.hIcon;
    DestroyWindow(mainWindow);
    EXPECT_EQ(0u, trayIcon.uFlags);
    EXPECT_EQ(nullptr, trayIcon.hIcon);
    ICONINFO info{};
    EXPECT_FALSE(GetIconInfo(icon, &info)) << "the icon image was not destroyed";
    EXPECT_EQ(0, UninstallMouseHook()) << "the hook was still installed";
    // A second Remove must not fail anything: the shell no longer knows the icon.
    NOTIFYICONDATAA probe{};
    probe.cbSize = NOTIFYICONDATAA_V2_SIZE;
    probe.hWnd = mainWindow;
    probe.uID = kTrayIconId;
    EXPECT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &probe));
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(0u, message.wParam);
}

TEST_F(StartedInstance, TheIconComesBackWhenTheTaskbarIsRecreated)
{
    NOTIFYICONDATAA probe{};
    probe.cbSize = NOTIFYICONDATAA_V2_SIZE;
    probe.hWnd = mainWindow;
    probe.uID = kTrayIconId;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &probe));
    ASSERT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &probe));
    SendMessageA(mainWindow, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &probe));
    // The balloon text is kept for the click test, though the new icon did not repeat it.
    EXPECT_EQ(LoadText(IDS_WELCOME_TIP), Narrow(trayIcon.szInfo));
}

TEST(TrayRetry, TriesForTwoMinutesUntilTheShellTakesTheIcon)
{
    EXPECT_TRUE(ShouldRetryTrayIcon(false, 0));
    EXPECT_TRUE(ShouldRetryTrayIcon(false, kTrayRetryForMs - 1));
    EXPECT_FALSE(ShouldRetryTrayIcon(false, kTrayRetryForMs));
    EXPECT_FALSE(ShouldRetryTrayIcon(true, 0)) << "the icon is there";
}

TEST(TrayIconVariant, OnlyALightTaskbarGetsTheMarkDrawnDark)
{
    EXPECT_EQ(TrayIconVariant::ProgramIcon, TrayIconVariantFor(false, 1)) << "absent, or no REG_DWORD";
    EXPECT_EQ(TrayIconVariant::ProgramIcon, TrayIconVariantFor(true, 0));
    EXPECT_EQ(TrayIconVariant::DrawnDark, TrayIconVariantFor(true, 1));
}

TEST_F(StartedInstance, ASecondStartOnlyPostsToTheRunningCopy)
{
    // The class now exists: a second start finds it, signals it and ends with 0.
    EXPECT_EQ(0, RunSorvane(GetModuleHandleA(nullptr)));
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, mainWindow, WM_SECOND_INSTANCE, WM_SECOND_INSTANCE, PM_REMOVE));
    DispatchMessageA(&message);
    EXPECT_EQ(LoadText(IDS_RUNNING_TIP), Narrow(trayIcon.szInfo));
    EXPECT_FALSE(IsWindowVisible(mainWindow));
}

namespace {

// Replaces (or removes) the hardware description's clock value, putting the original back when
// it dies.
class ClockOverride {
public:
    ClockOverride()
    {
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0", 0,
                      KEY_QUERY_VALUE | KEY_SET_VALUE, &key_);
        DWORD size = sizeof saved_;
        hadValue_ = key_ && RegQueryValueExA(key_, "~MHz", nullptr, &savedType_,
                                             reinterpret_cast<BYTE*>(&saved_), &size) == ERROR_SUCCESS;
    }
    ~ClockOverride()
    {
        if (!key_) return;
        if (hadValue_)
            RegSetValueExA(key_, "~MHz", 0, savedType_, reinterpret_cast<const BYTE*>(&saved_),
                           sizeof saved_);
        RegCloseKey(key_);
    }
    bool Usable() const { return key_ != nullptr; }
    void Set(const DWORD* mhz)
    {
        if (mhz)
            RegSetValueExA(key_, "~MHz", 0, REG_DWORD, reinterpret_cast<const BYTE*>(mhz), sizeof *mhz);
        else
            RegDeleteValueA(key_, "~MHz");
    }

private:
    HKEY key_ = nullptr;
    bool hadValue_ = false;
    DWORD savedType_ = REG_DWORD;
    DWORD saved_ = 0;
};

// A whole start-up under a given clock value; returns the clock the program settled on.
DWORD StartUpClockWith(ClockOverride& clock, const DWORD* mhz)
{
    clock.Set(mhz);
    processorMHz = 0;
    const bool started = StartInProcess();
    const DWORD settled = processorMHz;
    StopInProcess();
    return started ? settled : 0;
}

}  // namespace

TEST(ProcessorClock, AMissingOrZeroClockCountsAs500)
{
    MessageBoxWatcher boxes{"Sorvane"};
    ClockOverride clock;
    ASSERT_TRUE(clock.Usable());
    clock.Set(nullptr);
    EXPECT_EQ(0u, ReadProcessorMHz());
    EXPECT_EQ(500u, StartUpClockWith(clock, nullptr));
    const DWORD zero = 0;
    EXPECT_EQ(500u, StartUpClockWith(clock, &zero));
    const DWORD fast = 2400;
    clock.Set(&fast);
    EXPECT_EQ(2400u, ReadProcessorMHz());
    EXPECT_EQ(2400u, StartUpClockWith(clock, &fast));
}

namespace {

// The InfoTip's current text, asked of the tip as any owner of a tool may.
std::string InfoTipText()
{
    char text[512] = {};
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = mainWindow;
    tool.uId = reinterpret_cast<UINT_PTR>(infoTip);
    tool.lpszText = text;
    SendMessageA(infoTip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    return text;
}

// A listable window of the test's own, painted by the thread that made it (this one).
HWND MakeListedWindow(const char* title, int x)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));
    windowClass.lpszClassName = "CloseRequestTarget";
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, "CloseRequestTarget", title, WS_POPUP | WS_VISIBLE, x, 60, 200, 150, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

DWORD WINAPI ShortThread(LPVOID)
{
    Sleep(100);
    return 0;
}

}  // namespace

TEST_F(StartedInstance, TheInfoSquareShowsTheProcessAndTheCloseSquareSaysWhatItDoes)
{
    HWND target = MakeListedWindow("Info tip target", 40);
    settings.groupByApps = false;
    settings.restoreMinimized = false;
    unlistedProcessId = 0;  // the test's windows share the program's process here
    ShowOverview(mainWindow);
    PumpMessages(300);  // the worker prints our window: answer it
    WindowEntry* entry = nullptr;
    for (WindowEntry* e = showing.windowList.head; e; e = e->next)
        if (e->hwnd == target) entry = e;
    ASSERT_NE(nullptr, entry) << "our window is not listed";
    MoveSelection(showing, mainWindow, entry);

    const RECT tile = entry->tile;
    SetCursorPos(tile.left + 5, tile.top + 5);
    SendMessageA(mainWindow, WM_MOUSEMOVE, 0, MAKELPARAM(tile.left + 5, tile.top + 5));
    PumpMessages(100);
    // One tracking tool on the InfoTip, made as it is first shown, asking for its text each time.
    ASSERT_NE(nullptr, infoTip);
    EXPECT_EQ(1, SendMessageA(infoTip, TTM_GETTOOLCOUNT, 0, 0));
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    ASSERT_TRUE(SendMessageA(infoTip, TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&tool)));
    EXPECT_EQ(mainWindow, tool.hwnd);
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(infoTip), tool.uId);
    EXPECT_EQ(static_cast<UINT>(TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE | TTF_TRANSPARENT),
              tool.uFlags & 0x1FFu);
    const std::string info = InfoTipText();
    EXPECT_NE(std::string::npos, info.find("Info tip target")) << info;
    EXPECT_NE(std::string::npos, info.find("File: sorvane_unit_tests.exe")) << info;

    SendMessageA(mainWindow, WM_MOUSEMOVE, 0, MAKELPARAM(tile.left + 60, tile.top + 60));  // leaves: tip off
    SetCursorPos(tile.right - 5, tile.top + 5);
    SendMessageA(mainWindow, WM_MOUSEMOVE, 0, MAKELPARAM(tile.right - 5, tile.top + 5));
    PumpMessages(100);
    EXPECT_EQ("Close this active window", InfoTipText());

    // Beside the pointer on a monitor left of and above the primary one too (negative coordinates),
    // and on the pointer's left near the monitor's right edge.
    const RECT monitor{-1280, -200, 0, 824};
    EXPECT_EQ(-1175, InfoTipPlace(POINT{100, 20}, monitor, 96).x);
    EXPECT_EQ(-1280 + 1200 - 150, InfoTipPlace(POINT{1200, 20}, monitor, 144).x);
    HideInfoTip();
    ShowInfoTipAt(InfoTipPlace(POINT{100, 20}, monitor, 96));
    RECT placed{};
    GetWindowRect(infoTip, &placed);
    EXPECT_EQ(-1175, placed.left);
    EXPECT_EQ(-170, placed.top);
    HideInfoTip();

    StopAndWaitForWorker(showing);
    HideOverview(mainWindow);
    DestroyWindow(target);
}

TEST_F(StartedInstance, ACloseRequestClosesTheOverviewOrEndsTheProgramOnceNothingIsUnderWay)
{
    HWND target = MakeListedWindow("Close request target", 40);
    settings.groupByApps = false;
    settings.restoreMinimized = false;
    unlistedProcessId = 0;
    ShowOverview(mainWindow);
    PumpMessages(200);
    ASSERT_TRUE(IsWindowVisible(mainWindow));
    ASSERT_NE(nullptr, showing.windowList.head);

    // With the Overview open (Alt+F4 comes as WM_CLOSE): it closes, the program stays.
    SendMessageA(mainWindow, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(mainWindow));
    EXPECT_TRUE(IsWindow(mainWindow));
    EXPECT_EQ(nullptr, showing.windowList.head);
    EXPECT_EQ(nullptr, showing.windowList.heap);

    // Hidden, but in the middle of a switch: the end waits, and no showing starts meanwhile.
    ResetWindowList(showing.windowList);
    SendMessageA(mainWindow, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(mainWindow)) << "ended while a switch still held its records";
    ShowOverview(mainWindow);
    EXPECT_FALSE(IsWindowVisible(mainWindow)) << "a showing started while the program was ending";
    DestroyWindowList(showing.windowList);
    SendMessageA(mainWindow, WM_NULL, 0, 0);  // the next message finds nothing under way
    EXPECT_FALSE(IsWindow(mainWindow));
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(0u, message.wParam);
    DestroyWindow(target);
}

namespace {

// A listed window that chooses Exit from the tray menu when its title is read while the frame is
// being composed: an exit in the middle of a build.
LRESULT CALLBACK ExitWhileBuilding(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    static bool chosen;
    if (message == WM_GETTEXT && showing.overviewBuffer && !chosen) {
        chosen = true;
        SendMessageA(mainWindow, WM_COMMAND, IDM_EXIT, 0);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

TEST_F(StartedInstance, AnExitDuringTheBuildWaitsForItAndThenReleasesTheWholeShowing)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ExitWhileBuilding;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "ExitWhileBuilding";
    RegisterClassA(&windowClass);
    HWND target = CreateWindowExA(0, "ExitWhileBuilding", "Exit while building", WS_POPUP | WS_VISIBLE, 40, 60, 200,
                                  150, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    settings.groupByApps = false;
    settings.restoreMinimized = false;
    unlistedProcessId = 0;
    SendMessageA(mainWindow, WM_HOTKEY, HOTKEY_SHOW, 0);
    EXPECT_FALSE(IsWindow(mainWindow)) << "the exit was lost";
    EXPECT_EQ(nullptr, showing.windowList.head);
    EXPECT_EQ(nullptr, showing.windowList.heap);
    EXPECT_EQ(nullptr, showing.overviewBuffer);
    EXPECT_EQ(nullptr, showing.snapshotWorker);
    EXPECT_EQ(nullptr, showing.screenGrab);
    EXPECT_FALSE(showing.overviewBuilding || showing.overviewHiding);
    MSG message;
    EXPECT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    DestroyWindow(target);
}

TEST(CloseWait, AGoneWindowOrAnEndedThreadCountsAsClosed)
{
    HWND stays = CreateTestWindow();
    const DWORD self = GetCurrentThreadId();
    // No thread handle, or one whose wait fails: the window is watched, and it stays.
    EXPECT_FALSE(WaitForWindowToClose(stays, self, nullptr, 200));
    HANDLE closed = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    CloseHandle(closed);
    EXPECT_FALSE(WaitForWindowToClose(stays, self, closed, 200)) << "a failed wait counted as closed";
    // The handle now stands for another thread's window: the window asked to close is gone.
    EXPECT_TRUE(WaitForWindowToClose(stays, self + 4, nullptr, 200));

    // A window that goes while watched.
    std::atomic<HWND> goes{nullptr};
    std::atomic<DWORD> ownerId{0};
    std::thread owner([&] {
        goes = CreateWindowExA(0, "STATIC", "goes", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        ownerId = GetCurrentThreadId();
        Sleep(150);
        DestroyWindow(goes);
    });
    while (!goes || !ownerId) Sleep(5);
    EXPECT_TRUE(WaitForWindowToClose(goes, ownerId, nullptr, 5000));
    owner.join();

    // A thread that ends: closed, even with its window's handle long invalid.
    HANDLE thread = CreateThread(nullptr, 0, ShortThread, nullptr, 0, nullptr);
    EXPECT_TRUE(WaitForWindowToClose(stays, self, thread, 5000));
    CloseHandle(thread);
    DestroyWindow(stays);
}
