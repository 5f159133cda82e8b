#include "image/BuildingPicture.h"

#include "image/LoaderMessages.h"
#include "image/PictureBox.h"
#include "image/PictureReading.h"
#include "platform/FileError.h"

namespace fenwold {
namespace {

int WholeTiles(int size) {
    return (size + kBuildingTileSize - 1) / kBuildingTileSize * kBuildingTileSize;
}

std::optional<std::filesystem::path>
Resolve(const WorkingFolder& folder, const std::filesystem::path& file, std::string& failure) {
    try {
        return folder.Locate(file);
    } catch (const FileError& error) {
        failure = error.reason();
        return std::nullopt;
    }
}

void Tell(std::string* failure, std::string reason) {
    if (failure != nullptr) {
        *failure = std::move(reason);
    }
}

} // namespace

std::optional<BuildingPicture> LoadBuildingPicture(const std::filesystem::path& file,
                                                   Platform platform, std::string* failure) {
    Picture555 source;
    std::string reason;
    const auto path = Resolve(platform.folder, file, reason);
    if (!path || ReadPicture555(*path, source, &reason) != tga::kNoError) {
        platform.prompts.ShowFileProblem(
            messages::WithName(messages::kBuildingWithoutAlpha, file.string()), path.value_or(file),
            reason);
        Tell(failure, reason);
        return std::nullopt;
    }
    if (source.missingPixels > 0) {
        platform.prompts.ShowFileProblem(
            messages::PictureEndsEarly(file.string(), source.missingPixels), *path,
            messages::EndsEarlyReason(source.missingPixels, source.pixels.size()));
    }
    const auto box = OpaqueBox(source.alpha, source.width, source.height);
    if (!box) {
        Tell(failure, "every pixel of the picture is transparent");
        return std::nullopt;
    }
    BuildingPicture picture;
    picture.cropX = box->left;
    picture.cropY = box->top;
    picture.boxWidth = box->Width();
    picture.boxHeight = box->Height();
    picture.width = WholeTiles(picture.boxWidth);
    picture.height = WholeTiles(picture.boxHeight);
    picture.tileColumns = picture.width / kBuildingTileSize;
    picture.tileRows = picture.height / kBuildingTileSize;
    if (picture.tileColumns > kMaxBuildingTiles || picture.tileRows > kMaxBuildingTiles) {
        platform.prompts.ShowMessage(
            messages::WithName(messages::kBuildingTooLarge, file.string()));
        Tell(failure, "the building is larger than 50 x 50 tiles");
        return std::nullopt;
    }
    // Centred: the margin before the box is half the padding, rounded as the halves are.
    picture.offsetX = picture.width / 2 - picture.boxWidth / 2;
    picture.offsetY = picture.height / 2 - picture.boxHeight / 2;

    const std::size_t size = static_cast<std::size_t>(picture.width) * picture.height;
    picture.pixels.assign(size, kPaddingPixel);
    picture.alpha.assign(size, 0);
    for (int y = 0; y < picture.boxHeight; ++y) {
        const std::size_t from = static_cast<std::size_t>(box->top + y) * source.width +
                                 static_cast<std::size_t>(box->left);
        const std::size_t to = static_cast<std::size_t>(picture.offsetY + y) * picture.width +
                               static_cast<std::size_t>(picture.offsetX);
        for (int x = 0; x < picture.boxWidth; ++x) {
            const std::uint8_t a = source.alpha[from + x];
            picture.alpha[to + x] = a;
            if (a != 0) {
                picture.pixels[to + x] = source.pixels[from + x];
            }
        }
    }
    return picture;
}

bool LoadBuildingMask(BuildingPicture& picture, const std::filesystem::path& file, Prompts& prompts,
                      std::string* failure) {
    std::optional<std::filesystem::path> path;
    try {
        path = ResolveExisting(file);
    } catch (const FileError& error) {
        Tell(failure, error.reason());
        return false;
    }
    MaskPicture mask;
    ByteBuffer bytes;
    std::string reason;
    if (ReadMaskPicture(*path, MaskKind::Building, mask, bytes, &reason) != tga::kNoError) {
        Tell(failure, reason);
        return false;
    }
    if (mask.missingPixels > 0) {
        prompts.ShowFileProblem(messages::PictureEndsEarly(file.string(), mask.missingPixels),
                                *path,
                                messages::EndsEarlyReason(mask.missingPixels, mask.plane.size()));
    }
    // The padded picture's top left lies this far before the box in the Targa picture.
    auto selection = CropPlane<std::uint8_t>(
        mask.plane, mask.width, mask.height, picture.cropX - picture.offsetX,
        picture.cropY - picture.offsetY, picture.width, picture.height);
    std::vector<std::uint8_t> coverage(selection.size());
    for (std::size_t i = 0; i < selection.size(); ++i) {
        coverage[i] = selection[i] != 0 ? 255 : 0;
    }
    picture.maskSelection = std::move(selection);
    picture.maskCoverage = std::move(coverage);
    return true;
}

} // namespace fenwold
