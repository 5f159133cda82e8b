#include "vq/BlockIndex.h"

#include <bit>
#include <cstring>

namespace fenwold {

BlockIndex::BlockIndex(std::size_t capacity)
    : slots_(std::bit_ceil(capacity * 2 + 2)), mask_(slots_.size() - 1) {}

std::size_t BlockIndex::SlotOf(const BlockVector& block) const {
    std::uint64_t hash = 0x9E3779B97F4A7C15ull;
    for (int w = 0; w < kBlockBytes / 8; ++w) {
        std::uint64_t word;
        std::memcpy(&word, block.data() + 8 * w, 8);
        hash = (hash ^ word) * 0xBF58476D1CE4E5B9ull;
        hash ^= hash >> 31;
    }
    std::size_t slot = static_cast<std::size_t>(hash) & mask_;
    while (slots_[slot].used && slots_[slot].block != block) {
        slot = (slot + 1) & mask_;
    }
    return slot;
}

std::optional<std::uint32_t> BlockIndex::Find(const BlockVector& block) const {
    const Slot& slot = slots_[SlotOf(block)];
    if (!slot.used) {
        return std::nullopt;
    }
    return slot.number;
}

bool BlockIndex::Insert(const BlockVector& block, std::uint32_t number) {
    Slot& slot = slots_[SlotOf(block)];
    if (slot.used) {
        return false;
    }
    slot = Slot{block, number, true};
    ++size_;
    return true;
}

} // namespace fenwold
