// Starting at sign-in (the Run value) and the help page's place beside the executable.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/help.h"
#include "config/signin.h"
#include "test_support.h"

namespace {

constexpr char kPath[] = "C:\\Program Files\\Sorvane\\Sorvane.exe";

TEST(RunValue, NamesTheExecutableWithOrWithoutQuotesInAnyLetterCase)
{
    for (const char* stored : {"\"C:\\Program Files\\Sorvane\\Sorvane.exe\"", "C:\\Program Files\\Sorvane\\Sorvane.exe",
                               "\"c:\\PROGRAM FILES\\sorvane\\SORVANE.EXE\"", "c:\\program files\\sorvane\\sorvane.exe"})
        EXPECT_TRUE(RunValueNamesExecutable(stored, kPath)) << stored;
}

TEST(RunValue, NamesNothingElse)
{
    const std::string overlong = std::string("\"") + kPath + std::string(300, 'x') + "\"";
    for (const char* stored :
         {"", "\"", "\"\"", "\"C:\\Program Files\\Sorvane\\Sorvane.exe",  // one quote only
          "C:\\Program Files\\Sorvane\\Sorvane.exe\"", "\"C:\\Program Files\\Other\\Sorvane.exe\"",
          "\"C:\\Program Files\\Sorvane\\Sorvane.exe\" /quiet", "C:\\Program Files\\Sorvane\\Sorvane.exe ",
          "C:\\Program Files\\Sorvane", "\"\"C:\\Program Files\\Sorvane\\Sorvane.exe\"\"", "\x01\xff garbage",
          overlong.c_str()})
        EXPECT_FALSE(RunValueNamesExecutable(stored, kPath)) << stored;
    EXPECT_FALSE(RunValueNamesExecutable(nullptr, kPath));
    EXPECT_FALSE(RunValueNamesExecutable("", ""));
    EXPECT_FALSE(RunValueNamesExecutable("\"\"", ""));
}

TEST(RunValue, IsThePathInQuotesAndNeverACutOne)
{
    char value[kRunValueCapacity];
    ASSERT_TRUE(FormatRunValue(kPath, value, sizeof value));
    EXPECT_STREQ("\"C:\\Program Files\\Sorvane\\Sorvane.exe\"", value);
    EXPECT_TRUE(RunValueNamesExecutable(value, kPath));

    // The longest path the program can have fits; one character more does not, and leaves nothing.
    const std::string longest = "C:\\" + std::string(kExecutablePathCapacity - 8, 'a') + ".exe";
    ASSERT_EQ(kExecutablePathCapacity - 1, longest.size());
    ASSERT_TRUE(FormatRunValue(longest.c_str(), value, sizeof value));
    EXPECT_EQ("\"" + longest + "\"", value);
    EXPECT_FALSE(FormatRunValue((longest + "x").c_str(), value, sizeof value));
    EXPECT_STREQ("", value);
    EXPECT_FALSE(FormatRunValue("", value, sizeof value));
}

// What StartsAtSignIn makes of values in the real registry, as this test program's own.
TEST(SignIn, OnlyAStringNamingThisExecutableCounts)
{
    RunValueKeeper keeper;
    const std::string own = OwnExecutablePath();
    DeleteRunValue();
    EXPECT_FALSE(StartsAtSignIn()) << "no value";
    SetRunValue(REG_SZ, own.data(), static_cast<DWORD>(own.size()));
    EXPECT_TRUE(StartsAtSignIn()) << "stored without its terminator";
    SetRunValue(own + std::string(400, ' '));
    EXPECT_FALSE(StartsAtSignIn()) << "longer than any path";
    const DWORD number = 1;
    SetRunValue(REG_DWORD, &number, sizeof number);
    EXPECT_FALSE(StartsAtSignIn()) << "not a string";
}

TEST(HelpPage, LiesBesideTheExecutable)
{
    char path[261];
    ASSERT_TRUE(HelpPagePathFor(kPath, path, sizeof path));
    EXPECT_STREQ("C:\\Program Files\\Sorvane\\Sorvane.html", path);
    ASSERT_TRUE(HelpPagePathFor("Z:/work/build/win32/Sorvane.exe", path, sizeof path));
    EXPECT_STREQ("Z:/work/build/win32/Sorvane.html", path);
    ASSERT_TRUE(HelpPagePathFor("Sorvane.exe", path, sizeof path));
    EXPECT_STREQ("Sorvane.html", path);

    // A folder that leaves room for the name and its terminator, and one a character longer.
    const std::string folder = "C:\\" + std::string(sizeof path - 1 - strlen(kHelpPageName) - 4, 'f') + "\\";
    ASSERT_TRUE(HelpPagePathFor((folder + "S.exe").c_str(), path, sizeof path));
    EXPECT_EQ(folder + kHelpPageName, path);
    EXPECT_EQ(sizeof path - 1, strlen(path));
    EXPECT_FALSE(HelpPagePathFor(("C:\\f" + folder.substr(3) + "S.exe").c_str(), path, sizeof path));
    EXPECT_STREQ("", path);
}

}  // namespace
