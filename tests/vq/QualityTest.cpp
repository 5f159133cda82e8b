#include "vq/Quality.h"

#include "image/FrameSetLoader.h"
#include "platform/ScriptedPlatform.h"
#include "support/TempFolder.h"
#include "support/TgaBuilder.h"
#include "vq/ColourTables.h"
#include "vq/CompressionRun.h"
#include "vq/SourceDifference.h"
#include "vq/VqFixtures.h"

#include <cmath>
#include <gtest/gtest.h>
#include <list>
#include <random>

namespace fenwold {
namespace {

using test::MakeAnimation;
using test::NoisyFrame;
using test::NoLbg;
using test::TinyFrame;
constexpr auto Compress = test::CompressQuietly;

// Noisy colours with every alpha level, some pixels transparent, and (when `masked`) a team
// mask over a band of each frame.
RegisteredAnimation Sprite(int width, int height, unsigned seed, bool masked) {
    std::vector<TinyFrame> frames;
    std::mt19937 random(seed);
    for (unsigned f = 0; f < 6; ++f) {
        TinyFrame frame = NoisyFrame(width, height, seed * 10 + f);
        for (std::uint8_t& a : frame.alpha) {
            a = static_cast<std::uint8_t>(std::min<unsigned>(random() % 33 * 8, 248));
        }
        if (masked) {
            frame.mask.assign(frame.pixels.size(), 0);
            for (int x = 0; x < width; ++x) {
                frame.mask[static_cast<std::size_t>(height / 2) * width + x] = 1;
            }
        }
        frames.push_back(frame);
    }
    return MakeAnimation(width, height, frames);
}

TEST(Quality, KeepingEveryBlockIsExactForPlainAndTeamColouredAnimations) {
    const RegisteredAnimation plain = Sprite(10, 7, 1, false);
    const RegisteredAnimation team = Sprite(8, 6, 2, true);
    const AnimationRefs refs = {&plain, &team};
    const CompressionResult result = Compress(refs, NoLbg());
    const QualityFigures figures = MeasureCompression(refs, result);
    ASSERT_EQ(figures.animations.size(), 2u);
    for (const AnimationQuality& animation : figures.animations) {
        EXPECT_TRUE(animation.compression.Exact());
        EXPECT_GT(animation.compression.channels, 0u);
        EXPECT_TRUE(std::isinf(animation.compression.Psnr()));
        // Frames made in memory have no source pictures.
        EXPECT_FALSE(animation.conversion);
    }
    EXPECT_TRUE(std::isinf(figures.Pooled().Psnr()));
    EXPECT_FALSE(figures.PooledConversion());

    // The difference picture of an exact frame is black: both drawings agree pixel for pixel.
    const std::vector<Pixel555> codebook = LookupTablePixels(result.lookupTable);
    const CompressionComparer comparer(codebook, 1);
    const FrameComparison frame = comparer.CompareFrame(team, 3, ViewOf(result.animations[1]));
    EXPECT_EQ(frame.registered, frame.compressed);
    // Team pixels are seen as their grey level, drawn opaque.
    const std::size_t teamPixel = 3 * 8 + 5;
    const Pixel555 grey = frame.registered[teamPixel];
    EXPECT_EQ(Red5(grey), Green5(grey));
    EXPECT_EQ(Green5(grey), Blue5(grey));
    EXPECT_EQ(frame.visible[teamPixel], 1);
}

TEST(Quality, PooledFiguresCountEveryValueAndTheWorstIsNamed) {
    QualityFigures figures;
    // A small animation off by 10 everywhere, a large one off by 1.
    figures.animations.push_back({ErrorTally{100.0 * 30, 30}, std::nullopt});
    figures.animations.push_back({ErrorTally{1.0 * 3000, 3000}, ErrorTally{4.0 * 3, 3}});
    figures.animations.push_back({ErrorTally{0.0, 60}, ErrorTally{0.0, 3}});
    const double pooled = figures.Pooled().Psnr();
    EXPECT_NEAR(pooled, 10.0 * std::log10(255.0 * 255.0 / (6000.0 / 3090.0)), 1e-9);
    const double mean =
        (figures.animations[0].compression.Psnr() + figures.animations[1].compression.Psnr()) / 2.0;
    EXPECT_GT(std::abs(pooled - mean), 5.0);
    EXPECT_EQ(figures.Worst(), 0);
    EXPECT_NEAR(figures.animations[0].compression.Psnr(), 20.0 * std::log10(25.5), 1e-9);
    ASSERT_TRUE(figures.PooledConversion());
    EXPECT_EQ(figures.PooledConversion()->channels, 6u);
    EXPECT_EQ(figures.ConversionsMeasured(), 2);
    EXPECT_EQ(QualityFigures{}.Worst(), -1);
    EXPECT_TRUE(std::isinf(ErrorTally{}.Psnr()));
    EXPECT_DOUBLE_EQ((ErrorTally{255.0 * 255.0, 1}.Psnr()), 0.0);
}

TEST(Quality, ConversionIsMeasuredAgainstTheSourcePictures) {
    test::TempFolder folder;
    ScriptedPlatform platform(folder.path());
    // Channels 0, 132 and 255 survive five bits and come back unchanged; red 100 becomes 99.
    const TgaColor exact = MakeTgaColor(132, 0, 255);
    const TgaColor inexact = MakeTgaColor(100, 0, 255);
    const int width = 4, height = 2;
    std::vector<TgaColor> first(width * height, exact), second(width * height, exact);
    // A transparent pixel first in its row keeps the rest of the row one run of opaque pixels,
    // which the drawing copies (a literal 255 would blend with weight 31 of 32).
    second[4] = MakeTgaColor(0, 0, 0, 0);
    second[5] = inexact;
    folder.Write("walk1.tga", test::TgaBuilder::Picture(width, height, first));
    folder.Write("walk2.tga", test::TgaBuilder::Picture(width, height, second));
    std::list<RegisteredAnimation> animations;
    FrameSetLoader loader(animations, platform.Get());
    ASSERT_TRUE(loader.LoadImageSeries({folder.path(), {"walk1.tga"}}));
    ASSERT_TRUE(loader.LoadImageSeries({folder.path(), {"walk1.tga", "walk2.tga"}}));
    const AnimationRefs refs = RefsTo(animations);
    EXPECT_EQ(animations.front().frames[0].source, folder / "walk1.tga");

    const QualityFigures figures = MeasureCompression(refs, Compress(refs, NoLbg()));
    ASSERT_TRUE(figures.animations[0].conversion);
    EXPECT_TRUE(figures.animations[0].conversion->Exact());
    EXPECT_EQ(figures.animations[0].conversion->channels, 3u * width * height);
    ASSERT_TRUE(figures.animations[1].conversion);
    EXPECT_DOUBLE_EQ(figures.animations[1].conversion->squares, 1.0);
    // The transparent pixel is seen by neither and left out.
    EXPECT_EQ(figures.animations[1].conversion->channels, 3u * (2 * width * height - 1));
    EXPECT_TRUE(figures.animations[1].compression.Exact());

    // A source that has gone, or no longer holds the frame's box, gives no figure.
    folder.Write("walk2.tga", test::TgaBuilder::Picture(2, 2, std::vector<TgaColor>(4, exact)));
    std::filesystem::remove(folder / "walk1.tga");
    const QualityFigures gone = MeasureCompression(refs, Compress(refs, NoLbg()));
    EXPECT_FALSE(gone.animations[0].conversion);
    EXPECT_FALSE(gone.animations[1].conversion);
    EXPECT_FALSE(gone.PooledConversion());
    EXPECT_EQ(gone.ConversionsMeasured(), 0);
}

} // namespace
} // namespace fenwold
