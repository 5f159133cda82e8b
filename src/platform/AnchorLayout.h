#pragma once

#include "platform/Rect.h"

#include <cstdint>
#include <vector>

namespace fenwold {

// How a control follows its resizable dialog's client size. Flags combine and are applied in
// this order.
enum AnchorFlags : std::uint32_t {
    kMoveWithRight = 1,
    kMoveWithBottom = 2,
    kStretchWithRight = 4,
    kStretchWithBottom = 8,
    kCentreHorizontally = 16,
    kCentreVertically = 32,
};

// The layout rule of the resizable tool dialogs: each anchored control's rectangle is updated in
// place on every size change, so each resize works from the last layout. The first size
// notification after creation only records the size.
class AnchorLayout {
public:
    struct Anchor {
        std::uint32_t controlId = 0;
        std::uint32_t flags = 0;
        Rect rect;
    };

    void Add(std::uint32_t controlId, std::uint32_t flags, Rect rect);
    // Returns the anchors with their new rectangles, in the order they were added (empty for the
    // first notification).
    const std::vector<Anchor>& OnSize(int width, int height);

    const std::vector<Anchor>& anchors() const { return anchors_; }

private:
    std::vector<Anchor> anchors_;
    bool firstSize_ = true;
    int previousWidth_ = 0;
    int previousHeight_ = 0;
    std::vector<Anchor> none_;
};

} // namespace fenwold
