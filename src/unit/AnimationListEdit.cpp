#include "unit/AnimationListEdit.h"

#include <iterator>

namespace fenwold {

void ExchangeAnimations(RegisteredAnimations& list, RegisteredAnimations::iterator a,
                        RegisteredAnimations::iterator b) {
    if (a == list.end() || b == list.end() || a == b) {
        return;
    }
    const auto afterA = std::next(a);
    const auto afterB = std::next(b);
    // Splicing keeps every node (and so every borrowed pointer to it) where it is in memory.
    if (afterA == b) {
        list.splice(a, list, b);
    } else if (afterB == a) {
        list.splice(b, list, a);
    } else {
        list.splice(afterA, list, b);
        list.splice(afterB, list, a);
    }
}

void MoveAnimationAfter(RegisteredAnimations& list, RegisteredAnimations::iterator held,
                        RegisteredAnimations::iterator target) {
    if (held == list.end() || target == list.end() || held == target) {
        return;
    }
    // Splicing a node to the place it already has leaves the list as it is.
    list.splice(std::next(target), list, held);
}

} // namespace fenwold
