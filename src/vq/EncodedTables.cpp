#include "vq/EncodedTables.h"

#include "image/FrameStreams.h"
#include "vq/RowEncoding.h"

#include <span>

namespace fenwold {

namespace {

constexpr std::uint8_t kOpaque = 255;
constexpr std::uint8_t kTopLevel = 248;
constexpr std::uint8_t kTeamPixel = 1;

} // namespace

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

EncodedAlphaTable EncodeFrameAlphaTable(const RegisteredFrame& frame, int width, int height) {
    EncodedAlphaTable table{width, height, {}};
    std::vector<std::uint8_t> alpha = DecodeFrameAlpha(frame.alphaStream, width, height);
    const auto w = static_cast<std::size_t>(width);
    if (frame.maskStream.empty()) {
        for (std::uint8_t& a : alpha) {
            if (a != 0 && a != kOpaque) {
                a = static_cast<std::uint8_t>(a & 0xF8);
                if (a == kTopLevel) {
                    a = kOpaque;
                }
            }
        }
        for (int y = 0; y < height; ++y) {
            AppendAlphaRow(std::span(alpha).subspan(static_cast<std::size_t>(y) * w, w),
                           table.bytes);
        }
    } else {
        const std::vector<std::uint8_t> mask = DecodeFrameAlpha(frame.maskStream, width, height);
        for (std::size_t i = 0; i < alpha.size(); ++i) {
            alpha[i] = mask[i] != 0 ? kTeamPixel : alpha[i] != 0 ? kOpaque : 0;
        }
        for (int y = 0; y < height; ++y) {
            AppendMaskedAlphaRow(std::span(alpha).subspan(static_cast<std::size_t>(y) * w, w),
                                 table.bytes);
        }
    }
    return table;
}

std::vector<EncodedAnimation> EncodeAnimations(const AnimationRefs& animations,
                                               const std::vector<AnimationIndexMaps>& maps,
                                               WorkerPool& pool) {
    std::vector<EncodedAnimation> result(animations.size());
    pool.Run(animations.size(), [&](std::size_t a) {
        const RegisteredAnimation& animation = *animations[a];
        const AnimationIndexMaps& animationMaps = maps[a];
        EncodedAnimation& encoded = result[a];
        encoded.fields = static_cast<const RegisteredAnimationFields&>(animation);
        for (const IndexMap& map : animationMaps.maps) {
            encoded.indexTables.push_back(
                EncodeIndexTable(map, animationMaps.width, animationMaps.height));
        }
        for (const RegisteredFrame& frame : animation.frames) {
            encoded.alphaTables.push_back(
                EncodeFrameAlphaTable(frame, animation.width, animation.height));
        }
    });
    return result;
}

} // namespace fenwold
