#include "building/CFenwoldDoc.h"
#include "building/CFenwoldView.h"
#include "building/ChildFrameTabs.h"
#include "image/TgaReader.h"
#include "image/TgaWriter.h"
#include "unit/CUnitView.h"
#include "unittools/ToolFixtures.h"
#include "unittools/ToolWindowFixtures.h"

#include <CommandIds.h>
#include <memory>

namespace fenwold {
namespace {

using test::RecordingToolWindow;

// One building window as its Qt side meets it: the document, the tab row and the picture view.
struct BuildingWindow final : ChildFrameHost, CFenwoldViewHost {
    BuildingWindow(Platform platform, BuildingToolHandOvers& tools)
        : document(platform), tabs(document, *this),
          view(std::make_unique<CFenwoldView>(platform, document, tabs, *this, tools)) {
        tabs.Start();
    }
    void ShowTabs() override { ++tabRowsShown; }
    void ShowCurrentTab() override { ++pagesShown; }
    void RunTeamColourSetting() override { ++teamColourDialogs; }
    void Repaint() override { ++repaints; }

    CFenwoldDoc document;
    ChildFrameTabs tabs;
    std::unique_ptr<CFenwoldView> view;
    int tabRowsShown = 0;
    int pagesShown = 0;
    int teamColourDialogs = 0;
    int repaints = 0;
};

constexpr Pixel555 kRed = 0x7C00;
constexpr Pixel555 kTeamGreen = 0x03E0;

class BuildingWindowTest : public test::ToolWindowTest {
protected:
    BuildingWindowTest() {
        // A 40 x 40 red house (2 x 2 tiles) whose left half takes the team colour.
        WriteTga32(folder / "house.tga", std::vector<TgaColor>(40 * 40, MakeTgaColor(255, 0, 0)),
                   40, 40);
        std::vector<TgaColor> mask(40 * 40, MakeTgaColor(0, 0, 0));
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 20; ++x) {
                mask[static_cast<std::size_t>(y) * 40 + x] = MakeTgaColor(255, 255, 255);
            }
        }
        WriteTga32(folder / "mask.tga", mask, 40, 40);
    }

    BuildingWindow& NewWindow() {
        return *windows.emplace_back(new BuildingWindow(platform.Get(), hub));
    }
    // A menu command whose file dialog is answered with `file`.
    void Choose(BuildingWindow& window, int command, const std::string& file) {
        platform.prompts.fileAnswers.push_back(folder / file);
        window.view->OnCommand(command);
    }
    // Builds a house with its mask and saves it as house.BPT with team colour table 0 green.
    std::filesystem::path SavedHouse() {
        BuildingWindow& builder = NewWindow();
        Choose(builder, command::kOpenBuilding, "house.tga");
        Choose(builder, command::kOpenMask, "mask.tga");
        builder.document.Colours().tables[0].fill(kTeamGreen);
        platform.prompts.fileAnswers.push_back(folder / "saved.BPT");
        EXPECT_TRUE(builder.document.SaveAs());
        return folder / "saved.BPT";
    }

    std::vector<std::unique_ptr<BuildingWindow>> windows;
};

TEST_F(BuildingWindowTest, ModeTabsAppearWithThePictureAndTheSameTabDoesNotRetitle) {
    BuildingWindow& window = NewWindow();
    EXPECT_EQ(window.document.Title(), "Build - Open Build-\"Noname.Bpt\"");
    EXPECT_EQ(window.tabs.TabCount(), 1);
    EXPECT_FALSE(window.tabs.SelectTab(4)); // not shown yet
    EXPECT_FALSE(window.view->IsEnabled(command::kOpenMask));
    // The all-files choice house.bmp reads house.TGA.
    Choose(window, command::kOpenBuilding, "house.bmp");
    EXPECT_EQ(platform.prompts.dialogs.back().request.filter, kPictureFilter);
    ASSERT_NE(window.document.Record(), nullptr);
    EXPECT_TRUE(window.document.IsModified());
    EXPECT_EQ(window.tabs.TabCount(), kBuildingTabCount);
    EXPECT_EQ(window.tabRowsShown, 1);
    ASSERT_TRUE(window.tabs.SelectTab(4));
    EXPECT_EQ(window.document.Title(), "Build - Set clash attrib - \"Noname.Bpt\"");
    window.document.SetTitle("marker");
    EXPECT_FALSE(window.tabs.SelectTab(4));
    EXPECT_EQ(window.document.Title(), "Build - marker\"Noname.Bpt\"");
    EXPECT_EQ(window.pagesShown, 1);
    // A second picture keeps the tabs and the tab chosen.
    Choose(window, command::kOpenBuilding, "house.tga");
    EXPECT_EQ(window.tabRowsShown, 1);
    EXPECT_EQ(window.tabs.CurrentTab(), 4);
    ASSERT_TRUE(window.tabs.SelectTab(7));
    EXPECT_EQ(window.document.Title(), "Build - Set Fire Point - \"Noname.Bpt\"");
}

TEST_F(BuildingWindowTest, MenuStatesFollowTheRecordTheImportAndTheMask) {
    BuildingWindow& window = NewWindow();
    const std::vector<MenuItem> menu = window.view->ContextMenu();
    ASSERT_EQ(menu.size(), 4U);
    EXPECT_EQ(menu[0].text, "Open Building");
    EXPECT_TRUE(menu[0].enabled);
    EXPECT_EQ(menu[2].command, 0); // the separator, never chosen
    EXPECT_FALSE(menu[2].enabled);
    EXPECT_EQ(menu[3].text, "Team color &Setting");
    EXPECT_FALSE(window.view->IsEnabled(command::kTeamColourSetting));
    window.view->OnCommand(command::kTeamColourSetting);
    EXPECT_EQ(window.teamColourDialogs, 0);
    Choose(window, command::kOpenBuilding, "house.tga");
    EXPECT_TRUE(window.view->IsEnabled(command::kOpenMask));
    EXPECT_FALSE(window.view->IsEnabled(command::kTeamColourSetting)); // no mask yet
    Choose(window, command::kOpenMask, "mask.tga");
    EXPECT_TRUE(window.document.Record()->HasTeamPlanes());
    ASSERT_TRUE(window.view->IsEnabled(command::kTeamColourSetting));
    window.view->OnCommand(command::kTeamColourSetting);
    EXPECT_EQ(window.teamColourDialogs, 1);
    // Cancelling the dialog changes nothing.
    const int repaints = window.repaints;
    window.view->OnCommand(command::kOpenMask);
    EXPECT_EQ(window.repaints, repaints);
}

TEST_F(BuildingWindowTest, ABuildingFromAFileShowsItsTabsTeamColoursAndNoMaskCommand) {
    const auto file = SavedHouse();
    // The main frame reads the file, then the window starts (again, here).
    auto opened = std::make_unique<BuildingWindow>(platform.Get(), hub);
    ASSERT_TRUE(opened->document.OnOpenDocument(file));
    opened->tabs.Start();
    EXPECT_EQ(opened->tabs.TabCount(), kBuildingTabCount);
    EXPECT_EQ(opened->tabs.CurrentTab(), 0);
    EXPECT_FALSE(opened->view->IsEnabled(command::kOpenMask));
    EXPECT_TRUE(opened->view->IsEnabled(command::kTeamColourSetting));
    const BuildingViewPicture& picture = opened->view->Picture();
    ASSERT_EQ(picture.width, 64);
    ASSERT_EQ(picture.height, 64);
    // The house sits at (12, 12) in its tiles; its left half is drawn from team table 0.
    EXPECT_EQ(picture.pixels[20 * 64 + 14], kTeamGreen);
    EXPECT_EQ(picture.pixels[20 * 64 + 40], kRed);
    Choose(*opened, command::kOpenBuilding, "house.tga");
    EXPECT_TRUE(opened->view->IsEnabled(command::kOpenMask));
}

TEST_F(BuildingWindowTest, AFailedOpenBuildingLeavesNoPictureAndNothingToHandOver) {
    RecordingToolWindow origin(hub, ToolWindow::OriginPoint);
    origin.Open();
    BuildingWindow& window = NewWindow();
    Choose(window, command::kOpenBuilding, "house.tga");
    Choose(window, command::kOpenMask, "mask.tga");
    Choose(window, command::kOpenBuilding, "missing.png");
    ASSERT_FALSE(platform.prompts.fileProblems.empty());
    EXPECT_EQ(platform.prompts.messages.back().text, "그림을 읽을수 없다.");
    EXPECT_EQ(window.document.Record(), nullptr);
    EXPECT_TRUE(window.view->Picture().Empty());
    EXPECT_FALSE(window.view->IsEnabled(command::kOpenMask));
    EXPECT_FALSE(window.view->IsEnabled(command::kTeamColourSetting));
    window.document.SetModifiedFlag(false);
    window.view->OnLeftButtonDown(3, 3);
    EXPECT_TRUE(origin.buildings.empty());
    EXPECT_FALSE(window.document.IsModified());
}

// Open Building frees the old record, so that the windows fed from it let go, before the new
// record takes its place.
TEST_F(BuildingWindowTest, OpenBuildingLetsTheWindowsFedFromTheOldRecordGoFirst) {
    RecordingToolWindow player(hub, ToolWindow::Animation);
    player.Open();
    BuildingWindow& window = NewWindow();
    Choose(window, command::kOpenBuilding, "house.tga");
    hub.HandOverBuilding(ToolWindow::Animation, {&window.document, window.view.get()});
    struct Watcher final : DocumentObserver {
        explicit Watcher(CFenwoldDoc& document)
            : document(document), observation(document, *this) {}
        void OnDocumentEvent(DocumentEvent event) override {
            if (event == DocumentEvent::BuildingRecordReplaced) {
                recordsSeen.push_back(document.Record());
            }
        }
        CFenwoldDoc& document;
        DocumentObservation observation;
        std::vector<const BuildingRecord*> recordsSeen;
    } watcher(window.document);
    Choose(window, command::kOpenBuilding, "house.tga");
    EXPECT_EQ(player.recordsForgotten, 2);     // the old record freed, the new one in its place
    ASSERT_EQ(watcher.recordsSeen.size(), 2U); // freed, then the new one
    EXPECT_EQ(watcher.recordsSeen[0], nullptr);
    EXPECT_EQ(watcher.recordsSeen[1], window.document.Record());
}

// A click feeds the open origin-point window (not the player), which closes with the view that
// fed it last.
TEST_F(BuildingWindowTest, ThreeWindowsEachKeepTheirOwnTabsAndViewsAndFeedTheOriginWindow) {
    BuildingWindow& first = NewWindow();
    BuildingWindow& second = NewWindow();
    BuildingWindow& third = NewWindow();
    Choose(second, command::kOpenBuilding, "house.tga");
    second.document.SetModifiedFlag(false);
    second.view->OnLeftButtonDown(5, 5); // no origin-point window: nothing happens
    EXPECT_FALSE(second.document.IsModified());
    RecordingToolWindow origin(hub, ToolWindow::OriginPoint);
    RecordingToolWindow player(hub, ToolWindow::Animation);
    origin.Open();
    player.Open();
    EXPECT_EQ(first.tabs.TabCount(), 1);
    EXPECT_EQ(second.tabs.TabCount(), kBuildingTabCount);
    EXPECT_EQ(third.tabs.TabCount(), 1);
    EXPECT_EQ(first.tabRowsShown + third.tabRowsShown, 0);
    Choose(third, command::kOpenBuilding, "house.tga");
    ASSERT_TRUE(second.tabs.SelectTab(5));
    EXPECT_EQ(third.tabs.CurrentTab(), 0);
    EXPECT_EQ(third.pagesShown, 0);
    EXPECT_EQ(first.document.Title(), "Build - Open Build-\"Noname.Bpt\"");
    third.view->OnLeftButtonDown(2, 2);
    second.view->OnLeftButtonDown(2, 2);
    ASSERT_EQ(origin.buildings.size(), 2U);
    EXPECT_EQ(origin.buildings[0], &third.document);
    EXPECT_EQ(origin.buildings[1], &second.document);
    EXPECT_EQ(hub.SourceOf(ToolWindow::OriginPoint, Feed::Main), second.view.get());
    EXPECT_TRUE(player.buildings.empty());
    EXPECT_TRUE(second.document.IsModified());
    third.view.reset(); // not the origin window's source any more
    EXPECT_EQ(origin.closed, 0);
    second.view.reset();
    EXPECT_EQ(origin.closed, 1);
    EXPECT_EQ(player.closed, 0);
}

TEST_F(BuildingWindowTest, TheVqViewShowsTheBuildingsAnimationsWithoutTheUnitCommands) {
    BuildingWindow& window = NewWindow();
    RegisteredAnimations list;
    list.push_back(test::SolidAnimation(kWidth, kHeight, 2, kRed));
    CompressionParameters parameters;
    parameters.noLbg = true;
    test::CompressInto(window.document, list, parameters);
    test::QuietUnitViewHost host;
    CUnitView view(platform.Get(), window.document, host, hub);
    view.SetClientSize(300, 200);
    EXPECT_TRUE(view.IsBuildingMode());
    EXPECT_EQ(view.RenderVisibleFrames().size(), 2U);
    EXPECT_FALSE(view.IsEnabled(command::kSetGroup));
    EXPECT_FALSE(view.IsEnabled(command::kAlphaValueChange));
    view.OnCommand(command::kFireSetting);
    EXPECT_EQ(hub.FireSource().document, &window.document);
    RecordingToolWindow player(hub, ToolWindow::Animation);
    player.Open();
    RecordingWindowPainter painter;
    view.OnMouseMove(3, 3, painter);
    view.OnLeftButtonDown(false);
    ASSERT_EQ(player.buildings.size(), 1U); // the composite player
    EXPECT_EQ(player.buildings[0], &window.document);
    // A unit keeps them.
    CUnitView unitView(platform.Get(), unit, host, hub);
    EXPECT_FALSE(unitView.IsBuildingMode());
    EXPECT_TRUE(unitView.IsEnabled(command::kSetGroup));
}

} // namespace
} // namespace fenwold
