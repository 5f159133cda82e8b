// The unit files keep at most 200 frames, 200 index tables and 200 sequence entries a record: at
// the limit a record is written and read back field for field, one past it is refused for that
// reason.
#include "platform/FileError.h"
#include "unit/GameDataFile.h"
#include "unit/ToolDataFile.h"
#include "unit/UnitFixtures.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace fenwold {
namespace {

using Bytes = std::vector<std::uint8_t>;
using ::testing::HasSubstr;

struct RecordFormat {
    const char* name;
    Bytes (*encode)(UnitData&);
    UnitData (*decode)(const Bytes&);
    // Where the first animation record begins.
    std::size_t firstRecord;
    bool toolData;
};

const RecordFormat kFormats[] = {
    {"ToolData", [](UnitData& data) { return EncodeToolData(data, "limit.UTD"); },
     [](const Bytes& bytes) {
         BinaryReader in("limit.UTD", bytes);
         return ReadToolData(in);
     },
     136, true},
    {"GameData", [](UnitData& data) { return EncodeGameData(data, false, "limit.UPT"); },
     [](const Bytes& bytes) {
         BinaryReader in("limit.UPT", bytes);
         return ReadGameData(in);
     },
     52, false},
};

class AnimationRecordLimits : public ::testing::TestWithParam<RecordFormat> {
protected:
    // A record with 200 of everything, then a small one and an empty one, every stored field
    // numbered; groups name their members out of list order.
    static UnitData AtTheLimit() {
        UnitData data;
        test::FieldNumbers numbers;
        test::NumberUnitFields(data, numbers, 3);
        UnitAnimation& full =
            test::NumberStoredFields(data.AddAnimation({}), numbers, 200, 200, 200);
        UnitAnimation& small = test::NumberStoredFields(data.AddAnimation({}), numbers, 1, 1, 1);
        UnitAnimation& empty = test::NumberStoredFields(data.AddAnimation({}), numbers, 0, 0, 0);
        test::AddNumberedGroup(data, numbers, {&empty, &small});
        test::AddNumberedGroup(data, numbers, {&full});
        small.positionX = 70000;
        small.positionY = -2;
        return data;
    }
};

TEST_P(AnimationRecordLimits, RecordsAtTheLimitRoundTripFieldForField) {
    const RecordFormat& format = GetParam();
    UnitData data = AtTheLimit();
    const UnitData back = format.decode(format.encode(data));
    ASSERT_EQ(back.AnimationCount(), 3);
    EXPECT_EQ(test::UnitFields(back, format.toolData), test::UnitFields(data, format.toolData));
    EXPECT_EQ(back.codebook.blockFlag, 1);
    EXPECT_TRUE(back.codebook.entries8.empty());
    const UnitAnimation& small = *std::next(back.animations.begin());
    if (format.toolData) {
        // The position keeps its low 16 bits, not sign-extended.
        EXPECT_EQ((std::vector{small.positionX, small.positionY}), (std::vector{4464, 0xFFFE}));
    } else {
        // What only tool data keeps comes back as a new unit has it.
        const UnitData fresh;
        EXPECT_EQ(back.GroupCount(), 0);
        EXPECT_EQ(back.unitPointX, fresh.unitPointX);
        EXPECT_EQ(back.teamColours.selection, fresh.teamColours.selection);
        EXPECT_EQ(back.compressionError, fresh.compressionError);
        EXPECT_EQ((std::vector{small.groupIndex, small.positionX}), (std::vector{-1, 0}));
    }
    for (const UnitAnimation& animation : back.animations) {
        EXPECT_EQ(animation.blockFlag, 1);
    }
}

TEST_P(AnimationRecordLimits, OnePastTheLimitIsRefused) {
    const RecordFormat& format = GetParam();
    UnitData data = AtTheLimit();
    const Bytes good = format.encode(data);
    const std::size_t record = format.firstRecord;
    const std::pair<std::size_t, const char*> counts[] = {
        {0, "the frame count 201 is outside 0 to 200"},
        {4, "the sequence length 201 is outside 0 to 200"},
        {8, "the index table count 201 is outside 0 to 200"}};
    for (const auto& [offset, reason] : counts) {
        Bytes bad = good;
        ASSERT_EQ(bad[record + offset], 200) << offset; // the count at the limit
        bad[record + offset] = 201;
        try {
            format.decode(bad);
            ADD_FAILURE() << "accepted " << reason;
        } catch (const FileError& error) {
            EXPECT_THAT(error.reason(), HasSubstr(reason));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, AnimationRecordLimits, ::testing::ValuesIn(kFormats),
                         [](const auto& info) { return std::string(info.param.name); });

// The unit writers refuse a record they could not read back.
TEST(AnimationRecordLimits, UnitWritersRefuseOnePastTheLimit) {
    for (int field = 0; field < 3; ++field) {
        UnitData data;
        test::FieldNumbers numbers;
        test::NumberStoredFields(data.AddAnimation({}), numbers, field == 0 ? 201 : 1, 1,
                                 field == 2 ? 201 : 1);
        if (field == 1) {
            data.animations.front().sequenceLength = 201;
        }
        EXPECT_THROW(EncodeToolData(data, "x.UTD"), FileError) << field;
        EXPECT_THROW(EncodeGameData(data, true, "x.UPT"), FileError) << field;
    }
    // Nor one below the lower limit: a negative sequence length.
    UnitData negative;
    negative.AddAnimation({}).sequenceLength = -1;
    EXPECT_THROW(EncodeToolData(negative, "x.UTD"), FileError);
    EXPECT_THROW(EncodeGameData(negative, true, "x.UPT"), FileError);
}

// A group holds at most 100 members: 100 are written and read back, 101 are refused.
TEST(AnimationRecordLimits, GroupMembersAtAndPastTheLimit) {
    UnitData data;
    test::FieldNumbers numbers;
    for (int i = 0; i < 101; ++i) {
        test::NumberStoredFields(data.AddAnimation({}), numbers, 0, 0, 0);
    }
    // Members in an order of their own: the file names them by save index.
    std::vector<UnitAnimation*> members;
    for (auto it = data.animations.rbegin(); members.size() < 100; ++it) {
        members.push_back(&*it);
    }
    UnitGroup& group = test::AddNumberedGroup(data, numbers, members);
    const Bytes bytes = EncodeToolData(data, "g.UTD");
    BinaryReader in("g.UTD", bytes);
    const UnitData back = ReadToolData(in);
    ASSERT_EQ(back.GroupCount(), 1);
    EXPECT_EQ(back.groups.front().MemberCount(), 100);
    EXPECT_EQ(test::UnitFields(back, true), test::UnitFields(data, true));
    EXPECT_EQ(back.animations.front().groupIndex, -1); // the one left out

    group.members.push_back(&data.animations.front());
    EXPECT_THROW(EncodeToolData(data, "g.UTD"), FileError);
}

} // namespace
} // namespace fenwold
