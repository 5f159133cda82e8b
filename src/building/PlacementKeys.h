#pragma once

#include "building/BuildingRecord.h"
#include "building/BuildingTabView.h"

#include <array>

namespace fenwold {

// What one timer step of a placing view moves, in pixels.
struct PlacementMove {
    int dx = 0;
    int dy = 0;

    bool Moves() const { return dx != 0 || dy != 0; }
};

// The keys a placing view (animation positions, fire points) holds down between its timer
// steps, and the pace of those steps. A held arrow moves the placed thing on every step, 10
// pixels with Control held and 1 without. A step comes on every speed-th tick (every tick at
// speed 0 or 1); End held raises the speed at each step, spacing the steps out, Home lowers it.
class PlacementKeys {
public:
    // Whether the key is one the view holds (an arrow, Control, Home or End).
    bool Press(int key) { return Set(key, true); }
    bool Release(int key) { return Set(key, false); }
    // The focus left: nothing stays held.
    void ReleaseAll() { held_ = {}; }

    // Counts one tick; true when it is a step.
    bool StepDue();
    // A step: Home lowers the speed by 1 (not below 0), End raises it by 1; the move the arrows
    // make.
    PlacementMove Step();

    int Speed() const { return speed_; }

private:
    enum Held { kLeft, kRight, kUp, kDown, kControl, kHome, kEnd, kHeldCount };
    bool Set(int key, bool down);

    std::array<bool, kHeldCount> held_{};
    int speed_ = 0;
    int tickCounter_ = 0;
};

// The picture a step draws on: a copy of the record's, at the zoom; empty without a record.
inline void CopyBuildingPicture(BuildingViewPicture& picture, const BuildingRecord* record,
                                int zoom) {
    picture = {};
    picture.zoom = zoom;
    if (record != nullptr) {
        picture.pixels = record->picture;
        picture.width = record->width;
        picture.height = record->height;
    }
}

// The frame a playing view shows after `frame`: the next one, or the first after the last.
inline int NextFrame(int frame, int frameCount) {
    return frame >= 0 && frame + 1 < frameCount ? frame + 1 : 0;
}

} // namespace fenwold
