#include "platform/ScriptedPlatform.h"
#include "support/TempFolder.h"
#include "unittools/CAnimationRegistryDlg.h"

#include <fstream>
#include <gtest/gtest.h>

namespace fenwold {
namespace {

// Folders of (empty) Targa files under one root shown in the tree: only the names matter to the
// registry.
class AnimationRegistryTest : public ::testing::Test {
protected:
    AnimationRegistryTest() : dialog(platform.prompts, {{"root", folder.path()}}) {
        dialog.StartUpDone();
    }

    void Files(const std::string& subFolder, const std::vector<std::string>& names) {
        std::filesystem::create_directories(folder / subFolder);
        for (const auto& name : names) {
            std::ofstream(folder / subFolder / name).put('x');
        }
    }
    // The tree item of `relative` (a/b/c), expanding the items on the way.
    FolderTree::Id Item(const std::filesystem::path& relative) {
        FolderTree& tree = dialog.Tree();
        FolderTree::Id id = tree.Roots().front();
        for (const auto& part : relative) {
            tree.Expand(id);
            const auto& children = tree.At(id).children;
            const auto found = std::find_if(children.begin(), children.end(), [&](auto child) {
                return tree.At(child).path.filename() == part;
            });
            if (found == children.end()) {
                ADD_FAILURE() << "no item " << relative;
                return FolderTree::kNone;
            }
            id = *found;
        }
        return id;
    }
    bool Select(const std::filesystem::path& relative) {
        return dialog.OnSelectionChanged(Item(relative));
    }

    test::TempFolder folder;
    ScriptedPlatform platform;
    CAnimationRegistryDlg dialog;
};

TEST_F(AnimationRegistryTest, TheTreeShowsFoldersLazilyAndKeepsPathsWhenRenamed) {
    Files("walk", {"walk1.tga"});
    Files("walk/inner", {});
    Files(".hidden", {});
    FolderTree& tree = dialog.Tree();
    const FolderTree::Id root = tree.Roots().front();
    // Before expanding, one placeholder stands for the children.
    ASSERT_EQ(tree.At(root).children.size(), 1u);
    EXPECT_TRUE(tree.At(tree.At(root).children[0]).placeholder);
    ASSERT_TRUE(tree.Expand(root));
    ASSERT_EQ(tree.At(root).children.size(), 1u); // folders only, hidden ones left out
    const FolderTree::Id walk = tree.At(root).children[0];
    EXPECT_EQ(tree.At(walk).text, "walk");
    EXPECT_TRUE(Select("walk"));
    EXPECT_EQ(tree.At(walk).text, "walk <- 1");
    // The renamed item still names its folder, and so do its children.
    EXPECT_EQ(tree.At(walk).path, folder / "walk");
    EXPECT_EQ(tree.At(Item("walk/inner")).path, folder / "walk" / "inner");
    // Collapsing forgets the children and puts the placeholder back.
    tree.Collapse(root);
    EXPECT_EQ(tree.Find(walk), nullptr);
    ASSERT_EQ(tree.At(root).children.size(), 1u);
    EXPECT_TRUE(tree.At(tree.At(root).children[0]).placeholder);
}

TEST_F(AnimationRegistryTest, AnAnimationIsItsSeriesInFrameOrder) {
    Files("walk", {"walk2.tga", "walk10.tga", "walk1.tga"});
    Files("title", {"title.tga", "title001.tga", "title002.tga"});
    ASSERT_TRUE(Select("walk"));
    EXPECT_EQ(dialog.FileList(),
              (std::vector<std::string>{"walk1.tga", "walk2.tga", "walk10.tga"}));
    ASSERT_TRUE(Select("title"));
    EXPECT_EQ(dialog.AnimationCount(), 2);
    EXPECT_FALSE(dialog.SetGroupEnabled()); // the first success fixed the mode
    dialog.SetSetGroupChecked(true);
    EXPECT_FALSE(dialog.SetGroupChecked());

    const auto result = dialog.Close(true);
    ASSERT_TRUE(result.has_value());
    EXPECT_FALSE(result->setGroup);
    EXPECT_EQ(result->totalFileCount, 4); // a first file without a number stands alone
    ASSERT_EQ(result->series.size(), 2u);
    EXPECT_EQ(result->series[1].folder, folder / "title");
    EXPECT_TRUE(result->groups.empty());
    EXPECT_FALSE(dialog.Close(false).has_value()); // Cancel hands back nothing
}

TEST_F(AnimationRegistryTest, AFolderIsRegisteredOnceAndItsNeighboursStayFree) {
    Files("walk", {"walk1.tga"});
    Files("walk2", {"walk1.tga"});
    Files("wall", {"wall1.tga"});
    Files("walk/inner", {"in1.tga"});
    Files("empty", {"notes.txt"});
    ASSERT_TRUE(Select("walk"));
    const FolderTree::Id walk = Item("walk");
    EXPECT_FALSE(dialog.OnSelectionChanged(walk)); // the same folder again
    EXPECT_EQ(dialog.Tree().At(walk).text, "walk <- 1");
    EXPECT_TRUE(Select("walk2"));
    EXPECT_TRUE(Select("wall"));
    EXPECT_FALSE(Select("walk/inner")); // inside a registered folder
    EXPECT_FALSE(Select("empty"));      // no Targa file: nothing happens
    EXPECT_EQ(dialog.Tree().At(Item("empty")).text, "empty");
    EXPECT_EQ(dialog.AnimationCount(), 3);
    EXPECT_EQ(dialog.Tree().At(Item("wall")).text, "wall <- 3");

    EXPECT_TRUE(IsSameOrInside("/a/walk/", "/a/walk"));
    EXPECT_TRUE(IsSameOrInside("/a/./walk/x", "/a/walk"));
    EXPECT_FALSE(IsSameOrInside("/a/walk2", "/a/walk"));
    EXPECT_FALSE(IsSameOrInside("/a", "/a/walk"));
}

TEST_F(AnimationRegistryTest, AGroupIsItsSubFoldersInPathOrder) {
    Files("unit/a", {"a1.tga", "a2.tga"});
    Files("unit/c", {"c1.tga"});
    Files("unit/b", {"b1.tga"});
    Files("unit/notes", {"readme.txt"});
    Files("flat", {"flat1.tga"}); // Targa files one level too high for a group
    dialog.SetSetGroupChecked(true);
    EXPECT_FALSE(Select("flat"));
    EXPECT_TRUE(dialog.SetGroupEnabled());
    ASSERT_TRUE(Select("unit"));
    EXPECT_EQ(dialog.Tree().At(Item("unit")).text, "unit <- 1");
    EXPECT_EQ(dialog.FileList(), (std::vector<std::string>{(folder / "unit" / "a").string(),
                                                           (folder / "unit" / "b").string(),
                                                           (folder / "unit" / "c").string()}));
    EXPECT_FALSE(Select("unit")); // once
    EXPECT_EQ(dialog.GroupCount(), 1);
    EXPECT_EQ(dialog.AnimationCount(), 3);
    EXPECT_FALSE(dialog.SetGroupEnabled());

    const auto result = dialog.Close(true);
    ASSERT_TRUE(result.has_value());
    EXPECT_TRUE(result->setGroup);
    EXPECT_EQ(result->totalFileCount, 4);
    EXPECT_TRUE(result->series.empty());
    ASSERT_EQ(result->groups.size(), 1u);
    ASSERT_EQ(result->groups[0].size(), 3u);
    EXPECT_EQ(result->groups[0][1].folder, folder / "unit" / "b");
    EXPECT_EQ(result->groups[0][0].names, (std::vector<std::string>{"a1.tga", "a2.tga"}));
}

TEST_F(AnimationRegistryTest, AGroupOfAHundredIsTakenAndOneMoreRefused) {
    for (int i = 0; i < 101; ++i) {
        Files("big/m" + std::to_string(1000 + i), {"f1.tga"});
    }
    for (int i = 0; i < 100; ++i) {
        Files("full/m" + std::to_string(1000 + i), {"f1.tga"});
    }
    dialog.SetSetGroupChecked(true);
    EXPECT_FALSE(Select("big"));
    ASSERT_EQ(platform.prompts.messages.size(), 1u);
    EXPECT_NE(platform.prompts.messages[0].text.find("at most 100"), std::string::npos);
    EXPECT_EQ(dialog.GroupCount(), 0);
    EXPECT_TRUE(dialog.SetGroupEnabled());
    ASSERT_TRUE(Select("full"));
    EXPECT_EQ(dialog.Close(true)->groups[0].size(), 100u);
}

TEST_F(AnimationRegistryTest, SelectionsWhileStartingUpAreIgnoredAndTheFirstRealOneCounts) {
    Files("walk", {"walk1.tga"});
    CAnimationRegistryDlg starting(platform.prompts, {{"root", folder.path()}});
    FolderTree& tree = starting.Tree();
    tree.Expand(tree.Roots().front());
    const FolderTree::Id walk = tree.At(tree.Roots().front()).children[0];
    EXPECT_FALSE(starting.OnSelectionChanged(walk));
    starting.StartUpDone();
    EXPECT_TRUE(starting.OnSelectionChanged(walk));
    EXPECT_FALSE(starting.OnSelectionChanged(FolderTree::kNone));
}

} // namespace
} // namespace fenwold
