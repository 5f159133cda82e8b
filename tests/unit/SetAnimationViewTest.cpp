#include "image/FrameStreams.h"
#include "platform/ScriptedPlatform.h"
#include "support/TempFolder.h"
#include "unit/CSetAnimationView.h"
#include "unit/RegistrationFixtures.h"
#include "unit/RunLengthUnitFile.h"
#include "unit/UnitDoc.h"
#include "unittools/ToolFixtures.h"

#include <CommandIds.h>
#include <gtest/gtest.h>

namespace fenwold {
namespace {

class SetAnimationViewTest : public ::testing::Test {
protected:
    SetAnimationViewTest() : platform(folder.path()), doc(platform.Get()) {
        view.SetClientSize(640, 480);
    }

    // The four solid animations, put into the view through a run-length file (which numbers them
    // 0 to 3).
    void LoadFour() {
        WriteRunLengthUnitFile(folder / "four.ure", test::FourSolidAnimations());
        ASSERT_TRUE(view.OpenRunLengthFile(folder / "four.ure"));
    }
    const RegisteredAnimation& At(int position) {
        return *std::next(view.Animations().begin(), position);
    }
    std::vector<int> Order() {
        std::vector<int> order;
        for (const auto& animation : view.Animations()) {
            order.push_back(animation.index);
        }
        return order;
    }
    void Hover(int position, int frame = 0) { test::HoverCell(view, position, frame, window); }
    void HoverNothing() { view.OnMouseMove(600, 400, window); }
    // Runs Properties, answering with `startAnimation` and `ok`.
    void Properties(int startAnimation, bool ok = true) {
        host.properties = [=](CPropertiesDlg& dialog) {
            dialog.startAnimation = startAnimation;
            return ok;
        };
        view.OnCommand(command::kProperties);
    }

    test::TempFolder folder;
    ScriptedPlatform platform;
    CUnitDoc doc;
    test::ScriptedRegistrationHost host;
    ToolHub tools;
    test::RecordingToolWindow player{tools, ToolWindow::Animation};
    RecordingWindowPainter window;
    CSetAnimationView view{platform.Get(), host, tools, doc};
};

TEST_F(SetAnimationViewTest, CommandsFollowWhatIsRegisteredAndHovered) {
    const auto all = {
        command::kRegistrationAni, command::kAddAnimation,     command::kVqCompute,
        command::kSaveUre,         command::kRegistrationMask, command::kAddMask,
        command::kChangeAnimation, command::kHoldAnimation,    command::kDeleteAnimation,
        command::kDeleteFrame,     command::kSetTempBuffer,    command::kProperties};
    EXPECT_EQ(test::EnabledOf(view, all),
              (std::vector{command::kRegistrationAni, command::kAddAnimation, command::kVqCompute,
                           command::kSaveUre}));
    LoadFour();
    Hover(2);
    const auto onHovered = {command::kAddMask,       command::kChangeAnimation,
                            command::kHoldAnimation, command::kDeleteAnimation,
                            command::kDeleteFrame,   command::kSetTempBuffer,
                            command::kProperties};
    EXPECT_EQ(test::EnabledOf(view, onHovered), std::vector<int>(onHovered));
    HoverNothing();
    EXPECT_EQ(test::EnabledOf(view, {command::kChangeAnimation, command::kProperties}),
              std::vector<int>{});
}

TEST_F(SetAnimationViewTest, RunLengthFilesAppendAndTurnVqComputeOff) {
    LoadFour();
    LoadFour();
    EXPECT_EQ(view.RegisteredCount(), 8);
    EXPECT_EQ(Order(), (std::vector<int>{0, 1, 2, 3, 0, 1, 2, 3}));
    EXPECT_TRUE(view.RunLengthFileLoaded());
    EXPECT_FALSE(view.IsEnabled(command::kVqCompute));
    EXPECT_TRUE(view.IsEnabled(command::kRegistrationMask));
    EXPECT_GT(host.repaints, 0);
}

TEST_F(SetAnimationViewTest, ChangeBetweenFirstAndLast) {
    LoadFour();
    Hover(0);
    view.OnCommand(command::kChangeAnimation);
    EXPECT_EQ(view.ChangeSource(), &At(0));
    EXPECT_EQ(view.MenuText(command::kChangeAnimation), "&Change Cancel");
    EXPECT_EQ(test::EnabledOf(view, {command::kHoldAnimation, command::kDeleteAnimation,
                                     command::kDeleteFrame}),
              std::vector<int>{});
    Hover(3);
    view.OnLeftButtonDown();
    EXPECT_EQ(Order(), (std::vector<int>{3, 1, 2, 0}));
    EXPECT_EQ(view.ChangeSource(), nullptr);
    EXPECT_EQ(view.MenuText(command::kChangeAnimation), "&Change Animation");
    // The same command again cancels a pending change.
    view.OnCommand(command::kChangeAnimation);
    view.OnCommand(command::kChangeAnimation);
    EXPECT_EQ(view.ChangeSource(), nullptr);
}

TEST_F(SetAnimationViewTest, HoldMovesBehindTheClickedAnimation) {
    LoadFour();
    Hover(0);
    view.OnCommand(command::kHoldAnimation);
    EXPECT_EQ(view.MenuText(command::kHoldAnimation), "&Hold Cancel");
    EXPECT_EQ(test::EnabledOf(view, {command::kChangeAnimation, command::kDeleteAnimation}),
              std::vector<int>{});
    Hover(2);
    view.OnLeftButtonDown();
    EXPECT_EQ(Order(), (std::vector<int>{1, 2, 0, 3}));
    EXPECT_EQ(view.HoldSource(), nullptr);
    // A click on nothing clears a pending hold.
    Hover(3);
    view.OnCommand(command::kHoldAnimation);
    HoverNothing();
    view.OnLeftButtonDown();
    EXPECT_EQ(view.HoldSource(), nullptr);
    EXPECT_EQ(Order(), (std::vector<int>{1, 2, 0, 3}));
}

TEST_F(SetAnimationViewTest, DeleteTheHoveredAnimation) {
    LoadFour();
    Hover(1);
    const RegisteredAnimation* doomed = &At(1);
    player.Open();
    view.OnLeftButtonDown(); // the player shows it
    view.OnCommand(command::kDeleteAnimation);
    EXPECT_EQ(Order(), (std::vector<int>{0, 2, 3}));
    EXPECT_EQ(view.RegisteredCount(), 3);
    EXPECT_EQ(view.HoveredAnimation(), nullptr);
    EXPECT_EQ(view.HoveredFrame(), -1);
    EXPECT_EQ(player.forgottenRegistered, (std::vector<const RegisteredAnimation*>{doomed}));
    // The frames after it moved up: animation 2 now starts where animation 1 did.
    EXPECT_EQ(view.Grid().CellOf(1, 0)->x, 32);
}

TEST_F(SetAnimationViewTest, LabelsAndOutlines) {
    LoadFour();
    Hover(1);
    view.OnCommand(command::kChangeAnimation);
    window.calls.clear();
    view.PaintOverlays(window);
    // Animation 0's first frame: normal outline and its position; animation 1: "C".
    EXPECT_EQ(window.calls[0], "rect 1,1 12,10 000080");
    EXPECT_EQ(window.calls[1], "text 3,3 \"0\" FFFFFF on 000000");
    EXPECT_EQ(window.calls[2], "line 2,2 2,12 0000FF");
    const auto c =
        std::find(window.calls.begin(), window.calls.end(), "text 33,3 \"C\" FFFF00 on 0000FF");
    ASSERT_NE(c, window.calls.end());
    EXPECT_EQ(*(c - 1), "rect 31,1 44,10 00FF00");
    EXPECT_NE(
        std::find(window.calls.begin(), window.calls.end(), "text 69,3 \"3\" FFFFFF on 000000"),
        window.calls.end());
}

TEST_F(SetAnimationViewTest, OnlyFramesCrossingTheWindowAreRendered) {
    LoadFour();
    view.SetClientSize(40, 12); // two frames a row: rows at y = 2, 15, 28, 41
    EXPECT_EQ(view.RenderVisibleFrames().size(), 2u);
    view.SetScrollPosition(14);
    const auto pictures = view.RenderVisibleFrames();
    ASSERT_EQ(pictures.size(), 2u); // the row at 15 crosses 14 to 26, the row at 28 not
    EXPECT_EQ(pictures[0].y, 1);
    EXPECT_EQ(pictures[0].width, 12);
    EXPECT_EQ(pictures[0].pixels[0], 0); // the transparent first column
    EXPECT_NE(pictures[0].pixels[1], 0); // the colour, blended over black
    view.SetScrollPosition(20);
    EXPECT_EQ(view.RenderVisibleFrames().size(), 4u);
}

TEST_F(SetAnimationViewTest, LeftClickHandsTheAnimationToAnOpenPlayerUntilTheViewGoes) {
    LoadFour();
    Hover(2);
    view.OnLeftButtonDown();
    EXPECT_TRUE(player.shown.empty()); // the player is closed
    player.Open();
    view.OnLeftButtonDown();
    EXPECT_EQ(player.shown, (std::vector<const RegisteredAnimation*>{&At(2)}));
    EXPECT_EQ(player.registered.source, &view);
    view.OnCommand(command::kHoldAnimation);
    view.OnLeftButtonDown(); // completes the hold instead
    EXPECT_EQ(player.shown.size(), 1u);
    // A view that goes closes the windows it fed.
    {
        CSetAnimationView doomed{platform.Get(), host, tools, doc};
        tools.ShowRegistered({&view.Animations(), 0, &doomed});
        EXPECT_FALSE(doomed.IsBuildingMode());
    }
    EXPECT_EQ(player.closed, 1);
    EXPECT_FALSE(tools.IsOpen(ToolWindow::Animation));
}

TEST_F(SetAnimationViewTest, PropertiesChooseTheFirstDrawnAnimation) {
    LoadFour();
    Hover(3, 2);
    EXPECT_EQ(view.HoveredFrame(), 2);
    const GridCell skipped = *view.Grid().CellOf(0, 1);
    Properties(1, false); // cancelled: the start stays
    EXPECT_EQ(view.FirstDrawn(), 0);
    host.propertiesShown.clear();
    Properties(2);
    ASSERT_EQ(host.propertiesShown.size(), 1u);
    const CPropertiesDlg& shown = host.propertiesShown[0];
    EXPECT_EQ((std::vector{shown.width, shown.height, shown.startAnimation, shown.codebookSize}),
              (std::vector{16, 8, 0, 0}));
    EXPECT_EQ(view.FirstDrawn(), 2);
    // What is skipped cannot be hovered where it was.
    view.OnMouseMove(5, 5, window);
    EXPECT_EQ(view.HoveredAnimation(), &At(2));
    view.OnMouseMove(skipped.x + 3, skipped.y + 3, window);
    EXPECT_EQ(view.HoveredAnimation(), nullptr);

    // Deletions cannot leave "Start Ani Draw" past the end, where nothing would be drawn or
    // hovered and Properties could never be reached to move it back.
    Hover(3);
    Properties(3);
    ASSERT_EQ(view.FirstDrawn(), 3);
    Hover(3);
    view.OnCommand(command::kDeleteAnimation);
    EXPECT_EQ(view.FirstDrawn(), 2);
    EXPECT_EQ(view.RenderVisibleFrames().size(), 1u);
    Hover(2);
    EXPECT_EQ(view.HoveredAnimation(), &At(2));
    EXPECT_TRUE(view.IsEnabled(command::kProperties));
    for (int position = 2; position >= 0; --position) {
        Hover(view.FirstDrawn());
        view.OnCommand(command::kDeleteAnimation);
    }
    EXPECT_EQ(view.RegisteredCount(), 0);
    EXPECT_EQ(view.FirstDrawn(), 0);
}

TEST_F(SetAnimationViewTest, SaveUreWritesTheEmptyViewOrSaysWhyNot) {
    platform.prompts.fileAnswers.push_back(folder / "walk.Units.ure");
    view.OnCommand(command::kSaveUre);
    ASSERT_EQ(platform.prompts.dialogs.size(), 1u);
    EXPECT_EQ(platform.prompts.dialogs[0].request.filter, "Unit RLE화일 (*.ure)|*.ure||");
    EXPECT_EQ(folder.Read("walk.URE").size(), 44u);
    // One that cannot be created says so.
    platform.prompts.fileAnswers.push_back(folder / "missing" / "walk.ure");
    view.OnCommand(command::kSaveUre);
    ASSERT_EQ(platform.prompts.messages.size(), 1u);
    EXPECT_EQ(platform.prompts.messages[0].text, "파일을 저장할수 없당.");
    EXPECT_FALSE(std::filesystem::exists(folder / "missing"));
}

} // namespace
} // namespace fenwold
