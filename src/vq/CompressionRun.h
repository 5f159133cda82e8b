#pragma once

#include "platform/Platform.h"
#include "vq/CompressionProgress.h"
#include "vq/CompressionResult.h"
#include "vq/Quality.h"
#include "vq/RunControl.h"
#include "vq/TrainingBlocks.h"
#include "vq/Weights.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

namespace fenwold {

// Most refine passes a run is asked for; a pass or two gives most of the gain.
inline constexpr int kMaxRefinePasses = 100;

// The values of the "Set lookup table number" dialog, and how the run may use the machine.
struct CompressionParameters {
    int lookupTableSize = 500;
    bool sampling = true;
    bool noLbg = false;
    int weightMode = kMaxBrightness;
    // Weighted Lloyd passes over every training block after the design; 0 designs exactly as
    // the dialog's own modes do.
    int refinePasses = 0;
    // Seeds the sampling; without one, the clock's seconds when the run starts.
    std::optional<std::uint64_t> seed;
    // Threads of the run; 0 means one per hardware thread. Results never depend on it.
    int threads = 0;
};

// Shown when the lookup table size cannot be numbered by 16-bit indices.
inline constexpr std::string_view kLookupTableSizeRefused =
    "룩업 테이블 크기는 1에서 65534 사이여야 합니다.";
// Shown when memory runs out during a run, which then ends as cancelled.
inline constexpr std::string_view kCompressionOutOfMemory =
    "Out of memory: the compression stopped and nothing was changed.";

// The refusal for parameters no run can take, or empty.
std::string_view RefuseParameters(const CompressionParameters& parameters);

// The seed of a run: the parameters' own, else the clock's seconds when the run starts.
std::uint64_t RunSeed(const CompressionParameters& parameters, Clock& clock);

// One whole compression of the animations, on the calling thread (the work itself spreads over
// the parameters' worker threads): collection and design, index maps and encoded tables.
// Progress is reported from the calling thread. Throws RunCancelled when `flags` cancel the run
// (checked after each group of four frames) or the parameters are refused (the refusal says
// why), and std::bad_alloc when memory runs out. The animations must not change until it
// returns.
CompressionResult CompressAnimations(const AnimationRefs& animations,
                                     const CompressionParameters& parameters, std::uint64_t seed,
                                     CompressionProgress& progress, RunFlags& flags);
// The same for a run that nobody cancels.
CompressionResult CompressAnimations(const AnimationRefs& animations,
                                     const CompressionParameters& parameters, std::uint64_t seed,
                                     CompressionProgress& progress);

// One compression on its own worker thread, for a window that stays responsive meanwhile. The
// window polls Status(); once it has left Running, Finish hands the result over on the
// window's thread.
class CompressionRun {
public:
    // Starts the worker at once. The animations must not change while the status is Running.
    CompressionRun(AnimationRefs animations, const CompressionParameters& parameters,
                   std::uint64_t seed, CompressionProgress& progress);
    // A run still going is cancelled and waited for.
    ~CompressionRun();
    CompressionRun(const CompressionRun&) = delete;
    CompressionRun& operator=(const CompressionRun&) = delete;

    RunStatus Status() const { return status_.load(std::memory_order_acquire); }
    // Stops the run after the current group of four frames; nothing reaches the document.
    // No effect once the run has finished.
    void Cancel();
    // Cuts LBG refinement short; the run goes on with the table it has.
    void RaiseLbgStop();

    // Once the status has left Running: a finished run hands its result to the sink and, when
    // the sink takes it, starts the compression sound; a refused run tells the user why.
    // Returns the status, Cancelled also when the sink refused the result.
    RunStatus Finish(CompressionResultSink& sink, Platform& platform);
    // Once the run has finished: what the compression lost, measured on the worker.
    const QualityFigures& Quality() const { return quality_; }

private:
    void Work();

    AnimationRefs animations_;
    CompressionParameters parameters_;
    std::uint64_t seed_;
    CompressionProgress& progress_;
    RunFlags flags_;
    std::atomic<RunStatus> status_{RunStatus::Running};
    CompressionResult result_;
    QualityFigures quality_;
    std::string refusal_;
    std::thread worker_;
};

// Starts a run, or tells the user why it cannot start and returns null.
std::unique_ptr<CompressionRun> StartCompression(AnimationRefs animations,
                                                 const CompressionParameters& parameters,
                                                 CompressionProgress& progress, Platform& platform);

} // namespace fenwold
