#include "building/BuildingFile.h"

#include "building/CFenwoldDoc.h"
#include "image/FrameStreams.h"
#include "platform/BinaryWriter.h"
#include "platform/FileError.h"
#include "platform/ScriptedPlatform.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace fenwold {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A 3 x 2 tile building whose picture is a colour ramp, opaque except a transparent first row,
// with a team mask over its left half.
BuildingRecord SmallBuilding() {
    const int width = 96;
    const int height = 64;
    std::vector<Pixel555> picture(width * height);
    Bytes alpha(picture.size(), 248);
    for (int i = 0; i < width * height; ++i) {
        picture[i] = static_cast<Pixel555>((i * 37) & 0x7FFF);
    }
    for (int x = 0; x < width; ++x) {
        picture[x] = kPaddingPixel;
        alpha[x] = 0;
    }
    BuildingRecord record = MakeBuildingRecord(picture, alpha, width, height, 4, 5, 70, 40);
    record.teamMask.assign(picture.size(), 0);
    record.teamIndex.assign(picture.size(), 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width / 2; ++x) {
            record.teamMask[y * width + x] = 255;
            record.teamIndex[y * width + x] = static_cast<std::uint8_t>((x + y) % 32);
        }
    }
    return record;
}

// Adds an animation whose index tables have the given sizes and whose two frames have 3 bytes.
UnitAnimation& AddAnimationWithTables(UnitData& data,
                                      std::initializer_list<std::size_t> indexSizes) {
    UnitAnimation& animation = data.AddAnimation({});
    animation.width = 4;
    animation.height = 2;
    animation.sequenceLength = 2;
    animation.attribute = {};
    animation.attribute[1] = 3;
    animation.delay[0] = 4;
    animation.alphaValue[1] = 200;
    animation.frameNumber[1] = 1;
    animation.pointX[2] = -9;
    animation.tempBuffer[9] = 42;
    animation.checkBoxWidth = 5;
    animation.maskFlag = 1;
    std::uint8_t fill = 1;
    for (const std::size_t size : indexSizes) {
        animation.indexTables.push_back({Bytes(size, fill++)});
    }
    for (int frame = 0; frame < 2; ++frame) {
        animation.alphaTables.emplace_back().bytes = Bytes(3, static_cast<std::uint8_t>(frame));
    }
    return animation;
}

template <typename T>
void Put(BinaryWriter& out, T value) {
    if constexpr (sizeof(T) == 1) {
        out.u8(static_cast<std::uint8_t>(value));
    } else if constexpr (sizeof(T) == 2) {
        out.u16(static_cast<std::uint16_t>(value));
    } else {
        out.u32(static_cast<std::uint32_t>(value));
    }
}

TEST(BuildingFile, LayoutOfASmallBuilding) {
    const BuildingRecord record = SmallBuilding();
    UnitData data;
    const Bytes written = EncodeBuildingFile(record, data, ColourVariant::Pixel555, 0);

    BinaryWriter expected;
    expected.magic("Build File");
    Put<std::uint32_t>(expected, 8);
    Put<std::uint32_t>(expected, 0); // variant
    Put<std::int32_t>(expected, 0);  // animations
    Put<std::int32_t>(expected, 0);  // codebook entries
    Put<std::int32_t>(expected, 0);  // block flag of a new building
    Put<std::uint32_t>(expected, 0); // game data size
    for (const std::int32_t value : {6, 3, 2, 0, 0, 3, 2, 0}) {
        Put(expected, value); // tiles, columns, rows, area, root of float
    }
    expected.zeros(40);             // building points
    expected.zeros(4 * 6);          // clash grid: 4 rows of 6 cells
    Put<std::int32_t>(expected, 9); // fire points
    expected.zeros(9 * 9);
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 3; ++column) {
            Bytes values(32 * 32), mask(32 * 32);
            for (int y = 0; y < 32; ++y) {
                for (int x = 0; x < 32; ++x) {
                    const std::size_t at = (row * 32 + y) * 96 + column * 32 + x;
                    values[y * 32 + x] = record.teamIndex[at];
                    mask[y * 32 + x] = record.teamMask[at];
                }
            }
            const Bytes stream = EncodeAlphaKeyed8(values.data(), mask.data(), 32, 32, 32, 32);
            Put<std::uint32_t>(expected, stream.size());
            expected.bytes(stream);
        }
    }
    expected.zeros(640); // team colour tables
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 3; ++column) {
            const std::size_t at = row * 32 * 96 + column * 32;
            const auto stream = EncodeAlphaKeyed16(record.picture.data() + at,
                                                   record.alpha.data() + at, 32, 32, 96, 96);
            Put<std::uint32_t>(expected, stream.size() * 2);
            expected.write(stream);
        }
    }
    EXPECT_EQ(written, expected.buffer());
}

TEST(BuildingFile, RoundTripFieldForField) {
    BuildingRecord record = SmallBuilding();
    record.area = {1, 0, 3, 1};
    record.rootOfFloat = 2;
    record.pointX[0] = -3;
    record.pointY[9] = 77;
    record.clash[3][5] = 1;
    record.clash[0][0] = 1;
    record.animationPositions[1] = {40, -8};
    record.fireX[4] = 12;
    record.fireY[4] = 300;
    record.fireFlag[4] = 1;
    record.fireAnimation[8] = 5;
    UnitData data;
    data.teamColours.tables[3][7] = 0x7C1F;
    AddAnimationWithTables(data, {10, 20, 5});
    AddAnimationWithTables(data, {1});
    data.codebook.blockFlag = 1;
    data.codebook.entries16.assign(3 * 16, 0x1234);

    const Bytes bytes = EncodeBuildingFile(record, data, ColourVariant::Pixel555, 99);
    BinaryReader in("house.BPT", bytes);
    const BuildingFileContent read = ReadBuildingFile(in);
    const BuildingRecord& back = read.record;
    EXPECT_EQ(back.area, record.area);
    EXPECT_EQ(back.rootOfFloat, 2);
    EXPECT_EQ(back.pointX, record.pointX);
    EXPECT_EQ(back.pointY, record.pointY);
    EXPECT_EQ(back.clash, record.clash);
    EXPECT_EQ(back.animationPositions, record.animationPositions);
    EXPECT_EQ(back.fireX, record.fireX);
    EXPECT_EQ(back.fireY, record.fireY);
    EXPECT_EQ(back.fireFlag, record.fireFlag);
    EXPECT_EQ(back.fireAnimation, record.fireAnimation);
    EXPECT_EQ(back.firePointCount, 9);
    EXPECT_EQ(back.teamIndex, record.teamIndex);
    EXPECT_EQ(back.teamMask, record.teamMask);
    EXPECT_EQ(back.alpha, record.alpha);
    EXPECT_EQ(back.cropX, 0);
    EXPECT_EQ(back.boxWidth, 0);
    // Pixels whose alpha is 0 are not stored and read back as 0.
    EXPECT_EQ(back.picture[0], 0);
    EXPECT_EQ(back.picture[96 * 10 + 7], record.picture[96 * 10 + 7]);
    EXPECT_EQ(read.animations.teamColours.tables[3][7], 0x7C1F);
    ASSERT_EQ(read.animations.AnimationCount(), 2);
    const UnitAnimation& animation = read.animations.animations.front();
    EXPECT_EQ(animation.IndexTableCount(), 3);
    EXPECT_EQ(animation.indexTables[1].bytes, Bytes(20, 2));
    EXPECT_EQ(animation.FrameCount(), 2);
    EXPECT_EQ(animation.attribute[1], 3);
    EXPECT_EQ(animation.alphaValue[1], 200);
    EXPECT_EQ(animation.pointX[2], -9);
    EXPECT_EQ(animation.tempBuffer[9], 42);
    EXPECT_EQ(animation.maskFlag, 1);
    EXPECT_EQ(animation.blockFlag, 1);
    EXPECT_EQ(read.animations.codebook.Size(), 3);
    EXPECT_EQ(read.animations.codebook.entries16, data.codebook.entries16);

    // T = 35 with offsets 0, 10 and 30, right after the temp buffer of the first block.
    const Bytes again = EncodeBuildingFile(back, read.animations, ColourVariant::Pixel555, 99);
    EXPECT_EQ(again, bytes);
}

TEST(BuildingFile, IndexBlockTotalsAndOffsets) {
    UnitData data;
    AddAnimationWithTables(data, {10, 20, 5});
    const Bytes bytes = EncodeBuildingFile(SmallBuilding(), data, ColourVariant::Pixel555, 0);
    // The animation block is last but for the empty codebook: find its index block from the end.
    // alpha block: 4 + 2 * 4 + 6; index data 35 before it, offsets 3 * 4, total 4.
    const std::size_t indexTotal = bytes.size() - (4 + 8 + 6) - 35 - 12 - 4;
    const auto u32 = [&](std::size_t at) {
        return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | bytes[at + 3] << 24;
    };
    EXPECT_EQ(u32(indexTotal), 35);
    EXPECT_EQ(u32(indexTotal + 4), 0);
    EXPECT_EQ(u32(indexTotal + 8), 10);
    EXPECT_EQ(u32(indexTotal + 12), 30);
}

TEST(BuildingFile, Variant565ReadsBackTheSameColours) {
    const BuildingRecord record = SmallBuilding();
    UnitData data;
    data.teamColours.tables[0][0] = 0x7FFF;
    data.teamColours.tables[9][31] = 0x03E0;
    const Bytes file555 = EncodeBuildingFile(record, data, ColourVariant::Pixel555, 0);
    const Bytes file565 = EncodeBuildingFile(record, data, ColourVariant::Pixel565, 0);
    EXPECT_NE(file555, file565);
    EXPECT_EQ(file565[36], 1);
    BinaryReader in555("a.BPT", file555);
    BinaryReader in565("a6.BPT", file565);
    const auto a = ReadBuildingFile(in555);
    const auto b = ReadBuildingFile(in565);
    EXPECT_EQ(a.record.picture, b.record.picture);
    EXPECT_EQ(a.animations.teamColours, b.animations.teamColours);
}

TEST(BuildingFile, Version7HasNoBlockFlagAndEightPixelEntries) {
    UnitData data;
    data.codebook.blockFlag = 0;
    data.codebook.entries8.assign(2 * 8, 0x0101);
    Bytes bytes = EncodeBuildingFile(SmallBuilding(), data, ColourVariant::Pixel555, 0);
    bytes[32] = 7;
    bytes.erase(bytes.begin() + 48, bytes.begin() + 52);
    BinaryReader in("old.BPT", bytes);
    const auto read = ReadBuildingFile(in);
    EXPECT_EQ(read.animations.codebook.blockFlag, 0);
    EXPECT_EQ(read.animations.codebook.Size(), 2);
    EXPECT_EQ(read.animations.codebook.entries8, data.codebook.entries8);
}

TEST(BuildingFile, FirePointCountBecomesNine) {
    BuildingRecord record = SmallBuilding();
    record.firePointCount = 3;
    record.fireX[5] = 99; // beyond the stored count
    UnitData data;
    const Bytes bytes = EncodeBuildingFile(record, data, ColourVariant::Pixel555, 0);
    BinaryReader in("fire.BPT", bytes);
    const auto read = ReadBuildingFile(in);
    EXPECT_EQ(read.record.firePointCount, 9);
    EXPECT_EQ(read.record.fireX[5], 0);
}

TEST(BuildingFile, BadFilesAreRefused) {
    UnitData data;
    AddAnimationWithTables(data, {4});
    data.codebook.blockFlag = 1;
    data.codebook.entries16.assign(16, 5);
    const Bytes good = EncodeBuildingFile(SmallBuilding(), data, ColourVariant::Pixel555, 0);
    for (std::size_t size = 0; size < good.size(); size += (size < 200 ? 1 : 97)) {
        BinaryReader in("cut.BPT", std::span(good).first(size));
        EXPECT_THROW(ReadBuildingFile(in), FileError) << size;
    }
    const auto refused = [&](std::size_t offset, std::uint32_t value) {
        Bytes bad = good;
        for (int i = 0; i < 4; ++i) {
            bad[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
        }
        BinaryReader in("bad.BPT", bad);
        EXPECT_THROW(ReadBuildingFile(in), FileError) << offset;
    };
    refused(40, 201);        // animations
    refused(56 + 4, 51);     // tile columns
    refused(56, 7);          // tile count against 3 x 2
    refused(44, 0x40000000); // codebook entries
    refused(36, 2);          // colour variant
    const Bytes zeros(4096, 0); // the reader only borrows the bytes
    EXPECT_THROW(
        {
            BinaryReader in("zeros.BPT", zeros);
            ReadBuildingFile(in);
        },
        FileError);
}

class BuildingDocument : public ::testing::Test {
protected:
    BuildingDocument() : platform(folder.path()), doc(platform.Get()) {}
    test::TempFolder folder;
    ScriptedPlatform platform;
    CFenwoldDoc doc;
};

TEST_F(BuildingDocument, SaveAsWritesBothVariants) {
    doc.SetRecord(SmallBuilding());
    platform.prompts.fileAnswers.push_back(folder / "my.house.bpt");
    doc.SaveAs();
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"my.BPT", "my6.BPT"}));
    EXPECT_EQ(doc.FileName(), "my.BPT");
    EXPECT_TRUE(doc.NamedFlag());
    EXPECT_EQ(platform.prompts.dialogs[0].request.filter, "Build 화일 (*.bpt)|*.bpt||");

    platform.prompts.fileAnswers.push_back(folder / "house.bpt");
    doc.SaveAs();
    EXPECT_TRUE(std::filesystem::exists(folder / "house.BPT"));
    EXPECT_TRUE(std::filesystem::exists(folder / "house6.BPT"));

    CFenwoldDoc reopened(platform.Get());
    ASSERT_TRUE(reopened.OnOpenDocument(folder / "house6.BPT"));
    ASSERT_NE(reopened.Record(), nullptr);
    EXPECT_EQ(reopened.Record()->teamMask, doc.Record()->teamMask);
    EXPECT_TRUE(reopened.OpenedFromFile());
    EXPECT_EQ(reopened.Title(),
              "Build - VQ Compression - \"" + (folder / "house6.BPT").string() + "\"");
}

// Both variants are saved as a pair: a read-only 6.BPT keeps the .BPT as it was too.
TEST_F(BuildingDocument, SaveReplacesBothVariantsOrNeither) {
    folder.Write("house.BPT", {1});
    folder.Write("house6.BPT", {2});
    ::chmod((folder / "house6.BPT").c_str(), 0444);
    doc.SetRecord(SmallBuilding());
    platform.prompts.fileAnswers.push_back(folder / "house.bpt");
    doc.SaveAs();
    EXPECT_FALSE(doc.NamedFlag());
    EXPECT_EQ(folder.Read("house.BPT"), Bytes{1});
    EXPECT_EQ(folder.Read("house6.BPT"), Bytes{2});
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"house.BPT", "house6.BPT"}));
    EXPECT_EQ(platform.prompts.messages.back().text,
              (folder / "house6.BPT").string() + ": the file is read-only");
}

TEST_F(BuildingDocument, NothingToSaveSaysSo) {
    platform.prompts.fileAnswers.push_back(folder / "x.bpt");
    doc.SaveAs();
    EXPECT_EQ(platform.prompts.messages.back().text, "멀 저장하란 말이냐?");
    BuildingRecord record = SmallBuilding();
    record.teamIndex.clear();
    record.teamMask.clear();
    doc.SetRecord(record);
    platform.prompts.fileAnswers.push_back(folder / "x.bpt");
    doc.SaveAs();
    EXPECT_EQ(platform.prompts.messages.back().text, "Mask 없이는 저장할 수 없다..");
    EXPECT_TRUE(folder.Entries().empty());
}

TEST_F(BuildingDocument, TitleModifiedMarkAndSizes) {
    doc.SetTitle("Set clash attrib - ");
    EXPECT_EQ(doc.Title(), "Build - Set clash attrib - \"Noname.Bpt\"");
    doc.SetModifiedFlag(true);
    EXPECT_TRUE(platform.statusBar.modified);
    doc.Animations().codebook.blockFlag = 1;
    doc.Animations().codebook.entries16.assign(300 * 16, 0);
    EXPECT_EQ(doc.GameDataSize(), 9600u);
    EXPECT_EQ(CFenwoldDoc(platform.Get()).Animations().codebook.blockFlag, 0);
}

TEST_F(BuildingDocument, SavePromptKeepsTheBuildingWhenTheSaveDoesNotHappen) {
    doc.SetRecord(SmallBuilding());
    doc.SetModifiedFlag(true);
    platform.prompts.messageAnswers.push_back(MessageAnswer::Yes);
    EXPECT_FALSE(doc.SaveModified()); // Save As cancelled
    platform.prompts.messageAnswers.push_back(MessageAnswer::Cancel);
    EXPECT_FALSE(doc.SaveModified());
    platform.prompts.messageAnswers.push_back(MessageAnswer::No);
    EXPECT_TRUE(doc.SaveModified());
    platform.prompts.messageAnswers.push_back(MessageAnswer::Yes);
    platform.prompts.fileAnswers.push_back(folder / "keep.bpt");
    EXPECT_TRUE(doc.SaveModified());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(platform.prompts.messages[0].text, "너 \"Noname.Bpt\" 파일을 저장 할거냐?");
}

TEST_F(BuildingDocument, OtherVersionsOpenEmptyAndSayWhy) {
    doc.SetRecord(SmallBuilding());
    Bytes bytes = EncodeBuildingFile(SmallBuilding(), UnitData{}, ColourVariant::Pixel555, 0);
    bytes[32] = 9;
    folder.Write("future.BPT", bytes);
    ASSERT_TRUE(doc.OnOpenDocument(folder / "future.BPT"));
    EXPECT_EQ(doc.Record(), nullptr);
    EXPECT_NE(platform.prompts.messages.back().text.find("version 9"), std::string::npos);

    // A malformed file leaves the building as it was.
    CFenwoldDoc other(platform.Get());
    other.SetRecord(SmallBuilding());
    folder.Write("broken.BPT", Bytes(bytes.begin(), bytes.begin() + 300));
    bytes[32] = 8;
    folder.Write("broken.BPT", Bytes(bytes.begin(), bytes.begin() + 300));
    EXPECT_FALSE(other.OnOpenDocument(folder / "broken.BPT"));
    ASSERT_NE(other.Record(), nullptr);
    EXPECT_EQ(other.Record()->tileCount, 6);
    EXPECT_NE(platform.prompts.messages.back().text.find("broken.BPT"), std::string::npos);
}

} // namespace
} // namespace fenwold
