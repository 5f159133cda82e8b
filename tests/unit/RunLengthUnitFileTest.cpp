#include "unit/RunLengthUnitFile.h"

#include "image/FrameStreams.h"
#include "platform/FileError.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <random>

namespace fenwold {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t U32At(const Bytes& bytes, std::size_t offset) {
    return bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 |
           static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}

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

TEST(RunLengthUnitFile, AnEmptyViewWrites44Bytes) {
    const Bytes bytes = EncodeRunLengthUnitFile({});
    ASSERT_EQ(bytes.size(), 44u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 15), "RLE Encode File");
    EXPECT_EQ(bytes[15], 0);
    EXPECT_EQ(U32At(bytes, 32), 1u); // version
    EXPECT_EQ(U32At(bytes, 36), 0u); // animations
    EXPECT_EQ(U32At(bytes, 40), 0u); // size word
}

TEST(RunLengthUnitFile, FrameBlockLayout) {
    std::list<RegisteredAnimation> animations{TwoFrameAnimation()};
    const Bytes bytes = EncodeRunLengthUnitFile(animations);
    // Header 40, record 60 + 0 sequence entries + 40 temp buffer.
    constexpr std::size_t kSizeWord = 140;
    EXPECT_EQ(U32At(bytes, 40), 2u); // frames
    EXPECT_EQ(bytes[48], 43);        // width
    EXPECT_EQ(U32At(bytes, kSizeWord), 332u);
    EXPECT_EQ(U32At(bytes, kSizeWord + 4), 160u);  // T
    EXPECT_EQ(U32At(bytes, kSizeWord + 8), 0u);    // O_0
    EXPECT_EQ(U32At(bytes, kSizeWord + 12), 100u); // O_1
    const std::size_t data = kSizeWord + 16;
    EXPECT_EQ(bytes[data], 46);           // first row of frame 0: 46 slots
    EXPECT_EQ(bytes[data + 100], 0);      // filler after the first stream
    EXPECT_EQ(bytes[data + 200], 4);      // frame 1 starts at byte 2 * 100 with a 4-slot row
    EXPECT_EQ(bytes[data + 200 + 8], 26); // and its second row of 26 slots
    // The Pixel565 part follows with the same layout.
    const std::size_t part565 = data + 320;
    EXPECT_EQ(U32At(bytes, part565), 160u);
    EXPECT_EQ(bytes.size(), part565 + 4 + 8 + 320);
}

TEST(RunLengthUnitFile, RoundTripKeepsWhatTheFileStores) {
    RegisteredAnimation animation = TwoFrameAnimation();
    animation.sequenceLength = 3;
    animation.attribute[2] = 7;
    animation.delay[1] = 9;
    animation.alphaValue[0] = 128;
    animation.frameNumber[2] = 1;
    animation.pointX[9] = -4;
    animation.checkBoxWidth = 12;
    animation.tempBuffer[3] = 77;
    animation.positionX = 50;
    animation.groupNumber = 2;
    animation.maskFlag = 1;
    // Half-transparent pixels keep their alpha; pixels under alpha 0 come back as 0.
    std::vector<Pixel555> pixels(86, 0x1234);
    Bytes alpha(86, 0);
    alpha[1] = 128;
    alpha[50] = 248;
    animation.frames[1] = MakeFrame(pixels, alpha, 43, 2);
    animation.frames[1].maskStream = EncodeFrameAlpha(Bytes(86, 1), 43, 2);

    test::TempFolder folder;
    WriteRunLengthUnitFile(folder / "walk.URE", {animation});
    const auto back = ReadRunLengthUnitFile(folder / "walk.URE");
    ASSERT_EQ(back.size(), 1u);
    const RegisteredAnimation& read = back.front();
    EXPECT_EQ(read.sequenceLength, 3);
    EXPECT_EQ(read.attribute[2], 7);
    EXPECT_EQ(read.delay[1], 9);
    EXPECT_EQ(read.alphaValue[0], 128);
    EXPECT_EQ(read.frameNumber[2], 1);
    EXPECT_EQ(read.pointX[9], -4);
    EXPECT_EQ(read.checkBoxWidth, 12);
    EXPECT_EQ(read.tempBuffer[3], 77);
    EXPECT_EQ(read.positionX, 0);
    EXPECT_EQ(read.groupNumber, -1);
    EXPECT_EQ(read.maskFlag, 0);
    ASSERT_EQ(read.frames.size(), 2u);
    EXPECT_TRUE(read.frames[1].maskStream.empty());
    EXPECT_EQ(DecodeFrameAlpha(read.frames[1].alphaStream, 43, 2), alpha);
    const auto readPixels = DecodeFramePixels(read.frames[1].pixelStream, 43, 2);
    EXPECT_EQ(readPixels[1], 0x1234);
    EXPECT_EQ(readPixels[50], 0x1234);
    EXPECT_EQ(readPixels[0], 0);
    EXPECT_EQ(DecodeFramePixels(read.frames[0].pixelStream, 43, 2),
              DecodeFramePixels(animation.frames[0].pixelStream, 43, 2));
}

TEST(RunLengthUnitFile, EveryTruncationIsRefused) {
    std::list<RegisteredAnimation> animations{TwoFrameAnimation()};
    animations.front().sequenceLength = 2;
    const Bytes bytes = EncodeRunLengthUnitFile(animations);
    // The Pixel565 part is not used, but a file cut inside it is damaged all the same.
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        const std::span<const std::uint8_t> cut(bytes.data(), size);
        EXPECT_THROW(ReadRunLengthUnitFile("cut.URE", cut), FileError) << size;
    }
    EXPECT_NO_THROW(ReadRunLengthUnitFile("whole.URE", bytes));
}

TEST(RunLengthUnitFile, BadCountsAndOffsetsAreRefused) {
    std::list<RegisteredAnimation> animations{TwoFrameAnimation()};
    const Bytes good = EncodeRunLengthUnitFile(animations);
    const auto refusedWith = [&](std::size_t offset, std::uint32_t value) {
        Bytes bad = good;
        for (int i = 0; i < 4; ++i) {
            bad[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
        }
        try {
            ReadRunLengthUnitFile("bad.URE", bad);
        } catch (const FileError& error) {
            EXPECT_EQ(error.path(), "bad.URE");
            return std::string(error.reason());
        }
        return std::string("accepted");
    };
    EXPECT_NE(refusedWith(36, 0x7FFFFFFF), "accepted");            // animation count
    EXPECT_NE(refusedWith(40, 201), "accepted");                   // frame count
    EXPECT_NE(refusedWith(44, 201), "accepted");                   // sequence length
    EXPECT_NE(refusedWith(148 + 4, 5000), "accepted");             // second frame's offset
    EXPECT_NE(refusedWith(144, 0xFFFFFFF0u), "accepted");          // T
    EXPECT_NE(refusedWith(48, 0xFFFF | 0xFFFF << 16), "accepted"); // 65535 x 65535 pixels

    std::mt19937 random(5);
    for (int trial = 0; trial < 200; ++trial) {
        Bytes noise = good;
        for (int flips = 0; flips < 8; ++flips) {
            noise[random() % noise.size()] = static_cast<std::uint8_t>(random());
        }
        try {
            ReadRunLengthUnitFile("noise.URE", noise);
        } catch (const FileError&) {
        }
    }
    EXPECT_THROW(ReadRunLengthUnitFile("zeros.URE", Bytes(500, 0)), FileError);
}

} // namespace
} // namespace fenwold
