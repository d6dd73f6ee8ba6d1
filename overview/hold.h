// Hold to choose: while the modifier of the hotkey that opened the Overview (Show, or Show this
// application's windows) stays down (or the modifier of either hotkey after a later press of it,
// with the modifier held, while the Overview is open), each further press of either hotkey moves
// on, and letting go of the modifier switches.
#pragma once

#include <windows.h>

struct HoldToChoose {
    // The modifier has been down without a break since the Show hotkey opened this showing or
    // pressed again during it.
    bool holding = false;
    // The selection was moved (by a key, the pointer or the wheel) while it was held.
    bool moved = false;
    // The hotkey modifier flags held (set by whoever starts the hold): letting go of one of their keys
    // ends it.
    UINT modifiers = 0;
};

enum class HoldEvent {
    ShowHotkey,      // Show or the application hotkey again, its modifier's state read at that moment
    SelectionMoved,  // a key (Tab, an arrow, Home, End...), the pointer or the wheel moved the selection
    ModifierUp,      // a key of the modifier was released
    Escape,          // Esc went down
    LostFront,       // another window took the front from the Overview
};

enum class HoldAction {
    None,        // nothing beyond what the key does anyway
    SelectNext,  // move to the next tile, as Tab does
    Switch,      // switch to the selected window, as Enter does
    Cancel,      // close without switching, as Esc does
};

// The state at the start of a showing: a hold of `modifiers` only when a hotkey opened it, its
// modifier has a key, and that key is still down.
HoldToChoose StartHold(bool openedByShowHotkey, UINT modifiers, bool modifierDown);

// One event of a showing. `modifierDown` matters for ShowHotkey only: with the modifier held it
// moves on, starting a hold when none is on (a second Alt+Tab after letting go early); with it up,
// as a posted hotkey arrives, it ends the hold and moves nothing. `switchOnRelease` is the user's
// choice of switching when the modifier is released.
HoldAction StepHold(HoldToChoose& hold, HoldEvent event, bool modifierDown, bool switchOnRelease);

// Whether the hotkey modifier flags name a key to hold.
bool HotkeyHasModifier(UINT modifiers);

// Whether a key message's virtual key is one of the keys of the hotkey modifier flags
// (MOD_ALT, MOD_CONTROL, MOD_SHIFT, MOD_WIN).
bool IsModifierKey(UINT modifiers, WPARAM key);

// Whether every key of the modifier flags is down now (GetAsyncKeyState); false for no modifier.
bool ModifierKeysDown(UINT modifiers);
