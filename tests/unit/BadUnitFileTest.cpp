#include "platform/ScriptedPlatform.h"
#include "support/TempFolder.h"
#include "unit/GameDataFile.h"
#include "unit/ToolDataFile.h"
#include "unit/UnitDoc.h"
#include "unit/UnitFixtures.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace fenwold {
namespace {

using ::testing::HasSubstr;

// A unit opened from the sample's tool data file, into which bad files are then opened: each
// must be refused with a message naming the file and leave the unit exactly as it was.
class BadUnitFile : public ::testing::Test {
protected:
    BadUnitFile() : platform(folder.path()), doc(platform.Get()) {
        UnitData sample = test::MakeSampleUnit();
        WriteToolData(sample, folder / "good.UTD");
        WriteGameData(sample, true, folder / "good.UPT");
        doc.SetToolDataFlag(true);
        EXPECT_TRUE(doc.OnOpenDocument(folder / "good.UTD"));
        good = folder.Read("good.UTD");
    }

    // Opens `bytes` as a file; returns the message shown, empty when the file was taken.
    std::string Open(const std::vector<std::uint8_t>& bytes, bool toolData = true) {
        folder.Write("bad.UTD", bytes);
        const std::string title = doc.Title();
        const UnitAnimation* head = &doc.Data().animations.front();
        platform.prompts.messages.clear();
        doc.SetToolDataFlag(toolData);
        const bool taken = doc.OnOpenDocument(folder / "bad.UTD");
        doc.SetToolDataFlag(true);
        if (taken) {
            return {};
        }
        EXPECT_EQ(doc.Title(), title);
        EXPECT_EQ(doc.Data().AnimationCount(), 2);
        EXPECT_EQ(doc.Data().GroupCount(), 1);
        EXPECT_EQ(&doc.Data().animations.front(), head);
        EXPECT_EQ(doc.Data().codebook.Size(), 1);
        EXPECT_EQ(platform.prompts.messages.size(), 1u);
        const std::string message = platform.prompts.messages.at(0).text;
        EXPECT_NE(message.find((folder / "bad.UTD").string()), std::string::npos) << message;
        return message;
    }

    std::vector<std::uint8_t> Patched(std::size_t offset, std::uint32_t value) const {
        auto bytes = good;
        for (int i = 0; i < 4; ++i) {
            bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
        }
        return bytes;
    }

    test::TempFolder folder;
    ScriptedPlatform platform;
    CUnitDoc doc;
    std::vector<std::uint8_t> good;
};

// Counts beyond the format, huge counts (refused before allocating), offsets that do not rise
// inside their block and members naming no animation: each refused for its reason.
TEST_F(BadUnitFile, BadCountsOffsetsMembersAndVersionsAreRefused) {
    const std::size_t second = test::kToolAAlphaOffsets + 4;
    const std::size_t member = test::kToolGroup + 84;
    const struct {
        std::size_t offset;
        std::uint32_t value;
        const char* reason;
    } cases[] = {
        {test::kToolA, 201, "animation 0: the frame count 201"},
        {test::kToolA + 4, 201, "sequence length 201"},
        {test::kToolA + 8, 0xFFFFFFFF, "index table count -1"},
        {52, 2, "block flag 2"},
        {test::kToolGroup, 101, "group 0: the member count 101"},
        {40, 0x7FFFFFFF, "animation records"},
        {36, 0x7FFFFFFF, "group records"},
        {44, 0x7FFFFFFF, "codebook"},
        {44, 0xFFFFFFFF, "codebook size -1"},
        {test::kToolAIndexBlock, 0xFFFFFF00, "index block data"},
        {test::kToolAAlphaOffsets, 1, "alpha block offset 0"},
        {second + 4, 1, "alpha block offset 2"},
        {second, 7, "alpha block offset 1 (7)"},
        {member, 2, "member 0 names animation 2"},
        {member, 0xFFFFFFFF, "names animation -1"},
    };
    for (const auto& c : cases) {
        EXPECT_THAT(Open(Patched(c.offset, c.value)), HasSubstr(c.reason));
    }
    EXPECT_EQ(Open(Patched(second, 5)), ""); // an empty piece is allowed
    EXPECT_EQ(doc.Data().animations.front().alphaTables[1].bytes.size(), 0u);
    // The last offset may reach the end of the 6 data bytes, leaving an empty last piece.
    EXPECT_EQ(Open(Patched(second + 4, 6)), "");
    EXPECT_EQ(doc.Data().animations.front().alphaTables[2].bytes.size(), 0u);
    // Zeros are a file of another version, refused like any file that cannot be read.
    EXPECT_THAT(Open(std::vector<std::uint8_t>(1000, 0)), HasSubstr("version 0 cannot be read"));

    // As a game file: the tool's own words, and the file with the reason for a log.
    folder.Write("zeros.UPT", std::vector<std::uint8_t>(1000, 0));
    platform.prompts.messages.clear();
    doc.SetToolDataFlag(false);
    EXPECT_FALSE(doc.OnOpenDocument(folder / "zeros.UPT"));
    ASSERT_EQ(platform.prompts.messages.size(), 1u);
    EXPECT_EQ(platform.prompts.messages[0].text, "다른 버젼이라 읽을수 없당.");
    ASSERT_EQ(platform.prompts.fileProblems.size(), 1u);
    EXPECT_EQ(platform.prompts.fileProblems[0].file, folder / "zeros.UPT");
    EXPECT_EQ(platform.prompts.fileProblems[0].reason,
              "version 0 cannot be read; unit game files have version 3 or 4");
    EXPECT_EQ(doc.Data().AnimationCount(), 2);
}

} // namespace
} // namespace fenwold
