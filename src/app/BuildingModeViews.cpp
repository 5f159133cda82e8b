#include "app/BuildingModeViews.h"

#include "building/CAniPositionView.h"
#include "building/CFenwoldDoc.h"
#include "building/CFirePotView.h"
#include "building/CRootOfFloatView.h"
#include "building/CSetAttribView1.h"
#include "building/CSetAttribView2.h"
#include "unittools/ToolHub.h"

namespace fenwold {

std::unique_ptr<BuildingTabView> MakeModeView(int tab, CFenwoldDoc& document, ToolHub& hub) {
    switch (tab) {
    case 3:
        return std::make_unique<CSetAttribView2>(document);
    case 4:
        return std::make_unique<CSetAttribView1>(document);
    case 5:
        return std::make_unique<CAniPositionView>(document);
    case 6:
        return std::make_unique<CRootOfFloatView>(document);
    default:
        return std::make_unique<CFirePotView>(document, hub.FireSource());
    }
}

} // namespace fenwold
