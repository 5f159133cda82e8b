#pragma once

#include "vq/Quality.h"

#include <cstdint>
#include <span>
#include <vector>

namespace fenwold {

// One group of four frames of a compressed animation as blocks: the entry each block names and
// whether any of its pixels can be seen in any frame of the group. A block covers two pixels of
// two rows with 16-pixel entries (block flag 1), of one row with 8-pixel entries.
struct GroupBlocks {
    int blocksPerRow = 0;
    int blockRows = 0;
    int pixelRowsPerBlock = 2;
    std::vector<std::uint16_t> entries;
    std::vector<std::uint8_t> visible;
};

// The groups of an animation, in order; a frame's group is its index / 4.
std::vector<GroupBlocks> ReadGroupBlocks(const CompressedAnimationView& animation);

// How often each of `entryCount` entries is used: once for every visible block that names it.
// The counts add up to the number of visible blocks of all groups.
std::vector<std::uint32_t> CountEntryUses(std::span<const CompressedAnimationView> animations,
                                          int entryCount);

// The counts summed up for a report.
struct UsageSummary {
    std::uint64_t blocks = 0; // visible blocks
    int unused = 0;           // entries no block names
    int usedOnce = 0;         // entries a single block names: the table's dead weight
    std::uint32_t mostUses = 0;
};
UsageSummary SummariseUses(std::span<const std::uint32_t> counts);

} // namespace fenwold
