#pragma once

#include "vq/VqTypes.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace fenwold {

// Remembers distinct block vectors with a number each, so that "is this vector equal to one
// taken before, and to which" costs one hash look-up instead of a scan over everything taken.
class BlockIndex {
public:
    // Room for `capacity` distinct vectors.
    explicit BlockIndex(std::size_t capacity);

    std::optional<std::uint32_t> Find(const BlockVector& block) const;
    // Keeps the first number given for a vector; returns false when it was there already.
    bool Insert(const BlockVector& block, std::uint32_t number);
    std::size_t Size() const { return size_; }

private:
    struct Slot {
        BlockVector block;
        std::uint32_t number;
        bool used;
    };
    std::size_t SlotOf(const BlockVector& block) const;

    std::vector<Slot> slots_;
    std::size_t mask_;
    std::size_t size_ = 0;
};

} // namespace fenwold
