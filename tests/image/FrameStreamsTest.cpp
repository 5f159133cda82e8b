#include "image/FrameStreams.h"

#include "image/PictureBox.h"

#include <gtest/gtest.h>
#include <random>
#include <stdexcept>
#include <vector>

namespace fenwold {
namespace {

using Slots = std::vector<std::uint16_t>;
using Bytes = std::vector<std::uint8_t>;

// Rows with runs of every length around the token limits and stretches of noise between them.
template <typename T>
std::vector<T> RandomPlane(std::mt19937& random, int width, int height, unsigned alphabet) {
    std::vector<T> plane(static_cast<std::size_t>(width) * height);
    std::size_t i = 0;
    while (i < plane.size()) {
        const T value = static_cast<T>(random() % alphabet);
        const std::size_t length = random() % 4 == 0 ? random() % 300 + 1 : 1;
        for (std::size_t k = 0; k < length && i < plane.size(); ++k) {
            plane[i++] = value;
        }
    }
    return plane;
}

constexpr int kRoundTripWidths[] = {0, 1, 2, 126, 127, 253};

Bytes SlotBytes(const Slots& slots) {
    Bytes bytes;
    for (const std::uint16_t slot : slots) {
        bytes.push_back(static_cast<std::uint8_t>(slot));
        bytes.push_back(static_cast<std::uint8_t>(slot >> 8));
    }
    return bytes;
}

// The 16-bit stream encoded with its pixel slots marked, which is the plain stream, then
// converted to Pixel565 in place; empty when the conversion refuses.
Bytes ConvertedTo565(const std::vector<Pixel555>& pixels, const Bytes& alpha, int width, int height,
                     int stride) {
    Bytes bytes(AlphaKeyed16Bound(width, height));
    PixelSlots marks;
    bytes.resize(EncodeAlphaKeyed16(pixels.data(), alpha.data(), width, height, stride, stride,
                                    bytes.data(), marks));
    EXPECT_EQ(bytes, SlotBytes(EncodeAlphaKeyed16(pixels.data(), alpha.data(), width, height,
                                                  stride, stride)));
    return ConvertAlphaKeyed16To565(bytes, marks) ? bytes : Bytes{};
}

// --- Frame streams --------------------------------------------------------------------------

TEST(FrameStreams, WorkedAndEmptyRows) {
    EXPECT_EQ(EncodeFramePixels(std::vector<Pixel555>{5, 5, 5, 5, 9}, 5, 1),
              (Slots{7, 0, 0x0084, 5, 0x0001, 9, 0x00FF}));
    EXPECT_EQ(EncodeFrameAlpha(Bytes(4, 0), 4, 1), (Bytes{0x05, 0x00, 0x84, 0x00, 0xFF}));
    EXPECT_EQ(EncodeFramePixels({}, 0, 2), (Slots{3, 0, 0xFF, 3, 0, 0xFF}));
    EXPECT_EQ(EncodeFrameAlpha({}, 0, 1), (Bytes{3, 0, 0xFF}));
    EXPECT_TRUE(EncodeFramePixels({}, 4, 4).empty());
    const Bytes tooShort(15, 1);
    EXPECT_TRUE(EncodeFrameAlpha(tooShort, 4, 4).empty());
    EXPECT_TRUE(EncodeFrameAlpha(tooShort, 4, 0).empty());
}

TEST(FrameStreams, LiteralStopsWhereThreeEqualValuesBegin) {
    // a, b, c, c, c: the literal keeps a and b, all three c go to the run.
    EXPECT_EQ(EncodeFrameAlpha(Bytes{1, 2, 3, 3, 3}, 5, 1),
              (Bytes{8, 0, 0x02, 1, 2, 0x83, 3, 0xFF}));
    // Two equal values are not worth a run.
    EXPECT_EQ(EncodeFrameAlpha(Bytes{7, 7, 8}, 3, 1), (Bytes{7, 0, 0x03, 7, 7, 8, 0xFF}));
    // 125 different values, then three equal ones: the literal ends at 125 instead of taking the
    // first of the three as its 126th value.
    Bytes row;
    for (int i = 0; i < 125; ++i) {
        row.push_back(static_cast<std::uint8_t>(i % 2 == 0 ? i : 255 - i));
    }
    row.insert(row.end(), {200, 200, 200});
    const Bytes stream = EncodeFrameAlpha(row, static_cast<int>(row.size()), 1);
    ASSERT_EQ(stream.size(), 2u + 1 + 125 + 2 + 1);
    EXPECT_EQ(stream[2], 125);
    EXPECT_EQ(stream[2 + 1 + 125], 0x83);
    EXPECT_EQ(stream[2 + 1 + 126], 200);
}

TEST(FrameStreams, RunsAndLiteralsSplitAt126) {
    const std::vector<Pixel555> row(128, 0x1234);
    // 126 as a run, the two left over as a literal.
    EXPECT_EQ(EncodeFramePixels(row, 128, 1),
              (Slots{8, 0, 0x80 | 126, 0x1234, 0x0002, 0x1234, 0x1234, 0x00FF}));
    const std::vector<Pixel555> longer(129, 7);
    EXPECT_EQ(EncodeFramePixels(longer, 129, 1), (Slots{7, 0, 0x80 | 126, 7, 0x83, 7, 0x00FF}));
    std::vector<Pixel555> counting(300);
    for (std::size_t i = 0; i < counting.size(); ++i) {
        counting[i] = static_cast<Pixel555>(i);
    }
    const Slots stream = EncodeFramePixels(counting, 300, 1);
    ASSERT_EQ(stream.size(), 2u + 127 + 127 + 49 + 1);
    EXPECT_EQ(stream[2], 126);
    EXPECT_EQ(stream[2 + 127], 126);
    EXPECT_EQ(stream[2 + 254], 48);
    EXPECT_EQ(DecodeFramePixels(stream, 300, 1), counting);
}

TEST(FrameStreams, RoundTripsRandomRows) {
    std::mt19937 random(11);
    for (const int width : kRoundTripWidths) {
        for (int trial = 0; trial < 20; ++trial) {
            const int height = static_cast<int>(random() % 5) + 1;
            const auto pixels = RandomPlane<Pixel555>(random, width, height, 4 + trial * 1000);
            const auto alpha = RandomPlane<std::uint8_t>(random, width, height, 3 + trial * 12);
            const Slots pixelStream = EncodeFramePixels(pixels, width, height);
            const Bytes alphaStream = EncodeFrameAlpha(alpha, width, height);
            ASSERT_EQ(DecodeFramePixels(pixelStream, width, height), pixels) << width;
            ASSERT_EQ(DecodeFrameAlpha(alphaStream, width, height), alpha) << width;
            ASSERT_TRUE(FramePixelStreamFits(pixelStream, width, height));
            ASSERT_TRUE(FrameAlphaStreamFits(alphaStream, width, height));
            ASSERT_FALSE(FrameAlphaStreamFits(alphaStream, width + 1, height));
            ASSERT_FALSE(FrameAlphaStreamFits(alphaStream, width, height + 1));
        }
    }
}

TEST(FrameStreams, BrokenStreamsDecodeInsideTheirBuffersAndDoNotFit) {
    // A literal that claims more values than the row has, and a run longer than the width.
    const Slots overlong{6, 0, 0x0005, 1, 2, 0x00FF, 5, 0, 0x80 | 100, 9, 0x00FF};
    EXPECT_EQ(DecodeFramePixels(overlong, 3, 2), (std::vector<Pixel555>{1, 2, 0, 9, 9, 9}));
    EXPECT_FALSE(FramePixelStreamFits(overlong, 3, 2));
    // A row length of 0 or past the end stops decoding; the rest stays 0.
    EXPECT_EQ(DecodeFrameAlpha(Bytes{0, 0, 0x81, 4, 0xFF}, 2, 1), (Bytes{0, 0}));
    EXPECT_EQ(DecodeFrameAlpha(Bytes{5, 0, 0x82, 4, 0xFF, 200, 0}, 2, 2), (Bytes{4, 4, 0, 0}));
    EXPECT_EQ(DecodeFrameAlpha(Bytes{}, 2, 2), (Bytes{0, 0, 0, 0}));
    // A run header with its value cut off by the terminator.
    EXPECT_EQ(DecodeFrameAlpha(Bytes{4, 0, 0x82, 0xFF}, 2, 1), (Bytes{0, 0}));
    const Bytes good{5, 0, 0x82, 4, 0xFF};
    EXPECT_TRUE(FrameAlphaStreamFits(good, 2, 1));
    EXPECT_FALSE(FrameAlphaStreamFits(Bytes{5, 0, 0x82, 4, 0x00}, 2, 1));    // no terminator
    EXPECT_FALSE(FrameAlphaStreamFits(Bytes{5, 0, 0x80, 4, 0xFF}, 2, 1));    // count 0
    EXPECT_FALSE(FrameAlphaStreamFits(Bytes{5, 0, 0x82, 4, 0xFF, 0}, 2, 1)); // trailing byte
    EXPECT_FALSE(FrameAlphaStreamFits(Bytes{5, 0, 0x01, 4, 0xFF}, 2, 1));    // covers 1 of 2
    EXPECT_FALSE(FramePixelStreamFits(Slots{5, 0, 0x0182, 4, 0xFF}, 2, 1));  // high header bits
    // The shortest row is 3 slots (length, 0, terminator); a length of 2 ends inside itself.
    EXPECT_TRUE(FramePixelStreamFits(Slots{3, 0, 0xFF}, 0, 1));
    EXPECT_FALSE(FramePixelStreamFits(Slots{2, 0xFF}, 0, 1));
    // A token covers at most 126 values: a run of 126 fits its row, a run or literal of 127 not.
    EXPECT_TRUE(FrameAlphaStreamFits(Bytes{5, 0, 0x80 | 126, 4, 0xFF}, 126, 1));
    EXPECT_FALSE(FrameAlphaStreamFits(Bytes{5, 0, 0x80 | 127, 4, 0xFF}, 127, 1));
    Slots literal{2 + 1 + 127 + 1, 0, 127};
    literal.resize(2 + 1 + 127, 9);
    literal.push_back(0x00FF);
    EXPECT_FALSE(FramePixelStreamFits(literal, 127, 1));
    literal[2] = 126;
    literal[0] = 2 + 1 + 126 + 1;
    literal.erase(literal.begin() + 3);
    EXPECT_TRUE(FramePixelStreamFits(literal, 126, 1));
}

// A box cut from a larger plane by one encoder, frame after frame, gives the streams of the box
// cut out first (what lies outside the plane is 0), wherever the box lies: inside, across each
// edge, past the plane altogether.
TEST(FrameStreams, EncoderCutsBoxesAsTheCroppedPlaneEncodes) {
    std::mt19937 random(17);
    for (const int boxWidth : {1, 2, 7, 126, 127, 130}) {
        const int boxHeight = static_cast<int>(random() % 5) + 1;
        FrameStreamEncoder encoder(boxWidth, boxHeight);
        for (int trial = 0; trial < 40; ++trial) {
            const int planeWidth = static_cast<int>(random() % 140) + 1;
            const int planeHeight = static_cast<int>(random() % 8) + 1;
            const int left =
                static_cast<int>(random() % (planeWidth + boxWidth + 4)) - boxWidth - 2;
            const int top =
                static_cast<int>(random() % (planeHeight + boxHeight + 4)) - boxHeight - 2;
            const auto pixels =
                RandomPlane<Pixel555>(random, planeWidth, planeHeight, 5 + trial * 300);
            const auto alpha =
                RandomPlane<std::uint8_t>(random, planeWidth, planeHeight, 3 + trial);
            const auto croppedPixels = CropPlane<Pixel555>(pixels, planeWidth, planeHeight, left,
                                                           top, boxWidth, boxHeight);
            const auto croppedAlpha = CropPlane<std::uint8_t>(alpha, planeWidth, planeHeight, left,
                                                              top, boxWidth, boxHeight);
            ASSERT_EQ(encoder.Pixels(pixels, planeWidth, planeHeight, left, top),
                      EncodeFramePixels(croppedPixels, boxWidth, boxHeight))
                << boxWidth << " at " << left << "," << top;
            ASSERT_EQ(encoder.Alpha(alpha, planeWidth, planeHeight, left, top),
                      EncodeFrameAlpha(croppedAlpha, boxWidth, boxHeight))
                << boxWidth << " at " << left << "," << top;
        }
    }
}

TEST(FrameStreams, RowsAndBoxesTooWideToFrameAreRefused) {
    const Bytes wider(kMaxStreamWidth + 1, 0);
    EXPECT_THROW(EncodeFrameAlpha(wider, kMaxStreamWidth + 1, 1), std::length_error);
    EXPECT_NO_THROW(EncodeFrameAlpha(wider, kMaxStreamWidth, 1));
    EXPECT_THROW(FrameStreamEncoder(kMaxStreamWidth + 1, 1), std::length_error);
    FrameStreamEncoder widest(kMaxStreamWidth, 1);
    const Bytes row(kMaxStreamWidth, 3);
    const Bytes stream = widest.Alpha(row, kMaxStreamWidth, 1, 0, 0);
    EXPECT_EQ(DecodeFrameAlpha(stream, kMaxStreamWidth, 1), row);
    EXPECT_TRUE(FrameAlphaStreamFits(stream, kMaxStreamWidth, 1));
    // A box of no rows has no stream.
    EXPECT_TRUE(FrameStreamEncoder(4, 0).Alpha(row, 4, 1, 0, 0).empty());
}

// Decoding into a caller's buffer writes every value, whatever the buffer held, and gives what
// decoding into a fresh plane gives; garbage streams never escape either.
TEST(FrameStreams, DecodingIntoABufferWritesEveryValue) {
    std::mt19937 random(29);
    const auto pixels = RandomPlane<Pixel555>(random, 40, 9, 6);
    const Slots stream = EncodeFramePixels(pixels, 40, 9);
    std::vector<Pixel555> out(50 * 9);
    for (int trial = 0; trial < 2000; ++trial) {
        Slots broken = stream;
        if (trial > 0) {
            broken.resize(random() % (broken.size() + 1));
            for (int k = 0; k < 3 && !broken.empty(); ++k) {
                broken[random() % broken.size()] = static_cast<std::uint16_t>(random());
            }
        }
        const int width = trial == 0 ? 40 : static_cast<int>(random() % 50);
        std::fill(out.begin(), out.end(), Pixel555{0xEEEE});
        DecodeFramePixels(broken, width, 9, out.data());
        const auto fresh = DecodeFramePixels(broken, width, 9);
        ASSERT_EQ(fresh.size(), static_cast<std::size_t>(width) * 9);
        FramePixelStreamFits(broken, width, 9);
        ASSERT_TRUE(std::equal(fresh.begin(), fresh.end(), out.begin())) << trial;
        ASSERT_EQ(out[fresh.size()], 0xEEEE); // and nothing past the plane
        if (trial == 0) {
            ASSERT_EQ(fresh, pixels);
        }
    }
    Bytes alphaOut(6, 0xEE);
    DecodeFrameAlpha(Bytes{5, 0, 0x82, 4, 0xFF, 200, 0}, 2, 3, alphaOut.data());
    EXPECT_EQ(alphaOut, (Bytes{4, 4, 0, 0, 0, 0}));
}

// --- Alpha-keyed streams --------------------------------------------------------------------

TEST(AlphaKeyedStreams, WorkedRowsAndEmptyRows) {
    const std::vector<Pixel555> pixels{0x1111, 0x2222, 0x3333};
    const Bytes clear(3, 0);
    EXPECT_EQ(EncodeAlphaKeyed16(pixels.data(), clear.data(), 3, 1, 3, 3),
              (Slots{4, 0x8300, 0, 0xFFFF}));
    const Bytes opaque(2, 248);
    EXPECT_EQ(EncodeAlphaKeyed16(pixels.data(), opaque.data(), 2, 1, 2, 2),
              (Slots{5, 0x02F8, 0x1111, 0x2222, 0xFFFF}));
    const std::vector<Pixel555> same{0x1111, 0x1111};
    EXPECT_EQ(EncodeAlphaKeyed16(same.data(), opaque.data(), 2, 1, 2, 2),
              (Slots{4, 0x82F8, 0x1111, 0xFFFF}));
    const Bytes values(130, 0x5A);
    const Bytes alpha(130, 8);
    EXPECT_EQ(EncodeAlphaKeyed8(values.data(), alpha.data(), 130, 1, 130, 130),
              (Bytes{0x0A, 0x00, 0x08, 0xFE, 0x5A, 0x08, 0x84, 0x5A, 0xFF, 0xFF}));
    EXPECT_EQ(EncodeAlphaKeyed16(nullptr, nullptr, 0, 1, 0, 0), Slots{});
    const Pixel555 none = 0;
    const std::uint8_t noAlpha = 0;
    EXPECT_EQ(EncodeAlphaKeyed16(&none, &noAlpha, 0, 2, 0, 0), (Slots{2, 0xFFFF, 2, 0xFFFF}));
    EXPECT_EQ(EncodeAlphaKeyed8(&noAlpha, &noAlpha, 0, 1, 0, 0), (Bytes{4, 0, 0xFF, 0xFF}));
    // A literal, then a run, in one span of the same alpha.
    const std::vector<Pixel555> mixed{0x0421, 0x7C00, 0x0421, 0x0421};
    EXPECT_EQ(EncodeAlphaKeyed16(mixed.data(), Bytes(4, 8).data(), 4, 1, 4, 4),
              (Slots{7, 0x0208, 0x0421, 0x7C00, 0x8208, 0x0421, 0xFFFF}));
}

// A file may carry a value after a transparent token, which the encoder never writes: both
// planes get 0 there.
TEST(AlphaKeyedStreams, TransparentSpansWriteZeroToBoth) {
    std::vector<Pixel555> pixelsOut(3, 0xEEEE);
    Bytes alphaOut(3, 0xEE);
    ASSERT_TRUE(DecodeAlphaKeyed16(Slots{6, 0x8200, 0x7C1F, 0x0180, 0x03E0, 0xFFFF},
                                   pixelsOut.data(), alphaOut.data(), 3, 1, 3, 3));
    EXPECT_EQ(pixelsOut, (std::vector<Pixel555>{0, 0, 0x03E0}));
    EXPECT_EQ(alphaOut, (Bytes{0, 0, 0x80}));
    Bytes valuesOut(3, 0xEE);
    ASSERT_TRUE(DecodeAlphaKeyed8(Bytes{10, 0, 0x00, 0x82, 0x55, 0x40, 0x01, 0x66, 0xFF, 0xFF},
                                  valuesOut.data(), alphaOut.data(), 3, 1, 3, 3));
    EXPECT_EQ(valuesOut, (Bytes{0, 0, 0x66}));
    EXPECT_EQ(alphaOut, (Bytes{0, 0, 0x40}));
}

TEST(AlphaKeyedStreams, RoundTripsRandomRowsWithStrides) {
    std::mt19937 random(3);
    for (const int width : kRoundTripWidths) {
        for (int trial = 0; trial < 20; ++trial) {
            const int height = static_cast<int>(random() % 4) + 1;
            const int stride = width + 1 + static_cast<int>(random() % 2);
            const auto pixels = RandomPlane<Pixel555>(random, stride, height, 3 + trial * 500);
            const auto values = RandomPlane<std::uint8_t>(random, stride, height, 3 + trial * 12);
            // Alpha of a few levels, some of them 0.
            auto alpha = RandomPlane<std::uint8_t>(random, stride, height, 4);
            for (auto& a : alpha) {
                a = static_cast<std::uint8_t>(a * 80);
            }
            const Slots s16 =
                EncodeAlphaKeyed16(pixels.data(), alpha.data(), width, height, stride, stride);
            const Bytes s8 =
                EncodeAlphaKeyed8(values.data(), alpha.data(), width, height, stride, stride);
            // Converted in place, the stream is the stream of the converted pixels.
            std::vector<Pixel555> converted(pixels);
            for (auto& pixel : converted) {
                pixel = ToPixel565(pixel);
            }
            const Slots s565 =
                EncodeAlphaKeyed16(converted.data(), alpha.data(), width, height, stride, stride);
            ASSERT_EQ(ConvertedTo565(pixels, alpha, width, height, stride), SlotBytes(s565));
            std::vector<Pixel555> pixelsBack(pixels.size(), 0);
            Bytes valuesBack(values.size(), 0);
            Bytes alphaBack(alpha.size(), 0);
            ASSERT_TRUE(DecodeAlphaKeyed16(s16, pixelsBack.data(), alphaBack.data(), width, height,
                                           stride, stride));
            ASSERT_TRUE(
                DecodeAlphaKeyed8(s8, valuesBack.data(), nullptr, width, height, stride, stride));
            for (int y = 0; y < height; ++y) {
                for (int x = 0; x < width; ++x) {
                    const std::size_t i = static_cast<std::size_t>(y) * stride + x;
                    const bool shown = alpha[i] != 0;
                    ASSERT_EQ(alphaBack[i], alpha[i]);
                    ASSERT_EQ(pixelsBack[i], shown ? pixels[i] : 0) << width << " " << i;
                    ASSERT_EQ(valuesBack[i], shown ? values[i] : 0) << width << " " << i;
                }
            }
        }
    }
}

// The byte form is the slot form stored little-endian; the bound holds the longest stream, which
// a row of one-pixel spans (alpha changing at every pixel) reaches exactly.
TEST(AlphaKeyedStreams, ByteFormFitsItsBoundExactlyAtTheLongest) {
    std::mt19937 random(41);
    for (const int width : {1, 2, 126, 127, 253}) {
        const int height = 3;
        const auto size = static_cast<std::size_t>(width) * height;
        std::vector<Pixel555> pixels(size);
        Bytes changing(size);
        for (std::size_t i = 0; i < size; ++i) {
            pixels[i] = static_cast<Pixel555>(0x7C00 | (i & 0x1F)); // red over blue, all differ
            changing[i] = static_cast<std::uint8_t>(i % 2 ? 8 : 248);
        }
        auto mixed = RandomPlane<std::uint8_t>(random, width, height, 3);
        for (auto& a : mixed) {
            a = static_cast<std::uint8_t>(a * 100);
        }
        for (const Bytes* alpha : {&changing, &mixed}) {
            const std::size_t bound = AlphaKeyed16Bound(width, height);
            Bytes out(bound + 8, 0xEE);
            const std::size_t length = EncodeAlphaKeyed16(pixels.data(), alpha->data(), width,
                                                          height, width, width, out.data() + 1);
            const Slots slots =
                EncodeAlphaKeyed16(pixels.data(), alpha->data(), width, height, width, width);
            ASSERT_EQ(length, 2 * slots.size());
            ASSERT_LE(length, bound);
            if (alpha == &changing) {
                ASSERT_EQ(length, bound) << width;
            }
            for (std::size_t k = 0; k < slots.size(); ++k) {
                ASSERT_EQ(out[1 + 2 * k], slots[k] & 0xFF);
                ASSERT_EQ(out[2 + 2 * k], slots[k] >> 8);
            }
            ASSERT_EQ(out[0], 0xEE); // unaligned, and nothing written outside
            ASSERT_EQ(out[1 + length], 0xEE);
        }
        // The 8-bit form of the same one-pixel spans: a two-byte token and a byte each.
        const Bytes values(size, 5);
        EXPECT_EQ(
            EncodeAlphaKeyed8(values.data(), changing.data(), width, height, width, width).size(),
            static_cast<std::size_t>(3 * width + 4) * height);
    }
    EXPECT_EQ(AlphaKeyed16Bound(5, 0), 0u);
    EXPECT_EQ(AlphaKeyed16Bound(0, 2), 8u); // length and terminator of each empty row
}

TEST(AlphaKeyedStreams, BrokenStreamsAreReportedAndNeverEscapeTheBuffers) {
    std::vector<Pixel555> out(4, 0);
    // A run past the width.
    EXPECT_FALSE(DecodeAlphaKeyed16(Slots{4, 0x8508, 1, 0xFFFF}, out.data(), nullptr, 4, 1, 4, 4));
    // No terminator inside the row's length.
    EXPECT_FALSE(DecodeAlphaKeyed16(Slots{3, 0x8108, 1, 0xFFFF}, out.data(), nullptr, 4, 1, 4, 4));
    // The terminator before the row's length ends.
    EXPECT_FALSE(
        DecodeAlphaKeyed16(Slots{5, 0x8108, 1, 0xFFFF, 0}, out.data(), nullptr, 4, 1, 4, 4));
    // A row length past the stream, and a stream that ends before its rows.
    EXPECT_FALSE(DecodeAlphaKeyed16(Slots{9, 0xFFFF}, out.data(), nullptr, 4, 1, 4, 4));
    EXPECT_FALSE(DecodeAlphaKeyed16(Slots{2, 0xFFFF}, out.data(), nullptr, 4, 2, 4, 4));
    // A literal whose values run past the row.
    EXPECT_FALSE(DecodeAlphaKeyed8(Bytes{6, 0, 0x08, 0x03, 1, 0xFF},
                                   reinterpret_cast<std::uint8_t*>(out.data()), nullptr, 4, 1, 4,
                                   4));
    // Conversion to Pixel565 of a worked row; refused for a shown pixel with bit 15, which would
    // merge with its neighbour, and for marks that do not cover the stream.
    EXPECT_EQ(ConvertedTo565({0x7C00, 0x03E1}, {8, 8}, 2, 1, 2),
              (Bytes{5, 0, 0x08, 0x02, 0x00, 0xF8, 0xC1, 0x07, 0xFF, 0xFF}));
    EXPECT_EQ(ConvertedTo565({0x8001, 0x0001}, {8, 8}, 2, 1, 2), Bytes{});
    Bytes wide = SlotBytes(Slots(65, 0));
    EXPECT_FALSE(ConvertAlphaKeyed16To565(wide, PixelSlots{~std::uint64_t{0}}));
    // A short row is finished with transparent pixels.
    std::vector<Pixel555> rest(3, 0xEEEE);
    EXPECT_TRUE(DecodeAlphaKeyed16(Slots{4, 0x8108, 7, 0xFFFF}, rest.data(), nullptr, 3, 1, 3, 3));
    EXPECT_EQ(rest, (std::vector<Pixel555>{7, 0, 0}));
    // Garbage never escapes the buffers (as the address sanitizer sees).
    std::mt19937 random(8);
    const auto values = RandomPlane<std::uint8_t>(random, 30, 6, 5);
    const auto alpha = RandomPlane<std::uint8_t>(random, 30, 6, 3);
    const Bytes stream = EncodeAlphaKeyed8(values.data(), alpha.data(), 30, 6, 30, 30);
    Bytes valuesOut(30 * 6);
    Bytes alphaOut(30 * 6);
    for (int trial = 0; trial < 2000; ++trial) {
        Bytes broken = stream;
        broken.resize(random() % (broken.size() + 1));
        for (int k = 0; k < 3 && !broken.empty(); ++k) {
            broken[random() % broken.size()] = static_cast<std::uint8_t>(random());
        }
        const int width = static_cast<int>(random() % 31);
        DecodeAlphaKeyed8(broken, valuesOut.data(), alphaOut.data(), width, 6, 30, 30);
    }
}

} // namespace
} // namespace fenwold
