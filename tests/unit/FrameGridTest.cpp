#include "unit/FrameGrid.h"

#include "platform/ScriptedPlatform.h"

#include <gtest/gtest.h>

namespace fenwold {
namespace {

std::pair<int, int> Place(const FrameGrid& grid, int item, int index) {
    const GridCell* cell = grid.CellOf(item, index);
    return cell != nullptr ? std::make_pair(cell->x, cell->y) : std::make_pair(-1, -1);
}

TEST(FrameGrid, CellsFlowAcrossItemsAndWrap) {
    FrameGrid grid;
    grid.SetClientSize(80, 100);
    const GridItem items[] = {{20, 10, 3}, {30, 40, 2}};
    // Client width 80: 2, 27 and then 52 + 20 + 5 + 20 >= 80 wraps after the third cell.
    grid.Layout(items, 0);
    // The second row starts below the first, which was as high as 10; (1, 2) and (2, 0) are none.
    EXPECT_EQ(
        (std::vector{Place(grid, 0, 0), Place(grid, 0, 1), Place(grid, 0, 2), Place(grid, 1, 0),
                     Place(grid, 1, 1), Place(grid, 1, 2), Place(grid, 2, 0)}),
        (std::vector<std::pair<int, int>>{
            {2, 2}, {27, 2}, {52, 2}, {2, 17}, {37, 17}, {-1, -1}, {-1, -1}}));
    // After (1, 1): x = 72, 72 + 30 >= 80 wraps again: y = 17 + 40 + 5 = 62, height 0.
    EXPECT_EQ(grid.GetScrollSize(), (ScrollSize{100, 67}));
}

TEST(FrameGrid, SkippedItemsHaveNoPlaceAndTheScrollHeightStops) {
    FrameGrid grid;
    grid.SetClientSize(1000, 100);
    const GridItem items[] = {{10, 10, 1}, {10, 10, 1}};
    grid.Layout(items, 1);
    EXPECT_EQ(grid.CellOf(0, 0), nullptr);
    EXPECT_EQ(Place(grid, 1, 0), std::make_pair(2, 2));
    EXPECT_EQ(grid.Cells().front().item, 1); // cells name the item by its place in the list
    grid.Layout(items, 5);
    EXPECT_EQ(grid.GetScrollSize(), (ScrollSize{100, 7})); // nothing drawn
    grid.Layout(items, -3);
    EXPECT_EQ(Place(grid, 0, 0), std::make_pair(2, 2)); // a negative first counts as 0
    // The scroll height stops at 32767.
    grid.SetClientSize(10, 100);
    const GridItem tall[] = {{10, 200, 200}};
    grid.Layout(tall, 0);
    EXPECT_EQ(grid.GetScrollSize().height, 32767);
}

TEST(FrameGrid, HitTestIncludesBothEndsAndScrolls) {
    FrameGrid grid;
    grid.SetClientSize(1000, 100);
    const GridItem items[] = {{20, 10, 2}};
    grid.Layout(items, 0);
    ASSERT_NE(grid.HitTest(2, 2), nullptr);
    EXPECT_EQ(grid.HitTest(22, 12)->index, 0); // x + width, y + height
    EXPECT_EQ(grid.HitTest(24, 5), nullptr);   // the gap
    EXPECT_EQ(grid.HitTest(27, 5)->index, 1);
    grid.SetScrollPosition(10);
    EXPECT_EQ(grid.HitTest(5, 5), nullptr); // scrolled down by 10
    EXPECT_EQ(grid.HitTest(5, -5)->index, 0);
}

// A row wraps when the next cell would reach the window's right edge: at exactly the edge it
// wraps, one pixel short of it it does not.
TEST(FrameGrid, RowsWrapAtTheExactRightEdge) {
    const GridItem items[] = {{20, 10, 3}}; // cells at x = 2, 27, 52; 52 + 20 = 72
    FrameGrid grid;
    grid.SetClientSize(72, 100);
    grid.Layout(items, 0);
    EXPECT_EQ(Place(grid, 0, 2), std::make_pair(2, 17));
    grid.SetClientSize(73, 100);
    grid.Layout(items, 0);
    EXPECT_EQ(Place(grid, 0, 2), std::make_pair(52, 2));
}

// A cell is visible when it crosses the window: its top above the bottom edge, its bottom below
// the top edge; touching an edge is not crossing it.
TEST(FrameGrid, VisibilityAtTheExactWindowEdges) {
    FrameGrid grid;
    const GridItem items[] = {{20, 10, 4}}; // one cell a row, at y = 2, 17, 32 and 47
    grid.SetClientSize(30, 47);
    grid.Layout(items, 0);
    EXPECT_TRUE(grid.IsVisible(*grid.CellOf(0, 2)));
    EXPECT_FALSE(grid.IsVisible(*grid.CellOf(0, 3))); // its top on the bottom edge
    grid.SetClientSize(30, 48);
    EXPECT_TRUE(grid.IsVisible(*grid.CellOf(0, 3))); // its first row shows
    grid.SetScrollPosition(12);
    EXPECT_FALSE(grid.IsVisible(*grid.CellOf(0, 0))); // 2 - 12 + 10 = 0: its bottom on the top edge
    grid.SetScrollPosition(11);
    EXPECT_TRUE(grid.IsVisible(*grid.CellOf(0, 0))); // its last row shows
    EXPECT_EQ(grid.WindowY(*grid.CellOf(0, 1)), 6);
}

TEST(FrameGrid, HoverDrawsTheOutlinesThatChange) {
    FrameGrid grid;
    grid.SetClientSize(1000, 100);
    const GridItem items[] = {{10, 8, 2}, {12, 8, 1}};
    grid.Layout(items, 0);
    RecordingWindowPainter window;
    EXPECT_TRUE(grid.MoveHover(18, 3, window));
    EXPECT_EQ(grid.HoveredItem(), 0);
    EXPECT_EQ(grid.HoveredIndex(), 1);
    EXPECT_EQ(window.calls,
              (std::vector<std::string>{"rect 1,1 12,10 0000FF", "rect 16,1 27,10 0000FF",
                                        "rect 16,1 27,10 00FF00"}));
    EXPECT_EQ(grid.OutlineColour(*grid.CellOf(0, 0)), FrameGrid::kHoveredItemOutline);
    EXPECT_EQ(grid.OutlineColour(*grid.CellOf(0, 1)), FrameGrid::kHoveredCellOutline);
    EXPECT_EQ(grid.OutlineColour(*grid.CellOf(1, 0)), FrameGrid::kNormalOutline);
    window.calls.clear();
    EXPECT_FALSE(grid.MoveHover(19, 4, window)); // the same cell draws nothing again
    EXPECT_TRUE(window.calls.empty());
    EXPECT_TRUE(grid.MoveHover(500, 50, window));
    EXPECT_FALSE(grid.IsHovered());
    EXPECT_EQ(grid.HoveredIndex(), -1);
    EXPECT_EQ(window.calls,
              (std::vector<std::string>{"rect 1,1 12,10 000080", "rect 16,1 27,10 000080"}));
}

} // namespace
} // namespace fenwold
