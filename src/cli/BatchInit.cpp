#include "cli/BatchInit.h"

#include "cli/BatchSettings.h"
#include "cli/Console.h"
#include "image/SeriesNames.h"
#include "platform/FileError.h"
#include "platform/FileIo.h"
#include "platform/FileNames.h"

#include <algorithm>
#include <iostream>
#include <optional>
#include <set>

namespace fenwold::cli {
namespace {

using Path = std::filesystem::path;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool IsMaskName(const Path& path) {
    return Lower(path.filename().string()).find("mask") != std::string::npos;
}

// Sub-folders in name order, without hidden ones and without links (which could loop).
std::vector<Path> SubFolders(const Path& folder) {
    std::vector<Path> folders;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        if (it->is_directory(error) && !it->is_symlink(error) &&
            !it->path().filename().string().starts_with('.')) {
            folders.push_back(it->path());
        }
    }
    std::sort(folders.begin(), folders.end());
    return folders;
}

// A folder registers as the series of its first Targa file: a numbered one makes a series.
bool HoldsSeries(const Path& folder) {
    const auto files = ListTargaFiles(folder);
    return !files.empty() && !IsMaskName(files.front()) &&
           ParseFrameNumber(files.front()).has_value();
}

bool HoldsTarga(const Path& folder) {
    std::error_code error;
    return std::filesystem::is_directory(folder, error) && ContainsTargaFile(folder, 1);
}

std::string RelativeTo(const Path& folder, const Path& path) {
    const std::string relative = std::filesystem::relative(path, folder).generic_string();
    return relative.empty() ? "." : relative;
}

// The mask tree of a group: a folder named with "mask", inside the group folder or beside it,
// that holds a folder of the same name for every series.
std::optional<Path> GroupMasks(const Path& group, const std::vector<Path>& series) {
    std::vector<Path> candidates;
    for (const auto& folder : SubFolders(group)) {
        if (IsMaskName(folder)) {
            candidates.push_back(folder);
        }
    }
    for (const auto& folder : SubFolders(group.parent_path())) {
        if (IsMaskName(folder)) {
            candidates.push_back(folder);
        }
    }
    for (const auto& candidate : candidates) {
        if (std::all_of(series.begin(), series.end(),
                        [&](const Path& one) { return HoldsTarga(candidate / one.filename()); })) {
            return candidate;
        }
    }
    return std::nullopt;
}

// The mask series of one series folder: a "mask" folder inside it, a sibling named like it
// with "_mask", "-mask" or "mask", or a folder of its name in a "mask" folder beside its parent.
std::optional<Path> SeriesMasks(const Path& series) {
    for (const auto& folder : SubFolders(series)) {
        if (IsMaskName(folder) && HoldsTarga(folder)) {
            return folder;
        }
    }
    const std::string name = Lower(series.filename().string());
    for (const auto& folder : SubFolders(series.parent_path())) {
        const std::string other = Lower(folder.filename().string());
        if ((other == name + "_mask" || other == name + "-mask" || other == name + "mask") &&
            HoldsTarga(folder)) {
            return folder;
        }
    }
    for (const auto& folder : SubFolders(series.parent_path().parent_path())) {
        if (IsMaskName(folder) && HoldsTarga(folder / series.filename())) {
            return folder / series.filename();
        }
    }
    return std::nullopt;
}

std::optional<std::string> PictureMask(const std::vector<std::string>& files,
                                       const std::string& picture) {
    const std::string stem = picture.substr(0, picture.size() - 4); // without ".tga"
    for (const auto* suffix : {"_mask", "-mask", "mask"}) {
        for (const auto& file : files) {
            if (EqualsIgnoringCase(file, stem + suffix + ".tga")) {
                return file;
            }
        }
    }
    return std::nullopt;
}

// The .UTC file nearest to the folder, within the asset tree; none when a level holds several.
std::optional<Path> NearestTeamColours(const Path& folder, const Path& root) {
    for (Path level = folder;; level = level.parent_path()) {
        std::vector<Path> found;
        std::error_code error;
        for (std::filesystem::directory_iterator it(level, error), end; !error && it != end;
             it.increment(error)) {
            if (it->is_regular_file(error) &&
                EqualsIgnoringCase(it->path().extension().string(), ".utc")) {
                found.push_back(it->path());
            }
        }
        if (!found.empty()) {
            return found.size() == 1 ? std::optional(found.front()) : std::nullopt;
        }
        if (level == root || level == level.parent_path()) {
            return std::nullopt;
        }
    }
}

// Output names are plain file names without a dot.
std::string NameOf(std::string text) {
    for (char& c : text) {
        if (c == '.' || c == '/' || c == '\\' || c == ':' || static_cast<unsigned char>(c) < 0x20) {
            c = '_';
        }
    }
    if (text.empty() || text.front() == '-') {
        text.insert(0, "asset");
    }
    return text;
}

class StartingSettings {
public:
    StartingSettings(Path root, bool quiet) : root_(std::move(root)), quiet_(quiet) {}

    void Visit(const Path& folder) {
        Settings settings;
        AddUnit(folder, settings);
        AddBuildings(folder, settings);
        if (!settings.units.empty() || !settings.buildings.empty()) {
            Write(folder, settings);
        }
        for (const auto& sub : SubFolders(folder)) {
            if (!IsMaskName(sub)) {
                Visit(sub);
            }
        }
    }

private:
    void AddUnit(const Path& folder, Settings& settings) {
        std::vector<Path> series;
        std::vector<Path> withPictures;
        for (const auto& sub : SubFolders(folder)) {
            if (!IsMaskName(sub) && HoldsSeries(sub)) {
                series.push_back(sub);
            }
            if (HoldsTarga(sub)) {
                withPictures.push_back(sub);
            }
        }
        UnitSetting unit;
        unit.name = NameOf(folder.filename().string());
        if (!series.empty()) {
            claimed_.insert(series.begin(), series.end());
            // A group takes every sub-folder with pictures; when some are not series, the
            // series are listed one by one instead.
            if (series == withPictures) {
                const auto masks = GroupMasks(folder, series);
                unit.groups.push_back({".", masks ? RelativeTo(folder, *masks) : ""});
            } else {
                for (const auto& one : series) {
                    const auto masks = SeriesMasks(one);
                    unit.series.push_back(
                        {RelativeTo(folder, one), masks ? RelativeTo(folder, *masks) : ""});
                }
            }
        } else if (HoldsSeries(folder) && !claimed_.contains(folder)) {
            const auto masks = SeriesMasks(folder);
            unit.series.push_back({".", masks ? RelativeTo(folder, *masks) : ""});
        } else {
            return;
        }
        settings.units.push_back(std::move(unit));
    }

    void AddBuildings(const Path& folder, Settings& settings) {
        const auto files = ListTargaFiles(folder);
        for (const auto& file : files) {
            if (IsMaskName(file) || ParseFrameNumber(file).has_value()) {
                continue;
            }
            const auto mask = PictureMask(files, file);
            if (!mask) {
                Note((folder / file).string() + ": no mask picture beside it, so no building");
                continue;
            }
            BuildingSetting building;
            building.name = NameOf(file.substr(0, file.size() - 4));
            building.picture = file;
            building.mask = *mask;
            settings.buildings.push_back(std::move(building));
        }
    }

    void Write(const Path& folder, Settings& settings) {
        const Path target = folder / kSettingsFileName;
        std::error_code error;
        if (std::filesystem::exists(target, error)) {
            Note(target.string() + ": kept as it is");
            return;
        }
        if (const auto colours = NearestTeamColours(folder, root_)) {
            const std::string relative = RelativeTo(folder, *colours);
            for (auto& unit : settings.units) {
                unit.teamColours = relative;
            }
            for (auto& building : settings.buildings) {
                building.teamColours = relative;
            }
        }
        const std::string text = SettingsText(settings);
        try {
            WriteFileAtomically(
                target, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
        } catch (const FileError& failure) {
            throw CliFailure(kExitFileFailure, failure.what());
        }
        std::cout << "wrote " << target.string() << " (" << settings.units.size() << " units, "
                  << settings.buildings.size() << " buildings)\n";
    }

    void Note(const std::string& text) const {
        if (!quiet_) {
            std::cerr << "fenwold-cli: " << text << '\n';
        }
    }

    Path root_;
    bool quiet_;
    std::set<Path> claimed_; // series folders already taken as animations of a unit above
};

} // namespace

void WriteStartingSettings(const std::string& assets, bool quiet) {
    std::error_code error;
    const Path root = std::filesystem::weakly_canonical(assets, error);
    if (error || !std::filesystem::is_directory(root, error)) {
        throw CliFailure(kExitFileFailure, assets + ": no such folder");
    }
    StartingSettings(root, quiet).Visit(root);
}

} // namespace fenwold::cli
