#pragma once

#include "vq/CompressionResult.h"

#include <cstdint>
#include <span>

namespace fenwold {

// A frame's alpha table from its alpha plane and its mask plane (empty without masks).
// Plain frames: every alpha 0 < a < 255 becomes a & 0xF8, except that the top level 248, which
// every opaque source pixel has, is written as 255 so that opaque runs are drawn as copies;
// 7-bit scheme. Frames with a mask plane: 255 where the mask is 0 and the alpha is not, 1 where
// the mask is set, 0 elsewhere; 6-bit scheme.
EncodedAlphaTable EncodeAlphaPlanes(std::span<const std::uint8_t> alpha,
                                    std::span<const std::uint8_t> mask, int width, int height);

} // namespace fenwold
