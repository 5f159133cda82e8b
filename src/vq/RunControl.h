#pragma once

#include <atomic>
#include <string>

namespace fenwold {

// The run status the watching window polls.
enum class RunStatus : int { Running = 0, Finished = 1, Cancelled = 2 };

// Single words shared between a run's worker and the window that watches it.
struct RunFlags {
    std::atomic<bool> cancel{false};  // set by Cancel while the run is running
    std::atomic<bool> lbgStop{false}; // cuts LBG refinement short; cleared when a design starts
};

// Thrown inside the worker to end a run early: a cancel, or a refusal the user is told about.
struct RunCancelled {
    std::string refusal; // empty for a cancel
};

// Called after each group of four frames.
inline void CheckCancel(const RunFlags& flags) {
    if (flags.cancel.load(std::memory_order_relaxed)) {
        throw RunCancelled{};
    }
}

} // namespace fenwold
