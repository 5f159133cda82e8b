#include "unit/RegistrationLayout.h"

namespace fenwold {
namespace {

constexpr auto kFramesOf = [](RegisteredAnimation & animation) -> auto& {
    return animation.frames;
};

} // namespace

RegisteredAnimations::iterator FirstDrawnAnimation(RegisteredAnimations& list, int firstDrawn) {
    return FirstDrawnIn(list, firstDrawn);
}

RegisteredAnimations::const_iterator FirstDrawnAnimation(const RegisteredAnimations& list,
                                                         int firstDrawn) {
    return FirstDrawnIn(list, firstDrawn);
}

ScrollSize LayOutFrames(RegisteredAnimations& list, int firstDrawn, int clientWidth) {
    return LayOutFrameRows(list, firstDrawn, clientWidth, kFramesOf);
}

std::optional<FrameHit> HitTestFrames(RegisteredAnimations& list, int firstDrawn, int x, int y,
                                      int scrollY) {
    return HitTestFrameRows(list, firstDrawn, x, y, scrollY, kFramesOf);
}

} // namespace fenwold
