#pragma once

#include "vq/CompressionProgress.h"
#include "vq/DistanceKernels.h"
#include "vq/RunControl.h"
#include "vq/VqTypes.h"
#include "vq/WorkerPool.h"

#include <cstdint>
#include <span>
#include <vector>

namespace fenwold {

// What a design reports to and reads from the run.
struct DesignContext {
    WorkerPool& pool;
    CompressionProgress& progress;
    const RunFlags& flags;
    KernelSet kernels = KernelSet::Fastest;
};

// A lookup table in byte form (48 bytes an entry) and the entry of every vector of the list it
// was designed on.
struct DesignedTable {
    int entryCount = 0;
    std::vector<std::uint8_t> entries;
    std::vector<std::uint32_t> assignment;
};

// The thresholds and patience of the top level; a first level inside uses the coarse ones.
inline constexpr double kFineThreshold = 0.0001;
inline constexpr double kCoarseThreshold = 0.001;
inline constexpr int kFinePatience = 2;
inline constexpr int kCoarsePatience = 1;
// From this size on a table is designed in two levels.
inline constexpr int kTwoLevelSize = 1000;

// Designs a table of at most k entries on the weighted list: below 1000 entries the first k
// distinct vectors refined by one LBG pass; from 1000 on a first level of k / 100 entries, the
// table filled up with distinct vectors and refined by the bucketed loop. When the list holds
// fewer distinct vectors than wanted, the table is cut to them and every vector gets its equal
// entry.
DesignedTable DesignLookupTable(std::span<const VqVector> list, int k, double threshold,
                                int patience, DesignContext& context);

} // namespace fenwold
