#pragma once

#include "vq/CompressionRun.h"

#include <array>
#include <string_view>

namespace fenwold {

// "Set lookup table number": the parameters of a compression run, asked for by "VQ Compute".
class CSetLookupTableDlg {
public:
    static constexpr std::string_view kCaption = "Set lookup table number";
    static constexpr int kMinimumSize = 10;
    static constexpr int kMaximumSize = 1000000;
    static constexpr int kDefaultSize = 500;
    // The items of the "Weight mode:" combo; an item's position is its mode.
    static constexpr std::array<std::string_view, 3> kWeightModeNames = {
        "No Weight ", "Average Brightness", "Max Brightness"};
    // The field below the dialog's own controls: weighted Lloyd passes over every training block
    // after the design. 0 designs exactly as the dialog's modes do.
    static constexpr std::string_view kRefineLabel = "&Refine passes:";
    static constexpr int kMaximumRefinePasses = kMaxRefinePasses;

    int weightMode = 2;
    int lookupTableSize = kDefaultSize;
    bool noLbg = false;
    bool sampling = true;
    int refinePasses = 0;

    // Checking "No lbg" puts the size back to 500; while it is checked the "Lookup table:" edit
    // and the "&Sampling" box are disabled.
    void SetNoLbg(bool checked);
    bool SizeEnabled() const { return !noLbg; }
    bool SamplingEnabled() const { return !noLbg; }
    // A "No lbg" table holds every block as it is: there is nothing to refine.
    bool RefineEnabled() const { return !noLbg; }

    // OK is taken only with a size inside the range.
    bool SizeInRange() const {
        return lookupTableSize >= kMinimumSize && lookupTableSize <= kMaximumSize;
    }
    // The pass count the run is given: none with "No lbg".
    int PassesToRun() const { return noLbg ? 0 : refinePasses; }
};

} // namespace fenwold
