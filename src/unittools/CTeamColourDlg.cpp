#include "unittools/CTeamColourDlg.h"

#include "unit/AnimationDocument.h"

namespace fenwold {

CTeamColourDlg::CTeamColourDlg(Platform platform, ToolHub& hub, KeyRouter& keys,
                               const TeamColours& colours, const AnimationHandOver& current)
    : current_(current), animation_(hub, keys, platform, true),
      editor_(platform, colours, [this] { TableShown(); }) {}

CTeamColourDlg::~CTeamColourDlg() {
    // The second window goes with the dialog.
    animation_.CloseWindow();
}

void CTeamColourDlg::AnimationWindowOpened() {
    if (CAnimationView* view = animation_.View()) {
        view->SetTeamTable(&editor_.ShownTable());
    }
    animation_.TakeAnimation(current_);
}

void CTeamColourDlg::TableShown() {
    if (CAnimationView* view = animation_.View()) {
        view->SetTeamTable(&editor_.ShownTable());
        animation_.Redraw();
    }
    if (repaint_) {
        repaint_();
    }
}

CommandTable<CTeamColourDlg> CTeamColourDlg::Commands() {
    using Dialog = CTeamColourDlg;
    static constexpr CommandRow<Dialog> kRows[] = {
        {TeamColourEditor::kUnitLoad, "&Load", nullptr,
         [](Dialog& dialog) { dialog.editor_.Load(); }},
        {TeamColourEditor::kUnitSave, "&Save", nullptr,
         [](Dialog& dialog) { dialog.editor_.Save(); }},
        {TeamColourEditor::kUnitAnimationView, "&Animation View", nullptr, [](Dialog&) {}},
    };
    return kRows;
}

std::vector<MenuItem> CTeamColourDlg::ContextMenu() const {
    return MenuItemsOf(Commands(), *this);
}

void CTeamColourDlg::OnCommand(int command) {
    RunCommand(Commands(), *this, command);
}

void RunSetTeamColour(const AnimationHandOver& current, Platform platform, ToolHub& hub,
                      KeyRouter& keys, const std::function<bool(CTeamColourDlg&)>& run) {
    AnimationDocument* document = current.animation.Document();
    if (document == nullptr || current.animation.Get() == nullptr) {
        return;
    }
    bool accepted = false;
    TeamColours chosen;
    {
        CTeamColourDlg dialog(platform, hub, keys, document->Animations().teamColours, current);
        accepted = run(dialog);
        chosen = dialog.Editor().Colours();
    }
    if (!accepted) {
        return;
    }
    document->Animations().teamColours = chosen;
    document->SetModifiedFlag(true);
    document->Notify(DocumentEvent::Repaint);
}

} // namespace fenwold
