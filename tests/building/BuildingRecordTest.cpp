#include "building/BuildingRecord.h"

#include "building/CTeamColourPreview.h"

#include <gtest/gtest.h>
#include <tuple>

namespace fenwold {
namespace {

BuildingRecord OneTile() {
    std::vector<Pixel555> picture(32 * 32, 0x7FFF);
    picture[1] = 16 << 10 | 16 << 5 | 16;
    picture[2] = 0x8000 | 0x7FFF; // bit 15 set: cleared by the index computation
    BuildingRecord record =
        MakeBuildingRecord(picture, std::vector<std::uint8_t>(32 * 32, 248), 32, 32, 0, 0, 32, 32);
    record.teamMask.assign(32 * 32, 0);
    record.teamIndex.assign(32 * 32, 0);
    for (int i = 0; i < 3; ++i) {
        record.teamMask[i] = 255;
        record.teamIndex[i] = 1;
    }
    return record;
}

TEST(BuildingRecord, NewRecordCoversEveryTile) {
    const BuildingRecord record = MakeBuildingRecord(
        std::vector<Pixel555>(96 * 64), std::vector<std::uint8_t>(96 * 64), 96, 64, 3, 4, 70, 40);
    EXPECT_EQ(std::tuple(record.tileColumns, record.tileRows, record.tileCount, record.area,
                         record.cropX, record.cropY, record.boxWidth, record.boxHeight,
                         record.firePointCount, record.HasTeamPlanes()),
              std::tuple(3, 2, 6, std::array<std::int32_t, 4>{0, 0, 3, 2}, 3, 4, 70, 40, 9, false));
}

TEST(BuildingRecord, TeamIndicesAreComputedOnce) {
    BuildingRecord record = OneTile();
    ComputeTeamIndices(record);
    EXPECT_EQ(record.teamIndex[1], 14); // grey 16
    EXPECT_EQ(record.picture[2], 0x7FFF);
    EXPECT_EQ(record.teamIndex[3], 0); // not under the mask
    EXPECT_EQ(record.teamIndicesComputed, 1);
    record.teamIndex[0] = 5;
    ComputeTeamIndices(record);
    EXPECT_EQ(record.teamIndex[0], 5);
}

TEST(CTeamColourPreview, CentresThePictureAndAppliesTheTable) {
    BuildingRecord record = OneTile();
    ComputeTeamIndices(record);
    TeamColourTable table{};
    table[28] = 0x001F;
    CTeamColourPreview preview(record, 40, 36);
    EXPECT_EQ(preview.bufferWidth(), 44); // 40 is a multiple of 4 and gains 4
    preview.SetTable(&table);
    preview.Paint();
    const auto pixels = preview.buffer();
    // Offset (44 / 2 - 16, 36 / 2 - 16) = (6, 2).
    EXPECT_EQ(pixels[2 * 44 + 6], 0x001F);
    EXPECT_EQ(pixels[2 * 44 + 9], 0x7FFF);
    EXPECT_EQ(pixels[0], 0);
    EXPECT_EQ(CTeamColourPreview(record, 41, 10).bufferWidth(), 44);
}

} // namespace
} // namespace fenwold
