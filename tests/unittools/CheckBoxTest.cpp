#include "unittools/ToolWindowFixtures.h"

namespace fenwold {
namespace {

using test::RecordingCheckBoxHost;

class CheckBoxTest : public test::ToolWindowTest {
protected:
    CheckBoxTest() : dialog(hub, keys) {}

    void Open(int position = 0) {
        dialog.OnCreate(host);
        hub.HandOver(ToolWindow::CheckBox, Feed::Main, HandOver(position));
    }
    void Press(int key, int times = 1) {
        for (int i = 0; i < times; ++i) {
            keys.Route(KeySlot::CheckBox, KeyPhase::Down, {key}, false);
        }
    }
    const PreviewCanvas& Canvas() { return dialog.View()->Canvas(); }

    CCheckBoxDlg dialog;
    RecordingCheckBoxHost host;
};

TEST_F(CheckBoxTest, ABoxOfTwoByThreeCellsIsOutlined32By48AndOutlivesItsWindow) {
    Compress({1});
    Open();
    dialog.OnWidthSpin(2);
    dialog.OnHeightSpin(3);
    dialog.Tick();
    const CanvasPoint corner = dialog.View()->PictureCornerNow();
    const int left = corner.x + dialog.Current().x;
    const int top = corner.y + dialog.Current().y;
    for (const auto& [x, y] : {std::pair{left, top}, {left + 32, top + 48}, {left + 16, top}}) {
        EXPECT_EQ(Canvas().At(x, y), CCheckBoxView::kBoxColour) << x << "," << y;
    }
    EXPECT_NE(Canvas().At(left + 33, top), CCheckBoxView::kBoxColour);
    EXPECT_NE(Canvas().At(left, top + 49), CCheckBoxView::kBoxColour);
    // The crosshair in blue through the centre.
    EXPECT_EQ(Canvas().At(5, 150), CCheckBoxView::kCrosshairColour);
    EXPECT_EQ(Canvas().At(200, 295), CCheckBoxView::kCrosshairColour);
    // The box and the scale survive between showings, but the scale starts at 1.
    dialog.OnScaleSpin(3);
    EXPECT_EQ(dialog.ScaleText(), "x3");
    Press(key::kRight);
    dialog.OnDestroy();
    EXPECT_EQ(dialog.View(), nullptr);
    dialog.OnCreate(host);
    EXPECT_EQ(dialog.Scale(), 1);
    EXPECT_EQ(dialog.Current().x, At(0).checkBoxX + 1);
}

TEST_F(CheckBoxTest, EscReturnsToTheStoredBoxAndEnterStoresLeftOfZeroAs65535) {
    Compress({1});
    At(0).checkBoxX = 4;
    At(0).checkBoxY = 6;
    Open();
    Press(key::kRight, 3);
    Press(key::kDown);
    EXPECT_EQ((std::pair{dialog.Current().x, dialog.Current().y}), std::pair(7, 7));
    EXPECT_EQ(dialog.Title(), "Check Box *");
    Press(key::kEscape);
    EXPECT_EQ((std::pair{dialog.Current().x, dialog.Current().y}), std::pair(4, 6));
    EXPECT_EQ(dialog.Title(), "Check Box");
    EXPECT_FALSE(unit.IsModified());
    // Enter with the box unchanged stores the same values: nothing to save.
    Press(key::kEnter);
    EXPECT_FALSE(unit.IsModified());
    // Left at 0 stores 65535, and the next hand-over shows it.
    At(0).checkBoxX = 0;
    hub.HandOver(ToolWindow::CheckBox, Feed::Main, HandOver(0));
    Press(key::kLeft);
    EXPECT_EQ(dialog.Current().x, -1);
    EXPECT_EQ(At(0).checkBoxX, 0); // only Enter stores
    EXPECT_FALSE(unit.IsModified());
    Press(key::kEnter);
    EXPECT_EQ(At(0).checkBoxX, 65535);
    EXPECT_EQ(dialog.Title(), "Check Box");
    EXPECT_TRUE(unit.IsModified());
    hub.HandOver(ToolWindow::CheckBox, Feed::Main, HandOver(0));
    EXPECT_EQ((std::pair{dialog.Current().x, dialog.Committed().x}), std::pair(65535, 65535));
}

TEST_F(CheckBoxTest, PageDownThenEscShowsTheEarlierCommittedBoxOverTheNextAnimation) {
    Compress({1, 2});
    At(0).checkBoxX = 3;
    At(0).checkBoxWidth = 2;
    At(1).checkBoxX = 9;
    At(1).checkBoxWidth = 5;
    Open(0);
    Press(key::kPageDown);
    EXPECT_EQ(dialog.View()->Held().Position(), 1);
    EXPECT_EQ((std::pair{dialog.Current().x, dialog.Current().width}), std::pair(9, 5));
    EXPECT_EQ(dialog.Committed().x, 3);
    EXPECT_EQ(dialog.Title(), "Check Box *");
    Press(key::kEscape);
    EXPECT_EQ(dialog.View()->Held().Position(), 1);
    EXPECT_EQ((std::pair{dialog.Current().x, dialog.Current().width}), std::pair(3, 2));
    // At the end of the list the animation stays.
    Press(key::kPageDown);
    EXPECT_EQ(dialog.View()->Held().Position(), 1);
    Press(key::kPageUp, 2);
    EXPECT_EQ(dialog.View()->Held().Position(), 0);
}

TEST_F(CheckBoxTest, FramesAdvanceOneATickAndWrap) {
    Compress({3});
    Open();
    EXPECT_TRUE(dialog.WantsTicks());
    EXPECT_EQ(dialog.View()->CurrentFrame(), 0);
    dialog.Tick();
    dialog.Tick();
    EXPECT_EQ(dialog.View()->CurrentFrame(), 2);
    dialog.Tick();
    EXPECT_EQ(dialog.View()->CurrentFrame(), 0);
}

} // namespace
} // namespace fenwold
