#include "unittools/CSetGroupDlg.h"
#include "unittools/ToolWindowFixtures.h"

#include <algorithm>

namespace fenwold {
namespace {

using Positions = std::vector<std::int32_t>;

class GroupEditorTest : public test::ToolWindowTest {
protected:
    // Runs the command; `edit` works the open editor.
    void Run(const std::function<void(CSetGroupDlg&)>& edit) {
        RunSetGroupCommand(unit, [&](CSetGroupDlg& dialog) {
            dialog.View().SetClientSize(640, 480);
            editor = &dialog;
            edit(dialog);
            editor = nullptr;
        });
    }
    void HoverOver(int position) {
        const GridCell& cell = *editor->View().Grid().CellOf(position, 0);
        editor->View().OnMouseMove(cell.x + 1, cell.y + 1);
    }
    void Click(int position) {
        HoverOver(position);
        editor->View().OnLeftButtonDown();
    }
    void HoverNowhere() { editor->View().OnMouseMove(630, 470); }
    Positions MembersOf(int group) {
        Positions positions;
        for (const UnitAnimation* member : unit.Data().FindGroup(group)->members) {
            positions.push_back(member->saveIndex);
        }
        return positions;
    }

    // The frame drawn over the cells' white.
    std::vector<Pixel555> OnWhite(int position, int frame) {
        std::vector<Pixel555> pixels(static_cast<std::size_t>(kWidth * kHeight),
                                     CSetGroupView::kCellBackground);
        DrawAnimationFrame({pixels.data(), kWidth, kHeight}, {0, 0}, unit.Data(), At(position),
                           frame, 255);
        return pixels;
    }

    CSetGroupDlg* editor = nullptr;
};

TEST_F(GroupEditorTest, ThreeClicksAndAddMakeTheNextGroupInClickOrder) {
    Compress({1, 1, 1, 1, 1, 1});
    Group({1, 1});
    At(4).workingPointX = 3.5f;
    Run([&](CSetGroupDlg& dialog) {
        Click(2);
        Click(5);
        Click(3);
        EXPECT_EQ(dialog.View().Pending(), (std::vector<int>{2, 5, 3}));
        HoverNowhere();
        EXPECT_EQ(dialog.View().OutlineColour(5), CSetGroupView::kPendingOutline);
        EXPECT_EQ(dialog.View().OutlineColour(4), CSetGroupView::kNormalOutline);
        dialog.OnAdd();
        EXPECT_TRUE(dialog.View().Pending().empty());
        EXPECT_EQ(dialog.View().GroupIndexOf(5), 2);
        EXPECT_EQ((std::vector{dialog.View().SlotOf(2), dialog.View().SlotOf(5),
                               dialog.View().SlotOf(3)}),
                  (std::vector{0, 1, 2}));
        // The unit sees nothing before the editor closes.
        EXPECT_EQ(unit.Data().GroupCount(), 2);
        EXPECT_EQ(At(5).groupIndex, -1);
        // Add with nothing pending does nothing.
        dialog.OnAdd();
        EXPECT_EQ(dialog.View().Groups().size(), 3u);
    });
    ASSERT_EQ(unit.Data().GroupCount(), 3);
    EXPECT_EQ(MembersOf(2), (Positions{2, 5, 3}));
    EXPECT_EQ(MembersOf(0), (Positions{0}));
    EXPECT_EQ((std::vector{At(3).groupIndex, At(4).groupIndex}), (std::vector{2, -1}));
    EXPECT_TRUE(unit.IsModified());
}

TEST_F(GroupEditorTest, ASecondClickTakesAnAnimationOutAndTheOthersKeepTheirSlots) {
    Compress({1, 1, 1});
    Run([&](CSetGroupDlg& dialog) {
        Click(0);
        Click(0);
        EXPECT_TRUE(dialog.View().Pending().empty());
        EXPECT_EQ(dialog.View().SlotOf(0), -1);
        Click(1);
        Click(2);
        Click(1);
        EXPECT_EQ(dialog.View().Pending(), (std::vector<int>{2}));
        EXPECT_EQ(dialog.View().SlotOf(2), 1);
    });
    // Closing with something pending makes no group.
    EXPECT_EQ(unit.Data().GroupCount(), 0);
}

TEST_F(GroupEditorTest, DeletingGroupZeroOfThreeRenumbersTheOthers) {
    Compress({1, 1, 1, 1});
    Group({1, 1, 2});
    Run([&](CSetGroupDlg& dialog) {
        dialog.OnDelete(); // nothing selected
        EXPECT_EQ(dialog.View().Groups().size(), 3u);
        Click(0);
        HoverNowhere();
        EXPECT_EQ(dialog.View().Selected(), 0);
        EXPECT_EQ(dialog.View().OutlineColour(0), CSetGroupView::kMemberOutline);
        EXPECT_EQ(dialog.View().OutlineColour(1), CSetGroupView::kNormalOutline);
        dialog.OnDelete();
        EXPECT_EQ(dialog.View().Selected(), std::nullopt);
        EXPECT_EQ((std::vector{dialog.View().GroupIndexOf(0), dialog.View().GroupIndexOf(1),
                               dialog.View().GroupIndexOf(3)}),
                  (std::vector{-1, 0, 1}));
    });
    ASSERT_EQ(unit.Data().GroupCount(), 2);
    EXPECT_EQ(MembersOf(0), (Positions{1}));
    EXPECT_EQ(MembersOf(1), (Positions{2, 3}));
    EXPECT_EQ((std::vector{At(0).groupIndex, At(3).groupIndex}), (std::vector{-1, 1}));
    // Deleting the groups left leaves none.
    Run([&](CSetGroupDlg& dialog) {
        for (const int member : {1, 2}) {
            Click(member);
            dialog.OnDelete();
        }
    });
    EXPECT_EQ(unit.Data().GroupCount(), 0);
    EXPECT_EQ((std::vector{At(1).groupIndex, At(3).groupIndex}), (std::vector{-1, -1}));
}

// A click on a group the unit does not have, or outside every cell, does nothing.
TEST_F(GroupEditorTest, PendingAndSelectionExcludeEachOtherAndAddNeedsNoSelection) {
    Compress({1, 1, 1, 1});
    Group({1});
    At(3).groupIndex = 4;
    Run([&](CSetGroupDlg& dialog) {
        Click(1);
        Click(2);
        Click(0); // selects group 0: the pending animations and their numbers go
        EXPECT_TRUE(dialog.View().Pending().empty());
        EXPECT_EQ(dialog.View().SlotOf(1), -1);
        EXPECT_EQ(dialog.View().SlotOf(2), -1);
        dialog.OnAdd(); // the selected group's size is no pending list
        EXPECT_EQ(dialog.View().Groups().size(), 1u);
        Click(2); // an ungrouped click ends the selection
        EXPECT_EQ(dialog.View().Selected(), std::nullopt);
        Click(3);
        HoverNowhere();
        dialog.View().OnLeftButtonDown();
        EXPECT_EQ(dialog.View().Selected(), std::nullopt);
        EXPECT_EQ(dialog.View().Pending(), (std::vector<int>{2}));
    });
}

TEST_F(GroupEditorTest, AHundredAnimationsMakeAGroupAndTheHundredAndFirstClickIsIgnored) {
    Compress(std::vector<int>(101, 1));
    Run([&](CSetGroupDlg& dialog) {
        for (int position = 0; position <= 100; ++position) {
            Click(position);
        }
        EXPECT_EQ(dialog.View().SlotOf(100), -1);
        dialog.OnAdd();
    });
    EXPECT_EQ(unit.Data().FindGroup(0)->MemberCount(), 100);
}

TEST_F(GroupEditorTest, TheHoveredAnimationPlaysInItsCell) {
    Compress({3, 1});
    Run([&](CSetGroupDlg& dialog) {
        CSetGroupView& view = dialog.View();
        EXPECT_FALSE(view.Tick());
        HoverOver(0);
        EXPECT_EQ(view.OutlineColour(0), CSetGroupView::kHoveredOutline);
        EXPECT_TRUE(view.Tick());
        EXPECT_EQ(view.HoveredFrame(), 1);
        const auto pictures = view.RenderVisibleFrames();
        ASSERT_EQ(pictures.size(), 2u);
        EXPECT_EQ(pictures[0].pixels, OnWhite(0, 1));
        EXPECT_EQ(pictures[1].pixels, OnWhite(1, 0));
        view.Tick();
        view.Tick();
        EXPECT_EQ(view.HoveredFrame(), 0);
        // Another animation starts at its first frame.
        view.Tick();
        HoverOver(1);
        EXPECT_EQ(view.HoveredFrame(), 0);
    });
}

TEST_F(GroupEditorTest, CellsAreOutlinedAndLabelledWithTheirPositionGroupAndSlot) {
    Compress({1, 1});
    Group({1});
    Run([&](CSetGroupDlg& dialog) {
        Click(1);
        HoverNowhere();
        RecordingWindowPainter painter;
        dialog.View().PaintOverlays(painter);
        const auto drawn = [&](const std::string& call) {
            return std::find(painter.calls.begin(), painter.calls.end(), call) !=
                   painter.calls.end();
        };
        const auto at = [](int x, int y) { return std::to_string(x) + "," + std::to_string(y); };
        const GridCell& cell = *dialog.View().Grid().CellOf(1, 0);
        const GridCell& grouped = *dialog.View().Grid().CellOf(0, 0);
        // The pending outline in blue; its slot in yellow on red 20 pixels down; the group in red
        // on blue 10 pixels down.
        EXPECT_TRUE(drawn("rect " + at(cell.x - 2, cell.y - 2) + " " +
                          at(cell.x + cell.width + 1, cell.y + cell.height + 1) + " FF0000"));
        EXPECT_TRUE(drawn("text " + at(cell.x + 1, cell.y + 21) + " \"0\" 00FFFF on 0000FF"));
        EXPECT_TRUE(drawn("text " + at(grouped.x + 1, grouped.y + 11) + " \"0\" 0000FF on FF0000"));
    });
}

// Closing stores the groups, even unchanged, and zeroes the members' working points; whoever
// was fed from the old groups is told (the hub test and the origin-point test pin that).
TEST_F(GroupEditorTest, ClosingStoresTheGroupsAndZeroesWorkingPoints) {
    Compress({1, 1});
    Group({2});
    At(0).workingPointX = 1.5f;
    At(1).workingPointY = -2.5f;
    Run([](CSetGroupDlg&) {}); // closed at once: nothing changed, all the same
    EXPECT_EQ((std::vector{At(0).workingPointX, At(1).workingPointY}), (std::vector{0.0f, 0.0f}));
    EXPECT_TRUE(unit.IsModified());
    EXPECT_EQ(MembersOf(0), (Positions{0, 1}));
}

} // namespace
} // namespace fenwold
