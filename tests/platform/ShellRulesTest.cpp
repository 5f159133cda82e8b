#include "platform/AnchorLayout.h"
#include "platform/DialogFilter.h"
#include "platform/FileNames.h"

#include <gtest/gtest.h>

namespace fenwold {
namespace {

TEST(FileTypeOf, LastThreeCharactersWhateverTheirCase) {
    EXPECT_EQ(FileTypeOf("a.bpt"), FileType::Building);
    EXPECT_EQ(FileTypeOf("A.BPT"), FileType::Building);
    EXPECT_EQ(FileTypeOf("/x/walk.Upt"), FileType::Unit);
    EXPECT_EQ(FileTypeOf("walk.utd"), FileType::ToolData);
    EXPECT_EQ(FileTypeOf("old.pcx"), FileType::Pcx);
    EXPECT_EQ(FileTypeOf("saved.ure"), FileType::RunLength);
    EXPECT_EQ(FileTypeOf("house.tga"), FileType::Other);
    EXPECT_EQ(FileTypeOf("pt"), FileType::Other);      // too short to have an extension
    EXPECT_EQ(FileTypeOf("xBPT"), FileType::Building); // no dot needed, as before
}

TEST(AnchorLayout, FirstSizeMovesNothing) {
    AnchorLayout layout;
    layout.Add(1, kMoveWithRight, {10, 10, 20, 20});
    EXPECT_TRUE(layout.OnSize(300, 200).empty());
    EXPECT_EQ(layout.anchors()[0].rect, (Rect{10, 10, 20, 20}));
}

TEST(AnchorLayout, FlagsAccumulateInOrder) {
    AnchorLayout layout;
    layout.Add(1, kMoveWithRight | kStretchWithRight, {10, 0, 20, 5});
    layout.Add(2, kMoveWithBottom | kStretchWithBottom, {0, 10, 5, 20});
    layout.Add(3, kCentreHorizontally | kCentreVertically, {0, 0, 31, 11});
    layout.OnSize(100, 100);
    const auto& moved = layout.OnSize(110, 90);
    ASSERT_EQ(moved.size(), 3u);
    EXPECT_EQ(moved[0].rect, (Rect{20, 0, 40, 5})); // left by dx, right by 2 dx
    EXPECT_EQ(moved[1].rect, (Rect{0, 0, 5, 0}));
    EXPECT_EQ(moved[2].rect, (Rect{40, 40, 71, 51})); // 55 - 15, 45 - 5
}

TEST(AnchorLayout, ShrinkingAndGrowingBackRestoresTheLayout) {
    AnchorLayout layout;
    layout.Add(7, kMoveWithRight | kStretchWithBottom, {50, 5, 60, 90});
    layout.Add(8, kStretchWithRight | kMoveWithBottom, {5, 95, 60, 99});
    layout.OnSize(100, 100);
    layout.OnSize(40, 30);
    const auto& back = layout.OnSize(100, 100);
    EXPECT_EQ(back[0].rect, (Rect{50, 5, 60, 90}));
    EXPECT_EQ(back[1].rect, (Rect{5, 95, 60, 99}));
}

TEST(DialogFilter, SplitsWindowsFiltersAndAddsCaseVariants) {
    const auto entries = ParseDialogFilter("UTD 화일 (*.utd)|*.utd|모든화일(*.*)|*.*||");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].description, "UTD 화일 (*.utd)");
    EXPECT_EQ(entries[1].patterns, std::vector<std::string>{"*.*"});
    EXPECT_EQ(CaseInsensitiveQtFilter("Image Files(*.TGA)|*.TGA|모든화일(*.*)|*.*||"),
              "Image Files(*.TGA) (*.TGA *.tga);;모든화일(*.*) (*.*)");
    EXPECT_TRUE(ParseDialogFilter("").empty());
}

} // namespace
} // namespace fenwold
