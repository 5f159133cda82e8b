#include "platform/ScriptedPlatform.h"
#include "unit/CVqComputeDlg.h"
#include "unit/RegistrationFixtures.h"
#include "vq/VqFixtures.h"

#include <gtest/gtest.h>

namespace fenwold {
namespace {

class VqComputeDlgTest : public ::testing::Test {
protected:
    VqComputeDlgTest() {
        animations.push_back(test::SolidAnimation(8, 6, 5, 0x1234));
        animations.push_back(test::SolidAnimation(4, 4, 4, 0x0421));
    }
    RegisteredAnimations animations;
    ScriptedPlatform platform;
    test::StoringSink sink;
};

TEST_F(VqComputeDlgTest, AFinishedRunGoesToTheDocumentWithTheSound) {
    CVqComputeDlg dialog(animations, CompressionParameters{}, sink, platform.Get());
    EXPECT_EQ(dialog.Poll(), CVqComputeDlg::Outcome::Running); // not started before first paint
    EXPECT_TRUE(dialog.QualityLines().empty());
    ASSERT_EQ(test::RunToEnd(dialog), CVqComputeDlg::Outcome::Ok);
    // Sampled from so few blocks, the table loses something; frames made in memory have no
    // pictures to read again.
    const std::vector<std::string> lines = dialog.QualityLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("PSNR against the registered frames: unit ", 0), 0u) << lines[0];
    EXPECT_NE(lines[0].find(", worst animation "), std::string::npos) << lines[0];
    EXPECT_EQ(dialog.QualitySummary().rfind("PSNR ", 0), 0u);
    EXPECT_EQ(dialog.QualitySummary().find("pictures read"), std::string::npos);
    ASSERT_EQ(sink.results.size(), 1u);
    EXPECT_EQ(sink.results[0].animations.size(), 2u);
    EXPECT_EQ(sink.results[0].animations[0].alphaTables.size(), 5u);
    EXPECT_EQ(platform.sound.played, std::vector<int>{kCompressionDoneSound});
    // What the worker reported is kept for the window to show.
    EXPECT_FALSE(dialog.Text(ProgressField::CollectedBlocks).empty());
    // Five frames count as eight, past the bar's end: the bar stops at 100.
    EXPECT_EQ(dialog.Bar(ProgressBar::IndexTable), 100);
    // The window has closed: later polls and a late Cancel change nothing.
    dialog.Cancel();
    EXPECT_EQ(dialog.Poll(), CVqComputeDlg::Outcome::Ok);
    EXPECT_EQ(dialog.Start(), CVqComputeDlg::Outcome::Ok);
    EXPECT_EQ(sink.results.size(), 1u);
}

// A document that refuses the result (it says why itself): the window closes with Cancel, so that
// nothing after it rebuilds groups or writes the recovery copy, and no chime says "done".
TEST_F(VqComputeDlgTest, AResultTheDocumentRefusesClosesWithCancel) {
    sink.accepting = false;
    CVqComputeDlg dialog(animations, CompressionParameters{}, sink, platform.Get());
    EXPECT_EQ(test::RunToEnd(dialog), CVqComputeDlg::Outcome::Cancel);
    EXPECT_EQ(sink.results.size(), 1u);
    EXPECT_TRUE(platform.sound.played.empty());
}

} // namespace
} // namespace fenwold
