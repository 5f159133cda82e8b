#pragma once

#include "image/Pixel.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace fenwold::cli {

// A Pixel555 picture as an 8-bit PNG (each 5-bit channel spread to 8 bits), scaled up by a whole
// factor: RGB without an alpha plane, RGBA (straight alpha) with one of width x height values.
// Raises FileError naming `path`.
std::vector<std::uint8_t> EncodePng(const std::filesystem::path& path,
                                    std::span<const Pixel555> pixels,
                                    std::span<const std::uint8_t> alpha, int width, int height,
                                    int scale);

// Encodes the RGB form and writes it to a file or ("-") the standard output. Raises FileError.
void WritePng(const std::filesystem::path& path, std::span<const Pixel555> pixels, int width,
              int height, int scale);

} // namespace fenwold::cli
