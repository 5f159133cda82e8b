#pragma once

#include "building/BuildingTabView.h"

#include <memory>

namespace fenwold {

class CFenwoldDoc;
class ToolHub;

// The first of a building window's mode tabs with a view of its own ("Build"); the tabs before
// it show the picture, the registration and the compressed animations.
inline constexpr int kFirstModeTab = 3;

// The view of mode tab `tab` (3 to 7) of a building window on `document`; the fire point tab
// plays the hub's fire animation source.
std::unique_ptr<BuildingTabView> MakeModeView(int tab, CFenwoldDoc& document, ToolHub& hub);

} // namespace fenwold
