#pragma once

#include "platform/BinaryReader.h"
#include "platform/Prompts.h"
#include "unit/UnitData.h"

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace fenwold {

// The origin info file (.OID): the point tables of a unit at all three levels, applied by
// position to a unit with the same numbers of animations and groups.
inline constexpr std::string_view kOriginInfoMagic = "Unit Origin Info File";
inline constexpr std::string_view kAnimationCountDiffers = "Total ani 수가 다르다.";
inline constexpr std::string_view kGroupCountDiffers = "Group 수가 다르다.";

// The size of a file for these numbers of groups and animations.
std::uint64_t OriginInfoFileSize(std::uint64_t groups, std::uint64_t animations);

// Writes the unit's, every animation's and every group's point tables; raises FileError.
void WriteOriginInfo(const UnitData& data, const std::filesystem::path& path);

// Applies the file's point tables to `data`. When the animation count or, failing that, the group
// count differs, says so through `prompts` and changes nothing; a missing or short file raises
// FileError, also changing nothing. Only the bytes a file for the unit's counts holds are read.
void ReadOriginInfo(UnitData& data, const std::filesystem::path& path, Prompts& prompts);
// The same from a file's bytes.
void ReadOriginInfo(UnitData& data, BinaryReader& in, Prompts& prompts);

} // namespace fenwold
