#include "unit/CUnitView.h"

#include "image/PreviewDrawing.h"
#include "unit/UnitDoc.h"
#include "vq/DrawCompressedFrame.h"

#include <CommandIds.h>
#include <algorithm>
#include <iterator>

namespace fenwold {
namespace {

constexpr auto kFramesOf = [](UnitAnimation & animation) -> auto& {
    return animation.alphaTables;
};

} // namespace

CUnitView::CUnitView(CUnitDoc& document, UnitViewHost& host)
    : document_(document), host_(host), observation_(document, *this) {
    Relayout();
}

CUnitView::~CUnitView() {
    host_.ForgetView(*this);
}

void CUnitView::SetClientSize(int width, int height) {
    clientWidth_ = width;
    clientHeight_ = height;
    Relayout();
}

void CUnitView::Relayout() {
    scrollSize_ =
        LayOutFrameRows(document_.Data().animations, firstDrawn_, clientWidth_, kFramesOf);
}

void CUnitView::Refresh() {
    Relayout();
    host_.Repaint();
}

void CUnitView::OnDocumentEvent(DocumentEvent event) {
    switch (event) {
    case DocumentEvent::AnimationsReplaced:
        hovered_ = nullptr;
        hoveredFrame_ = -1;
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

bool CUnitView::IsVisible(const AlphaTableNode& frame, int height) const {
    const int top = frame.displayY - scrollY_;
    return top + height > 0 && top < clientHeight_;
}

bool CUnitView::IsDrawn(const UnitAnimation* animation) const {
    const auto& list = document_.Data().animations;
    for (auto it = FirstDrawnIn(list, firstDrawn_); it != list.end(); ++it) {
        if (&*it == animation) {
            return true;
        }
    }
    return false;
}

std::vector<FramePicture> CUnitView::RenderVisibleFrames() const {
    const UnitData& data = document_.Data();
    std::vector<FramePicture> pictures;
    for (auto animation = FirstDrawnIn(data.animations, firstDrawn_);
         animation != data.animations.end(); ++animation) {
        const int width = animation->width;
        const int height = animation->height;
        for (const AlphaTableNode& frame : animation->alphaTables) {
            if (!IsVisible(frame, height)) {
                continue;
            }
            FramePicture picture{frame.displayX, frame.displayY - scrollY_, width, height,
                                 std::vector<Pixel555>(static_cast<std::size_t>(width) *
                                                       static_cast<std::size_t>(height))};
            DrawCompressedFrame(width, height, 0, 0, animation->maskFlag, animation->blockFlag,
                                animation->indexTables, frame, data.codebook.entries8.data(),
                                data.codebook.entries16.data(), data.teamColours.tables[0].data(),
                                picture.pixels.data(), 255);
            pictures.push_back(std::move(picture));
        }
    }
    return pictures;
}

WindowColour CUnitView::OutlineColour(const UnitAnimation& animation, int frame) const {
    if (&animation != hovered_) {
        return kNormalOutline;
    }
    return frame == hoveredFrame_ ? kHoveredFrameOutline : kHoveredAnimationOutline;
}

void CUnitView::DrawOutline(WindowPainter& window, const UnitAnimation& animation,
                            const AlphaTableNode& frame, WindowColour colour) const {
    const int top = frame.displayY - scrollY_;
    window.Rectangle(frame.displayX - 1, top - 1, frame.displayX + animation.width,
                     top + animation.height, colour);
}

void CUnitView::PaintOverlays(WindowPainter& window) const {
    int position = 0;
    for (const UnitAnimation& animation : document_.Data().animations) {
        if (position >= firstDrawn_) {
            for (std::size_t i = 0; i < animation.alphaTables.size(); ++i) {
                const AlphaTableNode& frame = animation.alphaTables[i];
                if (!IsVisible(frame, animation.height)) {
                    continue;
                }
                DrawOutline(window, animation, frame,
                            OutlineColour(animation, static_cast<int>(i)));
                const int x = frame.displayX;
                const int y = frame.displayY - scrollY_;
                DrawNumberLabel(window, x, y, position, kPositionLabelText, kLabelBackground);
                if (animation.groupIndex != -1) {
                    DrawNumberLabel(window, x, y + kGroupLabelOffset, animation.groupIndex,
                                    kGroupLabelText, kLabelBackground);
                }
            }
        }
        ++position;
    }
}

void CUnitView::DrawOutlines(WindowPainter& window, const UnitAnimation* animation,
                             WindowColour colour) const {
    if (animation == nullptr || !IsDrawn(animation)) {
        return; // a skipped animation has no place in the window
    }
    for (const AlphaTableNode& frame : animation->alphaTables) {
        DrawOutline(window, *animation, frame, colour);
    }
}

void CUnitView::OnMouseMove(int x, int y, WindowPainter& window) {
    const auto hit =
        HitTestFrameRows(document_.Data().animations, firstDrawn_, x, y, scrollY_, kFramesOf);
    UnitAnimation* animation = hit ? &*hit->animation : nullptr;
    const int frame = hit ? hit->frame : -1;
    if (animation == hovered_ && frame == hoveredFrame_) {
        return;
    }
    DrawOutlines(window, hovered_, kNormalOutline);
    hovered_ = animation;
    hoveredFrame_ = frame;
    DrawOutlines(window, hovered_, kHoveredAnimationOutline);
    if (hovered_ != nullptr) {
        DrawOutline(window, *hovered_, hovered_->alphaTables[static_cast<std::size_t>(frame)],
                    kHoveredFrameOutline);
    }
}

void CUnitView::OnLeftButtonDown(bool control) {
    if (hovered_ == nullptr) {
        return;
    }
    UnitData& data = document_.Data();
    const bool toolData = document_.ToolDataFlag();
    // An animation of no group gets none (asked for group -1, the list would give its head).
    UnitGroup* group = hovered_->groupIndex == -1 ? nullptr : data.GroupAt(hovered_->groupIndex);
    const UnitHandOver handOver{*hovered_, data, group, toolData, control};
    const auto give = [&](ToolWindow tool) {
        if (host_.IsToolOpen(tool)) {
            host_.HandOver(tool, handOver, *this);
        }
    };
    give(ToolWindow::Animation);
    if (!toolData) {
        return;
    }
    if (control) {
        give(ToolWindow::OriginPoint);
        return;
    }
    give(ToolWindow::CheckBox);
    give(ToolWindow::OriginPoint);
    give(ToolWindow::AnimationEdit);
}

CommandTable<CUnitView> CUnitView::ContextMenuCommands() {
    using View = CUnitView;
    constexpr auto hovered = [](const View& view) { return view.hovered_ != nullptr; };
    // The group, team colour and alpha windows are not part of the program yet.
    constexpr auto notYet = [](const View&) { return false; };
    constexpr auto nothing = [](View&) {};
    static constexpr CommandRow<View> kRows[] = {
        {command::kFireSetting, "&Fire Setting", nullptr, [](View& view) { view.SetFireSource(); }},
        {command::kSetTempBuffer, "Set Temp &Buffer", hovered,
         [](View& view) { view.SetTempBuffer(); }},
        {command::kSetGroup, "&Set Group", notYet, nothing},
        {command::kSetTeamColour, "Set &Team Color", notYet, nothing},
        {command::kAlphaValueChange, "Alpha &value change ", notYet, nothing},
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
    const UnitData& data = document_.Data();
    host_.SetFireSource({data.codebook.entries8.data(), data.codebook.entries16.data(),
                         data.animations.empty() ? nullptr : &data.animations.front(), this});
}

void CUnitView::SetTempBuffer() {
    TempBufferValues values = hovered_->tempBuffer;
    if (host_.RunTempBufferDialog(values)) {
        hovered_->tempBuffer = values;
        document_.SetModifiedFlag(true);
    }
}

void CUnitView::ShowProperties() {
    const UnitData& data = document_.Data();
    RegistrationProperties values{.animationCount = data.AnimationCount(),
                                  .totalFrameCount = data.TotalFrameCount(),
                                  .startAnimation = firstDrawn_,
                                  .height = hovered_->height,
                                  .width = hovered_->width,
                                  .codebookSize = data.codebook.Size()};
    if (host_.RunPropertiesDialog(values)) {
        firstDrawn_ = values.startAnimation;
        Refresh();
    }
}

} // namespace fenwold
