// The installer and uninstaller built by the target "package", run silently in the test prefix:
// what a per-user install leaves behind, an upgrade over a running copy, and a removal.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <string>

#include "tests/e2e/driver.h"

namespace e2e {
namespace {

constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Sorvane";
constexpr char kKeptSetting[] = "KeptByTheInstaller";
// The setup gives a running copy 15 s to exit.
constexpr DWORD kSetupWaitMs = 40000;

std::string ShellFolder(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl, nullptr, 0, path);
    return Utf8(path);
}
std::string Folder() { return ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Sorvane"; }
// A folder the user may choose instead, named in scripts the ANSI code page cannot hold.
std::string ChosenFolder() { return ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Σορβάνε 東京"; }
std::string Shortcut() { return ShellFolder(CSIDL_PROGRAMS) + "\\Sorvane.lnk"; }
bool Exists(const std::string& path) { return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string UserText(const char* key, const char* name)
{
    const StoredValue value = ReadUserValue(key, name);
    if (!value.present || value.type != REG_SZ) return "(no text value)";
    return std::string(reinterpret_cast<const char*>(value.data.data()), value.data.size()).c_str();
}

DWORD UserDword(const char* key, const char* name)
{
    const StoredValue value = ReadUserValue(key, name);
    return value.present && value.type == REG_DWORD ? *reinterpret_cast<const DWORD*>(value.data.data())
                                                     : 0xFFFFFFFF;
}

// Deletes what matches the pattern, folders with what they hold; true when nothing matches.
bool Remove(const std::string& pattern)
{
    const std::wstring list = Wide(pattern) + L'\0';  // a list ends with two NULs
    SHFILEOPSTRUCTW removal{};
    removal.wFunc = FO_DELETE;
    removal.pFrom = list.c_str();
    removal.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
    SHFileOperationW(&removal);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(Wide(pattern).c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    return search == INVALID_HANDLE_VALUE;
}

class Installer : public SorvaneTest {
protected:
    void SetUp() override { SorvaneTest::SetUp(); RemoveInstallation(); }
    void TearDown() override { SorvaneTest::TearDown(); RemoveInstallation(); }

    // Whatever an install left, and the folders ~nsu*.tmp the uninstaller runs a copy of itself
    // from; without the uninstaller.
    static void RemoveInstallation()
    {
        KillStraySorvane();
        SHDeleteValueA(HKEY_CURRENT_USER, kRunKey, "Sorvane");
        SHDeleteKeyA(HKEY_CURRENT_USER, kUninstallKey);
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        for (const std::string& path : {Folder(), ChosenFolder(), Shortcut(), Utf8(temp) + "~nsu*.tmp"})
            EXPECT_TRUE(PollUntil([&] { return Remove(path); })) << "cannot remove " << path;
    }

    // Runs the setup silently to its end and gives its exit code; `folder` replaces the default.
    static DWORD RunSetup(const std::string& folder = {})
    {
        SorvaneProcess setup;
        DWORD code = STILL_ACTIVE;
        const std::string arguments = folder.empty() ? "/S" : "/S /D=" + folder;  // /D= last, unquoted
        EXPECT_TRUE(setup.Launch(DriverDirectory() + SORVANE_SETUP_NAME, {}, false, arguments));
        EXPECT_TRUE(setup.WaitForExit(&code, kSetupWaitMs));
        return code;
    }

    // Installs and starts the installed Sorvane.
    void InstallAndStart(SorvaneProcess& sorvane)
    {
        ASSERT_EQ(RunSetup(), 0u);
        ASSERT_TRUE(StartSorvane(sorvane, Folder() + "\\Sorvane.exe"));
        WriteDwordSetting(kKeptSetting, 7);
    }
};

TEST_F(Installer, SilentInstallPutsFilesShortcutSignInAndAppsEntryInPlace)
{
    ASSERT_EQ(RunSetup(), 0u);
    const std::string folder = Folder() + "\\";
    for (const char* file : {"Sorvane.exe", "Sentrel.dll", "Sorvane.html", "Uninstall.exe"})
        EXPECT_TRUE(Exists(folder + file)) << file;
    EXPECT_TRUE(Exists(Shortcut())) << Shortcut();
    EXPECT_EQ(UserText(kRunKey, "Sorvane"), "\"" + folder + "Sorvane.exe\"");

    const std::string uninstaller = "\"" + folder + "Uninstall.exe\"";
    const std::pair<const char*, std::string> texts[] = {
        {"DisplayName", "Sorvane"}, {"DisplayVersion", SORVANE_TEST_VERSION},
        {"Publisher", "Sorvane"}, {"DisplayIcon", folder + "Sorvane.exe"},
        {"InstallLocation", Folder()}, {"UninstallString", uninstaller},
        {"QuietUninstallString", uninstaller + " /S"}};
    for (const auto& [name, expected] : texts) EXPECT_EQ(UserText(kUninstallKey, name), expected) << name;
    EXPECT_EQ(UserDword(kUninstallKey, "NoModify"), 1u);
    EXPECT_EQ(UserDword(kUninstallKey, "NoRepair"), 1u);
    // In KB: the program and its hook library alone make more than 300.
    EXPECT_GT(UserDword(kUninstallKey, "EstimatedSize"), 300u);
    EXPECT_LT(UserDword(kUninstallKey, "EstimatedSize"), 100000u);
}

// Installed where the user chose, in a folder the ANSI code page cannot name, it runs from there
// with its hook library, and signs in from there.
TEST_F(Installer, SilentInstallIntoAFolderNamedInGreekAndJapaneseRunsFromThere)
{
    ASSERT_EQ(RunSetup(ChosenFolder()), 0u);
    const std::string folder = ChosenFolder() + "\\";
    for (const char* file : {"Sorvane.exe", "Sentrel.dll", "Sorvane.html", "Uninstall.exe"})
        EXPECT_TRUE(Exists(folder + file)) << file;
    EXPECT_EQ(ReadUserText(kRunKey, "Sorvane"), Wide("\"" + folder + "Sorvane.exe\""));
    WriteDwordSetting("Info1", 1);  // no welcome balloon beside the corner
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane, folder + "Sorvane.exe"));
    EXPECT_TRUE(CornerOpensTheEmptyOverview(sorvane));
    ASSERT_TRUE(ExitSorvane(sorvane));
}

TEST_F(Installer, UpgradeEndsTheRunningCopyReplacesTheFilesAndKeepsTheSettings)
{
    SorvaneProcess sorvane;
    ASSERT_NO_FATAL_FAILURE(InstallAndStart(sorvane));
    ASSERT_TRUE(DeleteFileA((Folder() + "\\Sorvane.html").c_str()));

    // A file it could not write (Sorvane.exe still running) would make the exit code 2.
    EXPECT_EQ(RunSetup(), 0u);
    DWORD code = STILL_ACTIVE;
    ASSERT_TRUE(sorvane.WaitForExit(&code));
    EXPECT_EQ(code, 0u) << "Sorvane did not end through its Exit command";
    EXPECT_TRUE(Exists(Folder() + "\\Sorvane.html"));
    EXPECT_TRUE(ReadSetting(kKeptSetting).present) << DescribeSettings();
}

TEST_F(Installer, UpgradeGivesUpWithExitCode2WhenTheRunningCopyDoesNotExit)
{
    SorvaneProcess sorvane;
    ASSERT_NO_FATAL_FAILURE(InstallAndStart(sorvane));
    ASSERT_TRUE(DeleteFileA((Folder() + "\\Sorvane.html").c_str()));
    ASSERT_TRUE(probe.HoldThread(kSetupWaitMs));  // it answers nothing while the setup waits

    EXPECT_EQ(RunSetup(), 2u);
    EXPECT_TRUE(sorvane.Running());
    EXPECT_FALSE(Exists(Folder() + "\\Sorvane.html")) << "the setup went on to copy the files";
}

TEST_F(Installer, SilentUninstallEndsSorvaneAndRemovesEverythingButTheSettings)
{
    SorvaneProcess sorvane;
    ASSERT_NO_FATAL_FAILURE(InstallAndStart(sorvane));

    // The uninstaller hands over to a copy of itself and ends at once; the copy removes the
    // entry in Apps & features last.
    SorvaneProcess uninstaller;
    ASSERT_TRUE(uninstaller.Launch(Folder() + "\\Uninstall.exe", {}, false, "/S"));
    ASSERT_TRUE(PollUntil([] { return !ReadUserValue(kUninstallKey, "DisplayName").present; },
                          kSetupWaitMs));
    DWORD code = STILL_ACTIVE;
    ASSERT_TRUE(sorvane.WaitForExit(&code));
    EXPECT_EQ(code, 0u) << "Sorvane did not end through its Exit command";
    EXPECT_FALSE(Exists(Folder()));
    EXPECT_FALSE(Exists(Shortcut()));
    EXPECT_FALSE(ReadUserValue(kRunKey, "Sorvane").present);
    EXPECT_TRUE(ReadSetting(kKeptSetting).present) << DescribeSettings();
}

}  // namespace
}  // namespace e2e
