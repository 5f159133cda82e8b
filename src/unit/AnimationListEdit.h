#pragma once

#include "image/RegisteredAnimation.h"

#include <list>

namespace fenwold {

using RegisteredAnimations = std::list<RegisteredAnimation>;

// "Change": the two animations exchange their places in the list. Nothing happens when either is
// none (the list's end) or both are the same.
void ExchangeAnimations(RegisteredAnimations& list, RegisteredAnimations::iterator a,
                        RegisteredAnimations::iterator b);

// "Hold": the held animation is moved to right after the target. Nothing happens when either is
// none, they are the same, or the held one already follows the target.
void MoveAnimationAfter(RegisteredAnimations& list, RegisteredAnimations::iterator held,
                        RegisteredAnimations::iterator target);

} // namespace fenwold
