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

// A scan takes the series of the folder's first file, in number order and lower case, or that
// file alone when it has no number; an empty folder has none.
TEST_F(SeriesNamesTest, ScanTakesTheFirstFilesSeriesInNumberOrder) {
    const std::pair<Names, Names> cases[] = {
        {{"walk2.tga", "walk10.tga", "walk1.tga", "notes.txt"},
         {"walk1.tga", "walk2.tga", "walk10.tga"}},
        {{"walk001.tga", "run001.tga", "run002.TGA", "RUN003.Tga"},
         {"run001.tga", "run002.tga", "run003.tga"}},
        {{"title.tga", "walk1.tga", "walk2.tga"}, {"title.tga"}}};
    int n = 0;
    for (const auto& [files, expected] : cases) {
        const std::string sub = std::to_string(n++);
        std::filesystem::create_directories(folder / sub);
        for (const auto& name : files) {
            folder.Write(sub + "/" + name, {0});
        }
        const std::filesystem::path here = folder / sub;
        const auto series = ScanSeriesFolder(here, platform.prompts);
        ASSERT_TRUE(series);
        EXPECT_EQ(series->folder, here);
        EXPECT_EQ(series->names, expected);
    }
    std::filesystem::create_directories(folder / "empty");
    EXPECT_FALSE(ScanSeriesFolder(folder / "empty", platform.prompts));
}

TEST_F(SeriesNamesTest, TargaSearchLooksAtOneDepth) {
    std::filesystem::create_directories(folder / "group/a");
    folder.Write("group/a/x.TGA", {0});
    EXPECT_FALSE(ContainsTargaFile(folder / "group", 1));
    EXPECT_TRUE(ContainsTargaFile(folder / "group", 2));
    EXPECT_TRUE(ContainsTargaFile(folder / "group/a", 1));
    EXPECT_FALSE(ContainsTargaFile(folder.path(), 2));
}

// The list follows the chosen file in number order, the same number with other leading zeros
// left out; the field is cut at its first dot and lower-cased.
TEST_F(SeriesNamesTest, MakeListFollowsTheChosenFileInNumberOrder) {
    Touch({"walk0003.tga", "walk0005.tga", "walk10.tga", "walk0006.TGA", "walk7.tga", "run0009.tga",
           "walk0004.tga", "jog5.tga", "jog05.tga", "jog06.tga", "title.tga", "title1.tga"});
    const std::pair<std::string, Names> cases[] = {
        {"walk0005.tga", {"walk0005.tga", "walk0006.TGA", "walk7.tga", "walk10.tga"}},
        {"WALK7.bmp", {"walk7.tga", "walk10.tga"}},
        {"jog5.tga", {"jog5.tga", "jog06.tga"}},
        {"jog05.tga", {"jog05.tga", "jog06.tga"}},
        {"Title.tga", {"title.tga"}},
        {"", {}}};
    for (const auto& [chosen, expected] : cases) {
        EXPECT_EQ(MakeList(chosen, folder.path(), platform.prompts), expected) << chosen;
    }
}

// A scan and a list both take 200 pictures and refuse a 201st, naming the first.
TEST_F(SeriesNamesTest, ScanAndListTake200PicturesAndRefuseMore) {
    Names names;
    for (int i = 1; i <= 200; ++i) {
        names.push_back("f" + std::to_string(i) + ".tga");
    }
    Touch(names);
    const auto series = ScanSeriesFolder(folder.path(), platform.prompts);
    ASSERT_TRUE(series);
    EXPECT_EQ(series->names, names);
    EXPECT_EQ(MakeList("f1.tga", folder.path(), platform.prompts), names);
    EXPECT_TRUE(platform.prompts.messages.empty());
    Touch({"f201.tga"});
    EXPECT_FALSE(ScanSeriesFolder(folder.path(), platform.prompts));
    EXPECT_TRUE(MakeList("f1.tga", folder.path(), platform.prompts).empty());
    ASSERT_EQ(platform.prompts.messages.size(), 2u);
    for (const auto& message : platform.prompts.messages) {
        EXPECT_EQ(message.text, "\"f1.tga\": a series may hold at most 200 pictures; this one is "
                                "not registered.");
    }
}

} // namespace
} // namespace fenwold
