#include "vq/EntryMembers.h"

namespace fenwold {

EntryMembers GroupByEntry(std::span<const std::uint32_t> assignment, int count) {
    EntryMembers result;
    result.start.assign(static_cast<std::size_t>(count) + 1, 0);
    for (const std::uint32_t entry : assignment) {
        ++result.start[entry + 1];
    }
    for (std::size_t k = 0; k < static_cast<std::size_t>(count); ++k) {
        result.start[k + 1] += result.start[k];
    }
    result.members.resize(assignment.size());
    std::vector<std::size_t> fill(result.start.begin(), result.start.end() - 1);
    for (std::size_t i = 0; i < assignment.size(); ++i) {
        result.members[fill[assignment[i]]++] = static_cast<std::uint32_t>(i);
    }
    return result;
}

} // namespace fenwold
