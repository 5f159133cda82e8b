#pragma once

#include "unit/UnitRecords.h"

#include <cstdint>
#include <vector>

namespace fenwold {

// The player steps in 16 ms.
inline constexpr int kPlayerStepMilliseconds = 16;

// How long the player shows an entry of delay d: d steps, one step when d (compared as a signed
// 16-bit value) is below 1.
int EntryMilliseconds(std::uint16_t delay);

// One entry of a play sequence as the player shows it: the frame (its position in the frame
// list, -1 when the entry names no frame), the entry's alpha value and how long it is shown.
struct TimedEntry {
    int frame = -1;
    int alphaValue = 255;
    int milliseconds = kPlayerStepMilliseconds;
};

// A play sequence in order; after the last entry the player goes on at the loop start.
struct PlayTimeline {
    std::vector<TimedEntry> entries;
    int loopStart = 0;
};

// The animation's sequence as the player plays it. A loop start (temp buffer value 0) outside
// the sequence starts again at entry 0.
PlayTimeline SequenceTimeline(const UnitAnimation& animation);

} // namespace fenwold
