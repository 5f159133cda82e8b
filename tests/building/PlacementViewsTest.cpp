#include "building/CAniPositionView.h"
#include "building/CFenwoldDoc.h"
#include "building/CFirePotView.h"
#include "platform/ScriptedPlatform.h"
#include "platform/VirtualKeys.h"
#include "support/TempFolder.h"
#include "unit/RegistrationFixtures.h"
#include "unit/UnitDoc.h"
#include "unittools/ToolHub.h"
#include "vq/VqFixtures.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

namespace fenwold {
namespace {

constexpr Pixel555 kBlue = 0x001F;
constexpr Pixel555 kRed = 0x7C00;
constexpr Pixel555 kGreen = 0x03E0;
constexpr Pixel555 kYellow = 0x7FE0;
constexpr int kFrameWidth = 10; // the animations' first column is transparent
constexpr int kFrameHeight = 8;

// The colour of an animation's second frame.
constexpr Pixel555 Second(Pixel555 colour) {
    return static_cast<Pixel555>(colour | 0x0010);
}

// Within 3 steps in every 5-bit channel: a frame blended in at weight 31 of 32 over the blue
// picture.
bool Near(Pixel555 pixel, Pixel555 colour) {
    for (const int shift : {0, 5, 10}) {
        if (std::abs(((pixel >> shift) & 31) - ((colour >> shift) & 31)) > 3) {
            return false;
        }
    }
    return true;
}

// The tool hub's "&Fire Setting" needs a view to name the source.
struct FireSettingView final : ToolSource {};

// A blue 64 x 32 building, the tool hub, and a unit whose animations can become the fire
// animation source.
class PlacementViews : public ::testing::Test {
protected:
    PlacementViews()
        : platform(folder.path()), building(platform.Get()),
          unit(std::make_unique<CUnitDoc>(platform.Get())) {
        building.SetRecord(BlueRecord());
        building.SetModifiedFlag(false);
    }

    static BuildingRecord BlueRecord() {
        return MakeBuildingRecord(std::vector<Pixel555>(64 * 32, kBlue),
                                  std::vector<std::uint8_t>(64 * 32, 255), 64, 32, 0, 0, 64, 32);
    }
    // Per colour an opaque 10 x 8 animation of two solid frames, the colour and Second(colour),
    // each with a transparent first column.
    static void Compress(CompressionResultSink& document, std::initializer_list<Pixel555> colours) {
        RegisteredAnimations list;
        for (const Pixel555 colour : colours) {
            std::vector<test::TinyFrame> frames;
            for (const Pixel555 frameColour : {colour, Second(colour)}) {
                test::TinyFrame& frame = frames.emplace_back(
                    test::SolidFrame(kFrameWidth, kFrameHeight, frameColour, 255));
                for (int y = 0; y < kFrameHeight; ++y) {
                    frame.alpha[static_cast<std::size_t>(y * kFrameWidth)] = 0;
                }
            }
            list.push_back(test::MakeAnimation(kFrameWidth, kFrameHeight, frames));
            list.back().sequenceLength = 2;
        }
        CompressionParameters parameters;
        parameters.noLbg = true;
        test::CompressInto(document, list, parameters);
    }
    void SetFireSource() { hub.SetFireSource(*unit, fireSettingView); }

    static void Ticks(BuildingTabView& view, int count) {
        for (int tick = 0; tick < count; ++tick) {
            view.Tick();
        }
    }
    static void Press(BuildingTabView& view, std::initializer_list<int> keys) {
        for (const int key : keys) {
            view.OnKeyDown(key);
            view.OnKeyUp(key);
        }
    }
    static Pixel555 At(BuildingTabView& view, int x, int y) {
        const BuildingViewPicture& picture = view.Picture();
        EXPECT_EQ(picture.width, 64);
        return picture.pixels.at(static_cast<std::size_t>(y * picture.width + x));
    }
    BuildingRecord& Record() { return *building.Record(); }

    test::TempFolder folder;
    ScriptedPlatform platform;
    CFenwoldDoc building;
    std::unique_ptr<CUnitDoc> unit;
    ToolHub hub;
    FireSettingView fireSettingView;
};

// --- "Set position" -------------------------------------------------------------------------

class AnimationPositionView : public PlacementViews {
protected:
    AnimationPositionView() { view.OnFocusGained(); }
    std::array<std::int32_t, 2>& Position(int n) {
        return Record().animationPositions[static_cast<std::size_t>(n)];
    }
    CAniPositionView view{building};
};

TEST_F(AnimationPositionView, HeldArrowsMoveOnEveryStepMarkTheBuildingAndLetGoOnFocusLoss) {
    Compress(building, {kRed});
    building.SetModifiedFlag(false);
    Position(0) = {4, 2};
    view.Tick();
    EXPECT_FALSE(building.IsModified()) << "showing the animation is no edit";
    view.OnKeyDown(key::kControl);
    view.OnKeyDown(key::kRight);
    Ticks(view, 3);
    EXPECT_EQ(Position(0), (std::array<std::int32_t, 2>{34, 2}));
    EXPECT_TRUE(building.IsModified());
    view.OnKeyUp(key::kControl);
    view.OnKeyDown(key::kUp);
    view.Tick();
    EXPECT_EQ(Position(0), (std::array<std::int32_t, 2>{35, 1}));
    // Drawn at the new place: its transparent first column leaves the picture.
    EXPECT_EQ(At(view, 35, 4), kBlue);
    EXPECT_TRUE(Near(At(view, 36, 1), Second(kRed)));
    EXPECT_TRUE(Near(At(view, 44, 8), Second(kRed)));
    EXPECT_EQ(At(view, 40, 9), kBlue);

    view.OnFocusLost();
    view.OnFocusGained();
    Ticks(view, 2);
    EXPECT_EQ(Position(0), (std::array<std::int32_t, 2>{35, 1})) << "no key stays held";
}

// At speed s a step (the key moves and one frame) comes on every s-th tick, on every tick at 0
// and 1.
class AnimationPositionPace : public AnimationPositionView,
                              public ::testing::WithParamInterface<int> {};

TEST_P(AnimationPositionPace, StepsOnEverySthTick) {
    const int speed = GetParam();
    Compress(building, {kRed});
    view.OnKeyDown(key::kEnd);
    while (view.Speed() < speed) {
        view.Tick();
    }
    view.OnKeyUp(key::kEnd);
    ASSERT_EQ(view.Speed(), speed);
    view.OnKeyDown(key::kRight);
    const int start = Position(0)[0];
    for (int tick = 1; tick <= 12; ++tick) {
        view.Tick();
        EXPECT_EQ(Position(0)[0] - start, tick / std::max(speed, 1)) << "tick " << tick;
    }
}

INSTANTIATE_TEST_SUITE_P(Speeds, AnimationPositionPace, ::testing::Values(0, 1, 2, 3, 5));

TEST_F(AnimationPositionView, EndSpacesTheStepsAndHomeStopsAtZero) {
    view.OnKeyDown(key::kEnd);
    std::vector<int> speeds;
    for (int tick = 0; tick < 6; ++tick) {
        view.Tick();
        speeds.push_back(view.Speed());
    }
    // Steps at ticks 1, 2 and 4 (counter against speeds 0, 1 and 2), then speed 3 waits.
    EXPECT_EQ(speeds, (std::vector<int>{1, 2, 2, 3, 3, 3}));
    view.OnKeyUp(key::kEnd);
    view.OnKeyDown(key::kHome);
    Ticks(view, 40);
    EXPECT_EQ(view.Speed(), 0);
}

TEST_F(AnimationPositionView, PageKeysStayWithinTheListAndShowTheChosenAnimationAtItsPlace) {
    Compress(building, {kRed, kGreen, kYellow});
    for (int n = 0; n < 3; ++n) {
        Position(n) = {20 * n, 0};
    }
    building.SetModifiedFlag(false);
    Press(view, {key::kPageUp});
    EXPECT_EQ(view.AnimationIndex(), 0);
    Press(view, {key::kPageDown, key::kPageDown, key::kPageDown, key::kPageDown});
    EXPECT_EQ(view.AnimationIndex(), 2);
    view.Tick();
    EXPECT_EQ(At(view, 5, 4), kBlue);
    EXPECT_EQ(At(view, 25, 4), kBlue);
    EXPECT_TRUE(Near(At(view, 45, 4), Second(kYellow))) << "the second frame first";
    view.Tick();
    EXPECT_TRUE(Near(At(view, 45, 4), kYellow)) << "back to the first after the last";
    Press(view, {key::kPageUp});
    EXPECT_EQ(view.AnimationIndex(), 1);
    view.OnFocusGained();
    EXPECT_EQ(view.AnimationIndex(), 0) << "the focus starts again from the first";
    EXPECT_FALSE(building.IsModified());
}

TEST_F(AnimationPositionView, RegisteredAnimationsPlayUntilCompressedOnesExistAndStopAt199) {
    RegisteredAnimations registered;
    for (int n = 0; n < 205; ++n) {
        registered.push_back(test::SolidAnimation(2, 2, 1, n == 199 ? kGreen : kRed));
    }
    building.SetRegisteredAnimations(&registered);
    for (int n = 0; n < 250; ++n) {
        Press(view, {key::kPageDown});
    }
    EXPECT_EQ(view.AnimationIndex(), 199);
    Position(199) = {7, 3};
    view.Tick();
    EXPECT_TRUE(Near(At(view, 8, 3), kGreen));
    EXPECT_EQ(At(view, 7, 3), kBlue);

    // Compressed animations take over; an index past their list draws nothing, Page Up comes back.
    Compress(building, {kRed, kYellow});
    view.Tick();
    EXPECT_EQ(At(view, 8, 3), kBlue);
    Press(view, {key::kPageUp});
    EXPECT_EQ(view.AnimationIndex(), 1);
    Position(1) = {7, 3};
    view.Tick();
    EXPECT_TRUE(Near(At(view, 8, 3), Second(kYellow)));
}

TEST_F(AnimationPositionView, ARecordFreedOrReplacedUnderTheViewIsLookedUpAgain) {
    Compress(building, {kRed});
    view.OnKeyDown(key::kRight);
    view.Tick();
    building.FreeBuildingRecord();
    Press(view, {key::kPageDown, key::kPageUp});
    view.Tick();
    EXPECT_TRUE(view.Picture().Empty());
    building.SetRecord(BlueRecord());
    view.Tick();
    EXPECT_EQ(Position(0)[0], 1) << "the new record's pair moves";
    EXPECT_FALSE(view.Picture().Empty());
}

// Insert and Delete zoom the position tab, A and Z the fire point tab: halved down to 1,
// doubled up to 16.
TEST_F(PlacementViews, ZoomKeysHalveAndDoubleWithinOneAndSixteen) {
    CAniPositionView position(building);
    CFirePotView fire(building, hub.FireSource());
    struct Case {
        BuildingTabView& view;
        int out;
        int in;
    };
    for (const Case& c : {Case{position, key::kInsert, key::kDelete}, Case{fire, 'A', 'Z'}}) {
        Press(c.view, {c.out});
        EXPECT_EQ(c.view.Picture().zoom, 1);
        Press(c.view, {c.in, c.in, c.in});
        EXPECT_EQ(c.view.Picture().zoom, 8);
        Press(c.view, {c.in, c.in});
        EXPECT_EQ(c.view.Picture().zoom, 16);
        Press(c.view, {c.out, c.out});
        EXPECT_EQ(c.view.Picture().zoom, 4);
    }
    Press(fire, {97, 122}); // keypad 1 and F11
    EXPECT_EQ(fire.Zoom(), 4);
}

// --- "Fire point" ---------------------------------------------------------------------------

class FirePointView : public PlacementViews {
protected:
    FirePointView() {
        Compress(*unit, {kRed, kGreen, kYellow});
        SetFireSource();
        view.OnFocusGained();
    }
    CFirePotView view{building, hub.FireSource()};
};

TEST_F(FirePointView, GroupPointAndFlagKeysRetitleAndTheFlagMarksTheBuilding) {
    Press(view, {'2', key::kKeypadPlus, key::kKeypadPlus});
    EXPECT_EQ(building.Title(), "Build - Set Fire Point - 2/1 - \"Noname.Bpt\"");
    EXPECT_FALSE(building.IsModified());
    Press(view, {'M'});
    EXPECT_EQ(Record().fireFlag[5], 1);
    EXPECT_EQ(building.Title(), "Build - Set Fire Point - 2/1M - \"Noname.Bpt\"");
    EXPECT_TRUE(building.IsModified());
    Press(view, {key::kKeypadPlus});
    EXPECT_EQ(view.PointIndex(), 2);
    Press(view, {'M', key::kKeypadMinus, key::kKeypadMinus, key::kKeypadMinus, '3'});
    EXPECT_EQ(Record().fireFlag[5], 0);
    EXPECT_EQ(building.Title(), "Build - Set Fire Point - 0/2 - \"Noname.Bpt\"");
}

TEST_F(FirePointView, APointMovedLeftPastZeroWrapsAndIsDrawnAtMinusOne) {
    Record().fireY[0] = 4;
    Record().fireAnimation[1] = Record().fireAnimation[2] = 3; // past the list: not drawn
    view.OnKeyDown(key::kLeft);
    view.Tick();
    view.OnKeyUp(key::kLeft);
    EXPECT_EQ(Record().fireX[0], 65535);
    EXPECT_TRUE(building.IsModified());
    // Frame columns 1 to 9 (column 0 is transparent) land on picture columns 0 to 8.
    EXPECT_TRUE(Near(At(view, 0, 4), Second(kRed)));
    EXPECT_TRUE(Near(At(view, 8, 11), Second(kRed)));
    EXPECT_EQ(At(view, 9, 4), kBlue);
    EXPECT_EQ(At(view, 0, 3), kBlue);
    view.OnKeyDown(key::kControl);
    view.OnKeyDown(key::kUp);
    view.Tick();
    EXPECT_EQ(Record().fireY[0], 65530);
    EXPECT_TRUE(Near(At(view, 0, 1), kRed)) << "rows 6 and 7 of the first frame";
    EXPECT_EQ(At(view, 0, 2), kBlue);
}

TEST_F(FirePointView, EachSlotShowsTheAnimationItsPointNamesAlsoAfterTheSourceChanges) {
    for (int k = 0; k < 3; ++k) {
        Record().fireX[static_cast<std::size_t>(k)] = static_cast<std::uint16_t>(20 * k);
    }
    Record().fireAnimation[0] = 2;
    Record().fireAnimation[1] = -4; // below 1: the first
    Record().fireAnimation[2] = 1;
    view.Tick(); // a step shows the frame after the current one
    EXPECT_TRUE(Near(At(view, 5, 4), Second(kYellow)));
    EXPECT_TRUE(Near(At(view, 25, 4), Second(kRed)));
    EXPECT_TRUE(Near(At(view, 45, 4), Second(kGreen)));

    // The source unit compresses anew: the hub's generation changes, and each slot starts again
    // from the first frame of the animation its point names.
    Compress(*unit, {kGreen, kYellow, kRed});
    view.Tick();
    EXPECT_TRUE(Near(At(view, 5, 4), Second(kRed)));
    EXPECT_TRUE(Near(At(view, 25, 4), Second(kGreen)));
    EXPECT_TRUE(Near(At(view, 45, 4), Second(kYellow)));
}

TEST_F(FirePointView, PageKeysKeepTheNumberWithinTheSourceList) {
    Press(view, {key::kPageUp});
    EXPECT_EQ(Record().fireAnimation[0], 0);
    EXPECT_FALSE(building.IsModified());
    Press(view, {key::kPageDown, key::kPageDown, key::kPageDown, key::kPageDown});
    EXPECT_EQ(Record().fireAnimation[0], 2);
    EXPECT_TRUE(building.IsModified());
    Record().fireAnimation[0] = 10;
    Press(view, {key::kPageDown});
    EXPECT_EQ(Record().fireAnimation[0], 10);
    Press(view, {key::kPageUp});
    EXPECT_EQ(Record().fireAnimation[0], 2) << "back to the last";
    Press(view, {key::kKeypadPlus, key::kPageDown});
    EXPECT_EQ(Record().fireAnimation[1], 1) << "the chosen point's number";
}

TEST_F(FirePointView, AnEmptySourceOrNoneDrawsNoAnimationAndPageKeysKeepTheNumbers) {
    unit = std::make_unique<CUnitDoc>(platform.Get()); // the source document closes
    view.Tick();
    EXPECT_TRUE(view.Picture().Empty()) << "without a source nothing is drawn";
    SetFireSource(); // a unit without animations
    Press(view, {key::kPageDown});
    EXPECT_EQ(Record().fireAnimation[0], 0);
    view.Tick();
    EXPECT_EQ(view.Picture().pixels, Record().picture);
}

TEST_F(FirePointView, ARecordFreedUnderTheViewIsNeverRead) {
    view.OnKeyDown(key::kRight);
    view.Tick();
    const std::string title = building.Title();
    building.FreeBuildingRecord();
    Press(view, {'2', 'M', key::kKeypadPlus, key::kPageDown, key::kPageUp});
    view.Tick();
    EXPECT_TRUE(view.Picture().Empty());
    EXPECT_EQ(building.Title(), title);
    building.SetRecord(BlueRecord());
    view.Tick();
    EXPECT_EQ(Record().fireX[0], 1) << "the new record's point moves";
}

} // namespace
} // namespace fenwold
