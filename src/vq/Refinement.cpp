#include "vq/Refinement.h"

#include "vq/EntryMembers.h"

#include <algorithm>
#include <array>
#include <string>

namespace fenwold {

namespace {

// Items per task of the parallel loops; any size gives the same results.
constexpr std::size_t kVectorChunk = 512;
constexpr std::size_t kEntryChunk = 16;

const std::uint8_t* EntryAt(std::span<const std::uint8_t> table, std::uint32_t entry) {
    return table.data() + static_cast<std::size_t>(entry) * kBlockBytes;
}

int SquaredDistance(const BlockVector& block, const std::uint8_t* entry) {
    int sum = 0;
    for (int j = 0; j < kBlockBytes; ++j) {
        const int d = block[static_cast<std::size_t>(j)] - entry[j];
        sum += d * d;
    }
    return sum;
}

// Moves every entry with weight to the rounded weighted mean m of its vectors. The error of an
// entry's vectors against an entry c is their error against m plus their weight times
// |m - c|^2, so the rounded mean, the nearest byte vector to m, never does worse than the old
// entry; the entry moves only when it does strictly better.
bool MoveEntries(std::span<const VqVector> vectors, std::vector<std::uint8_t>& table, int count,
                 DesignContext& context) {
    std::vector<std::uint32_t> assignment(vectors.size());
    for (std::size_t i = 0; i < vectors.size(); ++i) {
        assignment[i] = vectors[i].index;
    }
    const EntryMembers grouped = GroupByEntry(assignment, count);
    std::vector<std::uint8_t> moved(static_cast<std::size_t>(count), 0);
    context.pool.ForChunks(
        static_cast<std::size_t>(count), kEntryChunk, [&](std::size_t begin, std::size_t end) {
            for (std::size_t k = begin; k < end; ++k) {
                const std::uint32_t* members = grouped.members.data() + grouped.start[k];
                const std::size_t size = grouped.start[k + 1] - grouped.start[k];
                std::array<double, kBlockBytes> sums{};
                double weights = 0.0;
                for (std::size_t m = 0; m < size; ++m) {
                    const VqVector& v = vectors[members[m]];
                    const double w = v.weight;
                    weights += w;
                    for (int j = 0; j < kBlockBytes; ++j) {
                        sums[static_cast<std::size_t>(j)] +=
                            w * v.block[static_cast<std::size_t>(j)];
                    }
                }
                if (!(weights > 0.0)) {
                    continue;
                }
                std::array<std::uint8_t, kBlockBytes> rounded{};
                std::uint8_t* entry = table.data() + k * kBlockBytes;
                double roundedOff = 0.0;
                double oldOff = 0.0;
                for (int j = 0; j < kBlockBytes; ++j) {
                    const double mean = sums[static_cast<std::size_t>(j)] / weights;
                    const auto byte = static_cast<std::uint8_t>(std::clamp(mean + 0.5, 0.0, 255.0));
                    rounded[static_cast<std::size_t>(j)] = byte;
                    roundedOff += (mean - byte) * (mean - byte);
                    oldOff += (mean - entry[j]) * (mean - entry[j]);
                }
                if (roundedOff < oldOff) {
                    std::copy(rounded.begin(), rounded.end(), entry);
                    moved[k] = 1;
                }
            }
        });
    return std::find(moved.begin(), moved.end(), std::uint8_t{1}) != moved.end();
}

// Every vector takes its nearest entry; returns whether any changed.
bool AssignNearest(std::span<VqVector> vectors, std::span<const std::uint8_t> table, int count,
                   DesignContext& context) {
    const ByteEntrySearch search(table, count, context.kernels);
    std::vector<std::uint8_t> changed(vectors.size(), 0);
    context.pool.ForChunks(
        vectors.size(), kVectorChunk,
        [&](std::size_t begin, std::size_t end) {
            std::vector<std::uint16_t> scratch(search.ScratchSize());
            for (std::size_t i = begin; i < end; ++i) {
                const auto nearest =
                    static_cast<std::uint32_t>(search.Nearest(vectors[i].block, scratch.data()));
                changed[i] = nearest != vectors[i].index ? 1 : 0;
                vectors[i].index = nearest;
            }
        },
        [&](std::size_t done) {
            context.progress.ShowText(ProgressField::SearchVectorIndex,
                                      ProgressFraction(done / 10 * 10, vectors.size()));
        });
    return std::find(changed.begin(), changed.end(), std::uint8_t{1}) != changed.end();
}

} // namespace

double WeightedSquaredError(std::span<const VqVector> vectors,
                            std::span<const std::uint8_t> table) {
    double sum = 0.0;
    for (const VqVector& v : vectors) {
        sum += static_cast<double>(v.weight) * SquaredDistance(v.block, EntryAt(table, v.index));
    }
    return sum;
}

RefinementReport RefineLookupTable(std::span<VqVector> vectors, std::vector<std::uint8_t>& table,
                                   int entryCount, int passes, DesignContext& context) {
    RefinementReport report;
    report.errorBefore = WeightedSquaredError(vectors, table);
    report.errorAfter = report.errorBefore;
    if (entryCount <= 0 || vectors.empty()) {
        return report;
    }
    for (int pass = 1; pass <= passes && !context.flags.lbgStop.load(); ++pass) {
        const bool moved = MoveEntries(vectors, table, entryCount, context);
        // The design's own assignment need not be the nearest in byte form, so the first pass
        // always searches.
        const bool reassigned =
            (moved || pass == 1) && AssignNearest(vectors, table, entryCount, context);
        const double error = WeightedSquaredError(vectors, table);
        context.progress.ShowText(ProgressField::Loop, std::to_string(pass));
        context.progress.ShowText(ProgressField::ErrorGain,
                                  ProgressReal(report.errorAfter - error));
        report.errorAfter = error;
        report.passes = pass;
        CheckCancel(context.flags);
        // With no vector moved, the next means are the entries already taken.
        if (!reassigned) {
            break;
        }
    }
    return report;
}

} // namespace fenwold
