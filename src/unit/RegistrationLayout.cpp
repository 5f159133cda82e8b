#include "unit/RegistrationLayout.h"

#include <algorithm>
#include <iterator>

namespace fenwold {
namespace {

template <typename List>
auto FirstDrawnIn(List& list, int firstDrawn) {
    const auto skipped = static_cast<std::size_t>(std::max(firstDrawn, 0));
    if (skipped >= list.size()) {
        return list.end();
    }
    return std::next(list.begin(), static_cast<std::ptrdiff_t>(skipped));
}

} // namespace

RegisteredAnimations::iterator FirstDrawnAnimation(RegisteredAnimations& list, int firstDrawn) {
    return FirstDrawnIn(list, firstDrawn);
}

RegisteredAnimations::const_iterator FirstDrawnAnimation(const RegisteredAnimations& list,
                                                         int firstDrawn) {
    return FirstDrawnIn(list, firstDrawn);
}

ScrollSize LayOutFrames(RegisteredAnimations& list, int firstDrawn, int clientWidth) {
    int x = kLayoutMargin;
    int y = kLayoutMargin;
    int rowHeight = 0;
    for (auto animation = FirstDrawnAnimation(list, firstDrawn); animation != list.end();
         ++animation) {
        const int width = animation->width;
        for (RegisteredFrame& frame : animation->frames) {
            frame.displayX = x;
            frame.displayY = y;
            rowHeight = std::max(rowHeight, static_cast<int>(animation->height));
            x += width + kFrameGap;
            // The row wraps when a frame of this animation's width would no longer fit.
            if (x + width >= clientWidth) {
                y += rowHeight + kFrameGap;
                x = kLayoutMargin;
                rowHeight = 0;
            }
        }
    }
    return {kScrollWidth, std::min(y + rowHeight + kFrameGap, kMaxScrollHeight)};
}

std::optional<FrameHit> HitTestFrames(RegisteredAnimations& list, int firstDrawn, int x, int y,
                                      int scrollY) {
    for (auto animation = FirstDrawnAnimation(list, firstDrawn); animation != list.end();
         ++animation) {
        for (std::size_t i = 0; i < animation->frames.size(); ++i) {
            const RegisteredFrame& frame = animation->frames[i];
            const int top = frame.displayY - scrollY;
            if (x >= frame.displayX && x <= frame.displayX + animation->width && y >= top &&
                y <= top + animation->height) {
                return FrameHit{animation, static_cast<int>(i)};
            }
        }
    }
    return std::nullopt;
}

} // namespace fenwold
