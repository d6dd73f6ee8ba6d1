#include "overview/hold.h"

namespace {

constexpr UINT kModifierKeys = MOD_ALT | MOD_CONTROL | MOD_SHIFT | MOD_WIN;

}  // namespace

bool HotkeyHasModifier(UINT modifiers) { return (modifiers & kModifierKeys) != 0; }

HoldToChoose StartHold(bool openedByShowHotkey, UINT modifiers, bool modifierDown)
{
    return HoldToChoose{openedByShowHotkey && HotkeyHasModifier(modifiers) && modifierDown, false, modifiers};
}

HoldAction StepHold(HoldToChoose& hold, HoldEvent event, bool modifierDown, bool switchOnRelease)
{
    if (!hold.holding) {
        if (event != HoldEvent::ShowHotkey || !modifierDown) return HoldAction::None;
        hold = HoldToChoose{true, true};  // pressed again with the modifier held: a hold from here
        return HoldAction::SelectNext;
    }
    switch (event) {
    case HoldEvent::ShowHotkey:
        if (!modifierDown) {  // the release went unseen: the hold is over, and this press is not part of it
            hold = HoldToChoose{};
            return HoldAction::None;
        }
        hold.moved = true;
        return HoldAction::SelectNext;
    case HoldEvent::SelectionMoved:
        hold.moved = true;
        return HoldAction::None;
    case HoldEvent::ModifierUp: {
        const bool chose = hold.moved;
        hold = HoldToChoose{};
        return chose && switchOnRelease ? HoldAction::Switch : HoldAction::None;
    }
    case HoldEvent::Escape:
        hold = HoldToChoose{};
        return HoldAction::Cancel;
    case HoldEvent::LostFront:  // a later lone release must not switch
        hold = HoldToChoose{};
        return HoldAction::None;
    }
    return HoldAction::None;
}

bool IsModifierKey(UINT modifiers, WPARAM key)
{
    switch (key) {
    case VK_MENU:
    case VK_LMENU:
    case VK_RMENU:
        return (modifiers & MOD_ALT) != 0;
    case VK_CONTROL:
    case VK_LCONTROL:
    case VK_RCONTROL:
        return (modifiers & MOD_CONTROL) != 0;
    case VK_SHIFT:
    case VK_LSHIFT:
    case VK_RSHIFT:
        return (modifiers & MOD_SHIFT) != 0;
    case VK_LWIN:
    case VK_RWIN:
        return (modifiers & MOD_WIN) != 0;
    default:
        return false;
    }
}

bool ModifierKeysDown(UINT modifiers)
{
    if (!HotkeyHasModifier(modifiers)) return false;
    auto down = [](int key) { return (GetAsyncKeyState(key) & 0x8000) != 0; };
    if ((modifiers & MOD_ALT) && !down(VK_MENU)) return false;
    if ((modifiers & MOD_CONTROL) && !down(VK_CONTROL)) return false;
    if ((modifiers & MOD_SHIFT) && !down(VK_SHIFT)) return false;
    if ((modifiers & MOD_WIN) && !down(VK_LWIN) && !down(VK_RWIN)) return false;
    return true;
}
