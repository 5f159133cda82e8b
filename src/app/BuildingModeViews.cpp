#include "app/BuildingModeViews.h"

#include "building/CFenwoldDoc.h"
#include "unittools/ToolHub.h"

namespace fenwold {

std::unique_ptr<BuildingTabView> MakeModeView(int, CFenwoldDoc&, ToolHub&) {
    return nullptr;
}

} // namespace fenwold
