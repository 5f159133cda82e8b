#include "vq/AlphaTables.h"

#include "vq/RowEncoding.h"

#include <vector>

namespace fenwold {

namespace {

constexpr std::uint8_t kOpaque = 255;
constexpr std::uint8_t kTopLevel = 248;
constexpr std::uint8_t kTeamPixel = 1;

} // namespace

EncodedAlphaTable EncodeAlphaPlanes(std::span<const std::uint8_t> alpha,
                                    std::span<const std::uint8_t> mask, int width, int height) {
    EncodedAlphaTable table{width, height, {}};
    std::vector<std::uint8_t> values(alpha.begin(), alpha.end());
    const auto w = static_cast<std::size_t>(width);
    if (mask.empty()) {
        for (std::uint8_t& a : values) {
            if (a != 0 && a != kOpaque) {
                a = static_cast<std::uint8_t>(a & 0xF8);
                if (a == kTopLevel) {
                    a = kOpaque;
                }
            }
        }
        for (int y = 0; y < height; ++y) {
            AppendAlphaRow(std::span(values).subspan(static_cast<std::size_t>(y) * w, w),
                           table.bytes);
        }
    } else {
        for (std::size_t i = 0; i < values.size(); ++i) {
            values[i] = mask[i] != 0 ? kTeamPixel : values[i] != 0 ? kOpaque : 0;
        }
        for (int y = 0; y < height; ++y) {
            AppendMaskedAlphaRow(std::span(values).subspan(static_cast<std::size_t>(y) * w, w),
                                 table.bytes);
        }
    }
    return table;
}

} // namespace fenwold
