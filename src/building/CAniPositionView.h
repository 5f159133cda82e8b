#pragma once

#include "building/BuildingTabView.h"
#include "building/PlacementKeys.h"

namespace fenwold {

class CFenwoldDoc;

// The "Set position" tab: plays one of the building's animations over the picture at its place
// and moves the place with the arrows. While the building has no compressed animations it plays
// the registered ones of the "Set animation" tab, with the same positions. The animation is
// held by its position in the list (the animation index, which also numbers its position pair)
// and looked up at every tick.
class CAniPositionView final : public BuildingTabView {
public:
    static constexpr int kTimerMilliseconds = 6;
    static constexpr int kMaxZoom = 16;

    explicit CAniPositionView(CFenwoldDoc& document) : document_(document) {}

    int TimerMilliseconds() const override { return kTimerMilliseconds; }
    // Starts again from the first animation and its first frame.
    void OnFocusGained() override;
    void OnFocusLost() override { keys_.ReleaseAll(); }
    void OnKeyDown(int key) override;
    void OnKeyUp(int key) override { keys_.Release(key); }
    // One timer tick: on a step, moves the position pair by the held arrows (marking the
    // building modified), shows the next frame at it and keeps the picture.
    void Tick() override;
    const BuildingViewPicture& Picture() override { return picture_; }

    int AnimationIndex() const { return animationIndex_; }
    int Speed() const { return keys_.Speed(); }
    int Zoom() const { return zoom_; }

private:
    // How many animations the tab plays: the compressed ones, or the registered ones while
    // there are none; never more than the position table holds.
    int AnimationCount() const;
    void DrawCurrentFrame(std::vector<Pixel555>& pixels, int width, int height);

    CFenwoldDoc& document_;
    PlacementKeys keys_;
    int animationIndex_ = 0;
    int frame_ = 0;
    int zoom_ = 1;
    BuildingViewPicture picture_;
};

} // namespace fenwold
