// The tray icon and what hangs off it: its return after the taskbar is re-created, its menu, and
// the About box.
#include <windows.h>
#include <shlwapi.h>

#include <string>
#include <vector>

#include "tests/e2e/driver.h"
#include "tests/e2e/overview_support.h"

namespace e2e {
namespace {

using TrayIcon = SorvaneTest;
using AboutBox = SorvaneTest;

constexpr char kMenuClass[] = "#32768";

std::vector<HWND> VisibleMenus(const SorvaneProcess& sorvane)
{
    return TopLevelWindows(kMenuClass, sorvane.id(), true);
}

TEST_F(TrayIcon, FollowsTheTaskbarsLightOrDarkAtOnceAndComesBackWhenTheTaskbarIsCreatedAgain)
{
    SorvaneProcess sorvane;
    WriteDwordSetting("Info1", 1);  // no welcome balloon over the icon
    ASSERT_TRUE(StartSorvane(sorvane));
    const auto setLight = [&](DWORD light, bool announce) {  // as Windows does it; Wine 8 does neither
        SHSetValueA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
                    "SystemUsesLightTheme", REG_DWORD, &light, sizeof light);
        if (announce)
            SendMessageTimeoutW(sorvane.window(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"),
                                SMTO_ABORTIFHUNG, kWaitMs, nullptr);
    };
    // Wine's taskbar (explorer's Shell_TrayWnd) draws the icons itself: the picked tile's amber tells which.
    const auto shows = [](COLORREF amber) {
        RECT bar{};
        GetWindowRect(FindWindowA("Shell_TrayWnd", nullptr), &bar);
        const ScreenShot screen;
        for (LONG y = bar.top; y < bar.bottom; ++y)
            for (LONG x = bar.left; x < bar.right; ++x)
                if (screen.At(x, y) == amber) return true;
        return false;
    };
    const COLORREF program = RGB(0xff, 0xb2, 0x2e), dark = RGB(0xc9, 0x64, 0x00);
    EXPECT_TRUE(PollUntil([&] { return shows(program) && !shows(dark); })) << "no program icon at start";
    setLight(1, true);
    EXPECT_TRUE(PollUntil([&] { return shows(dark) && !shows(program); })) << "not drawn dark on a light taskbar";
    ASSERT_TRUE(RemoveTrayIcon(sorvane.window()));
    ASSERT_FALSE(TrayIconExists(sorvane.window()));
    setLight(0, false);  // while the taskbar is away

    const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    ASSERT_NE(taskbarCreated, 0u);
    PostMessageA(sorvane.window(), taskbarCreated, 0, 0);
    EXPECT_TRUE(PollUntil([&] { return TrayIconExists(sorvane.window()); }))
        << "no tray icon after TaskbarCreated";
    EXPECT_TRUE(probe.Flush());  // still answering
    EXPECT_TRUE(PollUntil([&] { return shows(program) && !shows(dark); })) << "not back as the program icon";

    // The icon still leads to the menu.
    PostMessageA(sorvane.window(), kTrayCallback, kTrayIconId, WM_RBUTTONDOWN);
    EXPECT_TRUE(PollUntil([&] { return !VisibleMenus(sorvane).empty(); }))
        << "no menu from the restored icon; windows:\n"
        << DescribeWindows(sorvane.id());
    PostMessageA(sorvane.window(), WM_CANCELMODE, 0, 0);
    EXPECT_TRUE(PollUntil([&] { return VisibleMenus(sorvane).empty(); }));
}

TEST_F(TrayIcon, MenuOpensOnClickAndContextMenuOnly)
{
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));

    const struct {
        LPARAM event;
        const char* name;
    } opening[] = {{WM_RBUTTONDOWN, "right button down"},
                   {WM_LBUTTONDOWN, "left button down"},
                   {WM_CONTEXTMENU, "context menu"}};
    for (const auto& click : opening) {
        SCOPED_TRACE(click.name);
        ASSERT_TRUE(VisibleMenus(sorvane).empty()) << DescribeWindows(sorvane.id());
        PostMessageA(sorvane.window(), kTrayCallback, kTrayIconId, click.event);
        EXPECT_TRUE(PollUntil([&] { return !VisibleMenus(sorvane).empty(); }))
            << "no visible menu; windows:\n"
            << DescribeWindows(sorvane.id());
        // Cancelling the mode ends the menu's loop, as a click elsewhere would.
        PostMessageA(sorvane.window(), WM_CANCELMODE, 0, 0);
        ASSERT_TRUE(PollUntil([&] { return VisibleMenus(sorvane).empty(); }))
            << "the menu stays open; windows:\n"
            << DescribeWindows(sorvane.id());
        ASSERT_TRUE(probe.Flush()) << "the message loop is not back";
    }

    for (LPARAM quiet : {LPARAM{WM_LBUTTONDBLCLK}, LPARAM{WM_MOUSEMOVE}, LPARAM{WM_RBUTTONUP}}) {
        PostMessageA(sorvane.window(), kTrayCallback, kTrayIconId, quiet);
        // A menu would open before its loop takes the marker from the queue.
        ASSERT_TRUE(probe.Flush());
        EXPECT_TRUE(VisibleMenus(sorvane).empty())
            << "event " << quiet << " opened a menu; windows:\n"
            << DescribeWindows(sorvane.id());
        PostMessageA(sorvane.window(), WM_CANCELMODE, 0, 0);
        PollUntil([&] { return VisibleMenus(sorvane).empty(); });
    }
}

TEST_F(AboutBox, ShowsTheVersionAndClosesOnOk)
{
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));

    PostMessageA(sorvane.window(), WM_COMMAND, kCommandAbout, 0);
    HWND about = nullptr;
    PollUntil([&] {
        for (HWND window : TopLevelWindows("#32770", sorvane.id(), true))
            if (TextOf(window) == "About Sorvane") about = window;
        return about != nullptr;
    });
    ASSERT_NE(about, nullptr) << "no About box; windows:\n" << DescribeWindows(sorvane.id());
    EXPECT_NE(FindChildWithText(about, "Static", "Version " SORVANE_TEST_VERSION), nullptr)
        << "no \"Version " SORVANE_TEST_VERSION "\" text in the About box";

    PostMessageA(about, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(PollUntil([&] { return !IsWindow(about); }))
        << "the About box stays open after OK";
    EXPECT_TRUE(probe.Flush()) << "the message loop is not back";
    EXPECT_TRUE(sorvane.Running());
    EXPECT_FALSE(IsWindowVisible(sorvane.window()));
}

}  // namespace
}  // namespace e2e
