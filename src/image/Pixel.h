#pragma once

#include <cstdint>

namespace fenwold {

// B, G, R, A of a Targa pixel read as one little-endian word: blue in bits 0-7, green 8-15,
// red 16-23, alpha 24-31 (0 transparent, 255 opaque).
using TgaColor = std::uint32_t;
// The working pixel: blue bits 0-4, green 5-9, red 10-14, bit 15 zero.
using Pixel555 = std::uint16_t;
// The pixel of the game-facing files: blue bits 0-4, green 5-10, red 11-15.
using Pixel565 = std::uint16_t;

// The padding around a building picture; never produced by a conversion (bit 15 set).
inline constexpr Pixel555 kPaddingPixel = 0xFFFF;

constexpr std::uint8_t BlueOf(TgaColor c) {
    return static_cast<std::uint8_t>(c);
}
constexpr std::uint8_t GreenOf(TgaColor c) {
    return static_cast<std::uint8_t>(c >> 8);
}
constexpr std::uint8_t RedOf(TgaColor c) {
    return static_cast<std::uint8_t>(c >> 16);
}
constexpr std::uint8_t AlphaOf(TgaColor c) {
    return static_cast<std::uint8_t>(c >> 24);
}
constexpr TgaColor MakeTgaColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                                std::uint8_t alpha = 255) {
    return static_cast<TgaColor>(alpha) << 24 | static_cast<TgaColor>(red) << 16 |
           static_cast<TgaColor>(green) << 8 | blue;
}

// Channels are truncated to five bits, never rounded.
constexpr Pixel555 ToPixel555(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return static_cast<Pixel555>((red >> 3) << 10 | (green >> 3) << 5 | (blue >> 3));
}

constexpr Pixel555 ToPixel555(TgaColor c) {
    return ToPixel555(RedOf(c), GreenOf(c), BlueOf(c));
}

// Red and green move up one bit; the lowest green bit of the result is always 0.
constexpr Pixel565 ToPixel565(Pixel555 p) {
    return static_cast<Pixel565>(((p & 0xFFE0) << 1) | (p & 0x001F));
}

// The inverse the building file reader uses: drops the lowest green bit.
constexpr Pixel555 FromPixel565(Pixel565 p) {
    return static_cast<Pixel555>(((p >> 1) & 0x7FE0) | (p & 0x1F));
}

constexpr int Red5(Pixel555 p) {
    return (p >> 10) & 31;
}
constexpr int Green5(Pixel555 p) {
    return (p >> 5) & 31;
}
constexpr int Blue5(Pixel555 p) {
    return p & 31;
}

// A 5-bit channel as an 8-bit one, its top bits repeated below: 0 stays 0, 31 becomes 255.
constexpr std::uint8_t Spread5To8(int channel) {
    return static_cast<std::uint8_t>(channel << 3 | channel >> 2);
}

// Stored alpha keeps its top five bits: one of the 32 levels 0, 8, ..., 248.
constexpr std::uint8_t QuantiseAlpha(std::uint8_t a) {
    return static_cast<std::uint8_t>(a & 0xF8);
}

// Mean of a mask pixel after its channels are cut to 565 precision.
constexpr int MaskMean(TgaColor c) {
    return ((RedOf(c) & 0xF8) + (GreenOf(c) & 0xFC) + (BlueOf(c) & 0xF8)) / 3;
}
// A unit mask series selects pixels brighter than 128, a building mask those brighter than 127.
constexpr bool IsUnitMaskSelected(TgaColor c) {
    return MaskMean(c) > 128;
}
constexpr bool IsBuildingMaskSelected(TgaColor c) {
    return MaskMean(c) > 127;
}

// Three 8-bit channels in the low three bytes of a word; the blend treats them alike.
using PackedColour = std::uint32_t;

// Per byte: a * w / 255 + b * (255 - w) / 255, each quotient truncated, kept to 8 bits.
constexpr PackedColour BlendColours(PackedColour a, PackedColour b, int w) {
    PackedColour result = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int ca = static_cast<int>((a >> shift) & 0xFF);
        const int cb = static_cast<int>((b >> shift) & 0xFF);
        const int mixed = (ca * w / 255 + cb * (255 - w) / 255) & 0xFF;
        result |= static_cast<PackedColour>(mixed) << shift;
    }
    return result;
}

// Source over destination with weight alpha / 255 per 5-bit channel, quotients truncated.
constexpr Pixel555 BlendPixel555(Pixel555 src, Pixel555 dst, int alpha) {
    if (alpha == 0) {
        return dst;
    }
    if (alpha == 255) {
        return src;
    }
    src &= 0x7FFF;
    const int inverse = 255 - alpha;
    const int red = Red5(src) * alpha / 255 + Red5(dst) * inverse / 255;
    const int green = Green5(src) * alpha / 255 + Green5(dst) * inverse / 255;
    const int blue = Blue5(src) * alpha / 255 + Blue5(dst) * inverse / 255;
    return static_cast<Pixel555>(red << 10 | green << 5 | blue);
}

} // namespace fenwold
