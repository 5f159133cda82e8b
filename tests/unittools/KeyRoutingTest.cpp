#include "unittools/KeyRouting.h"

#include <gtest/gtest.h>
#include <vector>

namespace fenwold {
namespace {

class RecordingKeyTarget final : public KeyTarget {
public:
    void OnKeyDown(const KeyStroke& stroke) override { downs.push_back(stroke.key); }
    void OnKeyUp(const KeyStroke& stroke) override { ups.push_back(stroke.key); }
    std::vector<int> downs;
    std::vector<int> ups;
};

constexpr int kNavigationKeys[] = {key::kLeft,  key::kRight,  key::kUp,     key::kDown,
                                   key::kEnter, key::kEscape, key::kPageUp, key::kPageDown,
                                   key::kEnd,   key::kHome};
constexpr int kOtherKeys[] = {'A', 'R', '0', '9', key::kControl, key::kShift, 0};

TEST(KeyRouting, TheCheckBoxWindowTakesKeyDownsAndKeepsOnlyEnterAndEscape) {
    KeyRouter router;
    RecordingKeyTarget box;
    router.Register(KeySlot::CheckBox, box);
    for (const int code : kNavigationKeys) {
        const bool swallowed = router.Route(KeySlot::CheckBox, KeyPhase::Down, {code}, false);
        EXPECT_EQ(swallowed, code == key::kEnter || code == key::kEscape) << code;
        EXPECT_FALSE(router.Route(KeySlot::CheckBox, KeyPhase::Up, {code}, false));
    }
    EXPECT_FALSE(router.Route(KeySlot::CheckBox, KeyPhase::Down, {'A'}, false));
    EXPECT_EQ(box.downs.size(), std::size(kNavigationKeys) + 1);
    EXPECT_TRUE(box.ups.empty()); // key-ups pass on to the window's controls
}

// Every slot but the check box's routes alike; the second animation window stands for them.
TEST(KeyRouting, TheAnimationWindowsKeepTheTenKeysAfterTheirKeyDowns) {
    const KeySlot slot = KeySlot::SecondAnimation;
    KeyRouter router;
    RecordingKeyTarget player;
    router.Register(slot, player);
    for (const int code : kNavigationKeys) {
        EXPECT_TRUE(router.Route(slot, KeyPhase::Down, {code}, false)) << code;
        EXPECT_FALSE(router.Route(slot, KeyPhase::Up, {code}, false)) << code;
    }
    for (const int code : kOtherKeys) {
        EXPECT_FALSE(router.Route(slot, KeyPhase::Down, {code}, false)) << code;
    }
    EXPECT_EQ(player.downs.size(), std::size(kNavigationKeys) + std::size(kOtherKeys));
    EXPECT_EQ(player.ups.size(), std::size(kNavigationKeys));
}

TEST(KeyRouting, AnAutoRepeatedReleaseIsNotHandedOnAndAnEmptySlotKeepsNothing) {
    KeyRouter router;
    RecordingKeyTarget origin;
    router.Register(KeySlot::OriginPoint, origin);
    // A held key: down, then release and press pairs from the auto-repeat, then the release.
    router.Route(KeySlot::OriginPoint, KeyPhase::Down, {key::kLeft}, false);
    for (int repeat = 0; repeat < 3; ++repeat) {
        EXPECT_FALSE(router.Route(KeySlot::OriginPoint, KeyPhase::Up, {key::kLeft}, true));
        EXPECT_TRUE(router.Route(KeySlot::OriginPoint, KeyPhase::Down, {key::kLeft}, true));
    }
    router.Route(KeySlot::OriginPoint, KeyPhase::Up, {key::kLeft}, false);
    EXPECT_EQ(origin.downs.size(), 4u);
    EXPECT_EQ(origin.ups, (std::vector<int>{key::kLeft}));
    // An empty slot takes and keeps nothing.
    RecordingKeyTarget first;
    RecordingKeyTarget second;
    EXPECT_FALSE(router.Route(KeySlot::Animation, KeyPhase::Down, {key::kLeft}, false));
    router.Register(KeySlot::Animation, first);
    // A window that went unregisters only itself.
    router.Unregister(KeySlot::Animation, second);
    EXPECT_EQ(router.Target(KeySlot::Animation), &first);
    router.Unregister(KeySlot::Animation, first);
    EXPECT_EQ(router.Target(KeySlot::Animation), nullptr);
    EXPECT_FALSE(router.Route(KeySlot::Animation, KeyPhase::Down, {key::kEscape}, false));
    EXPECT_TRUE(first.downs.empty());
}

} // namespace
} // namespace fenwold
