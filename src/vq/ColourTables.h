#pragma once

#include "image/Pixel.h"

#include <array>
#include <cstdint>

namespace fenwold {

// Per Pixel555 value (bit 15 cleared): its expansion to block entry bytes blue, green, red
// (0-31 each) and the grey level trunc(0.299 red + 0.589 green + 0.114 blue) that team-coloured
// pixels are collected as.
struct ColourTables {
    std::array<std::array<std::uint8_t, 3>, 32768> expansion;
    std::array<std::uint8_t, 32768> grey;
};

// Built on first use, shared by every run.
const ColourTables& GetColourTables();

// The grey level of one pixel, in double precision, left to right as written.
std::uint8_t GreyLevel(Pixel555 pixel);

} // namespace fenwold
