#pragma once

#include "image/SeriesNames.h"
#include "platform/Prompts.h"
#include "unit/RegistrationHost.h"
#include "unittools/FolderTree.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace fenwold {

// "Animation Registry": the artist picks folders in a tree. Each folder picked becomes one
// animation (its numbered Targa pictures) or, with "Set Group", a group whose animations are its
// sub-folders. The first registration fixes the mode for the rest of the dialog; "Registion"
// hands everything registered to the registration view, Cancel nothing.
class CAnimationRegistryDlg {
public:
    static constexpr int kDialogId = 186;
    static constexpr const char* kCaption = "Animation Registry";
    static constexpr const char* kOkText = "Registion";
    static constexpr int kDeleteButton = 1010; // offered, with no action
    static constexpr int kFileList = 1105;
    static constexpr int kFolderTree = 1103;
    static constexpr int kSetGroupCheck = 1169;
    static constexpr int kMaxGroupMembers = 100;

    CAnimationRegistryDlg(Prompts& prompts, const std::vector<FolderTree::Root>& roots);

    FolderTree& Tree() { return tree_; }
    const FolderTree& Tree() const { return tree_; }

    // The tree may select an item by itself while the dialog starts up; those selections
    // register nothing. The window calls this once it is shown.
    void StartUpDone() { startingUp_ = false; }

    bool SetGroupChecked() const { return setGroup_; }
    void SetSetGroupChecked(bool checked);
    bool SetGroupEnabled() const { return setGroupEnabled_; }

    // The tree's selection moved to `item`: the folder is registered in the current mode, and on
    // success the item's text becomes "<text> <- <counter>". Returns whether it registered.
    bool OnSelectionChanged(FolderTree::Id item);

    // The file list box: the pictures of the animation registered last, or the sub-folders of
    // the group registered last.
    const std::vector<std::string>& FileList() const { return fileList_; }
    int AnimationCount() const { return animationCount_; }
    int GroupCount() const { return groupCount_; }
    int TotalFileCount() const { return totalFileCount_; }

    // What the dialog hands back: everything registered after "Registion", nothing after Cancel.
    std::optional<AnimationRegistryResult> Close(bool registion) const;

private:
    bool RegisterAnimation(const std::filesystem::path& folder);
    bool RegisterGroup(const std::filesystem::path& folder);
    void Registered();

    Prompts& prompts_;
    FolderTree tree_;
    bool startingUp_ = true;
    bool setGroup_ = false;
    bool setGroupEnabled_ = true;
    int animationCount_ = 0;
    int groupCount_ = 0;
    int totalFileCount_ = 0;
    std::vector<PictureSeries> series_;
    std::vector<std::filesystem::path> groupFolders_;
    std::vector<std::vector<PictureSeries>> groups_;
    std::vector<std::string> fileList_;
};

// Whether `folder` is `registered` or lies inside it, comparing whole normalised paths (so that
// after ".../walk", ".../walk2" and ".../wall" are still free).
bool IsSameOrInside(const std::filesystem::path& folder, const std::filesystem::path& registered);

} // namespace fenwold
