#include "vq/ReviewPictures.h"

#include "vq/CodebookUsage.h"
#include "vq/ColourTables.h"
#include "vq/CompressionRun.h"
#include "vq/VqFixtures.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace fenwold {
namespace {

using test::MakeAnimation;
using test::NoisyFrame;
using test::NoLbg;
using test::SolidFrame;
using test::TinyFrame;
constexpr auto Compress = test::CompressQuietly;

// Five frames of 10 x 7 noise (a second group with one frame), the left column transparent in
// the first frame only and a band of team pixels when masked.
RegisteredAnimation Noise(unsigned seed, bool masked) {
    std::vector<TinyFrame> frames;
    for (unsigned f = 0; f < 5; ++f) {
        TinyFrame frame = NoisyFrame(10, 7, seed + f);
        for (int y = 0; y < 7; ++y) {
            frame.alpha[static_cast<std::size_t>(y) * 10] = f == 0 ? 0 : 248;
            frame.alpha[static_cast<std::size_t>(y) * 10 + 1] = f == 0 ? 0 : 248;
        }
        if (masked) {
            frame.mask.assign(frame.pixels.size(), 0);
            std::fill_n(frame.mask.begin() + 30, 10, std::uint8_t{1});
        }
        frames.push_back(frame);
    }
    return MakeAnimation(10, 7, frames);
}

std::vector<CompressedAnimationView> Views(const CompressionResult& result) {
    std::vector<CompressedAnimationView> views;
    for (const EncodedAnimation& animation : result.animations) {
        views.push_back(ViewOf(animation));
    }
    return views;
}

TEST(CodebookUsage, CountsAddUpToTheVisibleBlocks) {
    const RegisteredAnimation plain = Noise(1, false);
    const RegisteredAnimation team = Noise(20, true);
    // A frame nobody sees: its blocks are in no count.
    const RegisteredAnimation hidden = MakeAnimation(4, 2, {SolidFrame(4, 2, 0x7C00, 0)});
    const AnimationRefs refs = {&plain, &team, &hidden};
    // 10 x 7 gives 5 x 4 blocks a group; every block of both groups is visible (the first
    // group's left column shows in its later frames).
    const std::uint64_t visibleBlocks = 2 * (2 * 20);

    const CompressionResult exact = Compress(refs, NoLbg());
    const std::vector<std::uint32_t> once = CountEntryUses(Views(exact), exact.entryCount);
    EXPECT_EQ(static_cast<std::uint64_t>(exact.entryCount), visibleBlocks);
    EXPECT_TRUE(std::all_of(once.begin(), once.end(), [](std::uint32_t c) { return c == 1; }));

    CompressionParameters small;
    small.lookupTableSize = 12;
    const CompressionResult result = Compress(refs, small);
    const std::vector<std::uint32_t> counts = CountEntryUses(Views(result), result.entryCount);
    const UsageSummary summary = SummariseUses(counts);
    EXPECT_EQ(summary.blocks, visibleBlocks);
    EXPECT_EQ(static_cast<int>(counts.size()), result.entryCount);
    EXPECT_EQ(summary.unused, static_cast<int>(std::count(counts.begin(), counts.end(), 0u)));
    EXPECT_EQ(summary.usedOnce, static_cast<int>(std::count(counts.begin(), counts.end(), 1u)));
    EXPECT_EQ(summary.mostUses, *std::max_element(counts.begin(), counts.end()));
}

// Equal pixels are black, hidden ones too, and losses show amplified.
TEST(ReviewPictures, DifferencesShowAmplified) {
    // Red differs by 1 and blue by 5: amplified by 4 they show as 4 and 20.
    FrameComparison made;
    made.width = 2;
    made.height = 1;
    made.registered = {0x7C00, 0x0005};
    made.compressed = {0x7800, 0x0000};
    made.visible = {1, 0};
    EXPECT_EQ(DifferencePicture(made, 4).pixels, (std::vector<Pixel555>{4 << 10, 0}));
    made.compressed[0] = made.registered[0];
    EXPECT_EQ(DifferencePicture(made, 4).pixels, (std::vector<Pixel555>{0, 0}));
    made.compressed[0] = 0x7800;
    made.visible = {1, 1};
    EXPECT_EQ(DifferencePicture(made, 4).pixels, (std::vector<Pixel555>{4 << 10, 20}));
    EXPECT_EQ(DifferencePicture(made, 16).pixels, (std::vector<Pixel555>{16 << 10, 31}));
    const ReviewPicture strip = DifferenceStrip(made, 4);
    EXPECT_EQ(strip.width, 3 * 2 + 2 * kReviewGap);
    EXPECT_EQ(strip.pixels[0], 0x7C00);
    EXPECT_EQ(strip.pixels[2 + kReviewGap], 0x7800);
    EXPECT_EQ(strip.pixels[2 * (2 + kReviewGap) + 1], 20);
}

TEST(ReviewPictures, EntriesAreOrderedByUseAndDeadWeightIsRed) {
    // Three 16-pixel entries: red, green, blue.
    std::vector<Pixel555> codebook;
    for (const Pixel555 colour : {Pixel555(0x7C00), Pixel555(0x03E0), Pixel555(0x001F)}) {
        codebook.insert(codebook.end(), 16, colour);
    }
    const std::vector<std::uint32_t> counts = {1, 70, 5};
    const ReviewPicture picture = EntriesByUse(codebook, 1, counts);
    const int cellWidth = 11 * kEntryZoom + kReviewGap;
    const auto at = [&](int x, int y) {
        return picture.pixels[static_cast<std::size_t>(y) * picture.width + x];
    };
    ASSERT_EQ(picture.width, 3 * cellWidth + kReviewGap);
    // Most used first: green (70), blue (5), red (1).
    EXPECT_EQ(at(kReviewGap, kReviewGap), 0x03E0);
    EXPECT_EQ(at(kReviewGap + cellWidth, kReviewGap), 0x001F);
    EXPECT_EQ(at(kReviewGap + 2 * cellWidth, kReviewGap), 0x7C00);
    const int bar = kReviewGap + 2 * kEntryZoom + 1;
    EXPECT_EQ(at(kReviewGap, bar), UseColour(70));
    EXPECT_EQ(at(kReviewGap + 2 * cellWidth, bar), UseColour(1));
    EXPECT_EQ(UseColour(1), 0x7C00);
    EXPECT_NE(UseColour(0), UseColour(1));
    EXPECT_NE(UseColour(3), UseColour(4));
    EXPECT_NE(UseColour(63), UseColour(64));
}

TEST(ReviewPictures, RarityMapsColourShownPixelsByTheirEntrysUse) {
    const RegisteredAnimation animation = Noise(5, false);
    CompressionParameters small;
    small.lookupTableSize = 6;
    const CompressionResult result = Compress({&animation}, small);
    const std::vector<CompressedAnimationView> views = Views(result);
    const std::vector<std::uint32_t> counts = CountEntryUses(views, result.entryCount);
    const ReviewPicture map = RarityMap(views[0], 0, counts);
    const std::vector<GroupBlocks> groups = ReadGroupBlocks(views[0]);
    ASSERT_EQ(map.width, 10);
    // The left column is hidden in frame 0 and black in its map.
    EXPECT_EQ(map.pixels[0], 0);
    EXPECT_EQ(map.pixels[2], UseColour(counts[groups[0].entries[1]]));
    EXPECT_EQ(map.pixels[6 * 10 + 9], UseColour(counts[groups[0].entries[3 * 5 + 4]]));
    // Frame 4 is the second group's.
    const ReviewPicture later = RarityMap(views[0], 4, counts);
    EXPECT_EQ(later.pixels[0], UseColour(counts[groups[1].entries[0]]));
}

TEST(ReviewPictures, FramesInColourKeepTheirAlphaAndTeamColours) {
    TinyFrame frame = SolidFrame(4, 2, 0x7C00); // red, opaque
    frame.alpha[1] = 0;
    frame.mask.assign(8, 0);
    frame.mask[7] = 1;
    frame.pixels[7] = 0x001F; // blue, under the mask
    const RegisteredAnimation animation = MakeAnimation(4, 2, {frame});
    const CompressionResult result = Compress({&animation}, NoLbg());
    const std::vector<Pixel555> codebook = LookupTablePixels(result.lookupTable);
    std::vector<Pixel555> team(32, 0x03E0); // green
    const CompressedAnimationView view = ViewOf(result.animations[0]);
    const PictureRgba opaque = DrawFrameRgba(view, 0, codebook, 1, team.data(), 255);
    ASSERT_EQ(opaque.bytes.size(), 4u * 8);
    EXPECT_EQ(std::vector<std::uint8_t>(opaque.bytes.begin(), opaque.bytes.begin() + 8),
              (std::vector<std::uint8_t>{255, 0, 0, 255, 0, 0, 0, 0}));
    EXPECT_EQ(std::vector<std::uint8_t>(opaque.bytes.begin() + 28, opaque.bytes.end()),
              (std::vector<std::uint8_t>{0, 255, 0, 255}));
    // At alpha value 128 the drawing blends with weight 17 of 32: the colour stays, its alpha
    // is 17 / 32 of 255.
    const PictureRgba faint = DrawFrameRgba(view, 0, codebook, 1, team.data(), 128);
    EXPECT_EQ(std::vector<std::uint8_t>(faint.bytes.begin(), faint.bytes.begin() + 4),
              (std::vector<std::uint8_t>{255, 0, 0, 135}));
    EXPECT_EQ(faint.bytes[7], 0);
}

} // namespace
} // namespace fenwold
