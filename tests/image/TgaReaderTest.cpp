#include "image/TgaReader.h"

#include "support/TempFolder.h"
#include "support/TgaBuilder.h"

#include <gtest/gtest.h>
#include <vector>

namespace fenwold {
namespace {

using test::TgaBuilder;
using Colours = std::vector<TgaColor>;
using Bytes = std::vector<std::uint8_t>;

Colours PixelsOf(const CTgaReader& reader) {
    return {reader.pixels().begin(), reader.pixels().end()};
}
Bytes AlphaOf(const CTgaReader& reader) {
    return {reader.alpha().begin(), reader.alpha().end()};
}

const TgaColor kRed = MakeTgaColor(255, 0, 0);
const TgaColor kGreen = MakeTgaColor(0, 255, 0);
const TgaColor kBlue = MakeTgaColor(0, 0, 255);
const TgaColor kGrey = MakeTgaColor(90, 90, 90);

TEST(TgaReader, PlainThirtyTwoBitKeepsFileOrderAndAlpha) {
    const Colours stored{MakeTgaColor(1, 2, 3, 0), MakeTgaColor(4, 5, 6, 128), kRed,
                         MakeTgaColor(7, 8, 9, 7)};
    const CTgaReader reader(TgaBuilder(2, 2).Pixels(stored).bytes());
    ASSERT_TRUE(reader.HasAlpha());
    EXPECT_EQ(reader.error(), tga::kNoError);
    EXPECT_EQ(reader.width(), 2);
    EXPECT_EQ(reader.height(), 2);
    EXPECT_EQ(PixelsOf(reader), stored); // bottom row first, as stored
    EXPECT_EQ(AlphaOf(reader), (Bytes{0, 128, 255, 7}));
}

TEST(TgaReader, PlainTwentyFourBitTakesBlackAsTransparent) {
    const CTgaReader black(TgaBuilder(3, 1, 24).Pixels(Colours(3, 0)).bytes());
    ASSERT_TRUE(black.HasAlpha());
    EXPECT_EQ(AlphaOf(black), (Bytes{0, 0, 0}));
    const CTgaReader one(TgaBuilder(2, 1, 24).Pixel(0).Pixel(MakeTgaColor(0, 0, 1, 0)).bytes());
    EXPECT_EQ(AlphaOf(one), (Bytes{0, 255}));
    EXPECT_EQ(PixelsOf(one), (Colours{0, MakeTgaColor(0, 0, 1, 255)}));
}

TEST(TgaReader, RunLengthThirtyTwoBit) {
    const TgaColor half = MakeTgaColor(10, 20, 30, 128);
    const Colours raw{kRed, kGreen};
    const CTgaReader reader(TgaBuilder(5, 1, 32, true).Run(3, half).Raw(raw).bytes());
    ASSERT_TRUE(reader.HasAlpha());
    EXPECT_EQ(PixelsOf(reader), (Colours{half, half, half, kRed, kGreen}));
    EXPECT_EQ(AlphaOf(reader), (Bytes{128, 128, 128, 255, 255}));
}

TEST(TgaReader, PacketHeaderCounts) {
    const CTgaReader one(TgaBuilder(1, 1, 32, true).Byte(0x80).Pixel(kRed).bytes());
    EXPECT_EQ(PixelsOf(one), (Colours{kRed}));
    // 0xFF repeats 128 times, running across rows of 100.
    const CTgaReader many(
        TgaBuilder(100, 2, 32, true).Byte(0xFF).Pixel(kGreen).Run(72, kBlue).bytes());
    const Colours pixels = PixelsOf(many);
    EXPECT_EQ(std::count(pixels.begin(), pixels.begin() + 128, kGreen), 128);
    EXPECT_EQ(std::count(pixels.begin() + 128, pixels.end(), kBlue), 72);
    // 0x7F is followed by 128 raw pixels.
    Colours raw(128);
    for (std::size_t i = 0; i < raw.size(); ++i) {
        raw[i] = MakeTgaColor(static_cast<std::uint8_t>(i), 1, 2);
    }
    const CTgaReader literal(TgaBuilder(128, 1, 32, true).Byte(0x7F).Pixels(raw).bytes());
    EXPECT_EQ(PixelsOf(literal), raw);
}

TEST(TgaReader, PacketsPastTheLastPixelAreCut) {
    const CTgaReader run(TgaBuilder(3, 1, 32, true).Run(2, kRed).Run(128, kBlue).bytes());
    EXPECT_EQ(PixelsOf(run), (Colours{kRed, kRed, kBlue}));
    const CTgaReader raw(TgaBuilder(2, 1, 32, true).Raw(Colours{kRed, kGreen, kBlue}).bytes());
    EXPECT_EQ(PixelsOf(raw), (Colours{kRed, kGreen}));
}

TEST(TgaReader, RunLengthTwentyFourBitLeadingPacketColoursAreKeys) {
    // The file starts with a run of A and a run of B: A and B are transparent everywhere.
    const TgaColor a = MakeTgaColor(200, 10, 10, 0);
    const TgaColor b = MakeTgaColor(10, 200, 10, 0);
    const TgaColor c = MakeTgaColor(10, 10, 200, 0);
    const CTgaReader reader(TgaBuilder(3, 3, 24, true)
                                .Run(2, a)
                                .Run(1, b)
                                .Raw(Colours{c, a, b})
                                .Raw(Colours{b, c, a})
                                .bytes());
    ASSERT_TRUE(reader.HasAlpha());
    EXPECT_EQ(AlphaOf(reader), (Bytes{0, 0, 0, 255, 0, 0, 0, 255, 0}));
    EXPECT_EQ(reader.pixels()[3], c | 0xFF000000u);
    EXPECT_EQ(reader.pixels()[4], a); // transparent pixels keep alpha byte 0
}

TEST(TgaReader, RunLengthTwentyFourBitBottomRowColoursAreKeys) {
    // Keys 1 and 2 are the grey of both leading packets. The bottom row is transparent; red and
    // then green become the third key, so only the last of them stays transparent above it.
    const CTgaReader reader(TgaBuilder(4, 2, 24, true)
                                .Run(1, kGrey)
                                .Run(1, kGrey)
                                .Raw(Colours{kRed, kGreen})
                                .Raw(Colours{kRed, kGreen, kGrey, kBlue})
                                .bytes());
    EXPECT_EQ(AlphaOf(reader), (Bytes{0, 0, 0, 0, 255, 0, 0, 255}));
}

TEST(TgaReader, EmptyPictureSucceeds) {
    const CTgaReader reader(TgaBuilder(0, 5).bytes());
    EXPECT_TRUE(reader.HasAlpha());
    EXPECT_EQ(reader.error(), tga::kNoError);
    EXPECT_TRUE(reader.pixels().empty());
    EXPECT_TRUE(reader.alpha().empty());
}

TEST(TgaReader, RefusedKinds) {
    const auto refused = [](const TgaBuilder& builder) {
        const CTgaReader reader(builder.bytes());
        EXPECT_FALSE(reader.HasAlpha());
        EXPECT_TRUE(reader.alpha().empty());
        return reader.error();
    };
    EXPECT_EQ(refused(TgaBuilder(1, 1).Descriptor(0x28).Pixel(kRed)), 3u); // top row first
    EXPECT_EQ(refused(TgaBuilder(1, 1).Descriptor(0).Pixel(kRed)), 3u);    // no alpha bits
    EXPECT_EQ(refused(TgaBuilder(1, 1, 24).Descriptor(8).Pixel(kRed)), 3u);
    EXPECT_EQ(refused(TgaBuilder(1, 1).Depth(16).Descriptor(0).Byte(0).Byte(0)), 3u);
    EXPECT_EQ(refused(TgaBuilder(1, 1).Type(1).Depth(8).Descriptor(0).Byte(0)), 3u); // mapped
    EXPECT_EQ(refused(TgaBuilder(1, 1).Type(9).Depth(8).Descriptor(0).Byte(0)), 3u);
    EXPECT_EQ(refused(TgaBuilder(1, 1).Type(3).Depth(32)), 3u); // grey
}

TEST(TgaReader, KeepsTheHeaderAsStored) {
    const CTgaReader reader(TgaBuilder(300, 2).Descriptor(0x28).bytes());
    EXPECT_EQ(reader.error(), tga::kUnsupportedKind);
    EXPECT_EQ(reader.header()[12], 300 & 0xFF);
    EXPECT_EQ(reader.header()[13], 300 >> 8);
    EXPECT_EQ(reader.header()[17], 0x28);
}

TEST(TgaReader, ShortHeaderAndMissingFile) {
    Bytes header = TgaBuilder(1, 1).bytes();
    header.pop_back();
    EXPECT_EQ(CTgaReader(header).error(), tga::kHeaderTooShort);
    test::TempFolder folder;
    const CTgaReader missing(folder / "missing.tga");
    EXPECT_EQ(missing.error(), tga::kCannotOpen);
    EXPECT_FALSE(missing.HasAlpha());
}

TEST(TgaReader, ReadsFromAFile) {
    test::TempFolder folder;
    folder.Write("a.tga", TgaBuilder(1, 1).Pixel(kRed).bytes());
    const CTgaReader reader(folder / "a.tga");
    ASSERT_TRUE(reader.HasAlpha());
    EXPECT_EQ(PixelsOf(reader), (Colours{kRed}));
}

TEST(TgaReader, SizeThatCannotBeAllocatedIsErrorFour) {
    const CTgaReader reader(TgaBuilder(65535, 65535, 32, true).Run(1, kRed).bytes());
    EXPECT_EQ(reader.error(), tga::kOutOfMemory);
    EXPECT_FALSE(reader.HasAlpha());
}

TEST(TgaReader, TruncatedFilesLeaveTransparentBlack) {
    // Plain: one whole pixel and half of the next.
    Bytes plain = TgaBuilder(3, 1).Pixel(kRed).Pixel(kGreen).bytes();
    plain.resize(plain.size() - 2);
    EXPECT_EQ(PixelsOf(CTgaReader(plain)), (Colours{kRed, 0, 0}));
    // Run-length: a raw packet cut inside its second pixel, then nothing.
    Bytes raw = TgaBuilder(4, 1, 32, true).Raw(Colours{kRed, kGreen, kBlue}).bytes();
    raw.resize(raw.size() - 6);
    const CTgaReader rawReader(raw);
    EXPECT_EQ(PixelsOf(rawReader), (Colours{kRed, 0, 0, 0}));
    EXPECT_EQ(AlphaOf(rawReader), (Bytes{255, 0, 0, 0}));
    // A run packet without its pixel.
    EXPECT_EQ(PixelsOf(CTgaReader(TgaBuilder(2, 1, 32, true).Byte(0x81).Byte(1).bytes())),
              (Colours{0, 0}));
    // 24-bit run-length: the missing pixels are not taken for opaque black.
    const CTgaReader keyed(TgaBuilder(2, 2, 24, true).Run(2, kRed).Run(1, kGreen).bytes());
    EXPECT_EQ(AlphaOf(keyed), (Bytes{0, 0, 0, 0}));
    const CTgaReader headerOnly(TgaBuilder(2, 2, 24, true).bytes());
    EXPECT_EQ(AlphaOf(headerOnly), (Bytes{0, 0, 0, 0}));
}

TEST(TgaReader, WholePicturesRoundTripThroughTheBuilder) {
    Colours picture(37 * 5);
    for (std::size_t i = 0; i < picture.size(); ++i) {
        picture[i] = i % 7 < 3 ? kRed : MakeTgaColor(static_cast<std::uint8_t>(i), 3, 4, 200);
    }
    for (const bool runLength : {false, true}) {
        const CTgaReader reader(TgaBuilder::Picture(37, 5, picture, 32, runLength));
        ASSERT_TRUE(reader.HasAlpha());
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 37; ++x) {
                ASSERT_EQ(reader.pixels()[(4 - y) * 37 + x], picture[y * 37 + x]);
            }
        }
    }
}

} // namespace
} // namespace fenwold
