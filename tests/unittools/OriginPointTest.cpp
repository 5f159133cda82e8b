#include "building/CFenwoldDoc.h"
#include "unittools/RadialTables.h"
#include "unittools/ToolFixtures.h"
#include "unittools/ToolWindowFixtures.h"

#include <cmath>

namespace fenwold {
namespace {

using Mode = CAniPointView::Mode;
using Point = CAniPointView::Point;
using test::RecordingOriginPointHost;
using test::RecordingToolWindow;

class OriginPointTest : public test::ToolWindowTest {
protected:
    OriginPointTest() : dialog(hub, keys) {}

    void Open(int position = 0) {
        dialog.OnCreate(host);
        hub.HandOver(ToolWindow::OriginPoint, Feed::Main, HandOver(position, &source));
    }
    void Down(int key) { keys.Route(KeySlot::OriginPoint, KeyPhase::Down, {key}, false); }
    void Up(int key) { keys.Route(KeySlot::OriginPoint, KeyPhase::Up, {key}, false); }
    // Holds the key for one tick.
    void Hold(int key) {
        Down(key);
        dialog.Tick();
        Up(key);
    }
    CAniPointView& View() { return *dialog.View(); }
    const PreviewCanvas& Canvas() { return View().Canvas(); }
    UnitGroup& GroupNumber(int index) { return *unit.Data().FindGroup(index); }
    Point PointOf(int position, int index) {
        return {At(position).pointX[index], At(position).pointY[index]};
    }
    void SetPoint(int position, int index, Point point) {
        At(position).pointX[index] = static_cast<std::int16_t>(point.x);
        At(position).pointY[index] = static_cast<std::int16_t>(point.y);
    }
    // Every animation's crop position at the origin, so that pictures lie where their points say.
    void PlaceAtOrigin() {
        for (UnitAnimation& animation : unit.Data().animations) {
            animation.positionX = animation.positionY = 0;
        }
    }

    struct Source : ToolSource {
    } source;
    CSetAnimationPointDlg dialog;
    RecordingOriginPointHost host;
};

TEST_F(OriginPointTest, ArrowsMoveThePointByOneAndWithCtrlByTenAndDigitsChooseIt) {
    Compress({1});
    RecordingToolWindow player(hub, ToolWindow::Animation);
    player.Open();
    Open();
    Hold(key::kLeft);
    EXPECT_EQ(unit.Data().unitPointX[0], 1);
    EXPECT_EQ(dialog.CoordinatesText(), "1,0");
    EXPECT_TRUE(unit.IsModified());
    EXPECT_EQ(player.redraws, 1); // the animation window shows the new point
    Down(key::kControl);
    Hold(key::kLeft);
    Hold(key::kUp);
    Up(key::kControl);
    Hold(key::kRight);
    Hold(key::kDown);
    EXPECT_EQ((Point{unit.Data().unitPointX[0], unit.Data().unitPointY[0]}), (Point{10, 9}));
    // Released: the next tick moves nothing.
    dialog.Tick();
    EXPECT_EQ(unit.Data().unitPointX[0], 10);
    // Digits choose the point, and the right button on point 9 goes to 0.
    player.points.clear();
    Down('9');
    EXPECT_EQ(dialog.Title(), "Set animation point - 9");
    dialog.OnRightButton();
    EXPECT_EQ(View().PointIndex(), 0);
    EXPECT_EQ(player.points, (std::vector{9, 0}));
    // Held keys are let go when the window loses the keyboard or closes.
    Down(key::kLeft);
    dialog.Tick();
    dialog.OnFocusLost(); // the key-up goes to another window
    dialog.Tick();
    dialog.Tick();
    EXPECT_EQ(unit.Data().unitPointX[0], 11);
    Down(key::kUp);
    dialog.OnDestroy();
    EXPECT_EQ(keys.Target(KeySlot::OriginPoint), nullptr);
    dialog.OnCreate(host);
    hub.HandOver(ToolWindow::OriginPoint, Feed::Main, HandOver(0));
    dialog.Tick();
    EXPECT_EQ(unit.Data().unitPointY[0], 9);
}

TEST_F(OriginPointTest, EachModeMovesItsOwnSetAniWrapsAt16BitsAndRResetsExceptInReverse) {
    Compress({1, 1});
    Group({2});
    At(0).pointX[4] = 32767;
    Open();
    Down('4');
    for (const Mode mode : {Mode::Total, Mode::Group, Mode::Ani}) {
        dialog.OnModeSelected(static_cast<int>(mode));
        ASSERT_EQ(View().GetMode(), mode);
        Hold(key::kLeft);
    }
    EXPECT_EQ((std::vector<int>{unit.Data().unitPointX[4], GroupNumber(0).pointX[4],
                                At(0).pointX[4], At(1).pointX[4]}),
              (std::vector{1, 1, -32768, 0}));
    EXPECT_EQ(dialog.CoordinatesText(), "-32768,0");
    EXPECT_EQ(unit.Data().unitPointX[0], 0);
    // R resets the point, except in Reverse.
    Down('0');
    At(0).pointX[0] = 5;
    At(1).pointY[0] = 6;
    dialog.OnModeSelected(static_cast<int>(Mode::Reverse));
    unit.SetModifiedFlag(false);
    Down('R');
    EXPECT_EQ(At(0).pointX[0], 5);
    EXPECT_EQ(At(1).pointY[0], 6);
    EXPECT_FALSE(unit.IsModified());
    dialog.OnModeSelected(static_cast<int>(Mode::Ani));
    Down('R');
    EXPECT_EQ(At(0).pointX[0], 0);
    EXPECT_TRUE(unit.IsModified());
    // Nothing to reset: nothing to save.
    unit.SetModifiedFlag(false);
    Down('R');
    EXPECT_FALSE(unit.IsModified());
}

// The direction each member moves in: turned a quarter from its angle on the wheel.
void ExpectSpokes(const UnitGroup& group, std::initializer_list<int> angles, double r) {
    int k = 0;
    for (const int angle : angles) {
        const int a = (angle + 90) % 360;
        const UnitAnimation& member = *group.members[static_cast<std::size_t>(k++)];
        EXPECT_NEAR(member.workingPointX, r * Radial().cosine[static_cast<std::size_t>(a)], 1e-4)
            << "member " << k - 1;
        EXPECT_NEAR(member.workingPointY, r * Radial().sine[static_cast<std::size_t>(a)], 1e-4)
            << "member " << k - 1;
    }
}

TEST_F(OriginPointTest, FourMembersSpreadOverTheWheelAndHalfOverItsHalf) {
    Compress({1, 1, 1, 1, 1, 1, 1});
    Group({4, 3});
    Open(0);
    dialog.OnModeSelected(static_cast<int>(Mode::Reverse));
    Hold(key::kLeft);
    ExpectSpokes(GroupNumber(0), {0, 90, 180, 270}, std::sqrt(2.0));
    for (UnitAnimation* member : GroupNumber(0).members) {
        member->workingPointX = member->workingPointY = 0;
    }
    dialog.OnHalf(true);
    EXPECT_EQ(View().AngleSpan(), 180);
    Hold(key::kLeft);
    ExpectSpokes(GroupNumber(0), {0, 45, 90, 135}, std::sqrt(2.0));
    // Right pushes inward: the same spokes backwards.
    dialog.OnHalf(false);
    hub.HandOver(ToolWindow::OriginPoint, Feed::Main, HandOver(4, &source));
    ASSERT_EQ(View().GetMode(), Mode::Reverse);
    Hold(key::kRight);
    ExpectSpokes(GroupNumber(1), {0, 120, 240}, -std::sqrt(2.0));
}

TEST_F(OriginPointTest, ThreeRadialMovesAtAngleZeroGiveOneTwoFourUntilTheGroupsAreReplaced) {
    Compress({1, 1});
    Group({2});
    Open();
    dialog.OnModeSelected(static_cast<int>(Mode::Reverse));
    const UnitAnimation& member = *GroupNumber(0).members.front();
    const Point expected[] = {{0, 1}, {0, 2}, {0, 4}};
    for (const Point& point : expected) {
        Hold(key::kLeft);
        EXPECT_EQ((Point{member.pointX[0], member.pointY[0]}), point);
    }
    EXPECT_GT(member.workingPointX, 0.0f);
    EXPECT_LT(member.workingPointX, 0.00001f);
    EXPECT_NEAR(member.workingPointY, 3 * std::sqrt(2.0), 1e-5);
    EXPECT_TRUE(unit.IsModified());
    // Replaced groups are looked up again, and Reverse is left.
    unit.RebuildGroups(std::vector<std::int32_t>{1, 1}); // the old group is freed
    EXPECT_EQ(View().GetMode(), Mode::Total);
    EXPECT_EQ(dialog.MemberCount(), 1);
    dialog.OnModeSelected(static_cast<int>(Mode::Group));
    Hold(key::kLeft);
    EXPECT_EQ(GroupNumber(0).pointX[0], 1);
    // A new animation list: the window lets go and draws nothing.
    Compress({1});
    dialog.Tick();
    EXPECT_EQ(Canvas().At(200, 150), 0);
    Hold(key::kLeft);
    EXPECT_FALSE(unit.IsModified());
}

TEST_F(OriginPointTest, EnteringReverseFoldsTheGroupPointIntoEachMemberAndIsSafeToRepeat) {
    Compress({1, 1, 1});
    Group({2});
    UnitGroup& group = GroupNumber(0);
    group.pointX[3] = 5;
    group.pointY[3] = -7;
    group.pointX[0] = 100;
    SetPoint(0, 3, {1, 2});
    SetPoint(1, 3, {30, 40});
    SetPoint(1, 0, {11, -12});
    Open();
    Down('3');
    dialog.OnModeSelected(static_cast<int>(Mode::Reverse));
    EXPECT_EQ(View().GetMode(), Mode::Reverse);
    EXPECT_EQ(PointOf(0, 3), (Point{6, -5}));
    EXPECT_EQ(PointOf(1, 3), (Point{35, 33}));
    EXPECT_EQ((Point{group.pointX[3], group.pointY[3]}), (Point{0, 0}));
    EXPECT_EQ(group.pointX[0], 100); // only the edited point folds
    EXPECT_EQ(dialog.CoordinatesText(), "6,-5");
    // The working points start at the members' origins, so the first move keeps them.
    EXPECT_EQ((std::pair{At(1).workingPointX, At(1).workingPointY}), std::pair(11.0f, -12.0f));
    EXPECT_TRUE(unit.IsModified());
    // Again: nothing changes.
    dialog.OnModeSelected(static_cast<int>(Mode::Total));
    dialog.OnModeSelected(static_cast<int>(Mode::Reverse));
    EXPECT_EQ(PointOf(0, 3), (Point{6, -5}));
    EXPECT_EQ(PointOf(1, 3), (Point{35, 33}));
}

TEST_F(OriginPointTest, ReverseStartsAgainWhenTheMainGroupChanges) {
    Compress({1, 1, 1, 1});
    Group({2, 2});
    GroupNumber(1).pointX[0] = 8;
    At(2).pointX[0] = 1;
    Open(1);
    dialog.OnModeSelected(static_cast<int>(Mode::Reverse));
    Down(key::kPageDown);
    EXPECT_EQ(View().GetMode(), Mode::Reverse);
    EXPECT_EQ((std::vector<int>{At(2).pointX[0], At(3).pointX[0], GroupNumber(1).pointX[0]}),
              (std::vector{9, 8, 0}));
    EXPECT_EQ(At(2).workingPointX, 9.0f);
    // Reverse draws every member's first frame at its own origin, the first member on top.
    PlaceAtOrigin();
    dialog.Tick();
    EXPECT_EQ(Canvas().At(200 - 9 + 1, 150 + 1), ReferenceFrame(2, 0)[kWidth + 1]);
    EXPECT_EQ(Canvas().At(200 - 8 + 9, 150 + 1), ReferenceFrame(3, 0)[kWidth + 9]);
    EXPECT_EQ(Canvas().At(3, 150), CAniPointView::kCrosshairColour);
}

TEST_F(OriginPointTest, GroupAndReverseNeedAGroupThatIsFound) {
    Compress({1, 1, 1});
    Group({1});
    At(2).groupIndex = 5; // names a group the unit does not have
    Open(1);
    for (const Mode mode : {Mode::Group, Mode::Reverse}) {
        dialog.OnModeSelected(static_cast<int>(mode));
        EXPECT_EQ(View().GetMode(), Mode::Total);
    }
    EXPECT_EQ(dialog.GroupIndex(), -1);
    dialog.OnMainNumber(2);
    dialog.OnModeSelected(static_cast<int>(Mode::Group));
    EXPECT_EQ(View().GetMode(), Mode::Total);
    EXPECT_EQ(dialog.GroupIndex(), -1);
    // In Group mode a Page key to an animation without a group moves the common point.
    dialog.OnMainNumber(0);
    dialog.OnModeSelected(static_cast<int>(Mode::Group));
    EXPECT_EQ(View().GetMode(), Mode::Group);
    EXPECT_EQ(dialog.GroupIndex(), 0);
    EXPECT_EQ(dialog.MemberCount(), 1);
    Down(key::kPageDown);
    EXPECT_EQ(View().GetMode(), Mode::Total);
    EXPECT_EQ(dialog.ModeIndex(), 0);
    Hold(key::kLeft);
    EXPECT_EQ(unit.Data().unitPointX[0], 1);
    EXPECT_EQ(GroupNumber(0).pointX[0], 0);
}

TEST_F(OriginPointTest, AnEmptyGroupHasNoFirstMemberToRead) {
    Compress({1});
    UnitGroup& empty = unit.Data().AddGroup(); // a file may hold one
    empty.pointX[0] = 4;
    At(0).groupIndex = 0;
    Open();
    dialog.OnModeSelected(static_cast<int>(Mode::Reverse));
    EXPECT_EQ(View().GetMode(), Mode::Reverse);
    EXPECT_EQ(dialog.MemberCount(), 0);
    EXPECT_EQ(dialog.CoordinatesText(), "0,0");
    Hold(key::kLeft);
    EXPECT_EQ(Canvas().At(200, 10), CAniPointView::kCrosshairColour);
    EXPECT_EQ(Canvas().At(10, 10), 0);
}

TEST_F(OriginPointTest, ThePictureLiesWithTheEditedPointUnderTheCrosshairAndPlays) {
    Compress({2});
    PlaceAtOrigin();
    unit.Data().unitPointX[0] = 3;
    unit.Data().unitPointY[0] = 2;
    Open();
    dialog.Tick();
    EXPECT_EQ(Canvas().At(197 + 4, 148 + 5), ReferenceFrame(0, 0)[5 * kWidth + 4]);
    EXPECT_EQ(Canvas().At(200, 20), CAniPointView::kCrosshairColour);
    EXPECT_EQ(Canvas().At(20, 150), CAniPointView::kCrosshairColour);
    EXPECT_EQ(View().CurrentFrame(), 1);
    dialog.Tick();
    EXPECT_EQ(Canvas().At(197 + 4, 148 + 5), ReferenceFrame(0, 1)[5 * kWidth + 4]);
    EXPECT_EQ(View().CurrentFrame(), 0);
}

TEST_F(OriginPointTest, PageHomeEndAndTheNumberBoxesKeepTheOpenWindowsInStep) {
    Compress({1, 1, 1, 1});
    RecordingToolWindow player(hub, ToolWindow::Animation);
    RecordingToolWindow checkBox(hub, ToolWindow::CheckBox);
    player.Open();
    checkBox.Open();
    Open(1);
    Down('6');
    Down(key::kPageDown);
    // The point is kept by the Page keys.
    EXPECT_EQ((std::pair{View().Main().Position(), View().PointIndex()}), std::pair(2, 6));
    EXPECT_EQ(dialog.MainNumberText(), "2");
    ASSERT_EQ(checkBox.taken.size(), 1u);
    EXPECT_EQ(checkBox.taken.back().animation, &At(2));
    EXPECT_EQ(checkBox.taken.back().source, &source);
    EXPECT_EQ(player.Held(), &At(2));
    EXPECT_EQ(player.points.back(), 6);
    // At the end of the list nothing moves.
    Down(key::kPageDown);
    Down(key::kPageDown);
    EXPECT_EQ(View().Main().Position(), 3);
    // The number box: the animation with that save index; the point starts at 0.
    dialog.OnMainNumber(0);
    EXPECT_EQ((std::pair{View().Main().Position(), View().PointIndex()}), std::pair(0, 0));
    EXPECT_EQ(checkBox.Held(), &At(0));
    EXPECT_EQ(player.points.back(), 0);
    // Numbers that name no animation change nothing, however far off.
    const std::size_t handOvers = checkBox.taken.size();
    for (const long long number : {-1LL, 4LL, 4294967295LL, -2147483649LL}) {
        dialog.OnMainNumber(number);
        EXPECT_EQ(View().Main().Position(), 0) << number;
    }
    EXPECT_EQ(checkBox.taken.size(), handOvers);

    // Home, End and the back number walk the back animation; without one they do nothing.
    Down(key::kEnd);
    dialog.OnBackNumber(1);
    EXPECT_EQ(player.Held(Feed::Back), nullptr);
    hub.HandOver(ToolWindow::OriginPoint, Feed::Back, HandOver(1, &source));
    EXPECT_EQ(dialog.BackNumberText(), "1");
    Down(key::kEnd);
    EXPECT_EQ(View().Back().Position(), 2);
    EXPECT_EQ(player.Held(Feed::Back), &At(2));
    EXPECT_EQ(hub.SourceOf(ToolWindow::Animation, Feed::Back), &source);
    Down('4');
    dialog.OnBackNumber(0);
    EXPECT_EQ(player.Held(Feed::Back), &At(0));
    EXPECT_EQ(View().Back().Position(), 2); // Home and End still walk from here
    EXPECT_EQ(View().PointIndex(), 0);
    Down(key::kHome);
    EXPECT_EQ(View().Back().Position(), 1);
}

TEST_F(OriginPointTest, BuildingModeMovesTheBuildingPointsAndDropsAFreedRecord) {
    Compress({1});
    CFenwoldDoc building(platform.Get());
    building.SetRecord(MakeBuildingRecord(std::vector<Pixel555>(16 * 8, 0x7C00),
                                          std::vector<std::uint8_t>(16 * 8, 255), 16, 8, 0, 0, 16,
                                          8));
    building.Record()->pointX[0] = 32767;
    building.Record()->pointY[0] = 2;
    RecordingToolWindow player(hub, ToolWindow::Animation);
    player.Open();
    Open();
    hub.HandOver(ToolWindow::OriginPoint, Feed::Back, HandOver(0));
    hub.HandOverBuilding(ToolWindow::OriginPoint, {&building, nullptr});
    EXPECT_TRUE(View().BuildingMode());
    EXPECT_EQ(View().Main().Get(), nullptr);
    EXPECT_EQ(View().Back().Get(), nullptr);
    player.points.clear();
    Hold(key::kLeft);
    Down('1');
    Down(key::kPageDown);
    EXPECT_EQ(building.Record()->pointX[0], -32768);
    EXPECT_TRUE(building.IsModified());
    EXPECT_FALSE(unit.IsModified());
    EXPECT_TRUE(player.points.empty()); // the animation window is not told building points
    EXPECT_EQ(player.redraws, 0);
    Down('0');
    building.Record()->pointX[0] = 4;
    dialog.Tick();
    // The picture's top-left at (200 - 4, 150 - 2).
    EXPECT_EQ(Canvas().At(196, 148), 0x7C00);
    EXPECT_EQ(Canvas().At(195, 148), 0);
    // "Open Building" frees the record: nothing but the crosshair until the next hand-over.
    building.FreeBuildingRecord();
    Hold(key::kLeft);
    EXPECT_EQ(Canvas().At(196, 149), 0);
    EXPECT_EQ(Canvas().At(200, 149), CAniPointView::kCrosshairColour);
    EXPECT_EQ(dialog.CoordinatesText(), "0,0");
    // A unit animation ends building mode.
    hub.HandOver(ToolWindow::OriginPoint, Feed::Main, HandOver(0));
    EXPECT_FALSE(View().BuildingMode());
}

} // namespace
} // namespace fenwold
