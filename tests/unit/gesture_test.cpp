#include <gtest/gtest.h>

#include <initializer_list>
#include <thread>
#include <vector>

#include "config/gesture.h"
#include "config/settings.h"
#include "hook/corner.h"
#include "resources/resource.h"
#include "test_support.h"

TEST(GestureCorner, OnlyTheReachOfTheChosenCornerCounts)
{
    const int w = 1024, h = 768;
    EXPECT_TRUE(PointInCorner(1, 0, 0, w, h));
    EXPECT_TRUE(PointInCorner(1, 1, 1, w, h));
    EXPECT_FALSE(PointInCorner(1, 2, 0, w, h));
    EXPECT_FALSE(PointInCorner(1, 0, 2, w, h));
    EXPECT_TRUE(PointInCorner(2, w - 1, 0, w, h));
    EXPECT_FALSE(PointInCorner(2, 0, 0, w, h));
    EXPECT_TRUE(PointInCorner(3, 0, h - 1, w, h));
    EXPECT_TRUE(PointInCorner(4, w - 1, h - 1, w, h));
    EXPECT_TRUE(PointInCorner(4, w - 2, h - 2, w, h));
    EXPECT_FALSE(PointInCorner(4, w - 3, h - 1, w, h));
    // Any other corner number watches the bottom right.
    EXPECT_TRUE(PointInCorner(0, w - 1, h - 1, w, h));
    EXPECT_TRUE(PointInCorner(9, w - 1, h - 1, w, h));
    // Points off the primary screen (another monitor) are in no corner.
    EXPECT_FALSE(PointInCorner(1, -1, 0, w, h));
    EXPECT_FALSE(PointInCorner(4, w, h - 1, w, h));
    EXPECT_FALSE(PointInCorner(4, w - 1, h, w, h));
}

TEST(GestureCorner, EachMonitorHasItsCornersWhereThePointerStops)
{
    auto in = [](unsigned corner, int x, int y, std::initializer_list<RECT> monitors) {
        return PointInMonitorCorner(corner, POINT{x, y}, monitors.begin(), monitors.size());
    };
    // Side by side, the second smaller: its bottom right counts, so does the first's (nothing
    // below the second reaches there); the shared top corners do not.
    const RECT first{0, 0, 1024, 768}, second{1024, 0, 1824, 600};
    EXPECT_TRUE(in(4, 1823, 599, {first, second}));
    EXPECT_TRUE(in(4, 1023, 767, {first, second}));
    EXPECT_FALSE(in(2, 1023, 0, {first, second})) << "the pointer goes on into the second monitor";
    EXPECT_FALSE(in(1, 1024, 0, {first, second}));
    EXPECT_FALSE(in(3, 1024, 599, {first, second}));
    EXPECT_TRUE(in(2, 1823, 0, {first, second}));
    EXPECT_FALSE(in(4, 1500, 599, {first, second})) << "a bottom edge is no corner";
    // Stacked, and a monitor left of the primary one (negative origins).
    const RECT below{0, 768, 1024, 1536}, left{-1280, -200, 0, 824};
    EXPECT_FALSE(in(4, 1023, 767, {first, below}));
    EXPECT_TRUE(in(4, 1023, 1535, {first, below}));
    EXPECT_TRUE(in(1, -1280, -200, {left, first}));
    EXPECT_TRUE(in(3, -1279, 823, {left, first}));
    EXPECT_FALSE(in(4, -1, 767, {left, first})) << "the first monitor goes on to the right";
    EXPECT_TRUE(in(1, 0, 0, {first})) << "one monitor: as before";
    EXPECT_FALSE(in(4, 2000, 700, {first, second})) << "off every monitor";
    // A laptop at 150 per cent (2880 x 1620) beside a monitor at 100 per cent (1920 x 1080), in
    // physical pixels as the hook reports the pointer: on the right, then on the left.
    const RECT laptop{0, 0, 2880, 1620}, right{2880, 0, 4800, 1080}, leftOf{-1920, 540, 0, 1620};
    EXPECT_TRUE(in(4, 4799, 1079, {laptop, right}));
    EXPECT_TRUE(in(4, 2879, 1619, {laptop, right})) << "nothing beyond it below the smaller monitor";
    EXPECT_FALSE(in(2, 2879, 0, {laptop, right}));
    EXPECT_TRUE(in(2, 4798, 1, {laptop, right}));
    EXPECT_TRUE(in(1, -1920, 540, {leftOf, laptop}));
    EXPECT_TRUE(in(1, 0, 0, {leftOf, laptop})) << "nothing beyond it above the smaller monitor";
    EXPECT_FALSE(in(3, 0, 1619, {leftOf, laptop}));
    EXPECT_TRUE(in(3, -1919, 1618, {leftOf, laptop}));
    // The same monitor as a program aware of the system's DPI only sees it (scaled to 150 per cent,
    // 2880 x 1620 from x 2880): the pointer stopped in its physical corner is not in that corner.
    EXPECT_FALSE(in(4, 4799, 1079, {laptop, RECT{2880, 0, 5760, 1620}}));
}

namespace {

TEST(GestureCorner, KeepsQuietOnlyWhereAFullScreenProgramHasTheCornersMonitor)
{
    const RECT first{0, 0, 1024, 768}, second{1024, 0, 1824, 600};
    auto front = [](RECT area, RECT monitor, bool maximized = false, bool framed = false) {
        return FrontWindowFacts{false, maximized, framed, area, monitor};
    };
    const FrontWindowFacts film = front(second, second);
    // A film over the second monitor silences that monitor's corner only.
    EXPECT_TRUE(IsFullScreenOnMonitor(5, film, second));
    EXPECT_FALSE(IsFullScreenOnMonitor(5, film, first));
    // The system's word counts for the window in front's own monitor; presentation mode for all.
    for (int state : {2, 3}) {
        EXPECT_TRUE(IsFullScreenOnMonitor(state, front(RECT{1100, 10, 1300, 200}, second), second)) << state;
        EXPECT_FALSE(IsFullScreenOnMonitor(state, front(RECT{1100, 10, 1300, 200}, second), first)) << state;
    }
    EXPECT_TRUE(IsFullScreenOnMonitor(4, FrontWindowFacts{true, false, false, {}, {}}, first));
    for (int state : {0, 1, 5, 6, 7})
        EXPECT_FALSE(IsFullScreenOnMonitor(state, front(RECT{1100, 10, 1300, 200}, second), second)) << state;
    // Beyond the monitor's edges is full screen too; not the shell, a window a pixel short of it, or
    // an ordinary maximized window (a browser's client area covers a monitor without a taskbar).
    EXPECT_TRUE(IsFullScreenOnMonitor(5, front(RECT{1016, -8, 1832, 608}, second), second));
    EXPECT_TRUE(IsFullScreenOnMonitor(5, front(second, second, true, false), second)) << "a maximized popup";
    EXPECT_FALSE(IsFullScreenOnMonitor(5, front(second, second, true, true), second)) << "a maximized browser";
    EXPECT_FALSE(IsFullScreenOnMonitor(5, FrontWindowFacts{true, false, false, second, second}, second));
    EXPECT_FALSE(IsFullScreenOnMonitor(5, front(RECT{1024, 0, 1824, 599}, second), second));
    EXPECT_FALSE(IsFullScreenOnMonitor(5, front(RECT{1025, 0, 1824, 600}, second), second));
}

class GestureSettings : public ::testing::Test {
protected:
    void SetUp() override
    {
        DeleteSettingsKey();
        settings = Settings{};
        page = CreateTestWindow();
        for (int id = IDC_GESTURE_CHECK; id <= IDC_CORNER_4; ++id)
            CreateWindowExA(0, "BUTTON", "", WS_CHILD | BS_CHECKBOX, 0, 0, 50, 10, page,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            GetModuleHandleA(nullptr), nullptr);
    }
    void TearDown() override
    {
        DestroyWindow(page);
        settings = Settings{};
        DeleteSettingsKey();
    }
    // The checked buttons of the page, 1007 to 1011, as a 0/1 string.
    std::string Checks()
    {
        std::string checks;
        for (int id = IDC_GESTURE_CHECK; id <= IDC_CORNER_4; ++id)
            checks += IsDlgButtonChecked(page, id) == BST_CHECKED ? '1' : '0';
        return checks;
    }
    HWND page = nullptr;
};

}  // namespace

TEST_F(GestureSettings, ValuesAndDefaultsShowOnThePageAndLeaveTheLiveRecordAlone)
{
    settings.gestureCorner = 2;
    GestureChoice shown = ShowStoredGestureOnPage(page);  // no key: on, bottom right
    EXPECT_TRUE(shown.enabled);
    EXPECT_EQ(4, shown.corner);
    EXPECT_EQ("10001", Checks());

    SetDwordSetting("Mouse Gesture", 5);  // any non-zero value is on
    SetDwordSetting("Corner", 3);
    shown = ShowStoredGestureOnPage(page);
    EXPECT_TRUE(shown.enabled);
    EXPECT_EQ(3, shown.corner);
    EXPECT_EQ("10010", Checks());

    SetDwordSetting("Corner", 7);  // out of range reads as bottom right
    EXPECT_EQ(4, ShowStoredGestureOnPage(page).corner);

    SetDwordSetting("Corner", 1);
    SetDwordSetting("Mouse Gesture", 0);  // off: the corner is not read and keeps the live one
    shown = ShowStoredGestureOnPage(page);
    EXPECT_FALSE(shown.enabled);
    EXPECT_EQ(2, shown.corner);
    EXPECT_EQ("00000", Checks());

    SetRawSetting("Mouse Gesture", REG_SZ, "0", 2);  // another type: on, bottom right
    shown = ShowStoredGestureOnPage(page);
    EXPECT_TRUE(shown.enabled);
    EXPECT_EQ(4, shown.corner);
    EXPECT_EQ("10001", Checks());

    // Loading for the page changes neither the live record nor the hook.
    EXPECT_TRUE(settings.gestureEnabled);
    EXPECT_EQ(2, settings.gestureCorner);
}

namespace {

// Moves the pointer as a user would, through the input stream the hook watches.
void MovePointer(int x, int y)
{
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = (x * 65535 + (w - 1) / 2) / (w - 1);
    input.mi.dy = (y * 65535 + (h - 1) / 2) / (h - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

// Pumps messages for a while and returns the WM_HOTKEY identifiers that reached `window`. The
// hook runs on the library's own thread: pumping here only receives what it posted.
std::vector<WPARAM> HotkeysAfter(HWND window, DWORD milliseconds)
{
    std::vector<WPARAM> ids;
    const DWORD start = GetTickCount();
    MSG message;
    while (GetTickCount() - start < milliseconds) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_HOTKEY && message.hwnd == window) ids.push_back(message.wParam);
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return ids;
}

// Calls into the library from a thread that has ended when this returns.
template <typename Call>
int FromEndedThread(Call call)
{
    int result = -1;
    std::thread([&] { result = call(); }).join();
    return result;
}

}  // namespace

// The real library, loaded by the program's own bridge, watching the real input stream. The hook
// belongs to the library's thread: it outlives the thread that installed it.
TEST(HookLibrary, ReportsEachEntryIntoTheCornerOnce)
{
    ASSERT_EQ(nullptr, FindWindowA("SORVANE", nullptr)) << "another Sorvane window is open";
    HWND target = CreateTestWindow("SORVANE");
    ASSERT_NE(nullptr, target);
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);

    MovePointer(w / 2, h / 2);
    HotkeysAfter(target, 100);
    ASSERT_EQ(1, FromEndedThread([] { return InstallMouseHook(4); }));

    MovePointer(w - 1, h - 1);
    EXPECT_EQ((std::vector<WPARAM>{112}), HotkeysAfter(target, 400));
    MovePointer(w - 2, h - 1);  // still inside: no second report
    EXPECT_TRUE(HotkeysAfter(target, 300).empty());
    MovePointer(w / 2, h / 2);
    MovePointer(w - 1, h - 1);  // a new entry
    EXPECT_EQ((std::vector<WPARAM>{112}), HotkeysAfter(target, 400));

    // Installing again, from any thread, moves the watch to the new corner.
    MovePointer(w / 2, h / 2);
    ASSERT_EQ(1, FromEndedThread([] { return InstallMouseHook(1); }));
    MovePointer(w - 1, h - 1);
    EXPECT_TRUE(HotkeysAfter(target, 300).empty());
    MovePointer(0, 0);
    EXPECT_EQ((std::vector<WPARAM>{112}), HotkeysAfter(target, 400));

    EXPECT_EQ(1, UninstallMouseHook());
    EXPECT_EQ(0, UninstallMouseHook());
    MovePointer(w / 2, h / 2);
    MovePointer(0, 0);
    EXPECT_TRUE(HotkeysAfter(target, 300).empty());

    // A new hook thread after the old one has ended.
    MovePointer(w / 2, h / 2);
    ASSERT_EQ(1, InstallMouseHook(3));
    MovePointer(0, h - 1);
    EXPECT_EQ((std::vector<WPARAM>{112}), HotkeysAfter(target, 400)) << "installed again";
    EXPECT_EQ(1, UninstallMouseHook());
    MovePointer(w / 2, h / 2);
    DestroyWindow(target);
}

TEST(HookLibrary, APointerRestingInTheCornerMustLeaveFirst)
{
    HWND target = CreateTestWindow("SORVANE");
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    MovePointer(w - 1, 0);
    HotkeysAfter(target, 100);
    ASSERT_EQ(1, InstallMouseHook(2));
    MovePointer(w - 2, 1);
    EXPECT_TRUE(HotkeysAfter(target, 300).empty());
    MovePointer(w / 2, h / 2);
    MovePointer(w - 1, 0);
    EXPECT_EQ((std::vector<WPARAM>{112}), HotkeysAfter(target, 400));
    UninstallMouseHook();
    MovePointer(w / 2, h / 2);
    DestroyWindow(target);
}

TEST(HookLibrary, WithoutAMainWindowNothingIsPosted)
{
    // No window of class "SORVANE": moving into the corner must simply do nothing.
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    ASSERT_EQ(nullptr, FindWindowA("SORVANE", nullptr));
    HWND bystander = CreateTestWindow();
    MovePointer(w / 2, h / 2);
    ASSERT_EQ(1, InstallMouseHook(4));
    MovePointer(w - 1, h - 1);
    EXPECT_TRUE(HotkeysAfter(bystander, 300).empty());
    UninstallMouseHook();
    MovePointer(w / 2, h / 2);
    DestroyWindow(bystander);
}
