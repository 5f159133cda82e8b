#pragma once

#include "vq/CompressionProgress.h"
#include "vq/RunControl.h"
#include "vq/TrainingBlocks.h"

#include <cstdint>
#include <vector>

namespace fenwold {

// The lookup table index of every block of one group of four frames: width * height bytes
// (rounded down to even) read as 16-bit entries, one per block in block order, the rest 0. An
// invisible block has index 0.
struct IndexMap {
    std::vector<std::uint16_t> entries;
    std::vector<std::uint8_t> rowVisible; // per row of width / 2 entries: holds a visible block
};

struct AnimationIndexMaps {
    int width = 0;
    int height = 0;
    std::vector<IndexMap> maps; // one per group of four frames
};

// Builds the index maps of every animation from the designed training set, showing the index
// progress after each row of blocks and checking for a cancel after each group.
std::vector<AnimationIndexMaps> BuildIndexMaps(const AnimationRefs& animations,
                                               const TrainingSet& training,
                                               CompressionProgress& progress,
                                               const RunFlags& flags);

} // namespace fenwold
