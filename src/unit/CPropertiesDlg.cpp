#include "unit/CPropertiesDlg.h"

#include <algorithm>

namespace fenwold {

void CPropertiesDlg::MoveSpin(int position) {
    startAnimation = std::clamp(position, SpinMinimum(), std::max(SpinMaximum(), 0));
}
} // namespace fenwold
