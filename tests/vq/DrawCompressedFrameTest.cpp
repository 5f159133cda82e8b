#include "vq/DrawCompressedFrame.h"

#include "vq/RowEncoding.h"

#include <gtest/gtest.h>
#include <numeric>

namespace fenwold {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Entry k, pixel i of a 16-pixel codebook is 100 * k + i + 1: every drawn pixel tells where
// it came from.
std::vector<Pixel555> Codebook16(int entries) {
    std::vector<Pixel555> codebook(static_cast<std::size_t>(entries) * 16);
    for (std::size_t i = 0; i < codebook.size(); ++i) {
        codebook[i] = static_cast<Pixel555>(100 * (i / 16) + i % 16 + 1);
    }
    return codebook;
}

Pixel555 Source(int entry, int frame, int row, int column) {
    return static_cast<Pixel555>(100 * entry + frame * 4 + row * 2 + column + 1);
}

struct Frame {
    int width;
    int height;
    int index = 0;
    std::vector<Bytes> tables = {}; // index tables
    Bytes alpha = {};
};

// A frame of 8 x 2 pixels whose one index row names entries 0, 1, 2, 3, under one alpha row
// per pixel row.
Frame EightByTwo(const std::vector<std::uint8_t>& alphaRow) {
    Frame frame{8, 2};
    frame.tables.emplace_back();
    AppendIndexRow(std::vector<std::uint16_t>{0, 1, 2, 3}, true, frame.tables[0]);
    AppendIndexRow(std::vector<std::uint16_t>(4, 0), false, frame.tables[0]);
    for (int r = 0; r < 2; ++r) {
        AppendAlphaRow(alphaRow, frame.alpha);
    }
    return frame;
}

struct Canvas {
    Canvas(int w, int h, Pixel555 fill) : width(w), height(h), pixels(std::size_t(w * h), fill) {}
    void Draw(const Frame& frame, int x, int y, int alphaValue, int maskFlag = 0,
              const Pixel555* team = nullptr,
              const std::vector<Pixel555>& codebook = Codebook16(8)) {
        DrawCompressedFrame(width, height, x, y, maskFlag, 1, frame.tables,
                            FrameNode{frame.width, frame.height, frame.index, frame.alpha}, nullptr,
                            codebook.data(), team, pixels.data(), alphaValue);
    }
    Pixel555 At(int x, int y) const { return pixels[std::size_t(y * width + x)]; }
    struct FrameNode {
        int width;
        int height;
        int index;
        const Bytes& bytes;
    };
    int width;
    int height;
    std::vector<Pixel555> pixels;
};

TEST(BlendWeighted, MixesEachChannelByThirtySeconds) {
    EXPECT_EQ(BlendWeighted(0x7FFF, 0x0000, 32), 0x7FFF);
    EXPECT_EQ(BlendWeighted(0x7FFF, 0x0000, 16), (15 << 10 | 15 << 5 | 15));
    EXPECT_EQ(BlendWeighted(0x7C00, 0x001F, 1), 0x001F);
}

TEST(DrawCompressedFrame, LeftClipStartsInsideAPair) {
    Canvas canvas(8, 2, 0);
    canvas.Draw(EightByTwo(std::vector<std::uint8_t>(8, 255)), -3, 0, 255);
    // Buffer column 0 shows the frame's fourth pixel: second index, column 1 of its pair.
    EXPECT_EQ(canvas.At(0, 0), Source(1, 0, 0, 1));
    EXPECT_EQ(canvas.At(4, 0), Source(3, 0, 0, 1));
    EXPECT_EQ(canvas.At(4, 1), Source(3, 0, 1, 1));
    EXPECT_EQ(canvas.At(5, 0), 0);
}

TEST(DrawCompressedFrame, TopClipStartsWithTheBottomPair) {
    Canvas canvas(8, 2, 0);
    canvas.Draw(EightByTwo(std::vector<std::uint8_t>(8, 255)), 0, -1, 255);
    EXPECT_EQ(canvas.At(0, 0), Source(0, 0, 1, 0));
    EXPECT_EQ(canvas.At(7, 0), Source(3, 0, 1, 1));
    EXPECT_EQ(canvas.At(0, 1), 0);
}

TEST(DrawCompressedFrame, RightEdgeCutsAndAFrameAtTheEdgeDrawsNothing) {
    Canvas canvas(8, 2, 0);
    canvas.Draw(EightByTwo(std::vector<std::uint8_t>(8, 255)), 6, 0, 255);
    EXPECT_EQ(canvas.At(6, 0), Source(0, 0, 0, 0));
    EXPECT_EQ(canvas.At(7, 1), Source(0, 0, 1, 1));
    EXPECT_EQ(canvas.At(5, 0), 0);
    Canvas untouched(8, 2, 0);
    untouched.Draw(EightByTwo(std::vector<std::uint8_t>(8, 255)), 8, 0, 255);
    EXPECT_EQ(untouched.pixels, std::vector<Pixel555>(16, 0));
}

TEST(DrawCompressedFrame, OverallAlphaWeighsOpaqueRuns) {
    const Pixel555 background = 0x3DEF;
    Canvas half(8, 2, background);
    half.Draw(EightByTwo(std::vector<std::uint8_t>(8, 255)), 0, 0, 128);
    EXPECT_EQ(half.At(2, 0), BlendWeighted(Source(1, 0, 0, 0), background, 17));
    Canvas none(8, 2, background);
    none.Draw(EightByTwo(std::vector<std::uint8_t>(8, 255)), 0, 0, 0);
    EXPECT_EQ(none.pixels, std::vector<Pixel555>(16, background));
}

TEST(DrawCompressedFrame, AlphaKindsOfPlainFrames) {
    const Pixel555 background = 0x3DEF;
    Canvas canvas(8, 2, background);
    // Literal 255 and 8, then a run of 0, then a run of 128.
    canvas.Draw(EightByTwo({255, 8, 0, 0, 0, 128, 128, 128}), 0, 0, 255);
    EXPECT_EQ(canvas.At(0, 0), BlendWeighted(Source(0, 0, 0, 0), background, 31));
    EXPECT_EQ(canvas.At(1, 0), BlendWeighted(Source(0, 0, 0, 1), background, 1));
    EXPECT_EQ(canvas.At(3, 0), background);
    EXPECT_EQ(canvas.At(6, 1), BlendWeighted(Source(3, 0, 1, 0), background, 16));
}

TEST(DrawCompressedFrame, FifthFrameUsesTheSecondIndexTable) {
    Frame frame = EightByTwo(std::vector<std::uint8_t>(8, 255));
    frame.index = 4;
    frame.tables.push_back(frame.tables[0]);
    frame.tables[0] = Bytes{0x00, 0x00}; // the first group shows nothing
    Canvas canvas(8, 2, 0);
    canvas.Draw(frame, 0, 0, 255);
    EXPECT_EQ(canvas.At(2, 1), Source(1, 0, 1, 0));
    frame.index = 6;
    canvas.Draw(frame, 0, 0, 255);
    EXPECT_EQ(canvas.At(2, 1), Source(1, 2, 1, 0));
}

TEST(DrawCompressedFrame, TeamPixelsComeFromTheTableOrTheCodebook) {
    Frame frame = EightByTwo({});
    frame.alpha.clear();
    for (int r = 0; r < 2; ++r) {
        AppendMaskedAlphaRow(Bytes{1, 1, 255, 255, 0, 0, 0, 0}, frame.alpha);
    }
    std::vector<Pixel555> team(32);
    std::iota(team.begin(), team.end(), Pixel555{0x4000});
    Canvas canvas(8, 2, 7);
    canvas.Draw(frame, 0, 0, 255, 1, team.data());
    EXPECT_EQ(canvas.At(1, 0), team[Source(0, 0, 0, 1) & 31]);
    EXPECT_EQ(canvas.At(2, 0), Source(1, 0, 0, 0));
    EXPECT_EQ(canvas.At(4, 0), 7);
    Canvas withoutTable(8, 2, 7);
    withoutTable.Draw(frame, 0, 0, 255, 1, nullptr);
    EXPECT_EQ(withoutTable.At(1, 0), Source(0, 0, 0, 1));
}

TEST(DrawCompressedFrame, EightPixelEntriesServeOneRowEach) {
    Frame frame{4, 2};
    frame.tables.emplace_back();
    AppendIndexRow(std::vector<std::uint16_t>{1, 0}, true, frame.tables[0]);
    AppendIndexRow(std::vector<std::uint16_t>{0, 1}, true, frame.tables[0]);
    for (int r = 0; r < 2; ++r) {
        AppendAlphaRow(std::vector<std::uint8_t>(4, 255), frame.alpha);
    }
    frame.index = 1;
    std::vector<Pixel555> codebook8(16);
    std::iota(codebook8.begin(), codebook8.end(), Pixel555{1});
    std::vector<Pixel555> buffer(8, 0);
    DrawCompressedFrame(4, 2, 0, 0, 0, 0, frame.tables, Canvas::FrameNode{4, 2, 1, frame.alpha},
                        codebook8.data(), nullptr, nullptr, buffer.data(), 255);
    // Frame 1 of entry k starts at pixel k * 8 + 2.
    EXPECT_EQ(buffer, (std::vector<Pixel555>{11, 12, 3, 4, 3, 4, 11, 12}));
}

} // namespace
} // namespace fenwold
