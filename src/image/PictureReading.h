#pragma once

#include "image/Pixel.h"
#include "image/PixelBlocks.h"
#include "image/TgaReader.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace fenwold {

// Allocates like std::allocator but leaves elements made without a value uninitialised, so that
// a vector can be sized for a reader that writes every element itself.
template <typename T>
class UninitialisedAllocator : public std::allocator<T> {
public:
    template <typename U>
    struct rebind {
        using other = UninitialisedAllocator<U>;
    };
    using std::allocator<T>::allocator;

    template <typename U>
    void construct(U* at) noexcept(std::is_nothrow_default_constructible_v<U>) {
        ::new (static_cast<void*>(at)) U;
    }
    template <typename U, typename... Args>
    void construct(U* at, Args&&... args) {
        ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
    }
};

template <typename T>
using PicturePlane = std::vector<T, UninitialisedAllocator<T>>;

// A picture in the tool's working form, top row first: Pixel555 pixels and the alpha plane cut
// to its 32 stored levels.
struct Picture555 {
    int width = 0;
    int height = 0;
    PicturePlane<Pixel555> pixels;
    PicturePlane<std::uint8_t> alpha;
    // Pixels the file ended before; they are transparent black.
    std::size_t missingPixels = 0;
};

// Reads a Targa picture straight into the working form, as CTgaReader would read it followed
// by the conversion: the colours of translucent pixels (alpha 8 to 254 as read) are restored,
// pixels become Pixel555, alpha is quantised, and the rows are turned over. Returns the reader's
// error (tga::kNoError when `picture` was filled). From a file, `failure` (when given) receives
// the reason for an error in words.
std::uint32_t ReadPicture555(std::span<const std::uint8_t> file, Picture555& picture);
std::uint32_t ReadPicture555(const std::filesystem::path& file, Picture555& picture,
                             std::string* failure = nullptr);
// The same with block conversions no wider than `widest` (the fastest the processor runs, at
// most `widest`); every choice gives the same picture.
std::uint32_t ReadPicture555(std::span<const std::uint8_t> file, Picture555& picture,
                             blocks::ConversionIsa widest);

enum class MaskKind { Unit, Building };

// A 0/1 mask plane, top row first: a pixel is selected when the mean of its channels, cut to
// 565 precision, is above 128 (unit masks) or 127 (building masks).
std::vector<std::uint8_t> ReadMaskPlane(const CTgaReader& reader, MaskKind kind);

} // namespace fenwold
