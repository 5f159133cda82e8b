#include "vq/DrawCompressedFrame.h"

#include "vq/DrawReference.h"
#include "vq/RowEncoding.h"
#include "vq/TableValidation.h"

#include <gtest/gtest.h>
#include <numeric>
#include <random>

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
        DrawCompressedFrame({pixels.data(), width, height}, x, y,
                            Animation{maskFlag, 1, frame.tables},
                            FrameNode{frame.width, frame.height, frame.index, frame.alpha},
                            {nullptr, codebook.data(), team}, alphaValue);
    }
    Pixel555 At(int x, int y) const { return pixels[std::size_t(y * width + x)]; }
    struct Animation {
        int maskFlag;
        int blockFlag;
        const std::vector<Bytes>& indexTables;
    };
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

// The left clip starts inside a pair, the top clip with the bottom pair; the right edge cuts, and
// a frame at the edge draws nothing.
TEST(DrawCompressedFrame, ClipsAtEachEdge) {
    const auto opaque = EightByTwo(std::vector<std::uint8_t>(8, 255));
    Canvas left(8, 2, 0);
    left.Draw(opaque, -3, 0, 255);
    // Buffer column 0 shows the frame's fourth pixel: second index, column 1 of its pair.
    EXPECT_EQ(left.At(0, 0), Source(1, 0, 0, 1));
    EXPECT_EQ(left.At(4, 0), Source(3, 0, 0, 1));
    EXPECT_EQ(left.At(4, 1), Source(3, 0, 1, 1));
    EXPECT_EQ(left.At(5, 0), 0);
    Canvas top(8, 2, 0);
    top.Draw(opaque, 0, -1, 255);
    EXPECT_EQ(top.At(0, 0), Source(0, 0, 1, 0));
    EXPECT_EQ(top.At(7, 0), Source(3, 0, 1, 1));
    EXPECT_EQ(top.At(0, 1), 0);
    Canvas right(8, 2, 0);
    right.Draw(opaque, 6, 0, 255);
    EXPECT_EQ(right.At(6, 0), Source(0, 0, 0, 0));
    EXPECT_EQ(right.At(7, 1), Source(0, 0, 1, 1));
    EXPECT_EQ(right.At(5, 0), 0);
    Canvas untouched(8, 2, 0);
    untouched.Draw(opaque, 8, 0, 255);
    EXPECT_EQ(untouched.pixels, std::vector<Pixel555>(16, 0));
}

// The overall alpha weighs opaque runs; literals and runs of a plain frame carry their own.
TEST(DrawCompressedFrame, AlphaKindsOfPlainFrames) {
    const Pixel555 background = 0x3DEF;
    Canvas half(8, 2, background);
    half.Draw(EightByTwo(std::vector<std::uint8_t>(8, 255)), 0, 0, 128);
    EXPECT_EQ(half.At(2, 0), BlendWeighted(Source(1, 0, 0, 0), background, 17));
    Canvas none(8, 2, background);
    none.Draw(EightByTwo(std::vector<std::uint8_t>(8, 255)), 0, 0, 0);
    EXPECT_EQ(none.pixels, std::vector<Pixel555>(16, background));
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
    DrawCompressedFrame({buffer.data(), 4, 2}, 0, 0, Canvas::Animation{0, 0, frame.tables},
                        Canvas::FrameNode{4, 2, 1, frame.alpha},
                        {codebook8.data(), nullptr, nullptr}, 255);
    // Frame 1 of entry k starts at pixel k * 8 + 2.
    EXPECT_EQ(buffer, (std::vector<Pixel555>{11, 12, 3, 4, 3, 4, 11, 12}));
}

// Random tables of every kind the checks let through: empty rows, rows ending early or running
// past the frame, tokens of 0 to 127 values, rows longer than 255 bytes, alpha code 3 of the
// 6-bit scheme; drawn at random places, overall alphas and team tables into random buffers.
class RandomDrawing {
public:
    explicit RandomDrawing(unsigned seed) : random_(seed) {}

    int Between(int low, int high) { return std::uniform_int_distribution(low, high)(random_); }

    // Mostly short tokens, some of any count and some of the largest.
    int Count(int largest) {
        const int kind = Between(0, 9);
        return kind < 6 ? Between(0, 8) : kind < 9 ? Between(0, largest) : largest;
    }

    // The number of columns a row covers: mostly about the width, sometimes fewer.
    int RowCoverage(int width) {
        return Between(0, 5) == 0 ? Between(0, width) : width + Between(-3, 20);
    }

    static void AppendFramed(const Bytes& tokens, Bytes& table) {
        table.insert(table.end(), tokens.size() / 255, 0xFF);
        table.push_back(static_cast<std::uint8_t>(tokens.size() % 255));
        table.insert(table.end(), tokens.begin(), tokens.end());
    }

    Bytes IndexTable(int rows, int width, int entries) {
        Bytes table;
        const auto appendValue = [&](Bytes& tokens, int value) {
            tokens.push_back(static_cast<std::uint8_t>(value));
            tokens.push_back(static_cast<std::uint8_t>(value >> 8));
        };
        // Few distinct entries make equal neighbours, as in real frames.
        const auto value = [&] {
            return Between(0, 5) == 0 ? Between(0, entries - 1)
                                      : Between(0, std::min(2, entries - 1));
        };
        for (int row = 0; row < rows; ++row) {
            Bytes tokens;
            const int coverage = Between(0, 7) == 0 ? 0 : RowCoverage(width);
            for (int covered = 0; covered < coverage;) {
                const int count = Count(kMaxTokenCount + 1);
                if (Between(0, 1) == 0) {
                    tokens.push_back(static_cast<std::uint8_t>(kRunFlag | count));
                    appendValue(tokens, value());
                } else {
                    tokens.push_back(static_cast<std::uint8_t>(count));
                    for (int k = 0; k < count; ++k) {
                        appendValue(tokens, value());
                    }
                }
                covered += 2 * count;
            }
            AppendFramed(tokens, table);
        }
        return table;
    }

    Bytes AlphaTable(int rows, int width, bool teamColoured) {
        Bytes table;
        const auto value = [&] {
            const int kind = Between(0, 3);
            return static_cast<std::uint8_t>(kind == 0 ? 0 : kind == 1 ? 255 : Between(0, 255));
        };
        for (int row = 0; row < rows; ++row) {
            Bytes tokens;
            const int coverage = Between(0, 7) == 0 ? 0 : RowCoverage(width);
            for (int covered = 0; covered < coverage;) {
                int count = 0;
                if (teamColoured) {
                    count = Count(kMaxRunLength6);
                    const int code = Between(0, 9) == 0 ? 3 : Between(0, 2);
                    tokens.push_back(static_cast<std::uint8_t>(code << 6 | count));
                } else if (Between(0, 1) == 0) {
                    count = Count(kMaxTokenCount + 1);
                    tokens.push_back(static_cast<std::uint8_t>(kRunFlag | count));
                    tokens.push_back(value());
                } else {
                    count = Count(kMaxTokenCount + 1);
                    tokens.push_back(static_cast<std::uint8_t>(count));
                    for (int k = 0; k < count; ++k) {
                        tokens.push_back(value());
                    }
                }
                covered += count;
            }
            AppendFramed(tokens, table);
        }
        return table;
    }

    std::vector<Pixel555> Pixels(std::size_t count) {
        std::vector<Pixel555> pixels(count);
        for (Pixel555& p : pixels) {
            p = static_cast<Pixel555>(random_());
        }
        return pixels;
    }

private:
    std::mt19937 random_;
};

TEST(DrawCompressedFrame, DrawsWhatTheReferenceDrawsForRandomTables) {
    RandomDrawing random(7);
    for (int round = 0; round < 20000; ++round) {
        const int width =
            random.Between(0, 9) == 0 ? random.Between(100, 300) : random.Between(1, 40);
        const int height = random.Between(1, 20);
        const int maskFlag = random.Between(0, 1);
        const int blockFlag = random.Between(0, 1);
        const int index = random.Between(0, 7);
        const int entries = random.Between(1, 60);
        const std::vector<Pixel555> codebook8 =
            random.Pixels(static_cast<std::size_t>(entries) * 8);
        const std::vector<Pixel555> codebook16 =
            random.Pixels(static_cast<std::size_t>(entries) * 16);
        const std::vector<Pixel555> team = random.Pixels(32);
        const bool withTeam = random.Between(0, 3) != 0;
        const Bytes indexTable =
            random.IndexTable(IndexRowsRead(height, blockFlag), width, entries);
        const Bytes alpha = random.AlphaTable(height, width, maskFlag != 0);
        ASSERT_TRUE(IndexTableFits(indexTable, height, blockFlag, entries));
        ASSERT_TRUE(AlphaTableFits(alpha, height, maskFlag));

        const int bufferWidth = random.Between(1, 70);
        const int bufferHeight = random.Between(1, 40);
        const bool nearTheCorner = random.Between(0, 2) == 0;
        const int x =
            nearTheCorner ? random.Between(-3, 3) : random.Between(-width - 2, bufferWidth + 2);
        const int y =
            nearTheCorner ? random.Between(-3, 3) : random.Between(-height - 2, bufferHeight + 2);
        const int opacity = random.Between(0, 5);
        const int alphaValue = opacity == 0   ? 255
                               : opacity == 1 ? 0
                               : opacity == 2 ? random.Between(248, 255)
                                              : random.Between(0, 255);
        const std::vector<Pixel555> background =
            random.Pixels(static_cast<std::size_t>(bufferWidth * bufferHeight));

        const FrameTables frame{width, height, index, indexTable, alpha};
        std::vector<Pixel555> expected = background;
        test::ReferenceDrawFrameTables(
            bufferWidth, bufferHeight, x, y, maskFlag, blockFlag, frame, codebook8.data(),
            codebook16.data(), withTeam ? team.data() : nullptr, expected.data(), alphaValue);
        std::vector<Pixel555> drawn = background;
        DrawFrameTables({drawn.data(), bufferWidth, bufferHeight}, x, y, maskFlag, blockFlag, frame,
                        {codebook8.data(), codebook16.data(), withTeam ? team.data() : nullptr},
                        alphaValue);
        ASSERT_EQ(drawn, expected)
            << "round " << round << ": " << width << " x " << height << " at (" << x << ", " << y
            << ") in " << bufferWidth << " x " << bufferHeight << ", mask flag " << maskFlag
            << ", block flag " << blockFlag << ", alpha " << alphaValue;
    }
}

} // namespace
} // namespace fenwold
