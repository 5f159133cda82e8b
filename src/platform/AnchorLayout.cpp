#include "platform/AnchorLayout.h"

namespace fenwold {

void AnchorLayout::Add(std::uint32_t controlId, std::uint32_t flags, Rect rect) {
    anchors_.push_back({controlId, flags, rect});
}

const std::vector<AnchorLayout::Anchor>& AnchorLayout::OnSize(int width, int height) {
    if (firstSize_) {
        firstSize_ = false;
        previousWidth_ = width;
        previousHeight_ = height;
        return none_;
    }
    const int dx = width - previousWidth_;
    const int dy = height - previousHeight_;
    for (auto& anchor : anchors_) {
        Rect& r = anchor.rect;
        if (anchor.flags & kMoveWithRight) {
            r.left += dx;
            r.right += dx;
        }
        if (anchor.flags & kMoveWithBottom) {
            r.top += dy;
            r.bottom += dy;
        }
        if (anchor.flags & kStretchWithRight) {
            r.right += dx;
        }
        if (anchor.flags & kStretchWithBottom) {
            r.bottom += dy;
        }
        if (anchor.flags & kCentreHorizontally) {
            const int w = r.right - r.left;
            r.left = width / 2 - w / 2;
            r.right = r.left + w;
        }
        if (anchor.flags & kCentreVertically) {
            const int h = r.bottom - r.top;
            r.top = height / 2 - h / 2;
            r.bottom = r.top + h;
        }
    }
    previousWidth_ = width;
    previousHeight_ = height;
    return anchors_;
}

} // namespace fenwold
