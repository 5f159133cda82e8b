#include "image/Hsv.h"

#include "image/SmallDivision.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace fenwold {
namespace {

// Hue, saturation and value packed as PackHsv packs them. A struct returned from a function
// that is not inlined comes back through memory, in pieces the processor cannot forward to the
// read of the whole; packed into one word it stays in a register.
std::uint32_t ToPackedHsv(PackedColour colour) {
    const int blue = static_cast<int>(colour & 0xFF);
    const int green = static_cast<int>((colour >> 8) & 0xFF);
    const int red = static_cast<int>((colour >> 16) & 0xFF);
    const int max = std::max({red, green, blue});
    const int min = std::min({red, green, blue});
    const int delta = max - min;
    const auto value = static_cast<std::uint32_t>(max) << 16;
    if (delta == 0 || max == 0) {
        return value;
    }
    const unsigned saturation =
        DivideByByte(static_cast<unsigned>(max / 2 + delta * 100), static_cast<unsigned>(max));
    // On a tie blue wins over green, green over red.
    int difference = green - blue;
    int sectorCentre = 16;
    if (max == blue) {
        difference = red - green;
        sectorCentre = 80;
    } else if (max == green) {
        difference = blue - red;
        sectorCentre = 48;
    }
    const int hue = DivideSignedByByte(difference * 16 + delta / 2, delta) + sectorCentre;
    return value | saturation << 8 | static_cast<std::uint32_t>(hue);
}

enum Level { kValue, kLow, kMid };
// Which level red, green and blue take in each sector of 16 hues (hues from 80 up: the last).
constexpr std::array<std::array<Level, 3>, 6> kSectorLevels{{
    {kValue, kLow, kMid},
    {kValue, kMid, kLow},
    {kMid, kValue, kLow},
    {kLow, kValue, kMid},
    {kLow, kMid, kValue},
    {kMid, kLow, kValue},
}};

// Without saturation low and mid equal the value, which makes every channel the value.
PackedColour FromHsv(int hue, int saturation, int value) {
    const int low = value * (100 - saturation) / 100;
    const int d = std::abs(16 - (hue & 31));
    const int mid = ((d * (value - low)) >> 4) + low;
    const std::array<int, 3> levels{value, low, mid};
    const auto& sector = kSectorLevels[static_cast<std::size_t>(std::min(hue >> 4, 5))];
    const int red = levels[sector[0]];
    const int green = levels[sector[1]];
    const int blue = levels[sector[2]];
    return static_cast<PackedColour>((red & 0xFF) << 16 | (green & 0xFF) << 8 | (blue & 0xFF));
}

} // namespace

HsvColor RgbToHsv(PackedColour colour) {
    const std::uint32_t hsv = ToPackedHsv(colour);
    return {static_cast<std::uint8_t>(hsv), static_cast<std::uint8_t>(hsv >> 8),
            static_cast<std::uint8_t>(hsv >> 16)};
}

PackedColour HsvToRgb(HsvColor colour) {
    return FromHsv(colour.hue, colour.saturation, colour.value);
}

PackedColour RestoredColour(PackedColour colour, std::uint8_t alpha) {
    const std::uint32_t hsv = ToPackedHsv(colour & 0xFFFFFF);
    const unsigned value = std::min(DivideByByte((hsv >> 16) * 255u, alpha), 255u);
    return FromHsv(static_cast<int>(hsv & 0xFF), static_cast<int>((hsv >> 8) & 0xFF),
                   static_cast<int>(value));
}

void RestoreTranslucentColours(std::span<TgaColor> pixels, std::span<const std::uint8_t> alpha) {
    const std::size_t count = std::min(pixels.size(), alpha.size());
    for (std::size_t i = 0; i < count; ++i) {
        const int a = alpha[i];
        if (a <= 7 || a == 255) {
            continue;
        }
        pixels[i] = RestoredColour(pixels[i], alpha[i]); // alpha byte 0
    }
}

} // namespace fenwold
