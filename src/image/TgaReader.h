#pragma once

#include "image/Pixel.h"
#include "image/TgaDecoding.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace fenwold {

// The filter of the file dialogs that pick Targa pictures.
inline constexpr std::string_view kPictureFilter = "Image Files(*.TGA)|*.TGA|모든화일(*.*)|*.*||";

// Reads a whole Targa picture at construction: true-colour, 24 or 32 bits, plain or run-length
// coded, stored bottom row first. Delivers the pixels in file order (bottom row first) and an
// alpha plane; it neither turns the picture over nor converts pixels.
//
// 24-bit pictures have no alpha channel: plain ones take pure black as transparent, run-length
// ones take key colours (the colours of the first two packets and of the picture's bottom row).
// The pixel data follows the image ID field and any colour map. A file that ends early leaves
// its missing pixels transparent black (and says how many); a packet that runs past the last
// pixel is cut there. Only the bytes a picture of the header's kind and size could use are read.
class CTgaReader {
public:
    static constexpr std::size_t kHeaderSize = tga::kHeaderSize;

    explicit CTgaReader(const std::filesystem::path& file);
    // Reads a picture held in memory, as if it were the file's contents.
    explicit CTgaReader(std::span<const std::uint8_t> file);

    // True when the picture was read (the alpha plane exists, possibly empty).
    bool HasAlpha() const { return loaded_; }
    // One of tga::ReadError: 1 the file cannot be opened, 2 the header is short, 3 the kind is
    // not accepted, 4 the picture cannot be allocated (or is far larger than the file could
    // describe).
    std::uint32_t error() const { return error_; }
    // Why the picture was not read, in words (see tga::DescribeError); empty on success.
    const std::string& failure() const { return failure_; }
    const std::array<std::uint8_t, kHeaderSize>& header() const { return header_; }
    // Pixels the file ended before; they are transparent black.
    std::size_t missingPixels() const { return missingPixels_; }

    int width() const { return width_; }
    int height() const { return height_; }
    // width * height values each, bottom row first; empty unless HasAlpha.
    std::span<const TgaColor> pixels() const { return {pixels_.get(), PixelCount()}; }
    std::span<const std::uint8_t> alpha() const { return {alpha_.get(), PixelCount()}; }

private:
    void Read(std::span<const std::uint8_t> file);
    std::size_t PixelCount() const {
        return loaded_ ? static_cast<std::size_t>(width_) * height_ : 0;
    }

    std::uint32_t error_ = tga::kNoError;
    std::string failure_;
    std::size_t missingPixels_ = 0;
    std::array<std::uint8_t, kHeaderSize> header_{};
    int width_ = 0;
    int height_ = 0;
    bool loaded_ = false;
    std::unique_ptr<TgaColor[]> pixels_;
    std::unique_ptr<std::uint8_t[]> alpha_;
};

} // namespace fenwold
