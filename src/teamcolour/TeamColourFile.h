#pragma once

#include "platform/BinaryReader.h"
#include "platform/Platform.h"
#include "teamcolour/TeamColour.h"

#include <filesystem>

namespace fenwold {

// The team colour file: 672 bytes, no header: the 32 selection bytes, then the ten tables of 32
// little-endian Pixel555 entries.
inline constexpr std::size_t kTeamColourFileSize = 672;
inline constexpr const char* kTeamColourFilter = "Team Color 화일 (*.utc)|*.utc||";

// Refuses (FileError) a file shorter than 672 bytes rather than applying half of it; bytes after
// the 672nd are ignored and not read.
TeamColours ReadTeamColourFile(const std::filesystem::path& path);
// The same from the bytes left in `reader`.
TeamColours ReadTeamColourFile(BinaryReader& reader);
void WriteTeamColourFile(const std::filesystem::path& path, const TeamColours& colours);

// The dialogs' Load and Save: a file dialog with the .UTC filter, the chosen bare name up to its
// first "." with ".UTC", in the folder the dialog moved to. Load replaces `colours` only when the
// whole file was read; failures are shown as messages. They return whether anything changed or
// was written.
bool LoadTeamColours(const Platform& platform, TeamColours& colours);
bool SaveTeamColours(const Platform& platform, const TeamColours& colours);

} // namespace fenwold
