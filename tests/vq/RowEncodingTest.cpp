#include "vq/RowEncoding.h"

#include "vq/AlphaTables.h"
#include "vq/EncodedTables.h"
#include "vq/IndexMaps.h"
#include "vq/VqFixtures.h"

#include <gtest/gtest.h>

namespace fenwold {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes IndexRow(std::vector<std::uint16_t> values, bool visible = true) {
    Bytes out;
    AppendIndexRow(values, visible, out);
    return out;
}

TEST(RowEncoding, SevenBitTokensOfIndexRows) {
    EXPECT_EQ(IndexRow({7, 7, 7, 7, 5}), (Bytes{0x06, 0x84, 7, 0, 0x01, 5, 0}));
    EXPECT_EQ(IndexRow({1, 2, 3, 3, 3}), (Bytes{0x08, 0x02, 1, 0, 2, 0, 0x83, 3, 0}));
    EXPECT_EQ(IndexRow({0, 0}, false), (Bytes{0x00}));
    // A visible row of entry 0 must still draw.
    EXPECT_EQ(IndexRow({0, 0}), (Bytes{0x05, 0x02, 0, 0, 0, 0}));
}

TEST(RowEncoding, IndexTablesDecodeToTheirMapsWithinTheirBytes) {
    Bytes table = IndexRow({7, 7, 7, 7, 0x1234});
    const Bytes second = IndexRow({1, 2, 3, 3, 3});
    table.insert(table.end(), second.begin(), second.end());
    table.push_back(0x00); // an empty row
    EXPECT_EQ(DecodeIndexTable(table, 10, 3),
              (std::vector<std::uint16_t>{7, 7, 7, 7, 0x1234, 1, 2, 3, 3, 3, 0, 0, 0, 0, 0}));
    // A table cut inside a literal keeps the values it holds whole, and nothing more.
    const Bytes cut(second.begin(), second.begin() + 5);
    EXPECT_EQ(DecodeIndexTable(cut, 10, 1), (std::vector<std::uint16_t>{0, 0, 0, 0, 0}));
    const Bytes framedCut = {0x04, 0x02, 1, 0, 2};
    EXPECT_EQ(DecodeIndexTable(framedCut, 10, 2),
              (std::vector<std::uint16_t>{1, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(RowEncoding, LiteralsStopBeforeThreeEqualValuesAndAtTheirCap) {
    std::vector<std::uint8_t> values(130);
    for (std::size_t i = 0; i < values.size(); ++i) {
        values[i] = static_cast<std::uint8_t>(i + 1);
    }
    values[125] = values[126] = values[127] = 9; // a run would start at 125
    Bytes out;
    AppendAlphaRow(values, out);
    ASSERT_EQ(out.size(), 1u + 1 + 125 + 2 + 1 + 2);
    EXPECT_EQ(out[1], 125);
    EXPECT_EQ(out[127], 0x83);
    EXPECT_EQ(out[129], 0x02);
    EXPECT_EQ(DecodeAlphaTable(out, 130, 1), values);
}

std::vector<std::uint8_t> Alternating(std::size_t count) {
    std::vector<std::uint8_t> values(count);
    for (std::size_t i = 0; i < count; ++i) {
        values[i] = static_cast<std::uint8_t>(8 + i % 2);
    }
    return values;
}

TEST(RowEncoding, LengthPrefixes) {
    std::vector<std::uint8_t> values = Alternating(251); // literals of 126 and 125: 253 bytes
    values.insert(values.end(), 3, 0);                   // and a run: 255 bytes
    Bytes row;
    AppendAlphaRow(values, row);
    ASSERT_EQ(row.size(), 2u + 255);
    EXPECT_EQ(Bytes(row.begin(), row.begin() + 2), (Bytes{0xFF, 0x00}));
    EXPECT_EQ(DecodeAlphaTable(row, 254, 1), values);

    row.clear();
    AppendAlphaRow(Alternating(595), row); // five literals: 600 bytes
    ASSERT_EQ(row.size(), 3u + 600);
    EXPECT_EQ(Bytes(row.begin(), row.begin() + 3), (Bytes{0xFF, 0xFF, 0x5A}));

    row.clear();
    AppendAlphaRow(std::vector<std::uint8_t>(300, 0), row);
    EXPECT_EQ(row, (Bytes{0x00}));
}

TEST(RowEncoding, SixBitRunsOfMaskedAlphaRows) {
    Bytes out;
    AppendMaskedAlphaRow(std::vector<std::uint8_t>(70, 255), out);
    EXPECT_EQ(out, (Bytes{0x02, 0x3F, 0x07}));
    out.clear();
    AppendMaskedAlphaRow(std::vector<std::uint8_t>{0, 1, 1, 255}, out);
    EXPECT_EQ(out, (Bytes{0x03, 0x81, 0x42, 0x01}));
    out.push_back(0x00);
    // 0xC2: a token of the unused kind goes on with the kind before it.
    const Bytes odd = {0x03, 0x41, 0xC2, 0x81};
    out.insert(out.end(), odd.begin(), odd.end());
    EXPECT_EQ(DecodeMaskedAlphaTable(out, 4, 3), (Bytes{0, 1, 1, 255, 0, 0, 0, 0, 1, 1, 1, 0}));
}

TEST(IndexMaps, FourFramesOfFourByFourGiveOneMapWithEmptyLowerRows) {
    const std::vector<RegisteredAnimation> animations = {
        test::MakeAnimation(4, 4, std::vector<test::TinyFrame>(4, test::SolidFrame(4, 4, 0x0000)))};
    TrainingSet training;
    WorkerPool pool(1);
    test::RecordingProgress progress;
    RunFlags flags;
    training = CollectTrainingBlocks(RefsTo(animations), pool, progress, flags);
    ASSERT_EQ(training.vectors.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        training.vectors[i].index = static_cast<std::uint32_t>(3 - i);
    }
    const auto maps = BuildIndexMaps(RefsTo(animations), training, progress, flags);
    ASSERT_EQ(maps[0].maps.size(), 1u);
    const IndexMap& map = maps[0].maps[0];
    EXPECT_EQ(map.entries, (std::vector<std::uint16_t>{3, 2, 1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(EncodeIndexTable(map, 4, 4),
              (Bytes{0x05, 0x02, 3, 0, 2, 0, 0x05, 0x02, 1, 0, 0, 0, 0x00, 0x00}));
    EXPECT_EQ(progress.bars.back(), std::make_pair(ProgressBar::IndexTable, 100));
}

TEST(AlphaTables, PlainAlphaKeepsFiveBitsAndMaskedAlphaMarksTeamAndOpaquePixels) {
    const EncodedAlphaTable table = EncodeAlphaPlanes(Bytes{0, 19, 248, 248}, {}, 4, 1);
    EXPECT_EQ(table.bytes, (Bytes{0x05, 0x04, 0, 16, 255, 255})); // two equal values stay literal
    EXPECT_EQ(DecodeAlphaTable(table.bytes, 4, 1), (Bytes{0, 16, 255, 255}));
    // With a mask: team and opaque pixels are marked.
    EXPECT_EQ(EncodeAlphaPlanes(Bytes{0, 248, 0, 248}, Bytes{0, 0, 1, 1}, 4, 1).bytes,
              (Bytes{0x03, 0x81, 0x01, 0x42}));
}

TEST(EncodedTables, GroupsHandTheirFramesAlphaTablesToTheirAnimations) {
    const std::vector<RegisteredAnimation> animations = {
        test::MakeAnimation(2, 2, std::vector<test::TinyFrame>(5, test::SolidFrame(2, 2, 1)))};
    WorkerPool pool(1);
    test::RecordingProgress progress;
    RunFlags flags;
    TrainingSet training = CollectTrainingBlocks(RefsTo(animations), pool, progress, flags);
    const auto maps = BuildIndexMaps(RefsTo(animations), training, progress, flags);
    const auto encoded = EncodeAnimations(RefsTo(animations), maps, training.groups, pool);
    ASSERT_EQ(encoded.size(), 1u);
    EXPECT_EQ(encoded[0].alphaTables.size(), 5u); // the repeated fifth frame is not its own
    EXPECT_EQ(encoded[0].indexTables.size(), 2u);
    EXPECT_EQ(encoded[0].alphaTables[4].bytes, (Bytes{0x03, 0x02, 255, 255, 0x03, 0x02, 255, 255}));
}

} // namespace
} // namespace fenwold
