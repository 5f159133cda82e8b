#include "platform/ScriptedPlatform.h"
#include "support/TempFolder.h"
#include "unit/CPropertiesDlg.h"
#include "unit/CTempBufferDlg.h"
#include "unit/CUnitView.h"
#include "unit/RegistrationFixtures.h"
#include "unit/UnitDoc.h"
#include "unittools/ToolFixtures.h"
#include "vq/DrawCompressedFrame.h"

#include <CommandIds.h>
#include <gtest/gtest.h>

namespace fenwold {
namespace {

class RecordingUnitViewHost final : public UnitViewHost {
public:
    bool RunPropertiesDialog(CPropertiesDlg& dialog) override {
        shownProperties.push_back(dialog);
        return properties && properties(dialog);
    }
    bool RunTempBufferDialog(CTempBufferDlg& dialog) override {
        return tempBuffer && tempBuffer(dialog);
    }
    void Repaint() override { ++repaints; }

    std::function<bool(CPropertiesDlg&)> properties;
    std::function<bool(CTempBufferDlg&)> tempBuffer;
    std::vector<CPropertiesDlg> shownProperties;
    int repaints = 0;
};

class UnitViewTest : public ::testing::Test {
protected:
    UnitViewTest() : platform(folder.path()), doc(platform.Get()) {}

    // Compresses animations 10, 12, 14 and 16 pixels wide with 2, 1, 1 and 3 frames into the
    // document, the first two in group 0.
    void CompressFour() {
        RegisteredAnimations list;
        list.push_back(test::SolidAnimation(10, 8, 2, 0x0100));
        list.push_back(test::SolidAnimation(12, 8, 1, 0x0200));
        list.push_back(test::SolidAnimation(14, 8, 1, 0x0300));
        list.push_back(test::SolidAnimation(16, 8, 3, 0x0400));
        CompressionParameters parameters;
        parameters.noLbg = true;
        test::CompressInto(doc, list, parameters);
        const std::int32_t counts[] = {2};
        doc.Data().RebuildGroups(counts);
    }
    UnitAnimation& At(int position) { return *doc.Data().AnimationAt(position); }
    void Hover(int position, int frame = 0) {
        const GridCell& cell = Cell(position, frame);
        view->OnMouseMove(cell.x + 1, cell.y + 1, window);
    }
    const GridCell& Cell(int position, int frame) { return *view->Grid().CellOf(position, frame); }
    void MakeView() {
        view = std::make_unique<CUnitView>(doc, host, tools);
        view->SetClientSize(640, 480);
    }

    test::TempFolder folder;
    ScriptedPlatform platform;
    CUnitDoc doc;
    ToolHub tools;
    RecordingUnitViewHost host;
    RecordingWindowPainter window;
    std::unique_ptr<CUnitView> view;
};

TEST_F(UnitViewTest, FramesSitSideBySideAndWrapAtTheWindowWidth) {
    CompressFour();
    MakeView();
    view->SetClientSize(60, 200);
    // 10-pixel frames at 2 and 17; 12 at 32 wraps (32 + 17 + 12 >= 60).
    EXPECT_EQ(Cell(0, 0).x, 2);
    EXPECT_EQ(Cell(0, 1).x, 17);
    EXPECT_EQ(Cell(1, 0).x, 32);
    EXPECT_EQ(Cell(1, 0).y, 2);
    EXPECT_EQ(Cell(2, 0).x, 2);
    EXPECT_EQ(Cell(2, 0).y, 15);
    EXPECT_EQ(view->GetScrollSize().width, 100);
}

TEST_F(UnitViewTest, ACompressionResultClearsTheHoverAndRepaints) {
    MakeView();
    EXPECT_EQ(view->GetScrollSize(), (ScrollSize{100, 2 + 5}));
    CompressFour();
    EXPECT_EQ(host.repaints, 1);
    Hover(3, 2);
    EXPECT_EQ(view->HoveredAnimation(), &At(3));
    EXPECT_EQ(view->HoveredFrame(), 2);
    CompressFour();
    EXPECT_EQ(view->HoveredAnimation(), nullptr);
}

TEST_F(UnitViewTest, ThreeViewsOfOneUnitAreEachToldAndAGoneOneNothing) {
    RecordingUnitViewHost hosts[3];
    std::unique_ptr<CUnitView> views[3];
    for (int i = 0; i < 3; ++i) {
        views[i] = std::make_unique<CUnitView>(doc, hosts[i], tools);
    }
    CompressFour();
    for (const auto& host : hosts) {
        EXPECT_EQ(host.repaints, 1);
    }
    views[1].reset();
    CompressFour();
    EXPECT_EQ(hosts[0].repaints, 2);
    EXPECT_EQ(hosts[1].repaints, 1);
    EXPECT_EQ(hosts[2].repaints, 2);
}

TEST_F(UnitViewTest, PicturesAreTheCompressedFramesDrawnFromTheCodebook) {
    CompressFour();
    MakeView();
    const auto pictures = view->RenderVisibleFrames();
    ASSERT_EQ(pictures.size(), 7u);
    const UnitData& data = doc.Data();
    const UnitAnimation& last = At(3);
    std::vector<Pixel555> expected(16 * 8);
    DrawCompressedFrame({expected.data(), 16, 8}, 0, 0, last, last.alphaTables[2],
                        data.codebook.Drawing(data.teamColours.tables[0].data()), 255);
    EXPECT_EQ(pictures[6].pixels, expected);
    EXPECT_EQ(pictures[6].x, Cell(3, 2).x);
    EXPECT_EQ(pictures[6].width, 16);
    EXPECT_NE(expected[1], 0); // something was drawn
}

TEST_F(UnitViewTest, HoverRedrawsTheOutlinesThatChange) {
    CompressFour();
    MakeView();
    Hover(0, 1);
    const int first = Cell(0, 0).x;
    const int second = Cell(0, 1).x;
    const std::vector<std::string> expected = {
        "rect " + std::to_string(first - 1) + ",1 " + std::to_string(first + 10) + ",10 0000FF",
        "rect " + std::to_string(second - 1) + ",1 " + std::to_string(second + 10) + ",10 0000FF",
        "rect " + std::to_string(second - 1) + ",1 " + std::to_string(second + 10) + ",10 00FF00",
    };
    ASSERT_EQ(window.calls.size(), 3u);
    EXPECT_EQ(window.calls, expected);
    // Leaving every frame puts the animation back in the normal colour.
    window.calls.clear();
    view->OnMouseMove(600, 400, window);
    EXPECT_EQ(view->HoveredAnimation(), nullptr);
    ASSERT_EQ(window.calls.size(), 2u);
    EXPECT_NE(window.calls[0].find("000080"), std::string::npos);
}

TEST_F(UnitViewTest, LabelsShowThePositionAndTheGroup) {
    CompressFour();
    MakeView();
    view->PaintOverlays(window);
    const auto has = [&](const std::string& part) {
        return std::any_of(window.calls.begin(), window.calls.end(), [&](const std::string& call) {
            return call.find(part) != std::string::npos;
        });
    };
    EXPECT_TRUE(has("text 3,3 \"0\" FFFFFF"));
    EXPECT_TRUE(has("text 3,13 \"0\" 0000FF")); // group 0, 10 pixels lower
    const int x = Cell(3, 0).x;
    EXPECT_TRUE(has("text " + std::to_string(x + 1) + ",3 \"3\" FFFFFF"));
    EXPECT_FALSE(has("text " + std::to_string(x + 1) + ",13"));
}

TEST_F(UnitViewTest, ContextMenuItemsAndStates) {
    CompressFour();
    MakeView();
    const auto menu = view->ContextMenu();
    const std::vector<std::string> texts = {"&Fire Setting",        "Set Temp &Buffer",
                                            "&Set Group",           "Set &Team Color",
                                            "Alpha &value change ", "&Properties"};
    ASSERT_EQ(menu.size(), texts.size());
    for (std::size_t i = 0; i < menu.size(); ++i) {
        EXPECT_EQ(menu[i].text, texts[i]);
    }
    EXPECT_TRUE(view->IsEnabled(command::kFireSetting));
    EXPECT_FALSE(view->IsEnabled(command::kSetTempBuffer));
    EXPECT_FALSE(view->IsEnabled(command::kProperties));
    Hover(1);
    EXPECT_TRUE(view->IsEnabled(command::kSetTempBuffer));
    EXPECT_TRUE(view->IsEnabled(command::kProperties));
}

TEST_F(UnitViewTest, TempBufferOkStoresTheValuesAndMarksTheUnit) {
    CompressFour();
    MakeView();
    doc.SetModifiedFlag(false);
    Hover(2);
    host.tempBuffer = [](CTempBufferDlg& dialog) {
        dialog.values[0] = 3;
        dialog.values[9] = -7;
        return true;
    };
    view->OnCommand(command::kSetTempBuffer);
    EXPECT_EQ(At(2).tempBuffer[0], 3);
    EXPECT_EQ(At(2).tempBuffer[9], -7);
    EXPECT_TRUE(doc.IsModified());

    doc.SetModifiedFlag(false);
    host.tempBuffer = [](CTempBufferDlg& dialog) {
        dialog.values[0] = 50;
        return false;
    };
    view->OnCommand(command::kSetTempBuffer);
    EXPECT_EQ(At(2).tempBuffer[0], 3);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(UnitViewTest, PropertiesChooseTheFirstAnimationDrawn) {
    CompressFour();
    MakeView();
    Hover(3);
    const int skipped = Cell(0, 1).x;
    host.properties = [](CPropertiesDlg& dialog) {
        dialog.startAnimation = 2;
        return true;
    };
    view->OnCommand(command::kProperties);
    ASSERT_EQ(host.shownProperties.size(), 1u);
    const CPropertiesDlg& shown = host.shownProperties[0];
    EXPECT_EQ(shown.animationCount, 4);
    EXPECT_EQ(shown.totalFrameCount, 7);
    EXPECT_EQ(shown.width, 16);
    EXPECT_EQ(shown.height, 8);
    EXPECT_EQ(shown.codebookSize, doc.Data().codebook.Size());
    EXPECT_EQ(view->FirstDrawn(), 2);
    // Animation 2 now starts the window; the skipped ones cannot be hovered.
    EXPECT_EQ(Cell(2, 0).x, 2);
    EXPECT_EQ(view->RenderVisibleFrames().size(), 4u);
    view->OnMouseMove(skipped + 1, 3, window);
    EXPECT_NE(view->HoveredAnimation(), &At(0));
    window.calls.clear();
    view->PaintOverlays(window);
    EXPECT_EQ(window.calls.front().rfind("rect 1,1 16,10", 0), 0u);
}

TEST_F(UnitViewTest, AClickHandsTheAnimationToTheOpenToolWindows) {
    CompressFour();
    MakeView();
    std::vector<ToolWindow> order;
    test::RecordingToolWindow player{tools, ToolWindow::Animation};
    test::RecordingToolWindow checkBox{tools, ToolWindow::CheckBox};
    test::RecordingToolWindow origin{tools, ToolWindow::OriginPoint};
    test::RecordingToolWindow edit{tools, ToolWindow::AnimationEdit};
    for (auto* window : {&player, &checkBox, &origin, &edit}) {
        window->order = &order;
    }
    player.Open();
    checkBox.Open();
    edit.Open();
    Hover(1);
    view->OnLeftButtonDown(false);
    // A unit that holds tool data feeds every open tool, in order.
    EXPECT_EQ(order, (std::vector{ToolWindow::Animation, ToolWindow::CheckBox,
                                  ToolWindow::AnimationEdit}));
    ASSERT_EQ(player.taken.size(), 1u);
    EXPECT_EQ(player.taken[0].animation, &At(1));
    EXPECT_EQ(player.taken[0].group, doc.Data().GroupAt(0));
    EXPECT_EQ(player.taken[0].feed, Feed::Main);
    EXPECT_EQ(player.taken[0].source, view.get());
    EXPECT_EQ(tools.SourceOf(ToolWindow::CheckBox, Feed::Main), view.get());

    // An animation of no group comes without one, not with the first group.
    Hover(2);
    view->OnLeftButtonDown(false);
    EXPECT_EQ(player.taken.back().animation, &At(2));
    EXPECT_EQ(player.taken.back().group, nullptr);
    Hover(1);

    // Ctrl: the back animation of the player and of the origin tool only.
    order.clear();
    origin.Open();
    view->OnLeftButtonDown(true);
    EXPECT_EQ(order, (std::vector{ToolWindow::Animation, ToolWindow::OriginPoint}));
    EXPECT_EQ(origin.taken.back().feed, Feed::Back);
    EXPECT_EQ(player.Held(Feed::Back), &At(1));

    // Without tool data the hand-over stops after the player.
    order.clear();
    doc.SetToolDataFlag(false);
    view->OnLeftButtonDown(false);
    EXPECT_EQ(order, std::vector{ToolWindow::Animation});
    EXPECT_FALSE(player.taken.back().toolData);

    // Over no frame nothing happens.
    order.clear();
    view->OnMouseMove(600, 400, window);
    view->OnLeftButtonDown(false);
    EXPECT_TRUE(order.empty());
}

TEST_F(UnitViewTest, FireSettingAndDestructionTellTheMainFrame) {
    CompressFour();
    MakeView();
    view->OnCommand(command::kFireSetting);
    const FireAnimationSource fire = tools.FireSource();
    EXPECT_EQ(fire.view, view.get());
    EXPECT_EQ(fire.document, &doc);
    EXPECT_EQ(fire.document->Animations().FindAnimation(0), &At(0));
    view.reset();
    EXPECT_EQ(tools.FireSource().view, nullptr);
    EXPECT_EQ(tools.FireSource().document, nullptr);
    EXPECT_NE(tools.FireSource().generation, fire.generation);
    // The document no longer calls the view that went away.
    CompressFour();
}

} // namespace
} // namespace fenwold
