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

TEST(TgaReader, PlainAndRunLengthPicturesKeepFileOrderAndAlpha) {
    const Colours stored{MakeTgaColor(1, 2, 3, 0), MakeTgaColor(4, 5, 6, 128), kRed,
                         MakeTgaColor(7, 8, 9, 7)};
    const CTgaReader reader(TgaBuilder(2, 2).Pixels(stored).bytes());
    ASSERT_TRUE(reader.HasAlpha());
    EXPECT_EQ(reader.error(), tga::kNoError);
    EXPECT_EQ(reader.width(), 2);
    EXPECT_EQ(reader.height(), 2);
    EXPECT_EQ(PixelsOf(reader), stored); // bottom row first, as stored
    EXPECT_EQ(AlphaOf(reader), (Bytes{0, 128, 255, 7}));
    const CTgaReader black(TgaBuilder(3, 1, 24).Pixels(Colours(3, 0)).bytes());
    ASSERT_TRUE(black.HasAlpha());
    EXPECT_EQ(AlphaOf(black), (Bytes{0, 0, 0}));
    const CTgaReader one(TgaBuilder(2, 1, 24).Pixel(0).Pixel(MakeTgaColor(0, 0, 1, 0)).bytes());
    EXPECT_EQ(AlphaOf(one), (Bytes{0, 255}));
    EXPECT_EQ(PixelsOf(one), (Colours{0, MakeTgaColor(0, 0, 1, 255)}));
    const TgaColor half = MakeTgaColor(10, 20, 30, 128);
    const CTgaReader packed(
        TgaBuilder(5, 1, 32, true).Run(3, half).Raw(Colours{kRed, kGreen}).bytes());
    ASSERT_TRUE(packed.HasAlpha());
    EXPECT_EQ(PixelsOf(packed), (Colours{half, half, half, kRed, kGreen}));
    EXPECT_EQ(AlphaOf(packed), (Bytes{128, 128, 128, 255, 255}));
    // Packets past the last pixel are cut.
    const CTgaReader run(TgaBuilder(3, 1, 32, true).Run(2, kRed).Run(128, kBlue).bytes());
    EXPECT_EQ(PixelsOf(run), (Colours{kRed, kRed, kBlue}));
    const CTgaReader raw(TgaBuilder(2, 1, 32, true).Raw(Colours{kRed, kGreen, kBlue}).bytes());
    EXPECT_EQ(PixelsOf(raw), (Colours{kRed, kGreen}));
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

TEST(TgaReader, RunLengthTwentyFourBitKeyColours) {
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
    // Keys 1 and 2 are the grey of both leading packets. The bottom row is transparent; red and
    // then green become the third key, so only the last of them stays transparent above it.
    const CTgaReader grey(TgaBuilder(4, 2, 24, true)
                              .Run(1, kGrey)
                              .Run(1, kGrey)
                              .Raw(Colours{kRed, kGreen})
                              .Raw(Colours{kRed, kGreen, kGrey, kBlue})
                              .bytes());
    EXPECT_EQ(AlphaOf(grey), (Bytes{0, 0, 0, 0, 255, 0, 0, 255}));
}

// No pixels and at most 2^26: 8192 x 8192 and 16384 x 4096 are read, one row or column more
// is not, nor a size that cannot be allocated (error 4).
TEST(TgaReader, PixelCountsFromNoneToTheLimitAreReadAndOnePastIsRefused) {
    const CTgaReader empty(TgaBuilder(0, 5).bytes());
    EXPECT_TRUE(empty.HasAlpha());
    EXPECT_EQ(empty.error(), tga::kNoError);
    EXPECT_TRUE(empty.pixels().empty());
    EXPECT_TRUE(empty.alpha().empty());
    // Enough data that the size is not refused as more than the data could describe.
    const Bytes data((std::size_t{1} << 26) / 32, 0);
    const auto parse = [&](int width, int height) {
        Bytes file = TgaBuilder(width, height, 32, true).bytes();
        file.insert(file.end(), data.begin(), data.end());
        tga::Layout layout;
        return std::pair(tga::ParseHeader(file, layout),
                         tga::DescribeError(tga::kOutOfMemory, file));
    };
    EXPECT_EQ(parse(8192, 8192).first, tga::kNoError);
    EXPECT_EQ(parse(16384, 4096).first, tga::kNoError);
    EXPECT_EQ(parse(8192, 8193).first, tga::kOutOfMemory);
    EXPECT_EQ(parse(8193, 8192).second,
              "the picture is too large: 8193 x 8192 pixels (at most 67108864)");
    EXPECT_EQ(tga::UsefulFileSize(TgaBuilder(8192, 8192).bytes()), 18u + (4u << 26));
    EXPECT_EQ(tga::UsefulFileSize(TgaBuilder(8192, 8193).bytes()), 18u);
    const CTgaReader reader(TgaBuilder(65535, 65535, 32, true).Run(1, kRed).bytes());
    EXPECT_EQ(reader.error(), tga::kOutOfMemory);
    EXPECT_FALSE(reader.HasAlpha());
    EXPECT_EQ(reader.failure(),
              "the picture is too large: 65535 x 65535 pixels (at most 67108864)");
    EXPECT_EQ(CTgaReader(TgaBuilder(4096, 4096, 32, true).Run(1, kRed).bytes()).failure(),
              "the header claims 4096 x 4096 pixels, far more than its 5 bytes of pixel data "
              "hold");
}

// Refused kinds are named for what they are, so that a message can say why.
TEST(TgaReader, RefusedKinds) {
    const auto refused = [](const TgaBuilder& builder) {
        const CTgaReader reader(builder.bytes());
        EXPECT_FALSE(reader.HasAlpha());
        EXPECT_TRUE(reader.alpha().empty());
        EXPECT_EQ(reader.error(), tga::kUnsupportedKind);
        const std::string prefix = "the tool does not read this kind of Targa picture: ";
        EXPECT_EQ(reader.failure().substr(0, prefix.size()), prefix);
        return reader.failure().substr(prefix.size(),
                                       reader.failure().find(" (it reads") - prefix.size());
    };
    const std::pair<TgaBuilder, const char*> cases[] = {
        {TgaBuilder(1, 1).Descriptor(0x28).Pixel(kRed), "a picture stored top row first"},
        {TgaBuilder(1, 1).Descriptor(0x18).Pixel(kRed), "a picture stored right to left"},
        {TgaBuilder(1, 1).Descriptor(0).Pixel(kRed), "a 32-bit picture with 0 alpha bits"},
        {TgaBuilder(1, 1, 24).Descriptor(8).Pixel(kRed), "a 24-bit picture with 8 alpha bits"},
        // Run-length pictures too: read with the wrong descriptor they would come out upside down.
        {TgaBuilder(1, 1, 24, true).Descriptor(0x20).Run(1, kRed),
         "a picture stored top row first"},
        {TgaBuilder(1, 1, 24, true).Descriptor(8).Run(1, kRed),
         "a 24-bit picture with 8 alpha bits"},
        {TgaBuilder(1, 1, 32, true).Descriptor(0x28).Run(1, kRed),
         "a picture stored top row first"},
        {TgaBuilder(1, 1, 32, true).Descriptor(0).Run(1, kRed),
         "a 32-bit picture with 0 alpha bits"},
        {TgaBuilder(1, 1).Depth(16).Descriptor(0).Byte(0).Byte(0), "a 16-bit picture"},
        {TgaBuilder(1, 1).Type(1).Depth(8).Descriptor(0).Byte(0), "a colour-mapped picture"},
        {TgaBuilder(1, 1).Type(9).Depth(8).Descriptor(0).Byte(0), "a colour-mapped picture"},
        {TgaBuilder(1, 1).Type(3).Depth(8), "a grey-scale picture"},
        {TgaBuilder(1, 1).Type(11).Depth(8), "a grey-scale picture"},
        {TgaBuilder(1, 1).Type(0), "it holds no picture (image type 0)"},
        {TgaBuilder(1, 1).Type(32), "image type 32"}};
    for (const auto& [builder, kind] : cases) {
        EXPECT_EQ(refused(builder), kind);
    }
}

// A true-colour picture may carry an image ID field (netpbm's "pamtotga -name" writes one) or
// a colour map; the pixel data follows them. Every kind, with ID fields of 1 and 255 bytes,
// reads as the same picture without them.
TEST(TgaReader, PixelDataFollowsTheImageIdAndAColourMap) {
    const Colours picture{kRed,  kBlue, MakeTgaColor(10, 200, 30, 128), kGreen,
                          kGrey, 0,     MakeTgaColor(250, 5, 60),       kBlue};
    for (const int depth : {24, 32}) {
        for (const bool runLength : {false, true}) {
            const Bytes plain = TgaBuilder::Picture(4, 2, picture, depth, runLength);
            const CTgaReader expected(plain);
            ASSERT_TRUE(expected.HasAlpha());
            for (const Bytes& file :
                 {TgaBuilder::WithImageId(plain, 1), TgaBuilder::WithImageId(plain, 255),
                  TgaBuilder::WithColourMap(plain, 3)}) {
                const CTgaReader reader(file);
                ASSERT_TRUE(reader.HasAlpha()) << depth << runLength;
                EXPECT_EQ(PixelsOf(reader), PixelsOf(expected)) << depth << runLength;
                EXPECT_EQ(AlphaOf(reader), AlphaOf(expected)) << depth << runLength;
                EXPECT_EQ(reader.missingPixels(), 0u);
            }
        }
    }
    // A file that ends inside its ID field has no pixel data at all.
    Bytes cut = TgaBuilder(2, 1).Pixel(kRed).bytes();
    cut[0] = 9;
    const CTgaReader shortId(cut);
    ASSERT_TRUE(shortId.HasAlpha());
    EXPECT_EQ(PixelsOf(shortId), (Colours{0, 0}));
    EXPECT_EQ(shortId.missingPixels(), 2u);
}

TEST(TgaReader, KeepsTheHeaderAsStoredAndRefusesShortHeadersAndMissingFiles) {
    const CTgaReader reader(TgaBuilder(300, 2).Descriptor(0x28).bytes());
    EXPECT_EQ(reader.error(), tga::kUnsupportedKind);
    EXPECT_EQ(reader.header()[12], 300 & 0xFF);
    EXPECT_EQ(reader.header()[13], 300 >> 8);
    EXPECT_EQ(reader.header()[17], 0x28);
    Bytes header = TgaBuilder(1, 1).bytes();
    header.pop_back();
    EXPECT_EQ(CTgaReader(header).error(), tga::kHeaderTooShort);
    EXPECT_EQ(CTgaReader(header).failure(),
              "the file is shorter than a Targa header (17 of 18 bytes)");
    test::TempFolder folder;
    const CTgaReader missing(folder / "missing.tga");
    EXPECT_EQ(missing.error(), tga::kCannotOpen);
    EXPECT_EQ(missing.failure(), "cannot open the file: No such file or directory");
    EXPECT_FALSE(missing.HasAlpha());
}

// A file that ends early is read, its missing pixels transparent black, and says how many.
TEST(TgaReader, TruncatedFilesLeaveTransparentBlack) {
    // Plain: one whole pixel and half of the next.
    Bytes plain = TgaBuilder(3, 1).Pixel(kRed).Pixel(kGreen).bytes();
    plain.resize(plain.size() - 2);
    EXPECT_EQ(PixelsOf(CTgaReader(plain)), (Colours{kRed, 0, 0}));
    EXPECT_EQ(CTgaReader(plain).missingPixels(), 2u);
    // Run-length: a raw packet cut inside its second pixel, then nothing.
    Bytes raw = TgaBuilder(4, 1, 32, true).Raw(Colours{kRed, kGreen, kBlue}).bytes();
    raw.resize(raw.size() - 6);
    const CTgaReader rawReader(raw);
    EXPECT_EQ(PixelsOf(rawReader), (Colours{kRed, 0, 0, 0}));
    EXPECT_EQ(AlphaOf(rawReader), (Bytes{255, 0, 0, 0}));
    EXPECT_EQ(rawReader.missingPixels(), 3u);
    // A run packet without its pixel.
    const CTgaReader noPixel(TgaBuilder(2, 1, 32, true).Byte(0x81).Byte(1).bytes());
    EXPECT_EQ(PixelsOf(noPixel), (Colours{0, 0}));
    EXPECT_EQ(noPixel.missingPixels(), 2u);
    // 24-bit run-length: the missing pixels are not taken for opaque black.
    const CTgaReader keyed(TgaBuilder(2, 2, 24, true).Run(2, kRed).Run(1, kGreen).bytes());
    EXPECT_EQ(AlphaOf(keyed), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(keyed.missingPixels(), 1u);
    const CTgaReader headerOnly(TgaBuilder(2, 2, 24, true).bytes());
    EXPECT_EQ(AlphaOf(headerOnly), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(headerOnly.missingPixels(), 4u);
    // A whole picture misses nothing, also when a packet runs past its end.
    EXPECT_EQ(CTgaReader(TgaBuilder(2, 1, 32, true).Run(5, kRed).bytes()).missingPixels(), 0u);
}

// From a file, only the bytes a picture of its header's kind and size can use are read, so a
// huge file with a small header costs nothing; a refused header is all that is read.
TEST(TgaReader, ReadsOnlyTheBytesThePictureCanUse) {
    test::TempFolder folder;
    Bytes plain = TgaBuilder(2, 1).Pixel(kRed).Pixel(kBlue).bytes();
    plain.resize(plain.size() + 100000, 0xEE);
    folder.Write("plain.tga", plain);
    EXPECT_EQ(tga::ReadFile(folder / "plain.tga").size(), 18u + 8u);
    Bytes packed = TgaBuilder::WithImageId(TgaBuilder(3, 1, 24, true).Run(3, kRed).bytes(), 5);
    packed.resize(packed.size() + 100000, 0xEE);
    folder.Write("packed.tga", packed);
    EXPECT_EQ(tga::ReadFile(folder / "packed.tga").size(), 18u + 5u + 3u * 4u);
    Bytes grey = TgaBuilder(300, 300).Type(3).bytes();
    grey.resize(100000, 0xEE);
    folder.Write("grey.tga", grey);
    EXPECT_EQ(tga::ReadFile(folder / "grey.tga").size(), 18u);
    const CTgaReader reader(folder / "plain.tga");
    EXPECT_EQ(PixelsOf(reader), (Colours{kRed, kBlue}));
}

} // namespace
} // namespace fenwold
