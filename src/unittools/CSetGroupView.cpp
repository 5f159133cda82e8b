#include "unittools/CSetGroupView.h"

#include "image/PreviewDrawing.h"
#include "unittools/PreviewCanvas.h"

#include <algorithm>

namespace fenwold {

CSetGroupView::CSetGroupView(const UnitData& data)
    : data_(data), groups_(data.GroupsByPosition()),
      slot_(static_cast<std::size_t>(data.AnimationCount()), -1) {
    for (const UnitAnimation& animation : data.animations) {
        groupIndex_.push_back(animation.groupIndex);
    }
    Relayout();
}

void CSetGroupView::SetClientSize(int width, int height) {
    grid_.SetClientSize(width, height);
    Relayout();
}

void CSetGroupView::Relayout() {
    std::vector<GridItem> items;
    for (const UnitAnimation& animation : data_.animations) {
        items.push_back({animation.width, animation.height, 1});
    }
    grid_.Layout(items, 0);
}

bool CSetGroupView::OnMouseMove(int x, int y) {
    const GridCell* hit = grid_.HitTest(x, y);
    const int item = hit != nullptr ? hit->item : -1;
    if (item == grid_.HoveredItem()) {
        return false;
    }
    grid_.SetHover(item, item >= 0 ? 0 : -1);
    hoveredFrame_ = 0;
    return true;
}

void CSetGroupView::ClearSelection() {
    selected_.reset();
}

// The pending animations leave the list, and their slot numbers leave the screen.
void CSetGroupView::ClearPending() {
    for (const int position : pending_) {
        slot_[static_cast<std::size_t>(position)] = -1;
    }
    pending_.clear();
}

void CSetGroupView::TogglePending(int position) {
    const auto found = std::find(pending_.begin(), pending_.end(), position);
    if (found != pending_.end()) {
        pending_.erase(found); // later slots keep the numbers they were given
        slot_[static_cast<std::size_t>(position)] = -1;
        return;
    }
    if (static_cast<int>(pending_.size()) == kMaxPending) {
        return; // a group holds no more
    }
    slot_[static_cast<std::size_t>(position)] = static_cast<int>(pending_.size());
    pending_.push_back(position);
}

void CSetGroupView::OnLeftButtonDown() {
    const int position = grid_.HoveredItem();
    if (position < 0 || position >= static_cast<int>(groupIndex_.size())) {
        return;
    }
    const int group = GroupIndexOf(position);
    if (group == -1) {
        ClearSelection();
        TogglePending(position);
        return;
    }
    if (group < 0 || group >= static_cast<int>(groups_.size())) {
        return; // names a group the unit does not have
    }
    ClearPending();
    selected_ = group;
}

void CSetGroupView::Add() {
    if (selected_ || pending_.empty()) {
        return;
    }
    const int number = static_cast<int>(groups_.size());
    GroupByPosition& group = groups_.emplace_back();
    group.members.assign(pending_.begin(), pending_.end());
    for (const int position : pending_) {
        groupIndex_[static_cast<std::size_t>(position)] = number;
    }
    pending_.clear(); // the members keep their slot numbers as their positions in the group
}

void CSetGroupView::Delete() {
    if (!selected_) {
        return;
    }
    const auto removed = static_cast<std::size_t>(*selected_);
    for (const std::int32_t member : groups_[removed].members) {
        groupIndex_[static_cast<std::size_t>(member)] = -1;
        slot_[static_cast<std::size_t>(member)] = -1;
    }
    groups_.erase(groups_.begin() + static_cast<std::ptrdiff_t>(removed));
    for (std::size_t group = removed; group < groups_.size(); ++group) {
        for (const std::int32_t member : groups_[group].members) {
            groupIndex_[static_cast<std::size_t>(member)] = static_cast<int>(group);
        }
    }
    ClearSelection();
}

bool CSetGroupView::Tick() {
    const UnitAnimation* hovered = data_.FindAnimation(grid_.HoveredItem());
    if (hovered == nullptr) {
        return false;
    }
    hoveredFrame_ = hovered->FrameCount() > 0 ? (hoveredFrame_ + 1) % hovered->FrameCount() : 0;
    return true;
}

WindowColour CSetGroupView::OutlineColour(int position) const {
    if (position == grid_.HoveredItem()) {
        return kHoveredOutline;
    }
    if (selected_) {
        const auto& members = groups_[static_cast<std::size_t>(*selected_)].members;
        return std::find(members.begin(), members.end(), position) != members.end()
                   ? kMemberOutline
                   : kNormalOutline;
    }
    return std::find(pending_.begin(), pending_.end(), position) != pending_.end() ? kPendingOutline
                                                                                   : kNormalOutline;
}

std::vector<FramePicture> CSetGroupView::RenderVisibleFrames() const {
    std::vector<FramePicture> pictures;
    int position = 0;
    for (const UnitAnimation& animation : data_.animations) {
        const GridCell* cell = grid_.CellOf(position, 0);
        if (cell != nullptr && grid_.IsVisible(*cell)) {
            const int frame = position == grid_.HoveredItem() ? hoveredFrame_ : 0;
            FramePicture picture{
                cell->x, grid_.WindowY(*cell), animation.width, animation.height,
                std::vector<Pixel555>(static_cast<std::size_t>(animation.width) * animation.height,
                                      kCellBackground)};
            DrawAnimationFrame({picture.pixels.data(), animation.width, animation.height}, {0, 0},
                               data_, animation, frame, 255);
            pictures.push_back(std::move(picture));
        }
        ++position;
    }
    return pictures;
}

void CSetGroupView::PaintOverlays(WindowPainter& window) const {
    for (const GridCell& cell : grid_.Cells()) {
        if (!grid_.IsVisible(cell) || cell.item >= static_cast<int>(groupIndex_.size())) {
            continue;
        }
        const int x = cell.x;
        const int y = grid_.WindowY(cell);
        DrawOutline(window, x - 2, y - 2, x + cell.width + 1, y + cell.height + 1,
                    OutlineColour(cell.item));
        DrawNumberLabel(window, x, y, cell.item, kPositionText, kPositionBackground);
        if (const int group = GroupIndexOf(cell.item); group != -1) {
            DrawNumberLabel(window, x, y + kLabelStep, group, kGroupText, kGroupBackground);
        }
        if (const int slot = SlotOf(cell.item); slot != -1) {
            DrawNumberLabel(window, x, y + 2 * kLabelStep, slot, kSlotText, kSlotBackground);
        }
    }
}

} // namespace fenwold
