// The mouse gesture: the pointer pushed into a screen corner makes Sentrel.dll post WM_HOTKEY 112
// to Sorvane's main window, which the probe hook sees arrive, and which opens the Overview.
#include <windows.h>

#include <vector>

#include "tests/e2e/driver.h"
#include "tests/e2e/overview_support.h"

namespace e2e {
namespace {

class MouseGesture : public SorvaneTest {
protected:
    void SetUp() override
    {
        SorvaneTest::SetUp();
        // No welcome balloon: under Wine it is a window beside the bottom-right corner, and
        // windows that appear or vanish under the pointer make Wine send moves of its own.
        WriteDwordSetting("Info1", 1);
    }

    // Moves the pointer there and returns the gesture reports that arrived because of it; closes
    // again what a report opened.
    std::vector<WPARAM> ReportsAfterMove(const SorvaneProcess& sorvane, int x, int y)
    {
        probe.TakeHotkeys();
        EXPECT_TRUE(MoveAndSettle(sorvane, x, y)) << "moving to " << x << "," << y;
        std::vector<WPARAM> reports = probe.TakeHotkeys();
        if (!reports.empty()) CloseTheOverview(sorvane);
        return reports;
    }

    // With nothing to list, the Overview opens with its "No Active Window" box; OK hides it.
    void CloseTheOverview(const SorvaneProcess& sorvane)
    {
        HWND box = WaitForDialog(sorvane.id(), "No Active Window");
        ASSERT_NE(nullptr, box) << "the gesture did not open the Overview:\n" << DescribeWindows(sorvane.id());
        ASSERT_TRUE(DismissMessageBox(box));
        ASSERT_TRUE(WaitOverviewHidden(sorvane.window()));
    }

    int right() const { return ScreenWidth() - 1; }
    int bottom() const { return ScreenHeight() - 1; }
    int midX() const { return ScreenWidth() / 2; }
    int midY() const { return ScreenHeight() / 2; }

    const std::vector<WPARAM> once{kGestureHotkey};
    const std::vector<WPARAM> none{};
};

TEST_F(MouseGesture, BottomRightReportsOncePerEntry)
{
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));

    EXPECT_EQ(ReportsAfterMove(sorvane, right(), bottom()), once) << "entering the corner";
    // The Overview that opened parked the pointer in its footer, out of the corner: coming back
    // is a new entry. (Staying inside without a report is the hook library's own test.)
    EXPECT_EQ(ReportsAfterMove(sorvane, right() - 1, bottom() - 1), once) << "back after the Overview";
    EXPECT_EQ(ReportsAfterMove(sorvane, midX(), midY()), none) << "leaving it";
    EXPECT_EQ(ReportsAfterMove(sorvane, right(), bottom()), once) << "entering it again";
    ASSERT_EQ(ReportsAfterMove(sorvane, midX(), midY()), none);
    EXPECT_EQ(ReportsAfterMove(sorvane, right() - 1, bottom() - 1), once)
        << "entering at the inner edge of the reach";

    // Just outside the reach on either side, and the other corners, do not count.
    ASSERT_EQ(ReportsAfterMove(sorvane, midX(), midY()), none);
    EXPECT_EQ(ReportsAfterMove(sorvane, right() - 2, bottom()), none) << "3 px from the right";
    EXPECT_EQ(ReportsAfterMove(sorvane, right(), bottom() - 2), none) << "3 px from the bottom";
    EXPECT_EQ(ReportsAfterMove(sorvane, 0, 0), none) << "top-left";
    EXPECT_EQ(ReportsAfterMove(sorvane, right(), 0), none) << "top-right";
    EXPECT_EQ(ReportsAfterMove(sorvane, 0, bottom()), none) << "bottom-left";
}

TEST_F(MouseGesture, SwitchedOffReportsNothing)
{
    WriteDwordSetting("Mouse Gesture", 0);
    WriteDwordSetting("Corner", 4);
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));

    EXPECT_EQ(ReportsAfterMove(sorvane, right(), bottom()), none);
    EXPECT_EQ(ReportsAfterMove(sorvane, midX(), midY()), none);
    EXPECT_EQ(ReportsAfterMove(sorvane, 0, 0), none);
}

TEST_F(MouseGesture, StoredCornerMovesTheWatch)
{
    WriteDwordSetting("Mouse Gesture", 1);
    WriteDwordSetting("Corner", 1);
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));

    EXPECT_EQ(ReportsAfterMove(sorvane, right(), bottom()), none) << "bottom-right";
    EXPECT_EQ(ReportsAfterMove(sorvane, 0, 0), once) << "top-left";
    EXPECT_EQ(ReportsAfterMove(sorvane, 1, 1), once) << "back after the Overview parked the pointer";
    EXPECT_EQ(ReportsAfterMove(sorvane, midX(), midY()), none);
    EXPECT_EQ(ReportsAfterMove(sorvane, 0, 0), once) << "top-left again";
}

TEST_F(MouseGesture, CornerOutOfRangeOrWithoutTheSwitchMeansBottomRight)
{
    {
        WriteDwordSetting("Mouse Gesture", 1);
        WriteDwordSetting("Corner", 5);
        SorvaneProcess sorvane;
        ASSERT_TRUE(StartSorvane(sorvane));
        EXPECT_EQ(ReportsAfterMove(sorvane, right(), bottom()), once) << "Corner = 5";
        ASSERT_TRUE(ExitSorvane(sorvane));
        probe.Detach();
        ASSERT_TRUE(ParkPointer());
    }
    {
        // Without a stored "Mouse Gesture" the stored corner does not count either.
        ASSERT_TRUE(DeleteSettingsKey());
        WriteDwordSetting("Info1", 1);
        WriteDwordSetting("Corner", 1);
        SorvaneProcess sorvane;
        ASSERT_TRUE(StartSorvane(sorvane));
        EXPECT_EQ(ReportsAfterMove(sorvane, 0, 0), none) << "top-left, Corner = 1 alone";
        EXPECT_EQ(ReportsAfterMove(sorvane, right(), bottom()), once) << "bottom-right";
    }
}

TEST_F(MouseGesture, PointerRestingInTheCornerAtStartMustLeaveFirst)
{
    // The top-left corner: under Wine the bottom-right one holds the tray, whose windows appear
    // under a resting pointer at start and make Wine send moves of its own.
    WriteDwordSetting("Mouse Gesture", 1);
    WriteDwordSetting("Corner", 1);
    ASSERT_TRUE(MovePointer(0, 0));
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));

    EXPECT_EQ(ReportsAfterMove(sorvane, 1, 1), none) << "still resting";
    EXPECT_EQ(ReportsAfterMove(sorvane, midX(), midY()), none);
    EXPECT_EQ(ReportsAfterMove(sorvane, 0, 0), once) << "after leaving once";
}

TEST_F(MouseGesture, CornerReportsWhileTheGuiThreadIsBusy)
{
    // A screen grab or a tile blink can hold Sorvane's GUI thread this long. A low-level hook on
    // that thread would hold every pointer move on the desktop with it (under Wine SendInput
    // waits up to about 2 s; Windows ends by removing the hook).
    constexpr DWORD kBusyMs = 2000;
    constexpr DWORD kPromptMoveMs = 500;
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane));
    probe.TakeHotkeys();

    ASSERT_TRUE(probe.HoldThread(kBusyMs));
    const DWORD sendStart = GetTickCount();
    ASSERT_TRUE(SendPointerMove(right(), bottom())) << "SendInput failed: " << GetLastError();
    const DWORD sendMs = GetTickCount() - sendStart;
    EXPECT_LT(sendMs, kPromptMoveMs) << "SendInput waited for the busy GUI thread";

    // The report waits in the queue and is handled once the thread is free again.
    EXPECT_TRUE(PollUntil([&] { return !probe.Hotkeys().empty(); }))
        << "no gesture report after the busy period";
    EXPECT_EQ(probe.TakeHotkeys(), once);
    CloseTheOverview(sorvane);
}

}  // namespace
}  // namespace e2e
