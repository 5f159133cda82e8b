#include "image/FrameSetLoader.h"

#include "image/FrameStreams.h"
#include "image/LoaderMessages.h"
#include "image/PictureBox.h"
#include "image/PictureReading.h"
#include "image/TgaReader.h"
#include "platform/FileError.h"
#include "platform/WorkingFolder.h"

#include <iterator>
#include <optional>
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

// The box over every frame's visible pixels, widened to an even width; the whole first frame
// when no frame has any.
PictureBox CommonBox(const std::vector<Picture555>& pictures) {
    std::optional<PictureBox> box;
    for (const auto& picture : pictures) {
        if (const auto own = OpaqueBox(picture.alpha, picture.width, picture.height)) {
            box = box ? Union(*box, *own) : *own;
        }
    }
    PictureBox common =
        box.value_or(PictureBox{0, 0, pictures.front().width - 1, pictures.front().height - 1});
    if (common.Width() % 2 != 0) {
        ++common.right;
    }
    return common;
}

RegisteredFrame CroppedFrame(const Picture555& picture, const PictureBox& box) {
    RegisteredFrame frame;
    frame.cropLeft = box.left;
    frame.cropTop = box.top;
    frame.width = box.Width();
    frame.height = box.Height();
    const auto pixels = CropPlane<Pixel555>(picture.pixels, picture.width, picture.height, box.left,
                                            box.top, frame.width, frame.height);
    const auto alpha = CropPlane<std::uint8_t>(picture.alpha, picture.width, picture.height,
                                               box.left, box.top, frame.width, frame.height);
    frame.pixelStream = EncodeFramePixels(pixels, frame.width, frame.height);
    frame.alphaStream = EncodeFrameAlpha(alpha, frame.width, frame.height);
    return frame;
}

} // namespace

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
    std::vector<Picture555> pictures;
    std::vector<std::filesystem::path> sources;
    std::uint64_t pixelCount = 0;
    for (const auto& name : fileNames) {
        Picture555 picture;
        std::string failure;
        const auto path = Locate(series.folder, name, failure);
        if (!path || ReadPicture555(*path, picture, &failure) != tga::kNoError) {
            prompts.ShowFileProblem(messages::WithName(messages::kAlphaNotFound, name),
                                    path.value_or(series.folder / name), failure);
            continue;
        }
        if (picture.missingPixels > 0) {
            prompts.ShowFileProblem(
                messages::PictureEndsEarly(name, picture.missingPixels), *path,
                messages::EndsEarlyReason(picture.missingPixels, picture.pixels.size()));
        }
        pixelCount += picture.pixels.size();
        if (pixelCount > kMaxSeriesPixels) {
            prompts.ShowMessage(messages::WithName(messages::kSeriesTooLarge, fileNames.front()));
            return false;
        }
        pictures.push_back(std::move(picture));
        sources.push_back(*path);
        platform_.statusBar.StepProgress();
    }
    if (pictures.empty()) {
        return false;
    }
    const PictureBox box = CommonBox(pictures);
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
    animation.frameCount = static_cast<std::int32_t>(pictures.size());
    animation.sequenceLength = animation.frameCount;
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        animation.frameNumber[i] = static_cast<std::uint16_t>(i);
        animation.frames.push_back(CroppedFrame(pictures[i], box));
        animation.frames.back().source = std::move(sources[i]);
        pictures[i] = {};
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

bool FrameSetLoader::LoadMaskSeries(const PictureSeries& series, RegisteredAnimation& animation) {
    const std::vector<std::string>& fileNames = series.names;
    Prompts& prompts = platform_.prompts;
    if (fileNames.size() < animation.frames.size()) {
        // A partly masked animation would be compressed with two alpha schemes but drawn with
        // one, so a short series adds nothing.
        const std::string first = fileNames.empty() ? std::string() : fileNames.front();
        prompts.ShowFileProblem(
            messages::WithName(messages::kMaskCountMismatch, first),
            series.folder / first,
            messages::MaskCountReason(fileNames.size(), animation.frames.size()));
        return false;
    }
    struct Mask {
        int width;
        int height;
        std::vector<std::uint8_t> cropped;
    };
    std::vector<Mask> masks;
    for (std::size_t i = 0; i < animation.frames.size(); ++i) {
        const RegisteredFrame& frame = animation.frames[i];
        std::string failure;
        const auto path = Locate(series.folder, fileNames[i], failure);
        const auto reader = path ? std::make_optional<CTgaReader>(*path) : std::nullopt;
        if (!reader || !reader->HasAlpha()) {
            // As with a short series, one unreadable mask leaves the animation without masks.
            prompts.ShowFileProblem(messages::WithName(messages::kAlphaNotFound, fileNames[i]),
                                    path.value_or(series.folder / fileNames[i]),
                                    reader ? reader->failure() : failure);
            return false;
        }
        if (reader->missingPixels() > 0) {
            prompts.ShowFileProblem(
                messages::PictureEndsEarly(fileNames[i], reader->missingPixels()), *path,
                messages::EndsEarlyReason(reader->missingPixels(), reader->pixels().size()));
        }
        const auto plane = ReadMaskPlane(*reader, MaskKind::Unit);
        masks.push_back(
            {reader->width(), reader->height(),
             CropPlane<std::uint8_t>(plane, reader->width(), reader->height(), frame.cropLeft,
                                     frame.cropTop, animation.width, animation.height)});
        platform_.statusBar.StepProgress();
    }
    for (std::size_t i = 0; i < masks.size(); ++i) {
        RegisteredFrame& frame = animation.frames[i];
        frame.maskPictureWidth = masks[i].width;
        frame.maskPictureHeight = masks[i].height;
        frame.maskStream = EncodeFrameAlpha(masks[i].cropped, animation.width, animation.height);
    }
    animation.maskFlag = 1;
    return true;
}

void FrameSetLoader::LoadMaskSeriesList(std::span<const PictureSeries> series) {
    for (const auto& entry : series) {
        if (nextMaskAnimation_ >= animations_.size()) {
            return;
        }
        auto animation = std::next(animations_.begin(), static_cast<long>(nextMaskAnimation_++));
        LoadMaskSeries(entry, *animation);
    }
}

} // namespace fenwold
