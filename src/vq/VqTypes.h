#pragma once

#include <array>
#include <cstdint>

namespace fenwold {

// A block is 2 x 2 pixels over four frames: entry e = (c + 2r) + 4f holds column c, row r of
// frame f as three bytes blue, green, red, each 0-31.
inline constexpr int kBlockEntries = 16;
inline constexpr int kBlockBytes = 48;
using BlockVector = std::array<std::uint8_t, kBlockBytes>;

// Index maps hold 16-bit entries and keep 0xFFFE for "not in the training list", so neither a
// lookup table nor a "No lbg" training list may grow beyond 65534 entries.
inline constexpr std::uint16_t kNotInTrainingList = 0xFFFE;
inline constexpr int kMaxLookupTableSize = 65534;

// One training block: the lookup table entry it is assigned to, its weight and its vector.
struct VqVector {
    std::uint32_t index = 0;
    float weight = 1.0f;
    BlockVector block{};
};

} // namespace fenwold
