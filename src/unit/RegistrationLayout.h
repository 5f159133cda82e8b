#pragma once

#include "unit/AnimationListEdit.h"

#include <optional>

namespace fenwold {

// The registration view shows every frame of the animations side by side, from its first drawn
// animation on, in rows that wrap at the window's width.
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
RegisteredAnimations::iterator FirstDrawnAnimation(RegisteredAnimations& list, int firstDrawn);
RegisteredAnimations::const_iterator FirstDrawnAnimation(const RegisteredAnimations& list,
                                                         int firstDrawn);

// Stores each drawn frame's position in the view and returns the scroll size. Frames of the
// skipped animations keep the positions they had.
ScrollSize LayOutFrames(RegisteredAnimations& list, int firstDrawn, int clientWidth);

struct FrameHit {
    RegisteredAnimations::iterator animation;
    int frame = 0;
};

// The first drawn frame whose rectangle, both ends included, holds the window point; the frames
// are placed in view coordinates, so the scroll position is taken off them.
std::optional<FrameHit> HitTestFrames(RegisteredAnimations& list, int firstDrawn, int x, int y,
                                      int scrollY);

} // namespace fenwold
