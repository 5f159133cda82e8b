#pragma once

#include "building/BuildingRecord.h"
#include "unit/UnitData.h"
#include "unit/UnitFixtures.h"

#include <gtest/gtest.h>
#include <tuple>

namespace fenwold::test {

// What a building file keeps of a record: everything but the crop and box, and colours only
// where the alpha is not 0 (the team index only where the team mask is not 0).
inline void ExpectStoredFieldsEqual(const BuildingRecord& back, const BuildingRecord& written) {
    EXPECT_EQ(std::tuple(back.tileCount, back.tileColumns, back.tileRows, back.width, back.height,
                         back.area, back.rootOfFloat, back.pointX, back.pointY,
                         back.firePointCount),
              std::tuple(written.tileCount, written.tileColumns, written.tileRows, written.width,
                         written.height, written.area, written.rootOfFloat, written.pointX,
                         written.pointY, 9));
    EXPECT_EQ(back.clash, written.clash);
    EXPECT_EQ(back.animationPositions, written.animationPositions);
    EXPECT_EQ(back.fireX, written.fireX);
    EXPECT_EQ(back.fireY, written.fireY);
    EXPECT_EQ(back.fireFlag, written.fireFlag);
    EXPECT_EQ(back.fireAnimation, written.fireAnimation);
    EXPECT_EQ(back.alpha, written.alpha);
    EXPECT_EQ(back.teamMask, written.teamMask);
    ASSERT_EQ(back.picture.size(), written.picture.size());
    ASSERT_EQ(back.teamIndex.size(), written.teamIndex.size());
    for (std::size_t i = 0; i < back.picture.size(); ++i) {
        ASSERT_EQ(back.picture[i], written.alpha[i] != 0 ? written.picture[i] : 0) << i;
        ASSERT_EQ(back.teamIndex[i], written.teamMask[i] != 0 ? written.teamIndex[i] : 0) << i;
    }
    EXPECT_EQ(std::tuple(back.cropX, back.cropY, back.boxWidth, back.boxHeight),
              std::tuple(0, 0, 0, 0));
}

inline void ExpectAnimationsEqual(const UnitData& back, const UnitData& written) {
    ASSERT_EQ(back.AnimationCount(), written.AnimationCount());
    auto animation = written.animations.begin();
    for (const UnitAnimation& read : back.animations) {
        EXPECT_EQ(StoredFields(read, false), StoredFields(*animation++, false));
        EXPECT_EQ(read.blockFlag, written.codebook.blockFlag);
    }
    EXPECT_EQ(back.teamColours.tables, written.teamColours.tables);
    EXPECT_EQ(back.codebook.blockFlag, written.codebook.blockFlag);
    EXPECT_EQ(back.codebook.InUse(), written.codebook.InUse());
}

} // namespace fenwold::test
