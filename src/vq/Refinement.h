#pragma once

#include "vq/LookupTableDesign.h"
#include "vq/VqTypes.h"

#include <cstdint>
#include <span>
#include <vector>

namespace fenwold {

// How a refinement went: the weighted error (sum over blocks of weight times the sum of squared
// byte differences to their entry) before the first pass and after the last, and the passes run.
struct RefinementReport {
    double errorBefore = 0.0;
    double errorAfter = 0.0;
    int passes = 0;
};

// The weighted error of every vector against the entry its index names, added up in list order.
double WeightedSquaredError(std::span<const VqVector> vectors, std::span<const std::uint8_t> table);

// Up to `passes` weighted Lloyd passes over every training vector, after a design has given
// each vector an entry: each entry moves to the weighted mean of its vectors, rounded to bytes,
// unless that would not lower its own error; then every vector takes its nearest entry (sum of
// squared byte differences, ties to the lowest index). Neither step can raise the weighted
// error. Stops early once a pass moves no vector to another entry, and once the LBG stop is
// raised; checks for a cancel after each pass. Shows "Loop" and "OldSumError - SumError" for
// each pass and "Search vector index" as vectors are searched. The thread count never changes
// the result.
RefinementReport RefineLookupTable(std::span<VqVector> vectors, std::vector<std::uint8_t>& table,
                                   int entryCount, int passes, DesignContext& context);

} // namespace fenwold
