#include "platform/FileNames.h"

#include <utility>

namespace fenwold {
namespace {

std::string StemBeforeFirstDot(const std::filesystem::path& path) {
    std::string name = path.filename().string();
    return name.substr(0, name.find('.'));
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::filesystem::path CutAtFirstDot(const std::filesystem::path& path) {
    return path.parent_path() / StemBeforeFirstDot(path);
}

std::filesystem::path WithFixedExtension(const std::filesystem::path& path,
                                         std::string_view extension) {
    return path.parent_path() / (StemBeforeFirstDot(path) + std::string(extension));
}

std::string BareNameWithFixedExtension(const std::filesystem::path& path,
                                       std::string_view extension) {
    return StemBeforeFirstDot(path) + std::string(extension);
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

FileType FileTypeOf(std::string_view name) {
    if (name.size() < 3) {
        return FileType::Other;
    }
    const std::string_view last = name.substr(name.size() - 3);
    // The last three characters name the type, ignoring case.
    constexpr std::pair<const char*, FileType> kTypes[] = {{"PCX", FileType::Pcx},
                                                           {"BPT", FileType::Building},
                                                           {"UPT", FileType::Unit},
                                                           {"UTD", FileType::ToolData},
                                                           {"URE", FileType::RunLength}};
    for (const auto& [extension, type] : kTypes) {
        if (EqualsIgnoringCase(last, extension)) {
            return type;
        }
    }
    return FileType::Other;
}

} // namespace fenwold
