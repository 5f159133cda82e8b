#include "vq/LookupTableDesign.h"

#include "vq/BlockIndex.h"
#include "vq/EntryMembers.h"

#include <algorithm>
#include <array>
#include <string>

namespace fenwold {

namespace {

// Vectors per task of the parallel searches; any size gives the same results.
constexpr std::size_t kVectorChunk = 256;
constexpr std::size_t kEntryChunk = 32;
constexpr int kBucketWidth = 3; // first-level entries each entry lists itself under

// A table during design: 48 floats an entry, channels red, green, blue.
using FloatTable = std::vector<float>;

void ShowErrors(DesignContext& context, double threshold, double gain, int loop) {
    context.progress.ShowText(ProgressField::Threshold, ProgressReal(threshold));
    context.progress.ShowText(ProgressField::ErrorGain, ProgressReal(gain));
    context.progress.ShowText(ProgressField::Loop, std::to_string(loop));
}

FloatTable FloatFromBytes(std::span<const std::uint8_t> bytes, int count) {
    FloatTable table(static_cast<std::size_t>(count) * kBlockBytes);
    for (int k = 0; k < count; ++k) {
        BlockVector entry;
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(k) * kBlockBytes, kBlockBytes,
                    entry.begin());
        ToFloatForm(entry, &table[static_cast<std::size_t>(k) * kBlockBytes]);
    }
    return table;
}

std::vector<std::uint8_t> BytesFromFloat(const FloatTable& table) {
    std::vector<std::uint8_t> bytes(table.size());
    for (std::size_t at = 0; at < table.size(); at += 3) {
        for (int c = 0; c < 3; ++c) {
            bytes[at + 2 - static_cast<std::size_t>(c)] =
                static_cast<std::uint8_t>(table[at + static_cast<std::size_t>(c)] + 0.5f);
        }
    }
    return bytes;
}

struct Assignment {
    std::vector<std::uint32_t> entry;
    std::vector<float> distance;
};

// Assigns every vector of the list with `nearest(query, scratch, distance)` -> entry, showing
// "Search Vector" as the vectors are done.
template <typename Nearest>
Assignment AssignVectors(std::span<const VqVector> list, std::size_t scratchSize,
                         DesignContext& context, const Nearest& nearest) {
    Assignment result{std::vector<std::uint32_t>(list.size()), std::vector<float>(list.size())};
    context.progress.ShowText(ProgressField::SearchVector, ProgressFraction(0, list.size()));
    context.pool.ForChunks(
        list.size(), kVectorChunk,
        [&](std::size_t begin, std::size_t end) {
            std::vector<float> scratch(scratchSize);
            alignas(32) float query[kBlockBytes];
            for (std::size_t i = begin; i < end; ++i) {
                ToFloatForm(list[i].block, query);
                result.entry[i] = nearest(i, query, scratch.data(), result.distance[i]);
            }
        },
        [&](std::size_t done) {
            context.progress.ShowText(ProgressField::SearchVector,
                                      ProgressFraction(done / 10 * 10, list.size()));
        });
    return result;
}

// The sum of weight times distance, added up in list order whatever the thread count.
double SumError(std::span<const VqVector> list, const std::vector<float>& distance) {
    double sum = 0.0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        sum += list[i].weight * distance[i];
    }
    return sum;
}

// Moves every entry to the weighted mean of its vectors; an entry without weight stays. Each
// entry adds up its own vectors in list order, so the thread count cannot change a sum.
void MoveToMeans(std::span<const VqVector> list, const std::vector<std::uint32_t>& assignment,
                 FloatTable& table, int count, DesignContext& context) {
    const EntryMembers grouped = GroupByEntry(assignment, count);
    const std::vector<std::size_t>& start = grouped.start;
    const std::vector<std::uint32_t>& members = grouped.members;
    context.pool.ForChunks(
        static_cast<std::size_t>(count), kEntryChunk, [&](std::size_t begin, std::size_t end) {
            for (std::size_t k = begin; k < end; ++k) {
                std::array<double, kBlockBytes> sums{};
                double weights = 0.0;
                alignas(32) float vector[kBlockBytes];
                for (std::size_t m = start[k]; m < start[k + 1]; ++m) {
                    const VqVector& v = list[members[m]];
                    ToFloatForm(v.block, vector);
                    const double w = v.weight;
                    weights += w;
                    for (int j = 0; j < kBlockBytes; ++j) {
                        sums[static_cast<std::size_t>(j)] += w * vector[j];
                    }
                }
                if (weights != 0.0) {
                    for (int j = 0; j < kBlockBytes; ++j) {
                        table[k * kBlockBytes + static_cast<std::size_t>(j)] =
                            static_cast<float>(sums[static_cast<std::size_t>(j)] / weights);
                    }
                }
            }
        });
}

Assignment AssignToAll(std::span<const VqVector> list, const FloatTable& table, int count,
                       DesignContext& context) {
    FloatEntrySearch search(context.kernels);
    search.LoadAll(table, count);
    return AssignVectors(list, search.ScratchSize(), context,
                         [&](std::size_t, const float* query, float* scratch, float& distance) {
                             return static_cast<std::uint32_t>(
                                 search.Nearest(query, scratch, distance));
                         });
}

DesignedTable LbgPass(std::span<const VqVector> list, FloatTable table, int count, double threshold,
                      DesignContext& context) {
    Assignment assignment = AssignToAll(list, table, count, context);
    const double before = SumError(list, assignment.distance);
    ShowErrors(context, before * threshold, 0.0, 0);
    if (!context.flags.lbgStop.load()) {
        MoveToMeans(list, assignment.entry, table, count, context);
        assignment = AssignToAll(list, table, count, context);
        const double after = SumError(list, assignment.distance);
        ShowErrors(context, before * threshold, before - after, 1);
    }
    return {count, BytesFromFloat(table), std::move(assignment.entry)};
}

// Entry lists per first-level entry: bucket b holds, in increasing order, every entry that has
// b among its three nearest first-level entries.
struct Buckets {
    std::vector<std::vector<std::uint32_t>> members;
    std::vector<FloatEntrySearch> searches;
    bool anyEmpty = false;
    std::size_t scratchSize = 0;
};

Buckets BuildBuckets(const FloatTable& table, int count, const FloatEntrySearch& firstLevel,
                     DesignContext& context) {
    const int firstCount = firstLevel.EntryCount();
    const int width = std::min(kBucketWidth, firstCount);
    std::vector<std::array<std::uint32_t, kBucketWidth>> nearest(static_cast<std::size_t>(count));
    context.pool.ForChunks(
        static_cast<std::size_t>(count), kEntryChunk, [&](std::size_t begin, std::size_t end) {
            std::vector<float> distance(firstLevel.ScratchSize());
            for (std::size_t k = begin; k < end; ++k) {
                firstLevel.Distances(&table[k * kBlockBytes], distance.data());
                // Kept in order of (distance, index): scanning by index, a later entry only passes
                // a strictly farther one.
                std::array<int, kBucketWidth> best{};
                int found = 0;
                for (int b = 0; b < firstCount; ++b) {
                    int at = found < width ? found++ : width;
                    while (at > 0 && distance[static_cast<std::size_t>(b)] <
                                         distance[static_cast<std::size_t>(
                                             best[static_cast<std::size_t>(at - 1)])]) {
                        if (at < width) {
                            best[static_cast<std::size_t>(at)] =
                                best[static_cast<std::size_t>(at - 1)];
                        }
                        --at;
                    }
                    if (at < width) {
                        best[static_cast<std::size_t>(at)] = b;
                    }
                }
                for (int w = 0; w < width; ++w) {
                    nearest[k][static_cast<std::size_t>(w)] =
                        static_cast<std::uint32_t>(best[static_cast<std::size_t>(w)]);
                }
            }
        });
    Buckets buckets;
    buckets.members.resize(static_cast<std::size_t>(firstCount));
    for (int k = 0; k < count; ++k) {
        for (int w = 0; w < width; ++w) {
            buckets.members[nearest[static_cast<std::size_t>(k)][static_cast<std::size_t>(w)]]
                .push_back(static_cast<std::uint32_t>(k));
        }
    }
    buckets.searches.assign(static_cast<std::size_t>(firstCount),
                            FloatEntrySearch(context.kernels));
    for (int b = 0; b < firstCount; ++b) {
        FloatEntrySearch& search = buckets.searches[static_cast<std::size_t>(b)];
        search.Load(table, buckets.members[static_cast<std::size_t>(b)]);
        buckets.anyEmpty = buckets.anyEmpty || search.EntryCount() == 0;
        buckets.scratchSize = std::max(buckets.scratchSize, search.ScratchSize());
    }
    return buckets;
}

// Every vector searches the bucket of its first-level entry, or the whole table when that
// bucket is empty.
Assignment AssignInBuckets(std::span<const VqVector> list, const FloatTable& table, int count,
                           const std::vector<std::uint32_t>& firstAssignment,
                           const Buckets& buckets, DesignContext& context) {
    FloatEntrySearch all(context.kernels);
    if (buckets.anyEmpty) {
        all.LoadAll(table, count);
    }
    return AssignVectors(list, std::max(buckets.scratchSize, all.ScratchSize()), context,
                         [&](std::size_t i, const float* query, float* scratch, float& distance) {
                             const std::uint32_t b = firstAssignment[i];
                             const std::vector<std::uint32_t>& members = buckets.members[b];
                             if (members.empty()) {
                                 return static_cast<std::uint32_t>(
                                     all.Nearest(query, scratch, distance));
                             }
                             return members[static_cast<std::size_t>(
                                 buckets.searches[b].Nearest(query, scratch, distance))];
                         });
}

DesignedTable HierarchicalLoop(std::span<const VqVector> list, FloatTable table, int count,
                               const DesignedTable& first, double threshold, int patience,
                               DesignContext& context) {
    FloatEntrySearch firstLevel(context.kernels);
    firstLevel.LoadAll(FloatFromBytes(first.entries, first.entryCount), first.entryCount);

    Buckets buckets = BuildBuckets(table, count, firstLevel, context);
    Assignment assignment = AssignInBuckets(list, table, count, first.assignment, buckets, context);
    double error = SumError(list, assignment.distance);
    ShowErrors(context, error * threshold, 0.0, 0);
    if (!context.flags.lbgStop.load()) {
        int stale = 0;
        for (int loop = 1;; ++loop) {
            MoveToMeans(list, assignment.entry, table, count, context);
            buckets = BuildBuckets(table, count, firstLevel, context);
            assignment = AssignInBuckets(list, table, count, first.assignment, buckets, context);
            const double newError = SumError(list, assignment.distance);
            ShowErrors(context, error * threshold, error - newError, loop);
            if (error - newError <= error * threshold) {
                if (++stale >= patience) {
                    break;
                }
            } else {
                stale = 0;
            }
            error = newError;
            if (context.flags.lbgStop.load()) {
                break;
            }
        }
    }
    return {count, BytesFromFloat(table), std::move(assignment.entry)};
}

// The table holds every distinct vector of the list: each vector takes its equal entry.
DesignedTable EqualEntries(std::span<const VqVector> list, const BlockIndex& index,
                           std::vector<std::uint8_t> entries, int count) {
    DesignedTable result{count, std::move(entries), std::vector<std::uint32_t>(list.size())};
    for (std::size_t i = 0; i < list.size(); ++i) {
        result.assignment[i] = *index.Find(list[i].block);
    }
    return result;
}

void AppendEntry(std::vector<std::uint8_t>& entries, const BlockVector& block) {
    entries.insert(entries.end(), block.begin(), block.end());
}

} // namespace

DesignedTable DesignLookupTable(std::span<const VqVector> list, int k, double threshold,
                                int patience, DesignContext& context) {
    const int wanted =
        static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(k), list.size()));
    if (wanted <= 0) {
        return {0, {}, std::vector<std::uint32_t>(list.size(), 0)};
    }
    if (wanted < kTwoLevelSize) {
        // The first `wanted` distinct vectors in list order.
        BlockIndex index(static_cast<std::size_t>(wanted));
        std::vector<std::uint8_t> entries;
        int count = 0;
        for (std::size_t i = 0; i < list.size() && count < wanted; ++i) {
            if (index.Insert(list[i].block, static_cast<std::uint32_t>(count))) {
                AppendEntry(entries, list[i].block);
                ++count;
            }
        }
        if (count < wanted) {
            return EqualEntries(list, index, std::move(entries), count);
        }
        return LbgPass(list, FloatFromBytes(entries, count), count, threshold, context);
    }

    const DesignedTable first =
        DesignLookupTable(list, wanted / 100, kCoarseThreshold, kCoarsePatience, context);
    BlockIndex index(static_cast<std::size_t>(first.entryCount + wanted));
    std::vector<std::uint8_t> entries = first.entries;
    for (int e = 0; e < first.entryCount; ++e) {
        BlockVector entry;
        std::copy_n(entries.begin() + static_cast<std::ptrdiff_t>(e) * kBlockBytes, kBlockBytes,
                    entry.begin());
        index.Insert(entry, static_cast<std::uint32_t>(e));
    }
    int count = first.entryCount;
    for (std::size_t i = 0; i < list.size() && count < wanted; ++i) {
        if (index.Insert(list[i].block, static_cast<std::uint32_t>(count))) {
            AppendEntry(entries, list[i].block);
            ++count;
        }
    }
    if (count < wanted) {
        return EqualEntries(list, index, std::move(entries), count);
    }
    return HierarchicalLoop(list, FloatFromBytes(entries, count), count, first, threshold, patience,
                            context);
}

} // namespace fenwold
