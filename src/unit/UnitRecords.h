#pragma once

#include "image/RegisteredAnimation.h"

#include <array>
#include <cstdint>
#include <vector>

namespace fenwold {

inline constexpr int kMaxGroupMembers = 100;

// Ten numbered points (0 is the origin) as an x and a y table: 32-bit at unit and group level,
// 16-bit at animation level.
using UnitPointTable = std::array<std::int32_t, kPointCount>;
using AnimationPointTable = std::array<std::int16_t, kPointCount>;

// The run-length encoded index map of one group of four frames, kept and copied as it is.
struct IndexTableNode {
    std::vector<std::uint8_t> bytes;
};

// One frame's encoded alpha table; frame i of an animation is its i-th node.
struct AlphaTableNode {
    std::int32_t reserved0 = 0; // two values no unit file stores
    std::int32_t reserved1 = 0;
    std::int32_t width = 0; // the animation's, copied on open
    std::int32_t height = 0;
    std::int32_t index = 0; // position in the animation's frame list
    std::vector<std::uint8_t> bytes;
};

// One compressed animation. Its pictures lie in the index tables (frame i in table i / 4, at
// frame position i mod 4 of the blocks); the play sequence says which frame to show, how long,
// with which attribute and alpha.
struct UnitAnimation {
    std::int32_t positionX = 0; // top-left of the crop box in the source pictures
    std::int32_t positionY = 0;
    std::int32_t extra0 = 0; // two further values, stored like the position
    std::int32_t extra1 = 0;
    std::int32_t loadIndex = 0;
    std::int32_t groupIndex = -1;
    std::int32_t saveIndex = 0; // files name group members by it
    std::int32_t maskFlag = 0;  // 1: team-coloured pixels are drawn through a table
    std::int32_t blockFlag = 0; // the codebook's, when the record was made
    std::int32_t sequenceLength = 0;
    std::array<std::uint16_t, kMaxSequenceLength> attribute{};
    std::array<std::uint16_t, kMaxSequenceLength> frameNumber{};
    std::array<std::uint16_t, kMaxSequenceLength> delay{};
    std::array<std::uint8_t, kMaxSequenceLength> alphaValue{}; // 255 is opaque
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    AnimationPointTable pointX{};
    AnimationPointTable pointY{};
    float workingPointX = 0.0f; // used by the origin tool while it moves a group, never stored
    float workingPointY = 0.0f;
    std::uint16_t checkBoxX = 0;
    std::uint16_t checkBoxY = 0;
    std::uint16_t checkBoxWidth = 0;
    std::uint16_t checkBoxHeight = 0;
    std::array<std::int32_t, kTempBufferSize> tempBuffer{}; // value 0 is also the loop start
    std::vector<IndexTableNode> indexTables;
    std::vector<AlphaTableNode> alphaTables;

    std::int32_t FrameCount() const { return static_cast<std::int32_t>(alphaTables.size()); }
    std::int32_t IndexTableCount() const { return static_cast<std::int32_t>(indexTables.size()); }
};

// A group of animations of the same unit that share a group point table.
struct UnitGroup {
    UnitPointTable pointX{};
    UnitPointTable pointY{};
    std::vector<UnitAnimation*> members; // borrowed from the unit's list, at most 100

    std::int32_t MemberCount() const { return static_cast<std::int32_t>(members.size()); }
};

} // namespace fenwold
