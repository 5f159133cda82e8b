#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace fenwold {

// The vectors assigned to each entry, in list order: entry k's are members[start[k]] up to
// members[start[k + 1]] (not included).
struct EntryMembers {
    std::vector<std::size_t> start;
    std::vector<std::uint32_t> members;
};

// Groups the vectors of a list by the entry each is assigned to (every one below `count`).
EntryMembers GroupByEntry(std::span<const std::uint32_t> assignment, int count);

} // namespace fenwold
