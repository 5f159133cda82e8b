#include "unit/CUnitView.h"
#include "unittools/ToolFixtures.h"
#include "unittools/ToolWindowFixtures.h"

#include <CommandIds.h>
#include <algorithm>

namespace fenwold {
namespace {

using test::ScriptedEditHost;

// The first `count` values of a sequence table.
template <typename Table>
std::vector<int> Slots(const Table& table, std::size_t count) {
    return {table.begin(), table.begin() + static_cast<std::ptrdiff_t>(count)};
}

bool HasText(const RecordingWindowPainter& painter, const std::string& fragment) {
    return std::any_of(painter.calls.begin(), painter.calls.end(), [&](const std::string& call) {
        return call.find(fragment) != std::string::npos;
    });
}

class AnimationEditTest : public test::ToolWindowTest {
protected:
    AnimationEditTest() : dialog(hub, keys) {}

    // Opens the window with the animation at `position` handed over, panes 400 x 200.
    void Open(int position = 0) {
        dialog.OnCreate(host);
        dialog.TopPane()->SetClientSize(400, 200);
        dialog.BottomPane()->SetClientSize(400, 200);
        hub.HandOver(ToolWindow::AnimationEdit, Feed::Main, HandOver(position));
    }
    CAniEditView1& Top() { return *dialog.TopPane(); }
    CAniEditView2& Bottom() { return *dialog.BottomPane(); }
    // A click on frame `frame` of the top pane.
    void ClickFrame(int frame) {
        const GridCell& cell = *Top().Grid().CellOf(0, frame);
        Top().OnMouseMove(cell.x + 1, cell.y + 1, painter);
        dialog.OnTopPaneClick();
    }
    void ClickEntry(int entry, bool shift = false) {
        const GridCell& cell = *Bottom().Grid().CellOf(0, entry);
        Bottom().OnLeftButtonDown(cell.x + 1, cell.y + 1, shift, painter);
    }
    // A sequence of `length` entries: frame numbers 10 + i, delays 100 + i, attributes 200 + i,
    // alpha values 50 + i.
    void FillSequence(UnitAnimation& animation, int length) {
        animation.sequenceLength = length;
        for (int i = 0; i < length; ++i) {
            const auto slot = static_cast<std::size_t>(i);
            animation.frameNumber[slot] = static_cast<std::uint16_t>(10 + i);
            animation.delay[slot] = static_cast<std::uint16_t>(100 + i);
            animation.attribute[slot] = static_cast<std::uint16_t>(200 + i);
            animation.alphaValue[slot] = static_cast<std::uint8_t>(50 + i);
        }
        dialog.Redraw();
    }

    // Opens the window on the first of two-frame animation whose sequence FillSequence numbers.
    UnitAnimation& OpenWithSequence(int length) {
        Compress({2});
        Open();
        FillSequence(At(0), length);
        return At(0);
    }
    // Selects the entries from `first` to `last` with a click and a Shift-click.
    void SelectEntries(int first, int last) {
        ClickEntry(first);
        ClickEntry(last, true);
    }

    CAnimationEditDlg dialog;
    ScriptedEditHost host;
    RecordingWindowPainter painter;
};

TEST_F(AnimationEditTest, ClickingOneFrameThreeTimesAppendsThreeEntriesUpToTwoHundred) {
    Compress({3});
    UnitAnimation& animation = At(0);
    animation.sequenceLength = 0;
    animation.attribute = {7, 8, 9};
    Open();
    for (int click = 0; click < 3; ++click) {
        ClickFrame(1);
    }
    ASSERT_EQ(animation.sequenceLength, 3);
    EXPECT_EQ(Slots(animation.frameNumber, 3), (std::vector{1, 1, 1}));
    EXPECT_EQ(Slots(animation.delay, 3), (std::vector{4, 4, 4}));
    EXPECT_EQ(Slots(animation.alphaValue, 3), (std::vector{255, 255, 255}));
    EXPECT_EQ(Slots(animation.attribute, 3), (std::vector{7, 8, 9})); // the slots keep their values
    EXPECT_TRUE(unit.IsModified());
    EXPECT_EQ(Bottom().Grid().Cells().size(), 3u);
    // The 200th click is the last appended.
    animation.sequenceLength = kMaxSequenceLength - 1;
    ClickFrame(2);
    ClickFrame(0);
    EXPECT_EQ(animation.sequenceLength, kMaxSequenceLength);
    EXPECT_EQ(animation.frameNumber[kMaxSequenceLength - 1], 2);
}

TEST_F(AnimationEditTest, ShiftClickSelectsFromTheFirstClickAndSetLoopStoresItsStart) {
    OpenWithSequence(8);
    ClickEntry(3, true); // Shift before any plain click: nothing
    EXPECT_EQ(Bottom().SelectionStart(), -1);
    EXPECT_EQ(Bottom().SelectionEnd(), -1);
    SelectEntries(5, 2);
    EXPECT_EQ(Bottom().SelectionStart(), 2);
    EXPECT_EQ(Bottom().SelectionEnd(), 5);
    // The outlines of the new range are drawn green over the old one's dark red.
    EXPECT_TRUE(HasText(painter, " 00FF00"));
    // A plain click on empty space selects nothing.
    Bottom().OnLeftButtonDown(399, 199, false, painter);
    EXPECT_EQ(Bottom().SelectionStart(), -1);
    EXPECT_FALSE(Bottom().IsEnabled(command::kDeleteEntries));
    EXPECT_TRUE(Bottom().IsEnabled(command::kSetLoop));
    // Set Loop stores the selection start and marks it with "L".
    UnitAnimation& animation = At(0);
    ClickEntry(3);
    Bottom().OnCommand(command::kSetLoop);
    EXPECT_EQ(animation.tempBuffer[0], 3);
    RecordingWindowPainter shown;
    Bottom().PaintOverlays(shown);
    const GridCell& cell = *Bottom().Grid().CellOf(0, 3);
    // "L" at y + 44, cyan on red (window colours are 0x00BBGGRR).
    EXPECT_TRUE(HasText(shown, "text " + std::to_string(cell.x + 1) + "," +
                                   std::to_string(cell.y + 45) + " \"L\" FFFF00 on 0000FF"));

    Bottom().OnLeftButtonDown(399, 199, false, painter); // nothing selected
    Bottom().OnCommand(command::kSetLoop);
    EXPECT_EQ(animation.tempBuffer[0], -1);
    RecordingWindowPainter none;
    Bottom().PaintOverlays(none);
    EXPECT_FALSE(HasText(none, "\"L\""));
}

TEST_F(AnimationEditTest, DeleteMovesFrameNumbersAndLeavesTheOtherValuesByPosition) {
    UnitAnimation& animation = OpenWithSequence(10);
    animation.tempBuffer[0] = 6;
    SelectEntries(2, 4);
    Bottom().OnCommand(command::kDeleteEntries);
    ASSERT_EQ(animation.sequenceLength, 7);
    EXPECT_EQ(Slots(animation.frameNumber, 7), (std::vector{10, 11, 15, 16, 17, 18, 19}));
    EXPECT_EQ(Slots(animation.delay, 7), (std::vector{100, 101, 102, 103, 104, 105, 106}));
    EXPECT_EQ(Slots(animation.attribute, 7), (std::vector{200, 201, 202, 203, 204, 205, 206}));
    EXPECT_EQ(Slots(animation.alphaValue, 7), (std::vector{50, 51, 52, 53, 54, 55, 56}));
    EXPECT_EQ(animation.tempBuffer[0], 0);
    EXPECT_EQ(Bottom().SelectionStart(), -1);
    EXPECT_TRUE(unit.IsModified());
}

TEST_F(AnimationEditTest, DelayAttributeAndAlphaTakeWhatIsInRange) {
    UnitAnimation& animation = OpenWithSequence(4);
    SelectEntries(1, 2);
    unit.SetModifiedFlag(false);
    host.typed = {"121", "120"};
    Bottom().OnCommand(command::kSetDelay);
    ASSERT_EQ(host.refusals.size(), 1u);
    EXPECT_EQ(host.refusals[0], "Please enter an integer between 0 and 120.");
    EXPECT_EQ(host.shownValues.back(), 101); // the first selected entry's delay
    EXPECT_EQ(Slots(animation.delay, 4), (std::vector{100, 120, 120, 103}));
    EXPECT_TRUE(unit.IsModified());
    // The attribute keeps the low sixteen bits; the alpha value clears the selection.
    SelectEntries(0, 1);
    host.typed = {"70000"};
    Bottom().OnCommand(command::kSetAttrib);
    EXPECT_EQ(Slots(animation.attribute, 4), (std::vector{4464, 4464, 202, 203}));
    host.typed = {"256", "abc", "-1", "0"};
    Bottom().OnCommand(command::kSetAlphaValue);
    EXPECT_EQ(host.refusals.size(), 4u);
    EXPECT_EQ(Slots(animation.alphaValue, 4), (std::vector{0, 0, 52, 53}));
    EXPECT_EQ(Bottom().SelectionStart(), -1);
}

TEST_F(AnimationEditTest, CancelChangesNothingAndMarksNothing) {
    UnitAnimation& animation = OpenWithSequence(3);
    unit.SetModifiedFlag(false);
    SelectEntries(0, 2);
    host.typed = {std::nullopt, std::nullopt, std::nullopt};
    for (const int command : {command::kSetDelay, command::kSetAttrib, command::kSetAlphaValue}) {
        Bottom().OnCommand(command);
    }
    EXPECT_EQ((std::vector{animation.delay[1], animation.attribute[1]}),
              (std::vector<std::uint16_t>{101, 201}));
    EXPECT_EQ(animation.alphaValue[1], 51);
    EXPECT_EQ(Bottom().SelectionEnd(), 2);
    // Storing the value an entry already has is no change either.
    host.typed = {"100"};
    ClickEntry(0);
    Bottom().OnCommand(command::kSetDelay);
    EXPECT_FALSE(unit.IsModified());
}

TEST_F(AnimationEditTest, EachEntryIsDrawnWithItsOwnAlphaAndAFrameOutOfTheListIsEmpty) {
    Compress({2});
    Open();
    UnitAnimation& animation = At(0);
    animation.sequenceLength = 3;
    animation.frameNumber = {0, 0, 7}; // entry 2 names a frame the animation does not have
    animation.alphaValue = {255, 0, 255};
    dialog.Redraw();
    const auto pictures = Bottom().RenderVisibleFrames();
    ASSERT_EQ(pictures.size(), 3u);
    const std::size_t inside = 3 * kWidth + 5; // past the transparent first column
    EXPECT_NE(pictures[0].pixels[inside], AnimationEditPane::kCellBackground);
    EXPECT_EQ(pictures[1].pixels[inside], AnimationEditPane::kCellBackground);
    EXPECT_TRUE(std::all_of(pictures[2].pixels.begin(), pictures[2].pixels.end(),
                            [](Pixel555 p) { return p == AnimationEditPane::kCellBackground; }));
    // The empty cell keeps its labels: position 2, frame 7.
    RecordingWindowPainter shown;
    Bottom().PaintOverlays(shown);
    const GridCell& cell = *Bottom().Grid().CellOf(0, 2);
    EXPECT_TRUE(HasText(shown, "text " + std::to_string(cell.x + 1) + "," +
                                   std::to_string(cell.y + 12) + " \"7\" FFFFFF on 000000"));
}

// The top pane draws frame i at alpha value i; a frame past the 200th has none and is opaque.
TEST_F(AnimationEditTest, TheTopPaneDrawsEachFrameWithTheAlphaAtItsIndex) {
    Compress({kMaxSequenceLength + 1});
    Open();
    At(0).alphaValue.fill(0);
    At(0).alphaValue[1] = 255;
    const auto pictures = Top().RenderVisibleFrames();
    ASSERT_EQ(pictures.size(), static_cast<std::size_t>(kMaxSequenceLength + 1));
    const std::size_t inside = 3 * kWidth + 5;
    EXPECT_EQ(pictures[0].pixels[inside], AnimationEditPane::kCellBackground);
    EXPECT_EQ(pictures[1].pixels[inside], ReferenceFrame(0, 1)[inside]);
    EXPECT_EQ(pictures[kMaxSequenceLength - 1].pixels[inside], AnimationEditPane::kCellBackground);
    EXPECT_EQ(pictures[kMaxSequenceLength].pixels[inside],
              ReferenceFrame(0, kMaxSequenceLength)[inside]);
}

TEST_F(AnimationEditTest, APaneNarrowerThanTwoCellsPlacesOneCellARowAndKeepsTheUnitViewsCells) {
    Compress({3, 2});
    test::RecordingUnitViewHost viewHost;
    CUnitView view(platform.Get(), unit, viewHost, hub);
    view.SetClientSize(640, 480);
    Open();
    Top().SetClientSize(2 * kWidth + 5, 100);
    const GridCell& second = *Top().Grid().CellOf(0, 1);
    EXPECT_EQ((std::pair{second.x, second.y}), std::pair(2, 2 + kHeight + 5));
    // The edit pane's layout is its own.
    const GridCell& inView = *view.Grid().CellOf(0, 1);
    EXPECT_EQ((std::pair{inView.x, inView.y}), std::pair(2 + kWidth + 5, 2));
}

TEST_F(AnimationEditTest, AHandOverFromTheUnitViewClearsTheHover) {
    Compress({3, 1});
    test::RecordingUnitViewHost viewHost;
    CUnitView view(platform.Get(), unit, viewHost, hub);
    view.SetClientSize(640, 480);
    dialog.OnCreate(host);
    dialog.TopPane()->SetClientSize(400, 200);
    unit.SetToolDataFlag(true);
    const auto click = [&](int position) {
        test::HoverCell(view, position, 0, painter);
        view.OnLeftButtonDown(false);
    };
    click(0);
    ASSERT_EQ(dialog.Held().Position(), 0);
    const GridCell& third = *Top().Grid().CellOf(0, 2);
    Top().OnMouseMove(third.x + 1, third.y + 1, painter);
    ASSERT_EQ(Top().HoveredFrame(), 2);
    click(1); // a one-frame animation: frame 2 is no longer there
    EXPECT_EQ(Top().HoveredFrame(), -1);
    const int length = At(1).sequenceLength;
    dialog.OnTopPaneClick();
    EXPECT_EQ(At(1).sequenceLength, length);
}

TEST(SequenceValueDialogs, RefuseWhatIsNotAWholeNumberInRange) {
    CSetDelayDlg delay;
    EXPECT_TRUE(delay.Accept(" 0 ") == std::nullopt);
    EXPECT_EQ(delay.value, 0);
    EXPECT_TRUE(delay.Accept("-1").has_value());
    EXPECT_TRUE(delay.Accept("4294967296").has_value());
    CSetAttribDlg attribute;
    EXPECT_TRUE(attribute.Accept("-70000") == std::nullopt);
    EXPECT_EQ(attribute.value, -70000);
    EXPECT_EQ(attribute.Accept("1.5"), "Please enter an integer.");
    CSetAlphaValueDlg alpha;
    EXPECT_TRUE(alpha.Accept("255") == std::nullopt);
    EXPECT_EQ(alpha.value, 255);
    EXPECT_EQ(alpha.Accept("256"), "Please enter an integer between 0 and 255.");
    EXPECT_EQ(alpha.value, 255);
}

} // namespace
} // namespace fenwold
