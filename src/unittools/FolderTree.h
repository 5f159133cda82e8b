#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace fenwold {

// The folder tree the registry dialog picks folders in: a few root folders, each item a folder
// that keeps its full path, whatever its text says. A folder shows one placeholder child until
// it is expanded, so that the tree offers to expand it without listing the disk; expanding lists
// its sub-folders (files are not shown), collapsing forgets them again.
class FolderTree {
public:
    using Id = std::int64_t;
    static constexpr Id kNone = -1;

    struct Item {
        std::string text;
        std::filesystem::path path; // empty for a placeholder
        Id parent = kNone;
        std::vector<Id> children;
        bool placeholder = false;
        bool expanded = false;
    };

    struct Root {
        std::string text;
        std::filesystem::path path;
    };

    explicit FolderTree(const std::vector<Root>& roots);

    // The file system root and the user's home folder (HOME), when it is set and exists.
    static std::vector<Root> DefaultRoots();

    const std::vector<Id>& Roots() const { return roots_; }
    // Null for an id that is gone (collapsed away) or never was.
    const Item* Find(Id id) const;
    const Item& At(Id id) const { return items_.at(id); }

    // Replaces the placeholder by the folder's sub-folders, ordered by name; hidden folders
    // (names starting with ".") and folders that cannot be listed give no items. Returns whether
    // the children changed.
    bool Expand(Id id);
    // Forgets the children and puts the placeholder back.
    void Collapse(Id id);
    void SetText(Id id, std::string text);

private:
    Id Add(Id parent, std::string text, std::filesystem::path path, bool placeholder);
    void RemoveChildren(Id id);

    std::map<Id, Item> items_;
    std::vector<Id> roots_;
    Id next_ = 0;
};

} // namespace fenwold
