// Start-up and exit of the real program: its window, its DPI awareness, tray icon, hotkeys and
// settings key, the second copy, the welcome balloon, and a start without the hook library.
#include <windows.h>

#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "tests/e2e/driver.h"

namespace e2e {
namespace {

using FirstStart = SorvaneTest;
using SecondCopy = SorvaneTest;
using SimultaneousCopies = SorvaneTest;
using WelcomeBalloon = SorvaneTest;
using WithoutHookLibrary = SorvaneTest;

constexpr UINT kAlt = MOD_ALT, kWin = MOD_WIN;
constexpr int kPerMonitorAware = 2;  // DPI_AWARENESS_PER_MONITOR_AWARE

// The window's DPI awareness as the system reports it (DPI_AWARENESS), or -1 where it has not the
// calls to say (before Windows 10 1607).
int DpiAwarenessOf(HWND window)
{
    using ContextOfWindow = HANDLE(WINAPI*)(HWND);
    using AwarenessOfContext = int(WINAPI*)(HANDLE);
    HMODULE user32 = GetModuleHandleA("user32.dll");
    auto contextOf = reinterpret_cast<ContextOfWindow>(
        reinterpret_cast<void (*)()>(GetProcAddress(user32, "GetWindowDpiAwarenessContext")));
    auto awarenessOf = reinterpret_cast<AwarenessOfContext>(
        reinterpret_cast<void (*)()>(GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
    if (!contextOf || !awarenessOf) return -1;
    return awarenessOf(contextOf(window));
}

// A setting of the program's manifest as the system reads it when the program starts
// (QueryActCtxSettingsW over the executable's manifest, in the namespace given), in UTF-8; empty
// when the manifest has none.
std::string ManifestSetting(const wchar_t* space, const wchar_t* name)
{
    using QuerySettings = BOOL(WINAPI*)(DWORD, HANDLE, PCWSTR, PCWSTR, PWSTR, SIZE_T, SIZE_T*);
    auto query = reinterpret_cast<QuerySettings>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "QueryActCtxSettingsW")));
    const std::wstring path = Wide(SorvanePath());
    ACTCTXW request{};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = path.c_str();
    request.lpResourceName = MAKEINTRESOURCEW(1);
    HANDLE context = CreateActCtxW(&request);
    if (!query || context == INVALID_HANDLE_VALUE) return {};
    wchar_t value[64] = {};
    SIZE_T written = 0;
    const bool read = query(0, context, space, name, value, std::size(value), &written) != FALSE;
    ReleaseActCtx(context);
    return read ? Utf8(value) : std::string();
}

// The four default combinations: Show, Recent, Others, App (Alt and the key above Tab).
void ExpectDefaultHotkeys(bool taken)
{
    if (taken) {
        EXPECT_TRUE(HotkeyTaken(kAlt, VK_TAB));
        EXPECT_TRUE(HotkeyTaken(kWin, 'Z'));
        EXPECT_TRUE(HotkeyTaken(kWin, 'A'));
        EXPECT_TRUE(HotkeyTaken(kAlt, DefaultAppKey()));
    } else {
        EXPECT_TRUE(HotkeyFree(kAlt, VK_TAB));
        EXPECT_TRUE(HotkeyFree(kWin, 'Z'));
        EXPECT_TRUE(HotkeyFree(kWin, 'A'));
        EXPECT_TRUE(HotkeyFree(kAlt, DefaultAppKey()));
    }
}

TEST_F(FirstStart, HidesItsWindowTakesTheDefaultsAndReleasesEverythingOnExit)
{
    ExpectDefaultHotkeys(false);  // nothing else on this desktop holds them

    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));
    HWND window = sorvane.window();

    EXPECT_EQ(TopLevelWindows(kMainClass, 0, false).size(), 1u) << DescribeWindows(0);
    EXPECT_FALSE(IsWindowVisible(window)) << "the main window is visible while idle";
    EXPECT_EQ(TextOf(window), kMainTitle);
    EXPECT_TRUE(TrayIconExists(window));
    // Aware of each monitor's DPI, as its manifest asks: every coordinate it handles is physical.
    // Wine 8 reports every program so, whatever its manifest: the manifest is read too, as the
    // system reads it (version 2 first, and the older systems' forms).
    const int awareness = DpiAwarenessOf(window);
    EXPECT_TRUE(awareness == -1 || awareness == kPerMonitorAware) << "the main window's DPI awareness: " << awareness;
    EXPECT_EQ(ManifestSetting(L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness"),
              "PerMonitorV2, PerMonitor");
    EXPECT_EQ(ManifestSetting(nullptr, L"dpiAware"), "true/pm");

    // A first start leaves the key behind, empty.
    DWORD values = 99, subkeys = 99;
    ASSERT_TRUE(CountSettings(&values, &subkeys)) << "HKCU\\" << kSettingsKey << " was not created";
    EXPECT_EQ(values, 0u) << DescribeSettings();
    EXPECT_EQ(subkeys, 0u);

    ExpectDefaultHotkeys(true);

    ASSERT_TRUE(ExitSorvane(sorvane));
    EXPECT_FALSE(TrayIconExists(window)) << "the tray icon outlived the program";
    ExpectDefaultHotkeys(false);
    if (awareness == -1) GTEST_SKIP() << "user32 cannot report a window's DPI awareness (before Windows 10 1607)";
}

TEST_F(SecondCopy, ExitsAtOnceAndTheFirstNoLongerShowsTheWelcome)
{
    SorvaneProcess first;
    ASSERT_TRUE(StartSorvane(first));

    SorvaneProcess second;
    ASSERT_TRUE(second.Launch(SorvanePath()));
    DWORD code = STILL_ACTIVE;
    ASSERT_TRUE(second.WaitForExit(&code));
    EXPECT_EQ(code, 0u) << "the second copy's exit code";

    const std::vector<HWND> windows = TopLevelWindows(kMainClass, 0, false);
    ASSERT_EQ(windows.size(), 1u) << DescribeWindows(0);
    EXPECT_EQ(windows.front(), first.window());
    EXPECT_TRUE(first.Running());

    // The second copy replaced the welcome balloon with the already-running tip: clicking that
    // balloon does not dismiss the welcome for good.
    PostMessageA(first.window(), kTrayCallback, kTrayIconId, kBalloonUserClick);
    ASSERT_TRUE(probe.Flush());
    EXPECT_FALSE(ReadSetting("Info1").present) << DescribeSettings();
}

TEST_F(SimultaneousCopies, TwoReleasedTogetherLeaveOneRunning)
{
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(::testing::Message() << "round " << round);
        ASSERT_TRUE(DeleteSettingsKey());
        // Both copies are created suspended and released one right after the other, so neither
        // has a window yet when the other looks for one.
        SorvaneProcess copies[2];
        for (SorvaneProcess& copy : copies) ASSERT_TRUE(copy.Launch(SorvanePath(), {}, true));
        for (SorvaneProcess& copy : copies) ASSERT_TRUE(copy.Resume());

        ASSERT_TRUE(PollUntil([&] { return copies[0].Running() != copies[1].Running(); }))
            << (copies[0].Running() ? "both copies still run" : "both copies ended")
            << "; windows of class " << kMainClass << ": "
            << TopLevelWindows(kMainClass, 0, false).size() << "\n"
            << DescribeWindows(copies[0].id()) << DescribeWindows(copies[1].id());
        SorvaneProcess& loser = copies[0].Running() ? copies[1] : copies[0];
        SorvaneProcess& winner = copies[0].Running() ? copies[0] : copies[1];
        DWORD code = STILL_ACTIVE;
        ASSERT_TRUE(loser.WaitForExit(&code));
        EXPECT_EQ(code, 0u) << "the copy that gave way";
        ASSERT_TRUE(winner.WaitForMainWindow());
        EXPECT_EQ(TopLevelWindows(kMainClass, 0, false).size(), 1u) << DescribeWindows(0);

        // The copy that gave way told the other: its already-running tip replaced the welcome,
        // so a click on the balloon does not dismiss the welcome for good.
        ASSERT_TRUE(WaitForStartupEnd(winner));
        PostMessageA(winner.window(), kTrayCallback, kTrayIconId, kBalloonUserClick);
        ASSERT_TRUE(probe.Flush());
        EXPECT_FALSE(ReadSetting("Info1").present) << DescribeSettings();
        probe.Detach();
        ASSERT_TRUE(ExitSorvane(winner));
    }
}

TEST_F(WelcomeBalloon, ClickAwayFromTheBottomEdgeDismissesItForGood)
{
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));
    ASSERT_FALSE(ReadSetting("Info1").present) << DescribeSettings();

    // A click with the pointer in the bottom 30 pixel rows does not count; one just above does.
    // Both points stay above Wine's taskbar (the lowest 20 rows): a pointer that enters or
    // leaves windows there makes Wine send moves of its own.
    ASSERT_TRUE(MovePointer(ScreenWidth() / 2, ScreenHeight() - 30));
    PostMessageA(sorvane.window(), kTrayCallback, kTrayIconId, kBalloonUserClick);
    ASSERT_TRUE(probe.Flush());
    EXPECT_FALSE(ReadSetting("Info1").present) << DescribeSettings();

    ASSERT_TRUE(MovePointer(ScreenWidth() / 2, ScreenHeight() - 31));
    PostMessageA(sorvane.window(), kTrayCallback, kTrayIconId, kBalloonUserClick);
    ASSERT_TRUE(probe.Flush());
    const StoredValue info = ReadSetting("Info1");
    ASSERT_TRUE(info.present) << DescribeSettings();
    EXPECT_EQ(info.type, static_cast<DWORD>(REG_DWORD));
    ASSERT_EQ(info.data.size(), sizeof(DWORD));
    DWORD value = 0;
    memcpy(&value, info.data.data(), sizeof value);
    EXPECT_EQ(value, 1u);
}

TEST_F(WithoutHookLibrary, RunsWithoutGestureAndExitsCleanly)
{
    ScratchFolder folder;
    ASSERT_TRUE(folder.created()) << folder.path();
    ASSERT_TRUE(folder.CopyIn(SorvanePath(), "Sorvane.exe")) << "error " << GetLastError();
    ASSERT_EQ(GetFileAttributesA((folder.path() + "Sentrel.dll").c_str()), INVALID_FILE_ATTRIBUTES);

    // The current folder holds the built Sentrel.dll: the program must still not use it, as it
    // loads the library from its own folder only.
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane, folder.path() + "Sorvane.exe", DriverDirectory()));
    EXPECT_TRUE(TrayIconExists(sorvane.window()));
    ExpectDefaultHotkeys(true);

    ASSERT_TRUE(MoveAndSettle(sorvane, ScreenWidth() - 1, ScreenHeight() - 1));
    EXPECT_TRUE(probe.Hotkeys().empty())
        << "a gesture arrived without the hook library: " << Probe::Describe(probe.Hotkeys());
    ASSERT_TRUE(ParkPointer());

    ASSERT_TRUE(ExitSorvane(sorvane));
    ExpectDefaultHotkeys(false);
}

}  // namespace
}  // namespace e2e
