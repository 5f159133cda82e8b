#include "cli/Registration.h"

#include "image/FrameSetLoader.h"
#include "image/SeriesNames.h"

#include <algorithm>
#include <system_error>

namespace fenwold::cli {
namespace {

struct SeriesArgument {
    std::filesystem::path pictures;
    std::filesystem::path masks; // empty without masks
};

// Paths are made absolute at once, so that every series names its folder in full.
SeriesArgument SplitArgument(const std::string& argument) {
    const auto comma = argument.find(',');
    if (comma == std::string::npos) {
        return {std::filesystem::absolute(argument), {}};
    }
    return {std::filesystem::absolute(argument.substr(0, comma)),
            std::filesystem::absolute(argument.substr(comma + 1))};
}

[[noreturn]] void FailFile(const std::filesystem::path& path, const std::string& reason) {
    throw CliFailure(kExitFileFailure, path.string() + ": " + reason);
}

// The series an argument names: a folder's first series, or a picture's series from it on.
PictureSeries SeriesOf(const std::filesystem::path& path, ConsolePlatform& console) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        auto series = ScanSeriesFolder(path, console.prompts);
        if (!series) {
            FailFile(path, "holds no series of Targa pictures the tool can register");
        }
        return *series;
    }
    const auto folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    if (!std::filesystem::exists(path, error)) {
        FailFile(path, "no such picture or folder");
    }
    PictureSeries series{folder, MakeList(path.filename().string(), folder, console.prompts)};
    if (series.names.empty()) {
        FailFile(path, "no series could be listed from this picture");
    }
    return series;
}

std::vector<std::filesystem::path> SeriesFiles(const PictureSeries& series) {
    std::vector<std::filesystem::path> files;
    for (const auto& name : series.names) {
        files.push_back(series.folder / name);
    }
    return files;
}

std::vector<std::filesystem::path> SubFolders(const std::filesystem::path& folder) {
    std::error_code error;
    std::vector<std::filesystem::path> folders;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        if (it->is_directory() && ContainsTargaFile(it->path(), 1)) {
            folders.push_back(it->path());
        }
    }
    if (error) {
        FailFile(folder, "cannot list the folder: " + error.message());
    }
    std::sort(folders.begin(), folders.end());
    return folders;
}

class Registrar {
public:
    // Without `readPictures` only the names of the pictures and folders are gathered.
    Registrar(ConsolePlatform& console, bool readPictures)
        : console_(console), readPictures_(readPictures),
          loader_(registration_.animations, console.Get()) {}

    void AddGroup(const std::string& argument) {
        const SeriesArgument group = SplitArgument(argument);
        const auto folders = SubFolders(group.pictures);
        if (folders.empty()) {
            FailFile(group.pictures, "has no sub-folders holding Targa pictures");
        }
        registration_.folders.push_back(group.pictures);
        if (!group.masks.empty()) {
            registration_.folders.push_back(group.masks);
        }
        const std::size_t before = registration_.animations.size();
        for (const auto& folder : folders) {
            const std::filesystem::path masks =
                group.masks.empty() ? std::filesystem::path() : group.masks / folder.filename();
            AddSeries(folder, masks);
        }
        registration_.groupMemberCounts.push_back(
            static_cast<std::int32_t>(registration_.animations.size() - before));
    }

    void AddSeries(const std::filesystem::path& pictures, const std::filesystem::path& masks) {
        const PictureSeries series = SeriesOf(pictures, console_);
        Remember(series);
        if (!readPictures_) {
            if (!masks.empty()) {
                Remember(SeriesOf(masks, console_));
            }
            CheckMessages(pictures);
            return;
        }
        const std::size_t before = registration_.animations.size();
        {
            const ProgressScope progress =
                loader_.ImageProgress(static_cast<int>(series.names.size()));
            loader_.LoadImageSeriesList(std::span(&series, 1));
        }
        CheckMessages(pictures);
        if (registration_.animations.size() == before) {
            FailFile(pictures, "no animation could be registered");
        }
        if (!masks.empty()) {
            const PictureSeries maskSeries = SeriesOf(masks, console_);
            Remember(maskSeries);
            {
                const ProgressScope progress =
                    loader_.MaskProgress(static_cast<int>(maskSeries.names.size()));
                loader_.LoadMaskSeries(maskSeries, registration_.animations.back());
            }
            CheckMessages(masks);
        }
    }

    Registration Take() {
        registration_.frames = loader_.frameCounter();
        return std::move(registration_);
    }

private:
    void Remember(const PictureSeries& series) {
        registration_.folders.push_back(series.folder);
        for (auto& file : SeriesFiles(series)) {
            registration_.inputs.push_back(std::move(file));
        }
    }

    // The loaders tell the user about a picture they skip; a batch run must not go on then.
    void CheckMessages(const std::filesystem::path& argument) {
        if (console_.prompts.messagesShown() != messagesSeen_) {
            messagesSeen_ = console_.prompts.messagesShown();
            FailFile(argument, "some pictures could not be used (see above)");
        }
    }

    ConsolePlatform& console_;
    bool readPictures_;
    Registration registration_;
    FrameSetLoader loader_;
    int messagesSeen_ = 0;
};

Registration Gather(const std::vector<std::string>& groups, const std::vector<std::string>& series,
                    ConsolePlatform& console, bool readPictures) {
    Registrar registrar(console, readPictures);
    for (const auto& group : groups) {
        registrar.AddGroup(group);
    }
    for (const auto& argument : series) {
        const SeriesArgument parts = SplitArgument(argument);
        registrar.AddSeries(parts.pictures, parts.masks);
    }
    return registrar.Take();
}

} // namespace

Registration RegisterSeries(const std::vector<std::string>& groups,
                            const std::vector<std::string>& series, ConsolePlatform& console) {
    return Gather(groups, series, console, true);
}

Registration ListSeriesInputs(const std::vector<std::string>& groups,
                              const std::vector<std::string>& series, ConsolePlatform& console) {
    return Gather(groups, series, console, false);
}

} // namespace fenwold::cli
