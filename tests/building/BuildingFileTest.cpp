#include "building/BuildingFile.h"

#include "building/BuildingExpectations.h"
#include "building/CFenwoldDoc.h"
#include "image/FrameStreams.h"
#include "platform/BinaryWriter.h"
#include "platform/FileError.h"
#include "platform/ScriptedPlatform.h"
#include "support/TempFolder.h"
#include "unit/UnitFixtures.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace fenwold {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::ExpectAnimationsEqual;
using test::ExpectStoredFieldsEqual;

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

TEST(BuildingFile, LayoutOfASmallBuilding) {
    const BuildingRecord record = SmallBuilding();
    UnitData data;
    const Bytes written = EncodeBuildingFile(record, data, ColourVariant::Pixel555, 0);

    BinaryWriter expected;
    expected.magic("Build File");
    expected.u32(8);
    expected.u32(0); // variant
    expected.u32(0); // animations
    expected.u32(0); // codebook entries
    expected.u32(0); // block flag of a new building
    expected.u32(0); // game data size
    for (const std::int32_t value : {6, 3, 2, 0, 0, 3, 2, 0}) {
        expected.i32(value); // tiles, columns, rows, area, root of float
    }
    expected.zeros(40);    // building points
    expected.zeros(4 * 6); // clash grid: 4 rows of 6 cells
    expected.u32(9);       // fire points
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
            expected.u32(static_cast<std::uint32_t>(stream.size()));
            expected.bytes(stream);
        }
    }
    expected.zeros(640); // team colour tables
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 3; ++column) {
            const std::size_t at = row * 32 * 96 + column * 32;
            const auto stream = EncodeAlphaKeyed16(record.picture.data() + at,
                                                   record.alpha.data() + at, 32, 32, 96, 96);
            expected.u32(static_cast<std::uint32_t>(stream.size() * 2));
            expected.write(stream);
        }
    }
    EXPECT_EQ(written, expected.buffer());
}

// A building of columns x rows tiles whose every stored field is numbered: the record's fields,
// every clash cell, the nine fire points, the position of each of `animations` numbered
// animations, team planes and a picture of distinct colours under alpha levels from 0 to 255.
struct NumberedBuilding {
    NumberedBuilding(int columns, int rows, int animations) {
        test::FieldNumbers numbers;
        const int width = 32 * columns;
        const int height = 32 * rows;
        std::vector<Pixel555> picture(static_cast<std::size_t>(width) * height);
        Bytes alpha(picture.size());
        for (std::size_t i = 0; i < picture.size(); ++i) {
            picture[i] = numbers.NextBelow<Pixel555>(0x8000);
            alpha[i] = static_cast<std::uint8_t>(i % 5 == 0 ? 0 : i * 7);
        }
        record = MakeBuildingRecord(picture, alpha, width, height, 4, 5, 70, 40);
        // Within the tiles, as the reader requires; distinct once the building is 6 x 5 tiles.
        record.area = {std::min(1, columns), std::min(2, rows), std::min(4, columns),
                       std::min(3, rows)};
        record.rootOfFloat = std::min(5, rows);
        numbers.Fill(record.pointX);
        numbers.Fill(record.pointY);
        for (int row = 0; row < 2 * rows; ++row) {
            numbers.Fill(std::span(record.clash[row]).first(2 * columns));
        }
        for (int n = 0; n < animations; ++n) {
            numbers.Fill(record.animationPositions[n]);
        }
        for (int slot = 0; slot < record.firePointCount; ++slot) {
            numbers.Fill(record.fireX[slot]);
            numbers.Fill(record.fireY[slot]);
            numbers.Fill(record.fireAnimation[slot]);
            numbers.Fill(record.fireFlag[slot]);
        }
        record.teamIndex.resize(picture.size());
        record.teamMask.resize(picture.size());
        for (std::size_t i = 0; i < picture.size(); ++i) {
            record.teamIndex[i] = numbers.Next<std::uint8_t>();
            record.teamMask[i] = i % 3 == 0 ? 0 : 255;
        }
        test::NumberUnitFields(data, numbers, 2);
        for (int n = 0; n < animations; ++n) {
            test::NumberStoredFields(data.AddAnimation({}), numbers, n % 3, n % 4, (n + 1) % 3);
        }
    }
    BuildingRecord record;
    UnitData data;
};

BuildingFileContent ReadBack(const Bytes& bytes) {
    BinaryReader in("house.BPT", bytes);
    return ReadBuildingFile(in);
}

void ExpectRefused(const Bytes& bytes, const std::string& reason) {
    try {
        ReadBack(bytes);
        ADD_FAILURE() << "accepted: " << reason;
    } catch (const FileError& error) {
        EXPECT_NE(error.reason().find(reason), std::string::npos) << error.reason();
    }
}

TEST(BuildingFile, RoundTripFieldForFieldInBothVariants) {
    const NumberedBuilding building(6, 5, 4);
    for (const ColourVariant variant : {ColourVariant::Pixel555, ColourVariant::Pixel565}) {
        const Bytes bytes = EncodeBuildingFile(building.record, building.data, variant, 99);
        EXPECT_EQ(bytes[36], static_cast<std::uint8_t>(variant));
        const BuildingFileContent read = ReadBack(bytes);
        ExpectStoredFieldsEqual(read.record, building.record);
        ExpectAnimationsEqual(read.animations, building.data);
        // Written again, the same bytes.
        EXPECT_EQ(EncodeBuildingFile(read.record, read.animations, variant, 99), bytes);
    }
}

// The file holds at most 50 x 50 tiles, 100 fire point slots and 200 animations: at the limits
// a building is written and read back, one past them it is refused for that reason.
TEST(BuildingFile, CountsAtTheLimitsRoundTrip) {
    for (const auto& [columns, rows] : {std::pair{50, 1}, std::pair{1, 50}}) {
        const NumberedBuilding building(columns, rows, 1);
        const BuildingFileContent read = ReadBack(
            EncodeBuildingFile(building.record, building.data, ColourVariant::Pixel555, 0));
        ExpectStoredFieldsEqual(read.record, building.record);
    }
    NumberedBuilding building(1, 1, kMaxBuildingAnimations);
    building.record.firePointCount = kFirePointSlots;
    test::FieldNumbers numbers(5000);
    for (int slot = 0; slot < kFirePointSlots; ++slot) {
        numbers.Fill(building.record.fireX[slot]);
        numbers.Fill(building.record.fireY[slot]);
        numbers.Fill(building.record.fireAnimation[slot]);
        numbers.Fill(building.record.fireFlag[slot]);
    }
    const BuildingFileContent read =
        ReadBack(EncodeBuildingFile(building.record, building.data, ColourVariant::Pixel555, 0));
    building.record.firePointCount = kFirePointsUsed; // what the reader makes of any count
    ExpectStoredFieldsEqual(read.record, building.record);
    ExpectAnimationsEqual(read.animations, building.data);
}

// Counts one past the file's limits, a tile count that is not columns x rows, a codebook larger
// than the file and an unknown colour variant are refused for that reason.
TEST(BuildingFile, CountsPastTheLimitsAndBadHeadersAreRefused) {
    NumberedBuilding building(1, 1, 1);
    building.record.firePointCount = kFirePointSlots;
    const Bytes good =
        EncodeBuildingFile(building.record, building.data, ColourVariant::Pixel555, 0);
    // The fire point count follows the record's fields, the clash grid and one position.
    const std::size_t fireCount = 56 + 4 * 8 + 40 + 2 * 2 + 8;
    const std::pair<std::size_t, std::pair<std::uint32_t, const char*>> patches[] = {
        {40, {201, "the animation count 201 is outside 0 to 200"}},
        {56 + 4, {51, "the tile columns 51 is outside 0 to 50"}},
        {56 + 8, {51, "the tile rows 51 is outside 0 to 50"}},
        {fireCount, {101, "the fire point count 101 is outside 0 to 100"}},
        {56, {7, "the tile count 7 does not match 1 x 1 tiles"}},
        {68, {0xFFFFFFFF, "the area (-1, 1, 1, 1) is not within the 1 x 1 tiles"}},
        {80, {2, "the area (1, 1, 1, 2) is not within the 1 x 1 tiles"}},
        {84, {2, "the root of float 2 is outside 0 to 1"}},
        {44, {0x40000000, "the codebook with its Pixel565 copy"}},
        {36, {2, "unknown colour variant 2"}}};
    for (const auto& [offset, patch] : patches) {
        Bytes bad = good;
        for (std::size_t i = 0; i < 4; ++i) {
            bad[offset + i] = static_cast<std::uint8_t>(patch.first >> (8 * i));
        }
        ExpectRefused(bad, patch.second);
    }
    EXPECT_THROW(ReadBack(Bytes(4096, 0)), FileError);
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

// Tiles as a hostile file could hold them, built by hand into a 1 x 1 building whose file ends
// with its one picture tile (no animations, no codebook).
TEST(BuildingFile, HandMadeTilesAreCheckedAndTransparentSpansStayEmpty) {
    NumberedBuilding building(1, 1, 0);
    building.data.codebook = Codebook{};
    const Bytes good =
        EncodeBuildingFile(building.record, building.data, ColourVariant::Pixel555, 0);
    const std::size_t teamTile = 56 + 4 * 8 + 40 + 2 * 2 + 4 + 9 * 9;
    const auto u32At = [](const Bytes& bytes, std::size_t at) {
        return static_cast<std::uint32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                                          bytes[at + 3] << 24);
    };
    // The tile at `at` (its length and bytes) replaced by `length` and `stream`.
    const auto withTile = [&](std::size_t at, std::uint32_t length, const Bytes& stream) {
        Bytes bad(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(at));
        test::Layout out;
        out.u32(length).raw(stream);
        bad.insert(bad.end(), out.bytes.begin(), out.bytes.end());
        bad.insert(bad.end(), good.begin() + static_cast<std::ptrdiff_t>(at + 4 + u32At(good, at)),
                   good.end());
        return bad;
    };
    // Every row one transparent span of 32 whose value is not 0, as the encoder never writes it.
    test::Layout team, picture;
    for (int row = 0; row < 32; ++row) {
        team.u16(7).u8(0).u8(0x80 | 32).u8(0x55).u16(0xFFFF);
        picture.u16(4).u16(0x8000 | 32 << 8).u16(0x7C1F).u16(0xFFFF);
    }
    const std::size_t lastTile = teamTile + 4 + u32At(good, teamTile) + 640;
    const auto read =
        ReadBack(withTile(teamTile, static_cast<std::uint32_t>(team.bytes.size()), team.bytes));
    EXPECT_EQ(read.record.teamIndex, Bytes(32 * 32, 0));
    EXPECT_EQ(read.record.teamMask, Bytes(32 * 32, 0));

    // A picture tile of an odd length, and team tiles that do not make 32 rows of 32.
    Bytes odd = picture.bytes;
    odd.push_back(0);
    const std::pair<Bytes, const char*> refused[] = {
        {withTile(lastTile, static_cast<std::uint32_t>(odd.size()), odd),
         "picture tile (0, 0) has an odd length"},
        {withTile(teamTile, 14, Bytes(team.bytes.begin(), team.bytes.begin() + 14)),
         "team tile (0, 0) is not a 32 x 32 tile"}};
    for (const auto& [bytes, reason] : refused) {
        ExpectRefused(bytes, reason);
    }
}

class BuildingDocument : public ::testing::Test {
protected:
    BuildingDocument() : platform(folder.path()), doc(platform.Get()) {}
    test::TempFolder folder;
    ScriptedPlatform platform;
    CFenwoldDoc doc;
};

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

// Save As writes both variants under the name rule, for at most 200 animations; a document
// reopens from the 6.BPT.
TEST_F(BuildingDocument, SaveAsWritesBothVariantsOfAtMost200Animations) {
    doc.SetRecord(SmallBuilding());
    for (int i = 0; i < kMaxBuildingAnimations; ++i) {
        doc.Animations().AddAnimation({});
    }
    platform.prompts.fileAnswers.push_back(folder / "my.house.bpt");
    doc.SaveAs();
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"my.BPT", "my6.BPT"}));
    EXPECT_EQ(doc.FileName(), "my.BPT");
    EXPECT_TRUE(doc.NamedFlag());
    EXPECT_EQ(platform.prompts.dialogs[0].request.filter, "Build 화일 (*.bpt)|*.bpt||");
    CFenwoldDoc reopened(platform.Get());
    ASSERT_TRUE(reopened.OnOpenDocument(folder / "my6.BPT"));
    ASSERT_NE(reopened.Record(), nullptr);
    EXPECT_EQ(reopened.Record()->teamMask, doc.Record()->teamMask);
    EXPECT_EQ(reopened.Animations().AnimationCount(), kMaxBuildingAnimations);
    EXPECT_TRUE(reopened.OpenedFromFile());
    EXPECT_EQ(reopened.Title(),
              "Build - VQ Compression - \"" + (folder / "my6.BPT").string() + "\"");
    doc.Animations().AddAnimation({});
    platform.prompts.fileAnswers.push_back(folder / "more.bpt");
    doc.SaveAs();
    EXPECT_EQ(platform.prompts.messages.back().text, "A building holds at most 200 animations.");
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"my.BPT", "my6.BPT"}));
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
}

} // namespace
} // namespace fenwold
