#pragma once

#include "support/FieldNumbers.h"
#include "unit/UnitData.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <gtest/gtest.h>
#include <string_view>
#include <vector>

namespace fenwold::test {

// Little-endian bytes spelled out field by field, the way a file's layout table lists them.
struct Layout {
    std::vector<std::uint8_t> bytes;

    Layout& u8(unsigned value) {
        bytes.push_back(static_cast<std::uint8_t>(value));
        return *this;
    }
    Layout& u16(unsigned value) { return u8(value & 0xFF).u8((value >> 8) & 0xFF); }
    Layout& u32(std::uint32_t value) { return u16(value & 0xFFFF).u16(value >> 16); }
    Layout& i32(std::int32_t value) { return u32(static_cast<std::uint32_t>(value)); }
    Layout& f32(float value) { return u32(std::bit_cast<std::uint32_t>(value)); }
    Layout& zeros(std::size_t count) {
        bytes.insert(bytes.end(), count, 0);
        return *this;
    }
    Layout& magic(std::string_view text) {
        bytes.insert(bytes.end(), text.begin(), text.end());
        return zeros(32 - text.size());
    }
    Layout& raw(std::vector<std::uint8_t> data) {
        bytes.insert(bytes.end(), data.begin(), data.end());
        return *this;
    }
};

// A unit built in code, small enough to spell its files out by hand:
// - animation A: 3 frames (alpha tables of 3, 2 and 1 bytes), one index table of 5 bytes, a
//   sequence of 2 entries, in group 0, position (2, -2); it is 8 x 0 pixels, so its tables hold
//   no row that drawing reads and any bytes fit them;
// - animation B: no frames, no sequence, no group;
// - unit point 0 = (10, 0), group point 0 = (5, 0), A's point 0 = (3, 0): A folds to (16, 2);
// - one 16-pixel codebook entry, team colour table 0 entry 0 white.
inline UnitData MakeSampleUnit() {
    UnitData data;
    data.unitPointX[0] = 10;
    data.unitPointY[9] = 300;
    data.compressionError = 0.5f;
    data.teamColours.selection[0] = 3;
    data.teamColours.tables[0][0] = 0x7FFF;
    data.codebook.blockFlag = 1;
    data.codebook.entries16.assign(16, 0);
    data.codebook.entries16[0] = 0x7FFF;
    data.codebook.entries16[15] = 0x0021;

    UnitAnimation& a = data.animations.emplace_back();
    a.sequenceLength = 2;
    a.maskFlag = 1;
    a.blockFlag = 1;
    a.width = 8;
    a.height = 0;
    a.checkBoxX = 1;
    a.checkBoxY = 2;
    a.checkBoxWidth = 3;
    a.checkBoxHeight = 4;
    a.positionX = 2;
    a.positionY = -2;
    a.extra0 = 5;
    a.extra1 = 6;
    a.pointX[0] = 3;
    a.pointX[9] = -7;
    a.attribute[0] = 10;
    a.attribute[1] = 11;
    a.delay[0] = 4;
    a.delay[1] = 5;
    a.alphaValue = {255, 128, 77, 66}; // slots 2 and 3 lie inside the tool data's 2n bytes
    a.frameNumber[0] = 2;
    a.frameNumber[1] = 1;
    a.tempBuffer[0] = 1;
    a.tempBuffer[9] = -9;
    a.indexTables.push_back({{1, 2, 3, 4, 5}});
    a.alphaTables.resize(3);
    a.alphaTables[0].bytes = {0xA1, 0xA2, 0xA3};
    a.alphaTables[1].bytes = {0xB1, 0xB2};
    a.alphaTables[2].bytes = {0xC1};

    UnitAnimation& b = data.animations.emplace_back();
    b.width = 2;
    b.height = 2;

    UnitGroup& group = data.AddGroup();
    group.pointX[0] = 5;
    group.members.push_back(&a);
    a.groupIndex = 0;
    return data;
}

// Offsets in the sample's tool data file (version 6), from the layout tables.
inline constexpr std::size_t kToolA = 136;                    // A's record
inline constexpr std::size_t kToolAIndexBlock = kToolA + 132; // 116 + 8n
inline constexpr std::size_t kToolAAlphaOffsets = kToolAIndexBlock + 13 + 4;
inline constexpr std::size_t kToolGroup = kToolA + 167 + 124;

// Numbers the fields registered and compressed animation records share: the size, the check
// box, the point tables, the temp buffer and a sequence of `entries`.
template <typename Record>
Record& NumberRecordFields(Record& a, FieldNumbers& numbers, int entries) {
    numbers.Fill(a.width);
    numbers.Fill(a.height);
    numbers.Fill(a.checkBoxX);
    numbers.Fill(a.checkBoxY);
    numbers.Fill(a.checkBoxWidth);
    numbers.Fill(a.checkBoxHeight);
    numbers.Fill(a.pointX);
    numbers.Fill(a.pointY);
    numbers.Fill(a.tempBuffer);
    a.sequenceLength = entries;
    numbers.Fill(a.attribute);
    numbers.Fill(a.delay);
    numbers.Fill(a.alphaValue);
    numbers.Fill(a.frameNumber);
    return a;
}

// Appends a table's first `count` values and a marker that keeps neighbouring tables apart.
template <typename Table>
void AppendFields(std::vector<std::int64_t>& f, const Table& table, std::size_t count) {
    f.insert(f.end(), table.begin(), table.begin() + static_cast<std::ptrdiff_t>(count));
    f.push_back(-1000000);
}

// The shared fields in one list to compare, with `alphaSlots` of the alpha table.
template <typename Record>
void AppendRecordFields(std::vector<std::int64_t>& f, const Record& a, std::size_t alphaSlots) {
    const auto n = static_cast<std::size_t>(a.sequenceLength);
    f.insert(f.end(), {a.sequenceLength, a.width, a.height, a.checkBoxX, a.checkBoxY,
                       a.checkBoxWidth, a.checkBoxHeight});
    AppendFields(f, a.pointX, kPointCount);
    AppendFields(f, a.pointY, kPointCount);
    AppendFields(f, a.tempBuffer, kTempBufferSize);
    AppendFields(f, a.attribute, n);
    AppendFields(f, a.delay, n);
    AppendFields(f, a.frameNumber, n);
    AppendFields(f, a.alphaValue, alphaSlots);
}

// Every field a file stores, in one list to compare; `toolData` adds the tool data file's own
// (the position in its 16 bits, the further values, the group, the 2n alpha slots).
inline std::vector<std::int64_t> StoredFields(const UnitAnimation& a, bool toolData) {
    const auto n = static_cast<std::size_t>(a.sequenceLength);
    std::vector<std::int64_t> f{a.FrameCount(), a.IndexTableCount(), a.maskFlag};
    AppendRecordFields(f, a, std::min<std::size_t>(toolData ? 2 * n : n, kMaxSequenceLength));
    for (const auto& table : a.indexTables) {
        AppendFields(f, table.bytes, table.bytes.size());
    }
    for (const auto& table : a.alphaTables) {
        AppendFields(f, table.bytes, table.bytes.size());
    }
    if (toolData) {
        f.insert(f.end(),
                 {static_cast<std::uint16_t>(a.positionX), static_cast<std::uint16_t>(a.positionY),
                  a.extra0, a.extra1, a.groupIndex});
    }
    return f;
}

// Every field a unit's file stores, in one list: each animation's, the codebook and the team
// colour tables; `toolData` adds the unit's points, its compression error, the team colour
// selection and the groups, their members named by their places in the list.
inline std::vector<std::int64_t> UnitFields(const UnitData& data, bool toolData) {
    std::vector<std::int64_t> f;
    for (const UnitAnimation& animation : data.animations) {
        const std::vector<std::int64_t> fields = StoredFields(animation, toolData);
        f.insert(f.end(), fields.begin(), fields.end());
    }
    AppendFields(f, data.codebook.entries16, data.codebook.entries16.size());
    for (const auto& table : data.teamColours.tables) {
        AppendFields(f, table, table.size());
    }
    if (!toolData) {
        return f;
    }
    AppendFields(f, data.unitPointX, kPointCount);
    AppendFields(f, data.unitPointY, kPointCount);
    AppendFields(f, data.teamColours.selection, data.teamColours.selection.size());
    f.push_back(std::bit_cast<std::int32_t>(data.compressionError));
    for (const UnitGroup& group : data.groups) {
        AppendFields(f, group.pointX, kPointCount);
        AppendFields(f, group.pointY, kPointCount);
        for (const UnitAnimation* member : group.members) {
            const auto at = std::find_if(data.animations.begin(), data.animations.end(),
                                         [member](const auto& a) { return &a == member; });
            f.push_back(std::distance(data.animations.begin(), at));
        }
        f.push_back(-1000000);
    }
    return f;
}

// Numbers every field a unit file stores: the record's fields, a sequence of `entries`, `frames`
// alpha tables and `indexTables` index tables of one to three bytes each. The position and the
// further values take 16-bit numbers, as the tool data file keeps their low halves.
inline UnitAnimation& NumberStoredFields(UnitAnimation& a, FieldNumbers& numbers, int frames,
                                         int entries, int indexTables) {
    numbers.Fill(a.maskFlag);
    NumberRecordFields(a, numbers, entries);
    a.positionX = numbers.Next<std::uint16_t>();
    a.positionY = numbers.Next<std::uint16_t>();
    a.extra0 = numbers.Next<std::uint16_t>();
    a.extra1 = numbers.Next<std::uint16_t>();
    const auto piece = [&numbers](int i) {
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(i % 3 + 1));
        numbers.Fill(std::span(bytes));
        return bytes;
    };
    a.indexTables.clear();
    for (int i = 0; i < indexTables; ++i) {
        a.indexTables.push_back({piece(i)});
    }
    a.alphaTables.clear();
    for (int i = 0; i < frames; ++i) {
        a.alphaTables.emplace_back().bytes = piece(i);
    }
    return a;
}

// Appends a group with numbered point tables and the given members.
inline UnitGroup& AddNumberedGroup(UnitData& data, FieldNumbers& numbers,
                                   const std::vector<UnitAnimation*>& members) {
    UnitGroup& group = data.AddGroup();
    numbers.Fill(group.pointX);
    numbers.Fill(group.pointY);
    for (UnitAnimation* member : members) {
        group.members.push_back(member);
        member->groupIndex = data.GroupCount() - 1;
    }
    return group;
}

// Numbers what a unit file stores beyond its animations: the unit point tables, the compression
// error, the team colours and a codebook of `entries` 16-pixel entries.
inline void NumberUnitFields(UnitData& data, FieldNumbers& numbers, int entries) {
    numbers.Fill(data.unitPointX);
    numbers.Fill(data.unitPointY);
    numbers.Fill(data.compressionError);
    numbers.Fill(data.teamColours.selection);
    for (auto& table : data.teamColours.tables) {
        for (Pixel555& entry : table) {
            entry = numbers.NextBelow<Pixel555>(0x8000);
        }
    }
    data.codebook.blockFlag = 1;
    data.codebook.entries16.resize(static_cast<std::size_t>(entries) * 16);
    for (Pixel555& pixel : data.codebook.entries16) {
        pixel = numbers.NextBelow<Pixel555>(0x8000);
    }
}

// A unit whose every stored field is numbered: animations of 3, 1 and 0 frames, the second in
// group 0 and the first in group 1 (so that groups name members out of list order), the third
// in none.
inline UnitData NumberedUnit() {
    UnitData data;
    FieldNumbers numbers;
    NumberUnitFields(data, numbers, 2);
    UnitAnimation& a = NumberStoredFields(data.AddAnimation({}), numbers, 3, 4, 2);
    UnitAnimation& b = NumberStoredFields(data.AddAnimation({}), numbers, 1, 1, 1);
    NumberStoredFields(data.AddAnimation({}), numbers, 0, 0, 0);
    AddNumberedGroup(data, numbers, {&b});
    AddNumberedGroup(data, numbers, {&a});
    return data;
}

} // namespace fenwold::test
