#include "config/hotkeys.h"

#include <cstring>

#include "common/instance.h"
#include "common/text.h"
#include "config/settings.h"
#include "resources/resource.h"

const KeyTableEntry KeyTable[kKeyTableSize] = {
    {"Tab", 9},   {"Esc", 27},  {"F1", 112},  {"F2", 113},  {"F3", 114}, {"F4", 115},
    {"F5", 116},  {"F6", 117},  {"F7", 118},  {"F8", 119},  {"F9", 120}, {"F10", 121},
    {"F11", 122}, {"0", 48},    {"1", 49},    {"2", 50},    {"3", 51},   {"4", 52},
    {"5", 53},    {"6", 54},    {"7", 55},    {"8", 56},    {"9", 57},   {"A", 65},
    {"B", 66},    {"C", 67},    {"D", 68},    {"E", 69},    {"F", 70},   {"G", 71},
    {"H", 72},    {"I", 73},    {"J", 74},    {"K", 75},    {"L", 76},   {"M", 77},
    {"N", 78},    {"O", 79},    {"P", 80},    {"Q", 81},    {"R", 82},   {"S", 83},
    {"T", 84},    {"U", 85},    {"V", 86},    {"W", 87},    {"X", 88},   {"Y", 89},
    {"Z", 90},    {"~", 192},   {"-", 189},   {"=", 187},   {"[", 219},  {"]", 221},
    {"\\", 220},  {";", 186},   {"'", 222},   {",", 188},   {".", 190},  {"/", 191},
};

namespace {

struct ModifierName {
    const char* name;
    unsigned flags;
};
constexpr ModifierName kModifierNames[] = {{"Alt", 1}, {"Ctrl", 2}, {"Shift", 4}, {"Win", 8}};
constexpr char kNoModifier[] = "(None)";
// The modifier boxes offer no "Shift".
constexpr const char* kModifierChoices[] = {kNoModifier, "Alt", "Ctrl", "Win"};

constexpr size_t kNameBuffer = 10;
constexpr size_t kConflictBuffer = 300;

}  // namespace

const HotkeySlot kHotkeySlots[3] = {
    {HOTKEY_SHOW, "ShowMod", "ShowKey", kDefaultShowModifiers, kDefaultShowKey,
     &Settings::showModifiers, &Settings::showKey, &Settings::showRegistered, IDC_SHOW_MOD,
     IDC_SHOW_KEY_BOX},
    {HOTKEY_RECENT, "RecentMod", "RecentKey", kDefaultRecentModifiers, kDefaultRecentKey,
     &Settings::recentModifiers, &Settings::recentKey, &Settings::recentRegistered,
     IDC_RECENT_MOD, IDC_RECENT_KEY_BOX},
    {HOTKEY_OTHERS, "OthersMod", "OthersKey", kDefaultOthersModifiers, kDefaultOthersKey,
     &Settings::othersModifiers, &Settings::othersKey, &Settings::othersRegistered,
     IDC_OTHERS_MOD, IDC_OTHERS_KEY_BOX},
};

void KeyNameFromCode(unsigned code, char* buffer, size_t capacity)
{
    for (const KeyTableEntry& entry : KeyTable) {
        if (entry.code == code) {
            CopyBounded(buffer, capacity, entry.label);
            return;
        }
    }
    // Only a hand-edited registry holds such a code: name it by its number.
    char text[kNameBuffer];
    if (code <= 99999999u)
        FormatBounded(text, sizeof text, "#%u", code);
    else
        CopyBounded(text, sizeof text, "#?");
    CopyBounded(buffer, capacity, text);
}

unsigned KeyCodeFromName(const char* name)
{
    if (!name) return 0;
    for (const KeyTableEntry& entry : KeyTable)
        if (strcmp(entry.label, name) == 0) return entry.code;
    return 0;
}

void ModifierNameFromFlags(unsigned flags, char* buffer, size_t capacity)
{
    for (const ModifierName& modifier : kModifierNames) {
        if (modifier.flags == flags) {
            CopyBounded(buffer, capacity, modifier.name);
            return;
        }
    }
    CopyBounded(buffer, capacity, kNoModifier);
}

unsigned ModifierFlagsFromName(const char* name)
{
    if (!name) return 0;
    for (const ModifierName& modifier : kModifierNames)
        if (strcmp(modifier.name, name) == 0) return modifier.flags;
    return 0;
}

void FormatHotkeyConflict(unsigned modifiers, unsigned key, char* buffer, size_t capacity)
{
    char modifierName[kNameBuffer];
    char keyName[kNameBuffer];
    ModifierNameFromFlags(modifiers, modifierName, sizeof modifierName);
    KeyNameFromCode(key, keyName, sizeof keyName);
    FormatBounded(buffer, capacity,
                  "Sorvane cannot handle the %s-%s combination key.\n\n"
                  "It is currently being used for another purpose by Sorvane or by another "
                  "application. Please use the \"Configure\" menu to select a different "
                  "combination key. Alternatively, you may disable the key combination of that "
                  "particular application.",
                  modifierName, keyName);
}

void ReportHotkeyConflict(unsigned modifiers, unsigned key)
{
    char text[kConflictBuffer];
    FormatHotkeyConflict(modifiers, key, text, sizeof text);
    MessageBoxA(GetForegroundWindow(), text, appTitle, MB_OK | MB_ICONWARNING);
}

void FillShortcutCombos(HWND page, int modifierBox, int keyBox)
{
    for (const char* choice : kModifierChoices)
        SendDlgItemMessageA(page, modifierBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choice));
    for (const KeyTableEntry& entry : KeyTable)
        SendDlgItemMessageA(page, keyBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.label));
}

void SelectComboText(HWND combo, const char* text)
{
    // CB_FINDSTRINGEXACT ignores case; the names must match exactly.
    const LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, i, 0);
        char item[kNameBuffer];
        if (length < 0 || static_cast<size_t>(length) >= sizeof item) continue;
        SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
        if (strcmp(item, text) == 0) {
            SendMessageA(combo, CB_SETCURSEL, i, 0);
            return;
        }
    }
}

HotkeyCombinations DefaultHotkeys()
{
    HotkeyCombinations combinations{};
    for (size_t i = 0; i < combinations.size(); ++i)
        combinations[i] = {kHotkeySlots[i].defaultModifiers, kHotkeySlots[i].defaultKey};
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
        char name[kNameBuffer];
        ModifierNameFromFlags(combinations[i].modifiers, name, sizeof name);
        SelectComboText(GetDlgItem(page, slot.modifierBox), name);
        KeyNameFromCode(combinations[i].key, name, sizeof name);
        SelectComboText(GetDlgItem(page, slot.keyBox), name);
    }
}

HotkeyVerdict JudgeAppliedHotkey(const AppliedHotkey& hotkey)
{
    if (hotkey.registered) return {false, false};
    if (hotkey.changed) return {true, true};
    return {hotkey.wasRegistered, false};
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
        if (RegisterHotKey(mainWindow, slot.id, settings.*slot.modifiers, settings.*slot.key))
            settings.*slot.registered = true;
        else if (refused == RefusedHotkeys::Warn)
            ReportHotkeyConflict(settings.*slot.modifiers, settings.*slot.key);
    }
    return loaded;
}
