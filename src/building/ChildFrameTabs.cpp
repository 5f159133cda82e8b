#include "building/ChildFrameTabs.h"

#include "building/CFenwoldDoc.h"

namespace fenwold {

void ChildFrameTabs::Start() {
    document_.SetTitle("Open Build-");
    if (document_.Record() != nullptr) {
        AddModeTabs();
    }
}

void ChildFrameTabs::AddModeTabs() {
    if (modeTabs_) {
        return;
    }
    modeTabs_ = true;
    current_ = 0;
    host_.ShowTabs();
}

bool ChildFrameTabs::SelectTab(int tab) {
    if (tab == current_ || tab < 0 || tab >= TabCount()) {
        return false;
    }
    current_ = tab;
    document_.SetTitle(kBuildingTabs[static_cast<std::size_t>(tab)].title);
    host_.ShowCurrentTab();
    return true;
}

} // namespace fenwold
