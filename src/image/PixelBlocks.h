#pragma once

#include "image/Pixel.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__) && defined(__SSE2__)
#include <immintrin.h>
#define FENWOLD_X86_BLOCKS 1
#endif

// Fixed blocks of 16 pixels for the Targa decoding: the picture readers store whole blocks
// wherever a run or raw stretch has room, so that short packets cost no loops. The SSE2 forms
// (every x86-64 processor has SSE2) compute exactly what the plain forms compute, and so do the
// conversions for wider instruction sets, which the reader picks at run time.
namespace fenwold::blocks {

inline constexpr std::size_t kSize = 16;

// Alpha 8 to 254: the colour was stored premultiplied and gets its brightness back.
constexpr bool IsTranslucent(std::uint8_t alpha) {
    return alpha >= 8 && alpha != 255;
}

#if defined(FENWOLD_X86_BLOCKS)

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
#endif

// The block conversions to the working form. Each converts 16 B, G, R, A pixels to Pixel555 and
// quantised alpha and returns which of them are translucent, pixel k in bit k; Fill stores one
// pixel and alpha over a block. All give the same results; the tests compare them.
enum class ConversionIsa { Plain, Sse2, Avx2, Avx512 };

// The widest conversion this processor runs.
ConversionIsa FastestConversion();

struct PlainConversion {
    static void Fill(Pixel555* pixels, Pixel555 pixel, std::uint8_t* alpha, std::uint8_t a) {
        for (std::size_t k = 0; k < kSize; ++k) {
            pixels[k] = pixel;
            alpha[k] = a;
        }
    }
    static unsigned Convert(const std::uint8_t* bgra, Pixel555* pixels, std::uint8_t* alpha) {
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
};

#if defined(FENWOLD_X86_BLOCKS)

struct Sse2Conversion {
    static void Fill(Pixel555* pixels, Pixel555 pixel, std::uint8_t* alpha, std::uint8_t a) {
        blocks::Fill(pixels, pixel);
        blocks::Fill(alpha, a);
    }

    // Pixel555 of four colours: (B & F8) + (R & F8) * 1024 in one multiply-add, plus the green
    // part, lands every channel three bits above its place.
    static __m128i ToPixel555x4(__m128i v) {
        const __m128i redBlue = _mm_and_si128(v, _mm_set1_epi32(0x00F800F8));
        const __m128i green = _mm_srli_epi32(_mm_and_si128(v, _mm_set1_epi32(0x0000F800)), 3);
        const __m128i sum =
            _mm_add_epi32(_mm_madd_epi16(redBlue, _mm_set1_epi32(0x04000001)), green);
        return _mm_srli_epi32(sum, 3);
    }

    static unsigned Convert(const std::uint8_t* bgra, Pixel555* pixels, std::uint8_t* alpha) {
        const __m128i v[4] = {Load(bgra), Load(bgra + 16), Load(bgra + 32), Load(bgra + 48)};
        Store(pixels, _mm_packs_epi32(ToPixel555x4(v[0]), ToPixel555x4(v[1])));
        Store(pixels + 8, _mm_packs_epi32(ToPixel555x4(v[2]), ToPixel555x4(v[3])));
        const __m128i a = AlphaBytes(v);
        Store(alpha, _mm_and_si128(a, _mm_set1_epi8(static_cast<char>(0xF8))));
        const __m128i atLeast8 = _mm_cmpeq_epi8(_mm_max_epu8(a, _mm_set1_epi8(8)), a);
        const __m128i opaque = _mm_cmpeq_epi8(a, _mm_set1_epi8(static_cast<char>(0xFF)));
        return static_cast<unsigned>(_mm_movemask_epi8(_mm_andnot_si128(opaque, atLeast8)));
    }
};

// Both wider forms mask the channels to their top five bits, then one byte multiply-add gives
// (B & F8) + 32 (G & F8) and 4 (R & F8) as two 16-bit halves and a word multiply-add joins them
// as low + 256 high: every channel lands three bits above its place. Translucent alpha is 8 to
// 254, that is alpha - 8 below 247 without sign.
inline constexpr int kChannelMask = 0x00F8F8F8;
inline constexpr int kChannelWeights = 0x00042001; // bytes 1, 32, 4, 0
inline constexpr int kHalfWeights = 0x01000001;    // words 1, 256

struct Avx2Conversion {
    __attribute__((target("avx2"))) static void Fill(Pixel555* pixels, Pixel555 pixel,
                                                     std::uint8_t* alpha, std::uint8_t a) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(pixels),
                            _mm256_set1_epi16(static_cast<short>(pixel)));
        Store(alpha, _mm_set1_epi8(static_cast<char>(a)));
    }

    // Eight colours as Pixel555 in 32-bit lanes.
    __attribute__((target("avx2"))) static __m256i ToPixel555x8(__m256i v) {
        const __m256i channels = _mm256_and_si256(v, _mm256_set1_epi32(kChannelMask));
        const __m256i halves = _mm256_maddubs_epi16(channels, _mm256_set1_epi32(kChannelWeights));
        return _mm256_srli_epi32(_mm256_madd_epi16(halves, _mm256_set1_epi32(kHalfWeights)), 3);
    }

    __attribute__((target("avx2"))) static unsigned Convert(const std::uint8_t* bgra,
                                                            Pixel555* pixels, std::uint8_t* alpha) {
        const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bgra));
        const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bgra + 32));
        // The pack interleaves the 128-bit lanes of its inputs; the permute puts them in order.
        const __m256i packed = _mm256_packs_epi32(ToPixel555x8(low), ToPixel555x8(high));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(pixels),
                            _mm256_permute4x64_epi64(packed, 0xD8));
        // Alpha bytes of pixels 0-3 and 4-7 into dword 0 of their lanes, of 8-11 and 12-15 into
        // dword 1, then the four dwords gathered in order.
        const __m256i first =
            _mm256_setr_epi8(3, 7, 11, 15, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 3, 7, 11,
                             15, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1);
        const __m256i second =
            _mm256_setr_epi8(-1, -1, -1, -1, 3, 7, 11, 15, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
                             -1, -1, 3, 7, 11, 15, -1, -1, -1, -1, -1, -1, -1, -1);
        const __m256i spread =
            _mm256_or_si256(_mm256_shuffle_epi8(low, first), _mm256_shuffle_epi8(high, second));
        const __m128i a = _mm256_castsi256_si128(
            _mm256_permutevar8x32_epi32(spread, _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7)));
        Store(alpha, _mm_and_si128(a, _mm_set1_epi8(static_cast<char>(0xF8))));
        const __m128i fromEight = _mm_sub_epi8(a, _mm_set1_epi8(8));
        const __m128i translucent = _mm_cmpeq_epi8(
            _mm_min_epu8(fromEight, _mm_set1_epi8(static_cast<char>(246))), fromEight);
        return static_cast<unsigned>(_mm_movemask_epi8(translucent));
    }
};

// Written with the masked forms over all lanes: the unmasked shifts and narrowings draw a false
// maybe-uninitialized warning from GCC 12.
struct Avx512Conversion {
    static constexpr __mmask16 kAllLanes = 0xFFFF;

    __attribute__((target("avx512bw"))) static void Fill(Pixel555* pixels, Pixel555 pixel,
                                                         std::uint8_t* alpha, std::uint8_t a) {
        Avx2Conversion::Fill(pixels, pixel, alpha, a);
    }

    __attribute__((target("avx512bw"))) static unsigned
    Convert(const std::uint8_t* bgra, Pixel555* pixels, std::uint8_t* alpha) {
        const __m512i v = _mm512_loadu_si512(bgra);
        _mm512_mask_cvtepi32_storeu_epi16(pixels, kAllLanes, ToPixel555x16(v));
        const __m512i a = _mm512_maskz_srli_epi32(kAllLanes, v, 24);
        _mm512_mask_cvtepi32_storeu_epi8(alpha, kAllLanes,
                                         _mm512_and_si512(a, _mm512_set1_epi32(0xF8)));
        return _mm512_cmplt_epu32_mask(_mm512_sub_epi32(a, _mm512_set1_epi32(8)),
                                       _mm512_set1_epi32(247));
    }

    // Two blocks at once, for long stretches: Fill stores 32 pixels and alpha, Convert converts
    // 32 colours and returns which are translucent, pixel k in bit k.
    static constexpr std::size_t kWideSize = 2 * kSize;

    __attribute__((target("avx512bw"))) static void FillWide(Pixel555* pixels, Pixel555 pixel,
                                                             std::uint8_t* alpha, std::uint8_t a) {
        _mm512_storeu_si512(pixels, _mm512_set1_epi16(static_cast<short>(pixel)));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(alpha),
                            _mm256_set1_epi8(static_cast<char>(a)));
    }

    // Packing the two halves interleaves their 128-bit lanes, which one permute puts in order:
    // cheaper than narrowing each half on its own.
    __attribute__((target("avx512bw"))) static std::uint32_t
    ConvertWide(const std::uint8_t* bgra, Pixel555* pixels, std::uint8_t* alpha) {
        const __m512i low = _mm512_loadu_si512(bgra);
        const __m512i high = _mm512_loadu_si512(bgra + 64);
        const __m512i packed = _mm512_packus_epi32(ToPixel555x16(low), ToPixel555x16(high));
        _mm512_storeu_si512(pixels, _mm512_maskz_permutexvar_epi64(
                                        0xFF, _mm512_setr_epi64(0, 2, 4, 6, 1, 3, 5, 7), packed));
        // Alpha words as interleaved as the pixels, then bytes: dword 0 of each lane holds four
        // alphas of the low half, dword 1 four of the high half.
        const __m512i words = _mm512_packus_epi32(_mm512_maskz_srli_epi32(kAllLanes, low, 24),
                                                  _mm512_maskz_srli_epi32(kAllLanes, high, 24));
        const __m512i bytes = _mm512_maskz_permutexvar_epi32(
            kAllLanes, _mm512_setr_epi32(0, 4, 8, 12, 1, 5, 9, 13, 0, 0, 0, 0, 0, 0, 0, 0),
            _mm512_packus_epi16(words, words));
        _mm512_mask_storeu_epi8(alpha, 0xFFFFFFFF,
                                _mm512_and_si512(bytes, _mm512_set1_epi8(static_cast<char>(0xF8))));
        return static_cast<std::uint32_t>(_mm512_cmplt_epu8_mask(
            _mm512_sub_epi8(bytes, _mm512_set1_epi8(8)), _mm512_set1_epi8(static_cast<char>(247))));
    }

private:
    // Sixteen colours as Pixel555 in 32-bit lanes.
    __attribute__((target("avx512bw"))) static __m512i ToPixel555x16(__m512i v) {
        const __m512i channels = _mm512_and_si512(v, _mm512_set1_epi32(kChannelMask));
        const __m512i halves = _mm512_maddubs_epi16(channels, _mm512_set1_epi32(kChannelWeights));
        return _mm512_maskz_srli_epi32(
            kAllLanes, _mm512_madd_epi16(halves, _mm512_set1_epi32(kHalfWeights)), 3);
    }
};

#endif

} // namespace fenwold::blocks
