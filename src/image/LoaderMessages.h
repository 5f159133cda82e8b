#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// What the picture loaders tell the user, each naming one file in place of its "%s".
namespace fenwold::messages {

// A picture of a series (or a mask picture) cannot be read.
inline constexpr std::string_view kAlphaNotFound = "\"%s\" alpha not found";
// A mask series has fewer pictures than the animation has frames.
inline constexpr std::string_view kMaskCountMismatch =
    "\"%s\", 화일부분이 Image와 mask 수가 같지 않습니다.";
// The building picture cannot be read.
inline constexpr std::string_view kBuildingWithoutAlpha = "\"%s\" 파일은 알파가 없다.";
// Limits of the tool's records, refused rather than cut.
inline constexpr std::string_view kTooManyPictures =
    "\"%s\": a series may hold at most 200 pictures; this one is not registered.";
inline constexpr std::string_view kTooWide =
    "\"%s\": the pictures are wider than 16382 pixels and cannot be registered.";
inline constexpr std::string_view kSeriesTooLarge =
    "\"%s\": the series is too large to load at once (more than 268435456 pixels).";
inline constexpr std::string_view kBuildingTooLarge =
    "\"%s\": the building is larger than 50 x 50 tiles (1600 x 1600 pixels).";

// The message with `name` in place of its "%s".
inline std::string WithName(std::string_view message, std::string_view name) {
    std::string text(message);
    const auto at = text.find("%s");
    return text.replace(at, 2, name);
}

// A picture that ends before its last pixels is used as read, those pixels transparent.
inline std::string PictureEndsEarly(std::string_view name, std::size_t missingPixels) {
    return "\"" + std::string(name) + "\" ends early: its last " + std::to_string(missingPixels) +
           " pixels are missing and are left transparent.";
}
// The same for a batch run's log, beside the file's name.
inline std::string EndsEarlyReason(std::size_t missingPixels, std::size_t pixels) {
    return "the picture ends early: " + std::to_string(missingPixels) + " of its " +
           std::to_string(pixels) + " pixels are missing";
}
// Why a mask series was not added.
inline std::string MaskCountReason(std::size_t masks, std::size_t frames) {
    return "the mask series has " + std::to_string(masks) + " pictures for " +
           std::to_string(frames) + " frames";
}

} // namespace fenwold::messages
