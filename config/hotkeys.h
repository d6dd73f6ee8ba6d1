// The four global hotkeys, the table of keys they can use, and their names.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>

constexpr int HOTKEY_SHOW = 111;
constexpr int HOTKEY_SHOW2 = 112;  // never registered: the mouse gesture's request
constexpr int HOTKEY_RECENT = 32830;
constexpr int HOTKEY_OTHERS = 32831;
constexpr int HOTKEY_APP = 113;

// Defaults: Alt+Tab, Win+Z, Win+A, Alt+~ (the key above Tab).
constexpr DWORD kDefaultShowModifiers = 1, kDefaultShowKey = 9;
constexpr DWORD kDefaultRecentModifiers = 8, kDefaultRecentKey = 90;
constexpr DWORD kDefaultOthersModifiers = 8, kDefaultOthersKey = 65;
constexpr DWORD kDefaultAppModifiers = 1, kDefaultAppKey = 192;

struct Settings;

// One of the four hotkeys: its identifier, registry values, default, Settings fields and the
// Keyboard Shortcuts page's two drop-down lists (identifiers in resources/resource.h).
struct HotkeySlot {
    int id;
    const wchar_t* modifierValue;
    const wchar_t* keyValue;
    DWORD defaultModifiers;
    DWORD defaultKey;
    DWORD Settings::*modifiers;
    DWORD Settings::*key;
    bool Settings::*registered;
    int modifierBox;
    int keyBox;
};
// Show, Recent, Others, App, in this order.
extern const HotkeySlot kHotkeySlots[4];

struct KeyTableEntry {
    const wchar_t* label;
    unsigned code;
};
constexpr size_t kKeyTableSize = 60;
extern const KeyTableEntry KeyTable[kKeyTableSize];

// The label of a key code; a code outside the table gives "#<code>" (at most 9 characters).
void KeyNameFromCode(unsigned code, wchar_t* buffer, size_t capacity);
// The code whose label equals name exactly; 0 when none does.
unsigned KeyCodeFromName(const wchar_t* name);
// "Alt", "Ctrl", "Shift", "Win"; "(None)" for 0, combinations and anything else.
void ModifierNameFromFlags(unsigned flags, wchar_t* buffer, size_t capacity);
// 1, 2, 4, 8 for the exact names; 0 for any other text.
unsigned ModifierFlagsFromName(const wchar_t* name);

// The warning text for a combination that cannot be registered, cut to capacity.
void FormatHotkeyConflict(unsigned modifiers, unsigned key, wchar_t* buffer, size_t capacity);
// Shows that warning and returns when the user closes it. The box is owned by the window in front only
// when that window is Sorvane's own: a box disables its owner, and disabling another program's window
// waits for that program, so over another program the box has no owner and comes to the front itself.
void ReportHotkeyConflict(unsigned modifiers, unsigned key);

// Fills one modifier box with "(None)", "Alt", "Ctrl", "Win" and one key box with the key table.
void FillShortcutCombos(HWND page, int modifierBox, int keyBox);
// Selects the item whose text equals text exactly; keeps the current selection when none does.
void SelectComboText(HWND combo, const wchar_t* text);

// One hotkey's modifier flags and virtual-key code.
struct HotkeyCombination {
    DWORD modifiers;
    DWORD key;
    bool operator==(const HotkeyCombination&) const = default;  // and != with it
};
// The hotkeys' combinations, and one flag per hotkey, in the order of kHotkeySlots.
using HotkeyCombinations = std::array<HotkeyCombination, std::size(kHotkeySlots)>;
using HotkeyFlags = std::array<bool, std::size(kHotkeySlots)>;

HotkeyCombinations DefaultHotkeys();
// The combinations in the live settings record: what the last RegisterStoredHotkeys put in force.
HotkeyCombinations LiveHotkeys();

// Selects the combinations in the Keyboard Shortcuts page's boxes (the selection rule).
void ShowHotkeysOnPage(HWND page, const HotkeyCombinations& combinations);

// The stored values, two per hotkey, each falling back to its own default.
HotkeyCombinations ReadStoredHotkeys();
// Whether a combination the system refuses gets the conflict warning.
enum class RefusedHotkeys { Warn, Quiet };
// Releases the registered hotkeys, puts the stored values in the settings record and registers
// them on the main window. Returns what it read.
HotkeyCombinations RegisterStoredHotkeys(RefusedHotkeys refused = RefusedHotkeys::Warn);
// Selects the stored values in the Keyboard Shortcuts page's boxes, two per hotkey; the settings
// record and the registered hotkeys stay as they are. Returns what it read.
HotkeyCombinations ShowStoredHotkeysOnPage(HWND page);

// What OK on the Keyboard Shortcuts page does about one hotkey it has just tried to register.
struct AppliedHotkey {
    bool changed;        // the combination differs from the one in force before
    bool wasRegistered;  // the one in force before was held
    bool registered;     // the combination is held now
};
struct HotkeyVerdict {
    bool warn;      // show the conflict warning for it
    bool keepOpen;  // put the earlier combinations back and keep the sheet open
};
// A refused combination the user chose gets the warning and keeps the sheet open; one the user
// left as it was is only news (a warning, nothing held up) when it was held until now, and
// nothing at all when it was refused already: it stays inactive.
HotkeyVerdict JudgeAppliedHotkey(const AppliedHotkey& hotkey);
// Which hotkeys get the warning, before anything is registered, for a combination OK would have Sorvane
// hold twice: one the user changed to a combination another hotkey has too. Each such combination is
// warned about once, for the first changed hotkey that has it; the sheet then stays open. Hotkeys alike
// already before (a hand-edited registry) are not the user's change and are left to registration.
HotkeyFlags DuplicatedHotkeys(const HotkeyCombinations& before, const HotkeyCombinations& chosen);
