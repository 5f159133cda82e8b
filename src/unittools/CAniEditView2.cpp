#include "unittools/CAniEditView2.h"

#include "image/PreviewDrawing.h"
#include "unit/AnimationDocument.h"
#include "unittools/AnimationEditHost.h"

#include <CommandIds.h>
#include <algorithm>

namespace fenwold {
namespace {

// The entry at which the sequence starts again after its last entry.
std::int32_t& LoopStart(UnitAnimation& animation) {
    return animation.tempBuffer[0];
}

std::size_t Slot(int entry) {
    return static_cast<std::size_t>(entry);
}

} // namespace

int CAniEditView2::CellCount(const UnitAnimation& animation) const {
    return std::clamp(animation.sequenceLength, 0, kMaxSequenceLength);
}

void CAniEditView2::SetAnimation(const AnimationRef& animation) {
    Hold(animation);
    ClearSelection();
    Relayout();
}

void CAniEditView2::ClearSelection() {
    selectionStart_ = selectionEnd_ = -1;
    drawnStart_ = drawnEnd_ = -1;
}

std::vector<FramePicture> CAniEditView2::RenderVisibleFrames() const {
    std::vector<FramePicture> pictures;
    if (const UnitAnimation* animation = Animation()) {
        ForEachVisibleCell(*animation, [&](const GridCell& cell) {
            const auto entry = Slot(cell.index);
            pictures.push_back(RenderCell(cell, *animation, animation->frameNumber[entry],
                                          animation->alphaValue[entry]));
        });
    }
    return pictures;
}

void CAniEditView2::PaintOverlays(WindowPainter& window) const {
    UnitAnimation* animation = Animation();
    if (animation == nullptr) {
        return;
    }
    ForEachVisibleCell(*animation, [&](const GridCell& cell) {
        const bool selected = cell.index >= selectionStart_ && cell.index <= selectionEnd_;
        DrawCellOutline(window, cell, selected ? kHighlightedOutline : kNormalOutline);
        const int x = cell.x;
        const int y = grid_.WindowY(cell);
        const auto entry = Slot(cell.index);
        DrawNumberLabel(window, x, y, cell.index, kPositionText, kLabelBackground);
        DrawNumberLabel(window, x, y + kLabelLine, animation->frameNumber[entry], kLabelText,
                        kLabelBackground);
        DrawNumberLabel(window, x, y + 2 * kLabelLine, animation->delay[entry], kLabelText,
                        kLabelBackground);
        DrawNumberLabel(window, x, y + 3 * kLabelLine, animation->alphaValue[entry], kLabelText,
                        kLabelBackground);
        if (cell.index == LoopStart(*animation)) {
            DrawTextLabel(window, x, y + 4 * kLabelLine, "L", kLoopText, kLoopBackground);
        }
    });
}

void CAniEditView2::RedrawSelection(WindowPainter& window) {
    for (int entry = drawnStart_; entry >= 0 && entry <= drawnEnd_; ++entry) {
        if (const GridCell* cell = grid_.CellOf(0, entry)) {
            DrawCellOutline(window, *cell, kNormalOutline);
        }
    }
    for (int entry = selectionStart_; entry >= 0 && entry <= selectionEnd_; ++entry) {
        if (const GridCell* cell = grid_.CellOf(0, entry)) {
            DrawCellOutline(window, *cell, kHighlightedOutline);
        }
    }
    drawnStart_ = selectionStart_;
    drawnEnd_ = selectionEnd_;
}

void CAniEditView2::OnLeftButtonDown(int x, int y, bool shift, WindowPainter& window) {
    const UnitAnimation* animation = Animation();
    if (animation == nullptr) {
        return;
    }
    const GridCell* hit = grid_.HitTest(x, y);
    if (hit != nullptr && hit->index >= CellCount(*animation)) {
        hit = nullptr; // a cell of an older layout
    }
    if (!shift) {
        if (hit == nullptr) {
            selectionStart_ = -1;
            return;
        }
        selectionStart_ = selectionEnd_ = hit->index;
    } else {
        if (selectionStart_ == -1 || hit == nullptr) {
            return;
        }
        selectionEnd_ = hit->index;
        if (selectionEnd_ < selectionStart_) {
            std::swap(selectionStart_, selectionEnd_);
        }
    }
    RedrawSelection(window);
}

std::optional<std::pair<int, int>> CAniEditView2::Selected(const UnitAnimation& animation) const {
    const int last = std::min(selectionEnd_, CellCount(animation) - 1);
    if (selectionStart_ < 0 || selectionStart_ > last) {
        return std::nullopt;
    }
    return std::pair{selectionStart_, last};
}

void CAniEditView2::EntriesChanged(bool changed) {
    if (changed) {
        Held().Document()->SetModifiedFlag(true);
    }
    Relayout();
    host_.Repaint();
}

CommandTable<CAniEditView2> CAniEditView2::ContextMenuCommands() {
    using View = CAniEditView2;
    constexpr auto selected = [](const View& view) { return view.selectionStart_ != -1; };
    static constexpr CommandRow<View> kRows[] = {
        {command::kSetDelay, "Set &dealy", selected, [](View& view) { view.SetDelay(); }},
        {command::kDeleteEntries, "&Delete", selected, [](View& view) { view.DeleteEntries(); }},
        {command::kSetAttrib, "&Set attrib", selected, [](View& view) { view.SetAttrib(); }},
        {command::kSetLoop, "Set &loop", nullptr, [](View& view) { view.SetLoop(); }},
        {command::kSetAlphaValue, "Set &Alpha Value", nullptr,
         [](View& view) { view.SetAlphaValue(); }},
    };
    return kRows;
}

std::vector<MenuItem> CAniEditView2::ContextMenu() const {
    return MenuItemsOf(ContextMenuCommands(), *this);
}

bool CAniEditView2::IsEnabled(int command) const {
    const auto* row = FindCommand(ContextMenuCommands(), command);
    return row != nullptr && IsCommandEnabled(*row, *this);
}

void CAniEditView2::OnCommand(int command) {
    if (Animation() != nullptr) {
        RunCommand(ContextMenuCommands(), *this, command);
    }
}

template <typename Dialog, typename Value>
std::optional<bool>
CAniEditView2::EditSelected(std::array<Value, kMaxSequenceLength> UnitAnimation::*field,
                            bool (AnimationEditHost::*run)(Dialog&)) {
    const auto range = Selected(*Animation());
    if (!range) {
        return std::nullopt;
    }
    Dialog dialog;
    dialog.value = (Animation()->*field)[Slot(range->first)];
    if (!(host_.*run)(dialog)) {
        return std::nullopt;
    }
    // The dialog ran modally: the animation is looked up again.
    UnitAnimation* animation = Animation();
    if (animation == nullptr) {
        return std::nullopt;
    }
    const auto value = static_cast<Value>(dialog.value);
    const int last = std::min(range->second, CellCount(*animation) - 1);
    bool changed = false;
    for (int entry = range->first; entry <= last; ++entry) {
        changed |= std::exchange((animation->*field)[Slot(entry)], value) != value;
    }
    return changed;
}

void CAniEditView2::SetDelay() {
    if (const auto changed =
            EditSelected(&UnitAnimation::delay, &AnimationEditHost::RunSetDelayDialog)) {
        EntriesChanged(*changed);
    }
}

void CAniEditView2::DeleteEntries() {
    UnitAnimation& animation = *Animation();
    const auto range = Selected(animation);
    if (!range) {
        ClearSelection();
        EntriesChanged(false);
        return;
    }
    // Only the frame numbers move up; delays, attributes and alpha values stay by position.
    const int removed = range->second - range->first + 1;
    const int length = CellCount(animation);
    std::copy(animation.frameNumber.begin() + range->second + 1,
              animation.frameNumber.begin() + length, animation.frameNumber.begin() + range->first);
    animation.sequenceLength = length - removed;
    LoopStart(animation) = 0;
    ClearSelection();
    EntriesChanged(true);
}

void CAniEditView2::SetAttrib() {
    // Attributes are not shown: nothing is drawn again.
    const auto changed =
        EditSelected(&UnitAnimation::attribute, &AnimationEditHost::RunSetAttribDialog);
    if (changed.value_or(false)) {
        Held().Document()->SetModifiedFlag(true);
    }
}

void CAniEditView2::SetLoop() {
    UnitAnimation& animation = *Animation();
    const bool changed = std::exchange(LoopStart(animation), selectionStart_) != selectionStart_;
    EntriesChanged(changed);
}

void CAniEditView2::SetAlphaValue() {
    if (const auto changed =
            EditSelected(&UnitAnimation::alphaValue, &AnimationEditHost::RunSetAlphaValueDialog)) {
        ClearSelection();
        EntriesChanged(*changed);
    }
}

} // namespace fenwold
