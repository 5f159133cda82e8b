#pragma once

#include "platform/VirtualKeys.h"

#include <array>
#include <cstddef>

namespace fenwold {

// One key-down or key-up as the window receives it.
struct KeyStroke {
    int key = 0;
    bool control = false; // Ctrl held
};

// A tool window that takes raw keystrokes before they are dispatched to its controls.
class KeyTarget {
public:
    virtual void OnKeyDown(const KeyStroke& stroke) = 0;
    virtual void OnKeyUp(const KeyStroke&) {}

protected:
    ~KeyTarget() = default;
};

// The windows that take raw keystrokes, in the order the router tries them.
enum class KeySlot { CheckBox, OriginPoint, Animation, SecondAnimation };
inline constexpr std::array<KeySlot, 4> kKeySlotOrder = {
    KeySlot::CheckBox, KeySlot::OriginPoint, KeySlot::Animation, KeySlot::SecondAnimation};

enum class KeyPhase { Down, Up };

// The application's key routing: every key message aimed at a registered window (or one of its
// children) goes first to that window, and the keys the window handles itself are swallowed so
// that they never reach its controls (arrows never scroll, Enter and Esc never close it):
// - the check box window takes key-downs; Enter and Esc are swallowed;
// - the origin-point and animation windows take key-downs and key-ups; the arrows, Enter, Esc,
//   PageUp, PageDown, End and Home are swallowed after a key-down.
// A key-up that the keyboard's auto-repeat sends between two key-downs of a held key is not
// handed on: the key is still down. Keys aimed at other windows pass untouched.
class KeyRouter {
public:
    // A window registers while it exists.
    void Register(KeySlot slot, KeyTarget& target) { targets_[Index(slot)] = &target; }
    // Clears the slot when `target` holds it.
    void Unregister(KeySlot slot, const KeyTarget& target);
    KeyTarget* Target(KeySlot slot) const { return targets_[Index(slot)]; }

    // A key message aimed at the window in `slot`: hands it to the window and says whether it is
    // swallowed. An empty slot takes nothing and swallows nothing.
    bool Route(KeySlot slot, KeyPhase phase, const KeyStroke& stroke, bool autoRepeat);

    // The keys the origin-point and animation windows keep from their controls.
    static bool IsNavigationKey(int key);

private:
    static std::size_t Index(KeySlot slot) { return static_cast<std::size_t>(slot); }
    std::array<KeyTarget*, kKeySlotOrder.size()> targets_{};
};

} // namespace fenwold
