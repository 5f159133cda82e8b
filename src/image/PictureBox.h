#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace fenwold {

// A rectangle of pixels, both ends included.
struct PictureBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left + 1; }
    int Height() const { return bottom - top + 1; }
    friend bool operator==(const PictureBox&, const PictureBox&) = default;
};

// The smallest box holding every non-zero alpha value of a width * height plane (top row
// first); none when the plane is zero everywhere.
std::optional<PictureBox> OpaqueBox(std::span<const std::uint8_t> alpha, int width, int height);

// The smallest box holding both.
PictureBox Union(const PictureBox& a, const PictureBox& b);

// The part of a width * height plane inside a box of cropWidth * cropHeight at (left, top);
// whatever of the box lies outside the plane is 0.
template <typename T>
std::vector<T> CropPlane(std::span<const T> plane, int width, int height, int left, int top,
                         int cropWidth, int cropHeight) {
    std::vector<T> out(static_cast<std::size_t>(cropWidth) * cropHeight, T{0});
    const int fromX = left < 0 ? -left : 0;
    const int toX = std::min(cropWidth, width - left);
    for (int y = 0; y < cropHeight; ++y) {
        const int sourceY = top + y;
        if (sourceY < 0 || sourceY >= height || fromX >= toX) {
            continue;
        }
        const T* from = plane.data() + static_cast<std::size_t>(sourceY) * width + left;
        std::copy(from + fromX, from + toX,
                  out.begin() + static_cast<std::size_t>(y) * cropWidth + fromX);
    }
    return out;
}

} // namespace fenwold
