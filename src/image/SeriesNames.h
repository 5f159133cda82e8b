#pragma once

#include "platform/Prompts.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fenwold {

// The registration keeps at most this many pictures of one series.
inline constexpr int kMaxSeriesFiles = 200;

// A numbered picture series: its folder and its file names in frame order.
struct PictureSeries {
    std::filesystem::path folder;
    std::vector<std::string> names;
};

// "walk007.tga" is frame 7 of the series "walk": the name is lower-cased and cut at its first
// ".", and the run of digits at its end is the frame number. Names without such a run, or whose
// number does not fit 31 bits, have none.
struct FrameNumber {
    std::string baseName;
    std::int32_t number = 0;
    friend bool operator==(const FrameNumber&, const FrameNumber&) = default;
};
std::optional<FrameNumber> ParseFrameNumber(std::string_view fileName);

// Whether a Targa file lies exactly `depthLimit` folder levels down: 1 looks at the folder's own
// files, 2 at those of its sub-folders. The name's last four characters must be ".tga" in any
// case.
bool ContainsTargaFile(const std::filesystem::path& folder, int depthLimit);

// The Targa files directly in `folder` ("*.tga" in any case), ordered by name ignoring case so
// that every file system gives the same first file.
std::vector<std::string> ListTargaFiles(const std::filesystem::path& folder);

// The sub-folders of `folder` that hold a Targa file directly, ordered by path.
std::vector<std::filesystem::path> SeriesSubFolders(const std::filesystem::path& folder);

// A folder as one animation: the series of its first Targa file, lower-cased and in frame
// order, or that file alone when its name holds no number. None when the folder holds no Targa
// file, or when the series has more than 200 pictures (which `prompts` is told).
std::optional<PictureSeries> ScanSeriesFolder(const std::filesystem::path& folder,
                                              Prompts& prompts);

// The list of the registration file dialog: the chosen picture (the dialog's name field, cut at
// its first "." and given ".tga", lower-case) followed by every picture of its series in
// `folder` with a higher number, in frame order; the chosen name alone when it holds no number.
// Empty when the field is empty, or when the list would exceed 200 names (which `prompts` is
// told).
std::vector<std::string> MakeList(std::string_view nameField, const std::filesystem::path& folder,
                                  Prompts& prompts);

} // namespace fenwold
