#pragma once

#include "vq/CompressionProgress.h"
#include "vq/DistanceKernels.h"
#include "vq/LookupTableDesign.h"
#include "vq/Refinement.h"
#include "vq/RunControl.h"
#include "vq/TrainingBlocks.h"
#include "vq/Weights.h"
#include "vq/WorkerPool.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace fenwold {

// Shown when "No lbg" would make a table too large for 16-bit indices.
inline constexpr std::string_view kNoLbgTooManyBlocks =
    "학습 블록이 65534개를 넘어서 No lbg로는 압축할 수 없습니다.";

// Collects the training blocks of a run's animations and designs their lookup table: the
// training list itself ("No lbg"), a table designed on samples and then searched by every block
// (sampling), or a table designed on the whole weighted list.
class CVqEngine {
public:
    CVqEngine(CompressionProgress& progress, bool sampling, bool noLbg, RunFlags& flags,
              WorkerPool& pool);

    void SetLookupTableSize(int size) { size_ = size; }
    void SetWeightMode(int mode) { weightMode_ = mode; }
    void SetSeed(std::uint64_t seed) { seed_ = seed; }
    void SetKernels(KernelSet kernels) { kernels_ = kernels; }
    // Weighted Lloyd passes over every training block after the design (0: none). "No lbg"
    // tables are the blocks themselves and are never refined.
    void SetRefinePasses(int passes) { refinePasses_ = passes; }

    // Throws RunCancelled on a cancel, or with a refusal when "No lbg" meets more blocks than
    // 16-bit indices can number.
    void Run(const AnimationRefs& animations);

    int LookupTableSize() const { return size_; }
    // What the refinement did; all zero when it did not run.
    const RefinementReport& Refinement() const { return refinement_; }
    // size * 48 bytes.
    const std::vector<std::uint8_t>& LookupTable() const { return table_; }
    // Every training vector with the entry it is assigned to, and the groups they came from.
    const TrainingSet& Training() const { return training_; }
    TrainingSet& Training() { return training_; }

private:
    void AssignNearestEntries(DesignContext& context);

    CompressionProgress& progress_;
    bool sampling_;
    bool noLbg_;
    RunFlags& flags_;
    WorkerPool& pool_;
    int size_ = 500;
    int weightMode_ = kMaxBrightness;
    std::uint64_t seed_ = 0;
    int refinePasses_ = 0;
    RefinementReport refinement_;
    KernelSet kernels_ = KernelSet::Fastest;
    TrainingSet training_;
    std::vector<std::uint8_t> table_;
};

} // namespace fenwold
