#include "platform/BinaryReader.h"
#include "unit/ToolDataFile.h"
#include "unittools/CAlphaValueChangeDlg.h"
#include "unittools/ToolWindowFixtures.h"
#include "vq/RowEncoding.h"
#include "vq/TableValidation.h"

namespace fenwold {
namespace {

class AlphaChangeTest : public test::ToolWindowTest {
protected:
    // Every frame of the animation gets an alpha table whose first row holds `values`, the
    // others full opacity.
    void SetAlphas(int position, std::vector<std::uint8_t> values) {
        for (AlphaTableNode& node : At(position).alphaTables) {
            std::vector<std::uint8_t> plane(static_cast<std::size_t>(kWidth * kHeight), 255);
            std::copy(values.begin(), values.end(), plane.begin());
            node.bytes.clear();
            for (int y = 0; y < kHeight; ++y) {
                AppendAlphaRow(
                    std::span(plane).subspan(static_cast<std::size_t>(y * kWidth), kWidth),
                    node.bytes);
            }
        }
    }
    std::vector<std::uint8_t> Alphas(int position, int frame = 0) {
        const AlphaTableNode& node = At(position).alphaTables[static_cast<std::size_t>(frame)];
        return DecodeAlphaTable(node.bytes, node.width, node.height);
    }
    // OK with the text and the scope; false (Cancel) without a text.
    bool Run(int position, std::optional<std::string> text, int scope = 0) {
        return RunAlphaValueChangeCommand(unit, position, [&](CAlphaValueChangeDlg& dialog) {
            return text && !dialog.Accept(*text, scope);
        });
    }
    std::vector<std::uint8_t> FileBytes() {
        return EncodeToolData(unit.Data(), folder.path() / "unit.UTD");
    }
};

TEST_F(AlphaChangeTest, TwoHundredTurns255And100And40Into200And45And0) {
    Compress({2});
    SetAlphas(0, {255, 100, 40, 0});
    EXPECT_TRUE(Run(0, "200"));
    for (int frame = 0; frame < 2; ++frame) {
        const std::vector<std::uint8_t> alphas = Alphas(0, frame);
        EXPECT_EQ(std::vector(alphas.begin(), alphas.begin() + 4),
                  (std::vector<std::uint8_t>{200, 45, 0, 0}));
        EXPECT_EQ(alphas[kWidth], 200);
    }
    EXPECT_TRUE(unit.IsModified());
    // The rewritten tables pass the checks of a file read.
    const std::vector<std::uint8_t> bytes = FileBytes();
    BinaryReader in("unit.UTD", bytes);
    const UnitData reopened = ReadToolData(in);
    EXPECT_TRUE(AnimationTablesFit(reopened.animations.front(), reopened.codebook.Size()));
    EXPECT_EQ(reopened.animations.front().alphaTables[0].bytes, At(0).alphaTables[0].bytes);
}

TEST_F(AlphaChangeTest, TheTopLevelIsStoredAsOpaqueZeroClearsEverythingAndOkChecksItsText) {
    Compress({1});
    SetAlphas(0, {255, 250, 249});
    Run(0, "253"); // 255 - 2 = 253, 250 - 2 = 248 (stored 255), 249 - 2 = 247
    const std::vector<std::uint8_t> alphas = Alphas(0);
    EXPECT_EQ(std::vector(alphas.begin(), alphas.begin() + 3),
              (std::vector<std::uint8_t>{253, 255, 247}));
    Run(0, "0");
    EXPECT_EQ(Alphas(0), std::vector<std::uint8_t>(static_cast<std::size_t>(kWidth * kHeight), 0));
    EXPECT_TRUE(AlphaTableFits(At(0).alphaTables[0].bytes, kHeight, 0));
    // OK takes the text and the scope as they are; a refused text (the alpha value dialog's own
    // rule) keeps both.
    CAlphaValueChangeDlg dialog(AnimationRef(unit, 0));
    EXPECT_EQ((std::pair{dialog.AlphaValue(), dialog.Scope()}), std::pair(255, 0));
    EXPECT_TRUE(dialog.Accept("256", 1).has_value());
    EXPECT_EQ((std::pair{dialog.AlphaValue(), dialog.Scope()}), std::pair(255, 0));
    EXPECT_FALSE(dialog.Accept("150", 2).has_value());
    EXPECT_EQ((std::pair{dialog.AlphaValue(), dialog.Scope()}), std::pair(150, 2));
}

TEST_F(AlphaChangeTest, AniAndFrameChangeTheCurrentAnimationTotalEveryOne) {
    Compress({1, 1, 1});
    for (const int scope : {1, 2}) {
        SetAlphas(0, {255});
        SetAlphas(1, {255});
        Run(1, "100", scope);
        EXPECT_EQ(Alphas(0)[0], 255) << scope;
        EXPECT_EQ(Alphas(1)[0], 100) << scope;
    }
    for (int position = 0; position < 3; ++position) {
        SetAlphas(position, {255});
    }
    Run(1, "100", 0);
    for (int position = 0; position < 3; ++position) {
        EXPECT_EQ(Alphas(position)[0], 100) << position;
    }
}

TEST_F(AlphaChangeTest, TeamColouredAnimationsKeepTheirTables) {
    CompressTeamColoured();
    unit.SetModifiedFlag(false);
    const std::vector<std::uint8_t> before = At(0).alphaTables[0].bytes;
    EXPECT_FALSE(Run(0, "100"));
    EXPECT_EQ(At(0).alphaTables[0].bytes, before);
    EXPECT_TRUE(AlphaTableFits(At(0).alphaTables[0].bytes, kHeight, 1));
    EXPECT_FALSE(unit.IsModified());
}

// Cancel, after the preview showed another value, and OK with 255 leave the file's bytes as they
// were.
TEST_F(AlphaChangeTest, CancelAnd255ChangeNothing) {
    Compress({1, 1});
    SetAlphas(0, {255, 100});
    const std::vector<std::uint8_t> before = FileBytes();
    const bool changed = RunAlphaValueChangeCommand(unit, 0, [](CAlphaValueChangeDlg& dialog) {
        dialog.OnAlphaSpin(10);
        dialog.View().Tick();
        return false;
    });
    EXPECT_FALSE(changed);
    EXPECT_FALSE(Run(0, "255"));
    EXPECT_EQ(FileBytes(), before);
    EXPECT_FALSE(unit.IsModified());
}

TEST_F(AlphaChangeTest, ThePreviewPlaysCentredAtTheChosenAlphaKeptWithinRange) {
    Compress({2}, {0x7C00});
    CAlphaValueChangeDlg dialog(AnimationRef(unit, 0));
    CAlphaChangeView& view = dialog.View();
    const int left = 200 - kWidth / 2;
    const int top = 150 - kHeight / 2;
    const auto drawnAt = [&](int alpha, int frame) {
        return ReferenceFrame(0, frame, alpha)[2 * kWidth + 3];
    };
    dialog.OnAlphaText("100");
    view.Tick();
    EXPECT_EQ(view.Canvas().At(left + 3, top + 2), drawnAt(100, 0));
    EXPECT_NE(view.Canvas().At(left + 3, top + 2), drawnAt(255, 0));
    EXPECT_EQ(view.Canvas().At(left - 1, top), 0);
    EXPECT_EQ(view.CurrentFrame(), 1);
    dialog.OnAlphaText("999"); // typed, not yet refused: the preview stays opaque at most
    EXPECT_EQ(view.AlphaValue(), 255);
    view.Tick();
    EXPECT_EQ(view.Canvas().At(left + 3, top + 2), drawnAt(255, 1));
    dialog.OnAlphaText("-7");
    EXPECT_EQ(view.AlphaValue(), 0);
}

} // namespace
} // namespace fenwold
