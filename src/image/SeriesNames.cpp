#include "image/SeriesNames.h"

#include "image/LoaderMessages.h"
#include "platform/FileNames.h"

#include <algorithm>
#include <limits>
#include <system_error>

namespace fenwold {
namespace {

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Lowered(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), LowerAscii);
    return lower;
}

bool IsTargaName(std::string_view name) {
    return name.size() >= 4 && EqualsIgnoringCase(name.substr(name.size() - 4), ".tga");
}

bool IsFile(const std::filesystem::directory_entry& entry) {
    std::error_code error;
    return entry.is_regular_file(error);
}

bool IsFolder(const std::filesystem::directory_entry& entry) {
    std::error_code error;
    return entry.is_directory(error);
}

bool SearchTarga(const std::filesystem::path& folder, int depthLimit, int depth) {
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        if (IsFolder(*it)) {
            if (depthLimit > depth && SearchTarga(it->path(), depthLimit, depth + 1)) {
                return true;
            }
        } else if (depth == depthLimit && IsTargaName(it->path().filename().string())) {
            return true;
        }
    }
    return false;
}

struct NumberedName {
    std::string name;
    std::int32_t number;
};

void SortByNumber(std::vector<NumberedName>& names) {
    std::stable_sort(names.begin(), names.end(), [](const NumberedName& a, const NumberedName& b) {
        return a.number < b.number;
    });
}

std::vector<std::string> NamesOf(const std::vector<NumberedName>& numbered) {
    std::vector<std::string> names;
    names.reserve(numbered.size());
    for (const auto& entry : numbered) {
        names.push_back(entry.name);
    }
    return names;
}

} // namespace

std::optional<FrameNumber> ParseFrameNumber(std::string_view fileName) {
    std::string name = Lowered(fileName.substr(0, fileName.find('.')));
    std::size_t digits = name.size();
    while (digits > 0 && name[digits - 1] >= '0' && name[digits - 1] <= '9') {
        --digits;
    }
    if (digits == name.size()) {
        return std::nullopt;
    }
    std::int64_t number = 0;
    for (std::size_t i = digits; i < name.size(); ++i) {
        number = number * 10 + (name[i] - '0');
        if (number > std::numeric_limits<std::int32_t>::max()) {
            return std::nullopt;
        }
    }
    name.resize(digits);
    return FrameNumber{std::move(name), static_cast<std::int32_t>(number)};
}

bool ContainsTargaFile(const std::filesystem::path& folder, int depthLimit) {
    return SearchTarga(folder, depthLimit, 1);
}

std::vector<std::string> ListTargaFiles(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        std::string name = it->path().filename().string();
        if (IsTargaName(name) && IsFile(*it)) {
            names.push_back(std::move(name));
        }
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string lowerA = Lowered(a);
        const std::string lowerB = Lowered(b);
        return lowerA != lowerB ? lowerA < lowerB : a < b;
    });
    return names;
}

std::vector<std::filesystem::path> SeriesSubFolders(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> folders;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        if (IsFolder(*it) && ContainsTargaFile(it->path(), 1)) {
            folders.push_back(it->path());
        }
    }
    std::sort(folders.begin(), folders.end());
    return folders;
}

std::optional<PictureSeries> ScanSeriesFolder(const std::filesystem::path& folder,
                                              Prompts& prompts) {
    const std::vector<std::string> files = ListTargaFiles(folder);
    if (files.empty()) {
        return std::nullopt;
    }
    const auto first = ParseFrameNumber(files.front());
    if (!first) {
        return PictureSeries{folder, {Lowered(files.front())}};
    }
    std::vector<NumberedName> series;
    for (const auto& file : files) {
        const auto frame = ParseFrameNumber(file);
        if (frame && frame->baseName == first->baseName) {
            series.push_back({Lowered(file), frame->number});
        }
    }
    if (series.size() > kMaxSeriesFiles) {
        prompts.ShowMessage(messages::WithName(messages::kTooManyPictures, series.front().name));
        return std::nullopt;
    }
    SortByNumber(series);
    return PictureSeries{folder, NamesOf(series)};
}

std::vector<std::string> MakeList(std::string_view nameField, const std::filesystem::path& folder,
                                  Prompts& prompts) {
    if (nameField.empty()) {
        return {};
    }
    const std::string chosen = Lowered(nameField.substr(0, nameField.find('.'))) + ".tga";
    const auto chosenFrame = ParseFrameNumber(chosen);
    if (!chosenFrame) {
        return {chosen};
    }
    std::vector<NumberedName> higher;
    for (const auto& file : ListTargaFiles(folder)) {
        const auto frame = ParseFrameNumber(file);
        if (frame && frame->baseName == chosenFrame->baseName &&
            frame->number > chosenFrame->number) {
            higher.push_back({file, frame->number});
        }
    }
    if (higher.size() + 1 > kMaxSeriesFiles) {
        prompts.ShowMessage(messages::WithName(messages::kTooManyPictures, chosen));
        return {};
    }
    SortByNumber(higher);
    std::vector<std::string> names{chosen};
    for (auto& entry : higher) {
        names.push_back(std::move(entry.name));
    }
    return names;
}

} // namespace fenwold
