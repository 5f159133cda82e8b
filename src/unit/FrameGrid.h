#pragma once

#include "image/Pixel.h"
#include "platform/WindowPainter.h"

#include <span>
#include <vector>

namespace fenwold {

// The views that show pictures side by side (the unit view and the registration view, and the
// group editor and the animation edit panes) place them in rows that wrap at the window's width.
inline constexpr int kLayoutMargin = 2;
inline constexpr int kFrameGap = 5;
inline constexpr int kScrollWidth = 100;
inline constexpr int kMaxScrollHeight = 32767;
inline constexpr int kScrollLine = 20;

struct ScrollSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const ScrollSize&, const ScrollSize&) = default;
};

// One picture as the window shows it: its pixels and where its top-left lies in the window.
struct FramePicture {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    std::vector<Pixel555> pixels; // top row first
};

// One item of a grid, an animation: the size of each of its cells and how many it has.
struct GridItem {
    int width = 0;
    int height = 0;
    int cellCount = 0;
};

// One laid-out cell: the item's position in the list, the cell's position in the item, and its
// top-left corner in view coordinates (before scrolling).
struct GridCell {
    int item = 0;
    int index = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The cells of one view: their layout, the scroll position, which cell is under the pointer,
// and their outlines. The view keeps it; no record and no file holds a cell's place, so views
// that show the same animations differently never move each other's cells. The hover is kept
// as positions (item, cell), never as pointers into a list.
class FrameGrid {
public:
    // Outline colours (0x00BBGGRR): every cell, the cell under the pointer, the other cells of
    // its item.
    static constexpr WindowColour kNormalOutline = 0x000080;
    static constexpr WindowColour kHoveredCellOutline = 0x00FF00;
    static constexpr WindowColour kHoveredItemOutline = 0x0000FF;
    // Labels: the position in white, the group in red ten pixels lower, on black.
    static constexpr WindowColour kPositionLabelText = 0xFFFFFF;
    static constexpr WindowColour kGroupLabelText = 0x0000FF;
    static constexpr WindowColour kLabelBackground = 0x000000;
    static constexpr int kGroupLabelOffset = 10;

    void SetClientSize(int width, int height) {
        clientWidth_ = width;
        clientHeight_ = height;
    }
    void SetScrollPosition(int y) { scrollY_ = y; }
    int ScrollPosition() const { return scrollY_; }

    // Lays out the items from position `firstDrawn` on (a negative one counts as 0): cells from
    // (2, 2) to the right, 5 pixels apart; a row ends when a cell of the item's width would no
    // longer fit (x + width >= client width). Items before the first get no cells. The content
    // height is the last row's bottom + 5.
    void Layout(std::span<const GridItem> items, int firstDrawn);
    // Width 100, height the content height up to 32767.
    ScrollSize GetScrollSize() const { return scrollSize_; }

    const std::vector<GridCell>& Cells() const { return cells_; }
    // Null for an item or cell that has no place.
    const GridCell* CellOf(int item, int index) const;
    // Whether the cell crosses the window's height.
    bool IsVisible(const GridCell& cell) const;
    int WindowY(const GridCell& cell) const { return cell.y - scrollY_; }
    // The first cell whose rectangle, both ends included, holds the window point.
    const GridCell* HitTest(int x, int y) const;

    // The item and the cell under the pointer, -1 for none.
    int HoveredItem() const { return hoveredItem_; }
    int HoveredIndex() const { return hoveredIndex_; }
    bool IsHovered() const { return hoveredItem_ >= 0; }
    void SetHover(int item, int index);
    void ClearHover() { SetHover(-1, -1); }
    // The pointer moved: the hover goes to the cell under it, and the outlines that change are
    // drawn again (the old item's cells normal, the new item's, then its hovered cell). Returns
    // whether the hover changed.
    bool MoveHover(int x, int y, WindowPainter& window);

    // The colour of the cell's state: hovered cell, other cell of the hovered item, or normal.
    WindowColour OutlineColour(const GridCell& cell) const;
    // A one-pixel rectangle just outside the cell.
    void DrawOutline(WindowPainter& window, const GridCell& cell, WindowColour colour) const;
    // The outlines of every cell of an item (none for an item without cells).
    void DrawItemOutlines(WindowPainter& window, int item, WindowColour colour) const;

private:
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    int scrollY_ = 0;
    ScrollSize scrollSize_;
    std::vector<GridCell> cells_;
    std::vector<int> firstCellOf_; // index into cells_ for each item, -1 without cells
    int hoveredItem_ = -1;
    int hoveredIndex_ = -1;
};

} // namespace fenwold
