#include "unit/FrameGrid.h"

#include <algorithm>

namespace fenwold {

void FrameGrid::Layout(std::span<const GridItem> items, int firstDrawn) {
    cells_.clear();
    firstCellOf_.assign(items.size(), -1);
    int x = kLayoutMargin;
    int y = kLayoutMargin;
    int rowHeight = 0;
    for (std::size_t item = static_cast<std::size_t>(std::max(firstDrawn, 0)); item < items.size();
         ++item) {
        const GridItem& sizes = items[item];
        firstCellOf_[item] = static_cast<int>(cells_.size());
        for (int index = 0; index < sizes.cellCount; ++index) {
            cells_.push_back({static_cast<int>(item), index, x, y, sizes.width, sizes.height});
            rowHeight = std::max(rowHeight, sizes.height);
            x += sizes.width + kFrameGap;
            // The row wraps when a cell of this item's width would no longer fit.
            if (x + sizes.width >= clientWidth_) {
                y += rowHeight + kFrameGap;
                x = kLayoutMargin;
                rowHeight = 0;
            }
        }
    }
    scrollSize_ = {kScrollWidth, std::min(y + rowHeight + kFrameGap, kMaxScrollHeight)};
}

const GridCell* FrameGrid::CellOf(int item, int index) const {
    if (item < 0 || item >= static_cast<int>(firstCellOf_.size()) || firstCellOf_[item] < 0 ||
        index < 0) {
        return nullptr;
    }
    const auto at = static_cast<std::size_t>(firstCellOf_[item] + index);
    if (at >= cells_.size() || cells_[at].item != item) {
        return nullptr;
    }
    return &cells_[at];
}

bool FrameGrid::IsVisible(const GridCell& cell) const {
    const int top = WindowY(cell);
    return top + cell.height > 0 && top < clientHeight_;
}

const GridCell* FrameGrid::HitTest(int x, int y) const {
    for (const GridCell& cell : cells_) {
        const int top = WindowY(cell);
        if (x >= cell.x && x <= cell.x + cell.width && y >= top && y <= top + cell.height) {
            return &cell;
        }
    }
    return nullptr;
}

void FrameGrid::SetHover(int item, int index) {
    hoveredItem_ = item;
    hoveredIndex_ = item < 0 ? -1 : index;
}

bool FrameGrid::MoveHover(int x, int y, WindowPainter& window) {
    const GridCell* hit = HitTest(x, y);
    const int item = hit != nullptr ? hit->item : -1;
    const int index = hit != nullptr ? hit->index : -1;
    if (item == hoveredItem_ && index == hoveredIndex_) {
        return false;
    }
    DrawItemOutlines(window, hoveredItem_, kNormalOutline);
    SetHover(item, index);
    DrawItemOutlines(window, hoveredItem_, kHoveredItemOutline);
    if (hit != nullptr) {
        DrawOutline(window, *hit, kHoveredCellOutline);
    }
    return true;
}

WindowColour FrameGrid::OutlineColour(const GridCell& cell) const {
    if (cell.item != hoveredItem_) {
        return kNormalOutline;
    }
    return cell.index == hoveredIndex_ ? kHoveredCellOutline : kHoveredItemOutline;
}

void FrameGrid::DrawOutline(WindowPainter& window, const GridCell& cell,
                            WindowColour colour) const {
    const int top = WindowY(cell);
    window.Rectangle(cell.x - 1, top - 1, cell.x + cell.width, top + cell.height, colour);
}

void FrameGrid::DrawItemOutlines(WindowPainter& window, int item, WindowColour colour) const {
    for (int index = 0; const GridCell* cell = CellOf(item, index); ++index) {
        DrawOutline(window, *cell, colour);
    }
}

} // namespace fenwold
