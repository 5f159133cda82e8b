#pragma once

#include "image/Pixel.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Fixed blocks of 16 pixels for the Targa decoding: the picture readers store whole blocks
// wherever a run or raw stretch has room, so that short packets cost no loops. The SSE2 forms
// (every x86-64 processor has SSE2) compute exactly what the plain forms compute.
namespace fenwold::blocks {

inline constexpr std::size_t kSize = 16;

// Alpha 8 to 254: the colour was stored premultiplied and gets its brightness back.
constexpr bool IsTranslucent(std::uint8_t alpha) {
    return alpha >= 8 && alpha != 255;
}

#if defined(__SSE2__)

inline __m128i Load(const void* from) {
    return _mm_loadu_si128(static_cast<const __m128i*>(from));
}
inline void Store(void* to, __m128i value) {
    _mm_storeu_si128(static_cast<__m128i*>(to), value);
}

inline void Fill(TgaColor* to, TgaColor value) {
    const __m128i v = _mm_set1_epi32(static_cast<int>(value));
    for (std::size_t i = 0; i < kSize; i += 4) {
        Store(to + i, v);
    }
}
inline void Fill(Pixel555* to, Pixel555 value) {
    const __m128i v = _mm_set1_epi16(static_cast<short>(value));
    Store(to, v);
    Store(to + 8, v);
}
inline void Fill(std::uint8_t* to, std::uint8_t value) {
    Store(to, _mm_set1_epi8(static_cast<char>(value)));
}

// The alpha bytes of 16 B, G, R, A pixels.
inline __m128i AlphaBytes(const __m128i (&v)[4]) {
    const __m128i low = _mm_packs_epi32(_mm_srli_epi32(v[0], 24), _mm_srli_epi32(v[1], 24));
    const __m128i high = _mm_packs_epi32(_mm_srli_epi32(v[2], 24), _mm_srli_epi32(v[3], 24));
    return _mm_packus_epi16(low, high);
}

// Copies 16 B, G, R, A pixels as TgaColor values and their alpha bytes.
inline void CopyWithAlpha(const std::uint8_t* bgra, TgaColor* pixels, std::uint8_t* alpha) {
    const __m128i v[4] = {Load(bgra), Load(bgra + 16), Load(bgra + 32), Load(bgra + 48)};
    for (std::size_t i = 0; i < 4; ++i) {
        Store(pixels + 4 * i, v[i]);
    }
    Store(alpha, AlphaBytes(v));
}

// Pixel555 of four colours: (B & F8) + (R & F8) * 1024 in one multiply-add, plus the green
// part, lands every channel three bits above its place.
inline __m128i ToPixel555x4(__m128i v) {
    const __m128i redBlue = _mm_and_si128(v, _mm_set1_epi32(0x00F800F8));
    const __m128i green = _mm_srli_epi32(_mm_and_si128(v, _mm_set1_epi32(0x0000F800)), 3);
    const __m128i sum = _mm_add_epi32(_mm_madd_epi16(redBlue, _mm_set1_epi32(0x04000001)), green);
    return _mm_srli_epi32(sum, 3);
}

// Converts 16 B, G, R, A pixels to Pixel555 and quantised alpha; returns which of them are
// translucent, pixel k in bit k.
inline unsigned Convert(const std::uint8_t* bgra, Pixel555* pixels, std::uint8_t* alpha) {
    const __m128i v[4] = {Load(bgra), Load(bgra + 16), Load(bgra + 32), Load(bgra + 48)};
    Store(pixels, _mm_packs_epi32(ToPixel555x4(v[0]), ToPixel555x4(v[1])));
    Store(pixels + 8, _mm_packs_epi32(ToPixel555x4(v[2]), ToPixel555x4(v[3])));
    const __m128i a = AlphaBytes(v);
    Store(alpha, _mm_and_si128(a, _mm_set1_epi8(static_cast<char>(0xF8))));
    const __m128i atLeast8 = _mm_cmpeq_epi8(_mm_max_epu8(a, _mm_set1_epi8(8)), a);
    const __m128i opaque = _mm_cmpeq_epi8(a, _mm_set1_epi8(static_cast<char>(0xFF)));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_andnot_si128(opaque, atLeast8)));
}

#else

template <typename T>
void Fill(T* to, T value) {
    for (std::size_t k = 0; k < kSize; ++k) {
        to[k] = value;
    }
}

inline void CopyWithAlpha(const std::uint8_t* bgra, TgaColor* pixels, std::uint8_t* alpha) {
    std::memcpy(pixels, bgra, kSize * 4);
    for (std::size_t k = 0; k < kSize; ++k) {
        alpha[k] = AlphaOf(pixels[k]);
    }
}

inline unsigned Convert(const std::uint8_t* bgra, Pixel555* pixels, std::uint8_t* alpha) {
    unsigned translucent = 0;
    for (std::size_t k = 0; k < kSize; ++k) {
        TgaColor colour;
        std::memcpy(&colour, bgra + 4 * k, 4);
        pixels[k] = ToPixel555(colour);
        alpha[k] = QuantiseAlpha(AlphaOf(colour));
        translucent |= IsTranslucent(AlphaOf(colour)) ? 1u << k : 0u;
    }
    return translucent;
}

#endif

} // namespace fenwold::blocks
