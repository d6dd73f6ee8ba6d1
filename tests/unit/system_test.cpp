#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/system.h"

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
