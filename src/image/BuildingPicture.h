#pragma once

#include "image/Pixel.h"
#include "platform/Platform.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace fenwold {

inline constexpr int kBuildingTileSize = 32;
inline constexpr int kMaxBuildingTiles = 50; // columns and rows each

// A building picture as imported from a Targa picture: cut to the box of its visible pixels and
// centred in whole 32 x 32 tiles. The building record takes it over.
struct BuildingPicture {
    int cropX = 0; // the box inside the Targa picture
    int cropY = 0;
    int boxWidth = 0;
    int boxHeight = 0;
    int offsetX = 0; // where the box lies in the padded picture
    int offsetY = 0;
    int width = 0; // padded: 32 x tile columns, 32 x tile rows
    int height = 0;
    int tileColumns = 0;
    int tileRows = 0;
    std::vector<Pixel555> pixels;            // top row first; 0xFFFF wherever the alpha is 0
    std::vector<std::uint8_t> alpha;         // quantised; 0 in the margin
    std::vector<std::uint8_t> maskSelection; // 0/1 from the mask picture; empty without a mask
    std::vector<std::uint8_t> maskCoverage;  // 0/255 from the mask picture; empty without a mask
};

// Reads a building picture. None when it cannot be read (the user is told), when it is fully
// transparent, or when it would exceed 50 x 50 tiles (the user is told); `failure`, when given,
// receives the reason. A picture that ends early is reported and used as read.
std::optional<BuildingPicture> LoadBuildingPicture(const std::filesystem::path& file,
                                                   Platform platform,
                                                   std::string* failure = nullptr);

// Adds the team mask planes from a mask picture of the Targa picture's size, lined up with the
// padded picture; pixels brighter than 127 on average are selected. Returns false, leaving the
// picture as it was, when the mask picture cannot be read, with the reason in `failure`. A mask
// picture that ends early is reported through `prompts` and used as read.
bool LoadBuildingMask(BuildingPicture& picture, const std::filesystem::path& file, Prompts& prompts,
                      std::string* failure = nullptr);

} // namespace fenwold
