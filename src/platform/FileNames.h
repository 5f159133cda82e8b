#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace fenwold {

// The tool names the files it writes from a chosen name: the file name is cut before its first
// "." and given a fixed upper-case extension, while the folder part stays whole
// ("/a.b/house.v2.bpt" gives "/a.b/house" + ".UTD").
std::filesystem::path CutAtFirstDot(const std::filesystem::path& path);
std::filesystem::path WithFixedExtension(const std::filesystem::path& path,
                                         std::string_view extension);
// The bare file name (no folder) cut before its first "." and given the extension.
std::string BareNameWithFixedExtension(const std::filesystem::path& path,
                                       std::string_view extension);

bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// What a file opens as, from the last three characters of its name, upper-cased.
enum class FileType { Building = 0, Unit = 1, ToolData = 2, Pcx = 3, RunLength = 4, Other = -1 };
FileType FileTypeOf(std::string_view name);

} // namespace fenwold
