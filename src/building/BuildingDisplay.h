#pragma once

#include "building/BuildingTabView.h"
#include "image/Pixel.h"

#include <vector>

namespace fenwold {

class CFenwoldDoc;
struct BuildingRecord;

// The picture the building window's first tab shows, record width x height (empty without a
// record): the building picture, its team-coloured pixels drawn from table 0 once their indices
// are known (a building read from a file, or one whose indices were computed).
std::vector<Pixel555> BuildingDisplayPicture(const CFenwoldDoc& document);

// What a building tab shows at zoom 1: pixels of the record's size, or nothing without a record.
BuildingViewPicture RecordSizedPicture(const BuildingRecord* record, std::vector<Pixel555> pixels);

} // namespace fenwold
