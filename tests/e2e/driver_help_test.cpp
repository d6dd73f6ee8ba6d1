// The Help command against the real program: the shell opens Sorvane.html from Sorvane's own
// folder with whatever program the user has for .html files (here a recorder of the test's own),
// and a missing page is named in a message box.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>
#include <shlwapi.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/driver.h"
#include "tests/e2e/overview_support.h"  // WaitForDialog

namespace e2e {
namespace {

constexpr WPARAM kHelpCommand = 32780;
constexpr WPARAM kConfigureCommand = 32843;
constexpr int kSignInCheck = 1022;
constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kProgId[] = "SorvaneTest.HelpRecorder";

bool ReadDefaultValue(HKEY root, const std::string& keyPath, std::string* text)
{
    char data[512] = {};
    DWORD size = sizeof data - 1;
    if (RegGetValueA(root, keyPath.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return false;
    *text = data;
    return true;
}

bool WriteDefaultValue(HKEY root, const std::string& keyPath, const std::string& text)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    const LONG result = RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                       static_cast<DWORD>(text.size() + 1));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

// The .html association in one classes key (HKCU\Software\Classes, or HKEY_CLASSES_ROOT): points
// it at the recorder, and puts back what was there when it ends.
class HtmlAssociation {
public:
    HtmlAssociation(HKEY root, std::string classes) : root_(root), html_(classes + ".html"), progId_(classes + kProgId)
    {
        HKEY existing = nullptr;
        keyExisted_ = RegOpenKeyExA(root_, html_.c_str(), 0, KEY_QUERY_VALUE, &existing) == ERROR_SUCCESS;
        if (existing) RegCloseKey(existing);
        defaultExisted_ = ReadDefaultValue(root_, html_, &default_);
    }
    ~HtmlAssociation()
    {
        if (!registered_) return;
        SHDeleteKeyA(root_, progId_.c_str());
        if (!keyExisted_)
            SHDeleteKeyA(root_, html_.c_str());
        else if (defaultExisted_)
            WriteDefaultValue(root_, html_, default_);
        else
            SHDeleteValueA(root_, html_.c_str(), nullptr);
    }
    HtmlAssociation(const HtmlAssociation&) = delete;
    HtmlAssociation& operator=(const HtmlAssociation&) = delete;

    bool Register(const std::string& command)
    {
        registered_ = true;
        return WriteDefaultValue(root_, progId_ + "\\shell\\open\\command", command) &&
               WriteDefaultValue(root_, html_, kProgId);
    }

private:
    HKEY root_;
    std::string html_, progId_;
    bool keyExisted_ = false, defaultExisted_ = false, registered_ = false;
    std::string default_;
};

// The user's .html association points at the recorder while a test runs.
class HelpCommand : public SorvaneTest {
protected:
    void SetUp() override
    {
        SorvaneTest::SetUp();
        DeleteFileA(RecordPath().c_str());
        std::string command = "\"";
        command += DriverDirectory() + "SorvaneHelpRecorder.exe\" \"%1\"";
        ASSERT_TRUE(user_.Register(command));
        // Windows shows the user's classes in HKEY_CLASSES_ROOT above the machine's. Wine 8 does
        // not: its shell reads HKEY_CLASSES_ROOT, which there is HKLM\Software\Classes alone. So
        // the recorder is registered there too when the user's registration does not show.
        std::string seen;
        if (!ReadDefaultValue(HKEY_CLASSES_ROOT, ".html", &seen) || seen != kProgId) {
            machine_.emplace(HKEY_CLASSES_ROOT, "");
            ASSERT_TRUE(machine_->Register(command));
        }
    }
    void TearDown() override
    {
        machine_.reset();
        DeleteFileA(RecordPath().c_str());
        SorvaneTest::TearDown();
    }
    static std::string RecordPath() { return DriverDirectory() + "help-recorder.txt"; }
    // The recorder's two lines, UTF-8: the argument it got, and its command line.
    static bool ReadRecord(std::string* argument, std::string* commandLine)
    {
        FILE* file = fopen(RecordPath().c_str(), "rb");
        if (!file) return false;
        char text[2048] = {};
        const size_t length = fread(text, 1, sizeof text - 1, file);
        fclose(file);
        const std::string record(text, length);
        const size_t first = record.find('\n');
        if (first == std::string::npos) return false;
        *argument = record.substr(0, first);
        *commandLine = record.substr(first + 1);
        return true;
    }

private:
    HtmlAssociation user_{HKEY_CURRENT_USER, "Software\\Classes\\"};
    std::optional<HtmlAssociation> machine_;
};


// A message box of the process that appears after start-up, or null.
HWND WaitForLaterMessageBox(const SorvaneProcess& sorvane)
{
    HWND box = nullptr;
    PollUntil([&] {
        const std::vector<HWND> boxes = TopLevelWindows("#32770", sorvane.id(), true);
        box = boxes.empty() ? nullptr : boxes.front();
        return box != nullptr || !sorvane.Running();
    });
    return box;
}

// In English, then in the language chosen on the Advanced page (its own page).
TEST_F(HelpCommand, OpensThePageBesideTheExecutableWithTheUsersHtmlProgram)
{
    for (const char* name : {"Sorvane.html", "Sorvane.de.html"}) {
        if (name[8] == 'd') WriteTextSetting("Language", REG_SZ, L"de-DE");
        DeleteFileA(RecordPath().c_str());
        SorvaneProcess sorvane;
        ASSERT_TRUE(StartSorvane(sorvane));
        ASSERT_TRUE(PostMessageA(sorvane.window(), WM_COMMAND, kHelpCommand, 0));
        std::string argument, commandLine;
        ASSERT_TRUE(PollUntil([&] { return ReadRecord(&argument, &commandLine); }))
            << "the recorder was not started; Sorvane's windows:\n"
            << DescribeWindows(sorvane.id());
        const std::string page = DriverDirectory() + name;
        EXPECT_EQ(0, lstrcmpiA(page.c_str(), argument.c_str()))
            << "expected " << page << "\n got " << argument << "\n command line " << commandLine;
        ASSERT_TRUE(probe.Flush());
        EXPECT_TRUE(TopLevelWindows("#32770", sorvane.id(), true).empty()) << DescribeWindows(sorvane.id());
        EXPECT_FALSE(IsWindowVisible(sorvane.window())) << "Help opened the Overview";
        ASSERT_TRUE(ExitSorvane(sorvane));
    }
}

TEST_F(HelpCommand, AMissingPageIsNamedWhereItWasExpected)
{
    ScratchFolder folder;
    ASSERT_TRUE(folder.created());
    ASSERT_TRUE(folder.CopyIn(SorvanePath(), "Sorvane.exe"));
    ASSERT_TRUE(folder.CopyIn(DriverDirectory() + "Sentrel.dll", "Sentrel.dll"));
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane, folder.path() + "Sorvane.exe"));
    ASSERT_TRUE(PostMessageA(sorvane.window(), WM_COMMAND, kHelpCommand, 0));
    HWND box = WaitForLaterMessageBox(sorvane);
    ASSERT_NE(nullptr, box) << "no message box; Sorvane's windows:\n" << DescribeWindows(sorvane.id());
    EXPECT_EQ("Sorvane", TextOf(box));
    std::string expected = "The help page was not found. Sorvane expected it here:\n\n";
    expected += folder.path() + "Sorvane.html";
    const std::string shown = TextOf(GetDlgItem(box, kMessageBoxTextId));
    EXPECT_EQ(0, lstrcmpiA(expected.c_str(), shown.c_str())) << "expected:\n" << expected << "\nshown:\n" << shown;
    HWND ok = GetDlgItem(box, IDOK);
    EXPECT_TRUE(ok && IsWindowVisible(ok)) << "no OK button";
    for (int other : {IDCANCEL, IDYES, IDNO})
        EXPECT_FALSE(GetDlgItem(box, other) && IsWindowVisible(GetDlgItem(box, other))) << "button " << other;
    ASSERT_TRUE(DismissMessageBox(box));
    ASSERT_TRUE(probe.Flush());
    EXPECT_TRUE(TopLevelWindows("#32770", sorvane.id(), true).empty()) << DescribeWindows(sorvane.id());
    EXPECT_FALSE(IsWindowVisible(sorvane.window())) << "Help opened the Overview";
    ASSERT_TRUE(ExitSorvane(sorvane));
}

// Run from a folder whose name the ANSI code page cannot hold, everything that goes by the
// program's own path finds it: Sentrel.dll watching the corner, the help page, and the Run value
// that "Start Sorvane when I sign in" writes.
TEST_F(HelpCommand, FromAFolderNamedInGreekAndJapaneseTheCornerHelpAndSignInFindTheProgram)
{
    struct RunValueRemover {
        ~RunValueRemover() { SHDeleteValueA(HKEY_CURRENT_USER, kRunKey, "Sorvane"); }
    } remover;
    WriteDwordSetting("Info1", 1);  // no welcome balloon beside the corner
    ScratchFolder folder(" Ωμέγα 東京");
    ASSERT_TRUE(folder.created());
    for (const char* file : {"Sorvane.exe", "Sentrel.dll", "Sorvane.html"})
        ASSERT_TRUE(folder.CopyIn(DriverDirectory() + file, file));
    SorvaneProcess sorvane;
    ASSERT_TRUE(StartSorvane(sorvane, folder.path() + "Sorvane.exe"));

    EXPECT_TRUE(CornerOpensTheEmptyOverview(sorvane));

    ASSERT_TRUE(PostMessageA(sorvane.window(), WM_COMMAND, kHelpCommand, 0));
    std::string argument, commandLine;
    HWND box = nullptr;
    PollUntil([&] { return (box = FindWindowA("#32770", "Sorvane")) || ReadRecord(&argument, &commandLine); });
    if (box) {
        ADD_FAILURE() << "Help says: " << TextOf(GetDlgItem(box, kMessageBoxTextId));
        ASSERT_TRUE(DismissMessageBox(box));
    }
    const std::string page = folder.path() + "Sorvane.html";
    EXPECT_EQ(0, lstrcmpiW(Wide(page).c_str(), Wide(argument).c_str()))
        << "expected " << page << "\n got " << argument << "\n command line " << commandLine;

    PostMessageA(sorvane.window(), WM_COMMAND, kConfigureCommand, 0);
    HWND sheet = WaitForDialog(sorvane.id(), "Sorvane Configuration");
    ASSERT_NE(nullptr, sheet) << DescribeWindows(sorvane.id());
    PostMessageA(sheet, PSM_SETCURSEL, 3, 0);  // Advanced
    HWND check = nullptr;
    ASSERT_TRUE(PollUntil([&] {
        const auto advanced = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        return (check = GetDlgItem(advanced, kSignInCheck)) != nullptr;
    }));
    SendMessageA(check, BM_SETCHECK, BST_CHECKED, 0);
    PostMessageA(sheet, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(PollUntil([&] { return !IsWindow(sheet); })) << "the sheet stayed open";
    EXPECT_EQ(Wide("\"" + folder.path() + "Sorvane.exe\""), ReadUserText(kRunKey, "Sorvane"));
    ASSERT_TRUE(ExitSorvane(sorvane));
}

}  // namespace
}  // namespace e2e
