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

CompressionResult CompressAnimations(const AnimationRefs& animations,
                                     const CompressionParameters& parameters, std::uint64_t seed,
                                     CompressionProgress& progress, RunFlags& flags) {
    const std::string_view refusal = RefuseParameters(parameters);
    if (!refusal.empty()) {
        throw RunCancelled{std::string(refusal)};
    }
    WorkerPool pool(parameters.threads);
    CVqEngine engine(progress, parameters.sampling, parameters.noLbg, flags, pool);
    engine.SetLookupTableSize(parameters.lookupTableSize);
    engine.SetWeightMode(parameters.weightMode);
    engine.SetSeed(seed);
    engine.SetRefinePasses(parameters.refinePasses);
    engine.Run(animations);
    const std::vector<AnimationIndexMaps> maps =
        BuildIndexMaps(animations, engine.Training(), progress, flags);
    CompressionResult result;
    result.entryCount = engine.LookupTableSize();
    result.lookupTable = engine.LookupTable();
    result.animations = EncodeAnimations(animations, maps, engine.Training().groups, pool);
    return result;
}

CompressionResult CompressAnimations(const AnimationRefs& animations,
                                     const CompressionParameters& parameters, std::uint64_t seed,
                                     CompressionProgress& progress) {
    RunFlags flags;
    return CompressAnimations(animations, parameters, seed, progress, flags);
}

void CompressionRun::Work() {
    try {
        result_ = CompressAnimations(animations_, parameters_, seed_, progress_, flags_);
        quality_ = MeasureCompression(animations_, result_);
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
        if (!sink.AcceptCompressionResult(std::move(result_))) {
            return RunStatus::Cancelled;
        }
        platform.sound.PlayLooping(kCompressionDoneSound);
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
    return std::make_unique<CompressionRun>(std::move(animations), parameters,
                                            RunSeed(parameters, platform.clock), progress);
}

std::uint64_t RunSeed(const CompressionParameters& parameters, Clock& clock) {
    return parameters.seed.value_or(static_cast<std::uint64_t>(clock.SecondsSinceEpoch()));
}

} // namespace fenwold
