#include "unittools/KeyRouting.h"

namespace fenwold {

void KeyRouter::Unregister(KeySlot slot, const KeyTarget& target) {
    if (targets_[Index(slot)] == &target) {
        targets_[Index(slot)] = nullptr;
    }
}

bool KeyRouter::IsNavigationKey(int code) {
    switch (code) {
    case key::kLeft:
    case key::kRight:
    case key::kUp:
    case key::kDown:
    case key::kEnter:
    case key::kEscape:
    case key::kPageUp:
    case key::kPageDown:
    case key::kEnd:
    case key::kHome:
        return true;
    default:
        return false;
    }
}

bool KeyRouter::Route(KeySlot slot, KeyPhase phase, const KeyStroke& stroke, bool autoRepeat) {
    KeyTarget* target = Target(slot);
    if (target == nullptr) {
        return false;
    }
    if (slot == KeySlot::CheckBox) {
        if (phase == KeyPhase::Up) {
            return false;
        }
        target->OnKeyDown(stroke);
        return stroke.key == key::kEnter || stroke.key == key::kEscape;
    }
    if (phase == KeyPhase::Up) {
        if (!autoRepeat) {
            target->OnKeyUp(stroke);
        }
        return false;
    }
    target->OnKeyDown(stroke);
    return IsNavigationKey(stroke.key);
}

} // namespace fenwold
