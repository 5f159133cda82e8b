#pragma once

#include "image/RegisteredAnimation.h"
#include "vq/CompressionResult.h"

#include <cstdint>
#include <vector>

namespace fenwold::bench {

// The compression done the straightforward way, on one thread: linear scans for distinct and
// equal vectors, one distance at a time, the cursor search over the training list. It must give
// the engine's bytes exactly; the benchmarks measure the engine against it.
struct BaselineParameters {
    int size = 500;
    bool sampling = true;
    int weightMode = 2;
    std::uint64_t seed = 1;
};

CompressionResult BaselineCompress(const std::vector<RegisteredAnimation>& animations,
                                   const BaselineParameters& parameters);

// Nearest byte entry by the sum of squared differences, one entry after another.
int BaselineNearestByte(const std::uint8_t* vector, const std::vector<std::uint8_t>& table,
                        int count);

} // namespace fenwold::bench
