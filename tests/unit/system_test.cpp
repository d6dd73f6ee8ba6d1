#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/platform.h"
#include "common/system.h"
#include "windows/capture.h"

namespace {

std::string ModulePath(HMODULE module)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(module, path, sizeof path);
    return path;
}

std::string SystemFolder()
{
    char folder[MAX_PATH] = {};
    GetSystemDirectoryA(folder, sizeof folder);
    return folder;
}

}  // namespace

TEST(SystemLibraryPath, JoinsTheFolderAndAPlainFileNameWithinTheBuffer)
{
    char path[64];
    ASSERT_TRUE(BuildSystemLibraryPath("C:\\Windows\\system32", "dwmapi.dll", path, sizeof path));
    EXPECT_STREQ("C:\\Windows\\system32\\dwmapi.dll", path);
    ASSERT_TRUE(BuildSystemLibraryPath("C:\\", "dwmapi.dll", path, sizeof path));
    EXPECT_STREQ("C:\\dwmapi.dll", path);  // no doubled separator

    // Exactly fitting, and one character short: a cut path would name another file.
    const size_t length = strlen("C:\\S\\ab.dll");
    ASSERT_TRUE(BuildSystemLibraryPath("C:\\S", "ab.dll", path, length + 1));
    EXPECT_STREQ("C:\\S\\ab.dll", path);
    EXPECT_FALSE(BuildSystemLibraryPath("C:\\S", "ab.dll", path, length));
    EXPECT_STREQ("", path);
    char untouched[4] = {'x', 'y', 'z', '\0'};
    EXPECT_FALSE(BuildSystemLibraryPath("C:\\S", "ab.dll", untouched, 0));
    EXPECT_STREQ("xyz", untouched);
}

TEST(SystemLibraryPath, RefusesNamesThatLeaveTheSystemFolder)
{
    char path[MAX_PATH];
    for (const char* name : {"..\\evil.dll", "sub/evil.dll", "C:evil.dll", "\\\\server\\share\\evil.dll", "..", "."}) {
        EXPECT_FALSE(BuildSystemLibraryPath("C:\\Windows\\system32", name, path, sizeof path)) << name;
        EXPECT_STREQ("", path) << name;
    }
    EXPECT_FALSE(BuildSystemLibraryPath("C:\\Windows\\system32", "", path, sizeof path));
    EXPECT_FALSE(BuildSystemLibraryPath("", "dwmapi.dll", path, sizeof path));
    EXPECT_FALSE(BuildSystemLibraryPath(nullptr, "dwmapi.dll", path, sizeof path));
    EXPECT_FALSE(BuildSystemLibraryPath("C:\\Windows\\system32", nullptr, path, sizeof path));
}

TEST(SystemLibrary, LoadsFromTheSystemFolderOnly)
{
    HMODULE library = LoadSystemLibrary("dwmapi.dll");
    ASSERT_NE(nullptr, library);
    EXPECT_EQ(0, lstrcmpiA((SystemFolder() + "\\dwmapi.dll").c_str(), ModulePath(library).c_str()));
    FreeLibrary(library);

    // Sentrel.dll sits beside this test program, where a search by bare name would find it.
    HMODULE besideUs = LoadLibraryA("Sentrel.dll");
    ASSERT_NE(nullptr, besideUs) << "the test needs Sentrel.dll beside the test program";
    FreeLibrary(besideUs);
    EXPECT_EQ(nullptr, LoadSystemLibrary("Sentrel.dll"));
    EXPECT_EQ(nullptr, LoadSystemLibrary("..\\Sentrel.dll"));
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
    EXPECT_EQ(&version, &RealOsVersion());  // read once
    EXPECT_GE(version.major, 5u);
    if (!RunningUnderWine()) GTEST_SKIP() << "the figures below are Wine 8's";
    // Wine 8 reports Windows 7 SP1, through GetVersionEx and RtlGetVersion alike; its PrintWindow
    // therefore keeps the flags it has always had.
    EXPECT_EQ(6u, version.major);
    EXPECT_EQ(1u, version.minor);
    EXPECT_EQ(7601u, version.build);
    EXPECT_EQ(0u, PrintFlagsForVersion(version.major, version.minor));
}
