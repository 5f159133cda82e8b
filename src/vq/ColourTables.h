#pragma once

#include "image/Pixel.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace fenwold {

// A pixel's block entry bytes blue, green, red (0-31 each) packed in the low three bytes of a
// word, blue lowest, so that an entry is stored with one 4-byte copy. Bit 15 is ignored.
constexpr std::uint32_t ExpandPixel(Pixel555 pixel) {
    return static_cast<std::uint32_t>((pixel & 0x001F) | (pixel & 0x03E0) << 3 |
                                      (pixel & 0x7C00) << 6);
}

// The grey level trunc(0.299 red + 0.589 green + 0.114 blue) of one pixel, in double precision,
// left to right as written.
std::uint8_t GreyLevel(Pixel555 pixel);

// Per Pixel555 value (bit 15 cleared): the grey level team-coloured pixels are collected as.
// Built on first use, shared by every run.
const std::array<std::uint8_t, 32768>& GreyLevels();

// The pixels of a lookup table: every three bytes blue, green, red (of which the low five bits
// count) become one Pixel555, so an entry of 48 bytes gives 16 pixels.
std::vector<Pixel555> LookupTablePixels(std::span<const std::uint8_t> lookupTable);

} // namespace fenwold
