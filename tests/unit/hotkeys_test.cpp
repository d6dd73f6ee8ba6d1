#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <numeric>
#include <set>
#include <string>

#include "app/app.h"
#include "common/text.h"
#include "config/hotkeys.h"
#include "config/settings.h"
#include "resources/resource.h"
#include "test_support.h"

namespace {

std::string KeyName(unsigned code, size_t capacity = 10)
{
    wchar_t buffer[64];
    wmemset(buffer, L'x', std::size(buffer));
    KeyNameFromCode(code, buffer, capacity);
    return Narrow(buffer);
}

std::string ModifierName(unsigned flags)
{
    wchar_t buffer[10];
    ModifierNameFromFlags(flags, buffer, std::size(buffer));
    return Narrow(buffer);
}

const std::string kConflictTail =
    " combination key.\n\nIt is currently being used for another purpose by Sorvane or by another "
    "application. Please use the \"Configure\" menu to select a different combination key. "
    "Alternatively, you may disable the key combination of that particular application.";

// Hotkeys are registered on a test window standing in for the main window.
class HotkeyRegistration : public ::testing::Test {
protected:
    void SetUp() override
    {
        DeleteSettingsKey();
        settings = Settings{};
        lstrcpyW(appTitle, L"Sorvane");
        mainWindow = CreateTestWindow();
        other = CreateTestWindow();
    }
    void TearDown() override
    {
        for (const HotkeySlot& slot : kHotkeySlots) UnregisterHotKey(mainWindow, slot.id);
        UnregisterHotKey(other, 1);
        DestroyWindow(other);
        DestroyWindow(mainWindow);
        mainWindow = nullptr;
        settings = Settings{};
        DeleteSettingsKey();
    }
    // Whether another window can take the combination (so nobody holds it).
    bool Free(UINT modifiers, UINT key)
    {
        if (!RegisterHotKey(other, 1, modifiers, key)) return false;
        UnregisterHotKey(other, 1);
        return true;
    }
    HWND other = nullptr;
    // Answers any warning, so that a refused combination never blocks a test.
    MessageBoxWatcher boxes{"Sorvane"};
};

}  // namespace

TEST(KeyTable, HoldsSixtyUniqueKeysInPageOrder)
{
    ASSERT_EQ(60u, kKeyTableSize);
    std::set<std::string> labels;
    std::set<unsigned> codes;
    for (const KeyTableEntry& entry : KeyTable) {
        EXPECT_LE(wcslen(entry.label), 3u) << entry.label;
        labels.insert(Narrow(entry.label));
        codes.insert(entry.code);
    }
    EXPECT_EQ(60u, labels.size());
    EXPECT_EQ(60u, codes.size());
    EXPECT_STREQ(L"Tab", KeyTable[0].label);
    EXPECT_STREQ(L"Esc", KeyTable[1].label);
    EXPECT_STREQ(L"F11", KeyTable[12].label);
    EXPECT_EQ(122u, KeyTable[12].code);
    EXPECT_STREQ(L"0", KeyTable[13].label);
    EXPECT_STREQ(L"A", KeyTable[23].label);
    EXPECT_STREQ(L"Z", KeyTable[48].label);
    EXPECT_STREQ(L"~", KeyTable[49].label);
    EXPECT_EQ(192u, KeyTable[49].code);
    EXPECT_STREQ(L"/", KeyTable[59].label);
    EXPECT_EQ(191u, KeyTable[59].code);
}

TEST(KeyNames, EveryTableKeyRoundTrips)
{
    for (const KeyTableEntry& entry : KeyTable) {
        EXPECT_EQ(Narrow(entry.label), KeyName(entry.code));
        EXPECT_EQ(entry.code, KeyCodeFromName(entry.label));
    }
}

TEST(KeyNames, UnknownCodesGetAShortNumberedName)
{
    EXPECT_EQ("#123", KeyName(123));  // F12 is not in the table
    EXPECT_EQ("(None)", KeyName(0));
    EXPECT_EQ("#99999999", KeyName(99999999));
    EXPECT_EQ("#?", KeyName(0xFFFFFFFFu));
    for (unsigned code : {0u, 255u, 123456u, 4000000000u}) EXPECT_LE(KeyName(code).size(), 9u);
    EXPECT_EQ("F1", KeyName(122, 3));  // cut at capacity - 1
    EXPECT_EQ("#1", KeyName(123, 3));
}

TEST(KeyNames, NamesMatchExactlyAndCaseSensitively)
{
    EXPECT_EQ(0u, KeyCodeFromName(L""));
    EXPECT_EQ(0u, KeyCodeFromName(L"F12"));
    EXPECT_EQ(0u, KeyCodeFromName(L"a"));
    EXPECT_EQ(0u, KeyCodeFromName(L"tab"));
    EXPECT_EQ(0u, KeyCodeFromName(L"Tab "));
    EXPECT_EQ(0u, KeyCodeFromName(nullptr));
    EXPECT_EQ(69u, KeyCodeFromName(L"E"));
    EXPECT_EQ(27u, KeyCodeFromName(L"Esc"));
    EXPECT_EQ(220u, KeyCodeFromName(L"\\"));
}

// The punctuation keys' names (table order: ` - = [ ] \ ; ' , . /) when they type these characters (blank:
// none). French as Wine maps it; then characters taken already, and a short name for the first key.
TEST(KeyNames, PunctuationKeysTakeTheLayoutsNamesEachOnce)
{
    auto labels = [](const wchar_t* typed, const wchar_t* firstName = L"") {
        LayoutKeys layout{};
        for (size_t k = 0; k < kPunctuationKeys; ++k) layout[k].typed = typed[k];
        CopyBounded(layout[0].name, std::size(layout[0].name), firstName);
        const KeyLabels all = KeyLabelsFor(layout);
        std::string text = Narrow(all[0].data());  // "Tab" whatever the layout
        for (size_t i = kFirstPunctuationKey; i < kKeyTableSize; ++i) text.append(" ").append(Narrow(all[i].data()));
        return text;
    };
    EXPECT_EQ("Tab \u00D9 - = ) ^ * $ \u00B2 , ; :", labels(L"\u00D9 =)^*$\u00B2,;:", L"ugrave"));
    EXPECT_EQ("Tab \u00D9 = #187 [ ] \\ #186 ' , ; /", labels(L"2== ]\\ ',;/", L"\u00D9"));
    for (UINT none : {0u, UINT{VK_OEM_102}, UINT{VK_F12}}) EXPECT_EQ(192u, DefaultAppKeyFrom(none));
}

TEST(ModifierNames, OneFlagEachAndNoneForTheRest)
{
    EXPECT_EQ("Alt", ModifierName(1));
    EXPECT_EQ("Ctrl", ModifierName(2));
    EXPECT_EQ("Shift", ModifierName(4));
    EXPECT_EQ("Win", ModifierName(8));
    for (unsigned flags : {0u, 3u, 5u, 9u, 16u, 0xFFFFFFFFu}) EXPECT_EQ("(None)", ModifierName(flags));
    EXPECT_EQ(1u, ModifierFlagsFromName(L"Alt"));
    EXPECT_EQ(2u, ModifierFlagsFromName(L"Ctrl"));
    EXPECT_EQ(4u, ModifierFlagsFromName(L"Shift"));
    EXPECT_EQ(8u, ModifierFlagsFromName(L"Win"));
    const wchar_t* const others[] = {L"(None)", L"", L"alt", L"WIN", L"Alt+", nullptr};
    for (const wchar_t* text : others) EXPECT_EQ(0u, ModifierFlagsFromName(text));
}

TEST(HotkeyConflictText, NamesTheCombination)
{
    wchar_t text[300];
    FormatHotkeyConflict(8, 90, text, std::size(text));
    EXPECT_EQ("Sorvane cannot handle the Win-Z" + kConflictTail, Narrow(text));
    FormatHotkeyConflict(0, 116, text, std::size(text));
    EXPECT_EQ("Sorvane cannot handle the (None)-F5" + kConflictTail, Narrow(text));
    // The longest names still fit in the 300-character buffer.
    FormatHotkeyConflict(6, 99999999, text, std::size(text));
    EXPECT_EQ("Sorvane cannot handle the (None)-#99999999" + kConflictTail, Narrow(text));
    wchar_t small[20];
    FormatHotkeyConflict(1, 9, small, std::size(small));
    EXPECT_STREQ(L"Sorvane cannot hand", small);
}

TEST(HotkeyOk, OnlyAChosenRefusedCombinationHoldsTheSheetAndOnlyNewsIsWarned)
{
    auto judge = [](bool changed, bool wasRegistered, bool registered) {
        const HotkeyVerdict verdict = JudgeAppliedHotkey({changed, wasRegistered, registered});
        return std::string(verdict.warn ? "warn" : "quiet") + (verdict.keepOpen ? ",open" : "");
    };
    EXPECT_EQ("quiet", judge(true, false, true));
    EXPECT_EQ("quiet", judge(false, true, true));
    EXPECT_EQ("warn,open", judge(true, true, false));
    EXPECT_EQ("warn,open", judge(true, false, false));
    EXPECT_EQ("quiet", judge(false, false, false)) << "refused already: the shell holds Win+A";
    EXPECT_EQ("warn", judge(false, true, false)) << "taken since by another program";
}

// Each case in every order of the rows: the same combinations are warned about, once each, and the
// same rows go back.
TEST(HotkeyOk, ADuplicateTakesBackOnlyTheChangedRowsThatShareItInAnyRowOrder)
{
    const HotkeyCombination altTab{MOD_ALT, VK_TAB}, winZ{MOD_WIN, 'Z'}, winA{MOD_WIN, 'A'};
    const HotkeyCombination altTilde{MOD_ALT, VK_OEM_3}, ctrlF9{MOD_CONTROL, VK_F9}, bareF5{0, VK_F5}, altOff{MOD_ALT, 0};
    const HotkeyCombinations defaults{altTab, winZ, winA, altTilde}, aliked{altTab, winA, winA, altTilde};
    struct Case {
        HotkeyCombinations before, chosen, inForce;
        const char* warned;
    };
    // Every row order is tried below, so one case stands for each row taking another's combination.
    const Case cases[] = {
        {defaults, {altTab, winA, winA, altTilde}, defaults, "Win-A"},                        // one row to another's
        {defaults, {ctrlF9, ctrlF9, winA, bareF5}, {altTab, winZ, winA, bareF5}, "Ctrl-F9"},  // both go back, App's stands
        {defaults, {ctrlF9, winZ, winA, winZ}, {ctrlF9, winZ, winA, altTilde}, "Win-Z"},      // Show's stands
        {{altTab, winZ, bareF5, altTilde}, {bareF5, winZ, bareF5, altTilde}, {altTab, winZ, bareF5, altTilde}, "(None)-F5"},
        {defaults, {altTilde, winA, winZ, altTab}, {altTilde, winA, winZ, altTab}, ""},       // swapped: no duplicate
        {aliked, aliked, aliked, ""},  // alike already: left to registration
        {aliked, {winA, winA, winA, altTilde}, aliked, "Win-A"},
        {defaults, {winZ, ctrlF9, ctrlF9, altTilde}, defaults, "Ctrl-F9 Win-Z"},  // Recent back on Win+Z takes Show back
        {defaults, {altOff, altOff, winA, altOff}, {altOff, altOff, winA, altOff}, ""},       // rows off share nothing
    };
    for (const Case& test : cases) {
        std::array<size_t, std::tuple_size_v<HotkeyCombinations>> order{};
        std::iota(order.begin(), order.end(), size_t{0});
        do {
            HotkeyCombinations before{}, chosen{}, inForce{};
            for (size_t i = 0; i < order.size(); ++i) {
                before[i] = test.before[order[i]];
                chosen[i] = test.chosen[order[i]];
                inForce[i] = test.inForce[order[i]];
            }
            const SettledHotkeys settled = SettleDuplicatedHotkeys(before, chosen);
            std::multiset<std::string> warned;
            for (size_t i = 0; i < settled.warned.size(); ++i)
                if (settled.warned[i]) warned.insert(ModifierName(chosen[i].modifiers) + "-" + KeyName(chosen[i].key));
            std::string names;
            for (const std::string& name : warned) names.append(names.empty() ? "" : " ").append(name);
            EXPECT_EQ(test.warned, names) << "rows in the order " << ::testing::PrintToString(order);
            EXPECT_TRUE(settled.inForce == inForce) << "rows in the order " << ::testing::PrintToString(order);
        } while (std::next_permutation(order.begin(), order.end()));
    }
}

TEST_F(HotkeyRegistration, DefaultsAreRegisteredWithoutAKey)
{
    RegisterStoredHotkeys();
    EXPECT_TRUE(boxes.Texts().empty());
    EXPECT_EQ(1u, settings.showModifiers);
    EXPECT_EQ(9u, settings.showKey);
    EXPECT_EQ(8u, settings.recentModifiers);
    EXPECT_EQ(90u, settings.recentKey);
    EXPECT_EQ(8u, settings.othersModifiers);
    EXPECT_EQ(65u, settings.othersKey);
    EXPECT_EQ(1u, settings.appModifiers);
    EXPECT_EQ(DefaultAppKey(), settings.appKey);
    EXPECT_TRUE(settings.showRegistered && settings.recentRegistered && settings.othersRegistered &&
                settings.appRegistered);
    EXPECT_FALSE(Free(MOD_ALT, VK_TAB));
    EXPECT_FALSE(Free(MOD_WIN, 'Z'));
    EXPECT_FALSE(Free(MOD_WIN, 'A'));
    EXPECT_FALSE(Free(MOD_ALT, DefaultAppKey()));

    // Loading again releases the old combinations and takes the new ones; two turned off hold nothing.
    SetDwordSetting("ShowMod", 2);
    SetDwordSetting("ShowKey", 116);
    SetDwordSetting("AppKey", 49);
    SetDwordSetting("RecentKey", 0);
    SetDwordSetting("OthersKey", 0);
    RegisterStoredHotkeys();
    EXPECT_TRUE(settings.showRegistered && settings.appRegistered);
    EXPECT_TRUE(boxes.Texts().empty() && !settings.recentRegistered && !settings.othersRegistered);
    EXPECT_TRUE(Free(MOD_ALT, VK_TAB));
    EXPECT_FALSE(Free(MOD_CONTROL, VK_F5));
    EXPECT_TRUE(Free(MOD_ALT, DefaultAppKey()));
    EXPECT_FALSE(Free(MOD_ALT, '1'));
}

TEST_F(HotkeyRegistration, EachValueFallsBackByItself)
{
    SetRawSetting("ShowMod", REG_SZ, "2", 2);  // a string reads as absent: Alt
    SetDwordSetting("ShowKey", 112);            // F1
    const WORD shortKey = 'Q';
    SetRawSetting("RecentKey", REG_DWORD, &shortKey, sizeof shortKey);  // wrong size: Z
    SetDwordSetting("RecentMod", 2);
    SetDwordSetting("OthersMod", 4);  // Shift, set by hand, is registered as stored
    const ULONGLONG ctrl = 2;
    SetRawSetting("AppMod", REG_QWORD, &ctrl, sizeof ctrl);  // another type: Alt
    SetDwordSetting("AppKey", 187);                           // "="
    RegisterStoredHotkeys();
    EXPECT_EQ(1u, settings.showModifiers);
    EXPECT_EQ(112u, settings.showKey);
    EXPECT_EQ(2u, settings.recentModifiers);
    EXPECT_EQ(90u, settings.recentKey);
    EXPECT_EQ(4u, settings.othersModifiers);
    EXPECT_EQ(65u, settings.othersKey);
    EXPECT_EQ(1u, settings.appModifiers);
    EXPECT_EQ(187u, settings.appKey);
    EXPECT_FALSE(Free(MOD_ALT, VK_F1));
    EXPECT_FALSE(Free(MOD_CONTROL, 'Z'));
    EXPECT_FALSE(Free(MOD_SHIFT, 'A'));
    EXPECT_FALSE(Free(MOD_ALT, VK_OEM_PLUS));
}

TEST_F(HotkeyRegistration, RefusedCombinationsWarnOnceEachInOrder)
{
    for (const char* name : {"ShowMod", "RecentMod", "OthersMod", "AppMod"}) SetDwordSetting(name, 2);
    for (const char* name : {"ShowKey", "RecentKey", "OthersKey", "AppKey"}) SetDwordSetting(name, 120);
    RegisterStoredHotkeys();
    const std::vector<std::string> texts = boxes.Texts();
    ASSERT_EQ(3u, texts.size());  // Recent's, Others', then App's
    for (const std::string& text : texts) EXPECT_EQ("Sorvane cannot handle the Ctrl-F9" + kConflictTail, text);
    EXPECT_TRUE(settings.showRegistered);
    EXPECT_FALSE(settings.recentRegistered);
    EXPECT_FALSE(settings.othersRegistered);
    EXPECT_FALSE(settings.appRegistered);
}

TEST_F(HotkeyRegistration, ACombinationTakenElsewhereIsReportedAndTheRestStillRegister)
{
    ASSERT_TRUE(RegisterHotKey(other, 1, MOD_WIN, 'Z'));
    RegisterStoredHotkeys();
    const std::vector<std::string> texts = boxes.Texts();
    ASSERT_EQ(1u, texts.size());
    EXPECT_EQ("Sorvane cannot handle the Win-Z" + kConflictTail, texts[0]);
    EXPECT_TRUE(settings.showRegistered);
    EXPECT_FALSE(settings.recentRegistered);
    EXPECT_TRUE(settings.othersRegistered);
    EXPECT_TRUE(settings.appRegistered);
}

TEST_F(HotkeyRegistration, WithAPageOnlyLoadsAndSelects)
{
    HWND page = CreateTestWindow();
    for (const HotkeySlot& slot : kHotkeySlots) {
        for (int id : {slot.modifierBox, slot.keyBox})
            CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | CBS_DROPDOWNLIST | WS_VSCROLL, 0, 0, 60, 200,
                            page, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            GetModuleHandleA(nullptr), nullptr);
        FillShortcutCombos(page, slot.modifierBox, slot.keyBox);
    }
    EXPECT_EQ(4, SendDlgItemMessageA(page, IDC_SHOW_MOD, CB_GETCOUNT, 0, 0));
    EXPECT_EQ(61, SendDlgItemMessageA(page, IDC_OTHERS_KEY_BOX, CB_GETCOUNT, 0, 0));

    SetDwordSetting("ShowKey", 69);      // "E", not "Esc"
    SetDwordSetting("RecentKey", 84);    // "T", not "Tab"
    SetDwordSetting("RecentMod", 4);     // Shift: no entry, no selection
    SetDwordSetting("OthersKey", 123);   // not in the table: no selection
    SetDwordSetting("OthersMod", 0);
    SetDwordSetting("AppMod", 2);        // Ctrl, and the default "~"
    settings.showKey = 70;  // what the live record holds stays there
    const HotkeyCombinations loaded = ShowStoredHotkeysOnPage(page);
    EXPECT_EQ(69u, loaded[0].key);
    EXPECT_EQ(4u, loaded[1].modifiers);
    EXPECT_EQ(70u, settings.showKey);
    EXPECT_EQ(0u, settings.recentModifiers);

    auto selected = [page](int id) {
        const LRESULT index = SendDlgItemMessageA(page, id, CB_GETCURSEL, 0, 0);
        if (index < 0) return std::string("<none>");
        char text[16] = {};
        SendDlgItemMessageA(page, id, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
        return std::string(text);
    };
    EXPECT_EQ("Alt", selected(IDC_SHOW_MOD));
    EXPECT_EQ("E", selected(IDC_SHOW_KEY_BOX));
    EXPECT_EQ("<none>", selected(IDC_RECENT_MOD));
    EXPECT_EQ("T", selected(IDC_RECENT_KEY_BOX));
    EXPECT_EQ("(None)", selected(IDC_OTHERS_MOD));
    EXPECT_EQ("<none>", selected(IDC_OTHERS_KEY_BOX));
    EXPECT_EQ("Ctrl", selected(IDC_APP_MOD));
    EXPECT_EQ("~", selected(IDC_APP_KEY_BOX));
    EXPECT_FALSE(settings.showRegistered || settings.recentRegistered || settings.othersRegistered ||
                 settings.appRegistered);
    EXPECT_TRUE(Free(MOD_ALT, 'E'));
    DestroyWindow(page);
}
