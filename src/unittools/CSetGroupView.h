#pragma once

#include "platform/WindowPainter.h"
#include "unit/FrameGrid.h"
#include "unit/UnitData.h"

#include <optional>
#include <vector>

namespace fenwold {

// The group editor's view: every animation of the unit as a cell with its first frame, the one
// under the pointer playing in place. Clicking ungrouped animations collects them, in click
// order, in a pending list ("&Add" makes a group of them); clicking a grouped one selects its
// group ("&Delete" dissolves it). It works on a copy of the unit's groups, by position, which
// the dialog hands back when it closes.
class CSetGroupView {
public:
    static constexpr int kTimerMilliseconds = 6;
    static constexpr int kMaxPending = kMaxGroupMembers;
    // Outlines: every cell, the hovered one, a pending one, a member of the selected group.
    static constexpr WindowColour kNormalOutline = 0x000080;
    static constexpr WindowColour kHoveredOutline = 0x00FF00;
    static constexpr WindowColour kPendingOutline = 0xFF0000;
    static constexpr WindowColour kMemberOutline = 0xFF00FF;
    // Labels: the position in the list, the group, the position in the group.
    static constexpr WindowColour kPositionText = 0xFFFFFF;
    static constexpr WindowColour kPositionBackground = 0x000000;
    static constexpr WindowColour kGroupText = 0x0000FF;
    static constexpr WindowColour kGroupBackground = 0xFF0000;
    static constexpr WindowColour kSlotText = 0x00FFFF;
    static constexpr WindowColour kSlotBackground = 0x0000FF;
    static constexpr int kLabelStep = 10;
    static constexpr Pixel555 kCellBackground = 0xFFFF;

    // The unit's animations are drawn from `data`; the groups start as the unit's.
    explicit CSetGroupView(const UnitData& data);

    void SetClientSize(int width, int height);
    void SetScrollPosition(int y) { grid_.SetScrollPosition(y); }
    ScrollSize GetScrollSize() const { return grid_.GetScrollSize(); }
    const FrameGrid& Grid() const { return grid_; }

    // The hovered animation follows the pointer; returns whether it changed (it then starts at
    // its first frame).
    bool OnMouseMove(int x, int y);
    // The same for a window that draws outlines as they change: this view's window paints them
    // all again after every move.
    bool OnMouseMove(int x, int y, WindowPainter&) { return OnMouseMove(x, y); }
    // The left button on the hovered animation.
    void OnLeftButtonDown();
    void Add();
    void Delete();
    // Timer 0, every 6 ms: the hovered animation shows its next frame. Returns whether there is
    // one.
    bool Tick();

    // The cells that cross the window: the first frame of each on white, the hovered one's
    // current frame.
    std::vector<FramePicture> RenderVisibleFrames() const;
    // Outlines in each cell's state colour, and the labels.
    void PaintOverlays(WindowPainter& window) const;

    const std::vector<GroupByPosition>& Groups() const { return groups_; }
    const std::vector<int>& Pending() const { return pending_; }
    std::optional<int> Selected() const { return selected_; }
    int Hovered() const { return grid_.HoveredItem(); }
    int HoveredFrame() const { return hoveredFrame_; }
    // The group number of the animation at `position` in the working copy, -1 for none (a
    // number the unit has no group for stays as it is, and a click on it does nothing).
    int GroupIndexOf(int position) const { return groupIndex_[static_cast<std::size_t>(position)]; }
    // Its slot in the pending list or its group as last assigned, -1 for none.
    int SlotOf(int position) const { return slot_[static_cast<std::size_t>(position)]; }
    // The colour a cell is outlined in.
    WindowColour OutlineColour(int position) const;

private:
    void Relayout();
    void ClearSelection();
    void ClearPending();
    void TogglePending(int position);

    const UnitData& data_;
    FrameGrid grid_;
    std::vector<GroupByPosition> groups_;
    std::vector<int> groupIndex_;
    std::vector<int> slot_;
    std::vector<int> pending_;
    std::optional<int> selected_;
    int hoveredFrame_ = 0;
};

} // namespace fenwold
