#pragma once

#include "image/Pixel.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace fenwold {

// Hue 0-96 in six sectors of 16 (red centred on 16, green on 48, blue on 80), saturation a
// percentage, value the largest 8-bit channel.
struct HsvColor {
    std::uint8_t hue = 0;
    std::uint8_t saturation = 0;
    std::uint8_t value = 0;
    friend bool operator==(const HsvColor&, const HsvColor&) = default;
};

// Packed with hue in bits 0-7, saturation 8-15, value 16-23.
constexpr std::uint32_t PackHsv(HsvColor c) {
    return static_cast<std::uint32_t>(c.value) << 16 | c.saturation << 8 | c.hue;
}

// Channels c0 (bits 0-7), c1 (8-15), c2 (16-23) of the packed colour are blue, green, red.
HsvColor RgbToHsv(PackedColour colour);
PackedColour HsvToRgb(HsvColor colour);

// The colour of a translucent pixel (alpha 8 to 254) brightened by 255 / alpha, its value
// capped at 255; the alpha byte of `colour` is ignored.
PackedColour RestoredColour(PackedColour colour, std::uint8_t alpha);

// Brightens every pixel with 7 < alpha < 255 by 255 / alpha, so that a colour stored
// premultiplied over black gets its own brightness back; the pixel's alpha byte becomes 0 (the
// alpha plane keeps the alpha).
void RestoreTranslucentColours(std::span<TgaColor> pixels, std::span<const std::uint8_t> alpha);

} // namespace fenwold
