#include "unit/OriginInfoFile.h"

#include "platform/BinaryReader.h"
#include "platform/BinaryWriter.h"

namespace fenwold {
namespace {

constexpr std::int32_t kOriginInfoVersion = 1;
constexpr std::size_t kUnitTablesSize = 2 * kPointCount * 4;
constexpr std::size_t kAnimationTablesSize = 2 * kPointCount * 2;
constexpr std::size_t kGroupTablesSize = 2 * kPointCount * 4;

} // namespace

std::uint64_t OriginInfoFileSize(std::uint64_t groups, std::uint64_t animations) {
    return BinaryReader::kHeadSize + 8 + kUnitTablesSize + kAnimationTablesSize * animations +
           kGroupTablesSize * groups;
}

void WriteOriginInfo(const UnitData& data, const std::filesystem::path& path) {
    BinaryWriter out;
    out.magic(kOriginInfoMagic);
    out.i32(kOriginInfoVersion);
    out.i32(data.GroupCount());
    out.i32(data.AnimationCount());
    out.write(data.unitPointX);
    out.write(data.unitPointY);
    for (const auto& animation : data.animations) {
        out.write(animation.pointX);
        out.write(animation.pointY);
    }
    for (const auto& group : data.groups) {
        out.write(group.pointX);
        out.write(group.pointY);
    }
    out.SaveAtomically(path);
}

void ReadOriginInfo(UnitData& data, const std::filesystem::path& path, Prompts& prompts) {
    BinaryReader in = BinaryReader::FromFileHead(
        path, OriginInfoFileSize(data.groups.size(), data.animations.size()));
    ReadOriginInfo(data, in, prompts);
}

void ReadOriginInfo(UnitData& data, BinaryReader& in, Prompts& prompts) {
    in.skip(BinaryReader::kMagicSize); // neither the magic nor the version is compared
    in.i32();
    const std::int32_t groupCount = in.i32();
    const std::int32_t animationCount = in.i32();
    if (animationCount != data.AnimationCount()) {
        prompts.ShowMessage(kAnimationCountDiffers);
        return;
    }
    if (groupCount != data.GroupCount()) {
        prompts.ShowMessage(kGroupCountDiffers);
        return;
    }
    // Checked whole before anything is applied, so a short file leaves the unit as it was.
    in.requireAvailable(1,
                        kUnitTablesSize + kAnimationTablesSize * data.animations.size() +
                            kGroupTablesSize * data.groups.size(),
                        "the point tables");
    in.read(data.unitPointX);
    in.read(data.unitPointY);
    for (auto& animation : data.animations) {
        in.read(animation.pointX);
        in.read(animation.pointY);
    }
    for (auto& group : data.groups) {
        in.read(group.pointX);
        in.read(group.pointY);
    }
}

} // namespace fenwold
