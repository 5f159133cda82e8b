#include "unit/CUnitView.h"

#include "image/PreviewDrawing.h"
#include "unit/CPropertiesDlg.h"
#include "unit/CTempBufferDlg.h"
#include "unit/UnitDoc.h"
#include "vq/DrawCompressedFrame.h"

#include <CommandIds.h>
#include <algorithm>
#include <iterator>

namespace fenwold {

CUnitView::CUnitView(Platform platform, AnimationDocument& document, UnitViewHost& host,
                     ToolHandOvers& tools)
    : platform_(platform), document_(document), unit_(dynamic_cast<CUnitDoc*>(&document)),
      host_(host), tools_(tools), observation_(document, *this) {
    Relayout();
}

CUnitView::~CUnitView() {
    tools_.SourceGone(*this);
}

void CUnitView::SetClientSize(int width, int height) {
    grid_.SetClientSize(width, height);
    Relayout();
}

void CUnitView::Relayout() {
    // A smaller compression may leave the start past the end: nothing would be drawn, nothing
    // could be hovered, and Properties, which needs a hovered animation, could never move it back.
    firstDrawn_ =
        std::clamp(firstDrawn_, 0, std::max(document_.Animations().AnimationCount() - 1, 0));
    std::vector<GridItem> items;
    for (const UnitAnimation& animation : document_.Animations().animations) {
        items.push_back({animation.width, animation.height, animation.FrameCount()});
    }
    grid_.Layout(items, firstDrawn_);
}

bool CUnitView::ToolData() const {
    return unit_ != nullptr && unit_->ToolDataFlag();
}

void CUnitView::Refresh() {
    Relayout();
    host_.Repaint();
}

void CUnitView::OnDocumentEvent(DocumentEvent event) {
    switch (event) {
    case DocumentEvent::AnimationsReplaced:
        grid_.ClearHover();
        Refresh();
        break;
    case DocumentEvent::Repaint:
    case DocumentEvent::GroupsReplaced:
        Refresh();
        break;
    case DocumentEvent::BuildingRecordReplaced:
    case DocumentEvent::ModifiedChanged:
    case DocumentEvent::Closing:
        break;
    }
}

UnitAnimation* CUnitView::Hovered() {
    return document_.Animations().FindAnimation(grid_.HoveredItem());
}

const UnitAnimation* CUnitView::HoveredAnimation() const {
    return document_.Animations().FindAnimation(grid_.HoveredItem());
}

std::vector<const UnitAnimation*> CUnitView::AnimationsByPosition() const {
    std::vector<const UnitAnimation*> animations;
    for (const UnitAnimation& animation : document_.Animations().animations) {
        animations.push_back(&animation);
    }
    return animations;
}

// Each cell names an animation and a frame by position; a cell whose animation or frame is gone
// (the layout is older than the list) draws nothing.
template <typename Draw>
void CUnitView::ForEachVisibleFrame(Draw&& draw) const {
    const auto animations = AnimationsByPosition();
    for (const GridCell& cell : grid_.Cells()) {
        if (cell.item >= static_cast<int>(animations.size()) || !grid_.IsVisible(cell)) {
            continue;
        }
        const UnitAnimation& animation = *animations[static_cast<std::size_t>(cell.item)];
        if (cell.index < animation.FrameCount()) {
            draw(cell, animation, animation.alphaTables[static_cast<std::size_t>(cell.index)]);
        }
    }
}

std::vector<FramePicture> CUnitView::RenderVisibleFrames() const {
    const UnitData& data = document_.Animations();
    std::vector<FramePicture> pictures;
    ForEachVisibleFrame(
        [&](const GridCell& cell, const UnitAnimation& animation, const AlphaTableNode& frame) {
            const int width = animation.width;
            const int height = animation.height;
            FramePicture picture{cell.x, grid_.WindowY(cell), width, height,
                                 std::vector<Pixel555>(static_cast<std::size_t>(width) *
                                                       static_cast<std::size_t>(height))};
            DrawCompressedFrame({picture.pixels.data(), width, height}, 0, 0, animation, frame,
                                data.codebook.Drawing(data.teamColours.tables[0].data()), 255);
            pictures.push_back(std::move(picture));
        });
    return pictures;
}

void CUnitView::PaintOverlays(WindowPainter& window) const {
    ForEachVisibleFrame([&](const GridCell& cell, const UnitAnimation& animation,
                            const AlphaTableNode&) {
        grid_.DrawOutline(window, cell, grid_.OutlineColour(cell));
        const int y = grid_.WindowY(cell);
        DrawNumberLabel(window, cell.x, y, cell.item, FrameGrid::kPositionLabelText,
                        FrameGrid::kLabelBackground);
        if (animation.groupIndex != -1) {
            DrawNumberLabel(window, cell.x, y + FrameGrid::kGroupLabelOffset, animation.groupIndex,
                            FrameGrid::kGroupLabelText, FrameGrid::kLabelBackground);
        }
    });
}

void CUnitView::OnMouseMove(int x, int y, WindowPainter& window) {
    grid_.MoveHover(x, y, window);
}

void CUnitView::OnLeftButtonDown(bool control) {
    if (Hovered() != nullptr) {
        tools_.AnimationClicked({AnimationRef(document_, grid_.HoveredItem()), this, ToolData()},
                                control);
    }
}

CommandTable<CUnitView> CUnitView::ContextMenuCommands() {
    using View = CUnitView;
    constexpr auto hovered = [](const View& view) { return view.HoveredAnimation() != nullptr; };
    // The groups and the alpha change belong to a unit.
    constexpr auto unit = [](const View& view) { return view.unit_ != nullptr; };
    // The alpha change reads plain alpha tables only: team-coloured animations keep theirs.
    constexpr auto plainHovered = [](const View& view) {
        return view.unit_ != nullptr && view.HoveredAnimation() != nullptr &&
               view.HoveredAnimation()->maskFlag == 0;
    };
    static constexpr CommandRow<View> kRows[] = {
        {command::kFireSetting, "&Fire Setting", nullptr, [](View& view) { view.SetFireSource(); }},
        {command::kSetTempBuffer, "Set Temp &Buffer", hovered,
         [](View& view) { view.SetTempBuffer(); }},
        {command::kSetGroup, "&Set Group", unit,
         [](View& view) { view.host_.RunGroupEditor(*view.unit_); }},
        // Only an animation with team masks has team pixels to colour.
        {command::kSetTeamColour, "Set &Team Color",
         [](const View& view) {
             const UnitAnimation* animation = view.HoveredAnimation();
             return animation != nullptr && animation->maskFlag != 0;
         },
         [](View& view) {
             view.host_.RunTeamColourDialog(
                 {AnimationRef(view.document_, view.grid_.HoveredItem()), &view, view.ToolData()});
         }},
        {command::kAlphaValueChange, "Alpha &value change ", plainHovered,
         [](View& view) { view.host_.RunAlphaValueChange(*view.unit_, view.grid_.HoveredItem()); }},
        {command::kProperties, "&Properties", hovered, [](View& view) { view.ShowProperties(); }},
    };
    return kRows;
}

std::vector<MenuItem> CUnitView::ContextMenu() const {
    return MenuItemsOf(ContextMenuCommands(), *this);
}

bool CUnitView::IsEnabled(int command) const {
    const auto* row = FindCommand(ContextMenuCommands(), command);
    return row != nullptr && IsCommandEnabled(*row, *this);
}

std::string CUnitView::MenuText(int command) const {
    const auto* row = FindCommand(ContextMenuCommands(), command);
    return row != nullptr ? CommandText(*row, *this) : std::string();
}

void CUnitView::OnCommand(int command) {
    RunCommand(ContextMenuCommands(), *this, command);
}

void CUnitView::SetFireSource() {
    tools_.SetFireSource(document_, *this);
    const int count = document_.Animations().AnimationCount();
    platform_.statusBar.ShowMessage("Fire animation source: \"" + document_.FileName() + "\" (" +
                                    std::to_string(count) +
                                    (count == 1 ? " animation)." : " animations)."));
}

void CUnitView::SetTempBuffer() {
    UnitAnimation& hovered = *Hovered();
    CTempBufferDlg dialog;
    dialog.values = hovered.tempBuffer;
    if (host_.RunTempBufferDialog(dialog)) {
        hovered.tempBuffer = dialog.values;
        document_.SetModifiedFlag(true);
    }
}

void CUnitView::ShowProperties() {
    const UnitData& data = document_.Animations();
    CPropertiesDlg dialog{.animationCount = data.AnimationCount(),
                          .totalFrameCount = data.TotalFrameCount(),
                          .startAnimation = firstDrawn_,
                          .height = HoveredAnimation()->height,
                          .width = HoveredAnimation()->width,
                          .codebookSize = data.codebook.Size()};
    if (host_.RunPropertiesDialog(dialog)) {
        firstDrawn_ = dialog.startAnimation;
        Refresh();
    }
}

} // namespace fenwold
