#pragma once

#include "building/CTeamColourPreview.h"
#include "platform/CommandTable.h"
#include "teamcolour/TeamColourEditor.h"

#include <functional>
#include <vector>

namespace fenwold {

class CFenwoldDoc;

// "Build team color": the building's ten team colour tables with the bar, the list and a preview
// of the building in the table selected.
class CBuildTeamColourDlg {
public:
    static constexpr int kDialogId = 205;
    static constexpr const char* kCaption = "Build team color";
    static constexpr int kPreviewControl = 1120;

    CBuildTeamColourDlg(Platform platform, const BuildingRecord& record, const TeamColours& colours,
                        int previewWidth, int previewHeight);

    // Called whenever the list and the preview should be drawn again.
    void SetRepaint(std::function<void()> repaint) { repaint_ = std::move(repaint); }

    // The window exists: table 0 is shown.
    void Open(Rect barClient, Pixel555 background) { editor_.Open(barClient, background); }

    TeamColourEditor& Editor() { return editor_; }
    const CTeamColourPreview& Preview() const { return preview_; }
    std::vector<MenuItem> ContextMenu() const;
    void OnCommand(int command);

private:
    void TableShown();
    static CommandTable<CBuildTeamColourDlg> Commands();

    std::function<void()> repaint_;
    CTeamColourPreview preview_;
    TeamColourEditor editor_;
};

// "Team color &Setting" of the building window: offered while the building has team planes.
bool TeamColourSettingEnabled(const CFenwoldDoc& document);
// Gives the building's team pixels their indices (marking the document modified when that
// changed the picture), runs the dialog (`run` shows it and says whether it closed with OK) and
// on OK copies the selection and the tables back, marked modified and repainted.
void RunTeamColourSetting(CFenwoldDoc& document, Platform platform, int previewWidth,
                          int previewHeight, const std::function<bool(CBuildTeamColourDlg&)>& run);

} // namespace fenwold
