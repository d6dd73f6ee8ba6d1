#include "config/hotkeys.h"

#include <cstring>

#include "common/instance.h"
#include "common/language.h"
#include "common/text.h"
#include "config/settings.h"
#include "resources/resource.h"

namespace {

struct ModifierName {
    UINT name;  // its string
    unsigned flags;
};
constexpr ModifierName kModifierNames[] = {
    {IDS_MODIFIER_ALT, 1}, {IDS_MODIFIER_CTRL, 2}, {IDS_MODIFIER_SHIFT, 4}, {IDS_MODIFIER_WIN, 8}};
// The modifier boxes offer no "Shift"; the first choice of every box is "(None)": no modifier, or
// no key (the hotkey is off).
constexpr ModifierName kModifierChoices[] = {
    {IDS_NONE_CHOICE, 0}, {IDS_MODIFIER_ALT, 1}, {IDS_MODIFIER_CTRL, 2}, {IDS_MODIFIER_WIN, 8}};

// Adds an item to a box with the flags or the key code it stands for.
void AddChoice(HWND page, int box, const wchar_t* text, DWORD value)
{
    const LRESULT item = SendDlgItemMessageW(page, box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    if (item >= 0) SendDlgItemMessageW(page, box, CB_SETITEMDATA, static_cast<WPARAM>(item), value);
}

// Selects the item that stands for the value; none when no item does.
void SelectChoice(HWND combo, DWORD value)
{
    const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    LRESULT found = -1;
    for (LRESULT i = 0; i < count && found < 0; ++i)
        if (static_cast<DWORD>(SendMessageW(combo, CB_GETITEMDATA, i, 0)) == value) found = i;
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
}

constexpr size_t kNameBuffer = kKeyNameBuffer;
constexpr size_t kConflictBuffer = 300;

// What each punctuation key types on a US keyboard, in key-table order.
constexpr wchar_t kUsTyped[] = L"`-=[]\\;',./";
static_assert(std::size(kUsTyped) == kPunctuationKeys + 1);

// The names KeyNameFromCode and KeyCodeFromName use (GUI thread only).
KeyLabels keyLabels;
bool keyLabelsRead = false;

const KeyLabels& CurrentKeyLabels()
{
    if (!keyLabelsRead) ReadKeyLabels();
    return keyLabels;
}

// A name the page can show: 1 to 9 characters, none of them blank, a control or half a pair.
bool Printable(const wchar_t* text)
{
    const size_t length = wcslen(text);
    if (length == 0 || length >= kNameBuffer) return false;
    for (size_t i = 0; i < length; ++i) {
        const wchar_t unit = text[i];
        if (unit <= L' ' || (unit >= 0x7F && unit <= 0x9F) || IsHighSurrogate(unit) || IsLowSurrogate(unit))
            return false;
    }
    return true;
}

// The character the key types without modifiers, in capitals; 0 for none. ToUnicodeEx reads it as
// the layout types it (MapVirtualKeyW's MAPVK_VK_TO_CHAR loses what lies outside ASCII under Wine in a
// non-UTF-8 locale). A dead key gives its accent, and leaves it pending for the next key typed:
// flag 4 keeps the keyboard state as it is (Windows 10 1607 on), and before that the dead key typed
// again clears it.
wchar_t TypedCharacter(UINT key, UINT scanCode, HKL layout)
{
    const BYTE noKeysDown[256] = {};
    wchar_t text[8] = {};
    int count = ToUnicodeEx(key, scanCode, noKeysDown, text, static_cast<int>(std::size(text)), 4, layout);
    wchar_t typed = count != 0 ? text[0] : 0;
    for (int again = 0; count < 0 && again < 2; ++again) {
        wchar_t ignored[8];
        count = ToUnicodeEx(key, scanCode, noKeysDown, ignored, static_cast<int>(std::size(ignored)), 4, layout);
    }
    CharUpperBuffW(&typed, 1);
    return typed;
}

}  // namespace

const HotkeySlot kHotkeySlots[4] = {
    {HOTKEY_SHOW, L"ShowMod", L"ShowKey", kDefaultShowModifiers, kDefaultShowKey,
     &Settings::showModifiers, &Settings::showKey, &Settings::showRegistered, IDC_SHOW_MOD,
     IDC_SHOW_KEY_BOX},
    {HOTKEY_RECENT, L"RecentMod", L"RecentKey", kDefaultRecentModifiers, kDefaultRecentKey,
     &Settings::recentModifiers, &Settings::recentKey, &Settings::recentRegistered,
     IDC_RECENT_MOD, IDC_RECENT_KEY_BOX},
    {HOTKEY_OTHERS, L"OthersMod", L"OthersKey", kDefaultOthersModifiers, kDefaultOthersKey,
     &Settings::othersModifiers, &Settings::othersKey, &Settings::othersRegistered,
     IDC_OTHERS_MOD, IDC_OTHERS_KEY_BOX},
    {HOTKEY_APP, L"AppMod", L"AppKey", kDefaultAppModifiers, kDefaultAppKey, &Settings::appModifiers,
     &Settings::appKey, &Settings::appRegistered, IDC_APP_MOD, IDC_APP_KEY_BOX},
};

KeyTexts LoadKeyTexts()
{
    return {LoadText(IDS_NONE_CHOICE), LoadText(IDS_KEY_TAB), LoadText(IDS_KEY_ESC)};
}

KeyLabels KeyLabelsFor(const LayoutKeys& layout, const KeyTexts& texts)
{
    KeyLabels labels{};
    std::array<bool, kKeyTableSize> named{};
    auto taken = [&](const wchar_t* text) {
        if (texts.none == text) return true;
        for (size_t i = 0; i < kKeyTableSize; ++i)
            if (named[i] && wcscmp(labels[i].data(), text) == 0) return true;
        return false;
    };
    auto name = [&](size_t i, const wchar_t* text) {
        CopyBounded(labels[i].data(), labels[i].size(), text);
        named[i] = true;
    };
    // Tab and Esc as the language writes them, the other keys as the table does.
    const wchar_t* const spelled[] = {texts.tab.c_str(), texts.esc.c_str()};
    for (size_t i = 0; i < kFirstPunctuationKey; ++i)
        name(i, i < std::size(spelled) && Printable(spelled[i]) ? spelled[i] : KeyTable[i].label);
    // First what the layout says, so that a table label one key leaves may go to another.
    for (size_t k = 0; k < kPunctuationKeys; ++k) {
        const size_t i = kFirstPunctuationKey + k;
        const wchar_t typed[2] = {layout[k].typed, 0};
        const wchar_t* character = typed[0] == kUsTyped[k] ? KeyTable[i].label : typed;
        for (const wchar_t* candidate : {character, layout[k].name})
            if (!named[i] && Printable(candidate) && !taken(candidate)) name(i, candidate);
    }
    for (size_t i = kFirstPunctuationKey; i < kKeyTableSize; ++i) {
        if (named[i]) continue;
        wchar_t text[kNameBuffer];
        if (taken(KeyTable[i].label))
            FormatBounded(text, std::size(text), L"#%u", KeyTable[i].code);
        else
            CopyBounded(text, std::size(text), KeyTable[i].label);
        name(i, text);
    }
    return labels;
}

void ReadKeyLabels()
{
    LayoutKeys layout{};
    const HKL current = GetKeyboardLayout(0);
    for (size_t k = 0; k < kPunctuationKeys; ++k) {
        const UINT key = KeyTable[kFirstPunctuationKey + k].code;
        const UINT scanCode = MapVirtualKeyExW(key, MAPVK_VK_TO_VSC, current);
        layout[k].typed = TypedCharacter(key, scanCode, current);
        if (scanCode && GetKeyNameTextW(static_cast<LONG>(scanCode << 16), layout[k].name,
                                        static_cast<int>(std::size(layout[k].name))) <= 0)
            layout[k].name[0] = 0;
    }
    keyLabels = KeyLabelsFor(layout, LoadKeyTexts());
    keyLabelsRead = true;
}

void KeyNameFromCode(unsigned code, wchar_t* buffer, size_t capacity)
{
    if (code == kNoKey) {
        CopyBounded(buffer, capacity, LoadText(IDS_NONE_CHOICE).c_str());
        return;
    }
    const KeyLabels& labels = CurrentKeyLabels();
    for (size_t i = 0; i < kKeyTableSize; ++i) {
        if (KeyTable[i].code == code) {
            CopyBounded(buffer, capacity, labels[i].data());
            return;
        }
    }
    // Only a hand-edited registry holds such a code: name it by its number.
    wchar_t text[kNameBuffer];
    if (code <= 99999999u)
        FormatBounded(text, std::size(text), L"#%u", code);
    else
        CopyBounded(text, std::size(text), L"#?");
    CopyBounded(buffer, capacity, text);
}

unsigned KeyCodeFromName(const wchar_t* name)
{
    if (!name) return kNoKey;
    const KeyLabels& labels = CurrentKeyLabels();
    for (size_t i = 0; i < kKeyTableSize; ++i)
        if (wcscmp(labels[i].data(), name) == 0) return KeyTable[i].code;
    return kNoKey;
}

void ModifierNameFromFlags(unsigned flags, wchar_t* buffer, size_t capacity)
{
    for (const ModifierName& modifier : kModifierNames) {
        if (modifier.flags == flags) {
            CopyBounded(buffer, capacity, LoadText(modifier.name).c_str());
            return;
        }
    }
    CopyBounded(buffer, capacity, LoadText(IDS_NONE_CHOICE).c_str());
}

unsigned ModifierFlagsFromName(const wchar_t* name)
{
    if (!name) return 0;
    for (const ModifierName& modifier : kModifierNames)
        if (LoadText(modifier.name) == name) return modifier.flags;
    return 0;
}

void FormatHotkeyConflict(unsigned modifiers, unsigned key, wchar_t* buffer, size_t capacity)
{
    wchar_t modifierName[kNameBuffer];
    wchar_t keyName[kNameBuffer];
    ModifierNameFromFlags(modifiers, modifierName, std::size(modifierName));
    KeyNameFromCode(key, keyName, std::size(keyName));
    CopyBounded(buffer, capacity, FormatText(IDS_HOTKEY_CONFLICT, modifierName, keyName).c_str());
}

void ReportHotkeyConflict(unsigned modifiers, unsigned key)
{
    wchar_t text[kConflictBuffer];
    FormatHotkeyConflict(modifiers, key, text, std::size(text));
    HWND owner = GetForegroundWindow();
    DWORD process = 0;
    if (owner) GetWindowThreadProcessId(owner, &process);
    if (process != GetCurrentProcessId()) owner = nullptr;
    MessageBoxW(owner, text, appTitle, MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
}

void FillShortcutCombos(HWND page, int modifierBox, int keyBox)
{
    for (const ModifierName& choice : kModifierChoices)
        AddChoice(page, modifierBox, LoadText(choice.name).c_str(), choice.flags);
    AddChoice(page, keyBox, LoadText(IDS_NONE_CHOICE).c_str(), kNoKey);
    const KeyLabels& labels = CurrentKeyLabels();
    for (size_t i = 0; i < kKeyTableSize; ++i) AddChoice(page, keyBox, labels[i].data(), KeyTable[i].code);
}

HotkeyCombinations DefaultHotkeys()
{
    HotkeyCombinations combinations{};
    for (size_t i = 0; i < combinations.size(); ++i) {
        const HotkeySlot& slot = kHotkeySlots[i];
        combinations[i] = {slot.defaultModifiers, slot.id == HOTKEY_APP ? DefaultAppKey() : slot.defaultKey};
    }
    return combinations;
}

HotkeyCombinations LiveHotkeys()
{
    HotkeyCombinations combinations{};
    for (size_t i = 0; i < combinations.size(); ++i)
        combinations[i] = {settings.*kHotkeySlots[i].modifiers, settings.*kHotkeySlots[i].key};
    return combinations;
}

void ShowHotkeysOnPage(HWND page, const HotkeyCombinations& combinations)
{
    for (size_t i = 0; i < combinations.size(); ++i) {
        const HotkeySlot& slot = kHotkeySlots[i];
        // A combination of modifiers shows as none, as its name is "(None)"; Shift shows as no choice.
        DWORD modifiers = combinations[i].modifiers;
        bool named = false;
        for (const ModifierName& modifier : kModifierNames) named = named || modifier.flags == modifiers;
        SelectChoice(GetDlgItem(page, slot.modifierBox), named ? modifiers : 0);
        SelectChoice(GetDlgItem(page, slot.keyBox), combinations[i].key);
    }
}

HotkeyVerdict JudgeAppliedHotkey(const AppliedHotkey& hotkey)
{
    if (hotkey.registered || hotkey.off) return {false, false};
    if (hotkey.changed) return {true, true};
    return {hotkey.wasRegistered, false};
}

SettledHotkeys SettleDuplicatedHotkeys(const HotkeyCombinations& before, const HotkeyCombinations& chosen)
{
    SettledHotkeys settled{chosen, {}};
    HotkeyCombinations& held = settled.inForce;
    // Each round takes back at least one changed hotkey for good: at most one round per hotkey.
    for (;;) {
        HotkeyFlags back{};
        bool any = false;
        for (size_t i = 0; i < held.size(); ++i) {
            if (held[i] == before[i] || held[i].key == kNoKey) continue;
            for (size_t j = 0; j < held.size(); ++j) back[i] = back[i] || (j != i && held[j] == held[i]);
            any = any || back[i];
        }
        if (!any) return settled;
        for (size_t i = 0; i < held.size(); ++i) {
            if (!back[i]) continue;
            bool warnedAlready = false;
            for (size_t j = 0; j < held.size(); ++j)
                warnedAlready = warnedAlready || (settled.warned[j] && chosen[j] == chosen[i]);
            settled.warned[i] = !warnedAlready;
            held[i] = before[i];
        }
    }
}

HotkeyCombinations ReadStoredHotkeys()
{
    HotkeyCombinations loaded = DefaultHotkeys();
    if (UniqueHkey key = OpenSettingsForQuery()) {
        for (size_t i = 0; i < loaded.size(); ++i) {
            DWORD value = 0;
            if (ReadDwordValue(key.get(), kHotkeySlots[i].modifierValue, &value)) loaded[i].modifiers = value;
            if (ReadDwordValue(key.get(), kHotkeySlots[i].keyValue, &value)) loaded[i].key = value;
        }
    }
    return loaded;
}

void StoreHotkeys(const HotkeyCombinations& combinations)
{
    UniqueHkey key = OpenSettingsForWrite();
    if (!key) return;
    for (size_t i = 0; i < combinations.size(); ++i) {
        WriteDwordValue(key.get(), kHotkeySlots[i].modifierValue, combinations[i].modifiers);
        WriteDwordValue(key.get(), kHotkeySlots[i].keyValue, combinations[i].key);
    }
}

HotkeyCombinations ShowStoredHotkeysOnPage(HWND page)
{
    const HotkeyCombinations loaded = ReadStoredHotkeys();
    ShowHotkeysOnPage(page, loaded);
    return loaded;
}

HotkeyCombinations RegisterStoredHotkeys(RefusedHotkeys refused)
{
    for (const HotkeySlot& slot : kHotkeySlots) {
        if (settings.*slot.registered) {
            UnregisterHotKey(mainWindow, slot.id);
            settings.*slot.registered = false;
        }
    }
    const HotkeyCombinations loaded = ReadStoredHotkeys();
    for (size_t i = 0; i < loaded.size(); ++i) {
        settings.*kHotkeySlots[i].modifiers = loaded[i].modifiers;
        settings.*kHotkeySlots[i].key = loaded[i].key;
    }
    for (const HotkeySlot& slot : kHotkeySlots) {
        if (settings.*slot.key == kNoKey) continue;
        if (RegisterHotKey(mainWindow, slot.id, settings.*slot.modifiers, settings.*slot.key))
            settings.*slot.registered = true;
        else if (refused == RefusedHotkeys::Warn)
            ReportHotkeyConflict(settings.*slot.modifiers, settings.*slot.key);
    }
    return loaded;
}
