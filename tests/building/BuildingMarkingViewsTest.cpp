#include "building/CFenwoldDoc.h"
#include "building/CRootOfFloatView.h"
#include "building/CSetAttribView1.h"
#include "building/CSetAttribView2.h"
#include "platform/ScriptedPlatform.h"
#include "platform/VirtualKeys.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>

namespace fenwold {
namespace {

// Colours with distinct channels, so that a channel mix-up shows.
constexpr Pixel555 kPicture = 0x4200; // red 16, green 16, blue 0
constexpr Pixel555 kTeam = 0x0015;    // table 0, entry 5: blue 21
constexpr Pixel555 kBlue = 0x001F;
constexpr Pixel555 kGreen = 0x03E0;
constexpr Pixel555 kRed = 0x7C00;
// 100/255 of red over 155/255 of the pixel, in 8-bit channels (5-bit channel x 4).
constexpr Pixel555 kTintedBlue = (12 << 10) | 18;
constexpr Pixel555 kTintedPicture = (21 << 10) | (9 << 5);

class BuildingMarkingViews : public ::testing::Test {
protected:
    BuildingMarkingViews() : doc(platform.Get()) { doc.Colours().tables[0][5] = kTeam; }

    // A saved building of whole tiles in one colour; the pixel at (10, 10) takes team entry 5.
    BuildingRecord& MakeBuilding(int columns, int rows) {
        const int width = columns * kTileSize;
        const int height = rows * kTileSize;
        const auto count = static_cast<std::size_t>(width * height);
        BuildingRecord record = MakeBuildingRecord(std::vector<Pixel555>(count, kPicture),
                                                   std::vector<std::uint8_t>(count, 248), width,
                                                   height, 0, 0, width, height);
        record.teamIndex.assign(count, 0);
        record.teamMask.assign(count, 0);
        record.teamIndex[10 * width + 10] = 5;
        record.teamMask[10 * width + 10] = 255;
        record.teamIndicesComputed = 1;
        doc.SetRecord(std::move(record));
        doc.SetModifiedFlag(false);
        return *doc.Record();
    }

    static Pixel555 At(const BuildingViewPicture& shown, int x, int y) {
        return shown.pixels.at(static_cast<std::size_t>(y * shown.width + x));
    }

    ScriptedPlatform platform;
    CFenwoldDoc doc;
};

// One timer period of the "Build" tab: the keys go down ('L', 'R', 'U', 'D' arrows, '^' Control
// held for this tick only), then the tick. Arrows get no key-up: the tick lets go of them.
void PressForTick(CSetAttribView2& view, std::string_view keys) {
    for (const char c : keys) {
        view.OnKeyDown(c == 'L'   ? key::kLeft
                       : c == 'R' ? key::kRight
                       : c == 'U' ? key::kUp
                       : c == 'D' ? key::kDown
                                  : key::kControl);
    }
    view.Tick();
    if (keys.find('^') != std::string_view::npos) {
        view.OnKeyUp(key::kControl);
    }
}

struct AreaCase {
    const char* name;
    std::vector<std::string_view> ticks;
    std::array<std::int32_t, 4> area;
};

class BuildingAreaSteps : public BuildingMarkingViews,
                          public ::testing::WithParamInterface<AreaCase> {};

TEST_P(BuildingAreaSteps, OnAThreeByTwoBuilding) {
    MakeBuilding(3, 2);
    CSetAttribView2 view(doc);
    for (const std::string_view keys : GetParam().ticks) {
        PressForTick(view, keys);
    }
    EXPECT_EQ(doc.Record()->area, GetParam().area);
    EXPECT_TRUE(doc.IsModified());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BuildingAreaSteps,
    ::testing::Values(AreaCase{"LeftStaysAtZero", {"L"}, {0, 0, 3, 2}},
                      AreaCase{"RightMovesTheLeftColumn", {"R"}, {1, 0, 3, 2}},
                      AreaCase{"ArrowsAreLetGoAfterEachTick", {"R", "", ""}, {1, 0, 3, 2}},
                      AreaCase{
                          "ControlLeftStopsAtTheLeftColumn", {"R", "^L", "^L", "^L"}, {1, 0, 1, 2}},
                      AreaCase{"ControlRightStopsAtTheTileColumns", {"^R"}, {0, 0, 3, 2}},
                      AreaCase{"DownStopsAtTheBottomRow", {"D", "D", "D"}, {0, 2, 3, 2}},
                      AreaCase{"ControlUpStopsAtTheTopRow", {"^U", "^U", "^U"}, {0, 0, 3, 0}},
                      AreaCase{"LeftIsAppliedBeforeRight", {"LR"}, {1, 0, 3, 2}},
                      AreaCase{"ControlLeftIsAppliedBeforeRight", {"^LR"}, {0, 0, 3, 2}},
                      AreaCase{"UpIsAppliedBeforeDown", {"UD"}, {0, 1, 3, 2}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BuildingMarkingViews, BuildTabKeysMarkTheBuildingAndControlStaysUntilKeyUpOrFocusLoss) {
    MakeBuilding(3, 2);
    CSetAttribView2 view(doc);
    EXPECT_EQ(view.TimerMilliseconds(), 50);
    for (const int key : {key::kEscape, int{'A'}, key::kShift}) {
        doc.SetModifiedFlag(false);
        view.OnKeyDown(key);
        EXPECT_TRUE(doc.IsModified()) << key;
    }
    view.OnKeyDown(key::kControl);
    PressForTick(view, "L");
    PressForTick(view, "L");
    EXPECT_EQ(doc.Record()->area, (std::array<std::int32_t, 4>{0, 0, 1, 2}));
    // Focus leaves with Control and an arrow down: neither is held when it comes back.
    view.OnKeyDown(key::kLeft);
    view.OnFocusLost();
    EXPECT_TRUE(view.Picture().Empty());
    view.Tick();
    EXPECT_EQ(doc.Record()->area, (std::array<std::int32_t, 4>{0, 0, 1, 2}));
    PressForTick(view, "R");
    EXPECT_EQ(doc.Record()->area, (std::array<std::int32_t, 4>{1, 0, 1, 2}));
}

TEST_F(BuildingMarkingViews, BuildTabDrawsFromItsTimerTheTileOutlinesAndTheAreaTintedRed) {
    MakeBuilding(3, 2);
    CSetAttribView2 view(doc);
    EXPECT_TRUE(view.Picture().Empty());
    PressForTick(view, "R"); // area (1, 0, 3, 2): pixels 32 to 95
    const BuildingViewPicture& shown = view.Picture();
    ASSERT_EQ(shown.width, 96);
    ASSERT_EQ(shown.height, 64);
    ASSERT_EQ(shown.pixels.size(), 96u * 64u);
    EXPECT_EQ(At(shown, 10, 10), kTeam);
    EXPECT_EQ(At(shown, 20, 20), kPicture);
    EXPECT_EQ(At(shown, 31, 5), kBlue);
    EXPECT_EQ(At(shown, 0, 0), kBlue);
    EXPECT_EQ(At(shown, 32, 5), kTintedBlue);
    EXPECT_EQ(At(shown, 40, 31), kTintedBlue);
    EXPECT_EQ(At(shown, 40, 20), kTintedPicture);
    EXPECT_EQ(At(shown, 95, 63), kTintedBlue);
}

struct ClashClick {
    int x, y;
    int row, column; // -1: outside the picture
};

class ClashClicks : public BuildingMarkingViews,
                    public ::testing::WithParamInterface<ClashClick> {};

TEST_P(ClashClicks, ToggleTheCellUnderTheMouseOnlyInsideThePicture) {
    MakeBuilding(3, 2); // 96 x 64: 6 x 4 cells
    CSetAttribView1 view(doc);
    const ClashClick click = GetParam();
    view.OnLeftButtonDown(click.x, click.y);
    int set = 0;
    for (const auto& row : doc.Record()->clash) {
        set += static_cast<int>(std::count(row.begin(), row.end(), 1));
    }
    if (click.row < 0) {
        EXPECT_EQ(set, 0);
        EXPECT_FALSE(doc.IsModified());
        return;
    }
    EXPECT_EQ(set, 1);
    EXPECT_EQ(doc.Record()->clash[click.row][click.column], 1);
    EXPECT_TRUE(doc.IsModified());
    doc.SetModifiedFlag(false);
    view.OnLeftButtonDown(click.x, click.y);
    EXPECT_EQ(doc.Record()->clash[click.row][click.column], 0);
    EXPECT_TRUE(doc.IsModified());
}

INSTANTIATE_TEST_SUITE_P(Cases, ClashClicks,
                         ::testing::Values(ClashClick{95, 63, 3, 5}, ClashClick{0, 0, 0, 0},
                                           ClashClick{16, 15, 0, 1}, ClashClick{96, 10, -1, -1},
                                           ClashClick{10, 64, -1, -1}, ClashClick{-1, 10, -1, -1}));

TEST_F(BuildingMarkingViews, ClashTabOutlinesCellsByStateAndTheCellUnderTheMouseInRed) {
    MakeBuilding(3, 2);
    CSetAttribView1 view(doc);
    view.OnLeftButtonDown(20, 20); // row 1, column 1 clashes
    BuildingViewPicture shown = view.Picture();
    ASSERT_EQ(shown.pixels.size(), 96u * 64u);
    EXPECT_EQ(At(shown, 10, 10), kTeam);
    for (const auto& [x, y] : {std::pair{16, 16}, {17, 17}, {31, 31}, {30, 20}}) {
        EXPECT_EQ(At(shown, x, y), kGreen) << x << "," << y;
    }
    for (const auto& [x, y] : {std::pair{0, 0}, {1, 1}, {15, 0}, {14, 14}, {95, 63}}) {
        EXPECT_EQ(At(shown, x, y), kBlue) << x << "," << y;
    }
    EXPECT_EQ(At(shown, 2, 2), kPicture);
    EXPECT_EQ(At(shown, 18, 18), kPicture);

    view.OnMouseMove(40, 5); // row 0, column 2
    shown = view.Picture();
    EXPECT_EQ(At(shown, 32, 0), kRed);
    EXPECT_EQ(At(shown, 46, 14), kRed);
    view.OnMouseMove(47, 15); // the same cell
    EXPECT_EQ(view.Picture().pixels, shown.pixels);
    view.OnMouseMove(200, 5); // outside: the red cell stays
    EXPECT_EQ(view.Picture().pixels, shown.pixels);
    view.OnMouseMove(5, 40); // row 2, column 0
    EXPECT_EQ(At(view.Picture(), 32, 0), kBlue);
    EXPECT_EQ(At(view.Picture(), 0, 32), kRed);
    // A click shows the cell's new state; moving within it keeps that.
    view.OnLeftButtonDown(5, 40);
    view.OnMouseMove(6, 41);
    EXPECT_EQ(At(view.Picture(), 0, 32), kGreen);
}

TEST_F(BuildingMarkingViews, RootOfFloatDrawsBlueTileLinesAndTheRootInRedWithoutTeamColours) {
    MakeBuilding(1, 2).rootOfFloat = 1;
    CRootOfFloatView view(doc);
    const BuildingViewPicture& shown = view.Picture();
    ASSERT_EQ(shown.pixels.size(), 32u * 64u);
    for (const int x : {0, 31}) {
        EXPECT_EQ(At(shown, x, 0), kBlue);
        EXPECT_EQ(At(shown, x, 31), kRed);
        EXPECT_EQ(At(shown, x, 32), kRed);
        EXPECT_EQ(At(shown, x, 63), kBlue);
        for (const int y : {1, 30, 33, 62}) {
            EXPECT_EQ(At(shown, x, y), kPicture) << y;
        }
    }
    EXPECT_EQ(At(shown, 10, 10), kPicture);
}

struct StoredRoot {
    int stored;
    int redRow;
    int key;
    int after;
};

class RootOfFloatArrows : public BuildingMarkingViews,
                          public ::testing::WithParamInterface<StoredRoot> {};

// The root is shown and moved within the tile rows, also from outside them; an arrow marks the
// building even where it cannot move, other keys do not.
TEST_P(RootOfFloatArrows, ShowAndMoveTheRootWithinTheTileRows) {
    BuildingRecord& record = MakeBuilding(1, 2);
    record.rootOfFloat = GetParam().stored;
    CRootOfFloatView view(doc);
    const BuildingViewPicture& shown = view.Picture();
    ASSERT_EQ(shown.pixels.size(), 32u * 64u);
    EXPECT_EQ(At(shown, 5, GetParam().redRow), kRed);
    view.OnKeyDown('A');
    EXPECT_FALSE(doc.IsModified());
    view.OnKeyDown(GetParam().key);
    EXPECT_EQ(record.rootOfFloat, GetParam().after);
    EXPECT_TRUE(doc.IsModified());
}

INSTANTIATE_TEST_SUITE_P(Cases, RootOfFloatArrows,
                         ::testing::Values(StoredRoot{0, 0, key::kUp, 0},
                                           StoredRoot{2, 63, key::kDown, 2},
                                           StoredRoot{7, 63, key::kUp, 1},
                                           StoredRoot{-3, 0, key::kDown, 1},
                                           StoredRoot{1000000, 63, key::kDown, 2}));

TEST_F(BuildingMarkingViews, WithoutARecordNothingHappensAndNothingIsShown) {
    CSetAttribView1 clash(doc);
    CSetAttribView2 area(doc);
    CRootOfFloatView root(doc);
    const auto exercise = [&] {
        for (BuildingTabView* view :
             std::initializer_list<BuildingTabView*>{&clash, &area, &root}) {
            view->OnFocusGained();
            view->OnKeyDown(key::kControl);
            view->OnKeyDown(key::kDown);
            view->OnMouseMove(5, 5);
            view->OnLeftButtonDown(5, 5);
            view->Tick();
            EXPECT_TRUE(view->Picture().Empty());
        }
        EXPECT_FALSE(doc.IsModified());
    };
    exercise();
    // A record freed while the views showed it, as "Open Building" does first.
    MakeBuilding(3, 2);
    area.Tick();
    clash.OnMouseMove(5, 5);
    clash.OnLeftButtonDown(5, 5); // cell (0, 0) seen, no longer red
    ASSERT_FALSE(area.Picture().Empty());
    doc.FreeBuildingRecord();
    doc.SetModifiedFlag(false);
    exercise();
    // The record in its place starts with no cell seen: the mouse in cell (0, 0) marks it.
    MakeBuilding(1, 1);
    clash.OnMouseMove(5, 5);
    const BuildingViewPicture& shown = clash.Picture();
    ASSERT_EQ(shown.pixels.size(), 32u * 32u);
    EXPECT_EQ(At(shown, 0, 0), kRed);
}

} // namespace
} // namespace fenwold
