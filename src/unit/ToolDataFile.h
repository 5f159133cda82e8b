#pragma once

#include "platform/BinaryReader.h"
#include "unit/UnitData.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace fenwold {

// The unit tool data file (.UTD): everything needed to resume work on a unit.
inline constexpr std::int32_t kToolDataVersion = 6;

// The bytes of version 6; numbers the animations' save indexes on the way, since groups name
// their members by them. A unit the format cannot hold raises FileError naming `path`.
std::vector<std::uint8_t> EncodeToolData(UnitData& data, const std::filesystem::path& path);
// Writes them through an atomic save; raises FileError.
void WriteToolData(UnitData& data, const std::filesystem::path& path);
// What Save writes for a unit: the tool data and the game file, saved as a pair (both replaced
// or neither); raises FileError.
void WriteToolDataWithGameData(UnitData& data, bool holdsToolData,
                               const std::filesystem::path& toolData,
                               const std::filesystem::path& gameData);

// Reads a version 5 or 6 file (version 5 has no block flag and 8-pixel codebook entries) into a
// fresh unit. Every count and offset is checked against the bytes present and the format's
// limits; a bad file raises FileError naming the problem.
UnitData ReadToolData(BinaryReader& in);

} // namespace fenwold
