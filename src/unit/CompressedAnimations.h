#pragma once

#include "unit/UnitRecords.h"
#include "vq/CompressionResult.h"

#include <list>
#include <vector>

namespace fenwold {

// The animation record of one compressed animation: the registration fields copied slot for
// slot, every delay 4, no group, one index table node per group of four frames and one alpha
// table node per frame.
UnitAnimation MakeUnitAnimation(EncodedAnimation encoded);

// The records of a compression run in registration order, numbered as a document takes them
// over: frames 0, 1, 2 ..., block flag 1, load and save index the position in the list.
std::list<UnitAnimation> MakeCompressedAnimations(std::vector<EncodedAnimation> encoded);

} // namespace fenwold
