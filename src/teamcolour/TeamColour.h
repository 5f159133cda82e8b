#pragma once

#include "image/Pixel.h"

#include <array>
#include <cstdint>

namespace fenwold {

inline constexpr int kTeamColourEntries = 32;
inline constexpr int kTeamColourTableCount = 10;
inline constexpr int kTeamColourSelectionSize = 32;
inline constexpr std::uint8_t kDefaultMiddleIndex = 16;

// Entry i is the colour of team colour index i (0 darkest).
using TeamColourTable = std::array<Pixel555, kTeamColourEntries>;

// The team colour data every unit and building document carries: byte k of the selection (k < 10)
// is the gradient middle index of table k, the other bytes are carried along.
struct TeamColours {
    std::array<std::uint8_t, kTeamColourSelectionSize> selection = DefaultSelection();
    std::array<TeamColourTable, kTeamColourTableCount> tables{};

    friend bool operator==(const TeamColours&, const TeamColours&) = default;

private:
    static constexpr std::array<std::uint8_t, kTeamColourSelectionSize> DefaultSelection() {
        std::array<std::uint8_t, kTeamColourSelectionSize> result{};
        result.fill(kDefaultMiddleIndex);
        return result;
    }
};

} // namespace fenwold
