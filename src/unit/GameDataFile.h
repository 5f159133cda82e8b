#pragma once

#include "platform/BinaryReader.h"
#include "unit/UnitData.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace fenwold {

// The unit game file (.UPT): what the game loads. Positions, groups, the unit and group point
// tables, the team colour selection and the compression error stay in the tool data file.
inline constexpr std::int32_t kGameDataVersion = 4;

// The number the header announces: per animation 34 + 2 x (frames + sequence length) plus its
// block data, and 32 bytes per codebook entry.
std::uint32_t GameDataSize(const UnitData& data);

// The point tables the game gets for an animation of a unit that holds tool data: unit + group +
// animation point, relative to the cropped picture, in 16 bits.
struct GamePointTables {
    AnimationPointTable x{};
    AnimationPointTable y{};
};
GamePointTables FoldedPointTables(UnitData& data, const UnitAnimation& animation);

// The bytes of version 4. For tool data the game gets one point table per animation: unit +
// group + animation point, relative to the cropped picture, in 16 bits. A unit read from a game
// file already holds those tables and keeps them. A unit the format cannot hold raises FileError
// naming `path`.
std::vector<std::uint8_t> EncodeGameData(UnitData& data, bool holdsToolData,
                                         const std::filesystem::path& path);
// Writes them through an atomic save; raises FileError.
void WriteGameData(UnitData& data, bool holdsToolData, const std::filesystem::path& path);

// Reads a version 3 or 4 file (version 3 has no block flag and 8-pixel codebook entries) into a
// fresh unit, checking every count and offset; a bad file raises FileError.
UnitData ReadGameData(BinaryReader& in);

} // namespace fenwold
