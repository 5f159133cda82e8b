#pragma once

#include "platform/Prompts.h"
#include "teamcolour/TeamColour.h"

namespace fenwold {

// A key colour as 8-bit channels.
using KeyColour = RgbColour;

// The screen colour of a table entry: each 5-bit channel times 8.
constexpr KeyColour EntryColour(Pixel555 entry) {
    return KeyColour{static_cast<std::uint8_t>(((entry >> 10) & 31) * 8),
                     static_cast<std::uint8_t>(((entry >> 5) & 31) * 8),
                     static_cast<std::uint8_t>((entry & 31) * 8)};
}

// Rebuilds the table as two gradient segments through the three key colours: entries 0 to
// middle - 1 from `start` towards `middle` (stopping one step short of it), entries middle to 31
// from `middle` towards `end`. Channels run in single precision and are truncated when stored.
// With middle 31 the second segment is not run and entry 31 keeps its value.
void RegenerateTable(TeamColourTable& table, int middleIndex, KeyColour start, KeyColour middle,
                     KeyColour end);

// The team colour index of a picture pixel from its brightness: 5-bit channels weighted
// 0.229, 0.589 and 0.114 (white gives 28), truncated, at most 31.
int TeamColourIndex(Pixel555 pixel);

} // namespace fenwold
