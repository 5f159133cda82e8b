#include "image/PictureBox.h"

#include <algorithm>
#include <cstring>

namespace fenwold {

namespace {

// The first non-zero value of a row, eight at a time where they are all zero (most rows of a
// sprite are transparent); `size` when there is none.
std::size_t FirstVisible(const std::uint8_t* row, std::size_t size) {
    std::size_t x = 0;
    for (; x + 8 <= size; x += 8) {
        std::uint64_t eight;
        std::memcpy(&eight, row + x, sizeof eight);
        if (eight != 0) {
            break;
        }
    }
    while (x < size && row[x] == 0) {
        ++x;
    }
    return x;
}

} // namespace

std::optional<PictureBox> OpaqueBox(std::span<const std::uint8_t> alpha, int width, int height) {
    std::optional<PictureBox> box;
    const auto size = static_cast<std::size_t>(width);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = alpha.data() + static_cast<std::size_t>(y) * size;
        const std::size_t first = FirstVisible(row, size);
        if (first == size) {
            continue;
        }
        std::size_t last = size - 1;
        while (row[last] == 0) {
            --last;
        }
        const PictureBox line{static_cast<int>(first), y, static_cast<int>(last), y};
        box = box ? Union(*box, line) : line;
    }
    return box;
}

PictureBox Union(const PictureBox& a, const PictureBox& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

} // namespace fenwold
