#include "unittools/FolderTree.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>

namespace fenwold {

FolderTree::FolderTree(const std::vector<Root>& roots) {
    for (const Root& root : roots) {
        const Id id = Add(kNone, root.text, root.path, false);
        roots_.push_back(id);
        Add(id, {}, {}, true);
    }
}

std::vector<FolderTree::Root> FolderTree::DefaultRoots() {
    std::vector<Root> roots{{"/", "/"}};
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        std::error_code error;
        const std::filesystem::path path(home);
        if (std::filesystem::is_directory(path, error) && path.lexically_normal() != "/") {
            roots.push_back({"Home (" + path.string() + ")", path});
        }
    }
    return roots;
}

const FolderTree::Item* FolderTree::Find(Id id) const {
    const auto it = items_.find(id);
    return it != items_.end() ? &it->second : nullptr;
}

FolderTree::Id FolderTree::Add(Id parent, std::string text, std::filesystem::path path,
                               bool placeholder) {
    const Id id = next_++;
    Item& item = items_[id];
    item.text = std::move(text);
    item.path = std::move(path);
    item.parent = parent;
    item.placeholder = placeholder;
    if (parent != kNone) {
        items_.at(parent).children.push_back(id);
    }
    return id;
}

void FolderTree::RemoveChildren(Id id) {
    Item& item = items_.at(id);
    for (const Id child : item.children) {
        RemoveChildren(child);
        items_.erase(child);
    }
    item.children.clear();
}

bool FolderTree::Expand(Id id) {
    const auto it = items_.find(id);
    if (it == items_.end() || it->second.placeholder || it->second.expanded) {
        return false;
    }
    RemoveChildren(id);
    std::vector<std::filesystem::path> folders;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(it->second.path, error), end;
         !error && entry != end; entry.increment(error)) {
        std::error_code kindError;
        const std::string name = entry->path().filename().string();
        if (!name.empty() && name.front() != '.' && entry->is_directory(kindError)) {
            folders.push_back(entry->path());
        }
    }
    std::sort(folders.begin(), folders.end());
    for (const auto& folder : folders) {
        const Id child = Add(id, folder.filename().string(), folder, false);
        Add(child, {}, {}, true);
    }
    items_.at(id).expanded = true;
    return true;
}

void FolderTree::Collapse(Id id) {
    const auto it = items_.find(id);
    if (it == items_.end() || it->second.placeholder || !it->second.expanded) {
        return;
    }
    RemoveChildren(id);
    it->second.expanded = false;
    Add(id, {}, {}, true);
}

void FolderTree::SetText(Id id, std::string text) {
    if (const auto it = items_.find(id); it != items_.end()) {
        it->second.text = std::move(text);
    }
}

} // namespace fenwold
