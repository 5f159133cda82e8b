#pragma once

#include "building/BuildingRecord.h"
#include "teamcolour/TeamColour.h"

#include <span>
#include <vector>

namespace fenwold {

// The picture box of the building team colour dialog: the building picture centred in the box
// with its team-coloured pixels drawn from the table in use.
class CTeamColourPreview {
public:
    // The buffer's rows are the box width rounded up to the next multiple of 4 pixels; a width
    // that already is one gains 4.
    CTeamColourPreview(const BuildingRecord& record, int boxWidth, int boxHeight);

    void SetTable(const TeamColourTable* table) { table_ = table; }
    void Paint();

    int bufferWidth() const { return bufferWidth_; }
    int bufferHeight() const { return bufferHeight_; }
    std::span<const Pixel555> buffer() const { return buffer_; }

private:
    const BuildingRecord& record_;
    const TeamColourTable* table_ = nullptr;
    int bufferWidth_;
    int bufferHeight_;
    std::vector<Pixel555> buffer_;
};

} // namespace fenwold
