#pragma once

#include "image/Pixel.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace fenwold {

// A Targa picture shown behind the played animation, top row first.
struct BackgroundPicture {
    int width = 0;
    int height = 0;
    std::vector<Pixel555> pixels;
};

// Reads the picture: translucent colours get their brightness back and every pixel becomes a
// working pixel. A picture the reader cannot read in full gives none, and `failure` says why.
std::optional<BackgroundPicture> ReadBackgroundPicture(const std::filesystem::path& file,
                                                       std::string& failure);

} // namespace fenwold
