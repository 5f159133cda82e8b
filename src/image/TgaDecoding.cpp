#include "image/TgaDecoding.h"

#include <bit>

namespace fenwold::tga {

static_assert(std::endian::native == std::endian::little,
              "B, G, R, A bytes are read as one little-endian TgaColor");

std::uint32_t ParseHeader(std::span<const std::uint8_t> file, Layout& layout) {
    if (file.size() < kHeaderSize) {
        return kHeaderTooShort;
    }
    // The four accepted kinds, tested in this order. The descriptor must be exactly 8 (32-bit)
    // or 0 (24-bit), which also demands bottom-row-first storage.
    const int type = file[2];
    const int depth = file[16];
    const int descriptor = file[17];
    if (type == 10 && depth == 32 && descriptor == 8) {
        layout.kind = Kind::RunLength32;
    } else if (type == 10 && depth == 24 && descriptor == 0) {
        layout.kind = Kind::RunLength24;
    } else if (type == 2 && depth == 32 && descriptor == 8) {
        layout.kind = Kind::Plain32;
    } else if (type == 2 && depth == 24 && descriptor == 0) {
        layout.kind = Kind::Plain24;
    } else {
        return kUnsupportedKind;
    }
    layout.width = file[12] | file[13] << 8;
    layout.height = file[14] | file[15] << 8;
    // The pixel data is taken to begin right after the header; an image ID or a colour map in
    // the file is not skipped.
    layout.data = file.subspan(kHeaderSize);
    if (layout.PixelCount() > kMaxPixels ||
        layout.PixelCount() > kPixelsWithoutData + kPixelsPerDataByte * layout.data.size()) {
        return kOutOfMemory;
    }
    return kNoError;
}

} // namespace fenwold::tga
