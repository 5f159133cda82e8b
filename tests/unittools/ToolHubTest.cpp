#include "unittools/ToolHub.h"

#include "building/CFenwoldDoc.h"
#include "platform/ScriptedPlatform.h"
#include "support/TempFolder.h"
#include "unit/CUnitView.h"
#include "unit/RegistrationFixtures.h"
#include "unit/UnitDoc.h"
#include "unittools/ToolFixtures.h"

#include <CommandIds.h>
#include <gtest/gtest.h>
#include <optional>

namespace fenwold {
namespace {

using test::RecordingToolWindow;

// The first three of the four solid animations compressed into the document, the first two in
// group 0.
void CompressThree(AnimationDocument& document) {
    RegisteredAnimations list = test::FourSolidAnimations();
    list.pop_back();
    test::CompressPlain(document, list, {2});
}

class ToolHubTest : public ::testing::Test {
protected:
    ToolHubTest() : platform(folder.path()), unit(platform.Get()) { CompressThree(unit); }

    // A click on the animation at `position` in the view.
    void Click(CUnitView& view, int position, bool control = false) {
        test::HoverCell(view, position, 0, painter);
        view.OnLeftButtonDown(control);
    }
    std::unique_ptr<CUnitView> MakeView(CUnitDoc& document) {
        auto view = std::make_unique<CUnitView>(platform.Get(), document, viewHost, tools);
        view->SetClientSize(640, 480);
        return view;
    }
    AnimationHandOver HandOverOf(AnimationDocument& document, int position,
                                 const ToolSource* source) {
        return {AnimationRef(document, position), source, true};
    }

    test::TempFolder folder;
    ScriptedPlatform platform;
    CUnitDoc unit;
    ToolHub tools;
    RecordingToolWindow player{tools, ToolWindow::Animation};
    RecordingToolWindow checkBox{tools, ToolWindow::CheckBox};
    RecordingToolWindow origin{tools, ToolWindow::OriginPoint};
    RecordingToolWindow edit{tools, ToolWindow::AnimationEdit};
    test::RecordingUnitViewHost viewHost;
    RecordingWindowPainter painter;
};

TEST_F(ToolHubTest, WindowsFedByAViewCloseWhenItGoes) {
    auto view = MakeView(unit);
    auto other = MakeView(unit);
    player.Open();
    checkBox.Open();
    edit.Open();
    unit.SetToolDataFlag(true);
    Click(*view, 1);
    ASSERT_EQ(tools.SourceOf(ToolWindow::CheckBox, Feed::Main), view.get());
    // The edit window is fed again, from the other view: it now stays with that one.
    tools.HandOver(ToolWindow::AnimationEdit, Feed::Main, HandOverOf(unit, 2, other.get()));

    view.reset();
    EXPECT_EQ((std::vector{player.closed, checkBox.closed, edit.closed}), (std::vector{1, 1, 0}));
    EXPECT_EQ((std::vector{tools.IsOpen(ToolWindow::Animation), tools.IsOpen(ToolWindow::CheckBox),
                           tools.IsOpen(ToolWindow::AnimationEdit)}),
              (std::vector{false, false, true}));
    // A closed window is given nothing and told nothing more.
    Click(*other, 0);
    CompressThree(unit);
    EXPECT_EQ(player.taken.size(), 1u);
    EXPECT_TRUE(player.forgotten.empty());
    EXPECT_EQ(edit.forgotten, std::vector{Feed::Main});
    other.reset();
    EXPECT_EQ(edit.closed, 1);
}

TEST_F(ToolHubTest, ABackAnimationFromAnotherViewAlsoClosesTheWindow) {
    auto main = MakeView(unit);
    auto back = MakeView(unit);
    player.Open();
    Click(*main, 0);
    Click(*back, 2, true);
    EXPECT_EQ(player.Held(Feed::Back), unit.Data().FindAnimation(2));
    back.reset();
    EXPECT_EQ(player.closed, 1);
}

TEST_F(ToolHubTest, ACompressionResultMakesFedWindowsForgetTheirAnimations) {
    CFenwoldDoc elsewhere(platform.Get());
    CompressThree(elsewhere);
    auto view = MakeView(unit);
    player.Open();
    checkBox.Open();
    unit.SetToolDataFlag(true);
    Click(*view, 1);
    tools.HandOver(ToolWindow::CheckBox, Feed::Main, HandOverOf(elsewhere, 0, view.get()));
    UnitAnimation* before = player.Held();
    ASSERT_NE(before, nullptr);

    CompressThree(unit);
    EXPECT_EQ(player.forgotten, std::vector{Feed::Main});
    EXPECT_EQ(player.Held(), nullptr);
    // A window fed from another document keeps what it has.
    EXPECT_TRUE(checkBox.forgotten.empty());
    EXPECT_EQ(checkBox.Held(), elsewhere.Animations().FindAnimation(0));
    // The window stays open, fed by the same view.
    EXPECT_TRUE(tools.IsOpen(ToolWindow::Animation));
    EXPECT_EQ(tools.SourceOf(ToolWindow::Animation, Feed::Main), view.get());
}

TEST_F(ToolHubTest, NewGroupsAreLookedUpAgainByNumber) {
    player.Open();
    tools.HandOver(ToolWindow::Animation, Feed::Main, HandOverOf(unit, 1, nullptr));
    ASSERT_EQ(player.held[0].Group(), unit.Data().FindGroup(0));
    unit.RebuildGroups(std::vector<std::int32_t>{1, 2});
    EXPECT_EQ(player.groupsReplaced, 1);
    EXPECT_EQ(player.Held()->groupIndex, 1);
    EXPECT_EQ(player.held[0].Group(), unit.Data().FindGroup(1));
    EXPECT_EQ(AnimationRef(unit, 2).Group(), unit.Data().FindGroup(1));
    // An animation of no group has none, whatever the group list holds.
    unit.Data().FindAnimation(2)->groupIndex = -1;
    EXPECT_EQ(AnimationRef(unit, 2).Group(), nullptr);
    EXPECT_EQ(AnimationRef(unit, 3).Get(), nullptr);
    EXPECT_EQ(AnimationRef().Get(), nullptr);
}

TEST_F(ToolHubTest, AClosingDocumentClosesTheWindowsItFed) {
    auto other = std::make_unique<CUnitDoc>(platform.Get());
    CompressThree(*other);
    origin.Open();
    player.Open();
    tools.HandOver(ToolWindow::OriginPoint, Feed::Back, HandOverOf(*other, 2, nullptr));
    tools.HandOver(ToolWindow::Animation, Feed::Main, HandOverOf(unit, 0, nullptr));
    other.reset();
    EXPECT_EQ(origin.closed, 1);
    EXPECT_EQ(player.closed, 0);
    unit.OpenUtdInfo(); // cancelled: nothing read, nothing to redraw
    EXPECT_EQ(player.redraws, 0);
    unit.Notify(DocumentEvent::Repaint);
    EXPECT_EQ(player.redraws, 1);
}

TEST_F(ToolHubTest, RegisteredPreviewsAreLetGoWhenTheirListChanges) {
    RegisteredAnimations list;
    list.push_back(test::SolidAnimation(4, 4, 1, 0x0001));
    list.push_back(test::SolidAnimation(4, 4, 1, 0x0002));
    struct Named final : ToolSource {
    } registration, elsewhere;
    tools.ShowRegistered({&list, 1, &registration});
    EXPECT_TRUE(player.shown.empty()); // the player is closed
    player.Open();
    tools.ShowRegistered({&list, 1, &registration});
    EXPECT_EQ(player.shown, std::vector<const RegisteredAnimation*>{&list.back()});
    tools.RegisteredListChanged(elsewhere);
    EXPECT_TRUE(player.forgotten.empty());
    tools.RegisteredListChanged(registration);
    EXPECT_EQ(player.forgottenRegistered, std::vector<const RegisteredAnimation*>{&list.back()});
    EXPECT_EQ((RegisteredHandOver{&list, 2, &registration}.Get()), nullptr);
    tools.SourceGone(registration);
    EXPECT_EQ(player.closed, 1);
}

TEST_F(ToolHubTest, ABuildingClickPlaysTheBuildingAndForgetsItsRecord) {
    CFenwoldDoc building(platform.Get());
    CompressThree(building);
    struct Named final : ToolSource {
    } view;
    player.Open();
    edit.Open();
    checkBox.Open();
    tools.AnimationClicked(HandOverOf(building, 2, &view), false);
    EXPECT_EQ(player.buildings, std::vector<const CFenwoldDoc*>{&building});
    EXPECT_TRUE(player.taken.empty());
    EXPECT_EQ(edit.Held(), building.Animations().FindAnimation(2));
    EXPECT_TRUE(checkBox.taken.empty());
    building.FreeBuildingRecord();
    EXPECT_EQ(player.recordsForgotten, 1);
    building.FreeAnimations();
    EXPECT_EQ(player.forgotten, std::vector{Feed::Main});
    EXPECT_EQ(edit.Held(), nullptr);
}

TEST_F(ToolHubTest, AWindowThatClosesItselfIsForgottenAndTheHubClosesTheRest) {
    player.Open();
    tools.HandOver(ToolWindow::Animation, Feed::Main, HandOverOf(unit, 0, nullptr));
    player.registration.End(); // its close box
    EXPECT_FALSE(tools.IsOpen(ToolWindow::Animation));
    EXPECT_EQ(player.closed, 0);
    CompressThree(unit);
    EXPECT_TRUE(player.forgotten.empty());

    // A window opened in a place that is taken replaces the one there.
    player.Open();
    RecordingToolWindow second{tools, ToolWindow::Animation};
    second.Open();
    EXPECT_EQ(player.closed, 1);
    EXPECT_EQ(tools.Client(ToolWindow::Animation), &second);
    player.registration.End(); // too late: it does not close the new one
    EXPECT_TRUE(second.registration.IsOpen());

    // The hub closes what is still open when it goes.
    auto hub = std::make_unique<ToolHub>();
    RecordingToolWindow window{*hub, ToolWindow::CheckBox};
    window.Open();
    hub->HandOver(ToolWindow::CheckBox, Feed::Main, HandOverOf(unit, 0, nullptr));
    hub->CloseAll();
    EXPECT_EQ(window.closed, 1);
    EXPECT_EQ(window.Held(), nullptr);
    window.Open();
    hub.reset();
    EXPECT_EQ(window.closed, 2);
}

TEST_F(ToolHubTest, TheFireSourceIsNewAtAReusedAddress) {
    std::optional<CUnitDoc> document;
    std::optional<CUnitView> view;
    document.emplace(platform.Get());
    CompressThree(*document);
    view.emplace(platform.Get(), *document, viewHost, tools);
    view->OnCommand(command::kFireSetting);
    const FireAnimationSource first = tools.FireSource();
    EXPECT_EQ(first.document, &*document);

    // New animations in the same document: the same source, seen as new.
    CompressThree(*document);
    const FireAnimationSource refreshed = tools.FireSource();
    EXPECT_EQ(refreshed.document, first.document);
    EXPECT_NE(refreshed.generation, first.generation);

    // The unit closes; another opens where it was and its view sets the source again.
    view.reset();
    document.reset();
    EXPECT_EQ(tools.FireSource().document, nullptr);
    const std::uint64_t cleared = tools.FireSource().generation;
    document.emplace(platform.Get());
    CompressThree(*document);
    view.emplace(platform.Get(), *document, viewHost, tools);
    view->OnCommand(command::kFireSetting);
    ASSERT_EQ(tools.FireSource().document, first.document); // the very same address
    ASSERT_EQ(tools.FireSource().view, first.view);
    EXPECT_NE(tools.FireSource().generation, first.generation);
    EXPECT_NE(tools.FireSource().generation, refreshed.generation);
    EXPECT_NE(tools.FireSource().generation, cleared);

    // A document closing without its view going first also clears the source.
    const std::uint64_t set = tools.FireSource().generation;
    CFenwoldDoc* building = new CFenwoldDoc(platform.Get());
    tools.SetFireSource(*building, *view);
    delete building;
    EXPECT_EQ(tools.FireSource().document, nullptr);
    EXPECT_GT(tools.FireSource().generation, set);
}

} // namespace
} // namespace fenwold
