#include "vq/TrainingBlocks.h"

#include "vq/VqFixtures.h"
#include "vq/Weights.h"

#include <gtest/gtest.h>

namespace fenwold {
namespace {

using test::MakeAnimation;
using test::SolidFrame;
using test::TinyFrame;

TrainingSet Collect(const std::vector<RegisteredAnimation>& animations) {
    WorkerPool pool(1);
    test::RecordingProgress progress;
    RunFlags flags;
    return CollectTrainingBlocks(RefsTo(animations), pool, progress, flags);
}

BlockVector Entries(std::initializer_list<std::uint8_t> bytes) {
    BlockVector block{};
    std::copy(bytes.begin(), bytes.end(), block.begin());
    return block;
}

TEST(TrainingBlocks, InvisibleBlocksStayOutButOpaqueBlackIsCollected) {
    TinyFrame frame = SolidFrame(4, 2, 0, 0); // left block: alpha 0 everywhere
    for (int y = 0; y < 2; ++y) {
        frame.alpha[static_cast<std::size_t>(y * 4 + 2)] = 248; // right block: opaque black
        frame.alpha[static_cast<std::size_t>(y * 4 + 3)] = 248;
    }
    const TrainingSet set = Collect({MakeAnimation(4, 2, {frame})});
    ASSERT_EQ(set.vectors.size(), 1u);
    EXPECT_EQ(set.vectors[0].block, BlockVector{});
    EXPECT_EQ(set.groups[0].visible, (std::vector<std::uint8_t>{0, 1}));
}

TEST(TrainingBlocks, MaskedPixelsAreGreyAndMaskZeroAlphaZeroIsSkipped) {
    TinyFrame frame = SolidFrame(4, 2, ToPixel555(255, 255, 255), 0);
    frame.mask.assign(8, 0);
    frame.pixels[0] = static_cast<Pixel555>(10 << 10 | 20 << 5 | 30); // team pixel, alpha 0
    frame.mask[0] = 1;
    const TrainingSet set = Collect({MakeAnimation(4, 2, {frame})});
    ASSERT_EQ(set.vectors.size(), 1u);
    // trunc(0.299 * 10 + 0.589 * 20 + 0.114 * 30) = trunc(18.19) in all four frames.
    const std::uint8_t y = 18;
    EXPECT_EQ(set.vectors[0].block,
              Entries({y, y, y, 0, 0, 0, 0, 0, 0, 0, 0, 0, y, y, y, 0, 0, 0, 0, 0,
                       0, 0, 0, 0, y, y, y, 0, 0, 0, 0, 0, 0, 0, 0, 0, y, y, y}));
}

TEST(TrainingBlocks, OddHeightLeavesLowerEntriesZeroAndShortGroupsRepeatTheLastFrame) {
    const Pixel555 first = static_cast<Pixel555>(1 << 10 | 2 << 5 | 3);
    const Pixel555 second = static_cast<Pixel555>(4 << 10 | 5 << 5 | 6);
    const TrainingSet set =
        Collect({MakeAnimation(2, 1, {SolidFrame(2, 1, first), SolidFrame(2, 1, second)})});
    ASSERT_EQ(set.vectors.size(), 1u);
    EXPECT_EQ(set.vectors[0].block,
              Entries({3, 2, 1, 3, 2, 1, 0, 0, 0, 0, 0, 0, 6, 5, 4, 6, 5, 4, 0, 0, 0,
                       0, 0, 0, 6, 5, 4, 6, 5, 4, 0, 0, 0, 0, 0, 0, 6, 5, 4, 6, 5, 4}));
}

TEST(TrainingBlocks, ProgressCountsBlocksAndPercentOfTheTotal) {
    const std::vector<RegisteredAnimation> animations = {
        MakeAnimation(4, 4, std::vector<TinyFrame>(4, SolidFrame(4, 4, 0x1234)))};
    WorkerPool pool(1);
    test::RecordingProgress progress;
    RunFlags flags;
    CollectTrainingBlocks(RefsTo(animations), pool, progress, flags);
    // Total 4 * 4 * 4 / 2 = 32; each row of blocks adds 2 * 8.
    EXPECT_EQ(progress.TextsOf(ProgressField::CollectedBlocks),
              (std::vector<std::string>{"2", "4"}));
    EXPECT_EQ(progress.bars, (std::vector<std::pair<ProgressBar, int>>{
                                 {ProgressBar::Collection, 50}, {ProgressBar::Collection, 100}}));
}

TEST(Weights, EachModeWeighsAsDefinedAndTheFirstVectorKeepsOne) {
    std::vector<VqVector> list(3);
    list[1].block.fill(0); // opaque black
    list[2].block.fill(31);
    list[2].block[0] = 0; // one entry without blue
    auto weighted = [&](int mode) {
        std::vector<VqVector> copy = list;
        ApplyWeights(copy, mode);
        return copy;
    };
    EXPECT_EQ(weighted(kNoWeight)[2].weight, 1.0f);
    EXPECT_EQ(weighted(7)[2].weight, 1.0f);
    EXPECT_EQ(weighted(kAverageBrightness)[0].weight, 1.0f);
    EXPECT_EQ(weighted(kAverageBrightness)[1].weight, 0.0f);
    const double full = 0.114 * 31 + 0.299 * 31 + 0.589 * 31;
    const double partial = 0.114 * 0 + 0.299 * 31 + 0.589 * 31;
    EXPECT_FLOAT_EQ(weighted(kAverageBrightness)[2].weight,
                    static_cast<float>((partial + 15 * full) * 0.0625));
    EXPECT_EQ(weighted(kMaxBrightness)[1].weight, 0.5f);
    EXPECT_EQ(weighted(kMaxBrightness)[2].weight,
              static_cast<float>(static_cast<float>(full) * (1.0 / 31.0) + 0.5));
}

} // namespace
} // namespace fenwold
