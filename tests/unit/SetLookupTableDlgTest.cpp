#include "unit/CSetLookupTableDlg.h"

#include <gtest/gtest.h>

namespace fenwold {
namespace {

TEST(SetLookupTableDlg, NoLbgPutsTheSizeBackAndDisablesTheRest) {
    CSetLookupTableDlg dialog;
    EXPECT_EQ((std::vector<int>{dialog.weightMode, dialog.lookupTableSize, dialog.noLbg,
                                dialog.sampling, dialog.SizeEnabled(), dialog.SamplingEnabled(),
                                dialog.RefineEnabled(), dialog.refinePasses, dialog.PassesToRun()}),
              (std::vector{2, 500, 0, 1, 1, 1, 1, 0, 0}));
    dialog.lookupTableSize = 1234;
    dialog.sampling = false;
    dialog.refinePasses = 3;
    dialog.SetNoLbg(true);
    EXPECT_EQ(dialog.lookupTableSize, 500);
    EXPECT_FALSE(dialog.SizeEnabled());
    EXPECT_FALSE(dialog.SamplingEnabled());
    EXPECT_FALSE(dialog.RefineEnabled());
    EXPECT_EQ(dialog.PassesToRun(), 0);
    EXPECT_FALSE(dialog.sampling); // the box keeps its state while disabled
    dialog.SetNoLbg(false);
    EXPECT_EQ(dialog.lookupTableSize, 500);
    EXPECT_TRUE(dialog.SizeEnabled());
    EXPECT_TRUE(dialog.SamplingEnabled());
    EXPECT_EQ(dialog.PassesToRun(), 3);
}

TEST(SetLookupTableDlg, SizeRange) {
    CSetLookupTableDlg dialog;
    for (const auto& [size, accepted] : {std::pair{9, false}, std::pair{10, true},
                                         std::pair{1000000, true}, std::pair{1000001, false}}) {
        dialog.lookupTableSize = size;
        EXPECT_EQ(dialog.SizeInRange(), accepted) << size;
    }
}

} // namespace
} // namespace fenwold
