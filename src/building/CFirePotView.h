#pragma once

#include "building/BuildingTabView.h"
#include "building/PlacementKeys.h"

#include <array>
#include <cstdint>
#include <optional>

namespace fenwold {

class CFenwoldDoc;
struct FireAnimationSource;
struct UnitAnimation;

// The "Fire point" tab: the three points of one fire group, each playing the animation of the
// fire animation source (a unit's, set by its "&Fire Setting") that the point's animation number
// names, and the arrows moving the chosen point. Slot k shows fire point 3 x group + k. The
// source is read through the tool hub's record at every tick; a new generation of it starts
// every slot again from the first frame of the animation its fire point names.
class CFirePotView final : public BuildingTabView {
public:
    static constexpr int kTimerMilliseconds = 6;
    static constexpr int kMaxZoom = 16;
    static constexpr int kSlots = 3;
    static constexpr int kGroups = 3;

    CFirePotView(CFenwoldDoc& document, const FireAnimationSource& source)
        : document_(document), source_(source) {}

    int TimerMilliseconds() const override { return kTimerMilliseconds; }
    void OnFocusLost() override { keys_.ReleaseAll(); }
    // "1" to "3" choose the fire group, keypad plus and minus the point, "M" toggles the
    // point's flag, Page Up and Page Down change its animation number within the source's list,
    // "A" and "Z" zoom out and in.
    void OnKeyDown(int key) override;
    void OnKeyUp(int key) override { keys_.Release(key); }
    void Tick() override;
    const BuildingViewPicture& Picture() override { return picture_; }

    int Group() const { return group_; }
    int PointIndex() const { return pointIndex_; }
    int Speed() const { return keys_.Speed(); }
    int Zoom() const { return zoom_; }

private:
    // The fire point slot the chosen point edits.
    std::size_t EditedPoint() const {
        return static_cast<std::size_t>(kSlots * group_ + pointIndex_);
    }
    void Retitle();
    // The slot starts again at the first frame of its animation (the next step shows the one
    // after it).
    void Restart(int slot) { frames_[static_cast<std::size_t>(slot)] = 0; }
    void RestartAll() { frames_.fill(0); }
    void StepAnimationNumber(int step);
    // The source animation the number names (the first for a number below 1); none beyond the
    // list or without a source.
    const UnitAnimation* SourceAnimation(std::int32_t number) const;
    void DrawSlots(std::vector<Pixel555>& pixels, int width, int height);

    CFenwoldDoc& document_;
    const FireAnimationSource& source_;
    // The source generation the slots were started for; none until the first tick with a
    // source.
    std::optional<std::uint64_t> seenGeneration_;
    PlacementKeys keys_;
    // Each slot's current frame.
    std::array<int, kSlots> frames_{};
    int group_ = 0;
    int pointIndex_ = 0;
    int zoom_ = 1;
    BuildingViewPicture picture_;
};

} // namespace fenwold
