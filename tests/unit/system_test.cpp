#include <gtest/gtest.h>

#include <vector>

#include "common/platform.h"
#include "common/system.h"
#include "windows/capture.h"

TEST(SystemLibraryPath, JoinsAPlainFileNameToTheFolderOrRefuses)
{
    wchar_t path[32];
    ASSERT_TRUE(BuildSystemLibraryPath(L"C:\\Windows\\system32", L"dwmapi.dll", path, std::size(path)));
    EXPECT_STREQ(L"C:\\Windows\\system32\\dwmapi.dll", path);
    ASSERT_TRUE(BuildSystemLibraryPath(L"C:\\", L"a.dll", path, std::size(path)));
    EXPECT_STREQ(L"C:\\a.dll", path);
    // Exactly fitting, and one short: a cut path would name another file.
    EXPECT_TRUE(BuildSystemLibraryPath(L"C:\\S", L"ab.dll", path, std::size(L"C:\\S\\ab.dll")));
    EXPECT_FALSE(BuildSystemLibraryPath(L"C:\\S", L"ab.dll", path, std::size(L"C:\\S\\ab.dll") - 1));
    EXPECT_STREQ(L"", path);
    for (const wchar_t* name : {L"..\\evil.dll", L"sub/evil.dll", L"C:evil.dll", L"..", L""})
        EXPECT_FALSE(BuildSystemLibraryPath(L"C:\\Windows\\system32", name, path, std::size(path))) << name;
}

TEST(SystemLibrary, LoadsFromTheSystemFolderOnly)
{
    wchar_t expected[MAX_PATH] = {}, path[MAX_PATH] = {};
    GetSystemDirectoryW(expected, std::size(expected));
    lstrcatW(expected, L"\\dwmapi.dll");
    HMODULE library = LoadSystemLibrary(L"dwmapi.dll");
    ASSERT_NE(nullptr, library);
    GetModuleFileNameW(library, path, std::size(path));
    EXPECT_EQ(0, lstrcmpiW(expected, path)) << path;
    FreeLibrary(library);

    // Sentrel.dll sits beside this test program, where a search by bare name finds it.
    EXPECT_EQ(nullptr, LoadSystemLibrary(L"Sentrel.dll"));
}

TEST(ScreenPicture, AgreementIsJudgedInsideTheAreasOnly)
{
    const int w = 8, h = 6;
    std::vector<DWORD> a(w * h, 0x123456), b = a;
    const RECT left{0, 0, 4, 6}, right{4, 0, 8, 6};
    b[2 * w + 6] = 0;  // one pixel on the right differs
    EXPECT_TRUE(PicturesAgreeIn(a.data(), b.data(), w, h, &left, 1));
    EXPECT_FALSE(PicturesAgreeIn(a.data(), b.data(), w, h, &right, 1));
    const RECT both[2] = {left, right};
    EXPECT_FALSE(PicturesAgreeIn(a.data(), b.data(), w, h, both, 2));
    EXPECT_TRUE(PicturesAgreeIn(a.data(), b.data(), w, h, nullptr, 0));
    // Areas reaching past the picture are clipped to it; areas wholly outside judge nothing.
    const RECT overhanging{-100, -100, 6, 100}, outside{20, 20, 40, 40}, empty{5, 5, 5, 5};
    EXPECT_TRUE(PicturesAgreeIn(a.data(), b.data(), w, h, &overhanging, 1));
    EXPECT_TRUE(PicturesAgreeIn(a.data(), b.data(), w, h, &outside, 1));
    EXPECT_TRUE(PicturesAgreeIn(a.data(), b.data(), w, h, &empty, 1));
    const RECT corner{6, 2, 100, 3};
    EXPECT_FALSE(PicturesAgreeIn(a.data(), b.data(), w, h, &corner, 1));
}

TEST(ScreenPicture, OnlyTheMonitorsPartsOfAWindowAreComparedInThePicturesCoordinates)
{
    // Two monitors, the second left of the primary one: the picture starts at (-800, 0).
    const std::vector<RECT> monitors = {RECT{0, 0, 1024, 768}, RECT{-800, 0, 0, 600}};
    const RECT windows[] = {RECT{-100, 500, 100, 700}, RECT{2000, 0, 2100, 50}};
    const std::vector<RECT> parts = AreasOnMonitors(windows, 2, monitors, POINT{-800, 0});
    ASSERT_EQ(2u, parts.size()) << "the window across both monitors, in two parts; the one off them, none";
    const RECT onFirst{800, 500, 900, 700}, onSecond{700, 500, 800, 600};
    EXPECT_TRUE(EqualRect(&parts[0], &onFirst));
    EXPECT_TRUE(EqualRect(&parts[1], &onSecond));
}

TEST(ScreenPicture, SettlingOnlyAfterRestoringOrUncovering)
{
    EXPECT_FALSE(ScreenNeedsSettling(MAXDWORD, 0));  // nothing of ours has left the screen yet
    EXPECT_FALSE(ScreenNeedsSettling(kUncoveredRepaintMs, 0));
    EXPECT_TRUE(ScreenNeedsSettling(kUncoveredRepaintMs - 1, 0));
    EXPECT_TRUE(ScreenNeedsSettling(0, 0));
    EXPECT_TRUE(ScreenNeedsSettling(MAXDWORD, 1));
    NoteOwnWindowLeftScreen();
    EXPECT_LT(MsSinceOwnWindowLeftScreen(), kUncoveredRepaintMs);
}

TEST(PrintFlags, FullContentFromWindows81On)
{
    constexpr UINT kRenderFullContent = 2;
    EXPECT_EQ(0u, PrintFlagsForVersion(5, 1));   // XP
    EXPECT_EQ(0u, PrintFlagsForVersion(6, 0));   // Vista
    EXPECT_EQ(0u, PrintFlagsForVersion(6, 1));   // 7
    EXPECT_EQ(0u, PrintFlagsForVersion(6, 2));   // 8, or a newer system lying to an old program
    EXPECT_EQ(kRenderFullContent, PrintFlagsForVersion(6, 3));   // 8.1
    EXPECT_EQ(kRenderFullContent, PrintFlagsForVersion(10, 0));  // 10 and 11
    EXPECT_EQ(kRenderFullContent, PrintFlagsForVersion(7, 0));
}

TEST(OsVersion, ReadsWhatTheSystemReports)
{
    const OsVersion& version = RealOsVersion();
    EXPECT_GE(version.major, 5u);
    if (!RunningUnderWine()) GTEST_SKIP() << "the figures below are Wine 8's";
    // Wine 8 reports Windows 7 SP1, through GetVersionEx and RtlGetVersion alike; its PrintWindow
    // therefore keeps the flags it has always had.
    EXPECT_EQ(6u, version.major);
    EXPECT_EQ(1u, version.minor);
    EXPECT_EQ(7601u, version.build);
    EXPECT_EQ(0u, PrintFlagsForVersion(version.major, version.minor));
}
