#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/settings.h"
#include "test_support.h"
#include "windows/collect.h"

namespace {

class SettingsStore : public ::testing::Test {
protected:
    void SetUp() override
    {
        DeleteSettingsKey();
        settings = Settings{};
    }
    void TearDown() override
    {
        settings = Settings{};
        DeleteSettingsKey();
    }
};

std::string ExclusionText()
{
    return settings.exclusionText ? Narrow(settings.exclusionText.get()) : std::string("<absent>");
}

void SetMultiString(const std::string& data)
{
    SetRawSetting("Exclusion", REG_MULTI_SZ, data.data(), static_cast<DWORD>(data.size()));
}

// A list box of a hidden window, items added in the order given (LBS_SORT like the page's).
struct ListBoxFixture {
    HWND owner = CreateTestWindow();
    HWND list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | LBS_SORT, 0, 0, 200, 100, owner,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    ~ListBoxFixture() { DestroyWindow(owner); }
    void Add(const std::string& item)
    {
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    std::vector<std::string> Items()
    {
        std::vector<std::string> items;
        const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            std::string text(SendMessageA(list, LB_GETTEXTLEN, i, 0) + 1, '\0');
            SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
            items.push_back(text.c_str());
        }
        return items;
    }
};

}  // namespace

TEST(MultiStringLines, WalkStopsAtTheFirstEmptyEntry)
{
    char data[] = "C:\\a.exe\0C:\\b.exe\0\0C:\\hidden.exe\0\0";
    std::vector<std::string> seen;
    EXPECT_EQ(2u, MultiStringToLines(data, sizeof data,
                                     [&](const char* entry) { seen.push_back(entry); }));
    EXPECT_EQ((std::vector<std::string>{"C:\\a.exe", "C:\\b.exe"}), seen);
    EXPECT_STREQ("C:\\a.exe\nC:\\b.exe\n", data);

    char leadingEmpty[] = "\0C:\\a.exe\0\0";
    EXPECT_EQ(0u, MultiStringToLines(leadingEmpty, sizeof leadingEmpty, [](const char*) {}));
    EXPECT_STREQ("", leadingEmpty);

    // An entry running into the end of the buffer has no terminator and is dropped.
    char unterminated[3] = {'a', 'b', 'c'};
    EXPECT_EQ(0u, MultiStringToLines(unterminated, sizeof unterminated, [](const char*) {}));
}

TEST(MultiStringLines, AppendCutsLongEntriesAndCountsWhatItStored)
{
    std::vector<wchar_t> buffer(2 * 261 + 1, L'\0');
    size_t used = AppendMultiStringEntry(buffer.data(), buffer.size(), 0, L"C:\\x.exe");
    EXPECT_EQ(9u, used);
    const std::wstring longPath(400, L'p');
    used = AppendMultiStringEntry(buffer.data(), buffer.size(), used, longPath.c_str());
    EXPECT_EQ(9u + 260u, used);
    EXPECT_EQ(std::wstring(259, L'p'), std::wstring(buffer.data() + 9));
    // No room for a third entry: refused instead of overrunning.
    EXPECT_EQ(0u, AppendMultiStringEntry(buffer.data(), buffer.size(), used, L"C:\\y.exe"));
}

TEST_F(SettingsStore, ExclusionListIsAbsentUnlessAnEntryIsStored)
{
    LoadExclusionList(nullptr);
    EXPECT_EQ("<absent>", ExclusionText());  // no key

    SetMultiString(std::string("\0\0", 2));
    LoadExclusionList(nullptr);
    EXPECT_EQ("<absent>", ExclusionText());  // two zero bytes: no list

    const char text[] = "C:\\Windows\\notepad.exe";
    SetRawSetting("Exclusion", REG_SZ, text, sizeof text);
    LoadExclusionList(nullptr);
    EXPECT_EQ("<absent>", ExclusionText());  // another type: no list

    SetRawSetting("Exclusion", REG_BINARY, text, sizeof text);
    LoadExclusionList(nullptr);
    EXPECT_EQ("<absent>", ExclusionText());
}

TEST_F(SettingsStore, ExclusionListBecomesLinesAndFillsTheListBoxInStoredOrder)
{
    SetMultiString(std::string("C:\\Windows\\notepad.exe\0C:\\B\\app.exe\0\0", 38));
    ListBoxFixture page;
    LoadExclusionList(page.list);
    EXPECT_EQ("C:\\Windows\\notepad.exe\nC:\\B\\app.exe\n", ExclusionText());
    EXPECT_EQ((std::vector<std::string>{"C:\\B\\app.exe", "C:\\Windows\\notepad.exe"}),
              page.Items());  // the list box sorts

    // A reload replaces the text instead of adding to it.
    SetMultiString(std::string("C:\\one.exe\0\0", 12));
    LoadExclusionList(nullptr);
    EXPECT_EQ("C:\\one.exe\n", ExclusionText());

    // Data without their own terminators still end cleanly.
    SetMultiString("C:\\tail.exe");
    LoadExclusionList(nullptr);
    EXPECT_EQ("C:\\tail.exe\n", ExclusionText());

    // Names in any script come back exactly; half a character at the end of the data is dropped.
    const wchar_t names[] = L"C:\\\u7A93\u03B1.exe\0C:\\\u7A93\u03B2.exe\0";  // "窓α.exe", "窓β.exe", and the end
    SetRawSettingW("Exclusion", REG_MULTI_SZ, names, sizeof names - sizeof(wchar_t) + 1);
    LoadExclusionList(nullptr);
    EXPECT_EQ(L"C:\\\u7A93\u03B1.exe\nC:\\\u7A93\u03B2.exe\n", std::wstring(settings.exclusionText.get()));
    EXPECT_TRUE(IsExcludedName(settings.exclusionText.get(), L"\u7A93\u0391.EXE")) << "case aside in Greek too";
    EXPECT_FALSE(IsExcludedName(settings.exclusionText.get(), L"\u7A93\u03B3.exe"));
}

TEST_F(SettingsStore, HugeExclusionValueWithoutTerminatorsIsReadSafely)
{
    std::string data(1 << 20, 'x');  // 1 MB, not a single zero byte
    SetMultiString(data);
    LoadExclusionList(nullptr);
    EXPECT_EQ(data + "\n", ExclusionText());

    // Many entries of the largest legal size.
    std::string many;
    for (int i = 0; i < 2000; ++i) many += std::string(259, static_cast<char>('a' + i % 26)) + '\0';
    many += '\0';
    SetMultiString(many);
    ListBoxFixture page;
    LoadExclusionList(page.list);
    EXPECT_EQ(2000u, page.Items().size());
    EXPECT_EQ(2000u * 260u, ExclusionText().size());
}

TEST_F(SettingsStore, StoringTheListWritesAMultiStringOfExactSize)
{
    ListBoxFixture page;
    page.Add("C:\\Program Files\\Zeta\\zeta.exe");
    page.Add("C:\\Windows\\notepad.exe");
    page.Add("C:\\Apps\\alpha.exe");
    page.Add("");  // an empty item must not end the stored list early
    page.Add(std::string("C:\\") + std::string(300, 'L'));  // cut to 259 characters

    StoreExclusionList(page.list);

    DWORD type = 0;
    std::string data;
    ASSERT_TRUE(ReadRawSetting("Exclusion", &type, &data));
    EXPECT_EQ(static_cast<DWORD>(REG_MULTI_SZ), type);
    const std::string cut = std::string("C:\\") + std::string(256, 'L');
    const std::string expected = std::string("C:\\Apps\\alpha.exe") + '\0' + cut + '\0' +
                                 "C:\\Program Files\\Zeta\\zeta.exe" + '\0' +
                                 "C:\\Windows\\notepad.exe" + '\0' + '\0';
    EXPECT_EQ(expected, data);
    // The text in memory follows what was stored.
    EXPECT_EQ("C:\\Apps\\alpha.exe\n" + cut +
                  "\nC:\\Program Files\\Zeta\\zeta.exe\nC:\\Windows\\notepad.exe\n",
              ExclusionText());
}

TEST_F(SettingsStore, StoringAnEmptyListDeletesTheValue)
{
    SetMultiString(std::string("C:\\one.exe\0\0", 12));
    LoadExclusionList(nullptr);
    ASSERT_EQ("C:\\one.exe\n", ExclusionText());

    ListBoxFixture page;
    StoreExclusionList(page.list);
    EXPECT_FALSE(SettingExists("Exclusion"));
    EXPECT_EQ("<absent>", ExclusionText());
    EXPECT_TRUE(SettingsKeyExists());
}

TEST_F(SettingsStore, DwordValuesCountOnlyWithTheRightTypeAndSize)
{
    SetDwordSetting("Good", 7);
    const WORD shortData = 3;
    SetRawSetting("Short", REG_DWORD, &shortData, sizeof shortData);
    const ULONGLONG longData = 3;
    SetRawSetting("Long", REG_DWORD, &longData, sizeof longData);
    SetRawSetting("Qword", REG_QWORD, &longData, sizeof longData);
    SetRawSetting("Text", REG_SZ, "1", 2);
    const DWORD binary = 1;
    SetRawSetting("Binary", REG_BINARY, &binary, sizeof binary);

    UniqueHkey key = OpenSettingsForQuery();
    ASSERT_TRUE(key);
    DWORD value = 99;
    EXPECT_TRUE(ReadDwordValue(key.get(), L"Good", &value));
    EXPECT_EQ(7u, value);
    for (const char* name : {"Short", "Long", "Qword", "Text", "Binary", "Missing"}) {
        value = 99;
        EXPECT_FALSE(ReadDwordValue(key.get(), Wide(name).c_str(), &value)) << name;
        EXPECT_EQ(99u, value) << name;
    }
}

TEST_F(SettingsStore, DisplayOptionsCreateTheKeyAndJudgeEachValueAlone)
{
    LoadDisplayOptions();
    EXPECT_TRUE(SettingsKeyExists());
    EXPECT_EQ(0u, CountSettingValues());
    EXPECT_TRUE(settings.restoreMinimized);
    EXPECT_TRUE(settings.groupByApps);
    EXPECT_TRUE(settings.switchOnRelease);
    EXPECT_FALSE(settings.thisMonitorOnly);

    SetDwordSetting("RestoreMinimized", 2);  // anything but 1 is off
    SetRawSetting("GroupByApps", REG_SZ, "0", 2);  // another type leaves the field alone
    SetDwordSetting("SwitchOnRelease", 0);
    SetDwordSetting("ThisMonitorOnly", 2);
    LoadDisplayOptions();
    EXPECT_FALSE(settings.restoreMinimized);
    EXPECT_TRUE(settings.groupByApps);
    EXPECT_FALSE(settings.switchOnRelease);
    EXPECT_FALSE(settings.thisMonitorOnly);

    SetDwordSetting("RestoreMinimized", 1);
    SetDwordSetting("GroupByApps", 0);
    SetDwordSetting("ThisMonitorOnly", 1);
    LoadDisplayOptions();
    EXPECT_TRUE(settings.restoreMinimized);
    EXPECT_FALSE(settings.groupByApps);
    EXPECT_TRUE(settings.thisMonitorOnly);

    // Only the DWORD 1 counts as on for the monitor option: a "1" of another type is off.
    SetRawSetting("ThisMonitorOnly", REG_SZ, "1", 2);
    LoadDisplayOptions();
    EXPECT_FALSE(settings.thisMonitorOnly);

    // Missing values keep whatever the fields hold, but the monitor option, off unless stored on.
    settings.thisMonitorOnly = true;
    DeleteSettingsKey();
    LoadDisplayOptions();
    EXPECT_TRUE(settings.restoreMinimized);
    EXPECT_FALSE(settings.groupByApps);
    EXPECT_FALSE(settings.thisMonitorOnly);
}

TEST_F(SettingsStore, WelcomeTipCountsAsDismissedByAnyInfo1)
{
    EXPECT_FALSE(WelcomeTipDismissed());
    SetRawSetting("Info1", REG_SZ, "no", 3);
    EXPECT_TRUE(WelcomeTipDismissed());
    DeleteSettingsKey();
    DismissWelcomeTip();
    DWORD type = 0;
    std::string data;
    ASSERT_TRUE(ReadRawSetting("Info1", &type, &data));
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
    EXPECT_EQ(std::string("\1\0\0\0", 4), data);
}
