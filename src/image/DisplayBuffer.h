#pragma once

#include "image/Pixel.h"

#include <cstdint>
#include <span>
#include <vector>

namespace fenwold {

// Display buffers have rows of width * 2 bytes rounded up to a multiple of 4, like a
// device-independent bitmap (and like QImage's RGB555 rows).
constexpr int DisplayRowPadding(int width) {
    return (width * 2) % 4;
}
constexpr int DisplayBufferStride(int width) {
    return width + DisplayRowPadding(width) / 2;
}

// (width + r) * height pixels, r = (width * 2) mod 4, all zero.
std::vector<Pixel555> AllocateDisplayBuffer(int width, int height);
// Sets (width * 2 + r) * height bytes, every row of the bitmap, to `byte`.
void FillDisplayBuffer(int width, int height, std::span<Pixel555> buffer, std::uint8_t byte);

} // namespace fenwold
