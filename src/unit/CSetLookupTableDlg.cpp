#include "unit/CSetLookupTableDlg.h"

namespace fenwold {

void CSetLookupTableDlg::SetNoLbg(bool checked) {
    noLbg = checked;
    if (checked) {
        lookupTableSize = kDefaultSize;
    }
}

} // namespace fenwold
