#include "unit/ToolDataFile.h"

#include "platform/BinaryReader.h"
#include "platform/FileError.h"
#include "support/TempFolder.h"
#include "unit/UnitFixtures.h"

#include <gtest/gtest.h>

namespace fenwold {
namespace {

using test::Layout;

UnitData ReadBack(const test::TempFolder& folder, const std::string& name) {
    BinaryReader in = BinaryReader::FromFile(folder / name);
    return ReadToolData(in);
}

Layout& PointTables32(Layout& out, std::int32_t x0, std::int32_t y9) {
    out.i32(x0);
    for (int i = 1; i < 10; ++i) {
        out.i32(0);
    }
    for (int i = 0; i < 9; ++i) {
        out.i32(0);
    }
    return out.i32(y9);
}

// Team colour selection and tables, then the 16-pixel codebook and its 565 copy.
Layout& SampleTail(Layout& out) {
    out.u8(3);
    for (int i = 1; i < 32; ++i) {
        out.u8(16);
    }
    out.u16(0x7FFF).zeros(638);
    out.u16(0x7FFF).zeros(28).u16(0x0021);
    return out.u16(0xFFDF).zeros(28).u16(0x0041);
}

TEST(ToolDataFile, EmptyUnitIsHeaderAndTeamColoursAndAnUnreadableOneIsNotWritten) {
    test::TempFolder folder;
    UnitData empty;
    WriteToolData(empty, folder / "e.UTD");
    Layout expected;
    expected.magic("Unit Animation File").i32(6).i32(0).i32(0).i32(0).f32(-1.0f).i32(0);
    expected.zeros(80);
    ASSERT_EQ(expected.bytes.size(), 136u);
    for (int i = 0; i < 32; ++i) {
        expected.u8(16);
    }
    expected.zeros(640);
    EXPECT_EQ(folder.Read("e.UTD"), expected.bytes);
    EXPECT_EQ(ReadBack(folder, "e.UTD").AnimationCount(), 0);
    // A unit it could not read back is not written.
    UnitData data;
    data.animations.emplace_back().sequenceLength = 201;
    EXPECT_THROW(WriteToolData(data, folder / "x.UTD"), FileError);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"e.UTD"});
}

TEST(ToolDataFile, WritesVersion6FieldByFieldAndReadsNoPixel565Copy) {
    test::TempFolder folder;
    UnitData data = test::MakeSampleUnit();
    data.animations.back().saveIndex = 7; // renumbered by the write
    WriteToolData(data, folder / "s.UTD");

    Layout x;
    x.magic("Unit Animation File").i32(6).i32(1).i32(2).i32(1).f32(0.5f).i32(1);
    PointTables32(x, 10, 300);
    // A: F, n, I, mask, size, check box, position and further values in 16 bits, points.
    x.i32(3).i32(2).i32(1).i32(1).u16(8).u16(0).u16(1).u16(2).u16(3).u16(4);
    x.u16(2).u16(0xFFFE).u16(5).u16(6);
    x.u16(3).zeros(16).u16(0xFFF9).zeros(20);
    x.u16(10).u16(11).u16(4).u16(5).u8(255).u8(128).u8(77).u8(66).u16(2).u16(1);
    x.i32(1).zeros(32).i32(-9);
    x.u32(5).u32(0).raw({1, 2, 3, 4, 5});
    x.u32(6).u32(0).u32(3).u32(5).raw({0xA1, 0xA2, 0xA3, 0xB1, 0xB2, 0xC1});
    // B: nothing but its size; blocks of total size 0.
    x.i32(0).i32(0).i32(0).i32(0).u16(2).u16(2).zeros(8 + 8 + 40 + 40).u32(0).u32(0);
    // The group names A by its save index.
    ASSERT_EQ(x.bytes.size(), test::kToolGroup);
    x.i32(1).i32(5).zeros(36 + 40).i32(0);
    SampleTail(x);
    EXPECT_EQ(folder.Read("s.UTD"), x.bytes);
    EXPECT_EQ(data.animations.back().saveIndex, 1);
    // The Pixel565 copy of the codebook is not read.
    auto bytes = folder.Read("s.UTD");
    bytes[bytes.size() - 1] ^= 0xFF;
    bytes[bytes.size() - 30] ^= 0xFF;
    folder.Write("s.UTD", bytes);
    EXPECT_EQ(ReadBack(folder, "s.UTD").codebook.entries16, data.codebook.entries16);
}

TEST(ToolDataFile, LongSequencesKeepTheLayoutAndEveryAlphaValue) {
    test::TempFolder folder;
    UnitData data;
    UnitAnimation& animation = data.animations.emplace_back();
    animation.sequenceLength = 150;
    for (int i = 0; i < 200; ++i) {
        animation.alphaValue[i] = static_cast<std::uint8_t>(i + 7);
    }
    WriteToolData(data, folder / "l.UTD");
    const auto bytes = folder.Read("l.UTD");
    const std::size_t alphaField = 136 + 76 + 4 * 150;
    for (int i = 0; i < 300; ++i) {
        EXPECT_EQ(bytes[alphaField + i], i < 200 ? i + 7 : 0) << i;
    }
    EXPECT_EQ(ReadBack(folder, "l.UTD").animations.front().alphaValue, animation.alphaValue);
}

TEST(ToolDataFile, ReadsVersion5WithEightPixelEntries) {
    test::TempFolder folder;
    Layout v5;
    v5.magic("Unit Animation File").i32(5).i32(0).i32(1).i32(1).f32(2.0f);
    PointTables32(v5, -1, 1); // no block flag word before them
    v5.i32(1).i32(1).i32(1).i32(0).u16(4).u16(4).zeros(8).u16(70).u16(0).zeros(4 + 40);
    v5.u16(9).u16(3).u8(200).u8(0).u16(0).zeros(40);
    v5.u32(2).u32(0).raw({7, 8}).u32(1).u32(0).raw({9});
    v5.zeros(32 + 640).u16(0x1234).zeros(14).zeros(16);
    folder.Write("v5.UTD", v5.bytes);

    UnitData data = ReadBack(folder, "v5.UTD");
    EXPECT_EQ((std::vector{data.codebook.blockFlag, data.codebook.Size(), data.unitPointX[0],
                           data.unitPointY[9]}),
              (std::vector{0, 1, -1, 1}));
    ASSERT_EQ(data.codebook.entries8.size(), 8u);
    EXPECT_EQ(data.codebook.entries8[0], 0x1234);
    ASSERT_EQ(data.AnimationCount(), 1);
    const UnitAnimation& animation = data.animations.front();
    EXPECT_EQ((std::vector<int>{animation.blockFlag, animation.positionX, animation.attribute[0],
                                animation.alphaValue[0]}),
              (std::vector{0, 70, 9, 200}));
    EXPECT_EQ(animation.indexTables.front().bytes, (std::vector<std::uint8_t>{7, 8}));
    EXPECT_EQ(animation.alphaTables.front().bytes, (std::vector<std::uint8_t>{9}));
}

} // namespace
} // namespace fenwold
