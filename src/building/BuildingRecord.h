#pragma once

#include "image/Pixel.h"
#include "image/RegisteredAnimation.h"

#include <array>
#include <cstdint>
#include <vector>

namespace fenwold {

inline constexpr int kTileSize = 32;
inline constexpr int kClashCellSize = 16;
inline constexpr int kMaxTileColumns = 50; // the clash grid holds 100 x 100 cells
inline constexpr int kMaxTileRows = 50;
inline constexpr int kClashGridSize = 100;
inline constexpr int kMaxBuildingAnimations = 200; // pairs in the position table
inline constexpr int kFirePointSlots = 100;
inline constexpr int kFirePointsUsed = 9; // three fire groups of three points

// The building picture cut to whole 32 x 32 tiles and everything placed on it. Pixels outside
// the building are 0xFFFF (a freshly imported picture) or 0 (read from a file) with alpha 0.
struct BuildingRecord {
    std::int32_t cropX = 0; // the bounding box inside the imported Targa picture
    std::int32_t cropY = 0;
    std::int32_t tileCount = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t boxWidth = 0;
    std::int32_t boxHeight = 0;
    std::int32_t tileColumns = 0;
    std::int32_t tileRows = 0;
    // In tiles: left column, top row, right column, bottom row.
    std::array<std::int32_t, 4> area{};
    std::int32_t rootOfFloat = 0; // a tile row: the line at pixel row 32 x value
    std::array<std::int16_t, kPointCount> pointX{};
    std::array<std::int16_t, kPointCount> pointY{};
    std::array<std::array<std::int32_t, 2>, kMaxBuildingAnimations> animationPositions{};
    std::int32_t firePointCount = kFirePointsUsed;
    std::array<std::uint16_t, kFirePointSlots> fireX{};
    std::array<std::uint16_t, kFirePointSlots> fireY{};
    std::array<std::uint8_t, kFirePointSlots> fireFlag{};
    std::array<std::int32_t, kFirePointSlots> fireAnimation{};
    // Row r, column c covers pixels 16c to 16c + 15, 16r to 16r + 15; 1 = the cell clashes.
    std::array<std::array<std::uint8_t, kClashGridSize>, kClashGridSize> clash{};
    std::int32_t teamIndicesComputed = 0;
    std::vector<Pixel555> picture;       // width x height, top row first
    std::vector<std::uint8_t> alpha;     // width x height
    std::vector<std::uint8_t> teamIndex; // empty until a mask is imported
    std::vector<std::uint8_t> teamMask;  // 255 where the team colour goes; empty without a mask

    bool HasTeamPlanes() const { return !teamIndex.empty(); }
    std::size_t PixelCount() const { return static_cast<std::size_t>(width) * height; }
};

// A new record for a padded picture: area over every tile, nine fire points, nothing placed.
BuildingRecord MakeBuildingRecord(std::vector<Pixel555> picture, std::vector<std::uint8_t> alpha,
                                  int width, int height, int cropX, int cropY, int boxWidth,
                                  int boxHeight);

// Gives every pixel under the team mask its team colour index from its brightness, once.
void ComputeTeamIndices(BuildingRecord& record);

} // namespace fenwold
