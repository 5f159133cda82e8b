#include "unittools/BackgroundPicture.h"

#include "image/Hsv.h"
#include "image/TgaReader.h"

#include <algorithm>

namespace fenwold {

std::optional<BackgroundPicture> ReadBackgroundPicture(const std::filesystem::path& file,
                                                       std::string& failure) {
    const CTgaReader reader(file);
    if (!reader.HasAlpha()) {
        failure = reader.failure();
        return std::nullopt;
    }
    if (reader.missingPixels() != 0) {
        failure =
            "the file ends before its last " + std::to_string(reader.missingPixels()) + " pixels";
        return std::nullopt;
    }
    const int width = reader.width();
    const int height = reader.height();
    std::vector<TgaColor> colours(reader.pixels().begin(), reader.pixels().end());
    RestoreTranslucentColours(colours, reader.alpha());
    BackgroundPicture picture{width, height, std::vector<Pixel555>(colours.size())};
    // The file holds the bottom row first.
    for (int row = 0; row < height; ++row) {
        const auto source = colours.begin() + static_cast<std::ptrdiff_t>(height - 1 - row) * width;
        std::transform(source, source + width,
                       picture.pixels.begin() + static_cast<std::ptrdiff_t>(row) * width,
                       [](TgaColor c) { return ToPixel555(c); });
    }
    return picture;
}

} // namespace fenwold
