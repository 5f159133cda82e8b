#include "building/BuildingRecord.h"

#include "teamcolour/TeamColourGradient.h"

namespace fenwold {

BuildingRecord MakeBuildingRecord(std::vector<Pixel555> picture, std::vector<std::uint8_t> alpha,
                                  int width, int height, int cropX, int cropY, int boxWidth,
                                  int boxHeight) {
    BuildingRecord record;
    record.cropX = cropX;
    record.cropY = cropY;
    record.width = width;
    record.height = height;
    record.boxWidth = boxWidth;
    record.boxHeight = boxHeight;
    record.tileColumns = width / kTileSize;
    record.tileRows = height / kTileSize;
    record.tileCount = record.tileColumns * record.tileRows;
    record.area = {0, 0, record.tileColumns, record.tileRows};
    record.picture = std::move(picture);
    record.alpha = std::move(alpha);
    return record;
}

void ComputeTeamIndices(BuildingRecord& record) {
    if (record.teamIndicesComputed == 1 || !record.HasTeamPlanes()) {
        return;
    }
    for (std::size_t i = 0; i < record.PixelCount(); ++i) {
        if (record.teamMask[i] != 0) {
            record.picture[i] &= 0x7FFF;
            record.teamIndex[i] = static_cast<std::uint8_t>(TeamColourIndex(record.picture[i]));
        }
    }
    record.teamIndicesComputed = 1;
}

} // namespace fenwold
