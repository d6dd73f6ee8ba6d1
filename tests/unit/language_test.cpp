#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/help.h"
#include "common/language.h"
#include "resources/resource.h"
#include "test_support.h"
#include "windows/procinfo.h"

namespace {

BOOL CALLBACK AddLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR languages)
{
    if (language != MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL)) reinterpret_cast<std::set<LANGID>*>(languages)->insert(language);
    return TRUE;
}

}  // namespace

// Every language the resources hold has the menu, every dialog and every string of its own, and
// each string keeps English's placeholders (in number, order and type).
TEST(Languages, EachHasEveryMenuDialogAndTextWithEnglishsPlaceholders)
{
    HMODULE module = GetModuleHandleW(nullptr);
    std::vector<std::pair<LPCWSTR, UINT>> resources = {{RT_MENU, IDR_TRAY_MENU}};
    for (UINT dialog : {IDD_ABOUT, IDD_STARTING, IDD_PAGE_SHORTCUTS, IDD_PAGE_GESTURE, IDD_PAGE_EXCLUSION, IDD_PAGE_ADVANCED})
        resources.emplace_back(RT_DIALOG, dialog);
    for (UINT block = IDS_WELCOME_TIP / 16 + 1; block <= IDS_ABOUT_VERSION / 16 + 1; ++block)
        resources.emplace_back(RT_STRING, block);
    std::set<LANGID> languages;
    for (const auto& [type, id] : resources)
        EnumResourceLanguagesW(module, type, MAKEINTRESOURCEW(id), AddLanguage, reinterpret_cast<LONG_PTR>(&languages));
    ASSERT_EQ(1u, languages.count(kEnglishLanguage));
    for (LANGID language : languages) {
        SCOPED_TRACE(language);
        for (const auto& [type, id] : resources)
            EXPECT_TRUE(FindResourceExW(module, type, MAKEINTRESOURCEW(id), language)) << "lacks " << id;
        for (UINT id = IDS_WELCOME_TIP; id <= IDS_ABOUT_VERSION; ++id) {
            const std::wstring text = LoadTextIn(language, id);
            EXPECT_FALSE(text.empty()) << "lacks string " << id;
            EXPECT_EQ(Narrow(PlaceholdersOf(LoadTextIn(kEnglishLanguage, id))), Narrow(PlaceholdersOf(text))) << id;
        }
    }
    EXPECT_EQ(L"ls d lu % ", PlaceholdersOf(L"%ls, 100%% %-3d %lu%"));
}

// The Language setting, the help page and the numbers of the information tip, as pure decisions.
TEST(Languages, ASettingAHelpPageAndNumbersAsTheUserWritesThem)
{
    EXPECT_EQ(&kShippedLanguages[1], ShippedLanguageNamed(L"DE-de"));
    EXPECT_EQ(nullptr, ShippedLanguageNamed(L"de-AT"));
    EXPECT_EQ(nullptr, ShippedLanguageNamed(L""));
    EXPECT_EQ(L"Sorvane.de.html", HelpPageNameFor(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN_AUSTRIAN)));
    EXPECT_EQ(L"Sorvane.pt-BR.html", HelpPageNameFor(MAKELANGID(LANG_PORTUGUESE, SUBLANG_PORTUGUESE_BRAZILIAN)));
    EXPECT_EQ(L"Sorvane.html", HelpPageNameFor(MAKELANGID(LANG_PORTUGUESE, SUBLANG_PORTUGUESE)));
    EXPECT_EQ(L"Sorvane.zh-CN.html", HelpPageNameFor(MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED)));
    EXPECT_EQ(L"Sorvane.html", HelpPageNameFor(MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL)));
    EXPECT_EQ(L"Sorvane.html", HelpPageNameFor(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_UK)));
    EXPECT_EQ(3u, NumberGrouping(L"3;0"));
    EXPECT_EQ(32u, NumberGrouping(L"3;2;0"));
    EXPECT_EQ(30u, NumberGrouping(L"3"));
    EXPECT_EQ(L"1,234,567", CountText(1234567));  // the unit tests run in English (US)
}
