#pragma once

#include "vq/VqTypes.h"

#include <cstdint>
#include <span>
#include <vector>

namespace fenwold {

// The instruction sets the nearest-entry searches may use, at most: the fastest the processor
// has, AVX2, or none. All give the same answers; the portable loops are for processors without
// AVX2, and the tests compare them all.
enum class KernelSet { Fastest, Avx2, Portable };
enum class Isa { Portable, Avx2, Avx512 };

// Byte lookup table entries laid out for the integer search: for each group of 32 entries and
// each pair of vector bytes, the 32 entries' two bytes side by side, and each entry's sum of
// squared bytes.
class ByteEntrySearch {
public:
    ByteEntrySearch(std::span<const std::uint8_t> table, int entryCount,
                    KernelSet kernels = KernelSet::Fastest);

    int EntryCount() const { return count_; }
    // The entry with the least sum of squared byte differences; ties keep the lowest index.
    // `scratch` holds at least ScratchSize() values.
    int Nearest(const BlockVector& block, std::uint16_t* scratch) const;
    std::size_t ScratchSize() const { return static_cast<std::size_t>(groups_) * 32; }

private:
    struct alignas(64) Line {
        std::uint8_t bytes[64];
    };
    int count_;
    int groups_;
    Isa isa_;
    std::vector<Line> pairs_; // group g, pair q at bytes (g * 24 + q) * 64
    std::vector<std::uint16_t> norms_;
};

// Float entries (48 floats each, channels red, green, blue) laid out for the float search:
// groups of 8 entries, for each of the 48 components the 8 entries' values side by side.
class FloatEntrySearch {
public:
    explicit FloatEntrySearch(KernelSet kernels = KernelSet::Fastest);

    // Takes entries[members[i]] as its entry i, or the first entryCount entries.
    void Load(std::span<const float> entries, std::span<const std::uint32_t> members);
    void LoadAll(std::span<const float> entries, int entryCount);

    int EntryCount() const { return count_; }
    // distances[i] = sqrt of the sum over the 48 components, in order, of (query - entry)^2,
    // all in single precision.
    void Distances(const float* query, float* distances) const;
    // The entry with the least distance; ties keep the lowest index. `scratch` holds at least
    // ScratchSize() floats.
    int Nearest(const float* query, float* scratch, float& distance) const;
    std::size_t ScratchSize() const { return static_cast<std::size_t>(groups_) * 8; }

private:
    struct alignas(64) Line {
        float values[16];
    };
    int count_ = 0;
    int groups_ = 0;
    Isa isa_;
    std::vector<Line> lanes_; // group g, component j at floats (g * 48 + j) * 8
};

// A block vector in float form: entry by entry, channels red, green, blue.
void ToFloatForm(const BlockVector& block, float* out);

} // namespace fenwold
