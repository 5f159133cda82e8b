#include "image/SeriesNames.h"

#include "platform/ScriptedPlatform.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace fenwold {
namespace {

using Names = std::vector<std::string>;

class SeriesNamesTest : public ::testing::Test {
protected:
    void Touch(const Names& names) {
        for (const auto& name : names) {
            folder.Write(name, {0});
        }
    }

    test::TempFolder folder;
    ScriptedPlatform platform{folder.path()};
};

TEST(FrameNumber, DigitsAtTheEndOfTheNameBeforeItsFirstDot) {
    EXPECT_EQ(ParseFrameNumber("walk007.tga"), (FrameNumber{"walk", 7}));
    EXPECT_EQ(ParseFrameNumber("Walk000.TGA"), (FrameNumber{"walk", 0}));
    EXPECT_EQ(ParseFrameNumber("walk5.bak.tga"), (FrameNumber{"walk", 5}));
    EXPECT_EQ(ParseFrameNumber("run2x10.tga"), (FrameNumber{"run2x", 10}));
    EXPECT_EQ(ParseFrameNumber("123.tga"), (FrameNumber{"", 123}));
    EXPECT_EQ(ParseFrameNumber("title.tga"), std::nullopt);
    EXPECT_EQ(ParseFrameNumber("walk12.x7.tga"), (FrameNumber{"walk", 12}));
    EXPECT_EQ(ParseFrameNumber("walk2147483647.tga"), (FrameNumber{"walk", 2147483647}));
    EXPECT_EQ(ParseFrameNumber("walk2147483648.tga"), std::nullopt);
}

TEST_F(SeriesNamesTest, ScanOrdersFramesByNumber) {
    Touch({"walk2.tga", "walk10.tga", "walk1.tga", "notes.txt"});
    const auto series = ScanSeriesFolder(folder.path(), platform.prompts);
    ASSERT_TRUE(series);
    EXPECT_EQ(series->folder, folder.path());
    EXPECT_EQ(series->names, (Names{"walk1.tga", "walk2.tga", "walk10.tga"}));
}

TEST_F(SeriesNamesTest, ScanTakesOnlyTheFirstFilesSeriesInAnyCase) {
    Touch({"walk001.tga", "run001.tga", "run002.TGA", "RUN003.Tga"});
    const auto series = ScanSeriesFolder(folder.path(), platform.prompts);
    ASSERT_TRUE(series);
    EXPECT_EQ(series->names, (Names{"run001.tga", "run002.tga", "run003.tga"}));
}

TEST_F(SeriesNamesTest, ScanOfAnUnnumberedFirstFileGivesThatFileAlone) {
    Touch({"title.tga", "walk1.tga", "walk2.tga"});
    const auto series = ScanSeriesFolder(folder.path(), platform.prompts);
    ASSERT_TRUE(series);
    EXPECT_EQ(series->names, (Names{"title.tga"}));
    std::filesystem::create_directories(folder / "empty");
    EXPECT_FALSE(ScanSeriesFolder(folder / "empty", platform.prompts));
}

TEST_F(SeriesNamesTest, ScanTakes200PicturesAndRefusesMore) {
    Names names;
    for (int i = 0; i < 200; ++i) {
        names.push_back("f" + std::to_string(i) + ".tga");
    }
    Touch(names);
    const auto series = ScanSeriesFolder(folder.path(), platform.prompts);
    ASSERT_TRUE(series);
    EXPECT_EQ(series->names.size(), 200u);
    EXPECT_EQ(series->names.back(), "f199.tga");
    Touch({"f200.tga"});
    EXPECT_FALSE(ScanSeriesFolder(folder.path(), platform.prompts));
    ASSERT_EQ(platform.prompts.messages.size(), 1u);
    EXPECT_EQ(platform.prompts.messages[0].text,
              "\"f0.tga\": a series may hold at most 200 pictures; this one is not registered.");
}

TEST_F(SeriesNamesTest, TargaSearchLooksAtOneDepth) {
    std::filesystem::create_directories(folder / "group/a");
    folder.Write("group/a/x.TGA", {0});
    EXPECT_FALSE(ContainsTargaFile(folder / "group", 1));
    EXPECT_TRUE(ContainsTargaFile(folder / "group", 2));
    EXPECT_TRUE(ContainsTargaFile(folder / "group/a", 1));
    EXPECT_FALSE(ContainsTargaFile(folder.path(), 2));
}

TEST_F(SeriesNamesTest, MakeListFollowsTheChosenFileInNumberOrder) {
    Touch({"walk0003.tga", "walk0005.tga", "walk10.tga", "walk0006.TGA", "walk7.tga", "run0009.tga",
           "walk0004.tga"});
    EXPECT_EQ(MakeList("walk0005.tga", folder.path(), platform.prompts),
              (Names{"walk0005.tga", "walk0006.TGA", "walk7.tga", "walk10.tga"}));
    // The field is cut at its first dot and lower-cased.
    EXPECT_EQ(MakeList("WALK7.bmp", folder.path(), platform.prompts),
              (Names{"walk7.tga", "walk10.tga"}));
}

TEST_F(SeriesNamesTest, MakeListTreatsLeadingZerosAsTheSameNumber) {
    Touch({"walk5.tga", "walk05.tga", "walk06.tga"});
    EXPECT_EQ(MakeList("walk5.tga", folder.path(), platform.prompts),
              (Names{"walk5.tga", "walk06.tga"}));
    EXPECT_EQ(MakeList("walk05.tga", folder.path(), platform.prompts),
              (Names{"walk05.tga", "walk06.tga"}));
}

TEST_F(SeriesNamesTest, MakeListOfUnnumberedOrEmptyNames) {
    Touch({"title.tga", "title1.tga"});
    EXPECT_EQ(MakeList("Title.tga", folder.path(), platform.prompts), (Names{"title.tga"}));
    EXPECT_TRUE(MakeList("", folder.path(), platform.prompts).empty());
}

TEST_F(SeriesNamesTest, MakeListRefusesMoreThan200Names) {
    Names names;
    for (int i = 1; i <= 200; ++i) {
        names.push_back("a" + std::to_string(i) + ".tga");
    }
    Touch(names);
    EXPECT_EQ(MakeList("a1.tga", folder.path(), platform.prompts).size(), 200u);
    EXPECT_TRUE(platform.prompts.messages.empty());
    Touch({"a201.tga"});
    EXPECT_TRUE(MakeList("a1.tga", folder.path(), platform.prompts).empty());
    ASSERT_EQ(platform.prompts.messages.size(), 1u);
    EXPECT_NE(platform.prompts.messages[0].text.find("\"a1.tga\""), std::string::npos);
}

} // namespace
} // namespace fenwold
