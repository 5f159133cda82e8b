#pragma once

#include "vq/VqTypes.h"

#include <span>

namespace fenwold {

// Weight modes of the "Weight mode:" box.
enum WeightMode : int { kNoWeight = 0, kAverageBrightness = 1, kMaxBrightness = 2 };

// L = 0.114 blue + 0.299 red + 0.589 green of one block entry, on its 5-bit channels.
double Luminance(const std::uint8_t* entry);

// The factor a block's weight is multiplied by: 1.0 (mode 0 or unknown), the mean luminance
// (mode 1) or the largest luminance, each rounded to float, times 1/31 plus 0.5 (mode 2).
double BlockWeightFactor(int mode, const BlockVector& block);

// Multiplies every vector's weight by its factor, except the first vector's, which keeps 1.0.
void ApplyWeights(std::span<VqVector> vectors, int mode);

} // namespace fenwold
