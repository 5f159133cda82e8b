#pragma once

#include "image/RegisteredAnimation.h"
#include "vq/CompressionResult.h"
#include "vq/IndexMaps.h"
#include "vq/TrainingBlocks.h"
#include "vq/WorkerPool.h"

#include <cstdint>
#include <vector>

namespace fenwold {

// An index map as height rows of width / 2 entries in the 7-bit scheme.
std::vector<std::uint8_t> EncodeIndexTable(const IndexMap& map, int width, int height);

// A frame's alpha table. Plain frames: every alpha 0 < a < 255 becomes a & 0xF8, except that
// the top level 248, which every opaque source pixel has, is written as 255 so that opaque runs
// are drawn as copies; 7-bit scheme. Frames with a mask plane: 255 where the mask is 0 and the
// alpha is not, 1 where the mask is set, 0 elsewhere; 6-bit scheme.
EncodedAlphaTable EncodeFrameAlphaTable(const RegisteredFrame& frame, int width, int height);

// The encoded record of every animation, in order.
std::vector<EncodedAnimation> EncodeAnimations(const AnimationRefs& animations,
                                               const std::vector<AnimationIndexMaps>& maps,
                                               WorkerPool& pool);

} // namespace fenwold
