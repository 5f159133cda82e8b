#pragma once

#include "image/PictureReading.h"
#include "image/RegisteredAnimation.h"
#include "image/SeriesNames.h"
#include "platform/Platform.h"
#include "platform/Services.h"

#include <cstddef>
#include <cstdint>
#include <list>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace fenwold {

inline constexpr std::string_view kImageLoadingCaption = "Image Tga File Loading";
inline constexpr std::string_view kMaskLoadingCaption = "Mask Tga File Loading";

// A series beyond this many pixels is refused, so that its frames' streams stay within memory
// (200 frames of 1024 x 1024 pixels stay below it).
inline constexpr std::uint64_t kMaxSeriesPixels = std::uint64_t{1} << 28;

// Turns numbered picture series into registered animations and adds mask series to them. It
// appends to the registration list it is given, counts frames and animations over its whole
// life, and tells the user about failures through the platform. Each series names its folder;
// its file names are opened there, matched ignoring case. The working folder is neither read
// nor moved. It reads the pictures of every series into one working picture and one file
// buffer, which it keeps while it lives.
class FrameSetLoader {
public:
    FrameSetLoader(std::list<RegisteredAnimation>& animations, Platform platform)
        : animations_(animations), platform_(platform) {}

    // The progress the loads step, one step per picture read; the caller keeps it open over a
    // whole registration.
    [[nodiscard]] ProgressScope ImageProgress(int fileCount) const {
        return ProgressScope(platform_.statusBar, kImageLoadingCaption, fileCount);
    }
    [[nodiscard]] ProgressScope MaskProgress(int fileCount) const {
        return ProgressScope(platform_.statusBar, kMaskLoadingCaption, fileCount);
    }

    // One animation from the pictures, cropped to their common box. A picture that cannot be
    // read is reported and left out; one that ends early is reported and kept as read. Returns
    // false when no animation was added (no picture could be read, the series is beyond the
    // tool's limits, or a picture could not be read again when it was cut to the box).
    bool LoadImageSeries(const PictureSeries& series);
    // One animation per series.
    void LoadImageSeriesList(std::span<const PictureSeries> series);

    // How many mask pictures a series must have: at least one per frame (extra pictures are
    // ignored), or exactly one per frame.
    enum class MaskCount { AtLeastFrames, Exact };
    // Mask planes for every frame of `animation`, from the mask pictures in frame order. When
    // the count does not match, a picture cannot be read, or a mask picture's size differs from
    // its frame's picture, the user is told and the animation gets no masks at all; a mask
    // picture that ends early is reported and kept as read.
    bool LoadMaskSeries(const PictureSeries& series, RegisteredAnimation& animation,
                        MaskCount count = MaskCount::AtLeastFrames);
    // Mask series for consecutive animations, starting where the last list stopped; series
    // beyond the last animation are ignored. Returns how many animations got their masks.
    int LoadMaskSeriesList(std::span<const PictureSeries> series);
    // The next mask series list starts again at the first registered animation.
    void StartMasksAtFirstAnimation() { nextMaskAnimation_ = 0; }

    // Frames and animations loaded so far.
    std::int32_t frameCounter() const { return frameCounter_; }
    std::int32_t animationCount() const { return animationCount_; }

private:
    // Reads a picture of the series with `read(path, failure)`, finding its file first when
    // `path` is empty; tells the user and returns false when it cannot be read.
    template <typename Read>
    bool ReadPicture(const PictureSeries& series, const std::string& name,
                     std::optional<std::filesystem::path>& path, Read read);

    std::list<RegisteredAnimation>& animations_;
    Platform platform_;
    std::int32_t frameCounter_ = 0;
    std::int32_t animationCount_ = 0;
    std::size_t nextMaskAnimation_ = 0;
    Picture555 picture_;
    MaskPicture mask_;
    ByteBuffer fileBuffer_;
};

} // namespace fenwold
