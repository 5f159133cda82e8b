// The run-length stream decoders: frame pixel and alpha streams, alpha-keyed colour and index
// streams. Input: width (16 bits, up to 1024), height (8 bits), then the stream.
#include "FuzzSupport.h"
#include "image/FrameStreams.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

using namespace fenwold;

namespace {

// Rows are written this many values apart, the rest of each row a fence that must stay.
constexpr int kFence = 3;
constexpr std::uint8_t kFenceValue = 0xA5;

template <typename T>
void CheckFences(const std::vector<T>& plane, int width, int height) {
    const int stride = width + kFence;
    for (int y = 0; y < height; ++y) {
        const auto row = plane.begin() + static_cast<std::ptrdiff_t>(y) * stride;
        if (std::any_of(row + width, row + stride, [](T v) { return v != T{kFenceValue}; })) {
            fuzz::Broken("an alpha-keyed decoder wrote outside its rows");
        }
    }
}

template <typename T, typename Encode, typename Decode, typename Fits>
void FrameStream(std::span<const T> stream, int width, int height, Encode encode, Decode decode,
                 Fits fits) {
    const std::vector<T> plane = decode(stream, width, height);
    if (plane.size() != static_cast<std::size_t>(width) * height) {
        fuzz::Broken("a frame stream decoded to the wrong size");
    }
    if (!fits(stream, width, height)) {
        return;
    }
    const std::vector<T> encoded = encode(std::span<const T>(plane), width, height);
    if (!fits(std::span<const T>(encoded), width, height) ||
        decode(std::span<const T>(encoded), width, height) != plane) {
        fuzz::Broken("a frame stream that fits does not survive decoding and encoding");
    }
}

template <typename T, typename Encode, typename Decode>
void KeyedStream(std::span<const T> stream, int width, int height, Encode encode, Decode decode) {
    const int stride = width + kFence;
    const std::size_t size = static_cast<std::size_t>(stride) * height;
    std::vector<T> values(size, T{kFenceValue});
    std::vector<std::uint8_t> alpha(size, kFenceValue);
    const bool whole = decode(stream, values.data(), alpha.data(), width, height, stride, stride);
    CheckFences(values, width, height);
    CheckFences(alpha, width, height);
    // Without an alpha plane the values must come out the same.
    std::vector<T> alone(size, T{kFenceValue});
    if (decode(stream, alone.data(), nullptr, width, height, stride, stride) != whole ||
        alone != values) {
        fuzz::Broken("an alpha-keyed decoder depends on whether it is given an alpha plane");
    }
    if (!whole) {
        return;
    }
    const std::vector<T> encoded =
        encode(values.data(), alpha.data(), width, height, stride, stride);
    std::vector<T> again(size, T{kFenceValue});
    std::vector<std::uint8_t> againAlpha(size, kFenceValue);
    if (!decode(std::span<const T>(encoded), again.data(), againAlpha.data(), width, height, stride,
                stride) ||
        again != values || againAlpha != alpha) {
        fuzz::Broken("an alpha-keyed stream does not survive decoding and encoding");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::InputCursor input(std::span(data, size));
    const int width = input.u16() % 1025;
    const int height = input.u8();
    const std::span<const std::uint8_t> bytes = input.rest();
    std::vector<std::uint16_t> slots(bytes.size() / 2);
    for (std::size_t i = 0; i < slots.size(); ++i) {
        slots[i] = static_cast<std::uint16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    }
    const std::span<const std::uint16_t> wide(slots);

    // The decoders and the 16-bit encoder also come in forms that write into a caller's buffer:
    // the casts pick the forms that return their values.
    using DecodePixels = std::vector<Pixel555> (*)(std::span<const std::uint16_t>, int, int);
    using DecodeAlpha = std::vector<std::uint8_t> (*)(std::span<const std::uint8_t>, int, int);
    using EncodeKeyed16 = std::vector<std::uint16_t> (*)(const Pixel555*, const std::uint8_t*, int,
                                                         int, std::ptrdiff_t, std::ptrdiff_t);
    FrameStream(wide, width, height, EncodeFramePixels,
                static_cast<DecodePixels>(DecodeFramePixels), FramePixelStreamFits);
    FrameStream(bytes, width, height, EncodeFrameAlpha, static_cast<DecodeAlpha>(DecodeFrameAlpha),
                FrameAlphaStreamFits);
    KeyedStream(wide, width, height, static_cast<EncodeKeyed16>(EncodeAlphaKeyed16),
                DecodeAlphaKeyed16);
    KeyedStream(bytes, width, height, EncodeAlphaKeyed8, DecodeAlphaKeyed8);
    return 0;
}
