#include "building/BuildingDisplay.h"

#include "building/CFenwoldDoc.h"
#include "image/PreviewDrawing.h"

namespace fenwold {

std::vector<Pixel555> BuildingDisplayPicture(const CFenwoldDoc& document) {
    const BuildingRecord* record = document.Record();
    if (record == nullptr) {
        return {};
    }
    std::vector<Pixel555> picture = record->picture;
    const bool indicesKnown = document.OpenedFromFile() || record->teamIndicesComputed == 1;
    if (record->HasTeamPlanes() && indicesKnown) {
        DrawIndexedImage(record->width, record->height, 0, 0, record->width, record->height,
                         picture, record->teamIndex, record->teamMask,
                         document.Colours().tables[0]);
    }
    return picture;
}

BuildingViewPicture RecordSizedPicture(const BuildingRecord* record, std::vector<Pixel555> pixels) {
    if (record == nullptr) {
        return {};
    }
    return {std::move(pixels), record->width, record->height, 1};
}

} // namespace fenwold
