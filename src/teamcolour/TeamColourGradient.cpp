#include "teamcolour/TeamColourGradient.h"

#include <algorithm>

namespace fenwold {
namespace {

std::uint8_t Truncated(float channel) {
    return static_cast<std::uint8_t>(std::clamp(channel, 0.0f, 255.0f));
}

// Fills entries [first, last] from `from` in steps of (to - from) / divisions.
void FillSegment(TeamColourTable& table, int first, int last, KeyColour from, KeyColour to,
                 int divisions) {
    const float stepRed = static_cast<float>(to.red - from.red) / static_cast<float>(divisions);
    const float stepGreen =
        static_cast<float>(to.green - from.green) / static_cast<float>(divisions);
    const float stepBlue = static_cast<float>(to.blue - from.blue) / static_cast<float>(divisions);
    float red = from.red;
    float green = from.green;
    float blue = from.blue;
    for (int i = first; i <= last; ++i) {
        table[i] = ToPixel555(Truncated(red), Truncated(green), Truncated(blue));
        red += stepRed;
        green += stepGreen;
        blue += stepBlue;
    }
}

} // namespace

void RegenerateTable(TeamColourTable& table, int middleIndex, KeyColour start, KeyColour middle,
                     KeyColour end) {
    const int m = std::clamp(middleIndex, 0, kTeamColourEntries - 1);
    if (m > 0) {
        FillSegment(table, 0, m - 1, start, middle, m + 1);
    }
    if (m != kTeamColourEntries - 1) {
        FillSegment(table, m, kTeamColourEntries - 1, middle, end, kTeamColourEntries - m);
    }
}

int TeamColourIndex(Pixel555 pixel) {
    pixel &= 0x7FFF;
    const double index = Red5(pixel) * 0.229 + Green5(pixel) * 0.589 + Blue5(pixel) * 0.114;
    return std::min(static_cast<int>(index), kTeamColourEntries - 1);
}

} // namespace fenwold
