#include "unit/RunLengthUnitFile.h"

#include "image/FrameStreams.h"
#include "platform/FileError.h"
#include "platform/FileIo.h"
#include "support/TempFolder.h"
#include "unit/UnitFixtures.h"

#include <gtest/gtest.h>
#include <random>

namespace fenwold {
namespace {

using Bytes = std::vector<std::uint8_t>;

RegisteredFrame MakeFrame(const std::vector<Pixel555>& pixels, const Bytes& alpha, int width,
                          int height) {
    RegisteredFrame frame;
    frame.width = width;
    frame.height = height;
    frame.pixelStream = EncodeFramePixels(pixels, width, height);
    frame.alphaStream = EncodeFrameAlpha(alpha, width, height);
    return frame;
}

// Two frames of 43 x 2 whose colour streams take 100 and 60 bytes: a row of 43 different colours
// is a 43-value literal (46 slots), a row of one colour a run (4 slots), and 21 different colours
// followed by 22 equal ones a literal and a run (26 slots).
RegisteredAnimation TwoFrameAnimation() {
    RegisteredAnimation animation;
    animation.width = 43;
    animation.height = 2;
    animation.sequenceLength = 0;
    std::vector<Pixel555> first(86, 0x0005);
    std::vector<Pixel555> second(86, 0x0009);
    for (int x = 0; x < 43; ++x) {
        first[x] = static_cast<Pixel555>(100 + x);
        if (x < 21) {
            second[43 + x] = static_cast<Pixel555>(200 + x);
        }
    }
    const Bytes opaque(86, 248);
    animation.frames.push_back(MakeFrame(first, opaque, 43, 2));
    animation.frames.push_back(MakeFrame(second, opaque, 43, 2));
    animation.frameCount = 2;
    return animation;
}

// The reason a file of these bytes is refused for, or "accepted"; the reason names the file.
std::string RefusalOf(const Bytes& bytes) {
    try {
        ReadRunLengthUnitFile("bad.URE", bytes);
    } catch (const FileError& error) {
        EXPECT_EQ(error.path(), "bad.URE");
        return std::string(error.reason());
    }
    return "accepted";
}

TEST(RunLengthUnitFile, AnEmptyViewWrites44Bytes) {
    test::Layout expected;
    expected.magic("RLE Encode File").u32(1).u32(0).u32(0); // version, animations, size word
    EXPECT_EQ(EncodeRunLengthUnitFile({}), expected.bytes);
}

// Every field the file stores, in one list to compare: the record, then each frame's alpha and
// its pixels where they can be seen (pixels under alpha 0 are not stored).
std::vector<std::int64_t> StoredFields(const RegisteredAnimation& a) {
    std::vector<std::int64_t> f{static_cast<std::int64_t>(a.frames.size())};
    test::AppendRecordFields(f, a, static_cast<std::size_t>(a.sequenceLength));
    for (const RegisteredFrame& frame : a.frames) {
        const auto alpha = DecodeFrameAlpha(frame.alphaStream, a.width, a.height);
        auto pixels = DecodeFramePixels(frame.pixelStream, a.width, a.height);
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            pixels[i] = alpha[i] != 0 ? pixels[i] : 0;
        }
        test::AppendFields(f, alpha, alpha.size());
        test::AppendFields(f, pixels, pixels.size());
    }
    return f;
}

// The frame blocks built one by one from their parts: every frame decoded, encoded as an
// alpha-keyed stream (colours converted to Pixel565 for the second part), each stream followed by
// as many zero bytes as it has, behind the total and the offsets.
Bytes ExpectedFrameArea(const std::list<RegisteredAnimation>& animations) {
    test::Layout parts[2];
    std::size_t sizeWord = 0;
    for (const bool as565 : {false, true}) {
        for (const auto& animation : animations) {
            const int width = animation.width;
            const int height = animation.height;
            std::vector<std::uint16_t> data;
            std::vector<std::size_t> offsets;
            for (const auto& frame : animation.frames) {
                auto pixels = DecodeFramePixels(frame.pixelStream, width, height);
                const auto alpha = DecodeFrameAlpha(frame.alphaStream, width, height);
                for (auto& pixel : pixels) {
                    pixel = as565 ? ToPixel565(pixel) : pixel;
                }
                const auto slots =
                    EncodeAlphaKeyed16(pixels.data(), alpha.data(), width, height, width, width);
                offsets.push_back(data.size());
                data.insert(data.end(), slots.begin(), slots.end());
                data.resize(data.size() + slots.size(), 0);
            }
            sizeWord += as565 ? 0 : 2 * (data.size() + 2 * offsets.size() + 2);
            test::Layout& out = parts[as565 ? 1 : 0];
            out.u32(static_cast<std::uint32_t>(data.size()));
            for (const std::size_t offset : offsets) {
                out.u32(static_cast<std::uint32_t>(offset));
            }
            for (const std::uint16_t slot : data) {
                out.u16(slot);
            }
        }
    }
    return test::Layout{}
        .u32(static_cast<std::uint32_t>(sizeWord))
        .raw(parts[0].bytes)
        .raw(parts[1].bytes)
        .bytes;
}

// Random animations of sprite-like frames: several alpha levels, transparent stretches, runs and
// literals of distinct colours (every channel used). With `highBit`, some colours carry bit 15,
// which only a file from elsewhere brings in and which the Pixel565 conversion drops, so that
// neighbours differing only there become equal.
std::list<RegisteredAnimation> RandomAnimations(std::mt19937& random, bool highBit) {
    std::list<RegisteredAnimation> animations;
    for (int a = 0; a < 3; ++a) {
        RegisteredAnimation animation;
        animation.width = static_cast<std::uint16_t>(random() % 130 + 1);
        animation.height = static_cast<std::uint16_t>(random() % 6 + 1);
        animation.sequenceLength = 0;
        const std::size_t size = static_cast<std::size_t>(animation.width) * animation.height;
        const int frames = static_cast<int>(random() % 4) + 1;
        for (int f = 0; f < frames; ++f) {
            std::vector<Pixel555> pixels(size);
            Bytes alpha(size);
            for (std::size_t i = 0; i < size;) {
                const auto colour = static_cast<Pixel555>(random() & 0x7FFF);
                const auto level = static_cast<std::uint8_t>((random() % 4) * 80);
                const bool run = random() % 2 == 0;
                for (std::size_t k = random() % 20 + 1; k > 0 && i < size; --k, ++i) {
                    pixels[i] = run ? colour : static_cast<Pixel555>(random() & 0x7FFF);
                    if (highBit && random() % 3 == 0) {
                        pixels[i] |= 0x8000;
                    }
                    alpha[i] = level;
                }
            }
            animation.frames.push_back(MakeFrame(pixels, alpha, animation.width, animation.height));
        }
        animation.frameCount = frames;
        animations.push_back(std::move(animation));
    }
    return animations;
}

// Both parts of the frame area equal the frames encoded one by one, the Pixel565 part whether or
// not a colour carries bit 15; the file written is the file encoded.
TEST(RunLengthUnitFile, FrameAreaIsEveryFrameEncodedInBothPixelForms) {
    std::mt19937 random(19);
    test::TempFolder folder;
    for (int trial = 0; trial < 40; ++trial) {
        const auto animations = RandomAnimations(random, trial % 2 == 1);
        const Bytes bytes = EncodeRunLengthUnitFile(animations);
        const Bytes area = ExpectedFrameArea(animations);
        ASSERT_GE(bytes.size(), area.size());
        ASSERT_TRUE(std::equal(area.begin(), area.end(), bytes.end() - area.size())) << trial;
        // The records before the frame area: header, then 100 bytes an animation (no sequence).
        ASSERT_EQ(bytes.size() - area.size(), 40 + 100 * animations.size());
        WriteRunLengthUnitFile(folder / "random.URE", animations);
        ASSERT_EQ(ReadWholeFile(folder / "random.URE"), bytes);
    }
}

// Numbers every stored field of an animation of `frames` frames of width x height, whose pixels
// have distinct channels and whose alpha runs through transparent, partial and opaque levels.
RegisteredAnimation NumberedAnimation(test::FieldNumbers& numbers, int frames, int entries,
                                      int width, int height) {
    RegisteredAnimation a;
    test::NumberRecordFields(a, numbers, entries);
    a.width = static_cast<std::uint16_t>(width);
    a.height = static_cast<std::uint16_t>(height);
    // Kept by the tool, not by the file.
    a.positionX = 50;
    a.groupNumber = 2;
    a.maskFlag = 1;
    const auto size = static_cast<std::size_t>(width * height);
    for (int f = 0; f < frames; ++f) {
        std::vector<Pixel555> pixels(size);
        Bytes alpha(size);
        for (std::size_t i = 0; i < size; ++i) {
            pixels[i] = numbers.NextBelow<Pixel555>(0x8000);
            alpha[i] = static_cast<std::uint8_t>(i % 4 == 1 ? 0 : (i * 56 + f * 8) % 248 + 8);
        }
        a.frames.push_back(MakeFrame(pixels, alpha, width, height));
        a.frames.back().maskStream = EncodeFrameAlpha(Bytes(size, 1), width, height);
    }
    a.frameCount = frames;
    return a;
}

// 200 frames and 200 sequence entries are what an animation may hold.
TEST(RunLengthUnitFile, RoundTripKeepsEveryStoredFieldUpToTheLimits) {
    test::FieldNumbers numbers;
    const std::list<RegisteredAnimation> animations{NumberedAnimation(numbers, 3, 5, 5, 3),
                                                    NumberedAnimation(numbers, 200, 200, 2, 1)};
    test::TempFolder folder;
    WriteRunLengthUnitFile(folder / "walk.URE", animations);
    const auto back = ReadRunLengthUnitFile(folder / "walk.URE");
    ASSERT_EQ(back.size(), 2u);
    auto written = animations.begin();
    int index = 0;
    for (const RegisteredAnimation& read : back) {
        EXPECT_EQ(StoredFields(read), StoredFields(*written++));
        EXPECT_EQ(read.index, index++);
        EXPECT_EQ((std::vector{read.positionX, read.groupNumber, read.maskFlag}),
                  (std::vector{0, -1, 0}));
        EXPECT_TRUE(read.frames.back().maskStream.empty());
    }
}

TEST(RunLengthUnitFile, OnePastTheLimitsIsRefused) {
    test::FieldNumbers numbers;
    test::TempFolder folder;
    EXPECT_THROW(
        WriteRunLengthUnitFile(folder / "a.URE", {NumberedAnimation(numbers, 201, 1, 2, 1)}),
        FileError);
    RegisteredAnimation longSequence = NumberedAnimation(numbers, 1, 200, 2, 1);
    longSequence.sequenceLength = 201;
    EXPECT_THROW(WriteRunLengthUnitFile(folder / "b.URE", {longSequence}), FileError);
    EXPECT_TRUE(folder.Entries().empty());

    const Bytes good = EncodeRunLengthUnitFile({NumberedAnimation(numbers, 200, 200, 2, 1)});
    for (const auto& [offset, reason] :
         {std::pair<std::size_t, std::string>{40, "has 201 frames; the file holds at most 200"},
          {44, "has a sequence of 201 entries; at most 200 are possible"}}) {
        Bytes bad = good;
        ASSERT_EQ(bad[offset], 200);
        bad[offset] = 201;
        EXPECT_NE(RefusalOf(bad).find(reason), std::string::npos) << RefusalOf(bad);
    }
}

TEST(RunLengthUnitFile, BadCountsAndOffsetsAreRefused) {
    std::list<RegisteredAnimation> animations{TwoFrameAnimation()};
    const Bytes good = EncodeRunLengthUnitFile(animations);
    const auto refusedWith = [&](std::size_t offset, std::uint32_t value) {
        Bytes bad = good;
        for (int i = 0; i < 4; ++i) {
            bad[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
        }
        return RefusalOf(bad);
    };
    // The header takes 40 bytes and the record 100; the size word, T and the offsets follow.
    EXPECT_NE(refusedWith(36, 0x7FFFFFFF), "accepted");            // animation count
    EXPECT_NE(refusedWith(148 + 4, 5000), "accepted");             // second frame's offset
    EXPECT_NE(refusedWith(144, 0xFFFFFFF0u), "accepted");          // T
    EXPECT_NE(refusedWith(48, 0xFFFF | 0xFFFF << 16), "accepted"); // 65535 x 65535 pixels
    EXPECT_THROW(ReadRunLengthUnitFile("zeros.URE", Bytes(500, 0)), FileError);
}

} // namespace
} // namespace fenwold
