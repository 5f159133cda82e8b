#include "unittools/CSetGroupDlg.h"

#include "unit/UnitDoc.h"

namespace fenwold {

CSetGroupDlg::CSetGroupDlg(const CUnitDoc& unit) : view_(unit.Data()) {}

void RunSetGroupCommand(CUnitDoc& unit, const std::function<void(CSetGroupDlg&)>& run) {
    CSetGroupDlg dialog(unit);
    run(dialog);
    unit.ReplaceGroups(dialog.View().Groups());
}

} // namespace fenwold
