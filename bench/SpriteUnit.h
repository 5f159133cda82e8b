#pragma once

#include "image/RegisteredAnimation.h"

#include <vector>

namespace fenwold::bench {

// A registered unit of sample-art walking figures, as the loaders would leave it: 40 animations
// of 8 frames of 96 x 96 pixels by default, every other one with its team-colour masks.
std::vector<RegisteredAnimation> MakeSpriteUnit(int animations = 40, int frames = 8, int size = 96);

} // namespace fenwold::bench
