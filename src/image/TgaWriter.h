#pragma once

#include "image/Pixel.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace fenwold {

// A 32-bit Targa picture, run-length coded (image type 10, descriptor 8, bottom row first), from
// pixels given top row first.
std::vector<std::uint8_t> EncodeTga32(std::span<const TgaColor> pixels, int width, int height);
// Writes it atomically; raises FileError.
void WriteTga32(const std::filesystem::path& path, std::span<const TgaColor> pixels, int width,
                int height);

} // namespace fenwold
