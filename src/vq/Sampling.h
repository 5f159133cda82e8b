#pragma once

#include "vq/CompressionProgress.h"
#include "vq/VqTypes.h"

#include <cstdint>
#include <span>
#include <vector>

namespace fenwold {

// The number of samples drawn from n training vectors for a table of k entries (k <= n, n >= 5):
// min(4k, n / 5).
int SampleCount(std::size_t n, int k);

// The sample list for a table of k entries: one all-zero vector, then SampleCount samples spread
// over the training list with random offsets, every weight 1.0. The generator is std::mt19937
// (its sequence is fixed by the C++ standard) seeded with the seed's low 32 bits; an offset is
// its next output modulo trunc(step).
std::vector<VqVector> DrawSamples(std::span<const VqVector> training, int k, std::uint64_t seed,
                                  CompressionProgress& progress);

} // namespace fenwold
