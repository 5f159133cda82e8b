#pragma once

#include "image/Pixel.h"

#include <filesystem>
#include <span>

namespace fenwold::cli {

// Writes a Pixel555 picture as an 8-bit RGB PNG (each 5-bit channel spread to 8 bits), scaled up
// by a whole factor, to a file or ("-") the standard output. Raises FileError.
void WritePng(const std::filesystem::path& path, std::span<const Pixel555> pixels, int width,
              int height, int scale);

} // namespace fenwold::cli
