#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace fenwold {

// The text fields of the "VQ Compute" window, each with the label it stands under.
enum class ProgressField {
    CollectedBlocks,   // "%d": training blocks collected so far
    Sampling,          // "%d / %d"
    SearchVector,      // "%d / %d"
    Loop,              // "%d"
    Threshold,         // "%f"
    ErrorGain,         // "%f"
    SearchVectorIndex, // "%d / %d"
};

// Its two bars, 0-100.
enum class ProgressBar {
    Collection, // "Registy Vector:"
    IndexTable, // "Index Table:"
};

constexpr std::string_view ProgressLabel(ProgressField field) {
    switch (field) {
    case ProgressField::CollectedBlocks:
        return "Registy Vector:";
    case ProgressField::Sampling:
        return "Sampling: ";
    case ProgressField::SearchVector:
        return "Search Vector:";
    case ProgressField::Loop:
        return "Loop:";
    case ProgressField::Threshold:
        return "Threshold:";
    case ProgressField::ErrorGain:
        return "OldSumError - SumError:";
    case ProgressField::SearchVectorIndex:
        return "Search vector index:";
    }
    return {};
}

constexpr std::string_view ProgressLabel(ProgressBar bar) {
    return bar == ProgressBar::Collection ? "Registy Vector:" : "Index Table:";
}

// The texts of the fields: "%d / %d" and "%f".
std::string ProgressFraction(std::size_t i, std::size_t n);
std::string ProgressReal(double value);

// Where a compression run reports its progress: the desktop's "VQ Compute" window or the
// command line's progress display. Called from the run's worker thread only, never from two
// threads at once; the texts are already formatted.
class CompressionProgress {
public:
    virtual ~CompressionProgress() = default;
    virtual void ShowText(ProgressField field, std::string_view text) = 0;
    virtual void ShowBar(ProgressBar bar, int percent) = 0;
};

} // namespace fenwold
