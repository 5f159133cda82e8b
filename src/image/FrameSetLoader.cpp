#include "image/FrameSetLoader.h"

#include "image/FrameStreams.h"
#include "image/LoaderMessages.h"
#include "image/PictureBox.h"
#include "platform/FileError.h"
#include "platform/WorkingFolder.h"

#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace fenwold {
namespace {

// The file `name` stands for in the folder; none when several files match it ignoring case
// (choosing one would be a guess), with the reason in `failure`.
std::optional<std::filesystem::path> Locate(const std::filesystem::path& folder,
                                            const std::string& name, std::string& failure) {
    try {
        return ResolveExisting(folder / name);
    } catch (const FileError& error) {
        failure = error.reason();
        return std::nullopt;
    }
}

// The frame of a picture cut to the series' box.
RegisteredFrame CroppedFrame(const Picture555& picture, const PictureBox& box,
                             FrameStreamEncoder& encoder) {
    RegisteredFrame frame;
    frame.cropLeft = box.left;
    frame.cropTop = box.top;
    frame.width = box.Width();
    frame.height = box.Height();
    frame.pixelStream =
        encoder.Pixels(picture.pixels, picture.width, picture.height, box.left, box.top);
    frame.alphaStream =
        encoder.Alpha(picture.alpha, picture.width, picture.height, box.left, box.top);
    frame.pictureWidth = picture.width;
    frame.pictureHeight = picture.height;
    return frame;
}

// Whether a mask picture of this size lines up with the frame: the size of the frame's own
// picture, or, when that is not known, one that holds the frame's box.
bool MaskFits(const RegisteredFrame& frame, int maskWidth, int maskHeight) {
    if (frame.pictureWidth != 0) {
        return maskWidth == frame.pictureWidth && maskHeight == frame.pictureHeight;
    }
    return frame.cropLeft + frame.width <= maskWidth && frame.cropTop + frame.height <= maskHeight;
}

std::string SizeText(int width, int height) {
    return std::to_string(width) + " x " + std::to_string(height) + " pixels";
}

} // namespace

template <typename Read>
bool FrameSetLoader::ReadPicture(const PictureSeries& series, const std::string& name,
                                 std::optional<std::filesystem::path>& path, Read read) {
    std::string failure;
    if (!path) {
        path = Locate(series.folder, name, failure);
    }
    if (!path || read(*path, failure) != tga::kNoError) {
        platform_.prompts.ShowFileProblem(messages::WithName(messages::kAlphaNotFound, name),
                                          path.value_or(series.folder / name), failure);
        return false;
    }
    return true;
}

bool FrameSetLoader::LoadImageSeries(const PictureSeries& series) {
    const std::vector<std::string>& fileNames = series.names;
    if (fileNames.empty()) {
        return false;
    }
    Prompts& prompts = platform_.prompts;
    if (fileNames.size() > kMaxSeriesFiles) {
        prompts.ShowMessage(messages::WithName(messages::kTooManyPictures, fileNames.front()));
        return false;
    }
    // The first reading finds the pictures that can be read and the box over every frame's
    // visible pixels, without converting them; the second converts each picture into the one
    // working picture and cuts it to the box.
    struct Frame {
        std::optional<std::filesystem::path> path;
        const std::string* name;
    };
    std::vector<Frame> frames;
    std::optional<PictureBox> visible;
    PictureBox firstPicture;
    std::uint64_t pixelCount = 0;
    PictureOutline outline;
    const auto readOutline = [&](const std::filesystem::path& path, std::string& failure) {
        return ReadPictureOutline(path, outline, fileBuffer_, &failure);
    };
    for (const auto& name : fileNames) {
        Frame frame{std::nullopt, &name};
        if (!ReadPicture(series, name, frame.path, readOutline)) {
            continue;
        }
        const std::size_t pictureSize = static_cast<std::size_t>(outline.width) * outline.height;
        if (outline.missingPixels > 0) {
            prompts.ShowFileProblem(messages::PictureEndsEarly(name, outline.missingPixels),
                                    *frame.path,
                                    messages::EndsEarlyReason(outline.missingPixels, pictureSize));
        }
        pixelCount += pictureSize;
        if (pixelCount > kMaxSeriesPixels) {
            prompts.ShowMessage(messages::WithName(messages::kSeriesTooLarge, fileNames.front()));
            return false;
        }
        if (frames.empty()) {
            firstPicture = {0, 0, outline.width - 1, outline.height - 1};
        }
        if (outline.visible) {
            visible = visible ? Union(*visible, *outline.visible) : *outline.visible;
        }
        frames.push_back(std::move(frame));
        platform_.statusBar.StepProgress();
    }
    if (frames.empty()) {
        return false;
    }
    // The whole first frame when no frame has a visible pixel; always of even width.
    PictureBox box = visible.value_or(firstPicture);
    if (box.Width() % 2 != 0) {
        ++box.right;
    }
    if (box.Width() > kMaxStreamWidth) {
        prompts.ShowMessage(messages::WithName(messages::kTooWide, fileNames.front()));
        return false;
    }

    RegisteredAnimation animation;
    animation.positionX = box.left;
    animation.positionY = box.top;
    animation.width = static_cast<std::uint16_t>(box.Width());
    animation.height = static_cast<std::uint16_t>(box.Height());
    // Counted over the pictures actually read, so that no frame number names a missing frame.
    animation.frameCount = static_cast<std::int32_t>(frames.size());
    animation.sequenceLength = animation.frameCount;
    animation.frames.reserve(frames.size());
    FrameStreamEncoder encoder(box.Width(), box.Height());
    const auto readPicture = [&](const std::filesystem::path& path, std::string& failure) {
        return ReadPicture555(path, picture_, fileBuffer_, &failure);
    };
    for (auto& frame : frames) {
        // A picture that can no longer be read was changed or removed since the first reading:
        // the series it belonged to is gone, so nothing is added.
        if (!ReadPicture(series, *frame.name, frame.path, readPicture)) {
            return false;
        }
        animation.frames.push_back(CroppedFrame(picture_, box, encoder));
        animation.frames.back().source = std::move(*frame.path);
    }
    for (std::size_t i = 0; i < frames.size(); ++i) {
        animation.frameNumber[i] = static_cast<std::uint16_t>(i);
        animation.frameCounter = frameCounter_++;
    }
    animations_.push_back(std::move(animation));
    ++animationCount_;
    return true;
}

void FrameSetLoader::LoadImageSeriesList(std::span<const PictureSeries> series) {
    for (const auto& entry : series) {
        LoadImageSeries(entry);
    }
}

bool FrameSetLoader::LoadMaskSeries(const PictureSeries& series, RegisteredAnimation& animation,
                                    MaskCount count) {
    const std::vector<std::string>& fileNames = series.names;
    Prompts& prompts = platform_.prompts;
    if (fileNames.size() < animation.frames.size() ||
        (count == MaskCount::Exact && fileNames.size() != animation.frames.size())) {
        // A partly masked animation would be compressed with two alpha schemes but drawn with
        // one, so a short series adds nothing.
        const std::string first = fileNames.empty() ? std::string() : fileNames.front();
        prompts.ShowFileProblem(
            messages::WithName(messages::kMaskCountMismatch, first), series.folder / first,
            messages::MaskCountReason(fileNames.size(), animation.frames.size()));
        return false;
    }
    struct Mask {
        int width;
        int height;
        std::vector<std::uint8_t> stream;
    };
    std::vector<Mask> masks;
    masks.reserve(animation.frames.size());
    FrameStreamEncoder encoder(animation.width, animation.height);
    const auto readMask = [&](const std::filesystem::path& path, std::string& failure) {
        return ReadMaskPicture(path, MaskKind::Unit, mask_, fileBuffer_, &failure);
    };
    for (std::size_t i = 0; i < animation.frames.size(); ++i) {
        const RegisteredFrame& frame = animation.frames[i];
        std::optional<std::filesystem::path> path;
        // As with a short series, one unreadable mask leaves the animation without masks.
        if (!ReadPicture(series, fileNames[i], path, readMask)) {
            return false;
        }
        if (!MaskFits(frame, mask_.width, mask_.height)) {
            // Cut from a picture of another size, the mask would mark the wrong pixels.
            const std::string reason =
                "the mask picture is " + SizeText(mask_.width, mask_.height) +
                (frame.pictureWidth != 0
                     ? ", the animation's picture " +
                           SizeText(frame.pictureWidth, frame.pictureHeight)
                     : ", too small for the animation's frames of " +
                           SizeText(frame.width, frame.height) + " at " +
                           std::to_string(frame.cropLeft) + ", " + std::to_string(frame.cropTop));
            prompts.ShowFileProblem("\"" + fileNames[i] + "\": " + reason +
                                        "; the mask series is not added.",
                                    *path, reason);
            return false;
        }
        if (mask_.missingPixels > 0) {
            prompts.ShowFileProblem(
                messages::PictureEndsEarly(fileNames[i], mask_.missingPixels), *path,
                messages::EndsEarlyReason(mask_.missingPixels, mask_.plane.size()));
        }
        masks.push_back(
            {mask_.width, mask_.height,
             encoder.Alpha(mask_.plane, mask_.width, mask_.height, frame.cropLeft, frame.cropTop)});
        platform_.statusBar.StepProgress();
    }
    for (std::size_t i = 0; i < masks.size(); ++i) {
        RegisteredFrame& frame = animation.frames[i];
        frame.maskPictureWidth = masks[i].width;
        frame.maskPictureHeight = masks[i].height;
        frame.maskStream = std::move(masks[i].stream);
    }
    animation.maskFlag = 1;
    return true;
}

int FrameSetLoader::LoadMaskSeriesList(std::span<const PictureSeries> series) {
    int added = 0;
    for (const auto& entry : series) {
        if (nextMaskAnimation_ >= animations_.size()) {
            break;
        }
        auto animation = std::next(animations_.begin(), static_cast<long>(nextMaskAnimation_++));
        added += LoadMaskSeries(entry, *animation) ? 1 : 0;
    }
    return added;
}

} // namespace fenwold
