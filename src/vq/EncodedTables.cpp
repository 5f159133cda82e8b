#include "vq/EncodedTables.h"

#include "vq/RowEncoding.h"

#include <span>

namespace fenwold {

std::vector<std::uint8_t> EncodeIndexTable(const IndexMap& map, int width, int height) {
    const auto rowLength = static_cast<std::size_t>(width / 2);
    std::vector<std::uint8_t> bytes;
    for (int row = 0; row < height; ++row) {
        const std::span<const std::uint16_t> values(
            map.entries.data() + static_cast<std::size_t>(row) * rowLength, rowLength);
        AppendIndexRow(values, map.rowVisible[static_cast<std::size_t>(row)] != 0, bytes);
    }
    return bytes;
}

std::vector<EncodedAnimation> EncodeAnimations(const AnimationRefs& animations,
                                               const std::vector<AnimationIndexMaps>& maps,
                                               std::vector<BlockGroup>& groups, WorkerPool& pool) {
    std::vector<EncodedAnimation> result(animations.size());
    for (BlockGroup& group : groups) {
        std::vector<EncodedAlphaTable>& tables =
            result[static_cast<std::size_t>(group.animation)].alphaTables;
        for (EncodedAlphaTable& table : group.alphaTables) {
            tables.push_back(std::move(table));
        }
    }
    pool.Run(animations.size(), [&](std::size_t a) {
        EncodedAnimation& encoded = result[a];
        encoded.fields = static_cast<const RegisteredAnimationFields&>(*animations[a]);
        for (const IndexMap& map : maps[a].maps) {
            encoded.indexTables.push_back(EncodeIndexTable(map, maps[a].width, maps[a].height));
        }
    });
    return result;
}

} // namespace fenwold
