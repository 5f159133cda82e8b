#include "unittools/RegistrationDialogs.h"

#include <gtest/gtest.h>

namespace fenwold {
namespace {

RegistrationProperties FiveAnimations() {
    return {.animationCount = 5,
            .totalFrameCount = 23,
            .startAnimation = 1,
            .height = 40,
            .width = 32,
            .codebookSize = 0};
}

TEST(RegistrationDialogs, PropertiesShowTheViewsValuesAndHandTheStartBack) {
    RegistrationProperties values = FiveAnimations();
    const bool ok = RunRegistrationProperties(values, [](CPropertiesDlg& dialog) {
        EXPECT_EQ(dialog.width, 32);
        EXPECT_EQ(dialog.height, 40);
        EXPECT_EQ(dialog.totalFrameCount, 23);
        EXPECT_EQ(dialog.codebookSize, 0);
        EXPECT_EQ(dialog.startAnimation, 1);
        EXPECT_EQ(dialog.SpinMaximum(), 4);
        dialog.MoveSpin(7);
        return true;
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(values.startAnimation, 4);
}

TEST(RegistrationDialogs, PropertiesCancelledChangeNothing) {
    RegistrationProperties values = FiveAnimations();
    EXPECT_FALSE(RunRegistrationProperties(values, [](CPropertiesDlg& dialog) {
        dialog.MoveSpin(3);
        return false;
    }));
    EXPECT_EQ(values.startAnimation, 1);
}

TEST(RegistrationDialogs, TempBufferValuesGoBackOnOkOnly) {
    TempBufferValues values{};
    values[4] = 9;
    EXPECT_FALSE(RunRegistrationTempBuffer(values, [](CTempBufferDlg& dialog) {
        dialog.values[0] = 3;
        return false;
    }));
    EXPECT_EQ(values[0], 0);
    EXPECT_TRUE(RunRegistrationTempBuffer(values, [](CTempBufferDlg& dialog) {
        EXPECT_EQ(dialog.values[4], 9);
        dialog.values[0] = 3;
        dialog.values[9] = -7;
        return true;
    }));
    EXPECT_EQ(values[0], 3);
    EXPECT_EQ(values[9], -7);
    EXPECT_EQ(values[4], 9);
}

} // namespace
} // namespace fenwold
