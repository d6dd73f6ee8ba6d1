// Starting at sign-in (the Run value) and the help page's place beside the executable.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/help.h"
#include "config/signin.h"
#include "test_support.h"

namespace {

constexpr char kPath[] = "C:\\Program Files\\Sorvane\\Sorvane.exe";

// The rule over UTF-8 texts; a null stored value stays null.
bool Names(const char* stored, const std::string& path)
{
    const std::wstring wide = stored ? Wide(stored) : std::wstring();
    return RunValueNamesExecutable(stored ? wide.c_str() : nullptr, Wide(path).c_str());
}

TEST(RunValue, NamesTheExecutableWithOrWithoutQuotesInAnyLetterCase)
{
    for (const char* stored : {"\"C:\\Program Files\\Sorvane\\Sorvane.exe\"", "C:\\Program Files\\Sorvane\\Sorvane.exe",
                               "\"c:\\PROGRAM FILES\\sorvane\\SORVANE.EXE\"", "c:\\program files\\sorvane\\sorvane.exe"})
        EXPECT_TRUE(Names(stored, kPath)) << stored;
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
        EXPECT_FALSE(Names(stored, kPath)) << stored;
    EXPECT_FALSE(Names(nullptr, kPath));
    EXPECT_FALSE(Names("", ""));
    EXPECT_FALSE(Names("\"\"", ""));
    // A folder of any script names only itself, in any letter case.
    EXPECT_TRUE(Names("\"C:\\Users\\\u039D\u03AF\u03BA\u03B7\\\u6771\u4EAC\\Sorvane.exe\"",
                      "c:\\users\\\u039D\u038A\u039A\u0397\\\u6771\u4EAC\\sorvane.exe"));  // "Νίκη" / "ΝΊΚΗ"
    EXPECT_FALSE(Names("\"C:\\Users\\\u6771\u4EAC\\Sorvane.exe\"", "C:\\Users\\\u4EAC\u6771\\Sorvane.exe"));
    // Only letter case: not a folder that is the same linguistically (the Angstrom sign and "å").
    EXPECT_FALSE(Names("C:\\\u212Bngstr\u00F6m\\Sorvane.exe", "C:\\\u00E5ngstr\u00F6m\\Sorvane.exe"));
}

TEST(RunValue, IsThePathInQuotesAndNeverACutOne)
{
    wchar_t value[263];
    ASSERT_TRUE(FormatRunValue(Wide(kPath).c_str(), value, std::size(value)));
    EXPECT_EQ("\"C:\\Program Files\\Sorvane\\Sorvane.exe\"", Narrow(value));
    EXPECT_TRUE(RunValueNamesExecutable(value, Wide(kPath).c_str()));

    // The longest path that fits with its quotes and terminator; one character more does not, and
    // leaves nothing.
    const std::wstring longest = L"C:\\" + std::wstring(std::size(value) - 10, L'a') + L".exe";
    ASSERT_EQ(std::size(value) - 3, longest.size());
    ASSERT_TRUE(FormatRunValue(longest.c_str(), value, std::size(value)));
    EXPECT_EQ(L"\"" + longest + L"\"", std::wstring(value));
    EXPECT_FALSE(FormatRunValue((longest + L"x").c_str(), value, std::size(value)));
    EXPECT_STREQ(L"", value);
    EXPECT_FALSE(FormatRunValue(L"", value, std::size(value)));
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
    wchar_t path[261];
    ASSERT_TRUE(HelpPagePathFor(Wide(kPath).c_str(), path, std::size(path)));
    EXPECT_STREQ(L"C:\\Program Files\\Sorvane\\Sorvane.html", path);
    ASSERT_TRUE(HelpPagePathFor(L"Z:/work/build/win32/Sorvane.exe", path, std::size(path)));
    EXPECT_STREQ(L"Z:/work/build/win32/Sorvane.html", path);
    ASSERT_TRUE(HelpPagePathFor(L"Sorvane.exe", path, std::size(path)));
    EXPECT_STREQ(L"Sorvane.html", path);

    // A folder that leaves room for the name and its terminator, and one a character longer.
    const std::wstring folder = L"C:\\" + std::wstring(std::size(path) - 1 - wcslen(kHelpPageName) - 4, L'f') + L"\\";
    ASSERT_TRUE(HelpPagePathFor((folder + L"S.exe").c_str(), path, std::size(path)));
    EXPECT_EQ(folder + kHelpPageName, path);
    EXPECT_EQ(std::size(path) - 1, wcslen(path));
    EXPECT_FALSE(HelpPagePathFor((L"C:\\f" + folder.substr(3) + L"S.exe").c_str(), path, std::size(path)));
    EXPECT_STREQ(L"", path);
}

}  // namespace
