#pragma once

#include "cli/Console.h"
#include "image/RegisteredAnimation.h"

#include <filesystem>
#include <list>
#include <string>
#include <vector>

namespace fenwold::cli {

// The registered animations of a command line, with the member counts of its groups.
struct Registration {
    std::list<RegisteredAnimation> animations;
    std::vector<std::int32_t> groupMemberCounts;
    std::vector<std::filesystem::path> inputs;  // every picture read, to refuse them as outputs
    std::vector<std::filesystem::path> folders; // every folder listed to find them
    std::int32_t frames = 0;
};

// Registers, in order: each --group FOLDER[,MASK_FOLDER] (every sub-folder holding Targa files
// an animation, the folder one group; with MASK_FOLDER the sub-folder of the same name holds its
// masks), then each SERIES: FIRST.tga[,FIRST_MASK.tga] (the numbered series from that picture
// on, as the registration dialog's Make List lists it) or FOLDER[,MASK_FOLDER] (the series of
// the folder's first Targa file). Groups come first because the unit's groups are formed from
// the head of the list. Any picture that cannot be used fails the command (status 1); a missing
// folder or file is status 1 too.
Registration RegisterSeries(const std::vector<std::string>& groups,
                            const std::vector<std::string>& series, ConsolePlatform& console);

// The pictures and folders RegisterSeries would read for these arguments, found the same way,
// without reading a picture; fails as it does when a series is missing.
Registration ListSeriesInputs(const std::vector<std::string>& groups,
                              const std::vector<std::string>& series, ConsolePlatform& console);

} // namespace fenwold::cli
