#include "vq/CodebookUsage.h"

#include "vq/RowEncoding.h"
#include "vq/TableValidation.h"

#include <algorithm>

namespace fenwold {

std::vector<GroupBlocks> ReadGroupBlocks(const CompressedAnimationView& animation) {
    std::vector<GroupBlocks> groups;
    for (const FrameTables& frame : animation.frames) {
        const auto g = static_cast<std::size_t>(std::max(frame.index, 0) / 4);
        if (groups.size() <= g) {
            groups.resize(g + 1);
        }
        GroupBlocks& group = groups[g];
        if (group.entries.empty()) {
            group.pixelRowsPerBlock = animation.blockFlag == 1 ? 2 : 1;
            group.blocksPerRow = frame.width / 2;
            group.blockRows = IndexRowsRead(frame.height, animation.blockFlag);
            group.entries = DecodeIndexTable(frame.indexTable, frame.width, group.blockRows);
            group.visible.assign(group.entries.size(), 0);
        }
        const std::vector<std::uint8_t> alpha =
            animation.maskFlag != 0
                ? DecodeMaskedAlphaTable(frame.alphaTable, frame.width, frame.height)
                : DecodeAlphaTable(frame.alphaTable, frame.width, frame.height);
        for (int y = 0; y < frame.height; ++y) {
            const int row = y / group.pixelRowsPerBlock;
            for (int x = 0; x < 2 * group.blocksPerRow; ++x) {
                if (alpha[static_cast<std::size_t>(y) * frame.width + x] != 0) {
                    group.visible[static_cast<std::size_t>(row) * group.blocksPerRow + x / 2] = 1;
                }
            }
        }
    }
    return groups;
}

std::vector<std::uint32_t> CountEntryUses(std::span<const CompressedAnimationView> animations,
                                          int entryCount) {
    std::vector<std::uint32_t> counts(static_cast<std::size_t>(std::max(entryCount, 0)), 0);
    for (const CompressedAnimationView& animation : animations) {
        for (const GroupBlocks& group : ReadGroupBlocks(animation)) {
            for (std::size_t b = 0; b < group.entries.size(); ++b) {
                if (group.visible[b] != 0 && group.entries[b] < counts.size()) {
                    ++counts[group.entries[b]];
                }
            }
        }
    }
    return counts;
}

UsageSummary SummariseUses(std::span<const std::uint32_t> counts) {
    UsageSummary summary;
    for (const std::uint32_t count : counts) {
        summary.blocks += count;
        summary.unused += count == 0 ? 1 : 0;
        summary.usedOnce += count == 1 ? 1 : 0;
        summary.mostUses = std::max(summary.mostUses, count);
    }
    return summary;
}

} // namespace fenwold
