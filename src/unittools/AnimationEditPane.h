#pragma once

#include "platform/WindowPainter.h"
#include "unit/FrameGrid.h"
#include "unit/ToolHandOver.h"

#include <vector>

namespace fenwold {

// What the two panes of the animation edit window share: the animation handed over (looked up
// again at every use), the cells of the animation's size laid out from (2, 2) in rows that wrap
// at the pane's width, scrolling, and the drawing of one cell. The pane's own grid holds the
// cells' places; no record does.
class AnimationEditPane {
public:
    static constexpr WindowColour kNormalOutline = 0x000080;      // dark red
    static constexpr WindowColour kHighlightedOutline = 0x00FF00; // green
    static constexpr WindowColour kLabelText = 0xFFFFFF;
    static constexpr WindowColour kLabelBackground = 0x000000;
    // Every pixel of a cell's picture before its frame is drawn (the byte 0x80 throughout).
    static constexpr Pixel555 kCellBackground = 0x8080;

    void SetClientSize(int width, int height);
    void SetScrollPosition(int y) { grid_.SetScrollPosition(y); }
    ScrollSize GetScrollSize() const { return grid_.GetScrollSize(); }
    const FrameGrid& Grid() const { return grid_; }

    // The animation now at the held position; null before a hand-over or once it is gone.
    UnitAnimation* Animation() const { return animation_.Get(); }
    const AnimationRef& Held() const { return animation_; }

    // Lays the cells out again (the animation's frames or entries may have changed).
    void Relayout();

protected:
    AnimationEditPane() = default;
    ~AnimationEditPane() = default;

    void Hold(const AnimationRef& animation) { animation_ = animation; }
    virtual int CellCount(const UnitAnimation& animation) const = 0;
    // The cell's picture: the background, then the animation's frame at `frame` blended with
    // `alphaValue`; a frame number past the frame list leaves the background.
    FramePicture RenderCell(const GridCell& cell, const UnitAnimation& animation, int frame,
                            int alphaValue) const;
    // The two nested rectangles around the cell.
    void DrawCellOutline(WindowPainter& window, const GridCell& cell, WindowColour colour) const;
    // The visible cells that still name a cell of the animation (the layout may be older).
    template <typename Visit>
    void ForEachVisibleCell(const UnitAnimation& animation, Visit&& visit) const {
        const int count = CellCount(animation);
        for (const GridCell& cell : grid_.Cells()) {
            if (cell.index < count && grid_.IsVisible(cell)) {
                visit(cell);
            }
        }
    }

    FrameGrid grid_;

private:
    AnimationRef animation_;
};

} // namespace fenwold
