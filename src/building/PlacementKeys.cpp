#include "building/PlacementKeys.h"

#include "platform/VirtualKeys.h"

namespace fenwold {

bool PlacementKeys::Set(int key, bool down) {
    Held which = kHeldCount;
    switch (key) {
    case key::kLeft:
        which = kLeft;
        break;
    case key::kRight:
        which = kRight;
        break;
    case key::kUp:
        which = kUp;
        break;
    case key::kDown:
        which = kDown;
        break;
    case key::kControl:
        which = kControl;
        break;
    case key::kHome:
        which = kHome;
        break;
    case key::kEnd:
        which = kEnd;
        break;
    default:
        return false;
    }
    held_[which] = down;
    return true;
}

bool PlacementKeys::StepDue() {
    if (++tickCounter_ < speed_) {
        return false;
    }
    tickCounter_ = 0;
    return true;
}

PlacementMove PlacementKeys::Step() {
    const int step = held_[kControl] ? 10 : 1;
    PlacementMove move;
    move.dx = (held_[kRight] ? step : 0) - (held_[kLeft] ? step : 0);
    move.dy = (held_[kDown] ? step : 0) - (held_[kUp] ? step : 0);
    if (held_[kHome] && speed_ > 0) {
        --speed_;
    }
    if (held_[kEnd]) {
        ++speed_;
    }
    return move;
}

} // namespace fenwold
