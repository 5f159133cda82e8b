#include "image/TgaDecoding.h"

#include "platform/FileIo.h"

#include <array>
#include <bit>

namespace fenwold::tga {

static_assert(std::endian::native == std::endian::little,
              "B, G, R, A bytes are read as one little-endian TgaColor");

namespace {

int U16(std::span<const std::uint8_t> file, std::size_t at) {
    return file[at] | file[at + 1] << 8;
}

// Bytes between the header and the pixel data: the image ID field (its length is byte 0) and,
// when byte 1 says a colour map is included, the map (entries at offset 5, bits each at 7).
std::size_t BytesBeforeData(std::span<const std::uint8_t> file) {
    std::size_t bytes = file[0];
    if (file[1] == 1) {
        bytes += static_cast<std::size_t>(U16(file, 5)) * ((file[7] + 7u) / 8u);
    }
    return bytes;
}

bool ReadKind(std::span<const std::uint8_t> file, Kind& kind) {
    // The four accepted kinds, tested in this order. The descriptor must be exactly 8 (32-bit)
    // or 0 (24-bit), which also demands bottom-row-first storage.
    const int type = file[2];
    const int depth = file[16];
    const int descriptor = file[17];
    if (type == 10 && depth == 32 && descriptor == 8) {
        kind = Kind::RunLength32;
    } else if (type == 10 && depth == 24 && descriptor == 0) {
        kind = Kind::RunLength24;
    } else if (type == 2 && depth == 32 && descriptor == 8) {
        kind = Kind::Plain32;
    } else if (type == 2 && depth == 24 && descriptor == 0) {
        kind = Kind::Plain24;
    } else {
        return false;
    }
    return true;
}

std::uint64_t PixelsOf(std::span<const std::uint8_t> file) {
    return static_cast<std::uint64_t>(U16(file, 12)) * static_cast<std::uint64_t>(U16(file, 14));
}

std::string SizeText(std::span<const std::uint8_t> file) {
    return std::to_string(U16(file, 12)) + " x " + std::to_string(U16(file, 14)) + " pixels";
}

// Which kind of Targa picture the tool does not read this is.
std::string UnreadKind(std::span<const std::uint8_t> file) {
    const int type = file[2];
    const int depth = file[16];
    const int descriptor = file[17];
    switch (type) {
    case 0:
        return "it holds no picture (image type 0)";
    case 1:
    case 9:
        return "a colour-mapped picture";
    case 3:
    case 11:
        return "a grey-scale picture";
    case 2:
    case 10:
        if (depth != 24 && depth != 32) {
            return "a " + std::to_string(depth) + "-bit picture";
        }
        if (descriptor & 0x20) {
            return "a picture stored top row first";
        }
        if (descriptor & 0x10) {
            return "a picture stored right to left";
        }
        return "a " + std::to_string(depth) + "-bit picture with " +
               std::to_string(descriptor & 0x0F) + " alpha bits";
    default:
        return "image type " + std::to_string(type);
    }
}

} // namespace

std::uint32_t ParseHeader(std::span<const std::uint8_t> file, Layout& layout) {
    if (file.size() < kHeaderSize) {
        return kHeaderTooShort;
    }
    if (!ReadKind(file, layout.kind)) {
        return kUnsupportedKind;
    }
    layout.width = U16(file, 12);
    layout.height = U16(file, 14);
    const std::size_t start = std::min(file.size(), kHeaderSize + BytesBeforeData(file));
    layout.data = file.subspan(start);
    if (layout.PixelCount() > kMaxPixels ||
        layout.PixelCount() > kPixelsWithoutData + kPixelsPerDataByte * layout.data.size()) {
        return kOutOfMemory;
    }
    return kNoError;
}

std::uint64_t UsefulFileSize(std::span<const std::uint8_t> file) {
    Kind kind;
    if (file.size() < kHeaderSize || !ReadKind(file, kind) || PixelsOf(file) > kMaxPixels) {
        return kHeaderSize;
    }
    const std::uint64_t pixelBytes = file[16] / 8u;
    const bool runLength = kind == Kind::RunLength32 || kind == Kind::RunLength24;
    return kHeaderSize + BytesBeforeData(file) +
           PixelsOf(file) * (runLength ? pixelBytes + 1 : pixelBytes);
}

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path) {
    const InputFile file(path);
    const auto header = file.ReadHead(kHeaderSize);
    return file.ReadHead(UsefulFileSize(header));
}

void ReadFile(const std::filesystem::path& path, ByteBuffer& bytes) {
    const InputFile file(path);
    std::array<std::uint8_t, kHeaderSize> header{};
    const std::size_t headerRead = file.ReadHeadInto(header);
    // At most a few hundred megabytes: UsefulFileSize stops at the largest picture read.
    const std::uint64_t wanted =
        std::min(UsefulFileSize(std::span(header).first(headerRead)), file.size());
    bytes.resize(static_cast<std::size_t>(wanted));
    bytes.resize(file.ReadHeadInto(bytes));
}

std::string DescribeError(std::uint32_t error, std::span<const std::uint8_t> file) {
    switch (error) {
    case kCannotOpen:
        return "the file cannot be opened";
    case kHeaderTooShort:
        return "the file is shorter than a Targa header (" + std::to_string(file.size()) +
               " of 18 bytes)";
    case kUnsupportedKind:
        return "the tool does not read this kind of Targa picture: " + UnreadKind(file) +
               " (it reads true-colour pictures of 24 or 32 bits, plain or run-length, stored "
               "bottom row first)";
    case kOutOfMemory: {
        if (file.size() < kHeaderSize) {
            break;
        }
        if (PixelsOf(file) > kMaxPixels) {
            return "the picture is too large: " + SizeText(file) + " (at most " +
                   std::to_string(kMaxPixels) + ")";
        }
        Layout layout;
        if (ParseHeader(file, layout) == kOutOfMemory) {
            return "the header claims " + SizeText(file) + ", far more than its " +
                   std::to_string(layout.data.size()) + " bytes of pixel data hold";
        }
        return "out of memory for a picture of " + SizeText(file);
    }
    }
    return "the picture cannot be read (error " + std::to_string(error) + ")";
}

} // namespace fenwold::tga
