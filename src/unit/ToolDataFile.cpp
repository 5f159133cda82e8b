#include "unit/ToolDataFile.h"

#include "platform/BinaryWriter.h"
#include "platform/FileIo.h"
#include "unit/GameDataFile.h"
#include "unit/UnitRecordIo.h"

#include <algorithm>
#include <limits>
#include <string>

namespace fenwold {
namespace {

constexpr std::size_t kSmallestRecord = 116 + 4 + 4; // no sequence, two empty blocks
constexpr std::size_t kSmallestGroup = 4 + 40 + 40;
constexpr std::int32_t kLargestCount = std::numeric_limits<std::int32_t>::max();

std::uint16_t Low16(std::int32_t value) {
    return static_cast<std::uint16_t>(value);
}

void WriteAnimation(BinaryWriter& out, const UnitAnimation& animation) {
    WriteRecordHead(out, animation);
    out.u16(Low16(animation.positionX));
    out.u16(Low16(animation.positionY));
    out.u16(Low16(animation.extra0));
    out.u16(Low16(animation.extra1));
    out.write(animation.pointX);
    out.write(animation.pointY);
    WriteSequence(out, animation, animation.attribute);
    WriteSequence(out, animation, animation.delay);
    // The alpha field is two bytes an entry wide though a value takes one: it holds the table's
    // slots in order, and zeros where a long sequence runs past the table's 200 slots.
    const int stored = 2 * animation.sequenceLength;
    for (int slot = 0; slot < stored; ++slot) {
        out.u8(slot < kMaxSequenceLength ? animation.alphaValue[slot] : 0);
    }
    WriteSequence(out, animation, animation.frameNumber);
    out.write(animation.tempBuffer);
    WriteEncodedBlocks(out, animation);
}

void ReadAnimation(BinaryReader& in, UnitData& data, std::int32_t loadIndex,
                   std::int32_t blockFlag) {
    UnitAnimation& animation = data.AddAnimation({});
    animation.loadIndex = loadIndex;
    const BlockCounts counts = ReadRecordHead(in, animation);
    // Only the low halves are stored; they come back without sign extension.
    animation.positionX = in.u16();
    animation.positionY = in.u16();
    animation.extra0 = in.u16();
    animation.extra1 = in.u16();
    in.read(animation.pointX);
    in.read(animation.pointY);
    ReadSequence(in, animation, animation.attribute);
    ReadSequence(in, animation, animation.delay);
    const auto stored = static_cast<std::size_t>(2 * animation.sequenceLength);
    const std::size_t kept = std::min<std::size_t>(stored, kMaxSequenceLength);
    in.read(std::span(animation.alphaValue).first(kept));
    in.skip(stored - kept);
    ReadSequence(in, animation, animation.frameNumber);
    in.read(animation.tempBuffer);
    animation.blockFlag = blockFlag;
    ReadEncodedBlocks(in, counts, animation);
}

void ReadGroup(BinaryReader& in, UnitData& data, std::int32_t groupIndex,
               const std::vector<UnitAnimation*>& bySaveIndex) {
    const std::int32_t memberCount = in.i32();
    CheckCount(in, memberCount, kMaxGroupMembers, "member count");
    UnitGroup& group = data.AddGroup();
    in.read(group.pointX);
    in.read(group.pointY);
    for (std::int32_t j = 0; j < memberCount; ++j) {
        const std::int32_t index = in.i32();
        if (index < 0 || index >= static_cast<std::int32_t>(bySaveIndex.size())) {
            in.fail("member " + std::to_string(j) + " names animation " + std::to_string(index) +
                    ", which does not exist");
        }
        UnitAnimation* member = bySaveIndex[static_cast<std::size_t>(index)];
        member->groupIndex = groupIndex;
        group.members.push_back(member);
    }
}

} // namespace

std::vector<std::uint8_t> EncodeToolData(UnitData& data, const std::filesystem::path& path) {
    std::int32_t position = 0;
    for (const auto& animation : data.animations) {
        CheckStorable(animation, position++, path);
    }
    for (const auto& group : data.groups) {
        if (group.MemberCount() > kMaxGroupMembers) {
            throw FileError(path.string(), "a group has " + std::to_string(group.MemberCount()) +
                                               " members, more than the file can hold (100)");
        }
    }

    BinaryWriter out;
    out.magic(kUnitAnimationMagic);
    out.i32(kToolDataVersion);
    out.i32(data.GroupCount());
    out.i32(data.AnimationCount());
    out.i32(data.codebook.Size());
    out.f32(data.compressionError);
    out.i32(data.codebook.blockFlag);
    out.write(data.unitPointX);
    out.write(data.unitPointY);
    std::int32_t saveIndex = 0;
    for (auto& animation : data.animations) {
        animation.saveIndex = saveIndex++;
        WriteAnimation(out, animation);
    }
    for (const auto& group : data.groups) {
        out.i32(group.MemberCount());
        out.write(group.pointX);
        out.write(group.pointY);
        for (const UnitAnimation* member : group.members) {
            out.i32(member->saveIndex);
        }
    }
    out.bytes(data.teamColours.selection);
    WriteColourTables(out, data.teamColours, false);
    WriteCodebook(out, data.codebook);
    return out.take();
}

void WriteToolData(UnitData& data, const std::filesystem::path& path) {
    WriteFileAtomically(path, EncodeToolData(data, path));
}

void WriteToolDataWithGameData(UnitData& data, bool holdsToolData,
                               const std::filesystem::path& toolData,
                               const std::filesystem::path& gameData) {
    const auto toolBytes = EncodeToolData(data, toolData);
    const auto gameBytes = EncodeGameData(data, holdsToolData, gameData);
    const FileToSave pair[] = {{toolData, toolBytes}, {gameData, gameBytes}};
    SaveFilesTogether(pair);
}

UnitData ReadToolData(BinaryReader& in) {
    UnitData data;
    in.skip(BinaryReader::kMagicSize); // the magic is not compared
    const std::int32_t version = in.i32();
    const std::int32_t groupCount = in.i32();
    CheckCount(in, groupCount, kLargestCount, "group count");
    const std::int32_t animationCount = in.i32();
    CheckCount(in, animationCount, kLargestCount, "animation count");
    const std::int32_t codebookSize = in.i32();
    CheckCount(in, codebookSize, kLargestCount, "codebook size");
    data.compressionError = in.f32();
    const std::int32_t blockFlag = version >= 6 ? ReadBlockFlag(in) : 0;
    in.read(data.unitPointX);
    in.read(data.unitPointY);

    in.requireAvailable(animationCount, kSmallestRecord, "the animation records");
    std::vector<UnitAnimation*> bySaveIndex;
    bySaveIndex.reserve(static_cast<std::size_t>(animationCount));
    for (std::int32_t k = 0; k < animationCount; ++k) {
        WithContext("animation " + std::to_string(k),
                    [&] { ReadAnimation(in, data, k, blockFlag); });
        bySaveIndex.push_back(&data.animations.back());
    }
    in.requireAvailable(groupCount, kSmallestGroup, "the group records");
    for (std::int32_t g = 0; g < groupCount; ++g) {
        WithContext("group " + std::to_string(g), [&] { ReadGroup(in, data, g, bySaveIndex); });
    }
    in.read(data.teamColours.selection);
    ReadColourTables(in, data.teamColours);
    data.codebook = ReadCodebook(in, codebookSize, blockFlag);
    return data;
}

} // namespace fenwold
