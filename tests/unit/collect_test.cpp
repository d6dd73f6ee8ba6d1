#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app.h"
#include "config/settings.h"
#include "overview/lifecycle.h"
#include "overview/showing.h"
#include "test_support.h"
#include "windows/collect.h"
#include "windows/icons.h"
#include "windows/scope.h"
#include "windows/windowlist.h"

namespace {

// Real windows of the test's own process, whose icon and class the test controls.
class Collection : public ::testing::Test {
protected:
    void SetUp() override
    {
        lstrcpyW(appTitle, L"Sorvane");
        savedStandIn = useExecutableIcons;
        useExecutableIcons = false;  // the Windows path: the window's own answers only
        ResetWindowList(showing.windowList);
        settings = Settings{};
    }
    void TearDown() override
    {
        ClearWindowList(showing.windowList);
        DestroyWindowList(showing.windowList);
        for (HWND window : windows) DestroyWindow(window);
        useExecutableIcons = savedStandIn;
        settings = Settings{};
    }
    // A visible window of the given class; the class gets the program icon when withIcon.
    HWND Make(const wchar_t* className, const wchar_t* title, bool withIcon, DWORD exStyle = 0,
              int width = 200, int height = 150)
    {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = className;
        windowClass.hIcon = withIcon ? LoadIconW(nullptr, MAKEINTRESOURCEW(32512)) : nullptr;
        RegisterClassW(&windowClass);
        HWND window = CreateWindowExW(exStyle, className, title, WS_POPUP | WS_VISIBLE, 10, 10, width,
                                      height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        windows.push_back(window);
        return window;
    }
    std::vector<HWND> ListOrder()
    {
        std::vector<HWND> order;
        for (WindowEntry* entry = showing.windowList.head; entry; entry = entry->next) order.push_back(entry->hwnd);
        return order;
    }
    std::vector<HWND> windows;
    bool savedStandIn = false;
};

}  // namespace

TEST(ExclusionRule, MatchesWholeFileNamesIgnoringCase)
{
    const wchar_t* list = L"C:\\Windows\\NOTEPAD.EXE\nD:/tools/grep.exe\nplain.exe\n";
    EXPECT_TRUE(IsExcludedName(list, L"notepad.exe"));
    EXPECT_TRUE(IsExcludedName(list, L"Notepad.Exe"));
    EXPECT_TRUE(IsExcludedName(list, L"grep.exe"));
    EXPECT_TRUE(IsExcludedName(list, L"plain.exe"));
    EXPECT_FALSE(IsExcludedName(list, L"pad.exe"));     // only a part of a listed name
    EXPECT_FALSE(IsExcludedName(list, L"notepad"));
    EXPECT_FALSE(IsExcludedName(list, L"Windows"));     // a folder is no file name
    EXPECT_FALSE(IsExcludedName(list, L""));            // a process that could not be read
    EXPECT_FALSE(IsExcludedName(nullptr, L"notepad.exe"));
    EXPECT_FALSE(IsExcludedName(L"", L"notepad.exe"));
    EXPECT_TRUE(IsExcludedName(L"C:\\last.exe", L"last.exe"));  // no final line feed
    // Letter case aside as file names compare, in every script, and never linguistically.
    const wchar_t* names = L"C:\\Жук.exe\nD:\\\u212Aey.exe\n";  // "Key" with the Kelvin sign
    EXPECT_TRUE(IsExcludedName(names, L"жУК.EXE"));
    EXPECT_FALSE(IsExcludedName(names, L"key.exe")) << "the Kelvin sign is a \"K\" only linguistically";
}

namespace {

// An ordinary application window, listed as it stands.
ListingFacts Listed()
{
    ListingFacts facts{};
    facts.visible = true;
    facts.clientLargerThanOnePixel = true;
    facts.hasIcon = true;
    facts.className = L"Notepad";
    facts.title = L"Notes - Editor";
    facts.executableName = L"notepad.exe";
    return facts;
}

}  // namespace

// One application is one executable's path, letter case aside; a window belongs to the monitor that
// holds most of it.
TEST(OverviewScope, OneApplicationIsOnePathAndAWindowBelongsToTheMonitorHoldingMostOfIt)
{
    // Two processes of one executable, the path as each reports it.
    EXPECT_TRUE(SameApplication(L"C:\\Program Files\\Browser\\browser.exe", L"c:\\program files\\BROWSER\\Browser.EXE"));
    // One file name in two folders: two programs; an unknown path is nobody's.
    EXPECT_FALSE(SameApplication(L"C:\\Tools\\edit.exe", L"D:\\Other\\edit.exe"));
    EXPECT_FALSE(SameApplication(L"", L""));
    // Letter case aside in every script, but as file names: no language's rules.
    EXPECT_TRUE(SameApplication(L"C:\\\u0395\u03c1\u03b3\u03b1\u03bb\u03b5\u03b9\u03b1\\app.exe",
                                L"C:\\\u0395\u03a1\u0393\u0391\u039b\u0395\u0399\u0391\\APP.exe"));
    EXPECT_FALSE(SameApplication(L"C:\\Apps\\\u0130nstall.exe", L"C:\\Apps\\install.exe"));
    // Sorvane, the desktop or the taskbar in front (or nothing) leaves the choice to the first
    // window listed.
    EXPECT_FALSE(FrontNamesNoApplication(FrontFacts{false, false, false}));
    for (const FrontFacts facts : {FrontFacts{true, false, false}, FrontFacts{false, true, false}, FrontFacts{false, false, true}})
        EXPECT_TRUE(FrontNamesNoApplication(facts));

    const std::vector<RECT> monitors{{0, 0, 1024, 768}, {1024, 0, 1824, 600}};
    EXPECT_EQ(0, MonitorOfPlace(RECT{900, 100, 1100, 300}, monitors)) << "more of it on the first";
    EXPECT_EQ(1, MonitorOfPlace(RECT{1000, 100, 1300, 300}, monitors)) << "more of it on the second";
    // A minimized window counts where it would be restored; a place beyond every monitor goes to
    // the nearest one.
    EXPECT_EQ(1, MonitorOfPlace(RECT{1200, 650, 1400, 760}, monitors));
    EXPECT_EQ(1, MonitorOfPlace(RECT{1900, 100, 2000, 200}, monitors));
    EXPECT_EQ(-1, MonitorOfPlace(RECT{0, 0, 10, 10}, {}));
    // A minimized window's restore place counts from the work area of its own monitor: the first's
    // taskbar stands at its top, the second's on its left.
    const std::vector<MonitorArea> areas{{monitors[0], {0, 40, 1024, 768}}, {monitors[1], {1084, 0, 1824, 600}}};
    EXPECT_EQ(1160, RestorePlaceOnScreen(RECT{1100, 100, 1300, 200}, areas).left);
    EXPECT_EQ(100, RestorePlaceOnScreen(RECT{1100, 100, 1300, 200}, areas).top);
    EXPECT_EQ(140, RestorePlaceOnScreen(RECT{100, 100, 300, 200}, areas).top);
}

// A packaged app's frame is the app it hosts, else the app its id names, else its host's; grouping
// compares classes letter case aside, and frames by their program.
TEST(WindowProgram, AFrameIsTheAppItHostsAndGroupsWithThatAppsFramesOnly)
{
    EXPECT_EQ(7u, ChooseProgram({false, 7, 9, L"Vendor.Calc!App"}).processId);  // not a frame: its own
    const WindowProgram running = ChooseProgram({true, 7, 9, L"vendor.calc!app"});
    EXPECT_TRUE(running.processId == 9 && !running.knownByIdOnly);
    const WindowProgram calc = ChooseProgram({true, 7, 0, L"Vendor.Calc!App"}), host = ChooseProgram({true, 7, 0, nullptr});
    EXPECT_EQ(L"Vendor.Calc!App", calc.appUserModelId);
    EXPECT_TRUE(calc.processId == 7 && host.processId == 7 && host.appUserModelId.empty());
    // By the id when either has one (two suspended apps of one host are two), else by process or path.
    EXPECT_FALSE(SameProgram(calc, WindowProgram{7, L"", L"Vendor.Photos!App"}));
    EXPECT_TRUE(SameProgram(calc, running) && !SameProgram(calc, WindowProgram{9, L"", L""}));
    EXPECT_FALSE(SameProgram(calc, host));
    EXPECT_TRUE(SameProgram(WindowProgram{5, L"C:\\a.exe", L""}, WindowProgram{6, L"c:\\A.EXE", L""}));
    EXPECT_TRUE(SameGroup({L"Notepad", false, {}}, {L"NOTEPAD", false, {}}));
    EXPECT_FALSE(SameGroup({kStoreAppFrameClass, true, calc}, {kStoreAppFrameClass, true, host}));
    EXPECT_TRUE(SameGroup({kStoreAppFrameClass, true, calc}, {kStoreAppFrameClass, true, calc}));
}

TEST(ListingRules, CloakedWindowsAreNeverListed)
{
    ASSERT_TRUE(PassesListingRules(Listed()));
    ListingFacts facts = Listed();
    facts.cloaked = true;
    EXPECT_FALSE(PassesListingRules(facts));
    facts.minimized = true;         // minimized on another virtual desktop
    facts.title = L"File Download";  // not even by the download rule
    EXPECT_FALSE(PassesListingRules(facts));
}

TEST(ListingRules, StoreAppFramesNeedNoIconUnlessCloakedOrTiny)
{
    ListingFacts frame = Listed();
    frame.className = kStoreAppFrameClass;
    frame.hasIcon = false;
    EXPECT_TRUE(PassesListingRules(frame));
    frame.className = L"applicationframewindow";  // the whole name, in its case
    EXPECT_FALSE(PassesListingRules(frame));
    frame.className = kStoreAppFrameClass;
    frame.clientLargerThanOnePixel = false;
    EXPECT_FALSE(PassesListingRules(frame));
    frame.clientLargerThanOnePixel = true;
    frame.cloaked = true;  // a suspended app, or one on another desktop
    EXPECT_FALSE(PassesListingRules(frame));
}

TEST(ListingRules, TheEarlierRulesHoldOverTheFacts)
{
    for (bool ListingFacts::*ruledOut : {&ListingFacts::toolWindow, &ListingFacts::shellWindow, &ListingFacts::ownProcess}) {
        ListingFacts facts = Listed();
        facts.*ruledOut = true;
        EXPECT_FALSE(PassesListingRules(facts));
    }
    ListingFacts facts = Listed();
    facts.visible = false;
    facts.minimized = true;
    facts.clientLargerThanOnePixel = false;  // a minimized window is probed whatever its size
    EXPECT_TRUE(PassesListingRules(facts));
    facts = Listed();
    facts.hasIcon = false;
    facts.title = L"Download Completed";
    EXPECT_TRUE(PassesListingRules(facts));
    facts.exclusionText = L"C:\\Windows\\NOTEPAD.EXE\n";
    EXPECT_FALSE(PassesListingRules(facts));
    facts.executableName = L"ApplicationFrameHost.exe";  // a packaged app's frame, by its app's name
    facts.programName = L"notepad.exe";
    EXPECT_FALSE(PassesListingRules(facts));
}

TEST_F(Collection, StoreAppFrameWithoutIconIsListedAndDrawsTheStandardIcon)
{
    // Wine's compositor answers E_NOTIMPL: nothing is cloaked.
    HWND frame = Make(kStoreAppFrameClass, L"Photos", false);
    EXPECT_FALSE(IsWindowCloaked(frame));
    EXPECT_TRUE(IsListable(frame, settings.exclusionText.get()));
    bool owned = true;
    EXPECT_EQ(LoadIconW(nullptr, MAKEINTRESOURCEW(32512)), FindWindowIcon(frame, nullptr, &owned));
    EXPECT_FALSE(owned);  // a shared system icon: never destroyed
    // Hosting no app's window, and with no app id under Wine, the frame is its host's.
    const WindowProgram program = ProgramOfWindow(frame);
    EXPECT_EQ(GetCurrentProcessId(), program.processId);
    EXPECT_NE(std::wstring::npos, program.path.find(L"\\sorvane_unit_tests.exe")) << program.path;

    HWND other = Make(L"NotAFrame", L"Photos", false);
    EXPECT_EQ(nullptr, FindWindowIcon(other, nullptr, &owned));
}

TEST_F(Collection, ListingRulesOnRealWindows)
{
    HWND plain = Make(L"ListA", L"Plain window", true);
    EXPECT_TRUE(IsListable(plain, settings.exclusionText.get()));
    // The program's own windows never are, whatever their title (as it marks itself at start-up).
    unlistedProcessId = GetCurrentProcessId();
    EXPECT_FALSE(IsListable(plain, settings.exclusionText.get()));
    EXPECT_FALSE(IsListable(plain, kNoExclusions));
    unlistedProcessId = 0;

    HWND noIcon = Make(L"ListNoIcon", L"No icon here", false);
    EXPECT_FALSE(IsListable(noIcon, settings.exclusionText.get()));
    HWND download = Make(L"ListNoIcon", L"File Download", false);
    EXPECT_TRUE(IsListable(download, settings.exclusionText.get()));
    HWND downloadCase = Make(L"ListNoIcon", L"file download", false);
    EXPECT_FALSE(IsListable(downloadCase, settings.exclusionText.get()));
    HWND completed = Make(L"ListNoIcon", L"Download Completed - 10 MB", false);
    EXPECT_TRUE(IsListable(completed, settings.exclusionText.get()));

    HWND untitled = Make(L"ListA", L"", true);
    EXPECT_FALSE(IsListable(untitled, settings.exclusionText.get()));
    HWND namesake = Make(L"ListA", L"Sorvane", true);  // another program's window may bear our title
    EXPECT_TRUE(IsListable(namesake, settings.exclusionText.get()));
    HWND tool = Make(L"ListA", L"Palette", true, WS_EX_TOOLWINDOW);
    EXPECT_FALSE(IsListable(tool, settings.exclusionText.get()));

    // A 1 x 1 client is not probed for its icon, unless the window is minimized.
    HWND tiny = Make(L"ListA", L"Tiny", true, 0, 1, 1);
    EXPECT_FALSE(IsListable(tiny, settings.exclusionText.get()));
    ShowWindow(tiny, SW_MINIMIZE);
    EXPECT_TRUE(IsListable(tiny, settings.exclusionText.get()));

    HWND hidden = Make(L"ListA", L"Hidden", true);
    ShowWindow(hidden, SW_HIDE);
    EXPECT_FALSE(IsListable(hidden, settings.exclusionText.get()));
}

TEST_F(Collection, ExecutableIconStandsInOnlyWhenSwitchedOn)
{
    HWND noIcon = Make(L"ListNoIcon2", L"Icon from the file", false);
    EXPECT_EQ(nullptr, QueryWindowIcon(noIcon));
    EXPECT_EQ(nullptr, QueryClassIcon(noIcon));
    EXPECT_FALSE(IsListable(noIcon, settings.exclusionText.get()));
    useExecutableIcons = true;  // this test program carries the program icon as its first icon
    EXPECT_TRUE(IsListable(noIcon, settings.exclusionText.get()));
    bool owned = false;
    HICON icon = FindWindowIcon(noIcon, nullptr, &owned);
    EXPECT_NE(nullptr, icon);
    EXPECT_TRUE(owned);
    if (owned) DestroyIcon(icon);

    // A window's own answer comes first, and is not ours to destroy.
    HWND withIcon = Make(L"ListA", L"Own icon", true);
    icon = FindWindowIcon(withIcon, nullptr, &owned);
    EXPECT_EQ(QueryClassIcon(withIcon), icon);
    EXPECT_FALSE(owned);
    HICON big = LoadIconW(nullptr, MAKEINTRESOURCEW(32516));
    SendMessageW(noIcon, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    EXPECT_EQ(big, QueryWindowIcon(noIcon));
}

TEST_F(Collection, ListedWindowsKeepTheIconFoundAndShareOneStandInPerProgram)
{
    HWND first = Make(L"ListNoIcon3", L"Stand-in one", false);
    HWND second = Make(L"ListNoIcon3", L"Stand-in two", false);
    HWND own = Make(L"ListA", L"Own icon kept", true);
    useExecutableIcons = true;
    CollectWindows(showing.windowList, kNoExclusions);
    WindowEntry* entries[3] = {};
    for (WindowEntry* entry = showing.windowList.head; entry; entry = entry->next) {
        if (entry->hwnd == first) entries[0] = entry;
        if (entry->hwnd == second) entries[1] = entry;
        if (entry->hwnd == own) entries[2] = entry;
    }
    ASSERT_TRUE(entries[0] && entries[1] && entries[2]);
    // One extraction for the program's two windows, kept by the listing, not by the entries.
    EXPECT_NE(nullptr, entries[0]->icon);
    EXPECT_EQ(entries[0]->icon, entries[1]->icon);
    EXPECT_FALSE(entries[0]->iconOwned || entries[1]->iconOwned);
    ICONINFO info{};
    EXPECT_TRUE(GetIconInfo(entries[0]->icon, &info)) << L"alive while the list stands";
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    EXPECT_EQ(QueryClassIcon(own), entries[2]->icon);

    // Clearing the list lets go of its stand-ins: outside a listing, each caller owns its own.
    ClearWindowList(showing.windowList);
    bool owned = false;
    HICON icon = FindWindowIcon(first, nullptr, &owned);
    EXPECT_TRUE(owned);
    if (owned) DestroyIcon(icon);
}

TEST_F(Collection, ExclusionListHidesTheWindowsOfAListedExecutable)
{
    HWND window = Make(L"ListA", L"Excluded maybe", true);
    wchar_t name[kPathCapacity] = {};
    GetProcessImageName(window, name, std::size(name), true);
    ASSERT_STREQ(L"sorvane_unit_tests.exe", name);
    wchar_t full[kPathCapacity] = {};
    GetProcessImageName(window, full, std::size(full), false);
    EXPECT_EQ(L':', full[1]) << full;  // a DOS path, read with the least access

    const wchar_t exact[] = L"C:\\somewhere\\SORVANE_UNIT_TESTS.EXE\n";
    settings.exclusionText = AllocateHeapText(std::size(exact));
    lstrcpyW(settings.exclusionText.get(), exact);
    EXPECT_FALSE(IsListable(window, settings.exclusionText.get()));
    EXPECT_TRUE(IsListable(window, kNoExclusions));  // direct switching ignores the list

    const wchar_t longer[] = L"C:\\x\\my_sorvane_unit_tests.exe\n";
    settings.exclusionText = AllocateHeapText(std::size(longer));
    lstrcpyW(settings.exclusionText.get(), longer);
    EXPECT_TRUE(IsListable(window, settings.exclusionText.get()));
}

TEST_F(Collection, CollectionFindsOurWindowsInZOrder)
{
    HWND back = Make(L"ListA", L"Back window", true);
    HWND front = Make(L"ListA", L"Front window", true);
    SetWindowPos(front, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    CollectWindows(showing.windowList, settings.exclusionText.get());
    std::vector<HWND> ours;
    for (HWND window : ListOrder())
        if (window == back || window == front) ours.push_back(window);
    EXPECT_EQ((std::vector<HWND>{front, back}), ours);
    EXPECT_EQ(showing.windowList.tail, showing.windowList.selected);
    ClearWindowList(showing.windowList);
    EXPECT_EQ(nullptr, showing.windowList.head);
    EXPECT_EQ(0u, showing.windowList.count);
}

TEST_F(Collection, GroupingGathersEachClassBehindItsFirstWindow)
{
    HWND a1 = Make(L"GroupA", L"A1", true), b1 = Make(L"GroupB", L"B1", true);
    HWND a2 = Make(L"GroupA", L"A2", true), b2 = Make(L"GroupB", L"B2", true);
    HWND a3 = Make(L"GroupA", L"A3", true);
    for (HWND window : {a1, b1, a2, b2, a3}) AppendWindowEntry(showing.windowList, window);
    GroupByApplication(showing.windowList);
    EXPECT_EQ((std::vector<HWND>{a1, a2, a3, b2, b1}), ListOrder());
    EXPECT_EQ(a1, showing.windowList.head->hwnd);
    EXPECT_EQ(b1, showing.windowList.tail->hwnd);
    EXPECT_EQ(nullptr, showing.windowList.head->prev);
    EXPECT_EQ(nullptr, showing.windowList.tail->next);
    for (WindowEntry* entry = showing.windowList.head; entry->next; entry = entry->next)
        EXPECT_EQ(entry, entry->next->prev);
    EXPECT_EQ(5u, showing.windowList.count);

    ClearWindowList(showing.windowList);
    AppendWindowEntry(showing.windowList, a1);
    GroupByApplication(showing.windowList);
    EXPECT_EQ(showing.windowList.head, showing.windowList.tail);
    ClearWindowList(showing.windowList);
    GroupByApplication(showing.windowList);  // an empty list stays empty
    EXPECT_EQ(nullptr, showing.windowList.head);
}

TEST_F(Collection, OfficeFramesLeaveTheListBesideTheirDocuments)
{
    HWND frame = Make(L"XLMAIN", L"Microsoft Excel - Budget", true);
    HWND doc1 = Make(L"MS-SDIb", L"Budget.xls", true);
    HWND doc2 = Make(L"MS-SDIb", L"Plan.xls", true);
    for (HWND window : {frame, doc1, doc2}) AppendWindowEntry(showing.windowList, window);
    showing.officeFrames[0] = OfficeFrameSlot{};
    MergeOfficeFrames(showing.windowList, showing.officeFrames);
    EXPECT_EQ((std::vector<HWND>{doc1, doc2}), ListOrder());
    EXPECT_EQ(2u, showing.windowList.count);
    EXPECT_EQ(frame, showing.officeFrames[0].frameHwnd);
    RECT rect{};
    GetWindowRect(frame, &rect);
    EXPECT_TRUE(EqualRect(&rect, &showing.officeFrames[0].frameRect));
    EXPECT_EQ(GetCurrentProcessId(), showing.officeFrames[0].processId);

    // A frame alone (one window of its process) stays listed.
    ClearWindowList(showing.windowList);
    showing.officeFrames[0] = OfficeFrameSlot{};
    AppendWindowEntry(showing.windowList, frame);
    MergeOfficeFrames(showing.windowList, showing.officeFrames);
    EXPECT_EQ((std::vector<HWND>{frame}), ListOrder());
    EXPECT_EQ(nullptr, showing.officeFrames[0].frameHwnd);
    EXPECT_EQ(showing.windowList.head, showing.windowList.tail);

    // A list holding only frames is emptied cleanly.
    HWND frame2 = Make(L"XLMAIN", L"Microsoft Excel - Other", true);
    AppendWindowEntry(showing.windowList, frame2);
    MergeOfficeFrames(showing.windowList, showing.officeFrames);
    EXPECT_EQ(nullptr, showing.windowList.head);
    EXPECT_EQ(nullptr, showing.windowList.tail);
    EXPECT_EQ(0u, showing.windowList.count);
    EXPECT_EQ(frame2, showing.officeFrames[0].frameHwnd);  // the last one removed is kept
    showing.officeFrames[0] = OfficeFrameSlot{};
}

TEST_F(Collection, RestoringMinimizedWindowsAndMinimizingThemBack)
{
    HWND first = Make(L"ListA", L"First", true);
    HWND second = Make(L"ListA", L"Second", true);
    HWND third = Make(L"ListA", L"Third", true);
    ShowWindow(first, SW_MINIMIZE);
    ShowWindow(third, SW_MINIMIZE);
    AppendWindowEntry(showing.windowList, first);
    AppendWindowEntry(showing.windowList, second);
    AppendWindowEntry(showing.windowList, third);
    RestoreMinimizedWindows();
    EXPECT_FALSE(IsIconic(first));
    EXPECT_EQ(1u, showing.windowList.head->wasMinimized);
    EXPECT_EQ(0u, showing.windowList.head->next->wasMinimized);
    // All but the chosen one go back.
    MinimizeRestoredWindows(third);
    EXPECT_TRUE(IsIconic(first));
    EXPECT_FALSE(IsIconic(second));
    EXPECT_FALSE(IsIconic(third));

    // With a single listed window it is left restored.
    ClearWindowList(showing.windowList);
    AppendWindowEntry(showing.windowList, first);
    RestoreMinimizedWindows();
    MinimizeRestoredWindows();
    EXPECT_FALSE(IsIconic(first));
}

TEST(WindowTitle, ACutTitleNeverEndsInHalfAPair)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"WideTitleWindow";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, L"WideTitleWindow", L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    const std::wstring title = std::wstring(kTitleMaxRead - 2, L'a') + L"\U0001F3B5 and more";
    SetWindowTextW(window, title.c_str());
    wchar_t read[kTitleBuffer] = {};
    ReadWindowTitle(window, read, std::size(read));
    EXPECT_EQ(std::wstring(kTitleMaxRead - 2, L'a'), std::wstring(read)) << "the pair would end past the limit";
    SetWindowTextW(window, L"\u6771\u4EAC \U0001F3B5");
    ReadWindowTitle(window, read, std::size(read));
    EXPECT_STREQ(L"\u6771\u4EAC \U0001F3B5", read);
    DestroyWindow(window);
}
