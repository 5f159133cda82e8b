#pragma once

#include "image/PictureBox.h"
#include "image/Pixel.h"
#include "image/PixelBlocks.h"
#include "image/TgaDecoding.h"
#include "image/UninitialisedAllocator.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace fenwold {

template <typename T>
using PicturePlane = UninitialisedVector<T>;

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
// The same reading the file into `fileBuffer`: a series read into one picture and one buffer
// allocates nothing after its first picture.
std::uint32_t ReadPicture555(const std::filesystem::path& file, Picture555& picture,
                             ByteBuffer& fileBuffer, std::string* failure);
// The same with block conversions no wider than `widest` (the fastest the processor runs, at
// most `widest`); every choice gives the same picture.
std::uint32_t ReadPicture555(std::span<const std::uint8_t> file, Picture555& picture,
                             blocks::ConversionIsa widest);

// The first look at a picture: its size, the pixels its file lacks, and the box of its visible
// pixels (those that ReadPicture555 gives a non-zero alpha: alpha 8 and above as read), top row
// first; found without converting a pixel.
struct PictureOutline {
    int width = 0;
    int height = 0;
    std::optional<PictureBox> visible;
    std::size_t missingPixels = 0;
};

// Reads the outline of a Targa picture; errors as ReadPicture555.
std::uint32_t ReadPictureOutline(std::span<const std::uint8_t> file, PictureOutline& outline);
std::uint32_t ReadPictureOutline(const std::filesystem::path& file, PictureOutline& outline,
                                 ByteBuffer& fileBuffer, std::string* failure);

enum class MaskKind { Unit, Building };

// A mask picture in its 0/1 form, top row first: a pixel is selected when the mean of its
// channels, cut to 565 precision, is above 128 (unit masks) or 127 (building masks).
struct MaskPicture {
    int width = 0;
    int height = 0;
    PicturePlane<std::uint8_t> plane;
    // Pixels the file ended before; they are not selected.
    std::size_t missingPixels = 0;
};

// Reads a Targa picture straight into its mask form; errors as ReadPicture555.
std::uint32_t ReadMaskPicture(std::span<const std::uint8_t> file, MaskKind kind, MaskPicture& mask);
std::uint32_t ReadMaskPicture(const std::filesystem::path& file, MaskKind kind, MaskPicture& mask,
                              ByteBuffer& fileBuffer, std::string* failure);

} // namespace fenwold
