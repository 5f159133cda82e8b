#include "building/CBuildTeamColourDlg.h"

#include "building/CFenwoldDoc.h"

namespace fenwold {

CBuildTeamColourDlg::CBuildTeamColourDlg(Platform platform, const BuildingRecord& record,
                                         const TeamColours& colours, int previewWidth,
                                         int previewHeight)
    : preview_(record, previewWidth, previewHeight),
      editor_(platform, colours, [this] { TableShown(); }) {}

void CBuildTeamColourDlg::TableShown() {
    preview_.SetTable(&editor_.ShownTable());
    preview_.Paint();
    if (repaint_) {
        repaint_();
    }
}

CommandTable<CBuildTeamColourDlg> CBuildTeamColourDlg::Commands() {
    using Dialog = CBuildTeamColourDlg;
    static constexpr CommandRow<Dialog> kRows[] = {
        {TeamColourEditor::kBuildingLoad, "&Load", nullptr,
         [](Dialog& dialog) { dialog.editor_.Load(); }},
        {TeamColourEditor::kBuildingSave, "&Save", nullptr,
         [](Dialog& dialog) { dialog.editor_.Save(); }},
    };
    return kRows;
}

std::vector<MenuItem> CBuildTeamColourDlg::ContextMenu() const {
    return MenuItemsOf(Commands(), *this);
}

void CBuildTeamColourDlg::OnCommand(int command) {
    RunCommand(Commands(), *this, command);
}

bool TeamColourSettingEnabled(const CFenwoldDoc& document) {
    const BuildingRecord* record = document.Record();
    return record != nullptr && record->HasTeamPlanes();
}

void RunTeamColourSetting(CFenwoldDoc& document, Platform platform, int previewWidth,
                          int previewHeight, const std::function<bool(CBuildTeamColourDlg&)>& run) {
    BuildingRecord* record = document.Record();
    if (record == nullptr || !record->HasTeamPlanes()) {
        return;
    }
    const auto computedBefore = record->teamIndicesComputed;
    ComputeTeamIndices(*record);
    if (record->teamIndicesComputed != computedBefore) {
        // The picture and the index plane changed, whatever the dialog's answer.
        document.SetModifiedFlag(true);
    }
    CBuildTeamColourDlg dialog(platform, *record, document.Colours(), previewWidth, previewHeight);
    if (!run(dialog)) {
        return;
    }
    document.Colours() = dialog.Editor().Colours();
    document.SetModifiedFlag(true);
    document.Notify(DocumentEvent::Repaint);
}

} // namespace fenwold
