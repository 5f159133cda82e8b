#pragma once

#include "platform/CommandTable.h"
#include "teamcolour/TeamColourEditor.h"
#include "unittools/CAnimationDlg.h"

#include <functional>
#include <vector>

namespace fenwold {

// "Team Color": a unit's ten team colour tables with the bar and the list, and a second
// animation window that plays the unit view's current animation in the table selected.
class CTeamColourDlg {
public:
    static constexpr int kDialogId = 181;
    static constexpr const char* kCaption = "Team Color";

    // `current` is the animation of the unit view the dialog was opened on.
    CTeamColourDlg(Platform platform, ToolHub& hub, KeyRouter& keys, const TeamColours& colours,
                   const AnimationHandOver& current);
    ~CTeamColourDlg();
    CTeamColourDlg(const CTeamColourDlg&) = delete;
    CTeamColourDlg& operator=(const CTeamColourDlg&) = delete;

    void Open(Rect barClient, Pixel555 background) { editor_.Open(barClient, background); }
    // Called whenever the list should be drawn again.
    void SetRepaint(std::function<void()> repaint) { repaint_ = std::move(repaint); }

    // The second animation window was created on AnimationTool() (which routes its keys to it):
    // it plays the current animation in the table shown.
    void AnimationWindowOpened();
    CAnimationDlg& AnimationTool() { return animation_; }

    TeamColourEditor& Editor() { return editor_; }
    std::vector<MenuItem> ContextMenu() const;
    void OnCommand(int command);

private:
    void TableShown();
    static CommandTable<CTeamColourDlg> Commands();

    std::function<void()> repaint_;
    AnimationHandOver current_;
    CAnimationDlg animation_;
    TeamColourEditor editor_;
};

// "Set &Team Color" of the unit view: runs the dialog on the animation's document (`run` shows it
// and says whether it closed with OK); OK copies the selection and the tables back, marked
// modified and repainted, Cancel changes nothing.
void RunSetTeamColour(const AnimationHandOver& current, Platform platform, ToolHub& hub,
                      KeyRouter& keys, const std::function<bool(CTeamColourDlg&)>& run);

} // namespace fenwold
