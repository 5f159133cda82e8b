#pragma once

#include "building/BuildingRecord.h"
#include "unit/UnitData.h"

#include <cstddef>
#include <cstdint>
#include <span>

// What the fuzz targets and the seed program share.
namespace fenwold::fuzz {

// Takes numbers and byte runs off the front of a fuzz input; past its end every number is 0.
class InputCursor {
public:
    explicit InputCursor(std::span<const std::uint8_t> input) : input_(input) {}

    std::uint8_t u8();
    std::uint16_t u16();
    // The next `count` bytes, or fewer where the input ends.
    std::span<const std::uint8_t> take(std::size_t count);
    std::span<const std::uint8_t> rest() const { return input_; }

private:
    std::span<const std::uint8_t> input_;
};

// Draws every frame of every animation into a small buffer the way the views do: inside it,
// clipped on every side, opaque and blended, with and without a team colour table. The tables
// must have been checked for the frames and the codebook.
void DrawEveryFrame(const UnitData& data);

// A small unit made in code with tables that fit: a plain and a team-coloured animation of five
// 6 x 5 frames (two index tables each), four codebook entries of 16 pixels (block flag 1) or 8
// (block flag 0), a group, points and team colours.
UnitData MakeSmallUnit(int blockFlag);

// A building record of one tile with its team planes.
BuildingRecord MakeSmallBuildingRecord();

// Ends the run with `what`: an input broke a promise the tool makes for every file.
[[noreturn]] void Broken(const char* what);

} // namespace fenwold::fuzz
