#include "vq/IndexMaps.h"

namespace fenwold {

std::vector<AnimationIndexMaps> BuildIndexMaps(const AnimationRefs& animations,
                                               const TrainingSet& training,
                                               CompressionProgress& progress,
                                               const RunFlags& flags) {
    const std::int64_t total = ProgressTotal(animations);
    std::int64_t counter = 0;
    std::vector<AnimationIndexMaps> result;
    result.reserve(animations.size());
    for (const RegisteredAnimation* animation : animations) {
        result.push_back({animation->width, animation->height, {}});
    }
    // The blocks come round again in the order they were collected, so the search for a
    // block's vector, started at the node after the last one found, finds it at once: each
    // visible block takes the index of the next training vector.
    std::size_t cursor = 0;
    for (const BlockGroup& group : training.groups) {
        AnimationIndexMaps& owner = result[static_cast<std::size_t>(group.animation)];
        const int rowLength = owner.width / 2;
        IndexMap map;
        map.entries.assign(static_cast<std::size_t>(owner.width) * owner.height / 2, 0);
        map.rowVisible.assign(static_cast<std::size_t>(owner.height), 0);
        std::size_t block = 0;
        for (int row = 0; row < group.blockRows; ++row) {
            for (int column = 0; column < group.blocksPerRow; ++column, ++block) {
                if (group.visible[block] == 0) {
                    continue;
                }
                const auto index = static_cast<std::uint16_t>(training.vectors[cursor++].index);
                if (block < map.entries.size() && rowLength > 0) { // widths are even
                    map.entries[block] = index;
                    map.rowVisible[block / static_cast<std::size_t>(rowLength)] = 1;
                }
            }
            counter += 8 * group.blocksPerRow;
            progress.ShowBar(ProgressBar::IndexTable, ProgressPercent(counter, total));
        }
        owner.maps.push_back(std::move(map));
        CheckCancel(flags);
    }
    return result;
}

} // namespace fenwold
