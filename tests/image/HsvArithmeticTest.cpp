#include "image/Hsv.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

namespace fenwold {
namespace {

// Every division the conversions make goes through the small division: these tests cover
// every numerator and divisor they can give it.

// RgbToHsv with the divisions written out.
HsvColor RgbToHsvByDivision(PackedColour colour) {
    const int blue = static_cast<int>(colour & 0xFF);
    const int green = static_cast<int>((colour >> 8) & 0xFF);
    const int red = static_cast<int>((colour >> 16) & 0xFF);
    const int max = std::max({red, green, blue});
    const int delta = max - std::min({red, green, blue});
    HsvColor result;
    result.value = static_cast<std::uint8_t>(max);
    if (delta == 0 || max == 0) {
        return result;
    }
    result.saturation = static_cast<std::uint8_t>((max / 2 + delta * 100) / max);
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

TEST(Hsv, RgbToHsvEqualsTheDivisionsForEveryColour) {
    for (PackedColour colour = 0; colour < (1u << 24); ++colour) {
        ASSERT_EQ(RgbToHsv(colour), RgbToHsvByDivision(colour)) << std::hex << colour;
    }
}

// HsvToRgb with its sectors written out.
PackedColour HsvToRgbBySectors(HsvColor colour) {
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

TEST(Hsv, HsvToRgbEqualsTheSectorsForEveryHsvColour) {
    for (std::uint32_t packed = 0; packed < (1u << 24); ++packed) {
        const HsvColor colour{static_cast<std::uint8_t>(packed),
                              static_cast<std::uint8_t>(packed >> 8),
                              static_cast<std::uint8_t>(packed >> 16)};
        ASSERT_EQ(HsvToRgb(colour), HsvToRgbBySectors(colour)) << std::hex << packed;
    }
}

TEST(Hsv, RestoredColourEqualsTheDivisionForEveryValueAndAlpha) {
    // Greys isolate the brightening: hue and saturation stay 0, the value is every byte.
    for (unsigned value = 0; value <= 255; ++value) {
        for (unsigned alpha = 8; alpha <= 254; ++alpha) {
            const unsigned restored = std::min(value * 255 / alpha, 255u);
            ASSERT_EQ(RestoredColour(value * 0x010101u, static_cast<std::uint8_t>(alpha)),
                      restored * 0x010101u)
                << value << " at alpha " << alpha;
        }
    }
}

} // namespace
} // namespace fenwold
