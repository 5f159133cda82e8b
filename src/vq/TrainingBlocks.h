#pragma once

#include "image/RegisteredAnimation.h"
#include "vq/CompressionProgress.h"
#include "vq/CompressionResult.h"
#include "vq/RunControl.h"
#include "vq/VqTypes.h"
#include "vq/WorkerPool.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace fenwold {

// The animations of a run in list order; the run only reads them.
using AnimationRefs = std::vector<const RegisteredAnimation*>;

template <typename Range>
AnimationRefs RefsTo(const Range& animations) {
    AnimationRefs refs;
    for (const RegisteredAnimation& animation : animations) {
        refs.push_back(&animation);
    }
    return refs;
}

// One group of four frames of an animation as cut into blocks: rows of blocks top to bottom,
// blocks left to right.
struct BlockGroup {
    int animation = 0; // position in the run's list
    int blocksPerRow = 0;
    int blockRows = 0;
    std::vector<std::uint8_t> visible; // per block: 1 when any of its pixels can be seen
    std::size_t firstVector = 0;       // training list position of its first visible block
    // The alpha tables of the group's own frames (a repeated last frame is not its own),
    // encoded while their planes are at hand.
    std::vector<EncodedAlphaTable> alphaTables;
};

// The training list and the groups it came from.
struct TrainingSet {
    std::vector<VqVector> vectors;
    std::vector<BlockGroup> groups;
};

// Frames of group g of an animation (0-based): 4g to 4g + 3, the last frame standing in for
// frames beyond the end.
int GroupCount(const RegisteredAnimation& animation);

// The sum over animations of width * height * frame count / 2: the progress counter's end.
std::int64_t ProgressTotal(const AnimationRefs& animations);

// The progress bar's percentage of a counter.
int ProgressPercent(std::int64_t counter, std::int64_t total);

// Cuts one group into blocks. Appends the vector of every visible block to `vectors` and returns
// the group's layout (firstVector left 0) with its frames' alpha tables.
BlockGroup CutGroup(const RegisteredAnimation& animation, int group,
                    std::vector<VqVector>& vectors);

// Collects the training blocks of every animation in list order, reporting the collection
// progress after each row of blocks and checking for a cancel after each group.
TrainingSet CollectTrainingBlocks(const AnimationRefs& animations, WorkerPool& pool,
                                  CompressionProgress& progress, const RunFlags& flags);

} // namespace fenwold
