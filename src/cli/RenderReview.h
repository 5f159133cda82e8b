#pragma once

#include "cli/Console.h"
#include "image/RegisteredAnimation.h"
#include "unit/UnitData.h"
#include "vq/ReviewPictures.h"

#include <filesystem>
#include <list>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace fenwold::cli {

// The width the unit view's layout wraps at when a whole unit is drawn as a sheet.
inline constexpr int kSheetWidth = 640;

// Where the unit view's layout puts cells of these sizes on a sheet kSheetWidth wide, and the
// sheet's height (at most 32767).
struct SheetLayout {
    std::vector<std::pair<int, int>> places;
    int height = 0;
};
SheetLayout LayOutSheet(const std::vector<std::pair<int, int>>& sizes);

// The animation at a position of the unit; a position it does not have is refused (status 2).
const UnitAnimation& AnimationAt(const UnitData& data, int position);
// The same for a frame of it.
void CheckFrame(const UnitAnimation& animation, int frame);

// Which frames a review picture shows: one, or every frame of the unit as a sheet.
struct FrameChoice {
    int animation = 0;
    int frame = 0;
    bool sheet = false;
};

// The registered animations a unit was compressed from: each value a .URE file or a series as
// compress takes it, each group as compress --group takes it. Status 1 when they cannot be read.
std::list<RegisteredAnimation> LoadSources(const std::vector<std::string>& groups,
                                           const std::vector<std::string>& series,
                                           ConsolePlatform& console);

// The registered frame, the compressed frame and their difference amplified `gain` times, side
// by side, for the chosen frame or every frame. The sources must pair up with the unit's
// animations (status 2 naming the first that does not). Says the PSNR of what is shown.
ReviewPicture DrawDifferences(const UnitData& data, const std::list<RegisteredAnimation>& sources,
                              const FrameChoice& choice, int gain, std::ostream& summary);

// The codebook's entries ordered by use, and below them the chosen frame with its rarity map,
// or the rarity maps of every frame. Says how the entries are used.
ReviewPicture DrawUsage(const UnitData& data, const FrameChoice& choice, int team,
                        std::ostream& summary);

// The animation as an animated WebP played as the player plays it, enlarged `scale` times.
// Says what it holds.
std::vector<std::uint8_t> AnimateWebp(const UnitData& data, int animation, int team, int loops,
                                      int scale, const std::filesystem::path& output,
                                      std::ostream& summary);

} // namespace fenwold::cli
