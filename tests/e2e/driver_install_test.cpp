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
constexpr const char* kProgramFiles[] = {"Sorvane.exe", "Sentrel.dll", "Sorvane.html"};
constexpr char kKeptSetting[] = "KeptByTheInstaller";
// The installer gives a running copy 15 s to exit; the whole run gets twice that and more.
constexpr DWORD kSetupWaitMs = 40000;

std::string ShellFolder(int csidl)
{
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, csidl, nullptr, 0, path);
    return path;
}

// With a trailing backslash.
std::string InstallFolder() { return ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Sorvane\\"; }
std::string Shortcut() { return ShellFolder(CSIDL_PROGRAMS) + "\\Sorvane.lnk"; }
std::string Quoted(const std::string& text) { return "\"" + text + "\""; }
bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string UserText(const char* key, const char* name)
{
    const StoredValue value = ReadUserValue(key, name);
    if (!value.present || value.type != REG_SZ) return "(no text value)";
    return std::string(reinterpret_cast<const char*>(value.data.data()), value.data.size())
        .c_str();
}

DWORD UserDword(const char* key, const char* name)
{
    const StoredValue value = ReadUserValue(key, name);
    DWORD number = 0xFFFFFFFF;
    if (value.present && value.type == REG_DWORD) CopyMemory(&number, value.data.data(), 4);
    return number;
}

// The uninstaller runs a copy of itself from a folder of this pattern.
std::string UninstallerCopies()
{
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    return std::string(temp) + "~nsu*.tmp";
}

bool NoUninstallerCopies()
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(UninstallerCopies().c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    return search == INVALID_HANDLE_VALUE;
}

bool UninstallEntryExists()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kUninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// Files stamped 1 January 2001 were not written since.
constexpr FILETIME kOldStamp{0xC89DC000, 0x01C07385};

bool Restamp(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    const bool done = file != INVALID_HANDLE_VALUE && SetFileTime(file, nullptr, nullptr, &kOldStamp);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return done;
}

bool Stamped(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) &&
           CompareFileTime(&data.ftLastWriteTime, &kOldStamp) == 0;
}

class Installer : public SorvaneTest {
protected:
    void SetUp() override
    {
        SorvaneTest::SetUp();
        RemoveInstallation();
    }
    void TearDown() override
    {
        SorvaneTest::TearDown();
        RemoveInstallation();
        EXPECT_FALSE(Exists(InstallFolder())) << "cannot remove " << InstallFolder();
        EXPECT_TRUE(NoUninstallerCopies()) << "cannot remove " << UninstallerCopies();
    }

    // Runs the setup silently to its end; its exit code goes to *code.
    ::testing::AssertionResult RunSetup(DWORD* code)
    {
        SorvaneProcess setup;
        ::testing::AssertionResult result =
            setup.Launch(DriverDirectory() + SORVANE_SETUP_NAME, {}, false, "/S");
        return result ? setup.WaitForExit(code, kSetupWaitMs) : result;
    }
    ::testing::AssertionResult Install()
    {
        DWORD code = STILL_ACTIVE;
        ::testing::AssertionResult result = RunSetup(&code);
        if (result && code != 0)
            return ::testing::AssertionFailure() << "the setup ended with exit code " << code;
        return result;
    }

    // Whatever an install or a test left behind, without the uninstaller.
    static void RemoveInstallation()
    {
        KillStraySorvane();
        const std::string folder = InstallFolder();
        for (const char* file : kProgramFiles) DeleteFileA((folder + file).c_str());
        DeleteFileA((folder + "Uninstall.exe").c_str());
        RemoveDirectoryA(folder.c_str());
        DeleteFileA(Shortcut().c_str());
        SHDeleteValueA(HKEY_CURRENT_USER, kRunKey, "Sorvane");
        SHDeleteKeyA(HKEY_CURRENT_USER, kUninstallKey);
        // A copy of the uninstaller may still be ending.
        const std::string copies = UninstallerCopies() + '\0';  // a list ends with two NULs
        PollUntil([&] {
            SHFILEOPSTRUCTA removal{};
            removal.wFunc = FO_DELETE;
            removal.pFrom = copies.c_str();
            removal.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
            SHFileOperationA(&removal);
            return NoUninstallerCopies();
        });
    }
};

TEST_F(Installer, SilentInstallPutsFilesShortcutSignInAndAppsEntryInPlace)
{
    ASSERT_TRUE(Install());
    const std::string folder = InstallFolder();
    DWORD bytes = 0;
    for (const char* file : {"Sorvane.exe", "Sentrel.dll", "Sorvane.html", "Uninstall.exe"}) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        EXPECT_TRUE(GetFileAttributesExA((folder + file).c_str(), GetFileExInfoStandard, &data))
            << file << " is missing from " << folder;
        bytes += data.nFileSizeLow;
    }
    EXPECT_TRUE(Exists(Shortcut())) << Shortcut();
    EXPECT_EQ(UserText(kRunKey, "Sorvane"), Quoted(folder + "Sorvane.exe"));

    const std::string uninstaller = Quoted(folder + "Uninstall.exe");
    const std::pair<const char*, std::string> texts[] = {
        {"DisplayName", "Sorvane"},
        {"DisplayVersion", SORVANE_TEST_VERSION},
        {"Publisher", "Sorvane"},
        {"DisplayIcon", folder + "Sorvane.exe"},
        {"InstallLocation", folder.substr(0, folder.size() - 1)},
        {"UninstallString", uninstaller},
        {"QuietUninstallString", uninstaller + " /S"}};
    for (const auto& [name, expected] : texts) EXPECT_EQ(UserText(kUninstallKey, name), expected) << name;
    EXPECT_EQ(UserDword(kUninstallKey, "NoModify"), 1u);
    EXPECT_EQ(UserDword(kUninstallKey, "NoRepair"), 1u);
    EXPECT_NEAR(UserDword(kUninstallKey, "EstimatedSize"), bytes / 1024.0, 4.0)
        << "EstimatedSize is not the installed size in KB";
}

TEST_F(Installer, UpgradeEndsTheRunningCopyReplacesTheFilesAndKeepsTheSettings)
{
    ASSERT_TRUE(Install());
    const std::string folder = InstallFolder();
    for (const char* file : kProgramFiles) ASSERT_TRUE(Restamp(folder + file)) << file;
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane, folder + "Sorvane.exe"));
    WriteDwordSetting(kKeptSetting, 7);

    ASSERT_TRUE(Install());
    DWORD code = STILL_ACTIVE;
    ASSERT_TRUE(sorvane.WaitForExit(&code));
    EXPECT_EQ(code, 0u) << "Sorvane did not end through its Exit command";
    for (const char* file : kProgramFiles) EXPECT_FALSE(Stamped(folder + file)) << file << " was not replaced";
    EXPECT_TRUE(ReadSetting(kKeptSetting).present) << DescribeSettings();
}

TEST_F(Installer, UpgradeGivesUpWithExitCode2WhenTheRunningCopyDoesNotExit)
{
    ASSERT_TRUE(Install());
    const std::string help = InstallFolder() + "Sorvane.html";
    ASSERT_TRUE(Restamp(help));
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane, InstallFolder() + "Sorvane.exe"));
    ASSERT_TRUE(probe.HoldThread(kSetupWaitMs));  // it answers nothing while the setup waits

    DWORD code = 0;
    ASSERT_TRUE(RunSetup(&code));
    EXPECT_EQ(code, 2u);
    EXPECT_TRUE(sorvane.Running());
    EXPECT_TRUE(Stamped(help)) << "the setup went on to replace the files";
}

TEST_F(Installer, SilentUninstallEndsSorvaneAndRemovesEverythingButTheSettings)
{
    ASSERT_TRUE(Install());
    const std::string folder = InstallFolder();
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane, folder + "Sorvane.exe"));
    WriteDwordSetting(kKeptSetting, 7);

    // The uninstaller hands over to a copy of itself in the temporary folder and ends at once;
    // the copy removes the entry in Apps & features last.
    SorvaneProcess uninstaller;
    ASSERT_TRUE(uninstaller.Launch(folder + "Uninstall.exe", {}, false, "/S"));
    ASSERT_TRUE(PollUntil([] { return !UninstallEntryExists(); }, kSetupWaitMs))
        << "the entry in Apps & features is still there";
    DWORD code = STILL_ACTIVE;
    ASSERT_TRUE(sorvane.WaitForExit(&code));
    EXPECT_EQ(code, 0u) << "Sorvane did not end through its Exit command";
    EXPECT_FALSE(Exists(folder)) << folder;
    EXPECT_FALSE(Exists(Shortcut())) << Shortcut();
    EXPECT_FALSE(ReadUserValue(kRunKey, "Sorvane").present);
    EXPECT_TRUE(ReadSetting(kKeptSetting).present) << DescribeSettings();
}

}  // namespace
}  // namespace e2e
