#include "vq/VqEngine.h"

#include "vq/Sampling.h"

#include <algorithm>

namespace fenwold {

namespace {

constexpr std::size_t kSearchChunk = 512;

// Sampling needs at least five blocks: below that there is not one sample to draw.
constexpr std::size_t kFewestForSampling = 5;

} // namespace

CVqEngine::CVqEngine(CompressionProgress& progress, bool sampling, bool noLbg, RunFlags& flags,
                     WorkerPool& pool)
    : progress_(progress), sampling_(sampling), noLbg_(noLbg), flags_(flags), pool_(pool) {}

void CVqEngine::Run(const AnimationRefs& animations) {
    training_ = CollectTrainingBlocks(animations, pool_, progress_, flags_);
    std::vector<VqVector>& vectors = training_.vectors;
    const std::size_t n = vectors.size();

    if (noLbg_) {
        if (n > static_cast<std::size_t>(kMaxLookupTableSize)) {
            throw RunCancelled{std::string(kNoLbgTooManyBlocks)};
        }
        size_ = static_cast<int>(n);
        table_.clear();
        for (const VqVector& vector : vectors) {
            table_.insert(table_.end(), vector.block.begin(), vector.block.end());
        }
    } else {
        // A design starts: an "End Lbg" raised before it is forgotten.
        flags_.lbgStop = false;
        DesignContext context{pool_, progress_, flags_, kernels_};
        if (sampling_ && n >= kFewestForSampling) {
            size_ = std::min<int>(size_, static_cast<int>(n));
            std::vector<VqVector> samples = DrawSamples(vectors, size_, seed_, progress_);
            ApplyWeights(samples, weightMode_);
            const DesignedTable designed =
                DesignLookupTable(samples, size_, kFineThreshold, kFinePatience, context);
            size_ = designed.entryCount;
            table_ = designed.entries;
            AssignNearestEntries(context);
            if (refinePasses_ > 0) {
                // The samples were weighted; the refinement weighs every block the same way.
                ApplyWeights(vectors, weightMode_);
            }
        } else {
            ApplyWeights(vectors, weightMode_);
            const DesignedTable designed =
                DesignLookupTable(vectors, size_, kFineThreshold, kFinePatience, context);
            size_ = designed.entryCount;
            table_ = designed.entries;
            for (std::size_t i = 0; i < n; ++i) {
                vectors[i].index = designed.assignment[i];
            }
        }
        if (refinePasses_ > 0) {
            refinement_ = RefineLookupTable(vectors, table_, size_, refinePasses_, context);
        }
    }
    // The first vector keeps the entry it was assigned. Forcing it to entry 0 (in the LBG modes
    // some other cluster, in the sampled mode often the leading all-zero sample) would draw the
    // first visible block of the unit in the wrong colours.
}

// Every training vector takes the byte entry nearest to it (sum of squared byte differences,
// ties to the lowest index).
void CVqEngine::AssignNearestEntries(DesignContext& context) {
    std::vector<VqVector>& vectors = training_.vectors;
    const ByteEntrySearch search(table_, size_, context.kernels);
    pool_.ForChunks(
        vectors.size(), kSearchChunk,
        [&](std::size_t begin, std::size_t end) {
            std::vector<std::uint16_t> scratch(search.ScratchSize());
            for (std::size_t i = begin; i < end; ++i) {
                vectors[i].index =
                    static_cast<std::uint32_t>(search.Nearest(vectors[i].block, scratch.data()));
            }
        },
        [&](std::size_t done) {
            progress_.ShowText(ProgressField::SearchVectorIndex,
                               ProgressFraction(done / 10 * 10, vectors.size()));
        });
}

} // namespace fenwold
