#include "building/CFenwoldDoc.h"
#include "support/TgaBuilder.h"
#include "unittools/ToolWindowFixtures.h"

#include <CommandIds.h>

namespace fenwold {
namespace {

using test::RecordingAnimationHost;

class AnimationPlayerTest : public test::ToolWindowTest {
protected:
    AnimationPlayerTest() : dialog(hub, keys, platform.Get()) {}

    // Opens the window, showing the animation at `position` unless it is negative.
    void Open(int position = -1) {
        dialog.OnCreate(host);
        if (position >= 0) {
            Show(position);
        }
    }
    void Show(int position) { hub.HandOver(ToolWindow::Animation, Feed::Main, HandOver(position)); }
    CAnimationView& View() { return *dialog.View(); }
    // Gives the animation the sequence of delays; entry i shows frame i modulo the frame count.
    void SetSequence(UnitAnimation& animation, const std::vector<int>& delays, int loop) {
        animation.sequenceLength = static_cast<std::int32_t>(delays.size());
        std::size_t entry = 0;
        for (const int delay : delays) {
            animation.delay[entry] = static_cast<std::uint16_t>(delay);
            animation.frameNumber[entry] =
                static_cast<std::uint16_t>(static_cast<int>(entry) % animation.FrameCount());
            ++entry;
        }
        animation.tempBuffer[0] = loop;
    }
    void TickAt(std::uint32_t milliseconds) {
        platform.clock.milliseconds = milliseconds;
        dialog.Tick();
    }
    // Presses Play with the clock at `milliseconds`.
    void Play(std::uint32_t milliseconds = 0) {
        platform.clock.milliseconds = milliseconds;
        dialog.OnCommand(CAnimationDlg::kPlayButton);
    }

    CAnimationDlg dialog;
    RecordingAnimationHost host;
};

// Entries show for their delays in 16 ms steps and the sequence loops from its loop start (one
// outside the sequence loops to the first entry); a gap carries its remainder, the clock wraps, and
// a clock jump steps at most one pass of the sequence.
TEST_F(AnimationPlayerTest, PlayingStepsTheEntriesByTheClock) {
    struct Case {
        int frames;
        std::vector<int> delays;
        int loop;
        std::uint32_t start;
        std::vector<std::pair<std::uint32_t, int>> entryAt;
    };
    const std::vector<int> ten(10, 1);
    const Case cases[] = {
        {3, {4, 0, 2}, 1, 0, {{63, 0}, {64, 1}, {80, 2}, {112, 1}, {144, 2}}},
        {1, ten, 0, 1000, {{1100, 6}, {1111, 6}, {1112, 7}}}, // 100 ms: six steps, four carried
        {1, {1, 1, 1, 1}, 0, 0xFFFFFFF0, {{0x10, 2}}},
        {1, {1, 1, 1}, 0, 0, {{1000000, 0}}}, // 62500 steps would end on entry 1
        {2, {1, 1}, -1, 0, {{16, 1}, {32, 0}}},
        {2, {1, 1}, 2, 0, {{16, 1}, {32, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.delays.size() << " entries, loop " << c.loop);
        Compress({c.frames});
        SetSequence(At(0), c.delays, c.loop);
        Open(0);
        Play(c.start);
        EXPECT_TRUE(dialog.WantsTicks());
        for (const auto& [time, entry] : c.entryAt) {
            TickAt(time);
            EXPECT_EQ(View().MainPosition(), entry) << time << " ms";
        }
        dialog.OnCommand(CAnimationDlg::kStopButton);
        EXPECT_FALSE(dialog.WantsTicks());
        EXPECT_EQ(View().MainPosition(), 0);
        dialog.OnDestroy();
    }
}

// Next, Back and the slider keep each side inside its own sequence.
TEST_F(AnimationPlayerTest, NextAndBackStayInsideTheSequence) {
    Compress({2, 1});
    SetSequence(At(0), {4, 4, 4, 4, 4, 4, 4, 4}, 0);
    SetSequence(At(1), {1, 1}, 0);
    Open(0);
    EXPECT_EQ(dialog.PositionText(), "1/8 frame");
    EXPECT_EQ(dialog.SliderMaximum(), 7);
    dialog.OnCommand(CAnimationDlg::kBackButton);
    EXPECT_EQ(View().MainPosition(), 0);
    for (int i = 0; i < 9; ++i) {
        dialog.OnCommand(CAnimationDlg::kNextButton);
    }
    EXPECT_EQ(View().MainPosition(), 7);
    EXPECT_EQ(dialog.PositionText(), "8/8 frame");
    EXPECT_EQ(dialog.SliderPosition(), 7);
    hub.HandOver(ToolWindow::Animation, Feed::Back, HandOver(1));
    dialog.OnSlider(4);
    EXPECT_EQ((std::pair{View().MainPosition(), View().BackPosition()}), std::pair(4, 1));
    dialog.OnSlider(99);
    EXPECT_EQ(View().MainPosition(), 7);
}

TEST_F(AnimationPlayerTest, AFrameNumberPastTheFrameListOrAnEmptySequenceDrawsNothing) {
    Compress({2});
    UnitAnimation& animation = At(0);
    animation.sequenceLength = 2;
    animation.frameNumber = {1, 2};
    Open(0);
    const CanvasPoint corner = PictureCorner(unit.Data(), nullptr, animation, 0);
    EXPECT_NE(View().Canvas().At(corner.x + 5, corner.y + 3), 0);
    dialog.OnCommand(CAnimationDlg::kNextButton);
    EXPECT_EQ(View().Canvas().At(corner.x + 5, corner.y + 3), 0);
    // An empty sequence neither steps nor draws.
    animation.sequenceLength = 0;
    Show(0);
    EXPECT_EQ(dialog.PositionText(), "0/0 frame");
    dialog.OnCommand(CAnimationDlg::kNextButton);
    EXPECT_EQ(View().MainPosition(), 0);
    Play(0);
    TickAt(1000);
    EXPECT_EQ(View().MainPosition(), 0);
    const auto& pixels = View().Canvas().pixels();
    EXPECT_TRUE(std::all_of(pixels.begin(), pixels.end(), [](Pixel555 p) { return p == 0; }));
}

TEST_F(AnimationPlayerTest, TheChosenPointOfTheMainAnimationLiesAtTheCentre) {
    Compress({1, 1});
    unit.RebuildGroups(std::vector<std::int32_t>{1});
    UnitAnimation& animation = At(0);
    UnitGroup& group = unit.Data().groups.front();
    animation.pointX[0] = 10;
    animation.pointY[0] = 5;
    for (UnitAnimation* placed : {&animation, &At(1)}) {
        placed->positionX = placed->positionY = 0;
    }
    Open();
    // An animation without a group has no group point: drawn with its top-left at the centre.
    group.pointX[0] = 50;
    Show(1);
    EXPECT_EQ(View().Canvas().At(205, 153), ReferenceFrame(1, 0)[3 * kWidth + 5]);
    group.pointX[0] = 2;
    Show(0);
    EXPECT_EQ(PictureCorner(unit.Data(), View().MainAnimation().Group(), animation, 0),
              (CanvasPoint{188, 145}));
    const std::vector<Pixel555> frame = ReferenceFrame(0, 0);
    EXPECT_EQ(View().Canvas().At(188 + 5, 145 + 3), frame[3 * kWidth + 5]);
    // Point 3, common 1 + group 2 + own 3 across and own 3 down, lies at (200, 150): the
    // picture's pixel (6, 3) is drawn there.
    unit.Data().unitPointX[3] = 1;
    group.pointX[3] = 2;
    animation.pointX[3] = 3;
    animation.pointY[3] = 3;
    hub.HandOverPointIndex(ToolWindow::Animation, 3);
    EXPECT_EQ(View().PointIndex(), 3);
    EXPECT_EQ(View().Canvas().At(200, 150), frame[3 * kWidth + 6]);
    EXPECT_EQ(View().Canvas().At(193, 150), 0);
}

TEST_F(AnimationPlayerTest, TeamPixelsTakeEveryEntryOfTheDocumentsTeamTable) {
    CompressTeamColoured();
    At(0).positionX = At(0).positionY = 0;
    Open(0);
    EXPECT_EQ(View().Canvas().At(205, 153), BrightTeamPixel());
}

TEST_F(AnimationPlayerTest, AMainAnimationOfOneKindReplacesTheOtherAndEndsCompositeMode) {
    Compress({1, 1});
    CFenwoldDoc building(platform.Get());
    building.SetRecord(MakeBuildingRecord(std::vector<Pixel555>(64, 0x03E0),
                                          std::vector<std::uint8_t>(64, 255), 8, 8, 0, 0, 8, 8));
    RegisteredAnimations registered;
    registered.push_back(test::SolidAnimation(6, 4, 1, 0x7C00));
    Open();
    hub.HandOverBuilding(ToolWindow::Animation, {&building, nullptr});
    EXPECT_TRUE(View().IsComposite());
    Show(0);
    EXPECT_FALSE(View().IsComposite());
    struct Named final : ToolSource {
    } registration;
    hub.ShowRegistered({&registered, 0, &registration});
    EXPECT_EQ(View().MainAnimation().Get(), nullptr);
    EXPECT_NE(View().MainRegistered().Get(), nullptr);
    // PageDown walks a unit's list only.
    keys.Route(KeySlot::Animation, KeyPhase::Down, {key::kPageDown}, false);
    EXPECT_EQ(View().MainAnimation().Get(), nullptr);
    // The registered frame lies centred on its origin.
    EXPECT_EQ(View().Canvas().At(200 - 3 + 3, 150 - 2 + 1), BlendPixel555(0x7C00, 0, 248));
    // A changed registered list lets go of it.
    hub.RegisteredListChanged(registration);
    EXPECT_EQ(View().MainRegistered().Get(), nullptr);
    hub.ShowRegistered({&registered, 0, &registration});
    Show(0);
    EXPECT_EQ(View().MainRegistered().Get(), nullptr);
    keys.Route(KeySlot::Animation, KeyPhase::Down, {key::kPageDown}, false);
    EXPECT_EQ(View().MainAnimation().Position(), 1);
    EXPECT_EQ(dialog.PositionText(), "1/1 frame");
}

TEST_F(AnimationPlayerTest, CompositeModePlaysEveryAnimationOfABuildingUpToTwoHundred) {
    CFenwoldDoc building(platform.Get());
    RegisteredAnimations list;
    for (int k = 0; k < 150; ++k) {
        list.push_back(test::SolidAnimation(2, 2, 2, static_cast<Pixel555>(0x0400 + k)));
    }
    test::CompressPlain(building, list);
    building.SetRecord(MakeBuildingRecord(std::vector<Pixel555>(64 * 64, 0x03E0),
                                          std::vector<std::uint8_t>(64 * 64, 255), 64, 64, 0, 0, 64,
                                          64));
    for (UnitAnimation& animation : building.Animations().animations) {
        animation.sequenceLength = 2;
        animation.frameNumber[1] = 1;
        animation.delay[0] = animation.delay[1] = 1;
    }
    Open();
    hub.HandOverBuilding(ToolWindow::Animation, {&building, nullptr});
    ASSERT_TRUE(View().IsComposite());
    EXPECT_EQ(View().Canvas().At(200 - 32 + 5, 150 - 32 + 5), 0x03E0); // the building picture
    Play(0);
    TickAt(16);
    EXPECT_EQ(View().PositionOf(0), 1);
    EXPECT_EQ(View().PositionOf(149), 1);
    // Back and Next do nothing in composite mode.
    dialog.OnCommand(CAnimationDlg::kNextButton);
    EXPECT_EQ(View().PositionOf(0), 1);
    // The record goes: nothing of it is drawn.
    building.FreeBuildingRecord();
    EXPECT_FALSE(View().IsComposite());
}

TEST_F(AnimationPlayerTest,
       TheBackAnimationWithoutToolDataSitsOnItsOwnOriginAndAHandOverKeepsPlaying) {
    Compress({1, 1});
    UnitAnimation& back = At(1);
    back.pointX[0] = 4;
    back.pointY[0] = 2;
    back.positionX = 30; // not used without tool data
    Open();
    AnimationHandOver handOver = HandOver(1);
    handOver.toolData = false;
    hub.HandOver(ToolWindow::Animation, Feed::Back, handOver);
    dialog.OnCommand(command::kBackAnimation);
    EXPECT_TRUE(dialog.BackAnimationShown());
    EXPECT_TRUE(dialog.ContextMenu()[0].checked);
    EXPECT_FALSE(dialog.ContextMenu()[1].checked);
    const Pixel555 colour = ReferenceFrame(1, 0)[static_cast<std::size_t>(3 * kWidth + 5)];
    EXPECT_EQ(View().Canvas().At(200 - 4 + 5, 150 - 2 + 3), colour);
    // A hand-over resets the positions and keeps playing.
    SetSequence(At(0), {1, 1, 1}, 0);
    SetSequence(At(1), {1, 1, 1}, 0);
    Show(0);
    Play(0);
    TickAt(32);
    EXPECT_EQ(View().MainPosition(), 2);
    Show(1);
    EXPECT_EQ(View().MainPosition(), 0);
    EXPECT_TRUE(dialog.WantsTicks());
    // A new animation list: nothing to play, and the timer may rest.
    Compress({1});
    EXPECT_FALSE(dialog.WantsTicks());
}

TEST_F(AnimationPlayerTest, GridCrosshairAndZoomFollowTheirCommands) {
    Compress({1});
    Open(0);
    dialog.OnCommand(command::kShowGrid);
    EXPECT_EQ(View().Canvas().At(390, 7), CAnimationView::kGridColour);
    EXPECT_EQ(View().Canvas().At(7, 290), CAnimationView::kGridColour);
    dialog.OnCommand(command::kShowCrosshair);
    EXPECT_EQ(View().Canvas().At(3, 150), CAnimationView::kCrosshairColour);
    dialog.OnZoomSpin(3);
    EXPECT_EQ(dialog.ZoomText(), "x3");
    EXPECT_EQ(PlaceCanvas(1300, 1000, 3).left, 650 - 600);
    // The flags stay with the tool; the zoom starts at 1 with each showing.
    dialog.OnDestroy();
    Open();
    EXPECT_EQ(dialog.Zoom(), 1);
    EXPECT_TRUE(dialog.GridShown());
    EXPECT_TRUE(dialog.CrosshairShown());
}

TEST_F(AnimationPlayerTest, ABackgroundPictureIsShownTopRowFirstAndABrokenOneIsNot) {
    Compress({1});
    const TgaColor red = MakeTgaColor(255, 0, 0);
    const TgaColor blue = MakeTgaColor(0, 0, 255);
    // Two rows of two: red on top, blue below.
    const TgaColor pixels[] = {red, red, blue, blue};
    folder.Write("back.tga", test::TgaBuilder::Picture(2, 2, pixels));
    std::vector<std::uint8_t> shortBytes = test::TgaBuilder::Picture(2, 2, pixels);
    shortBytes.resize(shortBytes.size() - 4);
    folder.Write("short.tga", shortBytes);
    Open();
    platform.prompts.fileAnswers = {folder / "back.tga"};
    dialog.OnCommand(command::kLoadBackground);
    EXPECT_TRUE(View().HasBackground());
    EXPECT_EQ(View().Canvas().At(199, 149), 0x7C00);
    EXPECT_EQ(View().Canvas().At(199, 150), 0x001F);
    EXPECT_EQ(View().Canvas().At(198, 148), 0); // cleared around it
    platform.prompts.fileAnswers = {folder / "short.tga"};
    dialog.OnCommand(command::kLoadBackground);
    EXPECT_FALSE(View().HasBackground());
    ASSERT_FALSE(platform.prompts.messages.empty());
    EXPECT_NE(platform.prompts.messages.back().text.find("short.tga"), std::string::npos);
}

} // namespace
} // namespace fenwold
