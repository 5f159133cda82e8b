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
    EXPECT_EQ(
        (std::vector<int>{dialog.lookupTableSize, dialog.SizeEnabled(), dialog.SamplingEnabled(),
                          dialog.RefineEnabled(), dialog.PassesToRun()}),
        (std::vector{500, 0, 0, 0, 0}));
    EXPECT_FALSE(dialog.sampling); // the box keeps its state while disabled
    dialog.SetNoLbg(false);
    EXPECT_EQ((std::vector<int>{dialog.lookupTableSize, dialog.SizeEnabled(),
                                dialog.SamplingEnabled(), dialog.PassesToRun()}),
              (std::vector{500, 1, 1, 3}));
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
