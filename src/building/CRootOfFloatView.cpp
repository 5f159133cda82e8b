#include "building/CRootOfFloatView.h"

#include "building/BuildingDisplay.h"
#include "building/CFenwoldDoc.h"
#include "image/PreviewDrawing.h"
#include "platform/VirtualKeys.h"

#include <algorithm>

namespace fenwold {

namespace {

constexpr Pixel555 kTileRowLine = ToPixel555(0, 0, 255);
constexpr Pixel555 kRootLine = ToPixel555(255, 0, 0);

// A line two pixels thick along pixel row y: rows y - 1 and y, so that the lines along the
// picture's top and bottom edges keep their inner row.
void DrawTileLine(BuildingViewPicture& shown, int y, Pixel555 colour) {
    for (const int row : {y - 1, y}) {
        DrawHLine(shown.width, shown.height, 0, shown.width - 1, row, shown.pixels, colour);
    }
}

} // namespace

int CRootOfFloatView::ShownRoot(const BuildingRecord& record) {
    return std::clamp(record.rootOfFloat, 0, std::max(record.tileRows, 0));
}

void CRootOfFloatView::OnKeyDown(int key) {
    BuildingRecord* record = document_.Record();
    if (record == nullptr || (key != key::kUp && key != key::kDown)) {
        return;
    }
    document_.SetModifiedFlag(true);
    const int step = key == key::kUp ? -1 : 1;
    record->rootOfFloat = std::clamp(ShownRoot(*record) + step, 0, std::max(record->tileRows, 0));
}

const BuildingViewPicture& CRootOfFloatView::Picture() {
    const BuildingRecord* record = document_.Record();
    if (record == nullptr) {
        picture_ = {};
        return picture_;
    }
    picture_ = RecordSizedPicture(record, record->picture);
    for (int row = 0; row <= record->tileRows; ++row) {
        DrawTileLine(picture_, kTileSize * row, kTileRowLine);
    }
    DrawTileLine(picture_, kTileSize * ShownRoot(*record), kRootLine);
    return picture_;
}

} // namespace fenwold
