#pragma once

#include "image/Pixel.h"
#include "support/TgaBuilder.h"

#include <random>
#include <vector>

namespace fenwold::test {

// Sprite-like rows: transparent stretches, runs, noise and translucent edges.
inline std::vector<TgaColor> RandomPicture(std::mt19937& random, int width, int height) {
    std::vector<TgaColor> pixels(static_cast<std::size_t>(width) * height);
    std::size_t i = 0;
    while (i < pixels.size()) {
        const unsigned kind = random() % 4;
        const std::size_t length = random() % 40 + 1;
        const TgaColor colour = MakeTgaColor(
            static_cast<std::uint8_t>(random()), static_cast<std::uint8_t>(random()),
            static_cast<std::uint8_t>(random() % 3), static_cast<std::uint8_t>(random()));
        for (std::size_t k = 0; k < length && i < pixels.size(); ++k, ++i) {
            switch (kind) {
            case 0:
                pixels[i] = 0;
                break;
            case 1:
                pixels[i] = colour;
                break;
            case 2:
                pixels[i] = (random() & 0xFFFFFF) | 0xFF000000u;
                break;
            default:
                pixels[i] = random();
                break;
            }
        }
    }
    return pixels;
}

// A picture of random size (up to maxWidth x 6) and kind, as RandomPicture draws it, some with
// an image ID field or a colour map before the pixel data; every fourth trial's file ends early.
inline std::vector<std::uint8_t> RandomFile(std::mt19937& random, int maxWidth, int trial) {
    const int width = static_cast<int>(random() % maxWidth) + 1;
    const int height = static_cast<int>(random() % 6) + 1;
    const int depth = random() % 2 ? 32 : 24;
    const bool runLength = random() % 3 != 0;
    auto file =
        TgaBuilder::Picture(width, height, RandomPicture(random, width, height), depth, runLength);
    if (const unsigned extra = random() % 4; extra > 1) {
        file = extra == 2 ? TgaBuilder::WithImageId(file, static_cast<std::uint8_t>(random()))
                          : TgaBuilder::WithColourMap(file, static_cast<int>(random() % 300));
    }
    if (trial % 4 == 0) {
        file.resize(18 + random() % (file.size() - 17)); // ends early
    }
    return file;
}

} // namespace fenwold::test
