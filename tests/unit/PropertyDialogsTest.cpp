#include "unit/CPropertiesDlg.h"
#include "unit/CTempBufferDlg.h"

#include <gtest/gtest.h>

namespace fenwold {
namespace {

TEST(CPropertiesDlg, SpinRunsOverTheAnimations) {
    CPropertiesDlg dialog;
    dialog.animationCount = 5;
    EXPECT_EQ(dialog.SpinMinimum(), 0);
    EXPECT_EQ(dialog.SpinMaximum(), 4);
    dialog.MoveSpin(3);
    EXPECT_EQ(dialog.startAnimation, 3);
    dialog.MoveSpin(9);
    EXPECT_EQ(dialog.startAnimation, 4);
}

TEST(CTempBufferDlg, TakesAnySignedWholeNumber) {
    std::int32_t value = 1;
    EXPECT_TRUE(CTempBufferDlg::Parse("-7", value));
    EXPECT_EQ(value, -7);
    EXPECT_TRUE(CTempBufferDlg::Parse(" 2147483647 ", value));
    EXPECT_EQ(value, 2147483647);
    EXPECT_FALSE(CTempBufferDlg::Parse("3x", value));
    EXPECT_FALSE(CTempBufferDlg::Parse("", value));
    EXPECT_FALSE(CTempBufferDlg::Parse("99999999999", value));
    EXPECT_EQ(value, 2147483647);
}

} // namespace
} // namespace fenwold
