#include "image/Hsv.h"

#include <algorithm>
#include <cstdlib>

namespace fenwold {

HsvColor RgbToHsv(PackedColour colour) {
    const int blue = static_cast<int>(colour & 0xFF);
    const int green = static_cast<int>((colour >> 8) & 0xFF);
    const int red = static_cast<int>((colour >> 16) & 0xFF);
    const int max = std::max({red, green, blue});
    const int min = std::min({red, green, blue});
    const int delta = max - min;

    HsvColor result;
    result.value = static_cast<std::uint8_t>(max);
    if (delta == 0 || max == 0) {
        return result;
    }
    result.saturation = static_cast<std::uint8_t>((max / 2 + delta * 100) / max);
    // Later tests overwrite earlier ones: on a tie blue wins over green, green over red.
    int hue = 0;
    if (max == red) {
        hue = ((green - blue) * 16 + delta / 2) / delta + 16;
    }
    if (max == green) {
        hue = ((blue - red) * 16 + delta / 2) / delta + 48;
    }
    if (max == blue) {
        hue = ((red - green) * 16 + delta / 2) / delta + 80;
    }
    result.hue = static_cast<std::uint8_t>(hue);
    return result;
}

PackedColour HsvToRgb(HsvColor colour) {
    const int value = colour.value;
    int red = value;
    int green = value;
    int blue = value;
    if (colour.saturation != 0) {
        const int low = value * (100 - colour.saturation) / 100;
        const int d = std::abs(16 - (colour.hue & 31));
        const int mid = ((d * (value - low)) >> 4) + low;
        const int hue = colour.hue;
        if (hue < 16) {
            red = value, green = low, blue = mid;
        } else if (hue < 32) {
            red = value, green = mid, blue = low;
        } else if (hue < 48) {
            red = mid, green = value, blue = low;
        } else if (hue < 64) {
            red = low, green = value, blue = mid;
        } else if (hue < 80) {
            red = low, green = mid, blue = value;
        } else {
            red = mid, green = low, blue = value;
        }
    }
    return static_cast<PackedColour>((red & 0xFF) << 16 | (green & 0xFF) << 8 | (blue & 0xFF));
}

void RestoreTranslucentColours(std::span<TgaColor> pixels, std::span<const std::uint8_t> alpha) {
    const std::size_t count = std::min(pixels.size(), alpha.size());
    for (std::size_t i = 0; i < count; ++i) {
        const int a = alpha[i];
        if (a <= 7 || a == 255) {
            continue;
        }
        HsvColor hsv = RgbToHsv(pixels[i] & 0xFFFFFF);
        hsv.value = static_cast<std::uint8_t>(std::min(hsv.value * 255 / a, 255));
        pixels[i] = HsvToRgb(hsv); // alpha byte 0
    }
}

} // namespace fenwold
