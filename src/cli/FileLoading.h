#pragma once

#include "building/BuildingFile.h"
#include "image/RegisteredAnimation.h"
#include "teamcolour/TeamColour.h"
#include "unit/UnitData.h"

#include <filesystem>
#include <list>
#include <optional>
#include <string>

namespace fenwold::cli {

enum class FileKind { ToolData, GameData, RunLength, OriginInfo, Building, TeamColours, Targa };

std::string_view KindName(FileKind kind);

// Any file of the tool, read and checked as opening it in the desktop program would: unit files
// also have every encoded table checked against their frames and codebook.
struct LoadedFile {
    FileKind kind = FileKind::Targa;
    std::uint32_t version = 0;
    std::optional<UnitData> unit;
    std::optional<BuildingFileContent> building;
    std::list<RegisteredAnimation> registered;
    std::optional<TeamColours> colours;
    int pictureWidth = 0;
    int pictureHeight = 0;
    std::int32_t originGroups = 0;
    std::int32_t originAnimations = 0;
    // Bytes after the data the format holds, which opening ignores.
    std::uint64_t trailingBytes = 0;
};

// Raises CliFailure (status 1) naming the file and the problem (a Targa picture that ends early
// is one); status 2 for a file of a kind the tool does not know. The name is matched ignoring
// case when the file itself is missing; only as much of a file is read as its head shows the
// format can use.
LoadedFile LoadAnyFile(const std::filesystem::path& path);

} // namespace fenwold::cli
