#include "unittools/CAnimationRegistryDlg.h"

#include <algorithm>

namespace fenwold {
namespace {

std::filesystem::path Normalised(const std::filesystem::path& path) {
    std::filesystem::path normal = path.lexically_normal();
    // "/a/walk/" and "/a/walk" name one folder.
    if (!normal.has_filename() && normal.has_relative_path()) {
        normal = normal.parent_path();
    }
    return normal;
}

template <typename Folders, typename FolderOf>
bool AlreadyRegistered(const std::filesystem::path& folder, const Folders& registered,
                       FolderOf folderOf) {
    return std::any_of(registered.begin(), registered.end(),
                       [&](const auto& entry) { return IsSameOrInside(folder, folderOf(entry)); });
}

} // namespace

bool IsSameOrInside(const std::filesystem::path& folder, const std::filesystem::path& registered) {
    const std::filesystem::path inner = Normalised(folder);
    const std::filesystem::path outer = Normalised(registered);
    auto innerPart = inner.begin();
    for (auto outerPart = outer.begin(); outerPart != outer.end(); ++outerPart, ++innerPart) {
        if (innerPart == inner.end() || *innerPart != *outerPart) {
            return false;
        }
    }
    return true;
}

CAnimationRegistryDlg::CAnimationRegistryDlg(Prompts& prompts,
                                             const std::vector<FolderTree::Root>& roots)
    : prompts_(prompts), tree_(roots) {}

void CAnimationRegistryDlg::SetSetGroupChecked(bool checked) {
    if (setGroupEnabled_) {
        setGroup_ = checked;
    }
}

bool CAnimationRegistryDlg::OnSelectionChanged(FolderTree::Id item) {
    const FolderTree::Item* selected = tree_.Find(item);
    if (startingUp_ || selected == nullptr || selected->placeholder) {
        return false;
    }
    const std::filesystem::path folder = selected->path;
    if (!(setGroup_ ? RegisterGroup(folder) : RegisterAnimation(folder))) {
        return false;
    }
    const int counter = setGroup_ ? groupCount_ : animationCount_;
    tree_.SetText(item, selected->text + " <- " + std::to_string(counter));
    return true;
}

bool CAnimationRegistryDlg::RegisterAnimation(const std::filesystem::path& folder) {
    if (!ContainsTargaFile(folder, 1) ||
        AlreadyRegistered(folder, series_,
                          [](const PictureSeries& series) { return series.folder; })) {
        return false;
    }
    auto series = ScanSeriesFolder(folder, prompts_);
    if (!series) {
        return false;
    }
    totalFileCount_ += static_cast<int>(series->names.size());
    fileList_ = series->names;
    series_.push_back(std::move(*series));
    ++animationCount_;
    Registered();
    return true;
}

bool CAnimationRegistryDlg::RegisterGroup(const std::filesystem::path& folder) {
    if (!ContainsTargaFile(folder, 2) ||
        AlreadyRegistered(folder, groupFolders_,
                          [](const std::filesystem::path& path) { return path; })) {
        return false;
    }
    const std::vector<std::filesystem::path> subFolders = SeriesSubFolders(folder);
    if (subFolders.size() > static_cast<std::size_t>(kMaxGroupMembers)) {
        prompts_.ShowMessage("\"" + folder.string() + "\": a group holds at most 100 animations; " +
                             std::to_string(subFolders.size()) +
                             " sub-folders hold Targa pictures. The group is not registered.");
        return false;
    }
    // Every member is scanned before anything is kept, so a member that cannot be registered
    // leaves no half group behind.
    std::vector<PictureSeries> members;
    int files = 0;
    for (const auto& subFolder : subFolders) {
        auto series = ScanSeriesFolder(subFolder, prompts_);
        if (!series) {
            return false;
        }
        files += static_cast<int>(series->names.size());
        members.push_back(std::move(*series));
    }
    if (members.empty()) {
        return false;
    }
    totalFileCount_ += files;
    animationCount_ += static_cast<int>(members.size());
    groupFolders_.push_back(folder);
    groups_.push_back(std::move(members));
    fileList_.clear();
    for (const auto& subFolder : subFolders) {
        fileList_.push_back(subFolder.string());
    }
    ++groupCount_;
    Registered();
    return true;
}

void CAnimationRegistryDlg::Registered() {
    setGroupEnabled_ = false;
}

std::optional<AnimationRegistryResult> CAnimationRegistryDlg::Close(bool registion) const {
    if (!registion) {
        return std::nullopt;
    }
    AnimationRegistryResult result;
    result.setGroup = setGroup_;
    result.totalFileCount = totalFileCount_;
    result.series = series_;
    result.groups = groups_;
    return result;
}

} // namespace fenwold
