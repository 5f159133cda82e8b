#include "platform/BinaryReader.h"
#include "platform/BinaryWriter.h"
#include "platform/FileError.h"
#include "support/TempFolder.h"

#include <cmath>
#include <gtest/gtest.h>

namespace fenwold {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Little-endian fields, and the reader gives each back.
TEST(BinaryWriter, WritesLittleEndianFieldsTheReaderReadsBack) {
    BinaryWriter w;
    w.u8(0xAB);
    w.u16(0x1234);
    w.i16(-2);
    w.u32(0x89ABCDEF);
    w.i32(-1);
    w.f32(-1.0f);
    const std::int32_t table[2] = {-5, 70000};
    w.write(std::span<const std::int32_t>(table));
    EXPECT_EQ(w.buffer(),
              (Bytes{0xAB, 0x34, 0x12, 0xFE, 0xFF, 0xEF, 0xCD, 0xAB, 0x89, 0xFF, 0xFF, 0xFF, 0xFF,
                     0x00, 0x00, 0x80, 0xBF, 0xFB, 0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}));
    const Bytes bytes = w.take();
    BinaryReader r("mem.utd", bytes);
    EXPECT_EQ(r.u8(), 0xAB);
    EXPECT_EQ(r.u16(), 0x1234);
    EXPECT_EQ(r.i16(), -2);
    EXPECT_EQ(r.u32(), 0x89ABCDEFu);
    EXPECT_EQ(r.i32(), -1);
    EXPECT_EQ(r.f32(), -1.0f);
    std::int32_t back[2];
    r.read(std::span<std::int32_t>(back));
    EXPECT_EQ(back[0], -5);
    EXPECT_EQ(back[1], 70000);
    EXPECT_TRUE(r.atEnd());
}

TEST(BinaryWriter, MagicIsZeroFilledTo32Bytes) {
    BinaryWriter w;
    w.magic("Build File");
    ASSERT_EQ(w.size(), 32u);
    EXPECT_EQ(std::string(w.buffer().begin(), w.buffer().begin() + 10), "Build File");
    for (std::size_t i = 10; i < 32; ++i) {
        EXPECT_EQ(w.buffer()[i], 0) << i;
    }
    EXPECT_THROW(w.magic(std::string(32, 'x')), std::invalid_argument);
    BinaryReader r("b.bpt", w.buffer());
    EXPECT_NO_THROW(r.expectMagic("Build File"));
    EXPECT_TRUE(r.atEnd());
}

TEST(BinaryWriter, PatchesEarlierFieldsOnly) {
    BinaryWriter w;
    w.u32(0);
    w.u16(7);
    w.patchU32(0, 0x01020304);
    EXPECT_EQ(w.buffer(), (Bytes{4, 3, 2, 1, 7, 0}));
    EXPECT_THROW(w.patchU32(3, 1), std::out_of_range);
}

TEST(BinaryReader, RefusesReadsBeyondTheEnd) {
    const Bytes bytes{1, 2, 3};
    BinaryReader r("short.bin", bytes);
    EXPECT_EQ(r.u16(), 0x0201);
    try {
        r.u32();
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.path(), "short.bin");
        EXPECT_NE(e.reason().find("ends early"), std::string::npos) << e.reason();
    }
    // A failed read consumes nothing.
    EXPECT_EQ(r.position(), 2u);
    EXPECT_EQ(r.u8(), 3);
    EXPECT_THROW(r.u8(), FileError);
    EXPECT_THROW(r.skip(1), FileError);
    EXPECT_THROW(r.seek(4), FileError);
    EXPECT_NO_THROW(r.seek(3));
}

TEST(BinaryReader, ChecksCountsBeforeAllocation) {
    const Bytes bytes(10, 0);
    BinaryReader r("counts.bin", bytes);
    EXPECT_NO_THROW(r.requireAvailable(5, 2, "pixels"));
    EXPECT_THROW(r.requireAvailable(6, 2, "pixels"), FileError);
    // A count whose byte size overflows 64 bits is refused, not wrapped.
    EXPECT_THROW(r.requireAvailable(~std::uint64_t{0}, 16, "entries"), FileError);
    EXPECT_THROW(r.bytes(11), FileError);
}

TEST(BinaryReader, RefusesAWrongOrMissingMagic) {
    BinaryWriter w;
    w.magic("RLE Encode File");
    const Bytes bytes = w.take();
    BinaryReader wrong("a.utd", bytes);
    EXPECT_THROW(wrong.expectMagic("Unit Animation File"), FileError);
    // Hand-made magic fields: one letter off, and the text followed by more than zeros.
    for (const std::string text : {"RLE Encode Filf", "rle encode file", "RLE Encode FileX"}) {
        Bytes field(32, 0);
        std::copy(text.begin(), text.end(), field.begin());
        BinaryReader other("c.ure", field);
        EXPECT_THROW(other.expectMagic("RLE Encode File"), FileError) << text;
    }
    const Bytes tiny{'R', 'L', 'E'};
    BinaryReader truncated("b.ure", tiny);
    EXPECT_THROW(truncated.expectMagic("RLE Encode File"), FileError);
}

TEST(BinaryReader, FromFileNamesTheFileInErrors) {
    test::TempFolder folder;
    try {
        BinaryReader::FromFile(folder / "missing.UPT");
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.path(), (folder / "missing.UPT").string());
    }
    EXPECT_THROW(BinaryReader::FromFile(folder.path()), FileError);
    folder.Write("two.bin", {9, 8});
    auto r = BinaryReader::FromFile(folder / "two.bin");
    EXPECT_EQ(r.u16(), 0x0809);
}

} // namespace
} // namespace fenwold
