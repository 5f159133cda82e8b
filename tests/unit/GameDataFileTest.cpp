#include "unit/GameDataFile.h"

#include "platform/BinaryReader.h"
#include "support/TempFolder.h"
#include "unit/UnitFixtures.h"

#include <gtest/gtest.h>

namespace fenwold {
namespace {

using test::Layout;

UnitData ReadBack(const test::TempFolder& folder, const std::string& name) {
    BinaryReader in = BinaryReader::FromFile(folder / name);
    return ReadGameData(in);
}

TEST(GameDataFile, WritesVersion4WithFoldedPoints) {
    test::TempFolder folder;
    UnitData data = test::MakeSampleUnit();
    WriteGameData(data, true, folder / "s.UPT");

    Layout x;
    // The size: A 34 + 2 x (3 + 2) + 5 + 6, B 34, one codebook entry 32.
    x.magic("Unit Animation File").i32(4).i32(2).i32(1).i32(1).u32(55 + 34 + 32);
    x.i32(3).i32(2).i32(1).i32(1).u16(8).u16(0).u16(1).u16(2).u16(3).u16(4);
    // Point i = unit + group + animation point - position, in 16 bits.
    x.u16(16);
    for (int i = 1; i < 9; ++i) {
        x.u16(0xFFFE);
    }
    x.u16(0xFFF7);
    for (int i = 0; i < 9; ++i) {
        x.u16(2);
    }
    x.u16(302);
    x.u16(10).u16(11).u16(4).u16(5).u8(255).u8(128).u16(2).u16(1);
    x.i32(1).zeros(32).i32(-9);
    x.u32(5).u32(0).raw({1, 2, 3, 4, 5});
    x.u32(6).u32(0).u32(3).u32(5).raw({0xA1, 0xA2, 0xA3, 0xB1, 0xB2, 0xC1});
    // B has no group: unit point 0 only.
    x.i32(0).i32(0).i32(0).i32(0).u16(2).u16(2).zeros(8).u16(10).zeros(18 + 18);
    x.u16(300).zeros(40).u32(0).u32(0);
    x.u16(0x7FFF).zeros(638).u16(0xFFDF).zeros(638);
    x.u16(0x7FFF).zeros(28).u16(0x0021);
    x.u16(0xFFDF).zeros(28).u16(0x0041);
    EXPECT_EQ(folder.Read("s.UPT"), x.bytes);
}

// Point i of a tool data unit is unit + group + animation point - position, each term in 16
// bits, the sum wrapping.
// The Pixel565 copies of the team colours and the codebook are not read.
TEST(GameDataFile, FoldsEveryPointOfEveryAnimationAndReadsNoPixel565Copy) {
    test::TempFolder folder;
    UnitData data = test::NumberedUnit();
    WriteGameData(data, true, folder / "f.UPT");
    auto bytes = folder.Read("f.UPT");
    const std::size_t codebookCopy = 2 * 32;
    bytes[bytes.size() - 2] ^= 0xFF;                          // codebook copy
    bytes[bytes.size() - 2 * codebookCopy - 640 + 1] ^= 0xFF; // team colour copy
    folder.Write("f.UPT", bytes);
    const UnitData back = ReadBack(folder, "f.UPT");
    EXPECT_EQ(back.teamColours.tables, data.teamColours.tables);
    EXPECT_EQ(back.codebook.entries16, data.codebook.entries16);
    ASSERT_EQ(back.AnimationCount(), 3);
    auto read = back.animations.begin();
    for (const UnitAnimation& a : data.animations) {
        const UnitGroup none;
        const UnitGroup& group = a.groupIndex < 0 ? none : *data.FindGroup(a.groupIndex);
        for (int i = 0; i < kPointCount; ++i) {
            const auto fold = [&](std::int32_t unit, std::int32_t inGroup, std::int16_t own,
                                  std::int32_t position) {
                const auto sum =
                    static_cast<std::uint32_t>(unit) + static_cast<std::uint32_t>(inGroup) +
                    static_cast<std::uint32_t>(own) - static_cast<std::uint32_t>(position);
                return static_cast<std::int16_t>(sum & 0xFFFF);
            };
            EXPECT_EQ(read->pointX[i],
                      fold(data.unitPointX[i], group.pointX[i], a.pointX[i], a.positionX));
            EXPECT_EQ(read->pointY[i],
                      fold(data.unitPointY[i], group.pointY[i], a.pointY[i], a.positionY));
        }
        ++read;
    }
}

TEST(GameDataFile, ReadsVersion3WithoutBlockFlag) {
    test::TempFolder folder;
    Layout v3;
    v3.magic("Unit Animation File").i32(3).i32(1).i32(2).u32(999);
    v3.i32(0).i32(1).i32(0).i32(1).u16(5).u16(7).zeros(8).u16(4).zeros(38);
    v3.u16(1).u16(6).u8(99).u16(0).zeros(40).u32(0).u32(0);
    v3.u16(0x0421).zeros(638).zeros(640); // tables and their 565 copy
    v3.u16(0x1111).zeros(14).u16(0x2222).zeros(14).zeros(32);
    folder.Write("v3.UPT", v3.bytes);

    UnitData data = ReadBack(folder, "v3.UPT");
    EXPECT_EQ(data.codebook.blockFlag, 0);
    ASSERT_EQ(data.codebook.entries8.size(), 16u);
    EXPECT_EQ(data.codebook.entries8[8], 0x2222);
    EXPECT_EQ(data.teamColours.tables[0][0], 0x0421);
    ASSERT_EQ(data.AnimationCount(), 1);
    const UnitAnimation& animation = data.animations.front();
    EXPECT_EQ((std::vector<int>{animation.blockFlag, animation.maskFlag, animation.pointX[0],
                                animation.delay[0], animation.alphaValue[0]}),
              (std::vector{0, 1, 4, 6, 99}));
}

} // namespace
} // namespace fenwold
