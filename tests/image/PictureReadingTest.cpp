#include "image/PictureReading.h"

#include "image/Hsv.h"
#include "image/PictureBox.h"
#include "image/RandomPictures.h"
#include "image/TgaReader.h"
#include "support/TempFolder.h"
#include "support/TgaBuilder.h"

#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace fenwold {
namespace {

using test::RandomFile;
using test::RandomPicture;
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

void ExpectSamePicture(const Picture555& actual, const Picture555& expected) {
    ASSERT_EQ(actual.width, expected.width);
    ASSERT_EQ(actual.height, expected.height);
    ASSERT_TRUE(std::equal(actual.pixels.begin(), actual.pixels.end(), expected.pixels.begin(),
                           expected.pixels.end()));
    ASSERT_TRUE(std::equal(actual.alpha.begin(), actual.alpha.end(), expected.alpha.begin(),
                           expected.alpha.end()));
}

// Every block conversion the processor runs reads the file as the reader followed by the
// conversion does.
void ExpectEveryConversionReads(std::span<const std::uint8_t> file) {
    using blocks::ConversionIsa;
    const Picture555 expected = ReferenceReading(file);
    for (const ConversionIsa isa :
         {ConversionIsa::Plain, ConversionIsa::Sse2, ConversionIsa::Avx2, ConversionIsa::Avx512}) {
        Picture555 picture;
        ASSERT_EQ(ReadPicture555(file, picture, isa), tga::kNoError);
        ExpectSamePicture(picture, expected);
        ASSERT_EQ(picture.missingPixels, CTgaReader(file).missingPixels());
    }
}

// Random pictures of every kind, and packets as any writer may store them: across row ends,
// past the last pixel, and cut short by the end of the file.
TEST(PictureReading, EveryConversionMatchesTheReaderFollowedByTheConversion) {
    std::mt19937 random(21);
    for (int trial = 0; trial < 300; ++trial) {
        SCOPED_TRACE(trial);
        ExpectEveryConversionReads(RandomFile(random, 90, trial));
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
        ExpectEveryConversionReads(file);
    }
}

// Every channel and alpha value next to a boundary of the truncation or of translucency, in
// every lane of the blocks, stored plainly and as runs.
TEST(PictureReading, EdgeValuesReadAlikeInEveryConversion) {
    const std::uint8_t edges[] = {0, 1, 7, 8, 9, 127, 128, 246, 247, 248, 254, 255};
    std::vector<TgaColor> pixels;
    TgaBuilder runs(70, 12 * 12 * 12, 32, true);
    for (const std::uint8_t blue : edges) {
        for (const std::uint8_t green : edges) {
            for (const std::uint8_t red : edges) {
                for (const std::uint8_t alpha : edges) {
                    pixels.push_back(MakeTgaColor(red, green, blue, alpha));
                }
                runs.Run(70, MakeTgaColor(red, green, blue, edges[pixels.size() / 12 % 12]));
            }
        }
    }
    ExpectEveryConversionReads(TgaBuilder::Picture(144, 144, pixels, 32, false));
    ExpectEveryConversionReads(runs.bytes());
}

// Every reading, from bytes or from a file, reports the reader's errors, and from a file why.
TEST(PictureReading, EveryReadingReportsTheReaderErrors) {
    Picture555 picture;
    MaskPicture mask;
    PictureOutline outline;
    for (const auto& file : {TgaBuilder(1, 1).Type(1).Depth(8).Descriptor(0).Byte(0).bytes(),
                             std::vector<std::uint8_t>(17)}) {
        const std::uint32_t error = CTgaReader(file).error();
        ASSERT_NE(error, tga::kNoError);
        EXPECT_EQ(ReadPicture555(file, picture), error);
        EXPECT_EQ(ReadMaskPicture(file, MaskKind::Unit, mask), error);
        EXPECT_EQ(ReadPictureOutline(file, outline), error);
    }
    test::TempFolder folder;
    folder.Write("mapped.tga", TgaBuilder(1, 1).Type(1).Depth(8).Descriptor(0).Byte(0).bytes());
    ByteBuffer buffer;
    std::string failure;
    EXPECT_EQ(ReadMaskPicture(folder / "mapped.tga", MaskKind::Unit, mask, buffer, &failure),
              tga::kUnsupportedKind);
    EXPECT_NE(failure.find("a colour-mapped picture"), std::string::npos) << failure;
    EXPECT_EQ(ReadPicture555(folder / "none.tga", picture, &failure), tga::kCannotOpen);
    EXPECT_EQ(failure, "cannot open the file: No such file or directory");
}

// The mask form read straight from the file equals the reader's pixels thresholded one by one
// and turned over, in every kind of picture, read over a larger earlier mask (its plane is not
// cleared), and with the pixels a short file lacks left unselected.
TEST(PictureReading, MaskPicturesMatchTheReaderThresholdedPixelByPixel) {
    std::mt19937 random(61);
    MaskPicture mask;
    for (int trial = 0; trial < 300; ++trial) {
        const auto file = RandomFile(random, 60, trial);
        const CTgaReader reader(file);
        ASSERT_TRUE(reader.HasAlpha());
        const int width = reader.width();
        const int height = reader.height();
        for (const MaskKind kind : {MaskKind::Unit, MaskKind::Building}) {
            ASSERT_EQ(ReadMaskPicture(file, kind, mask), tga::kNoError);
            ASSERT_EQ(mask.width, width);
            ASSERT_EQ(mask.height, height);
            ASSERT_EQ(mask.missingPixels, reader.missingPixels()) << trial;
            ASSERT_EQ(mask.plane.size(), reader.pixels().size());
            for (int y = 0; y < height; ++y) {
                for (int x = 0; x < width; ++x) {
                    const TgaColor colour =
                        reader.pixels()[static_cast<std::size_t>(height - 1 - y) * width + x];
                    const bool selected = kind == MaskKind::Unit ? IsUnitMaskSelected(colour)
                                                                 : IsBuildingMaskSelected(colour);
                    ASSERT_EQ(mask.plane[static_cast<std::size_t>(y) * width + x], selected ? 1 : 0)
                        << trial << " at " << x << "," << y;
                }
            }
        }
    }
}

// The outline's box is the box of the non-zero alpha the full reading gives, and its size and
// missing pixels are the reading's, in every kind of picture and for pictures that end early.
TEST(PictureReading, OutlineMatchesTheFullReading) {
    std::mt19937 random(73);
    int withoutVisible = 0;
    for (int trial = 0; trial < 400; ++trial) {
        const int width = static_cast<int>(random() % 50) + 1;
        const int height = static_cast<int>(random() % 7) + 1;
        const int depth = random() % 2 ? 32 : 24;
        const bool runLength = random() % 3 != 0;
        auto pixels = RandomPicture(random, width, height);
        if (trial % 5 == 0) {
            // A few visible pixels in a transparent picture, or none, or only faint ones (alpha
            // below 8 reads as 0).
            std::fill(pixels.begin(), pixels.end(), 0);
            for (unsigned k = random() % 3; k > 0; --k) {
                pixels[random() % pixels.size()] =
                    MakeTgaColor(200, 10, 90, static_cast<std::uint8_t>(random() % 2 ? 7 : 8));
            }
        }
        auto file = TgaBuilder::Picture(width, height, pixels, depth, runLength);
        if (trial % 4 == 1) {
            file.resize(18 + random() % (file.size() - 17)); // ends early
        }
        Picture555 picture;
        ASSERT_EQ(ReadPicture555(file, picture), tga::kNoError);
        PictureOutline outline;
        ASSERT_EQ(ReadPictureOutline(file, outline), tga::kNoError);
        EXPECT_EQ(outline.width, width);
        EXPECT_EQ(outline.height, height);
        EXPECT_EQ(outline.missingPixels, picture.missingPixels) << trial;
        const auto expected = OpaqueBox(picture.alpha, width, height);
        ASSERT_EQ(outline.visible, expected) << trial;
        withoutVisible += expected ? 0 : 1;
    }
    EXPECT_GT(withoutVisible, 0); // the trials include pictures with nothing visible
}

// One file buffer and one picture for a whole series: a larger file (with a colour map), then a
// smaller one (with an image ID), then a missing one, then the first again read as if each were
// read alone.
TEST(PictureReading, ASeriesReadsThroughOneBufferAsEachFileAlone) {
    std::mt19937 random(90);
    test::TempFolder folder;
    const auto large = TgaBuilder::WithColourMap(
        TgaBuilder::Picture(40, 30, RandomPicture(random, 40, 30), 32, true), 20);
    auto small = TgaBuilder::WithImageId(
        TgaBuilder::Picture(7, 3, RandomPicture(random, 7, 3), 24, false), 200);
    small.resize(small.size() - 5); // ends early
    folder.Write("large.tga", large);
    folder.Write("small.tga", small);
    ByteBuffer buffer;
    Picture555 picture;
    std::string failure;
    for (const char* name : {"large.tga", "small.tga", "large.tga"}) {
        ASSERT_EQ(ReadPicture555(folder / name, picture, buffer, &failure), tga::kNoError);
        Picture555 alone;
        ASSERT_EQ(ReadPicture555(folder / name, alone), tga::kNoError);
        ExpectSamePicture(picture, alone);
        EXPECT_EQ(picture.missingPixels, alone.missingPixels);
        if (name == std::string("small.tga")) {
            EXPECT_EQ(buffer.size(), small.size());
            EXPECT_EQ(picture.missingPixels, 2u); // 5 bytes: one whole pixel and a part
        }
        ASSERT_EQ(ReadPicture555(folder / "missing.tga", picture, buffer, &failure),
                  tga::kCannotOpen);
        EXPECT_FALSE(failure.empty());
    }
}

} // namespace
} // namespace fenwold
