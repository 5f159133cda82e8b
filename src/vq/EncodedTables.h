#pragma once

#include "vq/CompressionResult.h"
#include "vq/IndexMaps.h"
#include "vq/TrainingBlocks.h"
#include "vq/WorkerPool.h"

#include <cstdint>
#include <vector>

namespace fenwold {

// An index map as height rows of width / 2 entries in the 7-bit scheme.
std::vector<std::uint8_t> EncodeIndexTable(const IndexMap& map, int width, int height);

// The encoded record of every animation, in order: its fields, its index tables and the alpha
// tables its groups encoded when they were cut (taken out of the groups).
std::vector<EncodedAnimation> EncodeAnimations(const AnimationRefs& animations,
                                               const std::vector<AnimationIndexMaps>& maps,
                                               std::vector<BlockGroup>& groups, WorkerPool& pool);

} // namespace fenwold
