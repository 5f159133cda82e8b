#pragma once

#include "vq/ReviewPictures.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace fenwold::cli {

// The pictures (all `width` x `height`) as a losslessly coded animated WebP on a transparent
// canvas that loops forever. A picture equal to the one before it adds its time to that one.
// Raises FileError naming `path` when the encoder refuses.
std::vector<std::uint8_t> EncodeAnimatedWebp(const std::vector<TimedPicture>& pictures, int width,
                                             int height, const std::filesystem::path& path);

} // namespace fenwold::cli
