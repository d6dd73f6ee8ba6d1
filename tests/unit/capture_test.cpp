#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "common/owners.h"
#include "overview/lifecycle.h"
#include "overview/showing.h"
#include "overview/tiles.h"
#include "overview/worker.h"
#include "test_support.h"
#include "windows/capture.h"
#include "windows/collect.h"
#include "windows/windowlist.h"

namespace {

std::vector<unsigned> Order(unsigned count)
{
    std::vector<unsigned> order;
    ForEachInCaptureOrder(count, [] { return false; }, [&](unsigned position) { order.push_back(position); });
    return order;
}

RECT Fitted(int w, int h, int tileWidth, int tileHeight)
{
    return FitSnapshot(w, h, tileWidth, tileHeight);
}

bool Same(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

TEST(CaptureOrder, TwoCursorsTakeTurns)
{
    EXPECT_EQ((std::vector<unsigned>{}), Order(0));
    EXPECT_EQ((std::vector<unsigned>{0}), Order(1));
    EXPECT_EQ((std::vector<unsigned>{0, 1}), Order(2));
    EXPECT_EQ((std::vector<unsigned>{0, 1, 2}), Order(3));
    EXPECT_EQ((std::vector<unsigned>{0, 2, 1, 3, 4}), Order(5));
    EXPECT_EQ((std::vector<unsigned>{0, 3, 1, 4, 2, 5}), Order(6));
    for (unsigned count = 1; count < 30; ++count) {
        std::vector<unsigned> order = Order(count);
        std::sort(order.begin(), order.end());
        for (unsigned i = 0; i < count; ++i) ASSERT_EQ(i, order[i]) << "each once, for " << count;
    }
    // A stop is seen before each turn.
    int turns = 0;
    std::vector<unsigned> seen;
    EXPECT_FALSE(ForEachInCaptureOrder(6, [&] { return ++turns > 2; }, [&](unsigned p) { seen.push_back(p); }));
    EXPECT_EQ((std::vector<unsigned>{0, 3, 1, 4}), seen);
}

TEST(CaptureOrder, ABatchPresentsEachNewTileOfTheShowingOnceAndTheEndRepaintsOnlyWhatWasMissed)
{
    std::vector<bool> presented(4, false);
    bool done = false;
    // An old showing's report, a position beyond the list and a repeat are left out.
    EXPECT_EQ((std::vector<unsigned>{2, 0}),
              TilesToPresent({{2, 7}, {1, 6}, {0, 7}, {9, 7}, {2, 7}}, 7, presented, &done));
    EXPECT_FALSE(done);
    EXPECT_EQ((std::vector<unsigned>{1}), TilesToPresent({{0, 7}, {1, 7}, {kWorkerDone, 6}}, 7, presented, &done));
    EXPECT_FALSE(done) << "another showing's end";
    EXPECT_TRUE(NeedsFinalRepaint(presented)) << "tile 3 was never presented";
    EXPECT_EQ((std::vector<unsigned>{3}), TilesToPresent({{3, 7}, {kWorkerDone, 7}}, 7, presented, &done));
    EXPECT_TRUE(done);
    EXPECT_FALSE(NeedsFinalRepaint(presented));
}

TEST(PrintLimit, CountsFromTheRequestAcrossTheTickCountsWrap)
{
    EXPECT_EQ(4000u, TimeLeft(500, 6500, 10000));  // asked at the start, its turn 6 s later
    EXPECT_EQ(0u, TimeLeft(500, 10500, 10000));
    EXPECT_EQ(9000u, TimeLeft(0xFFFFFC18u, 0, 10000));  // asked 1 s before the count wrapped
}

TEST(FitSnapshot, KeepsShapeAndNeverEnlarges)
{
    EXPECT_TRUE(Same(RECT{15, 78, 315, 152}, Fitted(4000, 1000, 330, 230)));  // 300 x 75
    EXPECT_TRUE(Same(RECT{140, 15, 190, 215}, Fitted(1000, 4000, 330, 230)));  // 50 x 200
    EXPECT_TRUE(Same(RECT{65, 65, 265, 165}, Fitted(200, 100, 330, 230)));     // natural size
    EXPECT_TRUE(Same(RECT{65, 15, 265, 215}, Fitted(1000, 1000, 330, 230)));   // square: height first
    EXPECT_TRUE(Same(RECT{15, 350, 315, 650}, Fitted(1000, 1000, 330, 1000)));  // square, width binds
    EXPECT_TRUE(Same(RECT{165, 115, 165, 115}, Fitted(0, 0, 330, 230)));
    // Odd sizes lose a pixel: each half is taken on its own.
    EXPECT_TRUE(Same(RECT{83, 58, 247, 172}, Fitted(165, 115, 331, 231)));
    // A wide capture whose fitted height would not fit falls back to the height.
    EXPECT_TRUE(Same(RECT{37, 15, 293, 195}, Fitted(1000, 700, 330, 210)));
}

// A window unaware of DPI on a 150 per cent monitor (here left of the primary one) covers 1200 x 900
// physical pixels and prints at its own 800 x 600, the size its capture gets and is stretched from;
// a window aware of a 150 per cent system's DPI on a 100 per cent monitor prints larger than it
// shows. A window at its monitor's scale, or one whose DPIs are not known, prints at its size.
TEST(PrintSize, FollowsTheWindowsOwnScaleOverItsMonitors)
{
    auto size = [](const RECT& window, UINT windowDpi, UINT monitorDpi) {
        const SIZE print = PrintSizeFor(window, windowDpi, monitorDpi);
        return std::vector<LONG>{print.cx, print.cy};
    };
    const RECT unaware{-1500, 150, -300, 1050};
    EXPECT_EQ((std::vector<LONG>{800, 600}), size(unaware, 96, 144));
    EXPECT_EQ((std::vector<LONG>{801, 601}), size(RECT{0, 0, 1201, 901}, 96, 144)) << "rounded to the nearest";
    EXPECT_EQ((std::vector<LONG>{1200, 900}), size(RECT{100, 100, 900, 700}, 144, 96));
    EXPECT_EQ((std::vector<LONG>{1200, 900}), size(unaware, 144, 144));
    EXPECT_EQ((std::vector<LONG>{1200, 900}), size(unaware, 0, 144)) << "before Windows 10";
    EXPECT_EQ((std::vector<LONG>{1200, 900}), size(unaware, 96, 0));
}

TEST(StretchAreas, SelectedIsLargerAndPlainIsInset)
{
    const RECT snapshot{15, 15, 185, 135};
    const StretchTarget large = SelectedSnapshotArea(snapshot);
    const StretchTarget small = PlainSnapshotArea(snapshot);
    EXPECT_EQ((std::vector<int>{13, 13, 175, 125}), (std::vector<int>{large.x, large.y, large.width, large.height}));
    EXPECT_EQ((std::vector<int>{17, 17, 167, 117}), (std::vector<int>{small.x, small.y, small.width, small.height}));
}

// Under Wine a capture is resized in software: a shrink averages each block, a slight enlargement
// repeats a column or row.
TEST(StretchAreas, AResizeAveragesEachBlockAndRepeatsWhereItGrows)
{
    const DWORD source[] = {0, 0xFF, 0xFF00, 0xFF0000, 0, 0xFF, 0xFF00, 0xFF0000};  // 4 x 2
    DWORD shrunk[2] = {};
    ResizePixels(source, 4, 2, 4, shrunk, 2, 1);
    EXPECT_EQ((std::vector<DWORD>{0x80, 0x808000}), std::vector<DWORD>(shrunk, shrunk + 2));
    DWORD grown[5 * 3] = {};
    ResizePixels(source, 4, 2, 4, grown, 5, 3);
    EXPECT_EQ((std::vector<DWORD>{0, 0, 0xFF, 0xFF00, 0xFF0000}), std::vector<DWORD>(grown + 10, grown + 15));
}

namespace {

// A memory bitmap of the given size, filled with one colour.
struct Picture {
    Picture(int w, int h, COLORREF colour) : width(w), height(h)
    {
        HDC screen = GetDC(nullptr);
        dc.reset(CreateCompatibleDC(screen));
        bitmap.reset(CreateCaptureBitmap(w, h));
        ReleaseDC(nullptr, screen);
        SelectObject(dc.get(), bitmap.get());
        Paint(RECT{0, 0, w, h}, colour);
    }
    ~Picture() { SelectObject(dc.get(), GetStockObject(DEFAULT_GUI_FONT)); }
    void Paint(RECT area, COLORREF colour)
    {
        UniqueBrush brush(CreateSolidBrush(colour));
        FillRect(dc.get(), &area, brush.get());
    }
    bool Complete() { return CaptureHoldsImage(bitmap.get()); }
    int width, height;
    UniqueBitmap bitmap;
    UniqueMemoryDc dc;
};

}  // namespace

TEST(BlankTest, OnlyACaptureWithoutASingleLitPixelIsBlank)
{
    EXPECT_FALSE(Picture(300, 200, RGB(0, 0, 0)).Complete());
    EXPECT_TRUE(Picture(300, 200, RGB(1, 1, 1)).Complete());  // only exact black counts
    // A dark window with a few light lines, and one lit pixel in the last corner: pictures.
    Picture dark(300, 200, RGB(0, 0, 0));
    for (int line = 0; line < 3; ++line) dark.Paint(RECT{10, 10 + 8 * line, 200, 12 + 8 * line}, RGB(200, 200, 200));
    EXPECT_TRUE(dark.Complete());
    Picture lastPixel(300, 200, RGB(0, 0, 0));
    lastPixel.Paint(RECT{299, 199, 300, 200}, RGB(0, 0, 1));
    EXPECT_TRUE(lastPixel.Complete());
    // The byte above the colour does not count; a bitmap that is not a readable section counts
    // as complete rather than being printed again and again.
    const DWORD padded[4] = {0xFF000000u, 0xFF000000u, 0, 0};
    EXPECT_FALSE(IsSnapshotComplete(padded, 4));
    HDC screen = GetDC(nullptr);
    UniqueBitmap device(CreateCompatibleBitmap(screen, 8, 8));
    ReleaseDC(nullptr, screen);
    EXPECT_TRUE(CaptureHoldsImage(device.get()));
}

namespace {

LRESULT CALLBACK PaintRed(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PRINTCLIENT || message == WM_PAINT) {
        PAINTSTRUCT paint{};
        HDC dc = message == WM_PAINT ? BeginPaint(window, &paint) : reinterpret_cast<HDC>(wParam);
        RECT client{};
        GetClientRect(window, &client);
        UniqueBrush brush(CreateSolidBrush(RGB(200, 30, 30)));
        FillRect(dc, &client, brush.get());
        if (message == WM_PAINT) EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// A window of this process on a thread of its own that keeps answering, as another
// application's window would (this thread waits for prints and answers nothing meanwhile).
class WindowThread {
public:
    WindowThread(const char* title, int x, const char* className = "CaptureRed", int width = 160)
    {
        thread_ = std::thread([this, title, x, className, width] {
            HWND created = CreateWindowExA(0, className, title, WS_POPUP | WS_VISIBLE, x, 50, width, 120, nullptr,
                                           nullptr, GetModuleHandleA(nullptr), nullptr);
            window_ = created;
            MSG message;
            while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
            DestroyWindow(created);
        });
        while (!window_) Sleep(5);
        Sleep(50);
    }
    ~WindowThread()
    {
        PostThreadMessageA(GetWindowThreadProcessId(window_, nullptr), WM_QUIT, 0, 0);
        thread_.join();
    }
    HWND window() const { return window_; }

private:
    std::atomic<HWND> window_{nullptr};
    std::thread thread_;
};

// A window of this process whose thread never answers until the helper ends.
class HungWindowThread {
public:
    explicit HungWindowThread(const char* title)
    {
        thread_ = std::thread([this, title] {
            HWND created = CreateWindowExA(0, "CaptureRed", title, WS_POPUP | WS_VISIBLE, 300, 50, 160, 120, nullptr,
                                          nullptr, GetModuleHandleA(nullptr), nullptr);
            PumpMessages(50);
            window_ = created;
            WaitForSingleObject(release_, INFINITE);  // hangs: no messages handled
            DestroyWindow(created);
        });
        while (!window_) Sleep(5);
    }
    ~HungWindowThread()
    {
        SetEvent(release_);
        thread_.join();
        CloseHandle(release_);
        PumpMessages(100);  // an abandoned print ends once the window answers; its job is released then
    }
    HWND window() const { return window_; }

private:
    HANDLE release_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::atomic<HWND> window_{nullptr};
    std::thread thread_;
};

// A window inside a prepared one-entry list.
class OwnWindowCapture : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = PaintRed;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "CaptureRed";
        RegisterClassA(&windowClass);
        owner = std::make_unique<WindowThread>("Red", 50);
        window = owner->window();
        ResetWindowList(showing.windowList);
        entry = AppendWindowEntry(showing.windowList, window);
        entry->tile = {0, 40, 341, 375};
        ClearSnapshotStop(showing);
    }
    void TearDown() override
    {
        ClearWindowList(showing.windowList);
        DestroyWindowList(showing.windowList);
        owner.reset();
        ClearSnapshotStop(showing);
    }
    std::unique_ptr<WindowThread> owner;
    HWND window = nullptr;
    WindowEntry* entry = nullptr;
};

COLORREF PixelOf(HBITMAP bitmap, int x, int y)
{
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    SelectGuard hold(dc.get(), bitmap);
    return GetPixel(dc.get(), x, y);
}

// The red 160 x 120 window, printed whole, its top-left corner patched.
void ExpectRedWindowPrinted(const CaptureResult& capture)
{
    ASSERT_TRUE(capture.bitmap);
    EXPECT_EQ(160, capture.width);
    EXPECT_EQ(120, capture.height);
    EXPECT_TRUE(capture.complete);
    EXPECT_EQ(RGB(200, 30, 30), PixelOf(capture.bitmap.get(), 80, 60));
    EXPECT_EQ(GetSysColor(COLOR_INACTIVECAPTION), PixelOf(capture.bitmap.get(), 0, 0));
}

}  // namespace

TEST_F(OwnWindowCapture, PrintsTheWindowAndPatchesItsTopCorners)
{
    CaptureResult capture = CaptureWindow(entry->hwnd, CaptureContext{SnapshotStopEvent(showing)});
    ExpectRedWindowPrinted(capture);
    if (!capture.bitmap) return;
    EXPECT_EQ(GetSysColor(COLOR_INACTIVECAPTION), PixelOf(capture.bitmap.get(), 159, 0));
    EXPECT_EQ(RGB(200, 30, 30), PixelOf(capture.bitmap.get(), 0, 20));
    // Natural size, centred in the tile.
    EXPECT_TRUE(Same(RECT{90, 107, 250, 227}, FitSnapshot(capture.width, capture.height, 341, 335)));
}

TEST_F(OwnWindowCapture, TheSnapshotIsDrawnIntoBothLooks)
{
    HDC screen = GetDC(nullptr);
    entry->highlightTile = CreateCompatibleBitmap(screen, 342, 336);
    entry->normalTile = CreateCompatibleBitmap(screen, 342, 336);
    ReleaseDC(nullptr, screen);
    CaptureResult capture = CaptureWindow(entry->hwnd, CaptureContext{SnapshotStopEvent(showing)});
    const RECT s = FitSnapshot(capture.width, capture.height, 341, 335);
    UniquePen pen(CreatePen(PS_SOLID, 2, RGB(255, 238, 204)));
    {
        std::lock_guard<std::mutex> hold(tileImagesLock);
        DrawSnapshotIntoTile(TileImages{entry->highlightTile, entry->normalTile, SIZE{341, 335}}, s,
                             capture.bitmap.get(), capture.width, capture.height, L"Incomplete Window Response...", 96,
                             static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), CurrentOverviewColours().snapshot,
                             pen.get());
    }
    const COLORREF red = RGB(200, 30, 30);
    EXPECT_EQ(red, PixelOf(entry->highlightTile, s.left - 1, (s.top + s.bottom) / 2));  // 2 pixels larger
    EXPECT_NE(red, PixelOf(entry->normalTile, s.left + 1, (s.top + s.bottom) / 2));     // inset by 2
    EXPECT_EQ(red, PixelOf(entry->normalTile, s.left + 3, (s.top + s.bottom) / 2));
    // The close button's orange-to-red gradient, on the selected look only.
    const COLORREF button = PixelOf(entry->highlightTile, 341 - 15, 12);
    EXPECT_EQ(255, GetRValue(button));
    EXPECT_LT(GetGValue(button), 205);
    EXPECT_NE(button, PixelOf(entry->normalTile, 341 - 15, 12));
    // The notice: red text near the bottom of the snapshot, in both looks.
    auto redInk = [&](HBITMAP image) {
        int count = 0;
        for (int x = s.left + 6; x < s.right; ++x)
            for (int y = s.bottom - (s.bottom - s.top) / 10; y < s.bottom + 14; ++y)
                if (PixelOf(image, x, y) == RGB(255, 0, 0)) ++count;
        return count;
    };
    EXPECT_GT(redInk(entry->highlightTile), 20);
    EXPECT_GT(redInk(entry->normalTile), 20);
}

TEST_F(OwnWindowCapture, AStopEndsAPrintThatHangs)
{
    // A window whose thread never answers: its print can only be abandoned.
    const HungWindowThread hung("Hung");
    const HANDLE stop = SnapshotStopEvent(showing);
    std::thread stopper([stop] {
        Sleep(300);
        SetEvent(stop);
    });
    const DWORD start = GetTickCount();
    CaptureResult capture = CaptureWindow(hung.window(), CaptureContext{SnapshotStopEvent(showing)});
    const DWORD took = GetTickCount() - start;
    stopper.join();
    EXPECT_LT(took, 5000u) << "the capture waited for the hung window instead of the stop";
    EXPECT_FALSE(capture.complete);
}

TEST_F(OwnWindowCapture, APrintBegunAheadGivesTheSamePictureAndLettingGoNeverWaits)
{
    PrintAhead* ahead = StartPrintAhead(entry->hwnd);
    ASSERT_NE(nullptr, ahead);
    ExpectRedWindowPrinted(CaptureWindow(entry->hwnd, CaptureContext{SnapshotStopEvent(showing)}, ahead));

    // A window that never answers: its print begun ahead is let go at once, and while it waits
    // the window is not asked again, so its capture gives up at once too.
    const HungWindowThread hung("Hung ahead");
    const DWORD start = GetTickCount();
    PrintAhead* waiting = StartPrintAhead(hung.window());
    EXPECT_NE(nullptr, waiting);
    ReleasePrintAhead(waiting);
    CaptureResult second = CaptureWindow(hung.window(), CaptureContext{SnapshotStopEvent(showing)});
    EXPECT_LT(GetTickCount() - start, 2000u);
    EXPECT_FALSE(second.complete);
}

TEST_F(OwnWindowCapture, AnOfficeDocumentPrintsItsFrameInItsStead)
{
    WNDCLASSA documentClass{};
    documentClass.lpfnWndProc = PaintRed;
    documentClass.hInstance = GetModuleHandleA(nullptr);
    documentClass.lpszClassName = "MS-SDIb";
    RegisterClassA(&documentClass);
    WindowThread document("Budget.xls", 300, "MS-SDIb", 160);
    WindowThread frame("Microsoft Excel - Budget.xls", 500, "CaptureRed", 260);
    showing.officeFrames[0] = OfficeFrameSlot{};
    showing.officeFrames[0].frameHwnd = frame.window();
    GetWindowRect(frame.window(), &showing.officeFrames[0].frameRect);

    CaptureContext context{SnapshotStopEvent(showing)};
    context.officeFrames = &showing.officeFrames;
    CaptureResult capture = CaptureWindow(document.window(), context);
    EXPECT_EQ(260, capture.width) << "the capture has the frame's size";
    EXPECT_EQ(120, capture.height);
    EXPECT_TRUE(capture.complete);
    ASSERT_TRUE(capture.bitmap);
    EXPECT_EQ(RGB(200, 30, 30), PixelOf(capture.bitmap.get(), 200, 60));  // beyond the document's width
    showing.officeFrames[0] = OfficeFrameSlot{};
}

TEST_F(OwnWindowCapture, StoppingJustAsTheWorkerFinishesNeverDeadlocks)
{
    // The worker's last step repaints the Overview while this thread may already be waiting for
    // it: stop at every moment of a short run, many times over.
    HWND overview = CreateTestWindow();
    WindowThread second("Second", 300);
    AppendWindowEntry(showing.windowList, second.window())->tile = {341, 40, 682, 375};
    for (int run = 0; run < 40; ++run) {
        ClearSnapshotStop(showing);
        CreateSnapshotWorker(showing, overview);
        ResumeSnapshotWorker(showing);
        if (run % 2) LetWorkerDraw(showing);  // else the stop comes while it waits for its tiles
        Sleep(static_cast<DWORD>(run % 8));
        StopAndWaitForWorker(showing);  // bounded by the test's own time limit
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(showing.snapshotWorker, 0)) << "run " << run;
        CloseSnapshotWorker(showing);
    }
    DestroyWindow(overview);
}

TEST_F(OwnWindowCapture, ASnapshotReadyBeforeItsTileIsNotHeldUpByAHungWindowAfterIt)
{
    const HungWindowThread hung("Hung after");
    AppendWindowEntry(showing.windowList, hung.window())->tile = {341, 40, 682, 375};
    HWND overview = CreateTestWindow();
    CreateSnapshotWorker(showing, overview);
    ResumeSnapshotWorker(showing);
    Sleep(300);  // the answering window's snapshot is ready long before its tile is drawn
    LetWorkerDraw(showing);
    bool reported = false;
    for (const DWORD start = GetTickCount(); !reported && GetTickCount() - start < 3000; Sleep(10))
        for (MSG message; PeekMessageA(&message, overview, WM_TILE_FILLED, WM_TILE_FILLED, PM_REMOVE);)
            reported = reported || message.wParam == 0;
    EXPECT_TRUE(reported) << "the answering window's tile waited for the hung window's print";
    StopAndWaitForWorker(showing);
    CloseSnapshotWorker(showing);
    DestroyWindow(overview);
}
