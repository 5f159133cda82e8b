#pragma once

#include "image/Pixel.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace fenwold {

// Procedurally drawn, deterministic sample art: sprite-like walking figures with soft
// (translucent) edges and a team-coloured tunic, and a small house with a team-coloured roof.
// It gives new users, the tests and the benchmarks real input without pictures in the
// repository. The same options always draw the same pixels.
struct SampleOptions {
    int animations = 6;
    int frames = 8;
    int width = 96;
    int height = 96;
    std::uint64_t seed = 1;
};

// Pictures top row first; colours of translucent pixels are stored premultiplied over black, as
// paint programs save them.
struct SamplePicture {
    int width = 0;
    int height = 0;
    std::vector<TgaColor> pixels;
    std::vector<TgaColor> mask; // white where the team colour goes, black elsewhere
};

SamplePicture DrawSampleFrame(const SampleOptions& options, int animation, int frame);
SamplePicture DrawSampleBuilding(std::uint64_t seed);

struct SampleSet {
    std::vector<std::filesystem::path> animationFolders; // one numbered series in each
    std::vector<std::filesystem::path> maskFolders;      // the matching mask series
    std::vector<std::filesystem::path> firstPictures;
    std::vector<std::filesystem::path> firstMasks;
    std::filesystem::path building;
    std::filesystem::path buildingMask;
};

// The layout under `folder`: unit/animNN/animNN_0001.tga ..., mask/animNN/animNN_mask_0001.tga
// ..., building/house.tga and building/house_mask.tga. Raises FileError.
SampleSet WriteSampleSet(const std::filesystem::path& folder, const SampleOptions& options);

} // namespace fenwold
