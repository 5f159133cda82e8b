#include "image/DisplayBuffer.h"

#include <algorithm>
#include <cstring>

namespace fenwold {

std::vector<Pixel555> AllocateDisplayBuffer(int width, int height) {
    if (width <= 0 || height <= 0) {
        return {};
    }
    const std::size_t rowPixels = static_cast<std::size_t>(width + DisplayRowPadding(width));
    return std::vector<Pixel555>(rowPixels * static_cast<std::size_t>(height), 0);
}

void FillDisplayBuffer(int width, int height, std::span<Pixel555> buffer, std::uint8_t byte) {
    if (width <= 0 || height <= 0) {
        return;
    }
    const std::size_t bytes = static_cast<std::size_t>(width * 2 + DisplayRowPadding(width)) *
                              static_cast<std::size_t>(height);
    std::memset(buffer.data(), byte, std::min(bytes, buffer.size_bytes()));
}

} // namespace fenwold
