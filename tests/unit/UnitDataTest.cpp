#include "unit/UnitData.h"

#include "unit/CompressedAnimations.h"
#include "unit/UnitFixtures.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>

namespace fenwold {
namespace {

UnitData UnitWith(int animations) {
    UnitData data;
    for (int i = 0; i < animations; ++i) {
        data.animations.emplace_back().loadIndex = i;
    }
    return data;
}

TEST(UnitData, LookupByPositionAndAddingARecord) {
    UnitData data = UnitWith(3);
    EXPECT_EQ(data.AnimationAt(-4)->loadIndex, 0);
    EXPECT_EQ(data.AnimationAt(2)->loadIndex, 2);
    EXPECT_EQ(data.AnimationAt(3), nullptr);
    EXPECT_EQ(UnitWith(0).AnimationAt(0), nullptr);
    data.AddGroup().pointX[0] = 1;
    data.AddGroup().pointX[0] = 2;
    EXPECT_EQ(data.GroupAt(-1)->pointX[0], 1);
    EXPECT_EQ(data.GroupAt(1)->pointX[0], 2);
    EXPECT_EQ(data.GroupAt(2), nullptr);
    // A record is appended without its encoded tables.
    UnitAnimation record;
    record.width = 3;
    record.alphaTables.resize(2);
    record.indexTables.resize(1);
    UnitAnimation& added = data.AddAnimation(std::move(record));
    EXPECT_EQ(&added, &data.animations.back());
    EXPECT_EQ((std::vector{int{added.width}, added.FrameCount(), added.IndexTableCount()}),
              (std::vector{3, 0, 0}));
}

TEST(UnitData, RebuildGroupsTakesConsecutiveRuns) {
    UnitData data = UnitWith(5);
    data.RebuildGroups(std::array<std::int32_t, 2>{9, 9});
    const std::array<std::int32_t, 3> counts{2, 0, 2};
    data.RebuildGroups(counts); // only the second run's groups remain
    ASSERT_EQ(data.GroupCount(), 3);
    EXPECT_EQ(data.GroupAt(0)->members,
              (std::vector<UnitAnimation*>{data.AnimationAt(0), data.AnimationAt(1)}));
    EXPECT_EQ(data.GroupAt(1)->MemberCount(), 0);
    EXPECT_EQ(data.GroupAt(2)->members,
              (std::vector<UnitAnimation*>{data.AnimationAt(2), data.AnimationAt(3)}));
    EXPECT_EQ(data.AnimationAt(1)->groupIndex, 0);
    EXPECT_EQ(data.AnimationAt(3)->groupIndex, 2);
    // The first run's groups had claimed animation 4; it belongs to none now.
    EXPECT_EQ(data.AnimationAt(4)->groupIndex, -1);
}

// A group holds at most 100 members: a run of 101 gives 100, the next animation none.
TEST(UnitData, RebuildGroupsHoldsAtMost100Members) {
    UnitData data = UnitWith(102);
    data.RebuildGroups(std::array<std::int32_t, 1>{100});
    EXPECT_EQ(data.GroupAt(0)->MemberCount(), 100);
    EXPECT_EQ(data.AnimationAt(99)->groupIndex, 0);
    EXPECT_EQ(data.AnimationAt(100)->groupIndex, -1);
    data.RebuildGroups(std::array<std::int32_t, 1>{101});
    EXPECT_EQ(data.GroupAt(0)->MemberCount(), 100);
    EXPECT_EQ(data.AnimationAt(100)->groupIndex, -1);
}

TEST(UnitData, GroupsByPositionRoundTripAndReplacementKeepsWithinTheListAndALimitOfAHundred) {
    UnitData data = UnitWith(102);
    UnitGroup& first = data.AddGroup();
    first.pointX[3] = 7;
    first.pointY[9] = -8;
    first.members = {data.AnimationAt(5), data.AnimationAt(2)};
    std::vector<GroupByPosition> groups = data.GroupsByPosition();
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0].members, (std::vector<std::int32_t>{5, 2}));
    EXPECT_EQ(groups[0].pointX[3], 7);
    EXPECT_EQ(groups[0].pointY[9], -8);
    GroupByPosition& large = groups.emplace_back();
    for (std::int32_t position = 0; position <= 101; ++position) {
        large.members.push_back(position == 50 ? 102 : position); // one past the list
    }
    data.AnimationAt(101)->groupIndex = 4; // names a group that will not exist
    data.ReplaceGroups(groups);
    ASSERT_EQ(data.GroupCount(), 2);
    EXPECT_EQ(data.GroupAt(0)->pointX[3], 7);
    EXPECT_EQ(data.GroupAt(0)->members,
              (std::vector<UnitAnimation*>{data.AnimationAt(5), data.AnimationAt(2)}));
    // 101 valid positions: the first hundred are taken.
    EXPECT_EQ(data.GroupAt(1)->MemberCount(), 100);
    EXPECT_EQ(data.GroupAt(1)->members.back(), data.AnimationAt(100));
    // The later group names animation 5 last; 101 was left out.
    EXPECT_EQ((std::vector{data.AnimationAt(5)->groupIndex, data.AnimationAt(99)->groupIndex,
                           data.AnimationAt(101)->groupIndex}),
              (std::vector{1, 1, -1}));
}

TEST(Codebook, LookupTableBecomesSixteenPixelEntries) {
    std::vector<std::uint8_t> table(48, 0);
    table[0] = 0xE1; // blue: only the low five bits count
    table[1] = 2;
    table[2] = 31;
    table[45] = 31;
    const Codebook codebook = CodebookFromLookupTable(1, table);
    EXPECT_EQ((std::vector<int>{codebook.blockFlag, codebook.Size(), codebook.entries16[0],
                                codebook.entries16[15]}),
              (std::vector{1, 1, 31 << 10 | 2 << 5 | 1, 31}));
    EXPECT_THROW(CodebookFromLookupTable(2, table), std::invalid_argument);
    const Codebook empty = CodebookFromLookupTable(0, {});
    EXPECT_EQ(empty.blockFlag, 1);
    EXPECT_EQ(empty.Size(), 0);
}

TEST(CompressedAnimations, CopyEveryFieldOfTheRegistrationAndNumberTheFrames) {
    std::vector<EncodedAnimation> encoded(2);
    RegisteredAnimationFields& fields = encoded[1].fields;
    test::FieldNumbers numbers;
    for (std::int32_t* field : {&fields.positionX, &fields.positionY, &fields.extra0,
                                &fields.extra1, &fields.groupNumber, &fields.maskFlag}) {
        numbers.Fill(*field);
    }
    test::NumberRecordFields(fields, numbers, 3);
    RegisteredAnimationFields expected = fields;
    expected.delay.fill(4); // a new sequence's delays
    encoded[1].indexTables = {{1, 2}};
    encoded[1].alphaTables = {{6, 2, {3}}, {6, 2, {4, 5}}};

    const auto animations = MakeCompressedAnimations(std::move(encoded));
    ASSERT_EQ(animations.size(), 2u);
    const UnitAnimation& made = animations.back();
    // The registered fields live on only in `expected`: the encoded records are gone.
    EXPECT_EQ((std::vector{made.positionX, made.positionY, made.extra0, made.extra1,
                           made.groupIndex, made.maskFlag}),
              (std::vector{expected.positionX, expected.positionY, expected.extra0, expected.extra1,
                           -1, expected.maskFlag}));
    std::vector<std::int64_t> copied, wanted;
    test::AppendRecordFields(copied, made, kMaxSequenceLength);
    test::AppendRecordFields(wanted, expected, kMaxSequenceLength);
    EXPECT_EQ(copied, wanted);
    EXPECT_EQ((std::vector{made.blockFlag, made.loadIndex, made.saveIndex}),
              (std::vector{1, 1, 1}));
    ASSERT_EQ(made.IndexTableCount(), 1);
    EXPECT_EQ(made.indexTables[0].bytes, (std::vector<std::uint8_t>{1, 2}));
    ASSERT_EQ(made.FrameCount(), 2);
    EXPECT_EQ(made.alphaTables[1].index, 1);
    EXPECT_EQ(made.alphaTables[1].width, 6);
    EXPECT_EQ(made.alphaTables[1].bytes, (std::vector<std::uint8_t>{4, 5}));
}

} // namespace
} // namespace fenwold
