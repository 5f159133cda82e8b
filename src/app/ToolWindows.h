#pragma once

#include "unit/CUnitView.h"

namespace fenwold {

// The main frame's side of the four tool windows and of the fire animation source. The tool
// windows themselves are not part of the program yet, so none is ever open and a click in a unit
// view hands its animation to nobody.
class ToolWindows {
public:
    bool IsOpen(ToolWindow) const { return false; }
    const FireAnimationSource& FireSource() const { return fire_; }
    void SetFireSource(const FireAnimationSource& source) { fire_ = source; }
    // A unit view goes away: the fire source it set goes with it.
    void ForgetView(const CUnitView& view) {
        if (fire_.view == &view) {
            fire_ = {};
        }
    }

private:
    FireAnimationSource fire_;
};

} // namespace fenwold
