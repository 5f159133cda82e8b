#pragma once

#include <string>

namespace fenwold::cli {

// Writes a starting settings file into every folder under `assets` that holds what the tool
// builds and has none yet, and says on stdout which it wrote:
// - a unit for a folder whose sub-folders hold numbered picture series (all of them one group),
//   or for a folder that holds one series itself, with their mask series where they are found:
//   a sub-folder or a sibling folder whose name has "mask" in it, holding folders of the same
//   names, or a sibling folder named like the series with "_mask";
// - a building for every picture without a number that has a mask picture beside it, named
//   like it with "_mask", "-mask" or "mask".
// The nearest .UTC file (in the folder or above it, within `assets`) gives the team colours.
void WriteStartingSettings(const std::string& assets, bool quiet);

} // namespace fenwold::cli
