#pragma once

#include "building/BuildingTabView.h"

namespace fenwold {

class CFenwoldDoc;
struct BuildingRecord;

// The "Root of float" tab: the picture (without team colours) with a blue line along every tile
// row and the root of float in red. Up and Down move the root by one tile row.
class CRootOfFloatView final : public BuildingTabView {
public:
    explicit CRootOfFloatView(CFenwoldDoc& document) : document_(document) {}

    // Up and Down mark the building modified even when the root is already at its end.
    void OnKeyDown(int key) override;
    const BuildingViewPicture& Picture() override;

    // The root of float within the picture's tile rows; a file may hold any value.
    static int ShownRoot(const BuildingRecord& record);

private:
    CFenwoldDoc& document_;
    BuildingViewPicture picture_;
};

} // namespace fenwold
