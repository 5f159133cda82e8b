#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace fenwold {

// Finds `name` in `folder` the way the Windows file system would: the exact name first, else the
// one entry whose name matches ignoring case. None gives no path; two or more candidates raise
// FileError (choosing one would be a guess).
std::optional<std::filesystem::path> FindFileIgnoringCase(const std::filesystem::path& folder,
                                                          std::string_view name);

// The path to open for `path`: itself when it exists, else its case-insensitive match in its
// folder, else `path` unchanged (so that opening it reports the missing file).
std::filesystem::path ResolveExisting(const std::filesystem::path& path);

// The tool's current folder: where file names built from a chosen name are opened and written.
// The file dialogs move it to the folder of the chosen file, as the Windows dialogs did. It is an
// object, not the process's working directory, so tests and worker threads never race on it.
class WorkingFolder {
public:
    WorkingFolder();
    explicit WorkingFolder(std::filesystem::path folder) : folder_(std::move(folder)) {}

    const std::filesystem::path& Current() const { return folder_; }
    void Set(std::filesystem::path folder) { folder_ = std::move(folder); }

    // `name` made absolute against the current folder (an absolute name stays as it is).
    std::filesystem::path Absolute(const std::filesystem::path& name) const;
    // The file that `name` means, matched ignoring case: for reading, and for writing too, where
    // an existing case variant is replaced as Windows would replace it.
    std::filesystem::path Locate(const std::filesystem::path& name) const;

private:
    std::filesystem::path folder_;
};

} // namespace fenwold
