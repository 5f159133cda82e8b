#pragma once

#include "building/BuildingTabView.h"

namespace fenwold {

class CFenwoldDoc;
struct BuildingRecord;

// The "Build" tab: the arrow keys move the building area by whole tiles, on a 50 ms timer while
// the tab has the keyboard focus. Without Control an arrow moves the near (top-left) corner,
// with Control the far one. The tab draws only from its timer: the picture with the tile grid
// and the area tinted red, black before the first tick and once the focus has left.
class CSetAttribView2 final : public BuildingTabView {
public:
    static constexpr int kTimerMilliseconds = 50;

    explicit CSetAttribView2(CFenwoldDoc& document) : document_(document) {}

    int TimerMilliseconds() const override { return kTimerMilliseconds; }
    void OnFocusLost() override;
    // Every key marks the building modified, also one that moves nothing.
    void OnKeyDown(int key) override;
    void OnKeyUp(int key) override;
    // Moves the area by the arrows pressed since the last tick (left, right, up, down, in that
    // order), lets go of them (Control stays held until its key-up), and draws.
    void Tick() override;
    const BuildingViewPicture& Picture() override;

private:
    bool* FlagOf(int key);
    // Whether the area moved.
    bool StepArea(BuildingRecord& record) const;
    void Draw(const BuildingRecord& record);

    CFenwoldDoc& document_;
    bool left_ = false;
    bool right_ = false;
    bool up_ = false;
    bool down_ = false;
    bool control_ = false;
    BuildingViewPicture picture_;
};

} // namespace fenwold
