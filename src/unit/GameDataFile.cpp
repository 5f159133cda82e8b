#include "unit/GameDataFile.h"

#include "platform/BinaryWriter.h"
#include "platform/FileIo.h"
#include "unit/UnitRecordIo.h"

#include <limits>
#include <string>

namespace fenwold {
namespace {

constexpr std::size_t kSmallestRecord = 108 + 4 + 4; // no sequence, two empty blocks
constexpr std::size_t kColourTablesSize = kTeamColourTableCount * kTeamColourEntries * 2;
constexpr std::int32_t kLargestCount = std::numeric_limits<std::int32_t>::max();

// Each term contributes its low 16 bits and the sum wraps, as the game reads 16-bit points.
std::int16_t FoldPoint(std::int32_t unit, std::int32_t group, std::int16_t animation,
                       std::int32_t position) {
    const unsigned sum = static_cast<std::uint16_t>(unit) + static_cast<std::uint16_t>(group) +
                         static_cast<std::uint16_t>(animation) -
                         static_cast<std::uint16_t>(position);
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(sum));
}

void ReadAnimation(BinaryReader& in, UnitData& data, std::int32_t loadIndex,
                   std::int32_t blockFlag) {
    UnitAnimation& animation = data.AddAnimation({});
    animation.loadIndex = loadIndex;
    const BlockCounts counts = ReadRecordHead(in, animation);
    in.read(animation.pointX);
    in.read(animation.pointY);
    animation.blockFlag = blockFlag;
    ReadGameRecordTail(in, counts, animation);
}

} // namespace

GamePointTables FoldedPointTables(UnitData& data, const UnitAnimation& animation) {
    const UnitGroup* group =
        animation.groupIndex != -1 ? data.GroupAt(animation.groupIndex) : nullptr;
    GamePointTables tables;
    for (int i = 0; i < kPointCount; ++i) {
        tables.x[i] = FoldPoint(data.unitPointX[i], group ? group->pointX[i] : 0,
                                animation.pointX[i], animation.positionX);
        tables.y[i] = FoldPoint(data.unitPointY[i], group ? group->pointY[i] : 0,
                                animation.pointY[i], animation.positionY);
    }
    return tables;
}

std::uint32_t GameDataSize(const UnitData& data) {
    std::uint32_t size = 0;
    for (const auto& animation : data.animations) {
        size += 34 +
                2 * static_cast<std::uint32_t>(animation.FrameCount() + animation.sequenceLength) +
                BlockTotal(animation.indexTables) + BlockTotal(animation.alphaTables);
    }
    return size + 32 * static_cast<std::uint32_t>(data.codebook.Size());
}

std::vector<std::uint8_t> EncodeGameData(UnitData& data, bool holdsToolData,
                                         const std::filesystem::path& path) {
    std::int32_t position = 0;
    for (const auto& animation : data.animations) {
        CheckStorable(animation, position++, path);
    }

    BinaryWriter out;
    out.magic(kUnitAnimationMagic);
    out.i32(kGameDataVersion);
    out.i32(data.AnimationCount());
    out.i32(data.codebook.Size());
    out.i32(data.codebook.blockFlag);
    out.u32(GameDataSize(data));
    std::int32_t saveIndex = 0;
    for (auto& animation : data.animations) {
        animation.saveIndex = saveIndex++;
        WriteRecordHead(out, animation);
        if (holdsToolData) {
            const GamePointTables folded = FoldedPointTables(data, animation);
            out.write(folded.x);
            out.write(folded.y);
        } else {
            out.write(animation.pointX);
            out.write(animation.pointY);
        }
        WriteGameRecordTail(out, animation);
    }
    WriteColourTables(out, data.teamColours, false);
    WriteColourTables(out, data.teamColours, true);
    WriteCodebook(out, data.codebook);
    return out.take();
}

void WriteGameData(UnitData& data, bool holdsToolData, const std::filesystem::path& path) {
    WriteFileAtomically(path, EncodeGameData(data, holdsToolData, path));
}

UnitData ReadGameData(BinaryReader& in) {
    UnitData data;
    in.skip(BinaryReader::kMagicSize); // the magic is not compared
    const std::int32_t version = in.i32();
    const std::int32_t animationCount = in.i32();
    CheckCount(in, animationCount, kLargestCount, "animation count");
    const std::int32_t codebookSize = in.i32();
    CheckCount(in, codebookSize, kLargestCount, "codebook size");
    const std::int32_t blockFlag = version >= 4 ? ReadBlockFlag(in) : 0;
    in.u32(); // the announced data size is only for the game

    in.requireAvailable(animationCount, kSmallestRecord, "the animation records");
    for (std::int32_t k = 0; k < animationCount; ++k) {
        WithContext("animation " + std::to_string(k),
                    [&] { ReadAnimation(in, data, k, blockFlag); });
    }
    ReadColourTables(in, data.teamColours);
    in.skip(kColourTablesSize); // their Pixel565 copy
    data.codebook = ReadCodebook(in, codebookSize, blockFlag);
    return data;
}

} // namespace fenwold
