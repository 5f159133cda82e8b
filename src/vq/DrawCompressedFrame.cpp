#include "vq/DrawCompressedFrame.h"

#include "vq/RowEncoding.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <immintrin.h>
#include <vector>

namespace fenwold {

namespace {

constexpr int kBlendBlock = 16;
constexpr int kMaxSegment = 128; // alpha tokens cover at most 127 pixels
constexpr int kFillBlock = 8;

// floor(x * w / 32) as the high half of the 16-bit product x * (w << 11), which vector units do
// in one instruction. Needs w <= 31, which every blend below has (weight 32 is a copy).
inline std::uint16_t Scaled(std::uint16_t x, std::uint16_t w11) {
    return static_cast<std::uint16_t>((std::uint32_t{x} * std::uint32_t{w11}) >> 16);
}

inline std::uint16_t BlendLane(std::uint16_t s, std::uint16_t d, std::uint16_t w11) {
    const auto rb = [w11](std::uint16_t p) {
        return static_cast<std::uint16_t>(Scaled(p & 0x7C1F, w11) & 0x7C1F);
    };
    const auto g = [w11](std::uint16_t p) {
        return static_cast<std::uint16_t>(Scaled(p & 0x03E0, w11) & 0x03E0);
    };
    return static_cast<std::uint16_t>(d + rb(s) - rb(d) + g(s) - g(d));
}

// Weight ((v >> 3) * G >> 5) + 1 of alpha value v, shifted for Scaled. Small operand types let
// vector code work it out in 16-bit lanes.
inline std::uint16_t LiteralWeight11(std::uint8_t v, std::uint8_t level) {
    return static_cast<std::uint16_t>(((((v >> 3) * level) >> 5) + 1) << 11);
}

// Whole blocks of kBlendBlock pixels, which the compiler turns into vector code; the callers
// blend the rest one pixel at a time, so that short segments make no call at all.
__attribute__((target_clones("avx2", "default"))) void
BlendUniformBlocks(const Pixel555* __restrict src, Pixel555* __restrict dst, int blocks,
                   std::uint16_t w11) {
    for (int k = 0; k < blocks * kBlendBlock; k += kBlendBlock) {
        for (int i = 0; i < kBlendBlock; ++i) {
            dst[k + i] = BlendLane(src[k + i], dst[k + i], w11);
        }
    }
}

__attribute__((target_clones("avx2", "default"))) void
BlendLiteralBlocks(const Pixel555* __restrict src, Pixel555* __restrict dst,
                   const std::uint8_t* __restrict alpha, int blocks, std::uint8_t level) {
    for (int k = 0; k < blocks * kBlendBlock; k += kBlendBlock) {
        for (int i = 0; i < kBlendBlock; ++i) {
            dst[k + i] = BlendLane(src[k + i], dst[k + i], LiteralWeight11(alpha[k + i], level));
        }
    }
}

void BlendUniform(const Pixel555* src, Pixel555* dst, int n, int w) {
    const auto w11 = static_cast<std::uint16_t>(w << 11);
    int k = 0;
    if (n >= kBlendBlock) {
        BlendUniformBlocks(src, dst, n / kBlendBlock, w11);
        k = n - n % kBlendBlock;
    }
    for (; k < n; ++k) {
        dst[k] = BlendLane(src[k], dst[k], w11);
    }
}

void BlendLiteral(const Pixel555* src, Pixel555* dst, const std::uint8_t* alpha, int n, int level) {
    const auto g = static_cast<std::uint8_t>(level);
    int k = 0;
    if (n >= kBlendBlock) {
        BlendLiteralBlocks(src, dst, alpha, n / kBlendBlock, g);
        k = n - n % kBlendBlock;
    }
    for (; k < n; ++k) {
        dst[k] = BlendLane(src[k], dst[k], LiteralWeight11(alpha[k], g));
    }
}

// Writes the pixel pair at `pair` count times, rounded up to whole blocks of kFillBlock pairs,
// which become a few vector stores.
void FillPairs(const Pixel555* pair, int count, Pixel555* out) {
    std::uint32_t pixels;
    std::memcpy(&pixels, pair, 4);
    for (int k = 0; k < count; k += kFillBlock) {
        for (int i = 0; i < kFillBlock; ++i) {
            std::memcpy(out + 2 * (k + i), &pixels, 4);
        }
    }
}

bool HasAvx2() {
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2;
}

// Literal index values eight at a time while eight remain, one gather per pixel row fetching the
// pairs of eight entries; returns how many values it decoded. It reads only the token's values.
template <int Stride>
__attribute__((target("avx2"))) int GatherLiteralsAvx2(const std::uint8_t* values, int count,
                                                       const Pixel555* entries, Pixel555* top,
                                                       Pixel555* bottom) {
    constexpr int strideShift = std::countr_zero(static_cast<unsigned>(Stride));
    const auto* topPairs = reinterpret_cast<const int*>(entries);
    const auto* bottomPairs = reinterpret_cast<const int*>(entries + 2);
    int k = 0;
    for (; k + 8 <= count; k += 8) {
        const __m128i eight = _mm_loadu_si128(reinterpret_cast<const __m128i*>(values + 2 * k));
        // Pixel offsets, gathered with scale 2 as byte offsets.
        const __m256i offsets = _mm256_slli_epi32(_mm256_cvtepu16_epi32(eight), strideShift);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(top + 2 * k),
                            _mm256_i32gather_epi32(topPairs, offsets, 2));
        if constexpr (Stride == 16) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(bottom + 2 * k),
                                _mm256_i32gather_epi32(bottomPairs, offsets, 2));
        }
    }
    return k;
}

// Decodes the index row at p .. end to the pixels it names for the columns 0 .. 2 * pairs - 1 and
// returns how many of them it covers: through entries (the codebook plus the offset of the
// frame) to `top`, and with 16-pixel entries the pixels of the second pixel row to `bottom`.
// Runs are written in whole blocks of kFillBlock pairs; the rows have room for a block past the
// last pair, and what a run writes past its end is overwritten by the next token or lies beyond
// the covered columns.
template <int Stride>
int DecodeIndexRow(const std::uint8_t* p, const std::uint8_t* end, const Pixel555* entries,
                   int pairs, Pixel555* top, Pixel555* bottom) {
    constexpr bool sixteen = Stride == 16;
    const auto entryAt = [entries](const std::uint8_t* value) {
        return entries + (value[0] | value[1] << 8) * Stride;
    };
    int filled = 0;
    while (p < end && filled < pairs) {
        const std::uint8_t header = *p++;
        const int count = header & 0x7F;
        const int taken = std::min(count, pairs - filled);
        Pixel555* topPair = top + 2 * filled;
        Pixel555* bottomPair = bottom + 2 * filled;
        if ((header & kRunFlag) != 0) {
            const Pixel555* entry = entryAt(p);
            p += 2;
            FillPairs(entry, taken, topPair);
            if constexpr (sixteen) {
                FillPairs(entry + 2, taken, bottomPair);
            }
        } else {
            int k = taken >= 8 && HasAvx2()
                        ? GatherLiteralsAvx2<Stride>(p, taken, entries, topPair, bottomPair)
                        : 0;
            for (; k < taken; ++k) {
                const Pixel555* entry = entryAt(p + 2 * k);
                std::memcpy(topPair + 2 * k, entry, 4);
                if constexpr (sixteen) {
                    std::memcpy(bottomPair + 2 * k, entry + 2, 4);
                }
            }
            p += 2 * count;
        }
        filled += taken;
    }
    return 2 * filled;
}

// n pixels in blocks of 8, then 4, 2 and 1: fixed sizes, so that no copy call is made for the
// short runs most rows are made of.
void CopyPixels(const Pixel555* src, Pixel555* dst, int n) {
    int k = 0;
    for (; k + 8 <= n; k += 8) {
        std::memcpy(dst + k, src + k, 16);
    }
    if ((n & 4) != 0) {
        std::memcpy(dst + k, src + k, 8);
        k += 4;
    }
    if ((n & 2) != 0) {
        std::memcpy(dst + k, src + k, 4);
        k += 2;
    }
    if ((n & 1) != 0) {
        dst[k] = src[k];
    }
}

void ToTeamColours(const Pixel555* src, Pixel555* dst, int n, const Pixel555* team) {
    for (int k = 0; k < n; ++k) {
        dst[k] = team[src[k] & 31];
    }
}

// n source pixels at out: copied with weight 32, blended otherwise, team pixels through `team`
// when it is not null.
void DrawUniform(const Pixel555* source, int n, int weight, const Pixel555* team, Pixel555* out) {
    if (team != nullptr) {
        if (weight == 32) {
            ToTeamColours(source, out, n, team);
            return;
        }
        Pixel555 pixels[kMaxSegment];
        ToTeamColours(source, pixels, n, team);
        BlendUniform(pixels, out, n, weight);
    } else if (weight == 32) {
        CopyPixels(source, out, n);
    } else {
        BlendUniform(source, out, n, weight);
    }
}

// A row of a plain frame: 7-bit alpha tokens at p .. end over the decoded source row. Frame
// columns skip .. limit - 1 are drawn, the first of them at dst.
void DrawPlainRow(const Pixel555* source, const std::uint8_t* p, const std::uint8_t* end, int skip,
                  int limit, int level, Pixel555* dst) {
    int column = 0;
    while (p < end && column < limit) {
        const std::uint8_t header = *p++;
        const int count = header & 0x7F;
        const int from = std::max(column, skip);
        const int to = std::min(column + count, limit);
        if ((header & kRunFlag) == 0) {
            if (from < to) {
                BlendLiteral(source + from, dst + (from - skip), p + (from - column), to - from,
                             level);
            }
            p += count;
        } else {
            const std::uint8_t value = *p++;
            if (value != 0 && from < to) {
                const int weight = value == 255 ? level + 1 : (((value >> 3) * level) >> 5) + 1;
                DrawUniform(source + from, to - from, weight, nullptr, dst + (from - skip));
            }
        }
        column += count;
    }
}

// A row of a team-coloured frame: 6-bit alpha tokens, every one drawn with weight G + 1.
void DrawTeamRow(const Pixel555* source, const std::uint8_t* p, const std::uint8_t* end, int skip,
                 int limit, int level, const Pixel555* team, Pixel555* dst) {
    enum class Kind { Transparent, Plain, Team };
    Kind kind = Kind::Transparent;
    int column = 0;
    while (p < end && column < limit) {
        const std::uint8_t header = *p++;
        switch (header >> 6) {
        case 0:
            kind = Kind::Plain;
            break;
        case 1:
            kind = Kind::Team;
            break;
        case 2:
            kind = Kind::Transparent;
            break;
        default:
            break; // never written: the previous kind goes on
        }
        const int count = header & 0x3F;
        const int from = std::max(column, skip);
        const int to = std::min(column + count, limit);
        if (kind != Kind::Transparent && from < to) {
            DrawUniform(source + from, to - from, level + 1, kind == Kind::Team ? team : nullptr,
                        dst + (from - skip));
        }
        column += count;
    }
}

// Moves past one framed row and returns where its tokens are.
const std::uint8_t* NextRow(const std::uint8_t*& at, const std::uint8_t*& tokenEnd) {
    std::size_t length = 0;
    while (*at == 0xFF) {
        length += 255;
        ++at;
    }
    length += *at++;
    const std::uint8_t* tokens = at;
    at += length;
    tokenEnd = at;
    return tokens;
}

// The visible rows, with the index row and alpha row of the first one at indexAt and alphaAt.
// Columns at and past the end of a row's index tokens are not drawn.
template <int Stride, bool TeamColoured>
void DrawRows(const std::uint8_t* indexAt, const std::uint8_t* alphaAt, const Pixel555* entries,
              int f, int sx, int sy, int w, int h, int level, const Pixel555* teamColours,
              Pixel555* dst, int bufferWidth) {
    constexpr bool sixteen = Stride == 16;
    const int pairs = (w + 1) / 2;
    const std::size_t rowSize = 2 * static_cast<std::size_t>(pairs + kFillBlock);
    std::vector<Pixel555> sourceRows(sixteen ? 2 * rowSize : rowSize);
    Pixel555* const top = sourceRows.data();
    Pixel555* const bottom = sixteen ? top + rowSize : top; // 8-pixel entries fill one row
    int covered = 0;
    int parity = sy % 2;
    for (int row = sy; row < h; ++row) {
        if (!sixteen || row == sy || parity == 0) {
            const std::uint8_t* indexEnd = nullptr;
            const std::uint8_t* indexTokens = NextRow(indexAt, indexEnd);
            covered = DecodeIndexRow<Stride>(
                indexTokens, indexEnd, entries + (sixteen ? f * 4 : f * 2), pairs, top, bottom);
        }
        const std::uint8_t* alphaEnd = nullptr;
        const std::uint8_t* alphaTokens = NextRow(alphaAt, alphaEnd);
        const Pixel555* source = parity == 0 ? top : bottom;
        const int limit = std::min(w, covered);
        if constexpr (TeamColoured) {
            DrawTeamRow(source, alphaTokens, alphaEnd, sx, limit, level, teamColours, dst);
        } else {
            DrawPlainRow(source, alphaTokens, alphaEnd, sx, limit, level, dst);
        }
        if (sixteen) {
            parity ^= 1;
        }
        dst += bufferWidth;
    }
}

} // namespace

void DrawFrameTables(const DrawTarget& target, int x, int y, int maskFlag, int blockFlag,
                     const FrameTables& frame, const FrameCodebooks& codebooks, int alphaValue) {
    const int bufferWidth = target.width;
    const int bufferHeight = target.height;
    const Pixel555* codebook8 = codebooks.entries8;
    const Pixel555* codebook16 = codebooks.entries16;
    const Pixel555* teamColours = codebooks.teamColours;
    int w = frame.width;
    int h = frame.height;
    if (x > bufferWidth || y > bufferHeight || x + w < 0 || y + h < 0) {
        return;
    }
    const int sx = x < 0 ? -x : 0;
    const int sy = y < 0 ? -y : 0;
    w = std::min(w, bufferWidth - x);
    h = std::min(h, bufferHeight - y);
    if (sx >= w || sy >= h) {
        return;
    }
    const int f = frame.index % 4;
    const bool sixteen = blockFlag == 1;
    if ((sixteen ? codebook16 : codebook8) == nullptr) {
        return; // an empty codebook: tables that fit it name no entry, so nothing shows
    }

    const std::uint8_t* indexAt = frame.indexTable.data();
    const std::uint8_t* alphaAt = frame.alphaTable.data();
    const std::uint8_t* end = nullptr;
    // Rows above the buffer are passed by their length prefixes alone.
    for (int r = 0; r < (sixteen ? sy / 2 : sy); ++r) {
        NextRow(indexAt, end);
    }
    for (int r = 0; r < sy; ++r) {
        NextRow(alphaAt, end);
    }
    Pixel555* dst =
        target.pixels + static_cast<std::ptrdiff_t>(std::max(y, 0)) * bufferWidth + std::max(x, 0);
    const int level = alphaValue >> 3;
    const bool team = maskFlag != 0;
    if (sixteen) {
        (team ? DrawRows<16, true> : DrawRows<16, false>)(indexAt, alphaAt, codebook16, f, sx, sy,
                                                          w, h, level, teamColours, dst,
                                                          bufferWidth);
    } else {
        (team ? DrawRows<8, true> : DrawRows<8, false>)(indexAt, alphaAt, codebook8, f, sx, sy, w,
                                                        h, level, teamColours, dst, bufferWidth);
    }
}

} // namespace fenwold
