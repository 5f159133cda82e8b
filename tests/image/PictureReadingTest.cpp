#include "image/PictureReading.h"

#include "image/Hsv.h"
#include "support/TempFolder.h"
#include "support/TgaBuilder.h"

#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace fenwold {
namespace {

using test::TgaBuilder;

// The reading spelled out step by step: the reader's pixels, translucent colours restored from
// the alpha as read, then each row converted and quantised into its turned-over place.
Picture555 ReferenceReading(std::span<const std::uint8_t> file) {
    const CTgaReader reader(file);
    std::vector<TgaColor> pixels(reader.pixels().begin(), reader.pixels().end());
    RestoreTranslucentColours(pixels, reader.alpha());
    Picture555 picture;
    picture.width = reader.width();
    picture.height = reader.height();
    picture.pixels.resize(pixels.size());
    picture.alpha.resize(pixels.size());
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const std::size_t from =
                static_cast<std::size_t>(picture.height - 1 - y) * picture.width + x;
            const std::size_t to = static_cast<std::size_t>(y) * picture.width + x;
            picture.pixels[to] = ToPixel555(pixels[from]);
            picture.alpha[to] = QuantiseAlpha(reader.alpha()[from]);
        }
    }
    return picture;
}

// Sprite-like rows: transparent stretches, runs, noise and translucent edges.
std::vector<TgaColor> RandomPicture(std::mt19937& random, int width, int height) {
    std::vector<TgaColor> pixels(static_cast<std::size_t>(width) * height);
    std::size_t i = 0;
    while (i < pixels.size()) {
        const unsigned kind = random() % 4;
        const std::size_t length = random() % 40 + 1;
        const TgaColor colour = MakeTgaColor(
            static_cast<std::uint8_t>(random()), static_cast<std::uint8_t>(random()),
            static_cast<std::uint8_t>(random() % 3), static_cast<std::uint8_t>(random()));
        for (std::size_t k = 0; k < length && i < pixels.size(); ++k, ++i) {
            switch (kind) {
            case 0:
                pixels[i] = 0;
                break;
            case 1:
                pixels[i] = colour;
                break;
            case 2:
                pixels[i] = (random() & 0xFFFFFF) | 0xFF000000u;
                break;
            default:
                pixels[i] = random();
                break;
            }
        }
    }
    return pixels;
}

void ExpectSamePicture(const Picture555& actual, const Picture555& expected) {
    ASSERT_EQ(actual.width, expected.width);
    ASSERT_EQ(actual.height, expected.height);
    ASSERT_TRUE(std::equal(actual.pixels.begin(), actual.pixels.end(), expected.pixels.begin(),
                           expected.pixels.end()));
    ASSERT_TRUE(std::equal(actual.alpha.begin(), actual.alpha.end(), expected.alpha.begin(),
                           expected.alpha.end()));
}

TEST(PictureReading, MatchesTheReaderFollowedByTheConversion) {
    std::mt19937 random(21);
    for (int trial = 0; trial < 300; ++trial) {
        const int width = static_cast<int>(random() % 70) + 1;
        const int height = static_cast<int>(random() % 6) + 1;
        const int depth = random() % 2 ? 32 : 24;
        const bool runLength = random() % 3 != 0;
        const auto pixels = RandomPicture(random, width, height);
        auto file = TgaBuilder::Picture(width, height, pixels, depth, runLength);
        if (trial % 4 == 0) {
            file.resize(18 + random() % (file.size() - 17)); // ends early
        }
        Picture555 picture;
        ASSERT_EQ(ReadPicture555(file, picture), tga::kNoError);
        ExpectSamePicture(picture, ReferenceReading(file));
        ASSERT_EQ(picture.missingPixels, CTgaReader(file).missingPixels()) << trial;
    }
}

// Pictures with an image ID field or a colour map read as those without, in every kind.
TEST(PictureReading, PixelDataFollowsTheImageIdAndAColourMap) {
    std::mt19937 random(12);
    for (const int depth : {24, 32}) {
        for (const bool runLength : {false, true}) {
            const auto pixels = RandomPicture(random, 37, 3);
            const auto plain = TgaBuilder::Picture(37, 3, pixels, depth, runLength);
            Picture555 expected;
            ASSERT_EQ(ReadPicture555(plain, expected), tga::kNoError);
            for (const auto& file :
                 {TgaBuilder::WithImageId(plain, 1), TgaBuilder::WithImageId(plain, 255),
                  TgaBuilder::WithColourMap(plain, 256)}) {
                Picture555 picture;
                ASSERT_EQ(ReadPicture555(file, picture), tga::kNoError);
                ExpectSamePicture(picture, expected);
                EXPECT_EQ(picture.missingPixels, 0u);
            }
        }
    }
}

// Every block conversion the processor runs, on the same kinds of pictures.
TEST(PictureReading, EveryConversionReadsTheSamePicture) {
    using blocks::ConversionIsa;
    std::mt19937 random(34);
    for (int trial = 0; trial < 200; ++trial) {
        const int width = static_cast<int>(random() % 90) + 1;
        const int height = static_cast<int>(random() % 6) + 1;
        const int depth = random() % 2 ? 32 : 24;
        const bool runLength = random() % 3 != 0;
        auto file = TgaBuilder::Picture(width, height, RandomPicture(random, width, height), depth,
                                        runLength);
        if (trial % 4 == 0) {
            file.resize(18 + random() % (file.size() - 17)); // ends early
        }
        Picture555 plain;
        ASSERT_EQ(ReadPicture555(file, plain, ConversionIsa::Plain), tga::kNoError);
        for (const ConversionIsa isa :
             {ConversionIsa::Sse2, ConversionIsa::Avx2, ConversionIsa::Avx512}) {
            Picture555 picture;
            ASSERT_EQ(ReadPicture555(file, picture, isa), tga::kNoError);
            ExpectSamePicture(picture, plain);
        }
    }
}

// Packets as any writer may store them: across row ends, past the last pixel, and cut short by
// the end of the file, read by every block conversion.
TEST(PictureReading, PacketsAcrossRowsAndPastThePicture) {
    using blocks::ConversionIsa;
    std::mt19937 random(55);
    for (int trial = 0; trial < 300; ++trial) {
        const int width = static_cast<int>(random() % 40) + 1;
        const int height = static_cast<int>(random() % 8) + 1;
        TgaBuilder builder(width, height, 32, true);
        const auto pixelCount = static_cast<std::size_t>(width) * height;
        for (std::size_t stored = 0; stored < pixelCount + 20;) {
            const int count = static_cast<int>(random() % 128) + 1;
            const auto pixels = RandomPicture(random, count, 1);
            if (random() % 2) {
                builder.Run(count, pixels[0]);
            } else {
                builder.Raw(pixels);
            }
            stored += static_cast<std::size_t>(count);
        }
        auto file = builder.bytes();
        if (trial % 3 == 0) {
            file.resize(18 + random() % (file.size() - 17)); // ends early
        }
        const Picture555 expected = ReferenceReading(file);
        for (const ConversionIsa isa : {ConversionIsa::Plain, ConversionIsa::Sse2,
                                        ConversionIsa::Avx2, ConversionIsa::Avx512}) {
            Picture555 picture;
            ASSERT_EQ(ReadPicture555(file, picture, isa), tga::kNoError);
            ExpectSamePicture(picture, expected);
        }
    }
}

// The planes are not cleared before reading: a picture read over an earlier one of the same
// size must still have every pixel of its own, transparent ones and missing ones included.
TEST(PictureReading, ReadingOverAnotherPictureWritesEveryPixel) {
    std::mt19937 random(8);
    const int width = 77;
    const int height = 9;
    std::vector<TgaColor> noise(static_cast<std::size_t>(width) * height);
    for (auto& pixel : noise) {
        pixel = random() | 0xFF000000u;
    }
    std::vector<TgaColor> sparse(noise.size(), 0);
    sparse[100] = MakeTgaColor(200, 100, 50);
    const auto early = TgaBuilder::Picture(width, height, sparse, 32, true);
    for (const auto& second :
         {early, std::vector<std::uint8_t>(early.begin(), early.begin() + early.size() / 2)}) {
        Picture555 picture;
        ASSERT_EQ(ReadPicture555(TgaBuilder::Picture(width, height, noise, 32, false), picture),
                  tga::kNoError);
        ASSERT_EQ(ReadPicture555(second, picture), tga::kNoError);
        ExpectSamePicture(picture, ReferenceReading(second));
    }
}

TEST(PictureReading, RestoresTranslucentColoursAndTurnsTheRowsOver) {
    // Top row (stored last): one translucent pixel; bottom row: opaque red and transparent.
    const TgaColor dim = MakeTgaColor(64, 32, 0, 128);
    const auto file =
        TgaBuilder(2, 2).Pixels(std::vector<TgaColor>{MakeTgaColor(255, 0, 0), 0, dim, 0}).bytes();
    Picture555 picture;
    ASSERT_EQ(ReadPicture555(file, picture), tga::kNoError);
    TgaColor restored = dim;
    const std::uint8_t alpha = 128;
    RestoreTranslucentColours(std::span(&restored, 1), std::span(&alpha, 1));
    EXPECT_EQ(picture.pixels[0], ToPixel555(restored));
    EXPECT_NE(picture.pixels[0], ToPixel555(dim));
    EXPECT_EQ(picture.pixels[2], 0x7C00);
    EXPECT_EQ(std::vector<std::uint8_t>(picture.alpha.begin(), picture.alpha.end()),
              (std::vector<std::uint8_t>{128, 0, 248, 0}));
}

TEST(PictureReading, ReportsTheReaderErrors) {
    Picture555 picture;
    EXPECT_EQ(ReadPicture555(TgaBuilder(1, 1).Descriptor(0x28).bytes(), picture),
              tga::kUnsupportedKind);
    EXPECT_EQ(ReadPicture555(std::vector<std::uint8_t>(17), picture), tga::kHeaderTooShort);
    test::TempFolder folder;
    std::string failure;
    EXPECT_EQ(ReadPicture555(folder / "none.tga", picture, &failure), tga::kCannotOpen);
    EXPECT_EQ(failure, "cannot open the file: No such file or directory");
    folder.Write("mapped.tga", TgaBuilder(1, 1).Type(1).Depth(8).Descriptor(0).Byte(0).bytes());
    EXPECT_EQ(ReadPicture555(folder / "mapped.tga", picture, &failure), tga::kUnsupportedKind);
    EXPECT_NE(failure.find("a colour-mapped picture"), std::string::npos) << failure;
    folder.Write("one.tga", TgaBuilder(1, 1).Pixel(MakeTgaColor(8, 8, 8)).bytes());
    ASSERT_EQ(ReadPicture555(folder / "one.tga", picture), tga::kNoError);
    EXPECT_EQ(picture.pixels[0], 0x0421);
}

TEST(PictureReading, MaskPlanesUseTheirOwnThresholds) {
    // Bottom row stored first: grey 128, then (127, 130, 127); top row white and black.
    const auto file =
        TgaBuilder(2, 2, 24)
            .Pixels(std::vector<TgaColor>{MakeTgaColor(128, 128, 128), MakeTgaColor(127, 130, 127),
                                          MakeTgaColor(255, 255, 255), 0})
            .bytes();
    const CTgaReader reader(file);
    EXPECT_EQ(ReadMaskPlane(reader, MaskKind::Building), (std::vector<std::uint8_t>{1, 0, 1, 0}));
    EXPECT_EQ(ReadMaskPlane(reader, MaskKind::Unit), (std::vector<std::uint8_t>{1, 0, 0, 0}));
}

} // namespace
} // namespace fenwold
