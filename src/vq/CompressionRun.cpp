#include "vq/CompressionRun.h"

#include "vq/EncodedTables.h"
#include "vq/IndexMaps.h"
#include "vq/VqEngine.h"
#include "vq/WorkerPool.h"

namespace fenwold {

CompressionRun::CompressionRun(AnimationRefs animations, const CompressionParameters& parameters,
                               std::uint64_t seed, CompressionProgress& progress)
    : animations_(std::move(animations)), parameters_(parameters), seed_(seed), progress_(progress),
      worker_([this] { Work(); }) {}

CompressionRun::~CompressionRun() {
    Cancel();
    RaiseLbgStop();
    worker_.join();
}

void CompressionRun::Cancel() {
    if (Status() == RunStatus::Running) {
        flags_.cancel = true;
    }
}

void CompressionRun::RaiseLbgStop() {
    flags_.lbgStop = true;
}

void CompressionRun::Work() {
    try {
        WorkerPool pool(parameters_.threads);
        CVqEngine engine(progress_, parameters_.sampling, parameters_.noLbg, flags_, pool);
        engine.SetLookupTableSize(parameters_.lookupTableSize);
        engine.SetWeightMode(parameters_.weightMode);
        engine.SetSeed(seed_);
        engine.Run(animations_);
        const std::vector<AnimationIndexMaps> maps =
            BuildIndexMaps(animations_, engine.Training(), progress_, flags_);
        result_.entryCount = engine.LookupTableSize();
        result_.lookupTable = engine.LookupTable();
        result_.animations = EncodeAnimations(animations_, maps, engine.Training().groups, pool);
        status_.store(RunStatus::Finished, std::memory_order_release);
    } catch (const RunCancelled& cancelled) {
        refusal_ = cancelled.refusal;
        status_.store(RunStatus::Cancelled, std::memory_order_release);
    } catch (const std::bad_alloc&) {
        refusal_ = kCompressionOutOfMemory;
        status_.store(RunStatus::Cancelled, std::memory_order_release);
    }
}

RunStatus CompressionRun::Finish(CompressionResultSink& sink, Platform& platform) {
    const RunStatus status = Status();
    if (status == RunStatus::Finished) {
        platform.sound.PlayLooping(kCompressionDoneSound);
        sink.AcceptCompressionResult(std::move(result_));
    } else if (status == RunStatus::Cancelled && !refusal_.empty()) {
        platform.prompts.ShowMessage(refusal_);
    }
    return status;
}

std::string_view RefuseParameters(const CompressionParameters& parameters) {
    if (!parameters.noLbg &&
        (parameters.lookupTableSize < 1 || parameters.lookupTableSize > kMaxLookupTableSize)) {
        return kLookupTableSizeRefused;
    }
    return {};
}

std::unique_ptr<CompressionRun> StartCompression(AnimationRefs animations,
                                                 const CompressionParameters& parameters,
                                                 CompressionProgress& progress,
                                                 Platform& platform) {
    const std::string_view refusal = RefuseParameters(parameters);
    if (!refusal.empty()) {
        platform.prompts.ShowMessage(refusal);
        return nullptr;
    }
    const std::uint64_t seed =
        parameters.seed.value_or(static_cast<std::uint64_t>(platform.clock.SecondsSinceEpoch()));
    return std::make_unique<CompressionRun>(std::move(animations), parameters, seed, progress);
}

} // namespace fenwold
