#include "image/FrameStreams.h"
#include "platform/ScriptedPlatform.h"
#include "support/TempFolder.h"
#include "unit/CPropertiesDlg.h"
#include "unit/CTempBufferDlg.h"
#include "unit/CUnitView.h"
#include "unit/RegistrationFixtures.h"
#include "unit/UnitDoc.h"
#include "unittools/ToolFixtures.h"
#include "vq/VqFixtures.h"

#include <CommandIds.h>
#include <gtest/gtest.h>

namespace fenwold {
namespace {

class UnitViewTest : public ::testing::Test {
protected:
    UnitViewTest() : platform(folder.path()), doc(platform.Get()) {}

    // Compresses the four solid animations into the document, the first two in group 0.
    void CompressFour() { test::CompressPlain(doc, test::FourSolidAnimations(), {2}); }
    UnitAnimation& At(int position) { return *doc.Data().AnimationAt(position); }
    void Hover(int position, int frame = 0) { test::HoverCell(*view, position, frame, window); }
    void Properties(int startAnimation) {
        host.properties = [=](CPropertiesDlg& dialog) {
            dialog.startAnimation = startAnimation;
            return true;
        };
        view->OnCommand(command::kProperties);
    }
    const GridCell& Cell(int position, int frame) { return *view->Grid().CellOf(position, frame); }
    void MakeView() {
        view = std::make_unique<CUnitView>(platform.Get(), doc, host, tools);
        view->SetClientSize(640, 480);
    }

    test::TempFolder folder;
    ScriptedPlatform platform;
    CUnitDoc doc;
    ToolHub tools;
    test::RecordingUnitViewHost host;
    RecordingWindowPainter window;
    std::unique_ptr<CUnitView> view;
};

TEST_F(UnitViewTest, ACompressionResultClearsTheHoverAndRepaints) {
    MakeView();
    CompressFour();
    EXPECT_EQ(host.repaints, 1);
    Hover(3, 2);
    EXPECT_EQ(view->HoveredAnimation(), &At(3));
    EXPECT_EQ(view->HoveredFrame(), 2);
    CompressFour();
    EXPECT_EQ(host.repaints, 2);
    EXPECT_EQ(view->HoveredAnimation(), nullptr);
}

// Six frames of 48 x 12 in two regions of colour patterns that change from pixel to pixel and
// frame to frame, with a transparent band across two block rows and a transparent last block
// row; and four frames of 48 x 4 whose right half lies under the team mask. Every colour has
// distinct channels, and every kind of block comes in runs long enough for sampling to meet it.
RegisteredAnimations ColouredSeries() {
    // The last two are (10, 20, 30) and (30, 5, 12).
    static constexpr Pixel555 kPalette[] = {0x7C00, 0x03E0, 0x001F, 0x7FE0,
                                            0x7C1F, 0x03FF, 0x2A9E, 0x78AC};
    const auto frame = [](int width, int height, int f, int region) {
        test::TinyFrame picture = test::SolidFrame(width, height, 0);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const auto i = static_cast<std::size_t>(y * width + x);
                const int kind = region < 0 ? (x < 24 ? 0 : 1) : region;
                picture.pixels[i] = kPalette[(kind * 3 + x % 2 + 2 * (y % 2) + f) % 8];
                picture.alpha[i] = region < 0 && (y == 5 || y == 6 || y >= 10) ? 0 : 248;
                if (region >= 0) {
                    picture.mask.push_back(x >= 24 ? 1 : 0);
                }
            }
        }
        return picture;
    };
    std::vector<test::TinyFrame> plain, team;
    for (int f = 0; f < 6; ++f) {
        plain.push_back(frame(48, 12, f, -1));
    }
    for (int f = 0; f < 4; ++f) {
        team.push_back(frame(48, 4, f, 2));
    }
    return {test::MakeAnimation(48, 12, plain), test::MakeAnimation(48, 4, team)};
}

// What the view should show of a registered frame: nothing where it is transparent, the team
// colour of the pixel's grey level under the mask, the registered colour elsewhere.
std::vector<Pixel555> Expected(const RegisteredAnimation& animation, const RegisteredFrame& frame,
                               const TeamColourTable& team) {
    const auto pixels = DecodeFramePixels(frame.pixelStream, animation.width, animation.height);
    const auto alpha = DecodeFrameAlpha(frame.alphaStream, animation.width, animation.height);
    const auto mask = DecodeFrameAlpha(frame.maskStream, animation.width, animation.height);
    std::vector<Pixel555> expected(pixels.size(), 0);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const Pixel555 p = pixels[i];
        const auto grey = static_cast<int>(0.299 * Red5(p) + 0.589 * Green5(p) + 0.114 * Blue5(p));
        expected[i] = alpha[i] == 0 ? 0 : mask[i] != 0 ? team[static_cast<std::size_t>(grey)] : p;
    }
    return expected;
}

// Compressed in each mode, every frame is shown exactly as registered: each design keeps every
// block it met. The sampled and plain modes run twice, cutting the table to the blocks first,
// then refining a table of exactly that many entries.
TEST_F(UnitViewTest, CompressedFramesShowTheRegisteredPicturesInEveryMode) {
    const RegisteredAnimations series = ColouredSeries();
    MakeView();
    view->SetClientSize(4000, 400);
    const auto check = [&](CompressionParameters parameters, const char* mode) {
        test::CompressInto(doc, series, parameters);
        TeamColourTable& team = doc.Data().teamColours.tables[0];
        for (int i = 0; i < kTeamColourEntries; ++i) {
            team[static_cast<std::size_t>(i)] = static_cast<Pixel555>(i << 10 | (31 - i));
        }
        const auto pictures = view->RenderVisibleFrames();
        if (pictures.size() != 10u) {
            ADD_FAILURE() << mode << ": " << pictures.size() << " pictures";
            return 0;
        }
        auto picture = pictures.begin();
        for (const RegisteredAnimation& animation : series) {
            for (const RegisteredFrame& frame : animation.frames) {
                EXPECT_EQ(picture->pixels, Expected(animation, frame, team)) << mode;
                ++picture;
            }
        }
        return doc.Data().codebook.Size();
    };
    CompressionParameters noLbg;
    noLbg.noLbg = true;
    check(noLbg, "no LBG");
    for (const bool sampling : {true, false}) {
        CompressionParameters parameters;
        parameters.sampling = sampling;
        parameters.lookupTableSize = check(parameters, sampling ? "sampled" : "plain");
        check(parameters, sampling ? "sampled, refined" : "plain, refined");
    }
}

// Fire Setting and Set Group are always offered; Temp Buffer and Properties on a hovered
// animation, Alpha Value Change on a hovered one without masks (a team-coloured animation keeps
// its tables) and Set Team Color on one with masks; each runs on the hovered animation.
TEST_F(UnitViewTest, CommandsFollowTheHoveredAnimationAndTempBufferStoresOnOk) {
    CompressFour();
    At(2).maskFlag = 1;
    MakeView();
    const auto all = {command::kFireSetting, command::kSetGroup,         command::kSetTempBuffer,
                      command::kProperties,  command::kAlphaValueChange, command::kSetTeamColour};
    EXPECT_EQ(test::EnabledOf(*view, all),
              (std::vector{command::kFireSetting, command::kSetGroup}));
    Hover(1);
    EXPECT_EQ(test::EnabledOf(*view, all),
              (std::vector{command::kFireSetting, command::kSetGroup, command::kSetTempBuffer,
                           command::kProperties, command::kAlphaValueChange}));
    view->OnCommand(command::kSetTeamColour); // disabled: nothing runs
    view->OnCommand(command::kAlphaValueChange);
    view->OnCommand(command::kSetGroup);
    EXPECT_EQ(host.alphaChanges, (std::vector{std::make_pair(&doc, 1)}));
    EXPECT_EQ(host.groupEditors, std::vector<CUnitDoc*>{&doc});
    EXPECT_TRUE(host.teamColourRuns.empty());
    Hover(2);
    EXPECT_EQ(test::EnabledOf(*view, {command::kAlphaValueChange, command::kSetTeamColour}),
              std::vector{command::kSetTeamColour});
    view->OnCommand(command::kSetTeamColour);
    ASSERT_EQ(host.teamColourRuns.size(), 1u);
    EXPECT_EQ(host.teamColourRuns[0].animation.Get(), &At(2));
    EXPECT_EQ(host.teamColourRuns[0].source, view.get());
    // Temp Buffer OK stores the values and marks the unit.
    doc.SetModifiedFlag(false);
    host.tempBuffer = [](CTempBufferDlg& dialog) {
        dialog.values[0] = 3;
        dialog.values[9] = -7;
        return true;
    };
    view->OnCommand(command::kSetTempBuffer);
    EXPECT_EQ((std::vector{At(2).tempBuffer[0], At(2).tempBuffer[9]}), (std::vector{3, -7}));
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
    Properties(2);
    ASSERT_EQ(host.shownProperties.size(), 1u);
    const CPropertiesDlg& shown = host.shownProperties[0];
    EXPECT_EQ((std::vector{shown.animationCount, shown.totalFrameCount, shown.width, shown.height,
                           shown.codebookSize}),
              (std::vector{4, 7, 16, 8, doc.Data().codebook.Size()}));
    EXPECT_EQ(view->FirstDrawn(), 2);
    // Animation 2 now starts the window; the skipped ones cannot be hovered.
    EXPECT_EQ(Cell(2, 0).x, 2);
    EXPECT_EQ(view->RenderVisibleFrames().size(), 4u);
    view->OnMouseMove(skipped + 1, 3, window);
    EXPECT_NE(view->HoveredAnimation(), &At(0));
    window.calls.clear();
    view->PaintOverlays(window);
    EXPECT_EQ(window.calls.front().rfind("rect 1,1 16,10", 0), 0u);

    // A smaller compression cannot leave "Start Ani Draw" past the end, where nothing would be
    // drawn or hovered and Properties could never be reached to move it back.
    Hover(3);
    Properties(3);
    RegisteredAnimations two = test::FourSolidAnimations();
    two.resize(2);
    test::CompressPlain(doc, two);
    EXPECT_EQ(view->FirstDrawn(), 1);
    EXPECT_EQ(view->RenderVisibleFrames().size(), 1u);
    Hover(1);
    EXPECT_EQ(view->HoveredAnimation(), &At(1));
    EXPECT_TRUE(view->IsEnabled(command::kProperties));
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

// Labels show the position and the group; Fire Setting and the view's end tell the main frame.
TEST_F(UnitViewTest, LabelsFireSettingAndDestruction) {
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

    view->OnCommand(command::kFireSetting);
    EXPECT_EQ(platform.statusBar.messages,
              std::vector<std::string>{"Fire animation source: \"Noname.UTD\" (4 animations)."});
    EXPECT_EQ(tools.FireSource().view, view.get());
    EXPECT_EQ(tools.FireSource().document, &doc);
    view.reset();
    EXPECT_EQ(tools.FireSource().view, nullptr);
}

} // namespace
} // namespace fenwold
