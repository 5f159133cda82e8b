#include "vq/DrawCompressedFrame.h"

#include "vq/DrawReference.h"
#include "vq/RowEncoding.h"
#include "vq/TableValidation.h"

#include <gtest/gtest.h>
#include <random>

namespace fenwold {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The fifth to eighth frames of an animation read its second index table: entry k, pixel i of
// the 16-pixel codebook is 100 * k + i + 1, so every drawn pixel tells where it came from.
TEST(DrawCompressedFrame, FifthFrameUsesTheSecondIndexTable) {
    std::vector<Pixel555> codebook(4 * 16);
    for (std::size_t i = 0; i < codebook.size(); ++i) {
        codebook[i] = static_cast<Pixel555>(100 * (i / 16) + i % 16 + 1);
    }
    struct Animation {
        int maskFlag = 0;
        int blockFlag = 1;
        std::vector<Bytes> indexTables{{0x00, 0x00}, {}}; // the first group shows nothing
    } animation;
    AppendIndexRow(std::vector<std::uint16_t>{0, 1, 2, 3}, true, animation.indexTables[1]);
    struct Frame {
        int width = 8;
        int height = 1;
        int index;
        Bytes bytes;
    } frame{.index = 4, .bytes = {}};
    AppendAlphaRow(Bytes(8, 255), frame.bytes);
    std::vector<Pixel555> buffer(8, 0);
    for (const int index : {4, 6}) {
        frame.index = index;
        DrawCompressedFrame({buffer.data(), 8, 1}, 0, 0, animation, frame,
                            {nullptr, codebook.data(), nullptr}, 255);
        // Column 2 is entry 1's first pixel of the frame's own row of its block.
        EXPECT_EQ(buffer[2], 100 + (index % 4) * 4 + 1) << index;
    }
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

    // A run or a literal token of up to 127 values, each appended by `append`; gives the count.
    template <typename Append>
    int AppendToken(Bytes& tokens, Append append) {
        const int count = Count(kMaxTokenCount + 1);
        const bool run = Between(0, 1) == 0;
        tokens.push_back(static_cast<std::uint8_t>((run ? kRunFlag : 0) | count));
        for (int k = 0; k < (run ? 1 : count); ++k) {
            append();
        }
        return count;
    }

    // Rows of random tokens covering `columnsPerValue` columns a value, framed by their length.
    template <typename Token>
    Bytes Table(int rows, int width, int columnsPerValue, Token token) {
        Bytes table;
        for (int row = 0; row < rows; ++row) {
            Bytes tokens;
            const int coverage = Between(0, 7) == 0 ? 0 : RowCoverage(width);
            for (int covered = 0; covered < coverage;) {
                covered += columnsPerValue * token(tokens);
            }
            table.insert(table.end(), tokens.size() / 255, 0xFF);
            table.push_back(static_cast<std::uint8_t>(tokens.size() % 255));
            table.insert(table.end(), tokens.begin(), tokens.end());
        }
        return table;
    }

    Bytes IndexTable(int rows, int width, int entries) {
        return Table(rows, width, 2, [&](Bytes& tokens) {
            return AppendToken(tokens, [&] {
                // Few distinct entries make equal neighbours, as in real frames.
                const int value = Between(0, 5) == 0 ? Between(0, entries - 1)
                                                     : Between(0, std::min(2, entries - 1));
                tokens.push_back(static_cast<std::uint8_t>(value));
                tokens.push_back(static_cast<std::uint8_t>(value >> 8));
            });
        });
    }

    Bytes AlphaTable(int rows, int width, bool teamColoured) {
        return Table(rows, width, 1, [&](Bytes& tokens) {
            if (teamColoured) {
                const int count = Count(kMaxRunLength6);
                const int code = Between(0, 9) == 0 ? 3 : Between(0, 2);
                tokens.push_back(static_cast<std::uint8_t>(code << 6 | count));
                return count;
            }
            return AppendToken(tokens, [&] {
                const int kind = Between(0, 3);
                tokens.push_back(static_cast<std::uint8_t>(kind == 0   ? 0
                                                           : kind == 1 ? 255
                                                                       : Between(0, 255)));
            });
        });
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
