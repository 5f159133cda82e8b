#pragma once

#include "building/BuildingRecord.h"
#include "platform/BinaryReader.h"
#include "unit/UnitData.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace fenwold {

inline constexpr const char* kBuildingMagic = "Build File";
inline constexpr const char* kBuildingFilter = "Build 화일 (*.bpt)|*.bpt||";
inline constexpr std::int32_t kBuildingFileVersion = 8;

// Every save writes the same building twice: variant 0 with Pixel555 colours (.BPT) and variant
// 1 with Pixel565 colours (6.BPT).
enum class ColourVariant : std::uint32_t { Pixel555 = 0, Pixel565 = 1 };

// The whole file of one variant. The record must have its team planes.
std::vector<std::uint8_t> EncodeBuildingFile(const BuildingRecord& record,
                                             const UnitData& animations, ColourVariant variant,
                                             std::uint32_t gameDataSize);

// What a building file holds.
struct BuildingFileContent {
    BuildingRecord record;
    UnitData animations; // animations, codebook and team colour tables
};

// The version word after the magic field.
std::uint32_t PeekBuildingFileVersion(BinaryReader& in);

// Reads a version 7 or 8 file, checking every count, length and tile stream before anything is
// used; a bad file raises FileError.
BuildingFileContent ReadBuildingFile(BinaryReader& in);

} // namespace fenwold
