#pragma once

#include "image/Pixel.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace fenwold {

// The widest row every stream family can frame: a row's length is kept below 32768 slots or bytes
// (a signed 16-bit quantity to the game), and an alpha-keyed row may need a token per pixel.
// The encoders refuse wider rows with std::length_error.
inline constexpr int kMaxStreamWidth = 16382;

// Run-length streams, one row after another, top row first; no row holds its number, so a reader
// must know the height.
//
// Frame streams (registered frames): a row is its length (slot 0 / bytes 0-1, the length and the
// terminator included), a gap slot in the 16-bit stream, tokens (bit 7 run, bits 0-6 count 1-126)
// and the terminator 0x00FF / 0xFF.
std::vector<std::uint16_t> EncodeFramePixels(std::span<const Pixel555> pixels, int width,
                                             int height);
std::vector<std::uint8_t> EncodeFrameAlpha(std::span<const std::uint8_t> alpha, int width,
                                           int height);
// Return width * height values. Whatever the stream holds, they never read or write outside
// their buffers; what a broken stream does not supply stays 0.
std::vector<Pixel555> DecodeFramePixels(std::span<const std::uint16_t> stream, int width,
                                        int height);
std::vector<std::uint8_t> DecodeFrameAlpha(std::span<const std::uint8_t> stream, int width,
                                           int height);
// The same into `out`, which holds at least width * height values; every one is written.
void DecodeFramePixels(std::span<const std::uint16_t> stream, int width, int height, Pixel555* out);
void DecodeFrameAlpha(std::span<const std::uint8_t> stream, int width, int height,
                      std::uint8_t* out);

// Encodes the frame streams of one box size, cut out of larger planes: the frames of a series
// share the box, and the scratch the encoding needs is sized once for all of them, so each
// frame costs only its streams. Refuses boxes wider than kMaxStreamWidth (std::length_error).
class FrameStreamEncoder {
public:
    FrameStreamEncoder(int width, int height);

    // The stream of the box at (left, top) of a plane of planeWidth * planeHeight values, top
    // row first; whatever of the box lies outside the plane is 0.
    std::vector<std::uint16_t> Pixels(std::span<const Pixel555> plane, int planeWidth,
                                      int planeHeight, int left, int top);
    std::vector<std::uint8_t> Alpha(std::span<const std::uint8_t> plane, int planeWidth,
                                    int planeHeight, int left, int top);

private:
    template <typename T>
    struct Scratch {
        std::unique_ptr<T[]> stream; // the longest stream of the box size
        std::unique_ptr<T[]> row;    // a row of the box, where it reaches past the plane
    };
    template <typename T>
    std::vector<T> Encode(Scratch<T>& scratch, std::span<const T> plane, int planeWidth,
                          int planeHeight, int left, int top);

    int width_;
    int height_;
    Scratch<std::uint16_t> pixels_;
    Scratch<std::uint8_t> alpha_;
};

// Whether a frame stream read from a file is exactly `height` well-framed rows whose tokens cover
// `width` values each, with nothing after the last row.
bool FramePixelStreamFits(std::span<const std::uint16_t> stream, int width, int height);
bool FrameAlphaStreamFits(std::span<const std::uint8_t> stream, int width, int height);

// Alpha-keyed streams (game-facing files): spans of equal alpha, each token carrying its alpha;
// alpha 0 spans are transparent tokens. Rows end with 0xFFFF / 0xFF 0xFF. Strides count
// elements (pixels or bytes), not bytes.
std::vector<std::uint16_t> EncodeAlphaKeyed16(const Pixel555* pixels, const std::uint8_t* alpha,
                                              int width, int height, std::ptrdiff_t pixelStride,
                                              std::ptrdiff_t alphaStride);
std::vector<std::uint8_t> EncodeAlphaKeyed8(const std::uint8_t* values, const std::uint8_t* alpha,
                                            int width, int height, std::ptrdiff_t valueStride,
                                            std::ptrdiff_t alphaStride);
// The most bytes a 16-bit alpha-keyed stream of width * height pixels can take: a token and a
// value for every pixel, and each row's length and terminator.
std::size_t AlphaKeyed16Bound(int width, int height);
// Encodes the 16-bit stream as little-endian slots into `out`, which needs room for
// AlphaKeyed16Bound bytes and no alignment (a file's buffer); returns the bytes written.
std::size_t EncodeAlphaKeyed16(const Pixel555* pixels, const std::uint8_t* alpha, int width,
                               int height, std::ptrdiff_t pixelStride, std::ptrdiff_t alphaStride,
                               std::uint8_t* out);
// Which slots of a 16-bit alpha-keyed stream hold pixels: slot i is bit i % 64 of word i / 64.
using PixelSlots = std::vector<std::uint64_t>;
// The same, and marks in `pixelSlots` (filled anew) the slots that hold pixels.
std::size_t EncodeAlphaKeyed16(const Pixel555* pixels, const std::uint8_t* alpha, int width,
                               int height, std::ptrdiff_t pixelStride, std::ptrdiff_t alphaStride,
                               std::uint8_t* out, PixelSlots& pixelSlots);
// Fill width-wide rows of the outputs (alphaOut may be null); a transparent span writes 0 to
// both. Return false, with the outputs filled as far as the stream was sound, when the stream
// is broken (a row running past the stream, the width or the row's own length).
bool DecodeAlphaKeyed16(std::span<const std::uint16_t> stream, Pixel555* pixelsOut,
                        std::uint8_t* alphaOut, int width, int height, std::ptrdiff_t pixelStride,
                        std::ptrdiff_t alphaStride);
// Converts the pixels of a 16-bit stream, the slots `pixelSlots` marks, to Pixel565 in place,
// which makes the stream of the converted pixels. Returns false, leaving the stream of no use,
// when a pixel carries bit 15 (pixels that differ only there become equal, and the stream of the
// converted pixels would group them otherwise) or `pixelSlots` is shorter than the stream.
bool ConvertAlphaKeyed16To565(std::span<std::uint8_t> stream, const PixelSlots& pixelSlots);
bool DecodeAlphaKeyed8(std::span<const std::uint8_t> stream, std::uint8_t* valuesOut,
                       std::uint8_t* alphaOut, int width, int height, std::ptrdiff_t valueStride,
                       std::ptrdiff_t alphaStride);

} // namespace fenwold
