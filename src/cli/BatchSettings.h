#pragma once

#include "cli/Json.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace fenwold::cli {

// The settings file of an asset folder: which units and buildings the folder makes. Paths in it
// are relative to its folder and written with "/".
inline constexpr const char* kSettingsFileName = "fenwold.json";

// A picture series and its optional team mask series, each a folder or a first picture.
struct SeriesSetting {
    std::string pictures;
    std::string masks; // empty without masks
};

// The compression parameters; the seed is fixed so that a build gives the same bytes anywhere.
struct CompressionSetting {
    int lookup = 500;
    std::string weight = "max";
    bool sampling = true;
    bool lbg = true;
    std::uint64_t seed = 1;
    int refine = 0;                // units only
    std::optional<double> minPsnr; // units only: the build fails below it
};

struct UnitSetting {
    std::string name;
    std::vector<SeriesSetting> groups; // each a folder whose sub-folders are the group's series
    std::vector<SeriesSetting> series; // animations outside any group
    CompressionSetting compression;
    std::string teamColours; // a .UTC file, or empty
};

// An animation placed on a building, at a pixel position.
struct BuildingAnimationSetting {
    SeriesSetting series;
    int x = 0;
    int y = 0;
};

struct BuildingSetting {
    std::string name;
    std::string picture;
    std::string mask;
    std::string teamColours;
    std::vector<BuildingAnimationSetting> animations;
    CompressionSetting compression; // for the animations
};

struct Settings {
    std::vector<UnitSetting> units;
    std::vector<BuildingSetting> buildings;
};

// Reads and checks a settings file: every key known, every value of its type and range, every
// named file or folder present. A fault raises CliFailure (status 1) naming the file, the key
// and the reason.
Settings ReadSettings(const std::filesystem::path& path);

// The file's text for these settings, every key written out.
std::string SettingsText(const Settings& settings);

} // namespace fenwold::cli
