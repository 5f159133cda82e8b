#include "image/PictureBox.h"

#include <algorithm>

namespace fenwold {

std::optional<PictureBox> OpaqueBox(std::span<const std::uint8_t> alpha, int width, int height) {
    std::optional<PictureBox> box;
    for (int y = 0; y < height; ++y) {
        const auto row = alpha.subspan(static_cast<std::size_t>(y) * width, width);
        const auto first =
            std::find_if(row.begin(), row.end(), [](std::uint8_t a) { return a != 0; });
        if (first == row.end()) {
            continue;
        }
        const auto last =
            std::find_if(row.rbegin(), row.rend(), [](std::uint8_t a) { return a != 0; });
        const int left = static_cast<int>(first - row.begin());
        const int right = static_cast<int>(row.rend() - last) - 1;
        if (!box) {
            box = PictureBox{left, y, right, y};
        } else {
            box = Union(*box, PictureBox{left, y, right, y});
        }
    }
    return box;
}

PictureBox Union(const PictureBox& a, const PictureBox& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

} // namespace fenwold
