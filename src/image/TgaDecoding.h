#pragma once

#include "image/Pixel.h"
#include "image/PixelBlocks.h"
#include "image/UninitialisedAllocator.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

// The Targa decoding shared by CTgaReader (which keeps the file's pixels) and ReadPicture555
// (which turns them straight into the working form). Pixels go to a sink, strictly in file order
// (bottom row first), as runs and raw stretches:
//
//   void Run(std::size_t count, TgaColor colour);
//   void Raw(std::size_t count, const std::uint8_t* bgra, std::size_t readable);
//
// Raw pixels are B, G, R, A bytes with the alpha already decided; `readable` bytes may be read
// from `bgra` (at least 4 * count), so that a sink may work in whole blocks of kBlock pixels.
namespace fenwold::tga {

inline constexpr std::size_t kHeaderSize = 18;
// Pictures of more than 2^26 pixels (beyond 8192 x 8192) are refused as error 4: a 20-byte file
// may claim 65535 x 65535 pixels, and nothing the tool draws comes near this. Otherwise only what
// cannot be allocated is refused, so 8192 x 8192 itself is read.
inline constexpr std::uint64_t kMaxPixels = std::uint64_t{1} << 26;
// So is a picture larger than its pixel data could describe (at most 32 pixels a byte, a 24-bit
// run packet of 4 bytes standing for 128) beyond a small allowance: a file that ends early is
// read with its missing pixels transparent, but a few bytes never claim a huge picture.
inline constexpr std::uint64_t kPixelsPerDataByte = 32;
inline constexpr std::uint64_t kPixelsWithoutData = std::uint64_t{1} << 16;
// Sinks store whole blocks of this many pixels where they have room to overrun.
inline constexpr std::size_t kBlock = blocks::kSize;

enum ReadError : std::uint32_t {
    kNoError = 0,
    kCannotOpen = 1,
    kHeaderTooShort = 2,
    kUnsupportedKind = 3,
    kOutOfMemory = 4,
};

enum class Kind { RunLength32, RunLength24, Plain32, Plain24 };

struct Layout {
    Kind kind = Kind::Plain32;
    int width = 0;
    int height = 0;
    std::span<const std::uint8_t> data; // everything after the header
    std::size_t PixelCount() const { return static_cast<std::size_t>(width) * height; }
};

// Checks the header: kNoError with `layout` filled, or kHeaderTooShort, kUnsupportedKind or
// kOutOfMemory (more than kMaxPixels, or more than the data could describe). The pixel data
// follows the image ID field and any colour map that the header announces.
std::uint32_t ParseHeader(std::span<const std::uint8_t> file, Layout& layout);

// How many bytes of a file with this header a reader can use: the header, the ID field, a
// colour map and the most pixel data the picture's kind and size could take (every pixel a
// packet of its own). Only the header when the picture is refused anyway.
std::uint64_t UsefulFileSize(std::span<const std::uint8_t> file);

// The bytes of a Targa file worth reading (UsefulFileSize of its header), so that a huge or
// wrong file is not read whole. Raises FileError.
std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path);
// The same into `bytes`, whose memory is kept from file to file.
void ReadFile(const std::filesystem::path& path, ByteBuffer& bytes);

// Why a picture with this error was refused, in words: which kind of Targa picture it is when
// the tool does not read that kind, how large when it is too large.
std::string DescribeError(std::uint32_t error, std::span<const std::uint8_t> file);

namespace detail {

template <int kBytes>
TgaColor LoadPixel(const std::uint8_t* bytes) {
    if constexpr (kBytes == 4) {
        TgaColor value;
        std::memcpy(&value, bytes, sizeof value);
        return value;
    } else {
        return static_cast<TgaColor>(bytes[0] | bytes[1] << 8 | bytes[2] << 16);
    }
}

// Plain 24-bit pictures: pure black is transparent, every other colour opaque.
struct BlackKey {
    TgaColor operator()(TgaColor colour, std::size_t) const {
        return colour != 0 ? colour | 0xFF000000u : colour;
    }
};

// Run-length 24-bit pictures: the colours of the first two packets (bytes 1-3 and 5-7 of the
// pixel data, where the file has them) are transparent; so is the whole bottom row, whose new
// colours become a third key one after the other.
class KeyColours {
public:
    KeyColours(std::span<const std::uint8_t> data, int width) : width_(width) {
        if (data.size() >= 4) {
            key1_ = LoadPixel<3>(data.data() + 1);
        }
        if (data.size() >= 8) {
            key2_ = LoadPixel<3>(data.data() + 5);
        }
    }
    // The colour with its alpha byte for pixel `index` (file order); pixels come in order.
    TgaColor operator()(TgaColor colour, std::size_t index) {
        if (colour == key1_ || colour == key2_ || colour == key3_) {
            return colour;
        }
        if (index < static_cast<std::size_t>(width_)) {
            key3_ = colour;
            return colour;
        }
        return colour | 0xFF000000u;
    }

private:
    // A key not (yet) set: the colours compared have alpha byte 0, so they never equal it.
    static constexpr TgaColor kUnset = 0xFFFFFFFF;

    int width_;
    TgaColor key1_ = kUnset;
    TgaColor key2_ = kUnset;
    TgaColor key3_ = kUnset;
};

// 24-bit raw pixels, widened with their alpha into a buffer a sink may read whole blocks from.
template <typename AlphaRule, typename Sink>
void RawTwentyFour(const std::uint8_t* from, std::size_t count, std::size_t first, AlphaRule& alpha,
                   Sink& sink) {
    std::array<TgaColor, 128 + kBlock> wide{};
    for (std::size_t done = 0; done < count;) {
        const std::size_t part = std::min<std::size_t>(count - done, 128);
        for (std::size_t i = 0; i < part; ++i) {
            wide[i] = alpha(LoadPixel<3>(from + (done + i) * 3), first + done + i);
        }
        sink.Raw(part, reinterpret_cast<const std::uint8_t*>(wide.data()), sizeof wide);
        done += part;
    }
}

// Returns the number of pixels the data supplied; packets are cut at n.
template <int kBytes, typename AlphaRule, typename Sink>
std::size_t DecodeRunLength(std::span<const std::uint8_t> data, std::size_t n, AlphaRule& alpha,
                            Sink& sink) {
    std::size_t produced = 0;
    std::size_t at = 0;
    while (produced < n && at < data.size()) {
        const unsigned header = data[at++];
        const std::size_t count = std::min<std::size_t>((header & 0x7F) + 1, n - produced);
        if (header & 0x80) {
            if (data.size() - at < kBytes) {
                break;
            }
            TgaColor colour = LoadPixel<kBytes>(data.data() + at);
            if constexpr (kBytes == 3) {
                // The first pixel decides for the whole run: equal colours after it meet the
                // same keys, or the key it has just set.
                colour = alpha(colour, produced);
            }
            sink.Run(count, colour);
            at += kBytes;
            produced += count;
            continue;
        }
        const std::size_t whole = std::min(count, (data.size() - at) / kBytes);
        if constexpr (kBytes == 4) {
            sink.Raw(whole, data.data() + at, data.size() - at);
        } else {
            RawTwentyFour(data.data() + at, whole, produced, alpha, sink);
        }
        at += whole * kBytes;
        produced += whole;
        if (whole < count) {
            break;
        }
    }
    return produced;
}

struct NoAlphaRule {};

} // namespace detail

// Sends all width * height pixels to the sink. Pixels the file does not supply (it ends early)
// arrive as one run of transparent black; returns how many they are.
template <typename Sink>
std::size_t DecodePixels(const Layout& layout, Sink& sink) {
    using namespace detail;
    const std::size_t n = layout.PixelCount();
    const auto data = layout.data;
    std::size_t produced = 0;
    switch (layout.kind) {
    case Kind::RunLength32: {
        NoAlphaRule none;
        produced = DecodeRunLength<4>(data, n, none, sink);
        break;
    }
    case Kind::RunLength24: {
        KeyColours keys(data, layout.width);
        produced = DecodeRunLength<3>(data, n, keys, sink);
        break;
    }
    case Kind::Plain32:
        produced = std::min(n, data.size() / 4);
        sink.Raw(produced, data.data(), data.size());
        break;
    case Kind::Plain24: {
        BlackKey black;
        produced = std::min(n, data.size() / 3);
        RawTwentyFour(data.data(), produced, 0, black, sink);
        break;
    }
    }
    if (produced < n) {
        sink.Run(n - produced, 0);
    }
    return n - produced;
}

} // namespace fenwold::tga
