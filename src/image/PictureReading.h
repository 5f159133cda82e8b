#pragma once

#include "image/Pixel.h"
#include "image/TgaReader.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace fenwold {

// A picture in the tool's working form, top row first: Pixel555 pixels and the alpha plane cut
// to its 32 stored levels.
struct Picture555 {
    int width = 0;
    int height = 0;
    std::vector<Pixel555> pixels;
    std::vector<std::uint8_t> alpha;
};

// Reads a Targa picture straight into the working form, as CTgaReader would read it followed
// by the conversion: the colours of translucent pixels (alpha 8 to 254 as read) are restored,
// pixels become Pixel555, alpha is quantised, and the rows are turned over. Returns the reader's
// error (tga::kNoError when `picture` was filled).
std::uint32_t ReadPicture555(std::span<const std::uint8_t> file, Picture555& picture);
std::uint32_t ReadPicture555(const std::filesystem::path& file, Picture555& picture);

enum class MaskKind { Unit, Building };

// A 0/1 mask plane, top row first: a pixel is selected when the mean of its channels, cut to
// 565 precision, is above 128 (unit masks) or 127 (building masks).
std::vector<std::uint8_t> ReadMaskPlane(const CTgaReader& reader, MaskKind kind);

} // namespace fenwold
