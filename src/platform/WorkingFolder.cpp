#include "platform/WorkingFolder.h"

#include "platform/FileError.h"
#include "platform/FileNames.h"

#include <string>
#include <system_error>
#include <vector>

namespace fenwold {

std::optional<std::filesystem::path> FindFileIgnoringCase(const std::filesystem::path& folder,
                                                          std::string_view name) {
    std::error_code error;
    const auto exact = folder / std::string(name);
    if (std::filesystem::exists(exact, error)) {
        return exact;
    }
    std::vector<std::filesystem::path> candidates;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        if (EqualsIgnoringCase(it->path().filename().string(), name)) {
            candidates.push_back(it->path());
        }
    }
    if (candidates.empty()) {
        return std::nullopt;
    }
    if (candidates.size() > 1) {
        std::string list;
        for (const auto& candidate : candidates) {
            list += (list.empty() ? "" : ", ") + candidate.filename().string();
        }
        throw FileError(exact.string(), "several files match this name when case is ignored (" +
                                            list + "); rename all but one");
    }
    return candidates.front();
}

std::filesystem::path ResolveExisting(const std::filesystem::path& path) {
    const auto folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    if (auto found = FindFileIgnoringCase(folder, path.filename().string())) {
        return path.has_parent_path() ? *found : found->filename();
    }
    return path;
}

WorkingFolder::WorkingFolder() {
    std::error_code error;
    folder_ = std::filesystem::current_path(error);
    if (error) {
        folder_ = ".";
    }
}

std::filesystem::path WorkingFolder::Absolute(const std::filesystem::path& name) const {
    return name.is_absolute() ? name : folder_ / name;
}

std::filesystem::path WorkingFolder::Locate(const std::filesystem::path& name) const {
    return ResolveExisting(Absolute(name));
}

} // namespace fenwold
