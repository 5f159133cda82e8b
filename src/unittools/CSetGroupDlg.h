#pragma once

#include "unittools/CSetGroupView.h"

#include <functional>

namespace fenwold {

class CUnitDoc;

// "Set group", the modal group editor of "&Set Group": its view over a copy of the unit's groups,
// and "&Add" and "&Delete". It has no OK and no Cancel: however it closes, the unit takes the
// groups as they are then.
class CSetGroupDlg {
public:
    static constexpr int kDialogId = 212;
    static constexpr const char* kCaption = "Set group";
    static constexpr int kAddButton = 1010;
    static constexpr int kDeleteButton = 1011;
    static constexpr const char* kAddText = "&Add";
    static constexpr const char* kDeleteText = "&Delete";

    explicit CSetGroupDlg(const CUnitDoc& unit);

    CSetGroupView& View() { return view_; }
    void OnAdd() { view_.Add(); }
    void OnDelete() { view_.Delete(); }

private:
    CSetGroupView view_;
};

// Runs "&Set Group" on the unit: `run` shows the editor until it closes; the unit then takes its
// groups (every member's working point at (0, 0)), is modified, and tells its windows, which look
// their groups up again.
void RunSetGroupCommand(CUnitDoc& unit, const std::function<void(CSetGroupDlg&)>& run);

} // namespace fenwold
