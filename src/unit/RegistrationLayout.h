#pragma once

#include "unit/AnimationListEdit.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <optional>

namespace fenwold {

// The registration view and the unit view show every frame of their animations side by side,
// from their first drawn animation on, in rows that wrap at the window's width.
inline constexpr int kLayoutMargin = 2;
inline constexpr int kFrameGap = 5;
inline constexpr int kScrollWidth = 100;
inline constexpr int kMaxScrollHeight = 32767;
inline constexpr int kScrollLine = 20;

struct ScrollSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const ScrollSize&, const ScrollSize&) = default;
};

// The animation at 0-based position `firstDrawn` (a negative position counts as 0), or the end.
template <typename List>
auto FirstDrawnIn(List& list, int firstDrawn) {
    const auto skipped = static_cast<std::size_t>(std::max(firstDrawn, 0));
    if (skipped >= list.size()) {
        return list.end();
    }
    return std::next(list.begin(), static_cast<std::ptrdiff_t>(skipped));
}

// Stores each drawn frame's position (its displayX and displayY) and returns the scroll size.
// `framesOf` gives an animation's frames. Frames of the skipped animations keep the positions
// they had.
template <typename List, typename FramesOf>
ScrollSize LayOutFrameRows(List& list, int firstDrawn, int clientWidth, FramesOf framesOf) {
    int x = kLayoutMargin;
    int y = kLayoutMargin;
    int rowHeight = 0;
    for (auto animation = FirstDrawnIn(list, firstDrawn); animation != list.end(); ++animation) {
        const int width = animation->width;
        for (auto& frame : framesOf(*animation)) {
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

template <typename Iterator>
struct FrameHitIn {
    Iterator animation;
    int frame = 0;
};

// The first drawn frame whose rectangle, both ends included, holds the window point; the frames
// are placed in view coordinates, so the scroll position is taken off them.
template <typename List, typename FramesOf>
auto HitTestFrameRows(List& list, int firstDrawn, int x, int y, int scrollY, FramesOf framesOf)
    -> std::optional<FrameHitIn<decltype(list.begin())>> {
    for (auto animation = FirstDrawnIn(list, firstDrawn); animation != list.end(); ++animation) {
        int index = 0;
        for (const auto& frame : framesOf(*animation)) {
            const int top = frame.displayY - scrollY;
            if (x >= frame.displayX && x <= frame.displayX + animation->width && y >= top &&
                y <= top + animation->height) {
                return FrameHitIn<decltype(list.begin())>{animation, index};
            }
            ++index;
        }
    }
    return std::nullopt;
}

RegisteredAnimations::iterator FirstDrawnAnimation(RegisteredAnimations& list, int firstDrawn);
RegisteredAnimations::const_iterator FirstDrawnAnimation(const RegisteredAnimations& list,
                                                         int firstDrawn);

ScrollSize LayOutFrames(RegisteredAnimations& list, int firstDrawn, int clientWidth);

using FrameHit = FrameHitIn<RegisteredAnimations::iterator>;

std::optional<FrameHit> HitTestFrames(RegisteredAnimations& list, int firstDrawn, int x, int y,
                                      int scrollY);

} // namespace fenwold
