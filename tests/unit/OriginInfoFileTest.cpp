#include "unit/OriginInfoFile.h"

#include "platform/ScriptedPlatform.h"
#include "support/TempFolder.h"
#include "unit/UnitFixtures.h"

#include <gtest/gtest.h>

namespace fenwold {
namespace {

UnitData UnitOfSize(int animations, int groups) {
    UnitData data;
    for (int i = 0; i < animations; ++i) {
        data.animations.emplace_back().pointY[9] = static_cast<std::int16_t>(-i - 1);
    }
    for (int g = 0; g < groups; ++g) {
        data.AddGroup().pointX[0] = 100 + g;
    }
    data.unitPointX[1] = 70000;
    return data;
}

TEST(OriginInfoFile, WritesEveryPointTableInOrderAndAppliesThemOnlyToTheSameCounts) {
    test::TempFolder folder;
    WriteOriginInfo(UnitOfSize(3, 2), folder / "u.OID");
    test::Layout x;
    x.magic("Unit Origin Info File").i32(1).i32(2).i32(3);
    x.i32(0).i32(70000).zeros(8 * 4 + 40);
    for (int i = 0; i < 3; ++i) {
        x.zeros(20 + 18).u16(static_cast<std::uint16_t>(-i - 1));
    }
    x.i32(100).zeros(36 + 40).i32(101).zeros(36 + 40);
    ASSERT_EQ(x.bytes.size(), 404u);
    EXPECT_EQ(folder.Read("u.OID"), x.bytes);
    // A unit of other counts takes nothing from the file.
    ScriptedPlatform platform;
    UnitData bothDiffer = UnitOfSize(2, 1);
    UnitData groupsDiffer = UnitOfSize(3, 1);
    for (UnitData* data : {&bothDiffer, &groupsDiffer}) {
        data->unitPointX[1] = 5;
        ReadOriginInfo(*data, folder / "u.OID", platform.prompts);
    }
    ASSERT_EQ(platform.prompts.messages.size(), 2u);
    EXPECT_EQ(platform.prompts.messages[0].text, "Total ani 수가 다르다.");
    EXPECT_EQ(platform.prompts.messages[1].text, "Group 수가 다르다.");
    EXPECT_EQ((std::vector{bothDiffer.unitPointX[1], groupsDiffer.unitPointX[1]}),
              (std::vector{5, 5}));
}

// Every point table comes back, applied by position to a unit of the same counts; nothing else
// of that unit changes.
TEST(OriginInfoFile, AppliesEveryTableByPosition) {
    test::TempFolder folder;
    ScriptedPlatform platform;
    const auto numbered = [](std::uint32_t first) {
        UnitData data = UnitOfSize(3, 2);
        test::FieldNumbers numbers(first);
        numbers.Fill(data.unitPointX);
        numbers.Fill(data.unitPointY);
        for (auto& animation : data.animations) {
            numbers.Fill(animation.pointX);
            numbers.Fill(animation.pointY);
            animation.width = numbers.Next<std::uint16_t>();
        }
        for (auto& group : data.groups) {
            numbers.Fill(group.pointX);
            numbers.Fill(group.pointY);
        }
        return data;
    };
    const UnitData written = numbered(1);
    WriteOriginInfo(written, folder / "u.OID");
    UnitData other = numbered(1000);
    const std::uint16_t width = other.animations.back().width;
    ReadOriginInfo(other, folder / "u.OID", platform.prompts);
    EXPECT_TRUE(platform.prompts.messages.empty());
    EXPECT_EQ(other.unitPointX, written.unitPointX);
    EXPECT_EQ(other.unitPointY, written.unitPointY);
    auto animation = written.animations.begin();
    for (const auto& read : other.animations) {
        EXPECT_EQ(read.pointX, animation->pointX);
        EXPECT_EQ(read.pointY, animation->pointY);
        ++animation;
    }
    auto group = written.groups.begin();
    for (const auto& read : other.groups) {
        EXPECT_EQ(read.pointX, group->pointX);
        EXPECT_EQ(read.pointY, group->pointY);
        ++group;
    }
    EXPECT_EQ(other.animations.back().width, width);
}

} // namespace
} // namespace fenwold
